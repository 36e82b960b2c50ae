// The preview's lock and what it switches: the lock box and its colour,
// the preview buttons, the controls that conflict with a locked or running
// preview, the time label, and the handlers of the preview's controls.

#include "PreviewPlayback.h"

#include "CVbFrameHandler.h"
#include "HandlerGuard.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UCOpenGLView.h"
#include "UCTabbedFlexgrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

PreviewPlayback::PreviewPlayback(MainContext& context) : m_c(context)
{
    m_timer.setInterval(1);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        RunGuarded(m_c.status, [this] {
            try {
                PlaybackTick();
            } catch (...) {
                // No loop goes on behind the box that tells why.
                m_playing = false;
                fEndPlaybackLoop();
                throw;
            }
        });
        if (!m_loopActive && m_running)
            RunGuarded(m_c.status, [this] { fSetPlaybackRunning(false); });
    });

    // The connections go with the timer, which goes with this object.
    MainWidgets& w = m_c.widgets;
    QObject::connect(w.chkPreviewLock, &QCheckBox::toggled, &m_timer,
                     [this](bool) { RunGuarded(m_c.status, [this] { chkPreviewLock_Click(); }); });
    for (int32_t i : {0, 1, 2, 5, 6, 7}) {
        QObject::connect(w.cmdPreview[static_cast<size_t>(i)], &QPushButton::clicked, &m_timer,
                         [this, i] { RunGuarded(m_c.status, [this, i] { cmdPreview_Click(i); }); });
    }
    QObject::connect(w.cmdPvwStartStop, &QPushButton::clicked, &m_timer,
                     [this] { RunGuarded(m_c.status, [this] { cmdPvwStartStop_Click(); }); });
    // Unlocked: no preview button.
    fUpdatePreviewButtons();
}

// ---- Handlers -------------------------------------------------------------------

void PreviewPlayback::chkPreviewLock_Click()
{
    const bool locked = fIsPreviewLocked();
    if (locked)
        fApplyLockOn();
    else
        fApplyLockOff();
    QWidget* focus = fIsPreviewLocked() ? static_cast<QWidget*>(m_c.widgets.oglView)
                                        : static_cast<QWidget*>(m_c.widgets.tabbedFlexgrid);
    focus->setFocus();
}

void PreviewPlayback::cmdPreview_Click(int32_t index)
{
    fPreviewCommand(index);
    m_c.widgets.oglView->setFocus();
}

void PreviewPlayback::cmdPvwStartStop_Click()
{
    m_c.widgets.oglView->setFocus();
    fTogglePlayback();
}

// ---- The lock -------------------------------------------------------------------

bool PreviewPlayback::fIsPreviewLocked() const
{
    return m_c.widgets.chkPreviewLock->isChecked();
}

void PreviewPlayback::fSetPreviewLock(bool locked)
{
    // Releasing a lock that is off releases nothing: the window was given
    // back when the lock went off, and giving it back again would enable
    // what the points no longer allow (Create... with one point).
    if (!locked && !fIsPreviewLocked())
        return;
    m_c.widgets.chkPreviewLock->setChecked(locked);
}

void PreviewPlayback::fTogglePreviewLock()
{
    if (fIsPreviewLocked())
        fReleasePreviewLock();
    else if (ControlsCount() >= 2)
        fSetPreviewLock(true);
}

void PreviewPlayback::fReleasePreviewLock()
{
    if (m_running)
        fOnPlaybackStopped();
    fSetPreviewLock(false);
}

void PreviewPlayback::fSetLockColour(bool locked)
{
    // A check box fills its background with the button colour, not the
    // window colour: that is the one to change.
    QCheckBox* box = m_c.widgets.chkPreviewLock;
    QPalette palette = box->palette();
    palette.setColor(box->backgroundRole(),
                     locked ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::Button));
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}

