// The game table and the game menu of the real window: the five games, a
// change of game by the menu and what the panels make of it, the steps of
// a change in their order, the location check and the game settings
// window with the games found on this system.

#include "GamesHarness.h"

#include "FrmGameSettings.h"
#include "GameSelection.h"
#include "LabelEx.h"
#include "MFileOp.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace GamesHarness;

namespace {

// Logs, in the order they happen, the changes of the window that the steps
// of a game's application make.
class ChangeLog : public QObject
{
public:
    ChangeLog(FrmMain& w, QStringList& log) : m_log(log)
    {
        const MainWidgets& c = w.Widgets();
        for (QWidget* watched : std::initializer_list<QWidget*>{
                 c.txtTransSpeed, c.chkSIncFreecam, c.chkSIncOneFrameDelay, c.chkSIncFPSLimit, c.chkSAutoStart,
                 c.fraS_CameraMode, c.fraS_Pause, c.fraSRecordFrameSettings, c.lbxGDemo})
            watched->installEventFilter(this);
        for (QCheckBox* box : {c.chkSIncFov, c.chkSIncOneFrameDelay, c.chkSIncFPSLimit})
            connect(box, &QCheckBox::toggled, this,
                    [this, box] { m_log << QStringLiteral("Toggled:") + box->objectName(); });
        for (int i = 0; i < w.Menus().ModItemCount(); ++i) {
            QAction* item = w.Menus().ModItem(i);
            connect(item, &QAction::toggled, this, [this, item](bool on) {
                if (on)
                    m_log << QStringLiteral("Checked:") + item->objectName();
            });
        }
        connect(&w, &QWidget::windowTitleChanged, this, [this] { m_log << QStringLiteral("Caption"); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange)
            m_log << QStringLiteral("Enabled:") + watched->objectName();
        else if (e->type() == QEvent::HideToParent || e->type() == QEvent::ShowToParent)
            m_log << QStringLiteral("Shown:") + watched->objectName();
        return false;
    }

private:
    QStringList& m_log;
};

}  // namespace

class TstGameSelection : public QObject
{
    Q_OBJECT

    Session m_s;

