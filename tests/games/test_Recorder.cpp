#include "GamesTestSupport.h"
#include "MRecorderScripts.h"
#include "MRuvResource.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct Box : MRecorderScripts::IInfoBox
{
    QStringList shown;
    void ShowInfo(const QString& title, const QString& message) override
    {
        EXPECT_EQ(title, "Rozuro Zuvarazu Zizavuva");
        shown << message;
    }
};

QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

// A game installed the Windows way: the mod folder beside the executable.
class RecorderTest : public ::testing::Test
{
protected:
    void Install(int32_t type, const char* exe, const char* mod)
    {
        ASSERT_TRUE(tmp.isValid());
        game = MakeGame(type);
        ASSERT_TRUE(QDir(tmp.path()).mkdir(mod));
        ASSERT_TRUE(WriteAll(tmp.filePath(exe), "binary"));
        game.SetExeFullPath(tmp.filePath(exe));
        game.SetModFullDir(tmp.filePath(mod));
        ASSERT_TRUE(game.IsLocationValid());
    }
    QString ModFile(const QString& rel) const
    {
        return game.ModFullDir() + "/" + QString(rel).replace('\\', '/');
    }

    QTemporaryDir tmp;
    CGameDefinition game;
    Box box;
};

} // namespace

TEST(RecorderText, RtcwWorkedExample)
{
    CGameDefinition rtcw = MakeGame(3);
    // The text only needs the mod folder's own name.
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir("raVivavIva"));
    ASSERT_TRUE(WriteAll(tmp.filePath("WolfMP.exe"), "x"));
    rtcw.SetExeFullPath(tmp.filePath("WolfMP.exe"));
    rtcw.SetModFullDir(tmp.filePath("raVivavIva"));
    ASSERT_EQ(rtcw.ModDirBasename(), "raVivavIva");
    const CCamPosSetting& s = rtcw.ScriptSetting();

    const QByteArray macrons(51, char(0xAF));
    EXPECT_EQ(QByteArray::fromStdString(MRecorderScripts::InitializationScript(rtcw, s)),
              Lines({"//", "// RTCW - Rozuro Zuvarazu Zizavuva for Viziviz Ruvadir"}) + "// " + macrons + "\r\n"
                  + Lines({"// This file must be located in 'raVivavIva\\cameras\\vava\\scripts'",
                           "seta rzInitCounter \"exec cameras\\vava\\scripts\\pos000.cfg; bind 8 vstr rzPos01\"",
                           "vstr rzInitCounter",
                           "bind 0 \"vstr rzInitCounter;clear;echo Coordinates reinitialized\"",
                           "seta rzMaxPointReached \"echo The maximum number of points was reached.\"",
                           "//eof"}));

    const QStringList pos0 = QString::fromLatin1(MRecorderScripts::PositionScript(rtcw, s, 1, 0)).split("\r\n");
    ASSERT_EQ(pos0.size(), 13);  // location line, ten positions, "// eof", and the end after the last CR LF
    EXPECT_EQ(pos0[1], "set rzPos01 \"clear;viewpos;cg_fov;condump cameras\\vava\\pos\\pos001.cwcp;"
                       "echo cam_001;bind 8 vstr rzPos02\"");
    EXPECT_EQ(pos0[10], "set rzPos10 \"clear;viewpos;cg_fov;condump cameras\\vava\\pos\\pos010.cwcp;"
                        "echo cam_010;bind 8 vstr rzPos01;exec cameras\\vava\\scripts\\pos010.cfg\"");
    EXPECT_EQ(pos0[11], "// eof");
    EXPECT_EQ(pos0[12], "");

    const QStringList last = QString::fromLatin1(MRecorderScripts::PositionScript(rtcw, s, 1, 24)).split("\r\n");
    EXPECT_EQ(last[10], "set rzPos10 \"clear;viewpos;cg_fov;condump cameras\\vava\\pos\\pos250.cwcp;"
                        "echo cam_250;bind 8 vstr rzMaxPointReached\"");
}

