// The grid's input: the cell editor, keys, the mouse and pasting.

#include "FlexgridEx.h"

#include "DadaviveKeys.h"
#include "MDisplayNumber.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QValidator>

#include <algorithm>
#include <functional>

namespace {

int32_t ShiftFlags(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0)
           | ((m & Qt::AltModifier) ? 4 : 0);
}

int32_t ButtonFlags(Qt::MouseButtons b)
{
    return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0);
}

// What the numeric-only editor takes: the whole number, and what may still
// become one while it is typed.
struct NumberPatterns
{
    QRegularExpression whole;
    QRegularExpression prefix;

    explicit NumberPatterns(int decimals)
    {
        if (decimals <= 0) {
            whole.setPattern(QStringLiteral("^[+-]?\\d+$"));
            prefix.setPattern(QStringLiteral("^[+-]?\\d*$"));
            return;
        }
        // "[." would open a collating element: the point goes last.
        const QString separator = QLatin1Char('[')
                                  + QRegularExpression::escape(QString(MDisplayNumber::DecimalSeparator()))
                                  + QStringLiteral(".]");
        const QString digits = QStringLiteral("\\d{0,%1}").arg(decimals);
        whole.setPattern(QStringLiteral("^[+-]?(\\d+(%1%2)?|%1\\d{1,%3})$").arg(separator, digits).arg(decimals));
        prefix.setPattern(QStringLiteral("^[+-]?\\d*(%1%2)?$").arg(separator, digits));
    }
};

} // namespace

class FlexgridEx::NumberValidator final : public QValidator
{
public:
    NumberValidator(int decimals, QObject* parent) : QValidator(parent), m_patterns(decimals) {}

    State validate(QString& input, int&) const override
    {
        if (m_patterns.whole.match(input).hasMatch())
            return Acceptable;
        return m_patterns.prefix.match(input).hasMatch() ? Intermediate : Invalid;
    }

private:
    NumberPatterns m_patterns;
};

class FlexgridEx::CellEditor final : public QLineEdit
{
public:
    CellEditor(FlexgridEx* grid, QWidget* parent) : QLineEdit(parent), m_grid(grid) { setFrame(false); }

protected:
    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        if (m_grid)
            emit m_grid->EditGotFocus();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QLineEdit::focusOutEvent(e);
        if (m_grid)
            emit m_grid->EditLostFocus();
    }

private:
    QPointer<FlexgridEx> m_grid;
};

// Paints the cells with their column's alignment and makes the editor. The
// grid writes an edit into its cells itself: the editor's text goes into
// every selected cell, not into the model index alone.
class FlexgridEx::CellDelegate final : public QStyledItemDelegate
{
public:
    explicit CellDelegate(FlexgridEx* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new CellEditor(m_grid, parent);
        if (m_grid->m_numericOnly)
            editor->setValidator(new NumberValidator(m_grid->m_decimals, editor));
        editor->setAlignment(m_grid->CellAlignmentOf(index.column()) & Qt::AlignHorizontal_Mask);
        m_grid->m_editor = editor;
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = m_grid->CellAlignmentOf(index.column());
    }

private:
    FlexgridEx* m_grid;
};

void FlexgridEx::InstallEditor()
{
    setItemDelegate(new CellDelegate(this));
}

bool FlexgridEx::IsNumberText(const QString& text, int decimals)
{
    return NumberPatterns(decimals).whole.match(text).hasMatch();
}

QLineEdit* FlexgridEx::Editor() const
{
    return state() == EditingState ? m_editor.data() : nullptr;
}

// ---- Editing ----------------------------------------------------------------

bool FlexgridEx::AskEdit()
{
    if (m_editLocked)
        return false;
    bool cancel = false;
    emit EditBeforeEnter(cancel);
    return !cancel;
}

bool FlexgridEx::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opens = trigger == AllEditTriggers || (trigger & editTriggers()) != 0;
    if (!opens || !index.isValid() || state() == EditingState)
        return false;
    if (m_selectionStale)
        ShowSelection();
    if (!AskEdit())
        return false;
    m_editBlock = Selection();
    m_hasCommit = false;
    return QTableWidget::edit(index, trigger, event);
}

void FlexgridEx::commitData(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        m_commitText = line->text();
        m_hasCommit = true;
    }
}

void FlexgridEx::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Moving on to the next cell would move the current cell behind the
    // grid's back: the editor just closes.
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    QTableWidget::closeEditor(editor, hint);
    if (!m_hasCommit)
        return;
    m_hasCommit = false;
    const QString text = m_commitText;
    if (m_numericOnly && !IsNumberText(text, m_decimals)) {
        QApplication::beep();
        return;
    }
    if (WriteBlock(m_editBlock, [&text](int, int) { return &text; }))
        emit ValueChanged();
}

