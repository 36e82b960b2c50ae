#include "DadaviveKeys.h"

#include <gtest/gtest.h>

using namespace Dadavive;

namespace {

struct KeyCase
{
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int32_t vk;
};

// The keypad's keys have codes of their own; the same Qt keys typed on the
// main block keep the main block's.
TEST(VirtualKeys, KeypadKeysHaveTheKeypadsCodes)
{
    const KeyCase cases[] = {
        {Qt::Key_Minus, Qt::KeypadModifier, VK_SUBTRACT},
        {Qt::Key_Minus, Qt::NoModifier, VK_OEM_MINUS},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Asterisk, Qt::KeypadModifier, VK_MULTIPLY},
        {Qt::Key_Slash, Qt::KeypadModifier, VK_DIVIDE},
        {Qt::Key_Slash, Qt::NoModifier, VK_OEM_2},
        {Qt::Key_Period, Qt::KeypadModifier, VK_DECIMAL},
        // A German keypad's decimal key prints a comma.
        {Qt::Key_Comma, Qt::KeypadModifier, VK_DECIMAL},
        {Qt::Key_Period, Qt::NoModifier, VK_OEM_PERIOD},
        {Qt::Key_0, Qt::KeypadModifier, VK_NUMPAD0},
        {Qt::Key_7, Qt::KeypadModifier | Qt::ShiftModifier, VK_NUMPAD0 + 7},
        {Qt::Key_9, Qt::KeypadModifier, VK_NUMPAD9},
        {Qt::Key_7, Qt::NoModifier, '7'},
        // Keys the keypad shares with the main block.
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Home, Qt::KeypadModifier, VK_HOME},
        {Qt::Key_Left, Qt::KeypadModifier, VK_LEFT},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(VirtualKeyFromQt(c.qtKey, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.qtKey;
}

}  // namespace
