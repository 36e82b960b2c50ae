// Change events, brackets, timing and selection of a curve.
#include "test_C3DCurveSupport.h"

#include "RuvError.h"

#include <gtest/gtest.h>

using T = C3DCurveTestAccess;
using Events = std::vector<std::string>;

namespace {

class CurveEvents : public ::testing::Test
{
protected:
    C3DCurve curve;
    CurveEventLog log;

    void SetUp() override { curve.AddListener(&log); }

    // Three controls at 0, 1, 4 s, 30 frames a second, already on the grid.
    void LayThree()
    {
        T::Lay(curve, {{0, 0, 0}, {10, 0, 0}, {30, 0, 0}});
        T::Rec(curve, 3).Time = 4.0;
        T::SetRawStepRate(curve, 30);
        T::AfterCountChange(curve, false);
        log.Take();
    }
};

}  // namespace

TEST_F(CurveEvents, ClearRaisesTheCountEventOnlyOutsideACountBracket)
{
    curve.Clear();
    EXPECT_EQ(log.Take(), (Events{"ControlsCount"}));
    curve.BeginControlsCountChange();
    curve.Clear();
    EXPECT_TRUE(log.Take().empty());
    curve.EndControlsCountChange();
    EXPECT_EQ(log.Take(), (Events{"ControlsCount"}));
    curve.EndControlsCountChange();  // already closed: nothing
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(CurveEvents, CountBracketHoldsBackDurationAndCountUntilItCloses)
{
    curve.BeginControlsCountChange();
    EXPECT_TRUE(curve.ControlsCountChanging());
    for (int i = 1; i <= 3; ++i) {
        T::Lay(curve, std::vector<T::Point>(static_cast<size_t>(i), {0, 0, 0}));
        T::Rec(curve, i).Time = i;  // the last time changes with each control
        T::AfterCountChange(curve, true);
    }
    EXPECT_TRUE(log.Take().empty());
    curve.EndControlsCountChange();
    EXPECT_EQ(log.Take(), (Events{"Duration", "ControlsCount"}));
    EXPECT_EQ(curve.Duration(), 3.0);
}

TEST_F(CurveEvents, CountEventIsRaisedEvenInsideAChangeBracket)
{
    curve.BeginChange();
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}});
    T::Rec(curve, 2).Time = 2.0;
    T::AfterCountChange(curve, true);
    // The duration moved inside the change bracket: it is reported only by
    // the CurveChanged that closes it.
    EXPECT_EQ(log.Take(), (Events{"ControlsCount"}));
    curve.EndChange();
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
}

TEST_F(CurveEvents, NestedChangeBracketsRaiseOneCurveChangedAtTheOutermostEnd)
{
    LayThree();
    curve.BeginChange();
    curve.BeginChange();
    curve.SetDuration(8.0);
    curve.EndChange();
    EXPECT_TRUE(curve.CurveChanging());
    EXPECT_TRUE(log.Take().empty());
    curve.EndChange();
    EXPECT_FALSE(curve.CurveChanging());
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
}

TEST_F(CurveEvents, UnmatchedEndChangeRaisesAtOnceAndDoesNotSwallowTheNextBracket)
{
    LayThree();
    curve.EndChange();
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    curve.EndChange();
    log.Take();
    curve.BeginChange();
    curve.EndChange();
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
}

