// The value tools' boxes and the look target: the fixed-target boxes on
// the text-box handler, the three look-target options and their apply
// button. The arithmetic on the grid's selection is in ValueToolsMath.cpp.

#include "ValueTools.h"

#include "C3DCurve.h"
#include "CFocusValidator.h"
#include "CTextboxHandler.h"
#include "CVbFrameHandler.h"
#include "EditBrackets.h"
#include "HandlerGuard.h"
#include "MCommon.h"
#include "MDisplayNumber.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int16_t KeyEnter = 13;
constexpr int16_t KeyEscape = 27;

// A box's text as the user's number, as a Single; false for a text that is
// no number or lies beyond the Single's range.
bool ReadSingle(const QLineEdit* box, float& value)
{
    double d = 0.0;
    return MDisplayNumber::Parse(box->text(), d) && MCommon::TryToSingle(TaggedValue(d), value);
}

QString TwoDecimals(double value)
{
    return StatusMessages::fFormatStatusNumber(value, 2);
}

// The option's own enabled state (its frame may be switched off as a
// whole meanwhile).
bool OwnEnabled(const QWidget* w)
{
    return w->isEnabledTo(w->parentWidget());
}

}  // namespace

// Enter and Escape of the fixed-target boxes, which the text-box handler
// records but does not hook.
class ValueTools::BoxKeys final : public QObject
{
public:
    explicit BoxKeys(ValueTools& tools) : m_tools(tools) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        int16_t ascii = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            ascii = KeyEnter;
        else if (key->key() == Qt::Key_Escape)
            ascii = KeyEscape;
        else
            return false;
        const std::array<QLineEdit*, 3>& boxes = m_tools.m_c.widgets.txtCFixedTargets;
        for (int32_t i = 0; i < 3; ++i) {
            if (boxes[static_cast<size_t>(i)] == watched) {
                RunGuarded(m_tools.m_c.status, [&] { m_tools.txtCFixedTargets_KeyPress(i, ascii); });
                return ascii == 0;
            }
        }
        return false;
    }

private:
    ValueTools& m_tools;
};

ValueTools::ValueTools(MainContext& context) : m_c(context), m_boxKeys(std::make_unique<BoxKeys>(*this))
{
    MainWidgets& w = m_c.widgets;
    QObject* on = &m_connections;
    const auto button = [this, on](QPushButton* b, void (ValueTools::*handler)()) {
        QObject::connect(b, &QPushButton::clicked, on, [this, handler] { RunGuarded(m_c.status, [&] { (this->*handler)(); }); });
    };
    for (int32_t i = 0; i < 3; ++i) {
        QObject::connect(w.optLkTarget[static_cast<size_t>(i)], &QRadioButton::toggled, on, [this, i](bool checked) {
            if (checked)
                RunGuarded(m_c.status, [&] { optLkTarget_Click(i); });
        });
        QLineEdit* box = w.txtCFixedTargets[static_cast<size_t>(i)];
        auto* validator = new CFocusValidator(box, on);
        QObject::connect(validator, &CFocusValidator::GotFocus, on, [this, i] { txtCFixedTargets_GotFocus(i); });
        QObject::connect(validator, &CFocusValidator::LostFocus, on, [this, i] { txtCFixedTargets_LostFocus(i); });
        QObject::connect(validator, &CFocusValidator::Validate, on, [this, i](bool& cancel) {
            RunGuarded(m_c.status, [&] { txtCFixedTargets_Validate(i, cancel); });
        });
        box->installEventFilter(m_boxKeys.get());
    }
    button(w.cmdLkApply, &ValueTools::cmdLkApply_Click);
    button(w.cmdCAddFactor, &ValueTools::cmdCAddFactor_Click);
    button(w.cmdCSubFactor, &ValueTools::cmdCSubFactor_Click);
    button(w.cmdCMultiplyByFactor, &ValueTools::cmdCMultiplyByFactor_Click);
    button(w.cmdCDivideByFactor, &ValueTools::cmdCDivideByFactor_Click);
    for (int32_t i = 0; i < 6; ++i) {
        QObject::connect(w.cmdCAddSubFactor[static_cast<size_t>(i)], &QPushButton::clicked, on,
                         [this, i] { RunGuarded(m_c.status, [&] { cmdCAddSubFactor_Click(i); }); });
    }
    button(w.cmdAverage, &ValueTools::cmdAverage_Click);
    button(w.cmdCFixeAngles, &ValueTools::cmdCFixeAngles_Click);
    button(w.cmdCAutoRoll, &ValueTools::cmdCAutoRoll_Click);
}

ValueTools::~ValueTools()
{
    for (QLineEdit* box : m_c.widgets.txtCFixedTargets)
        if (box != nullptr)
            box->removeEventFilter(m_boxKeys.get());
}

void ValueTools::fRefreshMapView()
{
    m_c.parts.sceneDrawing->fRefreshView();
}

// ---- The fixed-target boxes ------------------------------------------------------

void ValueTools::txtCFixedTargets_GotFocus(int32_t index)
{
    if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
        handler->OnFocusGot(m_c.widgets.txtCFixedTargets[static_cast<size_t>(index)]);
}

void ValueTools::txtCFixedTargets_LostFocus(int32_t index)
{
    if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
        handler->OnFocusLost(m_c.widgets.txtCFixedTargets[static_cast<size_t>(index)]);
}

