#pragma once

#include <cstdint>

struct MainContext;

// The curve tools of the 2D views: picking, the hover feedback, the tools'
// presses, drags and releases, adding, inserting and deleting points.
class ICurveEditing
{
public:
    virtual ~ICurveEditing() = default;

    // Button 1 pressed in a 2D view with tool 0 to 3 active (the zoom tool
    // is the zoom's); shift 1 Shift, 2 Ctrl, 4 Alt; pixels of the view.
    virtual void fToolMouseDown(int32_t /*tool*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
    // Button 2 pressed in a 2D view: resets the hovered tangent handle of
    // tool 2; false when there was none (the view pans then).
    virtual bool fResetHoveredTangent(int32_t /*tool*/, int16_t /*shift*/) { return false; }
    // The pointer moved while no drag runs.
    virtual void fHoverFeedback(int16_t /*button*/, int16_t /*shift*/) {}
    // The drags' steps, one per pointer move.
    virtual void fSelectionRectStep() {}
    virtual void fMoveSelectionStep() {}
    virtual void fTangentDragStep(int16_t /*shift*/) {}
    virtual void fLookAtStep(int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void fMoveControlStep(int16_t /*shift*/) {}
    // The drags' ends, on the release of button 1.
    virtual void fEndSelectionRect(int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void fEndMoveSelection() {}
    virtual void fEndTangentDrag() {}
    virtual void fEndLookAtDrag() {}
    virtual void fEndMoveControl() {}
    // Deletes the selected points of every curve (the Delete key).
    virtual void fDeleteSelectedControls() {}
};

class CurveEditing final : public ICurveEditing
{
public:
    explicit CurveEditing(MainContext& context) : m_c(context) {}

private:
    MainContext& m_c;
};
