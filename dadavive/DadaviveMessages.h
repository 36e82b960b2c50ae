#pragma once

// The window messages the subclassing library raises, with the packing of
// their word and long parameters that callers unpack. Header only: the
// program includes it without linking the library.

#include <cstdint>

namespace Dadavive {

enum WindowMessage : int32_t {
    WM_ACTIVATE = 6,
    WM_MOVE = 3,
    WM_SIZE = 5,
    WM_SETFOCUS = 7,
    WM_KILLFOCUS = 8,
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_SHOWWINDOW = 24,
    WM_GETMINMAXINFO = 36,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_CHAR = 258,
    WM_SYSKEYDOWN = 260,
    WM_SYSKEYUP = 261,
    WM_SYSCHAR = 262,
    WM_COMMAND = 273,
    WM_MENUCHAR = 288,
    WM_MOUSEMOVE = 512,
    WM_LBUTTONDOWN = 513,
    WM_LBUTTONUP = 514,
    WM_LBUTTONDBLCLK = 515,
    WM_RBUTTONDOWN = 516,
    WM_RBUTTONUP = 517,
    WM_RBUTTONDBLCLK = 518,
    WM_MBUTTONDOWN = 519,
    WM_MBUTTONUP = 520,
    WM_MBUTTONDBLCLK = 521,
    WM_MOUSEWHEEL = 522,
    WM_MOUSEHWHEEL = 526,
    WM_EXITSIZEMOVE = 562,
    WM_HOTKEY = 786,
};

// Size kinds of WM_SIZE.
enum SizeKind : int32_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Notification codes of WM_COMMAND (high word of wParam) for combo boxes.
enum ComboNotification : int32_t { CBN_SELCHANGE = 1, CBN_EDITCHANGE = 5 };

// Every message, as a table entry.
constexpr int32_t ALL_MESSAGES = -1;

// Which table a message goes to: 1 before the window's own handling, any
// other value after it.
constexpr int32_t MSG_BEFORE = 1;
constexpr int32_t MSG_AFTER = 0;

// A point of the size-limits query: 32-bit x and y.
struct Point32
{
    int32_t x = 0;
    int32_t y = 0;
};

// The structure WM_GETMINMAXINFO points to (lParam), 40 bytes.
struct MinMaxInfo
{
    Point32 ptReserved;
    Point32 ptMaxSize;
    Point32 ptMaxPosition;
    Point32 ptMinTrackSize;
    Point32 ptMaxTrackSize;
};
static_assert(sizeof(MinMaxInfo) == 40);

// Two 16-bit halves in one 32-bit value, low first; the result is signed
// and widened to the pointer-sized parameter, as the platform did.
constexpr intptr_t MakeLong(int32_t low, int32_t high)
{
    const uint32_t packed = (static_cast<uint32_t>(low) & 0xFFFFu) | ((static_cast<uint32_t>(high) & 0xFFFFu) << 16);
    return static_cast<intptr_t>(static_cast<int32_t>(packed));
}
constexpr int32_t LoWord(intptr_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value) & 0xFFFFu); }
constexpr int32_t HiWord(intptr_t value) { return static_cast<int32_t>((static_cast<uint32_t>(value) >> 16) & 0xFFFFu); }
constexpr int16_t SignedLoWord(intptr_t value) { return static_cast<int16_t>(LoWord(value)); }
constexpr int16_t SignedHiWord(intptr_t value) { return static_cast<int16_t>(HiWord(value)); }

}  // namespace Dadavive
