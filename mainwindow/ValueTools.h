#pragma once

#include <array>

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
    explicit ValueTools(MainContext& context) : m_c(context) {}
    void fValidateFactor(bool&) override {}
    void fValidateAutoRollMaxAngle(bool&) override {}

private:
    MainContext& m_c;
};
