#include "CurveEditing.h"

#include "C3DCurveController.h"
#include "CameraScriptText.h"
#include "HandlerGuard.h"
#include "MCommon.h"
#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"

#include <QAction>

#include <algorithm>

namespace {

// Half the pick square in pixels.
constexpr float kPickPixels = 4.0f;
constexpr float kSnapZone = 10.0f;
constexpr int32_t kAllFlatViews = 7;
constexpr int32_t kInformationStyle = 64;
constexpr int32_t kExclamationStyle = 48;
constexpr int32_t kPointAdditionTitle = 185;

// The view cursors.
constexpr int32_t kArrowCursor = 0;
constexpr int32_t kAddCursor = 1;
constexpr int32_t kDeleteCursor = 2;
constexpr int32_t kMoveCursor = 3;
constexpr int32_t kRotateCursor = 5;
constexpr int32_t kZoomCursor = 6;

// The key flags.
constexpr int16_t kShift = 1;
constexpr int16_t kCtrl = 2;
constexpr int16_t kAlt = 4;

// The grid cells a moved point changes, then those of a new look-at target.
constexpr std::array<int32_t, 10> kMovedCells = {1, 2, 3, 4, 5, -1, -1, -1, -1, -1};
constexpr std::array<int32_t, 10> kTargetCells = {4, 5, 22, 23, 24, -1, -1, -1, -1, -1};

float Round2(float v)
{
    return MCommon::RoundToDecimals(v, 2);
}

QString Num2(double v)
{
    return QString::fromStdString(CameraScriptText::FormatNum(v, 2));
}

}  // namespace

CurveEditing::CurveEditing(MainContext& context) : m_c(context), m_d(context.state.m_drags) {}

bool CurveEditing::SelectionRectActive() const
{
    return m_d.m_selectionRectActive;
}

bool CurveEditing::MoveSelectionActive() const
{
    return m_d.m_moveSelectionActive;
}

bool CurveEditing::MoveControlActive() const
{
    return m_d.m_moveControlActive;
}

bool CurveEditing::TangentDragActive() const
{
    return m_d.m_tangentDragActive;
}

bool CurveEditing::LookAtDragActive() const
{
    return m_d.m_lookAtDragActive;
}

bool CurveEditing::SnapFound() const
{
    return m_d.m_snapFound;
}

// ---- Shared steps -------------------------------------------------------------

std::array<float, 3> CurveEditing::World(float x, float y)
{
    std::array<float, 3> world{};
    m_c.view.WindowToWorld(x, y, world);
    return world;
}

const CView& CurveEditing::ActiveView() const
{
    return *m_c.state.m_view;
}

C3DCurve* CurveEditing::HoveredCurve()
{
    C3DCurve* curve = m_hoverCurve.Find(m_c.state.m_curveController.get());
    if (m_hoverControl < 1 || !curve)
        return nullptr;
    // The curve may have lost points since the pick.
    return m_hoverControl <= curve->ControlsCount() ? curve : nullptr;
}

C3DCurve* CurveEditing::DragCurve()
{
    return m_dragCurve.Find(m_c.state.m_curveController.get());
}

C3DCurve* CurveEditing::SelectedCurve()
{
    return m_c.widgets.cmCurveManager->SelectedCurve();
}

void CurveEditing::Redraw()
{
    m_c.parts.sceneDrawing->fRefreshView();
}

void CurveEditing::ShowInfo(int32_t textId, int32_t titleId)
{
    m_c.status.fShowMessageBox(m_c.texts.fGetText(textId), kInformationStyle, m_c.texts.fGetText(titleId));
}

float CurveEditing::PickTolerance() const
{
    const double scale = m_c.view.GLViewScale();
    return scale > 0.0 ? static_cast<float>(kPickPixels / scale) : 0.0f;
}

void CurveEditing::fUpdatePointCells(C3DCurve& curve, int32_t index, const std::array<int32_t, 10>& cells)
{
    if (&curve != SelectedCurve())
        return;
    IPointGridPanel& grid = *m_c.parts.pointGrid;
    grid.fGridStartChange();
    ScopeEnd end([&grid] { grid.fGridEndChange(true); });
    grid.fGridUpdateCells(&curve, index, cells);
}

template <class F>
void CurveEditing::Guarded(F&& step)
{
    if (!RunGuarded(m_c.status, std::forward<F>(step)))
        // A step that failed half-way ends its drag, closing its brackets,
        // so that no change bracket stays open on a curve.
        fEndDragOnFocusLoss();
}

