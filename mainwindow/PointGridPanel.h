#pragma once

#include "IFlexgrid.h"

#include <QObject>

#include <array>
#include <cstdint>

class C3DCurve;
class CFlexgridWrapper;
class FlexgridEx;
class UCTabbedFlexgrid;
struct MainContext;

// The point grid: the control points of the selected curve in three tabs.
// Every operation that names a curve ignores a curve that the curve
// manager does not show. The operations the other groups call have least
// bodies here, so that a fake overrides only what its test needs.
class IPointGridPanel
{
public:
    virtual ~IPointGridPanel() = default;
    // The grid's columns, once while the window loads.
    virtual void fDefineGridColumns() = 0;
    // Empties the grid (close-down).
    virtual void fGridClear() = 0;
    // The first and last row of the active grid's selection (rows count
    // from 1, as the control points); false without a grid or selection.
    virtual bool fActiveGridSelection(int32_t& /*firstRow*/, int32_t& /*lastRow*/) const { return false; }

    // Painting off and on again around many cell changes (GridChange
    // below holds the pair).
    virtual void fGridStartChange() {}
    virtual void fGridEndChange(bool /*refresh*/) {}
    // All rows again; without a curve those of the selected one.
    virtual void fGridReloadCurve(C3DCurve* /*curve*/ = nullptr) {}
    // Selects a row in every tab; ensureVisible scrolls to it. A null curve
    // stands for the selected one.
    virtual void fGridSelectRow(C3DCurve* /*curve*/, int32_t /*row*/, bool /*ensureVisible*/) {}
    virtual void fGridClearSelection(C3DCurve* /*curve*/) {}
    // Rewrites the cells of those properties in one row (-1 for none).
    virtual void fGridUpdateCells(C3DCurve* /*curve*/, int32_t /*row*/,
                                  const std::array<int32_t, 10>& /*properties*/)
    {
    }
    virtual void fGridUpdateColumn(C3DCurve* /*curve*/, int32_t /*property*/) {}
    // True: no cell can be edited.
    virtual void fGridLockEdition(bool /*lock*/) {}
    // The grids select the first block of selected points of the selected
    // curve.
    virtual void fGridSyncSelection() {}
};

// Holds the grid's painting off for as long as it lives.
class GridChange
{
public:
    explicit GridChange(IPointGridPanel& grid, bool refresh = false) : m_grid(grid), m_refresh(refresh)
    {
        m_grid.fGridStartChange();
    }
    ~GridChange() { m_grid.fGridEndChange(m_refresh); }
    GridChange(const GridChange&) = delete;
    GridChange& operator=(const GridChange&) = delete;

private:
    IPointGridPanel& m_grid;
    bool m_refresh;
};

class PointGridPanel final : public IPointGridPanel
{
public:
    // The tabs in their order; the grid controls carry the same index.
    static constexpr int32_t TabBase = 0;
    static constexpr int32_t TabLookAt = 1;
    static constexpr int32_t TabCmd = 2;

    // A grid's selected block, rows and columns each from the smaller to
    // the larger, whichever way it was dragged.
    struct Block
    {
        int32_t firstRow = 0;
        int32_t lastRow = 0;
        int32_t firstCol = 0;
        int32_t lastCol = 0;
    };
    static Block SelectedBlock(const IFlexgrid& grid);

    // Connects the grid's events.
    explicit PointGridPanel(MainContext& context);

    void fDefineGridColumns() override;
    void fGridClear() override;
    bool fActiveGridSelection(int32_t& firstRow, int32_t& lastRow) const override;
    void fGridStartChange() override;
    void fGridEndChange(bool refresh) override;
    void fGridReloadCurve(C3DCurve* curve = nullptr) override;
    void fGridSelectRow(C3DCurve* curve, int32_t row, bool ensureVisible) override;
    void fGridClearSelection(C3DCurve* curve) override;
    void fGridUpdateCells(C3DCurve* curve, int32_t row, const std::array<int32_t, 10>& properties) override;
    void fGridUpdateColumn(C3DCurve* curve, int32_t property) override;
    void fGridLockEdition(bool lock) override;
    void fGridSyncSelection() override;

    // ---- Handlers of tabbedFlexgrid --------------------------------------------
    void tabbedFlexgrid_WrapperValueChanged(CFlexgridWrapper& wrapper);
    void tabbedFlexgrid_WrapperMouseUp(CFlexgridWrapper& wrapper, int32_t button, int32_t shift);
    void tabbedFlexgrid_FlexgridMouseDown(int32_t shift);
    void tabbedFlexgrid_FlexgridKeyDown(FlexgridEx& grid, int16_t& keyCode, int32_t shift);
    // Also when the focus leaves the grid.
    void tabbedFlexgrid_FlexgridKeyUp();
    void tabbedFlexgrid_FlexgridEditGotFocus();
    void tabbedFlexgrid_FlexgridEditLostFocus();

private:
    UCTabbedFlexgrid& Tabs() const;
    C3DCurve* SelectedCurve() const;
    // The curve is the one the grid shows (none: the grid shows none).
    bool IsShown(const C3DCurve* curve) const;
    int32_t TabOf(const FlexgridEx& grid) const;
    // Writes the edited cells into the curve, column by column; a column
    // the curve refuses stops it with a message.
    void fWriteCells(CFlexgridWrapper& wrapper, C3DCurve& curve);
    void fToggleHide(C3DCurve& curve, const Block& block);
    void fCentreViewOnRow(C3DCurve& curve, int32_t row);
    void fDeleteRows(C3DCurve& curve, int32_t tab, const IFlexgrid& grid);
    void fDuplicateRow(C3DCurve& curve, const IFlexgrid& grid);

    MainContext& m_c;
    // Set while an edit is written into the curve: the changes the curve's
    // events make to the grid are no edits.
    bool m_valueChanging = false;
    // Context of the connections, which go with this object.
    QObject m_connections;
};
