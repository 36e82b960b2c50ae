// Balloon and box tips on real windows: the pointer is moved for real
// (QCursor::setPos warps the X pointer), so the enter, move and leave
// events come from the X server as a user's would.
#include "CTooltip.h"

#include <QApplication>
#include <QBitmap>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

namespace
{
// Records when the tip window was shown and hidden, from a common start.
class ShowClock : public QObject
{
public:
    explicit ShowClock(QWidget* tip) { tip->installEventFilter(this); }
    QElapsedTimer clock;
    qint64 shownAt = -1;
    qint64 hiddenAt = -1;
    void Start()
    {
        shownAt = hiddenAt = -1;
        clock.start();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show && shownAt < 0)
            shownAt = clock.elapsed();
        if (e->type() == QEvent::Hide && shownAt >= 0 && hiddenAt < 0)
            hiddenAt = clock.elapsed();
        return false;
    }
};

// Fresh points every time: Qt drops a move to the point it last saw.
int g_step = 0;
void PointAt(QWidget* w, QPoint local)
{
    QCursor::setPos(w->mapToGlobal(local + QPoint(g_step++ % 3, 0)));
}
void PointAway()
{
    QCursor::setPos(QPoint(1200 - g_step++ % 5, 1000));
}

void ShowAt(QWidget& w, QPoint topLeft, QSize size)
{
    w.setGeometry(QRect(topLeft, size));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}
}

