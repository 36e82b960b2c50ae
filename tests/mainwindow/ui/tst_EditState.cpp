// The edit state on the real window: what the point counts enable, the
// tool buttons and their memory, selection commands, the modified mark,
// the default curves and their looks, undo and redo, and the options a
// new project starts from.

#include "EditingHarness.h"

#include "UC3DCurveManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Editing;

namespace {

bool AnySelected(const C3DCurve& c)
{
    return c.SelectedCount() > 0;
}

}  // namespace

class TstEditState : public QObject
{
    Q_OBJECT

    std::unique_ptr<Window> w;

    C3DCurve& Second() { return w->Second(); }
    // "10": Undo enabled, Redo not.
    QString UndoRedo()
    {
        const bool undo = w->Menu("mnuE_Undo")->isEnabled();
        const bool redo = w->Menu("mnuE_Redo")->isEnabled();
        return QStringLiteral("%1%2").arg(int(undo)).arg(int(redo));
    }

private slots:
    void init() { w = std::make_unique<Window>(); }
    void cleanup() { w.reset(); }

    // ---- Enabling ---------------------------------------------------------------

    void pointCountsEnableTheCommands_data()
    {
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("r");
        QTest::addColumn<bool>("select");
        // New Save SelectAll DeselectAll, Lk0 Lk1 Lk2, Invert FixAngles
        // Average AutoRoll CreateScript Lock.
        QTest::addColumn<QString>("enabled");
        QTest::newRow("nothing") << 0 << 0 << false << "0000 000 000000";
        QTest::newRow("one point: save, new, select all") << 1 << 0 << false << "1110 100 000000";
        QTest::newRow("one point, selected") << 1 << 0 << true << "1111 100 000000";
        QTest::newRow("two points") << 2 << 0 << false << "1110 110 110011";
        QTest::newRow("three points") << 3 << 0 << false << "1110 110 111111";
        QTest::newRow("points in another curve only") << 0 << 3 << false << "1110 000 001000";
        QTest::newRow("two and two") << 2 << 2 << false << "1110 111 110011";
    }
    void pointCountsEnableTheCommands()
    {
        QFETCH(int, m);
        QFETCH(int, r);
        QFETCH(bool, select);
        QFETCH(QString, enabled);
        for (int i = 0; i < m; ++i)
            w->Main().AddControl3(static_cast<float>(i * 10), 0, 0, 0, 0, 0, false);
        for (int i = 0; i < r; ++i)
            Second().AddControl3(static_cast<float>(i * 10), 50, 0, 0, 0, 0, false);
        if (select)
            w->Main().SetSelected(1, true);
        w->Widgets().chkPreviewLock->setChecked(true);
        w->Edit().fUpdateControlsState();
        MainWidgets& g = w->Widgets();
        const auto on = [](bool b) { return b ? QLatin1Char('1') : QLatin1Char('0'); };
        QString actual;
        for (const char* menu : {"mnuT_New", "mnuT_Save", "mnuE_SelectAll", "mnuE_DeselectAll"})
            actual += on(w->Menu(menu)->isEnabled());
        actual += QLatin1Char(' ');
        for (QRadioButton* b : g.optLkTarget)
            actual += on(b->isEnabled());
        actual += QLatin1Char(' ');
        for (QWidget* b : std::initializer_list<QWidget*>{g.cmdInvert, g.cmdCFixeAngles, g.cmdAverage, g.cmdCAutoRoll,
                                                          g.cmdCreateScript, g.chkPreviewLock})
            actual += on(b->isEnabled());
        QCOMPARE(actual, enabled);
        QVERIFY(!w->Menu("mnuT_Export")->isEnabled());
        // The lock is taken off below two points of the main curve.
        QCOMPARE(g.chkPreviewLock->isChecked(), m >= 2);
        QVERIFY(w->rec.calls.contains(QStringLiteral("LookTargets")));
    }

