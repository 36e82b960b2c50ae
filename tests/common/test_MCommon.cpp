#include "MCommon.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <bit>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using namespace MCommon;

namespace {

// Runs a test with the process locale (C library and Qt default) set to one
// whose decimal separator is not ".", and puts the C locale back after.
class LocaleScope
{
public:
    explicit LocaleScope(const char* name)
    {
        m_cAvailable = std::setlocale(LC_ALL, name) != nullptr;
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
    }
    ~LocaleScope()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
    bool CLibraryLocaleAvailable() const { return m_cAvailable; }

private:
    bool m_cAvailable = false;
};

template <class F>
void ExpectRaises(int32_t number, F&& f, const char* source = nullptr)
{
    try {
        f();
        ADD_FAILURE() << "no error raised";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), number) << e.what();
        if (source) {
            EXPECT_EQ(e.source(), QString::fromLatin1(source));
        }
    }
}

} // namespace

// ---- Versions -----------------------------------------------------------

TEST(MCommonVersion, AppVersionAndItsText)
{
    EXPECT_EQ(GetAppVersion(), (VersionList{0, 9, 0, 433}));
    EXPECT_EQ(VersionToString(GetAppVersion()), QStringLiteral("0.9.0.433"));
    EXPECT_EQ(ParseVersion(QStringLiteral("0.9.0.433")), GetAppVersion());
}

TEST(MCommonVersion, ShortListRaisesIndexError)
{
    ExpectRaises(RuvError::IndexOutOfRange, [] { VersionToString({1, 2, 3}); });
}

