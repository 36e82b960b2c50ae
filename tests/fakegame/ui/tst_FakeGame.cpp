// The fake game as the game-launch tests use it: started under a game's
// executable name with an engine command line, found by title and class,
// typed into by scan codes (also on layouts where no key prints a plain
// grave), pasted into only with a Ctrl seen in an earlier frame, withdrawn,
// holding a grab, and closed.
#include "FakeGameSupport.h"
#include "KeymapGuard.h"
#include "MClipboard.h"
#include "MForms.h"
#include "MKeyboard.h"
#include "TestWindowManager.h"
#include "X11HotKey.h"
#include "X11Windows.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

// X11 last: its macros break Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace
{
// More than a frame of the fake (16 ms).
constexpr int kStepGapMs = 40;

// The keys the main window's console input sends, each by scan code, a
// frame of the game apart.
bool TypeConsoleCommand()
{
    using namespace MKeyboard;
    const std::pair<std::int16_t, std::int32_t> steps[] = {
        {0x29, ActionPress},  // opens the console
        {0x0E, ActionPress},  // removes the "`" it typed
        {0x1D, ActionDown},   {0x2F, ActionPress},  // Ctrl+V
        {0x1D, ActionUp},     {0x1C, ActionPress},  // runs the line
        {0x29, ActionPress},  // closes the console
    };
    bool ok = true;
    for (const auto& [scanCode, action] : steps) {
        if (&scanCode != &steps[0].first)
            QTest::qWait(kStepGapMs);
        ok = SendKey(scanCode, 0, FlagScanCode, action) && ok;
    }
    return ok;
}

// X key codes pressed (true) and released in one request to the server, so
// that the fake reads them in one frame.
bool SendInOneFrame(std::initializer_list<std::pair<unsigned int, bool>> keys)
{
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr)
        return false;
    bool ok = true;
    for (const auto& [code, down] : keys)
        ok = XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime) != 0 && ok;
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return ok;
}

}

class TestFakeGame : public QObject
{
    Q_OBJECT

    TestWindowManager m_wm;
    QTemporaryDir m_dir;
    QString m_exe;
    QString m_title;
    QProcess m_game;
    MForms::WindowHandle m_window = 0;

    FakeGame::Options Options() const
    {
        FakeGame::Options o;
        o.title = m_title;
        o.windowClass = QStringLiteral("Enemy Territory");
        o.log = m_dir.filePath(QStringLiteral("game.log"));
        o.home = m_dir.filePath(QStringLiteral("home"));
        return o;
    }

    bool Focus()
    {
        MForms::ActivateWindow(m_window);
        return QTest::qWaitFor([&] { return MForms::GetActiveWindow() == m_window; }, 5000);
    }

