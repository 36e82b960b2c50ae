#pragma once

// Shared helpers of the curve tests: an event recorder and direct access to
// the control array, so that a test can lay out exactly the controls it needs.

#include "C3DCurve.h"

#include <string>
#include <vector>

struct C3DCurveTestAccess
{
    static ControlRecord& Rec(C3DCurve& c, int32_t i) { return c.mControls[static_cast<size_t>(i)]; }
    static void SetCount(C3DCurve& c, int32_t n) { c.m_controlsCount = n; }
    static void SetRawStepRate(C3DCurve& c, int32_t r) { c.m_stepRate = r; }
    static void AfterCountChange(C3DCurve& c, bool raise) { c.AfterControlsCountChange(raise); }
    static void RaiseCurveChanged(C3DCurve& c) { c.RaiseCurveChanged(); }
    static void ComputeAutoTangent(C3DCurve& c, int32_t i, uint8_t k, int32_t mask, bool force)
    {
        c.ComputeAutoTangent(i, k, mask, force);
    }
    static bool SnapControlTimes(C3DCurve& c) { return c.SnapControlTimes(); }
    static double AimDistance(const C3DCurve& c, int32_t i) { return c.GetAimDistance(i); }
    static CurveChannel TargetPoints(const C3DCurve& c) { return c.GetTargetPoints(); }
    static CurveChannel AimDistances(const C3DCurve& c) { return c.GetAimDistances(); }
    static void SetTime(C3DCurve& c, int32_t i, float v) { c.SetTime(i, v); }
    static void SetTargetX(C3DCurve& c, int32_t i, float v) { c.SetTargetX(i, v); }
    static int32_t StepCounts(const C3DCurve& c, std::vector<int32_t>& steps, bool limit)
    {
        return c.GetSegmentStepCounts(steps, limit);
    }

    // Appends controls at the given positions (times 0, 1, 2, ... seconds),
    // without any event, as a fresh control each.
    struct Point
    {
        float x, y, z;
    };
    static void Lay(C3DCurve& c, const std::vector<Point>& points)
    {
        int32_t n = 0;
        for (const Point& p : points) {
            ++n;
            ControlRecord r = NewControlRecord();
            r.X = p.x;
            r.Y = p.y;
            r.Z = p.z;
            r.Time = n - 1;
            c.mControls[static_cast<size_t>(n)] = r;
        }
        c.m_controlsCount = n;
        if (n >= 1) {
            c.mControls[0] = c.mControls[1];
            c.mControls[static_cast<size_t>(n + 1)] = c.mControls[static_cast<size_t>(n)];
        }
    }
};

// Records the events of a curve as short texts, in the order they came.
class CurveEventLog : public I3DCurveEvents
{
public:
    std::vector<std::string> events;

    void StepCountChanged(C3DCurve&, int32_t value) override
    {
        events.push_back("StepCount(" + std::to_string(value) + ")");
    }
    void StepRateChanged(C3DCurve&) override { events.push_back("StepRate"); }
    void DurationChanged(C3DCurve&) override { events.push_back("Duration"); }
    void ControlsCountChanged(C3DCurve&) override { events.push_back("ControlsCount"); }
    void CurveChanged(C3DCurve&) override { events.push_back("CurveChanged"); }
    void QuickRefreshStopped(C3DCurve&) override { events.push_back("QuickRefreshStopped"); }

    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(events);
        return out;
    }
};
