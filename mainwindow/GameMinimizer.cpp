#include "GameMinimizer.h"

#include "Dadavive.h"
#include "GameLauncher.h"
#include "HandlerErrors.h"
#include "MForms.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

namespace {

constexpr int32_t kStyleInformation = 64;
constexpr int32_t kTitleText = 79;
constexpr int32_t kNotRegisteredText = 80;
constexpr int32_t kNoHotKeysText = 937;

}  // namespace

GameMinimizer::GameMinimizer(MainContext& context) : m_c(context)
{
    // The box's value changes by code too (the load sets it, a failed
    // registration clears it), and each change is handled.
    QObject::connect(m_c.widgets.chkGMinimizerEnabled, &QCheckBox::toggled, &m_receiver,
                     [this] { RunHandler(m_c, [this] { chkGMinimizerEnabled_Click(); }); });
    QObject::connect(m_c.widgets.cboGMinimizerHotkey, &QComboBox::currentIndexChanged, &m_receiver,
                     [this] { RunHandler(m_c, [this] { cboGMinimizerHotkey_Click(); }); });
}

void GameMinimizer::fFillMinimizerHotkeys(const QString& hotkey)
{
    QComboBox* combo = m_c.widgets.cboGMinimizerHotkey;
    {
        // The list passes through other selections while it fills.
        const QSignalBlocker quiet(combo);
        combo->clear();
        // Alt+F opens the File menu; Alt+Z is the window's own.
        for (char letter = 'A'; letter <= 'Y'; ++letter) {
            if (letter != 'F')
                combo->addItem(QStringLiteral("Alt+") + QLatin1Char(letter), int32_t(letter));
        }
        fSelectMinimizerHotkey(hotkey);
    }
    cboGMinimizerHotkey_Click();
}

void GameMinimizer::fSelectMinimizerHotkey(const QString& hotkey)
{
    QComboBox* combo = m_c.widgets.cboGMinimizerHotkey;
    int index = hotkey.isEmpty() ? -1 : combo->findText(hotkey, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = combo->findText(QStringLiteral("Alt+M"), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

bool GameMinimizer::fIsMinimizerEnabled() const
{
    return m_c.widgets.chkGMinimizerEnabled->isChecked();
}

int32_t GameMinimizer::fMinimizerHotkeyKey() const
{
    return m_c.widgets.cboGMinimizerHotkey->currentData().toInt();
}

QString GameMinimizer::fMinimizerHotkeyText() const
{
    return m_c.widgets.cboGMinimizerHotkey->currentText();
}

bool GameMinimizer::fSetMinimizer(bool enable)
{
    IHotKeys* hotKeys = m_c.controls.m_hotKeys.get();
    if (!enable) {
        if (hotKeys)
            hotKeys->Unregister();
        return true;
    }
    if (hotKeys && hotKeys->Register(Dadavive::hkmAlt, fMinimizerHotkeyKey()))
        return true;
    // Clearing the box releases what may still be held.
    m_c.widgets.chkGMinimizerEnabled->setChecked(false);
    const QString prompt = hotKeys && hotKeys->Available()
                               ? m_c.texts.fGetText(kNotRegisteredText, TaggedValue(fMinimizerHotkeyText()))
                               : m_c.texts.fGetText(kNoHotKeysText);
    m_c.status.fShowMessageBox(prompt, kStyleInformation, m_c.texts.fGetText(kTitleText));
    return false;
}

void GameMinimizer::chkGMinimizerEnabled_Click()
{
    fSetMinimizer(fIsMinimizerEnabled());
}

void GameMinimizer::cboGMinimizerHotkey_Click()
{
    if (fIsMinimizerEnabled() && m_c.widgets.cboGMinimizerHotkey->currentIndex() >= 0)
        fSetMinimizer(true);
}

void GameMinimizer::FormSc_HotKeyPressed(int32_t modifiers, int32_t key)
{
    if (key != fMinimizerHotkeyKey() || modifiers != Dadavive::hkmAlt)
        return;
    const IGameWindows::Handle window = m_c.parts.gameLauncher->fFindGameWindow();
    if (window == 0)
        return;
    IGameWindows& windows = *m_c.services.gameWindows;
    if (windows.GetPlacement(window) == MForms::StateMinimized)
        windows.Restore(window);
    else
        windows.Minimize(window);
}
