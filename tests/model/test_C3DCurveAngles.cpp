// Control angles from look-at targets, targets from angles, and whole turns
// between consecutive angles.
#include "test_C3DCurveSupport.h"

#include "RuvError.h"

#include <gtest/gtest.h>

#include <cmath>

using T = C3DCurveTestAccess;
using Events = std::vector<std::string>;

namespace {

void SetTarget(C3DCurve& c, int32_t i, double x, double y, double z)
{
    ControlRecord& r = T::Rec(c, i);
    r.TargetX = x;
    r.TargetY = y;
    r.TargetZ = z;
}

}  // namespace

TEST(CurveAngles, AimRuleFromTheControlTowardsItsTarget)
{
    struct Case
    {
        float px, py, pz;
        double tx, ty, tz;
        float pitch, yaw;
    };
    const Case cases[] = {
        {0, 0, 0, 10, 0, 0, 0, 0},       // ahead on +X
        {0, 0, 0, 0, 10, 0, 0, 90},      // +Y
        {0, 0, 0, -10, 0, 0, 0, 180},    // -X
        {0, 0, 0, 0, -10, 0, 0, -90},    // -Y, not 270
        {0, 0, 0, 0, 0, 10, 90, 90},     // straight above
        {0, 0, 0, 0, 0, -10, -90, 90},   // straight below
        {5, 5, 5, 5, 5, 5, -90, 90},     // on the control itself
        {0, 0, 0, 10, 10, 10, 35.26439f, 45},
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        T::Lay(c, {{cs.px, cs.py, cs.pz}});
        T::Rec(c, 1).Roll = 12.0f;
        SetTarget(c, 1, cs.tx, cs.ty, cs.tz);
        c.UpdateControlAngles(1);
        EXPECT_NEAR(c.GetPitch(1), cs.pitch, 1e-4) << cs.tx << "," << cs.ty << "," << cs.tz;
        EXPECT_NEAR(c.GetYaw(1), cs.yaw, 1e-4) << cs.tx << "," << cs.ty << "," << cs.tz;
        EXPECT_EQ(c.GetRoll(1), 12.0f);  // never derived from a target
    }
}

TEST(CurveAngles, TargetAtTheOriginMeansNoTarget)
{
    C3DCurve c;
    T::Lay(c, {{1, 2, 3}});
    T::Rec(c, 1).Pitch = 7.0f;
    T::Rec(c, 1).Yaw = 8.0f;
    EXPECT_FALSE(c.IsTargetDefined(1));
    c.UpdateControlAngles(1);
    EXPECT_EQ(c.GetPitch(1), 7.0f);
    EXPECT_EQ(c.GetYaw(1), 8.0f);
    SetTarget(c, 1, 0, 0, 1e-300);
    EXPECT_TRUE(c.IsTargetDefined(1));
    EXPECT_NEAR(T::AimDistance(c, 1), std::sqrt(14.0), 1e-12);
    SetTarget(c, 1, 0, 0, 0);
    EXPECT_EQ(T::AimDistance(c, 1), 150.0);
}

TEST(CurveAngles, TargetComponentsRoundToSinglePrecision)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}});
    SetTarget(c, 1, 1.0000000001, 2.5, -3.0);
    EXPECT_EQ(c.GetTargetX(1), 1.0f);
    EXPECT_EQ(c.GetTarget(1, 1), 2.5f);
    EXPECT_EQ(c.GetTargetZ(1), -3.0f);
    EXPECT_THROW(c.GetTarget(1, 3), RuvError);
    EXPECT_THROW(c.GetTargetX(253), RuvError);
    T::SetTargetX(c, 1, 0.1f);
    EXPECT_EQ(T::Rec(c, 1).TargetX, static_cast<double>(0.1f));
}

TEST(CurveAngles, FixControlAnglesKeepsNeighboursWithinHalfATurn)
{
    struct Case
    {
        std::vector<float> in;
        std::vector<float> out;
    };
    const Case cases[] = {
        {{10, 350, 700}, {10, -10, -20}},
        {{0, 180}, {0, 180}},       // exactly half a turn stays
        {{0, -180}, {0, -180}},
        {{0, 540}, {0, -180}},      // 1.5 turns round to 2
        {{-170, 170}, {-170, -190}},
        {{0, 720.5f}, {0, 0.5f}},
    };
    for (int id : {4, 5, 6}) {
        for (const Case& cs : cases) {
            C3DCurve c;
            T::Lay(c, std::vector<T::Point>(cs.in.size(), {0, 0, 0}));
            for (size_t i = 0; i < cs.in.size(); ++i) {
                ControlRecord& r = T::Rec(c, static_cast<int32_t>(i) + 1);
                (id == 4 ? r.Pitch : id == 5 ? r.Yaw : r.Roll) = cs.in[i];
            }
            EXPECT_TRUE(c.FixControlAngles(id, 1, static_cast<int32_t>(cs.in.size())));
            for (size_t i = 0; i < cs.out.size(); ++i) {
                const auto n = static_cast<int32_t>(i) + 1;
                const float got = id == 4 ? c.GetPitch(n) : id == 5 ? c.GetYaw(n) : c.GetRoll(n);
                EXPECT_FLOAT_EQ(got, cs.out[i]) << "id " << id << " control " << n;
            }
        }
    }
}