// ---- Picks and hover -----------------------------------------------------------

template <class Find>
C3DCurve* CurveEditing::Pick(Find&& find, bool& found)
{
    m_pickTolerance = PickTolerance();
    m_hoverControl = -1;
    m_hoverTangent = 0;
    m_hoverCurve.Clear();
    found = false;
    C3DCurveController* controller = m_c.state.m_curveController.get();
    if (!controller || !m_c.state.m_view)
        return nullptr;
    for (int32_t i = 0; i < controller->CurveCount(); ++i) {
        C3DCurve& curve = controller->Curves(i);
        if (!curve.IsVisible() || curve.ControlsCount() < 1)
            continue;
        int32_t index = -1;
        uint8_t tangent = 0;
        find(curve, index, tangent);
        if (index > 0) {
            m_hoverControl = index;
            m_hoverTangent = tangent;
            m_hoverCurve = HeldCurve(curve);
            found = true;
            return &curve;
        }
    }
    return nullptr;
}

C3DCurve* CurveEditing::fPickControl(float h, float v, bool& found)
{
    return Pick(
        [&](C3DCurve& curve, int32_t& index, uint8_t&) {
            curve.FindControlAtViewPoint(h, v, ActiveView(), m_pickTolerance, index);
        },
        found);
}

C3DCurve* CurveEditing::fPickTangent(float h, float v, bool& found)
{
    return Pick(
        [&](C3DCurve& curve, int32_t& index, uint8_t& tangent) {
            curve.FindTangentAtViewPoint(tangent, h, v, ActiveView(), m_pickTolerance, index);
        },
        found);
}

void CurveEditing::PickAt(int32_t tool, const std::array<float, 3>& world)
{
    const float h = world[static_cast<size_t>(ActiveView().HAxis())];
    const float v = world[static_cast<size_t>(ActiveView().VAxis())];
    bool found = false;
    if (tool == 2)
        fPickTangent(h, v, found);
    if (!found)
        fPickControl(h, v, found);
}

void CurveEditing::fHoverFeedback(int16_t, int16_t shift)
{
    if (!m_c.state.m_view)
        return;
    const int32_t tool = m_c.parts.editState->fActiveTool();
    IViewInput& input = *m_c.parts.viewInput;
    const std::array<float, 3>& p = m_d.m_pointerWorld;
    const float h = p[static_cast<size_t>(ActiveView().HAxis())];
    const float v = p[static_cast<size_t>(ActiveView().VAxis())];
    bool found = false;
    RunGuarded(m_c.status, [&] {
        switch (tool) {
        case 0: {
            input.fSetViewCursor(kArrowCursor);
            C3DCurve* curve = fPickControl(h, v, found);
            if (found && m_c.state.m_curveController->CurvesSelectedControlCount() >= 1
                && curve->IsSelected(m_hoverControl) && shift == 0)
                input.fSetViewCursor(kMoveCursor);
            break;
        }
        case 1: {
            fPickControl(h, v, found);
            if (found)
                input.fSetViewCursor(shift == kShift ? kDeleteCursor : kMoveCursor);
            else
                input.fSetViewCursor(shift == kShift ? kArrowCursor : kAddCursor);
            if (shift != kShift) {
                bool snapped = false;
                fMagnetize(true, snapped);
            }
            break;
        }
        case 2:
            fPickTangent(h, v, found);
            if (found) {
                input.fSetViewCursor(kMoveCursor);
            } else {
                fPickControl(h, v, found);
                input.fSetViewCursor(kArrowCursor);
            }
            break;
        case 3:
            input.fSetViewCursor(kArrowCursor);
            return;
        case 4:
            input.fSetViewCursor(kZoomCursor);
            return;
        case 5:
            // In the 3D view the cursor follows the camera's drag state.
            if (ActiveView().Is3D())
                input.fSetNavigationCursor();
            else
                input.fSetViewCursor(kRotateCursor);
            return;
        default:
            return;
        }
        if (m_hoverControl < 1)
            return;
        C3DCurve* curve = HoveredCurve();
        if (!curve)
            return;
        if (shift & kCtrl) {
            if ((shift == kCtrl || (shift & kAlt)) && m_hoverControl != m_lastGridSyncedControl) {
                m_lastGridSyncedControl = m_hoverControl;
                m_c.parts.pointGrid->fGridSelectRow(curve, m_hoverControl, true);
            }
            if (shift & (kShift | kAlt)) {
                const std::array<float, 3> position = curve->GetPosition(m_hoverControl);
                m_c.parts.valueTools->fSetFixedTargetsFromArray({position[0], position[1], position[2]});
            }
        } else if (shift == kAlt) {
            fCopyControlCommand(*curve, m_hoverControl);
        }
    });
}

