// The folder of a camera script relative to its game's mod folder, as the
// scripts name it, on game folders laid out in a temporary tree.

#include "CGameDefinition.h"
#include "ScriptCreation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ScriptFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }

    QString Path(const QString& relative) const { return m_root.filePath(relative); }
    QString Folder(const QString& relative) const
    {
        EXPECT_TRUE(QDir().mkpath(Path(relative)));
        return Path(relative);
    }
    QString File(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return Path(relative);
    }
    // ET Pro (type 0) or ET QW (type 4) with these folders.
    static CGameDefinition Game(int32_t type, const QString& exe, const QString& mod)
    {
        CGameDefinition g;
        if (type == 4)
            g.Initialize(4, "ET QW", "v1.0", "base", "base", true, "ETQW", "ETQW", "etqw.exe", "", "", "", "", "",
                         "eqt", "HKLM\\Test", "qwcp", 0, "ndm");
        else
            g.Initialize(0, "ET Pro", "v3.2.0", "etpro", "etmain", false, "Enemy Territory", "Enemy Territory",
                         "Et.exe", "", "", "", "", "", "ep3t", "HKLM\\Test", "epcp", 0, "dm_??");
        g.SetExeFullPath(exe);
        g.SetModFullDir(mod);
        return g;
    }
    struct Result
    {
        bool ok;
        QString relative;
    };
    static Result Relative(const CGameDefinition& game, const QString& folder)
    {
        Result r{false, QStringLiteral("untouched")};
        r.ok = ScriptCreation::RelativeScriptDir(game, folder, r.relative);
        return r;
    }

    QTemporaryDir m_root;
};

TEST_F(ScriptFolderTest, BelowTheModFolderBesideTheExecutable)
{
    const QString exe = File("ET/Et.exe");
    const QString mod = Folder("ET/etpro");
    const CGameDefinition game = Game(0, exe, mod);
    Folder("ET/etpro/cam/movie");
    Folder("Scripts/test");

    struct Case
    {
        QString folder;
        bool ok;
        QString relative;
    };
    const Case cases[] = {
        {mod + "/cam/movie", true, "cam\\movie"},
        {mod + "/cam", true, "cam"},
        {mod, true, ""},
        // The path written the Windows way gives the same.
        {QString(mod + "/cam/movie").replace('/', '\\'), true, "cam\\movie"},
        // Outside every game folder: the folder's last name.
        {Path("Scripts/test"), false, "test"},
    };
    for (const Case& c : cases) {
        const Result r = Relative(game, c.folder);
        EXPECT_EQ(r.ok, c.ok) << c.folder.toStdString();
        EXPECT_EQ(r.relative, c.relative) << c.folder.toStdString();
    }
}

TEST_F(ScriptFolderTest, TheRootWrittenAgainDeeperInThePathStays)
{
    const QString exe = File("ET/Et.exe");
    const QString mod = Folder("ET/etpro");
    const CGameDefinition game = Game(0, exe, mod);
    // The root's own text, again below the mod folder.
    QString root = Path("ET");
    const QString deeper = mod + root + "/movie";
    Folder(deeper.mid(m_root.path().size() + 1));
    const Result r = Relative(game, deeper);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.relative, root.mid(1).replace('/', '\\') + "\\movie");
}

TEST_F(ScriptFolderTest, TheEnginesHomeFolderOrItsLinuxExecutableIsTheRoot)
{
    // ET: Legacy keeps its mods in its home folder, the engine elsewhere.
    const QString exe = File("usr/bin/etl");
    Folder("home/.etlegacy/etmain");
    const QString mod = Folder("home/.etlegacy/etpro");
    const Result home = Relative(Game(0, exe, mod), mod + "/cam/movie");
    EXPECT_TRUE(home.ok);
    EXPECT_EQ(home.relative, "cam\\movie");

    // A folder of the engine's Linux name holds the scripts' mod folder.
    File("games/et/etl.x86_64");
    Folder("games/et/etpro/cam");
    const Result installed = Relative(Game(0, exe, mod), Path("games/et/etpro/cam"));
    EXPECT_TRUE(installed.ok);
    EXPECT_EQ(installed.relative, "cam");
}

TEST_F(ScriptFolderTest, EtqwCountsFromTheFolderOfItsModFolder)
{
    const QString exe = File("etqw/etqw.exe");
    const QString mod = Folder("home/.etqwcl/base");
    Folder("home/.etqwcl/base/cam");
    const CGameDefinition game = Game(4, exe, mod);
    const Result r = Relative(game, mod + "/cam");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.relative, "cam");
    // The executable's folder is no root for ET QW.
    Folder("etqw/base/cam");
    const Result beside = Relative(game, Path("etqw/base/cam"));
    EXPECT_FALSE(beside.ok);
    EXPECT_EQ(beside.relative, "cam");
}

TEST_F(ScriptFolderTest, AShortFolderOutsideHasNoName)
{
    const CGameDefinition game = Game(0, QString(), QString());
    const Result r = Relative(game, "/ab");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.relative, "");
}

}  // namespace
