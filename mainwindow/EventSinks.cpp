#include "EventSinks.h"


void EventSinks::fConnectControlSinks()
{
}

void EventSinks::cmCurveManager_SelectedCurveChanged()
{
}

void EventSinks::cmCurveManager_CurveOptionChanged(C3DCurve&, int32_t)
{
}

void EventSinks::cmCurveManager_CurveAdded(C3DCurve&)
{
}

void EventSinks::cmCurveManager_CurveStartTimeChanged(C3DCurve&)
{
}

void EventSinks::cmCurveManager_CurveDurationChanged(C3DCurve&)
{
}

void EventSinks::cmCurveManager_EditingStateChanged()
{
}

void EventSinks::mFramerateHandler_RightClick(int32_t, int32_t)
{
}

void EventSinks::mFramerateHandler_TraceSpecificValueChanged()
{
}

void EventSinks::mFramerateHandler_ValueChanged(int32_t)
{
}

void EventSinks::mFramerateHandler_EditingChanged(bool)
{
}

void EventSinks::mFramerateHandler_OnValidation(int32_t&, bool&)
{
}
void EventSinks::CurveCountChanged() {}
void EventSinks::StepCountChanged(C3DCurve&, int32_t) {}
void EventSinks::DurationChanged(C3DCurve&) {}
void EventSinks::ControlsCountChanged(C3DCurve&) {}
void EventSinks::CurveChanged(C3DCurve&) {}
void EventSinks::QuickRefreshStopped(C3DCurve&) {}