    GameSelection& Games() { return static_cast<GameSelection&>(*m_s.window->Parts().gameSelection); }
    MainWidgets& W() { return m_s.window->Widgets(); }
    const CGameDefinition* Active() { return m_s.window->State().m_activeGame; }
    QStringList CheckedMods()
    {
        QStringList checked;
        for (int i = 0; i < m_s.window->Menus().ModItemCount(); ++i)
            if (m_s.window->Menus().ModItem(i)->isChecked())
                checked << m_s.window->Menus().ModItem(i)->text();
        return checked;
    }
    // The game settings window, once it is up.
    static FrmGameSettings* OpenSettings()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<FrmGameSettings*>(w); f && f->isVisible())
                return f;
        return nullptr;
    }
    // Runs the steps on the settings window once it shows.
    static void OnSettings(const std::function<void(FrmGameSettings&)>& steps, bool& seen)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, steps, &seen] {
            if (FrmGameSettings* f = OpenSettings()) {
                poll->stop();
                poll->deleteLater();
                seen = true;
                steps(*f);
            }
        });
        poll->start(10);
    }
    static void Press(FrmGameSettings& f, const char* button)
    {
        QTest::mouseClick(f.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    // Presses the button of the settings window once it shows.
    static void OnSettings(const char* button, bool& seen)
    {
        OnSettings([button](FrmGameSettings& f) { Press(f, button); }, seen);
    }
    // Opens Game > Preferences... with the mouse and waits until the
    // settings window, seen by a step set before, has closed.
    void OpenPreferences(const bool& seen)
    {
        QMenu* gameMenu = m_s.window->Menus().Menu(QStringLiteral("mnuGame"));
        QMenuBar* bar = m_s.window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(gameMenu->menuAction()).center());
        QTRY_VERIFY(gameMenu->isVisible());
        QAction* preferences = m_s.window->Menus().Action(QStringLiteral("mnuG_Preference"));
        QTest::mouseClick(gameMenu, Qt::LeftButton, {}, gameMenu->actionGeometry(preferences).center());
        QTRY_VERIFY(seen);
        QTRY_VERIFY(!OpenSettings());
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

    void theTableHoldsTheFiveGames_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QStringList>("values");
        // Name, version, base folder, default mod, executable, window
        // class, position command and trailer, project and position file
        // extensions, demo pattern.
        QTest::newRow("ET Pro") << 0
                                << QStringList{"ET Pro", "v3.2.0", "etmain", "etpro", "Et.exe", "Enemy Territory",
                                               "freecamsetpos ", ";", "ep3t", "epcp", "dm_??"};
        QTest::newRow("DeFrag") << 1
                                << QStringList{"DeFrag", "v1.91.02", "baseq3", "defrag", "Quake3.exe",
                                               "Quake 3: Arena", "set pos \"placeplayer ", "\";", "dfct", "dfcp",
                                               "dm_??"};
        QTest::newRow("Warsow") << 2
                                << QStringList{"Warsow", "v0.30", "basewsw", "basewsw", "warsow.exe",
                                               "WarsowWndClass", "", "", "wswt", "cam", "wd?"};
        QTest::newRow("RTCW") << 3
                              << QStringList{"RTCW", "vX", "Main", "raVivavIva", "WolfMP.exe", "Wolfenstein",
                                             "freecamsetpos ", ";", "rcwt", "cwcp", "dm_??"};
        QTest::newRow("ET QW") << 4
                               << QStringList{"ET QW", "v1.0", "base", "base", "etqw.exe", "ETQW", "freecamsetpos ",
                                              ";", "eqt", "qwcp", "ndm"};
    }
    void theTableHoldsTheFiveGames()
    {
        QFETCH(int, game);
        QFETCH(QStringList, values);
        const CGameDefinition& g = m_s.window->State().m_games[size_t(game)];
        QCOMPARE(g.GType(), game);
        QCOMPARE((QStringList{g.FriendlyName(), g.Version(), g.BaseDir(), g.DefaultDir(), g.GameExe(),
                              g.GameWndClass(), g.FcCmd(), g.FcCmdTrailer(), g.ProjectFileExt(),
                              g.ImportFileExtension(), g.DemoFileExtension()}),
                 values);
        QCOMPARE(g.UseAbsoluteWorkingDir(), game == 4);
        QCOMPARE(g.RegistryKey(), QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\") + values[0]);
        QCOMPARE(m_s.window->Menus().ModItem(game)->text(), values[0]);
    }

    void theDefaultGameIsActiveAfterLoading()
    {
        QCOMPARE(Games().fDefaultModIndex(), 0);
        QCOMPARE(Active(), &m_s.window->State().m_games[0]);
        QCOMPARE(CheckedMods(), QStringList{"ET Pro"});
    }

    void choosingGamesAdaptsThePanels()
    {
        FrmMain& w = *m_s.window;
        QVERIFY(ChooseMod(w, 4));
        QCOMPARE(Active()->FriendlyName(), QStringLiteral("ET QW"));
        QCOMPARE(w.State().m_curveController->GameType(), 4);
        QVERIFY(W().chkSIncOneFrameDelay->isChecked());
        QVERIFY(!W().chkSIncFPSLimit->isChecked());
        QVERIFY(W().fraSRecordFrameSettings->isEnabled());
        QVERIFY(W().chkSIncFreecam->isEnabled());
        W().chkSIncFreecam->setChecked(true);
        W().chkSAutoStart->setChecked(true);

        // ET QW to DeFrag.
        QVERIFY(ChooseMod(w, 1));
        QCOMPARE(Active()->FriendlyName(), QStringLiteral("DeFrag"));
        QCOMPARE(CheckedMods(), QStringList{"DeFrag"});
        QCOMPARE(w.windowTitle(), QStringLiteral(" Ruvadir [DeFrag] - <no title>"));
        QVERIFY(!W().chkSIncOneFrameDelay->isChecked());
        QVERIFY(W().chkSIncOneFrameDelay->isEnabled());
        QVERIFY(W().chkSIncFPSLimit->isChecked());
        QVERIFY(W().chkSIncFPSLimit->isEnabled());
        QVERIFY(W().txtTransSpeed->isVisibleTo(W().txtTransSpeed->parentWidget()));
        QVERIFY(W().lblTransSpeed->isVisibleTo(W().lblTransSpeed->parentWidget()));
        QVERIFY(!W().fraSRecordFrameSettings->isEnabled());
        QVERIFY(!W().chkSIncFreecam->isEnabled());
        QVERIFY(!W().chkSIncFreecam->isChecked());
        QVERIFY(!W().chkSAutoStart->isEnabled());
        QVERIFY(W().fraS_CameraMode->isEnabled());

        // DeFrag to Warsow.
        QVERIFY(ChooseMod(w, 2));
        QCOMPARE(Active()->FriendlyName(), QStringLiteral("Warsow"));
        QVERIFY(!W().chkSIncFreecam->isEnabled());
        QVERIFY(!W().chkSIncFreecam->isChecked());
        QVERIFY(!W().chkSAutoStart->isEnabled());
        QVERIFY(!W().fraS_CameraMode->isEnabled());
        QVERIFY(!W().fraS_Pause->isEnabled());
        QVERIFY(W().chkSWarsowCamLimitation->isEnabled());
        QVERIFY(!W().chkSIncOneFrameDelay->isEnabled());
        QVERIFY(!W().txtTransSpeed->isVisibleTo(W().txtTransSpeed->parentWidget()));
        QVERIFY(!W().fraGDemoControl->isEnabled());
        QVERIFY(!W().lbxGDemo->isEnabled());

        // Warsow to ET QW.
        W().chkSIncFov->setChecked(true);
        W().chkSIncTS->setChecked(true);
        QVERIFY(ChooseMod(w, 4));
        QVERIFY(!W().chkSIncFov->isChecked());
        QVERIFY(!W().chkSIncTS->isChecked());
        QVERIFY(W().chkSIncFreecam->isEnabled());
        QVERIFY(W().chkSAutoStart->isEnabled());
        QVERIFY(W().fraS_CameraMode->isEnabled());
        QVERIFY(W().fraS_Pause->isEnabled());
        QVERIFY(!W().chkSWarsowCamLimitation->isEnabled());
        QVERIFY(W().chkSIncOneFrameDelay->isChecked());
        QVERIFY(!W().chkSIncOneFrameDelay->isEnabled());
        QVERIFY(!W().chkSIncFPSLimit->isChecked());
        QVERIFY(!W().chkSIncFPSLimit->isEnabled());
        QVERIFY(W().fraSRecordFrameSettings->isEnabled());
        QVERIFY(w.Controls().mFramerateHandler->ConstrainedToMultipleOf30());

        // Back to ET Pro: only it has the demo controls.
        QVERIFY(ChooseMod(w, 0));
        QVERIFY(W().fraGDemoControl->isEnabled());
        QVERIFY(W().lbxGDemo->isEnabled());
        QVERIFY(!w.Controls().mFramerateHandler->ConstrainedToMultipleOf30());
    }

    void theStepsOfAChangeComeInTheirOrder()
    {
        FrmMain& w = *m_s.window;
        QVERIFY(ChooseMod(w, 1));
        W().chkSIncFov->setChecked(true);
        const QString demosLeft = Active()->DemoDefaultRootDir();
        m_s.fake.calls.clear();
        ChangeLog log(w, m_s.fake.calls);
        QVERIFY(ChooseMod(w, 4));
        const QString demos = Active()->DemoDefaultRootDir();
        QCOMPARE(m_s.fake.calls,
                 (QStringList{"ReleaseLock", "Checked:mnuGM_Mod(4)", "New",
                              // the new project's own steps
                              "ClearDemo", "DemoRoot:" + demosLeft, "ReleaseLock",
                              "ClearDemo",
                              // 1: the settings and lists of the game left
                              "SaveList:BeforeScript", "SaveList:AfterScript", "SaveList:Config",
                              // 2
                              "Checked:mnuGM_Mod(4)",
                              // 5 to 11
                              "Shown:txtTransSpeed", "Toggled:chkSIncFov", "Enabled:chkSIncFreecam",
                              "Toggled:chkSIncOneFrameDelay", "Toggled:chkSIncFPSLimit",
                              "Enabled:chkSIncOneFrameDelay", "Enabled:chkSIncFPSLimit", "Enabled:chkSAutoStart",
                              "Enabled:fraSRecordFrameSettings",
                              // 16 to 20
                              "ReadList:BeforeScript", "ReadList:AfterScript", "ReadList:Config",
                              "DemoRoot:" + demos, "Prune:cboSCmdsBefore", "Prune:cboSCmdsAfter",
                              "Prune:cboGConfigs", "Tooltips", "FillCamModes", "CamModeTooltip", "Caption"}));
        QVERIFY(!W().cmdGameLoad->icon().isNull());
        QVERIFY(!W().cmdGameClose->icon().isNull());
    }

    void theActiveGameAsksNothing()
    {
        QVERIFY(ChooseMod(*m_s.window, 2));
        m_s.fake.calls.clear();
        QVERIFY(ChooseMod(*m_s.window, 2));
        // Opening the menu releases the preview lock, and that is all.
        QCOMPARE(m_s.fake.calls, QStringList{"ReleaseLock"});
        QCOMPARE(Active()->GType(), 2);
        QCOMPARE(CheckedMods(), QStringList{"Warsow"});
    }

    void aRefusedNewProjectChangesNothing()
    {
        QVERIFY(ChooseMod(*m_s.window, 2));
        const QString caption = m_s.window->windowTitle();
        m_s.fake.newProjectGoesOn = false;
        m_s.fake.calls.clear();
        QVERIFY(ChooseMod(*m_s.window, 1));
        m_s.fake.newProjectGoesOn = true;
        QCOMPARE(m_s.fake.calls, (QStringList{"ReleaseLock", "New"}));
        QCOMPARE(Active()->GType(), 2);
        QCOMPARE(CheckedMods(), QStringList{"Warsow"});
        QCOMPARE(m_s.window->windowTitle(), caption);
        QVERIFY(!W().fraS_Pause->isEnabled());
    }

    void anInvalidLocationOffersTheSettingsOnlyOnceLoaded()
    {
        QVERIFY(ChooseMod(*m_s.window, 3));
        QVERIFY(!Active()->IsLocationValid());
        MainState& state = m_s.window->State();
        state.m_loaded = false;
        QVERIFY(!Games().fCheckGameLocation());
        QVERIFY(!OpenSettings());
        QString root = QStringLiteral("unchanged");
        QVERIFY(!Games().fGetGameRootDir(root));
        QCOMPARE(root, QStringLiteral("unchanged"));
        state.m_loaded = true;

        // Once loaded, the settings window is offered; cancelled, the
        // check fails.
        bool seen = false;
        OnSettings("cmdCancel", seen);
        QVERIFY(!Games().fCheckGameLocation());
        QVERIFY(seen);
        QVERIFY(!OpenSettings());
    }

    void thePreferencesFindTheGameOnThisSystem()
    {
        // An ET: Legacy of the user's own: the engine on PATH, its home
        // folder with the base folder in upper case and the mod.
        const QString exe = m_s.home->File(QStringLiteral("bin/etl"), true);
        m_s.home->Folder(QStringLiteral("home/.etlegacy/ETMAIN"));
        const QString mod = m_s.home->Folder(QStringLiteral("home/.etlegacy/etpro"));
        QVERIFY(ChooseMod(*m_s.window, 0));
        CGameDefinition& game = m_s.window->State().m_games[0];
        game.SetScriptOutDir(QString());
        game.SetImportDir(QString());
        QVERIFY(!game.IsLocationValid());
        QCOMPARE(Games().fGetScriptOutDir(), QStringLiteral("cam"));
        m_s.fake.calls.clear();

        bool seen = false;
        OnSettings("cmdOk", seen);
        OpenPreferences(seen);

        QCOMPARE(game.ExeFullPath(), exe);
        QCOMPARE(game.ModFullDir(), mod);
        QVERIFY(game.IsLocationValid());
        // The mod folder changed: the project takes the game's folders.
        QVERIFY(m_s.fake.calls.contains("DemoRoot:" + game.DemoDefaultRootDir()));
        QVERIFY(m_s.fake.calls.contains(QStringLiteral("Prune:cboGConfigs")));
        // The folders the settings window set win over the fallbacks.
        QCOMPARE(Games().fGetScriptOutDir(), game.ScriptOutDir());
        QCOMPARE(Games().fGetImportDir(), game.ImportDir());
        QVERIFY(!game.ScriptOutDir().isEmpty());
        game.SetScriptOutDir(QString());
        game.SetImportDir(QString());
        QCOMPARE(Games().fGetScriptOutDir(), mod + QStringLiteral("/cam"));
        QCOMPARE(Games().fGetImportDir(), mod + QStringLiteral("/cam/pos"));
        QCOMPARE(Games().fGetScreenshotDir(), mod + QStringLiteral("/screenshots"));
        QString root;
        QVERIFY(Games().fGetGameRootDir(root));
        QCOMPARE(root, m_s.home->Path(QStringLiteral("home/.etlegacy")));
        QVERIFY(Games().fCheckGameLocation());
    }

    void aDebianQuake3OffersTheBaseFolderInTheEnginesHome()
    {
        // ioquake3 as Debian installs it: the engine on PATH, the base
        // folder only in the engine's home folder, no mod folder to detect.
        const QString exe = m_s.home->File(QStringLiteral("bin/ioquake3"), true);
        const QString base = m_s.home->Folder(QStringLiteral("home/.q3a/baseq3"));
        QVERIFY(ChooseMod(*m_s.window, 1));
        CGameDefinition& game = m_s.window->State().m_games[1];
        game.SetExeFullPath(QString());
        game.SetModFullDir(QString());

        // The settings window offers the base folder; chosen there and
        // confirmed, it makes the location one the game runs from.
        QStringList offered;
        bool seen = false;
        OnSettings(
            [&offered](FrmGameSettings& f) {
                auto* list = f.findChild<QListWidget*>(QStringLiteral("lstWorkingDirectory"));
                for (int i = 0; i < list->count(); ++i)
                    offered << list->item(i)->text();
                if (list->count() > 0)
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualItemRect(list->item(0)).center());
                Press(f, "cmdOk");
            },
            seen);
        OpenPreferences(seen);
        QCOMPARE(game.ExeFullPath(), exe);
        QCOMPARE(offered, QStringList{base});
        QCOMPARE(game.ModFullDir(), base);
        QVERIFY(game.IsLocationValid());
        QVERIFY(Games().fCheckGameLocation());
    }

    void warsowImportsFromItsDemoFolder()
    {
        QVERIFY(ChooseMod(*m_s.window, 2));
        CGameDefinition& game = m_s.window->State().m_games[2];
        game.SetImportDir(QString());
        game.SetModFullDir(QStringLiteral("/games/warsow/basewsw"));
        QCOMPARE(Games().fGetImportDir(), QStringLiteral("/games/warsow/basewsw/demos"));
        game.SetImportDir(QStringLiteral("/mine"));
        QCOMPARE(Games().fGetImportDir(), QStringLiteral("/mine"));
        game.SetModFullDir(QString());
        game.SetImportDir(QString());
    }

    void etqwIsFoundInTheDocumentsFolderAsItsInstallerLeftIt()
    {
        // Of the two entries holding the name, only the second (in the
        // listing's name order) has the base folder.
        const QString documents = MFileOp::SpecialFolderPath(MFileOp::CsidlPersonal);
        m_s.home->Folder(QStringLiteral("home"));
        QDir().mkpath(documents + QStringLiteral("/id Software/Enemy Territory - QUAKE Wars/screenshots"));
        const QString base = documents + QStringLiteral("/id Software/Enemy Territory - QUAKE Wars 1.5/base");
        QDir().mkpath(base);
        QVERIFY(ChooseMod(*m_s.window, 4));
        CGameDefinition& game = m_s.window->State().m_games[4];
        game.SetModFullDir(QString());
        Games().fDetectEtqwLocations();
        QCOMPARE(game.ModFullDir(), base);
        // A folder that is set stays.
        game.SetModFullDir(QStringLiteral("/elsewhere/base"));
        Games().fDetectEtqwLocations();
        QCOMPARE(game.ModFullDir(), QStringLiteral("/elsewhere/base"));
    }
};

QTEST_MAIN(TstGameSelection)
#include "tst_GameSelection.moc"
