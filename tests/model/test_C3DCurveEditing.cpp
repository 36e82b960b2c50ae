// Adding, inserting, duplicating and deleting controls, and editing many
// controls at once.
#include "test_C3DCurveFlightSupport.h"

#include "C3DCamera.h"
#include "CView.h"
#include "RuvError.h"
#include "TaggedValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace flight;
using Events = std::vector<std::string>;

namespace {

CView TopView()
{
    CView v;
    v.Initialize(CView::ViewXY, 0, 1, 2, 0, 1, 100000, false, false, false);
    return v;
}

CView FrontView()
{
    CView v;
    v.Initialize(CView::ViewXZ, 0, 2, 1, 0, 1, 100000, false, false, false);
    return v;
}

constexpr int32_t kInvalidValue = static_cast<int32_t>(0x80040001u);

int32_t SampledCount(C3DCurve& c)
{
    std::vector<ControlRecord> r;
    return c.GetSampledControls(r, true) + 1;
}

std::vector<ControlRecord> Controls(C3DCurve& c)
{
    std::vector<ControlRecord> out;
    for (int i = 0; i <= c.ControlsCount() + 1; ++i)
        out.push_back(T::Rec(c, i));
    return out;
}

size_t Count(const Events& events, const std::string& name)
{
    return static_cast<size_t>(std::count(events.begin(), events.end(), name));
}

}  // namespace

// ---- Appending -----------------------------------------------------------------

TEST(CurveEditing, CanAddControlCountsUpTo250)
{
    struct Case
    {
        int controls;
        int32_t count;
        bool can;
    };
    for (const Case& k : {Case{249, 1, true}, Case{250, 1, false}, Case{250, 0, true},
                          Case{0, 250, true}, Case{0, 251, false}}) {
        C3DCurve c;
        T::SetCount(c, k.controls);
        EXPECT_EQ(c.CanAddControl(k.count), k.can) << k.controls << " + " << k.count;
    }
}

TEST(CurveEditing, AppendedControlsExtendTheLastSegmentsDuration)
{
    C3DCurve c;
    CurveEventLog log;
    c.AddListener(&log);
    c.AddControl3(1.234f, -5.678f, 9.005f, 10.111f, 20.0f, 30.0f, true);
    EXPECT_EQ(log.Take(), Events{"ControlsCount"});
    EXPECT_FLOAT_EQ(c.GetX(1), 1.23f);
    EXPECT_FLOAT_EQ(c.GetY(1), -5.68f);
    EXPECT_FLOAT_EQ(c.GetPitch(1), 10.11f);
    EXPECT_EQ(T::Rec(c, 1).Time, 0.0);
    T::Rec(c, 1).Fov = 45.0f;
    T::Rec(c, 1).Timescale = 0.5f;
    c.AddControl3(10, 0, 0, 1, 2, 3, false);
    EXPECT_EQ(T::Rec(c, 2).Time, 1.0);
    EXPECT_EQ(c.GetFov(2), 45.0f);
    EXPECT_EQ(c.GetTimescale(2), 0.5f);
    EXPECT_EQ(c.GetPitch(2), 0.0f);  // without angles
    T::Rec(c, 2).Time = 1.0;
    c.AddControl3(20, 0, 0, 0, 0, 0, false);
    T::Rec(c, 3).Time = 3.0;
    c.AddControl3(30, 0, 0, 0, 0, 0, false);
    EXPECT_EQ(T::Rec(c, 4).Time, 5.0);
    // The tangents at the new end are automatic.
    EXPECT_FLOAT_EQ(c.GetTan1X(3), (30.0f - 10.0f) * 1.1f / 4.0f);
}

TEST(CurveEditing, AnAppendedSegmentGetsAtLeastTwoSteps)
{
    C3DCurve c;
    c.AddControl3(0, 0, 0, 0, 0, 0, false);
    c.SetStepRate(30);
    c.AddControl3(10, 0, 0, 0, 0, 0, false);
    T::Rec(c, 2).Time = 0.001;
    c.AddControlRecord(T::Rec(c, 2));  // a record at the same time
    EXPECT_NEAR(T::Rec(c, 3).Time - T::Rec(c, 2).Time, 2.0 / 30.0, 1e-12);
    EXPECT_EQ(c.StepCount(), SampledCount(c));
}

