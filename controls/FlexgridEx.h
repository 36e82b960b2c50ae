#pragma once

// The point grid control: a flex grid with an in-cell editor, on a
// QTableWidget. The fixed row and column are the table's header views, so
// they stay in place while the cells scroll: cell (0, k) is the horizontal
// header, (r, 0) the vertical one and (0, 0) the corner; the data cells of
// the table are shifted by one.
//
// The grid owns its selection as a flex grid does (current cell and far
// corner, one block); the table's own selection only shows it. Rows are 16
// pixels high. Events are raised with the grid's own arguments by
// reference: keys as virtual keys with Shift 1, Ctrl 2, Alt 4 (a handler
// that sets KeyCode to 0 swallows the key), mouse buttons 1 left, 2 right,
// 4 middle with X and Y in twips from the grid's top left, header included.

#include "IFlexgrid.h"

#include <QAbstractItemDelegate>
#include <QPointer>
#include <QRegion>
#include <QTableWidget>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QLineEdit;

class FlexgridEx : public QTableWidget, public IFlexgrid
{
    Q_OBJECT

public:
    static constexpr int RowPixels = 16;
    static constexpr int DefaultColPixels = 64;

    explicit FlexgridEx(QWidget* parent = nullptr);
    ~FlexgridEx() override;

    using QTableWidget::edit;

    int32_t Rows() const override { return m_rows; }
    void SetRows(int32_t rows) override;
    int32_t Cols() const override { return m_cols; }
    void SetCols(int32_t cols) override;
    int32_t FixedRows() const override { return m_fixedRows; }
    void SetFixedRows(int32_t rows) override;
    int32_t FixedCols() const override { return m_fixedCols; }
    void SetFixedCols(int32_t cols) override;

    QString TextMatrix(int32_t row, int32_t col) const override;
    void SetTextMatrix(int32_t row, int32_t col, const QString& text) override;

    int32_t ColWidth(int32_t col) const override;
    void SetColWidth(int32_t col, int32_t twips) override;
    int32_t ColPos(int32_t col) const override;
    int32_t RowHeight(int32_t row) const override;
    void SetColAlignment(int32_t col, int32_t alignment) override;
    void SetFixedAlignment(int32_t col, int32_t alignment) override;
    int32_t ColAlignment(int32_t col) const;
    int32_t FixedAlignment(int32_t col) const;

    int32_t Row() const override { return m_row; }
    void SetRow(int32_t row) override;
    int32_t Col() const override { return m_col; }
    void SetCol(int32_t col) override;
    int32_t RowSel() const override { return m_rowSel; }
    void SetRowSel(int32_t row) override;
    int32_t ColSel() const override { return m_colSel; }
    void SetColSel(int32_t col) override;
    SelectionRange Selection() const override;
    void SetSelection(const SelectionRange& selection) override;
    int32_t TopRow() const override;
    void SetTopRow(int32_t row) override;

    int32_t FillStyle() const override { return m_fillStyle; }
    void SetFillStyle(int32_t style) override;
    void SetCellForeColor(int32_t colour) override;
    void SetCellBackColor(int32_t colour) override;
    void SetForeColor(int32_t colour) override;

    bool Redraw() const override { return m_redraw; }
    void SetRedraw(bool on) override;
    bool DrawingEnabled() const override { return m_drawingEnabled; }
    void SetDrawingEnabled(bool on) override;

    bool EditLocked() const override { return m_editLocked; }
    void SetEditLocked(bool locked) override { m_editLocked = locked; }
    bool EditNumericOnly() const override { return m_numericOnly; }
    void SetEditNumericOnly(bool numericOnly) override { m_numericOnly = numericOnly; }
    int16_t EditDecimals() const override { return m_decimals; }
    void SetEditDecimals(int16_t decimals) override;

    QWidget* hWnd() const override { return const_cast<FlexgridEx*>(this); }

    void Clear() override;
    void Refresh() override;
    void SelectRow(int32_t row, bool extend) override;