TEST(RecorderText, EtQwQuotesAndEtProSecondKey)
{
    const CGameDefinition etqw = MakeGame(4);
    const QStringList qw = QString::fromLatin1(MRecorderScripts::PositionScript(etqw, etqw.ScriptSetting(), 1, 0))
                               .split("\r\n");
    EXPECT_EQ(qw[1], "set rzPos01 \"clear;freecamgetpos;g_fov;condump cameras\\vava\\pos\\pos001.qwcp;"
                     "addChatLine 'cam_001';bind 8 'vstr rzPos02'\"");

    const CGameDefinition etpro = MakeGame(0);
    const QString init = QString::fromLatin1(MRecorderScripts::InitializationScript(etpro, etpro.ScriptSetting()));
    EXPECT_TRUE(init.contains("\r\nseta rzInitCounter1 \"exec cameras\\vava\\scripts\\pos000.cfg; bind 8 vstr rzPos01\"\r\n"
                              "seta rzInitCounter2 \"exec cameras\\vava\\scripts\\posMV000.cfg; bind 9 vstr rzPosMV01\"\r\n"
                              "seta rzInitCounter \"vstr rzInitCounter1;vstr rzInitCounter2\"\r\nvstr rzInitCounter\r\n"));
    const QStringList mv = QString::fromLatin1(MRecorderScripts::PositionScript(etpro, etpro.ScriptSetting(), 2, 0))
                               .split("\r\n");
    // Both keys write under the same position-file prefix by default.
    EXPECT_EQ(mv[1], "set rzPosMV01 \"clear;freecam;wait;viewpos;cg_fov;wait;freecam;condump "
                     "cameras\\vava\\pos\\pos001.epcp;echo cam_001;bind 9 vstr rzPosMV02\"");
    EXPECT_EQ(MRecorderScripts::PositionScriptPath(etpro.ScriptSetting(), 2, 24), "cameras\\vava\\scripts\\posMV240.cfg");
}

TEST_F(RecorderTest, WritesEveryScriptOfEachKey)
{
    Install(0, "et.x86", "etpro");
    ASSERT_TRUE(MRecorderScripts::WriteRecorderScripts(game, game.ScriptSetting(), {}, box));
    const QStringList files = QDir(ModFile("cameras\\vava\\scripts")).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 51);  // init and 25 per key
    EXPECT_TRUE(files.contains("init.cfg"));
    EXPECT_TRUE(files.contains("posMV240.cfg"));
    EXPECT_FALSE(files.contains("pos250.cfg"));
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(RecorderTest, RefusesAnInvalidLocationAndAFolderThatCannotBeMade)
{
    CGameDefinition nowhere = MakeGame(3);
    EXPECT_FALSE(MRecorderScripts::WriteRecorderScripts(nowhere, nowhere.ScriptSetting(), {}, box));
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0], "Please select valid game executable path and working directory.");

    Install(3, "WolfMP.exe", "raVivavIva");
    ASSERT_TRUE(WriteAll(ModFile("cameras"), "a file where the folder should be"));
    EXPECT_FALSE(MRecorderScripts::WriteRecorderScripts(game, game.ScriptSetting(), {}, box));
    ASSERT_EQ(box.shown.size(), 2);
    EXPECT_TRUE(box.shown[1].startsWith("The ")) << box.shown[1].toStdString();
    EXPECT_TRUE(box.shown[1].endsWith(" folder could not be created."));
}

