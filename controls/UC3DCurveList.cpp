#include "UC3DCurveList.h"

#include "MCommon.h"
#include "MControls.h"
#include "MDisplayNumber.h"
#include "MGDI.h"
#include "UC3DCurveOption.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>

namespace CurveListDetail {

// Rows of one height, and an editor that only Enter commits. Qt's own
// delegate also commits when the editor loses the focus or on Tab; here a
// focus move drops the edit (the list closes the editor), and Tab is one.
class ColumnDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<void(int32_t row, const QString& text)> commit;

    QSize sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const override
    {
        // One pixel wide: the view never scrolls sideways, long texts are
        // cut at its edge.
        return {1, UC3DCurveList::RowHeight};
    }

    void setModelData(QWidget* editor, QAbstractItemModel* /*model*/, const QModelIndex& index) const override
    {
        // The list writes the cell itself, with what its client made of it.
        const auto* line = qobject_cast<const QLineEdit*>(editor);
        if (line != nullptr && commit)
            commit(index.row(), line->text());
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
                return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

// One of the three views. No edit triggers of its own: a double-click
// marks an edit as pending and the next mouse release asks for it. The name
// view also reports the selections the user makes.
class Column : public QListWidget
{
public:
    explicit Column(QWidget* parent) : QListWidget(parent), m_delegate(new ColumnDelegate(this))
    {
        setItemDelegate(m_delegate);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setUniformItemSizes(true);
        setSpacing(0);
    }

    ColumnDelegate* Delegate() const { return m_delegate; }

    int32_t SelectedRow() const
    {
        const QList<QListWidgetItem*> selected = selectedItems();
        return selected.isEmpty() ? -1 : static_cast<int32_t>(row(selected.front()));
    }

    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    // Set when the view loses the focus, cleared when an edit begins: a
    // commit that finds it set is dropped.
    bool editCancel = false;
    std::function<void()> editRequested;
    std::function<void(int32_t row)> userSelected;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_rowAtPress = SelectedRow();
        m_pressIndex = indexAt(event->position().toPoint());
        QListWidget::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QListWidget::mouseDoubleClickEvent(event);
        m_editPending = true;
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const QModelIndex under = indexAt(event->position().toPoint());
        QListWidget::mouseReleaseEvent(event);
        const int32_t selected = SelectedRow();
        // A click on a row, or a press dragged onto another row.
        const bool clicked = under.isValid() && under == m_pressIndex;
        if (userSelected && selected >= 0 && (clicked || selected != m_rowAtPress))
            userSelected(selected);
        if (m_editPending) {
            m_editPending = false;
            if (editRequested)
                editRequested();
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int32_t before = SelectedRow();
        QListWidget::keyPressEvent(event);
        const int32_t after = SelectedRow();
        if (userSelected && after >= 0 && after != before)
            userSelected(after);
    }

private:
    ColumnDelegate* m_delegate;
    bool m_editPending = false;
    int32_t m_rowAtPress = -1;
    QPersistentModelIndex m_pressIndex;
};

} // namespace CurveListDetail

namespace {

QString StartTimeText(double startTime)
{
    return MDisplayNumber::Format(startTime, 0);
}

QString DurationText(double duration)
{
    return MDisplayNumber::Format(duration, 3);
}

// A scroll bar step of the control: 15 and 150 twips.
constexpr int SmallChange = 1;
constexpr int LargeChange = 10;

} // namespace

UC3DCurveList::UC3DCurveList(QWidget* parent) : QWidget(parent)
{
    m_content = new QFrame(this);
    m_content->setObjectName(QStringLiteral("fraContent"));
    m_content->setFrameShape(QFrame::NoFrame);
    m_content->setAutoFillBackground(true);

    auto makeColumn = [this](const char* name, int left, int width) {
        auto* column = new Column(m_content);
        column->setObjectName(QLatin1String(name));
        column->setGeometry(left, 0, width, RowHeight);
        column->editRequested = [this, column] { BeginEdit(column); };
        column->Delegate()->commit = [this, column](int32_t row, const QString& text) { CommitEdit(column, row, text); };
        return column;
    };
    // Neighbouring columns overlap so that the borders between them hide;
    // the later ones lie in front.
    m_itemText = makeColumn("lvwItemText", 0, NameDesignWidth);
    m_startTime = makeColumn("lvwStartTime", StartTimeLeft, StartTimeWidth);
    m_startTime->raise();
    const int durationLeft = StartTimeLeft + StartTimeWidth - ColumnOverlap;
    m_duration = makeColumn("lvwDuration", durationLeft, DurationWidth);
    m_duration->raise();
    m_itemText->userSelected = [this](int32_t row) { emit SelectedItemChanged(row); };

    auto* strip = new UC3DCurveOption(m_content);
    strip->setObjectName(QStringLiteral("coCurveOptions"));
    strip->setGeometry(durationLeft + DurationWidth - StripOverlap, 1, StripWidth, RowHeight);
    strip->hide();
    m_strips.push_back(strip);
    m_itemText->move(strip->x() + StripWidth - ColumnOverlap, 0);
    m_content->setGeometry(0, 0, m_itemText->x() + NameDesignWidth - NameCutOff, RowHeight + 1);

    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar* bar : {m_hScroll, m_vScroll}) {
        bar->setRange(0, 0);
        bar->setSingleStep(SmallChange);
        bar->setPageStep(LargeChange);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] { PositionContent(); });
    }
    m_cornerMask = new QWidget(this);
    m_cornerMask->setObjectName(QStringLiteral("picCornerMask"));
    m_cornerMask->resize(m_vScroll->sizeHint().width() + 1, m_hScroll->sizeHint().height() + 1);
    m_cornerMask->setAutoFillBackground(true);
    QPalette palette = m_cornerMask->palette();
    palette.setColor(QPalette::Window, m_content->palette().color(QPalette::Window));
    m_cornerMask->setPalette(palette);
    m_cornerMask->hide();

    m_optionCount = strip->OptionCount();
    m_optionTooltips = QStringList(QList<QString>(m_optionCount));
    m_initialEnabled.assign(static_cast<size_t>(m_optionCount), false);

    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
}

