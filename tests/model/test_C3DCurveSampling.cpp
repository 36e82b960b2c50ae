// Sampling frame by frame: step counts, frame parameters, Hermite samples,
// segment numbers and the frame count, on exact cases and on random curves.
#include "test_C3DCurveFlightSupport.h"

#include "MRandom.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <random>

using namespace flight;

namespace {

struct Sampled
{
    std::vector<ControlRecord> records;
    int32_t last = -1;
};

Sampled Sample(C3DCurve& c, bool pitchSign = true)
{
    Sampled s;
    s.last = c.GetSampledControls(s.records, pitchSign);
    return s;
}

}  // namespace

// ---- Frame parameters --------------------------------------------------------

TEST(CurveSampling, EqualNeighbourCountsAndSingleSegmentsMoveEvenly)
{
    struct Case
    {
        std::vector<int32_t> steps;
        size_t segment;  // the segment whose parameters must be t = u
    };
    const std::vector<Case> cases = {
        {{8}, 0},           // one segment only
        {{10, 10}, 0},      // equal counts
        {{10, 10}, 1},
        {{6, 6, 6}, 1},
        {{1, 5}, 0},        // a first segment of 1 step: its easing has no denominator
        {{5, 1}, 1},        // a last segment of 1 step
        {{4, 1, 7}, 1},     // a middle segment of 1 step
        {{4, 2, 7}, 1},     // a middle segment of exactly 2 steps
    };
    for (const Case& c : cases) {
        const std::vector<double> p = F::SegmentParameters(c.steps);
        size_t start = 0;
        for (size_t k = 0; k < c.segment; ++k)
            start += static_cast<size_t>(c.steps[k]) + 1;
        const int32_t s = c.steps[c.segment];
        for (int32_t j = 0; j <= s; ++j)
            EXPECT_NEAR(p[start + static_cast<size_t>(j)], static_cast<double>(j) / s, 1e-12)
                << "segment " << c.segment << " of case starting " << c.steps[0] << ", j " << j;
    }
}

TEST(CurveSampling, FirstSegmentEasesTowardsALongerNext)
{
    const std::vector<double> p = F::SegmentParameters({10, 20});
    ASSERT_EQ(p.size(), 11u + 21u);
    const double c1 = 370.0 / 270.0;
    const double c2 = -100.0 / 270.0;
    for (int j = 0; j <= 10; ++j) {
        const double u = j / 10.0;
        EXPECT_NEAR(p[static_cast<size_t>(j)], c2 * u * u + c1 * u, 1e-12) << j;
    }
    EXPECT_EQ(p[10], 1.0);
    EXPECT_EQ(p[11], 0.0);
    EXPECT_EQ(p.back(), 1.0);
}

TEST(CurveSampling, EveryEasingStartsAtZeroEndsAtOneAndNeverRunsBack)
{
    std::mt19937 gen(7);
    std::uniform_int_distribution<int32_t> count(1, 60);
    for (int round = 0; round < 200; ++round) {
        std::vector<int32_t> steps(static_cast<size_t>(1 + round % 6));
        for (int32_t& s : steps)
            s = count(gen);
        const std::vector<double> p = F::SegmentParameters(steps);
        size_t i = 0;
        for (int32_t s : steps) {
            EXPECT_EQ(p[i], 0.0);
            EXPECT_EQ(p[i + static_cast<size_t>(s)], 1.0);
            for (int32_t j = 1; j <= s; ++j)
                EXPECT_GE(p[i + static_cast<size_t>(j)], p[i + static_cast<size_t>(j) - 1]) << s;
            i += static_cast<size_t>(s) + 1;
        }
    }
}

// ---- Frame count and segment numbers ----------------------------------------

