// The curve tools of the 2D views on the real window and the real curves,
// with a view whose pixels are world units: picks, the hover feedback and
// its shortcuts, the selection rectangle, moving points and tangents,
// adding, inserting and deleting, the look-at drag, magnetizing, and when
// the edits reach the undo history.

#include "EditingHarness.h"

#include "UC3DCurveManager.h"

#include <QLocale>
#include <QtTest>

using namespace Editing;

namespace {

constexpr int16_t kShift = 1;
constexpr int16_t kCtrl = 2;
constexpr int16_t kAlt = 4;

std::array<float, 3> Pos(const C3DCurve& c, int32_t i)
{
    return c.GetPosition(i);
}

QList<int32_t> Selected(const C3DCurve& c)
{
    QList<int32_t> out;
    for (int32_t i = 1; i <= c.ControlsCount(); ++i)
        if (c.IsSelected(i))
            out << i;
    return out;
}

bool AnyBracketOpen(C3DCurveController& curves)
{
    for (int32_t i = 0; i < curves.CurveCount(); ++i)
        if (curves.Curves(i).CurveChanging() || curves.Curves(i).ControlsCountChanging()
            || curves.Curves(i).IsQuickRefreshing())
            return true;
    return false;
}

}  // namespace

class TstCurveEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<Window> w;

    C3DCurve& Second() { return w->Second(); }

