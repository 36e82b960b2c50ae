// The preview's position: building the samples, the commands 0 to 7, the
// playback loop on its clock, and the camera edits of the current control.
// The lock and what it enables are in PreviewPlaybackLock.cpp.

#include "PreviewPlayback.h"

#include "HandlerGuard.h"
#include "MCommon.h"
#include "MRuvMain.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"

#include <QCheckBox>
#include <QFrame>
#include <QMainWindow>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

// The commands: the indexes of cmdPreview, 3 and 4 from the start/stop button.
enum Command : int32_t {
    GoToStart = 0,
    PreviousControl = 1,
    PreviousSample = 2,
    Play = 3,
    Stop = 4,
    NextSample = 5,
    NextControl = 6,
    GoToEnd = 7,
};

}  // namespace

float PreviewPlayback::FrameInterval(int32_t stepRate)
{
    const float interval = static_cast<float>(1000.0 / static_cast<double>(std::max(stepRate, 1)));
    return interval < MinFrameInterval ? MinFrameInterval : interval;
}

C3DCurve* PreviewPlayback::MainCurve() const
{
    return m_c.state.m_mainCurve;
}

int32_t PreviewPlayback::ControlsCount() const
{
    const C3DCurve* curve = MainCurve();
    return curve ? curve->ControlsCount() : 0;
}

bool PreviewPlayback::fGridShowsMainCurve() const
{
    return MainCurve() != nullptr && m_c.widgets.cmCurveManager->SelectedCurve() == MainCurve();
}

int32_t PreviewPlayback::fSampleIndexOfControl()
{
    m_currentControl = std::clamp(m_currentControl, 1, std::max(ControlsCount(), 1));
    for (size_t i = 0; i < m_samples.size() && static_cast<int64_t>(i) <= m_lastSample; ++i)
        if (m_samples[i].SegmentNumber == m_currentControl)
            return static_cast<int32_t>(i);
    return 0;
}

bool PreviewPlayback::fBuildSamples()
{
    C3DCurve* curve = MainCurve();
    QString refused;
    if (curve != nullptr && curve->ControlsCount() >= 2) {
        // Built aside: the samples in use stay whole until the new ones are.
        std::vector<ControlRecord> samples;
        try {
            const int32_t last = curve->GetSampledControls(samples, true);
            m_samples.swap(samples);
            m_lastSample = last;
            return true;
        } catch (const RuvError& e) {
            // A flight too long to hold: no preview of it.
            refused = e.description();
        }
    }
    m_samples.clear();
    m_lastSample = -1;
    fReleasePreviewLock();
    if (!refused.isEmpty())
        m_c.status.fShowMessageBox(refused, 16, QStringLiteral("Ruvadir"));
    return false;
}

void PreviewPlayback::fUpdatePlaybackInterval()
{
    if (const C3DCurve* curve = MainCurve())
        m_frameInterval = FrameInterval(curve->StepRate());
}

void PreviewPlayback::fShowSample(int32_t index)
{
    if (index < 0 || index > m_lastSample || static_cast<size_t>(index) >= m_samples.size())
        return;
    m_c.state.m_camera.SetFromGameValues(m_samples[static_cast<size_t>(index)]);
    m_c.parts.sceneDrawing->fUpdateViewProjection();
}

void PreviewPlayback::fShowCurrentControl()
{
    const C3DCurve* curve = MainCurve();
    if (curve == nullptr || m_currentControl < 1 || m_currentControl > curve->ControlsCount())
        return;
    m_c.state.m_camera.SetFromGameValues(curve->GetControlRecord(m_currentControl));
    m_c.parts.sceneDrawing->fUpdateViewProjection();
}

void PreviewPlayback::fAutoSelectPreviewControl(int32_t control)
{
    if (m_c.widgets.chk3dvAutoSelectPoint->isChecked() && m_c.widgets.fraRight->isVisibleTo(&m_c.window))
        m_c.parts.pointGrid->fGridSelectRow(MainCurve(), control, true);
}

// ---- Operations of the other groups ---------------------------------------------

