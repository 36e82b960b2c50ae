#pragma once

#include "C3DCurveController.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPushButton;
class UC3DCurveList;

// The curves of a curve controller in a curve list, with buttons to add,
// remove and import curves. Row i always shows curve i of the controller;
// the manager keeps no curve of its own (a removed curve is freed), so the
// selected curve is looked up again at each call. Edits in the list go to
// the curves, and the manager's events tell its owner what changed.
//
// The manager listens to its controller until it is given another one or
// is destroyed: free the manager before the controller.
class UC3DCurveManager : public QWidget, private I3DCurveControllerEvents
{
    Q_OBJECT

public:
    // Pixel layout: the buttons' least width (they widen to the longest
    // caption), their height and tops, and the gap at their sides.
    static constexpr int ButtonWidth = 61;
    static constexpr int ButtonHeight = 17;
    static constexpr int ButtonPitch = 20;
    static constexpr int Gap = 3;

    explicit UC3DCurveManager(QWidget* parent = nullptr);
    ~UC3DCurveManager() override;

    // Listens to this controller (and no longer to an earlier one) and
    // fills the list from it.
    void Initialize(C3DCurveController& controller);
    // Fills the list anew, keeping the selected row; scrollToEnd then shows
    // the last row. Raises no event. Every member does nothing before
    // Initialize.
    void RefreshCurveList(bool scrollToEnd);
    void RefreshItemsDuration();
    void RefreshItemsCurveVisibilityState();
    void RefreshItemsTimeVisibilityState();
    void RefreshItemsArrowVisibilityState();
    void RefreshItemsTangentVisibilityState();
    // True while the user works in one of the list's columns.
    bool Editing() const;
    // True while a duration typed into the list is being applied.
    bool IsCurveDurationChanging() const { return m_durationChanging; }
    // The controller's curve at the selected row; null without one.
    C3DCurve* SelectedCurve() const;
    // The buttons take the width of the longest caption, at least
    // ButtonWidth; the list gives up what they take more.
    void SetButtonsCaption(const QString& addCaption, const QString& removeCaption, const QString& importCaption);
    // Options 0 to 3: curve visible, arrows, times, tangents.
    void SetListOptionTooltips(const QStringList& tooltips);

signals:
    // The user selected a row, or a curve was added or removed.
    void SelectedCurveChanged();
    // The curve already has its new value.
    void CurveOptionChanged(C3DCurve& curve, int32_t optionIndex);
    void CurveAdded(C3DCurve& curve);
    void CurveStartTimeChanged(C3DCurve& curve);
    void CurveDurationChanged(C3DCurve& curve);
    void ImportClicked();
    void EditingStateChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CurveCountChanged() override;

    void FillList(bool scrollToEnd);
    void ForEachCurve(const std::function<void(int32_t row, const C3DCurve& curve)>& update) const;
    void UpdateButtons();
    // Sizes the buttons to their captions and places them and the list.
    void ArrangeButtons();
    // The controller's curve at a row of the list; null outside the curves.
    C3DCurve* CurveAt(int32_t row) const;

    void OnAddClicked();
    void OnRemoveClicked();
    void OnItemOptionChanged(int32_t row, int32_t option);
    void OnCurveNameChanging(int32_t row, QString& newName);
    void OnCurveStartTimeChanging(int32_t row, double& value);
    void OnCurveDurationChanging(int32_t row, double& value);
    void OnSelectedItemChanged(int32_t row);

    UC3DCurveList* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_import = nullptr;
    C3DCurveController* m_controller = nullptr;
    bool m_durationChanging = false;
};