TEST(CurveEditing, AFullCurveRefusesMoreControlsAndStaysAsItWas)
{
    C3DCurve c;
    T::Lay(c, Line(C3DCurve::MAX_CONTROL));
    const std::vector<ControlRecord> before = Controls(c);
    auto refused = [&](auto&& edit) {
        try {
            edit();
            ADD_FAILURE() << "not refused";
        } catch (const RuvError& e) {
            EXPECT_EQ(e.number(), RuvError::IndexOutOfRange);
        }
        EXPECT_EQ(c.ControlsCount(), C3DCurve::MAX_CONTROL);
        EXPECT_EQ(Controls(c), before);
    };
    refused([&] { c.AddControl3(1, 2, 3, 0, 0, 0, false); });
    refused([&] { c.AddControlRecord(NewControlRecord()); });
    refused([&] { c.InsertControl(5); });
    refused([&] { c.InsertControlRecord(NewControlRecord(), 5); });
    refused([&] { c.DuplicateControl(C3DCurve::MAX_CONTROL); });
}

TEST(CurveEditing, AddControlFromViewPointTakesTheDepthOfTheLastControl)
{
    C3DCurve c;
    c.AddControlFromViewPoint(12.341f, -7.5f, TopView());
    EXPECT_FLOAT_EQ(c.GetX(1), 12.34f);
    EXPECT_FLOAT_EQ(c.GetY(1), -7.5f);
    EXPECT_EQ(c.GetZ(1), 0.0f);
    T::Rec(c, 1).Fov = 70.0f;
    T::Rec(c, 1).Timescale = 0.5f;
    c.AddControlFromViewPoint(3.0f, 44.444f, FrontView());
    EXPECT_EQ(c.GetX(2), 3.0f);
    EXPECT_FLOAT_EQ(c.GetY(2), -7.5f);  // depth of the front view
    EXPECT_FLOAT_EQ(c.GetZ(2), 44.44f);
    EXPECT_EQ(c.GetFov(2), 70.0f);
    EXPECT_EQ(c.GetTimescale(2), 0.5f);
    EXPECT_EQ(T::Rec(c, 2).Time, 1.0);
}

TEST(CurveEditing, AddControlFromCameraStoresTheGamesConvention)
{
    C3DCamera cam;
    cam.Clear();
    cam.SetPosition({-100.004f, 250.5f, -32.0f});
    cam.SetYaw(30.0f);
    cam.SetPitch(12.345f);
    cam.SetRoll(-4.0f);
    cam.SetFov(75.555f);
    C3DCurve c;
    c.AddControl3(0, 0, 0, 0, 0, 0, false);
    T::Rec(c, 1).Timescale = 0.25f;
    c.AddControlFromCamera(cam);
    ASSERT_EQ(c.ControlsCount(), 2);
    EXPECT_FLOAT_EQ(c.GetX(2), 100.0f);
    EXPECT_FLOAT_EQ(c.GetY(2), -250.5f);
    EXPECT_FLOAT_EQ(c.GetZ(2), 32.0f);
    EXPECT_FLOAT_EQ(c.GetYaw(2), 60.0f);
    EXPECT_FLOAT_EQ(c.GetPitch(2), -12.35f);  // -12.345f lies just beyond the half
    EXPECT_FLOAT_EQ(c.GetRoll(2), -4.0f);
    EXPECT_FLOAT_EQ(c.GetFov(2), 75.555f);  // unrounded
    EXPECT_EQ(c.GetTimescale(2), 0.25f);
}

