#include "CFramerateHandler.h"

#include "CFocusValidator.h"
#include "CStringBuilder.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "MBytes.h"
#include "MComboBox.h"
#include "MCommon.h"
#include "MControls.h"
#include "MDisplayNumber.h"
#include "MForms.h"
#include "MRuvMain.h"
#include "MSort.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

#include <cmath>
#include <limits>

namespace
{
constexpr std::int16_t KeyStar = 42;
constexpr std::int16_t KeyEnter = 13;
constexpr std::int16_t KeyEscape = 27;
constexpr int MaxDigits = 7;

// A whole number that fits 32 bits, from a number read as a double.
bool ToRate(double x, std::int32_t& out)
{
    const double rounded = MCommon::RoundHalfEven(x);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(rounded);
    return true;
}

// A number the user typed (the edit takes digits only, but pasted text
// goes through the same reading).
bool TypedNumber(const QString& text, std::int32_t& out)
{
    double x = 0;
    return MDisplayNumber::Parse(text, x) && ToRate(x, out);
}
}

class CFramerateHandler::SubclassSink final : public Dadavive::SubclassEventsBase
{
public:
    explicit SubclassSink(CFramerateHandler* handler) : m_handler(handler) {}
    void MouseDown(std::int32_t& Button, std::int32_t&, std::int32_t PxX, std::int32_t PxY, bool& bHandled) override
    {
        if (m_handler)
            m_handler->mComboSubclass_MouseDown(Button, PxX, PxY, bHandled);
    }
    void Command(std::intptr_t&, std::intptr_t, std::intptr_t wParam) override
    {
        if (m_handler)
            m_handler->mComboSubclass_Command(wParam);
    }

private:
    QPointer<CFramerateHandler> m_handler;
};

CFramerateHandler::CFramerateHandler(QObject* owner) : QObject(owner)
{
    fCheckDefaultValue();
}

CFramerateHandler::~CFramerateHandler()
{
    ReleaseCombo();
}

void CFramerateHandler::ReleaseCombo()
{
    MForms::ReleaseSubclass(mComboSubclass);
    m_sink = nullptr;
    delete m_validator.data();
    if (mComboList) {
        mComboList->removeEventFilter(this);
        if (QLineEdit* edit = mComboList->lineEdit())
            edit->removeEventFilter(this);
        disconnect(mComboList, nullptr, this, nullptr);
    }
    if (mnuSetAsDefault)
        disconnect(mnuSetAsDefault, nullptr, this, nullptr);
    if (mnuRemoveValue)
        disconnect(mnuRemoveValue, nullptr, this, nullptr);
}

void CFramerateHandler::Initialize(QComboBox* combo, QAction* setAsDefault, QAction* remove)
{
    ReleaseCombo();
    mComboList = combo;
    mnuSetAsDefault = setAsDefault;
    mnuRemoveValue = remove;
    if (mnuSetAsDefault) {
        mnuSetAsDefault->setCheckable(true);
        connect(mnuSetAsDefault, &QAction::triggered, this, &CFramerateHandler::mnuSetAsDefault_Click);
    }
    if (mnuRemoveValue)
        connect(mnuRemoveValue, &QAction::triggered, this, &CFramerateHandler::mnuRemoveValue_Click);
    if (!mComboList)
        return;

    mComboList->setEditable(true);
    mComboList->setInsertPolicy(QComboBox::NoInsert);
    mComboList->setCompleter(nullptr);
    mComboList->setContextMenuPolicy(Qt::PreventContextMenu);
    QLineEdit* edit = mComboList->lineEdit();
    edit->setContextMenuPolicy(Qt::PreventContextMenu);
    // Typing goes through the key filter; pasted text must be digits after
    // an optional "*" as well.
    static const QRegularExpression rateText(QStringLiteral("\\*?[0-9]*"));
    edit->setValidator(new QRegularExpressionValidator(rateText, edit));
    // Keys reach the combo box (it holds the focus for its edit); presses
    // land in the edit.
    mComboList->installEventFilter(this);
    edit->installEventFilter(this);

    m_validator = new CFocusValidator(mComboList, this);
    connect(m_validator, &CFocusValidator::GotFocus, this, &CFramerateHandler::mComboList_GotFocus);
    connect(m_validator, &CFocusValidator::LostFocus, this, &CFramerateHandler::mComboList_LostFocus);
    connect(m_validator, &CFocusValidator::Validate, this, &CFramerateHandler::mComboList_Validate);

    Com::ComPtr<Dadavive::ICSubclass> sc;
    if (Com::Succeeded(Com::CreateInstance(Dadavive::CLSID_CSubclass, sc)) && sc) {
        m_sink = Com::ComPtr<SubclassSink>::Attach(new SubclassSink(this));
        sc->SetEvents(m_sink.Get());
        if (Com::Succeeded(sc->Init(mComboList))) {
            sc->SetMouseDown(true);
            sc->SetCommand(true);
            mComboSubclass = sc;
        } else {
            sc->Terminate();
            m_sink = nullptr;
        }
    }
    if (!mComboSubclass) {
        // Without the subclassing library the combo box's own signal stands
        // in for the list's selection notice (the press filter below for
        // the mouse).
        connect(mComboList, &QComboBox::activated, this,
                [this] { mComboSubclass_Command(static_cast<std::intptr_t>(1) << 16); });
    }
}

