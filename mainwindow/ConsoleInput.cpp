#include "ConsoleInput.h"

#include "GameLauncher.h"
#include "MKeyboard.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainTexts.h"
#include "StatusMessages.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int32_t kNoGameText = 217;
constexpr int32_t kClipboardText = 930;
constexpr int32_t kConsoleTitleText = 934;
constexpr int32_t kStyleInformation = 64;

struct KeyStep
{
    int16_t scanCode;
    int32_t action;
};

// Open the console, remove what its key typed, paste, run, close.
constexpr KeyStep kConsoleKeys[] = {
    {0x29, MKeyboard::ActionPress}, {0x0E, MKeyboard::ActionPress}, {0x1D, MKeyboard::ActionDown},
    {0x2F, MKeyboard::ActionPress}, {0x1D, MKeyboard::ActionUp},    {0x1C, MKeyboard::ActionPress},
    {0x29, MKeyboard::ActionPress},
};

}  // namespace

void ConsoleInput::fWaitForFocus(IGameWindows::Handle window)
{
    // The window manager hands the focus over in its own time; keys sent
    // before would go to the window that had it. No event of ours runs
    // meanwhile.
    IGameWindows& windows = *m_c.services.gameWindows;
    QElapsedTimer waited;
    waited.start();
    do {
        QThread::msleep(10);
    } while (waited.elapsed() < 200 || (windows.ActiveWindow() != window && waited.elapsed() < 2000));
}

bool ConsoleInput::fSendConsoleCommand(const QString& text, IGameWindows::Handle window, bool showFailureMessage,
                                       const QString& messageText, const QString& messageTitle)
{
    IGameWindows& windows = *m_c.services.gameWindows;
    if (window == 0)
        window = m_c.parts.gameLauncher->fFindGameWindow();
    if (window == 0) {
        if (showFailureMessage)
            m_c.status.fShowMessageBox(messageText.isEmpty() ? m_c.texts.fGetText(kNoGameText) : messageText,
                                       kStyleInformation, messageTitle);
        return false;
    }
    if (!windows.SetClipboardText(text)) {
        // Typing would paste whatever the clipboard held before.
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kClipboardText), kStyleInformation,
                                   messageTitle.isEmpty() ? m_c.texts.fGetText(kConsoleTitleText) : messageTitle);
        return false;
    }
    m_c.parts.gameLauncher->fRestoreGameWindow(window);
    windows.Activate(window);
    fWaitForFocus(window);
    for (const KeyStep& key : kConsoleKeys)
        windows.SendKey(key.scanCode, 0, MKeyboard::FlagScanCode, key.action);
    return true;
}