void ValueTools::txtCFixedTargets_KeyPress(int32_t index, int16_t& keyAscii)
{
    QLineEdit* box = m_c.widgets.txtCFixedTargets[static_cast<size_t>(index)];
    if (keyAscii == KeyEnter) {
        keyAscii = 0;
        bool cancel = false;
        txtCFixedTargets_Validate(index, cancel);
        if (!cancel)
            m_c.widgets.optLkTarget[0]->setFocus();
    } else if (keyAscii == KeyEscape) {
        keyAscii = 0;
        if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
            handler->Cancel(box);
        m_c.widgets.optLkTarget[0]->setFocus();
    }
}

void ValueTools::txtCFixedTargets_Validate(int32_t index, bool& cancel)
{
    QLineEdit* box = m_c.widgets.txtCFixedTargets[static_cast<size_t>(index)];
    float value = 0.0f;
    if (ReadSingle(box, value)) {
        box->setText(TwoDecimals(value));
        if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
            handler->OnValidated(box);
    } else {
        cancel = true;
        QApplication::beep();
        box->selectAll();
    }
}

void ValueTools::fSetFixedTargetsFromArray(const std::array<double, 3>& xyz)
{
    for (size_t i = 0; i < 3; ++i)
        m_c.widgets.txtCFixedTargets[i]->setText(TwoDecimals(xyz[i]));
}

void ValueTools::fSetFixedTargets(float x, float y, float z)
{
    fSetFixedTargetsFromArray({x, y, z});
}

std::array<double, 3> ValueTools::fGetFixedTargets() const
{
    std::array<double, 3> xyz{};
    for (size_t i = 0; i < 3; ++i) {
        float v = 0.0f;
        xyz[i] = ReadSingle(m_c.widgets.txtCFixedTargets[i], v) ? v : 0.0;
    }
    return xyz;
}

void ValueTools::fSetFixedTargetEnabled(bool enabled)
{
    MainWidgets& w = m_c.widgets;
    for (QWidget* control : {static_cast<QWidget*>(w.txtCFixedTargets[0]), static_cast<QWidget*>(w.txtCFixedTargets[1]),
                             static_cast<QWidget*>(w.txtCFixedTargets[2]), static_cast<QWidget*>(w.lblLkTargetX),
                             static_cast<QWidget*>(w.lblLkTargetY), static_cast<QWidget*>(w.lblLkTargetZ)})
        control->setEnabled(enabled);
}

// ---- The look target -------------------------------------------------------------

void ValueTools::optLkTarget_Click(int32_t index)
{
    fSetFixedTargetEnabled(index == 0);
}

int32_t ValueTools::fGetSelectedLookTarget() const
{
    for (int32_t i = 0; i < 3; ++i)
        if (m_c.widgets.optLkTarget[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

void ValueTools::fUpdateLookTargetOptions()
{
    const std::array<QRadioButton*, 3>& options = m_c.widgets.optLkTarget;
    bool anyEnabled = false;
    for (const QRadioButton* option : options)
        anyEnabled = anyEnabled || OwnEnabled(option);
    fSetFixedTargetEnabled(OwnEnabled(options[0]));
    const int32_t checked = fGetSelectedLookTarget();
    if (anyEnabled && checked >= 0 && !OwnEnabled(options[static_cast<size_t>(checked)])) {
        // Each enabled option is checked in turn: the highest one stays.
        for (int32_t i = 0; i < 3; ++i)
            if (i != checked && OwnEnabled(options[static_cast<size_t>(i)]))
                options[static_cast<size_t>(i)]->setChecked(true);
    }
    if (CVbFrameHandler* frames = m_c.controls.m_frameHandler.get())
        frames->SetControlState(m_c.widgets.cmdLkApply, anyEnabled);
    else
        m_c.widgets.cmdLkApply->setEnabled(anyEnabled);
}

void ValueTools::cmdLkApply_Click()
{
    fApplyLookTarget(fGetSelectedLookTarget());
    fRefreshMapView();
}

void ValueTools::fApplyLookTarget(int32_t mode)
{
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (curve == nullptr || curve->ControlsCount() < 2 || mode < 0 || mode > 2)
        return;
    C3DCurve* target = nullptr;
    if (mode == 2) {
        target = m_c.widgets.cmCurveManager->SelectedCurve();
        if (target == nullptr || target == curve) {
            C3DCurveController& curves = *m_c.state.m_curveController;
            target = curves.CurveCount() == 2 ? &curves.Curves(1) : nullptr;
        }
        if (target == nullptr)
            m_c.status.fShowMessageBox(m_c.texts.fGetText(220), 64, m_c.texts.fGetText(35));
    }
    if (mode != 2 || (target != nullptr && target->ControlsCount() >= 1)) {
        // One change of the curve, one undo step.
        CurveChangeBracket change(*curve);
        if (mode == 1 && curve->SelectedCount() < 1) {
            curve->SelectAllControls();
            // The last point has no next one.
            curve->SetSelected(curve->ControlsCount(), false);
        } else if (curve->SelectedCount() < 1) {
            curve->SelectAllControls();
        }
        if (mode == 0) {
            const std::array<double, 3> xyz = fGetFixedTargets();
            curve->SetSelectedControlTarget2(static_cast<float>(xyz[0]), static_cast<float>(xyz[1]),
                                             static_cast<float>(xyz[2]));
        } else if (mode == 1) {
            curve->SetSelectedControlTargetNextControl();
        } else {
            curve->SetSelectedControlTarget(*target);
        }
        change.Close();
    }
    m_c.parts.pointGrid->fGridReloadCurve();
    fRefreshMapView();
}
