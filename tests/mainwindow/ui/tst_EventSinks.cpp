// What the window does for the events of the curve controller, the curve
// manager and the frame-rate box, on the real window and the real curves:
// redraw or preview refresh, undo steps, grid reloads, the editing flag,
// and the frame rates' checks and messages.

#include "EditingHarness.h"

#include "UC3DCurveManager.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QtTest>

using namespace Editing;

class TstEventSinks : public QObject
{
    Q_OBJECT

    std::unique_ptr<Window> w;

    CFramerateHandler& Rates() { return *w->window->Controls().mFramerateHandler; }
    QLineEdit* RateBox() { return w->Widgets().cboTFrameRate->lineEdit(); }
    void TypeRate(const QString& text)
    {
        RateBox()->selectAll();
        QTest::keyClicks(RateBox(), text);
        QTest::keyClick(RateBox(), Qt::Key_Return);
    }

private slots:
    void init() { w = std::make_unique<Window>(); }
    void cleanup() { w.reset(); }

    void etqwTakesMultiplesOfThirtyOnly_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("message");
        QTest::newRow("ET QW refuses 25") << 4 << "25" << -1 << "Please enter a multiple of 30.";
        QTest::newRow("ET QW takes 60") << 4 << "60" << 60 << "";
        QTest::newRow("ET Pro takes 25") << 0 << "25" << 25 << "";
        QTest::newRow("a star without a number") << 0 << "*" << -1 << "";
    }
    void etqwTakesMultiplesOfThirtyOnly()
    {
        QFETCH(int, game);
        QFETCH(QString, typed);
        QFETCH(int, rate);
        QFETCH(QString, message);
        w->State().m_activeGame = &w->State().m_games[static_cast<size_t>(game)];
        const int32_t before = w->Main().StepRate();
        TypeRate(typed);
        QCOMPARE(w->Main().StepRate(), rate < 0 ? before : rate);
        if (message.isEmpty()) {
            QVERIFY(w->dialogs->boxes.isEmpty());
        } else {
            QCOMPARE(w->dialogs->boxes.size(), 1);
            QCOMPARE(w->dialogs->boxes[0].prompt, message);
            QCOMPARE(w->dialogs->boxes[0].title, QStringLiteral(" Framerate (cl_AviDemo)"));
            QCOMPARE(w->dialogs->boxes[0].style, 64);
        }
    }

    void aRateAboveTheMaximumKeepsTheOldOne()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        int32_t rate = 25;
        Rates().SelectByValue(rate);
        w->Main().SetStepRate(25);
        w->Main().SetDuration(8000);
        QVERIFY(w->Curves().MaxFramerate() < 30);
        const int before = w->UndoStates();
        // Chosen from the list while the box has the focus: it goes back
        // to the rate it had.
        w->window->show();
        QVERIFY(Harness::Activate(w->window.get()));
        QComboBox* combo = w->Widgets().cboTFrameRate;
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        combo->setCurrentIndex(combo->findText(QStringLiteral("30"), Qt::MatchEndsWith));
        QCOMPARE(Rates().SelectedValue(), 30);
        w->Sinks().mFramerateHandler_ValueChanged(30);
        QCOMPARE(Rates().SelectedValue(), 25);
        QCOMPARE(w->Main().StepRate(), 25);
        QCOMPARE(w->dialogs->boxes.size(), 1);
        QCOMPARE(w->dialogs->boxes[0].prompt,
                 QStringLiteral("Please type a smaller value or decrease the path duration."));
        // Typed: the message, and the curve keeps its rate.
        TypeRate(QStringLiteral("40"));
        QCOMPARE(w->Main().StepRate(), 25);
        QCOMPARE(w->dialogs->boxes.size(), 2);
        QCOMPARE(w->UndoStates(), before);
    }

    void aRateChangeIsOneUndoStep()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->Curves().Add(QStringLiteral("Second"));
        const int before = w->UndoStates();
        TypeRate(QStringLiteral("50"));
        QCOMPARE(w->Main().StepRate(), 50);
        QCOMPARE(w->Curves().Curves(1).StepRate(), 50);
        QCOMPARE(w->UndoStates(), before + 1);
        // The same rate again changes nothing.
        w->Sinks().mFramerateHandler_ValueChanged(50);
        QCOMPARE(w->UndoStates(), before + 1);
    }

    void aLockedPreviewIsRefreshedNotRedrawn()
    {
        w->rec.locked = true;
        int refreshes = w->view->refreshes;
        w->Main().AddControl3(1, 2, 3, 0, 0, 0, false);
        QCOMPARE(w->rec.calls.filter(QStringLiteral("RefreshPreview")).size(), 1);
        QVERIFY(w->rec.calls.contains(QStringLiteral("LockGui:1,0")));
        QCOMPARE(w->view->refreshes, refreshes);
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridReload:Camera path")));
        // Another curve is only redrawn.
        w->rec.calls.clear();
        w->Curves().Add(QStringLiteral("Second")).AddControl3(1, 2, 3, 0, 0, 0, false);
        QVERIFY(!w->rec.calls.contains(QStringLiteral("RefreshPreview")));
        QVERIFY(w->view->refreshes > refreshes);
        // Unlocked, the main curve is redrawn too.
        w->rec.locked = false;
        w->rec.calls.clear();
        refreshes = w->view->refreshes;
        w->Main().TangentSetAll(1);
        QVERIFY(w->view->refreshes > refreshes);
        QVERIFY(!w->rec.calls.contains(QStringLiteral("RefreshPreview")));
    }

    void eachChangeOutsideABracketIsOneUndoStep()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}, {200, 50, 0}});
        int states = w->UndoStates();
        w->Main().TangentSetAll(1);
        QCOMPARE(w->UndoStates(), ++states);
        // Inside a count change the change events wait for its end.
        w->Main().BeginControlsCountChange();
        w->Main().TangentSetAll(1);
        w->Main().AddControl3(5, 5, 5, 0, 0, 0, false);
        QCOMPARE(w->UndoStates(), states);
        w->Main().EndControlsCountChange();
        QCOMPARE(w->UndoStates(), ++states);
        // A quick refresh that stops inside a bracket redraws nothing.
        w->Main().BeginChange();
        w->Main().QuickRefreshStart(false);
        const int refreshes = w->view->refreshes;
        w->Main().QuickRefreshStop();
        QCOMPARE(w->view->refreshes, refreshes);
        w->Main().EndChange();
        QCOMPARE(w->UndoStates(), ++states);
    }

    void theCurveManagersEvents()
    {
        UC3DCurveManager* manager = w->Widgets().cmCurveManager;
        int32_t rate = 75;
        Rates().SelectByValue(rate);
        C3DCurve& added = w->Curves().Add(QStringLiteral("Added"));
        emit manager->CurveAdded(added);
        QCOMPARE(added.StepRate(), 75);
        const int before = w->UndoStates();
        emit manager->CurveStartTimeChanged(added);
        emit manager->CurveDurationChanged(added);
        QCOMPARE(w->UndoStates(), before + 2);
        QVERIFY(w->rec.calls.contains(QStringLiteral("GridColumn:21")));
        w->rec.calls.clear();
        const int refreshes = w->view->refreshes;
        emit manager->SelectedCurveChanged();
        emit manager->CurveOptionChanged(added, 1);
        QCOMPARE(w->rec.calls, QStringList{QStringLiteral("GridReload:*")});
        QCOMPARE(w->view->refreshes, refreshes + 1);
    }

    void aDurationChangeRefreshesTheTimes()
    {
        w->AddPoints(w->Main(), {{0, 0, 0}, {100, 0, 0}});
        w->rec.calls.clear();
        const int refreshes = w->view->refreshes;
        w->Main().SetDuration(5);
        QCOMPARE(w->rec.calls, QStringList{QStringLiteral("GridColumn:21")});
        QCOMPARE(w->view->refreshes, refreshes + 1);
    }

    void theEditingFlagFollowsTheBoxes()
    {
        QVERIFY(!w->State().m_inputEditing);
        emit Rates().EditingChanged(true);
        QVERIFY(w->State().m_inputEditing);
        emit Rates().EditingChanged(false);
        QVERIFY(!w->State().m_inputEditing);
        emit w->Widgets().cmCurveManager->EditingStateChanged();
        QCOMPARE(w->State().m_inputEditing, w->Widgets().cmCurveManager->Editing());
    }

    void projectRatesMarkTheProjectOnlyWithAPoint()
    {
        w->State().m_projectModified = false;
        emit Rates().TraceSpecificValueAdded();
        QVERIFY(!w->State().m_projectModified);
        w->AddPoints(w->Main(), {{0, 0, 0}});
        w->State().m_projectModified = false;
        emit Rates().TraceSpecificValueRemoved();
        QVERIFY(w->State().m_projectModified);
    }

    void theRateMenuOpensAtTheBoxsTopRightCorner()
    {
        w->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w->window.get()));
        emit Rates().RightClick(3, 4);
        QMenu* menu = w->window->Menus().Menu(QStringLiteral("mnuAviDemo"));
        QTRY_VERIFY(menu->isVisible());
        QComboBox* box = w->Widgets().cboTFrameRate;
        const QPoint corner = box->mapToGlobal(QPoint(box->width(), 0));
        // Qt moves it left only when it would leave the screen.
        QCOMPARE(menu->y(), corner.y());
        QVERIFY(menu->x() == corner.x() || menu->geometry().right() >= menu->screen()->geometry().right() - 1);
        menu->hide();
    }
};

QTEST_MAIN(TstEventSinks)
#include "tst_EventSinks.moc"
