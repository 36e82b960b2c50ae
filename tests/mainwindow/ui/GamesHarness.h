#pragma once

// What the tests of the game table, the script panel, the camera modes and
// the script creation share: one log of the calls the window makes on the
// collaborators that other work fills in (console input, tooltips,
// configurations, demo selection, busy state, the new-project step), a
// dialogs service that answers the save dialog and the message boxes from
// lists, the window started in a home of its own, and the game menu
// clicked.

#include "MainWindowHarness.h"

#include "CTooltip.h"
#include "CameraModePanel.h"
#include "ConsoleInput.h"
#include "GameConfigs.h"
#include "MainTooltips.h"
#include "ViewInput.h"
#include "WindowFakes.h"

#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

namespace GamesHarness {

using Harness::FakeState;

// The log and the answers of the fakes.
struct Fakes : FakeState
{
    bool newProjectGoesOn = true;
    struct Command
    {
        QString text;
        IGameWindows::Handle window;
        bool showFailure;
        QString messageText;
        QString title;
    };
    QList<Command> commands;
};

class FakeConsole final : public IConsoleInput
{
public:
    explicit FakeConsole(Fakes& f) : m_f(f) {}
    bool fSendConsoleCommand(const QString& text, IGameWindows::Handle window, bool show, const QString& message,
                             const QString& title) override
    {
        m_f.commands << Fakes::Command{text, window, show, message, title};
        return false;
    }

private:
    Fakes& m_f;
};

// The camera-mode balloon over cboCamMode, as the tooltips make it.
class FakeTooltips final : public IMainTooltips
{
public:
    FakeTooltips(MainContext& c, Fakes& f) : m_c(c), m_f(f) {}
    void fSetTooltips() override { m_f.calls << QStringLiteral("Tooltips"); }
    CTooltip* Balloon(int32_t slot) override
    {
        if (slot != 1)
            return nullptr;
        if (!m_balloon) {
            m_balloon = std::make_unique<CTooltip>();
            m_balloon->Create(m_c.widgets.cboCamMode, QString(), QString(), 300, 20000);
            m_balloon->SetStyle(CTooltip::StyleBalloon);
        }
        return m_balloon.get();
    }

private:
    MainContext& m_c;
    Fakes& m_f;
    std::unique_ptr<CTooltip> m_balloon;
};

class FakeConfigs final : public IGameConfigs
{
public:
    explicit FakeConfigs(Fakes& f) : m_f(f) {}
    void fConfigsRegRead(QComboBox*, const QString& list) override { m_f.calls << QStringLiteral("ReadList:") + list; }
    void fConfigsRegSave(QComboBox*, const QString& list) override { m_f.calls << QStringLiteral("SaveList:") + list; }
    void fRemoveMissingConfigs(QComboBox* combo) override { m_f.calls << QStringLiteral("Prune:") + combo->objectName(); }
    void fManageConfigs(QComboBox* combo) override { m_f.calls << QStringLiteral("Manage:") + combo->objectName(); }

private:
    Fakes& m_f;
};

class FakeDemos final : public IDemoSelection
{
public:
    explicit FakeDemos(Fakes& f) : m_f(f) {}
    void txtDemoSc_MouseDown(int32_t&, int32_t&, int32_t, int32_t, bool&) override {}
    void fClearDemo() override { m_f.calls << QStringLiteral("ClearDemo"); }
    void SetProjectDemoRootDir(QString& folder) override { m_f.calls << QStringLiteral("DemoRoot:") + folder; }

private:
    Fakes& m_f;
};

class FakeViewInput final : public ViewInput
{
public:
    FakeViewInput(MainContext& c, Fakes& f) : ViewInput(c), m_f(f) {}
    void fSetBusy(bool busy) override { m_f.calls << (busy ? QStringLiteral("Busy") : QStringLiteral("NotBusy")); }

private:
    Fakes& m_f;
};

// The new-project step: asks nothing, goes on or not as told.
class FakeProject final : public IProjectCommands
{
public:
    FakeProject(MainContext& c, Fakes& f) : m_real(c), m_f(f) {}
    bool fNewProject(bool unloadMap) override
    {
        m_f.calls << QStringLiteral("New");
        return m_f.newProjectGoesOn && m_real.fNewProject(unloadMap);
    }
    bool fOpenProject(const QString&) override { return true; }
    bool fSaveProject() override { return true; }

private:
    ProjectCommands m_real;
    Fakes& m_f;
};

// The real camera modes, their two steps of a game's application logged.
class LoggedCameraModes final : public ICameraModePanel
{
public:
    LoggedCameraModes(MainContext& c, Fakes& f) : m_real(c), m_f(f) {}
    void fFillCamModeTexts() override { m_real.fFillCamModeTexts(); }
    void fFillCamModes() override
    {
        m_f.calls << QStringLiteral("FillCamModes");
        m_real.fFillCamModes();
    }
    void cboCamMode_Click() override { m_real.cboCamMode_Click(); }
    void fSetCamModeTooltip() override
    {
        m_f.calls << QStringLiteral("CamModeTooltip");
        m_real.fSetCamModeTooltip();
    }
    void fShowCamModeOption() override { m_real.fShowCamModeOption(); }
    void fFillCamModeOptions() override { m_real.fFillCamModeOptions(); }

private:
    CameraModePanel m_real;
    Fakes& m_f;
};

class Factory final : public Harness::FakeFactory
{
public:
    explicit Factory(Fakes& f) : FakeFactory(f), m_f(f) {}
    std::unique_ptr<IConsoleInput> MakeConsoleInput(MainContext&) override
    {
        return std::make_unique<FakeConsole>(m_f);
    }
    std::unique_ptr<IMainTooltips> MakeTooltips(MainContext& c) override
    {
        return std::make_unique<FakeTooltips>(c, m_f);
    }
    std::unique_ptr<IGameConfigs> MakeGameConfigs(MainContext&) override
    {
        return std::make_unique<FakeConfigs>(m_f);
    }
    std::unique_ptr<IDemoSelection> MakeDemoSelection(MainContext&) override
    {
        return std::make_unique<FakeDemos>(m_f);
    }
    std::unique_ptr<IViewInput> MakeViewInput(MainContext& c) override
    {
        return std::make_unique<FakeViewInput>(c, m_f);
    }
    std::unique_ptr<IProjectCommands> MakeProjectCommands(MainContext& c) override
    {
        return std::make_unique<FakeProject>(c, m_f);
    }
    std::unique_ptr<ICameraModePanel> MakeCameraModes(MainContext& c) override
    {
        return std::make_unique<LoggedCameraModes>(c, m_f);
    }

private:
    Fakes& m_f;
};

// The save dialog and the message boxes answered from lists; with
// realBoxes the boxes are the real ones (after being recorded).
class Dialogs final : public IDialogs
{
public:
    struct Box
    {
        QWidget* owner;
        QString title;
        QString prompt;
        int32_t style;
        QString icon;
        int32_t timeoutMs;
    };
    struct Save
    {
        QString title;
        QString proposed;
        QString folder;
        QString filter;
        QString defaultExt;
    };
    QList<Box> boxes;
    QList<int32_t> answers;
    QList<Save> saves;
    // The paths the save dialog answers; an empty one cancels.
    QStringList savePaths;
    bool realBoxes = false;
    // The save dialog is the program's own, for the test to fill in.
    bool realSaves = false;