TEST(CurveEditing, FindControlAtViewPoint)
{
    struct Case
    {
        bool hideFirst;
        float a, b;
        int32_t want;
    };
    for (const Case& k : {Case{false, 10.5f, 20.5f, 1}, Case{true, 10.5f, 20.5f, 2},
                          Case{false, 30.0f, 0.0f, 3}, Case{false, 31.5f, 0.0f, -1}}) {
        C3DCurve c;
        T::Lay(c, {{10, 20, 5}, {10, 20, -5}, {30, 0, 0}});
        T::Rec(c, 1).Hide = k.hideFirst ? 1 : 0;
        int32_t index = 99;
        c.FindControlAtViewPoint(k.a, k.b, TopView(), 1.0f, index);
        EXPECT_EQ(index, k.want) << k.a << " " << k.hideFirst;
    }
    C3DCurve empty;
    int32_t index = 99;
    empty.FindControlAtViewPoint(0, 0, TopView(), 1.0f, index);
    EXPECT_EQ(index, -1);
}

// ---- Inserting -----------------------------------------------------------------

TEST(CurveEditing, InsertControlAveragesItsNeighbours)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    T::Rec(c, 1).Yaw = 180.0f;
    T::Rec(c, 1).TargetX = 10;
    T::Rec(c, 1).TargetY = 20;
    T::Rec(c, 1).TargetZ = 30;
    T::Rec(c, 1).Time = 0.0;
    T::Rec(c, 2).Time = 0.125;
    T::Rec(c, 2).Command = QStringLiteral("next");
    T::Rec(c, 2).IsSelected = true;
    CurveEventLog log;
    c.AddListener(&log);
    c.InsertControl(1);
    EXPECT_EQ(Count(log.Take(), "ControlsCount"), 1u);
    ASSERT_EQ(c.ControlsCount(), 4);
    EXPECT_EQ(c.GetX(2), 5.0f);  // zero tangents: the middle of the chord
    EXPECT_EQ(c.GetYaw(2), 90.0f);
    EXPECT_EQ(T::Rec(c, 2).TargetX, 5.0);
    EXPECT_EQ(T::Rec(c, 2).TargetY, 10.0);
    EXPECT_EQ(T::Rec(c, 2).TargetZ, 15.0);
    EXPECT_FLOAT_EQ(c.GetTime(2), 0.06f);  // 0.0625 to 2 decimals, half to even
    EXPECT_EQ(c.GetCommand(2), QStringLiteral("next"));
    EXPECT_FALSE(c.IsSelected(2));
    EXPECT_EQ(c.GetX(3), 10.0f);
    EXPECT_EQ(c.GetX(4), 20.0f);
}

TEST(CurveEditing, InsertControlNeedsASegment)
{
    for (int32_t index : {0, 3, -1}) {
        C3DCurve c;
        T::Lay(c, Line(3));
        const std::vector<ControlRecord> before = Controls(c);
        EXPECT_THROW(c.InsertControl(index), RuvError) << index;
        EXPECT_EQ(c.ControlsCount(), 3);
        EXPECT_EQ(Controls(c), before);
    }
}

TEST(CurveEditing, InsertControlRecordDropsTheTargetAndKeepsAnglesWithinHalfATurn)
{
    struct Case
    {
        int32_t after;
        int32_t at;
    };
    for (const Case& k : {Case{0, 1}, Case{1, 2}, Case{3, 4}}) {
        C3DCurve c;
        T::Lay(c, Line(3));
        ControlRecord r = NewControlRecord();
        r.X = 99;
        r.Pitch = 350.0f;
        r.TargetX = 4;
        r.IsSelected = true;
        c.InsertControlRecord(r, k.after);
        ASSERT_EQ(c.ControlsCount(), 4);
        EXPECT_EQ(c.GetX(k.at), 99.0f);
        EXPECT_FALSE(c.IsTargetDefined(k.at));
        EXPECT_FALSE(c.IsSelected(k.at));
        // After a control at pitch 0 it becomes -10; first, it has no control before.
        EXPECT_EQ(c.GetPitch(k.at), k.after == 0 ? 350.0f : -10.0f) << k.after;
    }
}

// ---- Duplicating and deleting --------------------------------------------------

