// The point grid's events: edited cells written into the curve, clicks
// (hide flags, the preview, centring a 2D view), the Delete and Ctrl+D
// keys, and the editing flag.

#include "PointGridPanel.h"

#include "C3DCurve.h"
#include "CFlexgridWrapper.h"
#include "EditBrackets.h"
#include "FlexgridEx.h"
#include "MCommon.h"
#include "MDisplayNumber.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "RuvError.h"
#include "StatusMessages.h"
#include "UCTabbedFlexgrid.h"

#include <vector>

namespace {

constexpr int16_t KeyDelete = 46;
constexpr int16_t KeyD = 68;
constexpr int32_t ShiftCtrl = 2;
constexpr int32_t PropertyTimescale = 8;
constexpr int32_t PropertyHide = 9;

// A cell's text as the user's number; false for anything that is not one
// or lies beyond the 32-bit float range.
bool ReadSingle(const QString& text, float& value)
{
    double d = 0.0;
    return MDisplayNumber::Parse(text, d) && MCommon::TryToSingle(TaggedValue(d), value);
}

// Whole rows of the grid are selected.
bool SpansWholeRows(const IFlexgrid& grid, const PointGridPanel::Block& b)
{
    return b.firstCol == 1 && b.lastCol == grid.Cols() - 1;
}

}  // namespace

void PointGridPanel::tabbedFlexgrid_WrapperValueChanged(CFlexgridWrapper& wrapper)
{
    // The curve's events rewrite the cells while an edit is written.
    if (m_valueChanging)
        return;
    const FlagHeld guard(m_valueChanging);
    C3DCurve* curve = SelectedCurve();
    if (curve == nullptr || wrapper.Grid() == nullptr)
        return;
    fWriteCells(wrapper, *curve);
    m_c.parts.editState->fUnselectHiddenOfSelected();
}

void PointGridPanel::fWriteCells(CFlexgridWrapper& wrapper, C3DCurve& curve)
{
    IFlexgrid& grid = *wrapper.Grid();
    Block b = SelectedBlock(grid);
    b.firstRow = std::max(b.firstRow, 1);
    b.lastRow = std::min(b.lastRow, curve.ControlsCount());
    if (b.lastRow < b.firstRow)
        return;

    // The columns' values, read up to the first column with a text that is
    // no number: that one and those after it keep their old values.
    struct Column
    {
        int32_t property;
        std::vector<TaggedValue> values;
    };
    std::vector<Column> columns;
    bool notANumber = false;
    for (int32_t col = b.firstCol; col <= b.lastCol && !notANumber; ++col) {
        const int32_t property = wrapper.PointProperty(col);
        if (property < 1)
            continue;
        const int32_t type = wrapper.ColumnDataType(col);
        if (type != C3DCurve::TypeNumber && type != C3DCurve::TypeText)
            throw RuvError(static_cast<int32_t>(0x80040001u), QStringLiteral("Unsupported data type."),
                           QStringLiteral("FrmMain : WrapperValueChanged"));
        Column column{property, {}};
        for (int32_t row = b.firstRow; row <= b.lastRow; ++row) {
            const QString text = grid.TextMatrix(row, col);
            float v = 0.0f;
            if (type == C3DCurve::TypeText) {
                column.values.emplace_back(text);
            } else if (ReadSingle(text, v)) {
                column.values.emplace_back(v);
            } else {
                notANumber = true;
                break;
            }
        }
        if (!notANumber)
            columns.push_back(std::move(column));
    }

    int32_t refused = 0;
    if (!columns.empty()) {
        const GridRedrawOff redraw(grid);
        CurveChangeBracket change(curve);
        bool anglesChanged = false;
        bool targetsChanged = false;
        for (const Column& column : columns) {
            if (!curve.SetControlsValues(column.property, b.firstRow, column.values)) {
                refused = column.property;
                break;
            }
            if (column.property == 4 || column.property == 5)
                anglesChanged = true;
            else if (column.property >= 22 && column.property <= 24)
                targetsChanged = true;
        }
        if (refused == 0 && !notANumber) {
            // The look follows what was typed: a new target turns the
            // angles, new angles move the target.
            for (int32_t row = b.firstRow; row <= b.lastRow; ++row) {
                if (targetsChanged)
                    curve.UpdateControlAngles(row);
                else if (anglesChanged)
                    curve.UpdateControlTarget(row);
            }
        }
        change.Close();
    }
    if (refused != 0 || notANumber) {
        // The refused cells show the curve's values again.
        fGridReloadCurve(&curve);
        if (refused == PropertyTimescale)
            m_c.status.fShowMessageBox(m_c.texts.fGetText(223), 64, m_c.texts.fGetText(224));
        else
            m_c.status.fShowMessageBox(m_c.texts.fGetText(225), 64, m_c.texts.fGetText(226));
    }
}

