// Automatic roll: the camera banks into the turns of its path.
#include "C3DCurve.h"

#include "C3DCurveMath.h"

#include <cmath>

void C3DCurve::CalculateAutoRoll(double maximumAngle)
{
    const int32_t n = m_controlsCount;
    if (n < 1)
        return;
    std::vector<double> roll(static_cast<size_t>(n) + 1, 0.0);
    auto x = [this](int32_t i) { return static_cast<double>(mControls[static_cast<size_t>(i)].X); };
    auto y = [this](int32_t i) { return static_cast<double>(mControls[static_cast<size_t>(i)].Y); };

    // The bend at each middle control k is its signed distance from the
    // chord between its neighbours, seen from above: positive to the left of
    // the chord's direction. The cross product measures it the same way for
    // chords of any direction, axis-aligned ones included.
    for (int32_t k = 2; k <= n - 1; ++k) {
        const double cx = x(k + 1) - x(k - 1);
        const double cy = y(k + 1) - y(k - 1);
        const double length = std::sqrt(cx * cx + cy * cy);
        if (length == 0.0 || (x(k) == x(k - 1) && y(k) == y(k - 1)))
            continue;
        const double cross = cx * (y(k) - y(k - 1)) - cy * (x(k) - x(k - 1));
        const double bend = cross / length;
        // A camera looking along the chord banks fully, one looking back
        // banks the other way, one looking across hardly at all.
        const double heading = CurveMath::RadToDeg(std::atan2(cy, cx));
        const double yaw = mControls[static_cast<size_t>(k)].Yaw;
        roll[static_cast<size_t>(k)] = std::cos(CurveMath::DegToRad(yaw - heading)) * bend;
    }

    const double m = MaxAbsValue(roll);
    for (int32_t i = 1; i <= n; ++i) {
        const double r = m == 0.0 ? 0.0 : maximumAngle / m * roll[static_cast<size_t>(i)];
        mControls[static_cast<size_t>(i)].Roll = static_cast<float>(r);
    }
    RaiseCurveChanged();
}
