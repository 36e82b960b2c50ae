#pragma once

#include <array>
#include <cstdint>
#include <memory>

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
    static constexpr int32_t BalloonCount = 17;

    explicit MainTooltips(MainContext& context);
    ~MainTooltips() override;
    void fSetTooltips() override;
    CTooltip* Balloon(int32_t slot) override;

private:
    void fCreateTooltips();
    // The text of that number in the current language for balloon `slot`.
    void SetBalloonText(int32_t slot, int32_t textId);

    MainContext& m_c;
    // Slots 1 to 17 at indices 0 to 16; empty until the first fSetTooltips.
    std::array<std::unique_ptr<CTooltip>, BalloonCount> m_tooltips;
    bool m_created = false;
};
