#include "MBytes.h"
#include "MColor.h"
#include "MMath.h"
#include "MSort.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

template <class F>
int32_t ErrorNumberOf(F&& f)
{
    try {
        f();
    } catch (const RuvError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(MMath, GcdAndLcm)
{
    EXPECT_EQ(MMath::Lcm(4, 6), 12);
    EXPECT_EQ(MMath::Lcm(6, 4), 12);
    EXPECT_EQ(MMath::Gcd(12, 18), 6);
    EXPECT_EQ(MMath::Gcd(18, 12), 6);
    EXPECT_EQ(MMath::Gcd(7, 7), 7);
    EXPECT_EQ(MMath::Gcd(17, 5), 1);
    EXPECT_EQ(MMath::Lcm(1, 1), 1);
    EXPECT_EQ(MMath::Lcm(46340, 46340), 46340);
}

TEST(MMath, GcdAndLcmRaiseWhereTheArithmeticFails)
{
    EXPECT_EQ(ErrorNumberOf([] { MMath::Gcd(0, 5); }), RuvError::DivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { MMath::Gcd(5, 0); }), RuvError::DivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { MMath::Lcm(0, 3); }), RuvError::DivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { MMath::Lcm(65536, 65537); }), RuvError::Overflow);
}

TEST(MMath, AnglesUseTheProgramsPi)
{
    EXPECT_EQ(MMath::DegToRad(180.0), 3.14159265358979);
    EXPECT_NE(MMath::DegToRad(180.0), M_PI);
    EXPECT_EQ(MMath::RadToDeg(3.14159265358979), 180.0);
    EXPECT_EQ(MMath::DegToRad(0.0), 0.0);
    EXPECT_DOUBLE_EQ(MMath::RadToDeg(MMath::DegToRad(-45.0)), -45.0);
    EXPECT_EQ(ErrorNumberOf([] { MMath::RadToDeg(1e308); }), RuvError::Overflow);
}

TEST(MMath, FModKeepsTheSignOfTheDividend)
{
    const struct { float a, b, expected; } cases[] = {
        {7.5f, 2.0f, 1.5f}, {-7.5f, 2.0f, -1.5f}, {7.5f, -2.0f, 1.5f}, {370.0f, 360.0f, 10.0f},
        {-370.0f, 360.0f, -10.0f}, {1.0f, 3.0f, 1.0f}, {6.0f, 3.0f, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MMath::FMod(c.a, c.b), c.expected) << c.a << " " << c.b;
    EXPECT_EQ(ErrorNumberOf([] { MMath::FMod(5.0f, 0.0f); }), RuvError::DivisionByZero);
}

TEST(MSort, SortLongsAscending)
{
    const struct { std::vector<int32_t> in, out; } cases[] = {
        {{3, 1, 2, 1}, {1, 1, 2, 3}},
        {{5}, {5}},
        {{}, {}},
        {{INT32_MAX, INT32_MIN, 0, -1}, {INT32_MIN, -1, 0, INT32_MAX}},
        {{30, 25, 24, 60, 50}, {24, 25, 30, 50, 60}},
    };
    for (auto c : cases) {
        MSort::SortLongs(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

TEST(MColor, SplitRGB)
{
    using RGB = std::array<uint8_t, 3>;
    EXPECT_EQ(MColor::SplitRGB(0x00FF8040), (RGB{64, 128, 255}));
    EXPECT_EQ(MColor::SplitRGB(-1), (RGB{0, 0, 0}));
    EXPECT_EQ(MColor::SplitRGB(0), (RGB{0, 0, 0}));
    EXPECT_EQ(MColor::SplitRGB(16777216), (RGB{255, 255, 255}));
    EXPECT_EQ(MColor::SplitRGB(16777215), (RGB{255, 255, 255}));
    EXPECT_EQ(MColor::SplitRGB(0x000000FF), (RGB{255, 0, 0}));
    EXPECT_EQ(MColor::SplitRGB(0x00010203), (RGB{3, 2, 1}));
}

TEST(MBytes, StringToBytesAndHiWord)
{
    EXPECT_EQ(MBytes::StringToBytes(QStringLiteral("A")), QByteArray("A"));
    EXPECT_EQ(MBytes::StringToBytes(QString()), QByteArray());
    EXPECT_EQ(MBytes::StringToBytes(QString::fromUtf8("\xC3\xA9t\xC3\xA9")), QByteArray("\xE9t\xE9"));
    EXPECT_EQ(MBytes::StringToBytes(QString::fromUtf8("\xE2\x82\xAC")), QByteArray("?"));
    EXPECT_EQ(MBytes::HiWord(static_cast<int32_t>(0xFFFF0000u)), -1);
    EXPECT_EQ(MBytes::HiWord(0x7FFF1234), 32767);
    EXPECT_EQ(MBytes::HiWord(0x00010000), 1);
    EXPECT_EQ(MBytes::HiWord(0x0000FFFF), 0);
    EXPECT_EQ(MBytes::HiWord(static_cast<int32_t>(0x80000000u)), -32768);
}
