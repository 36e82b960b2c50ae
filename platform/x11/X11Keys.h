#pragma once

#include <cstdint>

// Synthesized key strokes through the XTest extension, as if typed on the
// keyboard: they go to whichever window has the focus. Keys are named the
// way the program's callers name them (PC scan codes of set 1 with the
// extended-key flag, or Windows virtual-key numbers). Two routes: by key
// symbol (a table gives the symbol, the running layout the key that carries
// it), or by physical key (a scan code names a place on the keyboard, and
// what that key prints is the layout's business, as for a real keystroke).
namespace X11Keys
{
// True when a display with the XTest extension can be reached.
bool Available();

// The key symbol of a set-1 scan code (the E0 prefix given as extended),
// 0 when the table has none. Letters give their lower-case symbol: the
// shift state comes from the Shift key, pressed as a key of its own.
std::uint32_t KeysymForScanCode(int scanCode, bool extended);

// The key symbol of a Windows virtual-key number; extended selects the
// right-hand Ctrl and Alt and the keypad Enter. 0 when the table has none.
std::uint32_t KeysymForVirtualKey(int virtualKey, bool extended);

// The key symbol that types a character (Latin-1 symbols are the code
// point; others are 0x01000000 + code point); 0 for control characters.
std::uint32_t KeysymForCharacter(char32_t character);

// Presses or releases the key that carries the symbol. With shiftIfNeeded, a
// symbol that sits on the shifted level of its key gets Shift held around the
// press. False when there is no XTest, or no key carries the symbol.
bool SendKeysym(std::uint32_t keysym, bool press, bool shiftIfNeeded = false);

// The X key code of the physical key at a set-1 scan code: the Linux input
// code plus 8, as X servers on evdev and libinput number their keys. The key
// left of 1 (0x29) is 49 whatever the layout prints on it, grave on a US
// keyboard, a dead circumflex on a German one. 0 for scan codes that name
// no key of a PC keyboard.
std::uint32_t KeycodeForScanCode(int scanCode, bool extended);

// Presses or releases the key of that X key code, as it is, without looking
// at the layout. False when there is no XTest or the server has no such key.
bool SendKeycode(std::uint32_t keycode, bool press);
}
