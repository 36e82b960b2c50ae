#include "CTooltip.h"

#include <QApplication>

#include <gtest/gtest.h>

// Without a widget application no tip window can be made: Create says so,
// and a later call, once the application runs, succeeds.
TEST(CTooltip, CreateWithoutAnApplicationFailsAndCanBeRetried)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    CTooltip tip;
    EXPECT_FALSE(tip.Create(nullptr, QStringLiteral("text"), QStringLiteral("title"), 300, 20000));
    EXPECT_EQ(tip.handle(), nullptr);
    EXPECT_EQ(tip.DelayTime(CTooltip::TTDT_INITIAL), 0);
    tip.SetText(QStringLiteral("stored"));
    EXPECT_EQ(tip.Text(), QStringLiteral("stored"));

    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test_controls";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    EXPECT_TRUE(tip.Create(nullptr, QStringLiteral("text"), QString(), 300, 20000));
    EXPECT_NE(tip.handle(), nullptr);
    EXPECT_EQ(tip.DelayTime(CTooltip::TTDT_INITIAL), 300);
}
