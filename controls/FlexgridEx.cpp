#include "FlexgridEx.h"

#include "MColor.h"
#include "MControls.h"
#include "RuvError.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void Raise(int32_t number, const char* member)
{
    throw RuvError::Platform(number, QStringLiteral("FlexgridEx.") + QLatin1String(member));
}

// Cell texts without the margin a focus frame would take.
class CompactCellStyle final : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_FocusFrameHMargin ? -1 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QColor ToColor(int32_t colour)
{
    const auto rgb = MColor::SplitRGB(colour);
    return QColor(rgb[0], rgb[1], rgb[2]);
}

} // namespace

FlexgridEx::FlexgridEx(QWidget* parent) : QTableWidget(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The column widths are the point table's, made for narrow digits: a
    // compact font with the text against the cell's edges keeps numbers
    // such as "1.000" whole in them.
    QFont compact = font();
    compact.setPixelSize(11);
    setFont(compact);
    auto* cellStyle = new CompactCellStyle;
    cellStyle->setParent(this);
    setStyle(cellStyle);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    // Code that moves the current cell does not scroll; keys and drags
    // scroll themselves.
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);

    QHeaderView* top = horizontalHeader();
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setDefaultSectionSize(DefaultColPixels);
    top->setMinimumSectionSize(1);
    top->setFixedHeight(RowPixels);
    top->setHighlightSections(false);
    QHeaderView* left = verticalHeader();
    left->setSectionResizeMode(QHeaderView::Fixed);
    left->setMinimumSectionSize(1);
    left->setDefaultSectionSize(RowPixels);
    left->setFixedWidth(m_fixedColPixels);
    left->setHighlightSections(false);

    InstallEditor();

    m_corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    setMouseTracking(true);
    for (QWidget* w : {viewport(), top->viewport(), left->viewport(), static_cast<QWidget*>(m_corner)}) {
        if (w == nullptr)
            continue;
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    m_colAlignment.assign(static_cast<size_t>(m_cols), 1);
    m_fixedAlignment.assign(static_cast<size_t>(m_cols), 1);
    setRowCount(m_rows - m_fixedRows);
    setColumnCount(m_cols - m_fixedCols);
    AddHeaderItems();
    ShowSelection();
}

FlexgridEx::~FlexgridEx() = default;

// ---- Shape ----------------------------------------------------------------

void FlexgridEx::CheckRow(int32_t row, const char* member) const
{
    if (row < 0 || row >= m_rows)
        Raise(RuvError::IndexOutOfRange, member);
}

void FlexgridEx::CheckCol(int32_t col, const char* member) const
{
    if (col < 0 || col >= m_cols)
        Raise(RuvError::IndexOutOfRange, member);
}

void FlexgridEx::AddHeaderItems()
{
    // Without an item of their own the header sections would show numbers.
    for (int c = 0; c < columnCount(); ++c)
        if (horizontalHeaderItem(c) == nullptr)
            setHorizontalHeaderItem(c, new QTableWidgetItem);
    for (int r = 0; r < rowCount(); ++r)
        if (verticalHeaderItem(r) == nullptr)
            setVerticalHeaderItem(r, new QTableWidgetItem);
}

void FlexgridEx::SetRows(int32_t rows)
{
    if (rows < m_fixedRows)
        Raise(RuvError::InvalidArgument, "Rows");
    if (rows == m_rows)
        return;
    FinishEdit();
    const int before = rowCount();
    m_rows = rows;
    setRowCount(rows - m_fixedRows);
    for (int r = before; r < rowCount(); ++r)
        setVerticalHeaderItem(r, new QTableWidgetItem);
    const int32_t last = std::max(0, rows - 1);
    SetBlock(std::min(m_row, last), m_col, std::min(m_rowSel, last), m_colSel);
}

