// The grid wrapper and its column definitions over a recording grid.

#include "C3DCurve.h"
#include "CFlexgridColumn.h"
#include "CFlexgridWrapper.h"
#include "CTooltip.h"
#include "ErrorNumber.h"
#include "PointGridColumns.h"
#include "RecordingGrid.h"
#include "RuvError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Columns = CFlexgridWrapper::Columns;

// Points 1..n at x = 10 i, y = -i, z = i / 2, time i / 4 s, command "cmd i".
C3DCurve MakeCurve(int n)
{
    C3DCurve c;
    for (int i = 1; i <= n; ++i) {
        c.AddControl3(10.0f * i, -1.0f * i, 0.5f * i, 0, 0, 0, true);
        c.SetCommand(i, QStringLiteral("cmd %1").arg(i));
    }
    return c;
}

std::shared_ptr<CFlexgridColumn> Column(int32_t property, bool readOnly = false, int16_t decimals = 2,
                                        int32_t type = 4)
{
    return CFlexgridColumn::NewColumn(QStringLiteral("p%1").arg(property), 4, 8, 40, property, readOnly, decimals,
                                      type);
}

// Row numbers, then x (2 decimals), y read-only, z (1 decimal).
Columns Small()
{
    return {Column(-1, true, -1, 1), Column(1), Column(2, true), Column(3, false, 1)};
}

class LocaleScope
{
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

} // namespace

TEST(CFlexgridColumn, NewColumnLeavesTheColumnItIsCalledOnAndSharesNothing)
{
    CFlexgridColumn factory;
    factory.Initialize(QStringLiteral("old"), 1, 2, 3, 4, true, 5, 8);
    const auto made = factory.NewColumn(QStringLiteral("x"), 4, 8, 59, 1, false, 2, 4);
    EXPECT_EQ(factory.Caption(), QStringLiteral("old"));
    EXPECT_EQ(factory.PropertyId(), 4);
    EXPECT_NE(made.get(), &factory);
    EXPECT_EQ(made->Caption(), QStringLiteral("x"));
    EXPECT_EQ(made->HeaderAlignment(), 4);
    EXPECT_EQ(made->CellAlignment(), 8);
    EXPECT_EQ(made->Width(), 59);
    EXPECT_EQ(made->PropertyId(), 1);
    EXPECT_FALSE(made->ReadOnly());
    EXPECT_EQ(made->NumberFormatDecimal(), 2);
    EXPECT_EQ(made->ValueType(), 4);
}

TEST(CFlexgridWrapper, InitializeShapesTheGridFromTheBaseTab)
{
    RecordingGrid grid;
    CFlexgridWrapper w;
    const Columns base = PointGridColumns::Tab(0);
    w.Initialize(&grid, base);
    EXPECT_EQ(w.Grid(), &grid);
    EXPECT_TRUE(grid.cleared);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 10);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.FillStyle(), 1);
    EXPECT_EQ(grid.foreColor, IFlexgrid::RGB(101, 109, 124));
    // The row-number column has no decimals: numbers-only stays off for the
    // owner to switch on.
    EXPECT_FALSE(grid.EditNumericOnly());
    EXPECT_EQ(grid.EditDecimals(), 2);
    EXPECT_EQ((std::array{grid.Row(), grid.Col()}), (std::array{0, 0}));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(grid.TextMatrix(0, k), base[static_cast<size_t>(k)]->Caption());
        EXPECT_EQ(grid.ColWidth(k), base[static_cast<size_t>(k)]->Width() * 15);
        EXPECT_EQ(grid.fixedAlignment[static_cast<size_t>(k)], 4);
    }
    EXPECT_EQ(grid.colAlignment[7], 5);
    EXPECT_EQ(grid.colAlignment[1], 8);
    ASSERT_NE(w.Tooltip(), nullptr);
    EXPECT_EQ(w.Tooltip()->Text(), QString());
    // The very objects of the caller are kept.
    base[1]->SetReadOnly(true);
    bool cancel = false;
    grid.SetSelection({1, 1, 0, 0});
    w.Flexgrid_EditBeforeEnter(cancel);
    EXPECT_TRUE(cancel);
}

