#pragma once

#include "ControlRecord.h"

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

    // ---- Picks and hover --------------------------------------------------
    // The first visible curve (controller order) with a point within 4
    // pixels of (h, v), on the active view's two axes; the hover state
    // follows. Null (and found false) when none.
    virtual C3DCurve* fPickControl(float h, float v, bool& found) = 0;
    // The same for the tangent handles.
    virtual C3DCurve* fPickTangent(float h, float v, bool& found) = 0;
    // The pointer moved in a 2D view (or with tool 5) while no drag runs.
    virtual void fHoverFeedback(int16_t button, int16_t shift) = 0;

    // ---- Presses in a 2D view (m_mouseDownX/Y and m_pointerWorld set) ------
    // Button 1 with tool 0 to 3; other tools are not handled here.
    virtual void fToolMouseDown(int32_t tool, int16_t shift, float x, float y) = 0;
    // Button 2: true when the tangent tool reset the handle under the
    // pointer (the view then does not pan).
    virtual bool fTangentResetMouseDown(int16_t shift) = 0;

    // ---- The drags (one at a time) ---------------------------------------
    virtual bool SelectionRectActive() const = 0;
    virtual bool MoveSelectionActive() const = 0;
    virtual bool MoveControlActive() const = 0;
    virtual bool TangentDragActive() const = 0;
    virtual bool LookAtDragActive() const = 0;
    // Mouse moves while the drag runs.
    virtual void fSelectionRectStep() = 0;
    virtual void fMoveSelectionStep() = 0;
    virtual void fMoveControlStep(int16_t shift) = 0;
    virtual void fTangentDragStep(int16_t shift) = 0;
    virtual void fLookAtStep(int16_t shift, float x, float y) = 0;
    // Release of button 1.
    virtual void fEndSelectionRect(int16_t shift, float x, float y) = 0;
    virtual void fEndMoveSelection() = 0;
    virtual void fEndMoveControl() = 0;
    virtual void fEndTangentDrag() = 0;
    virtual void fEndLookAtDrag() = 0;
    // The view lost the focus or the pointer: the running drag ends as its
    // release would have ended it.
    virtual void fEndDragOnFocusLoss() = 0;

    // ---- Commands ------------------------------------------------------------
    // The Delete key of a 2D view: the selected points of every curve.
    virtual void fDeleteSelectedControls() = 0;
    // Insert and Delete in the 3D view, at the preview's position.
    virtual void fInsertControlAtPreview() = 0;
    virtual void fDeleteControlAtPreview() = 0;
    // Searches the map corner near the pointer when Magnetize is on.
    virtual void fMagnetize(bool refresh, bool& found) = 0;

    // ---- What the scene draws --------------------------------------------
    virtual const std::array<float, 3>& SelectionRectStart() const = 0;
    virtual const std::array<float, 3>& SelectionRectEnd() const = 0;
    // A map corner was found for the pointer's position.
    virtual bool SnapFound() const = 0;
    virtual const std::array<float, 3>& SnapPoint() const = 0;
};

class CurveEditing final : public ICurveEditing
{
public:
    explicit CurveEditing(MainContext& context) : m_c(context) {}

    C3DCurve* fPickControl(float h, float v, bool& found) override;
    C3DCurve* fPickTangent(float h, float v, bool& found) override;
    void fHoverFeedback(int16_t button, int16_t shift) override;

    void fToolMouseDown(int32_t tool, int16_t shift, float x, float y) override;
    bool fTangentResetMouseDown(int16_t shift) override;

    bool SelectionRectActive() const override { return m_selectionRectActive; }
    bool MoveSelectionActive() const override { return m_moveSelectionActive; }
    bool MoveControlActive() const override { return m_moveControlActive; }
    bool TangentDragActive() const override { return m_tangentDragActive; }
    bool LookAtDragActive() const override { return m_lookAtDragActive; }
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
    void fMagnetize(bool refresh, bool& found) override;

    const std::array<float, 3>& SelectionRectStart() const override { return m_selRectStart; }
    const std::array<float, 3>& SelectionRectEnd() const override { return m_selRectEnd; }
    bool SnapFound() const override { return m_snapFound; }
    const std::array<float, 3>& SnapPoint() const override { return m_snapPoint; }

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
    const QString& HoverCurveName() const { return m_hoverCurveName; }
    uint8_t HoverTangent() const { return m_hoverTangent; }

private:
    // The curve of the hovered point, found again by its name; null when
    // no curve has that name any more or it lost the point.
    C3DCurve* HoveredCurve();
    // The curve the running drag works on, found again by its name.
    C3DCurve* DragCurve();
    C3DCurve* SelectedCurve();
    const CView& ActiveView() const;
    // 4 pixels in world units.
    float PickTolerance() const;
    // The pick loop over the visible curves; `find` gives a point's index
    // (and tangent) in one curve.
    template <class Find>
    C3DCurve* Pick(Find&& find, bool& found);
    // The picks of a tool (the tangent tool's handles first) at a world point.
    void PickAt(int32_t tool, const std::array<float, 3>& world);
    void EndSelectionRectAt(int16_t shift, const std::array<float, 3>& end);
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

    int32_t m_hoverControl = -1;
    QString m_hoverCurveName;
    uint8_t m_hoverTangent = 0;
    float m_pickTolerance = 0.0f;

    bool m_selectionRectActive = false;
    std::array<float, 3> m_selRectStart{};
    std::array<float, 3> m_selRectEnd{};
    bool m_moveSelectionActive = false;
    bool m_moveControlActive = false;
    bool m_tangentDragActive = false;
    bool m_lookAtDragActive = false;
    bool m_lookAtDragMoved = false;
    // The grabbed point: its curve (by name), number, handle and record.
    QString m_dragCurveName;
    int32_t m_dragControl = 0;
    uint8_t m_dragTangent = 0;
    ControlRecord m_dragRecord{};
    // The pointer at the last processed drag move.
    std::array<float, 3> m_dragLastPointer{};
    // The moving selection: its last point and the grabbed point's depth.
    std::array<float, 3> m_dragLastPoint{};
    float m_dragDepth = 0.0f;
    // The curves a selection move opened a bracket on.
    std::vector<QString> m_movedCurveNames;
    // The look-at drag: the selected points and the reference angles.
    std::vector<int32_t> m_lookAtNumbers;
    float m_lookAtRefPitch = 0.0f;
    float m_lookAtRefYaw = 0.0f;

    std::array<float, 3> m_snapPoint{};
    bool m_snapFound = false;
    bool m_snapShown = false;
    int32_t m_lastGridSyncedControl = -1;
};