void PreviewPlayback::fResetPreviewTime()
{
    m_currentControl = 1;
    m_currentSample = 0;
}

int32_t PreviewPlayback::fGetPreviewControl() const
{
    if (m_lastSample < 1 || m_currentControl < 1)
        return -1;
    return m_currentControl;
}

int32_t PreviewPlayback::fGetPreviewSample() const
{
    if (m_lastSample < 1 || m_currentSample < 0 || m_currentSample > m_lastSample)
        return -1;
    return m_currentSample;
}

bool PreviewPlayback::fGetPreviewSampleRecord(int32_t sample, ControlRecord& record) const
{
    if (sample < 0 || sample > m_lastSample || static_cast<size_t>(sample) >= m_samples.size())
        return false;
    record = m_samples[static_cast<size_t>(sample)];
    return true;
}

void PreviewPlayback::fRefreshPreview(bool redraw)
{
    const int32_t oldLast = m_lastSample;
    if (!fBuildSamples()) {
        fUpdatePreviewButtons();
        return;
    }
    fUpdatePlaybackInterval();
    int32_t index = m_currentSample;
    if (oldLast >= 1) {
        // The position keeps its share of the flight.
        const double scaled = std::floor(static_cast<double>(m_lastSample) / oldLast * (m_currentSample + 1.0)) - 1.0;
        index = static_cast<int32_t>(std::clamp(scaled, -1.0, static_cast<double>(m_lastSample) + 1.0));
    }
    if (index < 0)
        index = 0;
    if (index > m_lastSample) {
        index = m_lastSample;
        m_currentControl = ControlsCount();
    } else {
        m_currentControl = m_samples[static_cast<size_t>(index)].SegmentNumber;
    }
    m_currentSample = index;
    if (!m_running && redraw)
        fShowSample(m_currentSample);
    fShowPreviewTime(m_currentControl);
    fUpdatePreviewButtons();
}

void PreviewPlayback::fPreviewKeyCommand(const std::array<bool, 4>& directions, int16_t shift)
{
    const bool shiftAlone = shift == 1;
    int32_t command = -1;
    if (directions[0]) {
        if (!shiftAlone)
            command = PreviousControl;
        else if (!m_running)
            command = PreviousSample;
    } else if (directions[1]) {
        if (!shiftAlone)
            command = NextControl;
        else if (!m_running)
            command = NextSample;
    } else if (directions[2]) {
        command = GoToStart;
    } else if (directions[3]) {
        command = GoToEnd;
    }
    if (command >= 0 && m_c.widgets.cmdPreview[static_cast<size_t>(command)]->isEnabled())
        cmdPreview_Click(command);
}

// ---- Commands -------------------------------------------------------------------

void PreviewPlayback::fTogglePlayback()
{
    fSetPlaybackRunning(!fIsPlaybackRunning());
}

void PreviewPlayback::fSetPlaybackRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    fSetStartStopPicture(running);
    fPreviewCommand(running ? Play : Stop);
}

