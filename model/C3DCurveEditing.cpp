// Changing the list of controls (append, insert, duplicate, delete) and
// editing many controls at once (spread, set, round, reverse).
#include "C3DCurve.h"

#include "C3DCamera.h"
#include "C3DCurveRound.h"
#include "CView.h"
#include "MCommon.h"
#include "MRuvMain.h"
#include "RuvError.h"
#include "TaggedValue.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t kInvalidPropertyValue = static_cast<int32_t>(0x80040001u);
constexpr int32_t kAllViews = 7;

using MRuvMain::RoundSingle2;

// Holds the tangent batch flag for a scope, so that the forced tangent
// updates around a change raise nothing of their own, even when one throws.
class TangentBatch
{
public:
    explicit TangentBatch(bool& flag) : m_flag(flag) { m_flag = true; }
    ~TangentBatch() { m_flag = false; }
    TangentBatch(const TangentBatch&) = delete;
    TangentBatch& operator=(const TangentBatch&) = delete;

private:
    bool& m_flag;
};
}  // namespace

// ---- Appending ---------------------------------------------------------------

bool C3DCurve::CanAddControl(int32_t count) const
{
    return static_cast<int64_t>(m_controlsCount) + count <= MAX_CONTROL;
}

void C3DCurve::CheckRoomForControl(const char* source) const
{
    if (!CanAddControl(1))
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("A curve holds at most %1 controls.").arg(MAX_CONTROL),
                       QString::fromLatin1(source));
}

void C3DCurve::AddControl3(float x, float y, float z, float pitch, float yaw, float roll,
                           bool withAngles)
{
    CheckRoomForControl("C3DCurve.AddControl3");
    const int32_t n = ++m_controlsCount;
    ControlRecord& r = mControls[static_cast<size_t>(n)];
    r = NewControlRecord();
    r.X = RoundSingle2(x);
    r.Y = RoundSingle2(y);
    r.Z = RoundSingle2(z);
    if (withAngles) {
        r.Pitch = RoundSingle2(pitch);
        r.Yaw = RoundSingle2(yaw);
        r.Roll = RoundSingle2(roll);
    }
    if (n > 1) {
        r.Fov = mControls[static_cast<size_t>(n - 1)].Fov;
        r.Timescale = mControls[static_cast<size_t>(n - 1)].Timescale;
    }
    AfterControlAppended(true, true);
}

void C3DCurve::AddControlFromViewPoint(float a, float b, const CView& view)
{
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    const int32_t d = view.DAxis();
    for (int32_t axis : {h, v, d})
        CheckAxis(axis, "C3DCurve.AddControlFromViewPoint");
    CheckRoomForControl("C3DCurve.AddControlFromViewPoint");
    const int32_t n = ++m_controlsCount;
    ControlRecord& r = mControls[static_cast<size_t>(n)];
    r = NewControlRecord();
    float* position[3] = {&r.X, &r.Y, &r.Z};
    *position[h] = RoundSingle2(a);
    *position[v] = RoundSingle2(b);
    if (n > 1) {
        // A click gives no depth: the new control keeps the last one's.
        const ControlRecord& last = mControls[static_cast<size_t>(n - 1)];
        const float lastPosition[3] = {last.X, last.Y, last.Z};
        *position[d] = lastPosition[d];
        r.Fov = last.Fov;
        r.Timescale = last.Timescale;
    }
    AfterControlAppended(true, true);
}

void C3DCurve::AddControlFromCamera(const C3DCamera& camera)
{
    CheckRoomForControl("C3DCurve.AddControlFromCamera");
    const int32_t n = ++m_controlsCount;
    ControlRecord& r = mControls[static_cast<size_t>(n)];
    // The control holds the camera in the game's convention.
    r = NewControlRecord();
    r.X = RoundSingle2(camera.GamePos(0));
    r.Y = RoundSingle2(camera.GamePos(1));
    r.Z = RoundSingle2(camera.GamePos(2));
    r.Pitch = RoundSingle2(camera.GamePitch());
    r.Yaw = RoundSingle2(camera.GameYaw());
    r.Roll = RoundSingle2(camera.GameRoll());
    r.Fov = camera.Fov();
    if (n > 1)
        r.Timescale = mControls[static_cast<size_t>(n - 1)].Timescale;
    AfterControlAppended(true, true);
}

