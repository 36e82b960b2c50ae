#pragma once

#include <QString>

#include <cstdint>

// The rules that keep camera and curve values inside the ranges the games
// accept, the program file's date, the numeric key filter and the program's
// own numbered errors.
namespace MRuvMain {

// The program's own error numbers.
inline constexpr int32_t ErrInitializationFailed = static_cast<int32_t>(0x80040001u);
inline constexpr int32_t ErrTabWidthStyle = static_cast<int32_t>(0x80040002u);

// Last-write date of the running program file, as an OLE date (days since
// 30 December 1899, see MCommon::ToOleDate); 0 when it cannot be read. Read
// once and cached; a 0 result is read again at the next call.
double GetAppFileDate();

// x rounded to 2 decimals, an exact half to the even neighbour (0.125 gives
// 0.12), decided on the value as the 32-bit float holds it.
float RoundSingle2(float x);
// The clamps give a value within their range for every input; NaN gives
// the lower bound.
// Far-plane distance: 100 to 100000, whole (halves to even).
float ClampZFar(float x);
// Field of view: 0.1 to 179.99.
float ClampFov(float x);
// Camera move speed: 0.1 to 2.0.
float ClampSpeed(float x);
// Pitch in degrees: -90 to 90.
float ClampPitch(float x);

// The timescale that is stored. Game type 0 snaps to the steps its game
// accepts (0.025 up to 0.2 in fortieths with 0.176 for 0.175, then
// twentieths); every other game type keeps any value of at least `minimum`.
// A product beyond the 32-bit float range raises RuvError 6.
float NormalizeTimescale(int32_t gameType, float x, float minimum);

// Whether a key may be typed into a numeric field: digits and Backspace
// always, "-" with allowMinus, "." and "," with allowDecimal.
bool IsNumericKey(int16_t keyAscii, bool allowMinus, bool allowDecimal);

// Raises the program's own error `number` with its text from
// GetOwnErrorText and the given source.
[[noreturn]] void RaiseOwnError(int32_t number, const QString& source);
QString GetOwnErrorText(int32_t number);

} // namespace MRuvMain
