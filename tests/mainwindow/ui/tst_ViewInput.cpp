// The real window's views: activation, the routing of real mouse and key
// events in the view, panning, the pointer's status text, the wheel and the
// zoom tool, cursors, the busy state and the copies of the view states.

#include "ViewTestParts.h"

#include "C3DCurveController.h"
#include "RuvError.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

using namespace Harness;
using namespace ViewTest;

class TstViewInput : public QObject
{
    Q_OBJECT

    ViewTest::Window m_w;

    MainState& State() { return m_w.window->State(); }
    MainWidgets& W() { return m_w.window->Widgets(); }
    IViewInput& Input() { return *m_w.window->Parts().viewInput; }
    QWindow* View() { return GLWindow(*m_w.window); }
    QPoint Centre() { return QPoint(View()->width() / 2, View()->height() / 2); }
    QString Middle() { return W().lblMiddleStatus->text(); }
    // The calls but the hover feedback (Qt moves the pointer before a press
    // at a new place).
    QStringList Routed() const
    {
        QStringList out;
        for (const QString& c : m_w.record.calls)
            if (!c.startsWith(QLatin1String("Hover")))
                out << c;
        return out;
    }

    void Wheel(int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(Centre());
        QWheelEvent e(at, View()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View(), &e);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_w.Start());
    }
    void cleanupTestCase() { m_w.window.reset(); }
    void init()
    {
        Input().fSelectView(0);
        m_w.record.calls.clear();
        m_w.fake.calls.clear();
    }

    void activationTable()
    {
        // Each view with its own display flags, so the menus show whose they are.
        State().m_views[1].SetShowGrid(true);
        State().m_views[2].SetShowRuler(true);
        State().m_views[3].SetEnableAA(true);
        struct Row
        {
            int32_t index;
            int32_t kind;
            const char* right;
            bool grid, aa, ruler;
        };
        const Row rows[] = {{3, 8, "3D View", false, true, false},
                            {1, 2, "X-Z View", true, false, false},
                            {2, 4, "Y-Z View", false, false, true},
                            {0, 1, "X-Y View", false, false, false}};
        QAction* cluster = m_w.window->Menus().Action(QStringLiteral("mnuMap_ClusterVisibilityState"));
        for (const Row& r : rows) {
            m_w.record.calls.clear();
            m_w.fake.calls.clear();
            W().lblMiddleStatus->setText(QStringLiteral("old"));
            QTest::mouseClick(W().optViews[static_cast<size_t>(r.index)], Qt::LeftButton);
            const bool is3D = r.kind == 8;
            QCOMPARE(State().m_activeViewIndex, r.index);
            QCOMPARE(State().m_view, &State().m_views[static_cast<size_t>(r.index)]);
            QCOMPARE(m_w.window->ViewControl().View(), State().m_view);
            QCOMPARE(State().m_view->ViewFlag(), r.kind);
            QCOMPARE(W().lblRightStatus->text(), QString::fromLatin1(r.right));
            QCOMPARE(Middle(), QString());
            QCOMPARE(W().fra3DView->isVisibleTo(m_w.window.get()), is3D);
            QCOMPARE(W().cbo3DViewRatio->isEnabled(), is3D);
            QCOMPARE(m_w.record.Count(QStringLiteral("ToolsState")), 1);
            // A locked preview is let go in the 2D views only.
            QCOMPARE(m_w.fake.calls.count(QStringLiteral("ReleaseLock")), is3D ? 0 : 1);
            QCOMPARE(W().lblScaleLabel->text().isEmpty(), is3D);
            QCOMPARE(cluster->isVisible(), is3D);
            QCOMPARE(m_w.window->Menus().Action(QStringLiteral("mnuV_ShowGrid"))->isChecked(), r.grid);
            QCOMPARE(m_w.window->Menus().Action(QStringLiteral("mnuV_AntiAliasing"))->isChecked(), r.aa);
            QCOMPARE(m_w.window->Menus().Action(QStringLiteral("mnuV_ShowRulers"))->isChecked(), r.ruler);
            // The 2D views show their scale and origin from their own state.
            if (!is3D) {
                QCOMPARE(m_w.window->ViewControl().GLViewScale(),
                         m_w.window->Parts().viewZoom->ScaleOfIndex(State().m_view->ScaleIndex()));
                QVERIFY(W().lblScaleLabel->text().startsWith(QStringLiteral("Scale:")));
            }
        }
        for (int32_t i = 1; i < 4; ++i) {
            State().m_views[static_cast<size_t>(i)].SetShowGrid(false);
            State().m_views[static_cast<size_t>(i)].SetShowRuler(false);
            State().m_views[static_cast<size_t>(i)].SetEnableAA(false);
        }
    }

    void aButtonAlreadyOnStillActivates()
    {
        QVERIFY(W().optViews[0]->isChecked());
        QTest::mouseClick(W().optViews[0], Qt::LeftButton);
        QCOMPARE(m_w.record.Count(QStringLiteral("ToolsState")), 1);
        Input().fSelectView(0);
        QCOMPARE(m_w.record.Count(QStringLiteral("ToolsState")), 2);
        // An index outside 0..3 is view 0.
        Input().fSelectView(3);
        Input().fSelectView(7);
        QCOMPARE(State().m_activeViewIndex, 0);
        QVERIFY(W().optViews[0]->isChecked());
        QVERIFY(!W().optViews[3]->isChecked());
    }

    void routingByViewAndButton()
    {
        const QPoint at = Centre();
        // 3D: button 1 looks, button 2 moves the camera, the wheel flies.
        Input().fSelectView(3);
        m_w.record.calls.clear();
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(View(), at + QPoint(5, 3));
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, at + QPoint(5, 3));
        QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseMove(View(), at + QPoint(7, 3));
        QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, at + QPoint(7, 3));
        Wheel(2, Qt::ShiftModifier);
        QCOMPARE(Routed(), (QStringList{"StartMouseLook", "MouseLookStep", "StopMouseLook", "StartMouseMove",
                                              "MouseMoveStep", "StopMouseMove", "Wheel3D 2 4"}));
        QVERIFY(!State().m_cameraDragActive);

        // 2D: button 1 goes to the active tool, a move without drag to the
        // hover feedback, button 2 to the tangent reset before panning.
        Input().fSelectView(0);
        W().optTools[0]->setChecked(true);
        m_w.record.calls.clear();
        QTest::mousePress(View(), Qt::LeftButton, Qt::ControlModifier, at);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::ControlModifier, at);
        QTest::mouseMove(View(), at + QPoint(9, 1));
        QCOMPARE(m_w.record.calls.last(), QStringLiteral("Hover 0 0"));
        m_w.record.tangentHovered = true;
        QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, at);
        m_w.record.tangentHovered = false;
        QCOMPARE(Routed(), (QStringList{"ToolDown 0 2", "ResetTangent 0"}));
        QVERIFY(!State().m_drags.m_panActive);
        W().optTools[1]->setChecked(true);
    }

    void middleButtonIsInert()
    {
        const QPoint at = Centre() + QPoint(11, 13);
        QTest::mousePress(View(), Qt::MiddleButton, Qt::NoModifier, at);
        QTest::mouseRelease(View(), Qt::MiddleButton, Qt::NoModifier, at);
        QCOMPARE(Routed(), QStringList());
        QVERIFY(!State().m_cameraDragActive);
        QCOMPARE(State().m_drags.m_mouseDownX, at.x());
    }

    void rightDragPansAndAButtonOneReleaseKeepsIt()
    {
        CView& view = *State().m_view;
        view.SetCurrentOrigin(1, 100.0f);
        view.SetCurrentOrigin(2, -40.0f);
        const double scale = m_w.window->ViewControl().GLViewScale();
        const QPoint at = Centre();
        QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, at);
        QVERIFY(State().m_drags.m_panActive);
        QVERIFY(State().m_cameraDragActive);
        W().lblMiddleStatus->setText(QStringLiteral("before"));
        QTest::mouseMove(View(), at + QPoint(40, -20));
        // Right and up by the pointer: the world moves with it.
        QCOMPARE(view.CurrentOrigin(1), static_cast<float>(100.0 - 40 / scale));
        QCOMPARE(view.CurrentOrigin(2), static_cast<float>(-40.0 - 20 / scale));
        // No coordinates while panning.
        QCOMPARE(Middle(), QStringLiteral("before"));
        // Another button's release, or press, changes nothing.
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, at + QPoint(40, -20));
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, at + QPoint(40, -20));
        QVERIFY(State().m_drags.m_panActive);
        QCOMPARE(Routed(), (QStringList{"ResetTangent 1"}));
        QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, at + QPoint(40, -20));
        QVERIFY(!State().m_drags.m_panActive);
        QVERIFY(!State().m_cameraDragActive);
    }

    void panningStopsAtTheWorldsEdgeAndComesBackAtOnce()
    {
        CView& view = *State().m_view;
        const double width = m_w.window->ViewControl().GLViewWidth();
        const float limit = static_cast<float>((100000.0 - width) / 2.0);
        view.SetCurrentOrigin(1, limit - 10.0f);
        view.SetCurrentOrigin(2, 0.0f);
        const double scale = m_w.window->ViewControl().GLViewScale();
        const QPoint at = Centre();
        QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, at);
        // Far to the left: the origin runs into its limit.
        const int far = static_cast<int>(std::ceil(100.0 * scale)) + 1;
        QTest::mouseMove(View(), at - QPoint(far, 0));
        QCOMPARE(view.CurrentOrigin(1), limit);
        // One pixel back to the right moves the view at once.
        QTest::mouseMove(View(), at - QPoint(far - 1, 0));
        QCOMPARE(view.CurrentOrigin(1), static_cast<float>(limit - 1.0 / scale));
        QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, at);
        view.SetCurrentOrigin(1, 0.0f);
    }

    void pointerCoordinatesIn2DOnly()
    {
        const QPoint at = Centre() + QPoint(17, -9);
        QTest::mouseMove(View(), at);
        std::array<float, 3> world{};
        m_w.window->ViewControl().WindowToWorld(static_cast<float>(at.x()), static_cast<float>(at.y()), world);
        QCOMPARE(State().m_drags.m_pointerWorld, world);
        QCOMPARE(Middle(), ViewInput::PointerStatusText(*State().m_view, world));
        QVERIFY(Middle().startsWith(QLatin1Char('x')));
        Input().fSelectView(3);
        QCOMPARE(Middle(), QString());
        QTest::mouseMove(View(), at + QPoint(3, 3));
        QCOMPARE(Middle(), QString());
    }

    void modifiersAloneChangeNothing()
    {
        for (int32_t view : {0, 3}) {
            Input().fSelectView(view);
            m_w.record.calls.clear();
            const QString middle = Middle();
            for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt}) {
                QTest::keyPress(View(), key);
                QTest::keyRelease(View(), key);
            }
            QCOMPARE(m_w.record.calls, QStringList());
            QCOMPARE(Middle(), middle);
            QVERIFY(!State().m_cameraDragActive);
        }
        // Any other key reaches the 3D view's key table.
        QTest::keyClick(View(), Qt::Key_W);
        QCOMPARE(m_w.record.calls, (QStringList{"KeyDown 87 0", "KeyPress 119", "KeyUp 87"}));
        // Not while a text box is being edited.
        m_w.record.calls.clear();
        State().m_inputEditing = true;
        QTest::keyPress(View(), Qt::Key_W);
        State().m_inputEditing = false;
        QTest::keyRelease(View(), Qt::Key_W);
        QCOMPARE(m_w.record.calls, (QStringList{"KeyUp 87"}));
    }

    void deleteKeyIn2D()
    {
        C3DCurve& curve = *State().m_mainCurve;
        curve.AddControl3(1, 2, 3, 0, 0, 0, false);
        curve.SetSelected(1, true);
        W().optTools[0]->setEnabled(true);
        // Not with the point tool active, then with the selection tool.
        W().optTools[1]->setChecked(true);
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(m_w.record.calls, QStringList());
        W().optTools[0]->setChecked(true);
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(m_w.record.calls, (QStringList{"DeleteSelected"}));
        curve.SetSelected(1, false);
        m_w.record.calls.clear();
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(m_w.record.calls, QStringList());
        curve.DeleteControl(1);
        W().optTools[1]->setChecked(true);
    }

    void wheelAndZoomToolIn2D()
    {
        CView& view = *State().m_view;
        const int32_t start = view.ScaleIndex();
        Wheel(1);
        QCOMPARE(view.ScaleIndex(), start + 96);
        Wheel(-2, Qt::ShiftModifier);
        QCOMPARE(view.ScaleIndex(), start + 96 - 32);
        Wheel(-1, Qt::ControlModifier);
        QCOMPARE(view.ScaleIndex(), start + 16);
        QCOMPARE(m_w.window->ViewControl().GLViewScale(), m_w.window->Parts().viewZoom->ScaleOfIndex(start + 16));
        QVERIFY(W().lblScaleLabel->text().startsWith(QStringLiteral("Scale:")));
        Wheel(-100);
        QCOMPARE(view.ScaleIndex(), 1);

        // The zoom tool: moving up zooms in by 5 a pixel.
        view.SetScaleIndex(start);
        m_w.window->Parts().viewZoom->fApplyViewScale();
        W().optTools[4]->setChecked(true);
        const QPoint at = Centre();
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(State().m_drags.m_zoomDragActive);
        QTest::mouseMove(View(), at - QPoint(0, 10));
        QCOMPARE(view.ScaleIndex(), start + 50);
        QTest::mouseMove(View(), at - QPoint(0, 4));
        QCOMPARE(view.ScaleIndex(), start + 20);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(!State().m_drags.m_zoomDragActive);
        QVERIFY(!State().m_cameraDragActive);
        W().optTools[1]->setChecked(true);
        view.SetScaleIndex(start);
        m_w.window->Parts().viewZoom->fApplyViewScale();
    }

    void zoomToFitShowsTheFramedScale()
    {
        CView& view = *State().m_view;
        IViewZoom& zoom = *m_w.window->Parts().viewZoom;
        C3DCurve& curve = *State().m_mainCurve;
        curve.AddControl3(-3000, 500, 0, 0, 0, 0, false);
        curve.AddControl3(1000, 900, 0, 0, 0, 0, false);
        zoom.fZoomToFit(false);
        QCOMPARE(view.CurrentOrigin(1), -1000.0f);
        QCOMPARE(view.CurrentOrigin(2), 700.0f);
        // The view shows the scale framed with its margin, and says so.
        QCOMPARE(m_w.window->ViewControl().GLViewScale(), zoom.ScaleOfIndex(view.ScaleIndex()));
        const double spare = m_w.window->ViewControl().GLViewRealWidth() - 4000.0 * m_w.window->ViewControl().GLViewScale();
        QVERIFY2(spare >= 19.0 && spare <= 22.0, qPrintable(QString::number(spare)));
        QCOMPARE(W().lblScaleLabel->text(),
                 ViewZoom::ScaleLabelText(QStringLiteral("Scale:"), m_w.window->ViewControl().GLViewWidth()));
        // Without points or map: the default scale on the origin.
        curve.DeleteControl(2);
        curve.DeleteControl(1);
        zoom.fZoomToFit(false);
        QCOMPARE(view.ScaleIndex(), zoom.DefaultScaleIndex());
        QCOMPARE(view.CurrentOrigin(1), 0.0f);
        QCOMPARE(view.CurrentOrigin(2), 0.0f);
    }

    void cursorsPushAndNavigation()
    {
        IViewControl& control = m_w.window->ViewControl();
        Input().fSetViewCursor(1);
        QCOMPARE(control.MousePointer(), 99);
        // Panning shows the hand and gives the tool's cursor back after.
        QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, Centre());
        QCOMPARE(View()->cursor().shape(), Qt::BitmapCursor);
        const QPixmap during = View()->cursor().pixmap();
        QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, Centre());
        QCOMPARE(during.toImage(), State().m_viewCursors[4].pixmap().toImage());
        QCOMPARE(View()->cursor().pixmap().toImage(), State().m_viewCursors[1].pixmap().toImage());
        // A pop without a push keeps the cursor.
        Input().fPushViewCursor(-1);
        QCOMPARE(View()->cursor().pixmap().toImage(), State().m_viewCursors[1].pixmap().toImage());
        m_w.record.canStartCamera = false;
        Input().fSetNavigationCursor();
        QCOMPARE(View()->cursor().pixmap().toImage(), State().m_viewCursors[0].pixmap().toImage());
        m_w.record.canStartCamera = true;
        Input().fSetNavigationCursor();
        QCOMPARE(View()->cursor().pixmap().toImage(), State().m_viewCursors[5].pixmap().toImage());
    }

    void busyStateEndsAlsoOnAnError()
    {
        IViewControl& control = m_w.window->ViewControl();
        try {
            BusyScope busy(Input());
            QCOMPARE(control.MousePointer(), 11);
            QVERIFY(!W().central->isEnabled());
            QCOMPARE(m_w.window->cursor().shape(), Qt::WaitCursor);
            throw RuvError(RuvError::DivisionByZero, QStringLiteral("Division by zero"), QStringLiteral("Test"));
        } catch (const RuvError&) {
        }
        QCOMPARE(control.MousePointer(), 99);
        QVERIFY(W().central->isEnabled());
        QCOMPARE(m_w.window->cursor().shape(), Qt::ArrowCursor);
    }

    void viewCopies()
    {
        QVERIFY(!Input().GetViewCopy(3));
        QVERIFY(!Input().GetViewCopy(0));
        std::optional<CView> copy = Input().GetViewCopy(8);
        QVERIFY(copy);
        QCOMPARE(*copy, State().m_views[3]);
        copy->SetCurrentOrigin(1, 1234.0f);
        copy->SetShowGrid(!State().m_views[3].ShowGrid());
        QVERIFY(*copy != State().m_views[3]);
        QCOMPARE(Input().GetViewCopy(4)->ViewFlag(), 4);
        QCOMPARE(Input().GetViewCopy(2)->ViewFlag(), 2);
        QCOMPARE(Input().ScaleNormalize(0), 1);
        QCOMPARE(Input().ScaleNormalize(123456), 10000);
        QCOMPARE(Input().ScaleNormalize(5000), 5000);
    }
};

QTEST_MAIN(TstViewInput)
#include "tst_ViewInput.moc"
