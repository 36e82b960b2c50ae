// Control angles and look-at targets: aiming a control at a point, the
// target in front of a control, the copies kept while targets are dragged,
// and keeping consecutive angles within half a turn.
#include "C3DCurve.h"

#include "C3DCurveRound.h"
#include "MMath.h"

#include <algorithm>
#include <cmath>

namespace {

// Aim distance of a control without a target.
constexpr double kDefaultAimDistance = 150.0;

// Brings angle within threshold of reference by whole turns, as the target
// drag needs it: the number of turns is taken in single precision.
double UnwrapTowards(double angle, float reference, float threshold)
{
    const float diff = static_cast<float>(std::fabs(angle - static_cast<double>(reference)));
    if (!(diff > threshold))
        return angle;
    const int32_t turns = CurveRound::ToInt32(static_cast<double>(diff / 360.0f));
    if (static_cast<float>(angle) < reference)
        return angle + 360.0 * turns;
    return angle - 360.0 * turns;
}

}  // namespace

void C3DCurve::AimAt(int32_t index, double x, double y, double z, double& pitch, double& yaw) const
{
    const ControlRecord& r = Record(index, "C3DCurve.AimAt");
    const double dx = static_cast<double>(r.X) - x;
    const double dy = static_cast<double>(r.Y) - y;
    const double dz = static_cast<double>(r.Z) - z;
    const double h = std::sqrt(dx * dx + dy * dy);
    if (h == 0.0)
        pitch = dz < 0.0 ? 90.0 : -90.0;
    else
        pitch = -MMath::RadToDeg(std::atan(dz / h));
    if (dx == 0.0) {
        yaw = dy <= 0.0 ? 90.0 : -90.0;
    } else {
        yaw = MMath::RadToDeg(std::atan(dy / dx));
        if (dx > 0.0)
            yaw += 180.0;
    }
}

void C3DCurve::UpdateControlAngles(int32_t index)
{
    if (!IsTargetDefined(index))
        return;
    ControlRecord& r = Record(index, "C3DCurve.UpdateControlAngles");
    double pitch = 0.0;
    double yaw = 0.0;
    AimAt(index, r.TargetX, r.TargetY, r.TargetZ, pitch, yaw);
    r.Pitch = static_cast<float>(pitch);
    r.Yaw = static_cast<float>(yaw);
}

float C3DCurve::GetTarget(int32_t index, int32_t axis) const
{
    const ControlRecord& r = Record(index, "C3DCurve.GetTarget");
    CheckAxis(axis, "C3DCurve.GetTarget");
    return static_cast<float>(axis == 0 ? r.TargetX : axis == 1 ? r.TargetY : r.TargetZ);
}

float C3DCurve::GetTargetX(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTargetX").TargetX);
}

float C3DCurve::GetTargetY(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTargetY").TargetY);
}

float C3DCurve::GetTargetZ(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTargetZ").TargetZ);
}

bool C3DCurve::IsTargetDefined(int32_t index) const
{
    const ControlRecord& r = Record(index, "C3DCurve.IsTargetDefined");
    return !(r.TargetX == 0.0 && r.TargetY == 0.0 && r.TargetZ == 0.0);
}

void C3DCurve::StoreControlTargets()
{
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        mStoredTargets[static_cast<size_t>(i)] = {static_cast<float>(r.TargetX),
                                                  static_cast<float>(r.TargetY),
                                                  static_cast<float>(r.TargetZ)};
    }
}

float C3DCurve::GetStoredTarget(int32_t index, int32_t axis) const
{
    Record(index, "C3DCurve.GetStoredTarget");
    CheckAxis(axis, "C3DCurve.GetStoredTarget");
    return mStoredTargets[static_cast<size_t>(index)][static_cast<size_t>(axis)];
}

void C3DCurve::StoreControlAngles()
{
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        mStoredAngles[static_cast<size_t>(i)] = {r.Pitch, r.Yaw, r.Roll};
    }
}