void CurveEditing::fCopyControlCommand(C3DCurve& curve, int32_t index)
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return;
    const ControlRecord r = curve.GetControlRecord(index);
    // The game reads "." decimals whatever the user's locale.
    const QString text = QLatin1Char('/') + game->FcCmd() + QLatin1Char(' ') + Num2(r.X) + QLatin1Char(' ')
                         + Num2(r.Y) + QLatin1Char(' ') + Num2(r.Z) + QLatin1Char(' ') + Num2(r.Yaw)
                         + QLatin1Char(' ') + Num2(r.Pitch) + QLatin1Char(' ') + Num2(r.Roll) + game->FcCmdTrailer();
    // Nothing is shown; a clipboard that refuses the text is left so.
    m_c.services.gameWindows->SetClipboardText(text);
}

// ---- Presses --------------------------------------------------------------------

void CurveEditing::fToolMouseDown(int32_t tool, int16_t shift, float x, float y)
{
    if (m_c.state.m_cameraDragActive || !m_c.state.m_view || tool < 0 || tool > 3)
        return;
    RunGuarded(m_c.status, [&] {
        // The points under the pointer as they are now: an edit since the
        // last move (a point just added there) counts.
        if (tool <= 2)
            PickAt(tool, World(x, y));
        switch (tool) {
        case 0:
            if (m_c.state.m_curveController->CurvesSelectedControlCount() >= 1 && m_hoverControl > -1) {
                C3DCurve* curve = HoveredCurve();
                if (curve && curve->IsSelected(m_hoverControl) && shift == 0)
                    fStartMoveSelection();
            }
            fStartSelectionRect(x, y);
            break;
        case 1:
            if (m_hoverControl < 1) {
                if (shift != kShift)
                    fAddControlAtPointer(x, y);
            } else if (shift == kShift) {
                fDeleteHovered();
            } else if (shift == (kCtrl | kAlt)) {
                fInsertAfterHovered();
            } else {
                fStartMoveControl();
            }
            break;
        case 2:
            if (m_hoverTangent != 0 && m_hoverControl >= 0)
                fStartTangentDrag();
            break;
        case 3:
            if (!m_c.state.m_mainCurve || m_c.state.m_mainCurve->SelectedCount() < 1)
                ShowInfo(221, 222);
            else
                fStartLookAtDrag();
            break;
        default:
            break;
        }
    });
}

bool CurveEditing::fResetHoveredTangent(int32_t tool, int16_t shift)
{
    if (tool != 2 || m_c.state.m_cameraDragActive || !m_c.state.m_view)
        return false;
    bool reset = false;
    RunGuarded(m_c.status, [&] {
        PickAt(2, m_d.m_pointerWorld);
        if (m_hoverTangent == 0 || m_hoverControl < 0)
            return;
        C3DCurve* curve = HoveredCurve();
        if (!curve)
            return;
        const int32_t mask = shift == kCtrl ? ActiveView().ViewFlag() : kAllFlatViews;
        curve->TangentSet(m_hoverControl, m_hoverTangent, mask, true);
        reset = true;
    });
    return reset;
}

// ---- Selection rectangle ------------------------------------------------------

void CurveEditing::fStartSelectionRect(float x, float y)
{
    if (m_c.state.m_cameraDragActive)
        return;
    m_d.m_selectionRectActive = true;
    m_c.state.m_cameraDragActive = true;
    m_d.m_selRectStart = World(x, y);
    m_d.m_selRectEnd = m_d.m_selRectStart;
    if (m_c.state.m_mainCurve)
        m_c.state.m_mainCurve->QuickRefreshStart(false);
}

void CurveEditing::fSelectionRectStep()
{
    if (!m_d.m_selectionRectActive)
        return;
    m_d.m_selRectEnd = m_d.m_pointerWorld;
    Redraw();
}

void CurveEditing::fEndSelectionRect(int16_t shift, float x, float y)
{
    if (!m_d.m_selectionRectActive)
        return;
    EndSelectionRectAt(shift, World(x, y));
}

