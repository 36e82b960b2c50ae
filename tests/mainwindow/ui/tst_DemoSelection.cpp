// The project's demo on the real main window: the demo box and its clicks,
// the pick button, the demo browser's events (a demo double-clicked, a new
// root folder, a refresh, the re-selection after a rebuild), the stamp of
// the copies on a clock of the test, and the demo argument of the game:
// the chosen demo's path below the game's demo folder, or a stamped copy
// there, the copies of earlier starts gone; and that argument as the game
// (the fake game of the launch tests) gets it from the Load button.

#include "MainWindowHarness.h"
#include "FakeGameSupport.h"
#include "ImportDemoFixture.h"
#include "LaunchHarness.h"

#include "DemoSelection.h"
#include "FrmDemos.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>

using namespace Harness;

namespace {

class TestClock final : public IClock
{
public:
    uint32_t tick = 0;
    int64_t ElapsedMs() const override { return m_elapsed.elapsed(); }
    uint32_t GetTickMs() const override { return tick; }

private:
    QElapsedTimer m_elapsed = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString CopyPrefix = QStringLiteral("__vava_last_demo_");

}  // namespace

class TstDemoSelection : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::shared_ptr<TestClock> m_clock;
    std::shared_ptr<Launch::RecordingShell> m_shell;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain& W() { return *m_window; }
    DemoSelection& Demo() { return dynamic_cast<DemoSelection&>(*W().Parts().demoSelection); }
    FrmDemos& Browser() { return *W().Controls().mDemosForm; }
    CGameDefinition& Game() { return *W().State().m_activeGame; }
    QLineEdit* Box() { return W().Widgets().txtDemo; }
    QString Path(const QString& name) const { return m_dir->filePath(name); }
    // The game's own demo folder, in the mod folder (made, empty).
    QString GameDemos() const { return Path(QStringLiteral("home/etpro/demos")); }

