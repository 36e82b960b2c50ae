#pragma once

#include <cstdint>

// The numbers by which the menus name their shortcut keys: 0 for none, 1 to
// 75 for Ctrl+A..Z, the function keys alone and with Ctrl, Shift or both
// (F10 has none), Ctrl+Ins, Shift+Ins, Del, Shift+Del and Alt+Backspace.
// Key codes are Windows virtual-key numbers; the shift state is a mask of
// 1 Shift, 2 Ctrl, 4 Alt and must match exactly.
namespace MMenuHelper
{
constexpr std::int32_t ShiftMask = 1;
constexpr std::int32_t CtrlMask = 2;
constexpr std::int32_t AltMask = 4;

std::int32_t KeyToMenuShortcut(std::int32_t keyCode, std::int32_t shift);

// Sets code to the number of a function-key shortcut, 0 when none.
void FKeyToShortcut(std::int32_t keyCode, std::int32_t shift, std::int32_t& code);
}