TEST(CFlexgridWrapper, NumbersOnlyEditingFollowsTheDecimalsOfEveryColumn)
{
    struct Case { std::vector<int16_t> decimals; bool numeric; int16_t editDecimals; };
    const Case cases[] = {
        {{0, 2, 3, 1}, true, 3},
        {{2, 0}, true, 2},
        {{0, 0}, true, 0},
        {{2, -1, 3}, false, 2},  // left as it was
        {{-1, 5}, false, 2},
    };
    for (const Case& c : cases) {
        RecordingGrid grid;
        Columns columns;
        for (size_t i = 0; i < c.decimals.size(); ++i)
            columns.push_back(Column(static_cast<int32_t>(i) + 1, false, c.decimals[i]));
        CFlexgridWrapper w;
        w.Initialize(&grid, columns);
        EXPECT_EQ(grid.EditNumericOnly(), c.numeric);
        EXPECT_EQ(grid.EditDecimals(), c.editDecimals);
    }
}

TEST(CFlexgridWrapper, FewerThanTwoColumnsAndARepeatedPropertyAreRefused)
{
    for (const Columns& few : {Columns{}, Columns{Column(-1, true, -1, 1)}}) {
        RecordingGrid grid;
        CFlexgridWrapper w;
        QString source;
        QString text;
        EXPECT_EQ(ErrorNumber([&] { w.Initialize(&grid, few); }, &text, &source), int32_t(0x80040001u));
        EXPECT_EQ(source, QStringLiteral("CFlexgridWrapper.fInitializeFlexgridColumns"));
        EXPECT_EQ(text, QStringLiteral("Invalid columns definition. The number of columns must be greater than "
                                       "the number of header columns."));
        // The settings before the shaping stay, the shape does not change.
        EXPECT_EQ(grid.FillStyle(), 1);
        EXPECT_FALSE(grid.cleared);
        EXPECT_EQ(grid.Cols(), 2);
    }
    RecordingGrid grid;
    CFlexgridWrapper w;
    EXPECT_EQ(ErrorNumber([&] { w.Initialize(&grid, {Column(-1), Column(1), Column(2), Column(1)}); }),
              RuvError::DuplicateKey);
    EXPECT_EQ(grid.FillStyle(), 0);
    EXPECT_TRUE(w.HasProperty(2));
    EXPECT_EQ(ErrorNumber([&] { w.Initialize(&grid, {Column(-1), nullptr}); }), RuvError::InvalidArgument);
}

TEST(CFlexgridWrapper, NoCurveAndNoPointsLeaveTheHeaderRowWithNothingSelected)
{
    const C3DCurve empty;
    const C3DCurve three = MakeCurve(3);
    for (const C3DCurve* curve : {static_cast<const C3DCurve*>(nullptr), &empty}) {
        RecordingGrid grid;
        CFlexgridWrapper w;
        w.Initialize(&grid, Small());
        w.Reload(&three);
        grid.SetRow(2);
        grid.SetCol(2);
        w.Reload(curve);
        EXPECT_EQ(grid.Rows(), 1);
        EXPECT_EQ((std::array{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}), (std::array{0, 0, 0, 0}));
        EXPECT_TRUE(grid.DrawingEnabled());
        EXPECT_EQ(grid.ColWidth(1), 600);
    }
}

TEST(CFlexgridWrapper, RowNumbersAreRightAlignedInThreeCharacters)
{
    const std::pair<int, const char*> cases[] = {{7, "  7"}, {42, " 42"}, {123, "123"}, {1234, "234"}, {1, "  1"}};
    for (const auto& [row, text] : cases)
        EXPECT_EQ(CFlexgridWrapper::RowNumberText(row), QString::fromLatin1(text)) << row;

    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, Small());
    const C3DCurve curve = MakeCurve(12);
    w.Reload(&curve);
    EXPECT_EQ(grid.TextMatrix(7, 0), QStringLiteral("  7"));
    EXPECT_EQ(grid.TextMatrix(12, 0), QStringLiteral(" 12"));
}

