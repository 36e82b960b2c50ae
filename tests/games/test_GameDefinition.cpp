#include "GamesTestSupport.h"
#include "MRegistry.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Every test of this binary writes its settings into a store of its own.
struct PrivateRegistry
{
    QTemporaryDir dir;
    PrivateRegistry() { qputenv("RUVADIR_REGISTRY", dir.path().toUtf8()); }
};
const PrivateRegistry kRegistry;

class GameDefinitionTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString Make(const QString& rel, bool folder)
    {
        const QString p = tmp.filePath(rel);
        QDir().mkpath(folder ? p : QFileInfo(p).path());
        if (!folder)
            WriteAll(p, "x");
        return p;
    }
    QTemporaryDir tmp;
};

} // namespace

TEST_F(GameDefinitionTest, FreshDefinition)
{
    const CGameDefinition g = MakeGame(0);
    EXPECT_EQ(g.MaxScriptLen(), 14848);
    EXPECT_EQ(g.RegistryKey(), "HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\ET Pro");
    EXPECT_EQ(g.ScriptSetting().RegistryKey(), g.RegistryKey() + "\\Script settings");
    EXPECT_TRUE(g.ExeFullPath().isEmpty());
    EXPECT_TRUE(g.ModDirBasename().isEmpty());
    EXPECT_FALSE(g.IsLocationValid());
}

TEST_F(GameDefinitionTest, ExecutableAndLocationTests)
{
    CGameDefinition et = MakeGame(0);
    const QString exe = Make("Games/ET/ET.EXE", false);
    const QString linuxExe = Make("bin/etl.x86_64", false);
    Make("Games/ET/etpro", true);
    Make("Mods/etpro", true);
    EXPECT_TRUE(et.IsExePathValid(exe));  // case does not matter
    EXPECT_TRUE(et.IsExePathValid(linuxExe));
    EXPECT_FALSE(et.IsExePathValid(Make("Games/Other/Et.exe", true)));  // a folder
    EXPECT_FALSE(et.IsExePathValid(Make("Games/ET/quake3.exe", false)));

    struct Case
    {
        QString exe, mod;
        bool valid;
    };
    // On Linux the mod folder lies in the engine's home path, beside its base
    // folder, wherever the executable is.
    Make("home/.etlegacy/etmain", true);
    Make("home/.etlegacy/etpro", true);
    const Case cases[] = {
        {exe, tmp.filePath("Games/ET/etpro"), true},
        {exe, tmp.filePath("Mods/etpro"), false},
        {linuxExe, tmp.filePath("home/.etlegacy/etpro"), true},
        {linuxExe, tmp.filePath("Mods/etpro"), false},
        {tmp.filePath("Games/ET/missing.exe"), tmp.filePath("Games/ET/etpro"), false},
    };
    for (const Case& c : cases) {
        CGameDefinition g = MakeGame(0);
        g.SetExeFullPath(c.exe);
        g.SetModFullDir(c.mod);
        EXPECT_EQ(g.IsLocationValid(), c.valid) << c.exe.toStdString() << " " << c.mod.toStdString();
    }

    // A game started from an absolute folder only needs its mod folder.
    CGameDefinition qw = MakeGame(4);
    qw.SetExeFullPath(Make("etqw/etqw.x86", false));
    qw.SetModFullDir(tmp.filePath("anywhere"));
    EXPECT_FALSE(qw.IsLocationValid());
    qw.SetModFullDir(Make("anywhere", true));
    EXPECT_TRUE(qw.IsLocationValid());
}

TEST_F(GameDefinitionTest, DefaultDemoFolderFollowsTheModFolder)
{
    CGameDefinition g = MakeGame(3);
    g.SetExeFullPath(Make("rtcw/WolfMP.exe", false));
    g.SetModFullDir(Make("rtcw/first", true));
    EXPECT_EQ(g.ModDirBasename(), "first");
    EXPECT_TRUE(g.IsDefaultDemoDefaultRootDir());
    EXPECT_TRUE(QFileInfo(g.DemoDefaultRootDir()).isDir());  // created

    g.SetModFullDir(Make("rtcw/second", true));
    EXPECT_EQ(g.ModDirBasename(), "second");
    EXPECT_TRUE(g.IsDefaultDemoDefaultRootDir());
    EXPECT_TRUE(g.DemoDefaultRootDir().contains("second"));

    // A folder the user chose stays.
    const QString own = Make("mydemos", true);
    g.SetDemoDefaultRootDir(own);
    g.SetModFullDir(Make("rtcw/third", true));
    EXPECT_EQ(g.DemoDefaultRootDir(), own);
}

TEST_F(GameDefinitionTest, SettingsRoundTripThroughTheStore)
{
    CGameDefinition g = MakeGame(1);
    g.SetExeFullPath(Make("q3/quake3.exe", false));
    g.SetModFullDir(Make("q3/defrag", true));
    g.SetScriptOutDir("/scripts");
    g.SetMapDir("/maps");
    g.ScriptSetting().SetRecordKey("F5");
    g.WriteSettings();
    // The default demo folder is stored empty, so that it follows the mod folder.
    EXPECT_EQ(MRegistry::RegRead(g.RegistryKey(), "DemoDefaultRootDir"), TaggedValue(QString()));

    CGameDefinition back = MakeGame(1);
    back.ReadSettings();
    EXPECT_EQ(back.ExeFullPath(), g.ExeFullPath());
    EXPECT_EQ(back.ModFullDir(), g.ModFullDir());
    EXPECT_EQ(back.DemoDefaultRootDir(), g.DemoDefaultRootDir());
    EXPECT_EQ(back.ModDirBasename(), "defrag");
    EXPECT_EQ(back.ScriptOutDir(), "/scripts");
    EXPECT_EQ(back.MapDir(), "/maps");
    EXPECT_EQ(back.ScriptSetting().RecordKey(), "F5");
}

TEST_F(GameDefinitionTest, RecorderSettingsIgnoreEmptyValuesAndClonesKeepTheirKey)
{
    CGameDefinition g = MakeGame(2);
    const QString key = g.ScriptSetting().RegistryKey();
    MRegistry::RegWrite(key, "CvarsPrefix", MRegistry::RegSz, TaggedValue(QString()));
    MRegistry::RegWrite(key, "RecordKey", MRegistry::RegSz, TaggedValue(QStringLiteral("K")));
    g.ScriptSetting().ReadSettings();
    EXPECT_EQ(g.ScriptSetting().CvarsPrefix(), "rzPos");
    EXPECT_EQ(g.ScriptSetting().RecordKey(), "K");
    EXPECT_EQ(g.ScriptSetting().PositionFilenamePrefix2(), "pos");

    CCamPosSetting copy = g.ScriptSetting().Clone();
    EXPECT_EQ(copy.RegistryKey(), key);
    copy.SetInitializationScriptName("start");
    copy.WriteSettings();
    CCamPosSetting reread;
    reread.Initialize(key);
    reread.ReadSettings();
    EXPECT_EQ(reread.InitializationScriptName(), "start");

    CGameDefinition clone = g.Clone();
    clone.ScriptSetting().SetRecordKey("Z");
    EXPECT_EQ(g.ScriptSetting().RecordKey(), "K");
    EXPECT_EQ(clone.GameLoadIcon(), g.GameLoadIcon());
    EXPECT_EQ(clone.ScriptSetting().RegistryKey(), key);
}
