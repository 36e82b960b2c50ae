#include "MDisplayNumber.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <limits>

namespace {

struct FormatCase
{
    double value;
    int decimals;
    const char* english;
    const char* german;
    const char* french;
};

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);
const QLocale French(QLocale::French, QLocale::France);

TEST(MDisplayNumber, FormatsInTheUsersFormWithoutGrouping)
{
    const FormatCase cases[] = {
        {0.5, 2, "0.50", "0,50", "0,50"},
        {12345.6, 2, "12345.60", "12345,60", "12345,60"},
        {-1234567.125, 2, "-1234567.12", "-1234567,12", "-1234567,12"}, // half to even
        {0.375, 2, "0.38", "0,38", "0,38"},
        {-0.001, 2, "0.00", "0,00", "0,00"},                           // no "-0.00"
        {3.0, 3, "3.000", "3,000", "3,000"},
        {12.5, 0, "12", "12", "12"},
        {std::numeric_limits<double>::quiet_NaN(), 1, "0.0", "0,0", "0,0"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(MDisplayNumber::Format(c.value, c.decimals, English), QString::fromUtf8(c.english));
        EXPECT_EQ(MDisplayNumber::Format(c.value, c.decimals, German), QString::fromUtf8(c.german));
        // French groups with a narrow no-break space: none may appear.
        EXPECT_EQ(MDisplayNumber::Format(c.value, c.decimals, French), QString::fromUtf8(c.french));
    }
}

TEST(MDisplayNumber, ReadsTheUsersSeparatorAndThePoint)
{
    struct ReadCase
    {
        const char* text;
        bool readsInGerman;
        double value;
    };
    const ReadCase cases[] = {
        {"1,5", true, 1.5},  {"1.5", true, 1.5},   {" -2,25 ", true, -2.25},
        {"7", true, 7.0},    {"1e3", true, 1000.0}, {"", false, 0},
        {"abc", false, 0},   {"1,5.2", false, 0},   {"1.000,5", false, 0},
        {"1,5x", false, 0},  {"1e999", false, 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.text);
        double out = -99.0;
        EXPECT_EQ(MDisplayNumber::Parse(QString::fromUtf8(c.text), out, German), c.readsInGerman);
        EXPECT_EQ(out, c.readsInGerman ? c.value : -99.0);
    }
    double out = 0.0;
    EXPECT_TRUE(MDisplayNumber::Parse(u"2.5", out, English));
    EXPECT_EQ(out, 2.5);
    EXPECT_FALSE(MDisplayNumber::Parse(u"2,5", out, English)); // "," is English grouping
    EXPECT_TRUE(MDisplayNumber::Parse(u"2,5", out, French));
    EXPECT_EQ(out, 2.5);
}

TEST(MDisplayNumber, ShortFormsFollowTheDefaultLocale)
{
    QLocale::setDefault(German);
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(MDisplayNumber::Format(0.5, 2), QStringLiteral("0,50"));
    EXPECT_EQ(MDisplayNumber::ParseOr(u"0,25", -1.0), 0.25);
    EXPECT_EQ(MDisplayNumber::ParseOr(u"zwei", -1.0), -1.0);
    EXPECT_EQ(MDisplayNumber::DecimalSeparator(), QLatin1Char(','));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(MDisplayNumber::Format(0.5, 2), QStringLiteral("0.50"));
    EXPECT_EQ(MDisplayNumber::DecimalSeparator(), QLatin1Char('.'));
}

} // namespace
