#pragma once

#include <cstdint>

// Integer and angle helpers of the curves and the frame-rate list.
namespace MMath {

// pi as the program has always used it (fourteen decimals), so that angles
// written by older versions convert to the same values.
inline constexpr double Pi = 3.14159265358979;

// Greatest common divisor by Euclid's remainders; a zero argument raises
// RuvError 11 (division by zero). Callers pass positive counts.
int32_t Gcd(int32_t a, int32_t b);
// a * b / Gcd(a, b) in 32-bit arithmetic: a zero argument raises 11, a
// product beyond 32 bits raises 6 (overflow).
int32_t Lcm(int32_t a, int32_t b);
// x * (Pi / 180) and x * (180 / Pi); a result beyond the 64-bit float range
// raises 6.
double DegToRad(double x);
double RadToDeg(double x);
// a - truncate(a / b) * b with the quotient rounded to a 32-bit float first;
// the sign of a. b = 0 raises 11.
float FMod(float a, float b);

} // namespace MMath
