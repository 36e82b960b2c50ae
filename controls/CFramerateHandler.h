#pragma once

// The frame-rate chooser on an editable combo box of the owner, with the
// owner's two menu actions (make the rate the default, remove the rate).
//
// The list holds global rates (shared by the game's projects, entry text
// " " + digits, item data 0) and trace-specific rates (the project's own,
// "*" + digits, item data 1), trace-specific ones first, each group
// ascending. The edit shows the bare digits of the chosen rate. Typed
// digits become a global rate, a leading "*" a trace-specific one; the
// owner accepts or refuses a typed rate in OnValidation, applies a rate in
// ValueChanged and pops up its menu on RightClick.
//
// The combo box's right button is the handler's: its own handling never
// runs and no context menu opens, on the text as on the arrow.

#include "ComTypes.h"
#include "TaggedValue.h"

#include <QAction>
#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

class CFocusValidator;
namespace Dadavive {
class ICSubclass;
}

class CFramerateHandler : public QObject
{
    Q_OBJECT

public:
    explicit CFramerateHandler(QObject* owner = nullptr);
    ~CFramerateHandler() override;

    // Binds the combo box (made editable, inserting nothing itself, without
    // a completer) and the two actions, and watches the combo box's mouse
    // and list through a subclass object.
    void Initialize(QComboBox* combo, QAction* setAsDefault, QAction* remove);

    bool ConstrainedToMultipleOf30() const { return m_constrainedToMultipleOf30; }
    // The flag only: it acts at the next rebuild of the list.
    void SetConstrainedToMultipleOf30(bool constrained) { m_constrainedToMultipleOf30 = constrained; }
    // Adds every rate of the values string that is not listed yet as a
    // trace-specific entry; nothing for a string without a rate.
    void AddTraceSpecificValues(const QString& valuesString);
    // Selects the entry of the rate. A rate that is not listed is added as
    // a trace-specific entry and selected, and the result is true; the
    // variable keeps the rate. A rate below 1 adds nothing and selects the
    // default entry.
    bool SelectByValue(std::int32_t& rate);
    // The global (true) or trace-specific (false) rates in list order, each
    // followed by ";"; "" when there is none.
    QString BuildValuesString(bool globalValues) const;
    // The positive whole numbers of a ";"-separated text (blanks around an
    // item allowed, a fraction rounded to the nearest, halves to even; "."
    // is the decimal separator whatever the locale); other items are
    // skipped. False when none is left.
    static bool ParseValuesString(const QString& valuesString, std::vector<std::int32_t>& values);
    void CancelEditing();
    void CancelSelectionChange();
    void LoadDefaultValues();
    // Empties the whole list (trace-specific entries too), adds the values
    // as global rates and selects the default one.
    void LoadGlobalValues(std::vector<std::int32_t>& values);
    QString SelectedValueString() const;
    // The number in the edit; for an edit without one (empty, "*") the
    // rate of the current entry, or the default rate without one.
    std::int32_t SelectedValue() const;
    // Selects the default rate's global entry, or else the first global
    // entry, which then becomes the default. The index selected; -1 for an
    // empty list, which leaves the default as it is.
    std::int32_t SelectDefaultValue();
    bool SetDefaultValue(const TaggedValue& value);
    std::int32_t DefaultValue();
    void fCheckDefaultValue();
    static QString DefaultValuesString();
    // Removes every trace-specific entry; the edit keeps its text.
    void RemoveTraceSpecific();

    QComboBox* Combo() const { return mComboList; }

signals:
    // Right button on the combo box while its text names a listed rate; in
    // pixels of the combo box.
    void RightClick(std::int32_t X, std::int32_t Y);
    void TraceSpecificValueRemoved();
    void TraceSpecificValueAdded();
    void ValueChanged(std::int32_t Value);
    void EditingChanged(bool Editing);
    // A typed rate is about to be taken: only IsValid set true accepts it.
    void OnValidation(std::int32_t& Value, bool& IsValid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SubclassSink;

    static constexpr int DataGlobal = 0;
    static constexpr int DataTraceSpecific = 1;

    QString EntryValueText(int index) const;
    std::int32_t EntryValue(int index) const;
    bool IsTraceSpecific(int index) const;
    int FindValueIndex(const QString& valueText, bool globalOnly) const;
    int FindValueIndex(std::int32_t value, bool globalOnly) const;
    int FirstGlobalIndex() const;
    int GlobalValueCount() const;
    void AddPendingValue(const QString& valueText);
    void MarkTraceSpecific(int index);
    void RebuildList();
    void SelectIndex(int index);
    void ShowSelectedValue();
    void ShowValue(const QString& valueText);
    void SelectComboText();
    void SetTag(const QString& text);
    QString Tag() const;

    // Returns true when the key is swallowed.
    bool mComboList_KeyPress(std::int16_t KeyAscii);
    void mComboList_Validate(bool& Cancel);
    void mComboList_GotFocus();
    void mComboList_LostFocus();
    void mComboSubclass_MouseDown(std::int32_t Button, std::int32_t PxX, std::int32_t PxY, bool& bHandled);
    void mComboSubclass_Command(std::intptr_t wParam);
    void mnuSetAsDefault_Click();
    void mnuRemoveValue_Click();
    void ReleaseCombo();

    QPointer<QComboBox> mComboList;
    QPointer<QAction> mnuSetAsDefault;
    QPointer<QAction> mnuRemoveValue;
    Com::ComPtr<Dadavive::ICSubclass> mComboSubclass;
    Com::ComPtr<SubclassSink> m_sink;
    QPointer<CFocusValidator> m_validator;
    bool mSelectionChanging = false;
    bool m_constrainedToMultipleOf30 = false;
    std::int32_t mDefaultValue = 0;
    int mMenuIndex = -1;
    int mEditStartIndex = -1;
    bool m_forwarding = false;
};
