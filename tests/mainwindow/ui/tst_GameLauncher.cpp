// The game group's Load and Close buttons on the real window, against the
// fake game: the command texts in both modes, the start with its command
// line and working folder, refused names, refused starts and locations,
// the commands typed into a running game (the topmost of two, a caption in
// other case, not a withdrawn one, a minimized one restored first) and the
// close; the process started counts as its own game's only, and only while
// it runs.

#include "FakeGameSupport.h"
#include "LaunchHarness.h"
#include "MClipboard.h"
#include "TestWindowManager.h"
#include "X11Windows.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>

using namespace Harness;

namespace {

const QString kEtCaption = QStringLiteral("Enemy Territory");

QString Line(const char* text)
{
    return QString::fromUtf8(text);
}

// The real game windows, with what the launcher sends to which window, and
// ids that the system has given again to a later process.
class RecordingGameWindows final : public IGameWindows
{
public:
    QStringList sent;  // "activate <window>", "close <window>"
    QHash<int64_t, int64_t> reusedIds;

    QList<Handle> FindWindows(const QString& title, const QString& className) override
    {
        return m_real->FindWindows(title, className);
    }
    QList<Handle> FindWindowsOfProcess(int64_t processId) override
    {
        return m_real->FindWindowsOfProcess(reusedIds.value(processId, processId));
    }
    int32_t GetPlacement(Handle window) override { return m_real->GetPlacement(window); }
    bool Restore(Handle window) override { return m_real->Restore(window); }
    bool Minimize(Handle window) override { return m_real->Minimize(window); }
    bool Activate(Handle window) override
    {
        sent << QStringLiteral("activate %1").arg(window);
        return m_real->Activate(window);
    }
    int32_t SendClose(Handle window) override
    {
        sent << QStringLiteral("close %1").arg(window);
        return m_real->SendClose(window);
    }
    bool SetClipboardText(const QString& text) override { return m_real->SetClipboardText(text); }
    bool SendKey(int16_t scanCode, int32_t virtualKey, int32_t flags, int32_t action) override
    {
        return m_real->SendKey(scanCode, virtualKey, flags, action);
    }
    Handle ActiveWindow() override { return m_real->ActiveWindow(); }

private:
    std::shared_ptr<IGameWindows> m_real = MakeRealServices().gameWindows;
};

}  // namespace

class TstGameLauncher : public QObject
{
    Q_OBJECT

    Launch::Session m_s;
    TestWindowManager m_wm;
    std::shared_ptr<RecordingDialogs> m_dialogs = std::make_shared<RecordingDialogs>();
    std::shared_ptr<Launch::RecordingShell> m_shell = std::make_shared<Launch::RecordingShell>();
    std::shared_ptr<RecordingGameWindows> m_windows = std::make_shared<RecordingGameWindows>();
    QList<std::shared_ptr<QProcess>> m_ownFakes;
    int m_logs = 0;

    QString EtExe() const { return m_s.Path(QStringLiteral("et/etl")); }
    MainWidgets& W() { return m_s.window->Widgets(); }

    // The fakes the window starts: a fresh log each time they are asked.
    FakeGame::Log LaunchedLog(const QString& title = kEtCaption, const QString& windowClass = kEtCaption)
    {
        FakeGame::Options o;
        o.title = title;
        o.windowClass = windowClass;
        o.log = m_s.Path(QStringLiteral("launched%1.log").arg(++m_logs));
        o.home = m_s.Path(QStringLiteral("et"));
        FakeGame::SetEnvironment(o);
        return FakeGame::Log(o.log);
    }

    // A fake the test starts itself.
    FakeGame::Log StartOwnFake(FakeGame::Options o)
    {
        o.log = m_s.Path(QStringLiteral("own%1.log").arg(++m_logs));
        o.home = m_s.Path(QStringLiteral("et"));
        auto process = std::make_shared<QProcess>();
        process->setProcessEnvironment(FakeGame::Environment(o));
        process->start(EtExe(), {});
        m_ownFakes << process;
        return FakeGame::Log(o.log);
    }

