#pragma once

// Helpers of the flight tests (sampling, records, editing, roll): curves
// laid out with exact step counts, and access to the sampling steps.

#include "test_C3DCurveSupport.h"

#include <cmath>

struct C3DCurveFlightTestAccess
{
    static std::vector<double> SegmentParameters(const std::vector<int32_t>& steps)
    {
        return C3DCurve::GetSegmentParameters(steps);
    }
    // Positions and segment numbers as the drawing asks for them.
    static int32_t SamplePositions(C3DCurve& c, bool limit, C3DCurve::SampleTable& positions,
                                   std::vector<int32_t>& segments, std::vector<int32_t>& steps)
    {
        return c.SampleCurveChannels(steps, positions, nullptr, nullptr, nullptr, nullptr, segments,
                                     limit, true, false);
    }
};

namespace flight {

using T = C3DCurveTestAccess;
using F = C3DCurveFlightTestAccess;

// Lays controls at the points and times them so that segment k has exactly
// steps[k] frames at the given rate (timescale 1), tangents automatic. No
// event, no snapping.
inline void LayWithSteps(C3DCurve& c, const std::vector<T::Point>& points,
                         const std::vector<int32_t>& steps, int32_t rate)
{
    T::Lay(c, points);
    T::SetRawStepRate(c, rate);
    double t = 0.0;
    for (size_t k = 0; k < steps.size(); ++k) {
        t += static_cast<double>(steps[k]) / rate;
        T::Rec(c, static_cast<int32_t>(k) + 2).Time = t;
    }
    c.TangentSetAll(1);
}

// Points along a straight line on X, 10 units apart.
inline std::vector<T::Point> Line(int count)
{
    std::vector<T::Point> p;
    for (int i = 0; i < count; ++i)
        p.push_back({10.0f * i, 0.0f, 0.0f});
    return p;
}

// The frame index at which each control is reached: the sum of the step
// counts of the segments before it.
inline std::vector<int32_t> ControlFrames(const std::vector<int32_t>& steps)
{
    std::vector<int32_t> at{0};
    for (int32_t s : steps)
        at.push_back(at.back() + s);
    return at;
}

inline bool RecordIsFinite(const ControlRecord& r)
{
    return std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Z) &&
           std::isfinite(r.Pitch) && std::isfinite(r.Yaw) && std::isfinite(r.Roll) &&
           std::isfinite(r.Fov) && std::isfinite(r.Timescale) && std::isfinite(r.Time);
}

}  // namespace flight
