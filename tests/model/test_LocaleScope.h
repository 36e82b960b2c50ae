#pragma once

// The C library's and Qt's default locale switched for one scope, both put
// back when it ends.

#include <QLocale>
#include <QString>

#include <clocale>
#include <string>

namespace modeltest {

class LocaleScope
{
public:
    // A C library name such as "de_DE.UTF-8"; Qt takes the part before the
    // dot ("de_DE").
    explicit LocaleScope(const char* name) : m_oldQt(QLocale())
    {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_oldC = old ? old : "C";
        m_set = std::setlocale(LC_ALL, name) != nullptr;
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
    }
    ~LocaleScope()
    {
        std::setlocale(LC_ALL, m_oldC.c_str());
        QLocale::setDefault(m_oldQt);
    }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

    // Whether the locale took, in the C library and in Qt alike: both now
    // write numbers with `decimalPoint`. A test asserts it first, or under
    // a locale that is not installed it would pass without testing anything.
    bool Took(const char* decimalPoint) const
    {
        const QString wanted = QString::fromLatin1(decimalPoint);
        return m_set && QString::fromLatin1(std::localeconv()->decimal_point) == wanted &&
               QLocale().decimalPoint() == wanted;
    }

private:
    std::string m_oldC;
    QLocale m_oldQt;
    bool m_set = false;
};

} // namespace modeltest
