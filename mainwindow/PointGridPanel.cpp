// The point grid's columns and the helpers that keep it in step with the
// curve the curve manager shows. Its event handlers are in
// PointGridPanelEdit.cpp.

#include "PointGridPanel.h"

#include "C3DCurve.h"
#include "CFlexgridColumn.h"
#include "CFlexgridWrapper.h"
#include "FlexgridEx.h"
#include "HandlerGuard.h"
#include "MControls.h"
#include "MDisplayNumber.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

// The alignment codes of the grid: 4 centred, 5 centred (the hide and
// wiggle cells), 8 right, 2 left.
struct ColumnLayout
{
    const char* caption;
    int32_t cellAlignment;
    int16_t width;
    int32_t property;
    bool readOnly;
    int16_t decimals;
};

constexpr int32_t HeaderCentred = 4;
// The fov column of the Base tab, and the widest field of view it shows.
constexpr int32_t FovColumn = 5;
constexpr double WidestFov = 179.99;

const ColumnLayout kBase[] = {
    {"n\u00B0", 8, 29, -1, true, -1}, {"time", 8, 59, 21, false, 3}, {"x", 8, 59, 1, false, 2},
    {"y", 8, 59, 2, false, 2},        {"z", 8, 59, 3, false, 2},     {"fov", 8, 38, 7, false, 2},
    {"ts", 8, 33, 8, false, 3},       {"hide", 5, 29, 9, false, 0},  {"wgA", 5, 29, 10, false, 2},
    {"wgF", 5, 29, 11, false, 0},
};
const ColumnLayout kLookAt[] = {
    {"n\u00B0", 8, 29, -1, true, -1}, {"time", 8, 59, 21, false, 3}, {"pitch", 8, 48, 4, false, 2},
    {"yaw", 8, 48, 5, false, 2},      {"roll", 5, 48, 6, false, 2},  {"x", 8, 59, 22, false, 2},
    {"y", 8, 59, 23, false, 2},       {"z", 8, 59, 24, false, 2},
};
const ColumnLayout kCmd[] = {
    {"n\u00B0", 8, 29, -1, true, -1},
    {"time", 8, 59, 21, true, 3},
    {"command", 2, 350, 25, false, -1},
};

template <size_t N>
CFlexgridWrapper::Columns MakeColumns(const ColumnLayout (&layouts)[N], int16_t& maxDecimals)
{
    const std::array<int32_t, 26> types = C3DCurve::GetPropertyTypes();
    CFlexgridWrapper::Columns columns;
    maxDecimals = 0;
    for (const ColumnLayout& c : layouts) {
        // The row-number column holds no value (type 1, null).
        const int32_t type = c.property >= 1 ? types[static_cast<size_t>(c.property)] : 1;
        columns.push_back(CFlexgridColumn::NewColumn(QString::fromUtf8(c.caption), HeaderCentred, c.cellAlignment,
                                                     c.width, c.property, c.readOnly, c.decimals, type));
        maxDecimals = std::max(maxDecimals, c.decimals);
    }
    return columns;
}

// Widens a column, never narrows it, so that the text shows whole in its
// cells in the grid's font (the cell less its text margins and grid line).
// The style cuts a text whose laid-out width, fractions of a pixel
// included, exceeds the room: the width is measured unrounded and rounded
// up, as a whole-pixel advance may fall short of it.
void FitColumnTo(FlexgridEx& grid, CFlexgridColumn& column, int32_t col, const QString& text)
{
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const auto textPixels = static_cast<int>(std::ceil(QFontMetricsF(grid.font()).horizontalAdvance(text)));
    const int pixels = textPixels + 2 * margin + (grid.showGrid() ? 1 : 0);
    // The column widths are in pixels at 96 dpi (15 twips each).
    const auto width = static_cast<int16_t>(std::ceil(pixels * MControls::TwipsPerPixel(&grid, true) / 15.0));
    if (width <= column.Width())
        return;
    column.SetWidth(width);
    grid.SetColWidth(col, width * 15);
}

}  // namespace

