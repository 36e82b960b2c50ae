// The point grid on the real window with real clicks and keys: a typed
// value moves its point, a pasted block is one change, Delete and Ctrl+D
// work on rows, a click toggles hide flags and Ctrl+click centres the 2D
// view on the point.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "FlexgridEx.h"
#include "StatusMessages.h"
#include "UCTabbedFlexgrid.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

using namespace Harness;

namespace {

class Changes final : public I3DCurveEvents
{
public:
    void CurveChanged(C3DCurve&) override { ++count; }
    int count = 0;
};

}  // namespace

class TstPointGridPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;
    Changes m_changes;

    MainWidgets& W() { return m_window->Widgets(); }
    C3DCurve& Main() { return *m_window->State().m_mainCurve; }
    FlexgridEx& Grid(int tab) { return W().tabbedFlexgrid->Grids(tab); }
    QString Num(double v, int decimals) { return StatusMessages::fFormatStatusNumber(v, decimals); }

    // The centre of a data cell in the grid's viewport.
    QPoint Cell(FlexgridEx& g, int row, int col)
    {
        return g.visualRect(g.model()->index(row - g.FixedRows(), col - g.FixedCols())).center();
    }
    void ClickCell(FlexgridEx& g, int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, modifiers, Cell(g, row, col));
    }
    // Whole rows first..last of the Base grid, the grid focused.
    void SelectRows(int first, int last)
    {
        FlexgridEx& g = Grid(0);
        ClickCell(g, first, 1);
        g.SetRow(first);
        g.SetCol(1);
        g.SetRowSel(last);
        g.SetColSel(g.Cols() - 1);
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        m_fake = FakeState{};
        QVERIFY(StartActive(m_window, MakeRealServices(), m_fake));
        Main().BeginControlsCountChange();
        for (int i = 0; i < 5; ++i)
            Main().AddControl3(100.0f * static_cast<float>(i), 50.0f, 20.0f, 0.0f, 0.0f, 0.0f, false);
        Main().EndControlsCountChange();
        Main().SetStepRate(25);
        m_window->Parts().pointGrid->fGridReloadCurve();
        m_changes.count = 0;
        Main().AddListener(&m_changes);
        QTRY_VERIFY(Grid(0).isVisible());
    }
    void cleanup()
    {
        if (m_window && m_window->State().m_mainCurve)
            Main().RemoveListener(&m_changes);
        m_window.reset();
        m_store.reset();
    }

    void aTypedValueMovesItsPoint()
    {
        FlexgridEx& g = Grid(0);
        ClickCell(g, 2, 2);
        QCOMPARE(g.Row(), 2);
        // The first key opens the cell's editor, which takes the others.
        QTest::keyClick(&g, Qt::Key_1);
        QTRY_VERIFY(g.Editor() != nullptr);
        QTest::keyClicks(g.Editor(), QStringLiteral("2") + QLocale().decimalPoint() + QStringLiteral("5"));
        QTest::keyClick(g.Editor(), Qt::Key_Return);
        QTRY_COMPARE(Main().GetX(2), 12.5f);
        QCOMPARE(m_changes.count, 1);
        QVERIFY(!m_window->State().m_inputEditing);
    }

    void aPastedBlockIsOneChange()
    {
        FlexgridEx& g = Grid(0);
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n"));
        ClickCell(g, 3, 3);
        QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(Main().GetZ(4), 4.0f);
        QCOMPARE(Main().GetY(3), 1.0f);
        QCOMPARE(Main().GetZ(3), 2.0f);
        QCOMPARE(Main().GetY(4), 3.0f);
        QCOMPARE(m_changes.count, 1);
    }

    void deleteAndCtrlDWorkOnRows()
    {
        SelectRows(2, 3);
        QTest::keyClick(&Grid(0), Qt::Key_Delete);
        QCOMPARE(Main().ControlsCount(), 3);
        QCOMPARE(Main().GetX(2), 300.0f);
        m_window->Parts().pointGrid->fGridReloadCurve();
        SelectRows(1, 1);
        QTest::keyClick(&Grid(0), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(Main().ControlsCount(), 4);
        QCOMPARE(Main().GetX(2), 0.0f);
        QCOMPARE(Grid(0).Row(), 2);
    }

    void aClickTogglesHideAndCtrlClickCentres()
    {
        m_window->Parts().viewInput->fSelectView(0);
        FlexgridEx& g = Grid(0);
        ClickCell(g, 3, 7);
        QCOMPARE(Main().GetHide(3), 1.0f);
        ClickCell(g, 3, 7);
        QCOMPARE(Main().GetHide(3), 0.0f);
        ClickCell(g, 4, 2, Qt::ControlModifier);
        const CView& view = m_window->State().m_views[0];
        QCOMPARE(view.CurrentOrigin(1), 300.0f);
        QCOMPARE(view.CurrentOrigin(2), 50.0f);
        QVERIFY(m_window->State().m_drags.m_showGridSelection);
        QTest::keyClick(&g, Qt::Key_Control);
        QVERIFY(!m_window->State().m_drags.m_showGridSelection);
    }
};

QTEST_MAIN(TstPointGridPanel)
#include "tst_PointGridPanel.moc"
