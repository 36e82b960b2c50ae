#include "CSubclass.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Dadavive;

namespace {

using Slots = std::vector<int32_t>;

Com::ComPtr<CSubclass> MakeSubclass()
{
    return Com::ComPtr<CSubclass>::Attach(new CSubclass);
}

TEST(CSubclassSwitches, AddTheirMessagesToTheirSide)
{
    auto sc = MakeSubclass();
    sc->SetMouseDown(true);
    sc->SetMouseDown(true);  // the value already held: nothing happens
    sc->SetResizing(true);
    sc->SetMove(true);
    sc->SetPaintBefore(true);
    sc->SetMenuChar(true);
    EXPECT_EQ(sc->Subclasser().Table(MSG_BEFORE).Slots(), Slots({513, 519, 516, 36, 3, 15, 288}));
    sc->SetMouseWheel(true);
    sc->SetPaint(true);
    sc->SetCommand(true);
    EXPECT_EQ(sc->Subclasser().Table(MSG_AFTER).Slots(), Slots({522, 15, 273}));
    EXPECT_TRUE(sc->MouseDown());
    sc->SetMouseDown(false);
    EXPECT_FALSE(sc->MouseDown());
    EXPECT_EQ(sc->Subclasser().Table(MSG_BEFORE).Slots(), Slots({-1, -1, -1, 36, 3, 15, 288}));
    sc->SetMouseDown(true);
    EXPECT_EQ(sc->Subclasser().Table(MSG_BEFORE).Slots(), Slots({513, 519, 516, 36, 3, 15, 288}));
}

TEST(CSubclassSwitches, EveryMessageStaysInForceBesideOneMessage)
{
    auto sc = MakeSubclass();
    sc->SetAllMessages(true);
    sc->SetMouseWheel(true);
    EXPECT_TRUE(sc->Subclasser().Table(MSG_AFTER).IsAll());
    EXPECT_TRUE(sc->Subclasser().Table(MSG_AFTER).Qualifies(WM_SIZE));
    sc->SetMouseWheel(false);
    EXPECT_TRUE(sc->Subclasser().Table(MSG_AFTER).IsAll());
    sc->SetMouseWheel(true);
    // Switching every message off keeps the switches that still read true.
    sc->SetAllMessages(false);
    EXPECT_EQ(sc->Subclasser().Table(MSG_AFTER).Slots(), Slots({522}));

    sc->SetAllMessagesBefore(true);
    sc->SetMouseDown(true);
    sc->SetMove(true);
    sc->SetAllMessagesBefore(false);
    EXPECT_TRUE(sc->Subclasser().Table(MSG_BEFORE).Qualifies(WM_LBUTTONDOWN));
    EXPECT_TRUE(sc->Subclasser().Table(MSG_BEFORE).Qualifies(WM_MOVE));
    EXPECT_FALSE(sc->Subclasser().Table(MSG_BEFORE).Qualifies(WM_SIZE));
}

TEST(CSubclassSwitches, TerminateIsHarmlessTwiceAndInitRefusesAfterIt)
{
    auto sc = MakeSubclass();
    EXPECT_FALSE(sc->HotKeyUnregister());  // none registered
    sc->Terminate();
    sc->Terminate();
    EXPECT_EQ(sc->Init(nullptr), Com::E_UNEXPECTED);
    EXPECT_FALSE(sc->HotKeyRegister(hkmAlt, 'K'));
}

TEST(CGlobalAtom, SharesOneNumberPerNameAndFreesItWithTheLastUser)
{
    int32_t value = 0;
    {
        CGlobalAtom a(QStringLiteral("09.12.2026 23:59:59"));
        CGlobalAtom b(QStringLiteral("09.12.2026 23:59:59"));
        CGlobalAtom c(QStringLiteral("other"));
        value = a.Value();
        EXPECT_GE(value, 0xC000);
        EXPECT_LE(value, 0xFFFF);
        EXPECT_EQ(b.Value(), value);
        EXPECT_NE(c.Value(), value);
        EXPECT_EQ(CGlobalAtom::UseCount(value), 2);
    }
    EXPECT_EQ(CGlobalAtom::UseCount(value), 0);
    CGlobalAtom now;
    EXPECT_FALSE(now.Name().isEmpty());
    EXPECT_NE(now.Value(), 0);
}

}  // namespace
