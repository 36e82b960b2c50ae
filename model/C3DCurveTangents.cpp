// Control tangents: the automatic rule, its reapplication after controls
// move, and the hit test and drag of the tangent handles in the 2D views.
#include "C3DCurve.h"

#include "CView.h"
#include "MMath.h"
#include "RuvError.h"

#include <bit>
#include <cmath>

namespace {

// The automatic tangent spans the neighbours: (P(i+1) - P(i-1)) * 1.1 / 4,
// with 1.1 as the game's single-precision constant.
constexpr double kTangentFactor = static_cast<double>(1.1f);

// Views that show each axis: X in views 1 and 2, Y in 1 and 4, Z in 2 and 4.
constexpr int32_t kAxisViews[3] = {3, 5, 6};

// Stands in for a zero divisor in the handle drag (about 1e-39).
const float kTinyDivisor = std::bit_cast<float>(int32_t{713624});

float& TanComponent(ControlRecord& r, uint8_t k, int axis)
{
    if (k == 1)
        return axis == 0 ? r.Tan1X : axis == 1 ? r.Tan1Y : r.Tan1Z;
    return axis == 0 ? r.Tan2X : axis == 1 ? r.Tan2Y : r.Tan2Z;
}

float Coord(const ControlRecord& r, int axis)
{
    return axis == 0 ? r.X : axis == 1 ? r.Y : r.Z;
}

// A tangent of one record: three components and its edit mask.
struct Tangent
{
    float c[3] = {0.0f, 0.0f, 0.0f};
    int32_t mask = 0;
};

Tangent ReadTangent(const ControlRecord& r, uint8_t k)
{
    Tangent t;
    if (k == 1) {
        t.c[0] = r.Tan1X;
        t.c[1] = r.Tan1Y;
        t.c[2] = r.Tan1Z;
        t.mask = r.Tan1C;
    } else {
        t.c[0] = r.Tan2X;
        t.c[1] = r.Tan2Y;
        t.c[2] = r.Tan2Z;
        t.mask = r.Tan2C;
    }
    return t;
}

void WriteTangent(ControlRecord& r, uint8_t k, const Tangent& t)
{
    if (k == 1) {
        r.Tan1X = t.c[0];
        r.Tan1Y = t.c[1];
        r.Tan1Z = t.c[2];
        r.Tan1C = t.mask;
    } else {
        r.Tan2X = t.c[0];
        r.Tan2Y = t.c[1];
        r.Tan2Z = t.c[2];
        r.Tan2C = t.mask;
    }
}

}  // namespace

void C3DCurve::ComputeAutoTangent(int32_t index, uint8_t tangentNumber, int32_t viewMask, bool force)
{
    if (tangentNumber != 1 && tangentNumber != 2)
        throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("C3DCurve.ComputeAutoTangent"));
    if (index < 1 || index > m_controlsCount)
        return;
    const int32_t k = tangentNumber;
    const ControlRecord& ahead = mControls[static_cast<size_t>(index + k)];
    const ControlRecord& behind = mControls[static_cast<size_t>(index + k - 2)];
    ControlRecord& r = mControls[static_cast<size_t>(index)];
    int32_t& editMask = tangentNumber == 1 ? r.Tan1C : r.Tan2C;
    for (int axis = 0; axis < 3; ++axis) {
        const int32_t views = kAxisViews[axis];
        if ((viewMask & views) == 0)
            continue;
        if (!force && (editMask & views) != 0)
            continue;
        const double diff = static_cast<double>(Coord(ahead, axis)) - static_cast<double>(Coord(behind, axis));
        TanComponent(r, tangentNumber, axis) = static_cast<float>(diff * kTangentFactor / 4.0);
    }
    if (force)
        editMask &= ~viewMask;
}

void C3DCurve::TangentSet(int32_t index, uint8_t tangentNumber, int32_t viewMask, bool force)
{
    const int32_t n = m_controlsCount;
    if (index == 1)
        mControls[0] = mControls[1];
    else if (index == n && n >= 1)
        mControls[static_cast<size_t>(n + 1)] = mControls[static_cast<size_t>(n)];
    ComputeAutoTangent(index, tangentNumber, viewMask, force);
    if (tangentNumber == 1)
        ComputeAutoTangent(index - 1, 2, viewMask, force);
    else
        ComputeAutoTangent(index + 1, 1, viewMask, force);
    if (!mTangentBatch)
        RaiseCurveChanged();
}

void C3DCurve::TangentUpdate(int32_t index, int32_t viewMask)
{
    mTangentBatch = true;
    TangentSet(index, 2, viewMask, false);
    TangentSet(index - 1, 1, viewMask, false);
    if (index == 1 || index == m_controlsCount)
        TangentSet(index, 1, viewMask, false);
    mTangentBatch = false;
    RaiseCurveChanged();
}

void C3DCurve::TanSetPrevNext(int32_t index, bool raiseChanged)
{
    mTangentBatch = true;
    TangentSet(index, 2, 7, false);
    TangentSet(index - 1, 1, 7, false);
    if (index == 1 || index == m_controlsCount)
        TangentSet(index, 1, 7, false);
    mTangentBatch = false;
    if (raiseChanged)
        RaiseCurveChanged();
}

