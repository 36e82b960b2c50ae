#pragma once

#include "MainServices.h"

#include <QString>

struct MainContext;

// Commands typed into the running game's console: the text goes on the
// clipboard, the game window comes to the front, and the keys that open
// the console, paste, run the line and close the console follow, by their
// scan codes (the console key is the key left of 1 on every layout), the
// paste a frame of a slow game after its Ctrl. The game start and the demo
// go-to and forward commands use it. It blocks the caller for about half a
// second, up to 2.4 s when the game is slow to take the keyboard.
class IConsoleInput
{
public:
    virtual ~IConsoleInput() = default;
    // Types `text` into the game window (0: the window is searched). True
    // when the window was found and the command typed; false when there is
    // no game window (told on request, in messageText or else text 217,
    // under messageTitle), when the clipboard did not take the text
    // (always told, in a message of its own), or when the game window did
    // not take the keyboard (always told, as for no window) or lost it on
    // the way (always told, in text 940: its console may be open; keys not
    // yet sent are not sent, and a Ctrl pressed is released); these two
    // under messageTitle or text 934.
    virtual bool fSendConsoleCommand(const QString& text, IGameWindows::Handle window, bool showFailureMessage,
                                     const QString& messageText, const QString& messageTitle) = 0;
};

class ConsoleInput final : public IConsoleInput
{
public:
    explicit ConsoleInput(MainContext& context) : m_c(context) {}

    bool fSendConsoleCommand(const QString& text, IGameWindows::Handle window, bool showFailureMessage,
                             const QString& messageText, const QString& messageTitle) override;

private:
    // Until the window has the focus: at least 200 ms, at most 2 s.
    void fWaitForFocus(IGameWindows::Handle window);
    enum class Typing
    {
        Done,
        NeverTaken,    // no key went out
        KeyboardLost,  // some did: the console may be open
    };
    // Sends the console keys while the window has the focus.
    Typing fTypeConsoleKeys(IGameWindows::Handle window);

    MainContext& m_c;
};
