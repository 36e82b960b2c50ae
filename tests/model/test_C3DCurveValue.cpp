// The numbered control properties as tagged values, with the setters' rules.
#include "test_C3DCurveSupport.h"

#include "RuvError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using T = C3DCurveTestAccess;
using Id = ControlPropertyId;

namespace {

constexpr int32_t kInvalidType = static_cast<int32_t>(0x80040001u);

// The error a call raised, or 0.
template <class F>
int32_t ErrorOf(F&& f, QString* description = nullptr, QString* source = nullptr)
{
    try {
        f();
    } catch (const RuvError& e) {
        if (description)
            *description = e.description();
        if (source)
            *source = e.source();
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(CurveValue, NumbersMustArriveAsSingleFloats)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}});
    QString description;
    QString source;
    EXPECT_EQ(ErrorOf([&] { c.SetValue(1, 1, TaggedValue(1.5)); }, &description, &source),
              kInvalidType);
    EXPECT_EQ(description, QStringLiteral("Invalid property value type."));
    EXPECT_EQ(source, QStringLiteral("C3DCurve.Value"));
    const TaggedValue wrong[] = {TaggedValue(int32_t{2}), TaggedValue(int16_t{2}), TaggedValue(true),
                                 TaggedValue(QStringLiteral("2")), TaggedValue()};
    for (const TaggedValue& v : wrong)
        EXPECT_EQ(ErrorOf([&] { c.SetValue(1, Id::Yaw, v); }), kInvalidType) << v.type();
    EXPECT_EQ(ErrorOf([&] { c.SetValue(1, Id::Command, TaggedValue(1.0f)); }), kInvalidType);
    EXPECT_EQ(c.GetX(1), 0.0f);
    EXPECT_EQ(c.GetYaw(1), 0.0f);

    c.SetValue(1, 1, TaggedValue(1.5f));
    EXPECT_EQ(c.GetX(1), 1.5f);
    EXPECT_EQ(c.value(1, 1), TaggedValue(1.5f));
    c.SetValue(1, Id::Command, TaggedValue(QStringLiteral("exec a.cfg")));
    EXPECT_EQ(c.value(1, 25), TaggedValue(QStringLiteral("exec a.cfg")));
}

TEST(CurveValue, GapAndUnknownIds)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}});
    const ControlRecord before = T::Rec(c, 1);
    c.SetValue(1, 16, TaggedValue(QStringLiteral("x")));
    c.SetValue(1, 16, TaggedValue(3.0));
    c.SetValue(1, 0, TaggedValue(3.0f));
    EXPECT_EQ(T::Rec(c, 1), before);
    for (int32_t id : {0, 16, 26, -4})
        EXPECT_TRUE(c.value(1, id).IsEmpty()) << id;
    for (int32_t id : {26, -1})
        EXPECT_EQ(ErrorOf([&] { c.SetValue(1, id, TaggedValue(1.0f)); }), RuvError::IndexOutOfRange);
    EXPECT_EQ(ErrorOf([&] { c.SetValue(253, 1, TaggedValue(1.0f)); }), RuvError::IndexOutOfRange);
    EXPECT_EQ(ErrorOf([&] { c.value(-1, 1); }), RuvError::IndexOutOfRange);
}

TEST(CurveValue, NonFiniteNumbersAreRefusedBeforeAnythingIsStored)
{
    C3DCurve c;
    T::Lay(c, {{1, 2, 3}});
    const ControlRecord before = T::Rec(c, 1);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (int32_t id = 1; id <= 24; ++id) {
        if (id == 16)
            continue;
        for (float v : bad)
            EXPECT_EQ(ErrorOf([&] { c.SetValue(1, id, TaggedValue(v)); }), RuvError::InvalidArgument)
                << id;
    }
    EXPECT_EQ(T::Rec(c, 1), before);
}

// Each row: property, value given, value read back through value().
TEST(CurveValue, SetterRules)
{
    struct Case
    {
        Id id;
        float given;
        float read;
    };
    const Case cases[] = {
        {Id::Hide, -1.0f, 0.0f},
        {Id::Hide, 0.5f, 1.0f},
        {Id::Hide, 7.0f, 1.0f},
        {Id::Tan1C, 9.6f, 7.0f},
        {Id::Tan1C, 2.5f, 2.0f},
        {Id::Tan1C, 3.5f, 4.0f},
        {Id::Tan1C, -3.0f, 0.0f},
        {Id::Tan2C, 6.4f, 6.0f},
        {Id::Tan2C, 100.0f, 7.0f},
        {Id::Fov, 200.0f, 179.99f},
        {Id::Fov, 0.0f, 0.1f},
        {Id::Fov, -5.0f, 0.1f},
        {Id::Fov, 75.5f, 75.5f},
        {Id::Timescale, 0.33f, 0.35f},  // game type 0 snaps to its steps
        {Id::Timescale, 0.001f, 0.025f},
        {Id::Timescale, 0.17f, 0.176f},
        {Id::WglAmp, -2.0f, 0.0f},
        {Id::WglAmp, 2.0f, 2.0f},
        {Id::Tan1X, -123.25f, -123.25f},
        {Id::Pitch, 720.0f, 720.0f},  // no range on angles
        {Id::TargetY, 0.1f, 0.1f},
        {Id::Time, 1.0000001f, 1.0000001f},
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        T::Lay(c, {{0, 0, 0}});
        c.SetValue(1, cs.id, TaggedValue(cs.given));
        EXPECT_EQ(c.value(1, cs.id), TaggedValue(cs.read))
            << static_cast<int>(cs.id) << " given " << cs.given;
    }
}

