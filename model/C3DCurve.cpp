// The spine of a camera path: the control array, the numbered properties,
// naming, copying and the bounds that frame a curve in a view.
#include "C3DCurve.h"

#include "RuvError.h"

#include <QList>

#include <algorithm>

namespace {

// Type code of each property id 0..25: ids 1-15 and 17-24 are numbers,
// 16 is a gap, 25 the command text.
constexpr std::array<int32_t, 26> kPropertyTypes = {
    0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0, 4, 4, 4, 4, 4, 4, 4, 4, 8,
};

[[noreturn]] void RaiseIndexError(const char* source)
{
    throw RuvError::Platform(RuvError::IndexOutOfRange, QString::fromLatin1(source));
}

}  // namespace

void C3DCurveListeners::Add(I3DCurveEvents* listener)
{
    if (listener && std::find(m_list.begin(), m_list.end(), listener) == m_list.end())
        m_list.push_back(listener);
}

void C3DCurveListeners::Remove(I3DCurveEvents* listener)
{
    m_list.erase(std::remove(m_list.begin(), m_list.end(), listener), m_list.end());
}

C3DCurve::C3DCurve() : m_name(QStringLiteral("NoName"))
{
    // No listener can be attached yet, so Clear raises nothing here.
    Clear();
}

// ---- Property table --------------------------------------------------------

int32_t C3DCurve::GetPropertyType(int32_t id)
{
    if (id < 0 || id > 25)
        RaiseIndexError("C3DCurve.GetPropertyType");
    return kPropertyTypes[static_cast<size_t>(id)];
}

std::array<int32_t, 26> C3DCurve::GetPropertyTypes()
{
    return kPropertyTypes;
}

bool C3DCurve::IsPropertyNumeric(int32_t id)
{
    // Any of the numeric type codes (integers, floats, currency, decimal...);
    // of the codes in use only 4 passes.
    const int32_t t = GetPropertyType(id);
    return (t & 6) == 6 || (t & 14) == 14 || (t & 5) == 5 || (t & 4) == 4 || (t & 3) == 3 ||
           (t & 2) == 2 || (t & 17) == 17;
}

bool C3DCurve::IsPointAngleProperty(int32_t id)
{
    return id == 4 || id == 5 || id == 6;
}

// ---- Records ---------------------------------------------------------------

ControlRecord& C3DCurve::Record(int32_t index, const char* source)
{
    if (index < 0 || index >= RECORD_COUNT)
        RaiseIndexError(source);
    return mControls[static_cast<size_t>(index)];
}

const ControlRecord& C3DCurve::Record(int32_t index, const char* source) const
{
    if (index < 0 || index >= RECORD_COUNT)
        RaiseIndexError(source);
    return mControls[static_cast<size_t>(index)];
}

void C3DCurve::CheckAxis(int32_t axis, const char* source)
{
    if (axis < 0 || axis > 2)
        RaiseIndexError(source);
}

ControlRecord C3DCurve::GetControlRecord(int32_t index) const
{
    return Record(index, "C3DCurve.GetControlRecord");
}

// ---- Naming ----------------------------------------------------------------

QString C3DCurve::SanitizeName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("NoName");
    // The allowed set is defined on the single-byte form of the name: a
    // character outside Latin-1 cannot be one of the allowed bytes.
    QString out;
    out.reserve(trimmed.size());
    // One code point is one byte in the single-byte form (a character that
    // has no byte there becomes "?", which is not allowed either).
    for (const uint u : trimmed.toUcs4()) {
        const bool ok = u == 32 || u == 45 || u == 46 || (u >= 48 && u <= 57) ||
                        (u >= 65 && u <= 90) || u == 95 || (u >= 97 && u <= 122) || u == 124;
        out.append(ok ? QChar(static_cast<char16_t>(u)) : QChar(u'_'));
    }
    return out;
}

void C3DCurve::SetName(const QString& name)
{
    m_name = SanitizeName(name);
}

// ---- Plain accessors -------------------------------------------------------

std::array<float, 3> C3DCurve::GetPosition(int32_t index) const
{
    const ControlRecord& r = Record(index, "C3DCurve.GetPosition");
    return {r.X, r.Y, r.Z};
}

void C3DCurve::SetPosition(int32_t index, const std::array<float, 3>& position)
{
    ControlRecord& r = Record(index, "C3DCurve.SetPosition");
    r.X = position[0];
    r.Y = position[1];
    r.Z = position[2];
}

float C3DCurve::GetAxe(int32_t index, int32_t axis) const
{
    const ControlRecord& r = Record(index, "C3DCurve.GetAxe");
    CheckAxis(axis, "C3DCurve.GetAxe");
    return axis == 0 ? r.X : axis == 1 ? r.Y : r.Z;
}

void C3DCurve::SetAxe(int32_t index, int32_t axis, float v)
{
    ControlRecord& r = Record(index, "C3DCurve.SetAxe");
    CheckAxis(axis, "C3DCurve.SetAxe");
    (axis == 0 ? r.X : axis == 1 ? r.Y : r.Z) = v;
}