TEST(CurveEditing, DuplicateControlCopiesItAndGivesTheNewSegmentTwoSteps)
{
    for (int32_t index : {1, 2, 3}) {
        C3DCurve c;
        LayWithSteps(c, Line(3), {10, 10}, 30);
        T::Rec(c, index).Command = QStringLiteral("say hi");
        c.DuplicateControl(index);
        ASSERT_EQ(c.ControlsCount(), 4);
        EXPECT_EQ(c.GetX(index + 1), c.GetX(index));
        EXPECT_EQ(c.GetCommand(index + 1), QStringLiteral("say hi"));
        EXPECT_NEAR(T::Rec(c, index + 1).Time - T::Rec(c, index).Time, 2.0 / 30.0, 1e-12);
        EXPECT_EQ(c.StepCount(), SampledCount(c));
    }
}

TEST(CurveEditing, DeleteControlRecomputesTheTangentsAroundTheGap)
{
    struct Case
    {
        int32_t index;
        float tan1First;  // T1(1) afterwards
        int32_t checkTan2;
        float tan2;
    };
    // Controls at X = 0, 10, 30, 60.
    const std::vector<Case> cases = {
        // The new first control is its own end neighbour: a half span.
        {1, (30.0f - 10.0f) * 1.1f / 4.0f, 1, (60.0f - 10.0f) * 1.1f / 4.0f},
        {2, (30.0f - 0.0f) * 1.1f / 4.0f, 1, (60.0f - 0.0f) * 1.1f / 4.0f},
        {4, (10.0f - 0.0f) * 1.1f / 4.0f, 2, (30.0f - 10.0f) * 1.1f / 4.0f},
    };
    for (const Case& k : cases) {
        C3DCurve c;
        LayWithSteps(c, {{0, 0, 0}, {10, 0, 0}, {30, 0, 0}, {60, 0, 0}}, {10, 10, 10}, 30);
        CurveEventLog log;
        c.AddListener(&log);
        c.DeleteControl(k.index);
        const Events e = log.Take();
        EXPECT_EQ(Count(e, "ControlsCount"), 1u) << k.index;
        EXPECT_EQ(Count(e, "CurveChanged"), 0u) << k.index;
        ASSERT_EQ(c.ControlsCount(), 3);
        EXPECT_FLOAT_EQ(c.GetTan1X(1), k.tan1First) << k.index;
        EXPECT_FLOAT_EQ(c.GetTan2X(k.checkTan2), k.tan2) << k.index;
        EXPECT_EQ(T::Rec(c, 1).Time, 0.0);
        EXPECT_EQ(c.StepCount(), SampledCount(c)) << k.index;
    }
}

TEST(CurveEditing, DeletingTheOnlyControlEmptiesTheCurve)
{
    C3DCurve c;
    T::Lay(c, Line(1));
    c.DeleteControl(1);
    EXPECT_EQ(c.ControlsCount(), 0);
    EXPECT_THROW(c.DeleteControl(1), RuvError);
}

// ---- Editing many controls -------------------------------------------------------

TEST(CurveEditing, SetControlsAverageSpreadsBetweenTheEnds)
{
    C3DCurve c;
    T::Lay(c, Line(7));
    T::Rec(c, 2).Pitch = 10.0f;
    T::Rec(c, 6).Pitch = 30.0f;
    CurveEventLog log;
    c.AddListener(&log);
    EXPECT_TRUE(c.SetControlsAverage(2, 6, 4));
    EXPECT_EQ(log.Take(), Events{"CurveChanged"});
    EXPECT_EQ(c.GetPitch(3), 15.0f);
    EXPECT_EQ(c.GetPitch(4), 20.0f);
    EXPECT_EQ(c.GetPitch(5), 25.0f);
    EXPECT_EQ(c.GetPitch(6), 30.0f);
    EXPECT_FALSE(c.SetControlsAverage(2, 3, 4));
    EXPECT_TRUE(log.Take().empty());
}

