#include "test_CProjectIOHandlerSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace projio_test;

namespace {

// Reads an older text through Load, into a caller that held another project.
struct Read
{
    bool ok = false;
    QString error;
    C3DProject project;
    C3DCurveController curves;
    bool invariantNumbers = false;

    explicit Read(const QByteArray& text)
    {
        TempFiles files;
        const QString path = files.Write(QStringLiteral("old.cam"), text);
        FillProject(project, 4);
        FillCurves(curves, 4, 3, 2);
        invariantNumbers = true;
        CProjectIOHandler h;
        ok = h.Load(path, project, curves, invariantNumbers);
        error = h.LastError();
    }
};

const QByteArray Point = "1;2;3;4;5;6;70;1;0;0;0;0;0;0;0;;0;0;0;0;0;0;0;0;";

} // namespace

TEST(CProjectIOHandlerLegacy, SplitKeyValue)
{
    struct Case { const char* line; const char* key; const char* value; };
    const Case cases[] = {
        {"game_mod 2", "game_mod", "2"},
        {"  demo_name   my demo.dm_84  ", "demo_name", "my demo.dm_84"},
        {"vpreset", "vpreset", ""},
        {"game_mod\t3", "game_mod3", ""},
        {"\tgame_mod\t 3", "game_mod", "3"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        QString key, value;
        CProjectIOHandler::SplitKeyValue(QString::fromLatin1(c.line), key, value);
        EXPECT_EQ(key, QString::fromLatin1(c.key)) << c.line;
        EXPECT_EQ(value, QString::fromLatin1(c.value)) << c.line;
    }
}

TEST(CProjectIOHandlerLegacy, SixLineFile)
{
    const Read r("version 1.0\r\ngame_mod 2\r\nctl:" + Point + "\r\nCTL:" + Point + "\r\nA\r\nB\r\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.project.GameType(), 2);
    EXPECT_TRUE(r.invariantNumbers);
    ASSERT_EQ(r.curves.CurveCount(), 1);
    EXPECT_EQ(r.curves.Curves(0).Name(), QStringLiteral("Camera path"));
    EXPECT_EQ(r.curves.Curves(0).ControlsCount(), 2);
    EXPECT_EQ(r.curves.Curves(0).GetFov(2), 70.0f);
    EXPECT_EQ(r.project.Comment(), QStringLiteral("A\r\nB\r\n"));
    // The curves know the project's game.
    EXPECT_EQ(r.curves.GameType(), 2);
    EXPECT_EQ(r.curves.Curves(0).GameType(), 2);
}

// The key lines of the older text, each case a small file.
TEST(CProjectIOHandlerLegacy, KeyLines)
{
    struct Case {
        const char* name;
        QByteArray text;
        std::function<void(const Read&)> check;
    };
    const std::vector<Case> cases = {
        {"keys in capitals", "GAME_MOD 3\n", [](const Read& r) { EXPECT_EQ(r.project.GameType(), 3); }},
        {"a tab does not separate", "game_mod\t3\nactive_plan 1\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.GameType(), 0);
             EXPECT_EQ(r.project.ActiveView(), 1);
         }},
        {"autostart 0 and 2", "autostart 0\nscript_pause 2\ninclude_fov 1\ninclude_ts 0\ninclude_msg 5\n",
         [](const Read& r) {
             EXPECT_FALSE(r.project.AutostartEnabled());
             EXPECT_TRUE(r.project.ScriptPauseEnabled());
             EXPECT_TRUE(r.project.IncludeFovChecked());
             EXPECT_FALSE(r.project.IncludeTimescaleChecked());
             EXPECT_TRUE(r.project.IncludeMessageChecked());
         }},
        {"camera mode and speed by their absolute value",
         "camera_mode -2\ndf_player_num -4\ntrans_speed -9\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.CameraMode(), 2);
             EXPECT_EQ(r.project.PlayerNumber(), -4);
             EXPECT_EQ(r.project.TransitionSpeed(), 9);
         }},
        {"the DeFrag camera key", "df_cam_mode 5\ncm_player_num 6\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.CameraMode(), 5);
             EXPECT_EQ(r.project.PlayerNumber(), 6);
         }},
        {"seconds then minutes", "demo_goto_sec 75\ndemo_goto_min 2\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.DemoGoToMinute(), 3);
             EXPECT_EQ(r.project.DemoGoToSecond(), 15);
         }},
        {"minutes then seconds", "demo_goto_min 2\ndemo_goto_sec 75\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.DemoGoToMinute(), 3);
             EXPECT_EQ(r.project.DemoGoToSecond(), 15);
         }},
        {"a minute sum beyond 16 bits is skipped", "demo_goto_min 500\ndemo_goto_min 32767\n",
         [](const Read& r) { EXPECT_EQ(r.project.DemoGoToMinute(), 500); }},
        {"presets in file order, empty ones too", "vpreset first one\nvpreset\nvpreset second\n",
         [](const Read& r) {
             EXPECT_EQ(r.project.ViewPresetStrings(),
                       (QStringList{QStringLiteral("first one"), QString(), QStringLiteral("second")}));
         }},
        {"texts and the fields only older texts keep",
         "version 1\nview_data1 a;b\nview_data3 c d\ncurve_duration 12.75\nstep_idx 1\nstep1 30\n"
         "step2 60\ndemo_name x y.dm_83\ngame_config hq.cfg\nscmd_before a; b\nscmd_after c\n"
         "bsp_filename maps/q3dm17.bsp\nautostart_time 99\nsp_nb 4\nsp_bind_key 7\ndemo_forward 12000\n"
         "avi_demo 50\navi_demos 24;50\nunknown_key 5\n",
         [](const Read& r) {
             const C3DProject& p = r.project;
             EXPECT_EQ(p.ViewData1(), QStringLiteral("a;b"));
             EXPECT_EQ(p.ViewData3(), QStringLiteral("c d"));
             EXPECT_EQ(p.CurveDuration(), 12.75);
             EXPECT_EQ(p.SelectedStepValue(), 1);
             EXPECT_EQ(p.StepCount1(), 30);
             EXPECT_EQ(p.StepCount2(), 60);
             EXPECT_EQ(p.SelectedDemoPath(), QStringLiteral("x y.dm_83"));
             EXPECT_EQ(p.SelectedConfigName(), QStringLiteral("hq.cfg"));
             EXPECT_EQ(p.SelectedBeforeCommand(), QStringLiteral("a; b"));
             EXPECT_EQ(p.SelectedAfterCommand(), QStringLiteral("c"));
             EXPECT_EQ(p.MapFileName(), QStringLiteral("maps/q3dm17.bsp"));
             EXPECT_EQ(p.AutoStartTime(), 99);
             EXPECT_EQ(p.ScriptPauseInterval(), 4);
             EXPECT_EQ(p.ScriptPauseResumeKeyIndex(), 7);
             EXPECT_EQ(p.DemoForwardSecond(), 9999);
             EXPECT_EQ(p.SelectedFramerate(), 50);
             EXPECT_EQ(p.FramerateValuesString(), QStringLiteral("24;50"));
             // Nothing of what the format cannot hold.
             EXPECT_TRUE(p.ViewData4().isEmpty() && p.CameraString().isEmpty()
                         && p.DemoRootDir().isEmpty() && p.EtqwScreenshotSettingsString().isEmpty());
             EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("0"));
             EXPECT_EQ(r.curves.CurveCount(), 0);
             EXPECT_TRUE(p.Comment().isEmpty());
         }},
        {"the last of repeated keys wins", "game_mod 1\ngame_mod 4\n",
         [](const Read& r) { EXPECT_EQ(r.project.GameType(), 4); }},
        {"version below 1 keeps the locale's numbers", "version 0.9\nstep1 7\n",
         [](const Read& r) {
             EXPECT_FALSE(r.invariantNumbers);
             EXPECT_EQ(r.project.StepCount1(), 7);
         }},
        {"a byte-order mark before the first key", "\xEF\xBB\xBFgame_mod 2\n",
         [](const Read& r) { EXPECT_EQ(r.project.GameType(), 2); }},
        {"leading upper-case declaration letters make no XML", "<?XML_is_not game_mod\ngame_mod 1\n",
         [](const Read& r) { EXPECT_EQ(r.project.GameType(), 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r(c.text);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        c.check(r);
    }
}

TEST(CProjectIOHandlerLegacy, NumbersFollowTheVersionLine)
{
    modeltest::LocaleScope de("de_DE.UTF-8");
    ASSERT_TRUE(de.Took(",")) << "de_DE.UTF-8 is not installed";
    {
        // Without a version line: the user's locale, where "1,5" is 1.5.
        const Read r("step1 1,5\ncurve_duration 2,25\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.project.StepCount1(), 2);
        EXPECT_EQ(r.project.CurveDuration(), 2.25);
        EXPECT_FALSE(r.invariantNumbers);
    }
    {
        // After it: the leading number with "." decimals.
        const Read r("version 1\nstep1 1,5\ncurve_duration 2.25\nstep2 2.5\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.project.StepCount1(), 1);
        EXPECT_EQ(r.project.CurveDuration(), 2.25);
        EXPECT_EQ(r.project.StepCount2(), 2);  // half to even
        EXPECT_TRUE(r.invariantNumbers);
    }
    {
        // Numbers before the version line still follow the locale.
        const Read r("step1 1,5\nversion 1.0\nstep2 1,5\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.project.StepCount1(), 2);
        EXPECT_EQ(r.project.StepCount2(), 1);
    }
    {
        // The control lines read with the flag the key lines left.
        const Read r("version 1\nctl:1.5;-2.25E1;3;\n");
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.curves.Curves(0).GetX(1), 1.5f);
        EXPECT_EQ(r.curves.Curves(0).GetY(1), -22.5f);
    }
    {
        const Read r("ctl:1,5;2;3;\n");
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.curves.Curves(0).GetX(1), 1.5f);
    }
}

TEST(CProjectIOHandlerLegacy, CurveAndCommentSections)
{
    {
        // Prefixes in any case; "ref:" opens the reference path once.
        const Read r("game_mod 1\nCtl:" + Point + "\nREF:" + Point + "\nctl:" + Point + "\nrEf:" + Point
                     + "\n");
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        ASSERT_EQ(r.curves.CurveCount(), 2);
        EXPECT_EQ(r.curves.Curves(0).Name(), QStringLiteral("Camera path"));
        EXPECT_EQ(r.curves.Curves(0).ControlsCount(), 2);
        EXPECT_EQ(r.curves.Curves(1).Name(), QStringLiteral("Reference path"));
        EXPECT_EQ(r.curves.Curves(1).ControlsCount(), 2);
        EXPECT_TRUE(r.project.Comment().isEmpty());
    }
    {
        // A reference line first still makes the camera path first.
        const Read r("ref:" + Point + "\n");
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.curves.CurveCount(), 2);
        EXPECT_EQ(r.curves.Curves(0).ControlsCount(), 0);
        EXPECT_EQ(r.curves.Curves(1).Name(), QStringLiteral("Reference path"));
    }
    {
        // A blank before "ctl:" makes a key line before the curves and ends
        // them inside; key lines after the curves are comment.
        const Read r(" ctl:" + Point + "\nctl:" + Point + "\n ctl:x\ngame_mod 3\n   \n  note  \n");
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.curves.CurveCount(), 1);
        EXPECT_EQ(r.curves.Curves(0).ControlsCount(), 1);
        EXPECT_EQ(r.project.GameType(), 0);
        EXPECT_EQ(r.project.Comment(), QStringLiteral("ctl:x\r\ngame_mod 3\r\n   \r\n  note  \r\n"));
    }
    {
        // Blank lines before the comment's first words vanish; tabs stay.
        const Read r("ctl:" + Point + "\n   \n\t x\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.project.Comment(), QStringLiteral("\t x\r\n"));
    }
    {
        // The step rate of the curves is the project's frame rate, and game
        // 3 keeps a timescale that game 0 would snap.
        const Read r("game_mod 3\navi_demo 50\nctl:1;2;3;0;0;0;90;0.337;\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.curves.Curves(0).StepRate(), 50);
        EXPECT_EQ(r.curves.Curves(0).GetTimescale(1), UnsnappedTimescale);
    }
    {
        // Key lines only: no curve and no comment.
        const Read r("game_mod 1\nbsp_filename a.bsp\n");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.curves.CurveCount(), 0);
        EXPECT_TRUE(r.project.Comment().isEmpty());
    }
    {
        // 250 controls are the most a curve holds, and they all read.
        const Read r("version 1\n" + QByteArray("ctl:" + Point + "\n").repeated(250));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.curves.Curves(0).ControlsCount(), 250);
    }
}

TEST(CProjectIOHandlerLegacy, TextWithoutKnownKeysIsRefused)
{
    // Before, any such file opened as an empty project; saving it would then
    // have replaced the user's file with nothing.
    for (const QByteArray& text : {QByteArray("just one line\n"), QByteArray("foo 1\nbar 2\n"),
                                   QByteArray("\xEF\xBB\xBF\n"), QByteArray("<?XML version=\"1.0\"?>\n")}) {
        const Read r(text);
        EXPECT_FALSE(r.ok) << text.constData();
        EXPECT_TRUE(r.error.contains(QStringLiteral("old.cam"))) << r.error.toStdString();
        // The caller's project stays.
        EXPECT_EQ(r.project.GameType(), 4);
        EXPECT_EQ(r.curves.CurveCount(), 3);
        EXPECT_TRUE(r.invariantNumbers);
    }
}
