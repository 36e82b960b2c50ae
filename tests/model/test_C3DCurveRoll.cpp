// Automatic roll: banking into the turns of the path.
#include "test_C3DCurveFlightSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace flight;
using Events = std::vector<std::string>;

namespace {

struct Control
{
    float x, y, yaw;
};

std::vector<float> Rolls(const std::vector<Control>& controls, double maximum, float z = 0.0f)
{
    C3DCurve c;
    std::vector<T::Point> p;
    for (const Control& k : controls)
        p.push_back({k.x, k.y, z});
    T::Lay(c, p);
    for (size_t i = 0; i < controls.size(); ++i) {
        T::Rec(c, static_cast<int32_t>(i) + 1).Yaw = controls[i].yaw;
        T::Rec(c, static_cast<int32_t>(i) + 1).Roll = 7.0f;  // overwritten, ends included
    }
    c.CalculateAutoRoll(maximum);
    std::vector<float> out;
    for (int i = 1; i <= c.ControlsCount(); ++i)
        out.push_back(c.GetRoll(i));
    return out;
}

const float kAlongChord = static_cast<float>(std::atan(0.2) * 180.0 / 3.14159265358979);

}  // namespace

TEST(CurveAutoRoll, Cases)
{
    struct Case
    {
        const char* name;
        std::vector<Control> controls;
        double maximum;
        std::vector<float> want;
    };
    const std::vector<Case> cases = {
        {"one control", {{0, 0, 0}}, 30, {0}},
        {"two controls", {{0, 0, 0}, {5, 5, 0}}, 30, {0, 0}},
        {"a straight line", {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}}, 30, {0, 0, 0, 0}},
        {"left of the chord", {{0, 0, 0}, {5, 5, kAlongChord}, {10, 2, 0}}, 30, {0, 30, 0}},
        {"looking back", {{0, 0, 0}, {5, 5, kAlongChord + 180}, {10, 2, 0}}, 30, {0, -30, 0}},
        {"mirrored", {{0, 0, 0}, {5, 5, kAlongChord}, {10, 2, 0}}, -30, {0, -30, 0}},
        {"right of the chord", {{0, 0, 0}, {5, -5, kAlongChord}, {10, 2, 0}}, 30, {0, -30, 0}},
        // Neighbours at the same height on the map (equal Y) or the same X:
        // the bend still counts.
        {"neighbours of equal Y", {{0, 0, 0}, {5, 5, 0}, {10, 0, 0}}, 30, {0, 30, 0}},
        {"neighbours of equal X", {{0, 0, 0}, {5, 5, 90}, {0, 10, 0}}, 30, {0, -30, 0}},
        {"on the previous control", {{0, 0, 0}, {0, 0, 0}, {10, 5, 0}, {20, 0, 0}}, 30, {0, 0, 30, 0}},
        {"a small bend alone is full", {{0, 0, 0}, {50, 0.01f, 0}, {100, 0, 0}}, 25, {0, 25, 0}},
    };
    for (const Case& k : cases) {
        const std::vector<float> got = Rolls(k.controls, k.maximum);
        ASSERT_EQ(got.size(), k.want.size()) << k.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], k.want[i], 1e-3) << k.name << " control " << i + 1;
    }
}

TEST(CurveAutoRoll, TheStrongestBendGetsTheMaximumAndTheOthersScale)
{
    // Two bends to the left, the second twice as far from its chord.
    const std::vector<float> got =
        Rolls({{0, 0, 0}, {10, 1, 0}, {20, 0, 0}, {30, 2, 0}, {40, 0, 0}}, 40);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_NEAR(got[3], 40.0f, 1e-3);
    EXPECT_NEAR(got[1] / got[3], 0.5f, 1e-3);
    EXPECT_LT(got[2], 0.0f);  // the valley between bends the other way
}

TEST(CurveAutoRoll, HeightsPlayNoPart)
{
    const std::vector<Control> path = {{0, 0, 10}, {5, 5, 20}, {10, 2, 30}, {20, 8, 40}};
    EXPECT_EQ(Rolls(path, 30), Rolls(path, 30, 500.0f));
}

TEST(CurveAutoRoll, RaisesCurveChanged)
{
    C3DCurve c;
    T::Lay(c, Line(2));
    CurveEventLog log;
    c.AddListener(&log);
    c.CalculateAutoRoll(30);
    EXPECT_EQ(log.Take(), Events{"CurveChanged"});
}