void FlexgridEx::SetCols(int32_t cols)
{
    if (cols < m_fixedCols)
        Raise(RuvError::InvalidArgument, "Cols");
    if (cols == m_cols)
        return;
    FinishEdit();
    const int before = columnCount();
    m_cols = cols;
    setColumnCount(cols - m_fixedCols);
    for (int c = before; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    m_colAlignment.resize(static_cast<size_t>(cols), 1);
    m_fixedAlignment.resize(static_cast<size_t>(cols), 1);
    const int32_t last = std::max(0, cols - 1);
    SetBlock(m_row, std::min(m_col, last), m_rowSel, std::min(m_colSel, last));
}

void FlexgridEx::SetFixedRows(int32_t rows)
{
    if (rows == m_fixedRows)
        return;
    if (rows < 0 || rows > 1 || rows >= m_rows)
        Raise(RuvError::InvalidArgument, "FixedRows");
    FinishEdit();
    if (rows == 1) {
        // Data row 0 becomes the header row.
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* cell = item(0, c);
            horizontalHeaderItem(c)->setText(cell ? cell->text() : QString());
        }
        if (m_fixedCols == 1)
            m_cornerText = verticalHeaderItem(0)->text();
        removeRow(0);
    } else {
        insertRow(0);
        for (int c = 0; c < columnCount(); ++c) {
            setItem(0, c, new QTableWidgetItem(horizontalHeaderItem(c)->text()));
            horizontalHeaderItem(c)->setText(QString());
        }
        setVerticalHeaderItem(0, new QTableWidgetItem(m_cornerText));
        m_cornerText.clear();
    }
    m_fixedRows = rows;
    horizontalHeader()->setVisible(rows == 1);
    SelectionMoved();
}

void FlexgridEx::SetFixedCols(int32_t cols)
{
    if (cols == m_fixedCols)
        return;
    if (cols < 0 || cols > 1 || cols >= m_cols)
        Raise(RuvError::InvalidArgument, "FixedCols");
    FinishEdit();
    if (cols == 1) {
        for (int r = 0; r < rowCount(); ++r) {
            QTableWidgetItem* cell = item(r, 0);
            verticalHeaderItem(r)->setText(cell ? cell->text() : QString());
        }
        if (m_fixedRows == 1)
            m_cornerText = horizontalHeaderItem(0)->text();
        m_fixedColPixels = columnWidth(0);
        removeColumn(0);
        verticalHeader()->setFixedWidth(m_fixedColPixels);
    } else {
        insertColumn(0);
        for (int r = 0; r < rowCount(); ++r) {
            setItem(r, 0, new QTableWidgetItem(verticalHeaderItem(r)->text()));
            verticalHeaderItem(r)->setText(QString());
        }
        setHorizontalHeaderItem(0, new QTableWidgetItem(m_cornerText));
        m_cornerText.clear();
        setColumnWidth(0, m_fixedColPixels);
    }
    m_fixedCols = cols;
    verticalHeader()->setVisible(cols == 1);
    SelectionMoved();
}

// ---- Cells ----------------------------------------------------------------

QString FlexgridEx::TextMatrix(int32_t row, int32_t col) const
{
    CheckRow(row, "TextMatrix");
    CheckCol(col, "TextMatrix");
    const int r = row - m_fixedRows;
    const int c = col - m_fixedCols;
    if (r < 0 && c < 0)
        return m_cornerText;
    const QTableWidgetItem* cell = r < 0 ? horizontalHeaderItem(c) : c < 0 ? verticalHeaderItem(r) : item(r, c);
    return cell ? cell->text() : QString();
}

void FlexgridEx::SetTextMatrix(int32_t row, int32_t col, const QString& text)
{
    CheckRow(row, "TextMatrix");
    CheckCol(col, "TextMatrix");
    const int r = row - m_fixedRows;
    const int c = col - m_fixedCols;
    if (r < 0 && c < 0) {
        m_cornerText = text;
        if (m_corner)
            m_corner->update();
        return;
    }
    QTableWidgetItem* cell = r < 0 ? horizontalHeaderItem(c) : c < 0 ? verticalHeaderItem(r) : CellItem(r, c);
    cell->setText(text);
}