void FlexgridEx::FinishEdit()
{
    QLineEdit* editor = Editor();
    if (editor == nullptr)
        return;
    if (editor->hasAcceptableInput())
        commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool FlexgridEx::WriteBlock(const SelectionRange& block, const std::function<const QString*(int, int)>& textAt)
{
    SelectionRange cells;
    if (!DataBlock(block, cells))
        return false;
    bool changed = false;
    for (int32_t r = cells.FirstRow; r <= cells.LastRow; ++r) {
        for (int32_t c = cells.FirstColumn; c <= cells.LastColumn; ++c) {
            const QString* text = textAt(r - block.FirstRow, c - block.FirstColumn);
            if (text == nullptr)
                continue;
            QTableWidgetItem* cell = CellItem(r - m_fixedRows, c - m_fixedCols);
            if (cell->text() != *text) {
                cell->setText(*text);
                changed = true;
            }
        }
    }
    return changed;
}

void FlexgridEx::Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    const bool dataCell = m_row >= m_fixedRows && m_row < m_rows && m_col >= m_fixedCols && m_col < m_cols;
    if (text.isEmpty() || !dataCell)
        return;
    std::vector<QStringList> lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines.push_back(line.split(QLatin1Char('\t')));
    }
    if (lines.size() > 1 && lines.back() == QStringList(QString()))
        lines.pop_back(); // the line end after the last line
    qsizetype width = 0;
    for (const QStringList& line : lines)
        width = std::max(width, line.size());
    // The block is cut where the grid ends.
    const int32_t lastRow = std::min<int64_t>(m_row + static_cast<int64_t>(lines.size()) - 1, m_rows - 1);
    const int32_t lastCol = std::min<int64_t>(m_col + width - 1, m_cols - 1);
    const SelectionRange block{m_col, lastCol, m_row, lastRow};
    SetBlock(m_row, m_col, lastRow, lastCol);
    if (!AskEdit()) {
        QApplication::beep();
        return;
    }
    const auto textAt = [&lines](int i, int j) -> const QString* {
        if (static_cast<size_t>(i) >= lines.size() || j >= lines[static_cast<size_t>(i)].size())
            return nullptr;
        return &lines[static_cast<size_t>(i)][j];
    };
    if (m_numericOnly) {
        for (int i = 0; i <= lastRow - m_row; ++i) {
            for (int j = 0; j <= lastCol - m_col; ++j) {
                if (const QString* piece = textAt(i, j)) {
                    lines[static_cast<size_t>(i)][j] = piece->trimmed();
                    if (!IsNumberText(*piece, m_decimals)) {
                        QApplication::beep();
                        return;
                    }
                }
            }
        }
    }
    if (WriteBlock(block, textAt))
        emit ValueChanged();
}

// ---- Keys -------------------------------------------------------------------

bool FlexgridEx::RaiseKey(QKeyEvent* e, void (FlexgridEx::*signal)(int16_t&, int32_t&))
{
    // Keys the editor leaves pass on to the window, not to the grid's
    // owner: a Ctrl+D typed into a cell is no command on the rows.
    if (state() == EditingState) {
        e->ignore();
        return false;
    }
    const auto original = static_cast<int16_t>(Dadavive::VirtualKeyFromQt(e->key(), e->modifiers()));
    int16_t code = original;
    int32_t shift = ShiftFlags(e->modifiers());
    emit(this->*signal)(code, shift);
    if (original != 0 && code == 0) {
        e->accept();
        return false;
    }
    return true;
}

void FlexgridEx::keyPressEvent(QKeyEvent* e)
{
    if (!RaiseKey(e, &FlexgridEx::KeyDown))
        return;
    if (m_selectionStale)
        ShowSelection();
    if (e->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        if (m_rows > m_fixedRows && m_cols > m_fixedCols)
            SetBlock(m_fixedRows, m_fixedCols, m_rows - 1, m_cols - 1);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        MoveByKey(e->key(), e->modifiers() & Qt::ShiftModifier, e->modifiers() & Qt::ControlModifier);
        return;
    case Qt::Key_F2:
        edit(currentIndex(), EditKeyPressed, e);
        return;
    default:
        break;
    }
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        edit(currentIndex(), AnyKeyPressed, e);
        return;
    }
    e->ignore();
}

void FlexgridEx::keyReleaseEvent(QKeyEvent* e)
{
    if (RaiseKey(e, &FlexgridEx::KeyUp))
        e->ignore();
}

void FlexgridEx::MoveByKey(int key, bool extend, bool toEdge)
{
    if (m_rows <= m_fixedRows || m_cols <= m_fixedCols)
        return;
    int32_t r = extend ? m_rowSel : m_row;
    int32_t c = extend ? m_colSel : m_col;
    const int32_t page = std::max(1, viewport()->height() / RowPixels - 1);
    switch (key) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_PageUp: r -= page; break;
    case Qt::Key_PageDown: r += page; break;
    case Qt::Key_Home:
        c = m_fixedCols;
        if (toEdge)
            r = m_fixedRows;
        break;
    case Qt::Key_End:
        c = m_cols - 1;
        if (toEdge)
            r = m_rows - 1;
        break;
    default: break;
    }
    r = std::clamp(r, m_fixedRows, m_rows - 1);
    c = std::clamp(c, m_fixedCols, m_cols - 1);
    if (extend)
        SetBlock(m_row, m_col, r, c);
    else
        SetBlock(r, c, r, c);
    scrollTo(model()->index(r - m_fixedRows, c - m_fixedCols));
}

