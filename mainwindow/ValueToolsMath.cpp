// The value tools that work on the point grid's selection: values by a
// factor, averages, fixed angles, and the automatic roll of the main curve.

#include "ValueTools.h"

#include "C3DCurve.h"
#include "CFlexgridWrapper.h"
#include "EditBrackets.h"
#include "MCommon.h"
#include "MDisplayNumber.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PointGridPanel.h"
#include "RuvError.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

constexpr int32_t PropertyPitch = 4;
constexpr int32_t PropertyYaw = 5;
constexpr int32_t PropertyRoll = 6;
constexpr int32_t PropertyTimescale = 8;
constexpr int32_t PropertyHide = 9;
constexpr int32_t PropertyCommand = 25;

constexpr int32_t TitleByFactor = 196;
constexpr int32_t TitleAverage = 198;

bool IsAngle(int32_t property)
{
    return property >= PropertyPitch && property <= PropertyRoll;
}

// The grid's selection is remembered and its drawing is off for as long as
// this lives; both come back at the end.
class SelectionKept
{
public:
    explicit SelectionKept(IFlexgrid& grid) : m_grid(grid), m_selection(grid.Selection()), m_redraw(grid) {}
    ~SelectionKept()
    {
        try {
            m_grid.SetSelection(m_selection);
        } catch (const RuvError&) {
            // Rows that are gone: the grid keeps what it has.
        }
    }
    SelectionKept(const SelectionKept&) = delete;
    SelectionKept& operator=(const SelectionKept&) = delete;

private:
    IFlexgrid& m_grid;
    IFlexgrid::SelectionRange m_selection;
    GridRedrawOff m_redraw;
};

}  // namespace

CFlexgridWrapper* ValueTools::SelectedWrapper() const
{
    CFlexgridWrapper* wrapper = m_c.widgets.tabbedFlexgrid->Selected();
    return wrapper != nullptr && wrapper->Grid() != nullptr ? wrapper : nullptr;
}

bool ValueTools::fGetFactor(float& factor) const
{
    double d = 0.0;
    return MDisplayNumber::Parse(m_c.widgets.txtCFactor->text(), d) && MCommon::TryToSingle(TaggedValue(d), factor);
}

void ValueTools::fValidateFactor(bool& cancel)
{
    float factor = 0.0f;
    cancel = !fGetFactor(factor);
    if (!cancel)
        m_c.widgets.txtCFactor->setText(StatusMessages::fFormatStatusNumber(factor, 2));
}

void ValueTools::fFocusAddFactor()
{
    m_c.widgets.cmdCAddFactor->setFocus();
}

void ValueTools::cmdCAddFactor_Click()
{
    float factor = 0.0f;
    if (fGetFactor(factor))
        fProcessValuesByFactor(factor, false);
}

void ValueTools::cmdCSubFactor_Click()
{
    float factor = 0.0f;
    if (fGetFactor(factor))
        fProcessValuesByFactor(-factor, false);
}

void ValueTools::cmdCMultiplyByFactor_Click()
{
    float factor = 0.0f;
    if (fGetFactor(factor))
        fProcessValuesByFactor(factor, true);
}

void ValueTools::cmdCDivideByFactor_Click()
{
    float factor = 0.0f;
    if (fGetFactor(factor) && factor != 0.0f)
        fProcessValuesByFactor(1.0f / factor, true);
}

void ValueTools::cmdCAddSubFactor_Click(int32_t index)
{
    static constexpr float steps[] = {90.0f, -90.0f, 180.0f, -180.0f, 360.0f, -360.0f};
    if (index >= 0 && index < 6)
        fProcessValuesByFactor(steps[index], false);
}

CFlexgridWrapper* ValueTools::fTakeCalculableBlock(int32_t titleText, PointGridPanel::Block& b)
{
    CFlexgridWrapper* wrapper = SelectedWrapper();
    if (wrapper == nullptr)
        return nullptr;
    b = PointGridPanel::SelectedBlock(*wrapper->Grid());
    if (b.firstRow < 1) {
        fRefreshMapView();
        return nullptr;
    }
    const int32_t first = wrapper->PointProperty(b.firstCol);
    const int32_t last = wrapper->PointProperty(b.lastCol);
    if ((b.firstCol == b.lastCol && first == PropertyHide) || (first < PropertyCommand + 1 && last >= PropertyCommand)) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(199), 64, m_c.texts.fGetText(titleText));
        return nullptr;
    }
    if (last == PropertyHide)
        --b.lastCol;
    return wrapper;
}