TEST(CurveEditing, SetControlsAverageRefusesPropertiesThatAreNotNumbers)
{
    struct Case
    {
        int32_t id;
        int32_t number;
    };
    for (const Case& k : {Case{25, kInvalidValue}, Case{16, kInvalidValue}, Case{26, 9}}) {
        C3DCurve c;
        T::Lay(c, Line(5));
        const std::vector<ControlRecord> before = Controls(c);
        try {
            c.SetControlsAverage(1, 5, k.id);
            ADD_FAILURE() << k.id;
        } catch (const RuvError& e) {
            EXPECT_EQ(e.number(), k.number) << k.id;
            if (k.number == kInvalidValue) {
                EXPECT_EQ(e.description(), QStringLiteral("Cannot be applied to this property."));
                EXPECT_EQ(e.source(), QStringLiteral("C3DCurve.SetControlsAverage"));
            }
        }
        EXPECT_EQ(Controls(c), before);
    }
}

TEST(CurveEditing, SetControlsValues)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, {10, 10}, 30);
    CurveEventLog log;
    c.AddListener(&log);
    // The stored values again: nothing changes, nothing is raised.
    EXPECT_TRUE(c.SetControlsValues(1, 1, {0.0f, 10.0f, 20.0f}));
    EXPECT_TRUE(log.Take().empty());
    // Moving a control recomputes its automatic tangents and its aim.
    T::Rec(c, 2).TargetX = 10;
    T::Rec(c, 2).TargetY = 50;
    EXPECT_TRUE(c.SetControlsValues(2, 2, {8.0f}));
    EXPECT_EQ(log.Take(), Events{"CurveChanged"});
    EXPECT_EQ(c.GetY(2), 8.0f);
    EXPECT_FLOAT_EQ(c.GetTan1Y(1), 8.0f * 1.1f / 4.0f);
    EXPECT_FLOAT_EQ(c.GetPitch(2), 0.0f);
    EXPECT_FLOAT_EQ(c.GetYaw(2), 90.0f);
    // The command travels as text.
    EXPECT_TRUE(c.SetControlsValues(25, 1, {TaggedValue(QStringLiteral("a")), TaggedValue(QStringLiteral("b"))}));
    EXPECT_EQ(log.Take(), Events{"CurveChanged"});
    EXPECT_EQ(c.GetCommand(2), QStringLiteral("b"));
}

TEST(CurveEditing, SetControlsValuesThatCannotAllBeWrittenWriteNone)
{
    C3DCurve c;
    T::Lay(c, Line(3));
    const std::vector<ControlRecord> before = Controls(c);
    EXPECT_THROW(c.SetControlsValues(4, C3DCurve::RECORD_COUNT - 2, {1.0f, 2.0f, 3.0f}), RuvError);
    EXPECT_THROW(c.SetControlsValues(4, -1, {1.0f, 2.0f}), RuvError);
    EXPECT_THROW(c.SetControlsValues(25, 1, {1.0f}), RuvError);
    // A 64-bit float after a good value: the good one is not written either.
    try {
        c.SetControlsValues(4, 1, {TaggedValue(1.0f), TaggedValue(2.0)});
        ADD_FAILURE();
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), kInvalidValue);
        EXPECT_EQ(e.description(), QStringLiteral("Invalid property value type."));
        EXPECT_EQ(e.source(), QStringLiteral("C3DCurve.Value"));
    }
    EXPECT_EQ(Controls(c), before);
    for (int i = 250; i <= 252; ++i)
        EXPECT_EQ(T::Rec(c, i).Pitch, 0.0f);
}

TEST(CurveEditing, RoundControlsPositionKeepsTwoDecimals)
{
    C3DCurve c;
    T::Lay(c, {{1.004f, -2.3456f, 7.0f}, {0.125f, 3.14159f, -0.001f}});
    CurveEventLog log;
    c.AddListener(&log);
    c.RoundControlsPosition();
    EXPECT_TRUE(log.Take().empty());
    EXPECT_FLOAT_EQ(c.GetX(1), 1.0f);
    EXPECT_FLOAT_EQ(c.GetY(1), -2.35f);
    EXPECT_FLOAT_EQ(c.GetX(2), 0.12f);  // half to even
    EXPECT_FLOAT_EQ(c.GetY(2), 3.14f);
    EXPECT_FLOAT_EQ(c.GetZ(2), 0.0f);
}

