// The camera records of a flight: wiggle, resolved view direction, pitch sign,
// and the tidying of imported game times.
#include "test_C3DCurveFlightSupport.h"

#include "MRandom.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace flight;

namespace {

std::vector<ControlRecord> Records(C3DCurve& c, bool pitchSign = true)
{
    std::vector<ControlRecord> r;
    c.GetSampledControls(r, pitchSign);
    return r;
}

constexpr double kPi = 3.14159265358979;

// The unit view direction of a record's angles (pitch positive upwards).
std::array<double, 3> Direction(const ControlRecord& r)
{
    const double p = r.Pitch * kPi / 180.0;
    const double y = r.Yaw * kPi / 180.0;
    return {std::cos(y) * std::cos(p), std::sin(y) * std::cos(p), std::sin(p)};
}

double CosineTo(const ControlRecord& r, double x, double y, double z)
{
    const std::array<double, 3> d = Direction(r);
    const double vx = x - r.X, vy = y - r.Y, vz = z - r.Z;
    const double len = std::sqrt(vx * vx + vy * vy + vz * vz);
    return (d[0] * vx + d[1] * vy + d[2] * vz) / len;
}

// A target, with the control's angles looking at it as the editing keeps them.
void SetTarget(C3DCurve& c, int i, double x, double y, double z)
{
    T::Rec(c, i).TargetX = x;
    T::Rec(c, i).TargetY = y;
    T::Rec(c, i).TargetZ = z;
    c.UpdateControlAngles(i);
}

// Offsets are read back from float positions: equal within rounding.
bool Same(const std::array<float, 3>& a, const std::array<float, 3>& b)
{
    for (size_t k = 0; k < 3; ++k)
        if (std::fabs(a[k] - b[k]) > 1e-4f)
            return false;
    return true;
}

}  // namespace

// ---- Wiggle ------------------------------------------------------------------

class CurveWiggle : public ::testing::Test
{
protected:
    void SetUp() override { MRandom::Reset(); }
};

TEST_F(CurveWiggle, OffsetsChangeOnMultiplesOfTheIntervalAndCarryAcrossWigglingSegments)
{
    C3DCurve still;
    C3DCurve c;
    for (C3DCurve* k : {&still, &c})
        LayWithSteps(*k, Line(3), {6, 12}, 30);
    T::Rec(c, 1).WglAmp = 2.0f;
    T::Rec(c, 1).WglFreq = 10;  // slower than its 6-step segment
    T::Rec(c, 2).WglAmp = 2.0f;
    T::Rec(c, 2).WglFreq = 4;
    const std::vector<ControlRecord> plain = Records(still);
    const std::vector<ControlRecord> r = Records(c);
    ASSERT_EQ(r.size(), 19u);
    EXPECT_EQ(c.GetWglFreq(1), 6.0f);
    EXPECT_EQ(c.GetWglFreq(2), 4.0f);

    std::vector<std::array<float, 3>> off;
    for (size_t f = 0; f < r.size(); ++f)
        off.push_back({r[f].X - plain[f].X, r[f].Y - plain[f].Y, r[f].Z - plain[f].Z});
    for (size_t f = 0; f + 1 < r.size(); ++f)
        for (float o : off[f]) {
            EXPECT_GE(o, -2.0f) << f;
            EXPECT_LE(o, 2.0f) << f;
        }
    // Frame 0 draws; frames 1 to 7 hold it (6 and 7 lie in the second
    // wiggling segment, which draws again at 8, 12 and 16).
    EXPECT_FALSE(Same(off[0], {0.0f, 0.0f, 0.0f}));
    for (size_t f = 1; f <= 7; ++f)
        EXPECT_TRUE(Same(off[f], off[0])) << f;
    EXPECT_FALSE(Same(off[8], off[7]));
    for (size_t f = 9; f <= 11; ++f)
        EXPECT_TRUE(Same(off[f], off[8])) << f;
    EXPECT_FALSE(Same(off[12], off[11]));
    EXPECT_FALSE(Same(off[16], off[15]));
    // The final record never wiggles.
    EXPECT_EQ(r.back().X, plain.back().X);
    EXPECT_EQ(r.back().Y, plain.back().Y);
}

