#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// What the point grid's wrapper and its owner use of a grid control: a flex
// grid whose cells are addressed (row, column) from 0, the fixed rows and
// columns first. Sizes and positions are in twips. Cell indexes outside the
// grid raise RuvError 9; invalid property values raise RuvError 5.
//
// Colours are 0xBBGGRR, as RGB() builds them.
class IFlexgrid
{
public:
    // The selected block, normalised (First <= Last).
    struct SelectionRange
    {
        int32_t FirstColumn = 0;
        int32_t LastColumn = 0;
        int32_t FirstRow = 0;
        int32_t LastRow = 0;
    };

    static constexpr int32_t RGB(int32_t r, int32_t g, int32_t b) { return r | (g << 8) | (b << 16); }

    virtual ~IFlexgrid() = default;

    // Counts. FixedRows and FixedCols are 0 or 1 and, when set, below Rows
    // and Cols; Rows and Cols never go below them.
    virtual int32_t Rows() const = 0;
    virtual void SetRows(int32_t rows) = 0;
    virtual int32_t Cols() const = 0;
    virtual void SetCols(int32_t cols) = 0;
    virtual int32_t FixedRows() const = 0;
    virtual void SetFixedRows(int32_t rows) = 0;
    virtual int32_t FixedCols() const = 0;
    virtual void SetFixedCols(int32_t cols) = 0;

    virtual QString TextMatrix(int32_t row, int32_t col) const = 0;
    virtual void SetTextMatrix(int32_t row, int32_t col, const QString& text) = 0;

    virtual int32_t ColWidth(int32_t col) const = 0;
    virtual void SetColWidth(int32_t col, int32_t twips) = 0;
    // The column's left edge from the grid's left, scrolling included.
    virtual int32_t ColPos(int32_t col) const = 0;
    virtual int32_t RowHeight(int32_t row) const = 0;

    // Alignment codes 0 to 8: 3 x horizontal (left, centre, right) +
    // vertical (top, centre, bottom).
    virtual void SetColAlignment(int32_t col, int32_t alignment) = 0;
    virtual void SetFixedAlignment(int32_t col, int32_t alignment) = 0;

    // The current cell; setting Row or Col collapses RowSel or ColSel onto
    // it. RowSel and ColSel are the far corner of the selected block and may
    // lie above or left of the current cell.
    virtual int32_t Row() const = 0;
    virtual void SetRow(int32_t row) = 0;
    virtual int32_t Col() const = 0;
    virtual void SetCol(int32_t col) = 0;
    virtual int32_t RowSel() const = 0;
    virtual void SetRowSel(int32_t row) = 0;
    virtual int32_t ColSel() const = 0;
    virtual void SetColSel(int32_t col) = 0;
    virtual SelectionRange Selection() const = 0;
    // Current cell at the block's first row and column, far corner at its
    // last ones.
    virtual void SetSelection(const SelectionRange& selection) = 0;
    // The first data row shown.
    virtual int32_t TopRow() const = 0;
    virtual void SetTopRow(int32_t row) = 0;

    // 0: the cell colours apply to the current cell, 1: to every selected
    // cell.
    virtual int32_t FillStyle() const = 0;
    virtual void SetFillStyle(int32_t style) = 0;
    virtual void SetCellForeColor(int32_t colour) = 0;
    virtual void SetCellBackColor(int32_t colour) = 0;
    // The text colour of cells without one of their own.
    virtual void SetForeColor(int32_t colour) = 0;

    // The grid paints only while both are true.
    virtual bool Redraw() const = 0;
    virtual void SetRedraw(bool on) = 0;
    virtual bool DrawingEnabled() const = 0;
    virtual void SetDrawingEnabled(bool on) = 0;

    virtual bool EditLocked() const = 0;
    virtual void SetEditLocked(bool locked) = 0;
    virtual bool EditNumericOnly() const = 0;
    virtual void SetEditNumericOnly(bool numericOnly) = 0;
    virtual int16_t EditDecimals() const = 0;
    virtual void SetEditDecimals(int16_t decimals) = 0;

    // The grid's window; null for a grid without one.
    virtual QWidget* hWnd() const = 0;

    // Empties every cell, fixed ones included; the shape stays.
    virtual void Clear() = 0;
    virtual void Refresh() = 0;
    // Selects every cell of the row; extend keeps the current row, so that
    // the block reaches from it to this row.
    virtual void SelectRow(int32_t row, bool extend) = 0;
};
