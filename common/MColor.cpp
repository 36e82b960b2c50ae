#include "MColor.h"

namespace MColor {

std::array<uint8_t, 3> SplitRGB(int32_t colour)
{
    if (colour > 0xFFFFFF)
        return {255, 255, 255};
    if (colour <= 0)
        return {0, 0, 0};
    return {static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
            static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

} // namespace MColor