void CurveEditing::EndSelectionRectAt(int16_t shift, const std::array<float, 3>& end)
{
    m_d.m_selectionRectActive = false;
    m_c.state.m_cameraDragActive = false;
    m_d.m_selRectEnd = end;
    RunGuarded(m_c.status, [&] {
        fApplySelectionRect(shift);
        if (m_c.state.m_mainCurve)
            m_c.state.m_mainCurve->QuickRefreshStop();
        m_c.parts.pointGrid->fGridSyncSelection();
    });
}

void CurveEditing::fApplySelectionRect(int16_t shift)
{
    const float tolerance = PickTolerance();
    std::array<float, 3> low{};
    std::array<float, 3> high{};
    for (size_t axis = 0; axis < 3; ++axis) {
        low[axis] = std::min(m_d.m_selRectStart[axis], m_d.m_selRectEnd[axis]);
        high[axis] = std::max(m_d.m_selRectStart[axis], m_d.m_selRectEnd[axis]);
        // A click without movement selects what a pick would.
        if (low[axis] == high[axis]) {
            low[axis] -= tolerance;
            high[axis] += tolerance;
        }
    }
    const auto h = static_cast<size_t>(ActiveView().HAxis());
    const auto v = static_cast<size_t>(ActiveView().VAxis());
    C3DCurveController& controller = *m_c.state.m_curveController;
    for (int32_t c = 0; c < controller.CurveCount(); ++c) {
        C3DCurve& curve = controller.Curves(c);
        if (!curve.IsVisible()) {
            curve.UnselectAllControls();
            continue;
        }
        for (int32_t i = 1; i <= curve.ControlsCount(); ++i) {
            const std::array<float, 3> p = curve.GetPosition(i);
            const bool inside = curve.GetHide(i) == 0.0f && p[h] >= low[h] && p[h] <= high[h] && p[v] >= low[v]
                                && p[v] <= high[v];
            if (inside) {
                if (shift == kCtrl)
                    curve.ToggleSelection(i);
                else
                    curve.SetSelected(i, true);
            } else if (shift == 0) {
                curve.SetSelected(i, false);
            }
        }
    }
    m_c.parts.editState->fUpdateDeselectMenu();
}

// ---- Moving the selection ---------------------------------------------------------

void CurveEditing::fStartMoveSelection()
{
    C3DCurve* hovered = HoveredCurve();
    if (m_c.state.m_cameraDragActive || !hovered)
        return;
    m_d.m_moveSelectionActive = true;
    m_c.state.m_cameraDragActive = true;
    C3DCurveController& controller = *m_c.state.m_curveController;
    m_movedCurves.clear();
    for (int32_t c = 0; c < controller.CurveCount(); ++c) {
        C3DCurve& curve = controller.Curves(c);
        if (curve.SelectedCount() > 0) {
            curve.BeginChange();
            m_movedCurves.emplace_back(curve);
        }
    }
    m_dragCurve = HeldCurve(*hovered);
    m_dragControl = m_hoverControl;
    hovered->QuickRefreshStart(false);
    m_dragRecord = hovered->GetControlRecord(m_hoverControl);
    m_dragLastPoint = hovered->GetPosition(m_hoverControl);
    m_dragDepth = m_dragLastPoint[static_cast<size_t>(ActiveView().DAxis())];
    m_dragLastPointer = m_d.m_pointerWorld;
    m_c.parts.pointGrid->fGridSelectRow(hovered, m_hoverControl, true);
}