PointGridPanel::PointGridPanel(MainContext& context) : m_c(context)
{
    UCTabbedFlexgrid* tabs = m_c.widgets.tabbedFlexgrid;
    QObject* on = &m_connections;
    QObject::connect(tabs, &UCTabbedFlexgrid::WrapperValueChanged, on, [this](CFlexgridWrapper& wrapper) {
        RunGuarded(m_c.status, [&] { tabbedFlexgrid_WrapperValueChanged(wrapper); });
    });
    QObject::connect(tabs, &UCTabbedFlexgrid::WrapperMouseUp, on,
                     [this](CFlexgridWrapper& wrapper, int32_t& button, int32_t& shift, float&, float&) {
                         RunGuarded(m_c.status, [&] { tabbedFlexgrid_WrapperMouseUp(wrapper, button, shift); });
                     });
    QObject::connect(tabs, &UCTabbedFlexgrid::FlexgridMouseDown, on,
                     [this](FlexgridEx&, int32_t&, int32_t& shift, float&, float&) {
                         RunGuarded(m_c.status, [&] { tabbedFlexgrid_FlexgridMouseDown(shift); });
                     });
    QObject::connect(tabs, &UCTabbedFlexgrid::FlexgridKeyDown, on,
                     [this](FlexgridEx& grid, int16_t& keyCode, int32_t& shift) {
                         RunGuarded(m_c.status, [&] { tabbedFlexgrid_FlexgridKeyDown(grid, keyCode, shift); });
                     });
    QObject::connect(tabs, &UCTabbedFlexgrid::FlexgridKeyUp, on, [this](FlexgridEx&, int16_t&, int32_t&) {
        RunGuarded(m_c.status, [this] { tabbedFlexgrid_FlexgridKeyUp(); });
    });
    QObject::connect(tabs, &UCTabbedFlexgrid::FlexgridEditGotFocus, on,
                     [this](FlexgridEx&) { tabbedFlexgrid_FlexgridEditGotFocus(); });
    QObject::connect(tabs, &UCTabbedFlexgrid::FlexgridEditLostFocus, on,
                     [this](FlexgridEx&) { tabbedFlexgrid_FlexgridEditLostFocus(); });
    // The focus leaving the grid control hides the picked point's marks, as
    // a key released in it does.
    QObject::connect(qApp, &QApplication::focusChanged, on, [this, tabs](QWidget* old, QWidget* now) {
        if (old != nullptr && tabs->isAncestorOf(old) && (now == nullptr || !tabs->isAncestorOf(now)))
            RunGuarded(m_c.status, [this] { tabbedFlexgrid_FlexgridKeyUp(); });
    });
}

UCTabbedFlexgrid& PointGridPanel::Tabs() const
{
    return *m_c.widgets.tabbedFlexgrid;
}

C3DCurve* PointGridPanel::SelectedCurve() const
{
    return m_c.widgets.cmCurveManager->SelectedCurve();
}

bool PointGridPanel::IsShown(const C3DCurve* curve) const
{
    return curve != nullptr && curve == SelectedCurve();
}

int32_t PointGridPanel::TabOf(const FlexgridEx& grid) const
{
    for (int32_t i = 0; i < Tabs().ItemCount(); ++i)
        if (&Tabs().Grids(i) == &grid)
            return i;
    return -1;
}

PointGridPanel::Block PointGridPanel::SelectedBlock(const IFlexgrid& grid)
{
    Block b;
    b.firstRow = std::min(grid.Row(), grid.RowSel());
    b.lastRow = std::max(grid.Row(), grid.RowSel());
    b.firstCol = std::min(grid.Col(), grid.ColSel());
    b.lastCol = std::max(grid.Col(), grid.ColSel());
    return b;
}

// ---- Set-up ---------------------------------------------------------------------

