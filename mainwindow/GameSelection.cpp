#include "GameSelection.h"

#include "GameDetection.h"
#include "HandlerErrors.h"
#include "LabelEx.h"
#include "MCommon.h"
#include "MFileOp.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainSettings.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "RuvError.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>

#include <span>

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

enum GameType : int32_t { EtPro = 0, DeFrag = 1, Warsow = 2, Rtcw = 3, EtQw = 4 };

// Where the Windows installer of ET QW leaves its folders.
constexpr const char* kEtqwInstallKey = "HKLM\\SOFTWARE\\Id\\ET - QUAKE Wars";

// The program's picture of that resource name.
QIcon ResourceIcon(const QString& name)
{
    return QIcon(QPixmap(QStringLiteral(":/ruvadir/pictures/%1.png").arg(name)));
}

}  // namespace

GameSelection::GameSelection(MainContext& context) : m_c(context)
{
    if (QAction* item = m_c.menus.Action(QStringLiteral("mnuG_Preference")))
        QObject::connect(item, &QAction::triggered, &m_c.window, [this] {
            RunHandler(m_c, [this] { mnuG_Preference_Click(); });
        });
}

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
        QObject::connect(item, &QAction::triggered, &m_c.window, [this, i] {
            RunHandler(m_c, [this, i] { mnuGM_Mod_Click(i); });
        });
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

void GameSelection::mnuGM_Mod_Click(int32_t index)
{
    const CGameDefinition* active = m_c.state.m_activeGame;
    const int32_t activeIndex = active ? active->GType() : -1;
    // The menu has already moved its check mark; it goes back unless the
    // game changes.
    fCheckModMenuItem(activeIndex);
    if (index == activeIndex)
        return;
    if (!m_c.parts.projectCommands->fNewProject(true))
        return;
    m_c.parts.demoSelection->fClearDemo();
    fApplyGameToGui(index, true);
}

void GameSelection::mnuG_Preference_Click()
{
    fShowGamePreferences();
}

void GameSelection::fApplyGameToGui(int32_t index, bool saveFirst)
{
    if (index < 0 || index >= MainState::GameCount)
        throw RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("FrmMain.fApplyGameToGui"));
    CGameDefinition* game = &m_c.state.m_games[static_cast<size_t>(index)];
    if (m_c.state.m_activeGame == game)
        return;
    // 1. The game left keeps its settings and lists.
    if (saveFirst && m_c.state.m_activeGame) {
        m_c.parts.settings->fWriteCurrentGameSettings();
        m_c.parts.settings->fSaveRecentLists();
    }
    // 2, 3.
    fCheckModMenuItem(index);
    m_c.state.m_activeGame = game;
    if (m_c.state.m_curveController)
        m_c.state.m_curveController->SetGameType(game->GType());
    // 4 to 15.
    fApplyGameOptions(index);
    // 16 to 20.
    m_c.parts.settings->fReadRecentLists();
    fApplyGameFolders();
    m_c.parts.tooltips->fSetTooltips();
    m_c.parts.cameraModes->fFillCamModes();
    m_c.parts.cameraModes->fSetCamModeTooltip();
    m_c.shell.fUpdateCaption(QString());
}

void GameSelection::fApplyGameOptions(int32_t index)
{
    MainWidgets& w = m_c.widgets;
    const bool isETPro = index == EtPro;
    const bool isDeFrag = index == DeFrag;
    const bool isWarsow = index == Warsow;
    const bool isRTCW = index == Rtcw;
    const bool isETQW = index == EtQw;
    const bool freecam = fGameSupportsFreecam();

    w.lblTransSpeed->setVisible(isDeFrag);
    w.txtTransSpeed->setVisible(isDeFrag);
    if (isETQW) {
        w.chkSIncFov->setChecked(false);
        w.chkSIncTS->setChecked(false);
    }
    w.chkSIncFreecam->setEnabled(freecam);
    if (!w.chkSIncFreecam->isEnabled())
        w.chkSIncFreecam->setChecked(false);
    w.chkSIncOneFrameDelay->setChecked(isETQW);
    w.chkSIncFPSLimit->setChecked(!isETQW);
    w.chkSIncOneFrameDelay->setEnabled(!isETQW && !isWarsow);
    w.chkSIncFPSLimit->setEnabled(!isETQW);
    w.chkSAutoStart->setEnabled(freecam);

    CVbFrameHandler* frames = m_c.controls.m_frameHandler.get();
    const auto setFrame = [frames](QGroupBox* frame, bool enabled) {
        if (frames)
            frames->SetState(frame, enabled);
        else
            frame->setEnabled(enabled);
    };
    setFrame(w.fraS_CameraMode, !isRTCW && !isWarsow);
    setFrame(w.fraS_Pause, !isWarsow);
    w.chkSWarsowCamLimitation->setEnabled(isWarsow);
    setFrame(w.fraSRecordFrameSettings, isETQW);

    const CGameDefinition& game = *m_c.state.m_activeGame;
    if (m_c.controls.m_aboutForm)
        m_c.controls.m_aboutForm->SetModInfos(game.FriendlyName(), game.Version());
    w.cmdGameLoad->setIcon(ResourceIcon(game.GameLoadIcon()));
    w.cmdGameClose->setIcon(ResourceIcon(game.GameCloseIcon()));

    setFrame(w.fraGDemoControl, isETPro);
    w.lbxGDemo->setEnabled(isETPro);
    if (m_c.controls.mFramerateHandler)
        m_c.controls.mFramerateHandler->SetConstrainedToMultipleOf30(isETQW);
}

