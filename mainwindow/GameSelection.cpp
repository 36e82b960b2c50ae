#include "GameSelection.h"

#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainSettings.h"
#include "MainState.h"
#include "RuvError.h"

#include <QAction>

namespace {

struct GameRow
{
    const char* friendlyName;
    const char* version;
    const char* defaultDir;
    const char* baseDir;
    bool useAbsoluteWorkingDir;
    const char* gameCaption;
    const char* gameWndClass;
    const char* gameExe;
    const char* gameLoadIcon;
    const char* gameCloseIcon;
    const char* fcCmd;
    const char* fcCmdTrailer;
    const char* projectFileDesc;
    const char* projectFileExt;
    const char* importFileExtension;
    const char* demoFileExtension;
};

constexpr const char* kRegistryRoot = "HKLM\\Software\\Viziviz\\Ruvadir\\Games settings";

constexpr GameRow kGames[] = {
    {"ET Pro", "v3.2.0", "etpro", "etmain", false, "Enemy Territory", "Enemy Territory", "Et.exe", "IDB_ETLOGO",
     "IDB_ETLOGOD", "freecamsetpos ", ";", "EtPro3 Ruvadir", "ep3t", "epcp", "dm_??"},
    {"DeFrag", "v1.91.02", "defrag", "baseq3", false, "Quake 3: Arena", "Quake 3: Arena", "Quake3.exe",
     "IDB_Q3LOGO", "IDB_Q3LOGOD", "set pos \"placeplayer ", "\";", "Defrag Ruvadir", "dfct", "dfcp", "dm_??"},
    {"Warsow", "v0.30", "basewsw", "basewsw", false, "Warsow", "WarsowWndClass", "warsow.exe", "IDB_WSLOGO",
     "IDB_WSLOGOD", "", "", "Warsow Ruvadir", "wswt", "cam", "wd?"},
    {"RTCW", "vX", "raVivavIva", "Main", false, "Wolfenstein", "Wolfenstein", "WolfMP.exe", "IDB_RTCWLOGO",
     "IDB_RTCWLOGOD", "freecamsetpos ", ";", "RTCW Ruvadir", "rcwt", "cwcp", "dm_??"},
    {"ET QW", "v1.0", "base", "base", true, "ETQW", "ETQW", "etqw.exe", "IDB_ETQWLOGO", "IDB_ETQWLOGOD",
     "freecamsetpos ", ";", "ETQW Ruvadir", "eqt", "qwcp", "ndm"},
};

QString L(const char* text)
{
    return QString::fromLatin1(text);
}

}  // namespace

void GameSelection::fCreateGameDefinitions()
{
    for (int32_t i = 0; i < MainState::GameCount; ++i) {
        const GameRow& r = kGames[i];
        m_c.state.m_games[static_cast<size_t>(i)].Initialize(
            i, L(r.friendlyName), L(r.version), L(r.defaultDir), L(r.baseDir), r.useAbsoluteWorkingDir,
            L(r.gameCaption), L(r.gameWndClass), L(r.gameExe), L(r.gameLoadIcon), L(r.gameCloseIcon), L(r.fcCmd),
            L(r.fcCmdTrailer), L(r.projectFileDesc), L(r.projectFileExt), L(kRegistryRoot),
            L(r.importFileExtension), 0, L(r.demoFileExtension));
    }
}

void GameSelection::fBuildModMenu()
{
    for (int32_t i = 0; i < MainState::GameCount; ++i) {
        QAction* item = m_c.menus.AddModItem(i);
        item->setText(m_c.state.m_games[static_cast<size_t>(i)].FriendlyName());
        item->setChecked(i == fDefaultModIndex());
    }
}

void GameSelection::fCheckModMenuItem(int32_t index)
{
    for (int32_t i = 0; i < m_c.menus.ModItemCount(); ++i)
        m_c.menus.ModItem(i)->setChecked(i == index);
}

void GameSelection::ClearActiveGame()
{
    m_c.state.m_activeGame = nullptr;
}

void GameSelection::fApplyGameToGui(int32_t index, bool saveFirst)
{
    if (index < 0 || index >= MainState::GameCount)
        throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("FrmMain.fApplyGameToGui"));
    CGameDefinition* game = &m_c.state.m_games[static_cast<size_t>(index)];
    if (m_c.state.m_activeGame == game)
        return;
    if (saveFirst && m_c.state.m_activeGame) {
        m_c.parts.settings->fWriteCurrentGameSettings();
        m_c.parts.settings->fSaveRecentLists();
    }
    fCheckModMenuItem(index);
    m_c.state.m_activeGame = game;
    if (m_c.state.m_curveController)
        m_c.state.m_curveController->SetGameType(game->GType());
    m_c.parts.settings->fReadRecentLists();
    m_c.shell.fUpdateCaption(QString());
}