TEST_F(CurveEvents, StepRateSetterClampsAndRaisesOnlyOnChange)
{
    struct Case
    {
        int32_t given;
        int32_t stored;
    };
    for (const Case& c : {Case{0, 1}, Case{-5, 1}, Case{1, 1}, Case{25, 25}}) {
        C3DCurve fresh;
        fresh.SetStepRate(c.given);
        EXPECT_EQ(fresh.StepRate(), c.stored) << c.given;
    }
    curve.SetStepRate(25);
    EXPECT_EQ(log.Take(), (Events{"StepRate"}));
    curve.SetStepRate(25);
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(CurveEvents, StepRateAboveTheMaximumStoresTheMaximum)
{
    LayThree();
    const int32_t maxRate = curve.MaxStepRate();
    EXPECT_GT(maxRate, 30);
    curve.SetStepRate(maxRate + 1000);
    EXPECT_EQ(curve.StepRate(), maxRate);
}

TEST_F(CurveEvents, FirstRateChangeOnTwoControlsReportsTwoAsThePreviousCount)
{
    T::Lay(curve, {{0, 0, 0}, {10, 0, 0}});
    curve.SetStepRate(10);
    EXPECT_EQ(log.Take(), (Events{"StepRate", "StepCount(2)"}));
    EXPECT_EQ(curve.StepCount(), 11);
    curve.SetStepRate(20);
    EXPECT_EQ(log.Take(), (Events{"StepRate", "StepCount(11)"}));
    EXPECT_EQ(curve.StepCount(), 21);
}

TEST_F(CurveEvents, OneControlKeepsStepCountZeroAndRaisesNoCountEvent)
{
    T::Lay(curve, {{0, 0, 0}});
    EXPECT_EQ(curve.MaxStepRate(), 200000);
    curve.SetStepRate(30);
    EXPECT_EQ(log.Take(), (Events{"StepRate"}));
    EXPECT_EQ(curve.StepCount(), 0);
    EXPECT_DOUBLE_EQ(curve.MinDuration(), 0.001);
    curve.SetDuration(50.0);  // only refreshes the cached duration
    EXPECT_EQ(curve.Duration(), 0.0);
}

TEST_F(CurveEvents, MaxStepRateWithoutARateSpreadsTheFrameBudget)
{
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    EXPECT_EQ(curve.MaxStepRate(), 100000);
}

TEST_F(CurveEvents, MaxStepRateGivesAboutTheFrameBudget)
{
    LayThree();  // segments of 30 and 90 frames, N = 121
    // Target: 200000 / 120 * 90 = 150000 frames in the 3-second segment.
    EXPECT_EQ(curve.MaxStepRate(), 50000);
}

TEST_F(CurveEvents, MaxStepRateOnControlsAtOneTimeDoesNotDivideByZero)
{
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}});
    T::Rec(curve, 2).Time = 0.0;
    T::SetRawStepRate(curve, 30);
    EXPECT_EQ(curve.MaxStepRate(), 200000);
}

TEST_F(CurveEvents, MaxDurationFollowsTheRate)
{
    struct Case
    {
        int32_t rate;
        double max;
    };
    for (const Case& c : {Case{5, 36000.0}, Case{25, 8000.0}, Case{0, 36000.0}}) {
        T::SetRawStepRate(curve, c.rate);
        EXPECT_EQ(curve.MaxDuration(), c.max) << c.rate;
    }
}

TEST_F(CurveEvents, DurationSetterScalesTheTimesOntoTheFrameGrid)
{
    LayThree();
    curve.SetDuration(10.0);
    EXPECT_DOUBLE_EQ(T::Rec(curve, 1).Time, 0.0);
    EXPECT_DOUBLE_EQ(T::Rec(curve, 2).Time, 2.5);
    EXPECT_DOUBLE_EQ(T::Rec(curve, 3).Time, 10.0);
    EXPECT_EQ(curve.Duration(), 10.0);
    EXPECT_EQ(log.Take(), (Events{"Duration"}));
    EXPECT_EQ(curve.StepCount(), 301);
}

TEST_F(CurveEvents, DurationSetterIsClampedToItsRange)
{
    LayThree();
    curve.SetDuration(1e9);
    EXPECT_NEAR(curve.Duration(), 200000.0 / 30.0, 1e-6);
    curve.SetDuration(0.0);
    // The minimum of 0.003 s leaves each segment less than two frames, so
    // each is stretched back to two frames.
    EXPECT_NEAR(curve.Duration(), 4.0 / 30.0, 1e-12);
}

TEST_F(CurveEvents, DurationInsideAChangeBracketIsReportedByTheClosingCurveChanged)
{
    LayThree();
    curve.BeginChange();
    curve.SetDuration(8.0);
    EXPECT_TRUE(log.Take().empty());
    curve.EndChange();
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
    EXPECT_EQ(curve.Duration(), 8.0);
}

TEST_F(CurveEvents, DurationSetterOnALastTimeOfZeroFailsWithoutChangingAnything)
{
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}});
    T::Rec(curve, 2).Time = 0.0;
    try {
        curve.SetDuration(5.0);
        FAIL() << "no error";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), 11);
    }
    EXPECT_EQ(T::Rec(curve, 2).Time, 0.0);
}

