// The real window's layout: the view's size at the smallest window, the 3D
// view's ratios, expanding the view over the right panel, the resize that
// stops the preview, the window's own shortcut keys typed for real, and the
// tab pages.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "UCOpenGLView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

using namespace Harness;

class TstMainLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    MainWidgets& W() { return m_window->Widgets(); }
    MainState& State() { return m_window->State(); }
    IMainLayout& Layout() { return *m_window->Parts().layout; }
    QSize ViewSize() { return W().oglView->size(); }
    QWidget* Central() { return W().central; }
    QWindow* GLView() { return W().oglView->GLWindow(); }

    // Sizes the window so that its central area is `inner`.
    void SetInner(const QSize& inner)
    {
        const QSize extra = m_window->size() - Central()->size();
        m_window->resize(inner + extra);
        QTRY_COMPARE(Central()->size(), inner);
    }
    // The expand box's strip: 6 pixels, or its whole check box when wider.
    int ExpandWidth() { return W().chkExpand->width(); }
    // The area the view may take with the right panel shown.
    QSize Available()
    {
        return {Central()->width() - 11 - W().tabControl->width() - ExpandWidth(), Central()->height() - 90};
    }
    int32_t ActiveTool()
    {
        for (size_t i = 0; i < W().optTools.size(); ++i)
            if (W().optTools[i]->isChecked())
                return static_cast<int32_t>(i);
        return -1;
    }
    void FocusView()
    {
        m_window->Parts().viewInput->fSelectView(State().m_activeViewIndex);
        W().oglView->setFocus();
        QTRY_VERIFY(W().oglView->hasFocus());
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        m_dialogs = std::make_shared<RecordingDialogs>();
        m_fake = FakeState();
        QVERIFY(StartActive(m_window, Services(m_dialogs), m_fake));
    }
    void cleanup() { m_window.reset(); }

    void theSmallestWindowKeepsTheViewAndThePanelAtTheirMinimum()
    {
        m_window->resize(100, 100);
        QTRY_COMPARE(m_window->size(), QSize(520, 513));
        // The window's smallest size holds its menu and status bars: the
        // central area keeps a little more than the view's lowest height.
        QTRY_COMPARE(ViewSize(), QSize(502, std::max(377, Central()->height() - 90)));
        QCOMPARE(W().fraRight->width(), 479);
        QVERIFY(W().fraRight->isVisible());
        // The right panel starts beside the expand box.
        QCOMPARE(W().fraRight->x(), W().chkExpand->x() + ExpandWidth());
        // Lower areas keep the view's lowest size.
        auto& layout = dynamic_cast<MainLayout&>(Layout());
        QCOMPARE(layout.fComputeViewSize(false, 520, 400), QSize(502, 377));
        QCOMPARE(layout.fComputeViewSize(true, 300, 466), QSize(502, 377));
        QCOMPARE(layout.fComputeViewSize(true, 300, 468), QSize(502, 378));
    }

    void theRatioShapesOnlyThe3DView()
    {
        // An area in which 4:3 is bound by the height and 16:9 by the width.
        SetInner(QSize(W().tabControl->width() + 11 + ExpandWidth() + 700, 590));
        QCOMPARE(Available(), QSize(700, 500));
        struct Row
        {
            int32_t index;
            QSize view;
        };
        const Row rows[] = {{2, {700, 394}}, {1, {667, 500}}, {0, {700, 500}}, {3, {700, 437}}};
        m_window->Parts().viewInput->fSelectView(3);
        for (const Row& row : rows) {
            Layout().fSetViewRatioIndex(row.index, false);
            QCOMPARE(ViewSize(), row.view);
            QCOMPARE(W().fraRight->x(), W().chkExpand->x() + ExpandWidth());
        }
        // A 2D view fills the area whatever the ratio, from the switch on.
        Layout().fSetViewRatioIndex(2, false);
        m_window->Parts().viewInput->fSelectView(0);
        QCOMPARE(ViewSize(), QSize(700, 500));
        SetInner(QSize(W().tabControl->width() + 11 + ExpandWidth() + 701, 590));
        QCOMPARE(ViewSize(), QSize(701, 500));
        m_window->Parts().viewInput->fSelectView(3);
        QCOMPARE(ViewSize(), QSize(701, 394));
    }

    void aChosenRatioMarksAProjectWithPoints()
    {
        State().m_mainCurve->AddControl3(0, 0, 0, 0, 0, 0, false);
        State().m_projectModified = false;
        Layout().fSetViewRatioIndex(2, true);
        QVERIFY(!State().m_projectModified);
        // Chosen again, as by the user: the click runs although nothing changes.
        Layout().fSetViewRatioIndex(2, false);
        QVERIFY(State().m_projectModified);
        // Outside the list: the free ratio.
        Layout().fSetViewRatioIndex(7, true);
        QCOMPARE(Layout().fGetViewRatioIndex(), int16_t(0));
        QCOMPARE(Layout().fGetViewRatio(), 1.0f);
    }

    void expandingHidesTheRightPanel()
    {
        SetInner(QSize(1100, 600));
        QCheckBox* expand = W().chkExpand;
        // Its whole check box shows in its strip.
        QStyleOptionButton option;
        option.initFrom(expand);
        QVERIFY(expand->rect().contains(expand->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, expand)));
        const QPoint middle(3, expand->height() / 2);
        QTest::mouseClick(expand, Qt::LeftButton, {}, middle);
        QVERIFY(expand->isChecked());
        QVERIFY(!W().fraRight->isVisible());
        QCOMPARE(ViewSize(), QSize(1100 - 8 - ExpandWidth(), 510));
        QTest::mouseClick(W().chkExpand, Qt::LeftButton, {}, QPoint(3, W().chkExpand->height() / 2));
        QVERIFY(!expand->isChecked());
        QVERIFY(W().fraRight->isVisible());
        QCOMPARE(ViewSize(), Available());
    }

    void aResizeStopsThePreviewARatioChangeDoesNot()
    {
        m_fake.playing = true;
        m_window->Parts().viewInput->fSelectView(3);
        Layout().fSetViewRatioIndex(2, false);
        QVERIFY(!m_fake.calls.contains(QStringLiteral("StopPlayback")));
        SetInner(Central()->size() + QSize(30, 20));
        QVERIFY(m_fake.calls.contains(QStringLiteral("StopPlayback")));
    }

    void theWindowsKeysTypedForReal()
    {
        C3DCurve& curve = *State().m_mainCurve;
        curve.AddControl3(0, 0, 0, 0, 0, 0, false);
        curve.AddControl3(100, 50, 0, 0, 0, 0, false);
        m_window->Parts().viewInput->fSelectView(0);
        QVERIFY(W().optTools[0]->isEnabled());

        // Ctrl+A selects every point, but not in the 3D view.
        m_window->Parts().viewInput->fSelectView(3);
        FocusView();
        QTest::keyClick(GLView(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(State().m_curveController->CurvesSelectedControlCount(), 0);
        m_window->Parts().viewInput->fSelectView(0);
        FocusView();
        QTest::keyClick(GLView(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(State().m_curveController->CurvesSelectedControlCount(), 2);

        // The tool keys, B even while its button is disabled.
        struct Row
        {
            Qt::Key key;
            int32_t tool;
        };
        for (const Row& row : {Row{Qt::Key_S, 0}, Row{Qt::Key_T, 2}, Row{Qt::Key_B, 1}}) {
            QTest::keyClick(GLView(), row.key);
            QCOMPARE(ActiveTool(), row.tool);
        }
        W().optTools[2]->setEnabled(false);
        QTest::keyClick(GLView(), Qt::Key_T);
        QCOMPARE(ActiveTool(), 1);
        QTest::keyClick(GLView(), Qt::Key_S);
        W().optTools[1]->setEnabled(false);
        QTest::keyClick(GLView(), Qt::Key_B);
        QCOMPARE(ActiveTool(), 1);
        W().optTools[1]->setEnabled(true);
        W().optTools[2]->setEnabled(true);

        // Nothing while a box is edited.
        W().optTools[4]->click();
        W().tabControl->setCurrentIndex(0);
        QLineEdit* box = W().txtCFactor;
        m_window->windowHandle()->requestActivate();
        QTRY_COMPARE(QGuiApplication::focusWindow(), m_window->windowHandle());
        box->setFocus();
        QTRY_VERIFY(State().m_inputEditing);
        for (Qt::Key key : {Qt::Key_S, Qt::Key_T, Qt::Key_B}) {
            QTest::keyClick(box, key);
            QCOMPARE(ActiveTool(), 4);
        }

        // The letters typed make no factor: Escape brings the box's number
        // back, or the box would keep the keyboard.
        QTest::keyClick(box, Qt::Key_Escape);

        // Ctrl+M switches the console messages and takes the focus there.
        QCheckBox* messages = W().chkSIncConMsg;
        const bool before = messages->isChecked();
        FocusView();
        QTest::keyClick(GLView(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(messages->isChecked(), !before);
        QTRY_COMPARE(QApplication::focusWidget(), messages);
        QTest::keyClick(messages, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(messages->isChecked(), before);
    }

    void tabPagesOutOfRange()
    {
        QTabWidget* tabs = W().tabControl;
        tabs->setCurrentIndex(2);
        const std::pair<int32_t, int32_t> rows[] = {{-1, 2}, {-5, 0}, {9, 4}, {1, 1}};
        for (const auto& [index, page] : rows) {
            Layout().fSelectTabPage(index);
            QCOMPARE(tabs->currentIndex(), page);
        }
    }
};

QTEST_MAIN(TstMainLayout)
#include "tst_MainLayout.moc"