void CurveEditing::fMoveSelectionStep()
{
    if (!m_d.m_moveSelectionActive)
        return;
    const std::array<float, 3>& pointer = m_d.m_pointerWorld;
    if (pointer == m_dragLastPointer)
        return;
    m_dragLastPointer = pointer;
    Guarded([&] {
        C3DCurve* grabbed = DragCurve();
        if (!grabbed || m_dragControl > grabbed->ControlsCount())
            return;
        const CView& view = ActiveView();
        const auto h = static_cast<size_t>(view.HAxis());
        const auto v = static_cast<size_t>(view.VAxis());
        const auto d = static_cast<size_t>(view.DAxis());
        bool snapped = false;
        fMagnetize(false, snapped);
        std::array<float, 3> delta{};
        if (m_d.m_snapFound) {
            for (size_t axis = 0; axis < 3; ++axis)
                delta[axis] = m_d.m_snapPoint[axis] - m_dragLastPoint[axis];
            m_dragLastPoint = m_d.m_snapPoint;
        } else {
            // The grabbed point keeps its depth.
            delta[h] = pointer[h] - m_dragLastPoint[h];
            delta[v] = pointer[v] - m_dragLastPoint[v];
            delta[d] = m_dragDepth - grabbed->GetPosition(m_dragControl)[d];
            m_dragLastPoint[h] = pointer[h];
            m_dragLastPoint[v] = pointer[v];
            m_dragLastPoint[d] = m_dragDepth;
        }
        C3DCurveController& controller = *m_c.state.m_curveController;
        for (int32_t c = 0; c < controller.CurveCount(); ++c) {
            C3DCurve& curve = controller.Curves(c);
            for (int32_t i = 1; i <= curve.ControlsCount(); ++i) {
                if (!curve.IsSelected(i))
                    continue;
                curve.SetX(i, curve.GetX(i) + delta[0]);
                curve.SetY(i, curve.GetY(i) + delta[1]);
                curve.SetZ(i, curve.GetZ(i) + delta[2]);
                curve.TangentUpdate(i, view.ViewFlag());
                curve.UpdateControlAngles(i);
            }
        }
        Redraw();
        C3DCurve* selected = SelectedCurve();
        if (selected && selected->SelectedCount() > 0) {
            IPointGridPanel& grid = *m_c.parts.pointGrid;
            grid.fGridStartChange();
            ScopeEnd end([&grid] { grid.fGridEndChange(true); });
            for (int32_t i = 1; i <= selected->ControlsCount(); ++i)
                if (selected->IsSelected(i))
                    grid.fGridUpdateCells(selected, i, kMovedCells);
        }
    });
}

void CurveEditing::fEndMoveSelection()
{
    if (!m_d.m_moveSelectionActive)
        return;
    m_d.m_moveSelectionActive = false;
    m_c.state.m_cameraDragActive = false;
    RunGuarded(m_c.status, [&] {
        C3DCurve* grabbed = DragCurve();
        if (grabbed)
            grabbed->QuickRefreshStop();
        // Each curve's bracket closes once, and the drag is one undo step
        // however many curves it moved.
        const std::vector<HeldCurve> moved = std::move(m_movedCurves);
        m_movedCurves.clear();
        IEditState& edit = *m_c.parts.editState;
        edit.fBeginUndoStep();
        ScopeEnd step([&edit] { edit.fEndUndoStep(); });
        for (const HeldCurve& held : moved) {
            C3DCurve* curve = held.Find(m_c.state.m_curveController.get());
            if (!curve)
                continue;
            curve->RoundControlsPosition();
            curve->EndChange();
        }
        if (grabbed && m_dragControl <= grabbed->ControlsCount())
            m_c.parts.pointGrid->fGridSelectRow(grabbed, m_dragControl, true);
    });
}

// ---- Dragging one point -------------------------------------------------------------

void CurveEditing::fStartMoveControl()
{
    C3DCurve* curve = HoveredCurve();
    if (m_c.state.m_cameraDragActive || !curve)
        return;
    m_d.m_moveControlActive = true;
    m_c.state.m_cameraDragActive = true;
    m_dragCurve = HeldCurve(*curve);
    m_dragControl = m_hoverControl;
    curve->BeginChange();
    curve->QuickRefreshStart(false);
    m_dragRecord = curve->GetControlRecord(m_hoverControl);
    m_dragLastPointer = m_d.m_pointerWorld;
    m_c.parts.pointGrid->fGridSelectRow(curve, m_hoverControl, true);
}

