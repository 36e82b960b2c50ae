#include "CView.h"

#include "RuvError.h"
#include "test_LocaleScope.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using modeltest::LocaleScope;

// The first 2D view as the main window creates it.
CView TopView(int32_t scaleIndex = 50)
{
    CView v;
    v.Initialize(1, 0, 1, 2, scaleIndex, 10, 100000, false, false, false);
    return v;
}

CView SideView()
{
    CView v;
    v.Initialize(4, 1, 2, 0, 7, 10, 100000, true, false, true);
    v.SetCurrentOrigin(1, -12.25f);
    v.SetCurrentOrigin(2, 300.5f);
    return v;
}

void ExpectOutOfRange(auto&& f)
{
    try {
        f();
        ADD_FAILURE() << "no error raised";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::IndexOutOfRange);
    }
}

} // namespace

TEST(CView, NewViewHoldsZeros)
{
    const CView v;
    EXPECT_EQ(v.ViewFlag(), 0);
    EXPECT_EQ(v.ScaleIndex(), 0);
    EXPECT_EQ(v.MinSize(), 0);
    EXPECT_EQ(v.MAXSIZE(), 0);
    EXPECT_EQ(v.CurrentOrigin(1), 0.0f);
    EXPECT_FALSE(v.ShowRuler() || v.ShowGrid() || v.EnableAA());
}

TEST(CView, InitializeStoresEveryArgumentAndKeepsOrigins)
{
    CView v;
    v.SetCurrentOrigin(2, 5.0f);
    v.Initialize(2, 0, 2, 1, 33, 10, 100000, true, false, true);
    EXPECT_EQ(v.ViewFlag(), 2);
    EXPECT_EQ(v.HAxis(), 0);
    EXPECT_EQ(v.VAxis(), 2);
    EXPECT_EQ(v.DAxis(), 1);
    EXPECT_EQ(v.ScaleIndex(), 33);
    EXPECT_EQ(v.MinSize(), 10);
    EXPECT_EQ(v.MAXSIZE(), 100000);
    EXPECT_TRUE(v.ShowRuler());
    EXPECT_FALSE(v.ShowGrid());
    EXPECT_TRUE(v.EnableAA());
    EXPECT_EQ(v.CurrentOrigin(2), 5.0f);
}

TEST(CView, OriginIndicesOtherThanOneAndTwoRaise)
{
    CView v = TopView();
    for (int32_t index : {0, 3, -1}) {
        ExpectOutOfRange([&] { (void)v.CurrentOrigin(index); });
        ExpectOutOfRange([&] { v.SetCurrentOrigin(index, 1.0f); });
        ExpectOutOfRange([&] { (void)v.OnclickOrigin(index); });
        ExpectOutOfRange([&] { v.SetOnclickOrigin(index, 1.0f); });
    }
    EXPECT_EQ(v, TopView());
    v.SetOnclickOrigin(1, 4.0f);
    v.SetOnclickOrigin(2, 6.0f);
    EXPECT_EQ(v.OnclickOrigin(1), 4.0f);
    EXPECT_EQ(v.OnclickOrigin(2), 6.0f);
    EXPECT_EQ(v.CurrentOrigin(1), 0.0f);
}

TEST(CView, LoadAndCloneCopyAllFieldsIndependently)
{
    CView source = SideView();
    source.SetOnclickOrigin(1, 9.0f);
    CView target = TopView();
    target.Load(source);
    EXPECT_EQ(target, source);
    CView clone = source.Clone();
    clone.SetCurrentOrigin(1, 1.0f);
    EXPECT_EQ(source.CurrentOrigin(1), -12.25f);
}

TEST(CView, SerializeWritesThirteenFields)
{
    EXPECT_EQ(TopView().Serialize(), QStringLiteral("v1;1;0;1;2;50;10;100000;0;0;0;0;0"));
    EXPECT_EQ(SideView().Serialize(), QStringLiteral("v1;4;1;2;0;7;10;100000;-12.25;300.5;-1;0;-1"));
    CView tiny = TopView();
    tiny.SetCurrentOrigin(1, 1e-5f);
    tiny.SetCurrentOrigin(2, 0.1f);
    EXPECT_EQ(tiny.Serialize(), QStringLiteral("v1;1;0;1;2;50;10;100000;1E-05;0.1;0;0;0"));
}

