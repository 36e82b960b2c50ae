#pragma once

#include "MMath.h"

// Degrees and radians of the curve code: the program's helpers, with its
// value of pi.
namespace CurveMath {

using MMath::DegToRad;
using MMath::RadToDeg;

}  // namespace CurveMath
