#include "CameraScriptText.h"
#include "ControlRecord.h"
#include "GamesTestSupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <random>

namespace {

struct Opt
{
    bool fov = true, ts = true, comments = false, freecam = false, fpsLimit = false, oneFrameDelay = false;
    int32_t modeIndex = 0, modeValue = 0, transSpeed = 0;
    bool etqwFrames = false;
    QString commandAfter;
};

C3DCameraScriptOption MakeOptions(const CGameDefinition& game, const Opt& o)
{
    C3DCameraScriptOption opt;
    opt.Initialize(&game, nullptr, "cam", "/tmp/x", "", ".cfg", false, o.transSpeed, o.fov, o.ts, o.comments,
                   o.freecam, o.modeIndex, o.modeValue, o.fpsLimit, 125, o.oneFrameDelay, false, "",
                   o.commandAfter, o.etqwFrames, 1920, 1080, 4, false, 1, "");
    return opt;
}

ControlRecord Sample(float x, float y, float z, float pitch, float yaw, float roll, float fov, float ts,
                     int32_t segment = 1)
{
    ControlRecord r;
    r.X = x;
    r.Y = y;
    r.Z = z;
    r.Pitch = pitch;
    r.Yaw = yaw;
    r.Roll = roll;
    r.Fov = fov;
    r.Timescale = ts;
    r.SegmentNumber = segment;
    return r;
}

std::string StepLine(const CGameDefinition& game, const Opt& o, const ControlRecord& s, bool opens = false,
                     const QString& command = {})
{
    const C3DCameraScriptOption opt = MakeOptions(game, o);
    CameraScriptText text(opt);
    std::string out;
    text.AppendStepLine(out, s, 0, opens, command);
    return out;
}

} // namespace

