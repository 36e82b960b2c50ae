// Automatic and hand-edited tangents of the controls.
#include "test_C3DCurveSupport.h"

#include "RuvError.h"

#include <gtest/gtest.h>

using T = C3DCurveTestAccess;
using Events = std::vector<std::string>;

TEST(CurveTangents, AutomaticRuleSpansTheNeighboursAndHalvesAtTheEnds)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {30, 0, 0}});
    c.TangentSetAll(1);
    EXPECT_FLOAT_EQ(c.GetTan1X(1), 2.75f);  // P(0) is a copy of control 1
    EXPECT_FLOAT_EQ(c.GetTan1X(2), 8.25f);
    EXPECT_FLOAT_EQ(c.GetTan2X(1), 8.25f);
    EXPECT_FLOAT_EQ(c.GetTan2X(2), 5.5f);  // P(4) is a copy of control 3
    EXPECT_FLOAT_EQ(c.GetTan1X(3), 5.5f);
    EXPECT_FLOAT_EQ(c.GetTan2X(3), 0.0f);  // belongs to no segment: left alone
}

TEST(CurveTangents, TangentSetAllClearsEveryEditMark)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 5, 0}, {30, 0, 7}, {40, 2, 2}});
    for (int i = 1; i <= 4; ++i) {
        T::Rec(c, i).Tan1C = 7;
        T::Rec(c, i).Tan2C = 7;
        T::Rec(c, i).Tan1Y = 99.0f;
    }
    c.TangentSetAll(1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(c.GetTan1C(i), 0.0f) << i;
        EXPECT_EQ(c.GetTan2C(i), 0.0f) << i;
        EXPECT_NE(c.GetTan1Y(i), 99.0f) << i;
    }
    EXPECT_EQ(c.GetTan2C(4), 7.0f);  // T2(n) is not recomputed
}

// Which components of a tangent edited in view 1 the update recomputes, per
// view mask of the move: X is shown in views 1 and 2, Y in 1 and 4, Z in 2 and 4.
TEST(CurveTangents, UpdateKeepsComponentsEditedInAViewThatShowsTheirAxis)
{
    struct Case
    {
        int32_t mask;
        bool x, y, z;  // recomputed?
    };
    const Case cases[] = {
        {1, false, false, false},
        {2, false, false, true},
        {4, false, false, true},
        {7, false, false, true},
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        T::Lay(c, {{0, 0, 0}, {10, 10, 10}, {30, 20, 40}, {60, 50, 80}});
        c.TangentSetAll(1);
        ControlRecord& r3 = T::Rec(c, 3);
        r3.Tan1C = 1;
        r3.Tan1X = r3.Tan1Y = r3.Tan1Z = -1.0f;
        // Control 2 moved; its neighbours' tangents follow.
        T::Rec(c, 2).X = 20;
        T::Rec(c, 2).Y = 20;
        T::Rec(c, 2).Z = 20;
        c.TangentUpdate(2, cs.mask);
        EXPECT_EQ(c.GetTan1X(3) != -1.0f, cs.x) << cs.mask;
        EXPECT_EQ(c.GetTan1Y(3) != -1.0f, cs.y) << cs.mask;
        EXPECT_EQ(c.GetTan1Z(3) != -1.0f, cs.z) << cs.mask;
        EXPECT_EQ(c.GetTan1C(3), 1.0f);  // not forced: the mark stays
        // The arriving tangent at control 3 was not edited: it follows.
        EXPECT_FLOAT_EQ(c.GetTan2X(2), (cs.mask & 3) ? 40.0f * 1.1f / 4.0f : 50.0f * 1.1f / 4.0f);
    }
}

TEST(CurveTangents, ForcedRuleDropsOnlyTheGivenViewsFromTheMark)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 10, 10}, {30, 20, 40}});
    T::Rec(c, 2).Tan1C = 7;
    T::ComputeAutoTangent(c, 2, 1, 2, true);
    EXPECT_EQ(c.GetTan1C(2), 5.0f);
    EXPECT_FLOAT_EQ(c.GetTan1X(2), 30.0f * 1.1f / 4.0f);
    EXPECT_FLOAT_EQ(c.GetTan1Y(2), 0.0f);  // Y is not shown in view 2
    EXPECT_FLOAT_EQ(c.GetTan1Z(2), 40.0f * 1.1f / 4.0f);
}

TEST(CurveTangents, TangentNumberOtherThanOneOrTwoIsAnIndexError)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}});
    try {
        c.TangentSet(1, 3, 7, true);
        FAIL() << "no error";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::IndexOutOfRange);
    }
}

TEST(CurveTangents, IndexesOutsideTheControlsAreIgnored)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}});
    const ControlRecord before = T::Rec(c, 5);
    T::ComputeAutoTangent(c, 5, 1, 7, true);
    T::ComputeAutoTangent(c, 0, 2, 7, true);
    T::ComputeAutoTangent(c, -3, 2, 7, true);
    EXPECT_EQ(T::Rec(c, 5), before);
}

TEST(CurveTangents, SettingAnEndTangentRefreshesItsEndNeighbour)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {30, 0, 0}});
    T::Rec(c, 1).X = 5;
    T::Rec(c, 3).X = 50;
    c.TangentSet(1, 1, 7, true);
    EXPECT_EQ(c.GetControlRecord(0).X, 5.0f);
    c.TangentSet(3, 1, 7, true);
    EXPECT_EQ(c.GetControlRecord(4).X, 50.0f);
}

TEST(CurveTangents, BatchOperationsRaiseOneCurveChangedOrNone)
{
    C3DCurve c;
    CurveEventLog log;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    c.AddListener(&log);
    c.TangentUpdate(2, 7);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    c.TangentUpdate(1, 7);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    c.TanSetPrevNext(3, false);
    EXPECT_TRUE(log.Take().empty());
    c.TanSetPrevNext(3, true);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    c.TangentSetAll(1);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    c.TangentSet(2, 1, 7, false);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
}
