#pragma once

#include "ControlRecord.h"

#include <QTimer>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

class C3DCurve;
struct MainContext;

// The preview of the main curve in the 3D view: the lock, the steps and the
// playback. The operations the other groups call have least bodies here,
// so that a fake overrides only what its test needs.
class IPreviewPlayback
{
public:
    virtual ~IPreviewPlayback() = default;
    // Stops the playback when it runs, then switches the lock off.
    virtual void fReleasePreviewLock() = 0;
    // The running flag: the start/stop button stands on stop.
    virtual bool fIsPlaying() const = 0;
    // Stops the playback; nothing when it does not run.
    virtual void fStopPlayback() = 0;
    // True while the playback loop runs: the deferred close waits on it.
    virtual bool LoopActive() const = 0;

    // The same two under the names the editing and navigation use.
    virtual bool fIsPlaybackRunning() const { return fIsPlaying(); }
    virtual void fOnPlaybackStopped() { fStopPlayback(); }

    // chkPreviewLock is checked.
    virtual bool fIsPreviewLocked() const { return false; }
    // Checks or unchecks chkPreviewLock (its click handler applies it).
    virtual void fSetPreviewLock(bool /*locked*/) {}
    // Key L: releases the lock, or locks when the main curve has two points.
    virtual void fTogglePreviewLock() {}
    // Key Space.
    virtual void fTogglePlayback() {}
    // The arrow keys while locked: directions 0 left, 1 right, 2 up, 3 down;
    // shift 1 is Shift alone.
    virtual void fPreviewKeyCommand(const std::array<bool, 4>& /*directions*/, int16_t /*shift*/) {}
    // After a change of the main curve: new samples, the position kept in
    // proportion; with redraw the camera shows it (unless playing).
    virtual void fRefreshPreview(bool /*redraw*/) {}
    // Control 1, sample 0 (new and opened projects).
    virtual void fResetPreviewTime() {}
    // The control the preview stands at, -1 without samples.
    virtual int32_t fGetPreviewControl() const { return -1; }
    // The current sample index, -1 without samples or out of range.
    virtual int32_t fGetPreviewSample() const { return -1; }
    // The current sample is the first one of the current control.
    virtual bool fIsPreviewAtControl() const { return false; }
    // A copy of sample `sample` of the preview's sampled path; false when
    // there is no such sample.
    virtual bool fGetPreviewSampleRecord(int32_t /*sample*/, ControlRecord& /*record*/) const { return false; }
    // Camera changes written into the current control while locked: the
    // camera's pending move, the angle deltas (axis mask 1 pitch, 2 yaw,
    // 4 roll) and its field of view.
    virtual void fMoveControlWithCamera() {}
    virtual void fRotateControlWithCamera(int32_t /*axisMask*/, float /*deltaYaw*/, float /*deltaPitch*/,
                                          float /*deltaRoll*/)
    {
    }
    virtual void fApplyCameraFovToControl() {}
    // Enables and disables what conflicts with the preview.
    virtual void fLockGuiDuringPreview(bool /*locked*/, bool /*running*/) {}
    // The time label: "T: " and the control's time; empty.
    virtual void fShowPreviewTime(int32_t /*control*/) {}
    virtual void fClearPreviewTime() {}
    // A click on grid row `row` of the main curve while locked in the 3D
    // view; shift as the grid gives it (2 Ctrl).
    virtual void fPreviewGridClick(int32_t /*row*/, int32_t /*shift*/) {}
};

class PreviewPlayback final : public IPreviewPlayback
{
public:
    // The interval of the playback clock: ms per sample, never below this.
    static constexpr float MinFrameInterval = 0.01f;
    // Two previous-control commands within this time go one control back.
    static constexpr int64_t PreviousPressMs = 500;

    // Connects the preview's controls.
    explicit PreviewPlayback(MainContext& context);

