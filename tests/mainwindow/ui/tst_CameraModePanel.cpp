// The camera modes of the real window: the lists of each game, the player
// or point numbers, the option's caption and the mode's balloon, chosen
// with the keyboard and by changing games in the menu.

#include "GamesHarness.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QtTest>

using namespace GamesHarness;

class TstCameraModePanel : public QObject
{
    Q_OBJECT

    Session m_s;

    MainWidgets& W() { return m_s.window->Widgets(); }
    CTooltip& Balloon() { return *m_s.window->Parts().tooltips->Balloon(1); }
    QStringList Modes()
    {
        QStringList modes;
        for (int i = 0; i < W().cboCamMode->count(); ++i)
            modes << W().cboCamMode->itemText(i);
        return modes;
    }
    // Steps the mode list with the arrow key, as the user does.
    void ChooseMode(int index)
    {
        QComboBox* modes = W().cboCamMode;
        W().tabControl->setCurrentIndex(2);
        QTRY_VERIFY(modes->isVisible());
        modes->setFocus();
        QTRY_VERIFY(modes->hasFocus());
        while (modes->currentIndex() < index)
            QTest::keyClick(modes, Qt::Key_Down);
        while (modes->currentIndex() > index)
            QTest::keyClick(modes, Qt::Key_Up);
        QCOMPARE(modes->currentIndex(), index);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_s.Start());
    }
    void cleanupTestCase()
    {
        m_s.Stop();
    }

    void eachGameHasItsModes_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QStringList>("modes");
        QTest::newRow("ET Pro") << 0 << QStringList{"Free", "LookPlayer"};
        QTest::newRow("DeFrag") << 1 << QStringList{"Free", "LookPlayer", "LookNoPitch", "LookNoYaw"};
        QTest::newRow("Warsow") << 2 << QStringList{};
        QTest::newRow("RTCW") << 3 << QStringList{};
        QTest::newRow("ET QW") << 4 << QStringList{"Free", "LookPlayer", "LookPoint"};
    }
    void eachGameHasItsModes()
    {
        QFETCH(int, game);
        QFETCH(QStringList, modes);
        QVERIFY(ChooseMod(*m_s.window, game));
        QCOMPARE(Modes(), modes);
        QCOMPARE(W().cboCamMode->currentIndex(), modes.isEmpty() ? -1 : 0);
    }

    void etqwOffersPlayersAndPoints()
    {
        QVERIFY(ChooseMod(*m_s.window, 4));
        QComboBox* option = W().cboCamModeOption;
        // Free: no number.
        QCOMPARE(option->count(), 0);
        QVERIFY(!option->isEnabled());
        QCOMPARE(W().lblCamModeOption->text(), QStringLiteral("Player"));
        ChooseMode(1);
        QCOMPARE(option->count(), 32);
        QVERIFY(option->isEnabled());
        QCOMPARE(option->currentText(), QStringLiteral("0"));
        QCOMPARE(W().lblCamModeOption->text(), QStringLiteral("Player"));
        ChooseMode(2);
        QCOMPARE(option->count(), 128);
        QCOMPARE(option->itemText(127), QStringLiteral("127"));
        QCOMPARE(W().lblCamModeOption->text(), QStringLiteral("Point"));
        QCOMPARE(Balloon().Title(), QString());
        QCOMPARE(Balloon().Text(), QString());

        // Warsow and RTCW have no mode: what ET QW left stays, which is its
        // first mode, as the new project the change starts chose it.
        QVERIFY(ChooseMod(*m_s.window, 2));
        QCOMPARE(W().lblCamModeOption->text(), QStringLiteral("Player"));
        QCOMPARE(option->count(), 0);
        QVERIFY(!W().fraS_CameraMode->isEnabled());
        QVERIFY(ChooseMod(*m_s.window, 3));
        QCOMPARE(option->count(), 0);
    }

    void theBalloonExplainsTheMode()
    {
        QVERIFY(ChooseMod(*m_s.window, 0));
        QCOMPARE(Balloon().Title(), QStringLiteral("Free look:"));
        QCOMPARE(Balloon().Text(), QStringLiteral("Camera view uses the values specified in the datagrid."));
        ChooseMode(1);
        QCOMPARE(Balloon().Title(), QStringLiteral("Look player:"));
        QCOMPARE(Balloon().Text(),
                 QStringLiteral("Camera view tracks the specified player. The specified angles are ignored."));
        QCOMPARE(W().cboCamModeOption->count(), 64);
        QVERIFY(W().cboCamModeOption->isEnabled());

        QVERIFY(ChooseMod(*m_s.window, 1));
        QCOMPARE(Balloon().Title(), QStringLiteral("Transition Cam"));
        ChooseMode(2);
        QCOMPARE(Balloon().Title(), QStringLiteral("Player-Tracking Cam, No Pitch"));
        QVERIFY(Balloon().Text().startsWith(
            QStringLiteral("Camera view angles continuously track the player, except for pitch (up/down), which "
                           "is\r\ntransitioned")));
        QVERIFY(Balloon().Text().endsWith(QStringLiteral("as\r\nthe player jumps.")));
    }

    void leavingDeFragsLastModeForEtProStartsFree()
    {
        QVERIFY(ChooseMod(*m_s.window, 1));
        ChooseMode(3);
        QCOMPARE(W().cboCamMode->currentText(), QStringLiteral("LookNoYaw"));
        W().cboCamModeOption->setCurrentIndex(12);
        QVERIFY(ChooseMod(*m_s.window, 0));
        QCOMPARE(W().cboCamMode->currentText(), QStringLiteral("Free"));
        QCOMPARE(W().cboCamModeOption->currentText(), QStringLiteral("0"));
        QVERIFY(!W().cboCamModeOption->isEnabled());
    }

    void theOptionCaptionFollowsTheLanguage()
    {
        QVERIFY(ChooseMod(*m_s.window, 4));
        ChooseMode(2);
        m_s.window->Menus().Language(2)->trigger();
        m_s.window->Parts().cameraModes->fShowCamModeOption();
        QCOMPARE(W().lblCamModeOption->text(), m_s.window->Texts().fGetText(283));
        QVERIFY(W().lblCamModeOption->text() != QStringLiteral("Point"));
        m_s.window->Menus().Language(0)->trigger();
        m_s.window->Parts().cameraModes->fShowCamModeOption();
        QCOMPARE(W().lblCamModeOption->text(), QStringLiteral("Point"));
    }
};

QTEST_MAIN(TstCameraModePanel)
#include "tst_CameraModePanel.moc"
