#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// Numbers shown to the user and typed by the user, in the user's own form.
// Files and scripts never go through here: their numbers are MCommon's.
//
// The user's locale is QLocale(): the system locale, since the program never
// sets a default of its own (tests set one to run under other locales).
// Texts carry no group separators. A typed number may use either the
// locale's decimal separator or ".", since users mix both.
namespace MDisplayNumber {

// `x` with exactly `decimals` decimals (0 to 15), halves rounded to even,
// no grouping, never "-0.00". NaN and the infinities show as 0.
QString Format(double x, int decimals);
QString Format(double x, int decimals, const QLocale& locale);

// Reads a whole typed text (blanks around allowed): an optional sign,
// digits, optionally the locale's decimal separator or "." and digits, and
// optionally an exponent. False for anything else, for group separators and
// for values beyond the 64-bit float range; `out` is then untouched.
bool Parse(QStringView text, double& out);
bool Parse(QStringView text, double& out, const QLocale& locale);

// Parse, with `fallback` for a text that does not read.
double ParseOr(QStringView text, double fallback);

// The user's decimal separator, as typed into a number box.
QChar DecimalSeparator();

} // namespace MDisplayNumber
