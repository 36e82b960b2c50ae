// The frame-rate list: values strings, rebuilding, selecting and the
// default rate, on a combo box that is never shown.
#include "CFramerateHandler.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace
{
class FramerateList : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_controls";
        static char* argv[] = {name, nullptr};
        s_app = new QApplication(argc, argv);
    }
    static void TearDownTestSuite()
    {
        delete s_app;
        s_app = nullptr;
    }

    void SetUp() override
    {
        handler.Initialize(&combo, &setAsDefault, &remove);
        QObject::connect(&handler, &CFramerateHandler::TraceSpecificValueRemoved, [this] { ++removedEvents; });
    }

    QStringList Entries() const
    {
        QStringList entries;
        for (int i = 0; i < combo.count(); ++i)
            entries << combo.itemText(i);
        return entries;
    }

    static QApplication* s_app;
    QComboBox combo;
    QAction setAsDefault{QStringLiteral("Set as default")};
    QAction remove{QStringLiteral("Remove")};
    CFramerateHandler handler;
    int removedEvents = 0;
};
QApplication* FramerateList::s_app = nullptr;

const QStringList kDefaultEntries{" 25", " 30", " 50", " 60", " 75", " 90", " 100"};
}

TEST_F(FramerateList, DefaultListAndItsValuesStrings)
{
    EXPECT_EQ(handler.DefaultValue(), 50);
    EXPECT_EQ(handler.SelectDefaultValue(), -1);  // nothing listed yet
    handler.LoadDefaultValues();
    EXPECT_EQ(Entries(), kDefaultEntries);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(combo.currentText(), QStringLiteral("50"));
    EXPECT_EQ(handler.SelectedValue(), 50);
    EXPECT_EQ(handler.BuildValuesString(true), CFramerateHandler::DefaultValuesString() + ";");
    EXPECT_EQ(handler.BuildValuesString(false), QString());
}

TEST_F(FramerateList, ValuesStringsAreReadWithoutTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    struct Case
    {
        const char* text;
        bool result;
        std::vector<std::int32_t> values;
    };
    const Case cases[] = {
        {"30;abc;-5;0;60;", true, {30, 60}},
        {"", false, {}},
        {";;", false, {}},
        {"0;-1", false, {}},
        {"25;30;50;60;75;90;100", true, {25, 30, 50, 60, 75, 90, 100}},
        {"25;30;", true, {25, 30}},
        {" 45 ;2.5;3.5;0.4", true, {45, 2, 4}},
        {"2,5;24", true, {24}},
        {"2147483647;2147483648;4294967321", true, {2147483647}},
        {"1e2;*30;30x", true, {100}},
    };
    for (const Case& c : cases) {
        std::vector<std::int32_t> values{7, 8};
        EXPECT_EQ(CFramerateHandler::ParseValuesString(QString::fromLatin1(c.text), values), c.result) << c.text;
        if (c.result) {
            EXPECT_EQ(values, c.values) << c.text;
        }
    }
    QLocale::setDefault(before);
}

TEST_F(FramerateList, TraceSpecificRatesComeFirstAndAreNotDuplicated)
{
    handler.LoadDefaultValues();
    handler.AddTraceSpecificValues(QStringLiteral("45;30"));
    QStringList expected{"*45"};
    expected << kDefaultEntries;
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(handler.BuildValuesString(false), QStringLiteral("45;"));
    // A string without a rate adds nothing.
    handler.AddTraceSpecificValues(QStringLiteral("0;x"));
    EXPECT_EQ(Entries(), expected);
    handler.AddTraceSpecificValues(QStringLiteral("24"));
    EXPECT_EQ(Entries().mid(0, 3), (QStringList{"*24", "*45", " 25"}));

    // Removing them keeps the edit's text and tells it once.
    combo.setEditText(QStringLiteral("45"));
    handler.RemoveTraceSpecific();
    EXPECT_EQ(Entries(), kDefaultEntries);
    EXPECT_EQ(combo.currentText(), QStringLiteral("45"));
    EXPECT_EQ(removedEvents, 1);
    handler.RemoveTraceSpecific();
    EXPECT_EQ(removedEvents, 1);

    // Loading global rates empties the project's rates too.
    handler.AddTraceSpecificValues(QStringLiteral("45"));
    std::vector<std::int32_t> globals{60, 24};
    handler.LoadGlobalValues(globals);
    EXPECT_EQ(Entries(), (QStringList{" 24", " 60"}));
    // The default (50) is not among them: the first global rate is.
    EXPECT_EQ(handler.DefaultValue(), 24);
    EXPECT_EQ(combo.currentText(), QStringLiteral("24"));
}

