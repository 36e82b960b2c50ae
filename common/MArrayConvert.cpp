#include "MArrayConvert.h"

#include "MCommon.h"
#include "RuvError.h"

#include <algorithm>

namespace MArrayConvert {

namespace {

QString g_commandLine;

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimSpaces(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

int16_t CheckedIndex(qsizetype i)
{
    if (i > 32767)
        throw RuvError::Platform(RuvError::Overflow, QStringLiteral("MArrayConvert.IndexOf"));
    return static_cast<int16_t>(i);
}

} // namespace

void SetCommandLineText(const QString& text)
{
    g_commandLine = text;
}

QString CommandLineText()
{
    return g_commandLine;
}

QString JoinArguments(const QStringList& arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString& a : arguments) {
        const bool quote = a.isEmpty() || a.contains(QLatin1Char(' ')) || a.contains(QLatin1Char('\t'));
        parts << (quote ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    }
    return parts.join(QLatin1Char(' '));
}

QString FirstArgumentText(const QString& commandLine, bool firstOnly)
{
    QString text = commandLine;
    if (firstOnly && text.size() >= 2) {
        const qsizetype quoteSpace = text.indexOf(QLatin1String("\" "));
        if (quoteSpace >= 0)
            text.truncate(quoteSpace);
        else if (!text.contains(QLatin1Char('"'))) {
            const qsizetype space = text.indexOf(QLatin1Char(' '));
            if (space >= 0)
                text.truncate(space);
        }
    }
    if (text.size() >= 2)
        text.remove(QLatin1Char('"'));
    return text;
}

QStringList SplitCommandLine(const QString& commandLine)
{
    QStringList items{QString()};
    bool inQuotes = false;
    bool previousIsBlank = false;  // no previous character yet
    for (QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (!IsBlank(c) || previousIsBlank) {
            if (!IsBlank(c))
                items.last().append(c);
        } else if (!inQuotes) {
            QString& current = items.last();
            current = TrimSpaces(current);
            if (!current.isEmpty())
                items.append(QString());
        } else {
            items.last().append(c);
        }
        previousIsBlank = IsBlank(c);
    }
    return items;
}

bool GetCommandLineArgs(QString& target, bool firstOnly)
{
    if (g_commandLine.isEmpty())
        return false;
    target = FirstArgumentText(g_commandLine, firstOnly);
    return true;
}

bool GetCommandLineArgs(QStringList& target, bool /*firstOnly*/)
{
    if (g_commandLine.isEmpty())
        return false;
    target = SplitCommandLine(g_commandLine);
    return true;
}

bool GetCommandLineArgs(TaggedValue& target, bool firstOnly)
{
    if (g_commandLine.isEmpty())
        return false;
    if (target.IsText()) {
        target = TaggedValue(FirstArgumentText(g_commandLine, firstOnly));
        return true;
    }
    if (target.IsList()) {
        std::vector<TaggedValue> items;
        for (const QString& s : SplitCommandLine(g_commandLine))
            items.emplace_back(s);
        target = TaggedValue(std::move(items));
        return true;
    }
    return false;
}

int16_t StringArrayIndexOf(const QStringList& list, QStringView text, bool wholeMatch, bool caseSensitive)
{
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const bool match = wholeMatch ? QStringView(list[i]).compare(text, cs) == 0
                                      : QStringView(list[i]).contains(text, cs);
        if (match)
            return CheckedIndex(i);
    }
    return -1;
}

int16_t LongArrayIndexOf(const std::vector<int32_t>& list, int32_t value)
{
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? int16_t(-1) : CheckedIndex(it - list.begin());
}

bool StringArrayContains(const QStringList& list, QStringView text, bool wholeMatch, bool caseSensitive)
{
    return StringArrayIndexOf(list, text, wholeMatch, caseSensitive) >= 0;
}

bool LongArrayContains(const std::vector<int32_t>& list, int32_t value)
{
    return LongArrayIndexOf(list, value) >= 0;
}

QByteArray ToByteArray(const std::vector<TaggedValue>& values)
{
    if (values.empty())
        return QByteArray(1, '\0');
    if (values.front().IsText()) {
        const QByteArray bytes = values.front().TextValue().toLatin1();
        return bytes.isEmpty() ? QByteArray(1, '\0') : bytes;
    }
    QByteArray result(static_cast<qsizetype>(values.size()), '\0');
    for (size_t i = 0; i < values.size(); ++i) {
        uint8_t b = 0;
        if (MCommon::TryToByte(values[i], b))
            result[static_cast<qsizetype>(i)] = static_cast<char>(b);
    }
    return result;
}

QStringList ToStringArray(const std::vector<TaggedValue>& values)
{
    if (values.empty())
        return QStringList{QString()};
    QStringList result;
    result.reserve(static_cast<qsizetype>(values.size()));
    for (const TaggedValue& v : values)
        result << MCommon::ToText(v, QStringLiteral("MArrayConvert.ToStringArray"));
    return result;
}

std::vector<int32_t> ToLongArray(const std::vector<TaggedValue>& values)
{
    if (values.empty())
        return {0};
    std::vector<int32_t> result(values.size(), 0);
    for (size_t i = 0; i < values.size(); ++i)
        MCommon::TryToInt32(values[i], result[i]);
    return result;
}

void ReverseArray(std::vector<int32_t>& values)
{
    std::reverse(values.begin(), values.end());
}

int32_t ArrayCount(const TaggedValue& value)
{
    return value.IsList() ? static_cast<int32_t>(value.ListValue().size()) : 0;
}

} // namespace MArrayConvert
