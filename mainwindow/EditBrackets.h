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

// BeginChange ... EndChange: one change event when it closes.
class CurveChangeBracket
{
public:
    explicit CurveChangeBracket(C3DCurve& curve) : m_curve(&curve) { curve.BeginChange(); }
    ~CurveChangeBracket()
    {
        try {
            Close();
        } catch (...) {
        }
    }
    void Close()
    {
        if (C3DCurve* curve = std::exchange(m_curve, nullptr))
            curve->EndChange();
    }
    CurveChangeBracket(const CurveChangeBracket&) = delete;
    CurveChangeBracket& operator=(const CurveChangeBracket&) = delete;

private:
    C3DCurve* m_curve;
};

// BeginControlsCountChange ... EndControlsCountChange.
class CurveCountBracket
{
public:
    explicit CurveCountBracket(C3DCurve& curve) : m_curve(&curve) { curve.BeginControlsCountChange(); }
    ~CurveCountBracket()
    {
        try {
            Close();
        } catch (...) {
        }
    }
    void Close()
    {
        if (C3DCurve* curve = std::exchange(m_curve, nullptr))
            curve->EndControlsCountChange();
    }
    CurveCountBracket(const CurveCountBracket&) = delete;
    CurveCountBracket& operator=(const CurveCountBracket&) = delete;

private:
    C3DCurve* m_curve;
};

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
