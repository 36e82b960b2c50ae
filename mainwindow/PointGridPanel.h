#pragma once

#include <array>
#include <cstdint>

class C3DCurve;
struct MainContext;

// The point grid: the control points of the selected curve in three tabs.
class IPointGridPanel
{
public:
    virtual ~IPointGridPanel() = default;
    // The grid's columns, once while the window loads.
    virtual void fDefineGridColumns() = 0;
    // Empties the grid (close-down).
    virtual void fGridClear() = 0;

    // ---- For the curve tools, the edit state and the sinks -----------------
    // A change of the grids' contents, in a bracket.
    virtual void fGridStartChange() {}
    virtual void fGridEndChange(bool /*flag*/) {}
    // The curve's rows anew when it is the selected curve (any: the
    // selected curve).
    virtual void fGridReloadCurve(C3DCurve* /*curve*/) {}
    // Row selection, for the selected curve or when no curve is given.
    virtual void fGridSelectRow(C3DCurve* /*curve*/, int32_t /*row*/, bool /*flag*/) {}
    virtual void fGridClearSelection(C3DCurve* /*curve*/) {}
    // Rewrites the cells of ten property ids (-1 for none) of one row.
    virtual void fGridUpdateCells(C3DCurve* /*curve*/, int32_t /*row*/, const std::array<int32_t, 10>& /*ids*/) {}
    virtual void fGridUpdateColumn(C3DCurve* /*curve*/, int32_t /*property*/) {}
    // The grids' selection from the selected curve's selected points.
    virtual void fGridSyncSelection() {}
    // The first and last row of the active grid's selection (rows count
    // from 1, as the control points); false without a grid or selection.
    virtual bool fActiveGridSelection(int32_t& /*firstRow*/, int32_t& /*lastRow*/) const { return false; }
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