void PointGridPanel::tabbedFlexgrid_WrapperMouseUp(CFlexgridWrapper& wrapper, int32_t, int32_t shift)
{
    C3DCurve* curve = SelectedCurve();
    IFlexgrid* grid = wrapper.Grid();
    if (curve == nullptr || grid == nullptr)
        return;
    const Block b = SelectedBlock(*grid);
    const bool view3D = m_c.state.m_view != nullptr && m_c.state.m_view->Is3D();
    IPreviewPlayback& preview = *m_c.parts.preview;
    if (view3D && preview.fIsPreviewLocked()) {
        if (curve == m_c.state.m_mainCurve)
            preview.fPreviewGridClick(grid->Row(), shift);
        return;
    }
    if (b.firstCol == b.lastCol && b.firstCol >= 0 && b.firstCol < grid->Cols()
        && wrapper.PointProperty(b.firstCol) == PropertyHide && curve->ControlsCount() >= 1) {
        fToggleHide(*curve, b);
    } else if ((shift & ShiftCtrl) != 0 && !view3D) {
        fCentreViewOnRow(*curve, grid->Row());
    }
}

void PointGridPanel::fToggleHide(C3DCurve& curve, const Block& b)
{
    const int32_t first = std::max(b.firstRow, 1);
    const int32_t last = std::min(b.lastRow, curve.ControlsCount());
    {
        CurveChangeBracket change(curve);
        for (int32_t row = first; row <= last; ++row)
            curve.SetValue(row, PropertyHide, TaggedValue(curve.GetHide(row) == 0.0f ? 1.0f : 0.0f));
        change.Close();
    }
    m_c.parts.editState->fUnselectHiddenOfSelected();
}

void PointGridPanel::fCentreViewOnRow(C3DCurve& curve, int32_t row)
{
    CView* view = m_c.state.m_view;
    if (view == nullptr || row < 1 || row > curve.ControlsCount())
        return;
    m_c.state.m_drags.m_showGridSelection = true;
    const std::array<float, 3> position = curve.GetPosition(row);
    view->SetCurrentOrigin(1, position[static_cast<size_t>(view->HAxis())]);
    view->SetCurrentOrigin(2, position[static_cast<size_t>(view->VAxis())]);
    m_c.parts.viewZoom->fApplyViewScale();
    m_c.parts.sceneDrawing->fRefreshView();
}

void PointGridPanel::tabbedFlexgrid_FlexgridMouseDown(int32_t shift)
{
    if (SelectedCurve() != nullptr && shift != ShiftCtrl)
        m_c.parts.preview->fOnPlaybackStopped();
}

void PointGridPanel::tabbedFlexgrid_FlexgridKeyDown(FlexgridEx& grid, int16_t& keyCode, int32_t shift)
{
    C3DCurve* curve = SelectedCurve();
    if (curve == nullptr)
        return;
    // The main curve stays as the locked preview samples it.
    if (curve == m_c.state.m_mainCurve && m_c.parts.preview->fIsPreviewLocked())
        return;
    if (keyCode == KeyDelete) {
        fDeleteRows(*curve, TabOf(grid), grid);
        keyCode = 0;
    } else if (keyCode == KeyD && shift == ShiftCtrl) {
        fDuplicateRow(*curve, grid);
        keyCode = 0;
    }
}

void PointGridPanel::fDeleteRows(C3DCurve& curve, int32_t tab, const IFlexgrid& grid)
{
    const Block b = SelectedBlock(grid);
    const int32_t first = std::max(b.firstRow, 1);
    const int32_t last = std::min(b.lastRow, curve.ControlsCount());
    if (last < first)
        return;
    if (tab == TabCmd) {
        CurveCountBracket change(curve);
        for (int32_t row = last; row >= first; --row)
            curve.SetCommand(row, QString());
        change.Close();
        return;
    }
    if (!SpansWholeRows(grid, b))
        return;
    {
        CurveCountBracket change(curve);
        for (int32_t row = last; row >= first; --row)
            curve.DeleteControl(row);
        change.Close();
    }
    if (curve.ControlsCount() > 0 && first > 1)
        fGridSelectRow(&curve, first - 1, false);
    else
        fGridClearSelection(&curve);
}

void PointGridPanel::fDuplicateRow(C3DCurve& curve, const IFlexgrid& grid)
{
    const Block b = SelectedBlock(grid);
    if (b.firstRow != b.lastRow || b.firstRow < 1 || b.firstRow > curve.ControlsCount()
        || !SpansWholeRows(grid, b))
        return;
    if (!m_c.parts.curveEditing->fCanAddControl(curve, m_c.texts.fGetText(158)))
        return;
    curve.DuplicateControl(b.firstRow);
    fGridSelectRow(&curve, b.firstRow + 1, false);
}

void PointGridPanel::tabbedFlexgrid_FlexgridKeyUp()
{
    m_c.parts.sceneDrawing->fHideGridSelection();
}

void PointGridPanel::tabbedFlexgrid_FlexgridEditGotFocus()
{
    m_c.state.m_inputEditing = true;
}

void PointGridPanel::tabbedFlexgrid_FlexgridEditLostFocus()
{
    m_c.state.m_inputEditing = false;
}
