// The spine of a curve: property table, naming, plain accessors, copies.
#include "test_C3DCurveSupport.h"

#include "RuvError.h"

#include <gtest/gtest.h>

using T = C3DCurveTestAccess;
using Events = std::vector<std::string>;

namespace {

// A control with every field set away from its default; k varies it.
ControlRecord Unusual(int k)
{
    ControlRecord r;
    r.X = 1.25f * k;
    r.Y = -3.5f - k;
    r.Z = 1000.0f / (k + 1);
    r.Tan1X = 0.1f * k;
    r.Tan1Y = -0.2f;
    r.Tan1Z = 0.3f;
    r.Tan1C = k % 8;
    r.Tan2X = 0.4f;
    r.Tan2Y = -0.5f * k;
    r.Tan2Z = 0.6f;
    r.Tan2C = (k + 3) % 8;
    r.Pitch = 12.345f - k;
    r.Yaw = 370.5f + k;
    r.Roll = -7.25f;
    r.TargetX = 0.1 * k + 1;
    r.TargetY = 2.0000001;
    r.TargetZ = -3.0;
    r.Timescale = 0.33f;  // not one of game 0's steps
    r.Fov = 123.456f;
    r.Hide = static_cast<uint8_t>(k % 2);
    r.WglAmp = 2.5f;
    r.WglFreq = 7;
    r.IsSelected = k % 3 == 0;
    r.Time = 0.1 * (k - 1);
    r.Command = QStringLiteral("say \"%1\"; echo é").arg(k);
    return r;
}

void Fill(C3DCurve& c, int count)
{
    for (int i = 1; i <= count; ++i)
        T::Rec(c, i) = Unusual(i);
    T::Rec(c, 0) = T::Rec(c, 1);
    T::Rec(c, count + 1) = T::Rec(c, count);
    T::SetCount(c, count);
    T::AfterCountChange(c, false);
}

void ExpectSameCurve(C3DCurve& a, C3DCurve& b)
{
    ASSERT_EQ(a.ControlsCount(), b.ControlsCount());
    for (int i = 0; i < C3DCurve::RECORD_COUNT; ++i)
        ASSERT_EQ(a.GetControlRecord(i), b.GetControlRecord(i)) << "record " << i;
    EXPECT_EQ(a.Name(), b.Name());
    EXPECT_EQ(a.IsVisible(), b.IsVisible());
    EXPECT_EQ(a.IsEnabled(), b.IsEnabled());
    EXPECT_EQ(a.ShowArrow(), b.ShowArrow());
    EXPECT_EQ(a.ShowTimes(), b.ShowTimes());
    EXPECT_EQ(a.ShowTangent(), b.ShowTangent());
    EXPECT_EQ(a.StepRate(), b.StepRate());
    EXPECT_EQ(a.StepCount(), b.StepCount());
    EXPECT_EQ(a.StartTime(), b.StartTime());
    EXPECT_EQ(a.Duration(), b.Duration());
}

}  // namespace

TEST(Curve, NewCurveDefaults)
{
    C3DCurve c;
    EXPECT_EQ(c.Name(), QStringLiteral("NoName"));
    EXPECT_TRUE(c.IsVisible());
    EXPECT_TRUE(c.IsEnabled());
    EXPECT_TRUE(c.ShowArrow());
    EXPECT_FALSE(c.ShowTimes());
    EXPECT_TRUE(c.ShowTangent());
    EXPECT_EQ(c.GameType(), 0);
    EXPECT_EQ(c.ControlsCount(), 0);
    EXPECT_EQ(c.StepRate(), 0);
    EXPECT_EQ(c.StepCount(), 0);
    EXPECT_EQ(C3DCurve::MAX_CONTROL, 250);
    const ControlRecord fresh = NewControlRecord();
    EXPECT_EQ(fresh.Timescale, 1.0f);
    EXPECT_EQ(fresh.Fov, 90.0f);
    EXPECT_EQ(fresh.X, 0.0f);
    EXPECT_TRUE(fresh.Command.isEmpty());
}

TEST(Curve, PropertyTypeTable)
{
    const std::array<int32_t, 26> types = C3DCurve::GetPropertyTypes();
    for (int id = 0; id <= 25; ++id) {
        const int32_t expected = id == 0 || id == 16 ? 0 : id == 25 ? 8 : 4;
        EXPECT_EQ(types[static_cast<size_t>(id)], expected) << id;
        EXPECT_EQ(C3DCurve::GetPropertyType(id), expected) << id;
        EXPECT_EQ(C3DCurve::IsPropertyNumeric(id), expected == 4) << id;
        EXPECT_EQ(C3DCurve::IsPointAngleProperty(id), id >= 4 && id <= 6) << id;
    }
    for (int id : {-1, 26, 1000}) {
        try {
            C3DCurve::GetPropertyType(id);
            FAIL() << id;
        } catch (const RuvError& e) {
            EXPECT_EQ(e.number(), RuvError::IndexOutOfRange);
        }
    }
}

TEST(Curve, NamesAreTrimmedAndFiltered)
{
    struct Case
    {
        QString given;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("  my/path  "), QStringLiteral("my_path")},
        {QStringLiteral("   "), QStringLiteral("NoName")},
        {QString(), QStringLiteral("NoName")},
        {QStringLiteral("a"), QStringLiteral("a")},
        {QStringLiteral("left|right"), QStringLiteral("left|right")},
        {QStringLiteral("Cam-1.2_x y"), QStringLiteral("Cam-1.2_x y")},
        {QStringLiteral("#1"), QStringLiteral("_1")},
        {QStringLiteral("caméra"), QStringLiteral("cam_ra")},
        {QStringLiteral("a\tb"), QStringLiteral("a_b")},
        {QString::fromUtf8("x\xF0\x9F\x8E\xA5y"), QStringLiteral("x_y")},  // one character, one byte
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        c.SetName(cs.given);
        EXPECT_EQ(c.Name(), cs.stored) << cs.given.toStdString();
    }
}