    // The fake's window once it is shown (and managed), 0 when it never is.
    X11Windows::Handle WindowOf(const FakeGame::Log& log)
    {
        if (!log.WaitForPrefix(QStringLiteral("window "), 20000)) {
            qWarning() << "no window in" << log.Path() << log.Lines() << "starts:" << m_shell->starts.size()
                       << "found:" << m_s.window->Parts().gameLauncher->fFindGameWindow()
                       << "modal:" << QApplication::activeModalWidget();
            return 0;
        }
        const X11Windows::Handle window = log.WindowId();
        // The manager takes a new window in its own time: until it lists
        // it, it may not activate it.
        const bool shown = Launch::StateIs(window, X11Windows::State::Normal)
                           && QTest::qWaitFor([window] { return X11Windows::TopLevelWindows(false).contains(window); });
        if (!shown)
            qWarning() << "not shown:" << log.Lines() << X11Windows::WindowManagerName();
        return shown ? window : 0;
    }

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    void SetConfig(const QString& entry)
    {
        QComboBox* configs = W().cboGConfigs;
        configs->clear();
        configs->addItem(QStringLiteral("<none>"));
        if (!entry.isEmpty()) {
            configs->addItem(entry);
            configs->setCurrentIndex(1);
        }
    }

    void UseGame(int32_t index, const QString& exe, const QString& mod)
    {
        m_s.window->Parts().gameSelection->fApplyGameToGui(index, false);
        QVERIFY(Launch::SetGameFolders(*m_s.window, exe, mod));
    }