private slots:
    void init()
    {
        w = std::make_unique<Window>();
        QCOMPARE(w->Widgets().cmCurveManager->SelectedCurve(), &w->Main());
    }
    void cleanup() { w.reset(); }

    // ---- Picks ----------------------------------------------------------------

    void thePickOfTwoClosePointsIsTheLowerIndexOfTheEarlierCurve()
    {
        w->AddPoints(w->Main(), {{100, 100, 0}, {102, 101, 0}});
        w->AddPoints(Second(), {{101, 100, 0}});
        bool found = false;
        C3DCurve* c = w->Tools().fPickControl(101, 100, found);
        QVERIFY(found);
        QCOMPARE(c, &w->Main());
        QCOMPARE(w->Tools().HoverControl(), 1);
        // The square reaches 4 pixels, not 5; an invisible curve is skipped.
        w->Tools().fPickControl(106, 100, found);
        QCOMPARE(w->Tools().HoverControl(), 2);
        w->Tools().fPickControl(107, 100, found);
        QVERIFY(!found);
        QCOMPARE(w->Tools().HoverControl(), -1);
        w->Main().SetIsVisible(false);
        c = w->Tools().fPickControl(101, 100, found);
        QCOMPARE(c, &Second());
        QCOMPARE(w->Tools().HoverCurveName(), QStringLiteral("Second"));
        // At another zoom the tolerance is 4 pixels still.
        w->view->scale = 4.0;
        w->Tools().fPickControl(102.25f, 100, found);
        QVERIFY(!found);
        w->Tools().fPickControl(101.75f, 100, found);
        QVERIFY(found);
    }

    void hoverCursors_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("shift");
        QTest::addColumn<bool>("overPoint");
        QTest::addColumn<int>("cursor");
        QTest::newRow("select over a selected point") << 0 << 0 << true << 3;
        QTest::newRow("select over it with Ctrl") << 0 << int(kCtrl) << true << 0;
        QTest::newRow("select on empty space") << 0 << 0 << false << 0;
        QTest::newRow("points over a point") << 1 << 0 << true << 3;
        QTest::newRow("points over a point with Shift") << 1 << int(kShift) << true << 2;
        QTest::newRow("points on empty space") << 1 << 0 << false << 1;
        QTest::newRow("points on empty space with Shift") << 1 << int(kShift) << false << 0;
        QTest::newRow("tangents over a point") << 2 << 0 << true << 0;
        QTest::newRow("look-at") << 3 << 0 << true << 0;
        QTest::newRow("zoom") << 4 << 0 << true << 6;
    }
    void hoverCursors()
    {
        QFETCH(int, tool);
        QFETCH(int, shift);
        QFETCH(bool, overPoint);
        QFETCH(int, cursor);
        w->AddPoints(w->Main(), {{100, 100, 0}, {300, 100, 0}});
        w->Main().SetSelected(1, true);
        w->SelectTool(tool);
        w->Hover(overPoint ? 101 : 200, overPoint ? 99 : 160, static_cast<int16_t>(shift));
        QCOMPARE(w->Cursor(), cursor);
    }

    void tangentHandlesAreHoveredBeforePoints()
    {
        w->AddPoints(w->Main(), {{100, 100, 0}, {300, 100, 0}});
        w->SelectTool(2);
        const ControlRecord r = w->Main().GetControlRecord(1);
        w->Hover(100 + r.Tan1X, 100 + r.Tan1Y);
        QCOMPARE(w->Tools().HoverTangent(), uint8_t(1));
        QCOMPARE(w->Cursor(), 3);
    }

    // ---- Hover shortcuts --------------------------------------------------

    void altOverAPointCopiesTheGamesCameraCommand_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("text");
        // ET Pro's command word ends with a blank; Warsow has none.
        QTest::newRow("ET Pro, German") << "de_DE" << 0 << "/freecamsetpos  12.50 -3.25 100.00 45.00 -10.50 0.00;";
        QTest::newRow("ET Pro, French") << "fr_FR" << 0 << "/freecamsetpos  12.50 -3.25 100.00 45.00 -10.50 0.00;";
        QTest::newRow("Warsow, German") << "de_DE" << 2 << "/ 12.50 -3.25 100.00 45.00 -10.50 0.00";
    }
    void altOverAPointCopiesTheGamesCameraCommand()
    {
        QFETCH(QString, locale);
        QFETCH(int, game);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(QLocale().name(), locale);
        w->State().m_activeGame = &w->State().m_games[static_cast<size_t>(game)];
        w->Main().AddControl3(12.5f, -3.25f, 100, -10.5f, 45, 0, true);
        w->SelectTool(0);
        w->Hover(12, -3, kAlt);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(w->gameWindows->clipboard, QStringList{text});
        QVERIFY(w->dialogs->boxes.isEmpty());
    }

    void aRefusedClipboardIsLeftSo()
    {
        w->gameWindows->refuseClipboard = true;
        w->AddPoints(w->Main(), {{10, 10, 0}});
        w->Hover(10, 10, kAlt);
        QVERIFY(w->gameWindows->clipboard.isEmpty());
        QVERIFY(w->dialogs->boxes.isEmpty());
    }

    void ctrlOverAPointSelectsItsRowOnceAndCtrlShiftFillsTheFixedTargets()
    {
        w->AddPoints(w->Main(), {{10, 10, 5}, {50, 10, 6}});
        w->Hover(10, 10, kCtrl);
        w->Hover(11, 10, kCtrl);
        QCOMPARE(w->rec.calls.filter(QStringLiteral("GridSelect")),
                 QStringList{QStringLiteral("GridSelect:Camera path:1")});
        QCOMPARE(w->rec.Count(QStringLiteral("FixedTargets")), 0);
        w->Hover(50, 10, kCtrl | kShift);
        QCOMPARE(w->rec.calls.filter(QStringLiteral("FixedTargets")),
                 QStringList{QStringLiteral("FixedTargets:50,10,6")});
        // Ctrl+Shift fills the targets without choosing the row.
        QCOMPARE(w->rec.Count(QStringLiteral("GridSelect")), 1);
    }

    // ---- Selection ------------------------------------------------------------

    void aStillClickSelectsOneAndCtrlToggles_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<QList<int>>("main");
        QTest::addColumn<QList<int>>("second");
        // Before: main 1 and 3 selected, second 1 selected; the click is on
        // main point 2.
        QTest::newRow("no modifier: that one alone") << 0 << QList<int>{2} << QList<int>{};
        QTest::newRow("Ctrl toggles it") << int(kCtrl) << QList<int>{1, 2, 3} << QList<int>{1};
        QTest::newRow("Shift adds it") << int(kShift) << QList<int>{1, 2, 3} << QList<int>{1};
    }
    void aStillClickSelectsOneAndCtrlToggles()
    {
        QFETCH(int, shift);
        QFETCH(QList<int>, main);
        QFETCH(QList<int>, second);
        w->AddPoints(w->Main(), {{10, 10, 0}, {50, 10, 0}, {90, 10, 0}});
        w->AddPoints(Second(), {{50, 60, 0}});
        w->Main().SetSelected(1, true);
        w->Main().SetSelected(3, true);
        Second().SetSelected(1, true);
        w->SelectTool(0);
        const int before = w->UndoStates();
        w->Click(51, 9, static_cast<int16_t>(shift));
        QCOMPARE(Selected(w->Main()), main);
        QCOMPARE(Selected(Second()), second);
        // A rectangle stores no state and leaves no bracket open.
        QCOMPARE(w->UndoStates(), before);
        QVERIFY(!AnyBracketOpen(w->Curves()));
        QVERIFY(!w->State().m_cameraDragActive);
        QCOMPARE(w->Menu("mnuE_DeselectAll")->isEnabled(), !main.isEmpty());
    }

    void aRectangleSelectsWithinItsBoundsAndAnInvisibleCurveLosesItsSelection()
    {
        w->AddPoints(w->Main(), {{10, 10, 0}, {50, 50, 0}, {90, 90, 0}, {60, 40, 0}});
        w->Main().SetValue(4, ControlPropertyId::Hide, TaggedValue(1.0f));
        w->AddPoints(Second(), {{40, 40, 0}});
        Second().SelectAllControls();
        Second().SetIsVisible(false);
        w->SelectTool(0);
        w->Hover(20, 20);
        w->Press(20, 20);
        w->Drag(70, 35);
        QVERIFY(w->Tools().SelectionRectActive());
        QCOMPARE(w->State().m_drags.m_selRectEnd[0], 70.0f);
        w->Release(90, 50);
        // Point 3 lies outside, the hidden point 4 counts as outside, the
        // bounds are included.
        QCOMPARE(Selected(w->Main()), (QList<int>{2}));
        QCOMPARE(Selected(Second()), QList<int>{});
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridSync")));
    }

    void selectedPointsOfEveryCurveMoveTogetherAndKeepTheGrabbedDepth()
    {
        w->AddPoints(w->Main(), {{10, 10, 5}, {50, 10, 7}, {90, 10, 0}});
        w->AddPoints(Second(), {{10, 80, 3}});
        w->Main().SetSelected(1, true);
        w->Main().SetSelected(2, true);
        Second().SetSelected(1, true);
        w->SelectTool(0);
        const int before = w->UndoStates();
        w->view->depth = 99;
        w->Hover(50, 10);
        w->Press(50, 10);
        QVERIFY(w->Tools().MoveSelectionActive());
        QVERIFY(!w->Tools().SelectionRectActive());
        w->Drag(55, 12);
        w->Drag(60, 20);
        w->Release(60, 20);
        QCOMPARE(Pos(w->Main(), 1), (std::array<float, 3>{20, 20, 5}));
        QCOMPARE(Pos(w->Main(), 2), (std::array<float, 3>{60, 20, 7}));
        QCOMPARE(Pos(w->Main(), 3), (std::array<float, 3>{90, 10, 0}));
        QCOMPARE(Pos(Second(), 1), (std::array<float, 3>{20, 90, 3}));
        // One undo state for the drag, whatever the moves and the curves;
        // undoing it puts every curve back.
        QCOMPARE(w->UndoStates(), before + 1);
        QVERIFY(!AnyBracketOpen(w->Curves()));
        w->Menu("mnuE_Undo")->trigger();
        QCOMPARE(Pos(w->Main(), 1), (std::array<float, 3>{10, 10, 5}));
        QCOMPARE(Pos(w->Curves().Curves(1), 1), (std::array<float, 3>{10, 80, 3}));
    }

    // ---- Points ---------------------------------------------------------------------

    void toolOneAddsDeletesInsertsAndDragsPoints()
    {
        w->SelectTool(1);
        const int before = w->UndoStates();
        w->Click(10, 20);
        w->Click(110, 20);
        QCOMPARE(w->Main().ControlsCount(), 2);
        QCOMPARE(Pos(w->Main(), 2), (std::array<float, 3>{110, 20, 0}));
        QCOMPARE(w->UndoStates(), before + 2);
        QCOMPARE(w->rec.calls.filter(QStringLiteral("GridSelect")).last(), QStringLiteral("GridSelect:Camera path:2"));
        // Ctrl+Alt on the first inserts one in the middle of its segment.
        w->Click(10, 20, kCtrl | kAlt);
        QCOMPARE(w->Main().ControlsCount(), 3);
        QCOMPARE(Pos(w->Main(), 2)[0], 60.0f);
        // Shift deletes; Shift on empty space adds nothing.
        w->Click(60, 20, kShift);
        w->Click(200, 200, kShift);
        QCOMPARE(w->Main().ControlsCount(), 2);
        QCOMPARE(w->rec.calls.filter(QStringLiteral("GridSelect")).last(), QStringLiteral("GridSelect:Camera path:1"));
        QCOMPARE(w->UndoStates(), before + 4);
        // A press on a point just added grabs it, without a move first.
        w->Press(300, 20);
        w->Release(300, 20);
        w->Press(300, 20);
        QVERIFY(w->Tools().MoveControlActive());
        w->Drag(310, 25);
        w->Release(310, 25);
        QCOMPARE(w->Main().ControlsCount(), 3);
        QCOMPARE(Pos(w->Main(), 3), (std::array<float, 3>{310, 25, 0}));
        QVERIFY(!AnyBracketOpen(w->Curves()));
    }

    void draggingOnePointLocksAnAxisAndKeepsItsDepth_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::newRow("free") << 0 << 130.0f << 165.47f;
        QTest::newRow("Shift: vertically only") << int(kShift) << 100.0f << 165.47f;
        QTest::newRow("Ctrl: horizontally only") << int(kCtrl) << 130.0f << 150.0f;
    }
    void draggingOnePointLocksAnAxisAndKeepsItsDepth()
    {
        QFETCH(int, shift);
        QFETCH(float, x);
        QFETCH(float, y);
        w->AddPoints(w->Main(), {{100, 150, 42}, {300, 150, 0}});
        w->SelectTool(1);
        w->view->depth = -7;
        const int before = w->UndoStates();
        w->Hover(101, 151);
        w->Press(101, 151);
        w->Drag(120, 160, static_cast<int16_t>(shift));
        w->Drag(130.004f, 165.4712f, static_cast<int16_t>(shift));
        w->Release(130.004f, 165.4712f);
        QCOMPARE(Pos(w->Main(), 1), (std::array<float, 3>{x, y, 42}));
        QCOMPARE(w->UndoStates(), before + 1);
    }

    void theTwoHundredFiftyFirstPointIsRefused()
    {
        for (int i = 0; i < C3DCurve::MAX_CONTROL; ++i)
            w->Main().AddControl3(static_cast<float>(i * 10), 0, 0, 0, 0, 0, false);
        const int before = w->UndoStates();
        w->SelectTool(1);
        w->Click(5, 500);
        w->Click(0, 0, kCtrl | kAlt);
        QCOMPARE(w->Main().ControlsCount(), C3DCurve::MAX_CONTROL);
        QCOMPARE(w->dialogs->boxes.size(), 2);
        for (const auto& box : w->dialogs->boxes) {
            QCOMPARE(box.prompt, QStringLiteral("Limit of points reached"));
            QCOMPARE(box.title, QStringLiteral(" Point addition"));
            QCOMPARE(box.style, 64);
        }
        QCOMPARE(w->UndoStates(), before);
        QVERIFY(!AnyBracketOpen(w->Curves()));
        QVERIFY(!w->rec.calls.contains(QStringLiteral("GridStart")));
    }

    void deleteKeyRemovesTheSelectionWithOneStatePerCurve()
    {
        w->AddPoints(w->Main(), {{10, 10, 0}, {20, 10, 0}, {30, 10, 0}, {40, 10, 0}});
        w->AddPoints(Second(), {{10, 50, 0}, {20, 50, 0}});
        w->Main().SetSelected(2, true);
        w->Main().SetSelected(4, true);
        Second().SetSelected(1, true);
        const int before = w->UndoStates();
        w->Tools().fDeleteSelectedControls();
        QCOMPARE(w->Main().ControlsCount(), 2);
        QCOMPARE(Pos(w->Main(), 2)[0], 30.0f);
        QCOMPARE(Second().ControlsCount(), 1);
        QCOMPARE(w->UndoStates(), before + 2);
        // The row before the lowest deleted one; none before the first.
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridSelect:Camera path:1")));
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridClear:Second")));
    }

    void aCurveRemovedUnderTheHoverIsLeftAlone()
    {
        w->AddPoints(Second(), {{10, 10, 0}, {50, 10, 0}});
        w->SelectTool(1);
        w->Hover(10, 10);
        QCOMPARE(w->Tools().HoverCurveName(), QStringLiteral("Second"));
        w->Curves().Remove(1);
        const int before = w->UndoStates();
        w->Tools().fDeleteHovered();
        w->Tools().fInsertAfterHovered();
        w->Tools().fStartMoveControl();
        QVERIFY(!w->Tools().MoveControlActive());
        QCOMPARE(w->UndoStates(), before);
        QVERIFY(w->dialogs->boxes.isEmpty());
        // The Ctrl and Alt shortcuts find no curve either.
        w->Hover(10, 10, kAlt);
        QVERIFY(w->gameWindows->clipboard.isEmpty());
    }

    // ---- Magnetize ------------------------------------------------------------------

    void magnetizeSnapsOnlyWithAMapAndTheMenuChecked_data()
    {
        QTest::addColumn<bool>("map");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("snaps");
        QTest::newRow("map, checked") << true << true << true;
        QTest::newRow("map, unchecked") << true << false << false;
        QTest::newRow("no map, checked") << false << true << false;
    }
    void magnetizeSnapsOnlyWithAMapAndTheMenuChecked()
    {
        QFETCH(bool, map);
        QFETCH(bool, checked);
        QFETCH(bool, snaps);
        if (map)
            QVERIFY(w->LoadMap());
        w->Menu("mnuMapMagnetize")->setChecked(checked);
        w->Map().corners = {{205, 98, 64}};
        w->AddPoints(w->Main(), {{0, 0, 17}});
        w->SelectTool(1);
        w->Click(200, 100);
        QCOMPARE(w->Tools().SnapFound(), snaps);
        // A snapped point takes the corner; otherwise the view's plane, at
        // the last point's depth.
        QCOMPARE(Pos(w->Main(), 2), snaps ? (std::array<float, 3>{205, 98, 64}) : (std::array<float, 3>{200, 100, 17}));
        // Dragging it with Shift never snaps.
        w->Hover(200, 100);
        w->Press(Pos(w->Main(), 2)[0], Pos(w->Main(), 2)[1]);
        w->Drag(230, 120, kShift);
        w->Release(230, 120);
        QCOMPARE(Pos(w->Main(), 2)[1], 120.0f);
    }

    void theSnapPlaneFollowsTheView()
    {
        QVERIFY(w->LoadMap());
        w->Menu("mnuMapMagnetize")->setChecked(true);
        w->SelectTool(1);
        for (int view : {0, 1, 2}) {
            w->SelectView(view);
            w->Hover(10, 10);
        }
        QCOMPARE(w->Map().planes, (QList<int32_t>{0, 1, 2}));
    }

    // ---- Tangents --------------------------------------------------------------------

    void aTangentDragIsOneUndoStateAndItsResetMaskFollowsCtrl_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("edited");
        // Dragged in X-Y and X-Z: a reset in X-Y with Ctrl clears X-Y only.
        QTest::newRow("all views") << 0 << 0;
        QTest::newRow("Ctrl: this view") << int(kCtrl) << 2;
    }
    void aTangentDragIsOneUndoStateAndItsResetMaskFollowsCtrl()
    {
        QFETCH(int, shift);
        QFETCH(int, edited);
        w->AddPoints(w->Main(), {{100, 100, 0}, {300, 100, 0}, {500, 200, 0}});
        w->SelectTool(2);
        for (int view : {1, 0}) {
            w->SelectView(view);
            const ControlRecord r = w->Main().GetControlRecord(1);
            const float h = 100 + r.Tan1X;
            const float v = view == 0 ? 100 + r.Tan1Y : r.Tan1Z;
            const int before = w->UndoStates();
            w->Hover(h, v);
            QCOMPARE(w->Tools().HoverTangent(), uint8_t(1));
            w->Press(h, v);
            QVERIFY(w->Tools().TangentDragActive());
            w->Drag(h + 10, v + 20);
            w->Drag(h + 15, v + 30);
            w->Release(h + 15, v + 30);
            QCOMPARE(w->UndoStates(), before + 1);
        }
        QCOMPARE(static_cast<int>(w->Main().GetTan1C(1)), 3);
        const ControlRecord r = w->Main().GetControlRecord(1);
        w->Hover(100 + r.Tan1X, 100 + r.Tan1Y);
        QVERIFY(w->Tools().fResetHoveredTangent(2, static_cast<int16_t>(shift)));
        QCOMPARE(static_cast<int>(w->Main().GetTan1C(1)), edited);
        // Not over a handle, or with another tool, the view pans instead.
        QVERIFY(!w->Tools().fResetHoveredTangent(1, 0));
        w->Hover(400, 400);
        QVERIFY(!w->Tools().fResetHoveredTangent(2, 0));
    }

    // ---- Look-at ------------------------------------------------------------------

    void lookAtWithoutSelectionSaysSo()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->SelectTool(3);
        w->Click(50, 50);
        QCOMPARE(w->dialogs->boxes.size(), 1);
        QCOMPARE(w->dialogs->boxes[0].prompt, QStringLiteral("Please select at least one control point."));
        QCOMPARE(w->dialogs->boxes[0].title, QStringLiteral(" Set point target"));
        QVERIFY(!w->Tools().LookAtDragActive());
        QVERIFY(!w->State().m_cameraDragActive);
    }

    void lookAtTakesTheDepthFromCtrlOrTheStoredTargetOrAPointUnderThePointer_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<float>("z");
        // Point 1 at z 10 with a target at z 30; point 3 lies at (400, 0, 77).
        QTest::newRow("plain: the stored target's depth") << 0 << 200.0f << 50.0f << 30.0f;
        QTest::newRow("Ctrl: the point's own depth") << int(kCtrl) << 200.0f << 50.0f << 10.0f;
        QTest::newRow("over a point: its position") << 0 << 401.0f << 1.0f << 77.0f;
    }
    void lookAtTakesTheDepthFromCtrlOrTheStoredTargetOrAPointUnderThePointer()
    {
        QFETCH(int, shift);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(float, z);
        w->AddPoints(w->Main(), {{0, 0, 10}, {100, 0, 0}, {400, 0, 77}});
        w->Main().SetControlTarget(1, 0, 100, 30, 0, 0);
        w->Main().SetSelected(1, true);
        w->SelectTool(3);
        const int before = w->UndoStates();
        w->Press(0, 0);
        QVERIFY(w->Tools().LookAtDragActive());
        // A move that stays on the pressed pixel changes nothing.
        w->Drag(0, 0, static_cast<int16_t>(shift));
        QVERIFY(!w->Main().CurveChanging());
        w->Drag(x, y, static_cast<int16_t>(shift));
        w->Release(x, y);
        const bool onPoint = x > 400;
        QCOMPARE(w->Main().GetTargetX(1), onPoint ? 400.0f : x);
        QCOMPARE(w->Main().GetTargetY(1), onPoint ? 0.0f : y);
        QCOMPARE(w->Main().GetTargetZ(1), z);
        QCOMPARE(w->UndoStates(), before + 1);
        QVERIFY(!AnyBracketOpen(w->Curves()));
    }

    // ---- Insert and Delete at the preview ----------------------------------------

    void insertAtThePreviewPosition()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        // Unlocked: a point from the camera.
        w->State().m_camera.SetPosition({-5, -6, -7});
        w->Tools().fInsertControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 3);
        QCOMPARE(Pos(w->Main(), 3), (std::array<float, 3>{5, 6, 7}));
        // Locked on a control: nothing; between controls: the sample after
        // its segment's first control.
        w->rec.locked = true;
        w->rec.atControl = true;
        w->Tools().fInsertControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 3);
        w->rec.atControl = false;
        ControlRecord sample = w->Main().GetControlRecord(1);
        sample.X = 50;
        sample.SegmentNumber = 1;
        w->rec.samples = {sample};
        w->rec.sample = 0;
        w->Tools().fInsertControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 4);
        QCOMPARE(Pos(w->Main(), 2)[0], 50.0f);
        // A position that cannot be found says so.
        w->rec.sample = -1;
        w->Tools().fInsertControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 4);
        QCOMPARE(w->dialogs->boxes.size(), 1);
        QCOMPARE(w->dialogs->boxes[0].title, QStringLiteral(" Curve control insertion"));
        QCOMPARE(w->dialogs->boxes[0].prompt, QStringLiteral("Unable to find the locked position on the curve."));
        QCOMPARE(w->dialogs->boxes[0].style, 48);
        // Nothing while playing.
        w->rec.running = true;
        w->rec.sample = 0;
        w->Tools().fInsertControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 4);
    }

    void deleteAtThePreviewPosition()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}, {200, 0, 0}});
        w->Tools().fDeleteControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 3);
        w->rec.locked = true;
        w->rec.atControl = true;
        w->rec.control = -1;
        w->Tools().fDeleteControlAtPreview();
        QCOMPARE(w->dialogs->boxes.size(), 1);
        QCOMPARE(w->dialogs->boxes[0].title, QStringLiteral(" Curve control deletion"));
        w->rec.control = 2;
        w->Tools().fDeleteControlAtPreview();
        QCOMPARE(w->Main().ControlsCount(), 2);
        QCOMPARE(Pos(w->Main(), 2)[0], 200.0f);
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridSelect:Camera path:1")));
    }

    // ---- A drag that loses its release ----------------------------------------------

    void aDragEndsOnFocusLossAsItsReleaseWould()
    {
        w->AddPoints(w->Main(), {{100, 100, 0}, {300, 100, 0}});
        w->SelectTool(1);
        const int before = w->UndoStates();
        w->Hover(100, 100);
        w->Press(100, 100);
        w->Drag(150, 120);
        w->Tools().fEndDragOnFocusLoss();
        QVERIFY(!w->Tools().MoveControlActive());
        QVERIFY(!w->State().m_cameraDragActive);
        QVERIFY(!AnyBracketOpen(w->Curves()));
        QCOMPARE(w->UndoStates(), before + 1);
        QCOMPARE(Pos(w->Main(), 1), (std::array<float, 3>{150, 120, 0}));
        // The release that comes later changes nothing.
        w->Release(150, 120);
        QCOMPARE(w->UndoStates(), before + 1);
    }
};

QTEST_MAIN(TstCurveEditing)
#include "tst_CurveEditing.moc"