void C3DCurve::AddControlRecord(const ControlRecord& record)
{
    CheckRoomForControl("C3DCurve.AddControlRecord");
    const int32_t n = ++m_controlsCount;
    mControls[static_cast<size_t>(n)] = record;
    AfterControlAppended(true, false);
}

void C3DCurve::AfterControlAppended(bool updateTangents, bool setTime)
{
    const int32_t n = m_controlsCount;
    if (setTime)
        SetAppendedControlTime(n);
    if (n > 1)
        EnsureSegmentMinSteps(n);
    if (n > 1 && updateTangents) {
        TangentBatch batch(mTangentBatch);
        TangentSet(n - 1, 1, kAllViews, true);
        TangentSet(n, 1, kAllViews, true);
    }
    AfterControlsCountChange(true);
}

void C3DCurve::SetAppendedControlTime(int32_t index)
{
    ControlRecord& r = Record(index, "C3DCurve.SetAppendedControlTime");
    if (index <= 1)
        r.Time = 0.0;
    else if (index == 2)
        r.Time = 1.0;
    else
        // The new segment lasts as long as the one before it.
        r.Time = 2.0 * mControls[static_cast<size_t>(index - 1)].Time -
                 mControls[static_cast<size_t>(index - 2)].Time;
}

// ---- Inserting, duplicating, deleting ----------------------------------------

C3DCurve::SegmentCoefficients C3DCurve::GetSegmentCoefficients(int32_t index) const
{
    const ControlRecord& a = Record(index, "C3DCurve.GetSegmentCoefficients");
    const ControlRecord& b = Record(index + 1, "C3DCurve.GetSegmentCoefficients");
    const double p0[3] = {a.X, a.Y, a.Z};
    const double p1[3] = {b.X, b.Y, b.Z};
    const double t1[3] = {a.Tan1X, a.Tan1Y, a.Tan1Z};
    const double t2[3] = {a.Tan2X, a.Tan2Y, a.Tan2Z};
    SegmentCoefficients s{};
    for (size_t k = 0; k < 3; ++k) {
        s.c[0][k] = static_cast<float>(2 * p0[k] - 2 * p1[k] + 2 * t1[k] + 2 * t2[k]);
        s.c[1][k] = static_cast<float>(-3 * p0[k] + 3 * p1[k] - 4 * t1[k] - 2 * t2[k]);
        s.c[2][k] = static_cast<float>(2 * t1[k]);
        s.c[3][k] = static_cast<float>(p0[k]);
    }
    return s;
}

std::array<float, 3> C3DCurve::GetSegmentPoint(float t, const SegmentCoefficients& s)
{
    const auto t2 = static_cast<float>(static_cast<double>(t) * t);
    const auto t3 = static_cast<float>(static_cast<double>(t2) * t);
    std::array<float, 3> p{};
    for (size_t k = 0; k < 3; ++k)
        p[k] = static_cast<float>(static_cast<double>(s.c[0][k]) * t3 +
                                  static_cast<double>(s.c[1][k]) * t2 +
                                  static_cast<double>(s.c[2][k]) * t + s.c[3][k]);
    return p;
}

void C3DCurve::InsertControl(int32_t index)
{
    // Only a segment can be split: the control must have a next one.
    if (index < 1 || index >= m_controlsCount)
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("Control %1 starts no segment.").arg(index),
                       QStringLiteral("C3DCurve.InsertControl"));
    CheckRoomForControl("C3DCurve.InsertControl");
    const int32_t m = index + 1;
    const std::array<float, 3> p = GetSegmentPoint(0.5f, GetSegmentCoefficients(index));
    for (int32_t j = m_controlsCount; j >= m; --j)
        mControls[static_cast<size_t>(j + 1)] = mControls[static_cast<size_t>(j)];
    // The new control takes the mean of its neighbours, through the
    // property rules (id 16 is no property and is skipped there).
    for (int32_t id = 4; id <= 24; ++id) {
        const auto v = static_cast<float>((value(m - 1, id).Number() + value(m, id).Number()) / 2.0);
        SetValue(m, id, TaggedValue(RoundSingle2(v)));
    }
    ControlRecord& r = mControls[static_cast<size_t>(m)];
    r.IsSelected = false;
    r.X = RoundSingle2(p[0]);
    r.Y = RoundSingle2(p[1]);
    r.Z = RoundSingle2(p[2]);
    ++m_controlsCount;
    AfterControlInserted(m);
}

