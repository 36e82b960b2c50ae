#pragma once

#include "ControlRecord.h"

#include <array>
#include <cstdint>

struct MainContext;

// The preview of the main curve in the 3D view: the lock, the steps and the
// playback.
class IPreviewPlayback
{
public:
    virtual ~IPreviewPlayback() = default;
    virtual void fReleasePreviewLock() = 0;
    virtual bool fIsPlaying() const = 0;
    virtual void fStopPlayback() = 0;
    // True while the playback loop runs: the deferred close waits on it.
    virtual bool LoopActive() const = 0;

    // ---- For the curve tools, the camera navigation and the sinks --------
    // The preview lock (chkPreviewLock) is on.
    virtual bool fIsPreviewLocked() const { return false; }
    // The start/stop button is in its running state.
    virtual bool fIsPlaybackRunning() const { return false; }
    // The preview stands on a control point.
    virtual bool fIsPreviewAtControl() const { return false; }
    // The control point (1-based) the preview stands at; -1 without one.
    virtual int32_t fGetPreviewControl() const { return -1; }
    // The current sample's index; -1 without one.
    virtual int32_t fGetPreviewSample() const { return -1; }
    // A sample of the preview's sampled path; false when there is none.
    virtual bool fGetPreviewSampleRecord(int32_t /*index*/, ControlRecord& /*record*/) const { return false; }
    // After a change of the main curve: the samples anew, the position kept.
    virtual void fRefreshPreview(bool /*redraw*/) {}
    virtual void fLockGuiDuringPreview(bool /*locked*/, bool /*running*/) {}
    // Camera changes written into the preview's control point (locked).
    virtual void fMoveControlWithCamera() {}
    virtual void fRotateControlWithCamera(int32_t /*axisMask*/, float /*deltaYaw*/, float /*deltaPitch*/,
                                          float /*deltaRoll*/)
    {
    }
    virtual void fApplyCameraFovToControl() {}
    // The arrow keys while locked: left, right, up, down, with the Shift flags.
    virtual void fPreviewKeyCommand(const std::array<bool, 4>& /*directions*/, int16_t /*shift*/) {}
    virtual void fTogglePlayback() {}
    virtual void fOnPlaybackStopped() {}
    virtual void fTogglePreviewLock() {}
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
