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

// An engine reads its input once a frame and takes V as a paste only when
// an earlier frame saw Ctrl held; keys sent together all fall into one
// frame, and the console gets an empty line. Each step therefore comes a
// frame of a slow game (25 frames a second) after the one before.
constexpr unsigned long kStepGapMs = 40;

constexpr int16_t kCtrlScanCode = 0x1D;

struct KeyStep
{
    int16_t scanCode;
    int32_t action;
};

// Open the console, remove what its key typed, paste, run, close.
constexpr KeyStep kConsoleKeys[] = {
    {0x29, MKeyboard::ActionPress},          {0x0E, MKeyboard::ActionPress},
    {kCtrlScanCode, MKeyboard::ActionDown}, {0x2F, MKeyboard::ActionPress},
    {kCtrlScanCode, MKeyboard::ActionUp},   {0x1C, MKeyboard::ActionPress},
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
    if (!fTypeConsoleKeys(window)) {
        m_c.status.fShowMessageBox(messageText.isEmpty() ? m_c.texts.fGetText(kNoGameText) : messageText,
                                   kStyleInformation,
                                   messageTitle.isEmpty() ? m_c.texts.fGetText(kConsoleTitleText) : messageTitle);
        return false;
    }
    return true;
}

bool ConsoleInput::fTypeConsoleKeys(IGameWindows::Handle window)
{
    IGameWindows& windows = *m_c.services.gameWindows;
    bool ctrlDown = false;
    bool typed = true;
    for (const KeyStep& key : kConsoleKeys) {
        if (&key != kConsoleKeys)
            QThread::msleep(kStepGapMs);  // the key before was sent and flushed
        // Keys that would go to another window (the game never took the
        // keyboard, or the user went elsewhere) are not sent.
        if (windows.ActiveWindow() != window) {
            typed = false;
            break;
        }
        windows.SendKey(key.scanCode, 0, MKeyboard::FlagScanCode, key.action);
        if (key.scanCode == kCtrlScanCode)
            ctrlDown = key.action == MKeyboard::ActionDown;
    }
    // A Ctrl left down would stay down for the whole display.
    if (ctrlDown)
        windows.SendKey(kCtrlScanCode, 0, MKeyboard::FlagScanCode, MKeyboard::ActionUp);
    return typed;
}