    // True when `text` is a number the numeric-only editor takes whole: a
    // sign, digits, the user's decimal separator or "." and at most
    // `decimals` decimals.
    static bool IsNumberText(const QString& text, int decimals);

    // The cell editor while it is open, else null.
    QLineEdit* Editor() const;

signals:
    void EditBeforeEnter(bool& Cancel);
    void EditGotFocus();
    void EditLostFocus();
    void KeyDown(int16_t& KeyCode, int32_t& Shift);
    void KeyUp(int16_t& KeyCode, int32_t& Shift);
    void MouseDown(int32_t& Button, int32_t& Shift, float& X, float& Y);
    void MouseMove(int32_t& Button, int32_t& Shift, float& X, float& Y);
    void MouseUp(int32_t& Button, int32_t& Shift, float& X, float& Y);
    void ValueChanged();
    void GotFocus();
    void LostFocus();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyboardSearch(const QString&) override {}
    void scrollContentsBy(int dx, int dy) override;

private:
    class CellDelegate;
    class CellEditor;
    class NumberValidator;
    friend class CellDelegate;
    friend class CellEditor;

    enum class Drag { None, Cells, Rows, Cols };

    void InstallEditor();
    // Commits an open editor into its cells and closes it.
    void FinishEdit();
    void CheckRow(int32_t row, const char* member) const;
    void CheckCol(int32_t col, const char* member) const;
    QTableWidgetItem* CellItem(int qtRow, int qtCol);
    void AddHeaderItems();
    // Qt::Alignment of an alignment code.
    static Qt::Alignment AlignmentFlags(int32_t code);
    Qt::Alignment CellAlignmentOf(int qtCol) const;
    float Twips(bool horizontal) const;

    // The part of the selected block that holds data cells; false when it
    // holds none.
    bool DataBlock(const SelectionRange& block, SelectionRange& out) const;
    void ColourCells(int role, const QColor& colour);
    void SelectionMoved();
    void ShowSelection();
    void UpdatePainting();
    // Keeps a paint that comes while the drawing is off, to be asked for
    // again when it is on; false while it is on.
    bool HoldPaint(QObject* watched, QEvent* e);

    void SetBlock(int32_t row, int32_t col, int32_t rowSel, int32_t colSel);
    // Raises the key event; false when the key goes no further (the
    // editor is open, or the owner set KeyCode to 0).
    bool RaiseKey(QKeyEvent* e, void (FlexgridEx::*signal)(int16_t&, int32_t&));
    void MoveByKey(int key, bool extend, bool toEdge);
    // Writes textAt(i, j) into the data cell at row i, column j of the
    // block (none for null); true when a cell changed.
    bool WriteBlock(const SelectionRange& block, const std::function<const QString*(int, int)>& textAt);
    void Paste();
    bool AskEdit();

    bool OnMouse(QWidget* source, QMouseEvent* e);
    void DragTo(const QPoint& gridPos);
    void PaintCorner();

    int32_t m_rows = 2;
    int32_t m_cols = 2;
    int32_t m_fixedRows = 1;
    int32_t m_fixedCols = 1;
    int32_t m_row = 1;
    int32_t m_col = 1;
    int32_t m_rowSel = 1;
    int32_t m_colSel = 1;
    int32_t m_fillStyle = 0;
    bool m_redraw = true;
    bool m_drawingEnabled = true;
    bool m_painting = true;
    bool m_selectionStale = false;
    bool m_editLocked = false;
    bool m_numericOnly = false;
    int16_t m_decimals = 2;
    int m_fixedColPixels = DefaultColPixels;
    std::vector<int32_t> m_colAlignment;
    std::vector<int32_t> m_fixedAlignment;
    std::vector<std::pair<QPointer<QWidget>, QRegion>> m_unpainted;
    bool m_scrolledUnpainted = false;
    QString m_cornerText;
    QAbstractButton* m_corner = nullptr;

    Drag m_drag = Drag::None;
    // The cells an open editor writes into, and the text it committed.
    SelectionRange m_editBlock;
    QPointer<QLineEdit> m_editor;
    bool m_hasCommit = false;
    QString m_commitText;
};
