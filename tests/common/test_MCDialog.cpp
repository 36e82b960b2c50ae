#include "MCDialog.h"

#include <gtest/gtest.h>

TEST(MCDialog, BuildFilter)
{
    struct Case
    {
        QStringList args;
        const char* expected;
    };
    const Case cases[] = {
        {{}, ""},
        {{"Scripts", "cfg; txt;cfg"}, "Scripts (*.txt;*.cfg)|*.txt;*.cfg|"},
        {{"Projects", "vava", "Old"}, "Projects (*.vava)|*.vava|"},  // the odd last one is dropped
        {{"Maps", "bsp", "All", "*"}, "Maps (*.bsp)|*.bsp|All (*.*)|*.*|"},
        {{"None", " ; ;"}, "None"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MCDialog::BuildFilter(c.args), QString::fromUtf8(c.expected)) << c.args.join('|').toStdString();
    EXPECT_EQ(MCDialog::BuildFilter("Demos", "dm_84"), "Demos (*.dm_84)|*.dm_84|");
}
