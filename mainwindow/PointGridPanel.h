#pragma once

#include <array>
#include <cstdint>

class C3DCurve;
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
    virtual void fGridReloadCurve(const C3DCurve* /*curve*/ = nullptr) {}
    // Selects a row in every tab; ensureVisible scrolls to it. A null curve
    // stands for the selected one.
    virtual void fGridSelectRow(const C3DCurve* /*curve*/, int32_t /*row*/, bool /*ensureVisible*/) {}
    virtual void fGridClearSelection(const C3DCurve* /*curve*/) {}
    // Rewrites the cells of those properties in one row (-1 for none).
    virtual void fGridUpdateCells(const C3DCurve* /*curve*/, int32_t /*row*/,
                                  const std::array<int32_t, 10>& /*properties*/)
    {
    }
    virtual void fGridUpdateColumn(const C3DCurve* /*curve*/, int32_t /*property*/) {}
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
    explicit PointGridPanel(MainContext& context) : m_c(context) {}
    void fDefineGridColumns() override {}
    void fGridClear() override {}

private:
    MainContext& m_c;
};
