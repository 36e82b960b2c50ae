#pragma once

// A grid without a window for the wrapper's tests: cells, colours and the
// selection kept as a flex grid keeps them, bad indexes refused with error
// 9, and the writes that reach it recorded.

#include "IFlexgrid.h"
#include "RuvError.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

class RecordingGrid : public IFlexgrid
{
public:
    static constexpr int32_t NoColour = -1;
    static constexpr int32_t RowTwips = 240;

    struct Cell
    {
        QString text;
        int32_t fore = NoColour;
        int32_t back = NoColour;
    };

    RecordingGrid()
    {
        colAlignment.assign(2, 1);
        fixedAlignment.assign(2, 1);
    }

    // Every SetTextMatrix as "r,c", in order.
    QStringList writes;
    // Every change of Redraw and DrawingEnabled: "R0", "R1", "D0", "D1".
    QStringList switches;
    int32_t foreColor = NoColour;
    bool cleared = false;

    int32_t Rows() const override { return m_rows; }
    void SetRows(int32_t rows) override
    {
        if (rows < m_fixedRows)
            throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("Rows"));
        m_rows = rows;
        Reshape();
        m_row = std::min(m_row, std::max(0, rows - 1));
        m_rowSel = std::min(m_rowSel, std::max(0, rows - 1));
    }
    int32_t Cols() const override { return m_cols; }
    void SetCols(int32_t cols) override
    {
        if (cols < m_fixedCols)
            throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("Cols"));
        m_cols = cols;
        m_widths.resize(static_cast<size_t>(cols), 960);
        colAlignment.resize(static_cast<size_t>(cols), 1);
        fixedAlignment.resize(static_cast<size_t>(cols), 1);
        Reshape();
    }
    int32_t FixedRows() const override { return m_fixedRows; }
    void SetFixedRows(int32_t rows) override
    {
        if (rows != m_fixedRows && (rows < 0 || rows > 1 || rows >= m_rows))
            throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("FixedRows"));
        m_fixedRows = rows;
    }
    int32_t FixedCols() const override { return m_fixedCols; }
    void SetFixedCols(int32_t cols) override
    {
        if (cols != m_fixedCols && (cols < 0 || cols > 1 || cols >= m_cols))
            throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("FixedCols"));
        m_fixedCols = cols;
    }

    QString TextMatrix(int32_t row, int32_t col) const override { return At(row, col).text; }
    void SetTextMatrix(int32_t row, int32_t col, const QString& text) override
    {
        At(row, col).text = text;
        writes << QStringLiteral("%1,%2").arg(row).arg(col);
    }
    const Cell& CellAt(int32_t row, int32_t col) const { return At(row, col); }

    int32_t ColWidth(int32_t col) const override { return m_widths[Col(col)]; }
    void SetColWidth(int32_t col, int32_t twips) override { m_widths[Col(col)] = twips; }
    // Columns side by side from the left edge, no scrolling.
    int32_t ColPos(int32_t col) const override
    {
        int32_t x = 0;
        for (size_t k = 0; k < Col(col); ++k)
            x += m_widths[k];
        return x;
    }
    int32_t RowHeight(int32_t row) const override
    {
        Check(row, 0);
        return RowTwips;
    }
    std::vector<int32_t> colAlignment;
    std::vector<int32_t> fixedAlignment;
    void SetColAlignment(int32_t col, int32_t alignment) override { colAlignment[Col(col)] = alignment; }
    void SetFixedAlignment(int32_t col, int32_t alignment) override { fixedAlignment[Col(col)] = alignment; }

    int32_t Row() const override { return m_row; }
    void SetRow(int32_t row) override
    {
        Check(row, 0);
        m_row = m_rowSel = row;
    }
    int32_t Col() const override { return m_col; }
    void SetCol(int32_t col) override
    {
        Col(col);
        m_col = m_colSel = col;
    }
    int32_t RowSel() const override { return m_rowSel; }
    void SetRowSel(int32_t row) override
    {
        Check(row, 0);
        m_rowSel = row;
    }
    int32_t ColSel() const override { return m_colSel; }
    void SetColSel(int32_t col) override
    {
        Col(col);
        m_colSel = col;
    }
    SelectionRange Selection() const override
    {
        return {std::min(m_col, m_colSel), std::max(m_col, m_colSel), std::min(m_row, m_rowSel),
                std::max(m_row, m_rowSel)};
    }
    void SetSelection(const SelectionRange& s) override
    {
        Check(s.FirstRow, s.FirstColumn);
        Check(s.LastRow, s.LastColumn);
        m_row = s.FirstRow;
        m_rowSel = s.LastRow;
        m_col = s.FirstColumn;
        m_colSel = s.LastColumn;
    }
    int32_t TopRow() const override { return m_topRow; }
    void SetTopRow(int32_t row) override
    {
        Check(row, 0);
        m_topRow = row;
    }

    int32_t FillStyle() const override { return m_fillStyle; }
    void SetFillStyle(int32_t style) override { m_fillStyle = style; }
    void SetCellForeColor(int32_t colour) override { Colour(&Cell::fore, colour); }
    void SetCellBackColor(int32_t colour) override { Colour(&Cell::back, colour); }
    void SetForeColor(int32_t colour) override { foreColor = colour; }

    bool Redraw() const override { return m_redraw; }
    void SetRedraw(bool on) override
    {
        m_redraw = on;
        switches << (on ? QStringLiteral("R1") : QStringLiteral("R0"));
    }
    bool DrawingEnabled() const override { return m_drawing; }
    void SetDrawingEnabled(bool on) override
    {
        m_drawing = on;
        switches << (on ? QStringLiteral("D1") : QStringLiteral("D0"));
    }

    bool EditLocked() const override { return m_locked; }
    void SetEditLocked(bool locked) override { m_locked = locked; }
    bool EditNumericOnly() const override { return m_numeric; }
    void SetEditNumericOnly(bool numericOnly) override { m_numeric = numericOnly; }
    int16_t EditDecimals() const override { return m_decimals; }
    void SetEditDecimals(int16_t decimals) override { m_decimals = decimals; }

    QWidget* hWnd() const override { return nullptr; }
    void Clear() override
    {
        cleared = true;
        for (auto& row : m_cells)
            for (Cell& c : row)
                c = Cell();
    }
    void Refresh() override {}
    void SelectRow(int32_t row, bool extend) override
    {
        Check(row, 0);
        if (!extend)
            m_row = row;
        m_rowSel = row;
        m_col = m_fixedCols;
        m_colSel = m_cols - 1;
    }

