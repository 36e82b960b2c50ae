// The grid wrapper over a real grid: the main window's Base tab over a
// curve, its texts and colours, and the header tip under real mouse moves.

#include "../PointGridColumns.h"
#include "CFlexgridWrapper.h"
#include "CTooltip.h"
#include "FlexgridEx.h"
#include "MDisplayNumber.h"

#include <QHeaderView>
#include <QImage>
#include <QTest>

class TestCFlexgridWrapperOnAGrid : public QObject
{
    Q_OBJECT

    static C3DCurve MakeCurve(int n)
    {
        C3DCurve c;
        for (int i = 1; i <= n; ++i)
            c.AddControl3(100.5f * i, -20.25f * i, 3.125f * i, 5.0f * i, 10.0f * i, 0, true);
        return c;
    }

private slots:
    void theBaseTabShowsTheCurve()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        FlexgridEx grid;
        CFlexgridWrapper w;
        w.Initialize(&grid, PointGridColumns::Tab(0));
        const C3DCurve curve = MakeCurve(6);
        w.Reload(&curve);
        grid.resize(600, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.Rows(), 7);
        QCOMPARE(grid.horizontalHeaderItem(0)->text(), QStringLiteral("time"));
        QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("n\u00b0"));
        QCOMPARE(grid.verticalHeaderItem(2)->text(), QStringLiteral("  3"));
        const int properties[] = {21, 1, 2, 3, 7, 8, 9, 10, 11};
        const int decimals[] = {3, 2, 2, 2, 2, 3, 0, 2, 0};
        for (int r = 1; r <= 6; ++r)
            for (int k = 0; k < 9; ++k)
                QCOMPARE(grid.item(r - 1, k)->text(),
                         MDisplayNumber::Format(curve.value(r, properties[k]).Number(), decimals[k]));
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("201,00"));
        QCOMPARE(grid.item(0, 2)->text(), QStringLiteral("-20,25"));
        QCOMPARE(grid.columnWidth(1), 59);
        QCOMPARE(grid.verticalHeader()->width(), 29);

        // Nothing selected after the reload: the cells show their colours.
        QApplication::processEvents();
        const QImage shot = grid.grab().toImage();
        const auto cellColour = [&](int row, int col) {
            const QRect r = grid.visualRect(grid.model()->index(row - 1, col - 1));
            return shot.pixelColor(grid.viewport()->mapTo(&grid, r.topLeft() + QPoint(2, 2)));
        };
        for (int col : {1, 5, 9}) {
            QCOMPARE(cellColour(1, col), QColor(224, 222, 220));
            QCOMPARE(cellColour(2, col), QColor(245, 242, 240));
            QCOMPARE(cellColour(5, col), QColor(224, 222, 220));
        }
        QCOMPARE(grid.item(0, 0)->foreground().color(), QColor(41, 40, 40));
        QCOMPARE(grid.palette().color(QPalette::Text), QColor(101, 109, 124));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void theCmdTabGreysItsReadOnlyTime()
    {
        FlexgridEx grid;
        CFlexgridWrapper w;
        w.Initialize(&grid, PointGridColumns::Tab(2));
        C3DCurve curve = MakeCurve(3);
        curve.SetCommand(2, QStringLiteral("say hello"));
        w.Reload(&curve);
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("say hello"));
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(grid.item(r, 0)->foreground().color(), QColor(128, 128, 128));
            QCOMPARE(grid.item(r, 1)->foreground().color(), QColor(41, 40, 40));
        }
    }

    void theHeaderTipFollowsTheRealPointer()
    {
        FlexgridEx grid;
        CFlexgridWrapper w;
        w.Initialize(&grid, PointGridColumns::Tab(0));
        const C3DCurve curve = MakeCurve(6);
        w.Reload(&curve);
        connect(&grid, &FlexgridEx::MouseMove, this,
                [&](int32_t& b, int32_t& s, float& x, float& y) { w.Flexgrid_MouseMove(b, s, x, y); });
        w.SetHeaderTooltips({QStringLiteral("point"), QStringLiteral("time in s"), QStringLiteral("x of the camera")});
        grid.resize(600, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const CTooltip& tip = *w.Tooltip();
        QCOMPARE(tip.ParentHwnd(), static_cast<QWidget*>(&grid));
        QHeaderView* top = grid.horizontalHeader();
        // Fresh points each time: the pointer really moves.
        QTest::mouseMove(top->viewport(), QPoint(top->sectionViewportPosition(0) + 10, 6));
        QTRY_COMPARE(tip.Text(), QStringLiteral("time in s"));
        QTRY_VERIFY(tip.handle() && tip.handle()->isVisible());
        QTest::mouseMove(top->viewport(), QPoint(top->sectionViewportPosition(1) + 12, 8));
        QTRY_COMPARE(tip.Text(), QStringLiteral("x of the camera"));
        // Onto a data row, away from where the tip stands below the pointer.
        QTest::mouseMove(grid.viewport(), QPoint(450, 150));
        QTRY_COMPARE(tip.Text(), QString());
        QVERIFY(!tip.handle()->isVisible());
        QTest::mouseMove(top->viewport(), QPoint(top->sectionViewportPosition(1) + 30, 4));
        QTRY_COMPARE(tip.Text(), QStringLiteral("x of the camera"));
    }
};

QTEST_MAIN(TestCFlexgridWrapperOnAGrid)
#include "tst_CFlexgridWrapper.moc"
