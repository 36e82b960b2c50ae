#pragma once

#include <cstdint>

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
