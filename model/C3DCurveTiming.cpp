// Frames and control times: how many frames each segment spans at a step
// rate, and keeping the control times on whole frames.
#include "C3DCurve.h"

#include "C3DCurveRound.h"
#include "RuvError.h"

#include <algorithm>


double C3DCurve::GetSegmentRawSteps(int32_t index, int32_t rate) const
{
    const ControlRecord& a = Record(index, "C3DCurve.GetSegmentRawSteps");
    const ControlRecord& b = Record(index + 1, "C3DCurve.GetSegmentRawSteps");
    const double r = rate == -1 ? static_cast<double>(m_stepRate) : static_cast<double>(rate);
    const double tsSum = static_cast<double>(b.Timescale) + static_cast<double>(a.Timescale);
    // A record copied in raw (timescale 0) must not turn the count infinite.
    if (!(tsSum > 0.0))
        return 0.0;
    return (b.Time - a.Time) * (r + r) / tsSum;
}

int32_t C3DCurve::GetSegmentStepCounts(std::vector<int32_t>& steps, bool limit, int32_t rate) const
{
    const int32_t n = m_controlsCount;
    steps.clear();
    if (n < 2)
        return 0;
    steps.resize(static_cast<size_t>(n - 1));
    int64_t sum = 0;
    for (int32_t k = 0; k < n - 1; ++k) {
        steps[static_cast<size_t>(k)] = CurveRound::ToInt32(GetSegmentRawSteps(k + 1, rate));
        sum += steps[static_cast<size_t>(k)];
    }
    const auto frames = static_cast<int32_t>(std::clamp<int64_t>(sum + 1, INT32_MIN, INT32_MAX));
    if (!limit)
        return frames;
    const int32_t cap = GetDrawnSampleCount(frames, true);
    if (frames <= cap)
        return frames;
    const int32_t each = cap / (n - 1);
    std::fill(steps.begin(), steps.end(), each);
    return each * (n - 1) + 1;
}

int32_t C3DCurve::GetSampleCount() const
{
    if (m_controlsCount < 2)
        return 0;
    std::vector<int32_t> steps;
    return GetSegmentStepCounts(steps, false);
}

double C3DCurve::GetSegmentStepsDuration(int32_t index, int32_t steps) const
{
    const ControlRecord& a = Record(index, "C3DCurve.GetSegmentStepsDuration");
    const ControlRecord& b = Record(index + 1, "C3DCurve.GetSegmentStepsDuration");
    // Without a step rate there is no frame grid; nothing has a duration.
    if (m_stepRate < 1)
        return 0.0;
    return (static_cast<double>(b.Timescale) + static_cast<double>(a.Timescale)) *
           (steps / 2.0 / m_stepRate);
}

int32_t C3DCurve::GetSegmentStepRate(int32_t index, int32_t steps) const
{
    const ControlRecord& a = Record(index, "C3DCurve.GetSegmentStepRate");
    const ControlRecord& b = Record(index + 1, "C3DCurve.GetSegmentStepRate");
    const double span = b.Time - a.Time;
    if (span == 0.0)
        throw RuvError::Platform(RuvError::DivisionByZero, QStringLiteral("C3DCurve.GetSegmentStepRate"));
    return CurveRound::ToInt32(steps / 2.0 / span *
                               (static_cast<double>(b.Timescale) + static_cast<double>(a.Timescale)));
}

bool C3DCurve::EnsureSegmentMinSteps(int32_t index)
{
    if (m_stepRate < 1)
        return true;
    const double raw = GetSegmentRawSteps(index - 1);
    if (CurveRound::ToInt32(raw) >= 2)
        return true;
    ControlRecord& r = Record(index, "C3DCurve.EnsureSegmentMinSteps");
    r.Time = mControls[static_cast<size_t>(index - 1)].Time + GetSegmentStepsDuration(index - 1, 2);
    return false;
}

bool C3DCurve::SnapControlTimes()
{
    ClearDrawSamples();
    const int32_t n = m_controlsCount;
    if (n < 1)
        return true;
    bool changed = false;
    // Without a step rate there is no frame grid to snap to; only the start
    // is brought to 0.
    const bool haveRate = m_stepRate >= 1;
    if (haveRate) {
        for (int32_t i = 2; i <= n; ++i)
            if (!EnsureSegmentMinSteps(i))
                changed = true;
    }
    const double t0 = mControls[1].Time;
    if (t0 != 0.0) {
        for (int32_t i = 1; i <= n; ++i)
            mControls[static_cast<size_t>(i)].Time -= t0;
        changed = true;
    }
    if (haveRate && n >= 2) {
        std::vector<int32_t> steps;
        GetSegmentStepCounts(steps, false);
        std::vector<double> wanted(steps.size());
        bool off = false;
        for (size_t k = 0; k < steps.size(); ++k) {
            const auto seg = static_cast<int32_t>(k) + 1;
            wanted[k] = GetSegmentStepsDuration(seg, steps[k]);
            const double current =
                mControls[static_cast<size_t>(seg + 1)].Time - mControls[static_cast<size_t>(seg)].Time;
            if (wanted[k] != current)
                off = true;
        }
        // Each control follows the one before it by its segment's whole
        // frames. Only a time that really moves counts as a change, so that
        // snapping twice finds everything in place.
        if (off) {
            for (int32_t i = 2; i <= n; ++i) {
                double& t = mControls[static_cast<size_t>(i)].Time;
                const double next = mControls[static_cast<size_t>(i - 1)].Time + wanted[static_cast<size_t>(i - 2)];
                if (next != t) {
                    t = next;
                    changed = true;
                }
            }
        }
    }
    if (changed)
        UpdateDuration();
    return !changed;
}

int32_t C3DCurve::GetDrawnSampleCount(int32_t requested, bool capped) const
{
    const int32_t n = m_controlsCount;
    if (n < 2)
        return 0;
    int32_t count = requested;
    if (capped) {
        count = (n - 1) * 100 + 1;
        count = std::min(count, requested);
        count = std::min(count, 8001);
    }
    return std::max(count, n);
}
