// The program as it starts: its main window comes up with the default game
// and a new project, and the user's close (deferred by the window) ends it.
#include "FrmMain.h"
#include "MainServicesReal.h"
#include "ProgramStart.h"
#include <QtTest>
class TstSmoke : public QObject
{
    Q_OBJECT
private slots:
    void startsAndCloses()
    {
        std::unique_ptr<FrmMain> w;
        QCOMPARE(ProgramStart::StartMainWindow(MakeRealServices(), w), 0);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY2(w->windowTitle().startsWith(QStringLiteral(" Ruvadir [ET Pro] ")), qPrintable(w->windowTitle()));
        // The window defers the close until the preview has stopped.
        w->close();
        QTRY_VERIFY(!w->isVisible());
    }
};
QTEST_MAIN(TstSmoke)
#include "tst_smoke.moc"
