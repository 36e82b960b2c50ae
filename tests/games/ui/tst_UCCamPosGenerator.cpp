#include "UCCamPosGenerator.h"

#include "CTooltip.h"
#include "MRecorderScripts.h"
#include "MRuvResource.h"
#include "RecorderNames.h"
#include "ui/GameWindowsTestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QWheelEvent>

#include <unistd.h>

class TestUCCamPosGenerator : public QObject
{
    Q_OBJECT

    PrivateRegistry m_registry;

    struct Host
    {
        GamesTempTree tree;
        QWidget window;
        UCCamPosGenerator* gen = new UCCamPosGenerator(&window);
        CGameDefinition game;

        // The game installed the Windows way, its mod folder beside it.
        explicit Host(int32_t type)
        {
            game = MakeGame(type);
            game.SetExeFullPath(tree.File("game/" + (type == 4 ? QString("etqw.x86") : game.GameExe())));
            game.SetModFullDir(tree.Folder("game/mod"));
            gen->move(10, 10);
            window.resize(700, 300);
        }
        bool Show()
        {
            gen->SetGame(&game);
            return FocusTest::ShowActive(window);
        }
        template <class T>
        T* Get(const char* name) const
        {
            return gen->findChild<T*>(QString::fromLatin1(name));
        }
        QLineEdit* Box(const char* name, int index = -1) const
        {
            return index < 0 ? Get<QLineEdit>(name) : Member<QLineEdit>(gen, name, index);
        }
        CCamPosSetting& Settings() { return game.ScriptSetting(); }
        // The widget holds the focus once its window is active again (the
        // message box had it).
        bool HasFocus(QWidget* w)
        {
            if (window.focusWidget() != w)
                return false;
            window.activateWindow();
            return QTest::qWaitForWindowActive(&window) && w->hasFocus();
        }
        QString ModFile(const QString& rel) const { return game.ModFullDir() + "/" + QString(rel).replace('\\', '/'); }
        // Advanced settings unfolded with a real click.
        void Unfold()
        {
            auto* chk = Get<QCheckBox>("chkAdvancedSettings");
            if (!chk->isChecked())
                FocusTest::Click(chk, Qt::LeftButton, QPoint(6, chk->height() / 2));
        }
        // Replaces a box's text as the user does: click, select all, type.
        void TypeInto(QWidget* box, const QString& text)
        {
            FocusTest::Click(box);
            QTest::keyClick(window.windowHandle(), Qt::Key_A, Qt::ControlModifier);
            if (text.isEmpty())
                FocusTest::Key(window, Qt::Key_Delete);
            else
                QTest::keyClicks(QApplication::focusWidget(), text);
        }
    };

private slots:
    void initTestCase() { QVERIFY(m_registry.IsValid()); }

    void applyIsDisabledUntilAGameIsSet()
    {
        UCCamPosGenerator gen;
        QVERIFY(!gen.findChild<QPushButton*>("cmdCreate")->isEnabled());
        QVERIFY(!gen.findChild<QPushButton*>("cmdRestoreDefaultValues")->isEnabled());
        CGameDefinition rtcw = MakeGame(3);
        gen.SetGame(&rtcw);
        QVERIFY(gen.findChild<QPushButton*>("cmdCreate")->isEnabled());
    }