void ValueTools::fProcessValuesByFactor(float value, bool multiply)
{
    PointGridPanel::Block b;
    CFlexgridWrapper* wrapper = fTakeCalculableBlock(TitleByFactor, b);
    if (wrapper == nullptr || value == 0.0f)
        return;
    IFlexgrid& grid = *wrapper->Grid();
    C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve();
    if (curve == nullptr)
        return;
    b.lastRow = std::min(b.lastRow, curve->ControlsCount());

    int32_t refused = 0;
    bool overflow = false;
    {
        const SelectionKept kept(grid);
        CurveChangeBracket change(*curve);
        bool anglesChanged = false;
        bool targetsChanged = false;
        for (int32_t col = b.firstCol; col <= b.lastCol; ++col) {
            const int32_t property = wrapper->PointProperty(col);
            if (property == PropertyHide)
                continue;
            const bool number = property >= 1 && property <= PropertyCommand
                                && C3DCurve::GetPropertyType(property) == C3DCurve::TypeNumber;
            if (!number)
                throw RuvError(static_cast<int32_t>(0x80040001u), QStringLiteral("Unsupported data type."),
                               QStringLiteral("FrmMain.fProcessValuesByFactor"));
            std::vector<TaggedValue> values;
            for (int32_t row = b.firstRow; row <= b.lastRow; ++row) {
                const double old = curve->value(row, property).Number();
                const double result = multiply ? old * value : old + value;
                // A result beyond the Single's range refuses the column.
                float single = 0.0f;
                if (!MCommon::TryToSingle(TaggedValue(result), single)) {
                    overflow = true;
                    break;
                }
                values.emplace_back(single);
            }
            if (overflow || !curve->SetControlsValues(property, b.firstRow, values)) {
                refused = property;
                break;
            }
            if (property == PropertyPitch || property == PropertyYaw)
                anglesChanged = true;
            else if (property >= 22 && property <= 24)
                targetsChanged = true;
        }
        if (refused == 0) {
            for (int32_t row = b.firstRow; row <= b.lastRow; ++row) {
                if (targetsChanged)
                    curve->UpdateControlAngles(row);
                else if (anglesChanged)
                    curve->UpdateControlTarget(row);
            }
        }
        change.Close();
    }
    if (refused == PropertyTimescale && !overflow)
        m_c.status.fShowMessageBox(m_c.texts.fGetText(223), 64, m_c.texts.fGetText(224));
    else if (refused != 0)
        m_c.status.fShowMessageBox(m_c.texts.fGetText(225), 64, m_c.texts.fGetText(226));
    fRefreshMapView();
}

void ValueTools::cmdAverage_Click()
{
    PointGridPanel::Block b;
    CFlexgridWrapper* wrapper = fTakeCalculableBlock(TitleAverage, b);
    if (wrapper == nullptr)
        return;
    IFlexgrid& grid = *wrapper->Grid();
    C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve();
    if (b.lastRow - b.firstRow > 1 && curve != nullptr) {
        const SelectionKept kept(grid);
        CurveChangeBracket change(*curve);
        for (int32_t col = b.firstCol; col <= b.lastCol; ++col)
            curve->SetControlsAverage(b.firstRow, std::min(b.lastRow, curve->ControlsCount()),
                                      wrapper->PointProperty(col));
        change.Close();
    } else {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(200), 64, m_c.texts.fGetText(TitleAverage));
    }
    fRefreshMapView();
}

void ValueTools::cmdCFixeAngles_Click()
{
    CFlexgridWrapper* wrapper = SelectedWrapper();
    if (wrapper == nullptr || !wrapper->HasProperty(PropertyPitch) || !wrapper->HasProperty(PropertyYaw)
        || !wrapper->HasProperty(PropertyRoll))
        return;
    IFlexgrid& grid = *wrapper->Grid();
    PointGridPanel::Block b = PointGridPanel::SelectedBlock(grid);
    if (b.firstRow >= 1) {
        if (!IsAngle(wrapper->PointProperty(b.firstCol)))
            b.firstCol = wrapper->ColumnIndex(PropertyPitch);
        if (!IsAngle(wrapper->PointProperty(b.lastCol)))
            b.lastCol = wrapper->ColumnIndex(PropertyRoll);
    } else {
        b.firstRow = 1;
        b.lastRow = grid.Rows() - 1;
        b.firstCol = wrapper->ColumnIndex(PropertyPitch);
        b.lastCol = wrapper->ColumnIndex(PropertyRoll);
    }
    if (b.lastRow >= 1 && b.firstCol <= b.lastCol)
        grid.SetSelection(IFlexgrid::SelectionRange{b.firstCol, b.lastCol, b.firstRow, b.lastRow});
    C3DCurve* curve = m_c.widgets.cmCurveManager->SelectedCurve();
    if (b.lastRow - b.firstRow >= 1 && curve != nullptr) {
        const SelectionKept kept(grid);
        CurveChangeBracket change(*curve);
        const int32_t last = std::min(b.lastRow, curve->ControlsCount());
        for (int32_t col = b.firstCol; col <= b.lastCol; ++col)
            curve->FixControlAngles(wrapper->PointProperty(col), b.firstRow, last);
        change.Close();
    } else {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(201), 64, m_c.texts.fGetText(202));
    }
    fRefreshMapView();
}

void ValueTools::fValidateAutoRollMaxAngle(bool& cancel)
{
    QLineEdit* box = m_c.widgets.txtCAutoRollMaxAngle;
    const double angle = std::clamp(MDisplayNumber::ParseOr(box->text(), 0.0), MinAutoRollAngle, MaxAutoRollAngle);
    box->setText(StatusMessages::fFormatStatusNumber(angle, 2));
    cancel = false;
}

void ValueTools::cmdCAutoRoll_Click()
{
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (curve == nullptr || curve->ControlsCount() < 3)
        return;
    const double angle = std::clamp(MDisplayNumber::ParseOr(m_c.widgets.txtCAutoRollMaxAngle->text(), 0.0),
                                    MinAutoRollAngle, MaxAutoRollAngle);
    curve->CalculateAutoRoll(angle);
    fRefreshMapView();
}