TEST(CameraScriptText, StepLinesOfEachGame)
{
    const ControlRecord s = Sample(10.0f, -20.5f, 300.0f, 5.0f, 90.0f, 0.0f, 75.0f, 0.5f);
    struct Case
    {
        int32_t game;
        Opt opt;
        const char* expected;
    };
    Opt tracking;
    tracking.modeIndex = 1;
    Opt defrag;
    defrag.transSpeed = 100;
    Opt etqwFrames = tracking;
    etqwFrames.etqwFrames = true;
    Opt bare;
    bare.fov = false;
    bare.ts = false;
    bare.oneFrameDelay = true;
    const Case cases[] = {
        {0, Opt{}, "wait;cg_fov 75.00;timescale 0.500;wait;freecamsetpos 10.00 -20.50 300.00 5.00 90.00 0.00;\r\n"},
        {1, defrag,
         "wait;cg_fov 75.00;timescale 0.500;df_demos_CameraTransitionSpeed 200.00;wait;"
         "set pos \"placeplayer 10.00 -20.50 300.00 5.00 90.00 0.00\";\r\n"},
        // ET QW keeps its angles with a tracking camera, RTCW drops them.
        {4, tracking, "wait;g_fov 75.00;demo_scale 0.500;wait;freecamsetpos 10.00 -20.50 300.00 5.00 90.00 0.00;\r\n"},
        {3, tracking, "wait;cg_fov 75.00;timescale 0.500;wait;freecamsetpos 10.00 -20.50 300.00;\r\n"},
        {4, etqwFrames,
         "wait;g_fov 75.00;demo_scale 0.500;wait;freecamsetpos 10.00 -20.50 300.00 5.00 90.00 0.00"
         ";screenshot 1920 1080 4;\r\n"},
        {3, bare, "wait;freecamsetpos 10.00 -20.50 300.00 5.00 90.00 0.00;\r\n"},
        {2, Opt{}, "createcam 0;setcamorigin 0 10.000000 -20.500000 300.000000;"
                   "setcamangles 0 5.000000 90.000000 0.000000;\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepLine(MakeGame(c.game), c.opt, s), c.expected) << "game " << c.game;
}

TEST(CameraScriptText, TimescaleIsNormalisedPerGame)
{
    const Opt o;
    // ET Pro snaps to its steps, the others only keep 0.1 as the least.
    EXPECT_NE(StepLine(MakeGame(0), o, Sample(0, 0, 0, 0, 0, 0, 90, 0.17f)).find("timescale 0.176;"),
              std::string::npos);
    EXPECT_NE(StepLine(MakeGame(0), o, Sample(0, 0, 0, 0, 0, 0, 90, 0.01f)).find("timescale 0.025;"),
              std::string::npos);
    EXPECT_NE(StepLine(MakeGame(3), o, Sample(0, 0, 0, 0, 0, 0, 90, 0.05f)).find("timescale 0.100;"),
              std::string::npos);
    EXPECT_NE(StepLine(MakeGame(3), o, Sample(0, 0, 0, 0, 0, 0, 90, 0.33f)).find("timescale 0.330;"),
              std::string::npos);
}

TEST(CameraScriptText, SegmentCommentAndCommandOnlyWhenTheSampleOpensASegment)
{
    Opt o;
    o.comments = true;
    const ControlRecord s = Sample(1, 2, 3, 0, 0, 0, 90, 1, 2);
    EXPECT_EQ(StepLine(MakeGame(3), o, s, true, "say hi"),
              "echo \"^2seg: 2 - 3\"\r\n"
              "wait;cg_fov 90.00;timescale 1.000;wait;freecamsetpos 1.00 2.00 3.00 0.00 0.00 0.00;say hi\r\n");
    EXPECT_EQ(StepLine(MakeGame(3), o, s, false, "say hi"),
              "wait;cg_fov 90.00;timescale 1.000;wait;freecamsetpos 1.00 2.00 3.00 0.00 0.00 0.00;\r\n");
}

TEST(CameraScriptText, PreambleTailAndDeveloperMode)
{
    const CGameDefinition etpro = MakeGame(0);
    Opt o;
    o.comments = true;
    o.freecam = true;
    o.fov = false;
    o.fpsLimit = true;
    o.modeIndex = 1;
    o.modeValue = 7;
    o.commandAfter = "after";
    const C3DCameraScriptOption opt = MakeOptions(etpro, o);
    CameraScriptText text(opt);
    const ControlRecord first = Sample(1, 2, 3, 4, 5, 6, 60.5f, 1.0f);
    std::string pre = text.Preamble("Ruvadir", first);
    EXPECT_EQ(pre, "// ET Pro camera script - generated by Ruvadir\r\n"
                   "echo \"^2*** Start ***\"\r\n"
                   "freecam\r\n"
                   "{et_developer_mode}b_demo_lookat 7\r\n"
                   "cg_fov 60.50\r\n"
                   "com_maxfps 125\r\n"
                   "\r\n");
    std::string low = pre;
    CameraScriptText::ApplyEtDeveloperMode(low, 60.5f);
    EXPECT_EQ(low.substr(low.find("freecam\r\n") + 9, 26), "Developer 1\r\nb_demo_lookat");
    std::string wide = pre;
    CameraScriptText::ApplyEtDeveloperMode(wide, 90.0f);
    EXPECT_EQ(wide.find("Developer"), std::string::npos);
    EXPECT_NE(wide.find("freecam\r\nb_demo_lookat 7"), std::string::npos);

    EXPECT_EQ(text.Tail(60.5f), "exec after\r\nDeveloper 0\r\nb_demo_lookat -1\r\necho \"^2*** End ***\"\r\n"
                                "\r\n// End of file\r\n");
    EXPECT_EQ(text.Tail(90.0f), "exec after\r\nb_demo_lookat -1\r\necho \"^2*** End ***\"\r\n\r\n// End of file\r\n");
}

TEST(CameraScriptText, DefragPreambleAndFirstPositionFile)
{
    const CGameDefinition defrag = MakeGame(1);
    Opt o;
    o.ts = false;
    o.modeIndex = 2;
    o.modeValue = 3;
    o.transSpeed = 100;
    const C3DCameraScriptOption opt = MakeOptions(defrag, o);
    CameraScriptText text(opt);
    const ControlRecord first = Sample(1.005f, 2, 3, 4, 5, 6, 75, 0.5f);
    EXPECT_EQ(text.Preamble("Ruvadir", first),
              "// DeFrag camera script - generated by Ruvadir\r\n"
              "set df_demos_CameraMode 6\r\nset df_mp_TrackPlayerNum 3\r\n"
              "set df_demos_CameraTransitionSpeed 100\r\nset saveposname pos\r\n"
              "timescale 0.50\r\n\r\n");
    EXPECT_EQ(text.FirstPositionFile(first),
              "set df_demos_CameraMode 4; set df_demos_CameraTransitionSpeed 0; set saveposname pos\r\n"
              "set pos \"placeplayer 1.00 2.00 3.00 4.00 5.00 6.00\";\r\nset cg_fov 75.00");
}

TEST(CameraScriptText, WarsowTransitions)
{
    const CGameDefinition warsow = MakeGame(2);
    const C3DCameraScriptOption opt = MakeOptions(warsow, Opt{});
    CameraScriptText text(opt);
    std::string out;
    for (int i = 0; i < 3; ++i)
        text.AppendStepLine(out, Sample(0, 0, 0, 0, 0, 0, 80.0f + i, 1.0f), i, false, {});
    const std::vector<std::string> t = text.WarsowTransitions(3, 9);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], "\r\n// transition definitions\r\ncreatetransition 0 0 1 9 1\r\n");
    EXPECT_EQ(t[1], "createtransition 1 1 2 9 1\r\n");
    EXPECT_EQ(t[2], "fov 80.00;timescale 1.00;starttransitions 0;\r\n");
    EXPECT_EQ(t[3], "fov 81.00;timescale 1.00;starttransitions 1;\r\n");
    EXPECT_TRUE(text.WarsowTransitions(1, 9).empty());
}

