#include "FrmMain.h"

#include "FrmUpdate.h"
#include "MForms.h"
#include "MRuvMain.h"
#include "MainShell.h"
#include "UC3DCurveManager.h"
#include "UCOpenGLView.h"
#include "X11Windows.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

FrmMain::FrmMain(MainServices services, std::unique_ptr<MainPartsFactory> factory)
    : m_services(std::move(services)),
      m_factory(factory ? std::move(factory) : std::make_unique<MainPartsFactory>()),
      m_widgets(*this),
      m_menus(*this, m_texts),
      m_status(m_widgets.lblMiddleStatus, m_widgets.lblRightStatus, m_widgets.tmrMiddleStatusAutoClear,
               *m_services.dialogs, this, m_state),
      m_viewControl(m_services.makeViewControl(*m_widgets.oglView)),
      m_context{*this,     m_widgets, m_services,     m_state, m_texts, m_status,
                m_menus,   m_controls, *m_viewControl, *this,   m_parts}
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral(" Ruvadir"));
    setMouseTracking(true);
    m_widgets.central->setMouseTracking(true);
    resize(1024, 768);
    m_factory->MakeAll(m_context, m_parts);
    m_menus.Connect(m_context);
    connect(m_menus.Action(QStringLiteral("mnuH_About")), &QAction::triggered, this, [this] { fShowAbout(); });
    connect(m_widgets.tmrWaitForClose, &QTimer::timeout, this, [this] { tmrWaitForClose_Timer(); });
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { OnFocusWindowChanged(window); });
    Form_Initialize();
}

FrmMain::~FrmMain()
{
    disconnect(qApp, nullptr, this, nullptr);
    // A window that was never closed (a test, a failed start) still lets
    // go of its objects in order.
    fCloseDown();
    // The curve manager listens to the curves, which go before the
    // window's controls.
    delete m_widgets.cmCurveManager;
    m_widgets.cmCurveManager = nullptr;
}

void FrmMain::Form_Initialize()
{
    m_state.m_projectModified = false;
    m_parts.gameSelection->fCreateGameDefinitions();
    m_parts.viewZoom->fInitZoomBag();
    m_state.m_initialized = true;
}

void FrmMain::OnFocusWindowChanged(QWindow* window)
{
    // While another program has the focus, Qt names no focus window.
    const bool fromOutside = !m_ownWindowFocused;
    m_ownWindowFocused = window != nullptr;
    QWindow* top = window;
    while (top && top->parent())
        top = top->parent();
    if (top && top == windowHandle())
        Form_Activate(fromOutside);
}

void FrmMain::Form_Activate(bool fromOutside)
{
    // The focus moving among the program's own windows (the splash, the
    // notes, a message box, the view) is no new activation: only the first
    // one and the user's coming back from another program count.
    if (m_state.m_activateCount > 0 && !fromOutside)
        return;
    if (m_state.m_activateCount < 10)
        ++m_state.m_activateCount;
    if (m_state.m_activateCount < 2)
        return;
    bool anyVisible = false;
    QWidget* windows[] = {m_controls.m_aboutForm.get(), m_controls.m_notesForm.get(), m_controls.mDemosForm.get()};
    for (QWidget* w : windows) {
        if (w && w->isVisible()) {
            w->hide();
            anyVisible = true;
        }
    }
    if (anyVisible) {
        raise();
        activateWindow();
    }
}

void FrmMain::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (QWindow* handle = windowHandle())
        handle->installEventFilter(this);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == windowHandle() && e->type() == QEvent::Expose && windowHandle()->isExposed()
        && !m_state.m_firstPaintDone)
        Form_Paint();
    return QMainWindow::eventFilter(watched, e);
}

void FrmMain::Form_Paint()
{
    if (m_state.m_firstPaintDone)
        return;
    m_state.m_firstPaintDone = true;
    FrmAbout* about = m_controls.m_aboutForm.get();
    if (m_state.m_splashUntilPaint) {
        m_state.m_splashUntilPaint = false;
        if (about)
            about->hide();
        if (m_controls.m_notesForm && m_controls.m_notesForm->HasContent())
            m_controls.m_notesForm->ShowBeside(this, FrmNotes::PlaceAlways);
    } else if (about && about->isVisible()) {
        // Owned by the main window since it was shown, it stays above it
        // until its own timer hides it. It is not shown anew: a window
        // unmapped and mapped again at once confuses the window manager,
        // which may then keep the keyboard on neither window. It was mapped
        // before the main window had a window of its own, so the window
        // manager learns its owner only now.
        X11Windows::SetOwner(about->winId(), winId());
        about->raise();
    }
}

void FrmMain::mouseMoveEvent(QMouseEvent* e)
{
    m_status.fSetMiddleStatus(QString(), false);
    QMainWindow::mouseMoveEvent(e);
}

