// The main window's secondary windows from its menus: File > Notes beside
// the window, Help > About modal and never closing by itself, and Help >
// Check for update, which without a web server says where to set one. Under
// a window manager the notes and the splash stay above the main window when
// it is clicked.

#include "MainWindowHarness.h"

#include "FrmUpdate.h"
#include "MArrayConvert.h"
#include "MRegistry.h"
#include "ProgramStart.h"
#include "X11Windows.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include "XTestPointer.h"

using namespace Harness;

namespace
{
// Whether the window manager stacks the window above the other.
bool StackedAbove(const QWidget* window, const QWidget* other)
{
    const QList<X11Windows::Handle> order = X11Windows::TopLevelWindows(false);
    return order.indexOf(window->winId()) > order.indexOf(other->winId()) && order.contains(other->winId());
}
}

class TstSecondaryWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain* Start() { return StartShown(m_window, Services(m_dialogs), m_fake) ? m_window.get() : nullptr; }

    // A real click on the main window's status bar, once the window manager
    // has made the main window active again.
    bool ClickMainWindow(XTestPointer& pointer)
    {
        QStatusBar* bar = m_window->statusBar();
        return pointer.ClickAt(bar->mapToGlobal(bar->rect().center()))
               && QTest::qWaitFor([&] { return X11Windows::ActiveWindow() == m_window->winId(); });
    }

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
    }

    void notesFromTheFileMenu()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        FrmNotes* notes = w->Controls().m_notesForm.get();
        QCOMPARE(notes->windowTitle(), QStringLiteral("Notes"));
        w->Menus().Action(QStringLiteral("mnuT_Notes"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(notes));
        QCOMPARE(notes->parentWidget(), w);
        QVERIFY(!notes->Moved());
    }

    void secondaryWindowsStayAboveTheClickedMainWindow()
    {
        XTestPointer pointer;
        QVERIFY2(pointer.Available() && !X11Windows::WindowManagerName().isEmpty(),
                 "runs with XTest under a window manager");
        // The splash of a start without a project, its close timer held.
        MArrayConvert::SetCommandLineText(QString());
        QCOMPARE(ProgramStart::StartMainWindow(Services(m_dialogs), m_window, std::make_unique<FakeFactory>(m_fake)), 0);
        FrmAbout* splash = m_window->Controls().m_aboutForm.get();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        splash->CloseTimer()->stop();
        QVERIFY(splash->isVisible());
        QVERIFY(ClickMainWindow(pointer));
        QVERIFY(splash->isVisible());
        QVERIFY(StackedAbove(splash, m_window.get()));
        splash->hide();

        FrmNotes* notes = m_window->Controls().m_notesForm.get();
        m_window->Menus().Action(QStringLiteral("mnuT_Notes"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(notes));
        QVERIFY(ClickMainWindow(pointer));
        QVERIFY(notes->isVisible());
        QVERIFY(StackedAbove(notes, m_window.get()));
    }

    void aboutFromTheHelpMenu()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        FrmAbout* about = w->Controls().m_aboutForm.get();
        bool shownModal = false;
        QTimer::singleShot(0, w, [&] {
            shownModal = QTest::qWaitForWindowExposed(about) && about->isModal() && !about->IsArmed()
                         && about->parentWidget() == w && !about->CloseTimer()->isActive();
            QTest::keyClick(about, Qt::Key_Escape);
        });
        w->Menus().Action(QStringLiteral("mnuH_About"))->trigger();
        QVERIFY(shownModal);
        QVERIFY(!about->isVisible());
    }

    void updateCheckWithoutAWebServerSaysWhereToSetIt_data()
    {
        QTest::addColumn<QString>("server");  // empty: none stored
        QTest::addColumn<QString>("hint");    // "%1" the settings file
        QTest::newRow("no server") << QString()
                                   << QStringLiteral("No update server is set. Give its address (such as "
                                                     "http://host:port) as the text value \"UpdateServer\" of the key "
                                                     "\"HKEY_LOCAL_MACHINE/Software/Viziviz/Ruvadir\" in the settings "
                                                     "file \"%1\".");
        QTest::newRow("a program") << QStringLiteral("/usr/bin/xterm")
                                   << QStringLiteral("The update server \"/usr/bin/xterm\" is not a web address such "
                                                     "as http://host:port or https://host.");
    }
    void updateCheckWithoutAWebServerSaysWhereToSetIt()
    {
        QFETCH(QString, server);
        QFETCH(QString, hint);
        if (!server.isEmpty())
            QVERIFY(MRegistry::RegWrite(QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"),
                                        QStringLiteral("UpdateServer"), 1, TaggedValue(server)));
        FrmMain* w = Start();
        QVERIFY(w);
        QString shown;
        QTimer::singleShot(0, w, [&] {
            FrmUpdate* update = nullptr;
            const bool done = QTest::qWaitFor(
                [&] {
                    update = w->findChild<FrmUpdate*>();
                    return update && update->isVisible() && !update->IsBusy()
                           && update->findChild<QPushButton*>(QStringLiteral("cmdOk"))->isEnabled()
                           && update->findChild<QLabel*>(QStringLiteral("lblInfos"))->text().startsWith(
                               QLatin1String("Cannot"));
                },
                10000);
            if (!done)
                return;
            shown = update->findChild<QLabel*>(QStringLiteral("lblInfos"))->text();
            QTest::mouseClick(update->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
        });
        w->Menus().Action(QStringLiteral("mnuH_CheckForUpdate"))->trigger();
        QCOMPARE(shown, QStringLiteral("Cannot retrieve version information.\r\n\r\n") + QString(hint).replace(QLatin1String("%1"), m_store->File()));
        // One window per check: it is gone once closed.
        QVERIFY(w->findChild<FrmUpdate*>() == nullptr);
    }
};

QTEST_MAIN(TstSecondaryWindows)
#include "tst_secondarywindows.moc"