    // 1000 / stepRate as a 32-bit float, at least MinFrameInterval; a rate
    // below 1 counts as 1 (the curve's own floor).
    static float FrameInterval(int32_t stepRate);

    void fReleasePreviewLock() override;
    bool fIsPlaying() const override { return m_running; }
    void fStopPlayback() override { fSetPlaybackRunning(false); }
    bool LoopActive() const override { return m_loopActive; }

    bool fIsPreviewLocked() const override;
    void fSetPreviewLock(bool locked) override;
    void fTogglePreviewLock() override;
    void fTogglePlayback() override;
    void fPreviewKeyCommand(const std::array<bool, 4>& directions, int16_t shift) override;
    void fRefreshPreview(bool redraw) override;
    void fResetPreviewTime() override;
    int32_t fGetPreviewControl() const override;
    int32_t fGetPreviewSample() const override;
    bool fIsPreviewAtControl() const override { return m_atControl; }
    bool fGetPreviewSampleRecord(int32_t sample, ControlRecord& record) const override;
    void fMoveControlWithCamera() override;
    void fRotateControlWithCamera(int32_t axisMask, float deltaYaw, float deltaPitch, float deltaRoll) override;
    void fApplyCameraFovToControl() override;
    void fLockGuiDuringPreview(bool locked, bool running) override;
    void fShowPreviewTime(int32_t control) override;
    void fClearPreviewTime() override;
    void fPreviewGridClick(int32_t row, int32_t shift) override;

    // ---- Handlers ------------------------------------------------------------
    void chkPreviewLock_Click();
    void cmdPreview_Click(int32_t index);
    void cmdPvwStartStop_Click();

    // ---- Commands 0 to 7 -----------------------------------------------------
    void fSetPlaybackRunning(bool running);
    void fPreviewCommand(int32_t command);

    // The playback clock's tick: one pass of the loop.
    void PlaybackTick();
    int32_t LastSampleIndex() const { return m_lastSample; }
    float FrameIntervalInUse() const { return m_intervalInUse; }

private:
    C3DCurve* MainCurve() const;
    int32_t ControlsCount() const;
    // The current control brought into 1..ControlsCount, and the first
    // sample of its segment (0 when none).
    int32_t fSampleIndexOfControl();
    bool fBuildSamples();
    void fUpdatePlaybackInterval();
    void fShowSample(int32_t index);
    void fUpdatePreviewButtons();
    void fAutoSelectPreviewControl(int32_t control);
    void fApplyLockOn();
    void fApplyLockOff();
    void fSetLockColour(bool locked);
    void fSetStartStopPicture(bool running);
    // The camera to the current control's own record, then a redraw.
    void fShowCurrentControl();
    // Loop steps 1 and 2: the clock from now on.
    void fRestartPlaybackClock();
    void fStartPlaybackLoop();
    // Loop steps 2 and 3: the next frame when one is due.
    void fPlaybackPass();
    void fEndPlaybackLoop();
    bool fGridShowsMainCurve() const;

    MainContext& m_c;
    // One record per frame of the main curve; the segment number tells the
    // control (the last frame carries ControlsCount).
    std::vector<ControlRecord> m_samples;
    int32_t m_lastSample = -1;
    bool m_samplesDirty = false;
    int32_t m_currentSample = 0;
    int32_t m_currentControl = 1;
    bool m_atControl = false;
    // The start/stop button stands on stop.
    bool m_running = false;
    // The loop goes on while set; clearing it ends the loop.
    bool m_playing = false;
    bool m_loopActive = false;
    int64_t m_startTick = 0;
    int64_t m_targetFrame = 0;
    int64_t m_framesShown = 0;
    float m_frameInterval = 1000.0f;
    float m_intervalInUse = 1000.0f;
    int64_t m_previousPressTick = std::numeric_limits<int64_t>::min() / 2;
    // The playback loop: a pass every millisecond, yielding between passes.
    QTimer m_timer;
};