// ---- Entries -------------------------------------------------------------

QString CFramerateHandler::EntryValueText(int index) const
{
    return mComboList->itemText(index).mid(1);
}

std::int32_t CFramerateHandler::EntryValue(int index) const
{
    double x = 0;
    std::int32_t value = 0;
    if (!MCommon::ParseNumber(EntryValueText(index), x) || !ToRate(x, value))
        return 0;
    return value;
}

bool CFramerateHandler::IsTraceSpecific(int index) const
{
    return mComboList->itemData(index).toInt() != DataGlobal;
}

int CFramerateHandler::FindValueIndex(const QString& valueText, bool globalOnly) const
{
    if (!mComboList)
        return -1;
    int index = MComboBox::FindExact(mComboList, QStringLiteral(" ") + valueText);
    if (index == -1 && !globalOnly)
        index = MComboBox::FindExact(mComboList, QStringLiteral("*") + valueText);
    return index;
}

int CFramerateHandler::FindValueIndex(std::int32_t value, bool globalOnly) const
{
    return FindValueIndex(MCommon::FormatInt(value), globalOnly);
}

int CFramerateHandler::FirstGlobalIndex() const
{
    for (int i = 0; i < mComboList->count(); ++i) {
        if (!IsTraceSpecific(i))
            return i;
    }
    return 0;
}

int CFramerateHandler::GlobalValueCount() const
{
    int count = 0;
    for (int i = 0; i < mComboList->count(); ++i)
        count += IsTraceSpecific(i) ? 0 : 1;
    return count;
}

void CFramerateHandler::AddPendingValue(const QString& valueText)
{
    mComboList->addItem(QStringLiteral("_") + valueText, DataGlobal);
}

void CFramerateHandler::MarkTraceSpecific(int index)
{
    mComboList->setItemData(index, DataTraceSpecific);
}

void CFramerateHandler::RebuildList()
{
    if (!mComboList)
        return;
    const int n = mComboList->count();
    std::vector<std::int32_t> globals;
    std::vector<std::int32_t> traceSpecific;
    for (int i = 0; i < n; ++i)
        (IsTraceSpecific(i) ? traceSpecific : globals).push_back(EntryValue(i));

    // Emptying a combo box clears its edit, and its first new entry would
    // become current: the edit keeps its text, and nothing is current
    // until a rate is selected.
    const QString text = mComboList->currentText();
    mComboList->clear();
    const auto keep = [this](std::int32_t rate) { return !m_constrainedToMultipleOf30 || rate % 30 == 0; };
    MSort::SortLongs(traceSpecific);
    for (const std::int32_t rate : traceSpecific) {
        if (keep(rate))
            mComboList->addItem(QStringLiteral("*") + MCommon::FormatInt(rate), DataTraceSpecific);
    }
    MSort::SortLongs(globals);
    for (const std::int32_t rate : globals) {
        if (keep(rate))
            mComboList->addItem(QStringLiteral(" ") + MCommon::FormatInt(rate), DataGlobal);
    }
    mComboList->setCurrentIndex(-1);
    mComboList->setEditText(text);
    MComboBox::FitDropDown(mComboList, static_cast<float>((n * 14 + 2) * 15));
}

