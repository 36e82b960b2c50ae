// The main window's life cycle on the real window, under a window manager
// as on a desktop: start with and without a project on the command line, the
// splash and the notes, the close request and the deferred close, a failed
// start, activation and the Alt+Z menu key.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "C3DProject.h"
#include "CProjectIOHandler.h"
#include "FakeGameSupport.h"
#include "MArrayConvert.h"
#include "MRegistry.h"
#include "ProjectCommands.h"
#include "X11Windows.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QtTest>

using namespace Harness;

namespace {

// Counts what is written under the application key.
class CountingStore final : public ISettingsStore
{
public:
    explicit CountingStore(std::shared_ptr<ISettingsStore> real) : m_real(std::move(real)) {}
    int languageWrites = 0;

    TaggedValue Read(const QString& k, const QString& n) override { return m_real->Read(k, n); }
    bool Write(const QString& k, const QString& n, int32_t t, const TaggedValue& v) override
    {
        if (n == QLatin1String("Language"))
            ++languageWrites;
        return m_real->Write(k, n, t, v);
    }
    bool Delete(const QString& k, const QString& n) override { return m_real->Delete(k, n); }
    bool ListValues(const QString& k, QStringList& n, QList<int32_t>& t) override
    {
        return m_real->ListValues(k, n, t);
    }
    void BeginBatch() override { m_real->BeginBatch(); }
    bool EndBatch() override { return m_real->EndBatch(); }

private:
    std::shared_ptr<ISettingsStore> m_real;
};

// A view control whose OpenGL window cannot be made.
class RefusingView final : public IViewControl
{
public:
    bool Initialize(IOpenGLViewHandler*, CView*, C3DCamera*) override { return false; }
    double GLViewScale() const override { return 1; }
    void SetGLViewScale(double) override {}
    void SetView(CView*) override {}
    void UpdateProjection() override {}
    void Refresh() override {}
    bool GLKillWindow() override
    {
        ++kills;
        return true;
    }
    int32_t MousePointer() const override { return 0; }
    void SetMousePointer(int32_t) override {}
    void SetMouseIcon(const QCursor&) override {}
    bool MakeCurrent() override { return false; }
    static inline int kills = 0;
};

// The fakes, but a project named on the command line is opened for real.
class OpeningFactory final : public FakeFactory
{
public:
    using FakeFactory::FakeFactory;
    std::unique_ptr<IProjectCommands> MakeProjectCommands(MainContext& c) override
    {
        return std::make_unique<ProjectCommands>(c);
    }
};

// When the splash last came up (was shown or activated: its two seconds
// start there) and when it last went, by one clock.
class SplashWatch final : public QObject
{
public:
    qint64 cameUp = -1;
    qint64 went = -1;

