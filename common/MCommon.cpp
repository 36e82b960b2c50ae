#include "MCommon.h"

#include "RuvError.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace MCommon {

// ---- Versions -----------------------------------------------------------

VersionList GetAppVersion()
{
    return {AppVersionMajor, AppVersionMinor, 0, AppVersionRevision};
}

QString VersionToString(const VersionList& version)
{
    if (version.size() < 4)
        throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("MCommon.VersionToString"));
    return FormatInt(version[0]) + QLatin1Char('.') + FormatInt(version[1]) + QLatin1Char('.')
           + FormatInt(version[2]) + QLatin1Char('.') + FormatInt(version[3]);
}

VersionList ParseVersion(const QString& text)
{
    VersionList result{0, 0, 0, 0};
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 4)
        return result;
    for (int i = 0; i < 4; ++i)
        result[i] = SafeCLng(TaggedValue(parts[i]), 0);
    return result;
}

// ---- Clock --------------------------------------------------------------

uint32_t GetTickMs()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

// ---- Dates --------------------------------------------------------------

QDateTime ZeroDate()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0, 0), Qt::UTC);
}

QDateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const QDate d(year, month, day);
    const QTime t(hour, minute, second);
    if (!d.isValid() || !t.isValid())
        return QDateTime();
    return QDateTime(d, t, Qt::UTC);
}

