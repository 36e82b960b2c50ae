#include "C3DMinMaxBagLong.h"
#include "MCommon.h"
#include "MRuvMain.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <cmath>
#include <limits>

using namespace MRuvMain;

TEST(MRuvMainClamp, Table)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct { float (*clamp)(float); float x, expected; const char* name; } cases[] = {
        {ClampZFar, 99.9f, 100.0f, "zfar"},        {ClampZFar, 100000.4f, 100000.0f, "zfar"},
        {ClampZFar, 250.5f, 250.0f, "zfar"},       {ClampZFar, 251.5f, 252.0f, "zfar"},
        {ClampZFar, 100.0f, 100.0f, "zfar"},       {ClampZFar, 100000.0f, 100000.0f, "zfar"},
        {ClampZFar, 777.3f, 777.0f, "zfar"},       {ClampZFar, -inf, 100.0f, "zfar"},
        {ClampZFar, nan, 100.0f, "zfar"},
        {ClampFov, 0.05f, 0.1f, "fov"},            {ClampFov, 180.0f, 179.99f, "fov"},
        {ClampFov, 90.0f, 90.0f, "fov"},           {ClampFov, 0.1f, 0.1f, "fov"},
        {ClampFov, 179.99f, 179.99f, "fov"},       {ClampFov, 45.123f, 45.123f, "fov"},
        {ClampFov, nan, 0.1f, "fov"},
        {ClampSpeed, 0.0f, 0.1f, "speed"},         {ClampSpeed, 2.5f, 2.0f, "speed"},
        {ClampSpeed, 1.25f, 1.25f, "speed"},
        {ClampPitch, -120.0f, -90.0f, "pitch"},    {ClampPitch, 90.0f, 90.0f, "pitch"},
        {ClampPitch, 90.5f, 90.0f, "pitch"},       {ClampPitch, -45.5f, -45.5f, "pitch"},
        {ClampPitch, inf, 90.0f, "pitch"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.clamp(c.x), c.expected) << c.name << " " << c.x;
}

TEST(MRuvMainRound, RoundSingle2)
{
    const struct { float x, expected; } cases[] = {
        {0.125f, 0.12f}, {0.375f, 0.38f}, {1.234f, 1.23f}, {-0.125f, -0.12f}, {2.5f, 2.5f},
        {45.6789f, 45.68f}, {0.0f, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundSingle2(c.x), c.expected) << c.x;
}

TEST(MRuvMainTimescale, StepsOfTheFirstGame)
{
    const struct { float x, minimum, expected; } cases[] = {
        {0.01f, 0.01f, 0.025f}, {0.01f, 0.5f, 0.025f}, {-3.0f, 0.1f, 0.025f},
        {0.17f, 0.01f, 0.176f}, {0.175f, 0.01f, 0.176f}, {0.19f, 0.01f, 0.2f},
        {0.33f, 0.01f, 0.35f}, {0.0375f, 0.01f, 0.05f}, {0.025f, 0.01f, 0.025f},
        {0.1f, 0.01f, 0.1f}, {0.2f, 0.01f, 0.2f}, {1.0f, 0.01f, 1.0f}, {1.025f, 0.01f, 1.0f},
        {1.075f, 0.01f, 1.1f}, {5.0f, 0.1f, 5.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeTimescale(0, c.x, c.minimum), c.expected) << c.x;
}

TEST(MRuvMainTimescale, StepsYieldOnlyTheListedValues)
{
    const float steps[] = {0.025f, 0.05f, 0.075f, 0.1f, 0.125f, 0.15f, 0.176f, 0.2f};
    for (float x = 0.0f; x < 0.2f; x += 0.001f) {
        const float r = NormalizeTimescale(0, x, 0.01f);
        EXPECT_NE(std::find(std::begin(steps), std::end(steps), r), std::end(steps)) << x << " gives " << r;
    }
}

TEST(MRuvMainTimescale, OtherGamesKeepTheirValue)
{
    for (int game : {1, 2, 3, 4, -1}) {
        EXPECT_EQ(NormalizeTimescale(game, 0.005f, 0.01f), 0.01f) << game;
        EXPECT_EQ(NormalizeTimescale(game, 0.17f, 0.01f), 0.17f) << game;
        EXPECT_EQ(NormalizeTimescale(game, 0.05f, 0.1f), 0.1f) << game;
    }
}

TEST(MRuvMainTimescale, ProductBeyondFloatRangeRaisesOverflow)
{
    try {
        NormalizeTimescale(0, 3e38f, 0.01f);
        ADD_FAILURE() << "no error";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::Overflow);
    }
}

TEST(MRuvMainKeys, NumericKeyTable)
{
    const struct { int16_t key; bool minus, decimal, expected; } cases[] = {
        {48, false, false, true}, {57, false, false, true}, {8, false, false, true},
        {44, false, true, true},  {46, false, true, true},  {45, false, true, false},
        {45, true, false, true},  {46, true, false, false}, {44, false, false, false},
        {47, true, true, false},  {58, true, true, false},  {65, true, true, false},
        {13, true, true, false},  {-1, true, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNumericKey(c.key, c.minus, c.decimal), c.expected) << c.key;
}

TEST(MRuvMainErrors, OwnErrorsCarryTheirTexts)
{
    EXPECT_EQ(GetOwnErrorText(static_cast<int32_t>(0x80040001u)), QStringLiteral("Initialization failed"));
    EXPECT_EQ(GetOwnErrorText(-2147221502),
              QStringLiteral("The TabWidthStyle property of the Tab strip control must be set to tabFixed"));
    EXPECT_EQ(GetOwnErrorText(static_cast<int32_t>(0x80040003u)), QStringLiteral("Unknow error"));
    try {
        RaiseOwnError(ErrInitializationFailed, QStringLiteral("Main form"));
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), -2147221503);
        EXPECT_EQ(e.description(), QStringLiteral("Initialization failed"));
        EXPECT_EQ(e.source(), QStringLiteral("Main form"));
    }
}

TEST(MRuvMainFile, AppFileDateIsTheRunningProgramsDate)
{
    const double date = GetAppFileDate();
    const QDateTime modified = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget())
                                   .lastModified().toLocalTime();
    const QDateTime expected(modified.date(), modified.time(), Qt::UTC);
    EXPECT_GT(date, 40000.0);  // after 2009
    EXPECT_NEAR(date, MCommon::ToOleDate(expected), 1.0 / 86400.0);
    EXPECT_EQ(GetAppFileDate(), date);
}

TEST(C3DMinMaxBagLong, KeepsTheValueWithinItsBounds)
{
    C3DMinMaxBagLong bag;
    EXPECT_EQ(bag.Min(), 0);
    EXPECT_EQ(bag.Max(), 0);
    EXPECT_EQ(bag.value(), 0);

    bag.Initialize(10, 20, 5);
    EXPECT_EQ(bag.value(), 10);
    bag.SetValue(25);
    EXPECT_EQ(bag.value(), 20);
    bag.SetValue(15);
    EXPECT_EQ(bag.value(), 15);
    bag.Initialize(0, 0, 7);
    EXPECT_EQ(bag.value(), 0);

    // With the bounds crossed the upper one is tested first.
    bag.Initialize(20, 10, 15);
    EXPECT_EQ(bag.value(), 10);
    bag.SetValue(5);
    EXPECT_EQ(bag.value(), 20);
    int32_t v = INT32_MIN;
    bag.NormalizeValue(v);
    EXPECT_EQ(v, 20);
}
