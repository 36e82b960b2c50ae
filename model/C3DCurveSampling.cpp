// Sampling a curve frame by frame: step counts, the easing of the frame
// parameters between segments of different lengths, the cubic Hermite
// evaluation of the per-control channels and the pipeline that samples them
// all in one pass.
#include "C3DCurve.h"

#include "C3DCurveRound.h"
#include "RuvError.h"

#include <algorithm>
#include <cmath>

namespace {
// The tangent factor is the 32-bit float nearest to 1.1, as the control
// tangents use it.
constexpr double kTangentFactor = 1.10000002384185791015625;
// Stands in for a zero easing denominator (the 32-bit float 1E-39 widened).
constexpr double kTinyDenominator = 1.0000002153053333e-39;

constexpr int64_t kMaxSampledFrames = 20000000;

using Triple = std::array<double, 3>;

// Frame parameters of segment `index` of `segments`, which has `own` steps
// between segments of `previous` and `next` steps: own + 1 values from
// exactly 0 to exactly 1. The easing spaces the frames so that the speed
// does not jump where the step counts change. Segments of 1 step, and middle
// segments of 2, have no easing (its denominators vanish) and move evenly.
void AppendSegmentParameters(std::vector<double>& out, int32_t index, int32_t segments,
                             int32_t previous, int32_t own, int32_t next)
{
    if (own <= 0) {
        out.push_back(0.0);
        return;
    }
    const double s = own;
    double k3 = 0.0;
    double k2 = 0.0;
    double k1 = 1.0;
    const bool even = segments == 1 || own == 1 || (index > 0 && index < segments - 1 && own == 2);
    if (even) {
        // t = u
    } else if (index == 0) {
        const double a = own;
        const double b = next;
        double d = a * a + a * b - a - b;
        if (d == 0.0)
            d = kTinyDenominator;
        k1 = (2.0 * a * b - a - b) / d;
        k2 = (a - b) * a / d;
    } else if (index == segments - 1) {
        const double a = previous;
        const double b = own;
        double d = b * b + a * b - a - b;
        if (d == 0.0)
            d = kTinyDenominator;
        k1 = (2.0 * b * b - a - b) / d;
        k2 = (a - b) * b / d;
    } else {
        const double a = previous;
        const double b = own;
        const double c = next;
        const double q = 2 * b * c + b * b * b * c - 3 * a * b * b + a * b * b * b + 2 * a * b -
                         3 * b * b * c - 3 * b * b * b + 2 * b * b + b * b * b * b +
                         a * b * b * c - 3 * a * b * c + 2 * a * c;
        if (q != 0.0) {
            k3 = -2.0 * b * b * (a * c - b * b) / q;
            k2 = b * b * (-2 * a - 3 * b * b - b * c + 2 * c + 3 * a * c + a * b) / q;
            k1 = -(a * b * b - 2 * a * b + 3 * a * b * c - 2 * a * c - 2 * b * b * b * b +
                   3 * b * b * b - 2 * b * b * b * c + 5 * b * b * c - 2 * b * b - 2 * b * c) /
                 q;
        }
    }
    out.push_back(0.0);
    for (int32_t j = 1; j < own; ++j) {
        const double u = j / s;
        out.push_back(((k3 * u + k2) * u + k1) * u);
    }
    // The end frame lies exactly on the next control.
    out.push_back(1.0);
}

}  // namespace

std::vector<double> C3DCurve::GetSegmentParameters(const std::vector<int32_t>& steps)
{
    const auto segments = static_cast<int32_t>(steps.size());
    std::vector<double> out;
    size_t total = 0;
    for (int32_t s : steps)
        total += static_cast<size_t>(std::max(s, 0)) + 1;
    out.reserve(total);
    for (int32_t k = 0; k < segments; ++k) {
        const int32_t own = steps[static_cast<size_t>(k)];
        const int32_t previous = k > 0 ? steps[static_cast<size_t>(k - 1)] : own;
        const int32_t next = k + 1 < segments ? steps[static_cast<size_t>(k + 1)] : own;
        AppendSegmentParameters(out, k, segments, previous, own, next);
    }
    return out;
}

C3DCurve::TangentTable C3DCurve::GetAutoTangents(const CurveChannel& channel) const
{
    const int32_t n = m_controlsCount;
    TangentTable table(static_cast<size_t>(n) + 1);
    // The channel continues past both ends with copies of its end values.
    auto v = [&](int32_t i) -> const Triple& {
        return channel[static_cast<size_t>(std::clamp(i, 1, n))];
    };
    for (int32_t i = 1; i <= n; ++i) {
        auto& t = table[static_cast<size_t>(i)];
        for (size_t a = 0; a < 3; ++a) {
            t[1][a] = (v(i + 1)[a] - v(i - 1)[a]) * kTangentFactor / 4.0;
            t[2][a] = (v(i + 2)[a] - v(i)[a]) * kTangentFactor / 4.0;
        }
    }
    return table;
}