double ToOleDate(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    const QDate zero(1899, 12, 30);
    const qint64 days = zero.daysTo(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the zero date the whole days count down while the time of day
    // still counts up: -1.25 is 29 December 1899, 06:00.
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

QDateTime FromOleDate(double oleDate)
{
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3.0e6)
        return QDateTime();
    double days = std::trunc(oleDate);
    qint64 ms = std::llround(std::fabs(oleDate - days) * 86400000.0);
    if (ms >= 86400000) {  // rounding reached the next day
        ms -= 86400000;
        days += oleDate >= 0 ? 1 : -1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

namespace {

QString Padded(int value, int width)
{
    QString s = FormatInt(value < 0 ? -static_cast<int64_t>(value) : value);
    while (s.size() < width)
        s.prepend(QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + s : s;
}

} // namespace

QString DateToIso(const QDateTime& dateTime)
{
    const QDateTime dt = dateTime.isValid() ? dateTime : ZeroDate();
    const QDate d = dt.date();
    const QTime t = dt.time();
    // Years beyond four digits keep all their digits rather than losing the
    // leading ones, so that the text still reads back to the same date.
    return Padded(d.year(), 4) + QLatin1Char('-') + Padded(d.month(), 2) + QLatin1Char('-')
           + Padded(d.day(), 2) + QLatin1Char('T') + Padded(t.hour(), 2) + QLatin1Char(':')
           + Padded(t.minute(), 2) + QLatin1Char(':') + Padded(t.second(), 2) + QLatin1Char('Z');
}

QDateTime IsoToDate(const QString& text)
{
    if (text.isEmpty())
        return ZeroDate();
    const QStringList halves = text.split(QLatin1Char('T'));
    if (halves.size() < 2)
        return ZeroDate();
    QString timePart = halves[1];
    timePart.remove(QLatin1Char('Z'));
    const QStringList dateFields = halves[0].split(QLatin1Char('-'));
    const QStringList timeFields = timePart.split(QLatin1Char(':'));
    if (dateFields.size() < 3 || timeFields.size() < 3)
        return ZeroDate();

    int32_t f[6];
    for (int i = 0; i < 3; ++i) {
        f[i] = SafeCLng(TaggedValue(dateFields[i]), 0);
        f[i + 3] = SafeCLng(TaggedValue(timeFields[i]), 0);
    }
    for (int32_t v : f)
        if (v < -32768 || v > 32767)
            return ZeroDate();

    // Months beyond 1..12 carry into the year, days beyond the month into
    // the next or previous month, times beyond a day into the date.
    const int64_t months = int64_t(f[0]) * 12 + (f[1] - 1);
    const int64_t year = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int month = static_cast<int>(months - year * 12) + 1;
    if (year < 1 || year > 9999)
        return ZeroDate();
    QDateTime result(QDate(static_cast<int>(year), month, 1).addDays(f[2] - 1), QTime(0, 0, 0), Qt::UTC);
    result = result.addSecs(int64_t(f[3]) * 3600 + int64_t(f[4]) * 60 + f[5]);
    if (!result.isValid() || result.date().year() < 1 || result.date().year() > 9999)
        return ZeroDate();
    return result;
}

// ---- Texts --------------------------------------------------------------

QString TrimNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool IsModifierKey(int32_t keyCode, int32_t /*shift*/)
{
    return keyCode == 16 || keyCode == 17 || keyCode == 18;
}

// ---- Rounding -----------------------------------------------------------

double RoundHalfEven(double x)
{
    // From 2^52 on every double is whole; zero keeps its sign.
    constexpr double kWhole = 4503599627370496.0;  // 2^52
    if (!(std::fabs(x) < kWhole) || x == 0.0)
        return x;
    // Next to 2^52 the doubles are one apart, so the sum is x rounded to a
    // whole number, ties to even (the rounding mode is never changed here);
    // taking 2^52 away again is exact. Files and property setters round
    // tens of thousands of values this way, without a call to floor.
    const double shift = std::copysign(kWhole, x);
    return (x + shift) - shift;
}

float RoundHalfEven(float x)
{
    return static_cast<float>(RoundHalfEven(static_cast<double>(x)));
}

double RoundToDecimals(double x, int decimals)
{
    if (!std::isfinite(x) || decimals <= 0)
        return RoundHalfEven(x);
    if (decimals > 15)
        decimals = 15;
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double scale = kPow10[decimals];  // each exact
    const double scaled = x * scale;
    if (!std::isfinite(scaled))
        return x;
    // The product may have been rounded onto (or off) an exact half: the
    // exact error of the product tells on which side the true value lies.
    const double error = std::fma(x, scale, -scaled);
    const double lower = std::floor(scaled);
    double rounded;
    if (scaled - lower == 0.5 && error != 0.0)
        rounded = error > 0.0 ? lower + 1.0 : lower;
    else
        rounded = RoundHalfEven(scaled);
    return rounded / scale;
}

float RoundToDecimals(float x, int decimals)
{
    return static_cast<float>(RoundToDecimals(static_cast<double>(x), decimals));
}

// ---- Checked narrowing --------------------------------------------------

namespace {

[[noreturn]] void RaiseOverflow(const QString& source)
{
    throw RuvError::Platform(RuvError::Overflow, source);
}

bool RoundInto(double x, double lo, double hi, double& rounded)
{
    if (std::isnan(x))
        return false;
    rounded = RoundHalfEven(x);
    return rounded >= lo && rounded <= hi;
}

} // namespace

int32_t CheckedRoundToInt32(double x, const QString& source)
{
    double r;
    if (!RoundInto(x, -2147483648.0, 2147483647.0, r))
        RaiseOverflow(source);
    return static_cast<int32_t>(r);
}

int16_t CheckedRoundToInt16(double x, const QString& source)
{
    double r;
    if (!RoundInto(x, -32768.0, 32767.0, r))
        RaiseOverflow(source);
    return static_cast<int16_t>(r);
}

uint8_t CheckedRoundToByte(double x, const QString& source)
{
    double r;
    if (!RoundInto(x, 0.0, 255.0, r))
        RaiseOverflow(source);
    return static_cast<uint8_t>(r);
}

int32_t CheckedTruncToInt32(double x, const QString& source)
{
    if (std::isnan(x))
        RaiseOverflow(source);
    const double t = std::trunc(x);
    if (t < -2147483648.0 || t > 2147483647.0)
        RaiseOverflow(source);
    return static_cast<int32_t>(t);
}

float CheckedToSingle(double x, const QString& source)
{
    const float f = static_cast<float>(x);
    if (std::isnan(x) || (std::isinf(f) && std::isfinite(x)))
        RaiseOverflow(source);
    return f;
}

double CheckedFinite(double x, const QString& source)
{
    if (!std::isfinite(x))
        RaiseOverflow(source);
    return x;
}

void CheckDivisor(double divisor, const QString& source)
{
    if (divisor == 0.0)
        throw RuvError::Platform(RuvError::DivisionByZero, source);
}

int32_t CheckedAdd(int32_t a, int32_t b, const QString& source)
{
    int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        RaiseOverflow(source);
    return r;
}

int32_t CheckedSub(int32_t a, int32_t b, const QString& source)
{
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        RaiseOverflow(source);
    return r;
}

int32_t CheckedMul(int32_t a, int32_t b, const QString& source)
{
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        RaiseOverflow(source);
    return r;
}

int32_t Ceiling(double x)
{
    const double c = std::ceil(x);
    if (std::isnan(c) || c < -2147483648.0 || c > 2147483647.0)
        RaiseOverflow(QStringLiteral("MCommon.Ceiling"));
    return static_cast<int32_t>(c);
}

// ---- Number text --------------------------------------------------------

namespace {

// Lays out significant digits (no leading zeros) with their decimal exponent
// in the general text form; `fixedLimit` is the exponent from which the
// exponent form is used. Writes at most 40 characters; returns the end.
char* LayOut(char* out, bool negative, const char* digits, size_t count, int exponent, int fixedLimit)
{
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (negative)
        *out++ = '-';
    if (exponent < -4 || exponent >= fixedLimit) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            out = std::copy(digits + 1, digits + count, out);
        }
        *out++ = 'E';
        *out++ = exponent < 0 ? '-' : '+';
        const int e = exponent < 0 ? -exponent : exponent;
        if (e < 10)
            *out++ = '0';
        out = std::to_chars(out, out + 8, e).ptr;
    } else if (exponent >= 0) {
        const size_t intLen = static_cast<size_t>(exponent) + 1;
        if (count <= intLen) {
            out = std::copy(digits, digits + count, out);
            out = std::fill_n(out, intLen - count, '0');
        } else {
            out = std::copy(digits, digits + intLen, out);
            *out++ = '.';
            out = std::copy(digits + intLen, digits + count, out);
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, static_cast<size_t>(-exponent - 1), '0');
        out = std::copy(digits, digits + count, out);
    }
    return out;
}

// Lays out to_chars' scientific text "-d.dddde+XX" (at most 17 digits).
char* LayOutScientific(char* out, const char* first, const char* last, int fixedLimit)
{
    const bool negative = *first == '-';
    const char* p = negative ? first + 1 : first;
    char digits[24];
    size_t count = 0;
    for (; p < last && *p != 'e' && count < sizeof digits; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    bool negativeExponent = false;
    if (p < last && *p == 'e') {
        ++p;
        if (p < last && (*p == '+' || *p == '-'))
            negativeExponent = *p++ == '-';
        for (; p < last; ++p)
            exponent = exponent * 10 + (*p - '0');
    }
    return LayOut(out, negative, digits, count, negativeExponent ? -exponent : exponent, fixedLimit);
}

} // namespace

QString FormatNumber(double x, int significantDigits)
{
    if (!std::isfinite(x) || x == 0.0)
        return QStringLiteral("0");
    significantDigits = std::clamp(significantDigits, 1, 17);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                                   significantDigits - 1);
    char text[64];
    const char* end = LayOutScientific(text, buf, res.ptr, significantDigits);
    return QString::fromLatin1(text, static_cast<qsizetype>(end - text));
}

char* FormatSingleRoundTrip(char* out, float x)
{
    if (!std::isfinite(x) || x == 0.0f) {
        *out++ = '0';
        return out;
    }
    // Between 10^-3 and 10^6 the shortest digits always stand in the fixed
    // layout, which to_chars writes as it is: no layout step needed.
    const float magnitude = std::fabs(x);
    // A whole number below 10^6 has no shorter text than its own digits
    // (neighbouring floats there lie at most 1/16 apart), so the integer
    // writer gives what the float writer would, several times faster; curve
    // files are full of such values (flags, edit masks, 90, 1).
    if (magnitude < 1e6f && x == std::trunc(x))
        return std::to_chars(out, out + 24, static_cast<int32_t>(x)).ptr;
    if (magnitude >= 1e-3f && magnitude < 1e6f)
        return std::to_chars(out, out + 24, x, std::chars_format::fixed).ptr;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    return LayOutScientific(out, buf, res.ptr, 7);
}

const char* ScanPlainSingle(const char* first, const char* last, float& out)
{
    // Up to 19 digits fit a uint64_t; up to 2^53 the digits are exact as a
    // double, and so is 10^k for k <= 22. One division of two exact doubles
    // is correctly rounded, which gives the nearest double d of the text.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = first;
    uint64_t digits = 0;
    while (p < last && static_cast<unsigned>(*p - '0') < 10u)
        digits = digits * 10u + static_cast<unsigned>(*p++ - '0');
    if (p == first)
        return nullptr;
    ptrdiff_t count = p - first;
    ptrdiff_t decimals = 0;
    if (p < last && *p == '.') {
        const char* fraction = ++p;
        while (p < last && static_cast<unsigned>(*p - '0') < 10u)
            digits = digits * 10u + static_cast<unsigned>(*p++ - '0');
        decimals = p - fraction;
        if (decimals == 0)
            return nullptr;
        count += decimals;
    }
    if (count > 19 || digits > (uint64_t{1} << 53) || decimals > 22)
        return nullptr;
    const double d = static_cast<double>(digits) / kPowersOfTen[decimals];
    // d lies between 1e-22 and 2^53, where floats are normal and a double
    // rounds to a float by dropping its 29 low mantissa bits. Rounding d
    // again gives the float nearest the text unless d sits exactly halfway
    // between two floats (the text may lie on either side): leave that
    // rare case to from_chars.
    uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    if ((bits & 0x1FFFFFFFu) == 0x10000000u)
        return nullptr;
    out = static_cast<float>(d);
    return p;
}

QString FormatSingleRoundTrip(float x)
{
    char text[64];
    const char* end = FormatSingleRoundTrip(text, x);
    return QString::fromLatin1(text, static_cast<qsizetype>(end - text));
}

QString FormatSingle(float x)
{
    return FormatNumber(static_cast<double>(x), 7);
}

QString FormatDouble(double x)
{
    return FormatNumber(x, 15);
}

QString FormatInt(int64_t x)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return QString::fromLatin1(buf, res.ptr - buf);
}

QString FormatBoolNumber(bool b)
{
    return b ? QStringLiteral("-1") : QStringLiteral("0");
}

namespace {

// Scans a number at the start of `s` (ASCII digits, "." decimal) into a
// from_chars-ready text. Returns the count of characters used, 0 when no
// digit was read.
size_t ScanNumber(const std::u16string& s, std::string& out, bool allowD)
{
    size_t i = 0;
    out.clear();
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-')
            out += '-';
        ++i;
    }
    bool anyDigit = false;
    std::string mantissa;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        mantissa += static_cast<char>(s[i++]);
        anyDigit = true;
    }
    if (i < s.size() && s[i] == u'.') {
        size_t j = i + 1;
        std::string frac;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9')
            frac += static_cast<char>(s[j++]);
        if (!frac.empty() || anyDigit) {
            anyDigit = anyDigit || !frac.empty();
            mantissa += '.';
            mantissa += frac;
            i = j;
        }
    }
    if (!anyDigit)
        return 0;
    if (mantissa[0] == '.')
        mantissa.insert(mantissa.begin(), '0');
    out += mantissa;
    if (i < s.size()) {
        const char16_t c = s[i];
        if (c == u'E' || c == u'e' || (allowD && (c == u'D' || c == u'd'))) {
            size_t j = i + 1;
            std::string exp = "e";
            if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
                exp += static_cast<char>(s[j++]);
            const size_t firstDigit = j;
            while (j < s.size() && s[j] >= u'0' && s[j] <= u'9')
                exp += static_cast<char>(s[j++]);
            if (j > firstDigit) {
                out += exp;
                i = j;
            }
        }
    }
    return i;
}