TEST(CurveSampling, FrameCountAndSegmentNumbers)
{
    struct Case
    {
        std::vector<int32_t> steps;
    };
    const std::vector<Case> cases = {{{4}}, {{2, 2}}, {{10, 20}}, {{3, 7, 2, 9}}, {{2, 2, 2, 2, 2}}};
    for (const Case& k : cases) {
        C3DCurve c;
        LayWithSteps(c, Line(static_cast<int>(k.steps.size()) + 1), k.steps, 30);
        const Sampled s = Sample(c);
        const std::vector<int32_t> at = ControlFrames(k.steps);
        const int32_t n = c.ControlsCount();
        ASSERT_EQ(s.last + 1, at.back() + 1);
        ASSERT_EQ(s.records.size(), static_cast<size_t>(at.back() + 1));
        EXPECT_EQ(c.StepCount(), static_cast<int32_t>(s.records.size()));
        // A frame on control i has number i; frames inside segment k have k+1.
        for (int32_t i = 1; i <= n; ++i)
            EXPECT_EQ(s.records[static_cast<size_t>(at[static_cast<size_t>(i - 1)])].SegmentNumber, i);
        for (size_t k2 = 0; k2 < k.steps.size(); ++k2)
            for (int32_t f = at[k2] + 1; f < at[k2 + 1]; ++f)
                EXPECT_EQ(s.records[static_cast<size_t>(f)].SegmentNumber, static_cast<int32_t>(k2) + 1);
        EXPECT_EQ(s.records.back().SegmentNumber, n);
    }
}

TEST(CurveSampling, InterpolationReachesEveryControlExactlyAtItsFrame)
{
    C3DCurve c;
    const std::vector<int32_t> steps = {5, 12, 3, 8};
    LayWithSteps(c, {{0, 0, 0}, {40, 10, 5}, {55, -30, 20}, {20, -60, 0}, {-10, -20, 15}}, steps, 24);
    for (int i = 1; i <= 5; ++i) {
        T::Rec(c, i).Yaw = 20.0f * i;
        T::Rec(c, i).Fov = 60.0f + 10.0f * i;
        T::Rec(c, i).Roll = -5.0f * i;
    }
    const Sampled s = Sample(c);
    const std::vector<int32_t> at = ControlFrames(steps);
    for (int32_t i = 1; i <= 5; ++i) {
        const ControlRecord& r = s.records[static_cast<size_t>(at[static_cast<size_t>(i - 1)])];
        EXPECT_EQ(r.X, c.GetX(i)) << i;
        EXPECT_EQ(r.Y, c.GetY(i)) << i;
        EXPECT_EQ(r.Z, c.GetZ(i)) << i;
        EXPECT_FLOAT_EQ(r.Fov, c.GetFov(i)) << i;
        EXPECT_FLOAT_EQ(r.Roll, c.GetRoll(i)) << i;
        EXPECT_NEAR(r.Time, T::Rec(c, i).Time, 1e-9) << i;
        EXPECT_EQ(r.Timescale, c.GetTimescale(i)) << i;
    }
}

TEST(CurveSampling, TwoControlsGiveOneSegmentFromFirstToLast)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {30, 0, 0}}, {6}, 10);
    const Sampled s = Sample(c);
    ASSERT_EQ(s.records.size(), 7u);
    EXPECT_EQ(s.last, 6);
    EXPECT_EQ(s.records.front().X, 0.0f);
    EXPECT_EQ(s.records.front().SegmentNumber, 1);
    EXPECT_EQ(s.records.back().X, 30.0f);
    EXPECT_EQ(s.records.back().SegmentNumber, 2);
}

TEST(CurveSampling, TimescaleIsLinearWithinASegment)
{
    C3DCurve c;
    LayWithSteps(c, Line(2), {4}, 10);
    T::Rec(c, 2).Timescale = 0.5f;
    T::Rec(c, 2).Time = 4 * 1.5 / 2 / 10;  // still 4 steps at the slower end
    const Sampled s = Sample(c);
    const std::vector<float> want = {1.0f, 0.875f, 0.75f, 0.625f, 0.5f};
    ASSERT_EQ(s.records.size(), want.size());
    for (size_t f = 0; f < want.size(); ++f)
        EXPECT_EQ(s.records[f].Timescale, want[f]) << f;
}