    // The page of the demo box in front, the box laid out.
    void ShowDemoBox()
    {
        QTabWidget* tabs = W().Widgets().tabControl;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(Box()))
                tabs->setCurrentIndex(i);
        QTRY_VERIFY(Box()->isVisible());
    }
    void SetRoot(const QString& folder)
    {
        QString root = folder;
        Demo().SetProjectDemoRootDir(root);
    }
    // The copies in the game's demo folder.
    QStringList Copies() const
    {
        return QDir(GameDemos()).entryList({CopyPrefix + QLatin1Char('*')}, QDir::Files);
    }
    QTreeWidgetItem* Node(const QString& path)
    {
        if (!Browser().SelectItem(path))
            return nullptr;
        return Browser().CurrentNode();
    }

    // Starts the game with the Load button and gives the demo it was told
    // to play, with whether it found it ("x.dm_84 found").
    QString PlayedDemo()
    {
        FakeGame::Options o;
        o.title = Game().GameCaption();
        o.windowClass = Game().GameWndClass();
        o.log = Path(QStringLiteral("game%1.log").arg(m_shell->starts.size()));
        o.home = Path(QStringLiteral("home"));
        FakeGame::SetEnvironment(o);
        const FakeGame::Log log(o.log);
        QTest::mouseClick(W().Widgets().cmdGameLoad, Qt::LeftButton);
        if (!log.WaitForPrefix(QStringLiteral("demo ")))
            qWarning() << "the game played no demo:" << log.Lines() << Prompts();
        const QString played = log.Value(QStringLiteral("demo "));
        EndStartedGames();
        return played;
    }
    void EndStartedGames()
    {
        if (!m_shell)
            return;
        for (const Launch::RecordingShell::Start& start : m_shell->starts)
            if (start.process > 0)
                ::kill(static_cast<pid_t>(start.process), SIGKILL);
        // Gone from the display before the next start looks for it.
        if (m_window && !QTest::qWaitFor([this] { return W().Parts().gameLauncher->fFindGameWindow() == 0; }, 5000))
            qWarning("a fake game is still on the display");
    }
    QStringList Prompts() const
    {
        QStringList prompts;
        for (const ScriptedDialogs::Box& box : m_dialogs->boxes)
            prompts << box.prompt;
        return prompts;
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_clock = std::make_shared<TestClock>();
        m_fake = FakeState{};
        MainServices services = MakeRealServices();
        services.dialogs = m_dialogs;
        services.clock = m_clock;
        m_shell = std::make_shared<Launch::RecordingShell>();
        services.shell = m_shell;
        QCOMPARE(ProgramStart::StartMainWindow(std::move(services), m_window, std::make_unique<FakeFactory>(m_fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        W().Controls().m_aboutForm->hide();
        ShowDemoBox();
        QVERIFY(QDir().mkpath(GameDemos()));
        Game().SetModFullDir(Path(QStringLiteral("home/etpro")));
        Game().SetDemoDefaultRootDir(GameDemos());
        QCOMPARE(Game().GetDefaultDemoRootDir(), GameDemos());
    }
    void cleanup()
    {
        EndStartedGames();
        m_window.reset();
        m_dir.reset();
        m_store.reset();
    }

    void copyStamp_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<uint32_t>("tick");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("tick beyond a second")
            << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)) << 1234567u << QStringLiteral("20240305_070809567");
        QTest::newRow("tick under ten") << QDateTime(QDate(2024, 11, 25), QTime(17, 30, 0)) << 5u
                                        << QStringLiteral("20241125_173000005");
        QTest::newRow("midnight, tick 0") << QDateTime(QDate(2000, 1, 1), QTime(0, 0)) << 0u
                                          << QStringLiteral("20000101_000000000");
        QTest::newRow("last tick before the wrap") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                                   << 4294967295u << QStringLiteral("19991231_235959295");
    }
    void copyStamp()
    {
        QFETCH(QDateTime, when);
        QFETCH(uint32_t, tick);
        QFETCH(QString, stamp);
        m_clock->tick = tick;
        QCOMPARE(Demo().fDemoCopyStamp(when), stamp);
        // Digits of the user's language never reach a file name.
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        QVERIFY(QLocale().zeroDigit() != QStringLiteral("0"));
        const QString underArabic = Demo().fDemoCopyStamp(when);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(underArabic, stamp);
        QCOMPARE(stamp.size(), 18);
    }

    void demoBoxClicks()
    {
        Demo().fSetDemo(QStringLiteral("sub\\match.dm_84"));
        QCOMPARE(Box()->text(), QStringLiteral("sub\\match.dm_84"));
        // A left click keeps the demo, and the box stays read-only.
        QTest::mouseClick(Box(), Qt::LeftButton);
        QVERIFY(Demo().fHasDemo());
        QVERIFY(Box()->isReadOnly());
        // A right click clears it, with no edit menu after it.
        QTest::mouseClick(Box(), Qt::RightButton);
        QVERIFY(!Demo().fHasDemo());
        QVERIFY(Box()->text().isEmpty());
        QVERIFY(Demo().fRelativeDemoPath().isEmpty());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!(qobject_cast<QMenu*>(w) && w->isVisible()));
        // A double click opens the demo browser, owned by the window.
        QVERIFY(!Browser().isVisible());
        QTest::mouseDClick(Box(), Qt::LeftButton);
        QTRY_VERIFY(Browser().isVisible());
        QCOMPARE(Browser().parentWidget(), &W());
    }

    void pickButtonOpensTheBrowser()
    {
        QTest::mouseClick(W().Widgets().cmdGDemoPick, Qt::LeftButton);
        QTRY_VERIFY(Browser().isVisible());
        QCOMPARE(Browser().parentWidget(), &W());
        Browser().hide();
        QTest::mouseClick(W().Widgets().cmdGDemoPick, Qt::LeftButton);
        QTRY_VERIFY(Browser().isVisible());
    }

    void demoRootFolder()
    {
        QSignalSpy rebuilds(&Browser(), &FrmDemos::DemoListUpdated);
        const QString mine = Path(QStringLiteral("mine"));
        QVERIFY(QDir().mkpath(mine));
        SetRoot(mine);
        QCOMPARE(Demo().ProjectDemoRootDir(), mine);
        QCOMPARE(Browser().RootDirectory(), mine);
        QCOMPARE(Browser().DemoPattern(), QStringLiteral("dm_??"));
        QCOMPARE(rebuilds.size(), 1);
        // The same text again: no rebuild; the same folder in other letters:
        // one.
        SetRoot(mine);
        QCOMPARE(rebuilds.size(), 1);
        SetRoot(Path(QStringLiteral("MINE")));
        QCOMPARE(Demo().ProjectDemoRootDir(), Path(QStringLiteral("MINE")));
        QCOMPARE(rebuilds.size(), 2);
        // A folder that is gone becomes the game's demo folder, also for
        // the caller.
        QString gone = Path(QStringLiteral("gone"));
        Demo().SetProjectDemoRootDir(gone);
        QCOMPARE(gone, GameDemos());
        QCOMPARE(Demo().ProjectDemoRootDir(), GameDemos());
        QCOMPARE(Browser().RootDirectory(), GameDemos());
        QCOMPARE(rebuilds.size(), 3);
    }

    void newRootChosenInTheBrowser()
    {
        const QString other = Path(QStringLiteral("other"));
        QVERIFY(QDir().mkpath(other));
        SetRoot(GameDemos());
        m_dialogs->folders << other;
        QTest::mouseClick(Browser().findChild<QPushButton*>(QStringLiteral("cmdBrowseForDemoRootDir")), Qt::LeftButton);
        QCOMPARE(m_dialogs->browses.size(), 1);
        QCOMPARE(Demo().ProjectDemoRootDir(), other);
        QCOMPARE(Browser().RootDirectory(), other);
    }

    void demoDoubleClickedInTheBrowserIsChosenAndFoundAfterARebuild()
    {
        const QString root = Path(QStringLiteral("mine"));
        WriteTestFile(root + QStringLiteral("/a.dm_84"), "a");
        const QString demo = WriteTestFile(root + QStringLiteral("/sub/match.dm_84"), "demo");
        SetRoot(root);
        QTest::mouseClick(W().Widgets().cmdGDemoPick, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&Browser()));
        QTreeWidget* tree = Browser().Tree();
        tree->expandAll();
        QTreeWidgetItem* node = Node(QStringLiteral("sub\\match.dm_84"));
        QVERIFY(node);
        const QPoint at = tree->visualItemRect(node).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(Demo().fRelativeDemoPath(), QStringLiteral("sub\\match.dm_84"));
        QCOMPARE(Box()->text(), QStringLiteral("sub\\match.dm_84"));
        QVERIFY(!Browser().isVisible());
        QVERIFY(Demo().fDemoExists());
        QCOMPARE(Demo().fDemoFullPath(), demo);

        // A rebuild selects it again.
        Browser().RefreshDemoList();
        QVERIFY(Browser().CurrentNode());
        QCOMPARE(FrmDemos::FullPath(Browser().CurrentNode()), QStringLiteral("sub\\match.dm_84"));
        QVERIFY(m_dialogs->boxes.isEmpty());
        // Gone from the folder: said, and kept as the project's demo.
        QVERIFY(QFile::remove(demo));
        Browser().RefreshDemoList();
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("'sub\\match.dm_84' demo not found."));
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" List reloading"));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
        QCOMPARE(Demo().fRelativeDemoPath(), QStringLiteral("sub\\match.dm_84"));
        QVERIFY(!Demo().fDemoExists());
    }

    void refreshFollowsTheGameLocation()
    {
        // A location that is valid opens no settings window, whatever the
        // check does.
        const QString exe = WriteTestFile(Path(QStringLiteral("home/Et.exe")), "exe");
        QVERIFY(QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner));
        Game().SetExeFullPath(exe);
        SetRoot(GameDemos());
        QSignalSpy rebuilds(&Browser(), &FrmDemos::DemoListUpdated);
        QTest::mouseClick(Browser().findChild<QPushButton*>(QStringLiteral("cmdRefresh")), Qt::LeftButton);
        const bool located = W().Parts().gameSelection->fCheckGameLocation();
        QCOMPARE(rebuilds.size(), located ? 1 : 0);
    }

    void longPathIsShortenedToTheBox()
    {
        const QString path = QStringLiteral("a very long folder name\\").repeated(8) + QStringLiteral("match.dm_84");
        Demo().fSetDemo(QStringLiteral("  ") + path + QStringLiteral(" "));
        QCOMPARE(Demo().fRelativeDemoPath(), path);
        QVERIFY(Box()->text() != path);
        QVERIFY(Box()->text().endsWith(QStringLiteral("match.dm_84")));
        QVERIFY(Box()->fontMetrics().horizontalAdvance(Box()->text()) < Box()->width());
        // A wider box shows more of it (the tabs keep their width when the
        // window grows: widen them).
        const QString narrow = Box()->text();
        QTabWidget* tabs = W().Widgets().tabControl;
        tabs->resize(tabs->width() + 300, tabs->height());
        QTRY_VERIFY(Box()->text().size() > narrow.size());
        QCOMPARE(Demo().fRelativeDemoPath(), path);
        Demo().fSetDemo(QStringLiteral("   "));
        QVERIFY(!Demo().fHasDemo());
    }

    // ---- The demo argument of the game ------------------------------------

    void demoInTheGameFolderIsPassedAsItIs()
    {
        WriteTestFile(GameDemos() + QStringLiteral("/sub/match.dm_84"), "demo");
        const QString stale = WriteTestFile(GameDemos() + QLatin1Char('/') + CopyPrefix + QStringLiteral("20200101_000000000.dm_84"), "old");
        const QString STALE = WriteTestFile(GameDemos() + QStringLiteral("/__VAVA_LAST_DEMO_x.wd1"), "old");
        const QString folder = WriteTestFile(GameDemos() + QLatin1Char('/') + CopyPrefix + QStringLiteral("folder/inside.txt"), "kept");
        const QString other = WriteTestFile(GameDemos() + QStringLiteral("/keep.dm_84"), "kept");
        SetRoot(Path(QStringLiteral("home/ETPRO/Demos")));
        Demo().fSetDemo(QStringLiteral("sub\\match.dm_84"));
        QVERIFY(Demo().fIsDemoInDefaultRoot());

        QCOMPARE(Demo().fGetGameDemoPath(), QStringLiteral("sub\\match.dm_84"));
        QVERIFY(!QFile::exists(stale));
        QVERIFY(!QFile::exists(STALE));
        // Only files go: a folder of that name, and other demos, stay.
        QVERIFY(QFile::exists(folder));
        QVERIFY(QFile::exists(other));
        QVERIFY(Copies().isEmpty());
    }

    void demoElsewhereIsCopiedAndThePreviousCopyGoes_data()
    {
        QTest::addColumn<QString>("demo");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("with its extension") << QStringLiteral("sub\\match.dm_84") << QStringLiteral(".dm_84");
        QTest::newRow("without extension") << QStringLiteral("plain") << QStringLiteral(".");
        QTest::newRow("a dot in a folder only") << QStringLiteral("v1.2\\plain") << QStringLiteral(".");
    }
    void demoElsewhereIsCopiedAndThePreviousCopyGoes()
    {
        QFETCH(QString, demo);
        QFETCH(QString, suffix);
        const QString root = Path(QStringLiteral("mine"));
        const QByteArray bytes = QByteArray("demo bytes \0\x01\xff", 14).repeated(1000);
        WriteTestFile(root + QLatin1Char('/') + QString(demo).replace(QLatin1Char('\\'), QLatin1Char('/')), bytes);
        // The game's demo folder is made when it is missing.
        QVERIFY(QDir(GameDemos()).removeRecursively());
        SetRoot(root);
        Demo().fSetDemo(demo);
        QVERIFY(!Demo().fIsDemoInDefaultRoot());

        m_clock->tick = 1042;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QString first = Demo().fGetGameDemoPath();
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const QRegularExpression form(QStringLiteral("^__vava_last_demo_(\\d{8}_\\d{6})042") + QRegularExpression::escape(suffix) + QLatin1Char('$'));
        const QRegularExpressionMatch match = form.match(first);
        QVERIFY2(match.hasMatch(), qPrintable(first));
        const QDateTime stamped = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd_HHmmss"));
        QVERIFY(stamped >= before.addMSecs(-before.time().msec()) && stamped <= after);
        QCOMPARE(ReadFile(GameDemos() + QLatin1Char('/') + first), bytes);
        QCOMPARE(Copies(), QStringList{first});

        m_clock->tick = 1043;
        const QString second = Demo().fGetGameDemoPath();
        QVERIFY(second != first);
        QCOMPARE(Copies(), QStringList{second});
        QCOMPARE(ReadFile(GameDemos() + QLatin1Char('/') + second), bytes);
        // The chosen demo itself is untouched.
        QVERIFY(Demo().fDemoExists());
    }

    void theGameFindsTheCopyAndOneCopyIsLeft()
    {
        const QString exe = FakeGame::InstallAs(Path(QStringLiteral("home")), QStringLiteral("etl"));
        QVERIFY(!exe.isEmpty());
        QVERIFY(QDir().mkpath(Path(QStringLiteral("home/etmain"))));
        QVERIFY(Launch::SetGameFolders(W(), exe, Path(QStringLiteral("home/etpro"))));
        const QString root = Path(QStringLiteral("mine"));
        WriteTestFile(root + QStringLiteral("/cup final.dm_84"), "demo");
        SetRoot(root);
        Demo().fSetDemo(QStringLiteral("cup final.dm_84"));

        const QRegularExpression found(QStringLiteral("^(__vava_last_demo_\\d{8}_\\d{9}\\.dm_84) found$"));
        m_clock->tick = 1;
        const QRegularExpressionMatch first = found.match(PlayedDemo());
        QVERIFY2(first.hasMatch(), qPrintable(first.captured(0)));
        QCOMPARE(Copies(), QStringList{first.captured(1)});
        m_clock->tick = 2;
        const QRegularExpressionMatch second = found.match(PlayedDemo());
        QVERIFY(second.hasMatch());
        QVERIFY(second.captured(1) != first.captured(1));
        QCOMPARE(Copies(), QStringList{second.captured(1)});

        // A demo of the game's own folder is played where it is, and the
        // last copy goes.
        WriteTestFile(GameDemos() + QStringLiteral("/sub/mine.dm_84"), "demo");
        Demo().fClearDemo();
        SetRoot(GameDemos());
        Demo().fSetDemo(QStringLiteral("sub\\mine.dm_84"));
        QCOMPARE(PlayedDemo(), QStringLiteral("sub\\mine.dm_84 found"));
        QVERIFY(Copies().isEmpty());
        QVERIFY2(m_dialogs->boxes.isEmpty(), qPrintable(Prompts().join(QLatin1Char('|'))));
    }

    void noDemoArgument()
    {
        const QString stale = GameDemos() + QLatin1Char('/') + CopyPrefix + QStringLiteral("old.dm_84");
        const QString root = Path(QStringLiteral("mine"));
        WriteTestFile(root + QStringLiteral("/match.dm_84"), "demo");
        SetRoot(root);

        // No demo chosen, or one that is gone: no argument, and the copies
        // of earlier starts go all the same.
        WriteTestFile(stale, "old");
        QCOMPARE(Demo().fGetGameDemoPath(), QString());
        QVERIFY(!QFile::exists(stale));
        WriteTestFile(stale, "old");
        Demo().fSetDemo(QStringLiteral("missing.dm_84"));
        QCOMPARE(Demo().fGetGameDemoPath(), QString());
        QVERIFY(!QFile::exists(stale));
        // A path that leaves the root chooses nothing, though a file is there.
        WriteTestFile(Path(QStringLiteral("outside.dm_84")), "secret");
        Demo().fSetDemo(QStringLiteral("..\\outside.dm_84"));
        QVERIFY(!Demo().fHasDemo());
        QCOMPARE(Demo().fGetGameDemoPath(), QString());
        QVERIFY(Copies().isEmpty());

        // A demo folder that cannot be made: no argument, no copy.
        Demo().fSetDemo(QStringLiteral("match.dm_84"));
        Game().SetModFullDir(WriteTestFile(Path(QStringLiteral("modfile")), "x"));
        QCOMPARE(Demo().fGetGameDemoPath(), QString());

        // No mod folder: nothing to copy into and nothing deleted where the
        // program happens to run.
        const QString here = QDir::currentPath();
        QVERIFY(QDir::setCurrent(Path(QStringLiteral("home/etpro"))));
        WriteTestFile(stale, "old");
        Game().SetModFullDir(QString());
        const QString argument = Demo().fGetGameDemoPath();
        QDir::setCurrent(here);
        QCOMPARE(argument, QString());
        QVERIFY(QFile::exists(stale));
    }
};

QTEST_MAIN(TstDemoSelection)
#include "tst_DemoSelection.moc"