TEST(CFlexgridWrapper, NumbersFollowTheUsersLocale)
{
    C3DCurve curve = MakeCurve(4);
    curve.SetValue(1, 1, TaggedValue(0.5f));
    curve.SetValue(2, 1, TaggedValue(-3.0f));
    curve.SetValue(3, 1, TaggedValue(12345.678f));
    curve.SetValue(4, 1, TaggedValue(0.1f));
    struct Case { QLocale locale; QStringList x; QStringList general; };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), {"0.50", "-3.00", "12345.68", "0.10"}, {"0.5", "-3", "12345.678", "0.1"}},
        {QLocale(QLocale::French, QLocale::France), {"0,50", "-3,00", "12345,68", "0,10"}, {"0,5", "-3", "12345,678", "0,1"}},
    };
    for (const Case& c : cases) {
        LocaleScope scope(c.locale);
        ASSERT_EQ(QLocale().decimalPoint(), c.locale.decimalPoint());
        RecordingGrid grid;
        CFlexgridWrapper w;
        // x formatted, x again as a number without decimals, the command
        // as a text, and a column without a property.
        w.Initialize(&grid, {Column(-1, true, -1, 1), Column(1), Column(2, false, -1), Column(25, false, -1, 8),
                             Column(0, false, 2)});
        w.Reload(&curve);
        QStringList x;
        QStringList general;
        for (int r = 1; r <= 4; ++r) {
            x << grid.TextMatrix(r, 1);
            EXPECT_EQ(grid.TextMatrix(r, 3), QStringLiteral("cmd %1").arg(r));
            EXPECT_EQ(grid.TextMatrix(r, 4), QString());
        }
        EXPECT_EQ(x, c.x);
        // The general form of the grid: y = -r, then the x values again.
        for (int r = 1; r <= 4; ++r)
            curve.SetValue(r, 2, curve.value(r, 1));
        w.UpdateColumn(&curve, 2);
        for (int r = 1; r <= 4; ++r)
            general << grid.TextMatrix(r, 2);
        EXPECT_EQ(general, c.general);
        for (int r = 1; r <= 4; ++r)
            curve.SetValue(r, 2, TaggedValue(-1.0f * r));
    }
}

TEST(CFlexgridWrapper, RowsAndReadOnlyColumnsAreColoured)
{
    RecordingGrid grid;
    grid.SetRedraw(false);
    CFlexgridWrapper w;
    w.Initialize(&grid, Small());
    const C3DCurve curve = MakeCurve(4);
    w.Reload(&curve);
    for (int r = 1; r <= 4; ++r) {
        const int32_t back = r % 2 == 1 ? IFlexgrid::RGB(224, 222, 220) : IFlexgrid::RGB(245, 242, 240);
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(grid.CellAt(r, c).back, back) << r << "," << c;
            EXPECT_EQ(grid.CellAt(r, c).fore, c == 2 ? IFlexgrid::RGB(128, 128, 128) : IFlexgrid::RGB(41, 40, 40))
                << r << "," << c;
        }
    }
    // The saved Redraw is given back at the outermost bracket only.
    EXPECT_FALSE(grid.Redraw());
    EXPECT_EQ(grid.switches, (QStringList{"R0", "D0", "R0", "R0", "D1"}));
    grid.SetRedraw(true);
    grid.switches.clear();
    w.Reload(&curve);
    EXPECT_EQ(grid.switches, (QStringList{"D0", "R0", "R1", "D1"}));
}