void C3DCurve::SetControlTarget(int32_t index, float x, float y, float z, float referencePitch,
                                float referenceYaw)
{
    ControlRecord& r = Record(index, "C3DCurve.SetControlTarget");
    double pitch = 0.0;
    double yaw = 0.0;
    AimAt(index, x, y, z, pitch, yaw);
    // Pitch is only unwrapped beyond a whole turn, yaw beyond half a turn:
    // the angles follow the drag continuously instead of jumping.
    pitch = UnwrapTowards(pitch, referencePitch, 360.0f);
    yaw = UnwrapTowards(yaw, referenceYaw, 180.0f);
    r.Pitch = static_cast<float>(pitch);
    r.Yaw = static_cast<float>(yaw);
    r.TargetX = static_cast<double>(x);
    r.TargetY = static_cast<double>(y);
    r.TargetZ = static_cast<double>(z);
    RaiseCurveChanged();
}

std::array<double, 3> C3DCurve::GetDirectionVector(float pitch, float yaw, double distance)
{
    const double p = MMath::DegToRad(static_cast<double>(pitch));
    const double y = MMath::DegToRad(static_cast<double>(yaw));
    const double h = std::cos(p) * distance;
    return {std::cos(y) * h, std::sin(y) * h, std::sin(p) * distance};
}

double C3DCurve::GetAimDistance(int32_t index) const
{
    if (!IsTargetDefined(index))
        return kDefaultAimDistance;
    const ControlRecord& r = Record(index, "C3DCurve.GetAimDistance");
    const double dx = static_cast<double>(r.X) - r.TargetX;
    const double dy = static_cast<double>(r.Y) - r.TargetY;
    const double dz = static_cast<double>(r.Z) - r.TargetZ;
    const double h = std::sqrt(dx * dx + dy * dy);
    return std::sqrt(h * h + dz * dz);
}

std::array<double, 3> C3DCurve::GetSubstituteTarget(int32_t index) const
{
    const ControlRecord& r = Record(index, "C3DCurve.GetSubstituteTarget");
    const std::array<double, 3> v = GetDirectionVector(r.Pitch, r.Yaw, kDefaultAimDistance);
    return {r.X + v[0], r.Y + v[1], r.Z + v[2]};
}

CurveChannel C3DCurve::GetTargetPoints() const
{
    CurveChannel channel(static_cast<size_t>(m_controlsCount) + 1, {0.0, 0.0, 0.0});
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        channel[static_cast<size_t>(i)] = IsTargetDefined(i)
                                              ? std::array<double, 3>{r.TargetX, r.TargetY, r.TargetZ}
                                              : GetSubstituteTarget(i);
    }
    return channel;
}

CurveChannel C3DCurve::GetAimDistances() const
{
    CurveChannel channel(static_cast<size_t>(m_controlsCount) + 1, {0.0, 0.0, 0.0});
    for (int32_t i = 1; i <= m_controlsCount; ++i)
        channel[static_cast<size_t>(i)][0] = GetAimDistance(i);
    return channel;
}

void C3DCurve::UpdateControlTarget(int32_t index)
{
    ControlRecord& r = Record(index, "C3DCurve.UpdateControlTarget");
    if (r.Pitch == 0.0f && r.Yaw == 0.0f)
        return;
    if (!IsTargetDefined(index))
        return;
    const std::array<double, 3> v = GetDirectionVector(r.Pitch, r.Yaw, GetAimDistance(index));
    r.TargetX = r.X + v[0];
    r.TargetY = r.Y + v[1];
    r.TargetZ = r.Z + v[2];
}

void C3DCurve::SetSelectedControlTargetNextControl()
{
    if (SelectedCount() < 1)
        return;
    for (int32_t i = 1; i <= m_controlsCount - 1; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (!r.IsSelected)
            continue;
        const ControlRecord& next = mControls[static_cast<size_t>(i + 1)];
        r.TargetX = next.X;
        r.TargetY = next.Y;
        r.TargetZ = next.Z;
        UpdateControlAngles(i);
    }
}

void C3DCurve::SetSelectedControlTarget2(float x, float y, float z)
{
    if (SelectedCount() < 1)
        return;
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (!r.IsSelected)
            continue;
        r.TargetX = x;
        r.TargetY = y;
        r.TargetZ = z;
        UpdateControlAngles(i);
    }
}

