#include "FrmGameSettings.h"

#include "UCCamPosGenerator.h"
#include "UCGameLocation.h"
#include "ui/GameWindowsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>

class TestFrmGameSettings : public QObject
{
    Q_OBJECT

    PrivateRegistry m_registry;

    // The five built-in games; ET Pro and DeFrag installed the Windows way
    // in a folder of their own, the others not set up.
    struct Games
    {
        GamesTempTree tree;
        TreeHome home{tree};  // the engines' home folders listed beside the games' own
        std::array<CGameDefinition, 5> games{MakeGame(0), MakeGame(1), MakeGame(2), MakeGame(3), MakeGame(4)};
        Games()
        {
            Install(0, "ET", "Et.exe", "etpro");
            Install(1, "Q3", "Quake3.exe", "defrag");
        }
        void Install(int type, const QString& folder, const QString& exe, const QString& mod)
        {
            tree.Folder(folder + "/other");
            games[type].SetExeFullPath(tree.File(folder + "/" + exe));
            games[type].SetModFullDir(tree.Folder(folder + "/" + mod));
        }
        std::span<CGameDefinition> Span() { return games; }
    };

    static QByteArray Store()
    {
        return ReadAll(QDir(qEnvironmentVariable("RUVADIR_REGISTRY")).filePath("registry.xml"));
    }

    template <class T>
    static T* Get(FrmGameSettings& f, const char* name)
    {
        return f.findChild<T*>(QString::fromLatin1(name));
    }

    static int Bottom(const QWidget* w) { return w->y() + w->height(); }

private slots:
    void initTestCase() { QVERIFY(m_registry.IsValid()); }

    void recorderOnlyForItsGames()
    {
        Games g;
        FrmGameSettings f;
        f.SetControlsText({"Réglages des jeux", "Jeu/MOD", "Annuler", "OK"});
        QCOMPARE(f.windowTitle(), QString(" Réglages des jeux"));
        f.SetControlsText({"only one"});
        QCOMPARE(f.windowTitle(), QString(" Réglages des jeux"));

        auto* location = Get<UCGameLocation>(f, "ucGameLocation1");
        auto* recorder = Get<UCCamPosGenerator>(f, "ucCamPosGenerator1");
        auto* cancel = Get<QPushButton>(f, "cmdCancel");
        auto* ok = Get<QPushButton>(f, "cmdOk");
        int heightWithout = 0;
        int heightWith = 0;
        RunModal(f, [&] {
            QCOMPARE(Get<QComboBox>(f, "cboGameType")->currentText(), QString("DeFrag"));
            QVERIFY(!recorder->isVisibleTo(&f));
            QCOMPARE(cancel->y(), Bottom(location) + 12);
            QCOMPARE(ok->y(), cancel->y());
            QCOMPARE(f.height(), Bottom(cancel) + 12);
            heightWithout = f.height();

            for (int type : {0, 3, 4}) {
                PickComboRow(Get<QComboBox>(f, "cboGameType"), type);
                QVERIFY(recorder->isVisibleTo(&f));
                QCOMPARE(recorder->y(), Bottom(location) + 12);
                QCOMPARE(cancel->y(), Bottom(recorder) + 12);
                QCOMPARE(f.height(), Bottom(cancel) + 12);
                heightWith = f.height();
            }
            // The recorder's own changes of height move the buttons too.
            auto* advanced = recorder->findChild<QCheckBox*>("chkAdvancedSettings");
            FocusTest::Click(advanced, Qt::LeftButton, QPoint(6, advanced->height() / 2));
            QCOMPARE(cancel->y(), Bottom(recorder) + 12);
            QVERIFY(f.height() > heightWith);
            PickComboRow(Get<QComboBox>(f, "cboGameType"), 2);  // Warsow
            QVERIFY(!recorder->isVisibleTo(&f));
            QCOMPARE(f.height(), heightWithout);
            FocusTest::Click(cancel);
        }, [&] { f.ShowForm(nullptr, 1, g.Span()); });
        QVERIFY(heightWithout < heightWith);
        QVERIFY(f.Canceled());
    }

