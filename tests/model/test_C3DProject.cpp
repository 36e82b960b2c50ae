#include "C3DProject.h"

#include "RuvError.h"
#include "test_LocaleScope.h"

#include <gtest/gtest.h>

using modeltest::LocaleScope;

TEST(C3DProject, NewRecordIsEmpty)
{
    const C3DProject p;
    EXPECT_EQ(p.GameType(), 0);
    EXPECT_EQ(p.ActiveView(), 0);
    EXPECT_TRUE(p.ViewData1().isEmpty() && p.ViewData4().isEmpty());
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("0"));
    EXPECT_TRUE(p.CameraString().isEmpty());
    EXPECT_EQ(p.CurveDuration(), 0.0);
    EXPECT_FALSE(p.AutostartEnabled() || p.ScriptPauseEnabled() || p.IncludeFovChecked()
                 || p.IncludeTimescaleChecked() || p.IncludeMessageChecked());
    EXPECT_EQ(p.DemoGoToMinute(), 0);
    EXPECT_EQ(p.DemoGoToSecond(), 0);
    EXPECT_EQ(p.DemoForwardSecond(), 0);
    EXPECT_EQ(p.SelectedFramerate(), 0);
    EXPECT_TRUE(p.ViewPresetStrings().isEmpty());
    EXPECT_TRUE(p.Comment().isEmpty());
    EXPECT_EQ(p, C3DProject());
}

TEST(C3DProject, GameTypeAndActiveViewCorrections)
{
    struct Case { int32_t in, out; };
    for (const Case c : {Case{5, 0}, Case{-1, 0}, Case{4, 4}, Case{0, 0}, Case{2, 2}, Case{INT32_MAX, 0}}) {
        C3DProject p;
        p.SetGameType(c.in);
        EXPECT_EQ(p.GameType(), c.out) << c.in;
    }
    for (const Case c : {Case{7, 3}, Case{4, 3}, Case{3, 3}, Case{-2, 0}, Case{1, 1}, Case{INT16_MIN, 0}}) {
        C3DProject p;
        p.SetActiveView(static_cast<int16_t>(c.in));
        EXPECT_EQ(p.ActiveView(), c.out) << c.in;
    }
}

TEST(C3DProject, DemoTimeCorrections)
{
    struct Case { int16_t minuteBefore, second, minute, secondAfter; };
    const Case cases[] = {
        {2, 125, 4, 5},
        {998, 125, 999, 5},
        {2, 59, 2, 59},
        {2, 60, 3, 0},
        {2, -1, 2, 0},
        {0, INT16_MAX, 546, 7},
        {999, INT16_MAX, 999, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minuteBefore << " " << c.second);
        C3DProject p;
        p.SetDemoGoToMinute(c.minuteBefore);
        p.SetDemoGoToSecond(c.second);
        EXPECT_EQ(p.DemoGoToMinute(), c.minute);
        EXPECT_EQ(p.DemoGoToSecond(), c.secondAfter);
    }
    struct Clamp { int16_t in, minute, forward; };
    for (const Clamp c : {Clamp{-5, 0, 0}, Clamp{1000, 999, 1000}, Clamp{12000, 999, 9999}, Clamp{500, 500, 500}}) {
        C3DProject p;
        p.SetDemoGoToMinute(c.in);
        p.SetDemoForwardSecond(c.in);
        EXPECT_EQ(p.DemoGoToMinute(), c.minute) << c.in;
        EXPECT_EQ(p.DemoForwardSecond(), c.forward) << c.in;
    }
}

TEST(C3DProject, CommentCorrection)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"  \r\n\r\n  ", ""},
        {"\r\na", "\r\na"},
        {"  a  ", "a"},
        {"", ""},
        // Lone line ends and tabs are content.
        {"\n", "\n"},
        {"\r", "\r"},
        {"\t", "\t"},
        {" \r\n x \r\n ", "\r\n x \r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.in)));
        C3DProject p;
        p.SetComment(QString::fromLatin1(c.in));
        EXPECT_EQ(p.Comment(), QString::fromLatin1(c.out));
    }
}

TEST(C3DProject, View3dRatioIndexIsExchangedAsText)
{
    C3DProject p;
    p.SetView3dRatioIndex(QStringLiteral("3"));
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("3"));
    p.SetView3dRatioIndex(QStringLiteral("-2"));
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("-2"));
    p.SetView3dRatioIndex(QStringLiteral("2.5"));
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("2"));
    p.SetView3dRatioIndex(QStringLiteral("4"));
    for (const char* bad : {"abc", "", "1x"}) {
        SCOPED_TRACE(bad);
        try {
            p.SetView3dRatioIndex(QString::fromLatin1(bad));
            ADD_FAILURE() << "no error raised";
        } catch (const RuvError& e) {
            EXPECT_EQ(e.number(), RuvError::TypeMismatch);
        }
        EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("4"));
    }
}