TEST(CurveSampling, TheQuickDrawingLimitEvensOutLongSegments)
{
    struct Case
    {
        std::vector<int32_t> steps;
        int32_t frames;
        int32_t each;  // 0: the steps stay as given
    };
    const std::vector<Case> cases = {
        {{300, 500}, 201, 100},
        {{100, 50}, 151, 0},
    };
    for (const Case& k : cases) {
        C3DCurve c;
        LayWithSteps(c, Line(3), k.steps, 50);
        C3DCurve::SampleTable positions;
        std::vector<int32_t> segments;
        std::vector<int32_t> steps;
        EXPECT_EQ(F::SamplePositions(c, true, positions, segments, steps), k.frames);
        EXPECT_EQ(positions.size(), static_cast<size_t>(k.frames));
        const std::vector<int32_t> want =
            k.each ? std::vector<int32_t>{k.each, k.each} : k.steps;
        EXPECT_EQ(steps, want);
        EXPECT_EQ(segments.back(), 3);
        EXPECT_EQ(segments[static_cast<size_t>(want[0])], 2);
    }
}

TEST(CurveSampling, UniformSegmentPoints)
{
    struct Case
    {
        int controls;
        int32_t wanted;
        int32_t count;
    };
    // Fewer wanted than controls behaves as one step a segment.
    const std::vector<Case> cases = {{3, 11, 11}, {3, 1, 3}, {4, 2, 4}, {5, 17, 17}, {2, 7, 7}};
    for (const Case& k : cases) {
        C3DCurve c;
        T::Lay(c, Line(k.controls));
        c.TangentSetAll(1);
        C3DCurve::SampleTable positions;
        std::vector<int32_t> segments;
        int32_t count = -1;
        c.GetUniformSegmentCurvePoints(k.wanted, positions, segments, count);
        ASSERT_EQ(count, k.count) << k.controls << " " << k.wanted;
        ASSERT_EQ(positions.size(), static_cast<size_t>(count));
        const int32_t per = (count - 1) / (k.controls - 1);
        for (int i = 0; i < k.controls; ++i)
            EXPECT_EQ(positions[static_cast<size_t>(i * per)][0], 10.0 * i);
        EXPECT_EQ(segments.back(), k.controls);
    }
}

TEST(CurveSampling, UniformSegmentPointsOfTooFewControlsLeaveTheArraysAlone)
{
    C3DCurve c;
    T::Lay(c, Line(1));
    C3DCurve::SampleTable positions(2, {1.0, 2.0, 3.0});
    std::vector<int32_t> segments(2, 9);
    int32_t count = -1;
    c.GetUniformSegmentCurvePoints(10, positions, segments, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(positions.size(), 2u);
    EXPECT_EQ(segments, std::vector<int32_t>(2, 9));
}

TEST(CurveSampling, ControlsOnTopOfEachOtherHoldTheirSegmentStill)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {20, 0, 0}, {20, 0, 0}, {40, 10, 0}}, {4, 4, 4}, 10);
    // Tangents that would bend the segment if it were evaluated.
    T::Rec(c, 2).Tan1X = 7.0f;
    T::Rec(c, 2).Tan2Y = -3.0f;
    const Sampled s = Sample(c);
    for (int f = 4; f <= 8; ++f) {
        EXPECT_EQ(s.records[static_cast<size_t>(f)].X, 20.0f) << f;
        EXPECT_EQ(s.records[static_cast<size_t>(f)].Y, 0.0f) << f;
    }
}

// ---- Bad input -------------------------------------------------------------

TEST(CurveSampling, FewerThanTwoControlsAreRefused)
{
    for (int n : {0, 1}) {
        C3DCurve c;
        T::Lay(c, Line(n));
        T::SetRawStepRate(c, 30);
        std::vector<ControlRecord> records;
        try {
            c.GetSampledControls(records, true);
            FAIL() << n;
        } catch (const RuvError& e) {
            EXPECT_EQ(e.number(), RuvError::IndexOutOfRange);
            EXPECT_EQ(e.source(), QStringLiteral("C3DCurve.GetSampledControls"));
        }
    }
}

