#pragma once

// Binds one grid control to one camera path through column definitions:
// shapes the grid (header row, fixed row-number column, widths,
// alignments), fills one row per control point with formatted numbers in
// the user's form, colours the cells, keeps the selection within the rows
// that exist, keeps the editor closed on read-only columns and shows a
// tooltip over each column header. It never writes into the curve, and
// keeps none: every call that reads one is given it.
//
// Coded against IFlexgrid alone. A grid whose window has been destroyed is
// let go: every call then does nothing.

#include "CFlexgridColumn.h"
#include "IFlexgrid.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class C3DCurve;
class CTooltip;

class CFlexgridWrapper
{
public:
    using Columns = std::vector<std::shared_ptr<CFlexgridColumn>>;

    static constexpr int32_t TextColour = IFlexgrid::RGB(41, 40, 40);
    static constexpr int32_t ReadOnlyTextColour = IFlexgrid::RGB(128, 128, 128);
    static constexpr int32_t BackColour = IFlexgrid::RGB(245, 242, 240);
    static constexpr int32_t AlternateBackColour = IFlexgrid::RGB(224, 222, 220);
    static constexpr int32_t GridForeColour = IFlexgrid::RGB(101, 109, 124);

    CFlexgridWrapper();
    ~CFlexgridWrapper();
    CFlexgridWrapper(const CFlexgridWrapper&) = delete;
    CFlexgridWrapper& operator=(const CFlexgridWrapper&) = delete;

    // Binds the grid and the caller's column objects and shapes the grid.
    // Fewer than two columns raise 0x80040001 (the grid keeps the editing
    // and colour settings, nothing more); a repeated PropertyId raises the
    // duplicate-key error 457 before the grid is touched.
    void Initialize(IFlexgrid* grid, const Columns& columns);
    IFlexgrid* Grid() const;
    // Hands the block back to the grid, its rows fitted into the rows that
    // exist; a grid that refuses it is ignored.
    void SetSelection(IFlexgrid::SelectionRange selection);
    // Current cell at row 0, column 0: no data cell selected.
    void ClearSelection();
    bool HasProperty(int32_t property) const;
    // The column's PropertyId; a column outside the definitions raises 9.
    int32_t PointProperty(int32_t column) const;
    // -1 when no column shows the property.
    int32_t ColumnIndex(int32_t property) const;
    int32_t ColumnCount() const;
    // One row per control point of the curve (none without a curve).
    void Reload(const C3DCurve* curve);
    // The column's value type; 1 (null) for a column outside the grid.
    int32_t ColumnDataType(int32_t column) const;
    bool IsColumnNumeric(int32_t column) const;
    // The updates touch only their cells, and skip rows that are not data
    // rows of the grid or points of the curve.
    void UpdateCell(const C3DCurve* curve, int32_t row, int32_t property);
    // Negative numbers are skipped.
    void UpdateCells(const C3DCurve* curve, int32_t row, std::span<const int32_t> properties);
    void UpdateRow(const C3DCurve* curve, int32_t row);
    void UpdateColumn(const C3DCurve* curve, int32_t property);
    // Text i becomes the tip of column i's header; an empty list changes
    // nothing.
    void SetHeaderTooltips(const QStringList& texts);
    const QStringList& HeaderTooltips() const { return m_headerTooltips; }
    // The grid's notifications, passed on by the tabbed point grid. X and Y
    // are in the units of the grid's ColPos and RowHeight.
    void Flexgrid_MouseMove(int32_t Button, int32_t Shift, float X, float Y);
    void Flexgrid_EditBeforeEnter(bool& Cancel);

    // The header tooltip (null before Initialize).
    CTooltip* Tooltip() const { return m_tooltip.get(); }
    // A row number as the fixed column shows it: right-aligned in three
    // characters, the last three kept (1234 shows "234").
    static QString RowNumberText(int32_t row);

private:
    class UpdateBracket;

    IFlexgrid* LiveGrid() const;
    void fInitializeFlexgridColumns();
    void SetColumnWidths();
    void BeginUpdate();
    void EndUpdate();
    void SelectAllDataCells();
    void ColourDataCells();
    void ColourAlternateRows();
    void ColourReadOnlyColumns();
    void ColourColumn(int32_t column, int32_t colour);
    bool IsValidColumn(int32_t column) const;
    void CreateHeaderTooltip();
    int32_t FindHeaderColumn(float X, float Y) const;
    // True when `row` is a data row of the grid and a point of the curve.
    bool IsPointRow(const C3DCurve& curve, int32_t row) const;
    QString CellText(const C3DCurve& curve, int32_t row, int32_t column) const;

    IFlexgrid* m_grid = nullptr;
    QPointer<QWidget> m_gridWindow;
    bool m_gridHasWindow = false;
    QHash<QString, int32_t> m_columnIndexByProperty;
    Columns m_columns;
    std::unique_ptr<CTooltip> m_tooltip;
    QStringList m_headerTooltips;
    int32_t m_hoverColumn = 0;
    int32_t m_updateDepth = 0;
    bool m_savedRedraw = false;
};