TEST(CurveValue, TimescaleRuleFollowsTheGameTypeAtTheTimeOfTheCall)
{
    struct Case
    {
        int32_t game;
        float given;
        float stored;
    };
    const Case cases[] = {
        {0, 0.33f, 0.35f}, {2, 0.33f, 0.33f}, {0, 0.001f, 0.025f},
        {1, 0.001f, 0.01f}, {4, 0.005f, 0.01f}, {3, 0.17f, 0.17f},
    };
    for (const Case& cs : cases) {
        C3DCurve c;
        T::Lay(c, {{0, 0, 0}});
        c.SetGameType(cs.game);
        c.SetTimescale(1, cs.given);
        EXPECT_EQ(c.GetTimescale(1), cs.stored) << cs.game << " " << cs.given;
    }
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}});
    c.SetGameType(2);
    c.SetTimescale(1, 0.33f);
    c.SetGameType(0);  // changing the game type leaves stored values alone
    EXPECT_EQ(c.GetTimescale(1), 0.33f);
}

TEST(CurveValue, WiggleAmplitudeAndPeriodDependOnEachOther)
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}});
    c.SetValue(1, Id::WglAmp, TaggedValue(2.0f));
    EXPECT_EQ(c.GetWglAmp(1), 2.0f);
    EXPECT_EQ(c.GetWglFreq(1), 1.0f);
    c.SetValue(1, Id::WglFreq, TaggedValue(0.0f));  // a wiggle needs a period
    EXPECT_EQ(c.GetWglFreq(1), 1.0f);
    c.SetValue(1, Id::WglAmp, TaggedValue(0.0f));
    EXPECT_EQ(c.GetWglFreq(1), 1.0f);
    c.SetValue(1, Id::WglFreq, TaggedValue(-4.0f));
    EXPECT_EQ(c.GetWglFreq(1), 0.0f);
}

TEST(CurveValue, WigglePeriodIsCappedByItsSegmentAndRoundedHalfToEven)
{
    struct Case
    {
        float given;
        float stored;
    };
    // A segment of 1 s at 10 frames a second: 10 frames.
    for (const Case& cs : {Case{25.0f, 10.0f}, Case{7.5f, 8.0f}, Case{6.5f, 6.0f}, Case{10.0f, 10.0f}}) {
        C3DCurve c;
        T::Lay(c, {{0, 0, 0}, {1, 0, 0}});
        T::SetRawStepRate(c, 10);
        c.SetValue(1, Id::WglFreq, TaggedValue(cs.given));
        EXPECT_EQ(c.GetWglFreq(1), cs.stored) << cs.given;
    }
    // Past the last control there is no segment to cap it.
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {1, 0, 0}});
    T::SetRawStepRate(c, 10);
    c.SetValue(2, Id::WglFreq, TaggedValue(25.0f));
    EXPECT_EQ(c.GetWglFreq(2), 25.0f);
    EXPECT_EQ(ErrorOf([&] { c.SetValue(2, Id::WglFreq, TaggedValue(1e30f)); }), RuvError::Overflow);
    EXPECT_EQ(c.GetWglFreq(2), 25.0f);
}

TEST(CurveValue, TargetAtTheOriginThroughTheSetterRemovesIt)
{
    C3DCurve c;
    T::Lay(c, {{5, 5, 5}});
    c.SetValue(1, Id::TargetX, TaggedValue(10.0f));
    EXPECT_TRUE(c.IsTargetDefined(1));
    c.SetValue(1, Id::TargetX, TaggedValue(0.0f));
    EXPECT_FALSE(c.IsTargetDefined(1));
    T::Rec(c, 1).Yaw = 33.0f;
    c.UpdateControlAngles(1);
    EXPECT_EQ(c.GetYaw(1), 33.0f);
}

TEST(CurveValue, LastTimeSetInsideABracketUpdatesTheDurationAtItsEnd)
{
    C3DCurve c;
    CurveEventLog log;
    T::Lay(c, {{0, 0, 0}, {1, 0, 0}});
    T::AfterCountChange(c, false);
    c.AddListener(&log);
    c.BeginChange();
    c.SetValue(2, Id::Time, TaggedValue(5.0f));
    EXPECT_EQ(c.Duration(), 1.0);
    c.EndChange();
    EXPECT_EQ(c.Duration(), 5.0);
    // The duration moves as the bracket closes, so it is reported first.
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"Duration", "CurveChanged"}));
}

TEST(CurveValue, EndNeighbourRecordsAreReachable)
{
    C3DCurve c;
    T::Lay(c, {{3, 4, 5}, {6, 7, 8}});
    T::Rec(c, 0) = ControlRecord{};
    c.TangentSet(1, 1, 7, true);
    EXPECT_EQ(c.GetControlRecord(0).X, 3.0f);
    EXPECT_EQ(c.GetControlRecord(0).Z, 5.0f);
    EXPECT_EQ(ErrorOf([&] { c.GetControlRecord(253); }), RuvError::IndexOutOfRange);
}
