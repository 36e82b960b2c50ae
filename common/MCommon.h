#pragma once

#include "TaggedValue.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Small value helpers shared by the whole program: versions, the clock,
// ISO dates, the standard conversions of tagged values, rounding, checked
// narrowing, and the locale-free number text of every file format.
//
// Two ways of reading numbers from texts exist, and they must not be mixed:
//  - ReadLeadingNumber: the reader of the program's files and scripts.
//    "." is the only decimal separator whatever the locale, reading stops
//    at the first character that cannot continue the number, 0 when none.
//  - The standard conversion (TryTo*, To*, SafeC*) of a text value: a number
//    typed by the user in the locale's form (see TryToDouble).
// Numbers written into files go through FormatSingle / FormatDouble /
// FormatInt, never through printf, iostreams, QString::number with a locale
// or QLocale::system().
namespace MCommon {

// ---- Versions -----------------------------------------------------------
// Index 0 to 3: major, minor, third number, revision.
using VersionList = std::vector<int32_t>;

inline constexpr int32_t AppVersionMajor = 0;
inline constexpr int32_t AppVersionMinor = 9;
inline constexpr int32_t AppVersionRevision = 433;

// The program's own version: major, minor, 0, revision.
VersionList GetAppVersion();
// "a.b.c.d"; a list shorter than four raises RuvError 9.
QString VersionToString(const VersionList& version);
// Four "."-separated parts; fewer give 0.0.0.0, a part that does not
// convert gives 0, parts after the fourth are ignored. Never raises.
VersionList ParseVersion(const QString& text);

// ---- Clock --------------------------------------------------------------
// Milliseconds of a monotonic clock, wrapping at 2^32; subtract two readings
// (as unsigned) to get an interval.
uint32_t GetTickMs();

// ---- Dates --------------------------------------------------------------
// Date-times are calendar date-times without a time zone; they are kept as
// QDateTime in Qt::UTC so that no daylight-saving gap or shift applies.
// 30 December 1899, 00:00:00: the result of every unreadable date text.
QDateTime ZeroDate();
// A calendar date-time from its fields (Qt::UTC); invalid when the fields
// are out of their ranges.
QDateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// Days since ZeroDate with the time of day as the fraction (the 64-bit
// float form of a date held in tagged values and file dates).
double ToOleDate(const QDateTime& dateTime);
QDateTime FromOleDate(double oleDate);
// "YYYY-MM-DDThh:mm:ssZ", zero-padded; the "Z" is a fixed letter and no
// time-zone conversion is made.
QString DateToIso(const QDateTime& dateTime);
// Reads the form above with carrying of out-of-range fields (2007-02-30 is
// 2 March 2007); anything unreadable gives ZeroDate(). Never raises.
QDateTime IsoToDate(const QString& text);

// ---- Texts and lists ----------------------------------------------------
// The text up to its first NUL character.
QString TrimNull(const QString& text);
// True when the keyed list holds an item under the key.
template <class KeyedList, class Key>
bool CollectionKeyExists(const KeyedList& list, const Key& key)
{
    return list.contains(key);
}

// ---- Keys ---------------------------------------------------------------
// True for the key codes 16 (Shift), 17 (Control) and 18 (Alt).
bool IsModifierKey(int32_t keyCode, int32_t shift = 0);

// ---- Rounding (an exact half goes to the even neighbour) ----------------
double RoundHalfEven(double x);
float RoundHalfEven(float x);
// x rounded to `decimals` places (0 to 15), halves to even; whether x is an
// exact half is decided on the exact value of x, not on a scaled copy.
double RoundToDecimals(double x, int decimals);
float RoundToDecimals(float x, int decimals);

// ---- Checked narrowing: raise RuvError where the original platform did ---
// Round half to even, then narrow; outside the target range (or NaN) raise
// RuvError 6 (overflow) with the given source.
int32_t CheckedRoundToInt32(double x, const QString& source = QString());
int16_t CheckedRoundToInt16(double x, const QString& source = QString());
uint8_t CheckedRoundToByte(double x, const QString& source = QString());
// Truncate toward zero, then narrow; overflow raises RuvError 6.
int32_t CheckedTruncToInt32(double x, const QString& source = QString());
// The nearest 32-bit float; a finite value beyond its range raises 6.
float CheckedToSingle(double x, const QString& source = QString());
// A finite 64-bit float; an infinite or NaN result raises 6.
double CheckedFinite(double x, const QString& source = QString());
// Divisor 0 raises RuvError 11 (division by zero).
void CheckDivisor(double divisor, const QString& source = QString());
// 32-bit integer arithmetic that raises 6 instead of wrapping.
int32_t CheckedAdd(int32_t a, int32_t b, const QString& source = QString());
int32_t CheckedSub(int32_t a, int32_t b, const QString& source = QString());
int32_t CheckedMul(int32_t a, int32_t b, const QString& source = QString());

// The smallest integer not below x; outside 32 bits raises RuvError 6.
int32_t Ceiling(double x);

// ---- Standard conversion of tagged values -------------------------------
// empty converts to 0, false or ""; null never converts; numbers round half
// to even into integers and fail outside the target range; Booleans are -1
// and 0 as numbers; texts are read as a number typed by the user (below),
// and for Boolean also "True"/"False" in any letter case.
// Reading a text as a number: leading and trailing blanks are allowed, then
// an optional sign, digits, the decimal separator, digits and an optional
// exponent. The decimal separator of the default QLocale is accepted, and
// so is "." (a number written by the program itself must read back under any
// locale); digit grouping, currency symbols and radix prefixes are not.
bool TryToBool(const TaggedValue& v, bool& out);
bool TryToByte(const TaggedValue& v, uint8_t& out);
bool TryToInt16(const TaggedValue& v, int16_t& out);
bool TryToInt32(const TaggedValue& v, int32_t& out);
bool TryToSingle(const TaggedValue& v, float& out);
bool TryToDouble(const TaggedValue& v, double& out);
// Numbers in the general text form (FormatSingle/FormatDouble, locale-free),
// Booleans "True"/"False", dates as DateToIso; null does not convert, a list
// does not convert.
bool TryToText(const TaggedValue& v, QString& out);

// The same conversions raising RuvError when they fail: 94 for null, 6 for
// a number out of range, 13 for anything else that does not convert.
bool ToBool(const TaggedValue& v, const QString& source = QString());
uint8_t ToByte(const TaggedValue& v, const QString& source = QString());
int16_t ToInt16(const TaggedValue& v, const QString& source = QString());
int32_t ToInt32(const TaggedValue& v, const QString& source = QString());
float ToSingle(const TaggedValue& v, const QString& source = QString());
double ToDouble(const TaggedValue& v, const QString& source = QString());
QString ToText(const TaggedValue& v, const QString& source = QString());

// The safe conversions: never raise; `success` (when given) tells whether
// the value converted. SafeCLng alone takes a fallback.
bool SafeCBool(const TaggedValue& v, bool* success = nullptr);
int16_t SafeCInt(const TaggedValue& v, bool* success = nullptr);
int32_t SafeCLng(const TaggedValue& v, int32_t fallback = 0, bool* success = nullptr);
float SafeCSng(const TaggedValue& v, bool* success = nullptr);
double SafeCDbl(const TaggedValue& v, bool* success = nullptr);

// ---- Locale-free number text of files and scripts -----------------------
// The general text form of a number: at most `significantDigits`
// significant digits (rounded to nearest), no trailing zeros, no decimal
// point for whole numbers, "0.5" with its leading zero, "-" for negatives
// (never "-0"), no grouping, "." as decimal separator, and the exponent form
// "1E-05" / "1.234568E+07" (sign and at least two digits) when the decimal
// exponent is below -4 or not below `significantDigits`. NaN and the
// infinities are written "0", the value every reader gives them.
QString FormatNumber(double x, int significantDigits);
// A 32-bit float: 7 significant digits. 100.5f -> "100.5", 1e-5f -> "1E-05".
QString FormatSingle(float x);
// A 32-bit float with as many significant digits as it takes to read back
// to the very same float (at most 9), laid out like FormatSingle: the two
// texts agree for every float that 7 digits hold exactly (100.5, 0.1, 90).
QString FormatSingleRoundTrip(float x);
// The same text written as ASCII into `out` (room for 24 characters), for
// writers of many numbers; returns the end of the text. No allocation.
char* FormatSingleRoundTrip(char* out, float x);
// Reads a plain decimal at the start of [first, last) - digits, and
// optionally "." and at least one more digit; no sign, blank or exponent -
// to the same 32-bit float as std::from_chars, several times faster for the
// short numbers files hold. Stops at the first character that cannot go on
// with the number and returns its place; the caller decides whether the
// text ends there. Returns nullptr (out untouched) when the text does not
// start with such a number or is one of the rare cases this short way
// cannot decide (more than 19 digits or 2^53, a double halfway between two
// floats): from_chars must read it then.
const char* ScanPlainSingle(const char* first, const char* last, float& out);
// A 64-bit float: 15 significant digits.
QString FormatDouble(double x);
// Plain decimal integer ("-" for negatives).
QString FormatInt(int64_t x);
// Booleans as files store them: "-1" for true, "0" for false.
QString FormatBoolNumber(bool b);

// The leading-number reading: remove every space, tab and line feed, then
// read an optional sign, digits, optionally "." and digits, optionally an
// exponent (E or D in either case, optional sign, digits), stopping at the
// first character that cannot continue the number. 0 when no digit was read
// and 0 for a number beyond the 64-bit float range. Never raises.
double ReadLeadingNumber(QStringView text);

// Strict locale-free reading of a whole text as a number (optional blanks
// around, "." decimal, E exponent); false when any other character stands in
// it or the value is beyond the 64-bit float range.
bool ParseNumber(QStringView text, double& out);

} // namespace MCommon
