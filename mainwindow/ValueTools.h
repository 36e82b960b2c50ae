#pragma once

#include <array>

struct MainContext;

// Look targets, values by factor, averages, fixed angles and auto-roll of
// the selected points.
class IValueTools
{
public:
    virtual ~IValueTools() = default;
    // The text-box handler's validation of txtCFactor.
    virtual void fValidateFactor(bool& cancel) = 0;
    // The text-box handler's validation of txtCAutoRollMaxAngle.
    virtual void fValidateAutoRollMaxAngle(bool& cancel) = 0;

    // ---- For the curve tools and the edit state --------------------------
    // The three fixed-target boxes (txtCFixedTargets): X, Y, Z.
    virtual void fSetFixedTargetsFromArray(const std::array<double, 3>& /*target*/) {}
    virtual void fSetFixedTargets(float /*x*/, float /*y*/, float /*z*/) {}
    // The look-target options follow their enabled state.
    virtual void fUpdateLookTargetOptions() {}
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
