#include "CStringBuilder.h"
#include "RuvError.h"

#include <gtest/gtest.h>

namespace {

struct Raised
{
    int32_t number = 0;
    QString description;
    QString source;
};

template <class F>
Raised Catch(F&& f)
{
    try {
        f();
    } catch (const RuvError& e) {
        return {e.number(), e.description(), e.source()};
    }
    return {};
}

void ExpectRangeError(const Raised& r, const char* description, const char* source)
{
    EXPECT_EQ(r.number, -2147220992);
    EXPECT_EQ(r.description, QString::fromLatin1(description));
    EXPECT_EQ(r.source, QString::fromLatin1(source));
}

QString Repeated(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

} // namespace

TEST(CStringBuilder, NewBuilder)
{
    CStringBuilder sb;
    EXPECT_EQ(sb.Length(), 0);
    EXPECT_EQ(sb.Capacity(), 8192);
    EXPECT_EQ(sb.BufferBump(), 2048);
    EXPECT_EQ(sb.SizingMethod(), 1);
    EXPECT_EQ(sb.SizingPercent(), 25);
    EXPECT_EQ(sb.ToString(), QString());
}

TEST(CStringBuilder, AppendChainsAlsoAfterEmptyText)
{
    CStringBuilder sb;
    sb.Append(u"").Append(u"ab").Append(u"").Append(u";");
    EXPECT_EQ(sb.ToString(), QStringLiteral("ab;"));
    EXPECT_EQ(sb.Length(), 3);
}

TEST(CStringBuilder, GrowsByStepsOfTheCapacity)
{
    CStringBuilder sb;
    sb.Append(Repeated('x', 4500));
    EXPECT_EQ(sb.Capacity(), 10240);
    EXPECT_EQ(sb.BufferBump(), 2560);
    sb.Append(Repeated('y', 600));  // 10200 bytes still fit
    EXPECT_EQ(sb.Capacity(), 10240);
    sb.Append(u"z");  // 10202 bytes fit too, exactly up to 10240 is allowed
    sb.Append(Repeated('w', 19));
    EXPECT_EQ(sb.Capacity(), 10240);
    sb.Append(u"!");
    EXPECT_EQ(sb.Capacity(), 12800);
    EXPECT_EQ(sb.Length(), 5121);
    EXPECT_EQ(sb.ToString(), Repeated('x', 4500) + Repeated('y', 600) + QStringLiteral("z")
                                 + Repeated('w', 19) + QStringLiteral("!"));
}

TEST(CStringBuilder, IgnoredSetters)
{
    CStringBuilder sb;
    sb.SetSizingPercent(0);
    sb.SetSizingPercent(101);
    EXPECT_EQ(sb.SizingPercent(), 25);
    sb.SetSizingPercent(100);
    EXPECT_EQ(sb.SizingPercent(), 100);
    sb.SetSizingMethod(2);
    sb.SetSizingMethod(-1);
    EXPECT_EQ(sb.SizingMethod(), 1);
    sb.SetBufferBump(1001);  // ignored under sizing method 1
    EXPECT_EQ(sb.BufferBump(), 8192);
    sb.SetCapacity(0);
    sb.SetCapacity(-5);
    sb.SetLength(-1);
    EXPECT_EQ(sb.Capacity(), 8192);
    EXPECT_EQ(sb.Length(), 0);
}

TEST(CStringBuilder, FixedStepIsEvenAndKeepsTheLastStepInForce)
{
    CStringBuilder sb;
    sb.SetCapacity(9000);  // not a multiple of the step: rounds up
    EXPECT_EQ(sb.Capacity(), 10240);
    sb.SetSizingMethod(0);
    EXPECT_EQ(sb.BufferBump(), 2048);  // the step used by the last resize
    sb.SetBufferBump(1001);
    EXPECT_EQ(sb.BufferBump(), 1002);
    sb.SetBufferBump(0);
    EXPECT_EQ(sb.BufferBump(), 1002);
    sb.SetCapacity(10241);
    EXPECT_EQ(sb.Capacity(), 11022);
}

TEST(CStringBuilder, CapacityBelowTheTextCutsIt)
{
    CStringBuilder sb;
    sb.SetSizingMethod(0);
    sb.SetBufferBump(2);
    sb.Append(Repeated('a', 40));
    sb.SetCapacity(50);
    EXPECT_EQ(sb.Capacity(), 50);
    EXPECT_EQ(sb.Length(), 25);
    EXPECT_EQ(sb.ToString(), Repeated('a', 25));
}

TEST(CStringBuilder, StepOfZeroRaisesDivisionByZeroBeforeAnyChange)
{
    CStringBuilder sb;
    sb.SetSizingMethod(0);
    sb.SetBufferBump(2);
    sb.SetCapacity(50);
    sb.Append(u"abc");
    sb.SetSizingMethod(1);
    sb.SetSizingPercent(1);  // 50 * 1 \ 100 = 0
    EXPECT_EQ(Catch([&] { sb.SetCapacity(1000); }).number, RuvError::DivisionByZero);
    EXPECT_EQ(Catch([&] { sb.Append(Repeated('x', 100)); }).number, RuvError::DivisionByZero);
    EXPECT_EQ(sb.Capacity(), 50);
    EXPECT_EQ(sb.ToString(), QStringLiteral("abc"));
}

TEST(CStringBuilder, Chars)
{
    CStringBuilder sb;
    sb.Append(u"abc");
    EXPECT_EQ(sb.Chars(0), QStringLiteral("a"));
    EXPECT_EQ(sb.Chars(2), QStringLiteral("c"));
    ExpectRangeError(Catch([&] { sb.Chars(3); }), "Tried reading character past end of buffer.",
                     "CStringBuilder.Chars");
    ExpectRangeError(Catch([&] { sb.Chars(-1); }), "Tried reading character past end of buffer.",
                     "CStringBuilder.Chars");
    sb.SetChars(1, QStringLiteral("XYZ"));
    EXPECT_EQ(sb.ToString(), QStringLiteral("aXc"));
    ExpectRangeError(Catch([&] { sb.SetChars(3, QStringLiteral("q")); }),
                     "Tried assigning character past end of buffer.", "CStringBuilder.Chars");
    EXPECT_EQ(Catch([&] { sb.SetChars(0, QString()); }).number, RuvError::InvalidArgument);
    EXPECT_EQ(sb.ToString(), QStringLiteral("aXc"));
}

TEST(CStringBuilder, Insert)
{
    CStringBuilder sb;
    sb.Append(u"ace");
    sb.Insert(1, u"b").Insert(3, u"d").Insert(5, u"f").Insert(0, u"");
    EXPECT_EQ(sb.ToString(), QStringLiteral("abcdef"));
    sb.Insert(sb.Length(), u"g");  // at Length appends
    EXPECT_EQ(sb.ToString(), QStringLiteral("abcdefg"));
    ExpectRangeError(Catch([&] { sb.Insert(sb.Length() + 1, u"x"); }), "Argument(s) out of range.",
                     "CStringBuilder.Insert");
    ExpectRangeError(Catch([&] { sb.Insert(-1, u"x"); }), "Argument(s) out of range.", "CStringBuilder.Insert");
    EXPECT_EQ(sb.ToString(), QStringLiteral("abcdefg"));
}

TEST(CStringBuilder, InsertThatFillsTheCapacityExactly)
{
    CStringBuilder sb;
    sb.Append(Repeated('b', 4095));
    sb.Insert(0, u"a");
    EXPECT_EQ(sb.Capacity(), 8192);
    EXPECT_EQ(sb.ToString(), QStringLiteral("a") + Repeated('b', 4095));
    sb.Insert(2, u"c");  // grows
    EXPECT_EQ(sb.Capacity(), 10240);
    EXPECT_EQ(sb.ToString().left(4), QStringLiteral("abcb"));
    EXPECT_EQ(sb.Length(), 4097);
}

TEST(CStringBuilder, Remove)
{
    CStringBuilder sb;
    sb.Append(u"abcdef");
    sb.Remove(1, 2);
    EXPECT_EQ(sb.ToString(), QStringLiteral("adef"));
    sb.Remove(2, 2);  // the tail
    EXPECT_EQ(sb.ToString(), QStringLiteral("ad"));
    sb.Remove(0, 0);
    EXPECT_EQ(sb.ToString(), QStringLiteral("ad"));
    ExpectRangeError(Catch([&] { sb.Remove(1, 2); }), "Argument(s) out of range.", "CStringBuilder.Remove");
    ExpectRangeError(Catch([&] { sb.Remove(-1, 1); }), "Argument(s) out of range.", "CStringBuilder.Remove");
    ExpectRangeError(Catch([&] { sb.Remove(0, -1); }), "Argument(s) out of range.", "CStringBuilder.Remove");
    ExpectRangeError(Catch([&] { sb.Remove(1, INT32_MAX); }), "Argument(s) out of range.",
                     "CStringBuilder.Remove");
    EXPECT_EQ(sb.ToString(), QStringLiteral("ad"));
}

TEST(CStringBuilder, RemoveTailOfAFullBuffer)
{
    CStringBuilder sb;
    sb.Append(Repeated('x', 4096));
    ASSERT_EQ(sb.Capacity(), 8192);
    sb.Remove(4000, 96);
    EXPECT_EQ(sb.Length(), 4000);
    sb.Remove(0, 4000);
    EXPECT_EQ(sb.ToString(), QString());
}

TEST(CStringBuilder, LengthCutsEmptiesAndExposesTheBuffer)
{
    CStringBuilder sb;
    sb.Append(Repeated('q', 5000));
    const int32_t capacity = sb.Capacity();
    sb.SetLength(0);
    sb.Append(u"abc");
    EXPECT_EQ(sb.ToString(), QStringLiteral("abc"));
    EXPECT_EQ(sb.Capacity(), capacity);

    sb.SetLength(1);
    EXPECT_EQ(sb.ToString(), QStringLiteral("a"));
    sb.SetLength(5);  // the old bytes behind the end come back
    EXPECT_EQ(sb.ToString(), QStringLiteral("abcqq"));

    CStringBuilder fresh;
    fresh.SetLength(2);
    EXPECT_EQ(fresh.ToString(), QString(2, QChar(0)));
    fresh.SetLength(5000);
    EXPECT_EQ(fresh.Capacity(), 10240);
    EXPECT_EQ(fresh.Length(), 5000);
}

TEST(CStringBuilder, ManySmallAppendsKeepEveryPiece)
{
    CStringBuilder sb;
    QString expected;
    for (int i = 0; i < 20000; ++i) {
        const QString piece = QString::number(i) + QLatin1Char(';');
        sb.Append(piece);
        expected += piece;
    }
    EXPECT_EQ(sb.ToString(), expected);
    EXPECT_GE(sb.Capacity(), sb.Length() * 2);
}

TEST(CStringBuilder, OddStepsCutInsideACharacterWithoutHarm)
{
    CStringBuilder sb;
    sb.Append(Repeated('a', 200));
    sb.SetSizingPercent(1);
    EXPECT_EQ(sb.BufferBump(), 81);
    sb.SetCapacity(100);  // the smallest multiple of 81 at or above 100
    EXPECT_EQ(sb.Capacity(), 162);
    EXPECT_EQ(sb.Length(), 81);
    EXPECT_EQ(sb.BufferBump(), 1);
    sb.SetCapacity(161);  // cuts half a character off
    EXPECT_EQ(sb.Length(), 80);
    EXPECT_EQ(sb.ToString(), Repeated('a', 80));
    sb.Append(u"Z");
    EXPECT_EQ(sb.Capacity(), 163);
    EXPECT_EQ(sb.Length(), 81);
    EXPECT_EQ(sb.ToString().left(80), Repeated('a', 80));
}

TEST(CStringBuilder, CopiesAreIndependent)
{
    CStringBuilder a;
    a.Append(u"abc");
    CStringBuilder b = a;
    b.Append(u"d").Insert(0, u">");
    a.Remove(0, 1);
    EXPECT_EQ(a.ToString(), QStringLiteral("bc"));
    EXPECT_EQ(b.ToString(), QStringLiteral(">abcd"));
    a = b;
    b.SetLength(0);
    EXPECT_EQ(a.ToString(), QStringLiteral(">abcd"));
}