TEST(CameraScriptText, NumbersIgnoreTheLocale)
{
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string restore = saved ? saved : "C";
    for (const char* locale : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
        std::setlocale(LC_ALL, locale);
        EXPECT_EQ(CameraScriptText::FormatNum(-20.5, 2), "-20.50");
        EXPECT_EQ(CameraScriptText::FormatNum(1234567.125, 3), "1234567.125");
    }
    std::setlocale(LC_ALL, restore.c_str());
    // Ties go to the even neighbour; a value rounding to zero loses its sign.
    EXPECT_EQ(CameraScriptText::FormatNum(0.125, 2), "0.12");
    EXPECT_EQ(CameraScriptText::FormatNum(0.375, 2), "0.38");
    EXPECT_EQ(CameraScriptText::FormatNum(-0.001, 2), "0.00");
    EXPECT_EQ(CameraScriptText::FormatNum(0.5, 0), "0");
}

// The script numbers take a fast path; it must give the text of the general
// fixed conversion for every value, halves and near-halves most of all.
TEST(CameraScriptText, NumbersMatchTheGeneralConversion)
{
    const auto reference = [](double v, int decimals) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        std::string s(buf, r.ptr);
        if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-')
            s.erase(0, 1);
        return s;
    };
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-70000.0, 70000.0);
    std::uniform_int_distribution<int> halves(-2000000, 2000000);
    for (int decimals = 0; decimals <= 6; ++decimals) {
        for (int i = 0; i < 40000; ++i) {
            const double v = wide(random);
            ASSERT_EQ(CameraScriptText::FormatNum(v, decimals), reference(v, decimals)) << v;
            // An exact half at this precision, and its float neighbours.
            const double half = (halves(random) + 0.5) / std::pow(10.0, decimals);
            for (double w : {half, std::nextafter(half, 1e300), std::nextafter(half, -1e300),
                             double(float(half))})
                ASSERT_EQ(CameraScriptText::FormatNum(w, decimals), reference(w, decimals)) << w;
        }
    }
    for (double v : {0.0, -0.0, 999999999.0, -999999999.5, 1e9, 1e12, 4503599627370497.0})
        for (int decimals : {0, 2, 6, 7})
            EXPECT_EQ(CameraScriptText::FormatNum(v, decimals), reference(v, decimals)) << v;
}