void CurveEditing::fMoveControlStep(int16_t shift)
{
    if (!m_d.m_moveControlActive)
        return;
    const std::array<float, 3>& pointer = m_d.m_pointerWorld;
    const CView& view = ActiveView();
    const auto h = static_cast<size_t>(view.HAxis());
    const auto v = static_cast<size_t>(view.VAxis());
    const auto d = static_cast<size_t>(view.DAxis());
    // Only when the pointer has moved to another pixel.
    if (pointer[h] == m_dragLastPointer[h] && pointer[v] == m_dragLastPointer[v])
        return;
    m_dragLastPointer = pointer;
    Guarded([&] {
        C3DCurve* curve = DragCurve();
        if (!curve || m_dragControl > curve->ControlsCount())
            return;
        const int32_t i = m_dragControl;
        bool snapped = false;
        if (shift == 0)
            fMagnetize(false, snapped);
        else
            m_d.m_snapFound = false;
        const std::array<float, 3> kept = {m_dragRecord.X, m_dragRecord.Y, m_dragRecord.Z};
        std::array<float, 3> position = kept;
        if (m_d.m_snapFound) {
            for (size_t axis = 0; axis < 3; ++axis)
                position[axis] = Round2(m_d.m_snapPoint[axis]);
        } else {
            // Shift: vertical only on the screen; Ctrl: horizontal only.
            if (shift != kShift)
                position[h] = Round2(pointer[h]);
            if (shift != kCtrl)
                position[v] = Round2(pointer[v]);
            position[d] = kept[d];
        }
        curve->SetAxe(i, 0, position[0]);
        curve->SetAxe(i, 1, position[1]);
        curve->SetAxe(i, 2, position[2]);
        curve->TangentUpdate(i, view.ViewFlag());
        curve->UpdateControlAngles(i);
        fUpdatePointCells(*curve, i, kMovedCells);
        Redraw();
    });
}

void CurveEditing::fEndMoveControl()
{
    EndOneCurveDrag(m_d.m_moveControlActive);
}

void CurveEditing::EndOneCurveDrag(bool& active)
{
    if (!active)
        return;
    active = false;
    m_c.state.m_cameraDragActive = false;
    RunGuarded(m_c.status, [&] {
        C3DCurve* curve = DragCurve();
        if (!curve)
            return;
        curve->QuickRefreshStop();
        curve->EndChange();
        if (m_dragControl <= curve->ControlsCount())
            m_c.parts.pointGrid->fGridSelectRow(curve, m_dragControl, true);
    });
}

// ---- Adding, inserting, deleting ------------------------------------------------------

bool CurveEditing::fCanAddControl(C3DCurve& curve, const QString& title)
{
    if (curve.CanAddControl(1))
        return true;
    m_c.status.fShowMessageBox(m_c.texts.fGetText(157), kInformationStyle, title);
    return false;
}

void CurveEditing::fAddControlAtPointer(float x, float y)
{
    C3DCurve* curve = SelectedCurve();
    if (!curve || !fCanAddControl(*curve, m_c.texts.fGetText(kPointAdditionTitle)))
        return;
    const std::array<float, 3> world = World(x, y);
    IPointGridPanel& grid = *m_c.parts.pointGrid;
    grid.fGridStartChange();
    ScopeEnd gridEnd([&grid] { grid.fGridEndChange(false); });
    {
        curve->BeginControlsCountChange();
        ScopeEnd countEnd([curve] { curve->EndControlsCountChange(); });
        if (m_d.m_snapFound)
            curve->AddControl3(m_d.m_snapPoint[0], m_d.m_snapPoint[1], m_d.m_snapPoint[2], 0.0f, 0.0f, 0.0f, false);
        else
            curve->AddControlFromViewPoint(world[static_cast<size_t>(ActiveView().HAxis())],
                                           world[static_cast<size_t>(ActiveView().VAxis())], ActiveView());
    }
    grid.fGridSelectRow(curve, curve->ControlsCount(), true);
}

void CurveEditing::fInsertAfterHovered()
{
    C3DCurve* curve = HoveredCurve();
    if (!curve)
        return;
    const int32_t n = curve->ControlsCount();
    const int32_t index = m_hoverControl;
    if (n < 2 || index < 1 || index > n - 1)
        return;
    if (!fCanAddControl(*curve, m_c.texts.fGetText(kPointAdditionTitle)))
        return;
    curve->InsertControl(index);
    m_c.parts.pointGrid->fGridSelectRow(curve, index + 1, true);
}

void CurveEditing::fDeleteHovered()
{
    C3DCurve* curve = HoveredCurve();
    if (!curve)
        return;
    const int32_t index = m_hoverControl;
    m_hoverControl = -1;
    curve->DeleteControl(index);
    fSelectGridRowAfterDelete(*curve, index);
}

