#include "X11Keys.h"

#include "X11Connection.h"

#include <array>

// X11 last: its macros break Qt and standard headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace
{
struct KeyName
{
    int code;
    bool extended;
    std::uint32_t keysym;
};

// Set-1 scan codes of a PC keyboard (US layout positions).
constexpr std::array kScanCodes{
    KeyName{1, false, XK_Escape},       KeyName{2, false, XK_1},
    KeyName{3, false, XK_2},            KeyName{4, false, XK_3},
    KeyName{5, false, XK_4},            KeyName{6, false, XK_5},
    KeyName{7, false, XK_6},            KeyName{8, false, XK_7},
    KeyName{9, false, XK_8},            KeyName{10, false, XK_9},
    KeyName{11, false, XK_0},           KeyName{12, false, XK_minus},
    KeyName{13, false, XK_equal},       KeyName{14, false, XK_BackSpace},
    KeyName{15, false, XK_Tab},         KeyName{16, false, XK_q},
    KeyName{17, false, XK_w},           KeyName{18, false, XK_e},
    KeyName{19, false, XK_r},           KeyName{20, false, XK_t},
    KeyName{21, false, XK_y},           KeyName{22, false, XK_u},
    KeyName{23, false, XK_i},           KeyName{24, false, XK_o},
    KeyName{25, false, XK_p},           KeyName{26, false, XK_bracketleft},
    KeyName{27, false, XK_bracketright}, KeyName{28, false, XK_Return},
    KeyName{29, false, XK_Control_L},   KeyName{30, false, XK_a},
    KeyName{31, false, XK_s},           KeyName{32, false, XK_d},
    KeyName{33, false, XK_f},           KeyName{34, false, XK_g},
    KeyName{35, false, XK_h},           KeyName{36, false, XK_j},
    KeyName{37, false, XK_k},           KeyName{38, false, XK_l},
    KeyName{39, false, XK_semicolon},   KeyName{40, false, XK_apostrophe},
    KeyName{41, false, XK_grave},       KeyName{42, false, XK_Shift_L},
    KeyName{43, false, XK_backslash},   KeyName{44, false, XK_z},
    KeyName{45, false, XK_x},           KeyName{46, false, XK_c},
    KeyName{47, false, XK_v},           KeyName{48, false, XK_b},
    KeyName{49, false, XK_n},           KeyName{50, false, XK_m},
    KeyName{51, false, XK_comma},       KeyName{52, false, XK_period},
    KeyName{53, false, XK_slash},       KeyName{54, false, XK_Shift_R},
    KeyName{55, false, XK_KP_Multiply}, KeyName{56, false, XK_Alt_L},
    KeyName{57, false, XK_space},       KeyName{58, false, XK_Caps_Lock},
    KeyName{59, false, XK_F1},          KeyName{60, false, XK_F2},
    KeyName{61, false, XK_F3},          KeyName{62, false, XK_F4},
    KeyName{63, false, XK_F5},          KeyName{64, false, XK_F6},
    KeyName{65, false, XK_F7},          KeyName{66, false, XK_F8},
    KeyName{67, false, XK_F9},          KeyName{68, false, XK_F10},
    KeyName{69, false, XK_Num_Lock},    KeyName{70, false, XK_Scroll_Lock},
    KeyName{71, false, XK_KP_7},        KeyName{72, false, XK_KP_8},
    KeyName{73, false, XK_KP_9},        KeyName{74, false, XK_KP_Subtract},
    KeyName{75, false, XK_KP_4},        KeyName{76, false, XK_KP_5},
    KeyName{77, false, XK_KP_6},        KeyName{78, false, XK_KP_Add},
    KeyName{79, false, XK_KP_1},        KeyName{80, false, XK_KP_2},
    KeyName{81, false, XK_KP_3},        KeyName{82, false, XK_KP_0},
    KeyName{83, false, XK_KP_Decimal},  KeyName{86, false, XK_less},
    KeyName{87, false, XK_F11},         KeyName{88, false, XK_F12},
    // With the E0 prefix.
    KeyName{28, true, XK_KP_Enter},     KeyName{29, true, XK_Control_R},
    KeyName{53, true, XK_KP_Divide},    KeyName{55, true, XK_Print},
    KeyName{56, true, XK_Alt_R},        KeyName{71, true, XK_Home},
    KeyName{72, true, XK_Up},           KeyName{73, true, XK_Prior},
    KeyName{75, true, XK_Left},         KeyName{77, true, XK_Right},
    KeyName{79, true, XK_End},          KeyName{80, true, XK_Down},
    KeyName{81, true, XK_Next},         KeyName{82, true, XK_Insert},
    KeyName{83, true, XK_Delete},       KeyName{91, true, XK_Super_L},
    KeyName{92, true, XK_Super_R},      KeyName{93, true, XK_Menu},
};

// Windows virtual-key numbers that are not letters, digits, keypad digits or
// function keys (those are ranges, below).
constexpr std::array kVirtualKeys{
    KeyName{0x08, false, XK_BackSpace},  KeyName{0x09, false, XK_Tab},
    KeyName{0x0D, false, XK_Return},     KeyName{0x0D, true, XK_KP_Enter},
    KeyName{0x10, false, XK_Shift_L},    KeyName{0x11, false, XK_Control_L},
    KeyName{0x11, true, XK_Control_R},   KeyName{0x12, false, XK_Alt_L},
    KeyName{0x12, true, XK_Alt_R},       KeyName{0x13, false, XK_Pause},
    KeyName{0x14, false, XK_Caps_Lock},  KeyName{0x1B, false, XK_Escape},
    KeyName{0x20, false, XK_space},      KeyName{0x21, false, XK_Prior},
    KeyName{0x22, false, XK_Next},       KeyName{0x23, false, XK_End},
    KeyName{0x24, false, XK_Home},       KeyName{0x25, false, XK_Left},
    KeyName{0x26, false, XK_Up},         KeyName{0x27, false, XK_Right},
    KeyName{0x28, false, XK_Down},       KeyName{0x2C, false, XK_Print},
    KeyName{0x2D, false, XK_Insert},     KeyName{0x2E, false, XK_Delete},
    KeyName{0x5B, false, XK_Super_L},    KeyName{0x5C, false, XK_Super_R},
    KeyName{0x5D, false, XK_Menu},       KeyName{0x6A, false, XK_KP_Multiply},
    KeyName{0x6B, false, XK_KP_Add},     KeyName{0x6D, false, XK_KP_Subtract},
    KeyName{0x6E, false, XK_KP_Decimal}, KeyName{0x6F, false, XK_KP_Divide},
    KeyName{0x90, false, XK_Num_Lock},   KeyName{0x91, false, XK_Scroll_Lock},
    KeyName{0xA0, false, XK_Shift_L},    KeyName{0xA1, false, XK_Shift_R},
    KeyName{0xA2, false, XK_Control_L},  KeyName{0xA3, false, XK_Control_R},
    KeyName{0xA4, false, XK_Alt_L},      KeyName{0xA5, false, XK_Alt_R},
    KeyName{0xBA, false, XK_semicolon},  KeyName{0xBB, false, XK_equal},
    KeyName{0xBC, false, XK_comma},      KeyName{0xBD, false, XK_minus},
    KeyName{0xBE, false, XK_period},     KeyName{0xBF, false, XK_slash},
    KeyName{0xC0, false, XK_grave},      KeyName{0xDB, false, XK_bracketleft},
    KeyName{0xDC, false, XK_backslash},  KeyName{0xDD, false, XK_bracketright},
    KeyName{0xDE, false, XK_apostrophe}, KeyName{0xE2, false, XK_less},
};

// Linux input codes of the E0 keys; the other keys of set 1 keep their
// number (KEY_ESC is 1, KEY_GRAVE 41).
constexpr std::array<std::array<int, 2>, 18> kExtendedInputCodes{{
    {28, 96},  {29, 97},  {53, 98},  {55, 99},  {56, 100}, {71, 102},
    {72, 103}, {73, 104}, {75, 105}, {77, 106}, {79, 107}, {80, 108},
    {81, 109}, {82, 110}, {83, 111}, {91, 125}, {92, 126}, {93, 127},
}};

// The X server numbers a key by its Linux input code plus 8.
constexpr std::uint32_t kEvdevOffset = 8;

template <std::size_t N>
std::uint32_t Look(const std::array<KeyName, N>& table, int code, bool extended)
{
    for (const KeyName& k : table) {
        if (k.code == code && k.extended == extended)
            return k.keysym;
    }
    return 0;
}

bool HasXTest(Display* dpy)
{
    static int known = -1;
    if (known < 0) {
        int event = 0, error = 0, major = 0, minor = 0;
        known = (dpy != nullptr && XTestQueryExtension(dpy, &event, &error, &major, &minor)) ? 1 : 0;
    }
    return known == 1;
}
}

