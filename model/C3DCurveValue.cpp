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

}  // namespace

void C3DCurve::SetFov(int32_t index, float v)
{
    Record(index, "C3DCurve.SetFov").Fov = MRuvMain::ClampFov(v);
}

void C3DCurve::SetTimescale(int32_t index, float v)
{
    ControlRecord& r = Record(index, "C3DCurve.SetTimescale");
    r.Timescale = MRuvMain::NormalizeTimescale(mGameType, v, 0.01f);
}

void C3DCurve::SetWglFreq(int32_t index, float v)
{
    ControlRecord& r = Record(index, "C3DCurve.SetWglFreq");
    if (!(v > 0.0f)) {
        r.WglFreq = r.WglAmp > 0.0f ? 1 : 0;
        return;
    }
    // A wiggle period longer than its segment is the segment.
    const double steps = GetSegmentRawSteps(index);
    if (steps > 0.0 && static_cast<float>(steps) < v)
        v = MCommon::SafeCSng(TaggedValue(steps));
    r.WglFreq = MCommon::CheckedRoundToInt32(v, QStringLiteral("C3DCurve.SetWglFreq"));
}

void C3DCurve::SetTan1C(int32_t index, float v)
{
    Record(index, "C3DCurve.SetTan1C").Tan1C = ClampEditMask(v);
}

void C3DCurve::SetTan2C(int32_t index, float v)
{
    Record(index, "C3DCurve.SetTan2C").Tan2C = ClampEditMask(v);
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

void C3DCurve::SetListValues(int32_t index, const float* values, int32_t count)
{
    if (count < 0 || count > 24)
        throw RuvError::Platform(RuvError::IndexOutOfRange, kValueSource);
    static const std::array<int32_t, 26> types = GetPropertyTypes();
    for (int32_t id = 1; id <= count; ++id)
        if (types[static_cast<size_t>(id)] == TypeNumber)
            SetNumberValue(index, id, values[id - 1]);
}

void C3DCurve::SetNumberValue(int32_t index, int32_t id, float x)
{
    // A NaN or infinite coordinate, angle or time would poison every frame
    // sampled from the curve.
    if (!std::isfinite(x))
        throw RuvError::Platform(RuvError::InvalidArgument, kValueSource);
    switch (id) {
    case 1: SetX(index, x); break;
    case 2: SetY(index, x); break;
    case 3: SetZ(index, x); break;
    case 4: SetPitch(index, x); break;
    case 5: SetYaw(index, x); break;
    case 6: SetRoll(index, x); break;
    case 7: SetFov(index, x); break;
    case 8: SetTimescale(index, x); break;
    case 9: SetHide(index, x); break;
    case 10: SetWglAmp(index, x); break;
    case 11: SetWglFreq(index, x); break;
    case 12: SetTan1X(index, x); break;
    case 13: SetTan1Y(index, x); break;
    case 14: SetTan1Z(index, x); break;
    case 15: SetTan1C(index, x); break;
    case 17: SetTan2X(index, x); break;
    case 18: SetTan2Y(index, x); break;
    case 19: SetTan2Z(index, x); break;
    case 20: SetTan2C(index, x); break;
    case 21: SetTime(index, x); break;
    case 22: SetTargetX(index, x); break;
    case 23: SetTargetY(index, x); break;
    case 24: SetTargetZ(index, x); break;
    default: break;
    }
}
