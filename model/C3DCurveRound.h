#pragma once

#include "MCommon.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Rounding of the curve code where a count must not fail: halves go to the
// even neighbour, and the result is held within the 32-bit range (NaN gives
// 0). Where the original raised an overflow, use MCommon::CheckedRoundToInt32.
namespace CurveRound {

inline int32_t ToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = MCommon::RoundHalfEven(v);
    if (r >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

}  // namespace CurveRound
