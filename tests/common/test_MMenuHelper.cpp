#include "MMenuHelper.h"

#include <gtest/gtest.h>

namespace
{
struct ShortcutCase
{
    int key;
    int shift;
    int expected;
};

constexpr int Shift = MMenuHelper::ShiftMask;
constexpr int Ctrl = MMenuHelper::CtrlMask;
constexpr int Alt = MMenuHelper::AltMask;

TEST(MMenuHelper, KeyToMenuShortcutTable)
{
    const ShortcutCase cases[] = {
        {65, Ctrl, 1},           {90, Ctrl, 26},          {65, Ctrl | Shift, 0},  {65, 0, 0},
        {65, Ctrl | Alt, 0},     {112, 0, 27},            {120, 0, 35},           {121, 0, 0},
        {122, 0, 36},            {123, 0, 37},            {112, Ctrl, 38},        {123, Ctrl, 48},
        {112, Shift, 49},        {123, Shift, 59},        {112, Ctrl | Shift, 60}, {123, Ctrl | Shift, 70},
        {121, Ctrl, 0},          {121, Shift, 0},         {121, Ctrl | Shift, 0}, {112, Alt, 0},
        {45, Ctrl, 71},          {45, Shift, 72},         {45, 0, 0},             {46, 0, 73},
        {46, Shift, 74},         {46, Ctrl, 0},           {8, Alt, 75},           {8, 0, 0},
        {8, Alt | Shift, 0},     {124, 0, 0},             {64, Ctrl, 0},          {91, Ctrl, 0},
    };
    for (const ShortcutCase& c : cases)
        EXPECT_EQ(MMenuHelper::KeyToMenuShortcut(c.key, c.shift), c.expected)
            << "key " << c.key << " shift " << c.shift;
}

TEST(MMenuHelper, EveryNumberComesFromExactlyOneCombination)
{
    int seen[76] = {};
    for (int key = 0; key < 256; ++key) {
        for (int shift = 0; shift < 8; ++shift) {
            const int code = MMenuHelper::KeyToMenuShortcut(key, shift);
            ASSERT_GE(code, 0);
            ASSERT_LE(code, 75);
            ++seen[code];
        }
    }
    for (int code = 1; code <= 75; ++code)
        EXPECT_EQ(seen[code], 1) << "code " << code;
}

TEST(MMenuHelper, FKeyToShortcutSetsZeroWhenNone)
{
    int code = 99;
    MMenuHelper::FKeyToShortcut(65, Ctrl, code);
    EXPECT_EQ(code, 0);
    MMenuHelper::FKeyToShortcut(116, Ctrl | Shift, code);
    EXPECT_EQ(code, 64);
    MMenuHelper::FKeyToShortcut(116, Alt, code);
    EXPECT_EQ(code, 0);
}
}
