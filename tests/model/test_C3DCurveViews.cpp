// A curve in the 2D views: framing, and grabbing and dragging tangent handles.
#include "test_C3DCurveSupport.h"

#include "CView.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <cmath>

using T = C3DCurveTestAccess;
using Events = std::vector<std::string>;

namespace {

CView MakeView(int32_t flag)
{
    CView v;
    switch (flag) {
    case 1: v.Initialize(1, 0, 1, 2, 1, 10, 100000, false, false, false); break;
    case 2: v.Initialize(2, 0, 2, 1, 1, 10, 100000, false, false, false); break;
    case 4: v.Initialize(4, 1, 2, 0, 1, 10, 100000, false, false, false); break;
    default: v.Initialize(8, 0, 1, 2, 1, 10, 100000, false, false, false); break;
    }
    return v;
}

void SetTan(C3DCurve& c, int32_t i, uint8_t k, float x, float y, float z, int32_t mask = 0)
{
    ControlRecord& r = T::Rec(c, i);
    if (k == 1) {
        r.Tan1X = x;
        r.Tan1Y = y;
        r.Tan1Z = z;
        r.Tan1C = mask;
    } else {
        r.Tan2X = x;
        r.Tan2Y = y;
        r.Tan2Z = z;
        r.Tan2C = mask;
    }
}

}  // namespace

TEST(CurveViews, BoundsOnTheViewAxesSkipHiddenAndUnselectedControls)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 20, 30}, {-5, 5, 100}});
    SetTan(c, 1, 1, 50, 0, 0);   // handle 1 of control 1 at x 50
    SetTan(c, 2, 2, 0, 0, -70);  // handle 2 of segment 2 at z 170
    T::Rec(c, 3).Hide = 1;

    struct Case
    {
        int32_t view;
        bool selectedOnly, withTangents;
        std::array<float, 2> min, max;
    };
    const Case cases[] = {
        {1, false, false, {0, 0}, {10, 20}},
        {1, false, true, {0, 0}, {50, 20}},
        {2, false, false, {0, 0}, {10, 30}},
        {2, false, true, {0, 0}, {50, 30}},  // the handle at control 3 is hidden with it
        {4, true, false, {0, 0}, {20, 30}},  // nothing selected: all count
    };
    for (const Case& cs : cases) {
        std::array<float, 2> mn{1e9f, 1e9f};
        std::array<float, 2> mx{-1e9f, -1e9f};
        c.GetViewMinMaxBounds(MakeView(cs.view), mn, mx, cs.selectedOnly, cs.withTangents);
        EXPECT_EQ(mn, cs.min) << cs.view << cs.selectedOnly << cs.withTangents;
        EXPECT_EQ(mx, cs.max) << cs.view << cs.selectedOnly << cs.withTangents;
    }

    c.SetSelected(2, true);
    std::array<float, 2> mn{1e9f, 1e9f};
    std::array<float, 2> mx{-1e9f, -1e9f};
    c.GetViewMinMaxBounds(MakeView(1), mn, mx, true, false);
    EXPECT_EQ(mn, (std::array<float, 2>{10, 20}));
    EXPECT_EQ(mx, (std::array<float, 2>{10, 20}));
}

TEST(CurveViews, CentresOfVisibleControls)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 20, 30}, {-6, 4, 100}, {1000, 1000, 1000}});
    T::Rec(c, 4).Hide = 1;
    const CView top = MakeView(1);
    EXPECT_EQ(c.GetSelectedControlsViewCenter(top), (std::array<float, 2>{0, 0}));
    EXPECT_EQ(c.GetControlsViewCenter(top, 1, 4), (std::array<float, 2>{2, 10}));
    EXPECT_EQ(c.GetControlsViewCenter(MakeView(4), 2, 3), (std::array<float, 2>{12, 65}));
    EXPECT_EQ(c.GetControlsViewCenter(top, 4, 4), (std::array<float, 2>{0, 0}));
    c.SetSelected(2, true);
    c.SetSelected(3, true);
    c.SetSelected(4, true);
    EXPECT_EQ(c.GetSelectedControlsViewCenter(top), (std::array<float, 2>{2, 12}));
    EXPECT_THROW(c.GetControlsViewCenter(top, 1, 253), RuvError);
}

TEST(CurveViews, HitTestFindsHandleOneFirstAndLowerControlsFirst)
{
    C3DCurve c;
    const CView top = MakeView(1);
    uint8_t k = 9;
    int32_t index = 9;
    c.FindTangentAtViewPoint(k, 0, 0, top, 1.0f, index);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(index, -1);

    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    // Handle 1 of control 1 and handle 2 of segment 1 both at (5, 5).
    SetTan(c, 1, 1, 5, 5, 0);
    SetTan(c, 1, 2, 5, -5, 0);
    // Handle 1 of control 2 also at (5, 5).
    SetTan(c, 2, 1, -5, 5, 0);
    c.FindTangentAtViewPoint(k, 5.5f, 4.5f, top, 1.0f, index);
    EXPECT_EQ(k, 1);
    EXPECT_EQ(index, 1);
    SetTan(c, 1, 1, 0, 0, 0);
    c.FindTangentAtViewPoint(k, 5.5f, 4.5f, top, 1.0f, index);
    EXPECT_EQ(k, 2);
    EXPECT_EQ(index, 1);
    c.FindTangentAtViewPoint(k, 5.5f, 4.5f, top, 0.25f, index);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(index, -1);
    // The last control's handle 2 sits on the end neighbour.
    SetTan(c, 1, 2, 0, 0, 0);
    SetTan(c, 2, 1, 0, 0, 0);
    SetTan(c, 3, 2, -3, -3, 0);
    c.FindTangentAtViewPoint(k, 23, 3, top, 0.5f, index);
    EXPECT_EQ(k, 2);
    EXPECT_EQ(index, 3);
}