void PointGridPanel::fDefineGridColumns()
{
    UCTabbedFlexgrid& tabs = Tabs();
    tabs.StartChange();
    int16_t decimals = 0;
    const CFlexgridWrapper::Columns baseColumns = MakeColumns(kBase, decimals);
    tabs.Add(QStringLiteral("Base"), baseColumns);
    FitColumnTo(tabs.Grids(TabBase), *baseColumns[FovColumn], FovColumn, MDisplayNumber::Format(WidestFov, 2));
    // The tabs whose values are all numbers take numbers only, with as many
    // decimals as their finest column (the row-number column kept the
    // wrapper from setting either).
    IFlexgrid* base = tabs.Wrappers(TabBase).Grid();
    base->SetEditNumericOnly(true);
    base->SetEditDecimals(decimals);
    tabs.Add(QStringLiteral("LookAt"), MakeColumns(kLookAt, decimals));
    IFlexgrid* lookAt = tabs.Wrappers(TabLookAt).Grid();
    lookAt->SetEditNumericOnly(true);
    lookAt->SetEditDecimals(decimals);
    tabs.Add(QStringLiteral("Cmd"), MakeColumns(kCmd, decimals));
    tabs.EndChange();
}

void PointGridPanel::fGridClear()
{
    Tabs().Clear();
}

bool PointGridPanel::fActiveGridSelection(int32_t& firstRow, int32_t& lastRow) const
{
    const CFlexgridWrapper* wrapper = Tabs().Selected();
    const IFlexgrid* grid = wrapper ? wrapper->Grid() : nullptr;
    if (grid == nullptr)
        return false;
    const Block b = SelectedBlock(*grid);
    if (b.firstRow < 1)
        return false;
    firstRow = b.firstRow;
    lastRow = b.lastRow;
    return true;
}

// ---- Helpers --------------------------------------------------------------------

void PointGridPanel::fGridStartChange()
{
    Tabs().StartFlexgridsChange();
}

void PointGridPanel::fGridEndChange(bool refresh)
{
    Tabs().EndFlexgridsChange(refresh);
}

void PointGridPanel::fGridReloadCurve(C3DCurve* curve)
{
    if (curve == nullptr)
        Tabs().ReloadFlexgrids(SelectedCurve());
    else if (IsShown(curve))
        Tabs().ReloadFlexgrids(curve);
}

void PointGridPanel::fGridSelectRow(C3DCurve* curve, int32_t row, bool ensureVisible)
{
    // A row the grids do not have yet (their reload comes after a change of
    // the points) is not selected.
    if (Tabs().ItemCount() < 1 || row < 1 || row >= Tabs().Grids(0).Rows())
        return;
    if (curve == nullptr || IsShown(curve))
        Tabs().SelectFlexgridsRow(row, ensureVisible);
}

void PointGridPanel::fGridClearSelection(C3DCurve* curve)
{
    if (curve == nullptr || IsShown(curve))
        Tabs().ClearFlexgridsSelection();
}

void PointGridPanel::fGridUpdateCells(C3DCurve* curve, int32_t row, const std::array<int32_t, 10>& properties)
{
    if (IsShown(curve))
        Tabs().UpdateFlexgridCells(curve, row, properties);
}

void PointGridPanel::fGridUpdateColumn(C3DCurve* curve, int32_t property)
{
    if (IsShown(curve))
        Tabs().UpdateFlexgridColumn(curve, property);
}

void PointGridPanel::fGridLockEdition(bool lock)
{
    Tabs().LockFlexgridEdition(lock);
}

void PointGridPanel::fGridSyncSelection()
{
    C3DCurve* curve = SelectedCurve();
    if (curve == nullptr)
        return;
    if (curve->SelectedCount() < 1) {
        Tabs().ClearFlexgridsSelection();
        return;
    }
    // The first block of consecutive selected points.
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t p = 1; p <= curve->ControlsCount(); ++p) {
        if (!curve->IsSelected(p))
            continue;
        if (first < 0)
            first = last = p;
        else if (p == last + 1)
            last = p;
        else
            break;
    }
    for (int32_t i = 0; i < Tabs().ItemCount(); ++i) {
        CFlexgridWrapper& wrapper = Tabs().Wrappers(i);
        IFlexgrid* grid = wrapper.Grid();
        if (grid == nullptr)
            continue;
        grid->SetRow(0);
        grid->SetCol(1);
        grid->SetColSel(grid->Cols() - 1);
        wrapper.SetSelection(IFlexgrid::SelectionRange{1, grid->Cols() - 1, first, last});
    }
}
