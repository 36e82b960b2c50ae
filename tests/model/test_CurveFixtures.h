#pragma once

// Curves with every stored property away from its default, for the tests
// of the stored forms (curve element, controller, undo states).

#include "test_C3DCurveSupport.h"

#include "C3DCurveController.h"
#include "RuvError.h"

#include <QString>

#include <cmath>

namespace curvefixture {

// Values that need all nine significant digits of a float now and then
// (nextafter of a short decimal), both signs, and large and small scales.
inline float Awkward(int32_t i, int32_t id, int32_t seed)
{
    const double base = (seed * 977 + i * 37 + id * 11) % 1000 * 1.37 + 0.1;
    auto v = static_cast<float>((i % 2 ? -base : base) * (id % 3 == 0 ? 1e-3 : 1.0));
    if ((i + id) % 3 == 0)
        v = std::nextafter(v, 1e30f);
    return v;
}

// Fills `curve` (already of its game type) with `count` controls through
// the property setter, and sets name, flags and start time off their
// defaults. Raises no event.
inline void FillRich(C3DCurve& curve, int32_t count, int32_t seed, const QString& name)
{
    curve.SetName(name);
    curve.SetIsVisible(false);
    curve.SetIsEnabled(false);
    curve.SetShowArrow(false);
    curve.SetShowTimes(true);
    curve.SetShowTangent(false);
    curve.SetStartTime(0.1 + 0.2 + seed);  // needs 17 digits
    for (int32_t i = 1; i <= count; ++i) {
        C3DCurveTestAccess::SetCount(curve, i);
        C3DCurveTestAccess::Rec(curve, i) = NewControlRecord();
        for (int32_t id = 1; id <= 24; ++id) {
            float v = Awkward(i, id, seed);
            switch (id) {
            case 7: v = 10.0f + static_cast<float>(i % 160) + 0.1234567f; break;  // Fov
            case 8: v = 0.5f + static_cast<float>(i % 40) * 0.0137f; break;       // Timescale
            case 9: v = 1.0f; break;                                              // Hide
            case 10: v = std::fabs(v) + 0.5f; break;                              // WglAmp
            case 11: v = static_cast<float>(1 + i % 5); break;                    // WglFreq
            case 15: v = static_cast<float>(1 + i % 7); break;                    // Tan1C
            case 20: v = static_cast<float>(1 + (i + 3) % 7); break;              // Tan2C
            case 21: v = static_cast<float>(i) * 1.37f + 0.001f; break;           // Time
            default: break;
            }
            curve.SetValue(i, id, TaggedValue(v));
        }
        curve.SetCommand(i, QStringLiteral("say \"%1\" <a&b> \u00e9\u4e2d ; 'x'\tend").arg(i));
    }
}

// Every stored value of two curves, with a readable note on the first
// difference; empty when they agree.
inline QString Difference(const C3DCurve& a, const C3DCurve& b)
{
    if (a.Name() != b.Name())
        return QStringLiteral("name %1 / %2").arg(a.Name(), b.Name());
    if (a.IsVisible() != b.IsVisible() || a.IsEnabled() != b.IsEnabled() ||
        a.ShowArrow() != b.ShowArrow() || a.ShowTimes() != b.ShowTimes() ||
        a.ShowTangent() != b.ShowTangent())
        return QStringLiteral("flags");
    if (a.StartTime() != b.StartTime())
        return QStringLiteral("start time");
    if (a.ControlsCount() != b.ControlsCount())
        return QStringLiteral("count %1 / %2").arg(a.ControlsCount()).arg(b.ControlsCount());
    for (int32_t i = 1; i <= a.ControlsCount(); ++i)
        for (int32_t id = 1; id <= 25; ++id)
            if (a.value(i, id) != b.value(i, id))
                return QStringLiteral("control %1 id %2: %3 / %4")
                    .arg(i)
                    .arg(id)
                    .arg(a.value(i, id).Number(), 0, 'g', 9)
                    .arg(b.value(i, id).Number(), 0, 'g', 9);
    return {};
}

inline QString Difference(const C3DCurveController& a, const C3DCurveController& b)
{
    if (a.GameType() != b.GameType())
        return QStringLiteral("game type");
    if (a.CurveCount() != b.CurveCount())
        return QStringLiteral("curve count %1 / %2").arg(a.CurveCount()).arg(b.CurveCount());
    for (int32_t k = 0; k < a.CurveCount(); ++k) {
        const QString d = Difference(a.Curves(k), b.Curves(k));
        if (!d.isEmpty())
            return QStringLiteral("curve %1: %2").arg(k).arg(d);
    }
    return {};
}

// A controller of `curves` curves of `controls` rich controls each.
inline void FillRich(C3DCurveController& c, int32_t gameType, int32_t curves, int32_t controls)
{
    c.SetGameType(gameType);
    for (int32_t k = 0; k < curves; ++k)
        FillRich(c.Add(QString()), controls, k, QStringLiteral("Path_%1").arg(k));
}

} // namespace curvefixture
