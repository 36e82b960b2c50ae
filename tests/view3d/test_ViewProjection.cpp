#include "ViewProjection.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ViewProjection;

namespace {

TEST(ViewProjection, FlatBoundsOfTheWorkedCase)
{
    // 400 x 300 pixels at zoom 2: a view of 200 x 150 around (1000, 500).
    const Bounds b = FlatBounds(400 / 2.0, 300 / 2.0, 1000, 500);
    EXPECT_DOUBLE_EQ(b.minH, 900);
    EXPECT_DOUBLE_EQ(b.maxH, 1100);
    EXPECT_DOUBLE_EQ(b.minV, 425);
    EXPECT_DOUBLE_EQ(b.maxV, 575);
}

TEST(ViewProjection, PerspectiveHalfIsHorizontal)
{
    const NearHalf h = PerspectiveHalf(400, 200, 90, 0.1f);
    EXPECT_NEAR(h.width, 0.1, 1e-7);
    EXPECT_NEAR(h.height, 0.05, 1e-7);
    // No height: taken as one pixel, no division by zero.
    const NearHalf z = PerspectiveHalf(400, 0, 90, 0.1f);
    EXPECT_TRUE(std::isfinite(z.height));
}

TEST(ViewProjection, UnprojectsTheCornersOfTheTopView)
{
    const Bounds b = FlatBounds(200, 150, 1000, 500);
    const Matrix proj = Ortho(b.minH, b.maxH, b.minV, b.maxV, -25000, 25000);
    const std::array<int32_t, 4> vp{0, 0, 400, 300};
    double out[3];
    // The window's top-left pixel: y counted from the bottom is the height.
    ASSERT_TRUE(UnProject(0, 300, 0, Identity(), proj, vp, out));
    EXPECT_NEAR(out[0], 900, 1e-6);
    EXPECT_NEAR(out[1], 575, 1e-6);
    ASSERT_TRUE(UnProject(200, 150, 0, Identity(), proj, vp, out));
    EXPECT_NEAR(out[0], 1000, 1e-6);
    EXPECT_NEAR(out[1], 500, 1e-6);
    ASSERT_TRUE(UnProject(400, 0, 0, Identity(), proj, vp, out));
    EXPECT_NEAR(out[0], 1100, 1e-6);
    EXPECT_NEAR(out[1], 425, 1e-6);
}

TEST(ViewProjection, FlatRotationsShowTheirAxes)
{
    // Front view: world z is up on the screen; side view: world y runs
    // across and z up.
    const Matrix front = FlatRotation(2);
    const Matrix side = FlatRotation(4);
    auto apply = [](const Matrix& m, double x, double y, double z) {
        return std::array<double, 3>{m[0] * x + m[4] * y + m[8] * z, m[1] * x + m[5] * y + m[9] * z,
                                     m[2] * x + m[6] * y + m[10] * z};
    };
    auto f = apply(front, 0, 0, 1);
    EXPECT_NEAR(f[1], 1, 1e-12);
    f = apply(front, 1, 0, 0);
    EXPECT_NEAR(f[0], 1, 1e-12);
    auto s = apply(side, 0, 1, 0);
    EXPECT_NEAR(s[0], 1, 1e-12);
    s = apply(side, 0, 0, 1);
    EXPECT_NEAR(s[1], 1, 1e-12);
    EXPECT_EQ(FlatRotation(1), Identity());
}

}  // namespace