    void cancelAndCloseBoxDiscard_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void cancelAndCloseBoxDiscard()
    {
        QFETCH(bool, closeBox);
        Games g;
        for (const CGameDefinition& game : g.games)
            game.WriteSettings();
        const QByteArray store = Store();
        QVERIFY(!store.isEmpty());
        const QString mod = g.games[0].ModFullDir();

        FrmGameSettings f;
        QPointer<FrmGameSettings> alive(&f);
        auto* location = Get<UCGameLocation>(f, "ucGameLocation1");
        for (int round = 0; round < 2; ++round) {  // reused
            RunModal(f, [&] {
                auto* list = location->findChild<QListWidget*>("lstWorkingDirectory");
                QCOMPARE(list->item(0)->text(), QString("etpro"));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(1)).center());  // "other"
                QVERIFY(location->IsLocationValid());
                if (closeBox)
                    QVERIFY(!f.close());
                else
                    FocusTest::Click(Get<QPushButton>(f, "cmdCancel"));
            }, [&] { f.ShowForm(nullptr, 0, g.Span()); });
            QVERIFY(alive);
            QVERIFY(!f.isVisible());
            QVERIFY(f.Canceled());
            QCOMPARE(g.games[0].ModFullDir(), mod);
            QVERIFY(g.games[0].ScriptOutDir().isEmpty());
            QCOMPARE(Store(), store);
            // The controls still show the last copies, which are still there.
            QCOMPARE(location->IsLocationValid(), true);
            QVERIFY(!QFileInfo::exists(mod + "/cameras"));
        }
    }

    void okAppliesTheCopiesWithDefaultFolders()
    {
        Games g;
        g.games[1].SetScriptOutDir(g.tree.Path("Q3/mine"));  // set: kept, not created
        g.games[1].SetImportDir(g.tree.Path("Q3/positions"));
        const QByteArray store = Store();
        FrmGameSettings f;
        RunModal(f, [&] {
            auto* advanced = f.findChild<QCheckBox*>("chkAdvancedSettings");
            FocusTest::Click(advanced, Qt::LeftButton, QPoint(6, advanced->height() / 2));
            QLineEdit* prefix = Member<QLineEdit>(&f, "txtScriptsNamePrefix", 0);
            FocusTest::Click(prefix);
            QTest::keyClick(f.windowHandle(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(prefix, " pos MV ");
            // Enter on the default button moves no focus: the box is validated all the same.
            FocusTest::Key(f, Qt::Key_Return);
        }, [&] { f.ShowForm(nullptr, 0, g.Span()); });
        QVERIFY(!f.Canceled());

        const CGameDefinition& et = g.games[0];
        QCOMPARE(et.ScriptSetting().ScriptNamePrefix(), QString("pos_MV"));
        QCOMPARE(et.ScriptOutDir(), et.ModFullDir() + "/cameras");
        QVERIFY(QFileInfo(et.ScriptOutDir()).isDir());
        // The recorder's folder keeps its own separators; the folder is made on disk.
        QCOMPARE(et.ImportDir(), et.ModFullDir() + "/cameras\\vava\\pos");
        QVERIFY(QFileInfo(et.ModFullDir() + "/cameras/vava/pos").isDir());

        const CGameDefinition& q3 = g.games[1];
        QCOMPARE(q3.ScriptOutDir(), g.tree.Path("Q3/mine"));
        QVERIFY(!QFileInfo::exists(g.tree.Path("Q3/mine")));
        QCOMPARE(q3.ImportDir(), g.tree.Path("Q3/positions"));
        // Games without a valid location get none.
        QVERIFY(g.games[2].ScriptOutDir().isEmpty());
        QVERIFY(g.games[2].ImportDir().isEmpty());
        QCOMPARE(Store(), store);  // the caller saves the games
    }

    void textsReachTheEmbeddedControls()
    {
        FrmGameSettings f;
        QStringList texts;
        for (int i = 1; i <= 12; ++i)
            texts << QString("t%1").arg(i);
        f.SetCamPosGeneratorControlsText(texts);
        QCOMPARE(f.findChild<QPushButton*>("cmdCreate")->text(), QString("t12"));
        f.SetGameLocationControlsText(texts.mid(0, 11));
        QCOMPARE(f.findChild<QLabel*>("lblDemoDefaultRootDir")->text(), QString("t5"));
        QStringList tips = texts.mid(0, 11);
        f.SetCamPosGeneratorTooltips(tips);
        QCOMPARE(f.findChild<QComboBox*>("cboRecordKey")->toolTip(), QString("t2 (t3)."));
        FrmGameSettings empty;
        empty.ShowForm(nullptr, 0, {});  // no games: nothing shown
        QVERIFY(!empty.isVisible());
    }
};

QTEST_MAIN(TestFrmGameSettings)
#include "tst_FrmGameSettings.moc"