QTableWidgetItem* FlexgridEx::CellItem(int qtRow, int qtCol)
{
    QTableWidgetItem* cell = item(qtRow, qtCol);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        setItem(qtRow, qtCol, cell);
    }
    return cell;
}

float FlexgridEx::Twips(bool horizontal) const
{
    return MControls::TwipsPerPixel(this, horizontal);
}

int32_t FlexgridEx::ColWidth(int32_t col) const
{
    CheckCol(col, "ColWidth");
    const int px = col < m_fixedCols ? m_fixedColPixels : columnWidth(col - m_fixedCols);
    return static_cast<int32_t>(std::lround(px * Twips(true)));
}

void FlexgridEx::SetColWidth(int32_t col, int32_t twips)
{
    CheckCol(col, "ColWidth");
    if (twips < -1)
        Raise(RuvError::InvalidArgument, "ColWidth");
    // -1 restores the default width.
    const int px = twips == -1 ? DefaultColPixels : static_cast<int>(std::lround(twips / Twips(true)));
    if (col < m_fixedCols) {
        m_fixedColPixels = px;
        verticalHeader()->setFixedWidth(px);
    } else {
        setColumnWidth(col - m_fixedCols, px);
    }
}

int32_t FlexgridEx::ColPos(int32_t col) const
{
    CheckCol(col, "ColPos");
    int px = frameWidth();
    if (col >= m_fixedCols)
        px += (m_fixedCols == 1 ? m_fixedColPixels : 0) + columnViewportPosition(col - m_fixedCols);
    return static_cast<int32_t>(std::lround(px * Twips(true)));
}

int32_t FlexgridEx::RowHeight(int32_t row) const
{
    CheckRow(row, "RowHeight");
    const int px = row < m_fixedRows ? RowPixels : rowHeight(row - m_fixedRows);
    return static_cast<int32_t>(std::lround(px * Twips(false)));
}

