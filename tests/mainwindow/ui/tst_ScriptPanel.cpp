// The script panel of the real window: the pause keys and their bind
// names, the pause interval, the demo times and their commands, the
// configuration combos and the record-frame settings.

#include "GamesHarness.h"

#include "RecorderKeyTable.h"
#include "ScriptPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace GamesHarness;

class TstScriptPanel : public QObject
{
    Q_OBJECT

    Session m_s;

    MainWidgets& W() { return m_s.window->Widgets(); }
    ScriptPanel& Panel() { return static_cast<ScriptPanel&>(*m_s.window->Parts().scriptPanel); }
    QString Tag() { return W().cboSScriptPauseKey->property(ScriptPanel::TagProperty).toString(); }
    void ShowPage(int page)
    {
        W().tabControl->setCurrentIndex(page);
        QTRY_VERIFY(W().fraPanels[size_t(page)]->isVisible());
    }
    // Gives the box the focus, types the text over its own and moves on
    // with Tab (the focus leaves: the box is validated).
    void TypeAndLeave(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_s.Start());
        QCOMPARE(m_s.window->State().m_activeGame->GType(), 0);
    }
    void cleanupTestCase()
    {
        m_s.Stop();
    }

    void theDefaultsAtLoad()
    {
        QComboBox* keys = W().cboSScriptPauseKey;
        QCOMPARE(keys->count(), 107);
        QCOMPARE(keys->currentIndex(), 0);
        QCOMPARE(Tag(), QStringLiteral("-"));
        QCOMPARE(W().txtSScriptPauseInterval->text(), QStringLiteral("3"));
        QVERIFY(!W().chkSScriptPauseState->isChecked());
        QVERIFY(!W().txtSScriptPauseInterval->isEnabled());
        QVERIFY(!keys->isEnabled());
        for (QLineEdit* box : W().txtGDemoTimes)
            QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!W().fraSRecordFrameSettings->isVisible());
        QCOMPARE(Panel().fRecordFrameSettingsString(), QStringLiteral("0;0;16;0"));
        for (int i = 10; i < 107; ++i)
            QCOMPARE(keys->itemText(i), RecorderKeys::DisplayTexts().at(i));
    }

    void theArrowKeysStepOverSeparators()
    {
        ShowPage(2);
        QTest::mouseClick(W().chkSScriptPauseState, Qt::LeftButton, {},
                          QPoint(8, W().chkSScriptPauseState->height() / 2));
        QVERIFY(W().chkSScriptPauseState->isChecked());
        QVERIFY(W().cboSScriptPauseKey->isEnabled());
        QTRY_VERIFY(W().txtSScriptPauseInterval->hasFocus());
        QComboBox* keys = W().cboSScriptPauseKey;
        keys->setFocus();
        QTRY_VERIFY(keys->hasFocus());
        keys->setCurrentIndex(10);
        QCOMPARE(Tag(), QStringLiteral("0x00"));

        // Down onto the separator (11) goes on to "0"; Up onto it comes
        // back to "0x00".
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(keys->currentIndex(), 12);
        QCOMPARE(Tag(), QStringLiteral("0"));
        QTest::keyClick(keys, Qt::Key_Up);
        QCOMPARE(keys->currentIndex(), 10);
        QCOMPARE(Tag(), QStringLiteral("0x00"));
        // The same after the letters (separator 49).
        keys->setCurrentIndex(48);
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(keys->currentText(), QStringLiteral("Mouse 1"));
        QCOMPARE(Tag(), QStringLiteral("mouse1"));
        QTest::keyClick(keys, Qt::Key_Up);
        QCOMPARE(keys->currentText(), QStringLiteral("Z"));
    }

    void theKeysGiveTheirBindNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bind");
        QTest::newRow("Num. *") << "Num. *" << "*";
        QTest::newRow("Alt") << "Alt" << "Alt";
        QTest::newRow("Mouse 3") << "Mouse 3" << "mouse3";
        QTest::newRow("Page up") << "Page up" << "PgUp";
        QTest::newRow("Home") << "Home" << "Home";
        QTest::newRow("Num. 0") << "Num. 0" << "KP_Ins";
        QTest::newRow("F12") << "F12" << "F12";
    }
    void theKeysGiveTheirBindNames()
    {
        QFETCH(QString, text);
        QFETCH(QString, bind);
        QComboBox* keys = W().cboSScriptPauseKey;
        keys->setCurrentIndex(keys->findText(text));
        QCOMPARE(keys->currentText(), text);
        QCOMPARE(Tag(), bind);
    }

    void thePunctuationKeysShowTheLanguageButBindTheirNames()
    {
        QComboBox* keys = W().cboSScriptPauseKey;
        Panel().fLocalizePauseKeyItems();
        QCOMPARE(keys->itemText(4), QStringLiteral(";"));
        m_s.window->Menus().Language(2)->trigger();
        Panel().fLocalizePauseKeyItems();
        QStringList german;
        for (int i = 0; i < 10; ++i)
            german << keys->itemText(i);
        QCOMPARE(german, (QStringList{"ß", "´", "ü", "+", "ö", "ä", "#", ",", ".", "-"}));
        const QStringList binds{"-", "=", "[", "]", "SemiColon", "'", "\\", ",", ".", "/"};
        for (int i = 0; i < 10; ++i) {
            keys->setCurrentIndex(i);
            QCOMPARE(Tag(), binds.at(i));
        }
        m_s.window->Menus().Language(0)->trigger();
        Panel().fLocalizePauseKeyItems();
        QCOMPARE(keys->itemText(0), QStringLiteral("-"));
    }

    void aPauseIntervalOfZeroIsRefused()
    {
        ShowPage(2);
        if (!W().chkSScriptPauseState->isChecked())
            W().chkSScriptPauseState->setChecked(true);
        QLineEdit* interval = W().txtSScriptPauseInterval;
        interval->setFocus();
        QTRY_VERIFY(interval->hasFocus());
        interval->selectAll();
        QTest::keyClicks(interval, QStringLiteral("0"));
        QTest::keyClick(interval, Qt::Key_Return);
        QCOMPARE(interval->text(), QStringLiteral("3"));
        QVERIFY(interval->hasFocus());
        // Projects keep it in 16 bits.
        interval->selectAll();
        QTest::keyClicks(interval, QStringLiteral("40000"));
        QTest::keyClick(interval, Qt::Key_Return);
        QCOMPARE(interval->text(), QStringLiteral("3"));
        interval->selectAll();
        QTest::keyClicks(interval, QStringLiteral("5"));
        QTest::keyClick(interval, Qt::Key_Return);
        QCOMPARE(interval->text(), QStringLiteral("5"));
    }

    void theDemoTimesAreNormalized_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("minutesAfter");
        QTest::addColumn<QString>("secondsAfter");
        QTest::newRow("998:125 caps the minutes") << "998" << "125" << "999" << "5";
        QTest::newRow("007 seconds") << "0" << "007" << "0" << "7";
        QTest::newRow("59 stays") << "2" << "59" << "2" << "59";
        QTest::newRow("60 carries") << "2" << "60" << "3" << "0";
        QTest::newRow("150 carries two minutes") << "1" << "150" << "3" << "30";
    }
    void theDemoTimesAreNormalized()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(QString, minutesAfter);
        QFETCH(QString, secondsAfter);
        ShowPage(4);
        TypeAndLeave(W().txtGDemoTimes[0], minutes);
        TypeAndLeave(W().txtGDemoTimes[1], seconds);
        QTRY_VERIFY(!W().txtGDemoTimes[1]->hasFocus());
        QCOMPARE(W().txtGDemoTimes[0]->text(), minutesAfter);
        QCOMPARE(W().txtGDemoTimes[1]->text(), secondsAfter);
    }

    void minutesAbove999AreRefused()
    {
        ShowPage(4);
        QLineEdit* minutes = W().txtGDemoTimes[0];
        TypeAndLeave(minutes, QStringLiteral("12"));
        QTRY_VERIFY(!minutes->hasFocus());
        TypeAndLeave(minutes, QStringLiteral("1000"));
        QVERIFY(minutes->hasFocus());
        QCOMPARE(minutes->text(), QStringLiteral("12"));
        // A value the box takes lets the focus go.
        minutes->selectAll();
        QTest::keyClicks(minutes, QStringLiteral("999"));
        QTest::keyClick(minutes, Qt::Key_Tab);
        QTRY_VERIFY(!minutes->hasFocus());
        QCOMPARE(minutes->text(), QStringLiteral("999"));

        // The seconds to skip are kept in 16 bits too.
        QLineEdit* forward = W().txtGDemoTimes[2];
        TypeAndLeave(forward, QStringLiteral("15"));
        QTRY_VERIFY(!forward->hasFocus());
        TypeAndLeave(forward, QStringLiteral("40000"));
        QVERIFY(forward->hasFocus());
        QCOMPARE(forward->text(), QStringLiteral("15"));
        forward->selectAll();
        QTest::keyClicks(forward, QStringLiteral("20"));
        QTest::keyClick(forward, Qt::Key_Tab);
        QTRY_VERIFY(!forward->hasFocus());
    }

    void theDemoButtonsSendTheirCommands_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("go to 0:00") << QStringList{"0", "0", "0"} << false << "" << "";
        QTest::newRow("go to 1:30") << QStringList{"1", "30", "0"} << false << "/DemoFF -90" << "Reaching a time";
        QTest::newRow("forward 0") << QStringList{"1", "30", "0"} << true << "" << "";
        QTest::newRow("forward 15") << QStringList{"0", "0", "15"} << true << "/DemoFF 15" << "Read forwarding";
    }
    void theDemoButtonsSendTheirCommands()
    {
        QFETCH(QStringList, times);
        QFETCH(bool, forward);
        QFETCH(QString, command);
        QFETCH(QString, title);
        ShowPage(4);
        for (int i = 0; i < 3; ++i)
            W().txtGDemoTimes[size_t(i)]->setText(times.at(i));
        m_s.fake.commands.clear();
        QTest::mouseClick(forward ? W().cmdDemoFd : W().cmdDemoGoto, Qt::LeftButton);
        if (command.isEmpty()) {
            QVERIFY(m_s.fake.commands.isEmpty());
            return;
        }
        QCOMPARE(m_s.fake.commands.size(), 1);
        const Fakes::Command& sent = m_s.fake.commands.front();
        QCOMPARE(sent.text, command);
        QCOMPARE(sent.title, title);
        QCOMPARE(sent.window, IGameWindows::Handle(0));
        QVERIFY(sent.showFailure);
        QCOMPARE(sent.messageText, QString());
    }

    void theRecordFrameSettingsBothWays()
    {
        MainWidgets& w = W();
        w.txtSRecordFrameWidth->setText(QStringLiteral("1920px"));
        w.txtSRecordFrameHeight->setText(QStringLiteral("1080"));
        w.txtSRecordFrameAA->setText(QString());
        w.chkSRecordFrameSettings->setChecked(true);
        QCOMPARE(Panel().fRecordFrameSettingsString(), QStringLiteral("1920;1080;0;1"));

        struct Case
        {
            const char* text;
            QStringList values;
            bool checked;
        };
        const Case cases[] = {
            {"", {"0", "0", "16"}, false},
            {"640;480;4;1", {"640", "480", "4"}, true},
            {"640;480;4;0", {"640", "480", "4"}, false},
            {"800;600", {"800", "600", "16"}, false},
            {"1280x;720;8;2", {"1280", "720", "8"}, true},
        };
        for (const Case& c : cases) {
            w.chkSRecordFrameSettings->setChecked(!c.checked);
            Panel().fParseRecordFrameSettings(QString::fromLatin1(c.text));
            QCOMPARE((QStringList{w.txtSRecordFrameWidth->text(), w.txtSRecordFrameHeight->text(),
                                  w.txtSRecordFrameAA->text()}),
                     c.values);
            QCOMPARE(w.chkSRecordFrameSettings->isChecked(), c.checked);
        }
    }

    void theConfigurationCombos()
    {
        QComboBox* before = W().cboSCmdsBefore;
        QComboBox* after = W().cboSCmdsAfter;
        {
            const QSignalBlocker quiet(before);
            before->clear();
            before->addItems({QStringLiteral("none"), QStringLiteral("etmain\\pre.cfg"), QStringLiteral("noslash")});
            after->addItems({QStringLiteral("none"), QStringLiteral("etpro\\cfg\\post.cfg")});
        }
        before->setCurrentIndex(1);
        QCOMPARE(Panel().fCommandBeforeFile(), QStringLiteral("pre.cfg"));
        before->setCurrentIndex(2);
        QCOMPARE(Panel().fCommandBeforeFile(), QString());
        before->setCurrentIndex(0);
        QCOMPARE(Panel().fCommandBeforeFile(), QString());
        after->setCurrentIndex(1);
        QCOMPARE(Panel().fCommandAfterFile(), QStringLiteral("cfg\\post.cfg"));

        ShowPage(3);
        m_s.fake.calls.clear();
        QTest::mouseClick(W().cmdSCmdsBefore, Qt::LeftButton);
        QTest::mouseClick(W().cmdSCmdsAfter, Qt::LeftButton);
        QCOMPARE(m_s.fake.calls, (QStringList{"Manage:cboSCmdsBefore", "Manage:cboSCmdsAfter"}));
    }

    void choicesMarkTheProjectUnlessCodeFillsTheCombos()
    {
        MainState& state = m_s.window->State();
        state.m_mainCurve->AddControl3(0, 0, 0, 0, 0, 0, true);
        state.m_projectModified = false;
        state.m_comboGuard = true;
        W().cboSCmdsBefore->setCurrentIndex(1);
        W().chkSAutoStart->setChecked(!W().chkSAutoStart->isChecked());
        QVERIFY(!state.m_projectModified);
        state.m_comboGuard = false;
        W().cboSCmdsBefore->setCurrentIndex(0);
        QVERIFY(state.m_projectModified);
        state.m_projectModified = false;
        ShowPage(2);
        QTest::mouseClick(W().chkSAutoStart, Qt::LeftButton, {}, QPoint(8, W().chkSAutoStart->height() / 2));
        QVERIFY(state.m_projectModified);
        state.m_projectModified = false;
    }
};

QTEST_MAIN(TstScriptPanel)
#include "tst_ScriptPanel.moc"
