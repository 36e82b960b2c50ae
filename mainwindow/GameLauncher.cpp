#include "GameLauncher.h"

#include "GameLinuxNames.h"
#include "MConsoleNames.h"
#include "HandlerErrors.h"
#include "MFileOp.h"
#include "MForms.h"
#include "MRuvResource.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>

namespace {

constexpr int32_t kStyleInformation = 64;
constexpr int32_t kStyleCritical = 16;
constexpr int32_t kConfigRefusalText = 931;
constexpr int32_t kDemoRefusalText = 932;
constexpr int32_t kModRefusalText = 933;
constexpr int32_t kRefusalTitleText = 935;
// The errors the start reports, as the system numbered them.
constexpr int32_t kFileNotFound = 53;
constexpr int32_t kStartRefused = 5;

// The fixed English messages: the text, an empty line, the error.
QString ErrorMessage(const char* text, int32_t number, const QString& description)
{
    return QString::fromLatin1(text) + QStringLiteral("\r\n\r\nError n\u00B0") + QString::number(number)
           + QStringLiteral(" : ") + description;
}

// Names the engines read between double quotes (a demo, a mod folder):
// their blanks stay inside the argument, anything else that splits a
// command is refused as for every other name that reaches the console.
bool IsQuotedConsoleName(const QString& name)
{
    return MConsoleNames::IsCommandLineName(QString(name).replace(QLatin1Char(' '), QLatin1Char('_')));
}

// Disables the button for as long as it lives.
class ButtonHold
{
public:
    explicit ButtonHold(QPushButton* button) : m_button(button) { m_button->setEnabled(false); }
    ~ButtonHold() { m_button->setEnabled(true); }
    ButtonHold(const ButtonHold&) = delete;
    ButtonHold& operator=(const ButtonHold&) = delete;

private:
    QPushButton* m_button;
};

}  // namespace

GameLauncher::GameLauncher(MainContext& context) : m_c(context)
{
    QObject::connect(m_c.widgets.cmdGameLoad, &QPushButton::clicked, &m_receiver,
                     [this] { RunHandler(m_c, [this] { cmdGameLoad_Click(); }); });
    QObject::connect(m_c.widgets.cmdGameClose, &QPushButton::clicked, &m_receiver,
                     [this] { RunHandler(m_c, [this] { cmdGameClose_Click(); }); });
}

void GameLauncher::fShowRefusal(const QString& refusal)
{
    m_c.status.fShowMessageBox(refusal, kStyleInformation, m_c.texts.fGetText(kRefusalTitleText));
}

bool GameLauncher::fGetGameCommand(bool consoleMode, QString& command)
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    const int32_t type = game ? game->GType() : 0;
    const QString prefix = consoleMode ? (type == 4 ? QString() : QStringLiteral("/")) : QStringLiteral("+");
    const QString separator = consoleMode ? QStringLiteral(";") : QStringLiteral("+");
    const int32_t base = m_c.texts.LanguageBase();
    QString text;

    const QComboBox* configs = m_c.widgets.cboGConfigs;
    if (configs->currentIndex() >= 1) {
        const QString entry = configs->currentText();
        const qsizetype slash = entry.indexOf(QLatin1Char('\\'));
        if (slash >= 1) {
            if (!MConsoleNames::IsCommandLineName(entry)) {
                fShowRefusal(MRuvResource::GetResString(base, kConfigRefusalText, TaggedValue(entry)));
                return false;
            }
            text = prefix + QStringLiteral("exec ") + entry.mid(slash + 1);
        }
    }

    QString demo;
    try {
        demo = m_c.parts.demoSelection->fGetGameDemoPath();
    } catch (const RuvError& e) {
        m_c.status.fShowMessageBox(ErrorMessage("Error occured while retrieving demo path.", e.number(),
                                                e.description()),
                                   kStyleCritical, QStringLiteral("Get game command"));
        demo.clear();
    }
    if (!demo.isEmpty()) {
        if (!IsQuotedConsoleName(demo)) {
            fShowRefusal(m_c.texts.fGetText(kDemoRefusalText, TaggedValue(demo)));
            return false;
        }
        text += text.isEmpty() ? prefix : separator;
        text += (type == 4 ? QStringLiteral("playNetDemo") : QStringLiteral("demo")) + QStringLiteral(" \"") + demo
                + QLatin1Char('"');
    }
    command = text;
    return true;
}

bool GameLauncher::fIsGameExecutable() const
{
    const QFileInfo exe(RuvPlatform::PathHelper::ToNative(m_c.state.m_activeGame->ExeFullPath()));
    return exe.isFile() && exe.isExecutable();
}