TEST_F(FramerateList, TheConstraintDropsRatesAtTheNextRebuild)
{
    handler.LoadDefaultValues();
    handler.SetConstrainedToMultipleOf30(true);
    EXPECT_EQ(Entries(), kDefaultEntries);  // the flag only
    handler.AddTraceSpecificValues(QStringLiteral("45;120"));
    EXPECT_EQ(Entries(), (QStringList{"*120", " 30", " 60", " 90"}));
    EXPECT_EQ(handler.BuildValuesString(true), QStringLiteral("30;60;90;"));
    handler.LoadDefaultValues();
    EXPECT_EQ(Entries(), (QStringList{" 30", " 60", " 90"}));
    EXPECT_EQ(handler.DefaultValue(), 30);
}

// Opening a project with a rate of its own must not change the project.
TEST_F(FramerateList, SelectingAnUnlistedRateAddsAndSelectsIt)
{
    handler.LoadDefaultValues();
    std::int32_t rate = 30;
    EXPECT_FALSE(handler.SelectByValue(rate));
    EXPECT_EQ(combo.currentText(), QStringLiteral("30"));

    rate = 48;
    EXPECT_TRUE(handler.SelectByValue(rate));
    EXPECT_EQ(rate, 48);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("*48"));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.currentText(), QStringLiteral("48"));
    EXPECT_EQ(handler.SelectedValue(), 48);
    EXPECT_EQ(handler.DefaultValue(), 50);

    // A trace-specific entry is found as well.
    rate = 48;
    EXPECT_FALSE(handler.SelectByValue(rate));

    // No rate at all: nothing is added, the default entry is selected.
    rate = 0;
    EXPECT_FALSE(handler.SelectByValue(rate));
    EXPECT_EQ(rate, 0);
    EXPECT_EQ(combo.currentText(), QStringLiteral("50"));
    EXPECT_EQ(combo.count(), kDefaultEntries.size() + 1);
}

TEST_F(FramerateList, AnEmptyListKeepsTheDefault)
{
    std::vector<std::int32_t> none;
    handler.LoadGlobalValues(none);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(handler.SelectDefaultValue(), -1);
    EXPECT_EQ(handler.DefaultValue(), 50);
    EXPECT_EQ(handler.SelectedValue(), 50);
    handler.CancelSelectionChange();
    EXPECT_EQ(combo.currentIndex(), -1);

    // Without a number in the edit the current entry's rate counts.
    handler.LoadDefaultValues();
    std::int32_t rate = 75;
    handler.SelectByValue(rate);
    for (const char* text : {"", "*"}) {
        combo.setEditText(QString::fromLatin1(text));
        EXPECT_EQ(handler.SelectedValue(), 75) << text;
    }
    combo.setEditText(QStringLiteral("*45"));
    EXPECT_EQ(handler.SelectedValue(), 45);
    EXPECT_EQ(handler.SelectedValueString(), QStringLiteral("*45"));
}

TEST_F(FramerateList, DefaultValueConversions)
{
    EXPECT_FALSE(handler.SetDefaultValue(TaggedValue(QStringLiteral("abc"))));
    EXPECT_EQ(handler.DefaultValue(), 50);
    EXPECT_TRUE(handler.SetDefaultValue(TaggedValue(QStringLiteral(" 60 "))));
    EXPECT_EQ(handler.DefaultValue(), 60);
    EXPECT_FALSE(handler.SetDefaultValue(TaggedValue(5e10)));
    EXPECT_EQ(handler.DefaultValue(), 60);
    EXPECT_TRUE(handler.SetDefaultValue(TaggedValue(std::int32_t(0))));
    EXPECT_EQ(handler.DefaultValue(), 50);

    // A default that is not a global entry gives way to the first one.
    handler.LoadDefaultValues();
    handler.AddTraceSpecificValues(QStringLiteral("48"));
    ASSERT_TRUE(handler.SetDefaultValue(TaggedValue(std::int32_t(48))));
    EXPECT_EQ(handler.SelectDefaultValue(), 1);
    EXPECT_EQ(handler.DefaultValue(), 25);
}

TEST(FramerateListWithoutCombo, ADestroyedComboIsIgnored)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test_controls";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    CFramerateHandler handler;
    auto* combo = new QComboBox;
    QAction setAsDefault(QStringLiteral("Set as default"));
    handler.Initialize(combo, &setAsDefault, nullptr);
    handler.LoadDefaultValues();
    delete combo;
    std::int32_t rate = 48;
    EXPECT_FALSE(handler.SelectByValue(rate));
    handler.AddTraceSpecificValues(QStringLiteral("24"));
    handler.RemoveTraceSpecific();
    handler.CancelEditing();
    handler.CancelSelectionChange();
    handler.LoadDefaultValues();
    setAsDefault.trigger();
    EXPECT_EQ(handler.BuildValuesString(true), QString());
    EXPECT_EQ(handler.SelectDefaultValue(), -1);
    EXPECT_EQ(handler.SelectedValue(), 0);
    EXPECT_EQ(handler.DefaultValue(), 50);
}
