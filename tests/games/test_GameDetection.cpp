// Finding the games on Linux in a home and PATH of the test's own.
#include "GameDetection.h"
#include "GameLinuxNames.h"
#include "GamesTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// HOME, PATH and XDG_DATA_HOME of a temporary folder for the test's life.
class GameDetectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        for (const char* name : {"HOME", "PATH", "XDG_DATA_HOME"}) {
            m_saved << qgetenv(name);
            m_wasSet << qEnvironmentVariableIsSet(name);
        }
        qputenv("HOME", Home().toUtf8());
        qputenv("PATH", (Path("bin") + ":" + Path("usr/bin")).toUtf8());
        qunsetenv("XDG_DATA_HOME");
    }
    void TearDown() override
    {
        int i = 0;
        for (const char* name : {"HOME", "PATH", "XDG_DATA_HOME"}) {
            if (m_wasSet[i])
                qputenv(name, m_saved[i]);
            else
                qunsetenv(name);
            ++i;
        }
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

    // True when the machine itself has the game in a system install folder,
    // which the tests cannot hide.
    static bool InstalledOnSystem(int type)
    {
        QStringList system = GameDetection::InstallFolders(type);
        system.removeIf([](const QString& f) { return f.startsWith(QDir::homePath()); });
        for (const QString& name : LinuxNamesOfGame(type).executables) {
            if (!QStandardPaths::findExecutable(name, system).isEmpty())
                return true;
        }
        return false;
    }

    QTemporaryDir m_root;
    QList<QByteArray> m_saved;
    QList<bool> m_wasSet;
};

} // namespace

