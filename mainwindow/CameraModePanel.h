#pragma once

struct MainContext;

// The camera modes of the active game and the player or point number.
class ICameraModePanel
{
public:
    virtual ~ICameraModePanel() = default;
    // The titles and descriptions of the camera modes, once at load.
    virtual void fFillCamModeTexts() = 0;
};

class CameraModePanel final : public ICameraModePanel
{
public:
    explicit CameraModePanel(MainContext& context) : m_c(context) {}
    void fFillCamModeTexts() override {}

private:
    MainContext& m_c;
};