TEST(MCommonVersion, ParseTable)
{
    const struct { const char* text; VersionList expected; } cases[] = {
        {"", {0, 0, 0, 0}},
        {"1.2.3", {0, 0, 0, 0}},
        {"1.2.3.4.5", {1, 2, 3, 4}},
        {"1.x.3.4", {1, 0, 3, 4}},
        {"10.20.30.99999", {10, 20, 30, 99999}},
        {"1.2.3.99999999999", {1, 2, 3, 0}},
        {"...", {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseVersion(QString::fromLatin1(c.text)), c.expected) << c.text;
}

// ---- Dates --------------------------------------------------------------

TEST(MCommonDate, IsoTextIsZeroPadded)
{
    EXPECT_EQ(DateToIso(MakeDateTime(987, 1, 5, 3, 4, 5)), QStringLiteral("0987-01-05T03:04:05Z"));
    EXPECT_EQ(DateToIso(MakeDateTime(2007, 3, 9, 14, 5, 0)), QStringLiteral("2007-03-09T14:05:00Z"));
    EXPECT_EQ(DateToIso(QDateTime()), QStringLiteral("1899-12-30T00:00:00Z"));
}

TEST(MCommonDate, IsoReadingTable)
{
    const QDateTime zero = ZeroDate();
    const struct { const char* text; QDateTime expected; } cases[] = {
        {"2007-03-09T14:05:00Z", MakeDateTime(2007, 3, 9, 14, 5, 0)},
        {"2007-03-09T14:05:00", MakeDateTime(2007, 3, 9, 14, 5, 0)},
        {"2007-3-9T4:5:0", MakeDateTime(2007, 3, 9, 4, 5, 0)},
        {"2007-02-30T00:00:00Z", MakeDateTime(2007, 3, 2)},
        {"2008-02-30T00:00:00Z", MakeDateTime(2008, 3, 1)},
        {"2007-13-01T00:00:00Z", MakeDateTime(2008, 1, 1)},
        {"2007-00-10T00:00:00Z", MakeDateTime(2006, 12, 10)},
        {"2007-03-00T00:00:00Z", MakeDateTime(2007, 2, 28)},
        {"2007-03-09T23:60:00Z", MakeDateTime(2007, 3, 10, 0, 0, 0)},
        {"2007-03-09T-1:00:00Z", MakeDateTime(2007, 3, 8, 23, 0, 0)},
        {"0987-01-05T03:04:05Z", MakeDateTime(987, 1, 5, 3, 4, 5)},
        {"2007-03-09T14:05:00Z-extra-T-ignored", MakeDateTime(2007, 3, 9, 14, 5, 0)},
        {"abc", zero},
        {"", zero},
        {"2007-03-09", zero},
        {"2007-03T14:05:00Z", zero},
        {"2007-03-09T14:05", zero},
        {"40000-01-01T00:00:00Z", zero},      // field beyond 16 bits
        {"9999-12-31T24:00:00Z", zero},       // carries past the calendar
        {"x-y-zTa:b:c", zero},                // year 0 is not a date
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsoToDate(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(MCommonDate, IsoRoundTrip)
{
    for (const QDateTime& d : {MakeDateTime(1, 1, 1), MakeDateTime(2026, 12, 9, 23, 59, 59),
                               MakeDateTime(9999, 12, 31, 23, 59, 59)})
        EXPECT_EQ(IsoToDate(DateToIso(d)), d) << DateToIso(d).toStdString();
}

TEST(MCommonDate, OleDates)
{
    EXPECT_EQ(ToOleDate(ZeroDate()), 0.0);
    EXPECT_EQ(ToOleDate(MakeDateTime(1900, 1, 1)), 2.0);
    EXPECT_EQ(ToOleDate(MakeDateTime(2000, 1, 1, 6, 0, 0)), 36526.25);
    EXPECT_EQ(ToOleDate(MakeDateTime(1899, 12, 29, 6, 0, 0)), -1.25);
    EXPECT_EQ(FromOleDate(-1.25), MakeDateTime(1899, 12, 29, 6, 0, 0));
    EXPECT_EQ(FromOleDate(36526.25), MakeDateTime(2000, 1, 1, 6, 0, 0));
    EXPECT_FALSE(FromOleDate(std::numeric_limits<double>::quiet_NaN()).isValid());
}

// ---- Small helpers ------------------------------------------------------

TEST(MCommonText, TrimNull)
{
    EXPECT_EQ(TrimNull(QString::fromUtf16(u"abc\0def", 7)), QStringLiteral("abc"));
    EXPECT_EQ(TrimNull(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(TrimNull(QString::fromUtf16(u"\0abc", 4)), QString());
}

TEST(MCommonText, CollectionKeyExists)
{
    QHash<QString, TaggedValue> list{{QStringLiteral("a"), TaggedValue::MakeNull()}};
    EXPECT_TRUE(CollectionKeyExists(list, QStringLiteral("a")));  // present though unreadable
    EXPECT_FALSE(CollectionKeyExists(list, QStringLiteral("b")));
}

TEST(MCommonKeys, ModifierKeys)
{
    for (int k : {16, 17, 18})
        EXPECT_TRUE(IsModifierKey(k, 0)) << k;
    for (int k : {15, 19, 65, 0})
        EXPECT_FALSE(IsModifierKey(k, 1)) << k;
}

TEST(MCommonClock, TicksAdvance)
{
    const uint32_t a = GetTickMs();
    const uint32_t b = GetTickMs();
    EXPECT_LT(b - a, 1000u);
}

// ---- Rounding and checked narrowing ---------------------------------------

TEST(MCommonRounding, HalvesGoToEven)
{
    const struct { double x, expected; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {-0.5, 0},
        {2.4999999, 2}, {2.5000001, 3}, {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0},
        // Next to 2^52, where the doubles are one apart, and below it.
        {4503599627370495.5, 4503599627370496.0}, {4503599627370494.5, 4503599627370494.0},
        {-4503599627370495.5, -4503599627370496.0}, {0.49999999999999994, 0}, {-0.3, 0},
        {1e-300, 0}, {-1e-300, 0}, {123456.5, 123456}, {-123457.5, -123458},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.x), c.expected) << c.x;
    // Against the rounding of the library, ties to even, over many values.
    for (int i = -200000; i <= 200000; ++i) {
        const double x = i / 8.0 + (i % 7) * 1e-9;
        ASSERT_EQ(RoundHalfEven(x), std::nearbyint(x)) << x;
    }
    EXPECT_TRUE(std::signbit(RoundHalfEven(-0.0)));
    EXPECT_FALSE(std::signbit(RoundHalfEven(-0.25)));
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
    EXPECT_EQ(RoundHalfEven(-HUGE_VAL), -HUGE_VAL);
    EXPECT_EQ(RoundHalfEven(2.5f), 2.0f);
    EXPECT_EQ(RoundHalfEven(3.5f), 4.0f);
}

TEST(MCommonRounding, DecimalsDecideOnTheExactValue)
{
    const struct { double x; int decimals; double expected; } cases[] = {
        {0.125, 2, 0.12},    // exact half in binary
        {0.375, 2, 0.38},
        {2.675, 2, 2.67},    // 2.67499999... as a double
        {1.005, 2, 1.0},     // 1.00499999...
        {0.135, 2, 0.14},    // 0.13500000000000000888
        {-0.125, 2, -0.12},
        {12.5, 0, 12},
        {1.23456, 3, 1.235},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundToDecimals(c.x, c.decimals), c.expected) << c.x;
    EXPECT_EQ(RoundToDecimals(0.125f, 2), 0.12f);
}

TEST(MCommonChecked, NarrowingRaisesOverflow)
{
    EXPECT_EQ(CheckedRoundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(CheckedRoundToInt32(-2147483648.5), INT32_MIN);
    EXPECT_EQ(CheckedRoundToInt16(-32768.5), -32768);
    EXPECT_EQ(CheckedRoundToByte(254.5), 254);
    ExpectRaises(RuvError::Overflow, [] { CheckedRoundToByte(255.5); });  // 256, the even neighbour
    ExpectRaises(RuvError::Overflow, [] { CheckedRoundToInt32(2147483647.5, QStringLiteral("X.Y")); }, "X.Y");
    ExpectRaises(RuvError::Overflow, [] { CheckedRoundToInt32(std::nan("")); });
    ExpectRaises(RuvError::Overflow, [] { CheckedRoundToInt16(32767.5); });
    ExpectRaises(RuvError::Overflow, [] { CheckedRoundToByte(-0.6); });
    ExpectRaises(RuvError::Overflow, [] { CheckedTruncToInt32(2147483648.0); });
    EXPECT_EQ(CheckedTruncToInt32(-2.9), -2);
    ExpectRaises(RuvError::Overflow, [] { CheckedToSingle(1e39); });
    EXPECT_EQ(CheckedToSingle(0.5), 0.5f);
    ExpectRaises(RuvError::Overflow, [] { CheckedFinite(HUGE_VAL); });
    ExpectRaises(RuvError::DivisionByZero, [] { CheckDivisor(0.0); });
    ExpectRaises(RuvError::Overflow, [] { CheckedMul(65536, 32768); });
    ExpectRaises(RuvError::Overflow, [] { CheckedAdd(INT32_MAX, 1); });
    ExpectRaises(RuvError::Overflow, [] { CheckedSub(INT32_MIN, 1); });
    EXPECT_EQ(CheckedMul(-65536, 32768), INT32_MIN);
}

TEST(MCommonChecked, Ceiling)
{
    EXPECT_EQ(Ceiling(2.1), 3);
    EXPECT_EQ(Ceiling(2.0), 2);
    EXPECT_EQ(Ceiling(-2.1), -2);
    EXPECT_EQ(Ceiling(2147483646.5), 2147483647);
    ExpectRaises(RuvError::Overflow, [] { Ceiling(2147483647.5); }, "MCommon.Ceiling");
    ExpectRaises(RuvError::Overflow, [] { Ceiling(std::nan("")); }, "MCommon.Ceiling");
}

// ---- Standard conversion --------------------------------------------------

TEST(MCommonConversion, SafeCLngTable)
{
    const struct { TaggedValue v; int32_t value; bool ok; } cases[] = {
        {TaggedValue("12"), 12, true},
        {TaggedValue(" 12 "), 12, true},
        {TaggedValue("2.5"), 2, true},
        {TaggedValue("1e3"), 1000, true},
        {TaggedValue("-7"), -7, true},
        {TaggedValue(2.5), 2, true},
        {TaggedValue(3.5f), 4, true},
        {TaggedValue(-2.5), -2, true},
        {TaggedValue(2147483647.0), 2147483647, true},
        {TaggedValue(-2147483648.5), INT32_MIN, true},
        {TaggedValue(true), -1, true},
        {TaggedValue(false), 0, true},
        {TaggedValue(), 0, true},
        {TaggedValue(int16_t(-5)), -5, true},
        {TaggedValue(uint8_t(200)), 200, true},
        {TaggedValue("abc"), 7, false},
        {TaggedValue(""), 7, false},
        {TaggedValue("1,5"), 7, false},       // no grouping, no comma under C
        {TaggedValue("12abc"), 7, false},
        {TaggedValue("inf"), 7, false},
        {TaggedValue("nan"), 7, false},
        {TaggedValue("0x10"), 7, false},
        {TaggedValue(1e10), 7, false},
        {TaggedValue(2147483647.5), 7, false},
        {TaggedValue(std::nan("")), 7, false},
        {TaggedValue::MakeNull(), 7, false},
        {TaggedValue(std::vector<TaggedValue>{TaggedValue(1)}), 7, false},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(SafeCLng(c.v, 7, &ok), c.value) << c.v.TextValue().toStdString() << " " << c.v.Number();
        EXPECT_EQ(ok, c.ok) << c.v.TextValue().toStdString() << " " << c.v.Number();
    }
}

TEST(MCommonConversion, SafeCIntBoolSngDbl)
{
    bool ok = true;
    EXPECT_EQ(SafeCInt(TaggedValue(40000), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SafeCInt(TaggedValue(32767.5), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SafeCInt(TaggedValue(-32768.5), &ok), -32768);
    EXPECT_TRUE(ok);

    const struct { TaggedValue v; bool value; bool ok; } bools[] = {
        {TaggedValue("true"), true, true}, {TaggedValue("FALSE"), false, true},
        {TaggedValue("True"), true, true}, {TaggedValue("2"), true, true},
        {TaggedValue("0"), false, true},   {TaggedValue(0.1), true, true},
        {TaggedValue(0), false, true},     {TaggedValue(), false, true},
        {TaggedValue(""), false, false},   {TaggedValue("yes"), false, false},
        {TaggedValue::MakeNull(), false, false},
    };
    for (const auto& c : bools) {
        EXPECT_EQ(SafeCBool(c.v, &ok), c.value) << c.v.TextValue().toStdString();
        EXPECT_EQ(ok, c.ok) << c.v.TextValue().toStdString();
    }

    EXPECT_EQ(SafeCSng(TaggedValue(1e39), &ok), 0.0f);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SafeCSng(TaggedValue(3.4e38), &ok), 3.4e38f);
    EXPECT_TRUE(ok);
    EXPECT_EQ(SafeCSng(TaggedValue("1.5"), &ok), 1.5f);
    EXPECT_EQ(SafeCDbl(TaggedValue("1e400"), &ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SafeCDbl(TaggedValue("-.5e-1"), &ok), -0.05);
    EXPECT_TRUE(ok);
    EXPECT_EQ(SafeCDbl(TaggedValue::MakeDate(36526.25), &ok), 36526.25);
}

TEST(MCommonConversion, RaisingFormsNameTheFailure)
{
    const QString src = QStringLiteral("C.M");
    ExpectRaises(RuvError::InvalidUseOfNull, [&] { ToInt32(TaggedValue::MakeNull(), src); }, "C.M");
    ExpectRaises(RuvError::Overflow, [&] { ToInt16(TaggedValue(40000), src); });
    ExpectRaises(RuvError::Overflow, [&] { ToSingle(TaggedValue("1e39"), src); });
    ExpectRaises(RuvError::TypeMismatch, [&] { ToDouble(TaggedValue("abc"), src); });
    ExpectRaises(RuvError::TypeMismatch, [&] { ToText(TaggedValue(std::vector<TaggedValue>{}), src); });
    EXPECT_EQ(ToByte(TaggedValue("254.5")), 254);
    EXPECT_TRUE(ToBool(TaggedValue("tRuE")));
}

TEST(MCommonConversion, ToTextIsLocaleFree)
{
    EXPECT_EQ(ToText(TaggedValue(1.5f)), QStringLiteral("1.5"));
    EXPECT_EQ(ToText(TaggedValue(0.1)), QStringLiteral("0.1"));
    EXPECT_EQ(ToText(TaggedValue(-3)), QStringLiteral("-3"));
    EXPECT_EQ(ToText(TaggedValue(true)), QStringLiteral("True"));
    EXPECT_EQ(ToText(TaggedValue()), QString());
    EXPECT_EQ(ToText(TaggedValue::MakeDate(36526.25)), QStringLiteral("2000-01-01T06:00:00Z"));
}

TEST(TaggedValueType, CodesAndContents)
{
    EXPECT_EQ(TaggedValue().type(), 0);
    EXPECT_EQ(TaggedValue::MakeNull().type(), 1);
    EXPECT_EQ(TaggedValue(int16_t(1)).type(), 2);
    EXPECT_EQ(TaggedValue(1).type(), 3);
    EXPECT_EQ(TaggedValue(1.0f).type(), 4);
    EXPECT_EQ(TaggedValue(1.0).type(), 5);
    EXPECT_EQ(TaggedValue::MakeDate(1).type(), 7);
    EXPECT_EQ(TaggedValue("x").type(), 8);
    EXPECT_EQ(TaggedValue(true).type(), 11);
    EXPECT_EQ(TaggedValue(uint8_t(1)).type(), 17);
    EXPECT_TRUE(TaggedValue(std::vector<TaggedValue>{}).IsList());
    EXPECT_EQ(TaggedValue(1.0f), TaggedValue(1.0f));
    EXPECT_NE(TaggedValue(1.0f), TaggedValue(1.0));  // same number, other width
    EXPECT_FALSE(TaggedValue(true).IsNumber());
    EXPECT_EQ(TaggedValue(true).Number(), -1.0);
}

// ---- The number text of files, under several locales ----------------------

class FileNumbers : public ::testing::TestWithParam<const char*>
{
};

// The locales of these tests really do write numbers with a decimal comma:
// otherwise the tests below would prove nothing.
TEST_P(FileNumbers, LocaleIsHostile)
{
    LocaleScope scope(GetParam());
    const bool comma = std::string(GetParam()) != "C";
    EXPECT_EQ(QLocale().toString(1.5), comma ? QStringLiteral("1,5") : QStringLiteral("1.5"));
    if (scope.CLibraryLocaleAvailable()) {
        EXPECT_STREQ(std::localeconv()->decimal_point, comma ? "," : ".");
    } else {
        // Only Qt's locale is switched (the C library lacks the locale; the
        // Debian package locales-all brings it).
        std::printf("note: C library locale %s is not installed\n", GetParam());
    }
}

TEST_P(FileNumbers, GeneralTextFormOfFloats)
{
    LocaleScope scope(GetParam());
    const struct { float x; const char* text; } cases[] = {
        {100.5f, "100.5"}, {-20.0f, "-20"}, {64.0f, "64"}, {0.5f, "0.5"}, {-0.5f, "-0.5"},
        {0.0f, "0"}, {-0.0f, "0"}, {0.1f, "0.1"}, {179.99f, "179.99"}, {50000.0f, "50000"},
        {1e-5f, "1E-05"}, {0.0001f, "0.0001"}, {1.234e-5f, "1.234E-05"},
        {12345678.0f, "1.234568E+07"}, {1234567.0f, "1234567"}, {9999999.0f, "9999999"},
        {10000000.0f, "1E+07"}, {1.0f / 3.0f, "0.3333333"}, {3.4028235e38f, "3.402823E+38"},
        {1e-30f, "1E-30"}, {9.99999935e-39f, "9.999999E-39"}, {123.456789f, "123.4568"}, {std::numeric_limits<float>::infinity(), "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSingle(c.x).toStdString(), c.text) << c.x;
}

TEST_P(FileNumbers, DoublesAndIntegers)
{
    LocaleScope scope(GetParam());
    EXPECT_EQ(FormatDouble(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FormatDouble(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(FormatDouble(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(FormatDouble(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(FormatDouble(-12.25), QStringLiteral("-12.25"));
    EXPECT_EQ(FormatDouble(std::nan("")), QStringLiteral("0"));
    EXPECT_EQ(FormatInt(-1234567), QStringLiteral("-1234567"));
    EXPECT_EQ(FormatInt(INT64_MIN), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(FormatBoolNumber(true), QStringLiteral("-1"));
    EXPECT_EQ(FormatBoolNumber(false), QStringLiteral("0"));
    EXPECT_EQ(ToText(TaggedValue(2.5f)), QStringLiteral("2.5"));
}

TEST_P(FileNumbers, LeadingNumberTable)
{
    LocaleScope scope(GetParam());
    const struct { const char16_t* text; double expected; } cases[] = {
        {u" 12 .5e1x", 125}, {u"-.5", -0.5}, {u"1,5", 1}, {u"x1", 0}, {u"", 0},
        {u"+3", 3}, {u"1e", 1}, {u"1e+", 1}, {u"1E-2", 0.01}, {u"2D3", 2000}, {u"2d-1", 0.2},
        {u".", 0}, {u"-", 0}, {u"5.", 5}, {u"1.2.3", 1.2}, {u"\t4\n2", 42}, {u"1 000", 1000},
        {u"1e400", 0}, {u"1e-400", 0}, {u"0x10", 0}, {u"&H10", 0}, {u"\uFF11", 0},
        {u"5\r\n", 5}, {u"--5", 0}, {u"100.5;-20", 100.5}, {u"1.234568E+07", 12345680},
        {u"00012", 12}, {u"1e0000000000000000000002", 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingNumber(QStringView(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

TEST_P(FileNumbers, StrictReading)
{
    LocaleScope scope(GetParam());
    double v = -1;
    EXPECT_TRUE(ParseNumber(u" 1.5E+3 ", v));
    EXPECT_EQ(v, 1500.0);
    for (const char16_t* bad : {u"1,5", u"", u"1.5x", u"1e400", u"D3", u"1d3"})
        EXPECT_FALSE(ParseNumber(QStringView(bad), v)) << QString::fromUtf16(bad).toStdString();
}

TEST_P(FileNumbers, WrittenFloatsReadBack)
{
    LocaleScope scope(GetParam());
    // Every float that seven digits hold reads back exactly.
    for (float f : {100.5f, -20.0f, 0.1f, 179.99f, 1e-5f, 12345680.0f, 0.025f, 0.176f, 3.402823e38f})
        EXPECT_EQ(static_cast<float>(ReadLeadingNumber(FormatSingle(f))), f) << f;
    // The round-trip form holds any float, also those that need 9 digits.
    // 12345678 and the largest float are two that seven digits do not hold.
    for (float f : {std::nextafter(0.1f, 1.0f), 12345678.0f, 3.4028235e38f, 1.0f / 3.0f, 1e-40f,
                    -7.00000048f}) {
        EXPECT_EQ(static_cast<float>(ReadLeadingNumber(FormatSingleRoundTrip(f))), f)
            << FormatSingleRoundTrip(f).toStdString();
    }
    EXPECT_EQ(FormatSingleRoundTrip(100.5f), QStringLiteral("100.5"));
    EXPECT_EQ(FormatSingleRoundTrip(16777216.0f), QStringLiteral("1.6777216E+07"));
    EXPECT_EQ(ReadLeadingNumber(FormatDouble(0.1)), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Locales, FileNumbers,
                         ::testing::Values("C", "de_DE.UTF-8", "fr_FR.UTF-8"),
                         [](const auto& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.')) == "C" ? std::string("C") : n.substr(0, 5);
                         });

// A number the user types follows the locale; one the program wrote reads
// back under any locale.
TEST(MCommonConversion, TypedNumbersFollowTheLocale)
{
    {
        LocaleScope scope("de_DE.UTF-8");
        EXPECT_EQ(SafeCDbl(TaggedValue("1,5")), 1.5);
        EXPECT_EQ(SafeCDbl(TaggedValue("1.5")), 1.5);
        EXPECT_EQ(SafeCSng(TaggedValue("-0,25e1")), -2.5f);
        bool ok = true;
        SafeCDbl(TaggedValue("1.000,5"), &ok);  // grouping is not accepted
        EXPECT_FALSE(ok);
    }
    {
        LocaleScope scope("fr_FR.UTF-8");
        EXPECT_EQ(SafeCDbl(TaggedValue("1,5")), 1.5);
        EXPECT_EQ(SafeCLng(TaggedValue("2,5")), 2);
        EXPECT_EQ(SafeCDbl(TaggedValue("0.75")), 0.75);
    }
}

// The short ways of the float writer and reader must give exactly what
// std::to_chars and std::from_chars give, bit for bit.
TEST(SingleText, WholeNumbersAreWrittenAsTheFloatWriterWritesThem)
{
    char fast[32];
    char full[32];
    for (int32_t i = -999999; i <= 999999; ++i) {
        const auto f = static_cast<float>(i);
        if (f == 0.0f)
            continue;
        char* fastEnd = FormatSingleRoundTrip(fast, f);
        char* fullEnd = std::to_chars(full, full + sizeof full, f, std::chars_format::fixed).ptr;
        ASSERT_EQ(std::string(fast, fastEnd), std::string(full, fullEnd)) << i;
    }
}

TEST(SingleText, PlainDecimalsReadAsFromCharsReadsThem)
{
    uint64_t seed = 0x9E3779B97F4A7C15u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    int fastCount = 0;
    int checked = 0;
    // The fast reader must agree with from_chars on every text it takes,
    // and stop where from_chars stops.
    auto check = [&](const std::string& text) {
        float fast = -1.0f;
        const char* stop = ScanPlainSingle(text.data(), text.data() + text.size(), fast);
        ++checked;
        if (!stop)
            return;
        ++fastCount;
        float full = 0.0f;
        const auto res = std::from_chars(text.data(), text.data() + text.size(), full);
        ASSERT_EQ(res.ec, std::errc()) << text;
        ASSERT_EQ(stop, res.ptr) << text;
        ASSERT_EQ(std::bit_cast<uint32_t>(fast), std::bit_cast<uint32_t>(full)) << text;
    };
    char buf[96];
    auto fixed = [&](double v, int precision) {
        char* end = precision < 0
                              ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr
                              : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed,
                                              precision).ptr;
        return std::string(buf, end);
    };
    for (int i = 0; i < 150000; ++i) {
        // Any positive float below 10^7 (bit patterns), and values as maps
        // and paths hold them: coordinates, angles and times with a few
        // decimals.
        const float bits = std::bit_cast<float>(static_cast<uint32_t>(next() % 0x4B18967Fu));
        const double typical = static_cast<double>(next() % 20000000u) / 1000.0;
        for (double v : {static_cast<double>(bits), typical}) {
            check(fixed(static_cast<float>(v), -1));
            check(fixed(v, static_cast<int>(next() % 12)));
        }
        // Texts on and right beside the halfway point between two floats:
        // the double nearest such a text is often exactly that point.
        const float f = std::bit_cast<float>(static_cast<uint32_t>(next() % 0x4B000000u) | 1u);
        const double half = (static_cast<double>(f) +
                             static_cast<double>(std::nextafter(f, 2.0f * f + 1.0f))) / 2.0;
        check(fixed(half, -1));
        check(fixed(std::nextafter(half, 0.0), -1));
        check(fixed(std::nextafter(half, 1e300), -1));
        check(fixed(half, 17));
        check(fixed(half, 9));
    }
    // Forms it leaves to from_chars, and where it stops.
    for (const char* text : {"", "-1", "+1", ".5", "5.", "5.e3", "inf", "nan", " 1",
                             "12345678901234567890", "9007199254740993", "0.00000000000000000000001"}) {
        float v = 7.0f;
        EXPECT_EQ(ScanPlainSingle(text, text + std::strlen(text), v), nullptr) << text;
        EXPECT_EQ(v, 7.0f) << text;
    }
    for (const char* text : {"12.5;", "12.5E3", "12.5 ", "3.25.1", "007"}) {
        float v = 0.0f;
        const auto res = std::from_chars(text, text + std::strlen(text), v);
        float fast = 0.0f;
        EXPECT_EQ(ScanPlainSingle(text, text + std::strlen(text), fast),
                  std::strchr(text, 'E') ? std::strchr(text, 'E') : res.ptr) << text;
    }
    EXPECT_GT(fastCount, checked / 2);
}
