// The keyboard and the map view on the real window under a window manager,
// with real clicks and keys (XTest): a click into the view takes the
// keyboard from the control that had it, which validates, applies or drops
// what was typed there, and the view's keys reach it after a click, after
// the preview's lock and buttons, and from the keypad.

#include "MainWindowHarness.h"
#include "TestWindowManager.h"

#include "C3DCurveController.h"
#include "CFramerateHandler.h"
#include "PreviewPlayback.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"
#include "UCOpenGLView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QScopeGuard>
#include <QtTest>

#include <cmath>
#include <utility>

#include "XTestPointer.h"

#include <X11/XKBlib.h>

using namespace Harness;

class TstViewFocus : public QObject
{
    Q_OBJECT

    TestWindowManager m_wm;
    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;
    XTestPointer m_pointer;
    XTestKeyboard m_keys;

    MainWidgets& W() { return m_window->Widgets(); }
    MainState& S() { return m_window->State(); }
    C3DCurve& Main() { return *S().m_mainCurve; }
    PreviewPlayback& Preview() { return static_cast<PreviewPlayback&>(*m_window->Parts().preview); }
    UC3DCurveList* CurveList() { return W().cmCurveManager->findChild<UC3DCurveList*>(); }
    QListWidget* Names() { return CurveList()->findChild<QListWidget*>(QStringLiteral("lvwItemText")); }

