// The console input: with scripted game windows, the steps in their order
// (a given window is not searched, a minimized one is restored first), the
// paste a frame of a slow game after its Ctrl, no window (text 217 on
// request), a clipboard that refuses the text (its own message, no key), a
// window that never takes the keyboard (text 217) or loses it on the way
// (no key after, Ctrl released, text 940); against the fake game, the
// command runs in games of 60 and of 10 frames a second, the console opens
// on keyboard layouts where no key carries a plain grave, and a game that
// never takes the keyboard gets no key and leaves the program responsive.

#include "FakeGameSupport.h"
#include "KeymapGuard.h"
#include "LaunchHarness.h"
#include "MClipboard.h"
#include "MKeyboard.h"
#include "TestWindowManager.h"
#include "X11Windows.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Harness;

namespace {

// The real game windows, or a script of them that records what it is asked.
class ScriptedGameWindows final : public IGameWindows
{
public:
    bool scripted = false;
    QList<Handle> shown;           // the display's windows, bottom first
    QList<Handle> minimized;
    bool clipboardTakes = true;
    bool takesFocus = true;     // an activated window gets the keyboard
    int keysWhileActive = -1;   // after that many keys the user goes elsewhere
    QStringList calls;
    QList<qint64> keyTimes;     // ms

    void Reset(bool script)
    {
        scripted = script;
        shown.clear();
        minimized.clear();
        clipboardTakes = true;
        takesFocus = true;
        keysWhileActive = -1;
        calls.clear();
        keyTimes.clear();
        m_active = 0;
        m_clock.start();
    }

    QList<Handle> FindWindows(const QString& title, const QString& className) override
    {
        if (!scripted)
            return m_real->FindWindows(title, className);
        calls << QStringLiteral("find");
        return shown;
    }
    QList<Handle> FindWindowsOfProcess(int64_t processId) override
    {
        return scripted ? QList<Handle>{} : m_real->FindWindowsOfProcess(processId);
    }
    int32_t GetPlacement(Handle window) override
    {
        return scripted ? (minimized.contains(window) ? 1 : 0) : m_real->GetPlacement(window);
    }
    bool Restore(Handle window) override
    {
        if (!scripted)
            return m_real->Restore(window);
        calls << QStringLiteral("restore %1").arg(window);
        minimized.removeAll(window);
        return true;
    }
    bool Minimize(Handle window) override { return scripted || m_real->Minimize(window); }
    bool Activate(Handle window) override
    {
        if (!scripted)
            return m_real->Activate(window);
        calls << QStringLiteral("activate %1").arg(window);
        if (takesFocus)
            m_active = window;
        return true;
    }
    int32_t SendClose(Handle window) override { return scripted ? 0 : m_real->SendClose(window); }
    bool SetClipboardText(const QString& text) override
    {
        if (!scripted)
            return m_real->SetClipboardText(text);
        calls << QStringLiteral("clipboard ") + text;
        return clipboardTakes;
    }
    bool SendKey(int16_t scanCode, int32_t virtualKey, int32_t flags, int32_t action) override
    {
        if (!scripted)
            return m_real->SendKey(scanCode, virtualKey, flags, action);
        calls << QStringLiteral("key %1 %2 %3 %4").arg(scanCode, 0, 16).arg(virtualKey).arg(flags).arg(action);
        keyTimes << m_clock.elapsed();
        return true;
    }
    Handle ActiveWindow() override
    {
        if (!scripted)
            return m_real->ActiveWindow();
        return keysWhileActive >= 0 && keyTimes.size() >= keysWhileActive ? 0 : m_active;
    }

private:
    std::shared_ptr<IGameWindows> m_real = MakeRealServices().gameWindows;
    Handle m_active = 0;
    QElapsedTimer m_clock;
};

// The keys of one command: by scan code, no virtual key, one call a line.
const QStringList kConsoleKeys = {
    QStringLiteral("key 29 0 8 2"), QStringLiteral("key e 0 8 2"),  QStringLiteral("key 1d 0 8 0"),
    QStringLiteral("key 2f 0 8 2"), QStringLiteral("key 1d 0 8 1"), QStringLiteral("key 1c 0 8 2"),
    QStringLiteral("key 29 0 8 2"),
};

}  // namespace

