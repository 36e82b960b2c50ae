// The zoom table, the wheel's steps, framing and the scale label.

#include "UserLocaleTest.h"
#include "ViewZoom.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

ZoomTable Table()
{
    ZoomTable t;
    t.Build(ViewZoom::MinIndex, ViewZoom::MaxIndex, 100.0);
    return t;
}

C3DMinMaxBagLong Bag(int32_t value)
{
    C3DMinMaxBagLong bag;
    bag.Initialize(ViewZoom::MinIndex, ViewZoom::MaxIndex, value);
    return bag;
}

// The pixels left free across the limiting direction: about 20.
void ExpectMargin(double pixels, double worldSize, const ZoomTable& table, int32_t index)
{
    const double spare = pixels - worldSize * table.Scale(index);
    EXPECT_GE(spare, 19.0) << worldSize;
    EXPECT_LE(spare, 22.0) << worldSize;
}

ViewBox Box(float x0, float y0, float x1, float y1)
{
    ViewBox b;
    b.min = {x0, y0};
    b.max = {x1, y1};
    return b;
}

}  // namespace

TEST(ZoomTable, RunsFromAFiveThousandthToFiftyGrowingEveryStep)
{
    const ZoomTable t = Table();
    EXPECT_EQ(ViewZoom::MaxIndex, 10000);
    EXPECT_DOUBLE_EQ(t.Scale(1), 0.005);
    EXPECT_NEAR(t.Scale(10000), 50.0, 1e-9);
    for (int32_t i = 2; i <= 10000; ++i)
        ASSERT_GT(t.Scale(i), t.Scale(i - 1)) << i;
    // Indexes outside the table read its ends.
    EXPECT_DOUBLE_EQ(t.Scale(0), t.Scale(1));
    EXPECT_DOUBLE_EQ(t.Scale(20000), t.Scale(10000));
}

