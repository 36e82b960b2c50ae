#include "MainSettings.h"

#include "MCommon.h"
#include "MRegistry.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "MainTexts.h"
#include "StatusMessages.h"
#include "MenuItemArray.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>

#include <cstdlib>

namespace {

constexpr int32_t kSettingsNotSavedText = 996;
constexpr int32_t kSettingsText = 997;
constexpr int32_t kExclamationStyle = 48;

QString L(const char* text)
{
    return QString::fromLatin1(text);
}

QString ViewValueName(size_t view, const char* what)
{
    return QStringLiteral("View") + QString::number(view) + L(what);
}

}  // namespace

MainSettings::MainSettings(MainContext& context) : m_c(context) {}

QString MainSettings::GameKey() const
{
    return m_c.state.m_activeGame ? m_c.state.m_activeGame->RegistryKey() : QString();
}

bool MainSettings::fRegValueRead(const QString& keyPath, const QString& name, TaggedValue& value)
{
    value = m_c.services.settings->Read(keyPath, name);
    return !value.IsNull();
}

void MainSettings::fRegReadInt(const QString& keyPath, const QString& name, int16_t defaultValue, int16_t& result)
{
    TaggedValue value;
    if (!fRegValueRead(keyPath, name, value)) {
        result = defaultValue;
        return;
    }
    int16_t number = 0;
    result = MCommon::TryToInt16(value, number) ? number : 0;
}

void MainSettings::fRegReadBool(const QString& keyPath, const QString& name, bool defaultValue, bool& result)
{
    int16_t number = 0;
    fRegReadInt(keyPath, name, defaultValue ? 1 : 0, number);
    result = number >= 1;
}

void MainSettings::fRegWriteLong(const QString& keyPath, const QString& name, int32_t value)
{
    // The DWORD of the absolute value; -2^31 has one too.
    const auto magnitude = static_cast<uint32_t>(std::llabs(static_cast<long long>(value)));
    m_c.services.settings->Write(keyPath, name, MRegistry::RegDword, TaggedValue(static_cast<int32_t>(magnitude)));
}

void MainSettings::fRegWriteBool(const QString& keyPath, const QString& name, bool value)
{
    fRegWriteLong(keyPath, name, value ? 1 : 0);
}

void MainSettings::fRegWriteText(const QString& keyPath, const QString& name, const QString& value)
{
    m_c.services.settings->Write(keyPath, name, MRegistry::RegSz, TaggedValue(value));
}

void MainSettings::fReadSettings(int32_t& defaultGame, bool& minimizerEnabled, QString& minimizerHotkey)
{
    const QString key = AppKeyPath();
    fReadGameSettings();

    TaggedValue value;
    QString text;
    if (fRegValueRead(key, L("DefaultExportDir"), value) && MCommon::TryToText(value, text))
        m_c.state.m_defaultExportDir = text;
    if (fRegValueRead(key, L("SShotLoader"), value) && MCommon::TryToText(value, text))
        m_c.state.m_sShotLoader = text;

    int16_t number = 0;
    fRegReadInt(key, L("Language"), m_c.parts.language->fDefaultLanguageIndex(), number);
    m_c.parts.language->mnuVL_Lang_Click(number);
    fRegReadInt(key, L("MenuTheme"), static_cast<int16_t>(MainMenus::fDefaultMenuTheme()), number);
    m_c.menus.fSetMenuTheme(number);

    bool flag = false;
    fRegReadBool(key, L("IncludeFreecam"), false, flag);
    m_c.widgets.chkSIncFreecam->setChecked(flag);

    fRegReadInt(key, L("DefaultMod"), static_cast<int16_t>(m_c.parts.gameSelection->fDefaultModIndex()), number);
    defaultGame = number >= 0 && number < MainState::GameCount ? number : 0;

    fRegReadBool(key, L("MapMagnetize"), false, flag);
    m_c.menus.Action(L("mnuMapMagnetize"))->setChecked(flag);
    fRegReadBool(key, L("Map3dWireframe"), false, flag);
    m_c.menus.Action(L("mnuMap_WireframeOnly"))->setChecked(flag);

    fReadViewSettings(key);

    fRegReadInt(key, L("Default3dViewRatio"), 0, number);
    if (number < 0 || number >= m_c.widgets.cbo3DViewRatio->count())
        number = 0;
    m_c.parts.layout->fSetViewRatioIndex(number, true);

    fRegReadBool(key, L("MzEnabled"), false, minimizerEnabled);
    if (fRegValueRead(key, L("MzHotkey"), value) && MCommon::TryToText(value, text))
        minimizerHotkey = text;
}

