// Finding the games on Linux in a PATH, home and system folders of the test's own.
#include "GameDetection.h"
#include "GamesTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The places of a temporary folder: PATH bin and usr/bin, the home, and
// the system's install folders below sys, so that nothing installed on the
// machine is ever seen.
class GameDetectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_places.pathFolders = {Path("bin"), Path("usr/bin")};
        m_places.home = Home();
        m_places.systemRoot = Path("sys");
    }

    QString Home() const { return m_root.filePath("home"); }
    QString Path(const QString& rel) const { return m_root.filePath(rel); }
    QString HomePath(const QString& rel) const { return Home() + "/" + rel; }

    QString Folder(const QString& path)
    {
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }
    QString Program(const QString& path, bool executable = true)
    {
        Folder(QFileInfo(path).path());
        EXPECT_TRUE(WriteAll(path, "#!/bin/sh\n"));
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        QFile::setPermissions(path, p);
        return path;
    }
    // Every entry below the root, to show that looking creates nothing.
    QStringList Tree() const
    {
        QStringList entries;
        QDirIterator it(m_root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << it.next();
        entries.sort();
        return entries;
    }

    QTemporaryDir m_root;
    GameDetection::SearchPlaces m_places;
};

} // namespace

TEST_F(GameDetectionTest, FoldersOfTheTableAreExpanded)
{
    using GameDetection::HomeFolders;
    using GameDetection::InstallFolders;
    EXPECT_EQ(HomeFolders(m_places, 0).first(), HomePath(".etlegacy"));
    EXPECT_EQ(HomeFolders(m_places, 2).first(), HomePath(".local/share/warsow-2.1"));
    m_places.dataHome = Path("data");
    EXPECT_EQ(HomeFolders(m_places, 2).first(), Path("data/warsow-2.1"));
    m_places.dataHome = "relative/data";  // ignored, as XDG says
    EXPECT_EQ(HomeFolders(m_places, 2).first(), HomePath(".local/share/warsow-2.1"));
    EXPECT_TRUE(InstallFolders(m_places, 4).contains(HomePath("etqw")));
    EXPECT_TRUE(InstallFolders(m_places, 4).contains(Path("sys/usr/local/games/etqw")));
    EXPECT_TRUE(HomeFolders(m_places, 7).isEmpty());
    for (int type = 0; type < 5; ++type) {
        for (const QString& f : HomeFolders(m_places, type) + InstallFolders(m_places, type))
            EXPECT_TRUE(f.startsWith(m_root.path() + "/")) << f.toStdString();
    }
    // Without a home or a root, their folders are not searched at all.
    GameDetection::SearchPlaces none;
    for (int type = 0; type < 5; ++type)
        EXPECT_TRUE((HomeFolders(none, type) + InstallFolders(none, type)).isEmpty()) << type;
    none.systemRoot = "/";
    EXPECT_TRUE(InstallFolders(none, 1).contains("/usr/lib/ioquake3"));
}

TEST_F(GameDetectionTest, ThisSystemsPlacesComeFromTheEnvironment)
{
    struct SavedVariable
    {
        const char* name;
        QByteArray value = qgetenv(name);
        bool set = qEnvironmentVariableIsSet(name);
        ~SavedVariable() { set ? qputenv(name, value) : qunsetenv(name); }
    } saved[] = {{"HOME"}, {"PATH"}, {"XDG_DATA_HOME"}};
    qputenv("HOME", Home().toUtf8());
    qputenv("PATH", (Path("bin") + "::" + Path("usr/bin") + ":").toUtf8());
    qputenv("XDG_DATA_HOME", Path("data").toUtf8());
    const GameDetection::SearchPlaces places = GameDetection::SearchPlaces::OfThisSystem();
    EXPECT_EQ(places.pathFolders, (QStringList{Path("bin"), Path("usr/bin")}));
    EXPECT_EQ(places.home, Home());
    EXPECT_EQ(places.dataHome, Path("data"));
    EXPECT_EQ(places.systemRoot, "/");
}

TEST_F(GameDetectionTest, EachGameIsDetected)
{
    struct Case
    {
        int type;
        QString exe;       // made executable
        QStringList homeFolders;  // made
        QString mod;       // expected
    };
    // The executables on PATH or in an install folder of the home or the
    // system.
    const Case cases[] = {
        {0, Path("bin/etl"), {HomePath(".etlegacy/etmain"), HomePath(".etlegacy/etpro")},
         HomePath(".etlegacy/etpro")},
        {1, HomePath("ioquake3/ioquake3.x86_64"), {HomePath(".q3a/baseq3"), HomePath(".q3a/defrag")},
         HomePath(".q3a/defrag")},
        {1, Path("sys/usr/lib/ioquake3/ioquake3"), {HomePath(".q3a/baseq3"), HomePath(".q3a/defrag")},
         HomePath(".q3a/defrag")},
        {2, Path("usr/bin/warsow"), {HomePath(".local/share/warsow-2.1/basewsw")},
         HomePath(".local/share/warsow-2.1/basewsw")},
        {3, Path("bin/iowolfmp"), {HomePath(".wolf/Main"), HomePath(".wolf/raVivavIva")},
         HomePath(".wolf/raVivavIva")},
        {4, HomePath("etqw/etqw.x86"), {HomePath(".etqwcl/base")}, HomePath(".etqwcl/base")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe.toStdString());
        // A home of its own for each game.
        for (const char* folder : {"home", "bin", "usr", "sys"})
            QDir(Path(folder)).removeRecursively();
        Program(c.exe);
        for (const QString& f : c.homeFolders)
            Folder(f);
        const QStringList before = Tree();
        EXPECT_EQ(GameDetection::FindExecutable(m_places, c.type), c.exe);
        CGameDefinition game = MakeGame(c.type);
        EXPECT_EQ(GameDetection::FindModFolder(m_places, c.type, game.BaseDir(), game.DefaultDir()), c.mod);
        EXPECT_EQ(Tree(), before);

        EXPECT_TRUE(GameDetection::FillEmptyLocation(m_places, game));
        EXPECT_EQ(game.ExeFullPath(), c.exe);
        EXPECT_EQ(game.ModFullDir(), c.mod);
        EXPECT_TRUE(game.IsLocationValid());
        EXPECT_EQ(game.ModDirBasename(), QFileInfo(c.mod).fileName());
    }
}