Qt::Alignment FlexgridEx::AlignmentFlags(int32_t code)
{
    static constexpr Qt::AlignmentFlag horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::AlignmentFlag vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

void FlexgridEx::SetColAlignment(int32_t col, int32_t alignment)
{
    CheckCol(col, "ColAlignment");
    if (alignment < 0 || alignment > 8)
        Raise(RuvError::InvalidArgument, "ColAlignment");
    m_colAlignment[static_cast<size_t>(col)] = alignment;
    if (col >= m_fixedCols)
        viewport()->update();
}

void FlexgridEx::SetFixedAlignment(int32_t col, int32_t alignment)
{
    CheckCol(col, "FixedAlignment");
    if (alignment < 0 || alignment > 8)
        Raise(RuvError::InvalidArgument, "FixedAlignment");
    m_fixedAlignment[static_cast<size_t>(col)] = alignment;
    const Qt::Alignment flags = AlignmentFlags(alignment);
    if (col < m_fixedCols) {
        verticalHeader()->setDefaultAlignment(flags);
        if (m_corner)
            m_corner->update();
    } else if (QTableWidgetItem* header = horizontalHeaderItem(col - m_fixedCols)) {
        header->setTextAlignment(flags);
    }
}

int32_t FlexgridEx::ColAlignment(int32_t col) const
{
    CheckCol(col, "ColAlignment");
    return m_colAlignment[static_cast<size_t>(col)];
}

int32_t FlexgridEx::FixedAlignment(int32_t col) const
{
    CheckCol(col, "FixedAlignment");
    return m_fixedAlignment[static_cast<size_t>(col)];
}

Qt::Alignment FlexgridEx::CellAlignmentOf(int qtCol) const
{
    const size_t col = static_cast<size_t>(qtCol + m_fixedCols);
    return AlignmentFlags(col < m_colAlignment.size() ? m_colAlignment[col] : 1);
}

// ---- Selection --------------------------------------------------------------

void FlexgridEx::SetRow(int32_t row)
{
    CheckRow(row, "Row");
    SetBlock(row, m_col, row, m_colSel);
}

void FlexgridEx::SetCol(int32_t col)
{
    CheckCol(col, "Col");
    SetBlock(m_row, col, m_rowSel, col);
}

void FlexgridEx::SetRowSel(int32_t row)
{
    CheckRow(row, "RowSel");
    SetBlock(m_row, m_col, row, m_colSel);
}

void FlexgridEx::SetColSel(int32_t col)
{
    CheckCol(col, "ColSel");
    SetBlock(m_row, m_col, m_rowSel, col);
}

IFlexgrid::SelectionRange FlexgridEx::Selection() const
{
    SelectionRange s;
    s.FirstRow = std::min(m_row, m_rowSel);
    s.LastRow = std::max(m_row, m_rowSel);
    s.FirstColumn = std::min(m_col, m_colSel);
    s.LastColumn = std::max(m_col, m_colSel);
    return s;
}

void FlexgridEx::SetSelection(const SelectionRange& selection)
{
    CheckRow(selection.FirstRow, "Selection");
    CheckRow(selection.LastRow, "Selection");
    CheckCol(selection.FirstColumn, "Selection");
    CheckCol(selection.LastColumn, "Selection");
    SetBlock(selection.FirstRow, selection.FirstColumn, selection.LastRow, selection.LastColumn);
}

void FlexgridEx::SelectRow(int32_t row, bool extend)
{
    CheckRow(row, "SelectRow");
    const int32_t lastCol = std::max(m_fixedCols, m_cols - 1);
    SetBlock(extend ? m_row : row, m_fixedCols, row, lastCol);
}

void FlexgridEx::SetBlock(int32_t row, int32_t col, int32_t rowSel, int32_t colSel)
{
    if (row == m_row && col == m_col && rowSel == m_rowSel && colSel == m_colSel && !m_selectionStale)
        return;
    // An open editor writes into the cells it was opened on, before they
    // stop being the selected ones.
    FinishEdit();
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    SelectionMoved();
}

bool FlexgridEx::DataBlock(const SelectionRange& block, SelectionRange& out) const
{
    out.FirstRow = std::max(block.FirstRow, m_fixedRows);
    out.LastRow = std::min(block.LastRow, m_rows - 1);
    out.FirstColumn = std::max(block.FirstColumn, m_fixedCols);
    out.LastColumn = std::min(block.LastColumn, m_cols - 1);
    return out.FirstRow <= out.LastRow && out.FirstColumn <= out.LastColumn;
}

void FlexgridEx::SelectionMoved()
{
    if (m_redraw && m_drawingEnabled)
        ShowSelection();
    else
        m_selectionStale = true;
}

void FlexgridEx::ShowSelection()
{
    m_selectionStale = false;
    QItemSelectionModel* model = selectionModel();
    SelectionRange data;
    if (DataBlock(Selection(), data))
        model->select(QItemSelection(QTableWidget::model()->index(data.FirstRow - m_fixedRows,
                                                                  data.FirstColumn - m_fixedCols),
                                     QTableWidget::model()->index(data.LastRow - m_fixedRows,
                                                                  data.LastColumn - m_fixedCols)),
                      QItemSelectionModel::ClearAndSelect);
    else
        model->clearSelection();
    const bool dataCell = m_row >= m_fixedRows && m_row < m_rows && m_col >= m_fixedCols && m_col < m_cols;
    const QModelIndex current =
        dataCell ? QTableWidget::model()->index(m_row - m_fixedRows, m_col - m_fixedCols) : QModelIndex();
    if (current != model->currentIndex())
        model->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

int32_t FlexgridEx::TopRow() const
{
    return m_fixedRows + verticalScrollBar()->value();
}

void FlexgridEx::SetTopRow(int32_t row)
{
    CheckRow(row, "TopRow");
    verticalScrollBar()->setValue(std::max(0, row - m_fixedRows));
}

// ---- Colours and painting -------------------------------------------------

void FlexgridEx::SetFillStyle(int32_t style)
{
    if (style < 0 || style > 1)
        Raise(RuvError::InvalidArgument, "FillStyle");
    m_fillStyle = style;
}

void FlexgridEx::SetCellForeColor(int32_t colour)
{
    ColourCells(Qt::ForegroundRole, ToColor(colour));
}

void FlexgridEx::SetCellBackColor(int32_t colour)
{
    ColourCells(Qt::BackgroundRole, ToColor(colour));
}

void FlexgridEx::ColourCells(int role, const QColor& colour)
{
    SelectionRange cells;
    SelectionRange block = Selection();
    if (m_fillStyle == 0)
        block = SelectionRange{m_col, m_col, m_row, m_row};
    if (!DataBlock(block, cells))
        return;
    const QBrush brush(colour);
    for (int32_t r = cells.FirstRow; r <= cells.LastRow; ++r)
        for (int32_t c = cells.FirstColumn; c <= cells.LastColumn; ++c)
            CellItem(r - m_fixedRows, c - m_fixedCols)->setData(role, brush);
}

void FlexgridEx::SetForeColor(int32_t colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Text, ToColor(colour));
    setPalette(p);
}

void FlexgridEx::SetRedraw(bool on)
{
    m_redraw = on;
    UpdatePainting();
}

void FlexgridEx::SetDrawingEnabled(bool on)
{
    m_drawingEnabled = on;
    UpdatePainting();
}

void FlexgridEx::UpdatePainting()
{
    const bool on = m_redraw && m_drawingEnabled;
    if (on == m_painting)
        return;
    m_painting = on;
    if (!on)
        return;
    if (m_selectionStale)
        ShowSelection();
    // What was changed meanwhile is marked by the table itself, cell by
    // cell; the paints that came meanwhile are asked for again.
    // A scroll moved pixels that were not painted yet: all of it again.
    for (auto& [widget, region] : m_unpainted)
        if (widget)
            m_scrolledUnpainted ? widget->update() : widget->update(region);
    m_unpainted.clear();
    m_scrolledUnpainted = false;
}

void FlexgridEx::scrollContentsBy(int dx, int dy)
{
    if (!m_painting && !m_unpainted.empty())
        m_scrolledUnpainted = true;
    QTableWidget::scrollContentsBy(dx, dy);
}

bool FlexgridEx::HoldPaint(QObject* watched, QEvent* e)
{
    if (m_painting)
        return false;
    const QRegion& region = static_cast<QPaintEvent*>(e)->region();
    for (auto& [widget, held] : m_unpainted) {
        if (widget == watched) {
            held += region;
            return true;
        }
    }
    m_unpainted.emplace_back(static_cast<QWidget*>(watched), region);
    return true;
}

void FlexgridEx::Refresh()
{
    if (m_painting)
        repaint();
}

void FlexgridEx::Clear()
{
    FinishEdit();
    clearContents();
    for (int c = 0; c < columnCount(); ++c)
        horizontalHeaderItem(c)->setText(QString());
    for (int r = 0; r < rowCount(); ++r)
        verticalHeaderItem(r)->setText(QString());
    m_cornerText.clear();
    if (m_corner)
        m_corner->update();
}

void FlexgridEx::SetEditDecimals(int16_t decimals)
{
    if (decimals < 0)
        Raise(RuvError::InvalidArgument, "EditDecimals");
    m_decimals = decimals;
}

void FlexgridEx::PaintCorner()
{
    QPainter painter(m_corner);
    QStyleOptionHeader option;
    option.initFrom(m_corner);
    option.rect = m_corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = m_cornerText;
    option.textAlignment = AlignmentFlags(m_fixedAlignment.empty() ? 1 : m_fixedAlignment[0]);
    style()->drawControl(QStyle::CE_Header, &option, &painter, m_corner);
}
