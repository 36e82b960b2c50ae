#include "MConsoleNames.h"

#include "MRuvResource.h"

namespace MConsoleNames {

namespace {

// Latin-1 characters that print as something: not the C0 and C1 controls,
// not DEL, not the two blanks (space and no-break space).
bool IsPrintableLatin1(char16_t c)
{
    return (c > 0x20 && c < 0x7F) || (c > 0xA0 && c <= 0xFF);
}

bool SplitsCommand(char16_t c)
{
    return c == u';' || c == u'"';
}

} // namespace

bool IsConsoleName(const QString& name)
{
    for (const QChar c : name)
        if (!IsPrintableLatin1(c.unicode()) || SplitsCommand(c.unicode()))
            return false;
    return true;
}

bool IsCommandLineName(const QString& name)
{
    return IsConsoleName(name) && !name.contains(QLatin1Char('+'));
}

bool IsKeyName(const QString& name)
{
    return !name.isEmpty() && IsConsoleName(name) && !name.contains(QLatin1String("//"))
           && !name.contains(QLatin1String("/*"));
}

QString ConsoleNameRefusal(const QString& name, int32_t languageOffset, int32_t messageNumber)
{
    if (IsConsoleName(name))
        return {};
    return MRuvResource::GetResString(languageOffset, messageNumber, TaggedValue(name));
}

} // namespace MConsoleNames