void MainSettings::fSaveSettings()
{
    StoreBatch batch(*m_c.services.settings);
    const QString key = AppKeyPath();
    fRegWriteText(key, L("DefaultExportDir"), m_c.state.m_defaultExportDir);
    fRegWriteText(key, L("SShotLoader"), m_c.state.m_sShotLoader);
    fRegWriteLong(key, L("Language"), m_c.parts.language->fGetLanguageIndex());
    fRegWriteLong(key, L("MenuTheme"), m_c.menus.fGetMenuTheme());
    fRegWriteBool(key, L("IncludeFreecam"), m_c.widgets.chkSIncFreecam->isChecked());
    fRegWriteLong(key, L("DefaultMod"), m_c.state.m_activeGame ? m_c.state.m_activeGame->GType() : 0);
    fRegWriteBool(key, L("MapMagnetize"), m_c.menus.Action(L("mnuMapMagnetize"))->isChecked());
    fRegWriteBool(key, L("Map3dWireframe"), m_c.menus.Action(L("mnuMap_WireframeOnly"))->isChecked());
    fSaveViewSettings(key);
    fRegWriteLong(key, L("Default3dViewRatio"), m_c.parts.layout->fGetViewRatioIndex());
    fRegWriteBool(key, L("MzEnabled"), m_c.widgets.chkGMinimizerEnabled->isChecked());
    fRegWriteText(key, L("MzHotkey"), m_c.parts.gameMinimizer->fMinimizerHotkeyText());
    fWriteGameSettings();
    fSaveRecentLists();
    // Told once, at the end: every value of the batch failed for the same
    // reason (a read-only folder, a full disk).
    if (!batch.Commit())
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kSettingsNotSavedText, m_c.services.settings->LastError()),
                                   kExclamationStyle, m_c.texts.fGetText(kSettingsText));
}

void MainSettings::fReadViewSettings(const QString& keyPath)
{
    for (size_t i = 0; i < m_c.state.m_views.size(); ++i) {
        CView& view = m_c.state.m_views[i];
        bool flag = false;
        fRegReadBool(keyPath, ViewValueName(i, "ShowGrid"), false, flag);
        view.SetShowGrid(flag);
        fRegReadBool(keyPath, ViewValueName(i, "AntiAliasing"), false, flag);
        view.SetEnableAA(flag);
        fRegReadBool(keyPath, ViewValueName(i, "ShowRuler"), false, flag);
        view.SetShowRuler(flag);
    }
}

void MainSettings::fSaveViewSettings(const QString& keyPath)
{
    for (size_t i = 0; i < m_c.state.m_views.size(); ++i) {
        const CView& view = m_c.state.m_views[i];
        fRegWriteBool(keyPath, ViewValueName(i, "ShowGrid"), view.ShowGrid());
        fRegWriteBool(keyPath, ViewValueName(i, "AntiAliasing"), view.EnableAA());
        fRegWriteBool(keyPath, ViewValueName(i, "ShowRuler"), view.ShowRuler());
    }
}

void MainSettings::fReadGameSettings()
{
    for (CGameDefinition& game : m_c.state.m_games)
        game.ReadSettings();
}

void MainSettings::fWriteGameSettings()
{
    for (const CGameDefinition& game : m_c.state.m_games)
        game.WriteSettings();
}

void MainSettings::fWriteCurrentGameSettings()
{
    if (m_c.state.m_activeGame)
        m_c.state.m_activeGame->WriteSettings();
}

void MainSettings::fReadRecentLists()
{
    if (CRecentFile* recent = m_c.controls.m_recentFiles.get();
        recent && recent->Init(m_c.menus.mnuT_RecentFiles(), GameKey(), 10)) {
        recent->ClearAll();
        recent->RegistryRead();
    }
    m_c.parts.gameConfigs->fConfigsRegRead(m_c.widgets.cboSCmdsBefore, L("BeforeScript"));
    m_c.parts.gameConfigs->fConfigsRegRead(m_c.widgets.cboSCmdsAfter, L("AfterScript"));
    m_c.parts.gameConfigs->fConfigsRegRead(m_c.widgets.cboGConfigs, L("Config"));
    fReadFramerateLists();
}

void MainSettings::fSaveRecentLists()
{
    if (m_c.controls.m_recentFiles)
        m_c.controls.m_recentFiles->RegistrySave();
    m_c.parts.gameConfigs->fConfigsRegSave(m_c.widgets.cboSCmdsBefore, L("BeforeScript"));
    m_c.parts.gameConfigs->fConfigsRegSave(m_c.widgets.cboSCmdsAfter, L("AfterScript"));
    m_c.parts.gameConfigs->fConfigsRegSave(m_c.widgets.cboGConfigs, L("Config"));
    fSaveFramerateLists();
}

void MainSettings::fReadFramerateLists()
{
    CFramerateHandler* rates = m_c.controls.mFramerateHandler.get();
    if (!rates)
        return;
    const QString key = GameKey();
    TaggedValue value;
    QString text;
    std::vector<int32_t> values;
    if (fRegValueRead(key, L("AviDemos"), value) && MCommon::TryToText(value, text)
        && CFramerateHandler::ParseValuesString(text, values)) {
        if (fRegValueRead(key, L("DefaultAviDemo"), value))
            rates->SetDefaultValue(value);
        rates->LoadGlobalValues(values);
    } else {
        // Missing or unreadable: the built-in rates, written back at once.
        fRegWriteText(key, L("AviDemos"), CFramerateHandler::DefaultValuesString());
        rates->LoadDefaultValues();
    }
}

void MainSettings::fSaveFramerateLists()
{
    CFramerateHandler* rates = m_c.controls.mFramerateHandler.get();
    if (!rates)
        return;
    const QString key = GameKey();
    fRegWriteText(key, L("AviDemos"), rates->BuildValuesString(true));
    fRegWriteLong(key, L("DefaultAviDemo"), rates->DefaultValue());
}
