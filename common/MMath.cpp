#include "MMath.h"

#include "MCommon.h"
#include "RuvError.h"

#include <cmath>

namespace MMath {

int32_t Gcd(int32_t a, int32_t b)
{
    static const QString source = QStringLiteral("MMath.Gcd");
    if (a == 0 || b == 0)
        throw RuvError::Platform(RuvError::DivisionByZero, source);
    // Magnitudes in 64 bits: -2^31 has no 32-bit magnitude.
    int64_t dividend = a < 0 ? -int64_t(a) : a;
    int64_t divisor = b < 0 ? -int64_t(b) : b;
    if (divisor > dividend)
        std::swap(dividend, divisor);
    for (int64_t rest = dividend % divisor; rest != 0; rest = dividend % divisor) {
        dividend = divisor;
        divisor = rest;
    }
    if (divisor > INT32_MAX)
        throw RuvError::Platform(RuvError::Overflow, source);
    return static_cast<int32_t>(divisor);
}

int32_t Lcm(int32_t a, int32_t b)
{
    static const QString source = QStringLiteral("MMath.Lcm");
    if (a == 0 || b == 0)
        throw RuvError::Platform(RuvError::DivisionByZero, source);
    const int32_t product = MCommon::CheckedMul(a, b, source);
    return product / Gcd(a, b);
}

double DegToRad(double x)
{
    return MCommon::CheckedFinite(x * (Pi / 180.0), QStringLiteral("MMath.DegToRad"));
}

double RadToDeg(double x)
{
    return MCommon::CheckedFinite(x * (180.0 / Pi), QStringLiteral("MMath.RadToDeg"));
}

float FMod(float a, float b)
{
    MCommon::CheckDivisor(b, QStringLiteral("MMath.FMod"));
    const float quotient = a / b;
    return a - std::trunc(quotient) * b;
}

} // namespace MMath
