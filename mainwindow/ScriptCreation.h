#pragma once

struct MainContext;

// The camera script of the main curve, written for the active game.
class IScriptCreation
{
public:
    virtual ~IScriptCreation() = default;
    // The text-box handler's validation of txtTransSpeed.
    virtual void fValidateTransSpeed(bool& cancel) = 0;
};

class ScriptCreation final : public IScriptCreation
{
public:
    explicit ScriptCreation(MainContext& context) : m_c(context) {}
    void fValidateTransSpeed(bool&) override {}

private:
    MainContext& m_c;
};
