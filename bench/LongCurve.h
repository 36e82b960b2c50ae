#pragma once

// A flight of 250 controls and 600,000 frames for the benchmarks.
#include "C3DCurve.h"

#include <cmath>

// The step rate setter keeps a curve near 200000 frames; the benchmarks want
// a longer flight, so they set the rate directly.
struct C3DCurveFlightTestAccess
{
    static void SetRate(C3DCurve& c, int32_t rate) { c.m_stepRate = rate; }
    static ControlRecord& Rec(C3DCurve& c, int32_t i) { return c.mControls[static_cast<size_t>(i)]; }
};

namespace bench {

constexpr int kControls = 250;
constexpr int32_t kRate = 1000;
constexpr double kSeconds = 600.0;

inline C3DCurve MakeLongCurve(int32_t gameType = 0)
{
    C3DCurve c;
    c.SetGameType(gameType);
    for (int i = 0; i < kControls; ++i) {
        const double a = i * 0.37;
        c.AddControl3(static_cast<float>(1000 * std::cos(a)), static_cast<float>(1000 * std::sin(a)),
                      static_cast<float>(50 * std::sin(a * 3)), static_cast<float>(10 * std::sin(a)),
                      static_cast<float>(i * 7 % 360), 0.0f, true);
        ControlRecord& r = C3DCurveFlightTestAccess::Rec(c, i + 1);
        r.Time = kSeconds * i / (kControls - 1);
        if (i % 3 == 0) {
            r.TargetX = 0.5;
            r.TargetY = 0.5;
            r.TargetZ = -100.0;
        }
        if (i % 5 == 0) {
            r.WglAmp = 2.0f;
            r.WglFreq = 3;
        }
    }
    C3DCurveFlightTestAccess::SetRate(c, kRate);
    c.TangentSetAll(1);
    return c;
}

} // namespace bench
