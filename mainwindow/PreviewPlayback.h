#pragma once

#include <array>
#include <cstdint>

struct ControlRecord;
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
    explicit PreviewPlayback(MainContext& context) : m_c(context) {}
    void fReleasePreviewLock() override {}
    bool fIsPlaying() const override { return false; }
    void fStopPlayback() override {}
    bool LoopActive() const override { return false; }

private:
    MainContext& m_c;
};