TEST(CurveViews, DragPutsTheHandleOnTheMouseAndMirrorsTheOtherTangent)
{
    C3DCurve c;
    CurveEventLog log;
    T::Lay(c, {{0, 0, 0}, {10, 0, 7}, {20, 0, 0}});
    SetTan(c, 2, 1, 1, 1, 9, 4);
    c.AddListener(&log);
    c.DragTangent(MakeView(1), 2, 1, {13, 4, -50}, 0);
    EXPECT_EQ(c.GetTan1X(2), 3.0f);
    EXPECT_EQ(c.GetTan1Y(2), 4.0f);
    EXPECT_EQ(c.GetTan1Z(2), 9.0f);  // the view's depth stays
    EXPECT_EQ(c.GetTan1C(2), 5.0f);
    // The arriving tangent at control 2 becomes the same, mark included.
    EXPECT_EQ(c.GetTan2X(1), 3.0f);
    EXPECT_EQ(c.GetTan2Y(1), 4.0f);
    EXPECT_EQ(c.GetTan2Z(1), 9.0f);
    EXPECT_EQ(c.GetTan2C(1), 5.0f);
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));

    // Handle 2 sits at P(i+1) - T2(i): the tangent points the other way.
    c.DragTangent(MakeView(2), 1, 2, {8, 99, 10}, 2);  // Control: the other stays
    EXPECT_EQ(c.GetTan2X(1), 2.0f);
    EXPECT_EQ(c.GetTan2Z(1), -3.0f);
    EXPECT_EQ(c.GetTan2Y(1), 4.0f);
    EXPECT_EQ(c.GetTan2C(1), 7.0f);
    EXPECT_EQ(c.GetTan1X(2), 3.0f);
}

TEST(CurveViews, DragWithShiftFollowsTheChord)
{
    C3DCurve c;
    // Both ends at x 10: the handle can only move vertically.
    T::Lay(c, {{10, 0, 0}, {10, 20, 0}});
    c.DragTangent(MakeView(1), 1, 2, {15, 12, 0}, 1 | 2);
    EXPECT_EQ(c.GetTan2Y(1), 8.0f);
    EXPECT_LT(std::fabs(c.GetTan2X(1)), 1e-30f);

    // A chord of slope 1/2: the handle slides along it.
    C3DCurve d;
    T::Lay(d, {{0, 0, 0}, {20, 10, 0}});
    d.DragTangent(MakeView(1), 1, 1, {8, 100, 0}, 1 | 2);
    EXPECT_FLOAT_EQ(d.GetTan1X(1), 8.0f);
    EXPECT_FLOAT_EQ(d.GetTan1Y(1), 4.0f);
}

TEST(CurveViews, DragWithAltTurnsTheOtherTangentAndKeepsItsLength)
{
    struct Case
    {
        std::array<float, 3> point;
        float ox, oy;
    };
    // Control 2 at (10, 10); the other tangent T2(1) has length 5 in the view.
    const Case cases[] = {
        {{15, 10, 0}, 5, 0},    // dragged to the right
        {{10, 2, 0}, 0, -5},    // straight down
        {{10, 18, 0}, 0, 5},    // straight up
        {{6, 13, 0}, -4, 3},    // up and to the left
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        T::Lay(c, {{0, 0, 0}, {10, 10, 0}, {20, 0, 0}});
        SetTan(c, 1, 2, 3, 4, 6);
        c.DragTangent(MakeView(1), 2, 1, cs.point, 4);
        EXPECT_NEAR(c.GetTan2X(1), cs.ox, 1e-4) << cs.point[0] << "," << cs.point[1];
        EXPECT_NEAR(c.GetTan2Y(1), cs.oy, 1e-4) << cs.point[0] << "," << cs.point[1];
        EXPECT_EQ(c.GetTan2Z(1), 6.0f);
        EXPECT_EQ(c.GetTan2C(1), 1.0f);
    }
}

TEST(CurveViews, DraggingTheFirstHandleWritesTheOtherTangentIntoTheEndNeighbour)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}});
    c.DragTangent(MakeView(1), 1, 1, {2, 3, 0}, 0);
    const ControlRecord before = c.GetControlRecord(0);
    EXPECT_EQ(before.Tan2X, 2.0f);
    EXPECT_EQ(before.Tan2Y, 3.0f);
    EXPECT_EQ(before.Tan2C, 1);
    EXPECT_THROW(c.DragTangent(MakeView(1), 1, 3, {0, 0, 0}, 0), RuvError);
}