void PreviewPlayback::fPreviewCommand(int32_t command)
{
    if (m_samplesDirty) {
        m_samplesDirty = false;
        fBuildSamples();
    }
    const int32_t last = m_lastSample;
    const int32_t count = ControlsCount();
    bool positionChanged = false;
    bool selectRow = false;
    switch (command) {
    case GoToStart:
        m_currentControl = 1;
        m_currentSample = 0;
        positionChanged = selectRow = true;
        break;
    case PreviousControl:
        if (m_currentControl >= 1) {
            if (m_currentControl == 1) {
                m_currentSample = 0;
            } else {
                // While playing, the first press goes back to the start of
                // the segment and a second one soon after to the control
                // before.
                const int64_t now = m_c.services.clock->ElapsedMs();
                if (now - m_previousPressTick < PreviousPressMs || !m_playing)
                    --m_currentControl;
                m_currentSample = fSampleIndexOfControl();
                m_previousPressTick = now;
            }
            positionChanged = selectRow = true;
        }
        break;
    case PreviousSample:
        if (m_currentSample > 0 && m_currentSample - 1 <= last) {
            --m_currentSample;
            const int32_t segment = m_samples[static_cast<size_t>(m_currentSample)].SegmentNumber;
            selectRow = segment != m_currentControl;
            m_currentControl = segment;
            positionChanged = true;
        }
        break;
    case Play:
        if (m_currentSample >= last) {
            m_currentSample = 0;
            m_currentControl = 1;
        }
        break;
    case Stop:
        m_playing = false;
        break;
    case NextSample:
        if (m_currentSample < last) {
            ++m_currentSample;
            const int32_t segment = m_samples[static_cast<size_t>(m_currentSample)].SegmentNumber;
            selectRow = segment != m_currentControl;
            m_currentControl = m_currentSample == last ? count : segment;
            positionChanged = true;
        }
        break;
    case NextControl:
        if (m_currentControl < count) {
            ++m_currentControl;
            m_currentSample = fSampleIndexOfControl();
            positionChanged = selectRow = true;
        }
        break;
    case GoToEnd:
        m_currentControl = count;
        m_currentSample = fSampleIndexOfControl();
        positionChanged = selectRow = true;
        break;
    default:
        return;
    }

    fShowPreviewTime(m_currentControl);
    if (positionChanged && !m_running)
        fShowSample(m_currentSample);
    if (selectRow)
        m_c.parts.pointGrid->fGridSelectRow(MainCurve(), m_currentControl, true);
    fUpdatePreviewButtons();
    fLockGuiDuringPreview(true, m_running);

    if (C3DCurve* curve = MainCurve()) {
        if (command == Play)
            curve->SetReloadCurveWhenDrawing(false);
        else if (command == Stop)
            curve->SetReloadCurveWhenDrawing(true);
    }
    if (command == Play)
        fStartPlaybackLoop();
}

// ---- The playback loop ----------------------------------------------------------
//
// A state machine on a 1 ms timer: each pass reads the elapsed time, ends
// when the playing flag was cleared, and shows the frame that is due,
// skipping the frames whose time has passed. Between passes the window's
// events run, which may move the position or clear the flag.

void PreviewPlayback::fRestartPlaybackClock()
{
    m_playing = true;
    m_startTick = m_c.services.clock->ElapsedMs();
    m_targetFrame = 1;
    m_framesShown = 0;
}

void PreviewPlayback::fStartPlaybackLoop()
{
    m_intervalInUse = m_frameInterval;
    fRestartPlaybackClock();
    m_loopActive = true;
    m_timer.start();
    fPlaybackPass();
    if (!m_playing)
        fEndPlaybackLoop();
}

void PreviewPlayback::fEndPlaybackLoop()
{
    m_timer.stop();
    m_loopActive = false;
}

void PreviewPlayback::PlaybackTick()
{
    if (!m_loopActive)
        return;
    const int64_t elapsed = m_c.services.clock->ElapsedMs() - m_startTick;
    m_targetFrame = static_cast<int64_t>(MCommon::RoundHalfEven(static_cast<double>(elapsed) / m_intervalInUse));
    if (m_playing)
        fPlaybackPass();
    if (!m_playing)
        fEndPlaybackLoop();
}

void PreviewPlayback::fPlaybackPass()
{
    if (m_frameInterval != m_intervalInUse) {
        // The step rate changed: the clock starts again from this frame.
        m_intervalInUse = m_frameInterval;
        fRestartPlaybackClock();
    }
    if (m_targetFrame <= m_framesShown)
        return;
    const int64_t advance = m_targetFrame - m_framesShown;
    m_framesShown = m_targetFrame;
    const int64_t next = static_cast<int64_t>(m_currentSample) + advance;
    if (next > m_lastSample) {
        m_currentSample = std::max(m_lastSample, 0);
        m_currentControl = ControlsCount();
        m_playing = false;
        fShowSample(m_currentSample);
        fOnPlaybackStopped();
        fUpdatePreviewButtons();
        fLockGuiDuringPreview(true, false);
        fAutoSelectPreviewControl(m_currentControl);
        return;
    }
    m_currentSample = static_cast<int32_t>(next);
    if (m_currentSample > 0 && !m_c.widgets.cmdPreview[GoToStart]->isEnabled())
        fUpdatePreviewButtons();
    fShowSample(m_currentSample);
    const int32_t segment = m_samples[static_cast<size_t>(m_currentSample)].SegmentNumber;
    if (segment != m_currentControl) {
        fShowPreviewTime(segment);
        fAutoSelectPreviewControl(segment);
    }
    m_currentControl = segment;
}

