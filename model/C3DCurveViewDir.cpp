// Where the camera of each sampled frame looks: at the sampled look-at
// targets where both ends of a segment have targets, along the interpolated
// angles elsewhere; kept continuous across whole turns and across passes
// over or under what it looks at.
#include "C3DCurve.h"

#include "C3DCurveMath.h"
#include "C3DCurveRound.h"

#include <cmath>

namespace {
double RoundTo2Decimals(double v)
{
    return std::nearbyint(v * 100.0) / 100.0;
}

// The pitch that sampling uses for a stored pitch. Straight up, straight
// down or level at a multiple of 90 degrees, the view vector would lose its
// heading; keep it a hair off.
float SamplingPitchOf(float stored)
{
    const auto p = static_cast<float>(RoundTo2Decimals(stored));
    if (CurveRound::ToInt32(p) % 90 != 0)
        return p;
    if (p > 0.0f)
        return p - 0.02f;
    if (p < 0.0f)
        return p + 0.02f;
    return 0.0f;
}
}  // namespace

float C3DCurve::GetSamplingPitch(int32_t index)
{
    ControlRecord& r = Record(index, "C3DCurve.GetSamplingPitch");
    const float sampling = SamplingPitchOf(r.Pitch);
    r.Pitch = static_cast<float>(RoundTo2Decimals(r.Pitch));
    return sampling;
}

C3DCurve::SampleTable C3DCurve::GetAnglesAimPoints(const SampleTable& positions,
                                                    const SampleTable& angles,
                                                    const SampleTable& aimDistances)
{
    SampleTable aim(positions.size());
    for (size_t s = 0; s < positions.size(); ++s) {
        const double p = CurveMath::DegToRad(angles[s][0]);
        const double y = CurveMath::DegToRad(angles[s][1]);
        const double d = aimDistances[s][0];
        aim[s] = {positions[s][0] + d * std::cos(y) * std::cos(p),
                  positions[s][1] + d * std::sin(y) * std::cos(p),
                  positions[s][2] + d * std::sin(p)};
    }
    return aim;
}

void C3DCurve::ResolveSampledAngles(const SampleTable& positions, SampleTable& angles,
                                    const SampleTable& aimPoints, const SampleTable& targets,
                                    const std::vector<int32_t>& segmentNumbers) const
{
    const int32_t n = m_controlsCount;
    int32_t currentSegment = 0;
    bool useTargets = false;
    double previousDx = 0.0;
    double previousDy = 0.0;
    double previousRawYaw = 0.0;
    double previousYawChange = 0.0;
    bool flipped = false;
    double previousPitch = 0.0;
    double previousYaw = 0.0;
    int32_t pitchTurns = 0;
    int32_t yawTurns = 0;

    for (size_t s = 0; s < positions.size(); ++s) {
        const int32_t k = segmentNumbers[s];
        if (k != currentSegment) {
            currentSegment = k;
            if (k == n) {
                useTargets = true;
            } else {
                const ControlRecord& a = mControls[static_cast<size_t>(k)];
                const ControlRecord& b = mControls[static_cast<size_t>(k + 1)];
                // Ends whose stored angles lie more than a turn apart ask for
                // the turns, which aiming at the targets would lose.
                useTargets = IsTargetDefined(k) && IsTargetDefined(k + 1) &&
                             std::fabs(std::fabs(b.Pitch) - std::fabs(a.Pitch)) <= 360.0f &&
                             std::fabs(std::fabs(b.Yaw) - std::fabs(a.Yaw)) <= 360.0f;
            }
        }

        const auto& aim = useTargets ? targets[s] : aimPoints[s];
        const double dx = positions[s][0] - aim[0];
        const double dy = positions[s][1] - aim[1];
        const double dz = positions[s][2] - aim[2];

        const bool xChanged = dx != 0.0 && previousDx != 0.0 && (dx < 0.0) != (previousDx < 0.0);
        const bool yChanged = dy != 0.0 && previousDy != 0.0 && (dy < 0.0) != (previousDy < 0.0);
        previousDx = dx;
        previousDy = dy;

        const double h = std::sqrt(dx * dx + dy * dy);
        double rawPitch;
        if (h == 0.0)
            rawPitch = dz < 0.0 ? 90.0 : -90.0;
        else
            rawPitch = -CurveMath::RadToDeg(std::atan(dz / h));
        double rawYaw;
        if (dx == 0.0) {
            rawYaw = dy <= 0.0 ? 90.0 : -90.0;
        } else {
            rawYaw = CurveMath::RadToDeg(std::atan(dy / dx));
            if (dx > 0.0)
                rawYaw += 180.0;
        }
        const double yawChange = rawYaw - previousRawYaw;

        if (s == 0) {
            // A first control that looks past the vertical starts in the
            // flipped representation, unless its tangents were shaped by hand.
            const ControlRecord& first = mControls[1];
            const float samplingPitch = SamplingPitchOf(first.Pitch);
            flipped = static_cast<float>(RoundTo2Decimals(rawPitch)) != samplingPitch &&
                      first.Tan1C == 0 && first.Tan2C == 0;
        } else if (xChanged && yChanged) {
            // Passing diagonally over or under the aim: keep the heading and
            // let the pitch run on past the vertical.
            flipped = !flipped;
        } else if (xChanged != yChanged) {
            if (std::fabs(yawChange) < 180.0 &&
                std::fabs(previousYawChange) + std::fabs(yawChange) > 170.0)
                flipped = !flipped;
        }
        previousRawYaw = rawYaw;
        previousYawChange = yawChange;

        double pitch = rawPitch;
        double yaw = rawYaw;
        if (flipped) {
            pitch = -(rawPitch + 180.0);
            yaw = rawYaw + 180.0;
        }

        if (pitch - previousPitch < -180.0)
            ++pitchTurns;
        else if (pitch - previousPitch > 180.0)
            --pitchTurns;
        if (yaw - previousYaw < -180.0)
            ++yawTurns;
        else if (yaw - previousYaw > 180.0)
            --yawTurns;
        previousPitch = pitch;
        previousYaw = yaw;

        angles[s][0] = pitchTurns * 360.0 + pitch;
        angles[s][1] = yawTurns * 360.0 + yaw;
        // angles[s][2], the interpolated roll, stays.
    }
}