UC3DCurveList::~UC3DCurveList()
{
    // The children go after this body; their focus changes must not reach
    // a list that is half gone.
    disconnect(m_focusConnection);
}

// ---- Filling ---------------------------------------------------------------

void UC3DCurveList::BeginAddItems()
{
    m_adding = true;
}

void UC3DCurveList::EndAddItems()
{
    if (!m_adding)
        return;
    m_adding = false;
    LayOut();
}

UC3DCurveOption* UC3DCurveList::AddItem(const QString& text, double startTime, double duration, bool curveVisible,
                                        bool showArrow, bool showTimes, bool showTangent)
{
    auto addCell = [](Column* column, const QString& cell) {
        auto* item = new QListWidgetItem(cell, column);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    };
    addCell(m_itemText, text);
    addCell(m_startTime, StartTimeText(startTime));
    addCell(m_duration, DurationText(duration));

    const int32_t row = m_stripsInUse++;
    UC3DCurveOption* strip = nullptr;
    if (row == 0) {
        strip = m_strips.front();
    } else {
        const UC3DCurveOption* above = m_strips.back();
        strip = new UC3DCurveOption(m_content);
        strip->setObjectName(QStringLiteral("coCurveOptions"));
        strip->setGeometry(above->x(), above->y() + above->height(), above->width(), above->height());
        m_strips.push_back(strip);
    }
    disconnect(strip, nullptr, this, nullptr);
    connect(strip, &UC3DCurveOption::CheckedChanged, this,
            [this, row](int32_t option) { emit ItemOptionChanged(row, option); });
    strip->raise();
    strip->SetTooltips(m_optionTooltips);
    strip->SetEnabledStates(m_initialEnabled);
    strip->SetCheckedStates({curveVisible, showArrow, showTimes, showTangent});
    strip->show();

    if (!m_adding)
        LayOut();
    return strip;
}

int32_t UC3DCurveList::ItemCount() const
{
    return static_cast<int32_t>(m_itemText->count());
}

void UC3DCurveList::Clear()
{
    for (Column* column : {m_itemText, m_startTime, m_duration})
        column->clear();
    // A strip may be the sender of the event being handled: it goes once
    // the event is over.
    while (m_strips.size() > 1) {
        UC3DCurveOption* strip = m_strips.back();
        m_strips.pop_back();
        disconnect(strip, nullptr, this, nullptr);
        strip->hide();
        strip->deleteLater();
    }
    m_strips.front()->hide();
    m_stripsInUse = 0;
    LayOut();
}

// ---- Rows ------------------------------------------------------------------

void UC3DCurveList::UpdateItemDuration(int32_t index, double duration)
{
    if (IsValidRow(index))
        m_duration->item(index)->setText(DurationText(duration));
}

void UC3DCurveList::SetOptionsInitialEnabledStates(const std::vector<bool>& states)
{
    const size_t n = std::min(states.size(), m_initialEnabled.size());
    std::copy_n(states.begin(), n, m_initialEnabled.begin());
    for (int32_t i = 0; i < m_stripsInUse; ++i)
        m_strips[static_cast<size_t>(i)]->SetEnabledStates(m_initialEnabled);
}

