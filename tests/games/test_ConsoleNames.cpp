#include "MConsoleNames.h"
#include "MRuvResource.h"

#include <gtest/gtest.h>

using MConsoleNames::ConsoleNameRefusal;
using MConsoleNames::IsConsoleName;
using MConsoleNames::IsKeyName;

TEST(ConsoleNames, NamesAndKeysThatTheConsoleReadsWhole)
{
    for (const char* name : {"", "cam", "cameras\\sub", "cameras/sub", "my-cam_2.cfg", "après", "\xC3\xBF"})
        EXPECT_TRUE(IsConsoleName(QString::fromUtf8(name))) << name;
    // Separators of commands and arguments, line ends and other controls
    // (C0, DEL, C1), the no-break space, and what Latin-1 cannot hold.
    for (const char* name : {"a;b", "a\"b", "a b", "a\tb", "a\nb", "a\rb", "a\x01", "a\x7f", "a\xC2\x85",
                             "a\xC2\xA0" "b", "\xE2\x82\xAC", "\xCE\xA9", "\xF0\x9F\x8E\xA5"})
        EXPECT_FALSE(IsConsoleName(QString::fromUtf8(name))) << name;

    for (const char* key : {"p", "PGUP", "KP_INS", "MOUSE3", "\xC3\xA9"})
        EXPECT_TRUE(IsKeyName(QString::fromUtf8(key))) << key;
    // A comment start would cut the line the key is bound in.
    for (const char* key : {"", "p;quit", "KP INS", "\"", "\xE2\x82\xAC", "\t", "a//b", "//", "a/*", "/*b"})
        EXPECT_FALSE(IsKeyName(QString::fromUtf8(key))) << key;
    EXPECT_TRUE(IsKeyName(QStringLiteral("/")));

    // The command line splits at "+".
    for (const char* name : {"duel.dm_68", "demos\\cup.dm_84", "etpro"})
        EXPECT_TRUE(MConsoleNames::IsCommandLineName(QString::fromUtf8(name))) << name;
    for (const char* name : {"x+quit y.dm_68", "duel+frag.dm_68", "+", "a;b"})
        EXPECT_FALSE(MConsoleNames::IsCommandLineName(QString::fromUtf8(name))) << name;
}

TEST(ConsoleNames, TheRefusalNamesTheNameInTheUsersLanguage)
{
    EXPECT_TRUE(ConsoleNameRefusal(QStringLiteral("demo01"), MRuvResource::LanguageGerman).isEmpty());
    EXPECT_EQ(ConsoleNameRefusal(QStringLiteral("my demo"), MRuvResource::LanguageEnglish),
              "The name \"my demo\" cannot be given to the game: it may not hold \";\", double quotes, blanks, line "
              "breaks, control characters or characters outside Latin-1.");
    EXPECT_TRUE(ConsoleNameRefusal(QStringLiteral("my demo"), MRuvResource::LanguageFrench)
                    .startsWith(QString::fromUtf8("Le nom « my demo » ne peut pas")));
    EXPECT_TRUE(ConsoleNameRefusal(QStringLiteral("my demo"), MRuvResource::LanguageGerman)
                    .startsWith(QString::fromUtf8("Der Name „my demo“ kann nicht")));
    // A caller's own text.
    EXPECT_EQ(ConsoleNameRefusal(QStringLiteral("a;b"), MRuvResource::LanguageEnglish, 905),
              MRuvResource::GetResString(MRuvResource::LanguageEnglish, 905, QStringLiteral("a;b")));
}
