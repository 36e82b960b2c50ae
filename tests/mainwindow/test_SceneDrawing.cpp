// The rulers' ticks and the heading tape of the scene's overlay.

#include "SceneDrawing.h"

#include <gtest/gtest.h>

#include <QSet>

#include <cmath>

namespace {

QList<int64_t> Values(const QList<RulerTick>& ticks)
{
    QList<int64_t> out;
    for (const RulerTick& t : ticks)
        out << t.value;
    return out;
}

QList<int32_t> Labels(const QList<HeadingTick>& ticks)
{
    QList<int32_t> out;
    for (const HeadingTick& t : ticks)
        out << t.label;
    return out;
}

}  // namespace

TEST(Rulers, StepsFromOneToTenThousand)
{
    EXPECT_EQ(SceneDrawing::ScaleSteps(), (std::array<int32_t, 9>{1, 5, 10, 50, 100, 500, 1000, 5000, 10000}));
}

TEST(Rulers, LevelsFromCoarseToFineEachValueOnce)
{
    // 100 units in 1000 pixels: steps 100 (1000 px), 50, 10, 5 and 1 (10 px).
    const QList<RulerTick> ticks = SceneDrawing::RulerTicks(0.0, 100.0, 1000, 35, SceneDrawing::ScaleSteps());
    ASSERT_EQ(ticks.size(), 3 + 2 + 8 + 10 + 80);
    EXPECT_EQ(Values(ticks).mid(0, 5), (QList<int64_t>{-100, 0, 100, -50, 50}));
    EXPECT_EQ(ticks[0].level, 0);
    EXPECT_EQ(ticks[3].level, 1);
    EXPECT_DOUBLE_EQ(ticks[2].pixel, 1000.0);
    EXPECT_DOUBLE_EQ(ticks[3].pixel, -500.0);
    // Labels from 35 pixels a step: the 5 step (50 px) has them, 1 (10 px) not.
    for (const RulerTick& t : ticks)
        EXPECT_EQ(t.labelled, t.value % 5 == 0) << t.value;
}

TEST(Rulers, NoTickTwiceWhereverTheViewIs)
{
    struct Case
    {
        double centre;
        double size;
        int32_t pixels;
    };
    const Case cases[] = {{0, 100, 1000}, {12345.6, 3000, 700}, {-49000, 200000, 800}, {3.3, 7, 400},
                          {-77.7, 123456, 1920}};
    for (const Case& c : cases) {
        const QList<RulerTick> ticks = SceneDrawing::RulerTicks(c.centre, c.size, c.pixels, 20, SceneDrawing::ScaleSteps());
        ASSERT_FALSE(ticks.isEmpty()) << c.centre;
        const QList<int64_t> values = Values(ticks);
        EXPECT_EQ(QSet<int64_t>(values.begin(), values.end()).size(), values.size()) << c.centre << " " << c.size;
    }
}

TEST(Rulers, NoTicksWhenStepsAreTooNarrowOrTheViewTooSmall)
{
    // Zoomed out so far that the 10000 step is under 9 pixels.
    EXPECT_TRUE(SceneDrawing::RulerTicks(0, 1000000, 800, 35, SceneDrawing::ScaleSteps()).isEmpty());
    // Narrower than 1 world unit.
    EXPECT_TRUE(SceneDrawing::RulerTicks(0, 0.5, 800, 35, SceneDrawing::ScaleSteps()).isEmpty());
    // A view without size or pixels.
    EXPECT_TRUE(SceneDrawing::RulerTicks(0, 0, 800, 35, SceneDrawing::ScaleSteps()).isEmpty());
    EXPECT_TRUE(SceneDrawing::RulerTicks(0, 100, 0, 35, SceneDrawing::ScaleSteps()).isEmpty());
    // 10 pixels a step: the 10000 step alone.
    EXPECT_EQ(SceneDrawing::RulerTicks(0, 800000, 800, 35, SceneDrawing::ScaleSteps()).size(), 81);
}

TEST(HeadingTape, LabelsWrapAroundNorth)
{
    // Field of view 90: 0.2 units wide at the near plane 0.1, 800 pixels.
    const double nearWidth = 2.0 * std::tan(45.0 * M_PI / 180.0) * 0.1;
    const QList<HeadingTick> ticks = SceneDrawing::HeadingTicks(350.0, 90.0, 400.0, nearWidth, 0.1);
    EXPECT_EQ(Labels(ticks), (QList<int32_t>{300, 315, 330, 345, 0, 15, 30, 45}));
    // 0 lies 10 degrees right of the heading.
    EXPECT_NEAR(ticks[4].pixel, 400.0 * std::tan(10.0 * M_PI / 180.0), 1e-9);
    EXPECT_NEAR(ticks[3].pixel, -400.0 * std::tan(5.0 * M_PI / 180.0), 1e-9);

    // Negative and whole-turn yaws read the same heading.
    EXPECT_EQ(Labels(SceneDrawing::HeadingTicks(-10.0, 90.0, 400.0, nearWidth, 0.1)), Labels(ticks));
    EXPECT_EQ(Labels(SceneDrawing::HeadingTicks(360.0, 30.0, 400.0, nearWidth, 0.1)),
              Labels(SceneDrawing::HeadingTicks(0.0, 30.0, 400.0, nearWidth, 0.1)));
}

TEST(HeadingTape, WideLensesSkipWhatLiesOffTheViewPlane)
{
    const double nearWidth = 2.0 * std::tan(85.0 * M_PI / 180.0) * 0.1;
    const QList<HeadingTick> ticks = SceneDrawing::HeadingTicks(0.0, 170.0, 400.0, nearWidth, 0.1);
    // -90 and 90 are the first and last angles; tan has no value there.
    EXPECT_EQ(Labels(ticks), (QList<int32_t>{285, 300, 315, 330, 345, 0, 15, 30, 45, 60, 75}));
    for (const HeadingTick& t : ticks)
        EXPECT_TRUE(std::isfinite(t.pixel));
    // Past 90 degrees too (a lens of 179.99 on a heading between steps).
    for (const HeadingTick& t : SceneDrawing::HeadingTicks(7.0, 179.99, 400.0, 1.0, 0.1))
        EXPECT_LT(std::abs(t.pixel), 1e6);
    // Without a projection there is no tape.
    EXPECT_TRUE(SceneDrawing::HeadingTicks(0.0, 90.0, 400.0, 0.0, 0.1).isEmpty());
}