// ---- Reversing -----------------------------------------------------------------

TEST(CurveEditing, InvertReversesTheFlight)
{
    C3DCurve c;
    LayWithSteps(c, {{0, 0, 0}, {10, 5, 0}, {30, 0, 2}}, {20, 10}, 10);
    T::Rec(c, 1).Tan1C = 3;
    const std::vector<ControlRecord> before = Controls(c);
    CurveEventLog log;
    c.AddListener(&log);
    c.Invert();
    EXPECT_EQ(Count(log.Take(), "CurveChanged"), 1u);
    EXPECT_EQ(c.GetX(1), 30.0f);
    EXPECT_EQ(c.GetX(3), 0.0f);
    EXPECT_DOUBLE_EQ(T::Rec(c, 1).Time, 0.0);
    EXPECT_DOUBLE_EQ(T::Rec(c, 2).Time, 1.0);
    EXPECT_DOUBLE_EQ(T::Rec(c, 3).Time, 3.0);
    // The old first segment, backwards: leaving tangent the negated old
    // arriving one, with the hand-edit marks following their tangents.
    EXPECT_EQ(c.GetTan1X(2), -before[1].Tan2X);
    EXPECT_EQ(c.GetTan2X(2), -before[1].Tan1X);
    EXPECT_EQ(c.GetTan2C(2), 3.0f);
    // Sampled backwards, the path runs through the same points.
    std::vector<ControlRecord> back;
    c.GetSampledControls(back, true);
    c.Invert();
    std::vector<ControlRecord> forth;
    c.GetSampledControls(forth, true);
    ASSERT_EQ(back.size(), forth.size());
    for (size_t f = 0; f < back.size(); ++f)
        EXPECT_NEAR(back[f].X, forth[forth.size() - 1 - f].X, 1e-3) << f;
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(c.GetX(i), before[static_cast<size_t>(i)].X);
        EXPECT_DOUBLE_EQ(T::Rec(c, i).Time, before[static_cast<size_t>(i)].Time);
    }
    // Twice reversed, every segment has its own tangents back.
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(c.GetTan1X(i), before[static_cast<size_t>(i)].Tan1X) << i;
        EXPECT_EQ(c.GetTan2X(i), before[static_cast<size_t>(i)].Tan2X) << i;
        EXPECT_EQ(c.GetTan1C(i), before[static_cast<size_t>(i)].Tan1C) << i;
    }
}

TEST(CurveEditing, InvertOfASingleControlDoesNothing)
{
    C3DCurve c;
    T::Lay(c, Line(1));
    T::Rec(c, 1).Time = 4.0;
    CurveEventLog log;
    c.AddListener(&log);
    c.Invert();
    EXPECT_TRUE(log.Take().empty());
    EXPECT_EQ(T::Rec(c, 1).Time, 4.0);
}

// ---- The live frame count ------------------------------------------------------------

TEST(CurveEditing, StepCountIsTheSampledFrameCountAfterEveryEdit)
{
    C3DCurve c;
    c.AddControl3(0, 0, 0, 0, 0, 0, false);
    c.AddControl3(10, 0, 0, 0, 0, 0, false);
    c.SetStepRate(25);
    const std::vector<std::function<void()>> edits = {
        [&] { c.AddControl3(30, 5, 0, 0, 0, 0, false); },
        [&] { c.AddControl3(60, 5, 0, 0, 0, 0, false); },
        [&] { c.InsertControl(2); },
        [&] { c.DuplicateControl(1); },
        [&] { c.DeleteControl(3); },
        [&] { c.SetControlsValues(21, 3, {7.5f}); },
        [&] { c.SetControlsValues(8, 2, {0.5f}); },
        [&] { c.SetControlsAverage(1, 4, 21); },
        [&] { c.Invert(); },
        [&] { c.CalculateAutoRoll(20); },
    };
    for (size_t k = 0; k < edits.size(); ++k) {
        edits[k]();
        EXPECT_EQ(c.StepCount(), SampledCount(c)) << "edit " << k;
    }
}
