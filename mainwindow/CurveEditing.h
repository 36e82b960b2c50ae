#pragma once

#include "ControlRecord.h"
#include "HeldCurve.h"
#include "ViewDrags.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class C3DCurve;
class CView;
struct MainContext;

// The curve tools of the 2D views: picking a point or a tangent handle
// under the pointer, the hover feedback, the presses of the tools 0 to 3
// (selection, points, tangents, look-at), the drags they start, adding,
// inserting and deleting points (also at the preview position), and the
// snap to map corners. The view input routes the view control's events
// here; the edits reach the undo history through the curves' change
// brackets only.
//
// Shift arguments are the view control's key flags: 1 Shift, 2 Ctrl, 4 Alt.
class ICurveEditing
{
public:
    virtual ~ICurveEditing() = default;

    // ---- Presses in a 2D view (the drags' pointer state is set) -----------
    // Button 1 pressed in a 2D view with tool 0 to 3 active (the zoom tool
    // is the zoom's); pixels of the view.
    virtual void fToolMouseDown(int32_t /*tool*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
    // Button 2 pressed in a 2D view: resets the hovered tangent handle of
    // tool 2; false when there was none (the view pans then).
    virtual bool fResetHoveredTangent(int32_t /*tool*/, int16_t /*shift*/) { return false; }
    // The pointer moved while no drag runs.
    virtual void fHoverFeedback(int16_t /*button*/, int16_t /*shift*/) {}

