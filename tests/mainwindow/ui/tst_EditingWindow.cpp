// Curve editing and the camera on the real window, its real view control
// and real pointer: clicks of the points tool add and drag points and Ctrl+Z
// takes back one drag; a left drag in the 3D view that moves the real
// pointer turns the camera, and the pointer is held at the view's centre.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "CProjectStateHandler.h"
#include "EditState.h"
#include "UCOpenGLView.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

using namespace Harness;

class TstEditingWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    QWindow* View() { return m_window->Widgets().oglView->GLWindow(); }
    C3DCurve& Main() { return *m_window->State().m_mainCurve; }
    // The world point of a view pixel, as the tools see it.
    std::array<float, 3> World(QPoint p)
    {
        std::array<float, 3> w{};
        m_window->ViewControl().WindowToWorld(static_cast<float>(p.x()), static_cast<float>(p.y()), w);
        return w;
    }
    // The view's own window takes the keys, and keeps them.
    // The view holds the keyboard as its widget, in the active window.
    bool FocusView()
    {
        UCOpenGLView* view = m_window->Widgets().oglView;
        return QTest::qWaitFor(
            [&] {
                if (!m_window->isActiveWindow())
                    m_window->activateWindow();
                else if (!view->hasFocus())
                    view->setFocus();
                return m_window->isActiveWindow() && view->hasFocus();
            },
            3000);
    }
    void Click(QPoint p)
    {
        QTest::mouseMove(View(), p);
        QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, p);
    }

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(StartActive(m_window, MakeRealServices(), m_fake));
        QVERIFY(QTest::qWaitForWindowExposed(View()));
        auto& edit = static_cast<EditState&>(*m_window->Parts().editState);
        edit.fCreateDefaultCurves();
        edit.fResetUndoHistory();
        edit.fUpdateControlsState();
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }

    void pointsToolClicksAddAndDragPointsAndCtrlZUndoesOneDrag()
    {
        QCOMPARE(m_window->State().m_activeViewIndex, 0);
        QVERIFY(m_window->Widgets().optTools[1]->isChecked());
        const QPoint a(120, 140);
        const QPoint b(320, 200);
        Click(a);
        Click(b);
        QCOMPARE(Main().ControlsCount(), 2);
        const std::array<float, 3> worldB = World(b);
        QVERIFY(qAbs(Main().GetX(2) - worldB[0]) < 0.01f && qAbs(Main().GetY(2) - worldB[1]) < 0.01f);

        // A drag of the first point: one state whatever the moves.
        const std::array<float, 3> before = Main().GetPosition(1);
        const int states = static_cast<EditState&>(*m_window->Parts().editState).StateHandler().StateCount();
        QTest::mouseMove(View(), a);
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, a);
        QTest::mouseMove(View(), a + QPoint(20, 5));
        QTest::mouseMove(View(), a + QPoint(40, 30));
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, a + QPoint(40, 30));
        const std::array<float, 3> moved = World(a + QPoint(40, 30));
        QVERIFY(qAbs(Main().GetX(1) - moved[0]) < 0.01f && qAbs(Main().GetY(1) - moved[1]) < 0.01f);
        QCOMPARE(Main().GetZ(1), before[2]);
        QCOMPARE(static_cast<EditState&>(*m_window->Parts().editState).StateHandler().StateCount(), states + 1);
        QCOMPARE(Main().ControlsCount(), 2);

        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(Main().GetPosition(1), before);
        QCOMPARE(Main().ControlsCount(), 2);
        QVERIFY(m_window->Menus().Action(QStringLiteral("mnuE_Redo"))->isEnabled());
    }

    void aLeftDragIn3DTurnsTheCameraWithThePointerHeldAtTheCentre()
    {
        QTest::mouseClick(m_window->Widgets().optViews[3], Qt::LeftButton);
        QTRY_COMPARE(m_window->State().m_activeViewIndex, 3);
        QVERIFY(QTest::qWaitForWindowExposed(View()));
        UCOpenGLView* view = m_window->Widgets().oglView;
        const QPoint centre = view->mapToGlobal(QPoint(view->width() / 2, view->height() / 2));
        const QPoint start = centre + QPoint(-60, 40);
        QCursor::setPos(start);
        QTRY_COMPARE(QCursor::pos(), start);
        C3DCamera& camera = m_window->State().m_camera;
        camera.SetYaw(0);
        camera.SetPitch(0);
        const QPoint local = View()->mapFromGlobal(start);
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, local);
        QVERIFY(m_window->State().m_drags.m_mouseLookActive);
        QTRY_COMPARE(QCursor::pos(), centre);
        // The real pointer 50 pixels to the right: the camera turns by
        // 6 degrees, and the pointer goes back to the centre.
        QCursor::setPos(centre + QPoint(50, 0));
        QTRY_VERIFY(qAbs(camera.Yaw() - 6.0f) < 0.01f);
        QTRY_COMPARE(QCursor::pos(), centre);
        QCOMPARE(camera.Pitch(), 0.0f);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, View()->mapFromGlobal(centre));
        QVERIFY(!m_window->State().m_drags.m_mouseLookActive);
        // The pointer comes back where the drag began.
        QTRY_COMPARE(QCursor::pos(), start);
    }

    void aFocusTakenByAnotherWindowEndsHeldKeysAndDrags()
    {
        MainState& state = m_window->State();
        // Another program's window, as far as the view can tell.
        QWidget other;
        other.setWindowTitle(QStringLiteral("Another window"));
        other.resize(200, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        const auto takeFocus = [&other] {
            other.activateWindow();
            return QTest::qWaitFor([&other] { return other.isActiveWindow(); }, 3000);
        };
        // The window manager gives a new window the focus in its own time:
        // the other window has it once, before the view takes it back.
        QVERIFY(takeFocus());
        // A held key in the 3D view, then the focus elsewhere: its release
        // will never reach the view.
        QCOMPARE(state.m_activeViewIndex, 3);
        QVERIFY(FocusView());
        QTest::keyPress(View(), Qt::Key_Up);
        QVERIFY(state.m_drags.m_forwardKeyHeld);
        QVERIFY(m_window->Widgets().tmrViewAutoRefresh->isActive());
        QVERIFY(takeFocus());
        QTRY_VERIFY(!state.m_drags.m_forwardKeyHeld);
        QCOMPARE(state.m_camera.Dist(1), 0.0f);
        QVERIFY(!m_window->Widgets().tmrViewAutoRefresh->isActive());

        // A point drag in a 2D view ends as its release would: one step.
        QVERIFY(Activate(m_window.get()));
        QTest::mouseClick(m_window->Widgets().optViews[0], Qt::LeftButton);
        QTRY_COMPARE(state.m_activeViewIndex, 0);
        QVERIFY(FocusView());
        auto& edit = static_cast<EditState&>(*m_window->Parts().editState);
        const QPoint b(260, 90);
        Click(b);
        const int states = edit.StateHandler().StateCount();
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, b);
        QTest::mouseMove(View(), b + QPoint(25, 10));
        QVERIFY(state.m_drags.m_moveControlActive);
        QVERIFY(takeFocus());
        QTRY_VERIFY(!state.m_drags.m_moveControlActive);
        QVERIFY(!state.m_cameraDragActive);
        QVERIFY(!Main().CurveChanging());
        QCOMPARE(edit.StateHandler().StateCount(), states + 1);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, b + QPoint(25, 10));
        QCOMPARE(edit.StateHandler().StateCount(), states + 1);
    }
};

QTEST_MAIN(TstEditingWindow)
#include "tst_EditingWindow.moc"
