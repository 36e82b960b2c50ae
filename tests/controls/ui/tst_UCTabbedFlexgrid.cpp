// The tabbed point grid on a real window: tabs, grids and wrappers kept
// together, activation by clicks and keys, row scrolling and its events.

#include "../ErrorNumber.h"
#include "../PointGridColumns.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "RuvError.h"
#include "UCTabbedFlexgrid.h"

#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

C3DCurve MakeCurve(int n)
{
    C3DCurve c;
    for (int i = 1; i <= n; ++i)
        c.AddControl3(10.0f * i, -1.0f * i, 0.5f * i, 0, 0, 0, true);
    return c;
}

constexpr int32_t kControlError = static_cast<int32_t>(0x80040001u);

// The control with the main window's three tabs, shown.
struct Shown
{
    std::unique_ptr<UCTabbedFlexgrid> control = std::make_unique<UCTabbedFlexgrid>();

    bool Start(int height = 300)
    {
        control->StartChange();
        for (int tab = 0; tab < 3; ++tab)
            control->Add(QString::fromLatin1(PointGridColumns::kTabs[tab]), PointGridColumns::Tab(tab));
        control->EndChange();
        control->resize(500, height);
        control->show();
        return QTest::qWaitForWindowExposed(control.get());
    }
    QTabBar& Bar() const { return *control->TabStrip(); }
    // The grid that shows at the middle of the grid area.
    QWidget* Front() const
    {
        const int top = control->TabStrip() ? control->TabStrip()->height() : 0;
        const QPoint middle(control->width() / 2, (top + control->height()) / 2);
        QWidget* w = control->childAt(middle);
        while (w && !qobject_cast<FlexgridEx*>(w))
            w = w->parentWidget();
        return w;
    }
};

} // namespace

class TestUCTabbedFlexgrid : public QObject
{
    Q_OBJECT

    QTemporaryDir registry;

    // With the subclassing library registered or not: the tab strip's
    // press reaches the control either way.
    static void Library(bool registered)
    {
#ifdef RUV_DADAVIVE_PATH
        if (registered)
            QCOMPARE(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
        else
            Com::UnregisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH));
        Com::ComPtr<Dadavive::ICSubclass> sc;
        QCOMPARE(Com::Succeeded(Com::CreateInstance(Dadavive::CLSID_CSubclass, sc)), registered);
        if (sc)
            sc->Terminate();
#else
        if (registered)
            QSKIP("The subclassing library is not built");
#endif
    }

