#pragma once

#include <array>
#include <cstdint>

namespace MColor {

// A colour 0xBBGGRR split into red, green and blue (indices 0 to 2).
// Above 0xFFFFFF gives white, 0 or below gives black.
std::array<uint8_t, 3> SplitRGB(int32_t colour);

} // namespace MColor