TEST_F(RecorderTest, StoredKeysAndFoldersThatWouldLeaveTheirPlaceWriteNothing)
{
    Install(0, "et.x86", "etpro");
    const MRecorderScripts::Messages messages;
    struct Case
    {
        const char* what;
        void (CCamPosSetting::*set)(const QString&);
        QString value;
        QString message;
    };
    for (const Case& c : {Case{"a second command", &CCamPosSetting::SetRecordKey, "8;quit", messages.badKey},
                          Case{"a quoted command", &CCamPosSetting::SetReinitializationKey, "0 \"x\";vid_restart;",
                               messages.badKey},
                          Case{"the second key", &CCamPosSetting::SetRecordKey2, "9 x", messages.badKey},
                          Case{"above the mod", &CCamPosSetting::SetScriptsRelativeDir, "..\\..\\..\\tmp",
                               messages.badFolder},
                          Case{"absolute", &CCamPosSetting::SetSavingRelativeDir, "/tmp/rzz", messages.badFolder},
                          Case{"a drive", &CCamPosSetting::SetScriptsRelativeDir, "C:\\rzz", messages.badFolder}}) {
        SCOPED_TRACE(c.what);
        CCamPosSetting s = game.ScriptSetting();
        (s.*c.set)(c.value);
        box.shown.clear();
        EXPECT_FALSE(MRecorderScripts::WriteRecorderScripts(game, s, messages, box));
        EXPECT_EQ(box.shown, QStringList{MRuvResource::FormatResText(c.message, {c.value})});
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"et.x86", "etpro"}));
        EXPECT_FALSE(QFileInfo::exists(ModFile("cameras")));
    }
}

TEST_F(RecorderTest, AutoexecGainsOneLineAndKeepsTheRest)
{
    Install(3, "WolfMP.exe", "raVivavIva");
    const QByteArray line = "exec \"cameras\\vava\\scripts\\init.cfg\" // Rozuro Zuvarazu Zizavuva for Viziviz "
                            "Ruvadir - initialization script";
    // LF line ends, no final line break, a commented-out copy: all kept.
    const QByteArray original = "seta name \"me\"\nbind F1 \"say gg\"\n// " + line + "\n  set x 1";
    ASSERT_TRUE(WriteAll(ModFile("autoexec.cfg"), original));

    ASSERT_TRUE(MRecorderScripts::PatchAutoexec(game, game.ScriptSetting(), {}, box));
    EXPECT_EQ(ReadAll(ModFile("autoexec.cfg")), original + "\r\n" + line + "\r\n");
    EXPECT_EQ(ReadAll(ModFile("autoexec.bak_vava")), original);

    // Applied again: nothing changes, the backup is not renewed.
    ASSERT_TRUE(WriteAll(ModFile("autoexec.bak_vava"), "older backup"));
    ASSERT_TRUE(MRecorderScripts::PatchAutoexec(game, game.ScriptSetting(), {}, box));
    EXPECT_EQ(ReadAll(ModFile("autoexec.cfg")), original + "\r\n" + line + "\r\n");
    EXPECT_EQ(ReadAll(ModFile("autoexec.bak_vava")), "older backup");
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(RecorderTest, AMissingAutoexecIsCreated)
{
    Install(3, "WolfMP.exe", "raVivavIva");
    ASSERT_TRUE(MRecorderScripts::PatchAutoexec(game, game.ScriptSetting(), {}, box));
    const QByteArray text = ReadAll(ModFile("autoexec.cfg"));
    EXPECT_TRUE(text.startsWith("\r\nexec \"cameras\\vava\\scripts\\init.cfg\" //"));
    EXPECT_TRUE(text.endsWith(" - initialization script\r\n"));
    EXPECT_FALSE(QFile::exists(ModFile("autoexec.bak_vava")));
}

TEST_F(RecorderTest, AnEmptyAutoexecGetsTheLine)
{
    Install(3, "WolfMP.exe", "raVivavIva");
    ASSERT_TRUE(WriteAll(ModFile("autoexec.cfg"), ""));
    ASSERT_TRUE(MRecorderScripts::PatchAutoexec(game, game.ScriptSetting(), {}, box));
    EXPECT_TRUE(ReadAll(ModFile("autoexec.cfg")).startsWith("\r\nexec \""));
    EXPECT_TRUE(box.shown.isEmpty());
}
