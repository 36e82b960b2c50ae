// The status fields and the message-box wrapper on the real window.

#include "MainWindowHarness.h"


#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

using namespace Harness;

class TstStatus : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(StartActive(m_window, MakeRealServices(), m_fake));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }

    void theMiddleFieldClearsASecondAfterTheLastCall()
    {
        StatusMessages& status = m_window->Status();
        QLabel* middle = m_window->Widgets().lblMiddleStatus;
        status.fSetMiddleStatus(QStringLiteral("first"), true);
        QTest::qWait(600);
        QCOMPARE(middle->text(), QStringLiteral("first"));
        QElapsedTimer sinceLast;
        status.fSetMiddleStatus(QStringLiteral("second"), true);
        sinceLast.start();
        // A text without automatic clearing goes with the running timer.
        status.fSetMiddleStatus(QStringLiteral("plain"), false);
        QTRY_VERIFY_WITH_TIMEOUT(middle->text().isEmpty(), 4000);
        // Counted from the second call (the first one would have cleared it
        // 400 ms after it); Qt's coarse timers may be 5 % early.
        QVERIFY2(sinceLast.elapsed() >= 900, qPrintable(QString::number(sinceLast.elapsed())));
        QVERIFY(!m_window->Widgets().tmrMiddleStatusAutoClear->isActive());

        // Without automatic clearing and no timer running, the text stays.
        status.fSetMiddleStatus(QStringLiteral("stays"), false);
        status.fSetRightStatus(QStringLiteral("3D View"));
        QTest::qWait(1200);
        QCOMPARE(middle->text(), QStringLiteral("stays"));
        QCOMPARE(m_window->Widgets().lblRightStatus->text(), QStringLiteral("3D View"));
    }

    void cameraTextsCarryTwoDecimals()
    {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        m_window->State().m_camera.SetFov(72.5f);
        m_window->State().m_moveSpeed = 0.3f;
        m_window->Status().fShowFovStatus();
        QCOMPARE(m_window->Widgets().lblMiddleStatus->text(), QStringLiteral("FOV: 72,50"));
        m_window->Status().fShowMoveSpeedStatus();
        QCOMPARE(m_window->Widgets().lblMiddleStatus->text(), QStringLiteral("Move speed: 0,30"));
        m_window->Status().fShowZFarStatus();
        QCOMPARE(m_window->Widgets().lblMiddleStatus->text(), QStringLiteral("ZFar: 50000,00"));
        m_window->Status().fShowRollStatus();
        QCOMPARE(m_window->Widgets().lblMiddleStatus->text(), QStringLiteral("Roll 0,00"));
        QVERIFY(m_window->Widgets().tmrMiddleStatusAutoClear->isActive());
        QLocale::setDefault(QLocale::c());
    }

    void boxesHaveTheWindowAsOwnerAndABlankBeforeTheTitle_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << "Yes" << 6;
        QTest::newRow("no") << "No" << 7;
        QTest::newRow("cancel") << "Cancel" << 2;
    }
    void boxesHaveTheWindowAsOwnerAndABlankBeforeTheTitle()
    {
        QFETCH(QString, press);
        QFETCH(int, answer);
        QString title;
        QWidget* owner = nullptr;
        QString text;
        bool hasIcon = false;
        OnBox([&](QMessageBox* box) {
            title = box->windowTitle();
            owner = box->parentWidget();
            text = box->text();
            hasIcon = !box->windowIcon().isNull();
            QAbstractButton* button = ButtonWithText(box, press);
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        const int32_t result = m_window->Status().fShowMessageBox(
            QStringLiteral("Do you really want to replace the existing file?"), 35, QStringLiteral("Project saving"));
        QCOMPARE(result, answer);
        QCOMPARE(title, QStringLiteral(" Project saving"));
        QCOMPARE(owner, m_window.get());
        QCOMPARE(text, QStringLiteral("Do you really want to replace the existing file?"));
        QVERIFY(hasIcon);
    }
};

QTEST_MAIN(TstStatus)
#include "tst_status.moc"