C3DCurve::TangentTable C3DCurve::GetControlTangents() const
{
    const int32_t n = m_controlsCount;
    TangentTable table(static_cast<size_t>(n) + 1);
    for (int32_t i = 1; i <= n; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        auto& t = table[static_cast<size_t>(i)];
        t[1] = {r.Tan1X, r.Tan1Y, r.Tan1Z};
        t[2] = {r.Tan2X, r.Tan2Y, r.Tan2Z};
    }
    return table;
}

void C3DCurve::HermiteSampleChannel(const CurveChannel& channel, const TangentTable& tangents,
                                    const std::vector<double>& parameters,
                                    const std::vector<int32_t>& steps, SampleTable& samples,
                                    std::vector<int32_t>& segmentNumbers, bool collapse,
                                    int components) const
{
    const int32_t n = m_controlsCount;
    const size_t frames = parameters.size() - static_cast<size_t>(n - 2);
    samples.resize(frames);
    segmentNumbers.resize(frames);
    const auto nc = static_cast<size_t>(components);

    size_t out = 0;
    size_t p = 0;
    for (int32_t k = 0; k + 1 < n; ++k) {
        const int32_t s = std::max(steps[static_cast<size_t>(k)], 0);
        const Triple& v0 = channel[static_cast<size_t>(k + 1)];
        const Triple& v1 = channel[static_cast<size_t>(k + 2)];
        // The stored tangents are half the Hermite end tangents.
        const Triple& t1 = tangents[static_cast<size_t>(k + 1)][1];
        const Triple& t2 = tangents[static_cast<size_t>(k + 1)][2];
        Triple c2{};
        Triple c3{};
        for (size_t a = 0; a < nc; ++a) {
            c2[a] = 2.0 * ((v0[a] + t1[a]) - v0[a]);
            c3[a] = -2.0 * ((v1[a] - t2[a]) - v1[a]);
        }
        const bool still = collapse && v0 == v1;
        // Every later segment starts on the previous one's last frame.
        const size_t first = k == 0 ? 0 : 1;
        const size_t count = static_cast<size_t>(s) + 1;
        const size_t before = out;
        for (size_t j = first; j < count; ++j) {
            Triple& dst = samples[out];
            if (still) {
                dst = v0;
            } else {
                const double t = parameters[p + j];
                const double tt = t * t;
                const double ttt = tt * t;
                const double h00 = 2 * ttt - 3 * tt + 1;
                const double h01 = -2 * ttt + 3 * tt;
                const double h10 = ttt - 2 * tt + t;
                const double h11 = ttt - tt;
                for (size_t a = 0; a < nc; ++a)
                    dst[a] = h00 * v0[a] + h01 * v1[a] + h10 * c2[a] + h11 * c3[a];
                for (size_t a = nc; a < 3; ++a)
                    dst[a] = 0.0;
            }
            segmentNumbers[out] = k + 1;
            ++out;
        }
        // Its end frame lies on the next control. A segment without steps
        // (equal times, not yet snapped) owns no frame and marks none.
        if (s > 0 && out > before)
            segmentNumbers[out - 1] = k + 2;
        p += count;
    }
    if (frames > 0)
        segmentNumbers[frames - 1] = n;
}

std::vector<float> C3DCurve::SampleTimescales(int32_t frames, const std::vector<int32_t>& steps) const
{
    std::vector<float> out(static_cast<size_t>(frames));
    size_t f = 0;
    for (size_t k = 0; k < steps.size(); ++k) {
        const int32_t s = steps[k];
        const double a = mControls[k + 1].Timescale;
        const double b = mControls[k + 2].Timescale;
        for (int32_t j = 0; j < s; ++j)
            out[f++] = static_cast<float>(a + j * (b - a) / s);
    }
    out[f] = mControls[static_cast<size_t>(m_controlsCount)].Timescale;
    return out;
}

int32_t C3DCurve::GetUniformStepCounts(int32_t wanted, std::vector<int32_t>& steps) const
{
    const int32_t n = m_controlsCount;
    if (n < 2)
        return 0;
    const int32_t m = std::max(wanted, n);
    const int32_t each = std::max(CurveRound::ToInt32(static_cast<double>(m - 1) / (n - 1)), 1);
    steps.assign(static_cast<size_t>(n - 1), each);
    return each * (n - 1) + 1;
}

