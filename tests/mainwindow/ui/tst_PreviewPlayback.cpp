// The preview on the real window: the lock box and the buttons clicked,
// L, Space, Esc and the arrows typed into the 3D view, the camera flown
// with the real pointer and the wheel while locked, a flight played on the
// real clock, and the window closed while it plays.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "CProjectStateHandler.h"
#include "EditState.h"
#include "PreviewPlayback.h"
#include "UCOpenGLView.h"

#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QWheelEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

using namespace Harness;

class TstPreviewPlayback : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    MainWidgets& W() { return m_window->Widgets(); }
    C3DCurve& Main() { return *m_window->State().m_mainCurve; }
    PreviewPlayback& Preview() { return static_cast<PreviewPlayback&>(*m_window->Parts().preview); }
    QWindow* View() { return W().oglView->GLWindow(); }

    void Points(int count, int32_t rate)
    {
        Main().BeginControlsCountChange();
        for (int i = 0; i < count; ++i)
            Main().AddControl3(100.0f * static_cast<float>(i), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, false);
        Main().EndControlsCountChange();
        Main().SetStepRate(rate);
        m_window->Parts().pointGrid->fGridReloadCurve();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(View(), static_cast<Qt::Key>(key), modifiers);
    }
    void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    // The share of the lock box's pixels that are pure red, painted at its
    // place in the shown window under the program's style.
    double LockRed()
    {
        const QImage image = W().chkPreviewLock->grab().toImage();
        qsizetype red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += image.pixelColor(x, y) == QColor(255, 0, 0);
        return image.isNull() ? 0.0 : double(red) / (double(image.width()) * image.height());
    }
    int32_t UndoStates()
    {
        return static_cast<EditState&>(*m_window->Parts().editState).StateHandler().StateCount();
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        m_fake = FakeState{};
        QCOMPARE(ProgramStart::StartMainWindow(MakeRealServices(), m_window, std::make_unique<PreviewFactory>(m_fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->Controls().m_aboutForm->hide();
        QVERIFY(Activate(m_window.get()));
        m_window->Parts().viewInput->fSelectView(3);
        QVERIFY(QTest::qWaitForWindowExposed(View()));
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void theLockBoxAndTheButtons()
    {
        Points(3, 25);
        QCOMPARE(LockRed(), 0.0);
        Click(W().chkPreviewLock);
        QVERIFY(Preview().fIsPreviewLocked());
        // Red around the box and its caption.
        QVERIFY2(LockRed() > 0.5, qPrintable(QString::number(LockRed())));
        QCOMPARE(W().lbl3dvTime->text(), QStringLiteral("T: 0.000"));
        QTRY_VERIFY(W().oglView->hasFocus() || View()->isActive());
        Click(W().cmdPreview[6]);
        QCOMPARE(Preview().fGetPreviewControl(), 2);
        QCOMPARE(m_window->State().m_camera.GamePos(0), 100.0f);
        Click(W().cmdPreview[7]);
        QCOMPARE(Preview().fGetPreviewControl(), 3);
        QVERIFY(!W().cmdPvwStartStop->isEnabled());
        Click(W().cmdPreview[0]);
        QCOMPARE(Preview().fGetPreviewSample(), 0);
        Click(W().chkPreviewLock);
        QVERIFY(!Preview().fIsPreviewLocked());
        QCOMPARE(LockRed(), 0.0);
        QVERIFY(W().lbl3dvTime->text().isEmpty());
        QVERIFY(!W().cmdPreview[0]->isEnabled());
    }

    void lSpaceEscAndTheArrowsInTheView()
    {
        Points(3, 25);
        Key(Qt::Key_L);
        QVERIFY(Preview().fIsPreviewLocked());
        Key(Qt::Key_Right);
        QCOMPARE(Preview().fGetPreviewControl(), 2);
        Key(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(Preview().fGetPreviewSample(), 26);
        Key(Qt::Key_Up);
        QCOMPARE(Preview().fGetPreviewSample(), 0);
        Key(Qt::Key_Space);
        QVERIFY(Preview().fIsPlaybackRunning());
        QTRY_VERIFY(Preview().fGetPreviewSample() > 2);
        Key(Qt::Key_Escape);
        QVERIFY(!Preview().fIsPlaybackRunning());
        QTRY_VERIFY(!Preview().LoopActive());
        const int32_t stopped = Preview().fGetPreviewSample();
        QVERIFY(stopped < Preview().LastSampleIndex());
        Key(Qt::Key_L);
        QVERIFY(!Preview().fIsPreviewLocked());
        QVERIFY(W().cmdCreateScript->isEnabled());
    }

    void flyingWhileLockedWritesOneUndoStatePerGesture()
    {
        Points(3, 25);
        Key(Qt::Key_L);
        Key(Qt::Key_Right);
        QCOMPARE(Preview().fGetPreviewControl(), 2);
        QVERIFY(Preview().fIsPreviewAtControl());

        // Mouse look with the real pointer: the point turns, one state.
        UCOpenGLView* view = W().oglView;
        const QPoint centre = view->mapToGlobal(QPoint(view->width() / 2, view->height() / 2));
        const QPoint start = centre + QPoint(-60, 40);
        QCursor::setPos(start);
        QTRY_COMPARE(QCursor::pos(), start);
        const int32_t states = UndoStates();
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, View()->mapFromGlobal(start));
        QTRY_COMPARE(QCursor::pos(), centre);
        QCursor::setPos(centre + QPoint(50, 0));
        QTRY_VERIFY(Main().GetYaw(2) != 0.0f);
        QTRY_COMPARE(QCursor::pos(), centre);
        QCursor::setPos(centre + QPoint(0, 25));
        QTRY_VERIFY(Main().GetPitch(2) != 0.0f);
        QTRY_COMPARE(QCursor::pos(), centre);
        QCOMPARE(UndoStates(), states);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, View()->mapFromGlobal(centre));
        QTRY_COMPARE(UndoStates(), states + 1);
        QCOMPARE(m_window->State().m_camera.GameYaw(), Main().GetYaw(2));

        // Two wheel notches: the point flies, one state when the move ends.
        const std::array<float, 3> before = Main().GetPosition(2);
        const QPointF at(View()->width() / 2.0, View()->height() / 2.0);
        for (int notch = 0; notch < 2; ++notch) {
            QWheelEvent wheel(at, View()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(View(), &wheel);
        }
        QVERIFY(Main().GetPosition(2) != before);
        QTRY_COMPARE(UndoStates(), states + 2);
        QTest::qWait(500);
        QCOMPARE(UndoStates(), states + 2);
    }

    void aShortFlightPlaysToTheEndOnTheRealClock()
    {
        // 2 seconds at 50 a second: 101 samples.
        Points(3, 50);
        Click(W().chkPreviewLock);
        QElapsedTimer timer;
        timer.start();
        Click(W().cmdPvwStartStop);
        QVERIFY(Preview().fIsPlaybackRunning());
        const QPixmap& stop = m_window->State().m_stopPicture;
        QVERIFY(!stop.isNull());
        QCOMPARE(W().cmdPvwStartStop->icon().pixmap(stop.size()).toImage(), stop.toImage());
        QVERIFY(!W().fraPanels[0]->isEnabled());
        QVERIFY(!W().cmdCreateScript->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!Preview().fIsPlaybackRunning(), 10000);
        QVERIFY2(timer.elapsed() >= 1900, "frames are skipped, never shown early");
        QCOMPARE(Preview().fGetPreviewSample(), Preview().LastSampleIndex());
        const QPixmap& play = m_window->State().m_playPicture;
        QCOMPARE(W().cmdPvwStartStop->icon().pixmap(play.size()).toImage(), play.toImage());
        QCOMPARE(Preview().fGetPreviewControl(), 3);
        QCOMPARE(m_window->State().m_camera.GamePos(0), 200.0f);
        QTRY_VERIFY(!Preview().LoopActive());
        QVERIFY(W().fraPanels[0]->isEnabled());
        QVERIFY(Main().ReloadCurveWhenDrawing());
    }

    void theWindowClosedWhilePlayingClosesAfterItStops()
    {
        Points(3, 100);
        Main().SetDuration(60.0);
        Click(W().chkPreviewLock);
        Click(W().cmdPvwStartStop);
        QTRY_VERIFY(Preview().fGetPreviewSample() > 5);
        m_window->close();
        QVERIFY2(!m_window->IsClosedDown(), "the close waits for its timer");
        QVERIFY(!Preview().fIsPlaybackRunning());
        QVERIFY(!Preview().fIsPreviewLocked());
        QTRY_VERIFY(m_window->IsClosedDown());
        QVERIFY(!Preview().LoopActive());
        QVERIFY(!m_window->isVisible());
    }

    void openingTheFileOrGameMenuLeavesCreateToThePoints()
    {
        QMenuBar* bar = m_window->menuBar();
        const auto openAndClose = [&](const char* name) {
            QMenu* menu = m_window->Menus().Menu(QString::fromLatin1(name));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
            QTRY_VERIFY(menu->isVisible());
            menu->close();
            QTRY_VERIFY(!menu->isVisible());
        };
        // No point, then one: opening a menu that releases the lock, which
        // is off, leaves Create... off.
        for (int points = 0; points < 2; ++points) {
            if (points == 1)
                Points(1, 25);
            QVERIFY(!W().cmdCreateScript->isEnabled());
            for (const char* name : {"mnuTrace", "mnuGame"}) {
                openAndClose(name);
                QVERIFY2(!W().cmdCreateScript->isEnabled(), name);
            }
        }

        // Locked with two points, one deleted: the lock goes and gives the
        // window back, Create... excepted.
        Points(1, 25);
        QVERIFY(W().cmdCreateScript->isEnabled());
        Key(Qt::Key_L);
        QVERIFY(Preview().fIsPreviewLocked());
        QVERIFY(!W().fra3DViewPreset->isEnabled());
        Main().DeleteControl(2);
        QVERIFY(!Preview().fIsPreviewLocked());
        QVERIFY(!W().cmdCreateScript->isEnabled());
        QVERIFY(W().fra3DViewPreset->isEnabled());
        QVERIFY(m_window->Menus().Action(QStringLiteral("mnuV_Refresh"))->isEnabled());
        openAndClose("mnuGame");
        QVERIFY(!W().cmdCreateScript->isEnabled());
    }
};

QTEST_MAIN(TstPreviewPlayback)
#include "tst_PreviewPlayback.moc"