    void etProShowsTheSecondKeyOthersDoNot_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("second");
        QTest::newRow("ET Pro") << 0 << true;
        QTest::newRow("RTCW") << 3 << false;
        QTest::newRow("ET QW") << 4 << false;
    }

    void etProShowsTheSecondKeyOthersDoNot()
    {
        QFETCH(int, type);
        QFETCH(bool, second);
        Host h(type);
        QVERIFY(h.Show());
        QCOMPARE(h.Get<QComboBox>("cboRecordKey2")->isVisibleTo(h.gen), second);
        for (const char* name : {"txtScriptsNamePrefix", "txtPosFilesNamePrefix", "txtCVarsPrefix"}) {
            QVERIFY(h.Box(name, 0)->isVisibleTo(h.Box(name, 0)->parentWidget()));
            QCOMPARE(h.Box(name, 1)->isVisibleTo(h.Box(name, 1)->parentWidget()), second);
        }
        QCOMPARE(h.Box("txtScriptsNamePrefix", 1)->text(), QString("posMV"));

        // The second key's settings count for ET Pro only: an empty second
        // prefix and a second key equal to the reinitialization key.
        h.Settings().SetScriptNamePrefix2(QString());
        ModalAnswerer answer;
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        if (second) {
            QTRY_COMPARE(answer.boxes, QStringList{"Rozuro Zuvarazu Zizavuva|Script name prefix required."});
            QVERIFY(h.HasFocus(h.Box("txtScriptsNamePrefix", 1)));
            h.Settings().SetScriptNamePrefix2("posMV");
            h.Settings().SetRecordKey2("0");
            FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
            QTRY_COMPARE(answer.boxes.size(), 2);
            QCOMPARE(answer.boxes[1],
                     QString("Rozuro Zuvarazu Zizavuva|This key is already bound. Please choose a different one."));
            QVERIFY(h.HasFocus(h.Get<QComboBox>("cboReinitializationKey")));
            return;
        }
        h.Settings().SetRecordKey2("0");
        QTRY_COMPARE(answer.boxes, QStringList{"Rozuro Zuvarazu Zizavuva|Scripts successfully created."});
        QVERIFY(QFileInfo::exists(h.ModFile("cameras/vava/scripts/init.cfg")));
        QVERIFY(!QFileInfo::exists(h.ModFile("cameras/vava/scripts/posMV000.cfg")));
    }

    void keysAreStoredAsBindNames()
    {
        Host h(0);
        QVERIFY(h.Show());
        auto* record = h.Get<QComboBox>("cboRecordKey");
        QCOMPARE(record->currentText(), QString("8"));

        PickComboRow(record, 69);  // "Page up"
        QCOMPARE(record->currentText(), QString("Page up"));
        QCOMPARE(h.Settings().RecordKey(), QString("8"));  // not before validation
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().RecordKey(), QString("PgUp"));

        h.TypeInto(record, "K");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().RecordKey(), QString("K"));
        h.TypeInto(record, "kp_leftarrow");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().RecordKey(), QString("kp_leftarrow"));

        // Stored names come back as rows, or as typed text.
        const QStringList stored{"PgUp", "home", "pgup"};
        const QStringList shown{"Page up", "Home", "pgup"};
        const QList<int> rows{69, 67, -1};
        for (int i = 0; i < stored.size(); ++i) {
            h.Settings().SetRecordKey(stored[i]);
            h.gen->SetGame(&h.game);
            QCOMPARE(record->currentText(), shown[i]);
            if (rows[i] >= 0)
                QCOMPARE(record->currentIndex(), rows[i]);
        }
    }

    void separatorsAreSkipped()
    {
        Host h(3);
        QVERIFY(h.Show());
        auto* combo = h.Get<QComboBox>("cboReinitializationKey");
        PickComboRow(combo, 11);  // the separator after "0x00"
        QCOMPARE(combo->currentIndex(), 12);
        QCOMPARE(combo->currentText(), QString("0"));
        // The Up key onto the separator gives the row above it.
        FocusTest::Key(h.window, Qt::Key_Up);
        QCOMPARE(combo->currentIndex(), 10);
        QCOMPARE(combo->currentText(), QString("0x00"));
        FocusTest::Key(h.window, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 12);  // and Down the row below
        // The wheel passes it in the direction it turns.
        const auto wheel = [&](int delta) {
            const QPointF at = combo->rect().center();
            QWheelEvent e(at, combo->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &e);
        };
        wheel(120);
        QCOMPARE(combo->currentIndex(), 10);
        wheel(-120);
        QCOMPARE(combo->currentIndex(), 12);
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().ReinitializationKey(), QString("0"));
    }

    void namesAreCleanedWhenValidated()
    {
        Host h(0);
        QVERIFY(h.Show());
        h.Unfold();
        QLineEdit* prefix = h.Box("txtScriptsNamePrefix", 0);
        h.TypeInto(prefix, " pos MV ");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(prefix->text(), QString("pos_MV"));
        QCOMPARE(h.Settings().ScriptNamePrefix(), QString("pos_MV"));

        QLineEdit* folder = h.Box("txtScriptsRelativeDir");
        h.TypeInto(folder, "\\\\cameras\\\\vava\\\\");
        FocusTest::Click(h.Box("txtInitScriptName"));
        QCOMPARE(h.Settings().ScriptsRelativeDir(), QString("cameras\\vava"));
        QCOMPARE(folder->text(), QString("cameras\\vava"));

        // What would end the console command is no part of a name.
        h.TypeInto(h.Box("txtInitScriptName"), "init;quit");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().InitializationScriptName(), QString("init_quit"));
        QLineEdit* cvars = h.Box("txtCVarsPrefix", 1);
        h.TypeInto(cvars, "rz\"Pos");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().CvarsPrefix2(), QString("rz_Pos"));
    }

    void whatWouldLeaveItsPlaceIsRefusedWhenValidated_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString key = MRecorderScripts::Messages().badKey;
        const QString folder = MRecorderScripts::Messages().badFolder;
        // A key goes into "bind" commands: more would be commands of its own.
        QTest::newRow("a second command") << "cboRecordKey" << "8;quit" << key;
        QTest::newRow("a quoted command") << "cboReinitializationKey" << "0 \"x\";vid_restart;" << key;
        // A folder outside the mod folder.
        QTest::newRow("above the mod") << "txtScriptsRelativeDir" << "..\\..\\..\\tmp" << folder;
        QTest::newRow("a dot part") << "txtSavingRelativeDir" << "a/./b" << folder;
    }
    void whatWouldLeaveItsPlaceIsRefusedWhenValidated()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Host h(3);
        QVERIFY(h.Show());
        h.Unfold();
        QWidget* input = h.gen->findChild<QWidget*>(box);
        QVERIFY(input);
        const CCamPosSetting before = h.Settings();
        h.TypeInto(input, typed);
        ModalAnswerer answer;
        FocusTest::Key(h.window, Qt::Key_Tab);
        const QString shown = RecorderNames::fSanitizeName(typed, true);
        QTRY_COMPARE(answer.boxes, QStringList{"Rozuro Zuvarazu Zizavuva|"
                                               + MRuvResource::FormatResText(message, {box.startsWith("cbo") ? typed : shown})});
        QVERIFY(h.HasFocus(input));
        QCOMPARE(h.Settings().RecordKey(), before.RecordKey());
        QCOMPARE(h.Settings().ReinitializationKey(), before.ReinitializationKey());
        QCOMPARE(h.Settings().ScriptsRelativeDir(), before.ScriptsRelativeDir());
        QCOMPARE(h.Settings().SavingRelativeDir(), before.SavingRelativeDir());
    }

    void sameKeyTwiceIsRefusedOnApply()
    {
        Host h(3);
        QVERIFY(h.Show());
        h.TypeInto(h.Get<QComboBox>("cboReinitializationKey"), "8");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().ReinitializationKey(), QString("8"));
        ModalAnswerer answer;
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        QTRY_COMPARE(answer.boxes,
                     QStringList{"Rozuro Zuvarazu Zizavuva|This key is already bound. Please choose a different one."});
        QVERIFY(h.HasFocus(h.Get<QComboBox>("cboReinitializationKey")));
        QVERIFY(!QFileInfo::exists(h.ModFile("cameras/vava/scripts/init.cfg")));
    }

    void emptiedPrefixIsReportedOnlyByApply()
    {
        Host h(3);
        QVERIFY(h.Show());
        ModalAnswerer answer;
        h.Unfold();
        h.TypeInto(h.Box("txtPosFilesNamePrefix", 0), "");
        FocusTest::Key(h.window, Qt::Key_Tab);
        QCOMPARE(h.Settings().PositionFilenamePrefix(), QString());
        // Folded again, the field is still checked; Apply shows it.
        FocusTest::Click(h.Get<QCheckBox>("chkAdvancedSettings"), Qt::LeftButton, QPoint(6, 12));
        QVERIFY(!h.Get<QFrame>("fraAdvancedSettings")->isVisible());
        QVERIFY(answer.boxes.isEmpty());
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        QTRY_COMPARE(answer.boxes, QStringList{"Rozuro Zuvarazu Zizavuva|Position filename prefix required."});
        QVERIFY(h.Get<QFrame>("fraAdvancedSettings")->isVisible());
        QVERIFY(h.HasFocus(h.Box("txtPosFilesNamePrefix", 0)));
        QVERIFY(!QFileInfo::exists(h.ModFile("cameras/vava/scripts/init.cfg")));
    }

    void applyWritesScriptsAndAutoexec()
    {
        Host h(0);
        QVERIFY(h.Show());
        ModalAnswerer answer;
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        QTRY_COMPARE(answer.boxes, QStringList{"Rozuro Zuvarazu Zizavuva|Scripts successfully created."});
        QVERIFY(QFileInfo::exists(h.ModFile("cameras/vava/scripts/init.cfg")));
        QVERIFY(QFileInfo::exists(h.ModFile("cameras/vava/scripts/pos240.cfg")));
        QVERIFY(QFileInfo::exists(h.ModFile("cameras/vava/scripts/posMV240.cfg")));
        QVERIFY(ReadAll(h.ModFile("autoexec.cfg")).contains("exec \"cameras\\vava\\scripts\\init.cfg\""));
    }

    void invalidLocationSaysSoThenFails()
    {
        Host h(3);
        h.game.SetExeFullPath(h.tree.Path("game/missing.exe"));
        QVERIFY(h.Show());
        ModalAnswerer answer;
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        QTRY_COMPARE(answer.boxes.size(), 2);
        QCOMPARE(answer.boxes,
                 (QStringList{"Rozuro Zuvarazu Zizavuva|Please select valid game executable path and working directory.",
                              "Rozuro Zuvarazu Zizavuva|Error occured during the script creation."}));
    }

    void unwritableFoldersAreReported_data()
    {
        QTest::addColumn<QString>("blocker");  // a file or folder in the way
        QTest::addColumn<QStringList>("expected");
        const QString t = "Rozuro Zuvarazu Zizavuva|";
        QTest::newRow("scripts folder") << "file:cameras"
                                        << QStringList{t + "The %1 folder could not be created.",
                                                       t + "Error occured during the script creation."};
        QTest::newRow("backup") << "folder:autoexec.bak_vava"
                                << QStringList{t + "Error occured while updating the autoexec.cfg script : cannot "
                                                   "backup the original file."};
        QTest::newRow("autoexec") << "folder:autoexec.cfg"
                                  << QStringList{t + "Error occured while updating the autoexec.cfg script : cannot "
                                                     "write the file."};
        QTest::newRow("unreadable autoexec") << "locked:autoexec.cfg"
                                             << QStringList{t + "Error occured while updating the autoexec.cfg "
                                                                "script : cannot read the file."};
    }

    void unwritableFoldersAreReported()
    {
        QFETCH(QString, blocker);
        QFETCH(QStringList, expected);
        Host h(3);
        const QString kind = blocker.section(':', 0, 0);
        const QString path = h.ModFile(blocker.section(':', 1));
        if (kind == "file")
            QVERIFY(WriteAll(path, "in the way"));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        WriteAll(h.ModFile("autoexec.cfg"), "bind x y\r\n");
        if (kind == "locked") {
            if (geteuid() == 0)
                QSKIP("root reads every file");
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        }
        const QByteArray before = ReadAll(h.ModFile("autoexec.cfg"));
        QVERIFY(h.Show());
        ModalAnswerer answer;
        FocusTest::Click(h.Get<QPushButton>("cmdCreate"));
        QTRY_COMPARE(answer.boxes.size(), expected.size());
        const QString folder = QDir::toNativeSeparators(h.ModFile("cameras/vava/scripts"));
        QCOMPARE(answer.boxes[0], expected[0].contains("%1") ? expected[0].arg(folder) : expected[0]);
        if (expected.size() > 1)
            QCOMPARE(answer.boxes[1], expected[1]);
        // Nothing half-written: the user's autoexec.cfg is as it was.
        if (kind != "folder" || !path.endsWith("autoexec.cfg")) {
            QFile::setPermissions(h.ModFile("autoexec.cfg"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QCOMPARE(ReadAll(h.ModFile("autoexec.cfg")), before);
        }
    }

    void advancedToggle()
    {
        Host h(0);
        QVERIFY(h.Show());
        auto* chk = h.Get<QCheckBox>("chkAdvancedSettings");
        auto* frame = h.Get<QFrame>("fraAdvancedSettings");
        auto* reinit = h.Get<QComboBox>("cboReinitializationKey");
        QCOMPARE(chk->text(), QString("Advanced >>"));
        QVERIFY(!frame->isVisible());
        QCOMPARE(h.gen->height(), reinit->y() + reinit->height() + 8);
        const auto bottomOf = [](QWidget* w) { return w->y() + w->height(); };
        QCOMPARE(bottomOf(h.Get<QPushButton>("cmdCreate")), bottomOf(reinit));

        QSignalSpy layout(h.gen, &UCCamPosGenerator::LayoutChanged);
        h.Unfold();
        QCOMPARE(layout.count(), 1);
        QCOMPARE(chk->text(), QString("<< Advanced"));
        QVERIFY(frame->isVisible());
        QCOMPARE(h.gen->height(), frame->y() + frame->height() + 8);
        QCOMPARE(h.Get<QGroupBox>("fraMain")->height(), h.gen->height());
        QCOMPARE(bottomOf(h.Get<QPushButton>("cmdCreate")), bottomOf(frame));
        QCOMPARE(chk->y(), h.Get<QPushButton>("cmdRestoreDefaultValues")->y());
        QCOMPARE(h.Get<QPushButton>("cmdCreate")->x() + h.Get<QPushButton>("cmdCreate")->width(),
                 h.gen->width() - 8);

        // The caption follows the language; restoring the defaults shows them.
        QStringList texts;
        for (int i = 1; i <= 12; ++i)
            texts << QString("t%1").arg(i);
        h.gen->SetControlsText(texts);
        QCOMPARE(chk->text(), QString("<< t10"));
        QCOMPARE(h.Get<QLabel>("lblCVarsPrefix")->text(), QString("t9"));
        h.gen->SetControlsText({"too few"});
        QCOMPARE(chk->text(), QString("<< t10"));
        h.Settings().SetCvarsPrefix("mine");
        h.gen->SetGame(&h.game);
        QCOMPARE(h.Box("txtCVarsPrefix", 0)->text(), QString("mine"));
        FocusTest::Click(h.Get<QPushButton>("cmdRestoreDefaultValues"));
        QCOMPARE(h.Box("txtCVarsPrefix", 0)->text(), QString("rzPos"));
        QCOMPARE(h.Settings().CvarsPrefix(), QString("rzPos"));
    }

    void tooltips()
    {
        Host h(0);
        QVERIFY(h.Show());
        QStringList tips;
        for (int i = 1; i <= 11; ++i)
            tips << QString("tip%1").arg(i);
        tips[0] = "line one\r\nline two";
        h.gen->SetTooltips(tips);
        QCOMPARE(h.Get<QComboBox>("cboRecordKey")->toolTip(), QString("tip2 (tip3)."));
        QCOMPARE(h.Get<QComboBox>("cboRecordKey2")->toolTip(), QString("tip2 (tip4)."));
        QCOMPARE(h.Box("txtPosFilesNamePrefix", 1)->toolTip(), QString("tip10"));
        QCOMPARE(h.Get<QLabel>("lblInitScriptName")->toolTip(), QString("tip8"));

        // The balloon of the frame waits its 500 ms.
        auto* tip = h.gen->findChild<CTooltip*>();
        QVERIFY(tip != nullptr);
        QCOMPARE(tip->Style(), int(CTooltip::StyleBalloon));
        QCOMPARE(tip->Text(), QString("line one\nline two"));
        QWidget* frame = h.Get<QGroupBox>("fraMain");
        QCursor::setPos(QPoint(1200, 1000));
        QTest::qWait(50);
        QElapsedTimer clock;
        QCursor::setPos(frame->mapToGlobal(QPoint(frame->width() / 2, 8)));
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(tip->handle() != nullptr && tip->handle()->isVisible(), 3000);
        QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
        QCursor::setPos(QPoint(1201, 1000));
    }
};

QTEST_MAIN(TestUCCamPosGenerator)
#include "tst_UCCamPosGenerator.moc"
