#pragma once

// Brackets the point grid and the value tools hold open while they write
// into a curve or a grid: each is closed by its object, on every path. The
// normal path closes it with Close(), so that what the closing raises (the
// curve's change events) reaches the caller; when an error unwinds past
// it, the destructor closes it and what that raises is dropped, so that
// the first error is the one the user sees.

#include "C3DCurve.h"
#include "IFlexgrid.h"

#include <utility>

// A bracket of the curve, opened by Begin and closed by End.
template <void (C3DCurve::*Begin)(), void (C3DCurve::*End)()>
class CurveBracket
{
public:
    explicit CurveBracket(C3DCurve& curve) : m_curve(&curve) { (curve.*Begin)(); }
    ~CurveBracket()
    {
        try {
            Close();
        } catch (...) {
        }
    }
    void Close()
    {
        if (C3DCurve* curve = std::exchange(m_curve, nullptr))
            (curve->*End)();
    }
    CurveBracket(const CurveBracket&) = delete;
    CurveBracket& operator=(const CurveBracket&) = delete;

private:
    C3DCurve* m_curve;
};

// BeginChange ... EndChange: one change event when it closes.
using CurveChangeBracket = CurveBracket<&C3DCurve::BeginChange, &C3DCurve::EndChange>;
// BeginControlsCountChange ... EndControlsCountChange.
using CurveCountBracket = CurveBracket<&C3DCurve::BeginControlsCountChange, &C3DCurve::EndControlsCountChange>;

// A grid's Redraw off, and back to what it was.
class GridRedrawOff
{
public:
    explicit GridRedrawOff(IFlexgrid& grid) : m_grid(grid), m_was(grid.Redraw()) { grid.SetRedraw(false); }
    ~GridRedrawOff() { m_grid.SetRedraw(m_was); }
    GridRedrawOff(const GridRedrawOff&) = delete;
    GridRedrawOff& operator=(const GridRedrawOff&) = delete;

private:
    IFlexgrid& m_grid;
    bool m_was;
};

// A flag set for as long as it lives.
class FlagHeld
{
public:
    explicit FlagHeld(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagHeld() { m_flag = false; }
    FlagHeld(const FlagHeld&) = delete;
    FlagHeld& operator=(const FlagHeld&) = delete;

private:
    bool& m_flag;
};
