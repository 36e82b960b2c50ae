#include "MRuvResource.h"

#include "MCommon.h"
#include "RuvError.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <mutex>

namespace MRuvResource {

namespace {

constexpr int32_t kResourceNotFound = 326;

const char* const kResNames[] = {
    "IDI_A",       "IDB_ETLOGO",   "IDB_ETLOGOD",   "IDB_Q3LOGO",   "IDB_Q3LOGOD",
    "IDB_WSLOGO",  "IDB_WSLOGOD",  "IDB_RTCWLOGO",  "IDB_RTCWLOGOD", "IDB_ETQWLOGO",
    "IDB_ETQWLOGOD", "IDB_PVWPLAY", "IDB_PVWSTOP",  "IDC_SKIN",
};

// One table for all languages: the files hold the full numbers.
QString Unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == QLatin1Char('\\') || next == QLatin1Char('t')) {
                out += next == QLatin1Char('t') ? QChar(u'\t') : next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void LoadTable(const QString& resource, QHash<int32_t, QString>& table)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("The string table %s is missing from the program.", qPrintable(resource));
        return;
    }
    const QString all = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(all).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool ok = false;
        const int32_t number = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok) {
            qWarning("A line of the string table %s cannot be read.", qPrintable(resource));
            continue;
        }
        table.insert(number, Unescape(line.mid(tab + 1)));
    }
}

const QHash<int32_t, QString>& Table()
{
    static QHash<int32_t, QString> table;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* code : {"en", "fr", "de"})
            LoadTable(QStringLiteral(":/ruvadir/strings_%1.txt").arg(QLatin1String(code)), table);
    });
    return table;
}

[[noreturn]] void RaiseNotFound(const QString& name, const char* source)
{
    throw RuvError(kResourceNotFound, QStringLiteral("Resource with identifier '%1' not found").arg(name),
                   QString::fromLatin1(source));
}

}  // namespace

QString GetResString(int32_t languageOffset, int32_t number, const std::vector<TaggedValue>& arguments)
{
    const auto& table = Table();
    const auto it = table.constFind(languageOffset + number);
    if (it == table.constEnd() || it->isEmpty())
        return {};
    return FormatResText(*it, arguments);
}

QString FormatResText(const QString& text, const std::vector<TaggedValue>& arguments)
{
    if (text.isEmpty())
        return text;
    const std::vector<TaggedValue>& args =
        !arguments.empty() && arguments.front().IsList() ? arguments.front().ListValue() : arguments;
    QString out = text;
    for (const TaggedValue& arg : args) {
        const qsizetype at = out.indexOf(QLatin1String("%%"));
        if (at < 0)
            break;
        QString value;
        MCommon::TryToText(arg, value);  // a value without a text form fills in nothing
        out.replace(at, 2, value);
    }
    out.replace(QLatin1String("<nl>"), QLatin1String("\r\n"));
    return out;
}

bool HasResString(int32_t fullNumber)
{
    return Table().contains(fullNumber);
}

std::vector<int32_t> ResStringNumbers()
{
    std::vector<int32_t> numbers;
    for (auto it = Table().constBegin(); it != Table().constEnd(); ++it)
        numbers.push_back(it.key());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString GetResName(int32_t number)
{
    if (number < 0 || number >= static_cast<int32_t>(std::size(kResNames)))
        return {};
    return QString::fromLatin1(kResNames[number]);
}

QByteArray GetResPicture(int32_t number)
{
    const QString name = GetResName(number);
    if (name.isEmpty())
        return {};
    QFile file(QStringLiteral(":/ruvadir/pictures/%1.png").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        RaiseNotFound(name, "MRuvResource.GetResPicture");
    return file.readAll();
}

QByteArray GetResData(int32_t number)
{
    const QString name = GetResName(number);
    if (name.isEmpty())
        return {};
    QFile file(QStringLiteral(":/ruvadir/data/%1").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        RaiseNotFound(name, "MRuvResource.GetResData");
    return file.readAll();
}

}  // namespace MRuvResource