void CFramerateHandler::SelectIndex(int index)
{
    if (!mComboList || mComboList->count() == 0)
        return;
    if (index < 0 || index >= mComboList->count())
        index = 0;
    if (index == mComboList->currentIndex())
        return;
    mComboList->setCurrentIndex(index);
    ShowSelectedValue();
}

void CFramerateHandler::ShowSelectedValue()
{
    const int index = mComboList->currentIndex();
    if (index >= 0)
        ShowValue(EntryValueText(index));
}

void CFramerateHandler::ShowValue(const QString& valueText)
{
    mComboList->setEditText(valueText);
    SetTag(valueText);
}

void CFramerateHandler::SelectComboText()
{
    if (QLineEdit* edit = mComboList->lineEdit())
        MControls::SelectAllText(edit);
}

void CFramerateHandler::SetTag(const QString& text)
{
    mComboList->setProperty("Tag", text);
}

QString CFramerateHandler::Tag() const
{
    return mComboList->property("Tag").toString();
}

// ---- Public operations ---------------------------------------------------

void CFramerateHandler::AddTraceSpecificValues(const QString& valuesString)
{
    std::vector<std::int32_t> values;
    if (!mComboList || !ParseValuesString(valuesString, values))
        return;
    for (const std::int32_t rate : values) {
        if (FindValueIndex(rate, false) == -1) {
            AddPendingValue(MCommon::FormatInt(rate));
            MarkTraceSpecific(mComboList->count() - 1);
        }
    }
    RebuildList();
}

bool CFramerateHandler::SelectByValue(std::int32_t& rate)
{
    if (!mComboList)
        return false;
    if (rate < 1) {
        SelectIndex(FindValueIndex(mDefaultValue, false));
        return false;
    }
    const int index = FindValueIndex(rate, false);
    if (index != -1) {
        SelectIndex(index);
        return false;
    }
    // An unlisted rate (a project's own) is added and selected; the
    // project keeps its rate. Only a rate the constraint drops falls back
    // on the default entry.
    AddPendingValue(MCommon::FormatInt(rate));
    MarkTraceSpecific(mComboList->count() - 1);
    RebuildList();
    const int added = FindValueIndex(rate, false);
    SelectIndex(added != -1 ? added : FindValueIndex(mDefaultValue, false));
    return true;
}

QString CFramerateHandler::BuildValuesString(bool globalValues) const
{
    if (!mComboList)
        return {};
    CStringBuilder text;
    for (int i = 0; i < mComboList->count(); ++i) {
        if (IsTraceSpecific(i) != globalValues)
            text.Append(MCommon::FormatInt(EntryValue(i))).Append(u";");
    }
    return text.ToString();
}

bool CFramerateHandler::ParseValuesString(const QString& valuesString, std::vector<std::int32_t>& values)
{
    values.clear();
    if (valuesString.isEmpty())
        return false;
    const QStringList items = valuesString.split(QLatin1Char(';'));
    values.reserve(static_cast<size_t>(items.size()));
    for (const QString& item : items) {
        double x = 0;
        std::int32_t rate = 0;
        if (MCommon::ParseNumber(item, x) && ToRate(x, rate) && rate > 0)
            values.push_back(rate);
    }
    return !values.empty();
}

void CFramerateHandler::CancelEditing()
{
    if (!mComboList)
        return;
    const QString tag = Tag();
    if (!tag.isEmpty() && tag != mComboList->currentText())
        mComboList->setEditText(tag);
}

void CFramerateHandler::CancelSelectionChange()
{
    SelectIndex(mEditStartIndex);
}

void CFramerateHandler::LoadDefaultValues()
{
    std::vector<std::int32_t> values;
    ParseValuesString(DefaultValuesString(), values);
    LoadGlobalValues(values);
}