TEST(CurveAngles, FixControlAnglesRefusesOtherPropertiesAndBadRanges)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    T::Rec(c, 2).Yaw = 400;
    struct Case
    {
        int32_t id, first, last;
    };
    for (const Case& cs : {Case{7, 1, 3}, Case{16, 1, 3}, Case{5, 0, 3}, Case{5, 3, 3}, Case{5, 2, 1},
                           Case{5, 1, 4}, Case{5, 1, 0}}) {
        EXPECT_FALSE(c.FixControlAngles(cs.id, cs.first, cs.last))
            << cs.id << " " << cs.first << " " << cs.last;
    }
    EXPECT_EQ(c.GetYaw(2), 400.0f);
}

TEST(CurveAngles, SetControlTargetUnwrapsTowardsTheReferenceAndRaisesCurveChanged)
{
    struct Case
    {
        double tx, ty, tz;
        float refPitch, refYaw;
        float pitch, yaw;
    };
    const double d = 10.0;
    const double a5 = 5.0 * 3.14159265358979 / 180.0;
    const double a10 = 10.0 * 3.14159265358979 / 180.0;
    const Case cases[] = {
        // yaw -5 beside a reference of 350 becomes 355
        {d * std::cos(a5), -d * std::sin(a5), 0, 0, 350, 0, 355},
        // a pitch difference of 190 is within the whole turn allowed for pitch
        {d * std::cos(a10), 0, d * std::sin(a10), 200, 0, 10, 0},
        // pitch 10 beside a reference of 730: two turns
        {d * std::cos(a10), 0, d * std::sin(a10), 730, 0, 730, 0},
        // yaw 180 beside -170: one turn down
        {-10, 0, 0, 0, -170, 0, -180},
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        CurveEventLog log;
        T::Lay(c, {{0, 0, 0}});
        c.AddListener(&log);
        c.SetControlTarget(1, static_cast<float>(cs.tx), static_cast<float>(cs.ty),
                           static_cast<float>(cs.tz), cs.refPitch, cs.refYaw);
        EXPECT_NEAR(c.GetPitch(1), cs.pitch, 1e-3) << cs.refPitch << " " << cs.refYaw;
        EXPECT_NEAR(c.GetYaw(1), cs.yaw, 1e-3) << cs.refPitch << " " << cs.refYaw;
        EXPECT_EQ(c.GetTargetX(1), static_cast<float>(cs.tx));
        EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    }
}

TEST(CurveAngles, UpdateControlTargetMovesTheTargetOntoTheLineOfSight)
{
    C3DCurve c;
    T::Lay(c, {{1, 2, 3}, {0, 0, 0}});
    SetTarget(c, 1, 11, 2, 3);  // 10 units ahead on +X
    c.UpdateControlTarget(1);   // pitch and yaw both 0: left where it is
    EXPECT_EQ(T::Rec(c, 1).TargetX, 11.0);
    T::Rec(c, 1).Yaw = 90.0f;
    c.UpdateControlTarget(1);
    EXPECT_NEAR(T::Rec(c, 1).TargetX, 1.0, 1e-9);
    EXPECT_NEAR(T::Rec(c, 1).TargetY, 12.0, 1e-9);
    EXPECT_NEAR(T::Rec(c, 1).TargetZ, 3.0, 1e-9);
    T::Rec(c, 2).Yaw = 90.0f;  // no target: nothing happens
    c.UpdateControlTarget(2);
    EXPECT_FALSE(c.IsTargetDefined(2));
}

TEST(CurveAngles, SamplingAimDataUsesTargetsOrAPointAhead)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    SetTarget(c, 2, 10, 30, 40);
    T::Rec(c, 3).Yaw = 90.0f;
    const CurveChannel targets = T::TargetPoints(c);
    ASSERT_EQ(targets.size(), 4u);
    EXPECT_NEAR(targets[1][0], 150.0, 1e-9);
    EXPECT_NEAR(targets[1][1], 0.0, 1e-9);
    EXPECT_EQ(targets[2], (std::array<double, 3>{10, 30, 40}));
    EXPECT_NEAR(targets[3][0], 20.0, 1e-9);
    EXPECT_NEAR(targets[3][1], 150.0, 1e-9);
    const CurveChannel distances = T::AimDistances(c);
    ASSERT_EQ(distances.size(), 4u);
    EXPECT_EQ(distances[1], (std::array<double, 3>{150, 0, 0}));
    EXPECT_EQ(distances[2], (std::array<double, 3>{50, 0, 0}));
}

