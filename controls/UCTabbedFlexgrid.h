#pragma once

// The point grid of the main window: a tab strip over up to 20 grids at
// one geometry, one grid and one wrapper per tab, every tab showing the
// same curve through its own columns. It passes the owner's requests to
// every wrapper at once, turns the grids' notifications into its own
// events and shows the grid of the current tab, whether a click or a key
// changed it. Tab i, grid i and wrapper i always belong together.
//
// A left press on the tab strip reaches it through a subclass object of
// the subclassing library (through the strip's own events when the library
// is not registered).

#include "CFlexgridWrapper.h"
#include "ComTypes.h"
#include "FlexgridEx.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class C3DCurve;
class QTabBar;

namespace Dadavive {
class ICSubclass;
}

class UCTabbedFlexgrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int32_t MaxItems = 20;

    // A tab as the tab strip counts it: Index from 1; the first tab's key
    // is empty, the others' "tab2", "tab3", ...
    struct Tab
    {
        int32_t Index = 0;
        QString Key;
        QString Caption;
    };

    explicit UCTabbedFlexgrid(QWidget* parent = nullptr);
    ~UCTabbedFlexgrid() override;

    void StartFlexgridsChange();
    void EndFlexgridsChange(bool refresh);
    void ReloadFlexgrids(const C3DCurve* curve);
    // Selects the row in every grid; with ensureVisible each grid scrolls
    // so that it shows, the last row kept at the bottom.
    void SelectFlexgridsRow(int32_t row, bool ensureVisible);
    void ClearFlexgridsSelection();
    void UpdateFlexgridCells(const C3DCurve* curve, int32_t row, std::span<const int32_t> properties);
    void UpdateFlexgridColumn(const C3DCurve* curve, int32_t property);
    void LockFlexgridEdition(bool lock);
    int32_t ItemCount() const { return m_itemCount; }
    // The index checks raise 0x80040001 "Invalid index : " and the index.
    Tab Tabs(int32_t index) const;
    CFlexgridWrapper& Wrappers(int32_t index) const;
    FlexgridEx& Grids(int32_t index) const;
    // The wrapper of the grid activated last, or null.
    CFlexgridWrapper* Selected() const { return m_selected; }
    // While a change is open the layout is put off; changes do not nest.
    void StartChange();
    void EndChange();
    // Adds a tab with its grid and wrapper. The 21st raises 0x80040001; the
    // wrapper's refusal of the columns reaches the caller and leaves the
    // control as it was.
    void Add(const QString& caption, const CFlexgridWrapper::Columns& columns);
    void Remove(int32_t index);
    void Clear();

    QTabBar* TabStrip() const { return tabFlexgrid; }

signals:
    void WrapperMouseUp(CFlexgridWrapper& wrapper, int32_t& Button, int32_t& Shift, float& X, float& Y);
    void WrapperValueChanged(CFlexgridWrapper& wrapper);
    void FlexgridEditGotFocus(FlexgridEx& grid);
    void FlexgridEditLostFocus(FlexgridEx& grid);
    void FlexgridKeyDown(FlexgridEx& grid, int16_t& KeyCode, int32_t& Shift);
    void FlexgridKeyUp(FlexgridEx& grid, int16_t& KeyCode, int32_t& Shift);
    void FlexgridMouseDown(FlexgridEx& grid, int32_t& Button, int32_t& Shift, float& X, float& Y);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    class TabSink;

    bool IsValidIndex(int32_t index) const { return index >= 0 && index < m_itemCount; }
    void CheckIndex(int32_t index) const;
    void ArrangeGrids();
    void Layout();
    void ActivateTab(int32_t button, int32_t pxX, int32_t pxY);
    // Shows the grid of the current tab, the others hidden behind it.
    void ShowCurrentGrid();
    FlexgridEx* NewGrid();
    CFlexgridWrapper* WrapperOf(const FlexgridEx* grid) const;
    // The grids and wrappers of the tabs (grid 0 stays when there are none).
    template <class F>
    void EachGrid(F f);
    template <class F>
    void EachWrapper(F f);

    QPointer<QTabBar> tabFlexgrid;
    std::vector<QPointer<FlexgridEx>> fxgGrids;
    std::array<std::unique_ptr<CFlexgridWrapper>, MaxItems> m_wrappers;
    int32_t m_itemCount = 0;
    CFlexgridWrapper* m_selected = nullptr;
    bool m_changing = false;
    bool m_mouseDown = false;
    Com::ComPtr<Dadavive::ICSubclass> tabFlexgridSc;
    Com::ComPtr<TabSink> m_tabSink;
};