private slots:
    void initTestCase()
    {
        QVERIFY(registry.isValid());
        qputenv("RUVADIR_REGISTRY", registry.path().toLocal8Bit());
    }

    void threeAddsGiveTheTabsTheirKeysAndOneGeometry()
    {
        Shown s;
        QVERIFY(s.Start());
        QCOMPARE(s.control->ItemCount(), 3);
        const std::tuple<int, const char*, const char*> tabs[] = {{1, "", "Base"}, {2, "tab2", "LookAt"},
                                                                  {3, "tab3", "Cmd"}};
        for (int i = 0; i < 3; ++i) {
            const UCTabbedFlexgrid::Tab tab = s.control->Tabs(i);
            QCOMPARE(tab.Index, std::get<0>(tabs[i]));
            QCOMPARE(tab.Key, QString::fromLatin1(std::get<1>(tabs[i])));
            QCOMPARE(tab.Caption, QString::fromLatin1(std::get<2>(tabs[i])));
            QCOMPARE(s.control->Wrappers(i).Grid(), static_cast<IFlexgrid*>(&s.control->Grids(i)));
            QCOMPARE(s.control->Grids(i).geometry(), s.control->Grids(0).geometry());
        }
        QCOMPARE(s.control->Grids(2).Cols(), 3);
        QCOMPARE(s.Front(), &s.control->Grids(0));
        QVERIFY(!s.control->Grids(1).isVisible());
        QVERIFY(s.control->Grids(0).geometry().top() >= s.Bar().geometry().bottom());
        QCOMPARE(s.control->Selected(), nullptr);
        // The grid that gets the focus selects its wrapper.
        s.control->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.control.get()));
        s.control->Grids(0).setFocus();
        QTRY_COMPARE(s.control->Selected(), &s.control->Wrappers(0));
    }

    void clearLeavesOneEmptyTabAndAddReusesTabAndGridZero()
    {
        Shown s;
        QVERIFY(s.Start());
        FlexgridEx* first = &s.control->Grids(0);
        s.control->Clear();
        QCOMPARE(s.control->ItemCount(), 0);
        QCOMPARE(s.Bar().count(), 1);
        QCOMPARE(s.Bar().tabText(0), QString());
        QVERIFY(!first->isVisible());
        QCOMPARE(s.control->Selected(), nullptr);
        QCOMPARE(ErrorNumber([&] { s.control->Grids(0); }), kControlError);
        s.control->Add(QStringLiteral("again"), PointGridColumns::Tab(2));
        QCOMPARE(&s.control->Grids(0), first);
        QCOMPARE(s.control->Tabs(0).Caption, QStringLiteral("again"));
        QCOMPARE(s.control->Grids(0).Cols(), 3);
        QTRY_VERIFY(first->isVisible());
        s.control->Add(QStringLiteral("second"), PointGridColumns::Tab(0));
        QCOMPARE(s.control->Tabs(1).Key, QStringLiteral("tab2"));
    }

    void clicksActivateTheTabUnderThePointer_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("subclass object") << true;
        QTest::newRow("strip's own press") << false;
    }

    void clicksActivateTheTabUnderThePointer()
    {
        QFETCH(bool, library);
        Library(library);
        Shown s;
        QVERIFY(s.Start());
        QTabBar& bar = s.Bar();
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
        QCOMPARE(bar.currentIndex(), 1);
        QCOMPARE(s.Front(), &s.control->Grids(1));
        QCOMPARE(s.control->Selected(), &s.control->Wrappers(1));
        // Right of the last tab: the last one.
        QVERIFY(bar.width() > bar.tabRect(2).right() + 20);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.tabRect(2).right() + 15, bar.height() / 2));
        QCOMPARE(bar.currentIndex(), 2);
        QCOMPARE(s.Front(), &s.control->Grids(2));
        QCOMPARE(s.control->Selected(), &s.control->Wrappers(2));
        // A right click does not activate.
        QTest::mouseClick(&bar, Qt::RightButton, {}, bar.tabRect(0).center());
        QCOMPARE(s.control->Selected(), &s.control->Wrappers(2));
        Library(false);
    }

    void aTabChangedByKeysShowsItsGrid()
    {
        Shown s;
        QVERIFY(s.Start());
        s.Bar().setFocus();
        QTest::keyClick(&s.Bar(), Qt::Key_Right);
        QCOMPARE(s.Bar().currentIndex(), 1);
        QCOMPARE(s.Front(), &s.control->Grids(1));
        QVERIFY(!s.control->Grids(0).isVisible());
        QCOMPARE(s.control->Selected(), &s.control->Wrappers(1));
        QTest::keyClick(&s.Bar(), Qt::Key_Right);
        QCOMPARE(s.Front(), &s.control->Grids(2));
        QTest::keyClick(&s.Bar(), Qt::Key_Left);
        QCOMPARE(s.Front(), &s.control->Grids(1));
    }

    void selectRowScrollsToKeepTheLastRowAtTheBottom()
    {
        const C3DCurve curve = MakeCurve(20);
        struct Case { int room; int row; int top; };
        for (const Case c : {Case{10, 18, 11}, Case{25, 18, 1}, Case{10, 5, 5}, Case{10, 20, 11}}) {
            Shown s;
            QVERIFY(s.Start());
            // Room for `room` data rows under the header row.
            s.control->resize(500, s.Bar().height() + (c.room + 1) * FlexgridEx::RowPixels);
            QCOMPARE(s.control->Grids(0).height(), (c.room + 1) * FlexgridEx::RowPixels);
            s.control->ReloadFlexgrids(&curve);
            s.control->SelectFlexgridsRow(c.row, true);
            QCOMPARE(s.control->Grids(0).TopRow(), c.top);
            QCOMPARE(s.control->Grids(1).Row(), c.row);
            QCOMPARE(s.control->Grids(1).ColSel(), s.control->Grids(1).Cols() - 1);
            s.control->SelectFlexgridsRow(1, false);
            QCOMPARE(s.control->Grids(0).TopRow(), c.top);
        }
    }

    void aReleaseWithoutAPressOnAGridRaisesNothing()
    {
        Shown s;
        QVERIFY(s.Start());
        const C3DCurve curve = MakeCurve(5);
        s.control->ReloadFlexgrids(&curve);
        std::vector<CFlexgridWrapper*> ups;
        connect(s.control.get(), &UCTabbedFlexgrid::WrapperMouseUp, this,
                [&](CFlexgridWrapper& w, int32_t&, int32_t&, float&, float&) { ups.push_back(&w); });
        QWidget* cells = s.control->Grids(0).viewport();
        QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mousePress(&s.Bar(), Qt::LeftButton, {}, s.Bar().tabRect(0).center());
        QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(ups.empty());
        QTest::mouseClick(cells, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(ups, std::vector<CFlexgridWrapper*>{&s.control->Wrappers(0)});
        QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(ups.size(), size_t(1));
    }

    void eventsCarryTheirWrapperOrGrid()
    {
        Shown s;
        QVERIFY(s.Start());
        const C3DCurve curve = MakeCurve(5);
        s.control->ReloadFlexgrids(&curve);
        s.Bar().setCurrentIndex(1);
        FlexgridEx& grid = s.control->Grids(1);
        QStringList seen;
        const auto name = [&](const FlexgridEx& g) {
            for (int i = 0; i < 3; ++i)
                if (&s.control->Grids(i) == &g)
                    return QString::number(i);
            return QStringLiteral("?");
        };
        const auto wname = [&](const CFlexgridWrapper& w) {
            for (int i = 0; i < 3; ++i)
                if (&s.control->Wrappers(i) == &w)
                    return QString::number(i);
            return QStringLiteral("?");
        };
        UCTabbedFlexgrid* c = s.control.get();
        connect(c, &UCTabbedFlexgrid::FlexgridMouseDown, this,
                [&](FlexgridEx& g, int32_t& b, int32_t&, float&, float&) { seen << "down " + name(g) + " " + QString::number(b); });
        connect(c, &UCTabbedFlexgrid::WrapperMouseUp, this,
                [&](CFlexgridWrapper& w, int32_t&, int32_t&, float&, float&) { seen << "up " + wname(w); });
        connect(c, &UCTabbedFlexgrid::FlexgridKeyDown, this, [&](FlexgridEx& g, int16_t& code, int32_t&) {
            seen << "key " + name(g) + " " + QString::number(code);
            if (code == 'Q')
                code = 0; // swallowed: no editor
        });
        connect(c, &UCTabbedFlexgrid::FlexgridKeyUp, this,
                [&](FlexgridEx& g, int16_t& code, int32_t&) { seen << "keyup " + name(g) + " " + QString::number(code); });
        connect(c, &UCTabbedFlexgrid::FlexgridEditGotFocus, this, [&](FlexgridEx& g) { seen << "edit in " + name(g); });
        connect(c, &UCTabbedFlexgrid::FlexgridEditLostFocus, this, [&](FlexgridEx& g) { seen << "edit out " + name(g); });
        connect(c, &UCTabbedFlexgrid::WrapperValueChanged, this, [&](CFlexgridWrapper& w) { seen << "value " + wname(w); });

        s.control->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.control.get()));
        const QPoint pitch = grid.visualRect(grid.model()->index(1, 1)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, pitch);
        QTRY_VERIFY(grid.hasFocus());
        QCOMPARE(s.control->Selected(), &s.control->Wrappers(1));
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 2);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_Q);
        QVERIFY(grid.Editor() == nullptr);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_5);
        QTRY_VERIFY(grid.Editor() != nullptr);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_Return);
        QTRY_VERIFY(seen.contains(QStringLiteral("value 1")));
        QCOMPARE(grid.TextMatrix(2, 2), QStringLiteral("5"));
        QTRY_VERIFY(seen.contains(QStringLiteral("edit out 1")));
        // Keys typed into the editor are the editor's.
        QCOMPARE(seen.mid(0, 8), (QStringList{"down 1 1", "up 1", "key 1 81", "keyup 1 81", "key 1 53",
                                              "edit in 1", "edit out 1", "value 1"}));

    }

    void lockChangeBracketsAndEditBeforeEnterReachEveryGrid()
    {
        Shown s;
        QVERIFY(s.Start());
        const C3DCurve curve = MakeCurve(5);
        s.control->ReloadFlexgrids(&curve);
        s.control->LockFlexgridEdition(true);
        s.control->StartFlexgridsChange();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(s.control->Grids(i).EditLocked());
            QVERIFY(!s.control->Grids(i).DrawingEnabled());
        }
        s.control->EndFlexgridsChange(true);
        s.control->LockFlexgridEdition(false);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!s.control->Grids(i).EditLocked());
            QVERIFY(s.control->Grids(i).DrawingEnabled());
        }
        // The Cmd tab's time column is read-only: its wrapper refuses the
        // editor, the command column takes it.
        FlexgridEx& cmd = s.control->Grids(2);
        s.Bar().setCurrentIndex(2);
        s.control->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.control.get()));
        cmd.setFocus();
        QTRY_VERIFY(cmd.hasFocus());
        cmd.SetRow(2);
        cmd.SetCol(1);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_F2);
        QVERIFY(cmd.Editor() == nullptr);
        cmd.SetCol(2);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_F2);
        QTRY_VERIFY(cmd.Editor() != nullptr);
        QTest::keyClick(s.control->windowHandle(), Qt::Key_Escape);

        const int32_t ids[] = {1, -1, 25};
        s.control->UpdateFlexgridCells(&curve, 2, ids);
        s.control->UpdateFlexgridColumn(&curve, 21);
        s.control->ClearFlexgridsSelection();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(s.control->Grids(i).Row(), 0);
    }

    void theTwentyFirstAddAndInvalidIndexesAreRefused()
    {
        UCTabbedFlexgrid control;
        for (int i = 0; i < UCTabbedFlexgrid::MaxItems; ++i)
            control.Add(QStringLiteral("t%1").arg(i), PointGridColumns::Tab(i % 3));
        QString text;
        QString source;
        QCOMPARE(ErrorNumber([&] { control.Add(QStringLiteral("one more"), PointGridColumns::Tab(0)); }, &text,
                             &source),
                 kControlError);
        QCOMPARE(text, QStringLiteral("No more slot is available. Cannot add a new item."));
        QCOMPARE(source, QStringLiteral("UCTabbedFlexgrid.Add"));
        QCOMPARE(control.ItemCount(), 20);
        QCOMPARE(control.TabStrip()->count(), 20);
        QCOMPARE(control.Tabs(19).Key, QStringLiteral("tab20"));

        const std::pair<int, std::function<void()>> bad[] = {
            {-1, [&] { control.Tabs(-1); }},    {20, [&] { control.Wrappers(20); }},
            {25, [&] { control.Grids(25); }},   {20, [&] { control.Remove(20); }},
        };
        for (const auto& [index, f] : bad) {
            QCOMPARE(ErrorNumber(f, &text, &source), kControlError);
            QCOMPARE(text, QStringLiteral("Invalid index : %1").arg(index));
            QCOMPARE(source, QStringLiteral("UCTabbedFlexgrid"));
        }
    }

    void refusedColumnsLeaveTheControlAsItWas()
    {
        UCTabbedFlexgrid control;
        const CFlexgridWrapper::Columns one{CFlexgridColumn::NewColumn(QStringLiteral("n"), 4, 8, 29, -1, true, -1, 1)};
        CFlexgridWrapper::Columns twice = PointGridColumns::Tab(1);
        twice.push_back(CFlexgridColumn::NewColumn(QStringLiteral("x again"), 4, 8, 59, 22, false, 2, 4));
        QCOMPARE(ErrorNumber([&] { control.Add(QStringLiteral("bad"), one); }), kControlError);
        QCOMPARE(control.ItemCount(), 0);
        QCOMPARE(control.TabStrip()->tabText(0), QString());
        control.Add(QStringLiteral("Base"), PointGridColumns::Tab(0));
        QCOMPARE(ErrorNumber([&] { control.Add(QStringLiteral("bad"), twice); }), RuvError::DuplicateKey);
        QCOMPARE(control.ItemCount(), 1);
        QCOMPARE(control.TabStrip()->count(), 1);
        control.Add(QStringLiteral("Cmd"), PointGridColumns::Tab(2));
        QCOMPARE(control.Tabs(1).Key, QStringLiteral("tab2"));
        QCOMPARE(control.Wrappers(1).Grid(), static_cast<IFlexgrid*>(&control.Grids(1)));
    }

    void removeKeepsTabGridAndWrapperTogether()
    {
        Shown s;
        QVERIFY(s.Start());
        FlexgridEx* cmd = &s.control->Grids(2);
        CFlexgridWrapper* cmdWrapper = &s.control->Wrappers(2);
        s.Bar().setCurrentIndex(1);
        s.control->Remove(1);
        QCOMPARE(s.control->ItemCount(), 2);
        QCOMPARE(s.control->Tabs(1).Caption, QStringLiteral("Cmd"));
        QCOMPARE(&s.control->Grids(1), cmd);
        QCOMPARE(&s.control->Wrappers(1), cmdWrapper);
        QCOMPARE(cmdWrapper->Grid(), static_cast<IFlexgrid*>(cmd));
        QCOMPARE(s.Front(), &s.control->Grids(s.Bar().currentIndex()));
        s.control->Remove(0);
        QCOMPARE(&s.control->Grids(0), cmd);
        QCOMPARE(s.control->Tabs(0).Caption, QStringLiteral("Cmd"));
        s.control->Remove(0);
        QCOMPARE(s.control->ItemCount(), 0);
        QCOMPARE(s.Bar().count(), 1);
        QCOMPARE(s.Bar().tabText(0), QString());
    }

    void aDestroyedGridIsLetGo()
    {
        Shown s;
        QVERIFY(s.Start());
        CFlexgridWrapper& wrapper = s.control->Wrappers(1);
        delete &s.control->Grids(1);
        QCOMPARE(wrapper.Grid(), nullptr);
        QCOMPARE(wrapper.ColumnCount(), 0);
        const C3DCurve curve = MakeCurve(4);
        s.control->ReloadFlexgrids(&curve);
        s.control->SelectFlexgridsRow(2, true);
        s.control->StartFlexgridsChange();
        s.control->EndFlexgridsChange(true);
        s.Bar().setCurrentIndex(1);
        QCOMPARE(s.control->Grids(0).Rows(), 5);
        QCOMPARE(ErrorNumber([&] { s.control->Grids(1); }), kControlError);
        s.control->Clear();
    }

    void aDestroyedTabStripIsLetGo()
    {
        Shown s;
        QVERIFY(s.Start());
        delete s.control->TabStrip();
        QCOMPARE(s.control->TabStrip(), nullptr);
        s.control->Add(QStringLiteral("more"), PointGridColumns::Tab(0));
        QCOMPARE(s.control->ItemCount(), 4);
        QCOMPARE(s.control->Tabs(3).Index, 4);
        s.control->resize(450, 260);
        QCOMPARE(s.control->Grids(3).geometry(), QRect(0, 0, 450, 260));
        QCOMPARE(s.Front(), &s.control->Grids(0));
        s.control->Remove(1);
        s.control->Clear();
        QCOMPARE(s.control->ItemCount(), 0);
    }

    void layoutWaitsForTheEndOfAChange()
    {
        Shown s;
        QVERIFY(s.Start());
        const QRect before = s.control->Grids(0).geometry();
        s.control->StartChange();
        s.control->resize(300, 200);
        QCOMPARE(s.control->Grids(0).geometry(), before);
        s.control->EndChange();
        QCOMPARE(s.control->Grids(0).width(), 300);
        QCOMPARE(s.control->Grids(2).geometry(), s.control->Grids(0).geometry());
    }
};

QTEST_MAIN(TestUCTabbedFlexgrid)
#include "tst_UCTabbedFlexgrid.moc"
