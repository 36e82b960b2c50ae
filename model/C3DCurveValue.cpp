// The numbered control properties as tagged values, and the setters that
// keep each property within its rule.
#include "C3DCurve.h"

#include "MCommon.h"
#include "MRuvMain.h"
#include "RuvError.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kValueSource = QStringLiteral("C3DCurve.Value");

// An edit mask: 0 to 7, whole.
int32_t ClampEditMask(float v)
{
    const float clamped = std::clamp(v, 0.0f, 7.0f);
    return static_cast<int32_t>(MCommon::RoundHalfEven(clamped));
}

// The setter named by an index error, by property id (16 has none).
constexpr const char* kSetterSources[25] = {
    nullptr,
    "C3DCurve.SetX", "C3DCurve.SetY", "C3DCurve.SetZ",
    "C3DCurve.SetPitch", "C3DCurve.SetYaw", "C3DCurve.SetRoll",
    "C3DCurve.SetFov", "C3DCurve.SetTimescale", "C3DCurve.SetHide",
    "C3DCurve.SetWglAmp", "C3DCurve.SetWglFreq",
    "C3DCurve.SetTan1X", "C3DCurve.SetTan1Y", "C3DCurve.SetTan1Z", "C3DCurve.SetTan1C",
    nullptr,
    "C3DCurve.SetTan2X", "C3DCurve.SetTan2Y", "C3DCurve.SetTan2Z", "C3DCurve.SetTan2C",
    "C3DCurve.SetTime", "C3DCurve.SetTargetX", "C3DCurve.SetTargetY", "C3DCurve.SetTargetZ",
};

}  // namespace

void C3DCurve::SetFov(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetFov"), index, 7, v);
}

void C3DCurve::SetTimescale(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetTimescale"), index, 8, v);
}

void C3DCurve::SetTime(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetTime"), index, 21, v);
}

void C3DCurve::SetTargetX(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetTargetX"), index, 22, v);
}

void C3DCurve::SetTargetY(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetTargetY"), index, 23, v);
}

void C3DCurve::SetTargetZ(int32_t index, float v)
{
    StoreNumber(Record(index, "C3DCurve.SetTargetZ"), index, 24, v);
}

TaggedValue C3DCurve::value(int32_t index, int32_t id) const
{
    switch (id) {
    case 1: return GetX(index);
    case 2: return GetY(index);
    case 3: return GetZ(index);
    case 4: return GetPitch(index);
    case 5: return GetYaw(index);
    case 6: return GetRoll(index);
    case 7: return GetFov(index);
    case 8: return GetTimescale(index);
    case 9: return GetHide(index);
    case 10: return GetWglAmp(index);
    case 11: return GetWglFreq(index);
    case 12: return GetTan1X(index);
    case 13: return GetTan1Y(index);
    case 14: return GetTan1Z(index);
    case 15: return GetTan1C(index);
    case 17: return GetTan2X(index);
    case 18: return GetTan2Y(index);
    case 19: return GetTan2Z(index);
    case 20: return GetTan2C(index);
    case 21: return GetTime(index);
    case 22: return GetTargetX(index);
    case 23: return GetTargetY(index);
    case 24: return GetTargetZ(index);
    case 25: return GetCommand(index);
    default: return TaggedValue();
    }
}

void C3DCurve::SetValue(int32_t index, int32_t id, const TaggedValue& v)
{
    if (id < 0 || id > 25)
        throw RuvError::Platform(RuvError::IndexOutOfRange, kValueSource);
    const int32_t t = GetPropertyType(id);
    if (t == TypeEmpty)
        return;
    if (static_cast<int32_t>(v.type()) != t)
        throw RuvError(static_cast<int32_t>(0x80040001u), QStringLiteral("Invalid property value type."),
                       kValueSource);
    if (t != TypeNumber && t != TypeText)
        throw RuvError(static_cast<int32_t>(0x80040002u),
                       QStringLiteral("Property value type not implemented."), kValueSource);
    if (t == TypeText) {
        SetCommand(index, v.TextValue());
        return;
    }
    SetNumberValue(index, id, static_cast<float>(v.Number()));
}

void C3DCurve::SetNumberValue(int32_t index, int32_t id, float x)
{
    // A NaN or infinite coordinate, angle or time would poison every frame
    // sampled from the curve.
    if (!std::isfinite(x))
        throw RuvError::Platform(RuvError::InvalidArgument, kValueSource);
    if (id < 1 || id > 24 || id == 16)
        return;
    StoreNumber(Record(index, kSetterSources[id]), index, id, x);
}

void C3DCurve::StoreNumber(ControlRecord& r, int32_t index, int32_t id, float x)
{
    if (id < 1 || id > 24)
        return;
    std::array<float, 24> one{};
    one[static_cast<size_t>(id - 1)] = x;
    StoreNumbers(r, index, one.data(), id, id);
}

void C3DCurve::StoreNumbers(ControlRecord& r, int32_t index, const float* values, int32_t first,
                            int32_t last)
{
    // One straight pass in id order: a file's reader stores over a hundred
    // thousand values, and the order matters (the wiggle period follows
    // its amplitude).
    auto has = [&](int32_t id) { return id >= first && id <= last; };
    auto v = [&](int32_t id) { return values[id - 1]; };
    if (has(1))
        r.X = v(1);
    if (has(2))
        r.Y = v(2);
    if (has(3))
        r.Z = v(3);
    if (has(4))
        r.Pitch = v(4);
    if (has(5))
        r.Yaw = v(5);
    if (has(6))
        r.Roll = v(6);
    if (has(7))
        r.Fov = MRuvMain::ClampFov(v(7));
    if (has(8))
        r.Timescale = MRuvMain::NormalizeTimescale(mGameType, v(8), 0.01f);
    if (has(9))
        r.Hide = v(9) > 0.0f ? 1 : 0;
    if (has(10)) {
        const float amplitude = v(10);
        r.WglAmp = amplitude < 0.0f ? 0.0f : amplitude;
        if (amplitude > 0.0f && r.WglFreq == 0)
            r.WglFreq = 1;
    }
    if (has(11)) {
        float period = v(11);
        if (!(period > 0.0f)) {
            r.WglFreq = r.WglAmp > 0.0f ? 1 : 0;
        } else {
            // A wiggle period longer than its segment is the segment.
            const double steps = GetSegmentRawSteps(index);
            if (steps > 0.0 && static_cast<float>(steps) < period)
                period = MCommon::SafeCSng(TaggedValue(steps));
            r.WglFreq = MCommon::CheckedRoundToInt32(period, QStringLiteral("C3DCurve.SetWglFreq"));
        }
    }
    if (has(12))
        r.Tan1X = v(12);
    if (has(13))
        r.Tan1Y = v(13);
    if (has(14))
        r.Tan1Z = v(14);
    if (has(15))
        r.Tan1C = ClampEditMask(v(15));
    // 16 is a gap.
    if (has(17))
        r.Tan2X = v(17);
    if (has(18))
        r.Tan2Y = v(18);
    if (has(19))
        r.Tan2Z = v(19);
    if (has(20))
        r.Tan2C = ClampEditMask(v(20));
    if (has(21)) {
        r.Time = static_cast<double>(v(21));
        if (index == m_controlsCount)
            mLastTimeSet = true;
    }
    if (has(22))
        r.TargetX = static_cast<double>(v(22));
    if (has(23))
        r.TargetY = static_cast<double>(v(23));
    if (has(24))
        r.TargetZ = static_cast<double>(v(24));
}
