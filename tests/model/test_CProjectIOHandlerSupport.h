#pragma once

// Shared fixtures of the project file tests: projects with every field set,
// curves with every property set, comparison value for value, files in a
// temporary folder and a German process locale (test_LocaleScope.h).

#include "C3DCurveController.h"
#include "C3DProject.h"
#include "CProjectIOHandler.h"
#include "test_LocaleScope.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace projio_test {

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

struct TempFiles
{
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = Path(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }
};

// Every field differs from a new record's; the texts carry markup
// characters, ";" and non-ASCII letters.
inline void FillProject(C3DProject& p, int32_t gameType)
{
    p.SetGameType(gameType);
    p.SetActiveView(2);
    p.SetViewData1(QStringLiteral("v1;1;0;1;2;1;10;100000;0;0;0;0;0"));
    p.SetViewData2(QStringLiteral("v1;2;0;2;3;1.5;-20;3.25;1;0;0;1;0"));
    p.SetViewData3(QStringLiteral("v1;4;1;2;3;0.125;7;8;0;1;1;0;1"));
    p.SetViewData4(QStringLiteral("v1;8;0;1;2;1;10;100000;0;0;1;0;0 <&>\"'"));
    p.SetView3dRatioIndex(QStringLiteral("3"));
    p.SetCameraString(QStringLiteral("12.5;-300.25;64;90;-45.5;3;100;25000"));
    p.SetCurveDuration(12.5);
    p.SetSelectedStepValue(1);
    p.SetStepCount1(300);
    p.SetStepCount2(600);
    p.SetDemoRootDir(QStringLiteral("/home/ünïcode/demos & more"));
    p.SetSelectedDemoPath(QStringLiteral("demos/\u65E5\u672C <final>.dm_84"));
    p.SetSelectedConfigName(QStringLiteral("movie \"hq\".cfg"));
    p.SetSelectedBeforeCommand(QStringLiteral("cg_draw2d 0; r_mode 6"));
    p.SetSelectedAfterCommand(QStringLiteral("cg_draw2d 1 & echo 'done'"));
    p.SetMapFileName(QStringLiteral("C:\\Games\\et\\etmain\\maps\\supply \u20AC.bsp"));
    p.SetAutostartEnabled(true);
    p.SetAutoStartTime(77);
    p.SetScriptPauseEnabled(true);
    p.SetScriptPauseInterval(-12);
    p.SetScriptPauseResumeKeyIndex(31000);
    p.SetIncludeFovChecked(true);
    p.SetIncludeTimescaleChecked(true);
    p.SetIncludeMessageChecked(true);
    p.SetDemoGoToMinute(998);
    p.SetDemoGoToSecond(59);
    p.SetDemoForwardSecond(9999);
    p.SetCameraMode(3);
    p.SetPlayerNumber(-7);
    p.SetTransitionSpeed(2147483647);
    p.ViewPresetStrings().append(QStringLiteral("preset one;1;2;3"));
    p.ViewPresetStrings().append(QStringLiteral("preset <two> & \"three\""));
    p.SetSelectedFramerate(125);
    p.SetFramerateValuesString(QStringLiteral("24;25;30;60;125"));
    p.SetEtqwScreenshotSettingsString(QStringLiteral("1920;1080;4;1"));
    p.SetComment(QStringLiteral("First line\r\n\tsecond: ]]> inside <b>&amp;</b>\r\n\u00E9t\u00E9 \u20AC"));
}

// A record as it comes back from a file: the fields only older texts keep
// are not written.
inline C3DProject AsWritten(C3DProject p)
{
    p.SetCurveDuration(0.0);
    p.SetSelectedStepValue(0);
    p.SetStepCount1(0);
    p.SetStepCount2(0);
    p.SetAutoStartTime(0);
    return p;
}

// A timescale that game 0 would snap (to 0.325): it survives only when the
// curves know their game before the controls are read.
inline constexpr float UnsnappedTimescale = 0.337f;

