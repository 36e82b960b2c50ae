#include "CGlobalAtom.h"

#include <QDateTime>
#include <QLocale>

#include <map>

namespace Dadavive {

namespace {

struct Entry
{
    int32_t value;
    int uses;
};

// Names compare without regard to case, as atom names do.
std::map<QString, Entry>& Table()
{
    static std::map<QString, Entry> table;
    return table;
}

int32_t FreeNumber()
{
    for (int32_t v = 0xC000; v <= 0xFFFF; ++v) {
        bool used = false;
        for (const auto& [name, e] : Table())
            if (e.value == v) {
                used = true;
                break;
            }
        if (!used)
            return v;
    }
    return 0;
}

}  // namespace

namespace {
// The date in the user's short form and the time to the second.
QString NowText()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + now.time().toString(QStringLiteral("HH:mm:ss"));
}
}  // namespace

CGlobalAtom::CGlobalAtom() : CGlobalAtom(NowText()) {}

CGlobalAtom::CGlobalAtom(const QString& name) : m_name(name)
{
    const QString key = name.toLower();
    auto& table = Table();
    auto it = table.find(key);
    if (it != table.end()) {
        ++it->second.uses;
        m_value = it->second.value;
        return;
    }
    m_value = FreeNumber();
    if (m_value != 0)
        table.emplace(key, Entry{m_value, 1});
}

CGlobalAtom::~CGlobalAtom()
{
    if (m_value == 0)
        return;
    auto& table = Table();
    auto it = table.find(m_name.toLower());
    if (it != table.end() && --it->second.uses == 0)
        table.erase(it);
}

int CGlobalAtom::UseCount(int32_t value)
{
    for (const auto& [name, e] : Table())
        if (e.value == value)
            return e.uses;
    return 0;
}

}  // namespace Dadavive