TEST(CFlexgridWrapper, ASelectionPastTheEndIsFittedAfterReload)
{
    struct Case { IFlexgrid::SelectionRange before; std::array<int, 2> rows; };
    const Case cases[] = {
        {{1, 2, 3, 9}, {3, 5}},  // cut back to the last row
        {{1, 1, 7, 9}, {5, 5}},  // started past it: the last row alone
        {{2, 3, 2, 4}, {2, 4}},  // inside: kept
        {{0, 0, 0, 0}, {0, 0}},
    };
    const C3DCurve nine = MakeCurve(9);
    const C3DCurve five = MakeCurve(5);
    for (const Case& c : cases) {
        RecordingGrid grid;
        CFlexgridWrapper w;
        w.Initialize(&grid, Small());
        w.Reload(&nine);
        grid.SetSelection(c.before);
        w.Reload(&five);
        const IFlexgrid::SelectionRange s = grid.Selection();
        EXPECT_EQ((std::array{s.FirstRow, s.LastRow}), c.rows);
        EXPECT_EQ((std::array{s.FirstColumn, s.LastColumn}), (std::array{c.before.FirstColumn, c.before.LastColumn}));
    }
    // A block the grid refuses is ignored.
    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, Small());
    w.Reload(&five);
    grid.SetSelection({1, 1, 2, 2});
    w.SetSelection({1, 8, 1, 1});
    EXPECT_EQ(grid.Row(), 2);
}

TEST(CFlexgridWrapper, AReadOnlyColumnInTheSelectionKeepsTheEditorClosed)
{
    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, Small());
    const C3DCurve curve = MakeCurve(3);
    w.Reload(&curve);
    struct Case { int first; int last; bool cancel; };
    for (const Case& c : {Case{1, 3, true}, Case{2, 2, true}, Case{1, 1, false}, Case{3, 3, false},
                          Case{0, 1, true}}) {
        grid.SetSelection({c.first, c.last, 1, 2});
        bool cancel = false;
        w.Flexgrid_EditBeforeEnter(cancel);
        EXPECT_EQ(cancel, c.cancel) << c.first << "-" << c.last;
    }
}

TEST(CFlexgridWrapper, UpdatesTouchOnlyTheirCellsAndOnlyDataRows)
{
    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, Small());
    C3DCurve curve = MakeCurve(5);
    w.Reload(&curve);
    curve.SetValue(2, 1, TaggedValue(7.25f));
    curve.SetValue(2, 3, TaggedValue(1.25f));

    grid.writes.clear();
    const int32_t properties[] = {-1, 3, 24, 0, 1, -1, -1, -1, -1, -1};
    w.UpdateCells(&curve, 2, properties);
    EXPECT_EQ(grid.writes, (QStringList{"2,3", "2,1"}));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("7.25"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("1.2"));

    // The curve and the grid disagree: rows that are not data rows of the
    // grid, or not points of the curve, are skipped.
    grid.writes.clear();
    const C3DCurve longer = MakeCurve(8);
    const C3DCurve shorter = MakeCurve(3);
    for (int row : {0, 6, 7, -1}) {
        w.UpdateRow(&longer, row);
        w.UpdateCell(&longer, row, 1);
        w.UpdateCells(&longer, row, properties);
    }
    w.UpdateRow(&shorter, 4);
    w.UpdateCell(&shorter, 5, 1);
    w.UpdateCell(nullptr, 2, 1);
    w.UpdateRow(nullptr, 2);
    // The row-number column is no property column.
    w.UpdateCell(&curve, 2, -1);
    EXPECT_TRUE(grid.writes.isEmpty()) << grid.writes.join(' ').toStdString();

    // UpdateColumn stops at the grid's last row.
    w.UpdateColumn(&longer, 1);
    EXPECT_EQ(grid.writes, (QStringList{"1,1", "2,1", "3,1", "4,1", "5,1"}));
    grid.writes.clear();
    w.UpdateColumn(&shorter, 3);
    EXPECT_EQ(grid.writes, (QStringList{"1,3", "2,3", "3,3"}));
    grid.writes.clear();
    w.UpdateColumn(&longer, 24);
    w.UpdateColumn(nullptr, 1);
    EXPECT_TRUE(grid.writes.isEmpty());
    EXPECT_TRUE(grid.DrawingEnabled());

    w.UpdateRow(&curve, 4);
    EXPECT_EQ(grid.writes, (QStringList{"4,0", "4,1", "4,2", "4,3"}));
}

