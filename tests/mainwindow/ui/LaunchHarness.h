#pragma once

// What the tests of the game launch share, on top of the window harness:
// stand-ins for the game selection (its location check, root folder and
// screenshot folder, which the game table's work fills in) and for the
// demo selection (the demo argument), a shell that records what it is
// asked and starts programs for real, fakes of the game windows and hot
// keys, and the real window started with them.

#include "MainWindowHarness.h"

#include "MFileOp.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "RuvError.h"
#include "X11Windows.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTabWidget>

#include <optional>

namespace Launch {

struct Stand
{
    // Unset: the game's IsLocationValid.
    std::optional<bool> locationValid;
    // What the preferences window answers (false: cancelled).
    bool preferencesConfirmed = false;
    // Unset: the game table's (the mod folder's "screenshots").
    std::optional<QString> screenshotDir;
    // Raised by the screenshot folder when set.
    std::optional<RuvError> screenshotDirError;
    QString demo;
    std::optional<RuvError> demoError;
    // "check", "preferences", "root", "demo", with the load button's state
    // at the check ("check:disabled").
    QStringList calls;
    QPushButton* loadButton = nullptr;
};

class StandInGameSelection final : public IGameSelection
{
public:
    StandInGameSelection(MainContext& c, Stand& s) : m_c(c), m_real(c), m_s(s) {}
    void fCreateGameDefinitions() override { m_real.fCreateGameDefinitions(); }
    int32_t fDefaultModIndex() const override { return m_real.fDefaultModIndex(); }
    void fBuildModMenu() override { m_real.fBuildModMenu(); }
    void ClearActiveGame() override { m_real.ClearActiveGame(); }
    void fApplyGameToGui(int32_t index, bool saveFirst) override { m_real.fApplyGameToGui(index, saveFirst); }
    bool fGameSupportsFreecam() const override { return m_real.fGameSupportsFreecam(); }
    void fApplyGameFolders() override { m_real.fApplyGameFolders(); }
    QString fGetImportDir() const override { return m_real.fGetImportDir(); }
    QString fGetScriptOutDir() const override { return m_real.fGetScriptOutDir(); }

    bool fCheckGameLocation() override
    {
        m_s.calls << (m_s.loadButton && !m_s.loadButton->isEnabled() ? QStringLiteral("check:disabled")
                                                                        : QStringLiteral("check"));
        return m_s.locationValid.value_or(m_c.state.m_activeGame->IsLocationValid());
    }
    bool fShowGamePreferences() override
    {
        m_s.calls << QStringLiteral("preferences");
        return m_s.preferencesConfirmed;
    }
    // As the game table says, after the stand-in's location check: the
    // folder that holds the mod folder, when it exists.
    bool fGetGameRootDir(QString& rootDir) override
    {
        m_s.calls << QStringLiteral("root");
        if (!fCheckGameLocation())
            return false;
        const QString folder = MFileOp::GetFolderPart(m_c.state.m_activeGame->ModFullDir());
        if (!MFileOp::FolderExists(folder))
            return false;
        rootDir = folder;
        return true;
    }
    QString fGetScreenshotDir() const override
    {
        if (m_s.screenshotDirError)
            throw *m_s.screenshotDirError;
        return m_s.screenshotDir.value_or(m_real.fGetScreenshotDir());
    }

private:
    MainContext& m_c;
    GameSelection m_real;
    Stand& m_s;
};

class StandInDemoSelection final : public IDemoSelection
{
public:
    explicit StandInDemoSelection(Stand& s) : m_s(s) {}
    void txtDemoSc_MouseDown(int32_t&, int32_t&, int32_t, int32_t, bool&) override {}
    void fClearDemo() override {}
    void SetProjectDemoRootDir(QString&) override {}
    QString fGetGameDemoPath() override
    {
        m_s.calls << QStringLiteral("demo");
        if (m_s.demoError)
            throw *m_s.demoError;
        return m_s.demo;
    }

private:
    Stand& m_s;
};

class Factory : public Harness::FakeFactory
{
public:
    Factory(Harness::FakeState& fake, Stand& stand) : FakeFactory(fake), m_stand(stand) {}
    std::unique_ptr<IGameSelection> MakeGameSelection(MainContext& c) override
    {
        return std::make_unique<StandInGameSelection>(c, m_stand);
    }
    std::unique_ptr<IDemoSelection> MakeDemoSelection(MainContext&) override
    {
        return std::make_unique<StandInDemoSelection>(m_stand);
    }

private:
    Stand& m_stand;
};

// The real shell, with what it was asked.
class RecordingShell final : public IShell
{
public:
    struct Start
    {
        QString program;
        QString commandLine;
        QString folder;
        int64_t process;
    };
    struct Execute
    {
        int32_t verb;
        QString file;
        QString parameters;
        // Those of StartWithArguments, one by one.
        QStringList arguments;
    };
    QList<Start> starts;
    QList<Execute> executes;
    // False: ShellExecuteVerb only records and answers 0 (nothing opens on
    // the desktop).
    bool executeForReal = true;