    bool ShowOpenDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    bool ShowSaveDialog(QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                        const QString& folder, const QString& filter, int32_t& index, const QString& ext,
                        int32_t flags) override
    {
        saves << Save{title, fileName, folder, filter, ext};
        if (realSaves)
            return m_real->ShowSaveDialog(owner, title, fileName, fileTitle, folder, filter, index, ext, flags);
        const QString path = savePaths.isEmpty() ? QString() : savePaths.takeFirst();
        if (path.isEmpty())
            return false;
        fileName = path;
        fileTitle = QFileInfo(path).fileName();
        return true;
    }
    QString BrowseForFolder(QWidget*, const QString&, const QString&, int32_t, int32_t, const QString&) override
    {
        return QStringLiteral("cancel");
    }
    int32_t MessageBox(QWidget* owner, const QString& title, const QString& prompt, int32_t style,
                       const QString& icon, int32_t timeoutMs) override
    {
        boxes << Box{owner, title, prompt, style, icon, timeoutMs};
        if (realBoxes)
            return m_real->MessageBox(owner, title, prompt, style, icon, timeoutMs);
        return answers.isEmpty() ? MMsgBoxEx::IdOk : answers.takeFirst();
    }

private:
    std::shared_ptr<IDialogs> m_real = MakeRealServices().dialogs;
};

// HOME, PATH and XDG_DATA_HOME in a temporary folder while it lives (the
// documents and data folders are the test's), and the places where the
// game settings look for games in it, so that no game of the machine is
// found.
class TempHome
{
public:
    TempHome()
    {
        for (const char* name : {"HOME", "PATH", "XDG_DATA_HOME"})
            m_saved << qMakePair(QByteArray(name), qgetenv(name));
        qputenv("HOME", Path(QStringLiteral("home")).toUtf8());
        qputenv("PATH", Path(QStringLiteral("bin")).toUtf8());
        qunsetenv("XDG_DATA_HOME");
        QDir().mkpath(Path(QStringLiteral("home")));
    }
    ~TempHome()
    {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), value);
        }
    }
    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    // PATH bin, the home, and the system's install folders below system.
    GameDetection::SearchPlaces Places() const
    {
        GameDetection::SearchPlaces places;
        places.pathFolders = {Path(QStringLiteral("bin"))};
        places.home = Path(QStringLiteral("home"));
        places.systemRoot = Path(QStringLiteral("system"));
        return places;
    }
    // A folder with its parents.
    QString Folder(const QString& relative) const
    {
        QDir().mkpath(Path(relative));
        return Path(relative);
    }
    // A file (executable when asked) with its folder.
    QString File(const QString& relative, bool executable = false) const
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("x");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