    void theToolsComeBackFrom3DOrFallBackToThePointsTool()
    {
        auto& tools = w->Widgets().optTools;
        QCOMPARE(w->Edit().fActiveTool(), 1);
        // Without points only the points and zoom tools can be chosen.
        QVERIFY(!tools[0]->isEnabled() && !tools[2]->isEnabled() && !tools[3]->isEnabled());
        QVERIFY(tools[1]->isEnabled() && tools[4]->isEnabled() && !tools[5]->isEnabled());
        w->AddPoints(w->Main(), {{0, 0, 0}, {10, 0, 0}});
        w->Edit().fUpdateControlsState();
        w->SelectTool(2);
        w->SelectView(3);
        QCOMPARE(w->Edit().fActiveTool(), 5);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!tools[static_cast<size_t>(i)]->isEnabled());
        QVERIFY(tools[5]->isEnabled());
        w->SelectView(1);
        QCOMPARE(w->Edit().fActiveTool(), 2);
        // The remembered tool cannot be had without points: tool 1.
        w->Main().DeleteControl(2);
        w->Main().DeleteControl(1);
        w->SelectView(3);
        w->SelectView(0);
        QCOMPARE(w->Edit().fActiveTool(), 1);
        QCOMPARE(w->Edit().Last2DTool(), 1);
    }

    void theTangentAndLookAtToolsShowWhatTheyEdit()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {10, 0, 0}});
        w->Main().SetShowTangent(false);
        w->Main().SetShowArrow(false);
        const int refreshes = w->view->refreshes;
        w->SelectTool(2);
        QVERIFY(w->Main().ShowTangent());
        QVERIFY(!w->Main().ShowArrow());
        w->SelectTool(3);
        QVERIFY(w->Main().ShowArrow());
        QCOMPARE(w->view->refreshes, refreshes + 2);
    }

    void doubleClicksOfTheTools()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {10, 0, 0}, {20, 5, 0}});
        w->AddPoints(Second(), {{0, 50, 0}});
        Second().SelectAllControls();
        w->Edit().fUpdateControlsState();
        QTest::mouseDClick(w->Widgets().optTools[0], Qt::LeftButton);
        QCOMPARE(w->Main().SelectedCount(), 3);
        QVERIFY(!AnySelected(Second()));
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridSync")));
        // The tangent tool's: every tangent of the curve automatic again,
        // one undo state.
        w->Main().DragTangent(w->State().m_views[0], 1, 1, {5, 9, 0}, 0);
        QVERIFY(w->Main().GetTan1C(1) != 0);
        const int before = w->UndoStates();
        w->Edit().optTools_DblClick(2);
        QCOMPARE(static_cast<int>(w->Main().GetTan1C(1)), 0);
        QCOMPARE(w->UndoStates(), before + 1);
        // The zoom tool's frames the points.
        const int projections = w->view->projections;
        w->Edit().optTools_DblClick(4);
        QVERIFY(w->view->projections > projections);
    }

    // ---- Selection --------------------------------------------------------------

    void selectAllSkipsInvisibleCurvesAndDeselectAllClearsEverything()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {10, 0, 0}});
        w->AddPoints(Second(), {{0, 50, 0}});
        Second().SelectAllControls();
        Second().SetIsVisible(false);
        w->Menu("mnuE_SelectAll")->trigger();
        QCOMPARE(w->Main().SelectedCount(), 2);
        QVERIFY(!AnySelected(Second()));
        QVERIFY(w->Menu("mnuE_DeselectAll")->isEnabled());
        QCOMPARE(w->Edit().fSelectedControlCount(), 2);
        w->Menu("mnuE_DeselectAll")->trigger();
        QCOMPARE(w->Edit().fSelectedControlCount(), 0);
        QVERIFY(!w->Menu("mnuE_DeselectAll")->isEnabled());
        // Hidden points of the shown curve lose their selection.
        w->Main().SelectAllControls();
        w->Main().SetValue(2, ControlPropertyId::Hide, TaggedValue(1.0f));
        w->Edit().fUnselectHiddenOfSelected();
        QCOMPARE(w->Main().SelectedCount(), 1);
    }

    void theModifiedMark()
    {
        EditState& e = w->Edit();
        w->State().m_projectModified = false;
        e.fSetProjectModified(false);
        QVERIFY(!w->State().m_projectModified);
        QVERIFY(e.EditState::fNothingToSave());
        e.fSetProjectModified(true);
        // Marked, but with no point there is nothing to save.
        QVERIFY(e.EditState::fNothingToSave());
        w->State().m_projectModified = false;
        w->AddPoints(w->Main(), {{0, 0, 0}});
        w->State().m_projectModified = false;
        e.fSetProjectModified(false);
        QVERIFY(w->State().m_projectModified);
        QVERIFY(!e.EditState::fNothingToSave());
    }

    void otherCurvesAreDrawnApart()
    {
        C3DCurve& second = Second();
        QCOMPARE(second.ControlDrawSize(), 6.0f);
        QCOMPARE(second.ControlForecolor(), 0x008000);
        QCOMPARE(second.SegmentColor(), 0x008000);
        QCOMPARE(second.SelectedControlForecolor(), 0x008000);
        QCOMPARE(w->Main().ControlDrawSize(), 4.0f);
        w->Edit().fCreateDefaultCurves();
        QCOMPARE(w->Curves().CurveCount(), 1);
        QCOMPARE(w->Main().Name(), QStringLiteral("Camera path"));
        QCOMPARE(w->Main().StepRate(), w->window->Controls().mFramerateHandler->SelectedValue());
    }

    // ---- Undo ----------------------------------------------------------------------

    void undoAndRedoFollowTheHistory()
    {
        QCOMPARE(UndoRedo(), QStringLiteral("00"));
        w->State().m_projectModified = false;
        w->Main().AddControl3(1, 2, 3, 0, 0, 0, false);
        QCOMPARE(UndoRedo(), QStringLiteral("10"));
        QVERIFY(w->State().m_projectModified);
        w->Main().AddControl3(4, 5, 6, 0, 0, 0, false);
        QCOMPARE(w->UndoStates(), 3);

        // Ctrl+Z: back one state; restoring stores none.
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(w->Main().ControlsCount(), 1);
        QCOMPARE(w->UndoStates(), 3);
        QCOMPARE(UndoRedo(), QStringLiteral("11"));
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(w->Main().ControlsCount(), 0);
        QCOMPARE(UndoRedo(), QStringLiteral("01"));
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(w->Main().ControlsCount(), 0);
        // Ctrl+Y: forward again.
        w->Menu("mnuE_Redo")->trigger();
        QCOMPARE(w->Main().ControlsCount(), 1);
        QCOMPARE(UndoRedo(), QStringLiteral("11"));
        // The window keeps its main curve and the undo history the clones.
        QCOMPARE(&w->Main(), &w->Curves().Curves(0));
        QCOMPARE(w->rec.calls.filter(QStringLiteral("GridReload")).last(), QStringLiteral("GridReload:*"));

        // An edit after an undo drops the redo states.
        w->Main().AddControl3(7, 8, 9, 0, 0, 0, false);
        QCOMPARE(UndoRedo(), QStringLiteral("10"));
        QCOMPARE(w->UndoStates(), 3);
        w->Menu("mnuE_Redo")->trigger();
        QCOMPARE(w->Main().GetX(2), 7.0f);
    }

    void theHistoryKeepsFiftyOneStates()
    {
        for (int i = 0; i < 60; ++i)
            w->Main().AddControl3(static_cast<float>(i), 0, 0, 0, 0, 0, false);
        QCOMPARE(w->UndoStates(), 51);
        for (int i = 0; i < 60; ++i)
            w->Menu("mnuE_Undo")->trigger();
        // The oldest states went: 50 undos from 60 points leave 10.
        QCOMPARE(w->Main().ControlsCount(), 10);
    }

    void restoringAStateWithoutCurvesGivesTheCameraPath()
    {
        C3DCurveController empty;
        w->Edit().fApplyRestoredState(empty);
        QCOMPARE(w->Curves().CurveCount(), 1);
        QVERIFY(w->State().m_mainCurve);
        QCOMPARE(w->Main().Name(), QStringLiteral("Camera path"));
    }

    void restoringSelectsTheMainCurvesRateAndStopsThePlayback()
    {
        C3DCurveController state;
        state.Add(QStringLiteral("Restored")).SetStepRate(60);
        state.Add(QStringLiteral("Other"));
        w->rec.running = true;
        w->rec.locked = true;
        w->Edit().fApplyRestoredState(state);
        QCOMPARE(w->Main().Name(), QStringLiteral("Restored"));
        QCOMPARE(w->window->Controls().mFramerateHandler->SelectedValue(), 60);
        QVERIFY(w->rec.calls.contains(QStringLiteral("PlaybackStopped")));
        // Locked: the preview redraws, not the view.
        QVERIFY(w->rec.calls.contains(QStringLiteral("RefreshPreview")));
        QCOMPARE(w->Curves().Curves(1).ControlDrawSize(), 6.0f);
    }

    void noUndoWhileADragHoldsItsCurve()
    {
        w->AddPoints(w->Main(), {{100, 100, 0}, {300, 100, 0}});
        w->SelectTool(1);
        w->Hover(100, 100);
        w->Press(100, 100);
        w->Drag(120, 100);
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(w->Main().ControlsCount(), 2);
        w->Release(120, 100);
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(w->Main().GetX(1), 100.0f);
    }

    void invertTurnsTheSelectedCurveAroundInOneStep()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {10, 0, 0}});
        const int before = w->UndoStates();
        QTest::mouseClick(w->Widgets().cmdInvert, Qt::LeftButton);
        QCOMPARE(w->Main().GetX(1), 10.0f);
        QCOMPARE(w->UndoStates(), before + 1);
    }

    // ---- Project options -------------------------------------------------------------

    void aNewProjectsOptions()
    {
        MainWidgets& g = w->Widgets();
        g.chkSScriptPauseState->setChecked(true);
        g.chkSIncFov->setChecked(false);
        g.chkSIncConMsg->setChecked(true);
        g.chkSAutoStart->setChecked(true);
        g.cboSCmdsBefore->addItems({QStringLiteral("a"), QStringLiteral("b")});
        g.cboSCmdsBefore->setCurrentIndex(1);
        w->State().m_camera.SetPosition({1, 2, 3});
        w->State().m_camera.SetZFar(200);
        w->Presets().fSavePreset(4);
        bool guarded = false;
        QObject::connect(g.chkSIncFov, &QCheckBox::toggled, [&] { guarded = w->State().m_comboGuard; });
        w->Edit().fResetProjectOptions();
        QVERIFY(guarded);
        QVERIFY(!w->State().m_comboGuard);
        QVERIFY(w->rec.calls.contains(QStringLiteral("FixedTargets:100,100,100")));
        QVERIFY(!g.chkSScriptPauseState->isChecked());
        QVERIFY(g.chkSIncFov->isChecked() && g.chkSIncTS->isChecked() && !g.chkSIncConMsg->isChecked());
        QVERIFY(!g.chkSAutoStart->isChecked());
        QCOMPARE(g.cboSCmdsBefore->currentIndex(), 0);
        QCOMPARE(g.cboCamMode->currentIndex(), g.cboCamMode->count() > 0 ? 0 : -1);
        QCOMPARE(w->State().m_camera.Position(), (C3DCamera::Vec3{0, 0, 0}));
        QCOMPARE(w->State().m_camera.ZFar(), 50000.0f);
        QVERIFY(w->Presets().Preset(4).IsEmpty());
    }
};

QTEST_MAIN(TstEditState)
#include "tst_EditState.moc"