double C3DCurve::MaxAbsValue(const std::vector<double>& values)
{
    double m = 0.0;
    for (double v : values)
        if (std::fabs(v) > m)
            m = std::fabs(v);
    return m;
}

int32_t C3DCurve::SampleCurveChannels(std::vector<int32_t>& steps, SampleTable& positions,
                                      SampleTable* angles, std::vector<double>* fovs,
                                      std::vector<float>* timescales, std::vector<double>* times,
                                      std::vector<int32_t>& segmentNumbers, bool limit,
                                      bool positionsOnly, bool useGivenSteps)
{
    const int32_t n = m_controlsCount;
    if (!useGivenSteps)
        GetSegmentStepCounts(steps, limit);
    // Control times that run backwards (not yet snapped) give a segment no
    // frames rather than a negative count.
    int64_t sum = 0;
    for (int32_t& s : steps) {
        s = std::max(s, 0);
        sum += s;
    }
    if (sum + 1 > kMaxSampledFrames)
        throw RuvError(RuvError::Overflow,
                       QStringLiteral("The curve has too many frames to be sampled."),
                       QStringLiteral("C3DCurve.SampleCurveChannels"));
    const auto frames = static_cast<int32_t>(sum + 1);

    const std::vector<double> parameters = GetSegmentParameters(steps);

    CurveChannel channel(static_cast<size_t>(n) + 1, Triple{0.0, 0.0, 0.0});
    for (int32_t i = 1; i <= n; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        channel[static_cast<size_t>(i)] = {r.X, r.Y, r.Z};
    }
    HermiteSampleChannel(channel, GetControlTangents(), parameters, steps, positions,
                         segmentNumbers, true);
    if (positionsOnly)
        return frames;

    CurveChannel angleChannel(static_cast<size_t>(n) + 1, Triple{0.0, 0.0, 0.0});
    CurveChannel fovChannel(static_cast<size_t>(n) + 1, Triple{0.0, 0.0, 0.0});
    CurveChannel timeChannel(static_cast<size_t>(n) + 1, Triple{0.0, 0.0, 0.0});
    for (int32_t i = 1; i <= n; ++i) {
        const float pitch = GetSamplingPitch(i);
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        angleChannel[static_cast<size_t>(i)] = {pitch, r.Yaw, r.Roll};
        fovChannel[static_cast<size_t>(i)][0] = r.Fov;
        timeChannel[static_cast<size_t>(i)][0] = r.Time;
    }

    const CurveChannel aimChannel = GetAimDistances();
    SampleTable aimDistances;
    HermiteSampleChannel(aimChannel, GetAutoTangents(aimChannel), parameters, steps, aimDistances,
                         segmentNumbers, true, 1);

    SampleTable& sampledAngles = *angles;
    HermiteSampleChannel(angleChannel, GetAutoTangents(angleChannel), parameters, steps,
                         sampledAngles, segmentNumbers, true);

    const SampleTable aimPoints = GetAnglesAimPoints(positions, sampledAngles, aimDistances);
    const CurveChannel targetChannel = GetTargetPoints();
    SampleTable targets;
    HermiteSampleChannel(targetChannel, GetAutoTangents(targetChannel), parameters, steps, targets,
                         segmentNumbers, false);
    ResolveSampledAngles(positions, sampledAngles, aimPoints, targets, segmentNumbers);

    SampleTable scalar;
    HermiteSampleChannel(fovChannel, GetAutoTangents(fovChannel), parameters, steps, scalar,
                         segmentNumbers, true, 1);
    fovs->resize(static_cast<size_t>(frames));
    for (size_t j = 0; j < scalar.size(); ++j)
        (*fovs)[j] = scalar[j][0];

    *timescales = SampleTimescales(frames, steps);

    HermiteSampleChannel(timeChannel, GetAutoTangents(timeChannel), parameters, steps, scalar,
                         segmentNumbers, true, 1);
    times->resize(static_cast<size_t>(frames));
    for (size_t j = 0; j < scalar.size(); ++j)
        (*times)[j] = scalar[j][0];
    return frames;
}

void C3DCurve::GetUniformSegmentCurvePoints(int32_t wanted, SampleTable& positions,
                                            std::vector<int32_t>& segmentNumbers, int32_t& count)
{
    std::vector<int32_t> steps;
    const int32_t frames = GetUniformStepCounts(wanted, steps);
    if (frames <= 0) {
        count = 0;
        return;
    }
    count = SampleCurveChannels(steps, positions, nullptr, nullptr, nullptr, nullptr,
                                segmentNumbers, false, true, true);
}
