#pragma once

#include <QString>

struct MainContext;

// The hot key that minimizes and restores the running game.
class IGameMinimizer
{
public:
    virtual ~IGameMinimizer() = default;
    // Fills the hot-key list and selects the given hot key ("Alt+M").
    virtual void fFillMinimizerHotkeys(const QString& hotkey) = 0;
    // The text of the chosen hot key.
    virtual QString fMinimizerHotkeyText() const = 0;
};

class GameMinimizer final : public IGameMinimizer
{
public:
    explicit GameMinimizer(MainContext& context) : m_c(context) {}
    void fFillMinimizerHotkeys(const QString& hotkey) override { m_hotkey = hotkey; }
    QString fMinimizerHotkeyText() const override { return m_hotkey; }

private:
    MainContext& m_c;
    QString m_hotkey;
};