void CFramerateHandler::LoadGlobalValues(std::vector<std::int32_t>& values)
{
    if (!mComboList)
        return;
    mComboList->clear();
    for (const std::int32_t rate : values) {
        if (rate > 0)
            mComboList->addItem(QStringLiteral(" ") + MCommon::FormatInt(rate), DataGlobal);
    }
    RebuildList();
    SelectDefaultValue();
}

QString CFramerateHandler::SelectedValueString() const
{
    return mComboList ? mComboList->currentText() : QString();
}

std::int32_t CFramerateHandler::SelectedValue() const
{
    if (!mComboList)
        return 0;
    QString text = mComboList->currentText();
    if (text.startsWith(QLatin1Char('*')))
        text.remove(0, 1);
    std::int32_t value = 0;
    if (TypedNumber(text, value))
        return value;
    const int index = mComboList->currentIndex();
    return index >= 0 ? EntryValue(index) : mDefaultValue;
}

std::int32_t CFramerateHandler::SelectDefaultValue()
{
    if (!mComboList || mComboList->count() == 0)
        return -1;
    int index = FindValueIndex(mDefaultValue, true);
    if (index == -1) {
        index = FirstGlobalIndex();
        mDefaultValue = EntryValue(index);
    }
    SelectIndex(index);
    return index;
}

bool CFramerateHandler::SetDefaultValue(const TaggedValue& value)
{
    std::int32_t rate = 0;
    if (!MCommon::TryToInt32(value, rate))
        return false;
    mDefaultValue = rate;
    return true;
}

std::int32_t CFramerateHandler::DefaultValue()
{
    fCheckDefaultValue();
    return mDefaultValue;
}

void CFramerateHandler::fCheckDefaultValue()
{
    if (mDefaultValue < 1)
        mDefaultValue = 50;
}

QString CFramerateHandler::DefaultValuesString()
{
    return QStringLiteral("25;30;50;60;75;90;100");
}

void CFramerateHandler::RemoveTraceSpecific()
{
    if (!mComboList)
        return;
    const QString text = mComboList->currentText();
    bool removed = false;
    for (int i = mComboList->count() - 1; i >= 0; --i) {
        if (IsTraceSpecific(i)) {
            mComboList->removeItem(i);
            removed = true;
        }
    }
    if (mComboList->currentText() != text)
        mComboList->setEditText(text);
    if (removed)
        emit TraceSpecificValueRemoved();
}

// ---- Editing -------------------------------------------------------------

bool CFramerateHandler::eventFilter(QObject* watched, QEvent* event)
{
    // Only presses reach the combo box: the events of its teardown (sent
    // while it is already no more than a QWidget) must not read it.
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    if (!mComboList)
        return false;
    switch (type) {
    case QEvent::KeyPress: {
        if (m_forwarding)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const std::int16_t keyAscii = MControls::KeyAsciiOf(key);
        if (keyAscii == 0)
            return false;
        const bool swallowed = mComboList_KeyPress(keyAscii);
        if (!swallowed && keyAscii == KeyEnter) {
            // Enter goes on to the window (a dialog's default button), not
            // to the combo box, which would pick an entry of the same text
            // behind the owner's answer.
            if (QWidget* parent = mComboList->parentWidget()) {
                QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
                m_forwarding = true;
                QCoreApplication::sendEvent(parent, &copy);
                m_forwarding = false;
            }
            return true;
        }
        return swallowed;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (mComboSubclass)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        const QPoint at = widget->mapTo(mComboList, mouse->position().toPoint());
        bool handled = false;
        const std::int32_t button = mouse->button() == Qt::RightButton ? 2 : mouse->button() == Qt::MiddleButton ? 4 : 1;
        mComboSubclass_MouseDown(button, at.x(), at.y(), handled);
        return handled;
    }
    default:
        return false;
    }
}