TEST_F(CurveEvents, RateChangeSnapsTimesBeforeCountingFrames)
{
    // Controls at 5, 5.01 and 9 s: the first moves to 0, the second to two
    // frames after it, and every segment lasts whole frames.
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    T::Rec(curve, 1).Time = 5.0;
    T::Rec(curve, 2).Time = 5.01;
    T::Rec(curve, 3).Time = 9.0;
    curve.SetStepRate(30);
    EXPECT_EQ(T::Rec(curve, 1).Time, 0.0);
    EXPECT_NEAR(T::Rec(curve, 2).Time, 2.0 / 30.0, 1e-12);
    EXPECT_NEAR(T::Rec(curve, 3).Time, 2.0 / 30.0 + 118.0 / 30.0, 1e-12);
    EXPECT_EQ(log.Take(), (Events{"StepRate", "Duration", "StepCount(2)"}));
    EXPECT_EQ(curve.StepCount(), 121);
}

TEST_F(CurveEvents, SnappingTwiceFindsEverythingInPlace)
{
    T::Lay(curve, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    T::Rec(curve, 2).Time = 0.1;
    T::Rec(curve, 3).Time = 0.2;
    T::Rec(curve, 4).Time = 0.3;
    T::SetRawStepRate(curve, 30);
    T::SnapControlTimes(curve);
    EXPECT_TRUE(T::SnapControlTimes(curve));
}

TEST_F(CurveEvents, CurveChangedRefreshesTheFrameCountItself)
{
    LayThree();
    curve.SetStepRate(30);
    EXPECT_EQ(curve.StepCount(), 121);
    T::Rec(curve, 3).Time = 2.0;
    T::RaiseCurveChanged(curve);
    EXPECT_EQ(curve.StepCount(), 61);
}

TEST_F(CurveEvents, QuickRefreshStopRaisesOnlyWhenTheModeWasOn)
{
    curve.QuickRefreshStop();
    EXPECT_TRUE(log.Take().empty());
    curve.QuickRefreshStart(true);
    EXPECT_TRUE(curve.IsQuickRefreshing());
    EXPECT_TRUE(curve.ReloadCurveWhenDrawing());
    curve.QuickRefreshStart(false);  // while on: only the reload flag
    EXPECT_FALSE(curve.ReloadCurveWhenDrawing());
    curve.QuickRefreshStop();
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped"}));
    EXPECT_FALSE(curve.IsQuickRefreshing());
}

TEST_F(CurveEvents, RemovedListenerHearsNothingAndCopiesHaveNoListeners)
{
    C3DCurve copy = curve;
    copy.Clear();
    EXPECT_TRUE(log.Take().empty());
    C3DCurve assigned;
    CurveEventLog other;
    assigned.AddListener(&other);
    assigned = curve;  // keeps its own listener
    assigned.Clear();
    EXPECT_TRUE(log.Take().empty());
    EXPECT_EQ(other.Take(), (Events{"ControlsCount"}));
    curve.RemoveListener(&log);
    curve.Clear();
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(CurveEvents, ListenerMayDetachItselfWhileAnEventIsDelivered)
{
    struct SelfRemoving : I3DCurveEvents
    {
        int calls = 0;
        void ControlsCountChanged(C3DCurve& c) override
        {
            ++calls;
            c.RemoveListener(this);
        }
    } once;
    curve.AddListener(&once);
    curve.Clear();
    curve.Clear();
    EXPECT_EQ(once.calls, 1);
    EXPECT_EQ(log.Take(), (Events{"ControlsCount", "ControlsCount"}));
}

// ---- Selection -------------------------------------------------------------

TEST(CurveSelection, SelectionOperationsFollowHideFlags)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    std::vector<int32_t> numbers{7, 7};
    EXPECT_FALSE(c.GetSelectedNumbers(numbers));
    EXPECT_TRUE(numbers.empty());

    T::Rec(c, 2).Hide = 1;
    c.SelectAllControls();
    EXPECT_EQ(c.SelectedCount(), 4);
    c.UnselectHiddenControls();
    EXPECT_TRUE(c.GetSelectedNumbers(numbers));
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 3, 4}));

    c.UnselectAllControls();
    EXPECT_EQ(c.SelectedCount(), 0);
    c.SelectVisibleControls();
    EXPECT_EQ(c.SelectedCount(), 3);
    EXPECT_FALSE(c.IsSelected(2));

    c.ToggleSelection(2);
    c.ToggleSelection(3);
    EXPECT_TRUE(c.GetSelectedNumbers(numbers));
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 2, 4}));
}
