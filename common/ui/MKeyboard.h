#pragma once

#include <cstdint>
#include <vector>

// Synthesized key strokes into the focused window, named as the Windows
// input records name them. With the scan-code flag the scan code names the
// physical key (PC set 1; the extended flag for the E0 keys), whatever the
// layout prints on it: 0x29 is the key left of 1, the games' console key, on
// a German or French keyboard too. With the Unicode flag the scan code is a
// character, otherwise the virtual key names the key by its US symbol.
namespace MKeyboard
{
constexpr std::uint32_t InputKeyboard = 1;
constexpr std::int32_t FlagExtendedKey = 0x1;
constexpr std::int32_t FlagKeyUp = 0x2;
constexpr std::int32_t FlagUnicode = 0x4;
constexpr std::int32_t FlagScanCode = 0x8;

constexpr std::int32_t ActionDown = 0;
constexpr std::int32_t ActionUp = 1;
constexpr std::int32_t ActionPress = 2;

struct KeyInput
{
    std::uint32_t type = InputKeyboard;
    std::uint16_t virtualKey = 0;
    std::uint16_t scanCode = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uint32_t extraInfo = 0;
};

// The records of one call, in sending order: action 0 down, 1 up (with the
// key-up flag), 2 down then up, anything else none. A virtual key outside
// the 16-bit range raises the overflow error.
std::vector<KeyInput> BuildKeyInputs(std::int16_t scanCode, std::int32_t virtualKey,
                                     std::int32_t flags, std::int32_t action);

// Sends the records; the number that the X server took (0 without a display
// with XTest, for scan codes of no key, or for symbols and characters that
// no key of the layout carries).
std::int32_t SendInputs(const std::vector<KeyInput>& inputs);

// True when at least one record was taken.
bool SendKey(std::int16_t scanCode, std::int32_t virtualKey, std::int32_t flags, std::int32_t action);
}
