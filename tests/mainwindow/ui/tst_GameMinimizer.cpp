// The game minimizer on the real window: its list of hot keys, the stored
// hot key, the registration following the box and the list, a key another
// program holds, no hot keys at all, and real presses of the hot key
// (XTest, through the window's subclass object) that minimize and restore
// the fake game.

#include "FakeGameSupport.h"
#include "LaunchHarness.h"
#include "MKeyboard.h"
#include "TestWindowManager.h"
#include "X11Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QTemporaryDir>

using namespace Harness;

namespace {

struct HotKeyRecord
{
    QStringList calls;  // "register 1 77", "unregister"
    bool unavailable = false;
};

// The window's real hot keys, with what they were asked.
class RecordingHotKeys final : public IHotKeys
{
public:
    RecordingHotKeys(std::unique_ptr<IHotKeys> real, HotKeyRecord& record)
        : m_real(std::move(real)), m_record(record)
    {
    }
    bool Register(int32_t modifiers, int32_t virtualKey) override
    {
        m_record.calls << QStringLiteral("register %1 %2").arg(modifiers).arg(virtualKey);
        return !m_record.unavailable && m_real->Register(modifiers, virtualKey);
    }
    bool Unregister() override
    {
        m_record.calls << QStringLiteral("unregister");
        return m_real->Unregister();
    }
    bool Available() const override { return !m_record.unavailable && m_real->Available(); }

private:
    std::unique_ptr<IHotKeys> m_real;
    HotKeyRecord& m_record;
};

// The real game windows; the state changes asked are recorded.
class RecordingGameWindows final : public IGameWindows
{
public:
    QStringList changes;  // "minimize", "restore"

    QList<Handle> FindWindows(const QString& t, const QString& c) override { return m_real->FindWindows(t, c); }
    QList<Handle> FindWindowsOfProcess(int64_t p) override { return m_real->FindWindowsOfProcess(p); }
    int32_t GetPlacement(Handle w) override { return m_real->GetPlacement(w); }
    bool Restore(Handle w) override
    {
        changes << QStringLiteral("restore");
        return m_real->Restore(w);
    }
    bool Minimize(Handle w) override
    {
        changes << QStringLiteral("minimize");
        return m_real->Minimize(w);
    }
    bool Activate(Handle w) override { return m_real->Activate(w); }
    int32_t SendClose(Handle w) override { return m_real->SendClose(w); }
    bool SetClipboardText(const QString& t) override { return m_real->SetClipboardText(t); }
    bool SendKey(int16_t s, int32_t v, int32_t f, int32_t a) override { return m_real->SendKey(s, v, f, a); }
    Handle ActiveWindow() override { return m_real->ActiveWindow(); }

private:
    std::shared_ptr<IGameWindows> m_real = MakeRealServices().gameWindows;
};

void PressAlt(int32_t letter)
{
    using namespace MKeyboard;
    SendKey(0, 0x12, 0, ActionDown);
    SendKey(0, letter, 0, ActionPress);
    SendKey(0, 0x12, 0, ActionUp);
}

}  // namespace

class TstGameMinimizer : public QObject
{
    Q_OBJECT

    Launch::Session m_s;
    TestWindowManager m_wm;
    HotKeyRecord m_hotKeys;
    std::shared_ptr<RecordingDialogs> m_dialogs = std::make_shared<RecordingDialogs>();
    std::shared_ptr<RecordingGameWindows> m_windows = std::make_shared<RecordingGameWindows>();
    QString m_exe;

    IGameMinimizer& Minimizer() { return *m_s.window->Parts().gameMinimizer; }
    QCheckBox* Box() { return m_s.window->Widgets().chkGMinimizerEnabled; }
    QComboBox* List() { return m_s.window->Widgets().cboGMinimizerHotkey; }

    void Choose(const QString& hotkey) { List()->setCurrentIndex(List()->findText(hotkey)); }

