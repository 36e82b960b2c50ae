// The preview of the main curve: its lock, the commands, the playback
// clock (a fake one, stepped by the test), the camera edits of the current
// point and the controls the preview switches, on the real window's
// widgets with a real curve.

#include "PreviewRig.h"

#include "FlexgridEx.h"
#include "MRuvMain.h"
#include "MainMenus.h"
#include "PreviewPlayback.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

// The step rate setter keeps a flight below what sampling holds; this test
// wants one beyond it.
struct C3DCurveFlightTestAccess
{
    static void SetRate(C3DCurve& c, int32_t rate) { c.m_stepRate = rate; }
};

namespace {

class Preview : public ::testing::Test
{
protected:
    Rig::Window w;
    PreviewPlayback& pv = static_cast<PreviewPlayback&>(*w.P().preview);

    // Two points give 101 samples at 100 a second, three points 201.
    void Lock(int points, int32_t rate = 100)
    {
        w.AddPoints(w.Main(), points, rate);
        w.ShowInGrid(w.Main());
        pv.fSetPreviewLock(true);
        ASSERT_TRUE(pv.fIsPreviewLocked());
    }
    // Moves the fake clock on and lets the playback take one pass.
    void Tick(int64_t ms)
    {
        w.clock->now += ms;
        pv.PlaybackTick();
    }
    void Play()
    {
        pv.fSetPlaybackRunning(true);
        ASSERT_TRUE(pv.LoopActive());
    }
    float CameraGameX() const { return w.frm->State().m_camera.GamePos(0); }
    ControlRecord Sample(int32_t index) const
    {
        ControlRecord r;
        EXPECT_TRUE(pv.fGetPreviewSampleRecord(index, r));
        return r;
    }
    bool Enabled(int index) const
    {
        return (index == 3 ? w.frm->Widgets().cmdPvwStartStop : w.frm->Widgets().cmdPreview[index])->isEnabled();
    }
};

TEST(PreviewInterval, IsTheStepTimeWithAFloor)
{
    struct Case
    {
        int32_t rate;
        float interval;
    };
    const Case cases[] = {{100, 10.0f}, {25, 40.0f}, {1, 1000.0f}, {0, 1000.0f}, {-5, 1000.0f},
                          {200000, 0.01f}, {100000, 0.01f}, {99999, 0.0100001f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(PreviewPlayback::FrameInterval(c.rate), c.interval) << c.rate;
}

TEST_F(Preview, LockShowsTheFirstSampleInRedAndUnlockGivesEverythingBack)
{
    Lock(3);
    MainWidgets& ui = w.W();
    // The colour a check box fills its background with (the window test
    // reads it from the screen).
    EXPECT_EQ(ui.chkPreviewLock->palette().color(ui.chkPreviewLock->backgroundRole()), QColor(255, 0, 0));
    EXPECT_TRUE(ui.chkPreviewLock->autoFillBackground());
    EXPECT_EQ(pv.LastSampleIndex(), 200);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
    EXPECT_EQ(pv.fGetPreviewSample(), 0);
    EXPECT_TRUE(pv.fIsPreviewAtControl());
    EXPECT_FLOAT_EQ(CameraGameX(), 0.0f);
    EXPECT_EQ(ui.lbl3dvTime->text(), QStringLiteral("T: 0.000"));
    EXPECT_TRUE(w.Main().IsQuickRefreshing());
    EXPECT_FALSE(ui.fra3DViewPreset->isEnabled());
    EXPECT_FALSE(w.frm->Menus().Action(QStringLiteral("mnuV_Refresh"))->isEnabled());

    pv.fReleasePreviewLock();
    EXPECT_FALSE(pv.fIsPreviewLocked());
    EXPECT_EQ(ui.chkPreviewLock->palette().color(ui.chkPreviewLock->backgroundRole()),
              QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(ui.lbl3dvTime->text().isEmpty());
    EXPECT_FALSE(w.Main().IsQuickRefreshing());
    EXPECT_TRUE(ui.fra3DViewPreset->isEnabled());
    EXPECT_TRUE(w.frm->Menus().Action(QStringLiteral("mnuV_Language"))->isEnabled());
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        EXPECT_FALSE(Enabled(i)) << i;
}

TEST_F(Preview, FewerThanTwoPointsReleaseTheLock)
{
    w.AddPoints(w.Main(), 1);
    pv.fTogglePreviewLock();
    EXPECT_FALSE(pv.fIsPreviewLocked()) << "L with one point";
    // Checking the box anyway: the samples cannot be built, the lock goes.
    w.W().chkPreviewLock->setChecked(true);
    EXPECT_FALSE(pv.fIsPreviewLocked());
    EXPECT_EQ(pv.LastSampleIndex(), -1);
    EXPECT_EQ(pv.fGetPreviewControl(), -1);
    EXPECT_FALSE(w.Main().IsQuickRefreshing());
    EXPECT_TRUE(w.W().fraPanels[0]->isEnabled());
    EXPECT_EQ(w.view->projections, 0) << "the camera did not move";

    // Locked on two points, then one is deleted: the refresh lets go.
    w.AddPoints(w.Main(), 1);
    pv.fTogglePreviewLock();
    ASSERT_TRUE(pv.fIsPreviewLocked());
    w.Main().DeleteControl(2);
    pv.fRefreshPreview(true);
    EXPECT_FALSE(pv.fIsPreviewLocked());
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        EXPECT_FALSE(Enabled(i)) << i;
}

TEST_F(Preview, AFlightTooLongToSampleIsRefusedWithItsReason)
{
    w.AddPoints(w.Main(), 2);
    C3DCurveFlightTestAccess::SetRate(w.Main(), 30000000);
    pv.fSetPreviewLock(true);
    EXPECT_FALSE(pv.fIsPreviewLocked());
    EXPECT_EQ(pv.LastSampleIndex(), -1);
    ASSERT_EQ(w.dialogs->boxes.size(), 1u);
    EXPECT_EQ(w.dialogs->boxes[0].style, 16);
    EXPECT_EQ(w.view->projections, 0) << "the camera did not move";
}

TEST_F(Preview, CommandsMoveAlongSamplesAndControls)
{
    Lock(3);
    pv.fPreviewCommand(5);  // next sample
    EXPECT_EQ(pv.fGetPreviewSample(), 1);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
    EXPECT_FLOAT_EQ(CameraGameX(), Sample(1).X);
    pv.fPreviewCommand(6);  // next control
    EXPECT_EQ(pv.fGetPreviewControl(), 2);
    EXPECT_EQ(pv.fGetPreviewSample(), 100);
    EXPECT_EQ(w.Grid().Grids(0).Row(), 2) << "the row follows";
    EXPECT_EQ(w.W().lbl3dvTime->text(), QStringLiteral("T: 1.000"));
    pv.fPreviewCommand(2);  // previous sample: back into segment 1
    EXPECT_EQ(pv.fGetPreviewSample(), 99);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
    pv.fPreviewCommand(7);  // end
    EXPECT_EQ(pv.fGetPreviewSample(), 200);
    EXPECT_EQ(pv.fGetPreviewControl(), 3);
    EXPECT_FLOAT_EQ(CameraGameX(), 200.0f);
    pv.fPreviewCommand(1);  // previous control, stopped: always one back
    EXPECT_EQ(pv.fGetPreviewControl(), 2);
    EXPECT_EQ(pv.fGetPreviewSample(), 100);
    pv.fPreviewCommand(0);  // start
    EXPECT_EQ(pv.fGetPreviewSample(), 0);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
    pv.fPreviewCommand(1);  // at control 1: to its start only
    EXPECT_EQ(pv.fGetPreviewSample(), 0);
}

TEST_F(Preview, ButtonsFollowThePositionLockAndPlayback)
{
    // Expected enabled state of the commands 0, 1, 2, 3, 5, 6, 7.
    struct Case
    {
        const char* what;
        int command;  // run before reading, -1 none
        bool play;
        std::array<bool, 7> enabled;
    };
    const Case cases[] = {
        {"at the start", -1, false, {false, false, false, true, true, true, true}},
        {"one sample on", 5, false, {true, true, true, true, true, true, true}},
        {"at the end", 7, false, {true, true, true, false, false, false, false}},
        {"playing from the start", 0, true, {true, true, false, true, false, true, true}},
    };
    Lock(3);
    for (const Case& c : cases) {
        if (c.command >= 0)
            pv.fPreviewCommand(c.command);
        if (c.play)
            Play();
        const int order[] = {0, 1, 2, 3, 5, 6, 7};
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(Enabled(order[k]), c.enabled[static_cast<size_t>(k)]) << c.what << ", command " << order[k];
    }
}

TEST_F(Preview, LockedAndRunningLockTheGui)
{
    struct Case
    {
        bool locked;
        bool running;
        bool script, panels, gridEditable, presets, menus;
    };
    const Case cases[] = {
        {false, false, true, true, true, true, true},
        {true, false, true, true, true, false, false},
        {true, true, false, false, false, false, false},
        {false, true, true, false, false, true, true},
    };
    w.AddPoints(w.Main(), 2);
    MainWidgets& ui = w.W();
    for (const Case& c : cases) {
        pv.fLockGuiDuringPreview(c.locked, c.running);
        EXPECT_EQ(ui.cmdCreateScript->isEnabled(), c.script) << c.locked << c.running;
        EXPECT_EQ(ui.fraPanels[0]->isEnabled(), c.panels) << c.locked << c.running;
        EXPECT_EQ(ui.txtCFactor->isEnabled(), c.panels) << "the panel's controls with it";
        EXPECT_EQ(!w.Grid().Grids(1).EditLocked(), c.gridEditable) << c.locked << c.running;
        EXPECT_EQ(ui.fra3DViewPreset->isEnabled(), c.presets) << c.locked << c.running;
        EXPECT_EQ(w.frm->Menus().Action(QStringLiteral("mnuV_Refresh"))->isEnabled(), c.menus);
        EXPECT_EQ(w.frm->Menus().Action(QStringLiteral("mnuV_Language"))->isEnabled(), c.menus);
    }
    // Given back, the script button is what the points allow: one is too few.
    w.Main().DeleteControl(2);
    ui.cmdCreateScript->setEnabled(false);
    for (const Case& c : cases) {
        pv.fLockGuiDuringPreview(c.locked, c.running);
        EXPECT_FALSE(ui.cmdCreateScript->isEnabled()) << c.locked << c.running;
    }
}

TEST_F(Preview, PlaybackSkipsLateFramesAndStopsAtTheEnd)
{
    Lock(2);
    Play();
    EXPECT_EQ(pv.fGetPreviewSample(), 1) << "the first frame at once";
    EXPECT_FALSE(w.Main().ReloadCurveWhenDrawing());
    Tick(10);
    EXPECT_EQ(pv.fGetPreviewSample(), 1) << "frame 1 is still due";
    Tick(5);
    EXPECT_EQ(pv.fGetPreviewSample(), 2);
    // A slow frame: 55 ms in, frame 6 (5.5 to even) is due, three are skipped.
    Tick(40);
    EXPECT_EQ(pv.fGetPreviewSample(), 6);
    EXPECT_FLOAT_EQ(CameraGameX(), Sample(6).X);
    Tick(2000);
    EXPECT_EQ(pv.fGetPreviewSample(), 100) << "the last sample, not beyond";
    EXPECT_EQ(pv.fGetPreviewControl(), 2);
    EXPECT_FLOAT_EQ(CameraGameX(), 100.0f);
    EXPECT_FALSE(pv.fIsPlaybackRunning());
    EXPECT_FALSE(pv.LoopActive());
    EXPECT_TRUE(w.Main().ReloadCurveWhenDrawing());
    EXPECT_TRUE(w.W().fraPanels[0]->isEnabled());
}

TEST_F(Preview, PlayAtTheEndRewinds)
{
    Lock(2);
    pv.fPreviewCommand(7);
    ASSERT_EQ(pv.fGetPreviewSample(), 100);
    Play();
    EXPECT_EQ(pv.fGetPreviewSample(), 1);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
}

TEST_F(Preview, ARateChangeDuringPlayRestartsTheClock)
{
    Lock(2);
    Play();
    Tick(15);
    ASSERT_EQ(pv.fGetPreviewSample(), 2);
    // 200 a second: the position keeps its share, (2 + 1) x 2 - 1 = 5.
    w.Main().SetStepRate(200);
    pv.fRefreshPreview(true);
    EXPECT_EQ(pv.LastSampleIndex(), 200);
    EXPECT_EQ(pv.fGetPreviewSample(), 5);
    Tick(1);
    EXPECT_EQ(pv.fGetPreviewSample(), 6) << "the next sample at once";
    EXPECT_FLOAT_EQ(pv.FrameIntervalInUse(), 5.0f);
    Tick(4);
    EXPECT_EQ(pv.fGetPreviewSample(), 6) << "counted from the restart: frame 1 still";
    Tick(4);
    EXPECT_EQ(pv.fGetPreviewSample(), 7);
}

TEST_F(Preview, ARefreshKeepsThePositionInProportion)
{
    Lock(2);
    for (int i = 0; i < 49; ++i)
        pv.fPreviewCommand(5);
    ASSERT_EQ(pv.fGetPreviewSample(), 49);
    w.Main().SetStepRate(200);
    pv.fRefreshPreview(true);
    EXPECT_EQ(pv.fGetPreviewSample(), 99);
    EXPECT_EQ(pv.fGetPreviewControl(), 1);
    EXPECT_FLOAT_EQ(CameraGameX(), Sample(99).X);
    // Shrunk to 10 a second: 11 samples, (99 + 1) x 10 / 200 - 1 = 4.
    w.Main().SetStepRate(10);
    pv.fRefreshPreview(true);
    EXPECT_EQ(pv.fGetPreviewSample(), 4);
}

TEST_F(Preview, PreviousControlTwiceSoonGoesBackOnceOnlyRestartsTheSegment)
{
    Lock(3);
    Play();
    Tick(1305);  // well into segment 2
    ASSERT_EQ(pv.fGetPreviewControl(), 2);
    ASSERT_GT(pv.fGetPreviewSample(), 100);
    pv.fPreviewCommand(1);
    EXPECT_EQ(pv.fGetPreviewControl(), 2);
    EXPECT_EQ(pv.fGetPreviewSample(), 100) << "the start of its segment";
    w.clock->now += 300;
    pv.fPreviewCommand(1);
    EXPECT_EQ(pv.fGetPreviewControl(), 1) << "within 500 ms: one control back";
    EXPECT_EQ(pv.fGetPreviewSample(), 0);

    w.clock->now += 1000;
    pv.fPreviewCommand(6);
    ASSERT_EQ(pv.fGetPreviewControl(), 2);
    pv.fPreviewCommand(1);
    EXPECT_EQ(pv.fGetPreviewControl(), 2);
    w.clock->now += 600;
    pv.fPreviewCommand(1);
    EXPECT_EQ(pv.fGetPreviewControl(), 2) << "after 500 ms: the segment's start again";
    EXPECT_EQ(pv.fGetPreviewSample(), 100);
}

TEST_F(Preview, ShiftArrowsAreInertWhilePlaying)
{
    Lock(2);
    pv.fPreviewCommand(5);
    pv.fPreviewCommand(5);
    pv.fPreviewKeyCommand({true, false, false, false}, 1);
    EXPECT_EQ(pv.fGetPreviewSample(), 1) << "Shift+Left stopped: one sample back";
    pv.fPreviewKeyCommand({false, true, false, false}, 1);
    EXPECT_EQ(pv.fGetPreviewSample(), 2) << "Shift+Right stopped";
    Play();
    const int32_t playing = pv.fGetPreviewSample();
    pv.fPreviewKeyCommand({true, false, false, false}, 1);
    pv.fPreviewKeyCommand({false, true, false, false}, 1);
    EXPECT_EQ(pv.fGetPreviewSample(), playing);
    EXPECT_TRUE(pv.fIsPlaybackRunning());
    pv.fPreviewKeyCommand({false, false, false, true}, 0);  // Down: the end
    EXPECT_EQ(pv.fGetPreviewSample(), 100);
}

TEST_F(Preview, AutoSelectOnlyWithItsBoxAndThePanelShown)
{
    struct Case
    {
        bool autoSelect;
        bool panelShown;
        int32_t row;  // the grid's row after crossing into segment 2
    };
    const Case cases[] = {{false, true, 1}, {true, false, 1}, {true, true, 2}};
    w.AddPoints(w.Main(), 3);
    w.ShowInGrid(w.Main());
    for (const Case& c : cases) {
        w.W().chk3dvAutoSelectPoint->setChecked(c.autoSelect);
        w.W().fraRight->setVisible(c.panelShown);
        pv.fSetPreviewLock(true);
        pv.fPreviewCommand(0);
        ASSERT_EQ(w.Grid().Grids(0).Row(), 1);
        Play();
        Tick(1020);
        ASSERT_EQ(pv.fGetPreviewControl(), 2);
        EXPECT_EQ(w.Grid().Grids(0).Row(), c.row) << c.autoSelect << c.panelShown;
        pv.fReleasePreviewLock();
        Tick(1);
        EXPECT_FALSE(pv.LoopActive());
    }
}

TEST_F(Preview, AClockPast32BitsKeepsPlaying)
{
    w.clock->now = (int64_t{1} << 32) - 25;
    Lock(2);
    Play();
    Tick(15);
    EXPECT_EQ(pv.fGetPreviewSample(), 2);
    Tick(20);  // past 2^32
    ASSERT_GT(w.clock->now, int64_t{1} << 32);
    EXPECT_EQ(pv.fGetPreviewSample(), 4);
    Tick(500);
    EXPECT_EQ(pv.fGetPreviewSample(), 54);
    EXPECT_TRUE(pv.fIsPlaybackRunning());
}

TEST_F(Preview, StopAndUnlockEndTheLoop)
{
    Lock(2);
    Play();
    pv.fOnPlaybackStopped();  // Esc
    EXPECT_FALSE(pv.fIsPlaybackRunning());
    EXPECT_TRUE(pv.LoopActive()) << "the loop ends at its next pass";
    const int32_t stopped = pv.fGetPreviewSample();
    Tick(500);
    EXPECT_FALSE(pv.LoopActive());
    EXPECT_EQ(pv.fGetPreviewSample(), stopped);

    pv.fTogglePlayback();  // Space
    EXPECT_TRUE(pv.LoopActive());
    pv.fReleasePreviewLock();
    Tick(1);
    EXPECT_FALSE(pv.LoopActive());
    EXPECT_FALSE(pv.fIsPlaybackRunning());
    EXPECT_TRUE(w.W().cmdCreateScript->isEnabled());
}

TEST_F(Preview, TheTimeLabelUsesTheUsersSeparator)
{
    struct Case
    {
        const char* locale;
        const char* text;
    };
    const Case cases[] = {{"en_US", "T: 1.000"}, {"de_DE", "T: 1,000"}};
    w.AddPoints(w.Main(), 3);
    for (const Case& c : cases) {
        Rig::UserLocale locale(c.locale);
        ASSERT_EQ(QLocale().name(), QString::fromLatin1(c.locale));
        pv.fShowPreviewTime(2);
        EXPECT_EQ(w.W().lbl3dvTime->text(), QString::fromLatin1(c.text));
    }
    w.W().lbl3dvTime->setProperty("Tag", QStringLiteral("Z"));
    pv.fShowPreviewTime(3);
    EXPECT_EQ(w.W().lbl3dvTime->text(), QStringLiteral("Z: 2.000"));
    pv.fClearPreviewTime();
    EXPECT_TRUE(w.W().lbl3dvTime->text().isEmpty());
}

TEST_F(Preview, CameraMovesAndTurnsAreWrittenIntoTheCurrentPoint)
{
    Lock(3);
    pv.fPreviewCommand(6);
    ASSERT_EQ(pv.fGetPreviewControl(), 2);
    C3DCamera& camera = w.frm->State().m_camera;
    // A move along the camera's forward axis, which looks along game +x.
    camera.SetDist(1, -10.005f);
    camera.ApplyViewTransform(C3DCamera::Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, false, false);
    camera.SetDist(1, -10.005f);
    const std::array<float, 3> before = w.Main().GetPosition(2);
    pv.fMoveControlWithCamera();
    const std::array<float, 3> after = w.Main().GetPosition(2);
    EXPECT_NE(after, before);
    for (float v : after)
        EXPECT_FLOAT_EQ(v, MRuvMain::RoundSingle2(v)) << "rounded to 2 decimals";
    EXPECT_FLOAT_EQ(camera.GamePos(0), after[0]) << "the camera stands on the point";
    EXPECT_FLOAT_EQ(camera.Dist(1), 0.0f) << "the move is used up";
    EXPECT_EQ(w.Grid().Grids(0).TextMatrix(2, 2), StatusMessages::fFormatStatusNumber(after[0], 2));

    pv.fRotateControlWithCamera(1 | 2, 12.345f, -3.333f, 99.0f);
    EXPECT_FLOAT_EQ(w.Main().GetYaw(2), 12.35f);   // 12.345 as a float lies above the half
    EXPECT_FLOAT_EQ(w.Main().GetPitch(2), -3.33f);
    EXPECT_FLOAT_EQ(w.Main().GetRoll(2), 0.0f) << "roll is not in the mask";
    EXPECT_FLOAT_EQ(camera.GameYaw(), w.Main().GetYaw(2));
    EXPECT_EQ(w.Grid().Grids(1).TextMatrix(2, 2), StatusMessages::fFormatStatusNumber(-3.33, 2));
}

TEST_F(Preview, AFlyingGestureIsOneChangeOfTheCurve)
{
    // The camera navigation holds a change bracket open from the press to
    // the release: the moves and turns inside it make one change event,
    // which the sinks turn into one undo step.
    Lock(3);
    pv.fPreviewCommand(6);
    Rig::ChangeCounter counter(w.Main());
    const int undoStates = w.record.undoStates;
    C3DCamera& camera = w.frm->State().m_camera;
    camera.ApplyViewTransform(C3DCamera::Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, false, false);
    w.Main().BeginChange();
    for (int i = 0; i < 5; ++i) {
        camera.SetDist(0, 3.0f);
        camera.SetDist(2, -2.0f);
        pv.fMoveControlWithCamera();
        pv.fRotateControlWithCamera(3, 1.5f, -0.5f, 0.0f);
    }
    EXPECT_EQ(counter.changes, 0);
    EXPECT_EQ(w.record.undoStates, undoStates);
    w.Main().EndChange();
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(w.record.undoStates, undoStates + 1) << "one for the gesture";
    EXPECT_FLOAT_EQ(w.Main().GetYaw(2), 7.5f);
}

TEST_F(Preview, TheFieldOfViewIsOneUndoStepAndOnlyWhileLocked)
{
    w.AddPoints(w.Main(), 3);
    w.ShowInGrid(w.Main());
    C3DCamera& camera = w.frm->State().m_camera;
    camera.SetFov(75.0f);
    int undoStates = w.record.undoStates;
    pv.fApplyCameraFovToControl();
    EXPECT_FLOAT_EQ(w.Main().GetFov(1), 90.0f) << "unlocked: nothing";
    EXPECT_EQ(w.record.undoStates, undoStates);

    pv.fSetPreviewLock(true);
    pv.fPreviewCommand(6);
    camera.SetFov(75.0f);
    undoStates = w.record.undoStates;
    pv.fApplyCameraFovToControl();
    EXPECT_FLOAT_EQ(w.Main().GetFov(2), 75.0f);
    EXPECT_EQ(w.record.undoStates, undoStates + 1) << "its own step: no change event carries it";
    EXPECT_EQ(w.Grid().Grids(0).TextMatrix(2, 5), StatusMessages::fFormatStatusNumber(75, 2));
    // The samples are built anew before the next command.
    pv.fPreviewCommand(5);
    EXPECT_FLOAT_EQ(Sample(100).Fov, 75.0f);
}

TEST_F(Preview, AGridClickWithCtrlMovesThePreviewWithoutItStops)
{
    Lock(3);
    pv.fPreviewGridClick(3, 2);
    EXPECT_EQ(pv.fGetPreviewControl(), 3);
    EXPECT_EQ(pv.fGetPreviewSample(), 200);
    EXPECT_TRUE(pv.fIsPreviewAtControl());
    EXPECT_FLOAT_EQ(CameraGameX(), 200.0f);
    EXPECT_EQ(w.W().lbl3dvTime->text(), QStringLiteral("T: 2.000"));
    pv.fPreviewCommand(0);
    Play();
    pv.fPreviewGridClick(2, 0);
    EXPECT_FALSE(pv.fIsPlaybackRunning());
}

}  // namespace