    SplashWatch()
    {
        m_clock.start();
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (qobject_cast<FrmAbout*>(watched)) {
            if (e->type() == QEvent::Show
                || (e->type() == QEvent::WindowActivate && static_cast<QWidget*>(watched)->isVisible()))
                cameUp = m_clock.elapsed();
            else if (e->type() == QEvent::Hide)
                went = m_clock.elapsed();
        }
        return false;
    }

private:
    QElapsedTimer m_clock;
};

// The user gives the window the focus, as with a click on its frame or in
// the task bar; true once the program has it there.
bool UserActivates(QWidget* window)
{
    return X11Windows::Activate(window->winId())
           && QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

QStringList ProjectCalls(const QStringList& calls)
{
    QStringList out;
    for (const QString& c : calls)
        if (c == QLatin1String("New") || c == QLatin1String("Save") || c.startsWith(QLatin1String("Open:")))
            out << c;
    return out;
}

}  // namespace

class TstLifecycle : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain* Start(MainServices services)
    {
        m_window.reset();
        const int status =
            ProgramStart::StartMainWindow(std::move(services), m_window, std::make_unique<FakeFactory>(m_fake));
        if (status != 0 || !m_window)
            return nullptr;
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        return m_window.get();
    }
    FrmMain* Start() { return Start(Services(m_dialogs)); }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        RegisterLibraries();
        m_dialogs = std::make_shared<RecordingDialogs>();
        m_fake = FakeState{};
        MArrayConvert::SetCommandLineText(QString());
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void startWithoutProject()
    {
        const SplashWatch watch;
        FrmMain* w = Start();
        QVERIFY(w);
        FrmAbout* splash = w->Controls().m_aboutForm.get();
        QVERIFY(splash);
        // Shown from the start, owned by the main window and armed (a start
        // slower than its two seconds finds it gone, and disarmed).
        QVERIFY(watch.cameUp >= 0);
        QCOMPARE(splash->parentWidget(), w);
        QCOMPARE(splash->IsArmed(), splash->isVisible());
        QVERIFY(w->windowTitle().endsWith(w->Texts().fGetText(98)));
        QCOMPARE(w->windowTitle(), QStringLiteral(" Ruvadir [ET Pro] - <no title>"));
        QCOMPARE(ProjectCalls(m_fake.calls), QStringList{QStringLiteral("New")});
        // The splash stands its two seconds while the focus moves between it
        // and the main window, and then goes by itself: still there 1.5 s
        // after it came up, gone by 3 s.
        QTRY_VERIFY_WITH_TIMEOUT(!splash->isVisible(), 8000);
        QVERIFY2(watch.went - watch.cameUp >= 1500 && watch.went - watch.cameUp <= 3000,
                 qPrintable(QStringLiteral("gone after %1 ms").arg(watch.went - watch.cameUp)));
    }

