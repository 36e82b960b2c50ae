#include "EditState.h"

#include "CProjectStateHandler.h"
#include "HandlerGuard.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int32_t kNavigationTool = 5;
constexpr int32_t kPointsTool = 1;
// RGB(0, 128, 0) as the curves keep colours (0xBBGGRR).
constexpr int32_t kOtherCurveColor = 0x008000;

}  // namespace

EditState::EditState(MainContext& context) : m_c(context)
{
    MainWidgets& w = m_c.widgets;
    for (int32_t i = 0; i < static_cast<int32_t>(w.optTools.size()); ++i) {
        connect(w.optTools[static_cast<size_t>(i)], &QToolButton::clicked, this, [this, i] { optTools_Click(i); });
        w.optTools[static_cast<size_t>(i)]->installEventFilter(this);
    }
    connect(w.cmdInvert, &QPushButton::clicked, this, [this] { cmdInvert_Click(); });
    auto command = [this](const char* name, void (EditState::*handler)()) {
        if (QAction* a = m_c.menus.Action(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    command("mnuE_Undo", &EditState::mnuE_Undo_Click);
    command("mnuE_Redo", &EditState::mnuE_Redo_Click);
    command("mnuE_SelectAll", &EditState::mnuE_SelectAll_Click);
    command("mnuE_DeselectAll", &EditState::mnuE_DeselectAll_Click);
}

EditState::~EditState() = default;

// ---- Curves -----------------------------------------------------------------

void EditState::fCreateCurveObjects()
{
    m_c.state.m_curveController = std::make_unique<C3DCurveController>();
    m_c.state.m_curveController->AddListener(&m_c.parts.eventSinks->ControllerSink());
    fCreateDefaultCurves();
    m_c.widgets.cmCurveManager->Initialize(*m_c.state.m_curveController);
}

void EditState::fCreateDefaultCurves()
{
    C3DCurveController& controller = *m_c.state.m_curveController;
    m_c.state.m_mainCurve = nullptr;
    {
        controller.BeginCurveCountChange();
        ScopeEnd end([&] { controller.EndCurveCountChange(); });
        controller.Clear();
        m_c.state.m_mainCurve = &controller.Add(QStringLiteral("Camera path"));
    }
    // The frame-rate box comes later in the window's load than the curves.
    if (m_c.controls.mFramerateHandler)
        controller.SetFramerate(m_c.controls.mFramerateHandler->SelectedValue());
}

void EditState::fApplyCurveLooks()
{
    C3DCurveController& controller = *m_c.state.m_curveController;
    for (int32_t i = 1; i < controller.CurveCount(); ++i) {
        C3DCurve& curve = controller.Curves(i);
        curve.SetControlDrawSize(6.0f);
        curve.SetControlForecolor(kOtherCurveColor, 50.0f);
        curve.SetSegmentColor(kOtherCurveColor, 50.0f);
        curve.SetSelectedControlForecolor(curve.ControlForecolor());
    }
}

// ---- Modified mark ----------------------------------------------------------

void EditState::fSetProjectModified(bool force)
{
    if (force || (m_c.state.m_curveController && m_c.state.m_curveController->HasControl()))
        m_c.state.m_projectModified = true;
}

bool EditState::fNothingToSave() const
{
    return !m_c.state.m_projectModified || !m_c.state.m_curveController
           || !m_c.state.m_curveController->HasControl();
}

// ---- Enabling -----------------------------------------------------------------

void EditState::fUpdateControlsState()
{
    MainWidgets& w = m_c.widgets;
    const C3DCurveController* controller = m_c.state.m_curveController.get();
    const int32_t m = m_c.state.m_mainCurve ? m_c.state.m_mainCurve->ControlsCount() : 0;
    int32_t r = 0;
    int32_t s = 0;
    if (controller) {
        for (int32_t i = 1; i < controller->CurveCount(); ++i)
            r += controller->Curves(i).ControlsCount();
        s = controller->CurvesSelectedControlCount();
    }
    const bool anyPoint = m >= 1 || r >= 1;

    auto enable = [this](const char* name, bool on) {
        if (QAction* a = m_c.menus.Action(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    enable("mnuT_New", anyPoint);
    enable("mnuT_Save", anyPoint);
    enable("mnuE_SelectAll", anyPoint);
    enable("mnuT_Export", false);
    enable("mnuE_DeselectAll", anyPoint && s > 0);

    fUpdateToolsState();

    // These sit in frames that the preview disables as a whole: the frame
    // enabler keeps their own state for when the frame comes back.
    auto frameState = [this](QWidget* control, bool on) {
        if (m_c.controls.m_frameHandler)
            m_c.controls.m_frameHandler->SetControlState(control, on);
        else
            control->setEnabled(on);
    };
    frameState(w.optLkTarget[0], m >= 1);
    frameState(w.optLkTarget[1], m >= 2);
    frameState(w.optLkTarget[2], m >= 2 && r >= 2);
    m_c.parts.valueTools->fUpdateLookTargetOptions();
    frameState(w.cmdInvert, m >= 2);
    frameState(w.cmdCFixeAngles, m >= 2);
    frameState(w.cmdAverage, m >= 3 || r >= 3);
    w.cmdCAutoRoll->setEnabled(m >= 3);
    w.cmdCreateScript->setEnabled(m >= 2);
    w.chkPreviewLock->setEnabled(m >= 2);
    if (m < 2)
        w.chkPreviewLock->setChecked(false);
}

void EditState::fUpdateToolsState()
{
    auto& tools = m_c.widgets.optTools;
    if (m_c.state.m_view && m_c.state.m_view->Is3D()) {
        for (int32_t i = 0; i < kNavigationTool; ++i)
            tools[static_cast<size_t>(i)]->setEnabled(false);
        tools[kNavigationTool]->setEnabled(true);
        // Only the navigation tool can be chosen in the 3D view.
        m_last3DTool = kNavigationTool;
        tools[static_cast<size_t>(m_last3DTool)]->setChecked(true);
        return;
    }
    const bool anyPoint = m_c.state.m_curveController && m_c.state.m_curveController->HasControl();
    tools[0]->setEnabled(anyPoint);
    tools[1]->setEnabled(true);
    tools[2]->setEnabled(anyPoint);
    tools[3]->setEnabled(anyPoint);
    tools[4]->setEnabled(true);
    tools[kNavigationTool]->setEnabled(false);
    if (m_last2DTool < 0 || m_last2DTool >= kNavigationTool || !tools[static_cast<size_t>(m_last2DTool)]->isEnabled())
        m_last2DTool = kPointsTool;
    tools[static_cast<size_t>(m_last2DTool)]->setChecked(true);
}

int32_t EditState::fActiveTool() const
{
    const auto& tools = m_c.widgets.optTools;
    for (size_t i = 0; i < tools.size(); ++i)
        if (tools[i]->isChecked())
            return static_cast<int32_t>(i);
    return -1;
}

// ---- Tool buttons ---------------------------------------------------------------

void EditState::optTools_Click(int32_t index)
{
    if (m_c.state.m_view && m_c.state.m_view->Is3D())
        m_last3DTool = index;
    else
        m_last2DTool = index;
    // The tangent and look-at tools show what they edit.
    C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve();
    if (curve && index == 2 && !curve->ShowTangent()) {
        curve->SetShowTangent(true);
        m_c.widgets.cmCurveManager->RefreshItemsTangentVisibilityState();
        Redraw();
    } else if (curve && index == 3 && !curve->ShowArrow()) {
        curve->SetShowArrow(true);
        m_c.widgets.cmCurveManager->RefreshItemsArrowVisibilityState();
        Redraw();
    }
    m_c.view.SetFocus();
}

void EditState::optTools_DblClick(int32_t index)
{
    C3DCurveController& controller = *m_c.state.m_curveController;
    C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve();
    if (!curve)
        curve = m_c.state.m_mainCurve;
    RunGuarded(m_c.status, [&] {
        switch (index) {
        case 0:
            for (int32_t i = 0; i < controller.CurveCount(); ++i) {
                C3DCurve& c = controller.Curves(i);
                if (&c == curve)
                    c.SelectAllControls();
                else
                    c.UnselectAllControls();
            }
            m_c.parts.pointGrid->fGridSyncSelection();
            fUpdateDeselectMenu();
            Redraw();
            break;
        case 2:
            if (curve)
                curve->TangentSetAll(1);
            break;
        case 4:
            m_c.parts.viewZoom->fZoomToFit(false);
            Redraw();
            break;
        default:
            break;
        }
    });
}

bool EditState::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto& tools = m_c.widgets.optTools;
        for (size_t i = 0; i < tools.size(); ++i)
            if (watched == tools[i] && tools[i]->isEnabled())
                optTools_DblClick(static_cast<int32_t>(i));
    }
    return QObject::eventFilter(watched, event);
}

void EditState::cmdInvert_Click()
{
    if (C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve())
        RunGuarded(m_c.status, [curve] { curve->Invert(); });
    m_c.view.SetFocus();
}

// ---- Selection ------------------------------------------------------------------

void EditState::mnuE_SelectAll_Click()
{
    C3DCurveController& controller = *m_c.state.m_curveController;
    for (int32_t i = 0; i < controller.CurveCount(); ++i) {
        C3DCurve& curve = controller.Curves(i);
        if (curve.IsVisible())
            curve.SelectAllControls();
        else
            curve.UnselectAllControls();
    }
    fUpdateDeselectMenu();
    Redraw();
}

void EditState::mnuE_DeselectAll_Click()
{
    m_c.state.m_curveController->SetCurvesControlsSelection(false);
    fUpdateDeselectMenu();
    Redraw();
}

void EditState::fUnselectHiddenOfSelected()
{
    if (C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve())
        curve->UnselectHiddenControls();
    fUpdateDeselectMenu();
}

int32_t EditState::fSelectedControlCount() const
{
    return m_c.state.m_curveController ? m_c.state.m_curveController->CurvesSelectedControlCount() : 0;
}

void EditState::fUpdateDeselectMenu()
{
    if (QAction* a = m_c.menus.Action(QStringLiteral("mnuE_DeselectAll")))
        a->setEnabled(fSelectedControlCount() > 0);
}

// ---- Undo -----------------------------------------------------------------------

CProjectStateHandler& EditState::Handler()
{
    if (!m_stateHandler)
        m_stateHandler = std::make_unique<CProjectStateHandler>();
    return *m_stateHandler;
}

const CProjectStateHandler& EditState::StateHandler()
{
    return Handler();
}

void EditState::fStoreUndoState()
{
    if (m_undoBusy || !m_c.state.m_curveController)
        return;
    if (m_undoStepDepth > 0) {
        m_undoStepPending = true;
        return;
    }
    m_undoBusy = true;
    ScopeEnd idle([this] { m_undoBusy = false; });
    fSetProjectModified(true);
    Handler().Save(*m_c.state.m_curveController);
    m_c.menus.Action(QStringLiteral("mnuE_Undo"))->setEnabled(true);
    m_c.menus.Action(QStringLiteral("mnuE_Redo"))->setEnabled(false);
}

void EditState::fBeginUndoStep()
{
    ++m_undoStepDepth;
}

void EditState::fEndUndoStep()
{
    if (m_undoStepDepth < 1 || --m_undoStepDepth > 0 || !m_undoStepPending)
        return;
    m_undoStepPending = false;
    fStoreUndoState();
}

void EditState::fResetUndoHistory()
{
    Handler().Clear();
    Handler().Save(*m_c.state.m_curveController);
    m_c.parts.pointGrid->fGridReloadCurve(nullptr);
    m_c.widgets.cmCurveManager->RefreshCurveList(false);
    m_c.menus.Action(QStringLiteral("mnuE_Undo"))->setEnabled(false);
    m_c.menus.Action(QStringLiteral("mnuE_Redo"))->setEnabled(false);
}

void EditState::mnuE_Undo_Click()
{
    fRestoreState(false);
}

void EditState::mnuE_Redo_Click()
{
    fRestoreState(true);
}

void EditState::fRestoreState(bool forward)
{
    // A drag holds its curve's change bracket open until its release.
    if (m_undoBusy || m_c.state.m_cameraDragActive)
        return;
    m_undoBusy = true;
    ScopeEnd idle([this] { m_undoBusy = false; });
    if (const C3DCurveController* state = forward ? Handler().Redo() : Handler().Undo())
        fApplyRestoredState(*state);
}

void EditState::fApplyRestoredState(const C3DCurveController& state)
{
    IPreviewPlayback& preview = *m_c.parts.preview;
    if (preview.fIsPlaybackRunning())
        preview.fOnPlaybackStopped();
    C3DCurveController& controller = *m_c.state.m_curveController;
    // The curves are replaced: nothing may reach the old main curve while
    // the state loads.
    m_c.state.m_mainCurve = nullptr;
    RunGuarded(m_c.status, [&] { controller.Load(state); });
    if (controller.CurveCount() < 1) {
        // A state without curves would leave the window without the curve
        // that the preview and the script use.
        RunGuarded(m_c.status, [&] {
            controller.BeginCurveCountChange();
            ScopeEnd end([&] { controller.EndCurveCountChange(); });
            controller.Add(QStringLiteral("Camera path"));
        });
    }
    if (controller.CurveCount() > 0) {
        m_c.state.m_mainCurve = &controller.Curves(0);
        if (m_c.controls.mFramerateHandler) {
            int32_t rate = m_c.state.m_mainCurve->StepRate();
            m_c.controls.mFramerateHandler->SelectByValue(rate);
        }
    }
    fApplyCurveLooks();
    if (preview.fIsPreviewLocked())
        preview.fRefreshPreview(true);
    else
        Redraw();
    m_c.parts.pointGrid->fGridReloadCurve(nullptr);
    m_c.widgets.cmCurveManager->RefreshCurveList(false);
    // The restored curves may hold another number of points than the
    // menus and tools were last set for.
    fUpdateControlsState();
    fUpdateUndoMenus();
}

void EditState::fUpdateUndoMenus()
{
    const CProjectStateHandler& h = Handler();
    m_c.menus.Action(QStringLiteral("mnuE_Undo"))->setEnabled(h.CurrentStateNumber() > 1);
    m_c.menus.Action(QStringLiteral("mnuE_Redo"))->setEnabled(h.CurrentStateNumber() < h.StateCount());
}

// ---- Project options --------------------------------------------------------------

void EditState::fResetProjectOptions()
{
    MainWidgets& w = m_c.widgets;
    m_c.parts.valueTools->fSetFixedTargets(100.0f, 100.0f, 100.0f);
    w.chkSScriptPauseState->setChecked(false);
    m_c.parts.cameraNavigation->fResetCamera();
    m_c.parts.viewPresets->fResetPresets();
    m_c.state.m_comboGuard = true;
    ScopeEnd unguard([this] { m_c.state.m_comboGuard = false; });
    w.chkSIncFov->setChecked(true);
    w.chkSIncTS->setChecked(true);
    w.chkSIncConMsg->setChecked(false);
    for (QComboBox* combo : {w.cboSCmdsBefore, w.cboSCmdsAfter, w.cboGConfigs, w.cboCamMode, w.cboCamModeOption})
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    w.chkSAutoStart->setChecked(false);
}

void EditState::Redraw()
{
    m_c.parts.sceneDrawing->fRefreshView();
}