TEST_F(CurveWiggle, ASegmentWithoutWiggleDropsTheOffsets)
{
    for (const auto& [amp, freq] : std::vector<std::pair<float, int32_t>>{{0.0f, 3}, {2.0f, 0}}) {
        C3DCurve still;
        C3DCurve c;
        for (C3DCurve* k : {&still, &c})
            LayWithSteps(*k, Line(4), {6, 6, 6}, 30);
        T::Rec(c, 1).WglAmp = 5.0f;
        T::Rec(c, 1).WglFreq = 2;
        T::Rec(c, 2).WglAmp = amp;
        T::Rec(c, 2).WglFreq = freq;
        const std::vector<ControlRecord> plain = Records(still);
        const std::vector<ControlRecord> r = Records(c);
        EXPECT_NE(r[5].X, plain[5].X);
        for (size_t f = 6; f < 12; ++f) {
            EXPECT_EQ(r[f].X, plain[f].X) << f;
            EXPECT_EQ(r[f].Y, plain[f].Y) << f;
            EXPECT_EQ(r[f].Z, plain[f].Z) << f;
        }
    }
}

TEST_F(CurveWiggle, TheSequenceRepeatsFromItsSeedAndContinuesOtherwise)
{
    C3DCurve c;
    LayWithSteps(c, Line(3), {10, 10}, 30);
    T::Rec(c, 1).WglAmp = 3.0f;
    T::Rec(c, 1).WglFreq = 1;
    const std::vector<ControlRecord> first = Records(c);
    const std::vector<ControlRecord> second = Records(c);
    MRandom::Reset();
    const std::vector<ControlRecord> again = Records(c);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, second);
}

TEST(CurveRandom, NumbersLieInTheHalfOpenUnitInterval)
{
    MRandom::Reset();
    const double a = MRandom::NextUniform();
    double lo = 1.0, hi = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const double r = MRandom::NextUniform();
        lo = std::min(lo, r);
        hi = std::max(hi, r);
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    EXPECT_LT(lo, 0.001);
    EXPECT_GT(hi, 0.999);
    MRandom::Reset();
    EXPECT_EQ(MRandom::NextUniform(), a);
}

// ---- Record fields -----------------------------------------------------------

TEST(CurveRecords, OnlyTheFlightFieldsAreFilledAndThePitchSignApplies)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {100, 0, 50}}, {8}, 30);
    T::Rec(c, 1).Pitch = 20.0f;
    T::Rec(c, 2).Pitch = 30.0f;
    T::Rec(c, 1).Command = QStringLiteral("kill");
    T::Rec(c, 1).Hide = 1;
    T::Rec(c, 1).IsSelected = true;
    const std::vector<ControlRecord> up = Records(c, true);
    const std::vector<ControlRecord> down = Records(c, false);
    ASSERT_EQ(up.size(), down.size());
    EXPECT_FLOAT_EQ(up.front().Pitch, 20.0f);
    EXPECT_FLOAT_EQ(up.back().Pitch, 30.0f);
    for (size_t f = 0; f < up.size(); ++f) {
        EXPECT_EQ(down[f].Pitch, -up[f].Pitch) << f;
        EXPECT_TRUE(up[f].Command.isEmpty());
        EXPECT_EQ(up[f].Hide, 0);
        EXPECT_FALSE(up[f].IsSelected);
        EXPECT_EQ(up[f].Tan1X, 0.0f);
        EXPECT_EQ(up[f].TargetX, 0.0);
    }
}

TEST(CurveRecords, FieldOfViewStaysInRangeWhereTheInterpolationOvershoots)
{
    C3DCurve c;
    LayWithSteps(c, Line(4), {10, 10, 10}, 30);
    const float fov[] = {1.0f, 179.0f, 179.0f, 1.0f};
    for (int i = 1; i <= 4; ++i)
        T::Rec(c, i).Fov = fov[i - 1];
    for (const ControlRecord& r : Records(c)) {
        EXPECT_GE(r.Fov, 0.1f);
        EXPECT_LE(r.Fov, 179.99f);
    }
}

TEST(CurveRecords, SamplingRoundsTheStoredPitchesToTwoDecimals)
{
    C3DCurve c;
    LayWithSteps(c, Line(2), {4}, 30);
    T::Rec(c, 1).Pitch = 12.3456f;
    T::Rec(c, 2).Pitch = -7.125f;  // a half: to the even neighbour
    Records(c);
    EXPECT_FLOAT_EQ(c.GetPitch(1), 12.35f);
    EXPECT_FLOAT_EQ(c.GetPitch(2), -7.12f);
}

