#pragma once

#include <QString>

#include <array>

struct MainContext;

// The camera modes of the active game and the player or point number.
class ICameraModePanel
{
public:
    virtual ~ICameraModePanel() = default;
    // The titles and descriptions of the camera modes, once at load.
    virtual void fFillCamModeTexts() = 0;
    // The modes of the active game, the first one chosen.
    virtual void fFillCamModes() = 0;
    // A mode was chosen: its tooltip, the option's caption and its list.
    virtual void cboCamMode_Click() = 0;
    // The title and text of the camera mode's balloon.
    virtual void fSetCamModeTooltip() = 0;
    // "Point" or "Player" before the option box.
    virtual void fShowCamModeOption() = 0;
    // The player or point numbers of the chosen mode.
    virtual void fFillCamModeOptions() = 0;
};

class CameraModePanel final : public ICameraModePanel
{
public:
    explicit CameraModePanel(MainContext& context);
    void fFillCamModeTexts() override;
    void fFillCamModes() override;
    void cboCamMode_Click() override;
    void fSetCamModeTooltip() override;
    void fShowCamModeOption() override;
    void fFillCamModeOptions() override;

private:
    int32_t ActiveGameType() const;

    MainContext& m_c;
    // The DeFrag modes' balloon titles and texts.
    std::array<QString, 4> m_defragModeTitles;
    std::array<QString, 4> m_defragModeTexts;
};