TEST(Curve, AccessorsRefuseRecordsOutsideTheArray)
{
    C3DCurve c;
    EXPECT_NO_THROW(c.GetX(0));
    EXPECT_NO_THROW(c.GetX(252));
    for (int32_t index : {-1, 253, 100000}) {
        EXPECT_THROW(c.GetX(index), RuvError) << index;
        EXPECT_THROW(c.SetYaw(index, 1.0f), RuvError) << index;
        EXPECT_THROW(c.GetControlRecord(index), RuvError) << index;
        EXPECT_THROW(c.SetCommand(index, QStringLiteral("x")), RuvError) << index;
    }
    EXPECT_THROW(c.GetAxe(1, 3), RuvError);
    EXPECT_THROW(c.SetAxe(1, -1, 0.0f), RuvError);
    c.SetAxe(1, 2, 5.0f);
    EXPECT_EQ(c.GetZ(1), 5.0f);
    c.SetPosition(2, {1, 2, 3});
    EXPECT_EQ(c.GetPosition(2), (std::array<float, 3>{1, 2, 3}));
}

TEST(Curve, ClearEmptiesEveryRecordButKeepsNameFlagsGameTypeAndStart)
{
    C3DCurve c;
    Fill(c, 5);
    c.SetName(QStringLiteral("keep"));
    c.SetShowTimes(true);
    c.SetGameType(3);
    c.SetStartTime(12.5);
    c.SetStepRate(30);
    c.Clear();
    EXPECT_EQ(c.ControlsCount(), 0);
    EXPECT_EQ(c.StepRate(), 0);
    EXPECT_EQ(c.StepCount(), 0);
    EXPECT_EQ(c.Duration(), 0.0);
    for (int i = 0; i < C3DCurve::RECORD_COUNT; ++i)
        EXPECT_EQ(c.GetControlRecord(i), ControlRecord{}) << i;
    EXPECT_EQ(c.Name(), QStringLiteral("keep"));
    EXPECT_TRUE(c.ShowTimes());
    EXPECT_EQ(c.GameType(), 3);
    EXPECT_EQ(c.StartTime(), 12.5);
}

TEST(Curve, MinMaxBoundsWidenOverEveryControl)
{
    C3DCurve c;
    T::Lay(c, {{1, -2, 3}, {-4, 5, 0}, {2, 2, 9}});
    T::Rec(c, 2).Hide = 1;  // hidden controls count too
    CurveMinMaxBounds b{};
    b[0] = {0, 0};
    b[1] = {0, 0};
    b[2] = {5, 5};
    c.GetMinMaxBounds(b);
    EXPECT_EQ(b[0][0], -4.0f);
    EXPECT_EQ(b[0][1], 2.0f);
    EXPECT_EQ(b[1][0], -2.0f);
    EXPECT_EQ(b[1][1], 5.0f);
    EXPECT_EQ(b[2][0], 0.0f);
    EXPECT_EQ(b[2][1], 9.0f);
}

// Every undo state is a clone and is loaded back: a copy must be equal to its
// source value for value, whatever the game type (game 0 snaps timescales,
// the others do not).
TEST(Curve, CloneAndLoadKeepEveryValueForEveryGameType)
{
    for (int32_t game = 0; game <= 4; ++game) {
        C3DCurve source;
        source.SetGameType(game);
        Fill(source, C3DCurve::MAX_CONTROL);
        source.SetName(QStringLiteral("path|%1").arg(game));
        source.SetIsVisible(false);
        source.SetShowTimes(true);
        source.SetStartTime(123.456789);
        // A rate and frame count as the controller would have set them.
        T::SetRawStepRate(source, 25);
        T::AfterCountChange(source, false);

        C3DCurve clone = source.Clone();
        EXPECT_EQ(clone.GameType(), game);
        ExpectSameCurve(clone, source);

        C3DCurve target;  // game type 0, as a new curve in the controller
        CurveEventLog log;
        target.AddListener(&log);
        target.Load(source);
        EXPECT_EQ(target.GameType(), 0);
        ExpectSameCurve(target, source);
        EXPECT_EQ(target.GetTimescale(1), 0.33f);
        EXPECT_EQ(log.Take(), (Events{"StepRate", "CurveChanged", "Duration"}));
    }
}

TEST(Curve, LoadIntoACurveWithMoreControlsLeavesNoTrace)
{
    C3DCurve big;
    Fill(big, 40);
    C3DCurve small;
    Fill(small, 3);
    big.Load(small);
    ExpectSameCurve(big, small);
    big.Load(big);  // loading itself changes nothing
    ExpectSameCurve(big, small);
}

TEST(Curve, LoadInsideAnOpenBracketWaitsForTheBracket)
{
    C3DCurve source;
    Fill(source, 3);
    C3DCurve target;
    CurveEventLog log;
    target.AddListener(&log);
    target.BeginChange();
    target.Load(source);
    EXPECT_TRUE(log.Take().empty());
    target.EndChange();
    EXPECT_EQ(log.Take(), (Events{"CurveChanged"}));
}