    int64_t ShellExecuteVerb(QWidget* owner, int32_t verb, const QString& file, const QString& folder,
                             const QString& parameters, int32_t showCommand) override
    {
        executes << Execute{verb, file, parameters, {}};
        return executeForReal ? m_real->ShellExecuteVerb(owner, verb, file, folder, parameters, showCommand) : 0;
    }
    int64_t StartWithArguments(const QString& program, const QStringList& arguments, const QString& folder) override
    {
        executes << Execute{0, program, QString(), arguments};
        return executeForReal ? m_real->StartWithArguments(program, arguments, folder) : 0;
    }
    int64_t StartProgram(const QString& program, const QString& commandLine, const QString& folder,
                         QString& reason) override
    {
        const int64_t process = m_real->StartProgram(program, commandLine, folder, reason);
        starts << Start{program, commandLine, folder, process};
        return process;
    }
    std::unique_ptr<QObject> WatchProgramEnd(int64_t process, std::function<void()> ended) override
    {
        return m_real->WatchProgramEnd(process, std::move(ended));
    }

private:
    std::shared_ptr<IShell> m_real = MakeRealServices().shell;
};

// Starts the real window with the stand-ins, shown and active, its Game
// tab current. The store must be the test's own already.
inline bool StartWindow(std::unique_ptr<FrmMain>& window, MainServices services, Harness::FakeState& fake,
                        Stand& stand)
{
    Harness::RegisterLibraries();
    MArrayConvert::SetCommandLineText(QString());
    if (ProgramStart::StartMainWindow(std::move(services), window, std::make_unique<Factory>(fake, stand)) != 0) {
        qWarning("main window not started");
        return false;
    }
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qWarning("main window not exposed");
        return false;
    }
    window->Controls().m_aboutForm->hide();
    window->Widgets().tabControl->setCurrentIndex(4);
    stand.loadButton = window->Widgets().cmdGameLoad;
    // Through the window manager, as the game's window is activated.
    const X11Windows::Handle handle = window->winId();
    return QTest::qWaitFor([handle] {
        X11Windows::Activate(handle);
        return QTest::qWaitFor([handle] { return X11Windows::ActiveWindow() == handle; }, 500);
    }, 5000);
}

// What each game-launch test holds: a settings store and a folder of its
// own, the stand-ins' state and the window, started by Start.
struct Session
{
    std::unique_ptr<Harness::TempStore> store;
    QTemporaryDir dir;
    Harness::FakeState fake;
    Stand stand;
    std::unique_ptr<FrmMain> window;

    QString Path(const QString& name) const { return dir.filePath(name); }
    bool Start(MainServices services)
    {
        store = std::make_unique<Harness::TempStore>();
        return StartWindow(window, std::move(services), fake, stand);
    }
};

// Waits until the window is shown in that state.
inline bool StateIs(X11Windows::Handle window, X11Windows::State wanted)
{
    return QTest::qWaitFor([&] {
        X11Windows::State state = X11Windows::State::Normal;
        return X11Windows::IsShown(window) && X11Windows::GetState(window, state) && state == wanted;
    });
}

// The active game set to the executable and the mod folder beside it.
inline bool SetGameFolders(FrmMain& window, const QString& exe, const QString& modFolder)
{
    CGameDefinition& game = *window.State().m_activeGame;
    game.SetExeFullPath(exe);
    game.SetModFullDir(modFolder);
    return game.IsLocationValid();
}

}  // namespace Launch