// ---- View direction ----------------------------------------------------------

TEST(CurveViewDirection, StraightAboveAndBelowTheTarget)
{
    struct Case
    {
        float z;
        float pitch;
    };
    for (const Case& k : {Case{50.0f, -90.0f}, Case{-50.0f, 90.0f}}) {
        C3DCurve c;
        LayWithSteps(c, {{10, 0, k.z}, {100, 0, k.z}}, {6}, 30);
        SetTarget(c, 1, 10, 0, 0.0);
        SetTarget(c, 2, 100, 0, 0.0);
        T::Rec(c, 1).Tan1C = 1;  // hand-shaped: no flipped start
        const std::vector<ControlRecord> r = Records(c);
        EXPECT_FLOAT_EQ(r.front().Pitch, k.pitch);
        EXPECT_FLOAT_EQ(r.front().Yaw, 90.0f);
    }
}

TEST(CurveViewDirection, CirclingTheTargetKeepsTurningInsteadOfJumpingBack)
{
    C3DCurve c;
    std::vector<T::Point> p;
    for (int i = 0; i <= 12; ++i) {
        const double a = i * 60.0 * kPi / 180.0;  // two full turns
        p.push_back({static_cast<float>(500 + 200 * std::cos(a)),
                     static_cast<float>(500 + 200 * std::sin(a)), 0.0f});
    }
    LayWithSteps(c, p, std::vector<int32_t>(12, 9), 30);
    for (int i = 1; i <= 13; ++i)
        SetTarget(c, i, 500, 500, 0);
    const std::vector<ControlRecord> r = Records(c);
    for (size_t f = 1; f < r.size(); ++f) {
        EXPECT_GT(r[f].Yaw, r[f - 1].Yaw) << f;
        EXPECT_LT(r[f].Yaw - r[f - 1].Yaw, 30.0f) << f;
        EXPECT_GT(CosineTo(r[f], 500, 500, 0), 0.9999) << f;
    }
    EXPECT_NEAR(r.back().Yaw - r.front().Yaw, 720.0, 1e-3);
}

TEST(CurveViewDirection, PassingDiagonallyOverTheTargetPitchesOnPastTheVertical)
{
    C3DCurve c;
    LayWithSteps(c, {{-100, -100, 50}, {100, 100, 50}}, {9}, 30);
    SetTarget(c, 1, 0.5, 0.5, 0);
    SetTarget(c, 2, 0.5, 0.5, 0);
    const std::vector<ControlRecord> r = Records(c);
    float lowest = 0.0f;
    for (size_t f = 1; f < r.size(); ++f) {
        EXPECT_LT(std::fabs(r[f].Yaw - r[f - 1].Yaw), 1.0f) << f;
        EXPECT_GT(CosineTo(r[f], 0.5, 0.5, 0), 0.9999) << f;
        lowest = std::min(lowest, r[f].Pitch);
    }
    EXPECT_LT(lowest, -90.0f);
}

TEST(CurveViewDirection, PassingAlongTheXAxisTurnsTheYawByHalfATurn)
{
    C3DCurve c;
    LayWithSteps(c, {{-100, 0, 50}, {100, 0, 50}}, {9}, 30);
    SetTarget(c, 1, 0.5, 0, 0);
    SetTarget(c, 2, 0.5, 0, 0);
    const std::vector<ControlRecord> r = Records(c);
    int turns = 0;
    for (size_t f = 1; f < r.size(); ++f) {
        const float d = std::fabs(r[f].Yaw - r[f - 1].Yaw);
        if (d > 1.0f) {
            EXPECT_FLOAT_EQ(d, 180.0f) << f;
            ++turns;
        }
        EXPECT_GE(r[f].Pitch, -90.0f) << f;
        EXPECT_GT(CosineTo(r[f], 0.5, 0, 0), 0.9999) << f;
    }
    EXPECT_EQ(turns, 1);
}

