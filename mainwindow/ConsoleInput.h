#pragma once

#include "MainServices.h"

#include <QString>

struct MainContext;

// Commands typed into the running game's console.
class IConsoleInput
{
public:
    virtual ~IConsoleInput() = default;
    // Types `text` into the console of the game window (0: the active
    // game's window, searched for). With showFailureMessage a missing game
    // is reported under `messageTitle`, with `messageText` or, when empty,
    // the text that the game is not loaded. True when the window was found.
    virtual bool fSendConsoleCommand(const QString& text, IGameWindows::Handle gameWindow, bool showFailureMessage,
                                     const QString& messageText, const QString& messageTitle) = 0;
};

class ConsoleInput final : public IConsoleInput
{
public:
    explicit ConsoleInput(MainContext& context) : m_c(context) {}
    bool fSendConsoleCommand(const QString&, IGameWindows::Handle, bool, const QString&, const QString&) override
    {
        return false;
    }

private:
    MainContext& m_c;
};
