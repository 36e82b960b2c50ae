#include "CurveEditing.h"


C3DCurve* CurveEditing::fPickControl(float, float, bool&)
{
    return nullptr;
}

C3DCurve* CurveEditing::fPickTangent(float, float, bool&)
{
    return nullptr;
}

void CurveEditing::fHoverFeedback(int16_t, int16_t)
{
}

void CurveEditing::fToolMouseDown(int32_t, int16_t, float, float)
{
}

bool CurveEditing::fTangentResetMouseDown(int16_t)
{
    return false;
}

void CurveEditing::fSelectionRectStep()
{
}

void CurveEditing::fMoveSelectionStep()
{
}

void CurveEditing::fMoveControlStep(int16_t)
{
}

void CurveEditing::fTangentDragStep(int16_t)
{
}

void CurveEditing::fLookAtStep(int16_t, float, float)
{
}

void CurveEditing::fEndSelectionRect(int16_t, float, float)
{
}

void CurveEditing::fEndMoveSelection()
{
}

void CurveEditing::fEndMoveControl()
{
}

void CurveEditing::fEndTangentDrag()
{
}

void CurveEditing::fEndLookAtDrag()
{
}

void CurveEditing::fEndDragOnFocusLoss()
{
}

void CurveEditing::fDeleteSelectedControls()
{
}

void CurveEditing::fInsertControlAtPreview()
{
}

void CurveEditing::fDeleteControlAtPreview()
{
}

void CurveEditing::fMagnetize(bool, bool&)
{
}

void CurveEditing::fStartSelectionRect(float, float)
{
}

void CurveEditing::fStartMoveSelection()
{
}

void CurveEditing::fStartMoveControl()
{
}

void CurveEditing::fStartTangentDrag()
{
}

void CurveEditing::fStartLookAtDrag()
{
}

void CurveEditing::fApplySelectionRect(int16_t)
{
}

void CurveEditing::fAddControlAtPointer(float, float)
{
}

void CurveEditing::fInsertAfterHovered()
{
}

void CurveEditing::fDeleteHovered()
{
}

bool CurveEditing::fCanAddControl(C3DCurve&, const QString&)
{
    return false;
}

void CurveEditing::fSelectGridRowAfterDelete(C3DCurve&, int32_t)
{
}
