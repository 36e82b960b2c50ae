#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

struct MainContext;

// A system-wide hot key, Alt and a letter, that minimizes the running
// game's window or restores it when it is minimized. It is registered on
// the window's subclass object while chkGMinimizerEnabled is checked, the
// letter chosen in cboGMinimizerHotkey.
class IGameMinimizer
{
public:
    virtual ~IGameMinimizer() = default;
    // Fills the hot-key list ("Alt+A" to "Alt+Y" without "Alt+F", each with
    // its letter's key code) and selects the given hot key.
    virtual void fFillMinimizerHotkeys(const QString& hotkey) = 0;
    // Selects the entry of exactly that text; else "Alt+M"; else nothing
    // changes.
    virtual void fSelectMinimizerHotkey(const QString& hotkey) = 0;
    virtual bool fIsMinimizerEnabled() const = 0;
    // The key code (65 to 89) of the chosen hot key, 0 when none is.
    virtual int32_t fMinimizerHotkeyKey() const = 0;
    // The text of the chosen hot key ("Alt+M").
    virtual QString fMinimizerHotkeyText() const = 0;
    // Registers (enable) or releases the hot key. A key that cannot be
    // registered clears the box and tells the user; false then.
    virtual bool fSetMinimizer(bool enable) = 0;
    virtual void chkGMinimizerEnabled_Click() = 0;
    virtual void cboGMinimizerHotkey_Click() = 0;
    // The window's subclass object saw a hot key.
    virtual void FormSc_HotKeyPressed(int32_t modifiers, int32_t key) = 0;
};

class GameMinimizer final : public IGameMinimizer
{
public:
    explicit GameMinimizer(MainContext& context);

    void fFillMinimizerHotkeys(const QString& hotkey) override;
    void fSelectMinimizerHotkey(const QString& hotkey) override;
    bool fIsMinimizerEnabled() const override;
    int32_t fMinimizerHotkeyKey() const override;
    QString fMinimizerHotkeyText() const override;
    bool fSetMinimizer(bool enable) override;
    void chkGMinimizerEnabled_Click() override;
    void cboGMinimizerHotkey_Click() override;
    void FormSc_HotKeyPressed(int32_t modifiers, int32_t key) override;

private:
    MainContext& m_c;
    // Holds the controls' connections for as long as this object lives.
    QObject m_receiver;
};