TEST(CurveSampling, DegenerateCurvesGiveFiniteRecordsAndTheLiveFrameCount)
{
    struct Case
    {
        const char* name;
        std::vector<T::Point> points;
        std::vector<double> times;
        int32_t rate;
        bool targetsOnControls;
    };
    const std::vector<Case> cases = {
        {"no step rate", Line(3), {0, 1, 2}, 0, false},
        {"equal times", Line(3), {0, 0, 0}, 30, false},
        {"times running back", Line(4), {0, 2, 1, 3}, 30, false},
        {"segments of 1 step", Line(4), {0, 0.1, 0.2, 0.3}, 10, false},
        {"segments of 1 and 2 steps", Line(5), {0, 0.1, 0.3, 0.4, 0.6}, 10, false},
        {"controls on one point", {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}}, {0, 1, 2}, 10, false},
        {"targets on the controls", Line(3), {0, 1, 2}, 10, true},
        {"targets on one point", {{5, 5, 5}, {5, 5, 5}}, {0, 1}, 10, true},
    };
    for (const Case& k : cases) {
        C3DCurve c;
        T::Lay(c, k.points);
        T::SetRawStepRate(c, k.rate);
        for (size_t i = 0; i < k.times.size(); ++i) {
            ControlRecord& r = T::Rec(c, static_cast<int32_t>(i) + 1);
            r.Time = k.times[i];
            r.Pitch = 90.0f;
            r.WglAmp = 3.0f;
            r.WglFreq = 1;
            if (k.targetsOnControls) {
                r.TargetX = r.X;
                r.TargetY = r.Y;
                r.TargetZ = r.Z;
            }
        }
        // Sampled as they are (inside a change, nothing is snapped), then
        // after the change has snapped the times.
        c.BeginChange();
        c.TangentSetAll(1);
        for (bool snapped : {false, true}) {
            if (snapped)
                c.EndChange();
            std::vector<ControlRecord> records;
            const int32_t last = c.GetSampledControls(records, true);
            ASSERT_EQ(records.size(), static_cast<size_t>(last) + 1) << k.name;
            if (snapped) {
                EXPECT_EQ(static_cast<int32_t>(records.size()), c.StepCount()) << k.name;
            }
            // Without a step rate, or with all times equal, the flight is its
            // first frame alone.
            if (k.rate < 1 || (!snapped && k.times.back() == 0.0)) {
                EXPECT_EQ(records.size(), 1u) << k.name;
            } else {
                EXPECT_EQ(records.front().SegmentNumber, 1) << k.name << snapped;
            }
            EXPECT_EQ(records.back().SegmentNumber, c.ControlsCount()) << k.name;
            for (const ControlRecord& r : records)
                ASSERT_TRUE(RecordIsFinite(r)) << k.name << snapped;
        }
    }
}

TEST(CurveSampling, AFlightTooLongToHoldIsRefused)
{
    C3DCurve c;
    LayWithSteps(c, Line(2), {1}, 100);
    T::Rec(c, 2).Time = 1.0e7;  // a billion frames
    std::vector<ControlRecord> records;
    try {
        c.GetSampledControls(records, true);
        FAIL();
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::Overflow);
    }
    EXPECT_TRUE(records.empty());
}

// ---- Random curves -----------------------------------------------------------