TEST(CFlexgridWrapper, ColumnQueries)
{
    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, {Column(-1, true, -1, 1), Column(1), Column(25, false, -1, 8), Column(9, false, 0, 2)});
    EXPECT_TRUE(w.HasProperty(25));
    EXPECT_TRUE(w.HasProperty(-1));
    EXPECT_FALSE(w.HasProperty(2));
    EXPECT_EQ(w.ColumnIndex(25), 2);
    EXPECT_EQ(w.ColumnIndex(2), -1);
    EXPECT_EQ(w.PointProperty(3), 9);
    EXPECT_EQ(w.PointProperty(0), -1);
    EXPECT_EQ(ErrorNumber([&] { w.PointProperty(4); }), RuvError::IndexOutOfRange);
    EXPECT_EQ(ErrorNumber([&] { w.PointProperty(-1); }), RuvError::IndexOutOfRange);
    EXPECT_EQ(w.ColumnCount(), 4);
    const std::tuple<int, int, bool> types[] = {{0, 1, false}, {1, 4, true}, {2, 8, false}, {3, 2, true},
                                                {4, 1, false}, {-1, 1, false}};
    for (const auto& [column, type, numeric] : types) {
        EXPECT_EQ(w.ColumnDataType(column), type) << column;
        EXPECT_EQ(w.IsColumnNumeric(column), numeric) << column;
    }
}

TEST(CFlexgridWrapper, TheHeaderTooltipChangesOncePerHeader)
{
    RecordingGrid grid;
    CFlexgridWrapper w;
    w.Initialize(&grid, Small()); // four columns of 600 twips, header 240 high
    const C3DCurve curve = MakeCurve(3);
    w.Reload(&curve);
    CTooltip& tip = *w.Tooltip();
    w.SetHeaderTooltips({QStringLiteral("number"), QStringLiteral("x"), QStringLiteral("y")});
    w.Flexgrid_MouseMove(0, 0, 700, 100);
    EXPECT_EQ(tip.Text(), QStringLiteral("x"));
    // Moving within the same header leaves the tip alone.
    tip.SetText(QStringLiteral("untouched"));
    w.Flexgrid_MouseMove(0, 0, 1100, 240);
    EXPECT_EQ(tip.Text(), QStringLiteral("untouched"));
    w.Flexgrid_MouseMove(0, 0, 1200, 10);
    EXPECT_EQ(tip.Text(), QStringLiteral("y"));
    w.Flexgrid_MouseMove(0, 0, 1900, 10);
    EXPECT_EQ(tip.Text(), QString()); // column 3 has no text
    // Onto a data row: emptied once.
    w.Flexgrid_MouseMove(0, 0, 100, 10);
    EXPECT_EQ(tip.Text(), QStringLiteral("number"));
    w.Flexgrid_MouseMove(0, 0, 100, 241);
    EXPECT_EQ(tip.Text(), QString());
    tip.SetText(QStringLiteral("untouched"));
    w.Flexgrid_MouseMove(0, 0, 700, 500);
    w.Flexgrid_MouseMove(0, 0, 5000, 10);
    EXPECT_EQ(tip.Text(), QStringLiteral("untouched"));
    // New texts apply at the next move, even over the same header; an empty
    // list changes nothing.
    w.Flexgrid_MouseMove(0, 0, 100, 10);
    w.SetHeaderTooltips({QStringLiteral("n\u00b0")});
    w.SetHeaderTooltips({});
    w.Flexgrid_MouseMove(0, 0, 100, 10);
    EXPECT_EQ(tip.Text(), QStringLiteral("n\u00b0"));
}