TEST_F(GameDetectionTest, FoldersInOtherCase)
{
    Program(Path("bin/iowolfmp"));
    Folder(HomePath(".wolf/main"));         // BaseDir "Main"
    Folder(HomePath(".wolf/RAVIVAVIVA"));   // DefaultDir "raVivavIva"
    CGameDefinition rtcw = MakeGame(3);
    EXPECT_TRUE(GameDetection::FillEmptyLocation(m_places, rtcw));
    EXPECT_EQ(rtcw.ModFullDir(), HomePath(".wolf/RAVIVAVIVA"));  // as it is on disk
    EXPECT_TRUE(rtcw.IsLocationValid());
}

TEST_F(GameDetectionTest, OnlyTheFirstHomeHoldingTheBaseFolderCounts)
{
    CGameDefinition et = MakeGame(0);
    auto mod = [&] { return GameDetection::FindModFolder(m_places, 0, et.BaseDir(), et.DefaultDir()); };
    // A mod folder without its base folder is not the engine's home.
    Folder(HomePath(".etlegacy/etpro"));
    EXPECT_EQ(mod(), QString());
    // A later home folder that holds it is.
    Folder(HomePath(".etwolf/etmain"));
    Folder(HomePath(".etwolf/etpro"));
    EXPECT_EQ(mod(), HomePath(".etwolf/etpro"));
    // An earlier home holding the base folder without the mod gives nothing.
    QDir(HomePath(".etlegacy/etpro")).removeRecursively();
    Folder(HomePath(".etlegacy/etmain"));
    EXPECT_EQ(mod(), QString());
    GameDetection::FillEmptyLocation(m_places, et);
    EXPECT_TRUE(et.ModFullDir().isEmpty());
}

TEST_F(GameDetectionTest, ExecutablesWithoutTheExecuteBitOrFoldersAreSkipped)
{
    auto exe = [&](int type) { return GameDetection::FindExecutable(m_places, type); };
    Program(Path("bin/etl"), false);
    Folder(Path("bin/etl.x86_64"));
    EXPECT_EQ(exe(0), QString());
    // A later name on PATH, then the first name later on PATH.
    Program(Path("bin/et"));
    EXPECT_EQ(exe(0), Path("bin/et"));
    Program(Path("usr/bin/etl"));
    EXPECT_EQ(exe(0), Path("usr/bin/etl"));
    // PATH comes before the install folders, the home's before the
    // system's.
    Program(HomePath("etlegacy/etl"));
    Program(Path("sys/usr/lib/etlegacy/etl"));
    EXPECT_EQ(exe(0), Path("usr/bin/etl"));
    m_places.pathFolders = {Path("nothing"), QString()};
    EXPECT_EQ(exe(0), HomePath("etlegacy/etl"));
    QFile::remove(HomePath("etlegacy/etl"));
    EXPECT_EQ(exe(0), Path("sys/usr/lib/etlegacy/etl"));
    // Another game's executable is not this game's.
    EXPECT_EQ(exe(1), QString());
}

TEST_F(GameDetectionTest, ValuesThatAreSetStay)
{
    Program(Path("bin/ioquake3"));
    Folder(HomePath(".q3a/baseq3"));
    Folder(HomePath(".q3a/defrag"));
    const QString ownExe = Path("games/q3/quake3.x86");
    const QString ownMod = Path("games/q3/defrag");

    CGameDefinition exeSet = MakeGame(1);
    exeSet.SetExeFullPath(ownExe);
    EXPECT_TRUE(GameDetection::FillEmptyLocation(m_places, exeSet));
    EXPECT_EQ(exeSet.ExeFullPath(), ownExe);
    EXPECT_EQ(exeSet.ModFullDir(), HomePath(".q3a/defrag"));

    CGameDefinition modSet = MakeGame(1);
    modSet.SetModFullDir(ownMod);
    EXPECT_TRUE(GameDetection::FillEmptyLocation(m_places, modSet));
    EXPECT_EQ(modSet.ExeFullPath(), Path("bin/ioquake3"));
    EXPECT_EQ(modSet.ModFullDir(), ownMod);

    CGameDefinition bothSet = MakeGame(1);
    bothSet.SetExeFullPath(ownExe);
    bothSet.SetModFullDir(ownMod);
    EXPECT_FALSE(GameDetection::FillEmptyLocation(m_places, bothSet));
    EXPECT_EQ(bothSet.ExeFullPath(), ownExe);
    EXPECT_EQ(bothSet.ModFullDir(), ownMod);
}

TEST_F(GameDetectionTest, NothingThereLeavesTheLocationInvalid)
{
    for (int type = 0; type < 5; ++type) {
        CGameDefinition game = MakeGame(type);
        EXPECT_FALSE(GameDetection::FillEmptyLocation(m_places, game)) << type;
        EXPECT_TRUE(game.ExeFullPath().isEmpty());
        EXPECT_TRUE(game.ModFullDir().isEmpty());
        EXPECT_FALSE(game.IsLocationValid());
    }
    EXPECT_FALSE(QFileInfo::exists(Home()));
}
