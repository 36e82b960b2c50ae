#pragma once

#include <cstdint>

class CTooltip;
struct MainContext;

// The window's balloon and plain tooltips in the current language.
class IMainTooltips
{
public:
    virtual ~IMainTooltips() = default;
    // Creates the balloons once, then sets every tooltip text.
    virtual void fSetTooltips() = 0;
    // Balloon `slot` (1 to 17; slot 1 is the camera mode's), nullptr while
    // the balloons do not exist.
    virtual CTooltip* Balloon(int32_t slot) = 0;
};

class MainTooltips final : public IMainTooltips
{
public:
    explicit MainTooltips(MainContext& context) : m_c(context) {}
    void fSetTooltips() override {}
    CTooltip* Balloon(int32_t) override { return nullptr; }

private:
    MainContext& m_c;
};