void CurveEditing::fDeleteSelectedControls()
{
    RunGuarded(m_c.status, [&] {
        C3DCurveController& controller = *m_c.state.m_curveController;
        for (int32_t c = 0; c < controller.CurveCount(); ++c) {
            C3DCurve& curve = controller.Curves(c);
            std::vector<int32_t> numbers;
            if (!curve.GetSelectedNumbers(numbers))
                continue;
            {
                // One count change, so one undo step, for the curve.
                curve.BeginControlsCountChange();
                ScopeEnd end([&curve] { curve.EndControlsCountChange(); });
                for (auto it = numbers.rbegin(); it != numbers.rend(); ++it)
                    curve.DeleteControl(*it);
            }
            fSelectGridRowAfterDelete(curve, numbers.front());
        }
    });
    m_hoverControl = -1;
}

void CurveEditing::fSelectGridRowAfterDelete(C3DCurve& curve, int32_t index)
{
    if (curve.ControlsCount() > 0 && index > 1)
        m_c.parts.pointGrid->fGridSelectRow(&curve, index - 1, true);
    else
        m_c.parts.pointGrid->fGridClearSelection(&curve);
}

void CurveEditing::fInsertControlAtPreview()
{
    IPreviewPlayback& preview = *m_c.parts.preview;
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (preview.fIsPlaybackRunning() || !curve)
        return;
    if (!fCanAddControl(*curve, m_c.texts.fGetText(kPointAdditionTitle)))
        return;
    RunGuarded(m_c.status, [&] {
        if (!preview.fIsPreviewLocked()) {
            curve->AddControlFromCamera(m_c.state.m_camera);
            return;
        }
        if (preview.fIsPreviewAtControl())
            return;
        ControlRecord sample;
        const int32_t index = preview.fGetPreviewSample();
        if (index == -1 || !preview.fGetPreviewSampleRecord(index, sample)) {
            m_c.status.fShowMessageBox(QStringLiteral("Unable to find the locked position on the curve."),
                                       kExclamationStyle, QStringLiteral("Curve control insertion"));
            return;
        }
        // After the control that starts the sample's segment.
        curve->InsertControlRecord(sample, sample.SegmentNumber);
    });
}

void CurveEditing::fDeleteControlAtPreview()
{
    IPreviewPlayback& preview = *m_c.parts.preview;
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (!curve || !preview.fIsPreviewLocked() || preview.fIsPlaybackRunning() || !preview.fIsPreviewAtControl())
        return;
    const int32_t index = preview.fGetPreviewControl();
    if (index == -1 || index > curve->ControlsCount()) {
        m_c.status.fShowMessageBox(QStringLiteral("Unable to find the locked position on the curve."),
                                   kExclamationStyle, QStringLiteral("Curve control deletion"));
        return;
    }
    RunGuarded(m_c.status, [&] {
        curve->DeleteControl(index);
        fSelectGridRowAfterDelete(*curve, index);
    });
}

// ---- Tangents --------------------------------------------------------------------------

void CurveEditing::fStartTangentDrag()
{
    C3DCurve* curve = HoveredCurve();
    if (m_c.state.m_cameraDragActive || !curve)
        return;
    m_d.m_tangentDragActive = true;
    m_c.state.m_cameraDragActive = true;
    m_dragCurve = HeldCurve(*curve);
    m_dragControl = m_hoverControl;
    m_dragTangent = m_hoverTangent;
    curve->BeginChange();
    curve->QuickRefreshStart(false);
}

void CurveEditing::fTangentDragStep(int16_t shift)
{
    if (!m_d.m_tangentDragActive)
        return;
    Guarded([&] {
        C3DCurve* curve = DragCurve();
        // A handle starts a segment: the point and the one after it.
        if (!curve || m_dragControl >= curve->ControlsCount())
            return;
        curve->DragTangent(ActiveView(), m_dragControl, m_dragTangent, m_d.m_pointerWorld,
                           static_cast<uint8_t>(shift));
        Redraw();
    });
}

void CurveEditing::fEndTangentDrag()
{
    EndOneCurveDrag(m_d.m_tangentDragActive);
}

// ---- Look-at ----------------------------------------------------------------------------

void CurveEditing::fStartLookAtDrag()
{
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (m_c.state.m_cameraDragActive || !curve || !curve->GetSelectedNumbers(m_lookAtNumbers))
        return;
    m_d.m_lookAtDragActive = true;
    m_c.state.m_cameraDragActive = true;
    m_lookAtDragMoved = false;
    m_dragCurve = HeldCurve(*curve);
    curve->StoreControlAngles();
    curve->StoreControlTargets();
    // The angles of the first selected point: the targets' angles are
    // unwrapped towards them, so that they follow the drag without jumps.
    m_lookAtRefPitch = curve->GetPitch(m_lookAtNumbers.front());
    m_lookAtRefYaw = curve->GetYaw(m_lookAtNumbers.front());
    m_c.parts.pointGrid->fGridSyncSelection();
}