void C3DCurve::TangentSetAll(int32_t fromIndex)
{
    mTangentBatch = true;
    for (int32_t i = fromIndex; i <= m_controlsCount; ++i)
        TangentSet(i, 1, 7, true);
    mTangentBatch = false;
    RaiseCurveChanged();
}

void C3DCurve::FindTangentAtViewPoint(uint8_t& tangentNumber, float a, float b, const CView& view,
                                      float tolerance, int32_t& index) const
{
    tangentNumber = 0;
    index = -1;
    const int h = view.HAxis();
    const int v = view.VAxis();
    if (h < 0 || h > 2 || v < 0 || v > 2)
        return;
    for (int32_t i = 1; i <= m_controlsCount && i + 1 < RECORD_COUNT; ++i) {
        const ControlRecord& p = mControls[static_cast<size_t>(i)];
        const ControlRecord& next = mControls[static_cast<size_t>(i + 1)];
        const float d1h = Coord(p, h) + ReadTangent(p, 1).c[h] - a;
        const float d1v = Coord(p, v) + ReadTangent(p, 1).c[v] - b;
        if (std::fabs(d1h) <= tolerance && std::fabs(d1v) <= tolerance) {
            tangentNumber = 1;
            index = i;
            return;
        }
        const float d2h = Coord(next, h) - ReadTangent(p, 2).c[h] - a;
        const float d2v = Coord(next, v) - ReadTangent(p, 2).c[v] - b;
        if (std::fabs(d2h) <= tolerance && std::fabs(d2v) <= tolerance) {
            tangentNumber = 2;
            index = i;
            return;
        }
    }
}

void C3DCurve::DragTangent(const CView& view, int32_t index, uint8_t tangentNumber,
                           const std::array<float, 3>& point, uint8_t keys)
{
    if (tangentNumber != 1 && tangentNumber != 2)
        throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("C3DCurve.DragTangent"));
    const int h = view.HAxis();
    const int v = view.VAxis();
    CheckAxis(h, "C3DCurve.DragTangent");
    CheckAxis(v, "C3DCurve.DragTangent");
    const bool shift = (keys & 1) != 0;
    const bool control = (keys & 2) != 0;
    const bool alt = (keys & 4) != 0;
    const uint8_t k = tangentNumber;

    // The record that holds the tangent, the control at which its handle
    // sits, and the record of the other tangent that meets there.
    ControlRecord& owner = Record(index, "C3DCurve.DragTangent");
    const int32_t anchorIndex = k == 1 ? index : index + 1;
    const ControlRecord& anchor = Record(anchorIndex, "C3DCurve.DragTangent");
    const ControlRecord& next = Record(index + 1, "C3DCurve.DragTangent");
    const float s = k == 1 ? 1.0f : -1.0f;
    const float ah = Coord(anchor, h);
    const float av = Coord(anchor, v);

    Tangent t = ReadTangent(owner, k);
    t.mask |= view.ViewFlag();
    if (!shift) {
        t.c[h] = s * (point[static_cast<size_t>(h)] - ah);
        t.c[v] = s * (point[static_cast<size_t>(v)] - av);
    } else {
        // Along the chord of the segment.
        float dH = Coord(owner, h) - Coord(next, h);
        float dV = Coord(owner, v) - Coord(next, v);
        if (dH == 0.0f)
            dH = kTinyDivisor;
        if (dV == 0.0f)
            dV = kTinyDivisor;
        if (std::fabs(dV) >= std::fabs(dH)) {
            t.c[v] = s * (point[static_cast<size_t>(v)] - av);
            t.c[h] = dH * t.c[v] / dV;
        } else {
            t.c[h] = s * (point[static_cast<size_t>(h)] - ah);
            t.c[v] = dV * t.c[h] / dH;
        }
    }

    if (!control) {
        const int32_t otherIndex = k == 1 ? index - 1 : index + 1;
        const uint8_t otherK = k == 1 ? 2 : 1;
        ControlRecord& otherRec = Record(otherIndex, "C3DCurve.DragTangent");
        Tangent o = ReadTangent(otherRec, otherK);
        if (alt) {
            // Keep the other handle's length in the view plane, turn it to
            // the dragged handle's direction.
            const double len = std::sqrt(static_cast<double>(o.c[h]) * o.c[h] +
                                         static_cast<double>(o.c[v]) * o.c[v]);
            const float tv = t.c[v] == 0.0f ? kTinyDivisor : t.c[v];
            double angle = 90.0 - MMath::RadToDeg(std::atan(static_cast<double>(t.c[h]) / tv));
            const float pv = point[static_cast<size_t>(v)];
            if ((k == 1 && pv < av) || (k == 2 && pv > av))
                angle += 180.0;
            const double rad = MMath::DegToRad(angle);
            o.c[h] = static_cast<float>(std::cos(rad) * len);
            o.c[v] = static_cast<float>(std::sin(rad) * len);
            o.mask |= view.ViewFlag();
        } else {
            o = t;
        }
        WriteTangent(otherRec, otherK, o);
    }
    WriteTangent(owner, k, t);
    RaiseCurveChanged();
}