float C3DCurve::GetX(int32_t index) const { return Record(index, "C3DCurve.GetX").X; }
void C3DCurve::SetX(int32_t index, float v) { Record(index, "C3DCurve.SetX").X = v; }
float C3DCurve::GetY(int32_t index) const { return Record(index, "C3DCurve.GetY").Y; }
void C3DCurve::SetY(int32_t index, float v) { Record(index, "C3DCurve.SetY").Y = v; }
float C3DCurve::GetZ(int32_t index) const { return Record(index, "C3DCurve.GetZ").Z; }
void C3DCurve::SetZ(int32_t index, float v) { Record(index, "C3DCurve.SetZ").Z = v; }
float C3DCurve::GetPitch(int32_t index) const { return Record(index, "C3DCurve.GetPitch").Pitch; }
void C3DCurve::SetPitch(int32_t index, float v) { Record(index, "C3DCurve.SetPitch").Pitch = v; }
float C3DCurve::GetYaw(int32_t index) const { return Record(index, "C3DCurve.GetYaw").Yaw; }
void C3DCurve::SetYaw(int32_t index, float v) { Record(index, "C3DCurve.SetYaw").Yaw = v; }
float C3DCurve::GetRoll(int32_t index) const { return Record(index, "C3DCurve.GetRoll").Roll; }
void C3DCurve::SetRoll(int32_t index, float v) { Record(index, "C3DCurve.SetRoll").Roll = v; }

QString C3DCurve::GetCommand(int32_t index) const
{
    return Record(index, "C3DCurve.GetCommand").Command;
}

void C3DCurve::SetCommand(int32_t index, const QString& v)
{
    Record(index, "C3DCurve.SetCommand").Command = v;
}

float C3DCurve::GetFov(int32_t index) const { return Record(index, "C3DCurve.GetFov").Fov; }
float C3DCurve::GetTimescale(int32_t index) const
{
    return Record(index, "C3DCurve.GetTimescale").Timescale;
}

float C3DCurve::GetHide(int32_t index) const
{
    return Record(index, "C3DCurve.GetHide").Hide != 0 ? 1.0f : 0.0f;
}

float C3DCurve::GetWglAmp(int32_t index) const { return Record(index, "C3DCurve.GetWglAmp").WglAmp; }
float C3DCurve::GetWglFreq(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetWglFreq").WglFreq);
}

float C3DCurve::GetTan1X(int32_t index) const { return Record(index, "C3DCurve.GetTan1X").Tan1X; }
float C3DCurve::GetTan1Y(int32_t index) const { return Record(index, "C3DCurve.GetTan1Y").Tan1Y; }
float C3DCurve::GetTan1Z(int32_t index) const { return Record(index, "C3DCurve.GetTan1Z").Tan1Z; }
float C3DCurve::GetTan1C(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTan1C").Tan1C);
}
float C3DCurve::GetTan2X(int32_t index) const { return Record(index, "C3DCurve.GetTan2X").Tan2X; }
float C3DCurve::GetTan2Y(int32_t index) const { return Record(index, "C3DCurve.GetTan2Y").Tan2Y; }
float C3DCurve::GetTan2Z(int32_t index) const { return Record(index, "C3DCurve.GetTan2Z").Tan2Z; }
float C3DCurve::GetTan2C(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTan2C").Tan2C);
}

bool C3DCurve::IsSelected(int32_t index) const
{
    return Record(index, "C3DCurve.IsSelected").IsSelected;
}

void C3DCurve::SetSelected(int32_t index, bool v)
{
    Record(index, "C3DCurve.SetSelected").IsSelected = v;
}

void C3DCurve::ToggleSelection(int32_t index)
{
    ControlRecord& r = Record(index, "C3DCurve.ToggleSelection");
    r.IsSelected = !r.IsSelected;
}

float C3DCurve::GetTime(int32_t index) const
{
    return static_cast<float>(Record(index, "C3DCurve.GetTime").Time);
}

// ---- Whole curve -----------------------------------------------------------

void C3DCurve::Clear()
{
    m_stepCount = 0;
    m_stepRate = 0;
    mDuration = 0.0;
    mControls.fill(ControlRecord{});
    m_controlsCount = 0;
    AfterControlsCountChange(true);
}

void C3DCurve::GetMinMaxBounds(CurveMinMaxBounds& bounds) const
{
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        const float p[3] = {r.X, r.Y, r.Z};
        for (size_t a = 0; a < 3; ++a) {
            if (p[a] < bounds[a][0])
                bounds[a][0] = p[a];
            if (p[a] > bounds[a][1])
                bounds[a][1] = p[a];
        }
    }
}

// ---- Copies ----------------------------------------------------------------

void C3DCurve::Load(const C3DCurve& source)
{
    if (&source == this)
        return;
    m_name = source.m_name;
    m_isVisible = source.m_isVisible;
    m_showArrow = source.m_showArrow;
    m_showTimes = source.m_showTimes;
    m_showTangent = source.m_showTangent;
    m_isEnabled = source.m_isEnabled;

    // Everything is copied as it is, not pushed through the setters: the
    // setters would snap the timescales with this curve's game type (0 for a
    // fresh curve) and clamp the step rate by this curve's old controls, and
    // every undo state and copy would then differ from what the user made.
    if (source.m_stepRate != m_stepRate) {
        m_stepRate = source.m_stepRate;
        m_listeners.Raise([this](I3DCurveEvents& l) { l.StepRateChanged(*this); });
    }
    m_startTime = source.m_startTime;
    mControls = source.mControls;  // the end neighbours come along
    m_controlsCount = source.m_controlsCount;
    m_stepCount = source.m_stepCount;
    FinishLoad();
}

void C3DCurve::FinishLoad()
{
    // Passing the change bracket raises CurveChanged; the times are left
    // exactly as they are, so no snapping here.
    BeginChange();
    --mChangeDepth;
    if (mChangeDepth < 1) {
        mChangeDepth = 0;
        mCurveChanging = false;
        m_listeners.Raise([this](I3DCurveEvents& l) { l.CurveChanged(*this); });
    }
    // The duration follows the controls; the step count stays as it came.
    const int32_t stepCount = m_stepCount;
    AfterControlsCountChange(false);
    m_stepCount = stepCount;
}

C3DCurve C3DCurve::Clone() const
{
    C3DCurve copy;
    copy.mGameType = mGameType;
    copy.Load(*this);
    return copy;
}