class TstConsoleInput : public QObject
{
    Q_OBJECT

    Launch::Session m_s;
    TestWindowManager m_wm;
    std::shared_ptr<RecordingDialogs> m_dialogs = std::make_shared<RecordingDialogs>();
    std::shared_ptr<ScriptedGameWindows> m_windows = std::make_shared<ScriptedGameWindows>();

    IConsoleInput& Console() { return *m_s.window->Parts().consoleInput; }
    QString Text(int32_t id) { return m_s.window->Texts().fGetText(id); }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Windows::Available())
            QSKIP("needs an X server");
        m_wm.Ensure();
        MainServices services = Services(m_dialogs);
        services.gameWindows = m_windows;
        QVERIFY(m_s.Start(std::move(services)));
    }

    void cleanupTestCase() { m_s.window.reset(); }

    void init()
    {
        m_windows->Reset(true);
        m_dialogs->boxes.clear();
    }

    void aGivenWindowIsTypedIntoWithoutASearch_data()
    {
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("normal") << false
                                << (QStringList{"clipboard /demo \"d\"", "activate 77"} + kConsoleKeys);
        QTest::newRow("minimized") << true
                                   << (QStringList{"clipboard /demo \"d\"", "restore 77", "activate 77"}
                                       + kConsoleKeys);
    }

    void aGivenWindowIsTypedIntoWithoutASearch()
    {
        QFETCH(bool, minimized);
        QFETCH(QStringList, calls);
        // The display shows another window; the one given is taken anyway.
        m_windows->shown = {5};
        if (minimized)
            m_windows->minimized = {77};
        QVERIFY(Console().fSendConsoleCommand(QStringLiteral("/demo \"d\""), 77, true, QString(), QStringLiteral("t")));
        QCOMPARE(m_windows->calls, calls);
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void withoutAWindowTheSearchIsMade()
    {
        m_windows->shown = {5, 9};
        QVERIFY(Console().fSendConsoleCommand(QStringLiteral("x"), 0, true, QString(), QString()));
        // The topmost of the windows found.
        QVERIFY(m_windows->calls.contains(QStringLiteral("activate 9")));
        QCOMPARE(m_windows->calls.mid(m_windows->calls.size() - kConsoleKeys.size()), kConsoleKeys);
    }

    void thePasteComesAFrameOfASlowGameAfterItsCtrl()
    {
        // A game reads its keys once a frame, and pastes only with a Ctrl
        // that an earlier frame saw: a frame at 10 frames a second. The
        // other keys only keep their order.
        QVERIFY(Console().fSendConsoleCommand(QStringLiteral("/exec x.cfg"), 77, true, QString(), QString()));
        const QList<qint64>& times = m_windows->keyTimes;
        QCOMPARE(times.size(), kConsoleKeys.size());
        for (qsizetype i = 1; i < times.size(); ++i) {
            const qint64 least = kConsoleKeys[i] == QLatin1String("key 2f 0 8 2") ? 100 : 20;
            QVERIFY2(times[i] - times[i - 1] >= least,
                     qPrintable(QStringLiteral("step %1 after %2 ms").arg(i + 1).arg(times[i] - times[i - 1])));
        }
    }

    void keysGoToTheGameOnlyWhileItHasTheKeyboard_data()
    {
        QTest::addColumn<bool>("takesFocus");
        QTest::addColumn<int>("keysWhileActive");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("told");
        QTest::newRow("never taken") << false << -1 << "" << "" << QStringList{} << "217";
        QTest::newRow("never taken, own text") << false << -1 << "Start the game first." << "Go to" << QStringList{}
                                               << "Start the game first.";
        // The console may be left open: whatever the caller says of a
        // missing game would mislead.
        QTest::newRow("lost with Ctrl down") << true << 3 << "Start the game first." << "Go to"
                                             << (kConsoleKeys.mid(0, 3) << QStringLiteral("key 1d 0 8 1")) << "940";
        QTest::newRow("lost after the paste") << true << 4 << "" << "Forward" << kConsoleKeys.mid(0, 5) << "940";
    }

    void keysGoToTheGameOnlyWhileItHasTheKeyboard()
    {
        QFETCH(bool, takesFocus);
        QFETCH(int, keysWhileActive);
        QFETCH(QString, title);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QFETCH(QString, told);
        m_windows->takesFocus = takesFocus;
        m_windows->keysWhileActive = keysWhileActive;
        QElapsedTimer waited;
        waited.start();
        // Told even when the caller asked only about a missing game.
        QVERIFY(!Console().fSendConsoleCommand(QStringLiteral("/DemoFF 1"), 77, false, text, title));
        QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(m_windows->calls.filter(QRegularExpression(QStringLiteral("^key "))), keys);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        bool isNumber = false;
        const int id = told.toInt(&isNumber);
        QCOMPARE(m_dialogs->boxes[0].prompt, isNumber ? Text(id) : told);
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + (title.isEmpty() ? Text(934) : title));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
    }

    void aGameThatNeverTakesTheKeyboardGetsNoKey()
    {
        m_windows->Reset(false);
        FakeGame::Options o;
        o.title = QStringLiteral("Enemy Territory");
        o.withdrawn = true;
        o.log = m_s.Path(QStringLiteral("withdrawn.log"));
        QProcess game;
        QVERIFY(FakeGame::Start(game, o));
        const FakeGame::Log log(o.log);
        // Keys sent all the same would go to the window that has the keyboard.
        QLineEdit edit;
        edit.show();
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.setFocus();
        QTRY_VERIFY(edit.hasFocus());

        QElapsedTimer waited;
        waited.start();
        QVERIFY(!Console().fSendConsoleCommand(QStringLiteral("/DemoFF 1"), log.WindowId(), true, QString(), QString()));
        QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(217));
        // A key typed now comes after any that were sent.
        QVERIFY(MKeyboard::SendKey(0, 'X', 0, MKeyboard::ActionPress));
        QTRY_COMPARE(edit.text(), QStringLiteral("x"));
        game.kill();
        game.waitForFinished(3000);
    }

    void aSlowGameTakesThePaste_data()
    {
        QTest::addColumn<int>("frameMs");
        QTest::newRow("60 frames a second") << 16;
        QTest::newRow("10 frames a second") << 100;
    }

    void aSlowGameTakesThePaste()
    {
        // A game reads Ctrl and V that come within one of its frames as a
        // plain V, and runs an empty line.
        QFETCH(int, frameMs);
        m_windows->Reset(false);
        FakeGame::Options o;
        o.title = QStringLiteral("Fake console %1").arg(frameMs);
        o.frameMs = frameMs;
        o.log = m_s.Path(QStringLiteral("frames%1.log").arg(frameMs));
        QProcess game;
        QVERIFY(FakeGame::Start(game, o));
        const FakeGame::Log log(o.log);
        const X11Windows::Handle window = log.WindowId();
        // Activated only once its window manager (if any) has taken it.
        QVERIFY(QTest::qWaitFor(
            [window] { return X11Windows::IsShown(window) && X11Windows::TopLevelWindows(false).contains(window); }));

        const QString command = QStringLiteral("exec x.cfg;demo \"d\"");
        QVERIFY(Console().fSendConsoleCommand(command, window, true, QString(), QString()));
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY2(log.Contains(QStringLiteral("paste ") + command), qPrintable(log.Lines().join('\n')));
        QVERIFY2(log.Contains(QStringLiteral("run ") + command), qPrintable(log.Lines().join('\n')));
        QVERIFY(m_dialogs->boxes.isEmpty());
        game.kill();
        game.waitForFinished(3000);
    }

    void noGameWindowIsToldOnRequest_data()
    {
        QTest::addColumn<bool>("show");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("told");
        QTest::newRow("asked, default text") << true << "" << "217";
        QTest::newRow("asked, own text") << true << "Start the game first." << "Start the game first.";
        QTest::newRow("not asked") << false << "" << "";
    }

    void noGameWindowIsToldOnRequest()
    {
        QFETCH(bool, show);
        QFETCH(QString, text);
        QFETCH(QString, told);
        QVERIFY(!Console().fSendConsoleCommand(QStringLiteral("/DemoFF 90"), 0, show, text, QStringLiteral("Forward")));
        QVERIFY(!m_windows->calls.join(' ').contains(QStringLiteral("clipboard")));
        QVERIFY(!m_windows->calls.join(' ').contains(QStringLiteral("key")));
        if (told.isEmpty()) {
            QVERIFY(m_dialogs->boxes.isEmpty());
            return;
        }
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, told == QLatin1String("217") ? Text(217) : told);
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Forward"));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
    }

    void aRefusedClipboardIsToldAndNothingTyped_data()
    {
        QTest::addColumn<bool>("show");
        QTest::addColumn<QString>("title");
        QTest::newRow("asked") << true << "Go to";
        QTest::newRow("not asked, no title") << false << "";
    }

    void aRefusedClipboardIsToldAndNothingTyped()
    {
        QFETCH(bool, show);
        QFETCH(QString, title);
        m_windows->clipboardTakes = false;
        QVERIFY(!Console().fSendConsoleCommand(QStringLiteral("/DemoFF 1"), 77, show, QString(), title));
        QCOMPARE(m_windows->calls, QStringList{QStringLiteral("clipboard /DemoFF 1")});
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(930));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + (title.isEmpty() ? Text(934) : title));
    }

    void theConsoleOpensWhereNoKeyCarriesAPlainGrave_data() { LayoutsWithoutPlainGrave(); }

    void theConsoleOpensWhereNoKeyCarriesAPlainGrave()
    {
        QFETCH(QString, layout);
        m_windows->Reset(false);
        KeymapGuard keymap(m_s.Path(QStringLiteral("keymap.xkm")));
        if (!keymap.Available())
            QSKIP("needs setxkbmap and xkbcomp (x11-xkb-utils)");
        const QString exe = FakeGame::InstallAs(m_s.Path(QStringLiteral("et")), QStringLiteral("etl"));
        QVERIFY(!exe.isEmpty());
        FakeGame::Options o;
        o.title = QStringLiteral("Enemy Territory");
        o.windowClass = o.title;
        o.log = m_s.Path(layout + QStringLiteral(".log"));
        QProcess game;
        game.setProcessEnvironment(FakeGame::Environment(o));
        game.start(exe, {});
        QVERIFY(game.waitForStarted());
        const FakeGame::Log log(o.log);
        QVERIFY(log.WaitForPrefix(QStringLiteral("window ")));
        // Found once its window manager (if any) lists it, and so will
        // activate it.
        QVERIFY(QTest::qWaitFor([this] { return m_s.window->Parts().gameLauncher->fFindGameWindow() != 0; }));

        QVERIFY2(keymap.Save(), qPrintable(keymap.error));
        QVERIFY2(keymap.SetLayout(layout), qPrintable(keymap.error));
        const QString command = QStringLiteral("exec x.cfg;demo \"d\"");
        QVERIFY(Console().fSendConsoleCommand(command, 0, true, QString(), QString()));
        QVERIFY2(log.WaitFor(QStringLiteral("console closed")), qPrintable(log.Lines().join('\n')));
        QVERIFY2(log.Contains(QStringLiteral("run ") + command), qPrintable(log.Lines().join('\n')));
        QVERIFY2(keymap.Restore(), qPrintable(keymap.error));
        game.kill();
        game.waitForFinished(3000);
    }
};

QTEST_MAIN(TstConsoleInput)
#include "tst_ConsoleInput.moc"
