#include "UC3DCurveManager.h"

#include "MControls.h"
#include "UC3DCurveList.h"
#include "UC3DCurveOption.h"

#include <QPushButton>

UC3DCurveManager::UC3DCurveManager(QWidget* parent) : QWidget(parent)
{
    m_list = new UC3DCurveList(this);
    m_list->setObjectName(QStringLiteral("clCurveList"));
    m_list->move(0, 0);
    auto makeButton = [this](const char* name, const char* caption, int top) {
        auto* button = new QPushButton(QLatin1String(caption), this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(0, top, ButtonWidth, ButtonHeight);
        return button;
    };
    m_add = makeButton("cmdAddCurve", "<add>", 0);
    m_remove = makeButton("cmdRemoveCurve", "<remove>", ButtonPitch);
    m_import = makeButton("cmdImport", "<import>", 2 * ButtonPitch);
    connect(m_add, &QPushButton::clicked, this, [this] { OnAddClicked(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { OnRemoveClicked(); });
    connect(m_import, &QPushButton::clicked, this, [this] { emit ImportClicked(); });

    // Only the first curve's arrow option can be switched (FillList).
    m_list->SetOptionsInitialEnabledStates({true, false, true, true});
    connect(m_list, &UC3DCurveList::ItemOptionChanged, this,
            [this](int32_t row, int32_t option) { OnItemOptionChanged(row, option); });
    connect(m_list, &UC3DCurveList::CurveNameChanging, this,
            [this](int32_t row, QString& newName) { OnCurveNameChanging(row, newName); });
    connect(m_list, &UC3DCurveList::CurveStartTimeChanging, this,
            [this](int32_t row, double& value) { OnCurveStartTimeChanging(row, value); });
    connect(m_list, &UC3DCurveList::CurveDurationChanging, this,
            [this](int32_t row, double& value) { OnCurveDurationChanging(row, value); });
    connect(m_list, &UC3DCurveList::SelectedItemChanged, this,
            [this](int32_t row) { OnSelectedItemChanged(row); });
    connect(m_list, &UC3DCurveList::EditingStateChanged, this, [this] { emit EditingStateChanged(); });
    UpdateButtons();
}

UC3DCurveManager::~UC3DCurveManager()
{
    if (m_controller != nullptr)
        m_controller->RemoveListener(this);
}

// ---- Members ---------------------------------------------------------------

void UC3DCurveManager::Initialize(C3DCurveController& controller)
{
    if (m_controller != nullptr)
        m_controller->RemoveListener(this);
    m_controller = &controller;
    m_controller->AddListener(this);
    FillList(false);
}

void UC3DCurveManager::RefreshCurveList(bool scrollToEnd)
{
    FillList(scrollToEnd);
}

void UC3DCurveManager::ForEachCurve(const std::function<void(int32_t row, const C3DCurve& curve)>& update) const
{
    for (int32_t i = 0; m_controller != nullptr && i < m_controller->CurveCount(); ++i)
        update(i, m_controller->Curves(i));
}

void UC3DCurveManager::RefreshItemsDuration()
{
    ForEachCurve([this](int32_t i, const C3DCurve& c) { m_list->UpdateItemDuration(i, c.Duration()); });
}

void UC3DCurveManager::RefreshItemsCurveVisibilityState()
{
    ForEachCurve([this](int32_t i, const C3DCurve& c) { m_list->UpdateItemCurveVisibilityState(i, c.IsVisible()); });
}

void UC3DCurveManager::RefreshItemsTimeVisibilityState()
{
    ForEachCurve([this](int32_t i, const C3DCurve& c) { m_list->UpdateItemTimeVisibilityState(i, c.ShowTimes()); });
}

void UC3DCurveManager::RefreshItemsArrowVisibilityState()
{
    ForEachCurve([this](int32_t i, const C3DCurve& c) { m_list->UpdateItemArrowVisibilityState(i, c.ShowArrow()); });
}

void UC3DCurveManager::RefreshItemsTangentVisibilityState()
{
    ForEachCurve([this](int32_t i, const C3DCurve& c) { m_list->UpdateItemTangentVisibilityState(i, c.ShowTangent()); });
}

bool UC3DCurveManager::Editing() const
{
    return m_list->Editing();
}

C3DCurve* UC3DCurveManager::SelectedCurve() const
{
    return CurveAt(m_list->SelectedIndex());
}

void UC3DCurveManager::SetButtonsCaption(const QString& addCaption, const QString& removeCaption,
                                         const QString& importCaption)
{
    m_add->setText(addCaption);
    m_remove->setText(removeCaption);
    m_import->setText(importCaption);
    ArrangeButtons();
}

void UC3DCurveManager::SetListOptionTooltips(const QStringList& tooltips)
{
    m_list->SetOptionTooltips(tooltips);
}

// ---- Filling ---------------------------------------------------------------

C3DCurve* UC3DCurveManager::CurveAt(int32_t row) const
{
    if (m_controller == nullptr || row < 0 || row >= m_controller->CurveCount())
        return nullptr;
    return &m_controller->Curves(row);
}

void UC3DCurveManager::CurveCountChanged()
{
    FillList(false);
}

void UC3DCurveManager::FillList(bool scrollToEnd)
{
    if (m_controller == nullptr)
        return;
    const int32_t selected = m_list->SelectedIndex();
    // Painting waits in place of hiding the list: a hidden list would push
    // the focus out of it.
    m_list->setUpdatesEnabled(false);
    m_list->Clear();
    m_list->BeginAddItems();
    for (int32_t i = 0; i < m_controller->CurveCount(); ++i) {
        const C3DCurve& curve = m_controller->Curves(i);
        UC3DCurveOption* strip = m_list->AddItem(curve.Name(), curve.StartTime(), curve.Duration(), curve.IsVisible(),
                                                 curve.ShowArrow(), curve.ShowTimes(), curve.ShowTangent());
        if (i == 0)
            strip->SetEnabledStates({true, true, true, true});
    }
    m_list->EndAddItems();
    m_list->SetSelectedIndex(selected);
    m_list->setUpdatesEnabled(true);
    if (scrollToEnd)
        m_list->ScrollDown();
    UpdateButtons();
}

void UC3DCurveManager::UpdateButtons()
{
    m_add->setEnabled(m_controller != nullptr && m_controller->CanAddCurve());
    m_remove->setEnabled(m_controller != nullptr && m_list->SelectedIndex() >= 1);
}

// ---- Buttons ---------------------------------------------------------------

void UC3DCurveManager::OnAddClicked()
{
    if (m_controller == nullptr || !m_controller->CanAddCurve())
        return;
    // The controller names the curve; its count event refills the list
    // before Add returns.
    C3DCurve& curve = m_controller->Add(QString());
    m_list->SetSelectedIndex(m_list->ItemCount() - 1);
    UpdateButtons();
    emit SelectedCurveChanged();
    emit CurveAdded(curve);
}

void UC3DCurveManager::OnRemoveClicked()
{
    const int32_t row = m_list->SelectedIndex();
    if (row <= 0 || CurveAt(row) == nullptr)
        return;
    // The refill keeps the row number: the selected row now shows another
    // curve (or row 0), and the owner must drop the freed one.
    m_controller->Remove(row);
    UpdateButtons();
    emit SelectedCurveChanged();
}

// ---- The list's events -----------------------------------------------------

void UC3DCurveManager::OnItemOptionChanged(int32_t row, int32_t option)
{
    C3DCurve* curve = CurveAt(row);
    if (curve == nullptr)
        return;
    switch (option) {
    case 0: curve->SetIsVisible(!curve->IsVisible()); break;
    case 1: curve->SetShowArrow(!curve->ShowArrow()); break;
    case 2: curve->SetShowTimes(!curve->ShowTimes()); break;
    case 3: curve->SetShowTangent(!curve->ShowTangent()); break;
    default: break;
    }
    emit CurveOptionChanged(*curve, option);
}

void UC3DCurveManager::OnCurveNameChanging(int32_t row, QString& newName)
{
    C3DCurve* curve = CurveAt(row);
    if (curve == nullptr)
        return;
    // The controller makes the name safe and unique; the list shows what
    // the curve really got.
    m_controller->SetCurveName(row, newName);
    newName = curve->Name();
}

void UC3DCurveManager::OnCurveStartTimeChanging(int32_t row, double& value)
{
    C3DCurve* curve = CurveAt(row);
    if (curve == nullptr)
        return;
    curve->SetStartTime(value);
    emit CurveStartTimeChanged(*curve);
}

void UC3DCurveManager::OnCurveDurationChanging(int32_t row, double& value)
{
    C3DCurve* curve = CurveAt(row);
    if (curve == nullptr)
        return;
    struct Flag
    {
        bool& flag;
        explicit Flag(bool& f) : flag(f) { flag = true; }
        ~Flag() { flag = false; }
    } changing(m_durationChanging);
    const double old = curve->Duration();
    // The curve keeps its duration within its own limits.
    curve->SetDuration(value);
    if (curve->Duration() != old)
        emit CurveDurationChanged(*curve);
    value = curve->Duration();
}

void UC3DCurveManager::OnSelectedItemChanged(int32_t /*row*/)
{
    UpdateButtons();
    emit SelectedCurveChanged();
}

// ---- Layout ----------------------------------------------------------------

void UC3DCurveManager::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeButtons();
}

void UC3DCurveManager::ArrangeButtons()
{
    int buttonWidth = ButtonWidth;
    for (QPushButton* button : {m_add, m_remove, m_import})
        buttonWidth = MControls::ButtonWidthFor(button, buttonWidth);
    const int left = width() - Gap - buttonWidth;
    for (QPushButton* button : {m_add, m_remove, m_import})
        button->setGeometry(left, button->y(), buttonWidth, ButtonHeight);
    // Narrower than the buttons and the gaps: the list keeps its width.
    const int listWidth = left - Gap > 0 ? left - Gap : m_list->width();
    m_list->resize(listWidth, height());
}