TEST(CView, RoundTripKeepsEveryWrittenField)
{
    const std::pair<const char*, const char*> locales[] = {
        {"C", "."}, {"de_DE.UTF-8", ","}, {"fr_FR.UTF-8", ","}};
    for (const auto& [locale, decimalPoint] : locales) {
        SCOPED_TRACE(locale);
        LocaleScope scope(locale);
        ASSERT_TRUE(scope.Took(decimalPoint)) << locale << " is not installed";
        CView source = SideView();
        // A float that seven digits do not hold exactly.
        source.SetCurrentOrigin(1, 1234.5677f);
        source.SetCurrentOrigin(2, -0.1f);
        const QString text = source.Serialize();
        EXPECT_FALSE(text.contains(QLatin1Char(',')));
        CView read = TopView();
        ASSERT_TRUE(read.Deserialize(text));
        EXPECT_EQ(read, source);
    }
}

struct CurrentFormCase
{
    const char* text;
    int32_t scale;
    float origin1;
    float origin2;
    bool ruler;
    bool grid;
    bool aa;
};

TEST(CView, CurrentFormReadsAndNormalizes)
{
    const CurrentFormCase cases[] = {
        {"v1;1;0;1;2;50;10;100000;0;0;-1;0;-1", 50, 0, 0, true, false, true},
        {"v1;1;0;1;2;0;10;100000;0;0;0;0;0", 1, 0, 0, false, false, false},
        {"v1;1;0;1;2;-5;10;100000;0;0;0;0;0", 1, 0, 0, false, false, false},
        {"v1;1;0;1;2;20000;10;100000;0;0;0;0;0", 10000, 0, 0, false, false, false},
        {"v1;1;0;1;2;50;10;100000;60000;-70000;0;0;0", 50, 50000, -50000, false, false, false},
        {"  v1;1;0;1;2;50;10;100000;1.5;2;0;2;0  ", 50, 1.5f, 2, false, true, false},
        // Booleans are read by number: a word reads as 0.
        {"v1;1;0;1;2;50;10;100000;0;0;True;0;0", 50, 0, 0, false, false, false},
        // A comma ends the number; a fraction of one half rounds to even.
        {"v1;1;0;1;2;12.5;10;100000;3,75;0;0;0;0", 12, 3, 0, false, false, false},
        {"v1;1;0;1;2;13.5abc;10;100000;0;0;0;0;0", 14, 0, 0, false, false, false},
        // Pieces after the thirteenth are ignored.
        {"v1;1;0;1;2;50;10;100000;0;0;0;0;0;junk;-1", 50, 0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CView v = SideView();
        ASSERT_TRUE(v.Deserialize(QString::fromLatin1(c.text)));
        EXPECT_EQ(v.ViewFlag(), 1);
        EXPECT_EQ(v.HAxis(), 0);
        EXPECT_EQ(v.VAxis(), 1);
        EXPECT_EQ(v.DAxis(), 2);
        EXPECT_EQ(v.ScaleIndex(), c.scale);
        EXPECT_EQ(v.CurrentOrigin(1), c.origin1);
        EXPECT_EQ(v.CurrentOrigin(2), c.origin2);
        EXPECT_EQ(v.ShowRuler(), c.ruler);
        EXPECT_EQ(v.ShowGrid(), c.grid);
        EXPECT_EQ(v.EnableAA(), c.aa);
    }
}

TEST(CView, NumberThatDoesNotFitLeavesItsField)
{
    CView v = SideView();
    ASSERT_TRUE(v.Deserialize(QStringLiteral("v1;1;0;1;2;1e12;10;100000;1e300;4;0;0;0")));
    EXPECT_EQ(v.ScaleIndex(), 7);
    EXPECT_EQ(v.CurrentOrigin(1), -12.25f);
    EXPECT_EQ(v.CurrentOrigin(2), 4.0f);
}

// Texts refused with false; the view stays exactly as it was.
TEST(CView, RefusedTextsChangeNothing)
{
    const char* const texts[] = {
        "",
        "ab",
        "  ab  ",
        "v1",
        // twelve fields
        "v1;1;0;1;2;50;10;100000;0;0;0;0",
        // fields a damaged file could hold, which would index out of range
        "v1;3;0;1;2;50;10;100000;0;0;0;0;0",
        "v1;0;0;1;2;50;10;100000;0;0;0;0;0",
        "v1;1;0;1;3;50;10;100000;0;0;0;0;0",
        "v1;1;-1;1;2;50;10;100000;0;0;0;0;0",
        "v1;1;0;0;2;50;10;100000;0;0;0;0;0",
        "v1;1;0;1;2;50;0;100000;0;0;0;0;0",
        "v1;1;0;1;2;50;-10;100000;0;0;0;0;0",
        "v1;1;0;1;2;50;10;5;0;0;0;0;0",
        "v1;1;x;y;z;50;10;100000;0;0;0;0;0",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        CView v = SideView();
        EXPECT_FALSE(v.Deserialize(QString::fromLatin1(text)));
        EXPECT_EQ(v, SideView());
    }
}

TEST(CView, OlderFormInvariantNumbers)
{
    CView v = SideView();
    ASSERT_TRUE(v.Deserialize(QStringLiteral("5;100.5;-200;True;False;1"), true));
    EXPECT_EQ(v.ScaleIndex(), 5);
    EXPECT_EQ(v.CurrentOrigin(1), 100.5f);
    EXPECT_EQ(v.CurrentOrigin(2), -200.0f);
    EXPECT_TRUE(v.ShowRuler());
    EXPECT_FALSE(v.ShowGrid());
    EXPECT_TRUE(v.EnableAA());
    // The view bit, the axes and the sizes are not part of the older form.
    EXPECT_EQ(v.ViewFlag(), 4);
    EXPECT_EQ(v.HAxis(), 1);
    EXPECT_EQ(v.VAxis(), 2);
    EXPECT_EQ(v.DAxis(), 0);
    EXPECT_EQ(v.MinSize(), 10);
}

TEST(CView, OlderFormReadsOnlyThePiecesPresent)
{
    CView v = SideView();
    ASSERT_TRUE(v.Deserialize(QStringLiteral("9;75000"), true));
    EXPECT_EQ(v.ScaleIndex(), 9);
    EXPECT_EQ(v.CurrentOrigin(1), 50000.0f);  // normalized
    EXPECT_EQ(v.CurrentOrigin(2), 300.5f);
    EXPECT_TRUE(v.ShowRuler());
    EXPECT_TRUE(v.EnableAA());
}

TEST(CView, OlderFormUnreadablePieces)
{
    // Invariant: no number reads as 0, then the zoom step is normalized.
    CView invariant = SideView();
    ASSERT_TRUE(invariant.Deserialize(QStringLiteral("abc"), true));
    EXPECT_EQ(invariant.ScaleIndex(), 1);

    // The user's locale: a piece that does not convert keeps its field.
    CView local = SideView();
    ASSERT_TRUE(local.Deserialize(QStringLiteral("abc"), false));
    EXPECT_EQ(local.ScaleIndex(), 7);

    CView words = SideView();
    ASSERT_TRUE(words.Deserialize(QStringLiteral("x;y;z;maybe;yes;no"), false));
    EXPECT_EQ(words, SideView());
}

TEST(CView, OlderFormInTheUsersLocale)
{
    LocaleScope scope("de_DE.UTF-8");
    ASSERT_TRUE(scope.Took(",")) << "de_DE.UTF-8 is not installed";
    CView v = SideView();
    ASSERT_TRUE(v.Deserialize(QStringLiteral("6;100,5;-2,25;0;-1;0"), false));
    EXPECT_EQ(v.ScaleIndex(), 6);
    EXPECT_EQ(v.CurrentOrigin(1), 100.5f);
    EXPECT_EQ(v.CurrentOrigin(2), -2.25f);
    EXPECT_FALSE(v.ShowRuler());
    EXPECT_TRUE(v.ShowGrid());
    EXPECT_FALSE(v.EnableAA());

    // The same text read as invariant numbers: the comma ends each origin.
    CView inv = SideView();
    ASSERT_TRUE(inv.Deserialize(QStringLiteral("6;100,5;-2,25;0;-1;0"), true));
    EXPECT_EQ(inv.CurrentOrigin(1), 100.0f);
    EXPECT_EQ(inv.CurrentOrigin(2), -2.0f);
}

TEST(CView, OlderFormWithoutSizesKeepsTheZoomStepAsRead)
{
    CView v;  // MinSize 0: nothing to normalize the zoom step against
    ASSERT_TRUE(v.Deserialize(QStringLiteral("-3;0;0"), true));
    EXPECT_EQ(v.ScaleIndex(), -3);
}