// `curves` curves of `controls` controls each, every property away from its
// default, values that need all nine digits of a float among them.
inline void FillCurves(C3DCurveController& c, int32_t gameType, int32_t curves, int32_t controls)
{
    c.SetGameType(gameType);
    for (int32_t k = 0; k < curves; ++k) {
        C3DCurve& curve = c.Add(QStringLiteral("Path <%1> & \u00E9").arg(k));
        curve.SetIsVisible(k % 2 == 0);
        curve.SetIsEnabled(k % 3 != 0);
        curve.SetShowArrow(k % 2 == 1);
        curve.SetShowTimes(true);
        curve.SetShowTangent(k % 4 == 1);
        curve.SetStartTime(1234.5678901234 + k);
        for (int32_t i = 1; i <= controls; ++i)
            curve.AddControlRecord(NewControlRecord());
        for (int32_t i = 1; i <= controls; ++i) {
            const float f = static_cast<float>(i) + static_cast<float>(k) / 7.0f;
            auto set = [&](int32_t id, float v) { curve.SetValue(i, id, TaggedValue(v)); };
            set(1, f * 3.1f);
            set(2, -f * 1.7f);
            set(3, 0.1f * f + 1e-7f);
            set(4, -33.3f + f / 100.0f);
            set(5, 179.5f - f / 13.0f);
            set(6, 1.0f / 3.0f + f);
            set(7, 45.25f + static_cast<float>(i % 50));
            set(8, gameType == 0 ? 0.5f : UnsnappedTimescale);
            set(9, 1.0f);
            set(10, 2.5f + f / 1000.0f);
            set(11, 3.0f);
            set(12, 16777217.0f + f);
            set(13, -1e-6f * f);
            set(14, 1e20f / f);
            set(15, static_cast<float>(1 + i % 7));
            set(17, f / 9.0f);
            set(18, -f / 11.0f);
            set(19, 1e-30f * f);
            set(20, static_cast<float>(7 - i % 7));
            set(21, 10.0f + 0.04f * static_cast<float>(i));
            set(22, 1000.125f + f);
            set(23, -f * 2.2f);
            set(24, f * 0.3f + 0.0001f);
            curve.SetValue(i, 25, TaggedValue(QStringLiteral("echo \"%1\"; say <&> \u00FC").arg(i)));
        }
    }
}

// The same curves, value for value, in the same order, with the same game.
inline void ExpectSameCurves(const C3DCurveController& a, const C3DCurveController& b)
{
    ASSERT_EQ(a.CurveCount(), b.CurveCount());
    EXPECT_EQ(a.GameType(), b.GameType());
    for (int32_t k = 0; k < a.CurveCount(); ++k) {
        const C3DCurve& x = a.Curves(k);
        const C3DCurve& y = b.Curves(k);
        SCOPED_TRACE(testing::Message() << "curve " << k);
        EXPECT_EQ(x.Name(), y.Name());
        EXPECT_EQ(x.IsVisible(), y.IsVisible());
        EXPECT_EQ(x.IsEnabled(), y.IsEnabled());
        EXPECT_EQ(x.ShowArrow(), y.ShowArrow());
        EXPECT_EQ(x.ShowTimes(), y.ShowTimes());
        EXPECT_EQ(x.ShowTangent(), y.ShowTangent());
        EXPECT_EQ(x.StartTime(), y.StartTime());
        EXPECT_EQ(x.GameType(), y.GameType());
        ASSERT_EQ(x.ControlsCount(), y.ControlsCount());
        int32_t mismatches = 0;
        for (int32_t i = 1; i <= x.ControlsCount() && mismatches < 5; ++i)
            for (int32_t id = 1; id <= 25; ++id)
                if (x.value(i, id) != y.value(i, id)) {
                    ADD_FAILURE() << "control " << i << " id " << id;
                    ++mismatches;
                }
    }
}

// Counts every event of a controller: a refused file must raise none.
struct EventCounter : I3DCurveControllerEvents
{
    int count = 0;
    void CurveCountChanged() override { ++count; }
    void StepCountChanged(C3DCurve&, int32_t) override { ++count; }
    void StepRateChanged(C3DCurve*) override { ++count; }
    void DurationChanged(C3DCurve&) override { ++count; }
    void ControlsCountChanged(C3DCurve&) override { ++count; }
    void CurvesChanged() override { ++count; }
    void CurveChanged(C3DCurve&) override { ++count; }
    void CurvesQuickRefreshStopped() override { ++count; }
    void QuickRefreshStopped(C3DCurve&) override { ++count; }
};

// The caller's state before a load: a small project of its own, kept to
// check that a refused file leaves it exactly as it was.
struct CallerState
{
    C3DProject project;
    C3DCurveController controller;
    bool invariantNumbers = true;
    C3DProject projectBefore;
    std::unique_ptr<C3DCurveController> controllerBefore;
    EventCounter events;

    CallerState()
    {
        FillProject(project, 3);
        FillCurves(controller, 3, 2, 3);
        projectBefore = project;
        controllerBefore = controller.Clone();
        controller.AddListener(&events);
    }
    ~CallerState() { controller.RemoveListener(&events); }

    void ExpectUnchanged() const
    {
        EXPECT_EQ(project, projectBefore);
        ExpectSameCurves(controller, *controllerBefore);
        EXPECT_TRUE(invariantNumbers);
        EXPECT_EQ(events.count, 0);
    }
};

} // namespace projio_test