bool GameSelection::fGameSupportsFreecam() const
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return false;
    const int32_t type = game->GType();
    return type == EtPro || type == Rtcw || type == EtQw;
}

void GameSelection::fApplyGameFolders()
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return;
    QString demoRoot = game->DemoDefaultRootDir();
    m_c.parts.demoSelection->SetProjectDemoRootDir(demoRoot);
    m_c.parts.gameConfigs->fRemoveMissingConfigs(m_c.widgets.cboSCmdsBefore);
    m_c.parts.gameConfigs->fRemoveMissingConfigs(m_c.widgets.cboSCmdsAfter);
    m_c.parts.gameConfigs->fRemoveMissingConfigs(m_c.widgets.cboGConfigs);
}

bool GameSelection::fGetGameRootDir(QString& root)
{
    if (!fCheckGameLocation())
        return false;
    // The games read their configurations from the folder that holds the
    // mod folder: beside the executable as installed on Windows, the
    // engine's home folder (~/.etlegacy) on Linux.
    const QString folder = MFileOp::GetFolderPart(m_c.state.m_activeGame->ModFullDir());
    root = folder;
    return MFileOp::FolderExists(folder);
}

bool GameSelection::fCheckGameLocation()
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return false;
    if (game->IsLocationValid())
        return true;
    if (!m_c.state.m_loaded)
        return false;
    if (!fShowGamePreferences())
        return false;
    return game->IsLocationValid();
}

bool GameSelection::fShowGamePreferences()
{
    CGameDefinition* game = m_c.state.m_activeGame;
    FrmGameSettings* form = m_c.controls.m_gameSettingsForm.get();
    if (!game || !form)
        return false;
    const QString modBefore = game->ModFullDir();
    if (game->GType() == EtQw)
        fDetectEtqwLocations();
    // What the Windows installers leave in the registry, a Linux system
    // shows by its engines' own folders.
    GameDetection::FillEmptyLocation(m_c.services.gameSearch, *game);
    form->ShowForm(&m_c.window, game->GType(), std::span<CGameDefinition>(m_c.state.m_games));
    if (game->ModFullDir() != modBefore)
        fApplyGameFolders();
    return !form->Canceled();
}

void GameSelection::fDetectEtqwLocations()
{
    CGameDefinition* game = m_c.state.m_activeGame;
    if (!game || game->GType() != EtQw)
        return;
    if (game->ExeFullPath().isEmpty()) {
        const QString key = L(kEtqwInstallKey);
        TaggedValue value;
        QString text;
        if (m_c.parts.settings->fRegValueRead(key, QStringLiteral("EXEString"), value)
            && MCommon::TryToText(value, text)) {
            game->SetExeFullPath(text);
        } else if (m_c.parts.settings->fRegValueRead(key, QStringLiteral("InstallPath"), value)
                   && MCommon::TryToText(value, text)) {
            const QString folder = MFileOp::NormalizePath(text);
            if (!folder.isEmpty())
                game->SetExeFullPath(RuvPlatform::PathHelper::Join(folder, game->GameExe()));
        }
    }
    if (game->ModFullDir().isEmpty()) {
        QString documents;
        if (!fGetPersonalFolder(documents))
            return;
        const QString idFolder = RuvPlatform::PathHelper::Join(documents, QStringLiteral("id Software"));
        if (!MFileOp::FolderExists(idFolder))
            return;
        QStringList entries;
        MFileOp::ListFolder(entries, idFolder, false);
        // The listing begins with the folder itself.
        for (qsizetype i = 1; i < entries.size(); ++i) {
            const QString& entry = entries.at(i);
            const QString base = RuvPlatform::PathHelper::Join(entry, QStringLiteral("base"));
            if (entry.contains(QLatin1String("Enemy Territory - QUAKE Wars")) && MFileOp::FolderExists(base)) {
                game->SetModFullDir(base);
                break;
            }
        }
    }
}

bool GameSelection::fGetPersonalFolder(QString& folder) const
{
    folder = MFileOp::SpecialFolderPath(MFileOp::CsidlPersonal);
    return !folder.isEmpty();
}

QString GameSelection::fGetImportDir() const
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return {};
    if (!game->ImportDir().isEmpty())
        return game->ImportDir();
    using RuvPlatform::PathHelper::Join;
    if (game->GType() == Warsow)
        return Join(game->ModFullDir(), QStringLiteral("demos"));
    return Join(Join(game->ModFullDir(), QStringLiteral("cam")), QStringLiteral("pos"));
}

QString GameSelection::fGetScriptOutDir() const
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return {};
    if (!game->ScriptOutDir().isEmpty())
        return game->ScriptOutDir();
    return RuvPlatform::PathHelper::Join(game->ModFullDir(), QStringLiteral("cam"));
}

QString GameSelection::fGetScreenshotDir() const
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return {};
    return RuvPlatform::PathHelper::Join(game->ModFullDir(), QStringLiteral("screenshots"));
}