TEST(C3DProject, View3dRatioIndexUnderAGermanLocale)
{
    LocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.Took(",")) << "de_DE.UTF-8 is not installed";
    C3DProject p;
    p.SetView3dRatioIndex(QStringLiteral("3,5"));
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("4"));
    p.SetView3dRatioIndex(QStringLiteral("7"));
    EXPECT_EQ(p.View3dRatioIndex(), QStringLiteral("7"));
}

TEST(C3DProject, OtherSettersStoreUnchanged)
{
    C3DProject p;
    p.SetViewData4(QStringLiteral("v1;8;0;1;2;1;10;100000;0;0;0;0;0"));
    p.SetCameraString(QStringLiteral("1;2;3;4;5;6;90;50000"));
    p.SetCurveDuration(-12.75);
    p.SetStepCount2(-3);
    p.SetAutoStartTime(-1);
    p.SetScriptPauseInterval(INT16_MAX);
    p.SetCameraMode(-7);
    p.SetTransitionSpeed(123456);
    p.SetSelectedFramerate(1000);
    p.SetFramerateValuesString(QStringLiteral("24;25;30"));
    p.SetSelectedBeforeCommand(QStringLiteral("  spaces kept  "));
    EXPECT_EQ(p.ViewData4(), QStringLiteral("v1;8;0;1;2;1;10;100000;0;0;0;0;0"));
    EXPECT_EQ(p.CameraString(), QStringLiteral("1;2;3;4;5;6;90;50000"));
    EXPECT_EQ(p.CurveDuration(), -12.75);
    EXPECT_EQ(p.StepCount2(), -3);
    EXPECT_EQ(p.AutoStartTime(), -1);
    EXPECT_EQ(p.ScriptPauseInterval(), INT16_MAX);
    EXPECT_EQ(p.CameraMode(), -7);
    EXPECT_EQ(p.TransitionSpeed(), 123456);
    EXPECT_EQ(p.SelectedFramerate(), 1000);
    EXPECT_EQ(p.FramerateValuesString(), QStringLiteral("24;25;30"));
    EXPECT_EQ(p.SelectedBeforeCommand(), QStringLiteral("  spaces kept  "));
}

TEST(C3DProject, ViewPresetListIsTheRecordsOwn)
{
    C3DProject p;
    p.ViewPresetStrings().append(QStringLiteral("first"));
    p.ViewPresetStrings().append(QStringLiteral("second"));
    ASSERT_EQ(p.ViewPresetStrings().size(), 2);
    EXPECT_EQ(p.ViewPresetStrings().at(0), QStringLiteral("first"));
    // A copy of the record has a list of its own.
    C3DProject copy = p;
    copy.ViewPresetStrings().append(QStringLiteral("third"));
    EXPECT_EQ(p.ViewPresetStrings().size(), 2);
    EXPECT_NE(copy, p);
}

TEST(C3DProject, ViewPresetsKeepTheirSlots)
{
    C3DProject p;
    p.ViewPresetStrings().append(QStringLiteral("no slot"));
    p.AddViewPreset(QStringLiteral("two"), 2);
    p.AddViewPreset(QStringLiteral("unknown"), -5);
    p.AddViewPreset(QStringLiteral("seven"), 7);
    EXPECT_EQ(p.ViewPresetStrings(),
              (QStringList{QStringLiteral("no slot"), QStringLiteral("two"), QStringLiteral("unknown"),
                           QStringLiteral("seven")}));
    const int32_t expected[] = {-1, 2, -1, 7};
    for (qsizetype i = 0; i < 4; ++i)
        EXPECT_EQ(p.ViewPresetSlot(i), expected[i]) << i;
    EXPECT_EQ(p.ViewPresetSlot(4), -1);
    EXPECT_EQ(p.ViewPresetSlot(-1), -1);

    // Without any slot a record equals one whose list was filled directly.
    C3DProject direct;
    direct.ViewPresetStrings() << QStringLiteral("a") << QStringLiteral("b");
    C3DProject added;
    added.AddViewPreset(QStringLiteral("a"), -1);
    added.AddViewPreset(QStringLiteral("b"), -1);
    EXPECT_EQ(direct, added);

    // A list emptied directly forgets the slots of its old texts.
    p.ViewPresetStrings().clear();
    p.AddViewPreset(QStringLiteral("fresh"), -1);
    EXPECT_EQ(p.ViewPresetSlot(0), -1);
}
