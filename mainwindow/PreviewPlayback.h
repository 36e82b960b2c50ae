#pragma once

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