    // ---- The drags (their flags are the view's, MainState::m_drags) ------
    // The steps, one per pointer move.
    virtual void fSelectionRectStep() {}
    virtual void fMoveSelectionStep() {}
    virtual void fTangentDragStep(int16_t /*shift*/) {}
    virtual void fLookAtStep(int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void fMoveControlStep(int16_t /*shift*/) {}
    // The ends, on the release of button 1.
    virtual void fEndSelectionRect(int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void fEndMoveSelection() {}
    virtual void fEndTangentDrag() {}
    virtual void fEndLookAtDrag() {}
    virtual void fEndMoveControl() {}
    // The view lost the focus or the pointer: the running drag ends as its
    // release would have ended it.
    virtual void fEndDragOnFocusLoss() {}

    // ---- Commands ------------------------------------------------------------
    // Deletes the selected points of every curve (the Delete key).
    virtual void fDeleteSelectedControls() {}
    // Insert and Delete in the 3D view, at the preview's position.
    virtual void fInsertControlAtPreview() {}
    virtual void fDeleteControlAtPreview() {}

    // ---- For the point grid --------------------------------------------------
    // True when the curve can take one more point; otherwise the user is
    // told so in a box with that title.
    virtual bool fCanAddControl(C3DCurve& /*curve*/, const QString& /*title*/) { return true; }
};

class CurveEditing final : public ICurveEditing
{
public:
    explicit CurveEditing(MainContext& context);

    void fToolMouseDown(int32_t tool, int16_t shift, float x, float y) override;
    bool fResetHoveredTangent(int32_t tool, int16_t shift) override;
    void fHoverFeedback(int16_t button, int16_t shift) override;

    void fSelectionRectStep() override;
    void fMoveSelectionStep() override;
    void fMoveControlStep(int16_t shift) override;
    void fTangentDragStep(int16_t shift) override;
    void fLookAtStep(int16_t shift, float x, float y) override;
    void fEndSelectionRect(int16_t shift, float x, float y) override;
    void fEndMoveSelection() override;
    void fEndMoveControl() override;
    void fEndTangentDrag() override;
    void fEndLookAtDrag() override;
    void fEndDragOnFocusLoss() override;

    void fDeleteSelectedControls() override;
    void fInsertControlAtPreview() override;
    void fDeleteControlAtPreview() override;

    // ---- Picks and magnetizing -------------------------------------------------
    // The first visible curve (controller order) with a point within 4
    // pixels of (h, v) on the active view's two axes; the hover state
    // follows. Null (and found false) when none.
    C3DCurve* fPickControl(float h, float v, bool& found);
    // The same for the tangent handles.
    C3DCurve* fPickTangent(float h, float v, bool& found);
    // Searches the map corner near the pointer when Magnetize is on.
    void fMagnetize(bool refresh, bool& found);

    // ---- The steps the presses run (public for the tests) -----------------
    void fStartSelectionRect(float x, float y);
    void fStartMoveSelection();
    void fStartMoveControl();
    void fStartTangentDrag();
    void fStartLookAtDrag();
    void fApplySelectionRect(int16_t shift);
    void fAddControlAtPointer(float x, float y);
    void fInsertAfterHovered();
    void fDeleteHovered();
    // False (after the limit message titled `title`) when the curve is full.
    bool fCanAddControl(C3DCurve& curve, const QString& title);
    void fSelectGridRowAfterDelete(C3DCurve& curve, int32_t index);

    int32_t HoverControl() const { return m_hoverControl; }
    const QString& HoverCurveName() const { return m_hoverCurve.Name(); }
    uint8_t HoverTangent() const { return m_hoverTangent; }
    // The drags' flags and markers, as the view's state holds them.
    bool SelectionRectActive() const;
    bool MoveSelectionActive() const;
    bool MoveControlActive() const;
    bool TangentDragActive() const;
    bool LookAtDragActive() const;
    bool SnapFound() const;

private:
    // The curve of the hovered point; null when the curve is gone or it
    // lost the point.
    C3DCurve* HoveredCurve();
    // The curve the running drag works on; null when it is gone.
    C3DCurve* DragCurve();
    C3DCurve* SelectedCurve();
    const CView& ActiveView() const;
    std::array<float, 3> World(float x, float y);
    // 4 pixels in world units.
    float PickTolerance() const;
    // The pick loop over the visible curves; `find` gives a point's index
    // (and tangent) in one curve.
    template <class Find>
    C3DCurve* Pick(Find&& find, bool& found);
    // The picks of a tool (the tangent tool's handles first) at a world point.
    void PickAt(int32_t tool, const std::array<float, 3>& world);
    void EndSelectionRectAt(int16_t shift, const std::array<float, 3>& end);
    // The end of the point and tangent drags: the curve's quick refresh
    // and change bracket close, its row is chosen, the drag flag clears.
    void EndOneCurveDrag(bool& active);
    void Redraw();
    void ShowInfo(int32_t textId, int32_t titleId);
    // The Alt hover: the game's camera command for the point on the clipboard.
    void fCopyControlCommand(C3DCurve& curve, int32_t index);
    // Grid cells of a point, when its curve is the one the grid shows.
    void fUpdatePointCells(C3DCurve& curve, int32_t index, const std::array<int32_t, 10>& cells);
    // Runs a drag step; a step that fails ends the drag with its brackets
    // closed.
    template <class F>
    void Guarded(F&& step);

    MainContext& m_c;
    // The drags' flags, the pointer and the markers the scene draws.
    ViewDrags& m_d;

    int32_t m_hoverControl = -1;
    HeldCurve m_hoverCurve;
    uint8_t m_hoverTangent = 0;
    float m_pickTolerance = 0.0f;

    bool m_lookAtDragMoved = false;
    // The grabbed point: its curve, number, handle and record.
    HeldCurve m_dragCurve;
    int32_t m_dragControl = 0;
    uint8_t m_dragTangent = 0;
    ControlRecord m_dragRecord{};
    // The pointer at the last processed drag move.
    std::array<float, 3> m_dragLastPointer{};
    // The moving selection: its last point and the grabbed point's depth.
    std::array<float, 3> m_dragLastPoint{};
    float m_dragDepth = 0.0f;
    // The curves a selection move opened a bracket on.
    std::vector<HeldCurve> m_movedCurves;
    // The look-at drag: the selected points and the reference angles.
    std::vector<int32_t> m_lookAtNumbers;
    float m_lookAtRefPitch = 0.0f;
    float m_lookAtRefYaw = 0.0f;

    int32_t m_lastGridSyncedControl = -1;
};