bool ConvertScanned(const std::string& text, double& value)
{
    double v = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as 0 (with from_chars leaving v alone); overflow
        // is refused.
        return false;
    }
    if (res.ec != std::errc())
        return false;
    value = v;
    return std::isfinite(v);
}

} // namespace

double ReadLeadingNumber(QStringView text)
{
    std::u16string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u != u' ' && u != u'\t' && u != u'\n')
            s += u;
    }
    std::string scanned;
    if (ScanNumber(s, scanned, true) == 0)
        return 0.0;
    double v = 0.0;
    if (!ConvertScanned(scanned, v))
        return 0.0;
    return v;
}

bool ParseNumber(QStringView text, double& out)
{
    const QStringView t = text.trimmed();
    const std::u16string s(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
    std::string scanned;
    const size_t used = ScanNumber(s, scanned, false);
    if (used == 0 || used != s.size())
        return false;
    double v = 0.0;
    if (!ConvertScanned(scanned, v))
        return false;
    out = v;
    return true;
}

// ---- Standard conversion ------------------------------------------------

namespace {

// A text typed as a number: the locale's form first, then the program's own.
bool TextToNumber(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    if (ok && std::isfinite(v)) {
        out = v;
        return true;
    }
    return ParseNumber(t, out);
}

// The number a tagged value stands for; false for null, lists and texts
// that are not numbers.
bool AsNumber(const TaggedValue& v, double& out)
{
    switch (v.type()) {
    case TaggedValue::Empty:
        out = 0.0;
        return true;
    case TaggedValue::Boolean: case TaggedValue::Byte: case TaggedValue::Int16:
    case TaggedValue::Int32: case TaggedValue::Single: case TaggedValue::Double:
    case TaggedValue::Date:
        out = v.Number();
        return true;
    case TaggedValue::Text:
        return TextToNumber(v.TextValue(), out);
    default:
        return false;
    }
}

bool RoundedWithin(const TaggedValue& v, double lo, double hi, double& out)
{
    double x;
    if (!AsNumber(v, x))
        return false;
    return RoundInto(x, lo, hi, out);
}

} // namespace

bool TryToBool(const TaggedValue& v, bool& out)
{
    if (v.IsText()) {
        const QString t = v.TextValue().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            out = true;
            return true;
        }
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            out = false;
            return true;
        }
    }
    double x;
    if (!AsNumber(v, x) || std::isnan(x))
        return false;
    out = x != 0.0;
    return true;
}