void FrmMain::closeEvent(QCloseEvent* e)
{
    const bool cancel = Form_QueryUnload(m_unloadByCode ? UnloadByCode : UnloadByUser);
    if (cancel)
        e->ignore();
    else
        e->accept();
}

bool FrmMain::Form_QueryUnload(int32_t unloadMode)
{
    if (m_closedDown)
        return false;
    // The close is already on its way: a second request within the wait is
    // swallowed, so that the release (and the settings' saving) runs once,
    // from the deferred close.
    if (m_widgets.tmrWaitForClose->isActive())
        return true;
    if (unloadMode == UnloadByUser) {
        if (!m_parts.editState->fNothingToSave()) {
            const int32_t answer = m_status.fShowMessageBox(m_texts.fGetText(156), 35, m_texts.fGetTextNoAmpersand(6));
            if (answer == 2)
                return true;
            if (answer == 6 && !m_parts.projectCommands->fSaveProject())
                return true;
        }
        m_parts.preview->fReleasePreviewLock();
        m_widgets.tmrWaitForClose->start();
        return true;
    }
    fCloseDown();
    return false;
}

void FrmMain::tmrWaitForClose_Timer()
{
    if (m_parts.preview->LoopActive())
        return;
    m_widgets.tmrWaitForClose->stop();
    m_unloadByCode = true;
    close();
    m_unloadByCode = false;
}

void FrmMain::fRequestClose()
{
    close();
}

void FrmMain::fCloseDown()
{
    if (m_closedDown)
        return;
    m_closedDown = true;
    m_widgets.tmrWaitForClose->stop();
    if (m_state.m_loaded)
        m_parts.settings->fSaveSettings();
    m_parts.pointGrid->fGridClear();
    m_controls.m_aboutForm.reset();
    m_controls.m_notesForm.reset();
    m_controls.mDemosForm.reset();
    m_controls.m_gameConfigsForm.reset();
    m_controls.m_gameSettingsForm.reset();
    m_controls.m_hotKeys.reset();
    MForms::ReleaseSubclass(m_controls.FormSc);
    MForms::ReleaseSubclass(m_controls.txtDemoSc);
    MForms::ReleaseSubclass(m_controls.tabControlSc);
    m_parts.menuDecoration->fReleaseMenuObject();
    m_parts.mapBinding->fReleaseMapObject();
    m_viewControl->GLKillWindow();
}

void FrmMain::fUpdateCaption(const QString& projectName)
{
    const QString game = m_state.m_activeGame ? m_state.m_activeGame->FriendlyName() : QString();
    const QString base = QStringLiteral(" Ruvadir [") + game + QLatin1Char(']');
    setWindowTitle(projectName.isEmpty() ? base + QLatin1Char(' ') + m_texts.fGetText(98)
                                         : base + QStringLiteral(" - ") + projectName);
    m_state.m_captionName = projectName;
}

void FrmMain::fShowUpdateCheck()
{
    const QString server = UpdateInfo::ReadServerAddress(*m_services.settings);
    FrmUpdate window(this, m_services.shell, server);
    window.SetGuiTexts(m_texts.fGetText(103), m_texts.fGetText(104), m_texts.fGetText(109), m_texts.fGetText(107),
                       m_texts.fGetText(108), m_texts.fGetText(105), m_texts.fGetText(106), m_texts.fGetText(110));
    window.SetNoServerText(m_texts.fGetText(952, QString::fromLatin1(UpdateInfo::ServerValueName),
                                            UpdateInfo::SettingsKeyInFile(), m_services.settings->FilePath()));
    window.SetBadServerText(m_texts.fGetText(991, server));
    if (m_controls.m_aboutForm)
        m_controls.m_aboutForm->hide();
    window.exec();
}

void FrmMain::fShowAbout()
{
    if (!m_controls.m_aboutForm)
        return;
    m_controls.m_aboutForm->CloseAfterDelay(false);
    m_controls.m_aboutForm->CenterToScreen();
    m_controls.m_aboutForm->ShowModal(this);
}

void FrmMain::fShowNotes()
{
    if (!m_controls.m_notesForm)
        return;
    if (m_parts.preview->fIsPlaying())
        m_parts.preview->fStopPlayback();
    m_controls.m_notesForm->ShowBeside(this, FrmNotes::PlaceUnlessMoved);
}

void FrmMain::GLDrawScene()
{
    m_parts.sceneDrawing->GLDrawScene();
}

void FrmMain::FormSc_MenuChar(bool& handled, int32_t& result, int16_t key, int32_t, intptr_t)
{
    // Alt+Z opens nothing and must not beep.
    if (key == 'z' || key == 'Z') {
        handled = true;
        result = 1;
    }
}