TEST(ZoomTable, ScalesMapToTheirIndex)
{
    const ZoomTable t = Table();
    const int32_t defaultIndex = t.ToIndex(0.05);
    EXPECT_LE(t.Scale(defaultIndex), 0.05);
    EXPECT_GT(t.Scale(defaultIndex + 1), 0.05);
    struct Case
    {
        double scale;
        int32_t index;
    };
    const Case cases[] = {
        {t.Scale(1), 1},                                  // exact, first
        {t.Scale(777), 777},                              // exact
        {t.Scale(10000), 10000},                          // exact, last
        {(t.Scale(500) + t.Scale(501)) / 2, 500},         // between: the one below
        {0.001, 1},                                       // below the table
        {100.0, 10000},                                   // above it
        {std::nan(""), 10000},                            // no scale at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(t.ToIndex(c.scale), c.index) << c.scale;
}

TEST(ZoomWheel, StepsByNotchAndModifierWithinTheBounds)
{
    struct Case
    {
        int32_t value;
        int32_t notches;
        int32_t keys;
        float step;
        int32_t expected;
    };
    const Case cases[] = {
        {1000, 1, 0, 96.0f, 1096},          // one notch away: zoom in by 96
        {1000, -1, 0, 96.0f, 904},
        {1000, 1, 4, 96.0f, 1016},          // Shift: 16
        {1000, 1, 8, 96.0f, 1048},          // Ctrl: 48
        {1000, 1, 12, 96.0f, 1016},         // both: Shift wins
        {1000, 3, 8, 96.0f, 1144},
        {1000, 1, 8, 97.0f, 1048},          // 1048.5: halves to even
        {1001, 1, 8, 97.0f, 1050},          // 1049.5
        {9990, 1, 0, 96.0f, 10000},         // clamped above
        {50, -1, 0, 96.0f, 1},              // and below
        {5000, INT_MAX, 0, 96.0f, 10000},   // any wheel stays inside
        {5000, INT_MIN, 0, 96.0f, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ViewZoom::WheelIndex(Bag(c.value), c.notches, c.keys, c.step), c.expected)
            << c.value << " " << c.notches << " " << c.keys;
}

TEST(ZoomToFit, FramesWithAboutTwentyPixelsToSpare)
{
    const ZoomTable t = Table();
    const int32_t defaultIndex = t.ToIndex(0.05);
    // A map alone, wider than high for an 800 x 600 view: the width limits.
    const auto map = ViewZoom::FitBoxes(t, defaultIndex, std::nullopt, Box(-1000, -500, 1000, 500), 800, 600);
    ASSERT_TRUE(map);
    EXPECT_FLOAT_EQ(map->origin1, 0.0f);
    EXPECT_FLOAT_EQ(map->origin2, 0.0f);
    ExpectMargin(800, 2000, t, map->index);

    // Points alone, higher than wide: the height limits, centred on them.
    const auto points = ViewZoom::FitBoxes(t, defaultIndex, Box(100, 200, 300, 1200), std::nullopt, 800, 600);
    ASSERT_TRUE(points);
    EXPECT_FLOAT_EQ(points->origin1, 200.0f);
    EXPECT_FLOAT_EQ(points->origin2, 700.0f);
    ExpectMargin(600, 1000, t, points->index);

    // Both: the box holding either.
    const auto both = ViewZoom::FitBoxes(t, defaultIndex, Box(100, 200, 300, 1200), Box(-1000, -500, 1000, 500), 800, 600);
    ASSERT_TRUE(both);
    EXPECT_FLOAT_EQ(both->origin1, 0.0f);
    EXPECT_FLOAT_EQ(both->origin2, 350.0f);
    ExpectMargin(600, 1700, t, both->index);
}

TEST(ZoomToFit, FlatBoxesEmptyViewsAndNothingToFrame)
{
    const ZoomTable t = Table();
    const int32_t defaultIndex = t.ToIndex(0.05);
    // Flat on the horizontal axis: taken as 1 unit wide, the height limits.
    const auto flat = ViewZoom::FitBoxes(t, defaultIndex, Box(100, -50, 100, 50), std::nullopt, 800, 600);
    ASSERT_TRUE(flat);
    EXPECT_FLOAT_EQ(flat->origin1, 100.5f);
    EXPECT_FLOAT_EQ(flat->origin2, 0.0f);
    ExpectMargin(600, 100, t, flat->index);
    // Neither map nor points: the default scale on the origin.
    const auto nothing = ViewZoom::FitBoxes(t, defaultIndex, std::nullopt, std::nullopt, 800, 600);
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->index, defaultIndex);
    EXPECT_FLOAT_EQ(nothing->origin1, 0.0f);
    EXPECT_FLOAT_EQ(nothing->origin2, 0.0f);

    // A view without pixels frames nothing.
    EXPECT_FALSE(ViewZoom::FitBoxes(t, defaultIndex, Box(0, 0, 10, 10), std::nullopt, 0, 600));
    EXPECT_FALSE(ViewZoom::FitBoxes(t, defaultIndex, Box(0, 0, 10, 10), std::nullopt, 800, -1));
}

namespace {

class ScaleLabelLocale : public UserLocaleTest
{
protected:
    static QString Decimal(const char* withPoint)
    {
        return QString::fromLatin1(withPoint).replace(QLatin1Char('.'), QLocale().decimalPoint());
    }
};

}  // namespace

TEST_P(ScaleLabelLocale, WidthRightAlignedInNineWithTwoDecimals)
{
    const QString unit = QStringLiteral("Scale:");
    EXPECT_EQ(ViewZoom::ScaleLabelText(unit, 1234.5), unit + Decimal("  1234.50"));
    EXPECT_EQ(ViewZoom::ScaleLabelText(unit, 0.125), unit + Decimal("     0.12"));
    // No grouping; a width of more than nine characters is shown whole.
    EXPECT_EQ(ViewZoom::ScaleLabelText(unit, 1234567.891), unit + Decimal("1234567.89"));
}

INSTANTIATE_TEST_SUITE_P(Locales, ScaleLabelLocale, ::testing::Values("en_US", "de_DE", "fr_FR"));