    // Runs the command in the fake's console as the main window does, and
    // waits until the console is closed again; the log holds only this.
    bool SendToConsole(const QString& command, const FakeGame::Log& log)
    {
        if (!MClipboard::SetClipboardText(0, command) || !Focus())
            return false;
        log.Clear();
        return TypeConsoleCommand() && log.WaitFor(QStringLiteral("console closed"));
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Windows::Available())
            QSKIP("needs an X server");
        m_wm.Ensure();
        QVERIFY(m_dir.isValid());
        m_exe = FakeGame::InstallAs(m_dir.filePath(QStringLiteral("game")), QStringLiteral("etl"));
        QVERIFY(!m_exe.isEmpty());
        m_title = QStringLiteral("Fake Territory %1").arg(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("home/etpro/demos/sub"))));
        QFile demo(m_dir.filePath(QStringLiteral("home/etpro/demos/sub/d1.dm_84")));
        QVERIFY(demo.open(QIODevice::WriteOnly));
    }

    void cleanupTestCase()
    {
        if (m_game.state() == QProcess::Running) {
            m_game.kill();
            m_game.waitForFinished(3000);
        }
    }

    void startLogsArgumentsFolderAndWindow()
    {
        const QString folder = m_dir.filePath(QStringLiteral("game"));
        m_game.setProcessEnvironment(FakeGame::Environment(Options()));
        m_game.setWorkingDirectory(folder);
        // Split as the launcher splits an engine command line: quotes kept.
        const QStringList arguments = {QStringLiteral("+set"), QStringLiteral("fs_game"), QStringLiteral("\"etpro\""),
                                       QStringLiteral("+exec"), QStringLiteral("a.cfg+demo"),
                                       QStringLiteral("\"sub\\d1.dm_84\"")};
        m_game.start(m_exe, arguments);
        QVERIFY(m_game.waitForStarted());
        const FakeGame::Log log(Options().log);
        QVERIFY(log.WaitForPrefix(QStringLiteral("window ")));
        QVERIFY2(log.Value(QStringLiteral("window ")).endsWith(QLatin1String(" shown")), qPrintable(log.Lines().join('\n')));
        QCOMPARE(log.Value(QStringLiteral("start ")), QString::number(m_game.processId()));
        QCOMPARE(log.Value(QStringLiteral("cwd ")), folder);
        QCOMPARE(log.Value(QStringLiteral("arg 0 ")), m_exe);
        QCOMPARE(log.Value(QStringLiteral("arg 3 ")), QStringLiteral("\"etpro\""));
        QCOMPARE(log.Value(QStringLiteral("cmdline ")), QStringLiteral("+set fs_game \"etpro\" +exec a.cfg+demo \"sub\\d1.dm_84\""));
        QCOMPARE(log.Value(QStringLiteral("mod ")), QStringLiteral("etpro"));
        QVERIFY(log.Contains(QStringLiteral("demo sub\\d1.dm_84 found")));

        QList<MForms::WindowHandle> found;
        QVERIFY(QTest::qWaitFor([&] { return MForms::FindWindows(found, m_title, QStringLiteral("enemy territory"), false); }, 5000));
        QCOMPARE(found.size(), 1);
        m_window = found.first();
        QCOMPARE(X11Windows::ProcessId(m_window), m_game.processId());
        QCOMPARE(X11Windows::InstanceName(m_window), QStringLiteral("etl"));
    }

    void consoleRunsThePastedLine()
    {
        QVERIFY(m_window != 0);
        const FakeGame::Log log(Options().log);
        const QString command = QStringLiteral("/screenshot;screenshot;demo \"sub\\d1.dm_84\";demo gone.dm_84");
        QVERIFY2(SendToConsole(command, log), qPrintable(log.Lines().join('\n')));
        const QStringList expected = {
            QStringLiteral("console open"),
            QStringLiteral("paste ") + command,
            QStringLiteral("run ") + command,
            QStringLiteral("screenshot ") + m_dir.filePath(QStringLiteral("home/etpro/screenshots/shot0000.tga")),
            QStringLiteral("screenshot ") + m_dir.filePath(QStringLiteral("home/etpro/screenshots/shot0001.tga")),
            QStringLiteral("demo sub\\d1.dm_84 found"),
            QStringLiteral("demo gone.dm_84 missing"),
            QStringLiteral("console closed"),
        };
        QStringList events = log.Lines();
        events.removeIf([](const QString& line) { return line.startsWith(QLatin1String("key ")); });
        QCOMPARE(events, expected);
        const QStringList keys = log.Lines().filter(QStringLiteral("key down "));
        QCOMPARE(keys, (QStringList{QStringLiteral("key down 49"), QStringLiteral("key down 22"),
                                    QStringLiteral("key down 37"), QStringLiteral("key down 55"),
                                    QStringLiteral("key down 36"), QStringLiteral("key down 49")}));
        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("home/etpro/screenshots/shot0001.tga"))).size() > 18);
    }

    void aVInTheFrameOfItsCtrlIsNoPaste()
    {
        // As an engine reads its keys: Ctrl held is what earlier frames saw.
        QVERIFY(m_window != 0);
        const FakeGame::Log log(Options().log);
        QVERIFY(MClipboard::SetClipboardText(0, QStringLiteral("screenshot")) && Focus());
        log.Clear();
        using namespace MKeyboard;
        QVERIFY(SendKey(0x29, 0, FlagScanCode, ActionPress) && SendKey(0x0E, 0, FlagScanCode, ActionPress));
        QVERIFY(log.WaitFor(QStringLiteral("key up 22")));
        QVERIFY(SendInOneFrame({{37, true}, {55, true}, {55, false}, {37, false}}));  // Ctrl+V
        QVERIFY(log.WaitFor(QStringLiteral("key up 37")));
        QVERIFY(SendKey(0x1C, 0, FlagScanCode, ActionPress) && SendKey(0x29, 0, FlagScanCode, ActionPress));
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        // The empty line that a real engine shows as "]".
        QVERIFY2(log.Lines().filter(QStringLiteral("paste")).isEmpty(), qPrintable(log.Lines().join('\n')));
        QVERIFY2(log.Contains(QStringLiteral("run ")), qPrintable(log.Lines().join('\n')));
    }

    void consoleOpensOnLayoutsWithoutPlainGrave_data() { LayoutsWithoutPlainGrave(); }

    void consoleOpensOnLayoutsWithoutPlainGrave()
    {
        QFETCH(QString, layout);
        QVERIFY(m_window != 0);
        // The display's keymap comes back whole at the end, whatever happens.
        KeymapGuard keymap(m_dir.filePath(QStringLiteral("keymap.xkm")));
        if (!keymap.Available())
            QSKIP("needs setxkbmap and xkbcomp (x11-xkb-utils)");
        QVERIFY2(keymap.Save(), qPrintable(keymap.error));
        QVERIFY2(keymap.SetLayout(layout), qPrintable(keymap.error));

        const FakeGame::Log log(Options().log);
        const QString command = QStringLiteral("exec x.cfg;demo \"d\"");
        QVERIFY2(SendToConsole(command, log), qPrintable(log.Lines().join('\n')));
        QVERIFY(log.Contains(QStringLiteral("console open")));
        QVERIFY2(log.Contains(QStringLiteral("run ") + command), qPrintable(log.Lines().join('\n')));
        QVERIFY2(keymap.Restore(), qPrintable(keymap.error));
    }

    void withdrawnFakeIsNotListedAndHoldsItsGrab()
    {
        FakeGame::Options o = Options();
        o.title += QStringLiteral(" withdrawn");
        o.log = m_dir.filePath(QStringLiteral("withdrawn.log"));
        o.withdrawn = true;
        o.grab = QLatin1Char('K');
        QProcess other;
        other.setProcessEnvironment(FakeGame::Environment(o));
        other.start(m_exe, {});
        QVERIFY(other.waitForStarted());
        const FakeGame::Log log(o.log);
        QVERIFY(log.WaitForPrefix(QStringLiteral("window ")));
        QVERIFY(log.Value(QStringLiteral("window ")).endsWith(QLatin1String(" withdrawn")));
        QVERIFY(log.Contains(QStringLiteral("grab K held")));
        QList<MForms::WindowHandle> found;
        QVERIFY(!MForms::FindWindows(found, o.title, QString(), false));
        // The grab is the fake's: ours is refused until the fake ends.
        PlatformX11::X11HotKey hotKey;
        QVERIFY(!hotKey.Register(PlatformX11::HotKeyAlt, 'K', [] {}));
        other.terminate();
        QVERIFY(other.waitForFinished(5000));
        QVERIFY(QTest::qWaitFor([&] { return hotKey.Register(PlatformX11::HotKeyAlt, 'K', [] {}); }, 5000));
    }

    // Last: the fake goes away.
    void closesOnDeleteWindow()
    {
        QVERIFY(m_window != 0);
        QVERIFY(X11Windows::RequestClose(m_window));
        QVERIFY(m_game.waitForFinished(5000));
        QCOMPARE(m_game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_game.exitCode(), 0);
        QVERIFY(FakeGame::Log(Options().log).Contains(QStringLiteral("close")));
    }
};

QTEST_MAIN(TestFakeGame)
#include "tst_FakeGame.moc"