private:
    void Check(int32_t row, int32_t col) const
    {
        if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
            throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("RecordingGrid"));
    }
    size_t Col(int32_t col) const
    {
        Check(0, col);
        return static_cast<size_t>(col);
    }
    Cell& At(int32_t row, int32_t col) const
    {
        Check(row, col);
        return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }
    void Reshape()
    {
        m_cells.resize(static_cast<size_t>(m_rows));
        for (auto& row : m_cells)
            row.resize(static_cast<size_t>(m_cols));
    }
    void Colour(int32_t Cell::*field, int32_t colour)
    {
        const SelectionRange s = m_fillStyle == 1 ? Selection() : SelectionRange{m_col, m_col, m_row, m_row};
        for (int32_t r = std::max(s.FirstRow, m_fixedRows); r <= s.LastRow; ++r)
            for (int32_t c = std::max(s.FirstColumn, m_fixedCols); c <= s.LastColumn; ++c)
                At(r, c).*field = colour;
    }

    int32_t m_rows = 2;
    int32_t m_cols = 2;
    int32_t m_fixedRows = 1;
    int32_t m_fixedCols = 1;
    int32_t m_row = 1;
    int32_t m_col = 1;
    int32_t m_rowSel = 1;
    int32_t m_colSel = 1;
    int32_t m_topRow = 1;
    int32_t m_fillStyle = 0;
    bool m_redraw = true;
    bool m_drawing = true;
    bool m_locked = false;
    bool m_numeric = false;
    int16_t m_decimals = 2;
    std::vector<int32_t> m_widths = std::vector<int32_t>(2, 960);
    mutable std::vector<std::vector<Cell>> m_cells = std::vector<std::vector<Cell>>(2, std::vector<Cell>(2));
};
