#pragma once

// Virtual key codes, as the key messages and the hot keys carry them, and
// their Qt keys. Header only.

#include <Qt>

#include <cstdint>

namespace Dadavive {

enum VirtualKey : int32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_LWIN = 0x5B,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD9 = 0x69,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F24 = 0x87,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA,       // ;:
    VK_OEM_PLUS = 0xBB,    // =+
    VK_OEM_COMMA = 0xBC,   // ,<
    VK_OEM_MINUS = 0xBD,   // -_
    VK_OEM_PERIOD = 0xBE,  // .>
    VK_OEM_2 = 0xBF,       // /?
    VK_OEM_3 = 0xC0,       // `~
    VK_OEM_4 = 0xDB,       // [{
    VK_OEM_5 = 0xDC,       // \|
    VK_OEM_6 = 0xDD,       // ]}
    VK_OEM_7 = 0xDE,       // '"
};

namespace detail {
struct KeyPair
{
    int qt;
    int32_t vk;
};
inline constexpr KeyPair kKeyPairs[] = {
    {Qt::Key_Backspace, VK_BACK},     {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},      {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},    {Qt::Key_Alt, VK_MENU},         {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},   {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},       {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},          {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},        {Qt::Key_Down, VK_DOWN},        {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},      {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},       {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY},  {Qt::Key_Plus, VK_ADD},         {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Semicolon, VK_OEM_1},    {Qt::Key_Colon, VK_OEM_1},      {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},    {Qt::Key_Less, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Question, VK_OEM_2},     {Qt::Key_QuoteLeft, VK_OEM_3},  {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},  {Qt::Key_BraceLeft, VK_OEM_4},  {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},          {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},   {Qt::Key_QuoteDbl, VK_OEM_7},
};
}  // namespace detail

// The virtual key of a Qt key; 0 for a key without one.
constexpr int32_t VirtualKeyFromQt(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    for (const auto& p : detail::kKeyPairs)
        if (p.qt == qtKey)
            return p.vk;
    return 0;
}

// The keypad's own virtual key of a Qt key typed on the keypad; 0 for a key
// the keypad shares with the main block (Enter, and the arrows with NumLock
// off). The decimal key is one key whatever the layout prints on it.
constexpr int32_t KeypadVirtualKeyFromQt(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    default: return 0;
    }
}

// The virtual key of a key event's key and modifiers: a key typed on the
// keypad has the keypad's code, not the main row's.
constexpr int32_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier))
        if (const int32_t vk = KeypadVirtualKeyFromQt(qtKey))
            return vk;
    return VirtualKeyFromQt(qtKey);
}

// The Qt key of a virtual key (the first of several); 0 when none.
constexpr int QtKeyFromVirtualKey(int32_t vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + (vk - '0');
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return Qt::Key_0 + (vk - VK_NUMPAD0);
    if (vk >= VK_F1 && vk <= VK_F24)
        return Qt::Key_F1 + (vk - VK_F1);
    if (vk == VK_SUBTRACT)
        return Qt::Key_Minus;
    if (vk == VK_DECIMAL)
        return Qt::Key_Period;
    if (vk == VK_DIVIDE)
        return Qt::Key_Slash;
    for (const auto& p : detail::kKeyPairs)
        if (p.vk == vk)
            return p.qt;
    return 0;
}

}  // namespace Dadavive