TEST_F(GameDetectionTest, FoldersOfTheTableAreExpanded)
{
    EXPECT_EQ(GameDetection::HomeFolders(0).first(), HomePath(".etlegacy"));
    EXPECT_EQ(GameDetection::HomeFolders(2).first(), HomePath(".local/share/warsow-2.1"));
    qputenv("XDG_DATA_HOME", Path("data").toUtf8());
    EXPECT_EQ(GameDetection::HomeFolders(2).first(), Path("data/warsow-2.1"));
    qputenv("XDG_DATA_HOME", "relative/data");  // ignored, as XDG says
    EXPECT_EQ(GameDetection::HomeFolders(2).first(), HomePath(".local/share/warsow-2.1"));
    EXPECT_TRUE(GameDetection::InstallFolders(4).contains(HomePath("etqw")));
    EXPECT_TRUE(GameDetection::InstallFolders(4).contains("/usr/local/games/etqw"));
    EXPECT_TRUE(GameDetection::HomeFolders(7).isEmpty());
    for (int type = 0; type < 5; ++type) {
        for (const QString& f : GameDetection::HomeFolders(type) + GameDetection::InstallFolders(type))
            EXPECT_TRUE(QDir::isAbsolutePath(f)) << f.toStdString();
    }
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
    // The executables on PATH or in an install folder of the home.
    const Case cases[] = {
        {0, Path("bin/etl"), {HomePath(".etlegacy/etmain"), HomePath(".etlegacy/etpro")},
         HomePath(".etlegacy/etpro")},
        {1, HomePath("ioquake3/ioquake3.x86_64"), {HomePath(".q3a/baseq3"), HomePath(".q3a/defrag")},
         HomePath(".q3a/defrag")},
        {2, Path("usr/bin/warsow"), {HomePath(".local/share/warsow-2.1/basewsw")},
         HomePath(".local/share/warsow-2.1/basewsw")},
        {3, Path("bin/iowolfmp"), {HomePath(".wolf/Main"), HomePath(".wolf/raVivavIva")},
         HomePath(".wolf/raVivavIva")},
        {4, HomePath("etqw/etqw.x86"), {HomePath(".etqwcl/base")}, HomePath(".etqwcl/base")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        // A home of its own for each game.
        QDir(Home()).removeRecursively();
        QDir(Path("bin")).removeRecursively();
        QDir(Path("usr")).removeRecursively();
        Program(c.exe);
        for (const QString& f : c.homeFolders)
            Folder(f);
        const QStringList before = Tree();
        EXPECT_EQ(GameDetection::FindExecutable(c.type), c.exe);
        CGameDefinition game = MakeGame(c.type);
        EXPECT_EQ(GameDetection::FindModFolder(c.type, game.BaseDir(), game.DefaultDir()), c.mod);
        EXPECT_EQ(Tree(), before);

        EXPECT_TRUE(GameDetection::FillEmptyLocation(game));
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
    EXPECT_TRUE(GameDetection::FillEmptyLocation(rtcw));
    EXPECT_EQ(rtcw.ModFullDir(), HomePath(".wolf/RAVIVAVIVA"));  // as it is on disk
    EXPECT_TRUE(rtcw.IsLocationValid());
}

TEST_F(GameDetectionTest, OnlyTheFirstHomeHoldingTheBaseFolderCounts)
{
    CGameDefinition et = MakeGame(0);
    // A mod folder without its base folder is not the engine's home.
    Folder(HomePath(".etlegacy/etpro"));
    EXPECT_EQ(GameDetection::FindModFolder(0, et.BaseDir(), et.DefaultDir()), QString());
    // A later home folder that holds it is.
    Folder(HomePath(".etwolf/etmain"));
    Folder(HomePath(".etwolf/etpro"));
    EXPECT_EQ(GameDetection::FindModFolder(0, et.BaseDir(), et.DefaultDir()), HomePath(".etwolf/etpro"));
    // An earlier home holding the base folder without the mod gives nothing.
    QDir(HomePath(".etlegacy/etpro")).removeRecursively();
    Folder(HomePath(".etlegacy/etmain"));
    EXPECT_EQ(GameDetection::FindModFolder(0, et.BaseDir(), et.DefaultDir()), QString());
    GameDetection::FillEmptyLocation(et);
    EXPECT_TRUE(et.ModFullDir().isEmpty());
}

TEST_F(GameDetectionTest, ExecutablesWithoutTheExecuteBitOrFoldersAreSkipped)
{
    if (InstalledOnSystem(0))
        GTEST_SKIP() << "ET is installed on this machine";
    Program(Path("bin/etl"), false);
    Folder(Path("bin/etl.x86_64"));
    EXPECT_EQ(GameDetection::FindExecutable(0), QString());
    // A later name on PATH, then the first name later on PATH.
    Program(Path("bin/et"));
    EXPECT_EQ(GameDetection::FindExecutable(0), Path("bin/et"));
    Program(Path("usr/bin/etl"));
    EXPECT_EQ(GameDetection::FindExecutable(0), Path("usr/bin/etl"));
    // PATH comes before the install folders.
    Program(HomePath("etlegacy/etl"));
    EXPECT_EQ(GameDetection::FindExecutable(0), Path("usr/bin/etl"));
    qputenv("PATH", Path("nothing").toUtf8());
    EXPECT_EQ(GameDetection::FindExecutable(0), HomePath("etlegacy/etl"));
    // Another game's executable is not this game's.
    if (!InstalledOnSystem(1)) {
        EXPECT_EQ(GameDetection::FindExecutable(1), QString());
    }
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
    EXPECT_TRUE(GameDetection::FillEmptyLocation(exeSet));
    EXPECT_EQ(exeSet.ExeFullPath(), ownExe);
    EXPECT_EQ(exeSet.ModFullDir(), HomePath(".q3a/defrag"));

    CGameDefinition modSet = MakeGame(1);
    modSet.SetModFullDir(ownMod);
    EXPECT_TRUE(GameDetection::FillEmptyLocation(modSet));
    EXPECT_EQ(modSet.ExeFullPath(), Path("bin/ioquake3"));
    EXPECT_EQ(modSet.ModFullDir(), ownMod);

    CGameDefinition bothSet = MakeGame(1);
    bothSet.SetExeFullPath(ownExe);
    bothSet.SetModFullDir(ownMod);
    EXPECT_FALSE(GameDetection::FillEmptyLocation(bothSet));
    EXPECT_EQ(bothSet.ExeFullPath(), ownExe);
    EXPECT_EQ(bothSet.ModFullDir(), ownMod);
}

TEST_F(GameDetectionTest, NothingThereLeavesTheLocationInvalid)
{
    for (int type = 0; type < 5; ++type) {
        if (InstalledOnSystem(type))
            continue;
        CGameDefinition game = MakeGame(type);
        EXPECT_FALSE(GameDetection::FillEmptyLocation(game)) << type;
        EXPECT_TRUE(game.ExeFullPath().isEmpty());
        EXPECT_TRUE(game.ModFullDir().isEmpty());
        EXPECT_FALSE(game.IsLocationValid());
    }
    EXPECT_FALSE(QFileInfo::exists(Home()));
}
