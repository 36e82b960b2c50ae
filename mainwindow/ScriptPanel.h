#pragma once

struct MainContext;

// The script panel: pause key and interval, demo times, commands before and
// after the script, record-frame settings.
class IScriptPanel
{
public:
    virtual ~IScriptPanel() = default;
    virtual void fFillPauseKeys() = 0;
    // The text-box handler's validation of txtSScriptPauseInterval.
    virtual void fValidatePauseInterval(bool& cancel) = 0;
};

class ScriptPanel final : public IScriptPanel
{
public:
    explicit ScriptPanel(MainContext& context) : m_c(context) {}
    void fFillPauseKeys() override {}
    void fValidatePauseInterval(bool&) override {}

private:
    MainContext& m_c;
};