void C3DCurve::InsertControlRecord(const ControlRecord& record, int32_t index)
{
    if (index < 0 || index > m_controlsCount)
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("There is no control %1 to insert after.").arg(index),
                       QStringLiteral("C3DCurve.InsertControlRecord"));
    CheckRoomForControl("C3DCurve.InsertControlRecord");
    const int32_t m = index + 1;
    for (int32_t j = m_controlsCount; j >= m; --j)
        mControls[static_cast<size_t>(j + 1)] = mControls[static_cast<size_t>(j)];
    ControlRecord& r = mControls[static_cast<size_t>(m)];
    r = record;
    r.IsSelected = false;
    r.TargetX = r.TargetY = r.TargetZ = 0.0;
    ++m_controlsCount;
    // Within half a turn of the control before it.
    FixControlAngles(4, index, m);
    FixControlAngles(5, index, m);
    FixControlAngles(6, index, m);
    AfterControlInserted(m);
}

void C3DCurve::AfterControlInserted(int32_t index)
{
    {
        TangentBatch batch(mTangentBatch);
        TangentSet(index - 1, 1, kAllViews, true);
        TangentSet(index, 1, kAllViews, true);
        TangentSet(index + 1, 1, kAllViews, true);
    }
    SnapControlTimes();
    AfterControlsCountChange(true);
}

void C3DCurve::DuplicateControl(int32_t index)
{
    if (index < 1 || index > m_controlsCount)
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("There is no control %1.").arg(index),
                       QStringLiteral("C3DCurve.DuplicateControl"));
    CheckRoomForControl("C3DCurve.DuplicateControl");
    // The end neighbour moves up with the controls.
    for (int32_t j = m_controlsCount + 1; j >= index; --j)
        mControls[static_cast<size_t>(j + 1)] = mControls[static_cast<size_t>(j)];
    ++m_controlsCount;
    SnapControlTimes();
    AfterControlsCountChange(true);
}

void C3DCurve::DeleteControl(int32_t index)
{
    if (index < 1 || index > m_controlsCount)
        throw RuvError(RuvError::IndexOutOfRange,
                       QStringLiteral("There is no control %1.").arg(index),
                       QStringLiteral("C3DCurve.DeleteControl"));
    for (int32_t j = index; j <= m_controlsCount; ++j)
        mControls[static_cast<size_t>(j)] = mControls[static_cast<size_t>(j + 1)];
    --m_controlsCount;
    // The end neighbour before the first control is still the deleted one;
    // the new first tangent must start from the new first control.
    if (index == 1 && m_controlsCount >= 1)
        mControls[0] = mControls[1];
    {
        TangentBatch batch(mTangentBatch);
        TangentSet(index - 1, 1, kAllViews, true);
        TangentSet(index - 1, 2, kAllViews, true);
    }
    SnapControlTimes();
    AfterControlsCountChange(true);
}

void C3DCurve::FindControlAtViewPoint(float a, float b, const CView& view, float tolerance,
                                      int32_t& index) const
{
    index = -1;
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    CheckAxis(h, "C3DCurve.FindControlAtViewPoint");
    CheckAxis(v, "C3DCurve.FindControlAtViewPoint");
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (r.Hide)
            continue;
        const float position[3] = {r.X, r.Y, r.Z};
        const auto dh = static_cast<float>(static_cast<double>(position[h]) - a);
        const auto dv = static_cast<float>(static_cast<double>(position[v]) - b);
        if (std::fabs(dh) <= tolerance && std::fabs(dv) <= tolerance) {
            index = i;
            return;
        }
    }
}

// ---- Editing many controls ---------------------------------------------------