// Over random curves: the frame count follows the durations and the step
// rate, every control is reached exactly at its frame, the positions never
// jump further than the segment's own Bezier hull allows, and no record holds
// a value that is not finite.
TEST(CurveSampling, RandomCurvesAreContinuousAndReachEveryControl)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 gen(seed);
        std::uniform_real_distribution<float> coord(-2000.0f, 2000.0f);
        std::uniform_real_distribution<float> angle(-400.0f, 400.0f);
        std::uniform_int_distribution<int> controls(2, 24);
        std::uniform_int_distribution<int32_t> rates(1, 120);
        std::uniform_real_distribution<double> gap(0.0, 3.0);
        std::uniform_real_distribution<float> scale(0.05f, 4.0f);
        std::bernoulli_distribution coin(0.3);

        C3DCurve c;
        c.SetGameType(2);
        const int n = controls(gen);
        for (int i = 0; i < n; ++i) {
            if (i > 0 && coin(gen)) {
                // Now and then a control on top of the one before.
                const ControlRecord r = T::Rec(c, i);
                c.AddControl3(r.X, r.Y, r.Z, 0, 0, 0, false);
            } else {
                c.AddControl3(coord(gen), coord(gen), coord(gen), angle(gen), angle(gen),
                              angle(gen), true);
            }
        }
        for (int i = 1; i <= n; ++i) {
            T::Rec(c, i).Timescale = scale(gen);
            if (coin(gen))
                T::Rec(c, i).TargetX = coord(gen);
        }
        c.SetStepRate(rates(gen));
        // Times of any length, snapped by the change that follows.
        double t = 0.0;
        for (int i = 2; i <= n; ++i)
            T::Rec(c, i).Time = t += gap(gen);
        c.BeginChange();
        c.EndChange();

        std::vector<int32_t> steps(static_cast<size_t>(n - 1));
        int64_t total = 0;
        for (int k = 0; k + 1 < n; ++k) {
            const ControlRecord& a = T::Rec(c, k + 1);
            const ControlRecord& b = T::Rec(c, k + 2);
            const double raw = (b.Time - a.Time) * 2.0 * c.StepRate() /
                               (static_cast<double>(a.Timescale) + b.Timescale);
            steps[static_cast<size_t>(k)] = static_cast<int32_t>(std::nearbyint(raw));
            ASSERT_GE(steps[static_cast<size_t>(k)], 2) << "seed " << seed;
            total += steps[static_cast<size_t>(k)];
        }

        const Sampled s = Sample(c);
        ASSERT_EQ(static_cast<int64_t>(s.records.size()), total + 1) << "seed " << seed;
        EXPECT_EQ(c.StepCount(), static_cast<int32_t>(s.records.size())) << "seed " << seed;

        const std::vector<int32_t> at = ControlFrames(steps);
        for (int i = 1; i <= n; ++i) {
            const ControlRecord& r = s.records[static_cast<size_t>(at[static_cast<size_t>(i - 1)])];
            EXPECT_EQ(r.X, c.GetX(i)) << "seed " << seed << " control " << i;
            EXPECT_EQ(r.Y, c.GetY(i)) << "seed " << seed << " control " << i;
            EXPECT_EQ(r.Z, c.GetZ(i)) << "seed " << seed << " control " << i;
            EXPECT_EQ(r.SegmentNumber, i) << "seed " << seed;
        }
        for (size_t f = 1; f < s.records.size(); ++f) {
            const ControlRecord& a = s.records[f - 1];
            const ControlRecord& b = s.records[f];
            ASSERT_TRUE(RecordIsFinite(b)) << "seed " << seed << " frame " << f;
            // Both frames lie on the segment that ends at b.
            int32_t k = b.SegmentNumber;
            if (static_cast<int32_t>(f) == at[static_cast<size_t>(k - 1)])
                k -= 1;
            const ControlRecord& p0 = T::Rec(c, k);
            const ControlRecord& p1 = T::Rec(c, k + 1);
            auto len = [](double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); };
            // The Bezier control polygon of the segment: its length bounds
            // the distance between any two of its points.
            const double hull = len(2 * p0.Tan1X / 3, 2 * p0.Tan1Y / 3, 2 * p0.Tan1Z / 3) +
                                len(p1.X - 2 * p0.Tan2X / 3 - p0.X - 2 * p0.Tan1X / 3,
                                    p1.Y - 2 * p0.Tan2Y / 3 - p0.Y - 2 * p0.Tan1Y / 3,
                                    p1.Z - 2 * p0.Tan2Z / 3 - p0.Z - 2 * p0.Tan1Z / 3) +
                                len(2 * p0.Tan2X / 3, 2 * p0.Tan2Y / 3, 2 * p0.Tan2Z / 3);
            EXPECT_LE(len(b.X - a.X, b.Y - a.Y, b.Z - a.Z), hull * 1.0001 + 1e-3)
                << "seed " << seed << " frame " << f;
        }
    }
}
