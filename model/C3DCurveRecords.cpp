// The flight as the script generator and the preview read it: one camera
// record per recorded frame, with the random position wiggle; and the tidying
// of control times imported from the games.
#include "C3DCurve.h"

#include "MRandom.h"
#include "MRuvMain.h"
#include "RuvError.h"

#include <algorithm>

namespace {
constexpr double kHour = 3600.0;
}  // namespace

int32_t C3DCurve::GetSampledControls(std::vector<ControlRecord>& records, bool pitchSign)
{
    return BuildSampledControls(records, pitchSign) - 1;
}

int32_t C3DCurve::BuildSampledControls(std::vector<ControlRecord>& records, bool pitchSign)
{
    const int32_t n = m_controlsCount;
    if (n < 2)
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("A curve needs at least 2 controls to be sampled."),
                       QStringLiteral("C3DCurve.GetSampledControls"));

    std::vector<int32_t> steps;
    SampleTable positions;
    SampleTable angles;
    std::vector<double> fovs;
    std::vector<float> timescales;
    std::vector<double> times;
    std::vector<int32_t> segments;
    const int32_t frames = SampleCurveChannels(steps, positions, &angles, &fovs, &timescales,
                                               &times, segments, false, false, false);

    // Sized once: a flight can be hundreds of thousands of frames.
    records.assign(static_cast<size_t>(frames), ControlRecord{});

    bool wiggling = false;
    int32_t interval = 0;
    float amplitude = 0.0f;
    float offset[3] = {0.0f, 0.0f, 0.0f};
    int32_t currentSegment = -1;
    const float sign = pitchSign ? 1.0f : -1.0f;

    for (int32_t k = 0; k < frames; ++k) {
        const auto f = static_cast<size_t>(k);
        const int32_t s = segments[f];
        if (s != currentSegment) {
            currentSegment = s;
            ControlRecord& c = mControls[static_cast<size_t>(s)];
            wiggling = c.WglAmp > 0.0f && c.WglFreq >= 1 && s < n;
            if (wiggling) {
                // A wiggle slower than its segment would never change; the
                // control keeps the fastest one that does. A segment without
                // steps still keeps 1, so the interval never becomes 0.
                const int32_t segmentSteps = std::max(steps[static_cast<size_t>(s - 1)], 1);
                if (c.WglFreq > segmentSteps)
                    c.WglFreq = segmentSteps;
                interval = c.WglFreq;
                amplitude = c.WglAmp;
            } else {
                interval = 0;
                amplitude = 0.0f;
                offset[0] = offset[1] = offset[2] = 0.0f;
            }
        }
        // The offsets change on the frames of the whole flight that are
        // multiples of the interval, and hold in between.
        if (wiggling && k % interval == 0) {
            for (float& o : offset)
                o = static_cast<float>((MRandom::NextUniform() - 0.5) * (amplitude + amplitude));
        }

        ControlRecord& r = records[f];
        r.X = static_cast<float>(positions[f][0]) + (wiggling ? offset[0] : 0.0f);
        r.Y = static_cast<float>(positions[f][1]) + (wiggling ? offset[1] : 0.0f);
        r.Z = static_cast<float>(positions[f][2]) + (wiggling ? offset[2] : 0.0f);
        r.SegmentNumber = s;
        r.Pitch = static_cast<float>(angles[f][0]) * sign;
        r.Yaw = static_cast<float>(angles[f][1]);
        r.Roll = static_cast<float>(angles[f][2]);
        // Between controls the interpolation can overshoot; the game only
        // takes fields of view within the control range.
        r.Fov = MRuvMain::ClampFov(static_cast<float>(fovs[f]));
        r.Timescale = timescales[f];
        r.Time = times[f];
    }
    records.back().SegmentNumber = n;
    return frames;
}

void C3DCurve::NormalizeGameTimes(int32_t index)
{
    const int32_t n = m_controlsCount;
    if (n < 2)
        return;
    Record(index, "C3DCurve.NormalizeGameTimes");
    if (index <= n) {
        // Index 0 stands for the first control.
        const int32_t from = std::max(index, 1);
        const double shift =
            from > 1 ? mControls[static_cast<size_t>(from)].Time -
                           (mControls[static_cast<size_t>(from - 1)].Time +
                            mControls[static_cast<size_t>(from - 1)].Timescale)
                     : mControls[1].Time;
        if (shift != 0.0)
            for (int32_t i = from; i <= n; ++i)
                mControls[static_cast<size_t>(i)].Time -= shift;
        // A pause of more than an hour between two recordings becomes one
        // second.
        for (int32_t k = from + 1; k <= n; ++k) {
            const double gap =
                mControls[static_cast<size_t>(k)].Time - mControls[static_cast<size_t>(k - 1)].Time;
            if (gap > kHour)
                for (int32_t i = k; i <= n; ++i)
                    mControls[static_cast<size_t>(i)].Time -= gap - 1.0;
        }
    }
    UpdateDuration();
}