void CurveEditing::fLookAtStep(int16_t shift, float x, float y)
{
    if (!m_d.m_lookAtDragActive)
        return;
    Guarded([&] {
        C3DCurve* curve = DragCurve();
        if (!curve)
            return;
        if (!m_lookAtDragMoved) {
            if (MCommon::RoundHalfEven(x) == m_d.m_mouseDownX
                && MCommon::RoundHalfEven(y) == m_d.m_mouseDownY)
                return;
            m_lookAtDragMoved = true;
            curve->BeginChange();
            curve->QuickRefreshStart(false);
        }
        const CView& view = ActiveView();
        const auto h = static_cast<size_t>(view.HAxis());
        const auto v = static_cast<size_t>(view.VAxis());
        const auto d = static_cast<size_t>(view.DAxis());
        const std::array<float, 3>& pointer = m_d.m_pointerWorld;
        bool found = false;
        C3DCurve* under = fPickControl(pointer[h], pointer[v], found);
        const std::array<float, 3> onPoint = found ? under->GetPosition(m_hoverControl) : std::array<float, 3>{};
        for (int32_t i : m_lookAtNumbers) {
            if (i > curve->ControlsCount())
                continue;
            std::array<float, 3> target = onPoint;
            if (!found) {
                target[h] = pointer[h];
                target[v] = pointer[v];
                target[d] = (shift & kCtrl) ? curve->GetPosition(i)[d]
                                            : curve->GetStoredTarget(i, static_cast<int32_t>(d));
            }
            curve->SetControlTarget(i, target[0], target[1], target[2], m_lookAtRefPitch, m_lookAtRefYaw);
            fUpdatePointCells(*curve, i, kTargetCells);
        }
        Redraw();
    });
}

void CurveEditing::fEndLookAtDrag()
{
    if (!m_d.m_lookAtDragActive)
        return;
    m_d.m_lookAtDragActive = false;
    m_c.state.m_cameraDragActive = false;
    RunGuarded(m_c.status, [&] {
        C3DCurve* curve = DragCurve();
        if (curve && m_lookAtDragMoved) {
            curve->QuickRefreshStop();
            curve->EndChange();
        }
        m_lookAtDragMoved = false;
        m_c.parts.pointGrid->fGridSyncSelection();
    });
}

// ---- The end of a drag that lost its release ---------------------------------------------

void CurveEditing::fEndDragOnFocusLoss()
{
    if (m_d.m_selectionRectActive)
        EndSelectionRectAt(0, m_d.m_selRectEnd);
    fEndMoveSelection();
    fEndMoveControl();
    fEndTangentDrag();
    fEndLookAtDrag();
}

// ---- Magnetize ------------------------------------------------------------------------------

void CurveEditing::fMagnetize(bool refresh, bool& found)
{
    m_d.m_snapFound = false;
    found = false;
    if (!m_c.parts.mapBinding->fIsMapLoaded() || !m_c.state.m_map || !m_c.state.m_view)
        return;
    QAction* magnetize = m_c.menus.Action(QStringLiteral("mnuMapMagnetize"));
    if (magnetize && magnetize->isChecked()) {
        const CView& view = ActiveView();
        m_d.m_snapPoint[static_cast<size_t>(view.HAxis())] = m_d.m_pointerWorld[static_cast<size_t>(view.HAxis())];
        m_d.m_snapPoint[static_cast<size_t>(view.VAxis())] = m_d.m_pointerWorld[static_cast<size_t>(view.VAxis())];
        const int32_t plane = view.ViewFlag() == CView::ViewXZ ? 1 : view.ViewFlag() == CView::ViewYZ ? 2 : 0;
        std::array<float, 3>& p = m_d.m_snapPoint;
        m_d.m_snapFound = m_c.state.m_map->SearchCorner(p[0], p[1], p[2], plane, kSnapZone);
        m_d.m_snapShown = m_d.m_snapFound;
        if (refresh)
            Redraw();
    } else if (m_d.m_snapShown) {
        m_d.m_snapShown = false;
        if (refresh)
            Redraw();
    }
    found = m_d.m_snapFound;
}