void PreviewPlayback::fApplyLockOn()
{
    fSetLockColour(true);
    const bool built = fBuildSamples();
    if (built) {
        fUpdatePlaybackInterval();
        // The position back within the new samples.
        if (m_currentSample >= 1) {
            if (m_currentSample == m_lastSample)
                m_currentControl = ControlsCount();
            else if (m_currentSample < m_lastSample)
                m_currentControl = m_samples[static_cast<size_t>(m_currentSample)].SegmentNumber;
            else
                fResetPreviewTime();
        } else if (m_currentControl < 1 || m_currentControl > ControlsCount()) {
            fResetPreviewTime();
        } else if (m_currentControl == ControlsCount()) {
            m_currentSample = m_lastSample;
        } else {
            m_currentSample = fSampleIndexOfControl();
        }
        fShowSample(m_currentSample);
        m_c.parts.pointGrid->fGridSelectRow(MainCurve(), m_currentControl, true);
        fShowPreviewTime(m_currentControl);
        fUpdatePreviewButtons();
    }
    if (C3DCurve* curve = MainCurve()) {
        if (built)
            curve->QuickRefreshStart(true);
        else
            curve->QuickRefreshStop();
    }
    fLockGuiDuringPreview(built, false);
}

void PreviewPlayback::fApplyLockOff()
{
    fSetLockColour(false);
    if (m_running)
        fOnPlaybackStopped();
    else
        fUpdatePreviewButtons();
    fClearPreviewTime();
    if (C3DCurve* curve = MainCurve())
        curve->QuickRefreshStop();
    fLockGuiDuringPreview(false, false);
}

// ---- What the lock switches -----------------------------------------------------

void PreviewPlayback::fSetStartStopPicture(bool running)
{
    const QPixmap& picture = running ? m_c.state.m_stopPicture : m_c.state.m_playPicture;
    QIcon icon(picture);
    icon.addPixmap(picture, QIcon::Active);
    m_c.widgets.cmdPvwStartStop->setIcon(icon);
}

void PreviewPlayback::fUpdatePreviewButtons()
{
    const bool locked = fIsPreviewLocked();
    const bool notRunning = !m_running;
    const bool back = locked && m_currentSample > 0;
    const bool forth = locked && m_currentControl < ControlsCount();
    MainWidgets& w = m_c.widgets;
    w.cmdPreview[0]->setEnabled(back);
    w.cmdPreview[1]->setEnabled(back);
    w.cmdPreview[2]->setEnabled(back && notRunning);
    w.cmdPvwStartStop->setEnabled(forth);
    w.cmdPreview[5]->setEnabled(locked && notRunning && m_currentSample < m_lastSample);
    w.cmdPreview[6]->setEnabled(forth);
    w.cmdPreview[7]->setEnabled(forth);
}

void PreviewPlayback::fLockGuiDuringPreview(bool locked, bool running)
{
    if (locked)
        m_atControl = m_currentSample == fSampleIndexOfControl();
    MainWidgets& w = m_c.widgets;
    // The lock holds the script back only while it plays; released, the
    // button is what the points allow.
    w.cmdCreateScript->setEnabled(ControlsCount() >= 2 && !(locked && running));
    CVbFrameHandler* frames = m_c.controls.m_frameHandler.get();
    if (frames != nullptr)
        frames->SetState(w.fraPanels[0], !running);
    m_c.parts.pointGrid->fGridLockEdition(running);
    if (frames != nullptr)
        frames->SetState(w.fra3DViewPreset, !locked);
    if (m_c.state.m_view != nullptr && m_c.state.m_view->Is3D())
        m_c.parts.viewInput->fSetNavigationCursor();
    for (const char* name : {"mnuV_Refresh", "mnuV_Language"})
        if (QAction* item = m_c.menus.Action(QString::fromLatin1(name)))
            item->setEnabled(!locked);
}

void PreviewPlayback::fShowPreviewTime(int32_t control)
{
    const C3DCurve* curve = MainCurve();
    if (curve == nullptr || control < 1 || control > curve->ControlsCount()) {
        fClearPreviewTime();
        return;
    }
    // The language sets the tag; "T" until it has.
    const QVariant tag = m_c.widgets.lbl3dvTime->property("Tag");
    const QString prefix = tag.isValid() ? tag.toString() : QStringLiteral("T");
    m_c.widgets.lbl3dvTime->setText(prefix + QStringLiteral(": ")
                                    + StatusMessages::fFormatStatusNumber(curve->GetTime(control), 3));
}

void PreviewPlayback::fClearPreviewTime()
{
    m_c.widgets.lbl3dvTime->clear();
}
