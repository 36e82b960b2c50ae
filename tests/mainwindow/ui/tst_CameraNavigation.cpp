// The 3D camera on the real window with a pointer, a clock and a preview
// that the test controls: the key table, held keys, mouse look and move with
// the pointer held at the view's centre, the wheel and its end, the lens,
// the far plane and the speed, and what a lost focus ends.

#include "EditingHarness.h"

#include "StatusMessages.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Editing;

namespace {

constexpr int16_t kShift = 1;
constexpr int16_t kCtrl = 2;
constexpr int16_t kAlt = 4;

}  // namespace

class TstCameraNavigation : public QObject
{
    Q_OBJECT

    std::unique_ptr<Window> w;

    CameraNavigation& Nav() { return w->Nav(); }
    C3DCamera& Camera() { return w->State().m_camera; }
    ViewDrags& Drags() { return w->State().m_drags; }
    void KeyDown(int16_t code, int16_t shift = 0)
    {
        Nav().fViewKeyDown(code, shift);
    }
    void KeyUp(int16_t code) { Nav().fViewKeyUp(code); }
    // The pointer moved by (dx, dy) from where the drag holds it.
    void PointerBy(int dx, int dy) { w->cursor->position = w->cursor->position + QPoint(dx, dy); }
    QString Status() { return w->Widgets().lblMiddleStatus->text(); }

private slots:
    void init()
    {
        w = std::make_unique<Window>();
        w->SelectView(3);
        Camera().Clear();
    }
    void cleanup() { w.reset(); }

    // ---- Keys -----------------------------------------------------------------