    void aProjectWithNotesShowsThemAtTheStart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("noted.vava"));
        C3DProject project;
        project.SetComment(QStringLiteral("Shot list\r\n1. the jump"));
        C3DCurveController curves;
        QVERIFY(CProjectIOHandler().Save(path, project, curves));
        MArrayConvert::SetCommandLineText(MArrayConvert::JoinArguments({path}));
        QCOMPARE(ProgramStart::StartMainWindow(Services(m_dialogs), m_window,
                                               std::make_unique<OpeningFactory>(m_fake)),
                 0);
        QVERIFY(m_window && QTest::qWaitForWindowExposed(m_window.get()));
        FrmNotes* notes = m_window->Controls().m_notesForm.get();
        QCOMPARE(notes->Content(), QStringLiteral("Shot list\r\n1. the jump"));
        QVERIFY(QTest::qWaitForWindowExposed(notes));
        QVERIFY(!m_window->Controls().m_aboutForm->isVisible());
        // The focus settles among the new windows; the notes stay.
        QTRY_VERIFY(QGuiApplication::focusWindow() != nullptr);
        QTest::qWait(500);
        QVERIFY(notes->isVisible());
        QCOMPARE(m_window->State().m_activateCount, 1);
    }

    void theCaptionNamesTheGameAndTheProject()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        w->fUpdateCaption(QStringLiteral("intro"));
        QCOMPARE(w->windowTitle(), QStringLiteral(" Ruvadir [ET Pro] - intro"));
        QCOMPARE(w->State().m_captionName, QStringLiteral("intro"));
        // The no-title text follows the language; a name stays.
        w->Parts().language->mnuVL_Lang_Click(2);
        QCOMPARE(w->windowTitle(), QStringLiteral(" Ruvadir [ET Pro] - intro"));
        w->fUpdateCaption(QString());
        QCOMPARE(w->windowTitle(), QStringLiteral(" Ruvadir [ET Pro] ") + w->Texts().fGetText(98));
        QCOMPARE(w->Texts().LanguageBase(), 2000);
        w->Parts().gameSelection->fApplyGameToGui(1, false);
        QVERIFY(w->windowTitle().startsWith(QStringLiteral(" Ruvadir [DeFrag] ")));
    }

    void startWithCommandLine_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("opened");  // "" for a new project
        QTest::addColumn<bool>("recordFrame");
        const QString project = QDir::temp().absoluteFilePath(QStringLiteral("ruv lifecycle/my project.vava"));
        QTest::newRow("path with blanks") << MArrayConvert::JoinArguments({project}) << project << false;
        QTest::newRow("quoted by hand") << QLatin1Char('"') + project + QLatin1Char('"') << project << false;
        QTest::newRow("relative path") << QStringLiteral("\"my project.vava\"") << project << false;
        QTest::newRow("missing file") << MArrayConvert::JoinArguments({project + QStringLiteral(".gone")})
                                      << QString() << false;
        QTest::newRow("a folder") << MArrayConvert::JoinArguments({QDir::tempPath()}) << QString() << false;
        QTest::newRow("record-frame switch beside a path")
            << MArrayConvert::JoinArguments({QStringLiteral("-ReCfRaMe"), project}) << QString() << true;
    }
    void startWithCommandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, opened);
        QFETCH(bool, recordFrame);
        const QString folder = QDir::temp().absoluteFilePath(QStringLiteral("ruv lifecycle"));
        QVERIFY(QDir().mkpath(folder));
        QFile file(QDir(folder).filePath(QStringLiteral("my project.vava")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QDir::setCurrent(folder);
        MArrayConvert::SetCommandLineText(commandLine);

        // Loaded but not yet shown: the splash stands alone until the first paint.
        m_window = std::make_unique<FrmMain>(Services(m_dialogs), std::make_unique<FakeFactory>(m_fake));
        m_window->Form_Load();
        FrmAbout* splash = m_window->Controls().m_aboutForm.get();
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->parentWidget() == nullptr, !opened.isEmpty());
        QCOMPARE(splash->IsArmed(), opened.isEmpty());
        QCOMPARE(ProjectCalls(m_fake.calls),
                 QStringList{opened.isEmpty() ? QStringLiteral("New") : QStringLiteral("Open:") + opened});
        QCOMPARE(!m_window->Widgets().fraSRecordFrameSettings->isHidden(), recordFrame);

        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_VERIFY(m_window->State().m_firstPaintDone);
        if (!opened.isEmpty()) {
            QVERIFY(!splash->isVisible());
        } else {
            QVERIFY(splash->isVisible());
            QCOMPARE(splash->parentWidget(), m_window.get());
        }
    }

    void closeAsksWhenUnsaved_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << int(MMsgBoxEx::IdCancel) << false << false << false;
        QTest::newRow("no") << int(MMsgBoxEx::IdNo) << false << true << false;
        QTest::newRow("yes, save fails") << int(MMsgBoxEx::IdYes) << false << false << true;
        QTest::newRow("yes, saved") << int(MMsgBoxEx::IdYes) << true << true << true;
    }
    void closeAsksWhenUnsaved()
    {
        QFETCH(int, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        FrmMain* w = Start();
        QVERIFY(w);
        m_fake.nothingToSave = false;
        m_fake.saveSucceeds = saveSucceeds;
        m_fake.calls.clear();
        m_dialogs->boxes.clear();
        m_dialogs->answers = {answer};
        w->close();
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("Do you want to save the current curve?"));
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Quit"));
        QCOMPARE(m_dialogs->boxes[0].style, 35);
        QCOMPARE(m_dialogs->boxes[0].owner, w);
        QCOMPARE(m_fake.calls.contains(QStringLiteral("Save")), saved);
        if (closes) {
            QTRY_VERIFY(w->IsClosedDown());
            QVERIFY(!w->isVisible());
            QVERIFY(m_fake.calls.contains(QStringLiteral("ReleaseLock")));
        } else {
            QVERIFY(!w->Widgets().tmrWaitForClose->isActive());
            QTest::qWait(250);
            QVERIFY(w->isVisible());
            QVERIFY(!w->IsClosedDown());
        }
    }

    void closeWithNothingToSaveAsksNothing()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        m_dialogs->boxes.clear();
        w->Controls().m_aboutForm->hide();
        QVERIFY(Activate(w));
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(w->IsClosedDown());
        QVERIFY(!w->isVisible());
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void closeWaitsForThePlaybackLoop()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        m_fake.loopActive = true;
        w->close();
        QVERIFY(w->Widgets().tmrWaitForClose->isActive());
        // Ticks come and go while the loop runs...
        QTest::qWait(450);
        QVERIFY(w->isVisible());
        QVERIFY(!w->IsClosedDown());
        // ... and the first one after it closes the window.
        m_fake.loopActive = false;
        QTRY_VERIFY_WITH_TIMEOUT(w->IsClosedDown(), 2000);
        QVERIFY(!w->isVisible());
        QVERIFY(!w->Widgets().tmrWaitForClose->isActive());
    }

    void twoCloseRequestsSaveTheSettingsOnce()
    {
        MainServices services = Services(m_dialogs);
        auto counting = std::make_shared<CountingStore>(services.settings);
        services.settings = counting;
        FrmMain* w = Start(std::move(services));
        QVERIFY(w);
        w->close();
        QTest::qWait(30);
        w->close();
        QTRY_VERIFY(w->IsClosedDown());
        QCOMPARE(counting->languageWrites, 1);
        QVERIFY(!w->isVisible());
        // The settings were written whole: read back from the store.
        QVERIFY(!MRegistry::RegRead(QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"), QStringLiteral("MzHotkey"))
                     .IsNull());
    }

    void aViewThatCannotBeSetUpEndsTheStart()
    {
        RefusingView::kills = 0;
        MainServices services = Services(m_dialogs);
        services.makeViewControl = [](UCOpenGLView&) { return std::make_unique<RefusingView>(); };
        std::unique_ptr<FrmMain> window;
        QCOMPARE(ProgramStart::StartMainWindow(std::move(services), window, std::make_unique<FakeFactory>(m_fake)), 1);
        QVERIFY(!window);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("Initialization failed"));
        QCOMPARE(m_dialogs->boxes[0].style, 16);
        // Released once, when the load gave up; the window's end found
        // nothing more to release.
        QCOMPARE(RefusingView::kills, 1);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible() || !qobject_cast<QMainWindow*>(w));
        // Nothing was saved: the window never finished loading.
        QVERIFY(MRegistry::RegRead(QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"), QStringLiteral("Language"))
                    .IsNull());
    }

    void onlyComingBackFromAnotherProgramHidesTheSecondaryWindows()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        QVERIFY(UserActivates(w));
        QCOMPARE(w->State().m_activateCount, 1);
        FrmAbout* splash = w->Controls().m_aboutForm.get();
        FrmNotes* notes = w->Controls().m_notesForm.get();
        splash->CloseAfterDelay(false);
        splash->ShowModeless(w);
        notes->show();
        QVERIFY(QTest::qWaitForWindowExposed(notes));

        // From the program's own windows back to the main window: no
        // activation, nothing hidden.
        for (QWidget* own : std::initializer_list<QWidget*>{splash, notes}) {
            QVERIFY(own->isVisible());
            QVERIFY(UserActivates(own));
            QVERIFY(UserActivates(w));
        }
        QVERIFY(splash->isVisible() && notes->isVisible());
        QCOMPARE(w->State().m_activateCount, 1);

        // Another program takes the focus; the user comes back: both go.
        QTemporaryDir dir;
        FakeGame::Options other;
        other.title = QStringLiteral("Another Program");
        other.log = dir.filePath(QStringLiteral("log"));
        QProcess program;
        program.setProcessEnvironment(FakeGame::Environment(other));
        program.start(FakeGame::Binary(), {});
        const FakeGame::Log log(other.log);
        QVERIFY(log.WaitForPrefix(QStringLiteral("window ")));
        QVERIFY(X11Windows::Activate(log.WindowId()));
        QTRY_VERIFY_WITH_TIMEOUT(QGuiApplication::focusWindow() == nullptr, 5000);
        QVERIFY(UserActivates(w));
        QCOMPARE(w->State().m_activateCount, 2);
        QTRY_VERIFY(!splash->isVisible() && !notes->isVisible());
        program.kill();
        program.waitForFinished();
    }

    void altZOpensNothing()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        w->Controls().m_aboutForm->hide();
        QVERIFY(Activate(w));
        // Alt+F opens the File menu: the keys arrive.
        QTest::keyClick(w, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QApplication::activePopupWidget()->close();
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTest::keyClick(w, Qt::Key_Z, Qt::AltModifier);
        QTest::qWait(100);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(TstLifecycle)
#include "tst_lifecycle.moc"
