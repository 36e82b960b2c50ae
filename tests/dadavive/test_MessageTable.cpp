#include "CSubclass.h"
#include "MessageTable.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Dadavive;

namespace {

using Slots = std::vector<int32_t>;

struct Step
{
    bool add;
    int32_t message;
};

struct TableCase
{
    const char* name;
    std::vector<Step> steps;
    int32_t count;
    Slots expected;
};

TEST(MessageTable, FollowsTheAddAndRemoveRules)
{
    const TableCase cases[] = {
        {"a message added twice stands once", {{true, 15}, {true, 15}}, 1, {15}},
        {"removal leaves a hole", {{true, 513}, {true, 519}, {false, 513}}, 2, {-1, 519}},
        {"the next message fills the hole", {{true, 513}, {true, 519}, {false, 513}, {true, 15}}, 2, {15, 519}},
        {"a hole met first takes a message stored further on",
         {{true, 1}, {true, 2}, {false, 1}, {true, 2}},
         2,
         {2, 2}},
        {"every message", {{true, 15}, {true, -1}}, -1, {}},
        {"one message narrows every message", {{true, -1}, {true, 522}}, 1, {522}},
        {"removing every message empties the side", {{true, 513}, {true, 516}, {false, -1}}, 0, {}},
        {"emptied slots do not come back", {{true, 513}, {true, 516}, {false, -1}, {true, 15}}, 1, {15}},
        {"removal from an empty table", {{false, 15}}, 0, {}},
        {"removal from every message", {{true, -1}, {false, 15}}, -1, {}},
        {"removal of an absent message", {{true, 3}, {false, 15}}, 1, {3}},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageTable t;
        for (const Step& s : c.steps) {
            if (s.add)
                t.Add(s.message);
            else
                t.Remove(s.message);
        }
        EXPECT_EQ(t.Count(), c.count);
        EXPECT_EQ(t.Slots(), c.expected);
    }
}

TEST(MessageTable, QualifiesMessages)
{
    MessageTable t;
    EXPECT_FALSE(t.Qualifies(15));
    t.Add(15);
    t.Add(3);
    EXPECT_TRUE(t.Qualifies(15));
    EXPECT_TRUE(t.Qualifies(3));
    EXPECT_FALSE(t.Qualifies(5));
    t.Remove(15);
    EXPECT_FALSE(t.Qualifies(15));
    EXPECT_FALSE(t.Qualifies(-1));  // a hole is no message
    t.Add(-1);
    EXPECT_TRUE(t.Qualifies(12345));
}

TEST(CSubclasserTables, SidesAreChosenByTheWhenArgument)
{
    CSubclasser s;
    s.AddMsg(15, MSG_BEFORE);
    s.AddMsg(15, MSG_BEFORE);
    s.AddMsg(522, 0);
    s.AddMsg(273, 7);  // any value other than 1 is the after side
    EXPECT_EQ(s.Table(MSG_BEFORE).Slots(), Slots({15}));
    EXPECT_EQ(s.Table(MSG_AFTER).Slots(), Slots({522, 273}));
    s.DelMsg(-1, 0);
    EXPECT_EQ(s.Table(MSG_AFTER).Count(), 0);
    EXPECT_EQ(s.Table(MSG_BEFORE).Count(), 1);
    // Nothing is watched: delivering is harmless and gives 0.
    EXPECT_EQ(s.Deliver(WM_HOTKEY, 1, 2), 0);
    EXPECT_FALSE(s.Subclass(nullptr, {}));
}

}  // namespace