private:
    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_saved;
};

// Real services with the dialogs and the shell above; the game settings
// find no game of the machine.
inline MainServices Services(std::shared_ptr<Dialogs> dialogs, std::shared_ptr<IShell> shell)
{
    MainServices s = MakeRealServices();
    s.dialogs = std::move(dialogs);
    s.shell = std::move(shell);
    s.gameSearch = {};
    return s;
}

// The window with these fakes, shown and active, its splash hidden.
inline bool StartActive(std::unique_ptr<FrmMain>& window, MainServices services, Fakes& fakes)
{
    Harness::RegisterLibraries();
    MArrayConvert::SetCommandLineText(QString());
    if (ProgramStart::StartMainWindow(std::move(services), window, std::make_unique<Factory>(fakes)) != 0
        || !QTest::qWaitForWindowExposed(window.get()))
        return false;
    window->Controls().m_aboutForm->hide();
    return Harness::Activate(window.get());
}

// One window with the fakes, in a home, PATH and settings store of its own.
struct Session
{
    std::unique_ptr<TempHome> home;
    std::unique_ptr<Harness::TempStore> store;
    std::shared_ptr<Dialogs> dialogs = std::make_shared<Dialogs>();
    std::shared_ptr<WindowFakes::RecordingShell> shell = std::make_shared<WindowFakes::RecordingShell>();
    Fakes fake;
    std::unique_ptr<FrmMain> window;

    bool Start()
    {
        home = std::make_unique<TempHome>();
        store = std::make_unique<Harness::TempStore>();
        MainServices services = Services(dialogs, shell);
        services.gameSearch = home->Places();
        return StartActive(window, std::move(services), fake);
    }
    void Stop()
    {
        window.reset();
        store.reset();
        home.reset();
    }
};

// Clicks the menu bar's Game menu, then Mod, then the game's item.
inline bool ChooseMod(FrmMain& window, int32_t game)
{
    QMenuBar* bar = window.menuBar();
    QMenu* gameMenu = window.Menus().Menu(QStringLiteral("mnuGame"));
    QMenu* mods = window.Menus().Menu(QStringLiteral("mnuG_ModRoot"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(gameMenu->menuAction()).center());
    if (!QTest::qWaitFor([gameMenu] { return gameMenu->isVisible(); }, 3000))
        return false;
    QTest::mouseClick(gameMenu, Qt::LeftButton, {}, gameMenu->actionGeometry(mods->menuAction()).center());
    if (!QTest::qWaitFor([mods] { return mods->isVisible(); }, 3000))
        return false;
    QAction* item = window.Menus().ModItem(game);
    QTest::mouseClick(mods, Qt::LeftButton, {}, mods->actionGeometry(item).center());
    return QTest::qWaitFor([gameMenu, mods] { return !gameMenu->isVisible() && !mods->isVisible(); }, 3000);
}

}  // namespace GamesHarness