bool C3DCurve::FixControlAngles(int32_t id, int32_t first, int32_t last)
{
    if (!IsPointAngleProperty(id))
        return false;
    const int32_t n = m_controlsCount;
    if (first > n - 1 || first < 1 || last < 1 || last > n || last <= first)
        return false;
    auto angle = [id](ControlRecord& r) -> float& {
        return id == 4 ? r.Pitch : id == 5 ? r.Yaw : r.Roll;
    };
    for (int32_t i = first; i < last; ++i) {
        const float a = angle(mControls[static_cast<size_t>(i)]);
        float& b = angle(mControls[static_cast<size_t>(i + 1)]);
        const int32_t turns = CurveRound::ToInt32(static_cast<double>((b - a) / 360.0f));
        if (turns != 0)
            b = b - 360.0f * static_cast<float>(turns);
    }
    return true;
}

void C3DCurve::SetSelectedControlTarget(C3DCurve& targetCurve)
{
    const int32_t s = SelectedCount();
    if (s < 1)
        return;
    const int32_t c = targetCurve.ControlsCount();
    if (c < 1)
        return;
    std::vector<int32_t> selected;
    GetSelectedNumbers(selected);
    std::vector<int32_t> listed;
    if (!targetCurve.GetSelectedNumbers(listed)) {
        listed.resize(static_cast<size_t>(c));
        for (int32_t i = 0; i < c; ++i)
            listed[static_cast<size_t>(i)] = i + 1;
    }
    const auto m = static_cast<int32_t>(listed.size());

    std::vector<std::array<double, 3>> points(static_cast<size_t>(s));
    auto positionOf = [&targetCurve](int32_t control) {
        const std::array<float, 3> p = targetCurve.GetPosition(control);
        return std::array<double, 3>{p[0], p[1], p[2]};
    };
    if (m == 1) {
        std::fill(points.begin(), points.end(), positionOf(listed[0]));
    } else if (m == s) {
        for (int32_t i = 0; i < s; ++i)
            points[static_cast<size_t>(i)] = positionOf(listed[static_cast<size_t>(i)]);
    } else {
        // Spread the points along the target curve, sampled finely enough
        // that each one falls on a sample.
        const int32_t a = s - 1;
        const int32_t b = m - 1;
        const int32_t l = s > 1 ? MMath::Lcm(a, b) : b;
        double r = static_cast<double>(l) / b;
        if (r < 4.0)
            r = 4.0;
        const int32_t wanted = CurveRound::ToInt32((c - 1) * r + 1.0);
        SampleTable samples;
        std::vector<int32_t> segments;
        int32_t count = 0;
        targetCurve.GetUniformSegmentCurvePoints(wanted, samples, segments, count);
        if (count < 1 || static_cast<size_t>(count) > samples.size() ||
            static_cast<size_t>(count) > segments.size())
            return;
        const int32_t first = listed.front();
        const int32_t last = listed.back();
        int32_t start = -1;
        for (int32_t j = 0; j < count; ++j) {
            if (segments[static_cast<size_t>(j)] == first) {
                start = j;
                break;
            }
        }
        if (start < 0)
            return;
        auto sample = [&](double j) {
            const int32_t k = std::clamp(CurveRound::ToInt32(j), 0, count - 1);
            return samples[static_cast<size_t>(k)];
        };
        if (s >= 2) {
            // The points run from the first to the last listed control: the
            // sample on control `last` is the first one numbered with it.
            int32_t end = -1;
            for (int32_t j = start; j < count; ++j) {
                if (segments[static_cast<size_t>(j)] == last) {
                    end = j;
                    break;
                }
            }
            if (end < 0)
                return;
            const double step = static_cast<double>(end - start) / (s - 1);
            for (int32_t i = 0; i < s; ++i)
                points[static_cast<size_t>(i)] = sample(i * step + start);
        } else {
            int32_t end = -1;
            for (int32_t j = count - 1; j >= start; --j) {
                if (segments[static_cast<size_t>(j)] == last - 1) {
                    end = j + 1;
                    break;
                }
            }
            if (end < 0)
                return;
            points[0] = sample((start + end) / 2.0);
        }
    }
    for (int32_t i = 0; i < s; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(selected[static_cast<size_t>(i)])];
        r.TargetX = points[static_cast<size_t>(i)][0];
        r.TargetY = points[static_cast<size_t>(i)][1];
        r.TargetZ = points[static_cast<size_t>(i)][2];
        UpdateControlAngles(selected[static_cast<size_t>(i)]);
    }
}