namespace X11Keys
{
bool Available()
{
    return HasXTest(X11Connection::Get());
}

std::uint32_t KeysymForScanCode(int scanCode, bool extended)
{
    return Look(kScanCodes, scanCode, extended);
}

std::uint32_t KeysymForVirtualKey(int virtualKey, bool extended)
{
    if (virtualKey >= 0x41 && virtualKey <= 0x5A)
        return XK_a + static_cast<std::uint32_t>(virtualKey - 0x41);
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return XK_0 + static_cast<std::uint32_t>(virtualKey - 0x30);
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return XK_KP_0 + static_cast<std::uint32_t>(virtualKey - 0x60);
    if (virtualKey >= 0x70 && virtualKey <= 0x87)  // F1 to F24
        return XK_F1 + static_cast<std::uint32_t>(virtualKey - 0x70);
    if (const std::uint32_t found = Look(kVirtualKeys, virtualKey, extended))
        return found;
    // Keys without a right-hand twin ignore the extended flag.
    return extended ? Look(kVirtualKeys, virtualKey, false) : 0;
}

std::uint32_t KeysymForCharacter(char32_t character)
{
    if (character == U'\n' || character == U'\r')
        return XK_Return;
    if (character == U'\t')
        return XK_Tab;
    if (character < 0x20 || (character >= 0x7F && character < 0xA0) || character > 0x10FFFF)
        return 0;
    if (character <= 0xFF)
        return static_cast<std::uint32_t>(character);
    return 0x01000000u + static_cast<std::uint32_t>(character);
}

bool SendKeysym(std::uint32_t keysym, bool press, bool shiftIfNeeded)
{
    Display* dpy = X11Connection::Get();
    if (keysym == 0 || !HasXTest(dpy))
        return false;
    const KeyCode code = XKeysymToKeycode(dpy, keysym);
    if (code == 0)
        return false;
    bool shift = false;
    if (shiftIfNeeded && press) {
        // Level 1 of group 0 is the shifted symbol of the key.
        shift = XkbKeycodeToKeysym(dpy, code, 0, 0) != keysym &&
                XkbKeycodeToKeysym(dpy, code, 0, 1) == keysym;
    }
    const KeyCode shiftCode = XKeysymToKeycode(dpy, XK_Shift_L);
    X11Connection::ErrorTrap trap(dpy);
    bool ok = true;
    if (shift)
        ok = XTestFakeKeyEvent(dpy, shiftCode, True, CurrentTime) != 0;
    ok = XTestFakeKeyEvent(dpy, code, press ? True : False, CurrentTime) != 0 && ok;
    if (shift)
        ok = XTestFakeKeyEvent(dpy, shiftCode, False, CurrentTime) != 0 && ok;
    XFlush(dpy);
    return ok && !trap.Failed();
}

std::uint32_t KeycodeForScanCode(int scanCode, bool extended)
{
    if (extended) {
        for (const auto& [scan, input] : kExtendedInputCodes) {
            if (scan == scanCode)
                return static_cast<std::uint32_t>(input) + kEvdevOffset;
        }
        return 0;
    }
    // The keys of the main block, the keypad, F11, F12 and the key left of
    // Z on international keyboards: the keys the symbol table knows.
    if (KeysymForScanCode(scanCode, false) == 0)
        return 0;
    return static_cast<std::uint32_t>(scanCode) + kEvdevOffset;
}

bool SendKeycode(std::uint32_t keycode, bool press)
{
    Display* dpy = X11Connection::Get();
    if (keycode == 0 || !HasXTest(dpy))
        return false;
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(dpy, &minCode, &maxCode);
    if (keycode < static_cast<std::uint32_t>(minCode) || keycode > static_cast<std::uint32_t>(maxCode))
        return false;
    X11Connection::ErrorTrap trap(dpy);
    const bool ok = XTestFakeKeyEvent(dpy, keycode, press ? True : False, CurrentTime) != 0;
    XFlush(dpy);
    return ok && !trap.Failed();
}
}
