#include "EventSinks.h"

#include "HandlerGuard.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"

#include <QComboBox>
#include <QMenu>

#include <vector>

namespace {

constexpr int32_t kTimeProperty = 21;
constexpr int32_t kInformationStyle = 64;
constexpr int32_t kEtqwGame = 4;

}  // namespace

EventSinks::~EventSinks()
{
    if (m_c.state.m_curveController)
        m_c.state.m_curveController->RemoveListener(this);
}

template <class F>
void EventSinks::Guarded(F&& step)
{
    RunGuarded(m_c.status, std::forward<F>(step));
}

void EventSinks::fConnectControlSinks()
{
    if (m_connected)
        return;
    m_connected = true;
    UC3DCurveManager* manager = m_c.widgets.cmCurveManager;
    connect(manager, &UC3DCurveManager::SelectedCurveChanged, this, [this] { cmCurveManager_SelectedCurveChanged(); });
    connect(manager, &UC3DCurveManager::CurveOptionChanged, this,
            [this](C3DCurve& curve, int32_t option) { cmCurveManager_CurveOptionChanged(curve, option); });
    connect(manager, &UC3DCurveManager::CurveAdded, this,
            [this](C3DCurve& curve) { cmCurveManager_CurveAdded(curve); });
    connect(manager, &UC3DCurveManager::CurveStartTimeChanged, this,
            [this](C3DCurve& curve) { cmCurveManager_CurveStartTimeChanged(curve); });
    connect(manager, &UC3DCurveManager::CurveDurationChanged, this,
            [this](C3DCurve& curve) { cmCurveManager_CurveDurationChanged(curve); });
    connect(manager, &UC3DCurveManager::EditingStateChanged, this, [this] { cmCurveManager_EditingStateChanged(); });

    CFramerateHandler* rates = m_c.controls.mFramerateHandler.get();
    if (!rates)
        return;
    connect(rates, &CFramerateHandler::RightClick, this,
            [this](int32_t x, int32_t y) { mFramerateHandler_RightClick(x, y); });
    connect(rates, &CFramerateHandler::TraceSpecificValueRemoved, this,
            [this] { mFramerateHandler_TraceSpecificValueChanged(); });
    connect(rates, &CFramerateHandler::TraceSpecificValueAdded, this,
            [this] { mFramerateHandler_TraceSpecificValueChanged(); });
    connect(rates, &CFramerateHandler::ValueChanged, this,
            [this](int32_t value) { mFramerateHandler_ValueChanged(value); });
    connect(rates, &CFramerateHandler::EditingChanged, this,
            [this](bool editing) { mFramerateHandler_EditingChanged(editing); });
    connect(rates, &CFramerateHandler::OnValidation, this,
            [this](int32_t& value, bool& valid) { mFramerateHandler_OnValidation(value, valid); });
}

// ---- The curve controller ------------------------------------------------------

void EventSinks::fRefreshPreviewOrView(const C3DCurve& curve)
{
    if (&curve == m_c.state.m_mainCurve && m_c.parts.preview->fIsPreviewLocked())
        m_c.parts.preview->fRefreshPreview(true);
    else
        Redraw();
}

void EventSinks::Redraw()
{
    m_c.parts.sceneDrawing->fRefreshView();
}

void EventSinks::CurveCountChanged()
{
    // An added or removed curve shows, or leaves the views, at once.
    Guarded([this] {
        m_c.parts.editState->fApplyCurveLooks();
        Redraw();
    });
}

void EventSinks::StepCountChanged(C3DCurve& curve, int32_t)
{
    Guarded([&] { fRefreshPreviewOrView(curve); });
}

void EventSinks::DurationChanged(C3DCurve& curve)
{
    UC3DCurveManager* manager = m_c.widgets.cmCurveManager;
    if (curve.ControlsCountChanging() || manager->IsCurveDurationChanging())
        return;
    Guarded([&] {
        manager->RefreshItemsDuration();
        m_c.parts.pointGrid->fGridUpdateColumn(manager->SelectedCurve(), kTimeProperty);
        Redraw();
    });
}

void EventSinks::CurveChanged(C3DCurve& curve)
{
    if (curve.ControlsCountChanging())
        return;
    Guarded([&] {
        fRefreshPreviewOrView(curve);
        m_c.parts.editState->fStoreUndoState();
        m_c.parts.pointGrid->fGridReloadCurve(&curve);
    });
}