TEST(CurveViewDirection, TargetsWhoseYawsLieMoreThanATurnApartAreNotAimedAt)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {100, 0, 0}}, {40}, 30);
    SetTarget(c, 1, 0, 100, 0);
    SetTarget(c, 2, 100, 100, 0);
    T::Rec(c, 2).Yaw = 90.0f + 720.0f;
    const std::vector<ControlRecord> r = Records(c);
    // Frames inside the segment follow the interpolated yaw, which turns
    // once by the middle; aiming at the targets would keep it near 90.
    EXPECT_NEAR(r[20].Yaw - r[0].Yaw, 360.0f, 1.0f);
    // The final frame looks at its target whatever the angles say.
    EXPECT_GT(CosineTo(r.back(), 100, 100, 0), 0.9999);
}

TEST(CurveViewDirection, WithoutTargetsTheFramesLookAlongTheirAngles)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {100, 20, 0}, {200, 0, 30}}, {8, 8}, 30);
    const float yaw[] = {10.0f, 40.0f, 80.0f};
    const float pitch[] = {-20.0f, 5.0f, 35.0f};
    for (int i = 1; i <= 3; ++i) {
        T::Rec(c, i).Yaw = yaw[i - 1];
        T::Rec(c, i).Pitch = pitch[i - 1];
    }
    const std::vector<ControlRecord> r = Records(c);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(r[static_cast<size_t>(8 * i)].Yaw, yaw[i], 1e-3) << i;
        EXPECT_NEAR(r[static_cast<size_t>(8 * i)].Pitch, pitch[i], 1e-3) << i;
    }
}

// ---- Game times ----------------------------------------------------------------

TEST(CurveGameTimes, NormalizeGameTimes)
{
    struct Case
    {
        std::vector<double> times;
        float timescale2;
        int32_t index;
        std::vector<double> want;
    };
    const std::vector<Case> cases = {
        {{100, 102, 9000}, 1.0f, 1, {0, 2, 3}},        // an hour-long pause becomes 1 s
        {{0, 2, 50}, 0.5f, 3, {0, 2, 2.5}},            // one second of playback at 0.5
        {{5, 6, 3606}, 1.0f, 0, {0, 1, 3601}},         // exactly an hour stays
        {{10, 20, 30}, 1.0f, 7, {10, 20, 30}},         // beyond the controls: nothing
    };
    for (const Case& k : cases) {
        C3DCurve c;
        T::Lay(c, Line(3));
        for (int i = 1; i <= 3; ++i)
            T::Rec(c, i).Time = k.times[static_cast<size_t>(i - 1)];
        T::Rec(c, 2).Timescale = k.timescale2;
        c.NormalizeGameTimes(k.index);
        for (int i = 1; i <= 3; ++i)
            EXPECT_DOUBLE_EQ(T::Rec(c, i).Time, k.want[static_cast<size_t>(i - 1)])
                << "index " << k.index << " control " << i;
        EXPECT_DOUBLE_EQ(c.Duration(), k.want[2]);
    }
}

// ---- Control times on whole frames ----------------------------------------------

TEST(CurveGameTimes, SnappingPutsEveryControlOnWholeFramesOfAtLeastTwoSteps)
{
    C3DCurve c;
    T::Lay(c, Line(3));
    T::SetRawStepRate(c, 30);
    T::Rec(c, 1).Time = 5.0;
    T::Rec(c, 2).Time = 5.01;
    T::Rec(c, 3).Time = 9.0;
    EXPECT_FALSE(T::SnapControlTimes(c));
    EXPECT_DOUBLE_EQ(T::Rec(c, 1).Time, 0.0);
    EXPECT_NEAR(T::Rec(c, 2).Time, 2.0 / 30.0, 1e-12);
    EXPECT_NEAR(T::Rec(c, 3).Time, 4.0, 1e-12);
    EXPECT_DOUBLE_EQ(c.Duration(), T::Rec(c, 3).Time);
    // In place now: a second snapping moves nothing, and the flight has the
    // frames the times say.
    const std::vector<ControlRecord> before = {T::Rec(c, 1), T::Rec(c, 2), T::Rec(c, 3)};
    EXPECT_TRUE(T::SnapControlTimes(c));
    EXPECT_EQ(T::Rec(c, 3).Time, before[2].Time);
    std::vector<ControlRecord> r;
    EXPECT_EQ(c.GetSampledControls(r, true) + 1, 2 + 118 + 1);
}
