#include "FrmMain.h"
#include "MainServicesReal.h"
#include "ProgramStart.h"
#include <QtTest>
class TstSmoke : public QObject
{
    Q_OBJECT
private slots:
    void starts()
    {
        std::unique_ptr<FrmMain> w;
        QCOMPARE(ProgramStart::StartMainWindow(MakeRealServices(), w), 0);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        qDebug() << w->windowTitle();
        QTest::qWait(3000);
        w->grab().save("/tmp/i21_main.png");
        QVERIFY(w->close() || true);
    }
};
QTEST_MAIN(TstSmoke)
#include "tst_smoke.moc"