    // A fake game of the test, shown; its window, 0 when it never shows.
    X11Windows::Handle StartFake(QProcess& game, QChar grab = QChar())
    {
        FakeGame::Options o;
        o.title = QStringLiteral("Enemy Territory");
        o.windowClass = o.title;
        o.log = m_s.Path(QStringLiteral("game%1.log").arg(QDateTime::currentMSecsSinceEpoch()));
        o.grab = grab;
        game.setProcessEnvironment(FakeGame::Environment(o));
        game.start(m_exe, {});
        const FakeGame::Log log(o.log);
        if (!log.WaitForPrefix(QStringLiteral("window ")) || (!grab.isNull() && !log.WaitForPrefix(QStringLiteral("grab "))))
            return 0;
        const X11Windows::Handle window = log.WindowId();
        if (!Launch::StateIs(window, X11Windows::State::Normal))
            return 0;
        QTest::qWait(150);
        return window;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Windows::Available())
            QSKIP("needs an X server");
        m_wm.Ensure();
        m_exe = FakeGame::InstallAs(m_s.Path(QStringLiteral("et")), QStringLiteral("etl"));
        QVERIFY(!m_exe.isEmpty());
        MainServices services = Services(m_dialogs);
        services.gameWindows = m_windows;
        services.makeHotKeys = [this, real = services.makeHotKeys](Dadavive::ICSubclass* subclass) {
            return std::make_unique<RecordingHotKeys>(real(subclass), m_hotKeys);
        };
        QVERIFY(m_s.Start(std::move(services)));
    }

    void cleanupTestCase() { m_s.window.reset(); }

    void init()
    {
        Box()->setChecked(false);
        Choose(QStringLiteral("Alt+M"));
        m_hotKeys = HotKeyRecord{};
        m_dialogs->boxes.clear();
        m_windows->changes.clear();
    }

    void theListHoldsAltAToAltYWithoutAltF()
    {
        QStringList texts;
        QList<int> keys;
        for (int i = 0; i < List()->count(); ++i) {
            texts << List()->itemText(i);
            keys << List()->itemData(i).toInt();
        }
        QCOMPARE(texts.size(), 24);
        QCOMPARE(texts.first(), QStringLiteral("Alt+A"));
        QCOMPARE(texts.last(), QStringLiteral("Alt+Y"));
        QVERIFY(!texts.contains(QStringLiteral("Alt+F")) && !texts.contains(QStringLiteral("Alt+Z")));
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(keys[i], int(texts[i].back().unicode()));
    }

    void theStoredHotkeyIsSelected_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::newRow("Alt+K") << "Alt+K" << "Alt+K";
        QTest::newRow("Alt+F is not offered") << "Alt+F" << "Alt+M";
        QTest::newRow("none") << "" << "Alt+M";
        QTest::newRow("other case") << "alt+k" << "Alt+M";
        QTest::newRow("damaged") << "Ctrl+Q" << "Alt+M";
    }

    void theStoredHotkeyIsSelected()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Choose(QStringLiteral("Alt+B"));
        Minimizer().fFillMinimizerHotkeys(stored);
        QCOMPARE(Minimizer().fMinimizerHotkeyText(), selected);
        QCOMPARE(Minimizer().fMinimizerHotkeyKey(), int32_t(selected.back().unicode()));
        // Off: nothing is registered by the filling.
        QVERIFY(m_hotKeys.calls.isEmpty());
    }

    void theRegistrationFollowsTheBoxAndTheList()
    {
        Choose(QStringLiteral("Alt+K"));
        QVERIFY(m_hotKeys.calls.isEmpty());
        QTest::mouseClick(Box(), Qt::LeftButton);
        QVERIFY(Minimizer().fIsMinimizerEnabled());
        Choose(QStringLiteral("Alt+L"));
        QTest::mouseClick(Box(), Qt::LeftButton);
        QCOMPARE(m_hotKeys.calls,
                 (QStringList{"register 1 75", "register 1 76", "unregister"}));
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void aKeyAnotherProgramHoldsIsToldAndTheBoxCleared()
    {
        QProcess holder;
        QVERIFY(StartFake(holder, QLatin1Char('K')) != 0);
        Choose(QStringLiteral("Alt+K"));
        QTest::mouseClick(Box(), Qt::LeftButton);
        QVERIFY(!Box()->isChecked());
        QCOMPARE(m_hotKeys.calls, (QStringList{"register 1 75", "unregister"}));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, m_s.window->Texts().fGetText(80, TaggedValue(QStringLiteral("Alt+K"))));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + m_s.window->Texts().fGetText(79));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
        holder.kill();
        holder.waitForFinished(3000);
    }

    void withoutHotKeysTheMinimizerSaysSo()
    {
        m_hotKeys.unavailable = true;
        Box()->setChecked(true);
        QVERIFY(!Box()->isChecked());
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, m_s.window->Texts().fGetText(937));
    }

    void twoPressesMinimizeThenRestoreTheGame_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::newRow("normal") << false;
        QTest::newRow("maximized") << true;
    }

    void twoPressesMinimizeThenRestoreTheGame()
    {
        QFETCH(bool, maximized);
        if (X11Windows::WindowManagerName().isEmpty())
            QSKIP("needs a window manager");
        QProcess game;
        const X11Windows::Handle window = StartFake(game);
        QVERIFY(window != 0);
        using S = X11Windows::State;
        const S before = maximized ? S::Maximized : S::Normal;
        if (maximized)
            QVERIFY(X11Windows::Maximize(window));
        QVERIFY(Launch::StateIs(window, before));
        Box()->setChecked(true);
        QVERIFY(Box()->isChecked());
        PressAlt('M');
        QVERIFY(Launch::StateIs(window, S::Minimized));
        PressAlt('M');
        QVERIFY(Launch::StateIs(window, before));
        game.kill();
        game.waitForFinished(3000);
    }

    void onlyExactlyAltAndTheChosenLetterAct()
    {
        QProcess game;
        QVERIFY(StartFake(game) != 0);
        Minimizer().FormSc_HotKeyPressed(Dadavive::hkmAlt | Dadavive::hkmControl, 'M');
        Minimizer().FormSc_HotKeyPressed(Dadavive::hkmAlt, 'N');
        Minimizer().FormSc_HotKeyPressed(Dadavive::hkmNone, 'M');
        QVERIFY(m_windows->changes.isEmpty());
        Minimizer().FormSc_HotKeyPressed(Dadavive::hkmAlt, 'M');
        QCOMPARE(m_windows->changes, QStringList{QStringLiteral("minimize")});
        game.kill();
        game.waitForFinished(3000);
        // No game: nothing happens, nothing is said.
        QVERIFY(QTest::qWaitFor([this] { return m_s.window->Parts().gameLauncher->fFindGameWindow() == 0; }));
        Minimizer().FormSc_HotKeyPressed(Dadavive::hkmAlt, 'M');
        QCOMPARE(m_windows->changes, QStringList{QStringLiteral("minimize")});
        QVERIFY(m_dialogs->boxes.isEmpty());
    }
};

QTEST_MAIN(TstGameMinimizer)
#include "tst_GameMinimizer.moc"