void UC3DCurveList::SetOptionTooltips(const QStringList& tooltips)
{
    const qsizetype n = std::min(tooltips.size(), m_optionTooltips.size());
    for (qsizetype i = 0; i < n; ++i)
        m_optionTooltips[i] = tooltips[i];
    for (int32_t i = 0; i < m_stripsInUse; ++i)
        m_strips[static_cast<size_t>(i)]->SetTooltips(m_optionTooltips);
}

void UC3DCurveList::UpdateItemOption(int32_t index, int32_t option, bool state)
{
    if (!IsValidRow(index) || index >= m_stripsInUse)
        return;
    std::vector<std::optional<bool>> states(static_cast<size_t>(m_optionCount));
    states[static_cast<size_t>(option)] = state;
    m_strips[static_cast<size_t>(index)]->SetCheckedStates(states);
}

void UC3DCurveList::UpdateItemCurveVisibilityState(int32_t index, bool state)
{
    UpdateItemOption(index, 0, state);
}

void UC3DCurveList::UpdateItemArrowVisibilityState(int32_t index, bool state)
{
    UpdateItemOption(index, 1, state);
}

void UC3DCurveList::UpdateItemTimeVisibilityState(int32_t index, bool state)
{
    UpdateItemOption(index, 2, state);
}

void UC3DCurveList::UpdateItemTangentVisibilityState(int32_t index, bool state)
{
    UpdateItemOption(index, 3, state);
}

int32_t UC3DCurveList::SelectedIndex() const
{
    return m_itemText->SelectedRow();
}

void UC3DCurveList::SetSelectedIndex(int32_t index)
{
    if (ItemCount() == 0)
        return;
    m_itemText->setCurrentRow(IsValidRow(index) ? index : 0);
}

// ---- Layout and scrolling --------------------------------------------------

void UC3DCurveList::LayOut(const QString& pendingName)
{
    const int32_t selected = SelectedIndex();
    int widest = 0;
    for (int32_t i = 0; i < ItemCount(); ++i) {
        const QString text = i == selected && !pendingName.isEmpty() ? pendingName : m_itemText->item(i)->text();
        widest = std::max(widest, static_cast<int>(MGDI::DrawTextInRect(text, m_itemText->font())));
    }
    if (widest > 0) {
        m_itemText->resize(widest + ColumnFreeRoom, m_itemText->height());
        m_content->resize(m_itemText->x() + widest + ColumnFreeRoom - NameCutOff, m_content->height());
    }
    const int height = RowHeight * ItemCount();
    if (height > 0) {
        for (Column* column : {m_itemText, m_startTime, m_duration})
            column->resize(column->width(), height);
        m_content->resize(m_content->width(), height + 1);
    }
    // The views would place their rows on a later turn of the event loop;
    // the first picture of a refill must show them.
    for (Column* column : {m_itemText, m_startTime, m_duration})
        column->doItemsLayout();
    LayOutScrollBars();
}

void UC3DCurveList::SetBarRange(QScrollBar* bar, int maximum)
{
    const int oldMaximum = bar->maximum();
    const int oldValue = bar->value();
    int value = 0;
    if (oldValue >= 1 && oldMaximum > 0)
        value = MCommon::CheckedRoundToInt32(static_cast<double>(maximum) / oldMaximum * oldValue);
    bar->setMaximum(maximum);
    bar->setValue(value);
}