bool CFramerateHandler::mComboList_KeyPress(std::int16_t KeyAscii)
{
    QLineEdit* edit = mComboList->lineEdit();
    const QString text = mComboList->currentText();
    const auto length = text.size();
    const auto selected = edit->selectedText().size();
    if (KeyAscii == KeyStar)
        return !(selected == length || (edit->cursorPosition() == 0 && !text.contains(QLatin1Char('*'))));
    if (MRuvMain::IsNumericKey(KeyAscii, false, false)) {
        if (length < MaxDigits || KeyAscii == 8)
            return false;
        return !edit->hasSelectedText();
    }
    if (KeyAscii == KeyEnter) {
        bool cancel = false;
        mComboList_Validate(cancel);
        return false;
    }
    if (KeyAscii == KeyEscape) {
        CancelEditing();
        SelectComboText();
        return true;
    }
    return true;
}

void CFramerateHandler::mComboList_Validate(bool& Cancel)
{
    const QString text = mComboList->currentText();
    const bool star = text.startsWith(QLatin1Char('*'));
    std::int32_t rate = 0;
    bool acceptable = !text.isEmpty() && text != QLatin1String("*") && text != QLatin1String("0") &&
                      TypedNumber(star ? text.mid(1) : text, rate);
    if (acceptable) {
        bool isValid = false;
        emit OnValidation(rate, isValid);
        acceptable = isValid && mComboList;
    }
    if (!acceptable) {
        if (!mComboList)
            return;
        Cancel = true;
        MControls::Beep();
        SelectComboText();
        return;
    }
    const QString digits = MCommon::FormatInt(rate);
    if (FindValueIndex(rate, false) == -1) {
        mComboList->addItem((star ? QStringLiteral("*") : QStringLiteral(" ")) + digits, DataGlobal);
        if (star) {
            emit TraceSpecificValueAdded();
            MarkTraceSpecific(mComboList->count() - 1);
        }
        RebuildList();
    }
    ShowValue(digits);
    SelectComboText();
    emit ValueChanged(SelectedValue());
}

void CFramerateHandler::mComboList_GotFocus()
{
    SetTag(mComboList->currentText());
    mEditStartIndex = FindValueIndex(mComboList->currentText(), false);
    emit EditingChanged(true);
}

void CFramerateHandler::mComboList_LostFocus()
{
    SetTag(QString());
    emit EditingChanged(false);
}

void CFramerateHandler::mComboSubclass_MouseDown(std::int32_t Button, std::int32_t PxX, std::int32_t PxY,
                                                 bool& bHandled)
{
    if (Button != 2 || !mComboList)
        return;
    mMenuIndex = FindValueIndex(mComboList->currentText(), false);
    if (mMenuIndex > -1) {
        const bool traceSpecific = IsTraceSpecific(mMenuIndex);
        if (mnuSetAsDefault) {
            mnuSetAsDefault->setEnabled(!traceSpecific);
            mnuSetAsDefault->setChecked(mMenuIndex == FindValueIndex(mDefaultValue, true));
        }
        if (mnuRemoveValue)
            mnuRemoveValue->setEnabled(traceSpecific || GlobalValueCount() >= 2);
        emit RightClick(PxX, PxY);
    }
    bHandled = true;
}

void CFramerateHandler::mComboSubclass_Command(std::intptr_t wParam)
{
    if (MBytes::HiWord(static_cast<std::int32_t>(wParam)) != 1 || mSelectionChanging || !mComboList)
        return;
    mSelectionChanging = true;
    ShowSelectedValue();
    emit ValueChanged(SelectedValue());
    mSelectionChanging = false;
}

void CFramerateHandler::mnuSetAsDefault_Click()
{
    if (mComboList && mMenuIndex >= 0 && mMenuIndex < mComboList->count())
        mDefaultValue = EntryValue(mMenuIndex);
}

void CFramerateHandler::mnuRemoveValue_Click()
{
    if (!mComboList || mMenuIndex < 0 || mMenuIndex >= mComboList->count())
        return;
    const bool wasTraceSpecific = IsTraceSpecific(mMenuIndex);
    mComboList->removeItem(mMenuIndex);
    RebuildList();
    if (mnuSetAsDefault && mnuSetAsDefault->isChecked() && mComboList->count() > 0)
        mDefaultValue = EntryValue(FirstGlobalIndex());
    SelectDefaultValue();
    if (wasTraceSpecific)
        emit TraceSpecificValueRemoved();
}
