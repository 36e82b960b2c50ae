// Other programs' windows (a helper program with a known title), our own
// forms, synthesized keys and the clipboard, against a real X server. A
// window manager (openbox) is started when none runs, for the states.
#include "MClipboard.h"
#include "MForms.h"
#include "MKeyboard.h"
#include "RuvError.h"
#include "X11Windows.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace
{
struct FakeSubclass
{
    int* terminations;
    void Terminate() { ++*terminations; }
};

// Scan code and shift of a character on a US keyboard, for the typing test.
bool ScanCodeOf(QChar c, int& scan, bool& shift)
{
    static const QString lower = QStringLiteral("1234567890-=qwertyuiop[]asdfghjkl;'`\\zxcvbnm,./");
    static const QString upper = QStringLiteral("!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"~|ZXCVBNM<>?");
    static const int codes[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 16, 17, 18, 19,
                                20, 21, 22, 23, 24, 25, 26, 27, 30, 31, 32, 33, 34, 35, 36, 37,
                                38, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53};
    if (c == QLatin1Char(' ')) {
        scan = 57;
        shift = false;
        return true;
    }
    qsizetype i = lower.indexOf(c);
    shift = i < 0;
    if (i < 0)
        i = upper.indexOf(c);
    if (i < 0)
        return false;
    scan = codes[i];
    return true;
}

void TypeByScanCodes(const QString& text)
{
    using namespace MKeyboard;
    for (const QChar c : text) {
        int scan = 0;
        bool shift = false;
        QVERIFY2(ScanCodeOf(c, scan, shift), qPrintable(QString(c)));
        if (shift)
            QVERIFY(SendKey(42, 0, FlagScanCode, ActionDown));
        QVERIFY(SendKey(static_cast<std::int16_t>(scan), 0, FlagScanCode, ActionPress));
        if (shift)
            QVERIFY(SendKey(42, 0, FlagScanCode, ActionUp));
    }
}
}

class TestMForms : public QObject
{
    Q_OBJECT

private:
    QProcess m_wm;
    QProcess m_helper;
    QString m_title;
    MForms::WindowHandle m_window = 0;
    QString m_lastText;
    QStringList m_lines;

    void ReadHelper()
    {
        while (m_helper.canReadLine()) {
            const QString line = QString::fromUtf8(m_helper.readLine()).chopped(1);
            m_lines << line;
            if (line.startsWith(QLatin1String("text:")))
                m_lastText = line.mid(5);
        }
    }

    bool WaitForLine(const QString& line)
    {
        return QTest::qWaitFor([&] {
            ReadHelper();
            return m_lines.contains(line);
        }, 5000);
    }

    bool WaitForText(const QString& text)
    {
        return QTest::qWaitFor([&] {
            ReadHelper();
            return m_lastText == text;
        }, 5000);
    }

    bool Focus()
    {
        m_lines.clear();
        m_helper.write("clear\n");
        if (!WaitForLine(QStringLiteral("cleared")))
            return false;
        MForms::ActivateWindow(m_window);
        return QTest::qWaitFor([&] { return MForms::GetActiveWindow() == m_window; }, 5000);
    }

    static bool HaveManager() { return !X11Windows::WindowManagerName().isEmpty(); }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        // The helper's window is found through the X server; a window manager
        // makes the states and activation real.
        if (!X11Windows::WindowManagerName().isEmpty()) {
            // The display has one already.
        } else if (qEnvironmentVariableIsSet("RUV_TEST_NO_WM") ||
                   QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
            qInfo("no window manager: state tests are skipped");
        } else {
            m_wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
            QVERIFY(m_wm.waitForStarted());
            QVERIFY(QTest::qWaitFor([] { return !X11Windows::WindowManagerName().isEmpty(); }, 5000));
            // A window mapped just as the manager starts can be missed by it.
            QTest::qWait(200);
        }
        const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/ruv_window_helper");
        m_title = QStringLiteral("Ruvadir Helper %1").arg(QCoreApplication::applicationPid());
        m_helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_helper.start(helper, {m_title});
        QVERIFY2(m_helper.waitForStarted(), qPrintable(helper));
        QVERIFY(QTest::qWaitFor([&] {
            ReadHelper();
            return !m_lines.isEmpty() && m_lines.first().startsWith(QLatin1String("ready"));
        }, 10000));
        QVERIFY(QTest::qWaitFor([&] {
            QList<MForms::WindowHandle> found;
            return MForms::FindWindows(found, m_title, QString(), false);
        }, 5000));
    }

    void cleanupTestCase()
    {
        if (m_helper.state() == QProcess::Running) {
            m_helper.write("quit\n");
            if (!m_helper.waitForFinished(3000))
                m_helper.kill();
        }
        if (m_wm.state() == QProcess::Running) {
            m_wm.terminate();
            if (!m_wm.waitForFinished(3000))
                m_wm.kill();
        }
    }

    void findsTheHelperByTitleClassAndProcess()
    {
        QList<MForms::WindowHandle> found;
        QVERIFY(MForms::FindWindows(found, m_title.toUpper(), QString(), false));
        QCOMPARE(found.size(), 1);
        m_window = found.first();
        QCOMPARE(MForms::GetWindowTitle(m_window), m_title);
        const QString className = MForms::GetWindowClass(m_window);
        QCOMPARE(className.toLower(), QStringLiteral("ruvhelper"));
        QVERIFY(MForms::FindWindows(found, m_title, className.toUpper(), false));
        QCOMPARE(found, QList<MForms::WindowHandle>{m_window});
        QVERIFY(MForms::FindWindows(found, QString(), className, false));
        QVERIFY(found.contains(m_window));
        QVERIFY(MForms::FindWindows(found, QString(), QString(), false));
        QVERIFY(found.contains(m_window));
        QVERIFY(MForms::FindWindowsOfProcess(found, m_helper.processId()));
        QCOMPARE(found, QList<MForms::WindowHandle>{m_window});
        QVERIFY(MForms::IsTopLevelWindow(m_window));
        QCOMPARE(MForms::GetRootOwner(m_window), m_window);
        // No window has this title; a class alone that nobody has finds none.
        QVERIFY(!MForms::FindWindows(found, m_title + QStringLiteral(" 2"), QString(), false));
        QVERIFY(found.isEmpty());
        QVERIFY(!MForms::FindWindows(found, m_title, QStringLiteral("NoSuchClass"), false));
    }

    void statesOfTheHelper()
    {
        QVERIFY(m_window != 0);
        if (!HaveManager())
            QSKIP("no window manager");
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetPlacement(m_window) == MForms::StateNormal; }));
        QVERIFY(MForms::ActivateWindow(m_window));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetActiveWindow() == m_window; }, 5000));
        QVERIFY(MForms::MinimizeWindow(m_window));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetPlacement(m_window) == MForms::StateMinimized; }, 5000));
        QVERIFY(MForms::RestoreWindow(m_window));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetPlacement(m_window) == MForms::StateNormal; }, 5000));
        QVERIFY(MForms::MaximizeWindow(m_window));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetPlacement(m_window) == MForms::StateMaximized; }, 5000));
        QVERIFY(MForms::RestoreWindow(m_window));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetPlacement(m_window) == MForms::StateNormal; }, 5000));
    }

    void typedKeysArriveInTheHelper()
    {
        QVERIFY(m_window != 0);
        QVERIFY(Focus());
        const QString text = QStringLiteral("Hello, World! say \"q3\" 1.5 ~/a_b");
        TypeByScanCodes(text);
        QVERIFY2(WaitForText(text), qPrintable(m_lastText));
        // Virtual keys name the same keys: Shift (0x10) with A (0x41), then 7.
        QVERIFY(Focus());
        QVERIFY(MKeyboard::SendKey(0, 0x10, 0, MKeyboard::ActionDown));
        QVERIFY(MKeyboard::SendKey(0, 0x41, 0, MKeyboard::ActionPress));
        QVERIFY(MKeyboard::SendKey(0, 0x10, 0, MKeyboard::ActionUp));
        QVERIFY(MKeyboard::SendKey(0, 0x37, 0, MKeyboard::ActionPress));
        QVERIFY(WaitForText(QStringLiteral("A7")));
    }

    void clipboardTextIsPastedByCtrlV()
    {
        QVERIFY(m_window != 0);
        const QString text = QStringLiteral("bind F1 \"cmd 1.25\"; echo Grüße");
        QVERIFY(MClipboard::SetClipboardText(0, text));
        QCOMPARE(MClipboard::GetClipboardText(), text);
        QVERIFY(Focus());
        using namespace MKeyboard;
        QVERIFY(SendKey(29, 0, FlagScanCode, ActionDown));
        QVERIFY(SendKey(47, 0, FlagScanCode, ActionPress));
        QVERIFY(SendKey(29, 0, FlagScanCode, ActionUp));
        QVERIFY2(WaitForText(text), qPrintable(m_lastText));
    }

    void clipboardHeldByAnotherProgramIsTakenOver()
    {
        QVERIFY(m_window != 0);
        m_lines.clear();
        m_helper.write("setclip theirs\n");
        QVERIFY(WaitForLine(QStringLiteral("clip")));
        QVERIFY(QTest::qWaitFor([] { return MClipboard::GetClipboardText() == QLatin1String("theirs"); }, 5000));
        QVERIFY(MClipboard::SetClipboardText(0, QStringLiteral("ours")));
        QVERIFY(Focus());
        using namespace MKeyboard;
        QVERIFY(SendKey(29, 0, FlagScanCode, ActionDown));
        QVERIFY(SendKey(47, 0, FlagScanCode, ActionPress));
        QVERIFY(SendKey(29, 0, FlagScanCode, ActionUp));
        QVERIFY2(WaitForText(QStringLiteral("ours")), qPrintable(m_lastText));
        // An empty text replaces what is there.
        QVERIFY(MClipboard::SetClipboardText(0, QString()));
        QCOMPARE(MClipboard::GetClipboardText(), QString());
    }

    void keyRecordsOfEachAction()
    {
        using namespace MKeyboard;
        const auto press = BuildKeyInputs(47, 0, FlagScanCode, ActionPress);
        QCOMPARE(press.size(), std::size_t(2));
        QCOMPARE(press[0].flags, std::uint32_t(FlagScanCode));
        QCOMPARE(press[1].flags, std::uint32_t(FlagScanCode | FlagKeyUp));
        QCOMPARE(press[0].scanCode, std::uint16_t(47));
        QCOMPARE(press[0].type, InputKeyboard);
        QCOMPARE(BuildKeyInputs(29, 0, FlagScanCode, ActionDown).size(), std::size_t(1));
        QCOMPARE(BuildKeyInputs(29, 0, FlagScanCode, ActionUp).front().flags,
                 std::uint32_t(FlagScanCode | FlagKeyUp));
        QVERIFY(BuildKeyInputs(29, 0, FlagScanCode, 3).empty());
        QVERIFY(!SendKey(29, 0, FlagScanCode, 3));
        // A key the table does not know is not taken.
        QVERIFY(!SendKey(0, 0xFF, 0, ActionPress));
        try {
            BuildKeyInputs(0, 0x10000, 0, ActionPress);
            QFAIL("no overflow");
        } catch (const RuvError& e) {
            QCOMPARE(e.number(), RuvError::Overflow);
        }
    }

    void ownFormsStatesOwnersAndStyles()
    {
        QWidget form;
        form.setWindowTitle(QStringLiteral("Own form"));
        form.resize(200, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const MForms::WindowHandle handle = MForms::HandleOf(&form);
        QCOMPARE(MForms::GetPlacement(handle), MForms::StateNormal);
        form.showMaximized();
        QCOMPARE(MForms::GetPlacement(handle), MForms::StateMaximized);
        form.showNormal();
        QCOMPARE(MForms::GetWindowTitle(handle), QStringLiteral("Own form"));
        QDialog dialog(&form);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(MForms::GetRootOwner(MForms::HandleOf(&dialog)), handle);
        QVERIFY(!MForms::IsTopLevelWindow(MForms::HandleOf(&dialog)));
        QVERIFY(MForms::IsTopLevelWindow(handle));
        MForms::SetWindowExStyle(handle, MForms::ExStyleStaticEdge, true, true);
        QCOMPARE(MForms::GetWindowExStyle(handle), MForms::ExStyleStaticEdge);
        // Clearing two bits of which only one is set leaves the style alone.
        MForms::SetWindowExStyle(handle, 0x30000, false, true);
        QCOMPARE(MForms::GetWindowExStyle(handle), MForms::ExStyleStaticEdge);
        MForms::SetFormStaticEdge(&form, false);
        QCOMPARE(MForms::GetWindowExStyle(handle), 0);
        dialog.close();
        MForms::SendClose(handle);
        QVERIFY(!form.isVisible());
        QCOMPARE(MForms::GetPlacement(0), 0);
    }

    void anEdgeKeepsAToolWindowAToolWindow()
    {
        QWidget owner;
        QWidget tool(&owner, Qt::Tool);
        const MForms::WindowHandle handle = MForms::HandleOf(&tool);
        QCOMPARE(MForms::GetWindowExStyle(handle), MForms::ExStyleToolWindow);
        MForms::SetFormStaticEdge(&tool, true);
        QCOMPARE(tool.windowType(), Qt::Tool);
        QCOMPARE(MForms::GetWindowExStyle(handle), MForms::ExStyleToolWindow | MForms::ExStyleStaticEdge);
        MForms::SetFormStaticEdge(&tool, false);
        QCOMPARE(tool.windowType(), Qt::Tool);
    }

    void exStyleBitsTable()
    {
        struct Case { int style, bits; bool on; int expected; };
        const Case cases[] = {
            {0x0, 0x20000, true, 0x20000},     {0x20000, 0x20000, false, 0x0},
            {0x20000, 0x30000, false, 0x20000}, {0x30008, 0x30000, false, 0x8},
            {0x8, 0x30000, true, 0x30008},     {0x0, 0x8, false, 0x0},
        };
        for (const Case& c : cases)
            QCOMPARE(MForms::ChangeExStyleBits(c.style, c.bits, c.on), c.expected);
    }

    void releaseSubclass()
    {
        int terminations = 0;
        std::shared_ptr<FakeSubclass> member = std::make_shared<FakeSubclass>(FakeSubclass{&terminations});
        MForms::ReleaseSubclass(member);
        QCOMPARE(terminations, 1);
        QVERIFY(!member);
        MForms::ReleaseSubclass(member);
        QCOMPARE(terminations, 1);
    }

    void shellExecuteVerbs()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("true"));
        QVERIFY(!program.isEmpty());
        QVERIFY(MForms::ShellExecuteVerb(nullptr, 0, program, QDir::tempPath(), QString(), 1) > 0);
        // An unknown verb index opens, as index 0 does.
        QVERIFY(MForms::ShellExecuteVerb(nullptr, 7, program, QDir::tempPath(), QString(), 1) > 0);
        QCOMPARE(MForms::ShellExecuteVerb(nullptr, 3, program, QString(), QString(), 1), 0);
        QCOMPARE(MForms::ShellExecuteVerb(nullptr, 0, QString(), QString(), QString(), 1), 0);
        // With its arguments one by one: only a program starts.
        QVERIFY(MForms::StartWithArguments(program, {QStringLiteral("a \"b\" c")}, QDir::tempPath()) > 0);
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("readme.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        for (const QString& notAProgram : {text, dir.path(), dir.filePath(QStringLiteral("gone")), QString()})
            QCOMPARE(MForms::StartWithArguments(notAProgram, {}, QString()), 0);
    }

    // Last: the helper goes away.
    void closingTheHelper()
    {
        QVERIFY(m_window != 0);
        QCOMPARE(MForms::SendClose(m_window), 0);
        QVERIFY(m_helper.waitForFinished(5000));
        QVERIFY(QTest::qWaitFor([&] { return MForms::GetWindowTitle(m_window).isEmpty(); }, 3000));
        QCOMPARE(MForms::GetPlacement(m_window), 0);
        QList<MForms::WindowHandle> found;
        QVERIFY(!MForms::FindWindows(found, m_title, QString(), false));
        QVERIFY(!MForms::ActivateWindow(m_window));
    }
};

QTEST_MAIN(TestMForms)
#include "tst_MForms.moc"
