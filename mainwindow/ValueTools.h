#pragma once

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