void FlexgridEx::focusInEvent(QFocusEvent* e)
{
    // The item view's own focus handling would move the current cell.
    QAbstractScrollArea::focusInEvent(e);
    emit GotFocus();
}

void FlexgridEx::focusOutEvent(QFocusEvent* e)
{
    QTableWidget::focusOutEvent(e);
    emit LostFocus();
}

// ---- Mouse ------------------------------------------------------------------

bool FlexgridEx::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Paint) {
        // Nothing is painted while the drawing is off.
        if (HoldPaint(watched, e))
            return true;
        if (watched == m_corner) {
            PaintCorner();
            return true;
        }
        return QTableWidget::eventFilter(watched, e);
    }
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return OnMouse(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(e));
    default:
        return QTableWidget::eventFilter(watched, e);
    }
}

bool FlexgridEx::OnMouse(QWidget* source, QMouseEvent* e)
{
    const QPoint local = e->position().toPoint();
    const QPoint gridPos = source->mapTo(this, local);
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    const bool extend = e->modifiers() & Qt::ShiftModifier;
    const bool anyData = m_rows > m_fixedRows && m_cols > m_fixedCols;
    if (press && e->button() == Qt::LeftButton && anyData) {
        if (source == viewport()) {
            const QModelIndex index = indexAt(local);
            if (index.isValid()) {
                const int32_t r = index.row() + m_fixedRows;
                const int32_t c = index.column() + m_fixedCols;
                SetBlock(extend ? m_row : r, extend ? m_col : c, r, c);
                m_drag = Drag::Cells;
            }
        } else if (source == verticalHeader()->viewport()) {
            const int section = verticalHeader()->logicalIndexAt(local);
            if (section >= 0) {
                const int32_t r = section + m_fixedRows;
                SetBlock(extend ? m_row : r, m_fixedCols, r, m_cols - 1);
                m_drag = Drag::Rows;
            }
        } else if (source == horizontalHeader()->viewport()) {
            const int section = horizontalHeader()->logicalIndexAt(local);
            if (section >= 0) {
                const int32_t c = section + m_fixedCols;
                SetBlock(m_fixedRows, extend ? m_col : c, m_rows - 1, c);
                m_drag = Drag::Cols;
            }
        } else if (source == m_corner) {
            SetBlock(m_fixedRows, m_fixedCols, m_rows - 1, m_cols - 1);
        }
    }

    float x = static_cast<float>(gridPos.x()) * Twips(true);
    float y = static_cast<float>(gridPos.y()) * Twips(false);
    int32_t shift = ShiftFlags(e->modifiers());
    int32_t button = 0;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        button = ButtonFlags(e->button());
        emit MouseDown(button, shift, x, y);
        if (e->type() == QEvent::MouseButtonDblClick && e->button() == Qt::LeftButton && source == viewport()) {
            const QModelIndex index = indexAt(local);
            if (index.isValid())
                edit(index, DoubleClicked, e);
        }
        break;
    case QEvent::MouseMove:
        if (m_drag != Drag::None && (e->buttons() & Qt::LeftButton))
            DragTo(gridPos);
        button = ButtonFlags(e->buttons());
        emit MouseMove(button, shift, x, y);
        break;
    default:
        if (e->button() == Qt::LeftButton)
            m_drag = Drag::None;
        button = ButtonFlags(e->button());
        emit MouseUp(button, shift, x, y);
        break;
    }
    return true;
}

void FlexgridEx::DragTo(const QPoint& gridPos)
{
    // The cell under the pointer; beyond an edge, the cell just past it, so
    // that the grid scrolls as the drag goes on.
    const QPoint p = viewport()->mapFrom(this, gridPos);
    const auto pick = [](int hit, int at, int length, int first, int last, int count) {
        if (count <= 0)
            return -1;
        if (at < 0)
            return std::max(0, first - 1);
        if (at >= length)
            return last < 0 ? count - 1 : std::min(count - 1, last + 1);
        return hit < 0 ? count - 1 : hit;
    };
    const int h = viewport()->height();
    const int w = viewport()->width();
    const int r = pick(rowAt(p.y()), p.y(), h, rowAt(0), rowAt(h - 1), rowCount());
    const int c = pick(columnAt(p.x()), p.x(), w, columnAt(0), columnAt(w - 1), columnCount());
    if (r < 0 || c < 0)
        return;
    switch (m_drag) {
    case Drag::Cells: SetBlock(m_row, m_col, r + m_fixedRows, c + m_fixedCols); break;
    case Drag::Rows: SetBlock(m_row, m_col, r + m_fixedRows, m_colSel); break;
    case Drag::Cols: SetBlock(m_row, m_col, m_rowSel, c + m_fixedCols); break;
    case Drag::None: return;
    }
    scrollTo(model()->index(r, c));
}
