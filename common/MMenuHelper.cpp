#include "MMenuHelper.h"

namespace MMenuHelper
{
namespace
{
constexpr std::int32_t KeyBackspace = 8;
constexpr std::int32_t KeyInsert = 45;
constexpr std::int32_t KeyDelete = 46;
constexpr std::int32_t KeyA = 65;
constexpr std::int32_t KeyZ = 90;
constexpr std::int32_t KeyF1 = 112;
constexpr std::int32_t KeyF9 = 120;
constexpr std::int32_t KeyF11 = 122;
constexpr std::int32_t KeyF12 = 123;
}

void FKeyToShortcut(std::int32_t keyCode, std::int32_t shift, std::int32_t& code)
{
    code = 0;
    std::int32_t base = 0;
    switch (shift) {
    case 0: base = 27; break;
    case CtrlMask: base = 38; break;
    case ShiftMask: base = 49; break;
    case CtrlMask | ShiftMask: base = 60; break;
    default: return;
    }
    if (keyCode >= KeyF1 && keyCode <= KeyF9)
        code = base + (keyCode - KeyF1);
    else if (keyCode >= KeyF11 && keyCode <= KeyF12)
        code = base + 9 + (keyCode - KeyF11);
}

std::int32_t KeyToMenuShortcut(std::int32_t keyCode, std::int32_t shift)
{
    std::int32_t code = 0;
    FKeyToShortcut(keyCode, shift, code);
    if (code != 0)
        return code;
    if (keyCode >= KeyA && keyCode <= KeyZ && shift == CtrlMask)
        return keyCode - 64;
    if (keyCode == KeyInsert && shift == CtrlMask)
        return 71;
    if (keyCode == KeyInsert && shift == ShiftMask)
        return 72;
    if (keyCode == KeyDelete && shift == 0)
        return 73;
    if (keyCode == KeyDelete && shift == ShiftMask)
        return 74;
    if (keyCode == KeyBackspace && shift == AltMask)
        return 75;
    return 0;
}
}
