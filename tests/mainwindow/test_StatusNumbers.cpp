// Numbers as the main window shows them, and the file dialogs' filters.

#include "MainServicesReal.h"
#include "StatusMessages.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class UserLocale : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(GetParam())));
        ASSERT_EQ(QLocale().name(), QString::fromLatin1(GetParam()));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    QString Expected(const char* withPoint) const
    {
        QString text = QString::fromLatin1(withPoint);
        return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    }
};

TEST_P(UserLocale, StatusNumbersUseTheUsersSeparatorWithoutGrouping)
{
    struct Case
    {
        double value;
        int16_t decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.5, 2, "0.50"},     {12345.6, 1, "12345.6"}, {12345.6, 2, "12345.60"}, {-0.25, 2, "-0.25"},
        {-0.001, 2, "0.00"},  {1e6, 0, "1000000"},     {0.125, 2, "0.12"},       {90, 3, "90.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatusMessages::fFormatStatusNumber(c.value, c.decimals), Expected(c.text)) << c.value;
}

INSTANTIATE_TEST_SUITE_P(Locales, UserLocale, ::testing::Values("C", "de_DE", "fr_FR"));

TEST(StatusNumbers, Round2HalvesToEven)
{
    EXPECT_DOUBLE_EQ(StatusMessages::fRound2(0.125), 0.12);
    EXPECT_DOUBLE_EQ(StatusMessages::fRound2(0.375), 0.38);
    EXPECT_DOUBLE_EQ(StatusMessages::fRound2(-2.345), -2.35);
    EXPECT_DOUBLE_EQ(StatusMessages::fRound2(1.005), 1.0);
    EXPECT_DOUBLE_EQ(StatusMessages::fRound2(7), 7);
}

TEST(FileDialogFilters, PairsBecomeQtNameFilters)
{
    EXPECT_EQ(FileDialogNameFilters(QStringLiteral("Ruvadir project (*.vava;*.ep3t)|*.vava;*.ep3t|")),
              QStringList{QStringLiteral("Ruvadir project (*.vava *.ep3t)")});
    EXPECT_EQ(FileDialogNameFilters(QStringLiteral("Maps (*.bsp)|*.bsp|All (*.*)|*.*|")),
              (QStringList{QStringLiteral("Maps (*.bsp)"), QStringLiteral("All (*.*)")}));
    // A description without patterns of its own gets them.
    EXPECT_EQ(FileDialogNameFilters(QStringLiteral("Scripts|*.cfg|")), QStringList{QStringLiteral("Scripts (*.cfg)")});
    EXPECT_TRUE(FileDialogNameFilters(QString()).isEmpty());
    EXPECT_TRUE(FileDialogNameFilters(QStringLiteral("odd|")).isEmpty());
}

}  // namespace