bool C3DCurve::SetControlsAverage(int32_t first, int32_t last, int32_t id)
{
    if (last - first < 2)
        return false;
    if (GetPropertyType(id) != TypeNumber)
        throw RuvError(kInvalidPropertyValue, QStringLiteral("Cannot be applied to this property."),
                       QStringLiteral("C3DCurve.SetControlsAverage"));
    const auto a = static_cast<float>(value(first, id).Number());
    const auto b = static_cast<float>(value(last, id).Number());
    const auto step = static_cast<float>((static_cast<double>(b) - a) / (last - first));
    std::vector<TaggedValue> values;
    values.reserve(static_cast<size_t>(last - first - 1));
    for (int32_t k = 1; k < last - first; ++k)
        values.emplace_back(MCommon::SafeCSng(TaggedValue(static_cast<double>(a) +
                                                          static_cast<double>(step) * k)));
    return SetControlsValues(id, first + 1, values);
}

bool C3DCurve::SetControlsValues(int32_t id, int32_t firstIndex,
                                 const std::vector<TaggedValue>& values)
{
    const int32_t type = GetPropertyType(id);
    if (type == TypeEmpty)
        return true;
    // Every index and every value is checked before anything is written: a
    // refused call leaves no value half written.
    const auto count = static_cast<int64_t>(values.size());
    if (count > 0) {
        // Both ends in range: the index error otherwise.
        Record(firstIndex, "C3DCurve.Value");
        Record(static_cast<int32_t>(std::min<int64_t>(firstIndex + count - 1, RECORD_COUNT)),
               "C3DCurve.Value");
    }
    for (const TaggedValue& v : values) {
        if (static_cast<int32_t>(v.type()) != type)
            throw RuvError(kInvalidPropertyValue, QStringLiteral("Invalid property value type."),
                           QStringLiteral("C3DCurve.Value"));
        if (type == TypeNumber && !std::isfinite(v.Number()))
            throw RuvError(RuvError::InvalidArgument, QStringLiteral("Invalid argument."),
                           QStringLiteral("C3DCurve.Value"));
    }
    bool changed = false;
    for (int64_t k = 0; k < count; ++k) {
        const auto i = static_cast<int32_t>(firstIndex + k);
        const TaggedValue& v = values[static_cast<size_t>(k)];
        if (value(i, id) == v)
            continue;
        SetValue(i, id, v);
        if (id >= 1 && id <= 3) {
            TanSetPrevNext(i, false);
            UpdateControlAngles(i);
        }
        changed = true;
    }
    if (changed)
        RaiseCurveChanged();
    return true;
}

void C3DCurve::RoundControlsPosition()
{
    for (int32_t i = 1; i <= m_controlsCount; ++i)
        RoundControlPosition(i);
}

void C3DCurve::RoundControlPosition(int32_t index)
{
    ControlRecord& r = Record(index, "C3DCurve.RoundControlPosition");
    r.X = RoundSingle2(r.X);
    r.Y = RoundSingle2(r.Y);
    r.Z = RoundSingle2(r.Z);
    UpdateControlAngles(index);
}

void C3DCurve::Invert()
{
    const int32_t n = m_controlsCount;
    if (n < 2)
        return;
    for (int32_t i = 1; i <= n / 2; ++i)
        std::swap(mControls[static_cast<size_t>(i)], mControls[static_cast<size_t>(n + 1 - i)]);
    const double t0 = mControls[static_cast<size_t>(n)].Time;
    for (int32_t i = 1; i <= n; ++i)
        mControls[static_cast<size_t>(i)].Time = t0 - mControls[static_cast<size_t>(i)].Time;
    // Each segment runs backwards: its leaving tangent is the negated old
    // arriving one and vice versa; the hand-edit marks follow their tangents.
    for (int32_t i = 1; i <= n; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(i)];
        const ControlRecord& next = mControls[static_cast<size_t>(i + 1)];
        const float t1x = next.Tan2X, t1y = next.Tan2Y, t1z = next.Tan2Z;
        const int32_t t1c = next.Tan2C;
        const float t2x = next.Tan1X, t2y = next.Tan1Y, t2z = next.Tan1Z;
        const int32_t t2c = next.Tan1C;
        r.Tan1X = -t1x;
        r.Tan1Y = -t1y;
        r.Tan1Z = -t1z;
        r.Tan1C = t1c;
        r.Tan2X = -t2x;
        r.Tan2Y = -t2y;
        r.Tan2Z = -t2z;
        r.Tan2C = t2c;
    }
    RaiseCurveChanged();
}
