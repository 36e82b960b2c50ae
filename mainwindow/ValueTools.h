#pragma once

#include "PointGridPanel.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <memory>

class CFlexgridWrapper;
struct MainContext;

// Look targets, values by factor, averages, fixed angles and auto-roll of
// the selected points. The operations the other groups call have least
// bodies here, so that a fake overrides only what its test needs.
class IValueTools
{
public:
    virtual ~IValueTools() = default;
    // The text-box handler's validation of txtCFactor.
    virtual void fValidateFactor(bool& cancel) = 0;
    // The text-box handler's validation of txtCAutoRollMaxAngle.
    virtual void fValidateAutoRollMaxAngle(bool& cancel) = 0;

    // The fixed target's three boxes (x, y, z), shown with two decimals.
    virtual void fSetFixedTargetsFromArray(const std::array<double, 3>& /*xyz*/) {}
    virtual void fSetFixedTargets(float /*x*/, float /*y*/, float /*z*/) {}
    // 0 for a box that holds no number.
    virtual std::array<double, 3> fGetFixedTargets() const { return {}; }
    // The three boxes and their captions.
    virtual void fSetFixedTargetEnabled(bool /*enabled*/) {}
    // After the options' enabled state changed: the fixed-target boxes, the
    // checked option and cmdLkApply follow it.
    virtual void fUpdateLookTargetOptions() {}
    // The focus to cmdCAddFactor.
    virtual void fFocusAddFactor() {}
};

class ValueTools final : public IValueTools
{
public:
    // The auto-roll maximum's bounds in degrees.
    static constexpr double MinAutoRollAngle = 0.01;
    static constexpr double MaxAutoRollAngle = 180.0;

    // Connects the tools' buttons and the fixed-target boxes.
    explicit ValueTools(MainContext& context);
    ~ValueTools() override;

    void fValidateFactor(bool& cancel) override;
    void fValidateAutoRollMaxAngle(bool& cancel) override;
    void fSetFixedTargetsFromArray(const std::array<double, 3>& xyz) override;
    void fSetFixedTargets(float x, float y, float z) override;
    std::array<double, 3> fGetFixedTargets() const override;
    void fSetFixedTargetEnabled(bool enabled) override;
    void fUpdateLookTargetOptions() override;
    void fFocusAddFactor() override;

    // ---- The look target ----------------------------------------------------
    void optLkTarget_Click(int32_t index);
    // The checked option, -1 for none.
    int32_t fGetSelectedLookTarget() const;
    void cmdLkApply_Click();
    // 0 the fixed target, 1 the next point, 2 the selected curve.
    void fApplyLookTarget(int32_t mode);

    // ---- The fixed-target boxes' events --------------------------------------
    void txtCFixedTargets_GotFocus(int32_t index);
    void txtCFixedTargets_LostFocus(int32_t index);
    // Enter and Escape; KeyAscii 0 swallows the key.
    void txtCFixedTargets_KeyPress(int32_t index, int16_t& keyAscii);
    void txtCFixedTargets_Validate(int32_t index, bool& cancel);

    // ---- Values of the grid's selection ---------------------------------------
    // The factor's buttons (a factor of 0 divides nothing).
    void cmdCAddFactor_Click();
    void cmdCSubFactor_Click();
    void cmdCMultiplyByFactor_Click();
    void cmdCDivideByFactor_Click();
    // +90, -90, +180, -180, +360, -360.
    void cmdCAddSubFactor_Click(int32_t index);
    void fProcessValuesByFactor(float value, bool multiply);
    void cmdAverage_Click();
    void cmdCFixeAngles_Click();
    void cmdCAutoRoll_Click();

private:
    class BoxKeys;

    // The factor box's number; false when it holds none.
    bool fGetFactor(float& factor) const;
    // The selected grid's wrapper and grid, or null.
    CFlexgridWrapper* SelectedWrapper() const;
    // The selected grid's block when its values may be calculated, without
    // a Hide column at its end; null otherwise (text 199 with the title
    // when columns cannot be calculated; a refresh without selected rows).
    CFlexgridWrapper* fTakeCalculableBlock(int32_t titleText, PointGridPanel::Block& block);
    void fRefreshMapView();

    MainContext& m_c;
    // Context of the connections and owner of the boxes' validators.
    QObject m_connections;
    std::unique_ptr<BoxKeys> m_boxKeys;
};