    void Points(int count)
    {
        Main().BeginControlsCountChange();
        for (int i = 0; i < count; ++i)
            Main().AddControl3(100.0f * static_cast<float>(i), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, false);
        Main().EndControlsCountChange();
        Main().SetStepRate(25);
        m_window->Parts().pointGrid->fGridReloadCurve();
    }
    void ShowPageOf(QWidget* control)
    {
        for (size_t i = 0; i < W().fraPanels.size(); ++i)
            if (W().fraPanels[i]->isAncestorOf(control))
                W().tabControl->setCurrentIndex(static_cast<int>(i));
        QTRY_VERIFY(control->isVisible());
    }
    // A real click, through the window manager and Qt as a user's, once
    // the widget stays put (a page is laid out after it is shown).
    void ClickInto(QWidget* widget, QPoint at = {})
    {
        QPoint last = widget->mapToGlobal(QPoint());
        QVERIFY(QTest::qWaitFor(
            [&] {
                QTest::qWait(30);
                const QPoint now = widget->mapToGlobal(QPoint());
                return std::exchange(last, now) == now;
            },
            2000));
        QVERIFY(m_pointer.ClickAt(widget->mapToGlobal(at.isNull() ? widget->rect().center() : at)));
    }
    void ClickIntoView()
    {
        // Off the middle, where nothing of the default scene lies.
        ClickInto(W().oglView, QPoint(W().oglView->width() / 4, W().oglView->height() / 4));
    }
    void TypeInto(QLineEdit* box, const QString& text)
    {
        ClickInto(box);
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    bool ViewHasKeys() { return QTest::qWaitFor([this] { return W().oglView->hasFocus(); }, 3000); }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_wm.Ensure(), "these tests need a window manager (openbox)");
        QVERIFY(m_pointer.Available());
    }
    void init()
    {
        m_store = std::make_unique<TempStore>();
        m_dialogs = std::make_shared<RecordingDialogs>();
        m_fake = FakeState{};
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        QCOMPARE(ProgramStart::StartMainWindow(Services(m_dialogs), m_window, std::make_unique<PreviewFactory>(m_fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->Controls().m_aboutForm->hide();
        // As a user would: a click on the window's status bar.
        ClickInto(m_window->statusBar());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_window.get()));
        QVERIFY(QTest::qWaitForWindowExposed(W().oglView->GLWindow()));
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void theViewTakesTheKeyboardFromAClick()
    {
        ClickInto(W().tabControl->tabBar());
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(W().oglView));
        // And a view key reaches it: T chooses the tangent tool.
        m_keys.Tap(XK_t);
        QTRY_VERIFY(W().optTools[2]->isChecked());
    }

    void aTypedRateLeftByAClickIntoTheView_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("message");
        QTest::newRow("taken") << 0 << 77 << QString();
        QTest::newRow("refused by ET QW") << 4 << -1 << QStringLiteral("Please enter a multiple of 30.");
    }
    void aTypedRateLeftByAClickIntoTheView()
    {
        QFETCH(int, game);
        QFETCH(int, rate);
        QFETCH(QString, message);
        S().m_activeGame = &S().m_games[static_cast<size_t>(game)];
        Points(2);
        const int32_t before = Main().StepRate();
        QLineEdit* box = W().cboTFrameRate->lineEdit();
        ShowPageOf(W().cboTFrameRate);
        TypeInto(box, QStringLiteral("77"));
        ClickIntoView();
        if (rate > 0) {
            QVERIFY(ViewHasKeys());
            QCOMPARE(Main().StepRate(), rate);
            QVERIFY(m_dialogs->boxes.isEmpty());
            return;
        }
        QTRY_COMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, message);
        QCOMPARE(Main().StepRate(), before);
        // Refused: the box keeps the keyboard and what was typed.
        QTRY_VERIFY(box->hasFocus());
        QVERIFY(!W().oglView->hasFocus());
        QCOMPARE(box->text(), QStringLiteral("77"));
    }

    void aClickHeldBackByARefusedRateNeverActs_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("ET Pro, too high") << 0 << QStringLiteral("9999999")
                                          << QStringLiteral("Please type a smaller value or decrease the path duration.");
        QTest::newRow("ET QW, not a multiple of 30") << 4 << QStringLiteral("77")
                                                     << QStringLiteral("Please enter a multiple of 30.");
    }
    // The refusal's message box takes the window's activation, and the
    // window manager gives it back some time after the box is answered: here
    // it is held up (the test holds the server) until the click is handled.
    void aClickHeldBackByARefusedRateNeverActs()
    {
        QFETCH(int, game);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        m_dialogs->shown = true;
        S().m_activeGame = &S().m_games[static_cast<size_t>(game)];
        Points(2);
        int ups = 0;
        connect(W().oglView, &UCOpenGLView::MouseUp, this, [&](int16_t&, int16_t&, float&, float&) { ++ups; });
        ClickInto(W().optTools[1]);
        QTRY_VERIFY(W().optTools[1]->isChecked());
        QLineEdit* box = W().cboTFrameRate->lineEdit();
        ShowPageOf(W().cboTFrameRate);
        TypeInto(box, typed);
        Display* display = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        bool held = false;
        const auto ungrab = [&] {
            if (std::exchange(held, false)) {
                XUngrabServer(display);
                XFlush(display);
            }
        };
        auto ungrabAlways = qScopeGuard(ungrab);
        bool answered = false;
        bool boxActive = false;
        OnBox([&](QMessageBox* open) {
            boxActive = QTest::qWaitForWindowActive(open);
            XGrabServer(display);
            XFlush(display);
            held = true;
            open->defaultButton()->click();
            answered = true;
        });
        ClickIntoView();
        QTRY_VERIFY(answered && OpenBox() == nullptr);
        ungrab();
        QVERIFY(boxActive);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, message);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_window.get()));
        // The box has the keyboard and what was typed; the click did nothing.
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(box->text(), typed);
        QCOMPARE(Main().ControlsCount(), 2);
        QCOMPARE(ups, 0);
        // A rate both games take lets the next click through, whole.
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("90"));
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        QTRY_COMPARE(Main().ControlsCount(), 3);
        QTRY_COMPARE(ups, 1);
    }

    void aTypedFactorLeftByAClickIntoTheView()
    {
        QLineEdit* box = W().txtCFactor;
        ShowPageOf(box);
        TypeInto(box, QStringLiteral("x"));
        ClickIntoView();
        // Not a number: the box keeps the keyboard, and the click did not
        // reach the view.
        QTest::qWait(100);
        QVERIFY(box->hasFocus());
        QVERIFY(!W().oglView->hasFocus());
        QCOMPARE(box->text(), QStringLiteral("x"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("2"));
        ClickIntoView();
        // A number is shown as the box shows its numbers, and the view
        // the user clicked has the keyboard.
        QVERIFY(ViewHasKeys());
        QCOMPARE(box->text(), QStringLiteral("2.00"));
        QVERIFY(!S().m_inputEditing);
    }

    void anOpenNameEditIsDroppedByAClickIntoTheView()
    {
        S().m_curveController->Add(QStringLiteral("Second"));
        QTRY_COMPARE(Names()->count(), 2);
        const QPoint cell = Names()->visualItemRect(Names()->item(1)).center();
        ClickInto(Names()->viewport(), cell);
        // A double-click opens the editor on its release.
        m_pointer.Button(true, 0);
        m_pointer.Button(false, 0);
        m_pointer.Button(true, 0);
        m_pointer.Button(false);
        // The editor is deleted when the edit ends.
        QPointer<QLineEdit> editor;
        QTRY_VERIFY((editor = Names()->viewport()->findChild<QLineEdit*>()) != nullptr && editor->isVisible());
        QVERIFY(CurveList()->Editing());
        QTest::keyClicks(editor, QStringLiteral("renamed"));
        W().optTools[1]->click();
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        QTRY_VERIFY(editor.isNull() || !editor->isVisible());
        QVERIFY(!CurveList()->Editing());
        QCOMPARE(S().m_curveController->Curves(1).Name(), QStringLiteral("Second"));
        // The view's keys are no longer silent, and later typing renames
        // nothing.
        m_keys.Tap(XK_s);
        QTRY_VERIFY(W().optTools[0]->isChecked());
        QCOMPARE(S().m_curveController->Curves(1).Name(), QStringLiteral("Second"));
        QCOMPARE(Names()->item(1)->text(), QStringLiteral("Second"));
    }

    void theViewKeepsTheKeysAfterTheLockAndThePreviewButtons_data()
    {
        QTest::addColumn<int>("button");  // -1 the lock box, else the preview button
        QTest::newRow("lock") << -1;
        for (int i : {0, 1, 2, 5, 6, 7})
            QTest::newRow(qPrintable(QStringLiteral("button %1").arg(i))) << i;
    }
    void theViewKeepsTheKeysAfterTheLockAndThePreviewButtons()
    {
        QFETCH(int, button);
        Points(3);
        m_window->Parts().viewInput->fSelectView(3);
        ClickInto(W().chkPreviewLock);
        QTRY_VERIFY(Preview().fIsPreviewLocked());
        QVERIFY(ViewHasKeys());
        if (button >= 0) {
            // From the first point, every button moves somewhere or stays.
            ClickInto(W().cmdPreview[static_cast<size_t>(button)]);
            QVERIFY(ViewHasKeys());
        }
        Preview().fPreviewCommand(0);
        QCOMPARE(Preview().fGetPreviewSample(), 0);
        // An arrow steps to the next point.
        m_keys.Tap(XK_Right);
        QTRY_COMPARE(Preview().fGetPreviewControl(), 2);
        // Space plays, Space again stops.
        m_keys.Tap(XK_space);
        QTRY_VERIFY(Preview().fIsPlaying());
        m_keys.Tap(XK_space);
        QTRY_VERIFY(!Preview().fIsPlaying());
    }

    void theKeypadMinusLowersTheSpeed()
    {
        m_window->Parts().viewInput->fSelectView(3);
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        QCOMPARE(S().m_moveSpeed, 1.0f);
        // Once a press: the key's character changes nothing more.
        m_keys.Tap(XK_KP_Subtract);
        QTRY_COMPARE(S().m_moveSpeed, 0.9f);
        m_keys.Tap(XK_KP_Subtract);
        QTRY_COMPARE(S().m_moveSpeed, 0.8f);
        m_keys.Tap(XK_KP_Add);
        QTRY_COMPARE(S().m_moveSpeed, 0.9f);
        QTest::qWait(100);
        QCOMPARE(S().m_moveSpeed, 0.9f);
    }

    void aViewOrToolButtonGivesTheKeysBackToTheView()
    {
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        // Every view kind and every tool of the 2D views.
        for (QToolButton* button : W().optViews) {
            ClickInto(button);
            QVERIFY2(ViewHasKeys(), qPrintable(button->objectName()));
        }
        ClickInto(W().optViews[0]);
        for (QToolButton* button : W().optTools) {
            if (!button->isEnabled())
                continue;
            ClickInto(button);
            QVERIFY2(ViewHasKeys(), qPrintable(button->objectName()));
        }
        // 3D: Z pulls the far plane in, W flies forward.
        ClickInto(W().optViews[3]);
        QTRY_VERIFY(m_window->Parts().viewInput->fIsActiveView3D());
        QVERIFY(ViewHasKeys());
        const float zFar = S().m_camera.ZFar();
        m_keys.Tap(XK_z);
        QTRY_VERIFY(S().m_camera.ZFar() != zFar);
        const auto start = S().m_camera.Position();
        m_keys.Key(XK_w, true);
        QTRY_VERIFY(S().m_camera.Position() != start);
        m_keys.Key(XK_w, false);
        QTRY_VERIFY(!W().tmrViewAutoRefresh->isActive());
        // X-Y: every point selected, the select tool's button clicked,
        // then Delete.
        ClickInto(W().optViews[0]);
        QTRY_VERIFY(!m_window->Parts().viewInput->fIsActiveView3D());
        Points(3);
        QVERIFY(ViewHasKeys());
        m_keys.Key(XK_Control_L, true);
        m_keys.Tap(XK_a);
        m_keys.Key(XK_Control_L, false);
        QTRY_COMPARE(S().m_curveController->CurvesSelectedControlCount(), Main().ControlsCount());
        ClickInto(W().optTools[0]);
        QTRY_VERIFY(W().optTools[0]->isChecked());
        QVERIFY(ViewHasKeys());
        m_keys.Tap(XK_Delete);
        QTRY_COMPARE(Main().ControlsCount(), 0);
    }

private:
    // One hold of W in the 3D view with the server's auto-repeat at a rate
    // (0: off), until it has lasted `holdMs` and, with a rate, the key has
    // repeated for one second: the distance flown a millisecond, and the
    // releases the view heard during the hold.
    struct Hold
    {
        double unitsPerMs = 0.0;
        int upsWhileHeld = 0;
        int downs = 0;
        bool complete = false;  // held as long as asked, then released
    };
    Hold HoldForward(int rate, qint64 holdMs)
    {
        Display* display = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        XKeyboardControl repeat;
        repeat.auto_repeat_mode = rate > 0 ? AutoRepeatModeOn : AutoRepeatModeOff;
        XChangeKeyboardControl(display, KBAutoRepeatMode, &repeat);
        if (rate > 0)
            XkbSetAutoRepeatRate(display, XkbUseCoreKbd, 250, static_cast<unsigned>(1000 / rate));
        XSync(display, False);
        Hold hold;
        int ups = 0;
        QElapsedTimer clock;
        qint64 upAt = 0;
        const auto down = connect(W().oglView, &UCOpenGLView::KeyDown, this, [&](int16_t& key, int16_t&) {
            if (key == 'W' && hold.downs++ == 0)
                clock.start();
        });
        const auto up = connect(W().oglView, &UCOpenGLView::KeyUp, this, [&](int16_t& key, int16_t&) {
            if (key == 'W' && ups++ == 0)
                upAt = clock.elapsed();
        });
        const C3DCamera::Vec3 start = S().m_camera.Position();
        m_keys.Key(XK_w, true);
        const bool held = QTest::qWaitFor(
            [&] { return hold.downs > 0 && clock.elapsed() >= holdMs && (rate == 0 || hold.downs > rate); },
            holdMs + 10000);
        hold.upsWhileHeld = ups;
        m_keys.Key(XK_w, false);
        hold.complete =
            QTest::qWaitFor([&] { return ups > hold.upsWhileHeld && !W().tmrViewAutoRefresh->isActive(); }, 5000) &&
            held;
        disconnect(down);
        disconnect(up);
        const C3DCamera::Vec3 end = S().m_camera.Position();
        const double distance = std::hypot(double(end[0] - start[0]), double(end[1] - start[1]), double(end[2] - start[2]));
        hold.unitsPerMs = upAt > 0 ? distance / static_cast<double>(upAt) : 0.0;
        return hold;
    }

private slots:
    void aHeldKeyFliesAsFastWithAutoRepeat()
    {
        Display* display = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        XKeyboardState keyboard;
        XGetKeyboardControl(display, &keyboard);
        unsigned delay = 0;
        unsigned interval = 0;
        XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval);
        auto restore = qScopeGuard([&] {
            XKeyboardControl back;
            back.auto_repeat_mode = keyboard.global_auto_repeat;
            XChangeKeyboardControl(display, KBAutoRepeatMode, &back);
            XkbSetAutoRepeatRate(display, XkbUseCoreKbd, delay, interval);
            XFlush(display);
        });
        m_window->Parts().viewInput->fSelectView(3);
        ClickIntoView();
        QVERIFY(ViewHasKeys());
        // As long as a user holds a key to fly across a map.
        constexpr qint64 holdMs = 5000;
        const Hold off = HoldForward(0, holdMs);
        QVERIFY(off.complete);
        QCOMPARE(off.upsWhileHeld, 0);
        QVERIFY(off.unitsPerMs > 0.0);
        for (int rate : {25, 50}) {
            const Hold on = HoldForward(rate, holdMs);
            // The server repeats a held key after its delay: none of the
            // repeats ends the flight or slows it.
            QVERIFY2(on.complete && on.downs > rate, qPrintable(QString::number(on.downs)));
            QCOMPARE(on.upsWhileHeld, 0);
            QVERIFY2(std::abs(on.unitsPerMs / off.unitsPerMs - 1.0) <= 0.02,
                     qPrintable(QStringLiteral("%1/s: %2 units/ms, off %3").arg(rate).arg(on.unitsPerMs).arg(off.unitsPerMs)));
        }
        QCOMPARE(S().m_camera.Dist(1), 0.0f);
    }
};

QTEST_MAIN(TstViewFocus)
#include "tst_ViewFocus.moc"
