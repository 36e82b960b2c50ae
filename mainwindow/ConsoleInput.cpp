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
constexpr int32_t kKeyboardLostText = 940;
constexpr int32_t kStyleInformation = 64;

// An engine reads its input once a frame, all the keys of a frame in their
// order, and takes V as a paste only when an earlier frame saw Ctrl held: a
// Ctrl that comes within a frame of its V may fall into the V's frame, and
// the console gets an empty line. So the V waits a whole frame of a slow
// game (10 frames a second) and half a frame more for one that runs late.
// The other keys need no frame of their own and follow a short step apart,
// which keeps the whole input short.
constexpr unsigned long kStepGapMs = 40;
constexpr unsigned long kFrameGapMs = 150;

constexpr int16_t kCtrlScanCode = 0x1D;

struct KeyStep
{
    int16_t scanCode;
    int32_t action;
    unsigned long gapBeforeMs;  // after the key before reached the X server
};

// Open the console, remove what its key typed, paste, run, close.
constexpr KeyStep kConsoleKeys[] = {
    {0x29, MKeyboard::ActionPress, 0},
    {0x0E, MKeyboard::ActionPress, kStepGapMs},
    {kCtrlScanCode, MKeyboard::ActionDown, kStepGapMs},
    {0x2F, MKeyboard::ActionPress, kFrameGapMs},
    {kCtrlScanCode, MKeyboard::ActionUp, kStepGapMs},
    {0x1C, MKeyboard::ActionPress, kStepGapMs},
    {0x29, MKeyboard::ActionPress, kStepGapMs},
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
    const Typing typing = fTypeConsoleKeys(window);
    if (typing == Typing::Done)
        return true;
    // Once keys went in, the game was there: the user must know that its
    // console may be left open, whatever text the caller gave for a
    // missing game.
    const QString told = typing == Typing::KeyboardLost ? m_c.texts.fGetText(kKeyboardLostText)
                         : messageText.isEmpty()        ? m_c.texts.fGetText(kNoGameText)
                                                        : messageText;
    m_c.status.fShowMessageBox(told, kStyleInformation,
                               messageTitle.isEmpty() ? m_c.texts.fGetText(kConsoleTitleText) : messageTitle);
    return false;
}

ConsoleInput::Typing ConsoleInput::fTypeConsoleKeys(IGameWindows::Handle window)
{
    IGameWindows& windows = *m_c.services.gameWindows;
    bool ctrlDown = false;
    Typing typing = Typing::Done;
    for (const KeyStep& key : kConsoleKeys) {
        if (key.gapBeforeMs > 0)
            QThread::msleep(key.gapBeforeMs);
        // Keys that would go to another window (the game never took the
        // keyboard, or the user went elsewhere) are not sent.
        if (windows.ActiveWindow() != window) {
            typing = &key == kConsoleKeys ? Typing::NeverTaken : Typing::KeyboardLost;
            break;
        }
        windows.SendKey(key.scanCode, 0, MKeyboard::FlagScanCode, key.action);
        if (key.scanCode == kCtrlScanCode)
            ctrlDown = key.action == MKeyboard::ActionDown;
    }
    // A Ctrl left down would stay down for the whole display.
    if (ctrlDown)
        windows.SendKey(kCtrlScanCode, 0, MKeyboard::FlagScanCode, MKeyboard::ActionUp);
    return typing;
}
