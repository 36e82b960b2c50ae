#include "RecorderNames.h"

#include "PathHelper.h"

#include <QList>
#include <QRegularExpression>

namespace RecorderNames {

namespace {

// The characters that no file name may hold; the last two are the path
// separators.
constexpr char16_t kNotAllowed[] = {u':', u'*', u'?', u'"', u'<', u'>', u'|', u' ', u'\\', u'/'};

// What the console reads as the end of a command or of a line, or what the
// scripts' single-byte files cannot carry.
bool BreaksScripts(char32_t c)
{
    return c == U';' || c < 0x20 || c == 0x7F || c > 0xFF;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// Repeatedly replaces the first run of two or more adjacent `c` by one.
QString fCollapseRepeats(QString text, QChar c)
{
    const QString twice(2, c);
    for (qsizetype at = text.indexOf(twice); at >= 0; at = text.indexOf(twice, at)) {
        qsizetype end = at + 2;
        while (end < text.size() && text.at(end) == c)
            ++end;
        text.replace(at, end - at, c);
    }
    return text;
}

} // namespace

QString fSanitizeName(const QString& text, bool separatorsAllowed)
{
    QString name = TrimBlanks(text);
    if (name.isEmpty())
        return name;

    const int listed = separatorsAllowed ? 8 : 10;
    QString clean;
    clean.reserve(name.size());
    for (char32_t c : name.toUcs4()) {
        bool replace = BreaksScripts(c);
        for (int i = 0; i < listed && !replace; ++i)
            replace = c == kNotAllowed[i];
        if (replace)
            clean += QLatin1Char('_');
        else
            clean += QString::fromUcs4(&c, 1);
    }
    if (!separatorsAllowed)
        return clean;

    clean.replace(QLatin1Char('/'), QLatin1Char('\\'));
    clean = fCollapseRepeats(clean, QLatin1Char('\\'));
    if (clean.startsWith(QLatin1Char('\\')))
        clean.remove(0, 1);
    if (clean.endsWith(QLatin1Char('\\')))
        clean.chop(1);
    return clean;
}

bool IsFolderInside(const QString& relative)
{
    // A "." part stays inside, but no folder is meant so.
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return RuvPlatform::PathHelper::StaysInside(relative) && !relative.contains(QLatin1Char(':'))
           && !relative.split(separators).contains(QStringLiteral("."));
}

} // namespace RecorderNames
