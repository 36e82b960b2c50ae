#pragma once

// The main window's three point-grid tabs ("Base", "LookAt", "Cmd") as
// column definitions, for the tests and the controls demo.

#include "C3DCurve.h"
#include "CFlexgridWrapper.h"

#include <QString>

#include <array>
#include <vector>

namespace PointGridColumns {

struct Def
{
    int tab;
    const char* caption;
    int32_t header;
    int32_t cell;
    int16_t width;
    int32_t property;
    bool readOnly;
    int16_t decimals;
};

inline constexpr const char* kTabs[] = {"Base", "LookAt", "Cmd"};

inline constexpr Def kDefs[] = {
    {0, "n\u00b0", 4, 8, 29, -1, true, -1},   {0, "time", 4, 8, 59, 21, false, 3},
    {0, "x", 4, 8, 59, 1, false, 2},          {0, "y", 4, 8, 59, 2, false, 2},
    {0, "z", 4, 8, 59, 3, false, 2},          {0, "fov", 4, 8, 38, 7, false, 2},
    {0, "ts", 4, 8, 33, 8, false, 3},         {0, "hide", 4, 5, 29, 9, false, 0},
    {0, "wgA", 4, 5, 29, 10, false, 2},       {0, "wgF", 4, 5, 29, 11, false, 0},
    {1, "n\u00b0", 4, 8, 29, -1, true, -1},   {1, "time", 4, 8, 59, 21, false, 3},
    {1, "pitch", 4, 8, 48, 4, false, 2},      {1, "yaw", 4, 8, 48, 5, false, 2},
    {1, "roll", 4, 5, 48, 6, false, 2},       {1, "x", 4, 8, 59, 22, false, 2},
    {1, "y", 4, 8, 59, 23, false, 2},         {1, "z", 4, 8, 59, 24, false, 2},
    {2, "n\u00b0", 4, 8, 29, -1, true, -1},   {2, "time", 4, 8, 59, 21, true, 3},
    {2, "command", 4, 2, 350, 25, false, -1},
};

// The columns of one tab, value types from the curve's property types.
inline CFlexgridWrapper::Columns Tab(int tab)
{
    const std::array<int32_t, 26> types = C3DCurve::GetPropertyTypes();
    CFlexgridWrapper::Columns columns;
    for (const Def& d : kDefs)
        if (d.tab == tab)
            columns.push_back(CFlexgridColumn::NewColumn(
                QString::fromUtf8(d.caption), d.header, d.cell, d.width, d.property, d.readOnly, d.decimals,
                d.property < 1 ? 1 : types[static_cast<size_t>(d.property)]));
    return columns;
}

} // namespace PointGridColumns