void GameLauncher::cmdGameLoad_Click()
{
    const ButtonHold hold(m_c.widgets.cmdGameLoad);
    try {
        IGameSelection& games = *m_c.parts.gameSelection;
        if (!m_c.state.m_activeGame || !games.fCheckGameLocation())
            return;
        // A game file that cannot run is a location to set right, as a
        // missing one is.
        if (!fIsGameExecutable() && (!games.fShowGamePreferences() || !games.fCheckGameLocation()))
            return;
        const Handle window = fFindGameWindow();
        if (window != 0) {
            QString command;
            if (fGetGameCommand(true, command))
                m_c.parts.consoleInput->fSendConsoleCommand(command, window, false, QString(), QString());
            return;
        }
        fStartGame();
    } catch (const RuvError& e) {
        m_c.status.fShowMessageBox(ErrorMessage("Unable to start the game.", e.number(), e.description()),
                                   kStyleCritical, QStringLiteral("Game start"));
    }
}

bool GameLauncher::fGetModArgument(QString& argument)
{
    const CGameDefinition& game = *m_c.state.m_activeGame;
    const bool userPath = game.UseAbsoluteWorkingDir();
    const QString mod = userPath ? MFileOp::GetFolderPart(game.ModFullDir()) : game.ModDirBasename();
    if (!IsQuotedConsoleName(mod)) {
        fShowRefusal(m_c.texts.fGetText(kModRefusalText, TaggedValue(mod)));
        return false;
    }
    argument = (userPath ? QStringLiteral("+set fs_userpath \"") : QStringLiteral("+set fs_game \"")) + mod
               + QLatin1Char('"');
    return true;
}

void GameLauncher::fStartGame()
{
    const CGameDefinition& game = *m_c.state.m_activeGame;
    QString first;
    QString command;
    if (!fGetModArgument(first) || !fGetGameCommand(false, command))
        return;
    const QString commandLine = first + QLatin1Char(' ') + command;
    const QString program = game.ExeFullPath();
    QString reason;
    const int64_t process =
        m_c.services.shell->StartProgram(program, commandLine, MFileOp::GetFolderPart(program), reason);
    if (process == 0) {
        const bool missing = !QFileInfo::exists(RuvPlatform::PathHelper::ToNative(program));
        m_c.status.fShowMessageBox(
            ErrorMessage("Unable to start the game.", missing ? kFileNotFound : kStartRefused, reason),
            kStyleCritical, QStringLiteral("Game start"));
        return;
    }
    m_startedProcess = process;
    m_startedGame = &game;
    m_startedWatch = m_c.services.shell->WatchProgramEnd(process, [this] {
        m_startedProcess = 0;
        m_startedGame = nullptr;
    });
}

void GameLauncher::cmdGameClose_Click()
{
    if (const Handle window = fFindGameWindow(); window != 0)
        m_c.services.gameWindows->SendClose(window);
}

IGameLauncher::Handle GameLauncher::fFindGameWindow()
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return 0;
    try {
        IGameWindows& windows = *m_c.services.gameWindows;
        QList<Handle> found;
        // Both empty would keep every window.
        if (!game->GameCaption().isEmpty() || !game->GameWndClass().isEmpty())
            found << windows.FindWindows(game->GameCaption(), game->GameWndClass());
        for (const QString& windowClass : LinuxNamesOfGame(game->GType()).windowClasses)
            found << windows.FindWindows(QString(), windowClass);
        // Another game's process, typed into or closed, would be another
        // game's session lost.
        if (m_startedProcess != 0 && m_startedGame == game)
            found << windows.FindWindowsOfProcess(m_startedProcess);
        if (found.isEmpty())
            return 0;
        // The searches list bottom up; the one highest in the stacking wins.
        const QList<Handle> stacking = windows.FindWindows(QString(), QString());
        for (auto it = stacking.crbegin(); it != stacking.crend(); ++it)
            if (found.contains(*it))
                return *it;
        return found.constLast();
    } catch (const RuvError& e) {
        m_c.status.fShowMessageBox(ErrorMessage("Error occured while searching the game window.", e.number(),
                                                e.description()),
                                   kStyleCritical, QStringLiteral("Find game window"));
        return 0;
    }
}

void GameLauncher::fRestoreGameWindow(Handle& window)
{
    if (window == 0)
        window = fFindGameWindow();
    if (window == 0)
        return;
    IGameWindows& windows = *m_c.services.gameWindows;
    if (windows.GetPlacement(window) == MForms::StateMinimized)
        windows.Restore(window);
}
