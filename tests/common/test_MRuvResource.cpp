#include "MRuvResource.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <set>

using namespace MRuvResource;

namespace {

int CountOf(const QString& text, const char* mark)
{
    return static_cast<int>(text.count(QLatin1String(mark)));
}

}  // namespace

TEST(MRuvResource, HotkeyTextInEnglishAndFrench)
{
    EXPECT_EQ(GetResString(LanguageEnglish, 80, "Alt+M"),
              QStringLiteral("The Alt+M hotkey cannot be registered.\r\n"
                             "Another application could use this key already. Please try another one."));
    const QString french = GetResString(LanguageFrench, 80, "Alt+M");
    EXPECT_TRUE(french.startsWith(QString::fromUtf8("Le raccourci Alt+M ne peut pas être enregistré.\r\n"))) << french.toStdString();
    EXPECT_FALSE(french.contains(QLatin1String("%%")));
    EXPECT_FALSE(french.contains(QLatin1String("<nl>")));
}

TEST(MRuvResource, ArgumentsFillTheMarksInTurn)
{
    const QString filled = GetResString(LanguageEnglish, 207, int32_t(250), int32_t(2));
    EXPECT_EQ(filled, QStringLiteral("A curve holds at most 250 points.\r\n2 points could not be added."));
    // The arguments may come as one list; further values are then ignored.
    const TaggedValue list(std::vector<TaggedValue>{TaggedValue(int32_t(250)), TaggedValue(int32_t(2))});
    EXPECT_EQ(GetResString(LanguageEnglish, 207, list, "ignored"), filled);

    struct Case { const char* text; std::vector<TaggedValue> args; const char* expected; };
    const std::vector<Case> cases = {
        {"a %% b", {TaggedValue("x"), TaggedValue("y")}, "a x b"},        // surplus argument
        {"a %% b %%", {}, "a %% b %%"},                                 // no arguments: marks stay
        {"a %% b %%", {TaggedValue("x")}, "a x b %%"},                  // surplus mark
        {"[%%] [%%]", {TaggedValue("%%!"), TaggedValue("y")}, "[y!] [%%]"},  // a mark inside an argument is taken next
        {"one<nl>two", {}, "one\r\ntwo"},
        {"%%", {TaggedValue("x<nl>y")}, "x\r\ny"},
        {"%% %%", {TaggedValue(1.5), TaggedValue(true)}, "1.5 True"},
        {"", {TaggedValue("x")}, ""},
        {"n=%%", {TaggedValue(std::vector<TaggedValue>{})}, "n=%%"},    // an empty list is no argument
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatResText(QString::fromUtf8(c.text), c.args), QString::fromUtf8(c.expected)) << c.text;
}

TEST(MRuvResource, MissingNumbersGiveTheEmptyText)
{
    for (int32_t offset : {LanguageEnglish, LanguageFrench, LanguageGerman}) {
        EXPECT_TRUE(GetResString(offset, 299).isEmpty()) << offset;
        EXPECT_TRUE(GetResString(offset, -1, "x").isEmpty()) << offset;
    }
    EXPECT_EQ(GetResString(LanguageEnglish, 29), QStringLiteral("E&nglish"));
    EXPECT_EQ(GetResString(LanguageFrench, 30), QString::fromUtf8("&Français"));
    EXPECT_EQ(GetResString(LanguageGerman, 31), QStringLiteral("&Deutsch"));
    EXPECT_FALSE(GetResString(LanguageEnglish, VersionTextNumber).isEmpty());
}

// The three tables must stay in step: the same numbers, and every
// translation keeps the argument and line-break marks of its English text.
TEST(MRuvResource, TablesAgree)
{
    std::set<int32_t> english, french, german;
    for (int32_t n : ResStringNumbers()) {
        if (n >= 0 && n <= 999) english.insert(n);
        else if (n >= 1000 && n <= 1999) french.insert(n - 1000);
        else if (n >= 2000 && n <= 2999) german.insert(n - 2000);
        else EXPECT_EQ(n, VersionTextNumber) << "a number outside the blocks";
    }
    EXPECT_GT(english.size(), 200u);
    EXPECT_EQ(english, french);
    EXPECT_EQ(english, german);
    for (int32_t n : english) {
        const QString en = GetResString(LanguageEnglish, n);
        for (int32_t offset : {LanguageFrench, LanguageGerman}) {
            // Read raw, without filling: FormatResText would turn "<nl>" into CR LF.
            const QString other = GetResString(offset, n);
            EXPECT_FALSE(other.isEmpty()) << n + offset;
            EXPECT_EQ(CountOf(other, "%%"), CountOf(en, "%%")) << n + offset;
            EXPECT_EQ(CountOf(other, "\r\n"), CountOf(en, "\r\n")) << n + offset;
            EXPECT_EQ(CountOf(other, "&"), CountOf(en, "&")) << n + offset;
        }
    }
}

TEST(MRuvResource, ResourceNames)
{
    EXPECT_EQ(GetResName(1), QStringLiteral("IDB_ETLOGO"));
    EXPECT_EQ(GetResName(12), QStringLiteral("IDB_PVWSTOP"));
    EXPECT_EQ(GetResName(13), QStringLiteral("IDC_SKIN"));
    EXPECT_TRUE(GetResName(14).isEmpty());
    EXPECT_TRUE(GetResName(-1).isEmpty());
    EXPECT_TRUE(GetResPicture(14).isEmpty());
    EXPECT_TRUE(GetResPicture(-1).isEmpty());
    EXPECT_TRUE(GetResData(14).isEmpty());
    // Every picture is a PNG of its size: 32 x 32 logos, 16 x 16 buttons.
    for (int32_t n = 1; n <= 12; ++n) {
        const QByteArray png = GetResPicture(n);
        ASSERT_GT(png.size(), 24) << n;
        EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n")) << n;
        const int side = n <= 10 ? 32 : 16;
        const auto be32 = [&](int at) {
            return (uint8_t(png[at]) << 24) | (uint8_t(png[at + 1]) << 16) | (uint8_t(png[at + 2]) << 8) | uint8_t(png[at + 3]);
        };
        EXPECT_EQ(be32(16), uint32_t(side)) << n;
        EXPECT_EQ(be32(20), uint32_t(side)) << n;
    }
    // The icon group is not a picture, and the skin data is not in yet.
    EXPECT_THROW(GetResPicture(0), RuvError);
    EXPECT_THROW(GetResData(13), RuvError);
}