TEST(CurveAngles, SelectedControlsLookAtTheNextControlOrAFixedPoint)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    c.SetSelected(3, true);  // only the last: it has no next control
    c.SetSelectedControlTargetNextControl();
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(c.IsTargetDefined(i));

    c.SetSelected(1, true);
    c.SetSelected(2, true);
    c.SetSelectedControlTargetNextControl();
    EXPECT_EQ(T::Rec(c, 1).TargetX, 10.0);
    EXPECT_EQ(c.GetYaw(1), 0.0f);
    EXPECT_EQ(T::Rec(c, 2).TargetY, 10.0);
    EXPECT_EQ(c.GetYaw(2), 90.0f);
    EXPECT_FALSE(c.IsTargetDefined(3));

    c.UnselectAllControls();
    c.SetSelectedControlTarget2(1, 2, 3);  // nothing selected: nothing happens
    EXPECT_EQ(T::Rec(c, 1).TargetX, 10.0);
    c.SetSelected(3, true);
    c.SetSelectedControlTarget2(10, 0, 0);
    EXPECT_EQ(c.GetYaw(3), -90.0f);
    EXPECT_EQ(T::Rec(c, 3).TargetZ, 0.0);
}

TEST(CurveAngles, StoredCopiesFollowTheIndex)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {1, 1, 1}});
    SetTarget(c, 2, 4, 5, 6);
    T::Rec(c, 2).Roll = 3;
    c.StoreControlTargets();
    c.StoreControlAngles();
    SetTarget(c, 2, 0, 0, 0);
    EXPECT_EQ(c.GetStoredTarget(2, 0), 4.0f);
    EXPECT_EQ(c.GetStoredTarget(2, 2), 6.0f);
    c.Clear();  // the copies are kept by index
    EXPECT_EQ(c.GetStoredTarget(2, 1), 5.0f);
    EXPECT_THROW(c.GetStoredTarget(2, -1), RuvError);
    EXPECT_THROW(c.GetStoredTarget(300, 0), RuvError);
}

namespace {

// A straight target curve along X: controls at 0, 10, 20, ...
C3DCurve StraightTargets(int count)
{
    C3DCurve target;
    std::vector<T::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({10.0f * i, 100.0f, 0.0f});
    T::Lay(target, points);
    return target;
}

C3DCurve Watchers(int count, std::vector<int32_t> selected)
{
    C3DCurve c;
    T::Lay(c, std::vector<T::Point>(static_cast<size_t>(count), {0, 0, 0}));
    for (int32_t i : selected)
        c.SetSelected(i, true);
    return c;
}

}  // namespace

TEST(CurveAngles, SelectedControlsWatchPointsSpreadAlongAnotherCurve)
{
    struct Case
    {
        int watchers;
        std::vector<int32_t> selected;
        int targets;
        std::vector<int32_t> targetSelected;
        std::vector<double> x;  // TargetX of the selected controls, in order
    };
    const Case cases[] = {
        // 3 watchers, 5 targets none selected: first, middle and last point
        {3, {1, 2, 3}, 5, {}, {0, 20, 40}},
        // as many listed targets as watchers: one each
        {4, {1, 2, 4}, 6, {2, 3, 6}, {10, 20, 50}},
        // one listed target: everyone looks at it
        {3, {1, 3}, 4, {3}, {20, 20}},
        // one watcher, two listed targets: halfway between them
        {2, {2}, 3, {1, 2}, {5}},
        // two watchers over listed controls that are not neighbours: from
        // the first listed to the last listed one
        {2, {1, 2}, 5, {1, 3, 5}, {0, 40}},
    };
    for (const Case& cs : cases) {
        C3DCurve c = Watchers(cs.watchers, cs.selected);
        C3DCurve target = StraightTargets(cs.targets);
        for (int32_t i : cs.targetSelected)
            target.SetSelected(i, true);
        c.SetSelectedControlTarget(target);
        for (size_t i = 0; i < cs.selected.size(); ++i) {
            const ControlRecord& r = T::Rec(c, cs.selected[i]);
            EXPECT_NEAR(r.TargetX, cs.x[i], 1e-4) << "case with " << cs.watchers << " watchers, #" << i;
            EXPECT_NEAR(r.TargetY, 100.0, 1e-4);
            // and the control now looks at it
            EXPECT_GT(c.GetYaw(cs.selected[i]), 0.0f);
        }
    }
}

TEST(CurveAngles, SpreadingTargetsNeedsSelectedControlsAndATargetCurve)
{
    C3DCurve none = Watchers(3, {});
    C3DCurve target = StraightTargets(4);
    none.SetSelectedControlTarget(target);
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(none.IsTargetDefined(i));
    C3DCurve some = Watchers(3, {1});
    C3DCurve empty;
    some.SetSelectedControlTarget(empty);
    EXPECT_FALSE(some.IsTargetDefined(1));
}