bool TryToByte(const TaggedValue& v, uint8_t& out)
{
    double r;
    if (!RoundedWithin(v, 0.0, 255.0, r))
        return false;
    out = static_cast<uint8_t>(r);
    return true;
}

bool TryToInt16(const TaggedValue& v, int16_t& out)
{
    double r;
    if (!RoundedWithin(v, -32768.0, 32767.0, r))
        return false;
    out = static_cast<int16_t>(r);
    return true;
}

bool TryToInt32(const TaggedValue& v, int32_t& out)
{
    double r;
    if (!RoundedWithin(v, -2147483648.0, 2147483647.0, r))
        return false;
    out = static_cast<int32_t>(r);
    return true;
}

bool TryToSingle(const TaggedValue& v, float& out)
{
    double x;
    if (!AsNumber(v, x) || !std::isfinite(x))
        return false;
    const float f = static_cast<float>(x);
    if (!std::isfinite(f))
        return false;
    out = f;
    return true;
}

bool TryToDouble(const TaggedValue& v, double& out)
{
    double x;
    if (!AsNumber(v, x) || !std::isfinite(x))
        return false;
    out = x;
    return true;
}

bool TryToText(const TaggedValue& v, QString& out)
{
    switch (v.type()) {
    case TaggedValue::Empty: out.clear(); return true;
    case TaggedValue::Text: out = v.TextValue(); return true;
    case TaggedValue::Boolean: out = v.BoolValue() ? QStringLiteral("True") : QStringLiteral("False"); return true;
    case TaggedValue::Byte: case TaggedValue::Int16: case TaggedValue::Int32:
        out = FormatInt(static_cast<int64_t>(v.Number()));
        return true;
    case TaggedValue::Single: out = FormatSingle(static_cast<float>(v.Number())); return true;
    case TaggedValue::Double: out = FormatDouble(v.Number()); return true;
    case TaggedValue::Date: out = DateToIso(FromOleDate(v.Number())); return true;
    default: return false;
    }
}

