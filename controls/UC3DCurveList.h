#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

class QFrame;
class QScrollBar;
class UC3DCurveOption;

namespace CurveListDetail {
class Column;
}

// The curves of a project as rows (row index = curve index): start time,
// duration, a strip of option toggles and the name. Three single-column
// item views and a column of option strips sit side by side on a content
// frame that the control's own two scroll bars move. The list knows nothing
// of curves: its client fills it with plain values and answers its events,
// and every edit is offered through an event whose value the client may
// correct before the list shows it.
//
// Each of the three views keeps its own selection; the selection of the
// list is that of the names. Edits start only with a double-click (on its
// next mouse release), Enter commits, Escape or moving the focus away
// drops them. Row 0's name cannot be edited.
class UC3DCurveList : public QWidget
{
    Q_OBJECT

public:
    // Pixel layout of the columns (the control's twips geometry / 15).
    static constexpr int RowHeight = 16;
    static constexpr int StartTimeLeft = 1;
    static constexpr int StartTimeWidth = 77;
    static constexpr int DurationWidth = 73;
    static constexpr int NameDesignWidth = 79;
    static constexpr int StripWidth = 61;
    static constexpr int ColumnOverlap = 5;
    static constexpr int StripOverlap = 2;
    // Room at the right of a view's text, and the part of the name view
    // that the frame cuts off.
    static constexpr int ColumnFreeRoom = 19;
    static constexpr int NameCutOff = 8;

    explicit UC3DCurveList(QWidget* parent = nullptr);
    ~UC3DCurveList() override;

    // AddItem leaves the layout alone until EndAddItems.
    void BeginAddItems();
    void EndAddItems();
    // Appends a row; the start time is shown as a whole number (halves to
    // even), the duration with three decimals, in the user's form.
    UC3DCurveOption* AddItem(const QString& text, double startTime, double duration, bool curveVisible,
                             bool showArrow, bool showTimes, bool showTangent);
    int32_t ItemCount() const;
    void Clear();
    // True while one of the three views (or its editor) has the focus.
    bool Editing() const { return m_editing; }
    // Indexes outside the rows do nothing here and in the four Update
    // members below.
    void UpdateItemDuration(int32_t index, double duration);
    // The enabled states and tooltips every new strip gets, and that every
    // strip in use gets now; entries beyond the options are ignored.
    void SetOptionsInitialEnabledStates(const std::vector<bool>& states);
    void SetOptionTooltips(const QStringList& tooltips);
    // One option of a row's strip, without an event.
    void UpdateItemCurveVisibilityState(int32_t index, bool state);
    void UpdateItemArrowVisibilityState(int32_t index, bool state);
    void UpdateItemTimeVisibilityState(int32_t index, bool state);
    void UpdateItemTangentVisibilityState(int32_t index, bool state);
    // The selected name row, -1 when none.
    int32_t SelectedIndex() const;
    // Selects that name row, row 0 for an index outside the rows, nothing
    // on an empty list. No event.
    void SetSelectedIndex(int32_t index);
    // Shows the last row when the vertical bar is shown.
    void ScrollDown();

signals:
    // The user clicked an enabled toggle; the strip shows its new state.
    void ItemOptionChanged(int32_t itemIndex, int32_t optionIndex);
    // A rename being committed: what the handler leaves becomes the name.
    void CurveNameChanging(int32_t index, QString& newName);
    // Typed numbers that are not numbers arrive as 0; the value the handler
    // leaves is shown.
    void CurveStartTimeChanging(int32_t index, double& value);
    void CurveDurationChanging(int32_t index, double& value);
    // The user selected a name row with the mouse or the keys.
    void SelectedItemChanged(int32_t index);
    void EditingStateChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    using Column = CurveListDetail::Column;

    // Name width, heights and scroll bars. `pendingName`, when not empty,
    // is measured in place of the selected row's name.
    void LayOut(const QString& pendingName = QString());
    void LayOutScrollBars();
    void PositionContent();
    // A bar's new maximum, with its value kept at the same relative place.
    static void SetBarRange(QScrollBar* bar, int maximum);
    void UpdateItemOption(int32_t index, int32_t option, bool state);
    bool IsValidRow(int32_t index) const { return index >= 0 && index < ItemCount(); }
    bool AnyEditOpen() const;

    Column* ColumnOf(const QWidget* widget) const;
    void OnFocusChanged(QWidget* old, QWidget* now);
    void SetEditing(bool editing);
    void BeginEdit(Column* column);
    void CommitEdit(Column* column, int32_t row, const QString& text);

    QFrame* m_content = nullptr;
    Column* m_startTime = nullptr;
    Column* m_duration = nullptr;
    Column* m_itemText = nullptr;
    std::vector<UC3DCurveOption*> m_strips; // element 0 always exists
    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QWidget* m_cornerMask = nullptr;
    bool m_hNeeded = false;
    bool m_vNeeded = false;

    int32_t m_optionCount = 0;
    QStringList m_optionTooltips;
    std::vector<bool> m_initialEnabled;
    int32_t m_stripsInUse = 0;
    bool m_editing = false;
    bool m_adding = false;
    // The view that holds the focus as far as this control knows.
    Column* m_focusColumn = nullptr;
    QMetaObject::Connection m_focusConnection;
};