    void theFarPlaneKeys_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<float>("zFar");
        QTest::addColumn<int>("codeAfter");
        QTest::newRow("Z") << 0 << 51000.0f << 0;
        QTest::newRow("Shift+Z") << int(kShift) << 49000.0f << 0;
        QTest::newRow("Alt+Z") << int(kAlt) << 50100.0f << 0;
        QTest::newRow("Shift+Alt+Z") << int(kShift | kAlt) << 49900.0f << 0;
        QTest::newRow("Ctrl+Z is the undo's") << int(kCtrl) << 50000.0f << 90;
    }
    void theFarPlaneKeys()
    {
        QFETCH(int, shift);
        QFETCH(float, zFar);
        QFETCH(int, codeAfter);
        int16_t code = 90;
        auto s = static_cast<int16_t>(shift);
        Nav().fViewKeyDown(code, s);
        QCOMPARE(Camera().ZFar(), zFar);
        QCOMPARE(static_cast<int>(code), codeAfter);
        if (codeAfter == 0) {
            QCOMPARE(s, int16_t(0));
            QCOMPARE(Status(), QStringLiteral("ZFar: ") + StatusMessages::fFormatStatusNumber(zFar, 2));
        }
    }

    void theLensKeysStepByFiveWholeDegrees()
    {
        Camera().SetFov(92.4f);
        KeyDown(70);
        QCOMPARE(Camera().Fov(), 87.0f);
        KeyDown(70, kShift);
        QCOMPARE(Camera().Fov(), 92.0f);
        QCOMPARE(Status(), QStringLiteral("FOV: ") + StatusMessages::fFormatStatusNumber(92, 2));
        QVERIFY(w->rec.calls.contains(QStringLiteral("ApplyFov")));
        for (int i = 0; i < 40; ++i)
            KeyDown(70, kShift);
        QCOMPARE(Camera().Fov(), 179.99f);
        // Not while playing, nor locked between two controls.
        w->rec.running = true;
        KeyDown(70);
        QCOMPARE(Camera().Fov(), 179.99f);
        w->rec.running = false;
        w->rec.locked = true;
        KeyDown(70);
        QCOMPARE(Camera().Fov(), 179.99f);
        w->rec.atControl = true;
        KeyDown(70);
        QCOMPARE(Camera().Fov(), 175.0f);
    }

    void theKeyTableRoutesToThePreviewAndTheTools_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("call");
        QTest::newRow("Left, locked") << 37 << true << false << "KeyCommand:1000,0";
        QTest::newRow("Down, locked") << 40 << true << false << "KeyCommand:0001,0";
        QTest::newRow("W, locked: nothing") << 87 << true << false << "";
        QTest::newRow("Space, locked") << 32 << true << false << "TogglePlayback";
        QTest::newRow("Space, unlocked: nothing") << 32 << false << false << "";
        QTest::newRow("Escape while playing") << 27 << false << true << "PlaybackStopped";
        QTest::newRow("Escape, stopped: nothing") << 27 << false << false << "";
        QTest::newRow("L") << 76 << false << false << "ToggleLock";
    }
    void theKeyTableRoutesToThePreviewAndTheTools()
    {
        QFETCH(int, code);
        QFETCH(bool, locked);
        QFETCH(bool, running);
        QFETCH(QString, call);
        w->rec.locked = locked;
        w->rec.running = running;
        w->Widgets().cmdPvwStartStop->setEnabled(true);
        KeyDown(static_cast<int16_t>(code));
        QCOMPARE(w->rec.calls, call.isEmpty() ? QStringList{} : QStringList{call});
        QVERIFY(!Drags().m_sideKeyHeld && !Drags().m_forwardKeyHeld);
    }

    void insertAndDeleteActAtThePreview()
    {
        Camera().SetPosition({-1, -2, -3});
        KeyDown(45);
        QCOMPARE(w->Main().ControlsCount(), 1);
        w->rec.locked = true;
        w->rec.atControl = true;
        w->rec.control = 1;
        KeyDown(46);
        QCOMPARE(w->Main().ControlsCount(), 0);
    }

    void noKeyActsWhileABoxIsBeingEdited()
    {
        w->State().m_inputEditing = true;
        KeyDown(90);
        KeyDown(38);
        KeyDown(76);
        int16_t plus = '+';
        Nav().fViewKeyPress(plus);
        QCOMPARE(Camera().ZFar(), 50000.0f);
        QVERIFY(!Drags().m_forwardKeyHeld);
        QVERIFY(w->rec.calls.isEmpty());
        QCOMPARE(w->State().m_moveSpeed, 1.0f);
    }

    void theSpeedKeysStepOnceAndStayWithinTheirRange()
    {
        // The keypad's + is handled on its key down: the character that
        // follows changes nothing more.
        KeyDown(107);
        int16_t plus = '+';
        Nav().fViewKeyPress(plus);
        QCOMPARE(w->State().m_moveSpeed, 1.1f);
        QCOMPARE(Nav().DragSpeed(), 1.1f);
        // The character alone (another key down first) does change it.
        KeyDown(65);
        KeyUp(65);
        int16_t minus = '-';
        Nav().fViewKeyPress(minus);
        QCOMPARE(w->State().m_moveSpeed, 1.0f);
        for (int i = 0; i < 25; ++i)
            KeyDown(107);
        QCOMPARE(w->State().m_moveSpeed, 2.0f);
        QCOMPARE(Status(), QStringLiteral("Move speed: ") + StatusMessages::fFormatStatusNumber(2, 2));
        for (int i = 0; i < 30; ++i)
            KeyDown(109);
        QCOMPARE(w->State().m_moveSpeed, 0.1f);
        QCOMPARE(Nav().DragSpeed(), 0.1f);
    }

    void heldKeysMoveAlongTheirComponentsAndReleaseApart()
    {
        // The splash took the keyboard for a moment at the start; its focus
        // change, late on a busy display, would end the held move. Once the
        // main window has the keyboard, that change is behind us.
        w->window->show();
        w->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
        QTimer* timer = w->Widgets().tmrViewAutoRefresh;
        KeyDown(38);
        QCOMPARE(Camera().Dist(1), 60.0f);
        QVERIFY(Drags().m_forwardKeyHeld);
        QVERIFY(timer->isActive());
        // Repeats change nothing; Shift would have made it 10.
        KeyDown(38, kShift);
        QCOMPARE(Camera().Dist(1), 60.0f);
        KeyDown(37, kCtrl);
        QCOMPARE(Camera().Dist(0), 30.0f);
        QVERIFY(Drags().m_sideKeyHeld);
        KeyUp(37);
        QCOMPARE(Camera().Dist(0), 0.0f);
        QCOMPARE(Camera().Dist(1), 60.0f);
        QVERIFY(!Drags().m_sideKeyHeld && Drags().m_forwardKeyHeld);
        QVERIFY(timer->isActive());
        // The timer redraws while a key is held.
        const int refreshes = w->view->refreshes;
        QTRY_VERIFY(w->view->refreshes > refreshes + 1);
        KeyUp(38);
        QCOMPARE(Camera().Dist(1), 0.0f);
        QVERIFY(!timer->isActive());
        // S and D move the other way.
        KeyDown(83);
        KeyDown(68);
        QCOMPARE(Camera().Dist(1), -60.0f);
        QCOMPARE(Camera().Dist(0), -60.0f);
    }

    void rollModeLastsWhileRIsHeld()
    {
        KeyDown(82);
        QVERIFY(Nav().RollMode());
        KeyUp(82);
        QVERIFY(!Nav().RollMode());
    }

    // ---- Mouse look ---------------------------------------------------------------

    void mouseLookTurnsTheCameraAndWraps_data()
    {
        QTest::addColumn<float>("yaw");
        QTest::addColumn<float>("pitch");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<float>("yawAfter");
        QTest::addColumn<float>("pitchAfter");
        // 0.12 degrees a pixel; yaw and pitch go against the pointer.
        QTest::newRow("right and up") << 10.0f << 0.0f << 100 << -50 << 22.0f << -6.0f;
        QTest::newRow("the yaw wraps") << 355.0f << 0.0f << 100 << 0 << 7.0f << 0.0f;
        QTest::newRow("a negative yaw keeps its sign") << -355.0f << 0.0f << -100 << 0 << -7.0f << 0.0f;
        QTest::newRow("the pitch stops at 90") << 0.0f << 80.0f << 0 << 200 << 0.0f << 90.0f;
        QTest::newRow("the pitch stops at -90") << 0.0f << -80.0f << 0 << -200 << 0.0f << -90.0f;
    }
    void mouseLookTurnsTheCameraAndWraps()
    {
        QFETCH(float, yaw);
        QFETCH(float, pitch);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(float, yawAfter);
        QFETCH(float, pitchAfter);
        Camera().SetYaw(yaw);
        Camera().SetPitch(pitch);
        const QPoint before = w->cursor->position;
        Nav().fStartMouseLook();
        QVERIFY(Drags().m_mouseLookActive && w->State().m_cameraDragActive);
        const QPoint centre = Nav().fCaptureCentre();
        QCOMPARE(w->cursor->position, centre);
        QVERIFY(w->cursor->shown < 0);
        QVERIFY(w->Main().IsQuickRefreshing());
        PointerBy(dx, dy);
        Nav().fMouseLookStep();
        QVERIFY(qAbs(Camera().Yaw() - yawAfter) < 1e-3f);
        QVERIFY(qAbs(Camera().Pitch() - pitchAfter) < 1e-3f);
        QCOMPARE(w->cursor->position, centre);
        // A move that leaves the pointer at the centre changes nothing.
        const int refreshes = w->view->refreshes;
        Nav().fMouseLookStep();
        QCOMPARE(w->view->refreshes, refreshes);
        Nav().fStopMouseLook();
        QCOMPARE(w->cursor->position, before);
        QCOMPARE(w->cursor->shown, 0);
        QVERIFY(!w->State().m_cameraDragActive && !Drags().m_mouseLookActive);
        QVERIFY(!w->Main().IsQuickRefreshing());
    }

    void rollModeTurnsTheRoll()
    {
        KeyDown(82);
        Camera().SetRoll(-350);
        Nav().fStartMouseLook();
        PointerBy(100, 30);
        Nav().fMouseLookStep();
        QVERIFY(qAbs(Camera().Roll() - -338.0f) < 1e-3f);
        QCOMPARE(Camera().Yaw(), 0.0f);
        QVERIFY(Status().startsWith(QStringLiteral("Roll ")));
        Nav().fStopMouseLook();
    }

    void aLockedLookTurnsThePreviewsControlInOneUndoStep()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->rec.locked = true;
        w->rec.atControl = true;
        w->rec.control = 2;
        const int before = w->UndoStates();
        Nav().fStartMouseLook();
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridSelect:Camera path:2")));
        QVERIFY(w->Main().CurveChanging());
        PointerBy(-50, 25);
        Nav().fMouseLookStep();
        KeyDown(82);
        PointerBy(10, 0);
        Nav().fMouseLookStep();
        QCOMPARE(w->rec.calls.filter(QStringLiteral("Rotate")),
                 (QStringList{QStringLiteral("Rotate:7,6,-3,0"), QStringLiteral("Rotate:7,0,0,-1.2")}));
        QCOMPARE(Camera().Yaw(), 0.0f);
        Nav().fStopMouseLook();
        QVERIFY(!w->Main().CurveChanging());
        QCOMPARE(w->UndoStates(), before + 1);
    }

    void theCameraDragsStartOnlyWhenThePreviewAllows_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("atControl");
        QTest::addColumn<bool>("starts");
        QTest::newRow("unlocked") << false << false << false << true;
        QTest::newRow("locked on a control") << true << false << true << true;
        QTest::newRow("locked between controls") << true << false << false << false;
        QTest::newRow("locked, playing") << true << true << true << false;
    }
    void theCameraDragsStartOnlyWhenThePreviewAllows()
    {
        QFETCH(bool, locked);
        QFETCH(bool, running);
        QFETCH(bool, atControl);
        QFETCH(bool, starts);
        w->rec.locked = locked;
        w->rec.running = running;
        w->rec.atControl = atControl;
        QCOMPARE(Nav().fCanStartMouseCamera(), starts);
        Nav().fStartMouseMove();
        QCOMPARE(Drags().m_mouseMoveActive, starts);
        Nav().fStopMouseMove();
        Nav().fStartMouseLook();
        QCOMPARE(Drags().m_mouseLookActive, starts);
        Nav().fStopMouseLook();
        QVERIFY(!w->State().m_cameraDragActive);
    }

    void aRefusedWarpTurnsByTheMovementNotTheDistanceFromTheCentre()
    {
        w->cursor->refuseWarp = true;
        w->cursor->position = {400, 300};
        Nav().fStartMouseLook();
        PointerBy(10, 0);
        Nav().fMouseLookStep();
        QVERIFY(qAbs(Camera().Yaw() - 1.2f) < 1e-4f);
        // Without a movement, no turning on.
        Nav().fMouseLookStep();
        Nav().fMouseLookStep();
        QVERIFY(qAbs(Camera().Yaw() - 1.2f) < 1e-4f);
        Nav().fStopMouseLook();
        QCOMPARE(w->cursor->shown, 0);
    }

    // ---- Mouse move --------------------------------------------------------------

    void theMoveDragSetsTheSideAndUpComponents()
    {
        Nav().fStartMouseMove();
        PointerBy(4, -2);
        Nav().fMouseMoveStep();
        QCOMPARE(Camera().Dist(0), -30.0f);
        QCOMPARE(Camera().Dist(2), 15.0f);
        // While locked it moves the control, the other way round.
        Nav().fStopMouseMove();
        w->rec.locked = true;
        w->rec.atControl = true;
        Nav().fStartMouseMove();
        PointerBy(4, -2);
        Nav().fMouseMoveStep();
        QCOMPARE(Camera().Dist(0), 30.0f);
        QCOMPARE(Camera().Dist(2), -15.0f);
        QVERIFY(w->rec.calls.contains(QStringLiteral("MoveControl")));
        Nav().fStopMouseMove();
        // Not while a side key is held.
        w->rec.locked = false;
        KeyDown(37);
        Nav().fStartMouseMove();
        QVERIFY(!Drags().m_mouseMoveActive);
    }

    // ---- Wheel -------------------------------------------------------------------

    void aWheelMoveEndsThreeHundredFiftyMillisecondsAfterItsLastNotch()
    {
        QTimer* timer = w->Widgets().tmrCameraMouseForwarding;
        w->clock->ms = 1000;
        Nav().fWheel3D(1, 4);
        QVERIFY(Nav().WheelMoveActive());
        QVERIFY(timer->isActive());
        QVERIFY(w->Main().IsQuickRefreshing());
        QCOMPARE(Camera().Dist(1), 10.0f);
        w->clock->ms = 1300;
        Nav().fWheel3D(-2, 8);
        QCOMPARE(Camera().Dist(1), -60.0f);
        w->clock->ms = 1650;
        Nav().tmrCameraMouseForwarding_Timer();
        QVERIFY(Nav().WheelMoveActive());
        w->clock->ms = 1651;
        Nav().tmrCameraMouseForwarding_Timer();
        QVERIFY(!Nav().WheelMoveActive());
        QVERIFY(!timer->isActive());
        QVERIFY(!w->Main().IsQuickRefreshing());
    }

    void theWheelIsIgnoredWhileAKeyOrTheMoveDragHoldsTheCamera()
    {
        KeyDown(38);
        Nav().fWheel3D(1, 0);
        QVERIFY(!Nav().WheelMoveActive());
        KeyUp(38);
        Nav().fStartMouseMove();
        Nav().fWheel3D(1, 0);
        QVERIFY(!Nav().WheelMoveActive());
        Nav().fStopMouseMove();
        w->rec.running = true;
        Nav().fWheel3D(1, 0);
        QVERIFY(!Nav().WheelMoveActive());
        // The positive case within the same conditions.
        w->rec.running = false;
        Nav().fWheel3D(1, 0);
        QVERIFY(Nav().WheelMoveActive());
    }

    void aLockedWheelMoveIsOneUndoStep()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->rec.locked = true;
        w->rec.control = 1;
        const int before = w->UndoStates();
        Nav().fWheel3D(2, 0);
        Nav().fWheel3D(1, 0);
        QCOMPARE(Camera().Dist(1), -60.0f);
        QCOMPARE(w->rec.Count(QStringLiteral("MoveControl")), 2);
        w->clock->ms += 400;
        Nav().tmrCameraMouseForwarding_Timer();
        QCOMPARE(w->UndoStates(), before + 1);
    }

    // ---- Lost focus and reset -------------------------------------------------------

    void aLostFocusEndsHeldKeysDragsAndTheHiddenPointer()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->rec.locked = true;
        w->rec.atControl = true;
        KeyDown(82);
        const int before = w->UndoStates();
        Nav().fStartMouseLook();
        PointerBy(5, 5);
        Nav().fMouseLookStep();
        w->rec.locked = false;
        KeyDown(38);
        Nav().fWheel3D(1, 0);
        Nav().fEndNavigationOnFocusLoss();
        QVERIFY(!Drags().m_mouseLookActive && !w->State().m_cameraDragActive);
        QVERIFY(!Drags().m_forwardKeyHeld && Camera().Dist(1) == 0.0f);
        QVERIFY(!Nav().RollMode() && !Nav().WheelMoveActive());
        QVERIFY(!w->Widgets().tmrViewAutoRefresh->isActive());
        QCOMPARE(w->cursor->shown, 0);
        QVERIFY(!w->Main().CurveChanging() && !w->Main().IsQuickRefreshing());
        // The look's bracket closed as its release would: one undo step.
        QCOMPARE(w->UndoStates(), before + 1);
    }

    void resetGivesTheDefaultCamera()
    {
        Camera().SetPosition({1, 2, 3});
        Camera().SetYaw(40);
        Camera().SetFov(20);
        Camera().SetZFar(300);
        Nav().fResetCamera();
        QCOMPARE(Camera().Position(), (C3DCamera::Vec3{0, 0, 0}));
        QCOMPARE(Camera().Yaw(), 0.0f);
        QCOMPARE(Camera().Fov(), 90.0f);
        QCOMPARE(Camera().ZFar(), 50000.0f);
    }
};

QTEST_MAIN(TstCameraNavigation)
#include "tst_CameraNavigation.moc"
