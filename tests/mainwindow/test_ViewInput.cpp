// The 2D views' origin limits, the pointer's status text and the view kinds.

#include "UserLocaleTest.h"
#include "ViewInput.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

TEST(ViewOrigin, StaysInsideTheWorldSquare)
{
    struct Case
    {
        float value;
        double extent;
        float expected;
        bool clamped;
    };
    const Case cases[] = {
        {0.0f, 1000.0, 0.0f, false},
        {49500.0f, 1000.0, 49500.0f, false},    // on the limit
        {60000.0f, 1000.0, 49500.0f, true},
        {-60000.0f, 1000.0, -49500.0f, true},
        {10.0f, 100000.0, 0.0f, true},          // exactly as wide as the world
        {10.0f, 250000.0, 0.0f, true},          // wider: stays centred
        {0.0f, 250000.0, 0.0f, false},
        {-5.0f, 250000.0, 0.0f, true},
        {std::nanf(""), 1000.0, 0.0f, true},
    };
    for (const Case& c : cases) {
        bool clamped = !c.clamped;
        EXPECT_FLOAT_EQ(ViewInput::ClampOrigin(c.value, c.extent, clamped), c.expected) << c.value << " " << c.extent;
        EXPECT_EQ(clamped, c.clamped) << c.value << " " << c.extent;
    }
}

TEST(ViewKinds, MapToTheirIndex)
{
    const int32_t kinds[] = {1, 2, 4, 8, 3, 0, 16, -1};
    const int32_t indexes[] = {0, 1, 2, 3, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_EQ(ViewInput::fViewKindToIndex(kinds[i]), indexes[i]) << kinds[i];
        EXPECT_EQ(ViewInput::fIsValidViewKind(kinds[i]), i < 4) << kinds[i];
    }
}

namespace {

class PointerStatus : public UserLocaleTest
{
protected:
    // The user's form of a number written with "," grouping and "." decimals.
    static QString Local(const char* text)
    {
        QString out;
        for (QChar c : QString::fromLatin1(text)) {
            if (c == QLatin1Char(','))
                out += QLocale().groupSeparator();
            else if (c == QLatin1Char('.'))
                out += QLocale().decimalPoint();
            else
                out += c;
        }
        return out;
    }
    static CView View(int32_t kind, int32_t h, int32_t v, int32_t d)
    {
        CView view;
        view.Initialize(kind, h, v, d, 1, 10, 100000, false, false, false);
        return view;
    }
};

}  // namespace

TEST_P(PointerStatus, AxisNamesAndPaddedCoordinatesNeverCutNorTouching)
{
    const CView xy = View(1, 0, 1, 2);
    const CView yz = View(4, 1, 2, 0);
    // Sign and every digit stay, with the user's grouping and separator.
    EXPECT_EQ(ViewInput::PointerStatusText(xy, {-12345.678f, 1.5f, 99.0f}),
              QStringLiteral("x ") + Local("-12,345.678") + QStringLiteral(" y") + Local("     1.500"));
    // Ten characters fill the width: the blank stays.
    EXPECT_EQ(ViewInput::PointerStatusText(xy, {12.0f, -1300.0f, 0.0f}),
              QStringLiteral("x") + Local("    12.000") + QStringLiteral(" y ") + Local("-1,300.000"));
    EXPECT_EQ(ViewInput::PointerStatusText(yz, {7.0f, -0.25f, 100.0f}),
              QStringLiteral("y") + Local("    -0.250") + QStringLiteral(" z") + Local("   100.000"));
    // No negative zero.
    EXPECT_EQ(ViewInput::PointerStatusText(xy, {-0.0001f, 0.0f, 0.0f}),
              QStringLiteral("x") + Local("     0.000") + QStringLiteral(" y") + Local("     0.000"));
    // The widest a world coordinate gets.
    const QString wide = ViewInput::PointerStatusText(xy, {-50000.0f, 50000.0f, 0.0f});
    EXPECT_EQ(wide, QStringLiteral("x ") + Local("-50,000.000") + QStringLiteral(" y ") + Local("50,000.000"));
}

INSTANTIATE_TEST_SUITE_P(Locales, PointerStatus, ::testing::Values("en_US", "de_DE", "fr_FR"));
