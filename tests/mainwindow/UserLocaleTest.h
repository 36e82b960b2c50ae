#pragma once

// A test run once under each user locale it is given; the locale is
// checked to have taken.

#include <QLocale>

#include <gtest/gtest.h>

class UserLocaleTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(GetParam())));
        ASSERT_EQ(QLocale().name(), QString::fromLatin1(GetParam()));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};