// ---- Camera edits of the current control ------------------------------------------

void PreviewPlayback::fMoveControlWithCamera()
{
    C3DCurve* curve = MainCurve();
    if (curve == nullptr || curve->ControlsCount() < 1)
        return;
    m_currentSample = fSampleIndexOfControl();
    const int32_t control = m_currentControl;
    std::array<float, 3> position = curve->GetPosition(control);
    m_c.state.m_camera.GL3DMove(position, m_c.state.m_drags.m_sideKeyHeld, m_c.state.m_drags.m_forwardKeyHeld);
    curve->SetPosition(control, position);
    curve->RoundControlPosition(control);
    curve->TangentUpdate(control, 7);
    if (fGridShowsMainCurve()) {
        GridChange change(*m_c.parts.pointGrid);
        m_c.parts.pointGrid->fGridUpdateCells(curve, control, {1, 2, 3, -1, -1, -1, -1, -1, -1, -1});
    }
    m_c.state.m_camera.SetFromGameValues(curve->GetControlRecord(control));
    m_c.parts.sceneDrawing->fRefreshView();
}

void PreviewPlayback::fRotateControlWithCamera(int32_t axisMask, float deltaYaw, float deltaPitch, float deltaRoll)
{
    C3DCurve* curve = MainCurve();
    if (curve == nullptr || m_currentControl < 1 || m_currentControl > curve->ControlsCount())
        return;
    const int32_t control = m_currentControl;
    if ((axisMask & 1) != 0 && deltaPitch != 0.0f)
        curve->SetPitch(control, MRuvMain::RoundSingle2(curve->GetPitch(control) + deltaPitch));
    if ((axisMask & 2) != 0 && deltaYaw != 0.0f)
        curve->SetYaw(control, MRuvMain::RoundSingle2(curve->GetYaw(control) + deltaYaw));
    if ((axisMask & 4) != 0 && deltaRoll != 0.0f)
        curve->SetRoll(control, MRuvMain::RoundSingle2(curve->GetRoll(control) + deltaRoll));
    curve->UpdateControlTarget(control);
    if (fGridShowsMainCurve()) {
        GridChange change(*m_c.parts.pointGrid);
        m_c.parts.pointGrid->fGridUpdateCells(curve, control, {6, 4, 5, -1, -1, -1, -1, -1, -1, -1});
    }
    m_c.state.m_camera.SetFromGameValues(curve->GetControlRecord(control));
    m_c.parts.sceneDrawing->fRefreshView();
}

void PreviewPlayback::fApplyCameraFovToControl()
{
    C3DCurve* curve = MainCurve();
    if (!fIsPreviewLocked() || curve == nullptr || curve->ControlsCount() < 1)
        return;
    m_samplesDirty = true;
    m_currentSample = fSampleIndexOfControl();
    curve->SetFov(m_currentControl, m_c.state.m_camera.Fov());
    if (fGridShowsMainCurve())
        m_c.parts.pointGrid->fGridUpdateCells(curve, m_currentControl, {7, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    // No change bracket holds this edit: it is its own undo step (which
    // also marks the project and brings Undo and Redo up to date).
    m_c.parts.editState->fStoreUndoState();
}

void PreviewPlayback::fPreviewGridClick(int32_t row, int32_t shift)
{
    if ((shift & 2) == 0) {
        fOnPlaybackStopped();
        return;
    }
    m_currentControl = row;
    m_currentSample = fSampleIndexOfControl();
    m_atControl = true;
    fShowPreviewTime(m_currentControl);
    fUpdatePreviewButtons();
    if (!m_running)
        fShowCurrentControl();
}