class TestTooltip : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        PointAway();
        QTest::qWait(20);
    }

    void createOnceAndItsStoredValues()
    {
        QWidget parent;
        CTooltip tip;
        // Before Create the setters only store.
        tip.SetTitle(QStringLiteral("  Title  "));
        QCOMPARE(tip.Title(), QStringLiteral("Title"));
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_INITIAL), 0);
        tip.SetDelayTime(CTooltip::TTDT_INITIAL, 5);
        QVERIFY(tip.handle() == nullptr);

        QVERIFY(tip.Create(&parent, QStringLiteral("first"), QString(), 300, 20000));
        QWidget* window = tip.handle();
        QVERIFY(window != nullptr);
        QCOMPARE(tip.Title(), QStringLiteral("Title"));
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_INITIAL), 300);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_AUTOPOP), 20000);

        QWidget other;
        QVERIFY(!tip.Create(&other, QStringLiteral("second"), QStringLiteral("T2"), 10, 10));
        QVERIFY(tip.handle() == window);
        QVERIFY(tip.ParentHwnd() == &parent);
        QCOMPARE(tip.Text(), QStringLiteral("first"));
        QCOMPARE(tip.Title(), QStringLiteral("Title"));
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_INITIAL), 300);

        // The defaults follow the double-click time.
        const int base = QApplication::doubleClickInterval();
        tip.SetDefaultDelayTimes();
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_INITIAL), base);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_AUTOPOP), base * 10);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_RESHOW), base / 5);
        tip.SetDelayTime(CTooltip::TTDT_AUTOMATIC, 100);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_INITIAL), 100);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_AUTOPOP), 1000);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_RESHOW), 20);
        tip.SetDefaultDelayTime(CTooltip::TTDT_AUTOPOP);
        QCOMPARE(tip.DelayTime(CTooltip::TTDT_AUTOPOP), base * 10);

        // A tip for no window at all is created too (the main window's
        // seventeenth).
        CTooltip loose;
        QVERIFY(loose.Create(nullptr, QString(), QString(), 300, 20000));
        loose.SetStyle(CTooltip::StyleBalloon);
        QCOMPARE(loose.Style(), CTooltip::StyleBalloon);
    }

    void systemColours()
    {
        const QColor info = QApplication::palette().color(QPalette::Active, QPalette::ToolTipBase);
        const int bgr = info.red() | (info.green() << 8) | (info.blue() << 16);
        QCOMPARE(CTooltip::GetSysColor(CTooltip::SysColorInfoBackground), bgr);
        QCOMPARE(CTooltip::GetSysColor(0xFF), 0xFF);
        QCOMPARE(CTooltip::GetSysColor(0x00123456), 0x00123456);
        QCOMPARE(CTooltip::GetSysColor(static_cast<int32_t>(0x800000FFu)), 0);
    }

    // The grid wrapper's use: a grid, 300 ms, a short visible time, margins.
    void showsAfterTheDelayOverTheGridAndGoesAway()
    {
        QTableWidget grid(4, 3);
        ShowAt(grid, QPoint(100, 100), QSize(320, 200));
        CTooltip tip;
        QVERIFY(tip.Create(&grid, QStringLiteral("Column help"), QString(), 300, 700));
        tip.SetMargin(3, 3, 3, 3);
        ShowClock watch(tip.handle());

        // Over the column header: the header is a child of the grid.
        QHeaderView* header = grid.horizontalHeader();
        watch.Start();
        PointAt(header, QPoint(30, header->height() / 2));
        QTest::qWait(150);
        if (watch.clock.elapsed() < 290)
            QVERIFY(!tip.handle()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        QVERIFY2(watch.shownAt >= 300, qPrintable(QString::number(watch.shownAt)));
        // It stays for its visible time, then goes by itself.
        QTRY_VERIFY_WITH_TIMEOUT(!tip.handle()->isVisible(), 5000);
        QVERIFY2(watch.hiddenAt - watch.shownAt >= 700, qPrintable(QString::number(watch.hiddenAt - watch.shownAt)));
        // Moving about inside does not bring it back ...
        PointAt(grid.viewport(), QPoint(60, 60));
        QTest::qWait(500);
        QVERIFY(!tip.handle()->isVisible());
        // ... leaving and coming back does, over the cells this time.
        PointAway();
        QTest::qWait(50);
        watch.Start();
        PointAt(grid.viewport(), QPoint(80, 40));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        // Leaving hides it at once.
        PointAway();
        QTRY_VERIFY_WITH_TIMEOUT(!tip.handle()->isVisible(), 1000);
        QVERIFY(watch.hiddenAt - watch.shownAt < 700);

        // A click puts it away.
        watch.Start();
        PointAt(grid.viewport(), QPoint(90, 50));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, grid.viewport()->mapTo(&grid, QPoint(91, 50)));
        QTRY_VERIFY_WITH_TIMEOUT(!tip.handle()->isVisible(), 1000);
    }

    void textChangedWhileShown()
    {
        QWidget parent;
        ShowAt(parent, QPoint(200, 150), QSize(200, 100));
        CTooltip tip;
        QVERIFY(tip.Create(&parent, QStringLiteral("One"), QString(), 50, 20000));
        PointAt(&parent, QPoint(50, 50));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        const QSize one = tip.handle()->size();
        tip.SetText(QStringLiteral("A longer first line\r\nand a second one"));
        QVERIFY(tip.handle()->isVisible());
        QVERIFY(tip.handle()->width() > one.width());
        QVERIFY(tip.handle()->height() > one.height());
        tip.SetTitle(QStringLiteral("Title"));
        QVERIFY(tip.handle()->height() > one.height() * 2);
        // An empty text shows nothing; a new text appears at once.
        tip.SetText(QString());
        QVERIFY(!tip.handle()->isVisible());
        tip.SetText(QStringLiteral("Back"));
        QVERIFY(tip.handle()->isVisible());
    }

    void emptyTextShowsNothing()
    {
        QWidget parent;
        ShowAt(parent, QPoint(200, 150), QSize(200, 100));
        CTooltip tip;
        QVERIFY(tip.Create(&parent, QString(), QString(), 50, 20000));
        PointAt(&parent, QPoint(40, 40));
        // The positive case within the same wait: a text given while the
        // pointer rests there shows at once.
        QTest::qWait(300);
        QVERIFY(!tip.handle()->isVisible());
        tip.SetText(QStringLiteral("Now"));
        QVERIFY(tip.handle()->isVisible());
    }

    void centredBelowTheTool_data()
    {
        QTest::addColumn<int>("style");
        QTest::newRow("box") << int(CTooltip::StyleBox);
        QTest::newRow("balloon") << int(CTooltip::StyleBalloon);
    }

    void centredBelowTheTool()
    {
        QFETCH(int, style);
        QWidget parent;
        ShowAt(parent, QPoint(300, 200), QSize(240, 60));
        CTooltip tip;
        tip.SetCentered(true);
        tip.SetStyle(style);
        QVERIFY(tip.Create(&parent, QStringLiteral("Centred"), QString(), 50, 20000));
        PointAt(&parent, QPoint(10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        const QRect tool(parent.mapToGlobal(QPoint(0, 0)), parent.size());
        const QRect shown = tip.handle()->frameGeometry();
        QVERIFY2(qAbs(shown.center().x() - tool.center().x()) <= 1, qPrintable(QString::number(shown.center().x())));
        QCOMPARE(shown.top(), tool.bottom() + 1);

        // Not centred: the tip follows the pointer.
        PointAway();
        QTRY_VERIFY(!tip.handle()->isVisible());
        tip.SetCentered(false);
        PointAt(&parent, QPoint(200, 30));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        QVERIFY(tip.handle()->frameGeometry().left() > tool.center().x());
    }

    void aDestroyedParentIsIgnored()
    {
        auto* parent = new QWidget;
        ShowAt(*parent, QPoint(200, 150), QSize(200, 100));
        CTooltip tip;
        QVERIFY(tip.Create(parent, QStringLiteral("Gone"), QString(), 50, 20000));
        PointAt(parent, QPoint(30, 30));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        delete parent;
        QTRY_VERIFY(!tip.handle()->isVisible());
        QVERIFY(tip.ParentHwnd() == nullptr);
        tip.SetText(QStringLiteral("still here"));
        tip.UpdateToolRectangleSize();
        tip.Redraw();
        QVERIFY(!tip.handle()->isVisible());
    }

    void atTheBottomOfTheScreenTheTipGoesAbove_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("centred");
        QTest::newRow("box") << int(CTooltip::StyleBox) << false;
        QTest::newRow("centred box") << int(CTooltip::StyleBox) << true;
        QTest::newRow("balloon") << int(CTooltip::StyleBalloon) << false;
        QTest::newRow("centred balloon") << int(CTooltip::StyleBalloon) << true;
    }

    void atTheBottomOfTheScreenTheTipGoesAbove()
    {
        QFETCH(int, style);
        QFETCH(bool, centred);
        const QRect screen = QApplication::primaryScreen()->availableGeometry();
        QWidget parent;
        ShowAt(parent, QPoint(400, screen.bottom() - 40), QSize(200, 30));
        CTooltip tip;
        tip.SetStyle(style);
        tip.SetCentered(centred);
        QVERIFY(tip.Create(&parent, QStringLiteral("Above\r\nthe tool"), QStringLiteral("Title"), 50, 20000));
        const QPoint at(60, 15);
        PointAt(&parent, at);
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        const QRect shown = tip.handle()->frameGeometry();
        QVERIFY(shown.bottom() <= screen.bottom());
        const int limit = centred ? parent.mapToGlobal(QPoint(0, 0)).y() : parent.mapToGlobal(at).y() + 1;
        QVERIFY2(shown.bottom() < limit, qPrintable(QStringLiteral("%1 %2").arg(shown.bottom()).arg(limit)));
    }

    void styleAfterCreateRestylesTheWindow()
    {
        QWidget parent;
        ShowAt(parent, QPoint(200, 150), QSize(200, 100));
        CTooltip tip;
        QVERIFY(tip.Create(&parent, QStringLiteral("Shape"), QStringLiteral("Title"), 50, 20000));
        PointAt(&parent, QPoint(30, 30));
        QTRY_VERIFY_WITH_TIMEOUT(tip.handle()->isVisible(), 3000);
        QVERIFY(tip.handle()->mask().isEmpty());
        QPointer<QWidget> window = tip.handle();
        tip.SetStyle(CTooltip::StyleBalloon);
        QVERIFY(tip.handle() == window);
        const QRegion shape = tip.handle()->mask();
        QVERIFY(!shape.isEmpty());
        // Rounded corners and a stem: the corners lie outside the shape,
        // the middle inside.
        const QSize size = tip.handle()->size();
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(size.width() - 1, size.height() - 1)));
        QVERIFY(shape.contains(QPoint(size.width() / 2, size.height() / 2)));
        tip.SetStyle(CTooltip::StyleBox);
        QVERIFY(tip.handle()->mask().isEmpty());
    }
};

QTEST_MAIN(TestTooltip)
#include "tst_CTooltip.moc"