void EventSinks::ControlsCountChanged(C3DCurve& curve)
{
    if (curve.CurveChanging())
        return;
    Guarded([&] {
        IPreviewPlayback& preview = *m_c.parts.preview;
        if (&curve == m_c.state.m_mainCurve && preview.fIsPreviewLocked()) {
            preview.fRefreshPreview(true);
            // Too few points left released the lock, and the window with it.
            if (preview.fIsPreviewLocked())
                preview.fLockGuiDuringPreview(true, preview.fIsPlaybackRunning());
        } else {
            Redraw();
        }
        m_c.parts.editState->fUpdateControlsState();
        m_c.parts.editState->fStoreUndoState();
        m_c.parts.pointGrid->fGridReloadCurve(&curve);
    });
}

void EventSinks::QuickRefreshStopped(C3DCurve& curve)
{
    if (curve.CurveChanging())
        return;
    Guarded([this] { Redraw(); });
}

// ---- The curve manager -----------------------------------------------------------

void EventSinks::cmCurveManager_SelectedCurveChanged()
{
    Guarded([this] { m_c.parts.pointGrid->fGridReloadCurve(nullptr); });
}

void EventSinks::cmCurveManager_CurveOptionChanged(C3DCurve&, int32_t)
{
    Guarded([this] { Redraw(); });
}

void EventSinks::cmCurveManager_CurveAdded(C3DCurve& curve)
{
    if (CFramerateHandler* rates = m_c.controls.mFramerateHandler.get())
        Guarded([&] { curve.SetStepRate(rates->SelectedValue()); });
}

void EventSinks::cmCurveManager_CurveStartTimeChanged(C3DCurve&)
{
    Guarded([this] { m_c.parts.editState->fStoreUndoState(); });
}

void EventSinks::cmCurveManager_CurveDurationChanged(C3DCurve& curve)
{
    Guarded([&] {
        m_c.parts.editState->fStoreUndoState();
        m_c.parts.pointGrid->fGridUpdateColumn(m_c.widgets.cmCurveManager->SelectedCurve(), kTimeProperty);
        fRefreshPreviewOrView(curve);
    });
}

void EventSinks::cmCurveManager_EditingStateChanged()
{
    m_c.state.m_inputEditing = m_c.widgets.cmCurveManager->Editing();
}

// ---- The frame-rate box ------------------------------------------------------------

void EventSinks::mFramerateHandler_RightClick(int32_t, int32_t)
{
    // At the box's top right corner, whatever the pointer's position.
    QComboBox* box = m_c.widgets.cboTFrameRate;
    if (QMenu* menu = m_c.menus.Menu(QStringLiteral("mnuAviDemo")))
        menu->popup(box->mapToGlobal(QPoint(box->width(), 0)));
}

void EventSinks::mFramerateHandler_TraceSpecificValueChanged()
{
    m_c.parts.editState->fSetProjectModified(false);
}

void EventSinks::mFramerateHandler_ValueChanged(int32_t value)
{
    C3DCurveController& controller = *m_c.state.m_curveController;
    if (!controller.IsFramerateValid(value)) {
        m_c.controls.mFramerateHandler->CancelSelectionChange();
        m_c.status.fShowMessageBox(m_c.texts.fGetText(219), kInformationStyle, m_c.texts.fGetText(43));
        return;
    }
    // Whether a curve took another rate (the same rate chosen again, or
    // the box announcing its choice twice, is no step of its own).
    std::vector<int32_t> before;
    for (int32_t i = 0; i < controller.CurveCount(); ++i)
        before.push_back(controller.Curves(i).StepRate());
    Guarded([&] { controller.SetFramerate(value); });
    bool changed = controller.CurveCount() != static_cast<int32_t>(before.size());
    for (int32_t i = 0; !changed && i < controller.CurveCount(); ++i)
        changed = controller.Curves(i).StepRate() != before[static_cast<size_t>(i)];
    if (changed)
        Guarded([this] { m_c.parts.editState->fStoreUndoState(); });
    // A failed redraw changes nothing of the rate.
    try {
        Redraw();
    } catch (...) {
    }
}

void EventSinks::mFramerateHandler_EditingChanged(bool editing)
{
    m_c.state.m_inputEditing = editing;
}

void EventSinks::mFramerateHandler_OnValidation(int32_t& value, bool& valid)
{
    const C3DCurveController& controller = *m_c.state.m_curveController;
    valid = controller.IsFramerateValid(value);
    if (value > controller.MaxFramerate()) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(219), kInformationStyle, m_c.texts.fGetText(43));
    } else if (m_c.state.m_activeGame && m_c.state.m_activeGame->GType() == kEtqwGame && value % 30 != 0) {
        valid = false;
        m_c.status.fShowMessageBox(m_c.texts.fGetText(218), kInformationStyle, m_c.texts.fGetText(43));
    }
}