void UC3DCurveList::LayOutScrollBars()
{
    const int contentWidth = m_content->width();
    const int contentHeight = m_content->height();
    const int innerWidth = width();
    const int innerHeight = height();
    const int barWidth = m_vScroll->sizeHint().width();
    const int barHeight = m_hScroll->sizeHint().height();

    // Each bar takes room from the other axis, so each need is tested again
    // once the other bar is there. A horizontal bar alone also makes room:
    // it would otherwise cover the last row for good.
    bool vNeeded = contentHeight > innerHeight;
    int available = innerWidth - (vNeeded ? barWidth : 0);
    bool hNeeded = contentWidth > available;
    int availableHeight = innerHeight - (hNeeded ? barHeight : 0);
    vNeeded = contentHeight > availableHeight;
    available = innerWidth - (vNeeded ? barWidth : 0);
    hNeeded = contentWidth > available;
    availableHeight = innerHeight - (hNeeded ? barHeight : 0);
    m_hNeeded = hNeeded;
    m_vNeeded = vNeeded;

    if (hNeeded && vNeeded)
        m_cornerMask->move(innerWidth - m_cornerMask->width(), innerHeight - m_cornerMask->height());
    m_cornerMask->setVisible(hNeeded && vNeeded);

    if (hNeeded) {
        const int w = innerWidth - (vNeeded ? barWidth : 0);
        if (w > 0)
            m_hScroll->setGeometry(0, innerHeight - barHeight, w, barHeight);
        SetBarRange(m_hScroll, contentWidth - available);
    } else {
        m_hScroll->setValue(0);
    }
    if (vNeeded) {
        const int h = innerHeight - (hNeeded ? barHeight : 0);
        if (h > 0)
            m_vScroll->setGeometry(innerWidth - barWidth, 0, barWidth, h);
        SetBarRange(m_vScroll, contentHeight - availableHeight);
    } else {
        m_vScroll->setValue(0);
    }

    // A bar that appears hands the focus to the names, but only a focus
    // that is already in this control and in no edit: the list must not
    // take it from the views or other controls of its window.
    if (hNeeded || vNeeded) {
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && isAncestorOf(focus) && ColumnOf(focus) != m_itemText && !AnyEditOpen())
            m_itemText->setFocus();
    }

    m_hScroll->setVisible(hNeeded);
    m_vScroll->setVisible(vNeeded);
    m_hScroll->raise();
    m_vScroll->raise();
    m_cornerMask->raise();
    PositionContent();
}

void UC3DCurveList::PositionContent()
{
    m_content->move(m_hNeeded ? -m_hScroll->value() : 0, m_vNeeded ? -m_vScroll->value() : 0);
}

void UC3DCurveList::ScrollDown()
{
    if (!m_vNeeded)
        return;
    if (m_vScroll->value() == m_vScroll->maximum())
        PositionContent();
    else
        m_vScroll->setValue(m_vScroll->maximum());
}

void UC3DCurveList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutScrollBars();
}

// ---- Focus and editing -----------------------------------------------------

CurveListDetail::Column* UC3DCurveList::ColumnOf(const QWidget* widget) const
{
    if (widget == nullptr)
        return nullptr;
    for (Column* column : {m_startTime, m_duration, m_itemText})
        if (widget == column || column->isAncestorOf(widget))
            return column;
    return nullptr;
}

bool UC3DCurveList::AnyEditOpen() const
{
    return m_startTime->IsEditing() || m_duration->IsEditing() || m_itemText->IsEditing();
}

void UC3DCurveList::OnFocusChanged(QWidget* old, QWidget* now)
{
    // The window losing the focus as a whole (another window, a pop-up menu
    // of the editor) changes nothing: the focus comes back where it was.
    if (now == nullptr || now->window() != window())
        return;
    // An editor that gives its focus away, even to its own view, is
    // dropped.
    Column* from = ColumnOf(old);
    if (from != nullptr && old != from && from->IsEditing()) {
        from->editCancel = true;
        MControls::ListViewCancelEdit(from);
    }
    Column* to = ColumnOf(now);
    if (to == m_focusColumn)
        return;
    // From one view to another is a loss and a gain: False, then True.
    if (m_focusColumn != nullptr) {
        m_focusColumn->editCancel = true;
        MControls::ListViewCancelEdit(m_focusColumn);
        SetEditing(false);
    }
    m_focusColumn = to;
    if (to != nullptr)
        SetEditing(true);
}

void UC3DCurveList::SetEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    emit EditingStateChanged();
}

void UC3DCurveList::BeginEdit(Column* column)
{
    const int32_t row = column->SelectedRow();
    if (row < 0)
        return;
    column->editCancel = false;
    // The first curve keeps its name.
    if (column == m_itemText && row == 0) {
        column->editCancel = true;
        return;
    }
    QListWidgetItem* item = column->item(row);
    column->setCurrentItem(item);
    column->editItem(item);
}

void UC3DCurveList::CommitEdit(Column* column, int32_t row, const QString& text)
{
    if (column->editCancel)
        return;
    if (column == m_itemText) {
        QString newName = text;
        emit CurveNameChanging(row, newName);
        LayOut(newName);
        if (IsValidRow(row))
            m_itemText->item(row)->setText(newName);
        return;
    }
    double value = MCommon::SafeCDbl(TaggedValue(text));
    if (column == m_startTime) {
        emit CurveStartTimeChanging(row, value);
        if (IsValidRow(row))
            m_startTime->item(row)->setText(StartTimeText(value));
    } else {
        emit CurveDurationChanging(row, value);
        if (IsValidRow(row))
            m_duration->item(row)->setText(DurationText(value));
    }
}
