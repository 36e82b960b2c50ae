#include "MArrayConvert.h"
#include "RuvError.h"

#include <gtest/gtest.h>

using namespace MArrayConvert;

namespace {

// Sets the stored command line for one test and clears it after.
class CommandLine : public ::testing::Test
{
protected:
    void TearDown() override { SetCommandLineText(QString()); }
};

} // namespace

TEST(MArrayConvertSplit, Table)
{
    const struct { const char* text; QStringList items; } cases[] = {
        {"a  b", {"a", "b"}},
        {" a  b", {"a", "b"}},
        {"a\tb", {"a", "b"}},
        {"\"x  y\"", {"x y"}},
        {"a b ", {"a", "b", ""}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"C:\\a b\\p.vava\" -maple", {"C:\\a b\\p.vava", "-maple"}},
        {"\"", {""}},
        {"\"unbalanced quote  x", {"unbalanced quote x"}},
        {"   ", {""}},
        {"\"\" a", {"a"}},
        {"one", {"one"}},
        {"\" lead\" x", {"lead", "x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromLatin1(c.text)), c.items) << c.text;
}

TEST(MArrayConvertSplit, FirstArgumentText)
{
    const struct { const char* text; bool firstOnly; const char* expected; } cases[] = {
        {"\"C:\\a b\\p.vava\" -x", true, "C:\\a b\\p.vava"},
        {"C:\\a b\\p.vava", true, "C:\\a"},
        {"\"", true, "\""},
        {"\"", false, "\""},
        {"\"C:\\a b\\p.vava\"", true, "C:\\a b\\p.vava"},
        {"a\"b c", true, "ab c"},         // quotes but no quote-and-space: whole
        {"\"C:\\a b\\p.vava\" -x", false, "C:\\a b\\p.vava -x"},
        {"plain", true, "plain"},
        {"x", true, "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstArgumentText(QString::fromLatin1(c.text), c.firstOnly), QString::fromLatin1(c.expected))
            << c.text;
}

TEST_F(CommandLine, EmptyCommandLineLeavesTargetsUnchanged)
{
    SetCommandLineText(QString());
    QString text = QStringLiteral("keep");
    QStringList list{QStringLiteral("keep")};
    TaggedValue tagged(QStringLiteral("keep"));
    EXPECT_FALSE(GetCommandLineArgs(text, true));
    EXPECT_FALSE(GetCommandLineArgs(list));
    EXPECT_FALSE(GetCommandLineArgs(tagged, false));
    EXPECT_EQ(text, QStringLiteral("keep"));
    EXPECT_EQ(list, QStringList{QStringLiteral("keep")});
    EXPECT_EQ(tagged, TaggedValue(QStringLiteral("keep")));
}

TEST_F(CommandLine, ArgvWithBlanksRoundTrips)
{
    const QStringList argv{QStringLiteral("/home/u/my maps/p.vava"), QStringLiteral("-MAPLE"),
                           QStringLiteral("tab\there")};
    SetCommandLineText(JoinArguments(argv));
    EXPECT_EQ(CommandLineText(), QStringLiteral("\"/home/u/my maps/p.vava\" -MAPLE \"tab\there\""));
    QString first;
    ASSERT_TRUE(GetCommandLineArgs(first, true));
    EXPECT_EQ(first, argv[0]);
    QStringList all;
    ASSERT_TRUE(GetCommandLineArgs(all));
    EXPECT_EQ(all, (QStringList{argv[0], argv[1], QStringLiteral("tab\there")}));
    EXPECT_TRUE(StringArrayContains(all, u"-maple", true, false));
}

TEST_F(CommandLine, TaggedTargets)
{
    SetCommandLineText(QStringLiteral("a b"));
    TaggedValue text(QString{});
    ASSERT_TRUE(GetCommandLineArgs(text, true));
    EXPECT_EQ(text, TaggedValue(QStringLiteral("a")));
    TaggedValue list(std::vector<TaggedValue>{});
    ASSERT_TRUE(GetCommandLineArgs(list, false));
    EXPECT_EQ(ArrayCount(list), 2);
    TaggedValue number(3);
    EXPECT_FALSE(GetCommandLineArgs(number, false));
    EXPECT_EQ(number, TaggedValue(3));
}

TEST(MArrayConvertJoin, QuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(JoinArguments({}), QString());
    EXPECT_EQ(JoinArguments({QStringLiteral("a"), QString(), QStringLiteral("b c")}),
              QStringLiteral("a \"\" \"b c\""));
}

TEST(MArrayConvertSearch, StringIndexOfTable)
{
    const QStringList list{QStringLiteral("Abc"), QStringLiteral("d")};
    const struct { const char16_t* text; bool whole, cs; int16_t expected; } cases[] = {
        {u"b", false, false, 0}, {u"b", true, false, -1}, {u"ABC", true, false, 0},
        {u"ABC", true, true, -1}, {u"Abc", true, true, 0}, {u"D", false, true, -1},
        {u"D", false, false, 1}, {u"", false, true, 0}, {u"", true, true, -1}, {u"x", false, false, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringArrayIndexOf(list, QStringView(c.text), c.whole, c.cs), c.expected)
            << QString::fromUtf16(c.text).toStdString() << c.whole << c.cs;
    EXPECT_EQ(StringArrayIndexOf({}, u"a", false, false), -1);
    EXPECT_FALSE(StringArrayContains({}, u"", false, false));
}

TEST(MArrayConvertSearch, LongIndexOf)
{
    EXPECT_EQ(LongArrayIndexOf({5, 7, 7}, 7), 1);
    EXPECT_EQ(LongArrayIndexOf({5, 7}, 8), -1);
    EXPECT_EQ(LongArrayIndexOf({}, 0), -1);
    EXPECT_TRUE(LongArrayContains({5, 7}, 5));
    EXPECT_FALSE(LongArrayContains({}, 5));
}

TEST(MArrayConvertSearch, IndexBeyond16BitsRaisesOverflow)
{
    std::vector<int32_t> longs(40000, 0);
    longs.back() = 1;
    try {
        LongArrayIndexOf(longs, 1);
        ADD_FAILURE() << "no error";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::Overflow);
    }
    EXPECT_EQ(LongArrayIndexOf(longs, 0), 0);
}

TEST(MArrayConvertBuild, ByteArrays)
{
    EXPECT_EQ(ToByteArray({}), QByteArray(1, '\0'));
    EXPECT_EQ(ToByteArray({TaggedValue(1), TaggedValue(2), TaggedValue(300)}), QByteArray("\x01\x02\x00", 3));
    EXPECT_EQ(ToByteArray({TaggedValue("AB"), TaggedValue(5)}), QByteArray("AB"));
    EXPECT_EQ(ToByteArray({TaggedValue("")}), QByteArray(1, '\0'));
    EXPECT_EQ(ToByteArray({TaggedValue(2.5), TaggedValue("x"), TaggedValue("7")}).toHex(), QByteArray("020007"));
    EXPECT_EQ(ToByteArray({TaggedValue(2.5), TaggedValue::MakeNull(), TaggedValue(-1)}), QByteArray("\x02\x00\x00", 3));
}

TEST(MArrayConvertBuild, StringAndLongArrays)
{
    EXPECT_EQ(ToStringArray({}), QStringList{QString()});
    EXPECT_EQ(ToStringArray({TaggedValue(1.5f), TaggedValue(true), TaggedValue("x")}),
              (QStringList{"1.5", "True", "x"}));
    try {
        ToStringArray({TaggedValue("a"), TaggedValue::MakeNull()});
        ADD_FAILURE() << "no error";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::InvalidUseOfNull);
    }
    EXPECT_EQ(ToLongArray({}), std::vector<int32_t>{0});
    EXPECT_EQ(ToLongArray({TaggedValue("12"), TaggedValue("x"), TaggedValue(3.5), TaggedValue(1e12)}),
              (std::vector<int32_t>{12, 0, 4, 0}));
}

TEST(MArrayConvertList, ReverseAndCount)
{
    const struct { std::vector<int32_t> in, out; } cases[] = {
        {{1, 2, 3, 4}, {4, 3, 2, 1}}, {{1, 2, 3}, {3, 2, 1}}, {{1}, {1}}, {{}, {}},
    };
    for (auto c : cases) {
        ReverseArray(c.in);
        EXPECT_EQ(c.in, c.out);
    }
    EXPECT_EQ(ArrayCount(TaggedValue()), 0);
    EXPECT_EQ(ArrayCount(TaggedValue(5)), 0);
    EXPECT_EQ(ArrayCount(TaggedValue(std::vector<TaggedValue>(3))), 3);
}
