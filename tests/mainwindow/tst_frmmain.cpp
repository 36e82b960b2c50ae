#include "FrmMain.h"

#include <QtTest>

class TstFrmMain : public QObject
{
    Q_OBJECT
private slots:
    void showsTitledWindowAndCloses()
    {
        FrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Ruvadir"));
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