    void EndLaunchedGames()
    {
        for (const Launch::RecordingShell::Start& s : m_shell->starts)
            if (s.process > 0)
                ::kill(static_cast<pid_t>(s.process), SIGKILL);
        m_shell->starts.clear();
        for (const auto& p : m_ownFakes) {
            p->kill();
            p->waitForFinished(3000);
        }
        m_ownFakes.clear();
        // Gone from the display before the next test searches it.
        if (!QTest::qWaitFor([this] { return m_s.window->Parts().gameLauncher->fFindGameWindow() == 0; }, 5000))
            qWarning("a fake game is still on the display");
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Windows::Available())
            QSKIP("needs an X server");
        m_wm.Ensure();
        QVERIFY(!FakeGame::InstallAs(m_s.Path(QStringLiteral("et")), QStringLiteral("etl")).isEmpty());
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("et/etpro"))));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("et/etmain"))));
        MainServices services = Services(m_dialogs);
        services.shell = m_shell;
        services.gameWindows = m_windows;
        QVERIFY(m_s.Start(std::move(services)));
    }

    void cleanupTestCase()
    {
        EndLaunchedGames();
        m_s.window.reset();
    }

    void init()
    {
        UseGame(0, EtExe(), m_s.Path(QStringLiteral("et/etpro")));
        SetConfig(QString());
        m_s.stand = Launch::Stand{};
        m_s.stand.loadButton = W().cmdGameLoad;
        m_dialogs->boxes.clear();
        m_windows->sent.clear();
        m_windows->reusedIds.clear();
    }

    void cleanup() { EndLaunchedGames(); }

    void commandTexts_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("demo");
        QTest::addColumn<QString>("console");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("nothing") << 0 << "" << "" << "" << "";
        QTest::newRow("configuration") << 0 << "etmain\\x.cfg" << "" << "/exec x.cfg" << "+exec x.cfg";
        QTest::newRow("deeper configuration")
            << 0 << "etpro\\cfg\\a.cfg" << "" << "/exec cfg\\a.cfg" << "+exec cfg\\a.cfg";
        QTest::newRow("no backslash") << 0 << "x.cfg" << "" << "" << "";
        QTest::newRow("backslash first") << 0 << "\\x.cfg" << "" << "" << "";
        QTest::newRow("demo") << 0 << "" << "d" << "/demo \"d\"" << "+demo \"d\"";
        QTest::newRow("both, demo path with blanks")
            << 0 << "etmain\\x.cfg" << "my demos\\cup final.dm_84"
            << "/exec x.cfg;demo \"my demos\\cup final.dm_84\"" << "+exec x.cfg+demo \"my demos\\cup final.dm_84\"";
        QTest::newRow("RTCW") << 3 << "Main\\x.cfg" << "d" << "/exec x.cfg;demo \"d\"" << "+exec x.cfg+demo \"d\"";
        QTest::newRow("ET QW") << 4 << "base\\x.cfg" << "d" << "exec x.cfg;playNetDemo \"d\""
                               << "+exec x.cfg+playNetDemo \"d\"";
        QTest::newRow("ET QW demo") << 4 << "" << "d" << "playNetDemo \"d\"" << "+playNetDemo \"d\"";
    }

    void commandTexts()
    {
        QFETCH(int, game);
        QFETCH(QString, config);
        QFETCH(QString, demo);
        m_s.window->Parts().gameSelection->fApplyGameToGui(game, false);
        SetConfig(config);
        m_s.stand.demo = demo;
        QString console = QStringLiteral("unset");
        QString commandLine = QStringLiteral("unset");
        QVERIFY(m_s.window->Parts().gameLauncher->fGetGameCommand(true, console));
        QVERIFY(m_s.window->Parts().gameLauncher->fGetGameCommand(false, commandLine));
        QTEST(console, "console");
        QTEST(commandLine, "commandLine");
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void aDemoPathErrorIsToldAndTheCommandGoesOn()
    {
        SetConfig(QStringLiteral("etmain\\x.cfg"));
        m_s.stand.demoError = RuvError(5, QStringLiteral("Invalid procedure call or argument"), QStringLiteral("x"));
        QString console;
        QVERIFY(m_s.window->Parts().gameLauncher->fGetGameCommand(true, console));
        QCOMPARE(console, QStringLiteral("/exec x.cfg"));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Line("Error occured while retrieving demo path.\r\n\r\n"
                                                  "Error n°5 : Invalid procedure call or argument"));
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Get game command"));
        QCOMPARE(m_dialogs->boxes[0].style, 16);
    }

    void namesThatSplitACommandAreRefused_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("demo");
        QTest::addColumn<QString>("mod");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("text");
        QTest::newRow("blank in a configuration") << "etmain\\my x.cfg" << "" << "" << "etmain\\my x.cfg" << 931;
        QTest::newRow("; in a configuration") << "etmain\\a;quit.cfg" << "" << "" << "etmain\\a;quit.cfg" << 931;
        QTest::newRow("quote in a demo") << "" << "d\";quit" << "" << "d\";quit" << 932;
        QTest::newRow("; in a demo") << "" << "a;b" << "" << "a;b" << 932;
        QTest::newRow("line break in a demo") << "" << "a\nquit" << "" << "a\nquit" << 932;
        QTest::newRow("quote in a mod") << "" << "" << "et\"pro" << "et\"pro" << 933;
        QTest::newRow("; in a mod") << "" << "" << "etpro;quit" << "etpro;quit" << 933;
        // The command line splits at "+", inside quotes too for some engines.
        QTest::newRow("+ in a configuration") << "etmain\\a+quit.cfg" << "" << "" << "etmain\\a+quit.cfg" << 931;
        QTest::newRow("+ in a demo") << "" << "x+quit y.dm_68" << "" << "x+quit y.dm_68" << 932;
        QTest::newRow("+ in another demo") << "" << "duel+frag.dm_68" << "" << "duel+frag.dm_68" << 932;
        QTest::newRow("+ in a mod") << "" << "" << "et+pro" << "et+pro" << 933;
    }

    void namesThatSplitACommandAreRefused()
    {
        QFETCH(QString, config);
        QFETCH(QString, demo);
        QFETCH(QString, mod);
        QFETCH(QString, named);
        QFETCH(int, text);
        if (!mod.isEmpty()) {
            QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("et/") + mod)));
            QVERIFY(Launch::SetGameFolders(*m_s.window, EtExe(), m_s.Path(QStringLiteral("et/") + mod)));
        }
        SetConfig(config);
        m_s.stand.demo = demo;
        const FakeGame::Log log = LaunchedLog();
        Click(W().cmdGameLoad);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, m_s.window->Texts().fGetText(text, TaggedValue(named)));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + m_s.window->Texts().fGetText(935));
        QVERIFY(m_shell->starts.isEmpty());
        QVERIFY(log.Lines().isEmpty());
        QVERIFY(W().cmdGameLoad->isEnabled());
    }

    void startsTheGameWithItsCommandLine_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("demo");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("nothing") << "" << "" << "+set fs_game \"etpro\" ";
        QTest::newRow("configuration and demo")
            << "etmain\\x.cfg" << "sub\\d 1.dm_84" << "+set fs_game \"etpro\" +exec x.cfg+demo \"sub\\d 1.dm_84\"";
    }

    void startsTheGameWithItsCommandLine()
    {
        QFETCH(QString, config);
        QFETCH(QString, demo);
        QFETCH(QString, commandLine);
        SetConfig(config);
        m_s.stand.demo = demo;
        const FakeGame::Log log = LaunchedLog();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitForPrefix(QStringLiteral("window ")), qPrintable(log.Lines().join('\n')));
        QCOMPARE(m_shell->starts.size(), 1);
        QCOMPARE(m_shell->starts[0].commandLine, commandLine);
        // The engine joins its arguments with blanks: the same text, but
        // for the blank that ends it when no command follows.
        QCOMPARE(log.Value(QStringLiteral("cmdline ")), commandLine.trimmed());
        QCOMPARE(log.Value(QStringLiteral("cwd ")), m_s.Path(QStringLiteral("et")));
        QCOMPARE(log.Value(QStringLiteral("mod ")), QStringLiteral("etpro"));
        QCOMPARE(log.Value(QStringLiteral("start ")), QString::number(m_shell->starts[0].process));
        // Disabled while the handler ran, enabled again after it.
        QCOMPARE(m_s.stand.calls.first(), QStringLiteral("check:disabled"));
        QVERIFY(W().cmdGameLoad->isEnabled());
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void etQwStartsWithTheFolderAboveItsModFolder()
    {
        const QString exe = FakeGame::InstallAs(m_s.Path(QStringLiteral("qw")), QStringLiteral("etqw"));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("qw home/base"))));
        UseGame(4, exe, m_s.Path(QStringLiteral("qw home/base")));
        const FakeGame::Log log = LaunchedLog(QStringLiteral("ETQW"), QStringLiteral("ETQW"));
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitForPrefix(QStringLiteral("cmdline ")), qPrintable(log.Lines().join('\n')));
        QCOMPARE(log.Value(QStringLiteral("cmdline ")),
                 QStringLiteral("+set fs_userpath \"") + m_s.Path(QStringLiteral("qw home")) + QLatin1Char('"'));
        QCOMPARE(log.Value(QStringLiteral("cwd ")), m_s.Path(QStringLiteral("qw")));
    }

    void aFileThatIsNoProgramIsReported()
    {
        const QString exe = m_s.Path(QStringLiteral("broken/etl"));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("broken/etpro"))));
        QFile file(exe);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f" "ELF but not really");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        QVERIFY(Launch::SetGameFolders(*m_s.window, exe, m_s.Path(QStringLiteral("broken/etpro"))));
        Click(W().cmdGameLoad);
        QCOMPARE(m_shell->starts.size(), 1);
        QCOMPARE(m_shell->starts[0].process, int64_t(0));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        const QString prompt = m_dialogs->boxes[0].prompt;
        QVERIFY2(prompt.startsWith(Line("Unable to start the game.\r\n\r\nError n°5 : The file \"") + exe
                                   + QStringLiteral("\" could not be started: ")),
                 qPrintable(prompt));
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Game start"));
        QCOMPARE(m_dialogs->boxes[0].style, 16);
        QVERIFY(W().cmdGameLoad->isEnabled());
    }

    void nothingStartsWhereTheLocationIsRefused_data()
    {
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("settings cancelled") << true << QStringList{"check:disabled"};
        QTest::newRow("not executable, settings cancelled") << false << QStringList{"check:disabled", "preferences"};
    }

    void nothingStartsWhereTheLocationIsRefused()
    {
        QFETCH(bool, executable);
        QFETCH(QStringList, calls);
        QString exe = EtExe();
        if (executable) {
            m_s.stand.locationValid = false;
        } else {
            exe = m_s.Path(QStringLiteral("plain/etl"));
            QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("plain/etpro"))));
            QFile file(exe);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(Launch::SetGameFolders(*m_s.window, exe, m_s.Path(QStringLiteral("plain/etpro"))));
        }
        Click(W().cmdGameLoad);
        QCOMPARE(m_s.stand.calls, calls);
        QVERIFY(m_shell->starts.isEmpty());
        QVERIFY(m_dialogs->boxes.isEmpty());
        QVERIFY(W().cmdGameLoad->isEnabled());
    }

    void aRunningGameGetsTheCommandsInItsConsole_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("console");
        QTest::newRow("ET Pro") << 0 << "/exec x.cfg;demo \"d\"";
        QTest::newRow("ET QW") << 4 << "exec x.cfg;playNetDemo \"d\"";
    }

    void aRunningGameGetsTheCommandsInItsConsole()
    {
        QFETCH(int, game);
        QFETCH(QString, console);
        QString title = kEtCaption;
        if (game == 4) {
            const QString exe = FakeGame::InstallAs(m_s.Path(QStringLiteral("qw")), QStringLiteral("etqw"));
            QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("qw home/base"))));
            UseGame(4, exe, m_s.Path(QStringLiteral("qw home/base")));
            title = QStringLiteral("ETQW");
        }
        const FakeGame::Log log = LaunchedLog(title, title);
        Click(W().cmdGameLoad);
        QVERIFY(WindowOf(log) != 0);
        SetConfig(game == 4 ? QStringLiteral("base\\x.cfg") : QStringLiteral("etmain\\x.cfg"));
        m_s.stand.demo = QStringLiteral("d");
        log.Clear();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY2(log.Contains(QStringLiteral("run ") + console), qPrintable(log.Lines().join('\n')));
        QCOMPARE(MClipboard::GetClipboardText(), console);
        // Not started a second time.
        QCOMPARE(m_shell->starts.size(), 1);
        QVERIFY(W().cmdGameLoad->isEnabled());
    }

    void theTopOfTwoGamesWithOneCaptionGetsThem()
    {
        FakeGame::Options o;
        o.title = kEtCaption;
        o.windowClass = kEtCaption;
        const FakeGame::Log first = StartOwnFake(o);
        const X11Windows::Handle firstWindow = WindowOf(first);
        const FakeGame::Log second = StartOwnFake(o);
        const X11Windows::Handle secondWindow = WindowOf(second);
        QVERIFY(firstWindow != 0 && secondWindow != 0);
        for (const X11Windows::Handle top : {secondWindow, firstWindow}) {
            X11Windows::Activate(top);
            QVERIFY(QTest::qWaitFor([top] { return X11Windows::ActiveWindow() == top; }));
            first.Clear();
            second.Clear();
            Click(W().cmdGameLoad);
            const FakeGame::Log& got = top == firstWindow ? first : second;
            const FakeGame::Log& other = top == firstWindow ? second : first;
            QVERIFY2(got.WaitFor(QStringLiteral("console closed")), qPrintable(got.Lines().join('\n')));
            QVERIFY(other.Lines().isEmpty());
        }
        QVERIFY(m_shell->starts.isEmpty());
    }

    void aCaptionInOtherCaseIsFound()
    {
        FakeGame::Options o;
        o.title = QStringLiteral("ENEMY territory");
        o.windowClass = QStringLiteral("enemy TERRITORY");
        const FakeGame::Log log = StartOwnFake(o);
        QVERIFY(WindowOf(log) != 0);
        log.Clear();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY(m_shell->starts.isEmpty());
    }

    void theGameStartedIsFoundByItsProcess()
    {
        // A title and class of no game: the process is what counts.
        const FakeGame::Log log = LaunchedLog(QStringLiteral("Some engine"), QStringLiteral("Some engine"));
        Click(W().cmdGameLoad);
        QVERIFY(WindowOf(log) != 0);
        log.Clear();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QCOMPARE(m_shell->starts.size(), 1);
    }

    void theGameStartedIsNotAnotherGames()
    {
        // DeFrag started, ET Pro chosen: the DeFrag client is not ET Pro's.
        const QString q3 = FakeGame::InstallAs(m_s.Path(QStringLiteral("q3")), QStringLiteral("ioquake3"));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("q3/defrag"))));
        UseGame(1, q3, m_s.Path(QStringLiteral("q3/defrag")));
        const FakeGame::Log log = LaunchedLog(QStringLiteral("Some engine"), QStringLiteral("Some engine"));
        Click(W().cmdGameLoad);
        const X11Windows::Handle window = WindowOf(log);
        QVERIFY(window != 0);
        m_s.window->Parts().gameSelection->fApplyGameToGui(0, false);
        Click(W().cmdGameClose);
        QVERIFY(!m_s.window->Parts().consoleInput->fSendConsoleCommand(QStringLiteral("/DemoFF 5"), 0, true,
                                                                      QString(), QStringLiteral("Forward")));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, m_s.window->Texts().fGetText(217));
        QVERIFY2(m_windows->sent.isEmpty(), qPrintable(m_windows->sent.join('\n')));

        // Its own game finds it again: it was never closed.
        UseGame(1, q3, m_s.Path(QStringLiteral("q3/defrag")));
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY(!log.Contains(QStringLiteral("close")));
        QCOMPARE(m_shell->starts.size(), 1);
    }

    void theGameStartedIsForgottenWhenItEnds()
    {
        const FakeGame::Log launched = LaunchedLog(QStringLiteral("Some engine"), QStringLiteral("Some engine"));
        Click(W().cmdGameLoad);
        QVERIFY(WindowOf(launched) != 0);
        Click(W().cmdGameClose);
        QVERIFY(launched.WaitFor(QStringLiteral("close")));
        // The system gives its id to another program.
        FakeGame::Options o;
        o.title = QStringLiteral("Another program");
        o.windowClass = o.title;
        const FakeGame::Log other = StartOwnFake(o);
        const X11Windows::Handle otherWindow = WindowOf(other);
        QVERIFY(otherWindow != 0);
        QCOMPARE(m_shell->starts.size(), 1);
        m_windows->reusedIds.insert(m_shell->starts[0].process, other.Value(QStringLiteral("start ")).toLongLong());
        QVERIFY(QTest::qWaitFor([this] { return m_s.window->Parts().gameLauncher->fFindGameWindow() == 0; }));

        m_windows->sent.clear();
        const FakeGame::Log next = LaunchedLog();
        Click(W().cmdGameClose);
        Click(W().cmdGameLoad);
        QVERIFY2(m_windows->sent.isEmpty(), qPrintable(m_windows->sent.join('\n')));
        QCOMPARE(m_shell->starts.size(), 2);
        QVERIFY(next.WaitForPrefix(QStringLiteral("window ")));
        QVERIFY(!other.Contains(QStringLiteral("close")));
        QVERIFY(other.Lines().filter(QStringLiteral("key ")).isEmpty());
    }

    void aWithdrawnGameIsNotFoundAndASecondStarts()
    {
        FakeGame::Options o;
        o.title = kEtCaption;
        o.windowClass = kEtCaption;
        o.withdrawn = true;
        const FakeGame::Log withdrawn = StartOwnFake(o);
        QVERIFY(withdrawn.WaitForPrefix(QStringLiteral("window ")));
        QVERIFY(withdrawn.Value(QStringLiteral("window ")).endsWith(QLatin1String(" withdrawn")));
        const FakeGame::Log launched = LaunchedLog();
        Click(W().cmdGameLoad);
        QVERIFY(WindowOf(launched) != 0);
        QCOMPARE(m_shell->starts.size(), 1);
        QVERIFY(!withdrawn.Contains(QStringLiteral("console open")));
    }

    void aMinimizedGameIsRestoredFirstAMaximizedOneKept()
    {
        if (X11Windows::WindowManagerName().isEmpty())
            QSKIP("needs a window manager");
        const FakeGame::Log log = LaunchedLog();
        Click(W().cmdGameLoad);
        const X11Windows::Handle window = WindowOf(log);
        QVERIFY(window != 0);
        using S = X11Windows::State;
        QVERIFY(X11Windows::Minimize(window));
        QVERIFY(Launch::StateIs(window, S::Minimized));
        log.Clear();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY(Launch::StateIs(window, S::Normal));

        QVERIFY(X11Windows::Maximize(window));
        QVERIFY(Launch::StateIs(window, S::Maximized));
        log.Clear();
        Click(W().cmdGameLoad);
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY(Launch::StateIs(window, S::Maximized));
    }

    void closeAsksTheGameToClose()
    {
        // No game: nothing happens, nothing is said.
        Click(W().cmdGameClose);
        QVERIFY(m_dialogs->boxes.isEmpty());

        const FakeGame::Log log = LaunchedLog();
        Click(W().cmdGameLoad);
        QVERIFY(WindowOf(log) != 0);
        Click(W().cmdGameClose);
        QVERIFY(log.WaitFor(QStringLiteral("close")));
        QVERIFY(QTest::qWaitFor([this] { return m_s.window->Parts().gameLauncher->fFindGameWindow() == 0; }));
        QVERIFY(m_dialogs->boxes.isEmpty());
    }
};

QTEST_MAIN(TstGameLauncher)
#include "tst_GameLauncher.moc"