namespace {

// Why a raising conversion failed: null, a number out of range, or a value
// of the wrong kind.
[[noreturn]] void RaiseConversion(const TaggedValue& v, const QString& source)
{
    if (v.IsNull())
        throw RuvError::Platform(RuvError::InvalidUseOfNull, source);
    double x;
    if (AsNumber(v, x))
        throw RuvError::Platform(RuvError::Overflow, source);
    throw RuvError::Platform(RuvError::TypeMismatch, source);
}

template <class T>
T Raising(bool (*convert)(const TaggedValue&, T&), const TaggedValue& v, const QString& source)
{
    T r{};
    if (!convert(v, r))
        RaiseConversion(v, source);
    return r;
}

} // namespace

bool ToBool(const TaggedValue& v, const QString& source) { return Raising(TryToBool, v, source); }
uint8_t ToByte(const TaggedValue& v, const QString& source) { return Raising(TryToByte, v, source); }
int16_t ToInt16(const TaggedValue& v, const QString& source) { return Raising(TryToInt16, v, source); }
int32_t ToInt32(const TaggedValue& v, const QString& source) { return Raising(TryToInt32, v, source); }
float ToSingle(const TaggedValue& v, const QString& source) { return Raising(TryToSingle, v, source); }
double ToDouble(const TaggedValue& v, const QString& source) { return Raising(TryToDouble, v, source); }
QString ToText(const TaggedValue& v, const QString& source) { return Raising(TryToText, v, source); }

// ---- Safe conversions ---------------------------------------------------

namespace {

template <class T>
T Safe(bool (*convert)(const TaggedValue&, T&), const TaggedValue& v, T fallback, bool* success)
{
    T r{};
    const bool ok = convert(v, r);
    if (success)
        *success = ok;
    return ok ? r : fallback;
}

} // namespace

bool SafeCBool(const TaggedValue& v, bool* success) { return Safe<bool>(TryToBool, v, false, success); }
int16_t SafeCInt(const TaggedValue& v, bool* success) { return Safe<int16_t>(TryToInt16, v, 0, success); }
int32_t SafeCLng(const TaggedValue& v, int32_t fallback, bool* success)
{
    return Safe<int32_t>(TryToInt32, v, fallback, success);
}
float SafeCSng(const TaggedValue& v, bool* success) { return Safe<float>(TryToSingle, v, 0.0f, success); }
double SafeCDbl(const TaggedValue& v, bool* success) { return Safe<double>(TryToDouble, v, 0.0, success); }

} // namespace MCommon
