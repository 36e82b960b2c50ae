// The recent-files list on a real menu: where its items go, what they show
// and which index a click gives.
#include "CRecentFile.h"
#include "MenuItemArray.h"
#include "RuvError.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QString kKey = QStringLiteral("HKCU\\Software\\Viziviz\\Ruvadir\\Test");

void ExpectError(int32_t number, const std::function<void()>& call)
{
    try {
        call();
        QFAIL("no error raised");
    } catch (const RuvError& e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.source(), QStringLiteral("MenuItemArray"));
    }
}

} // namespace

class TestMenuItemArray : public QObject
{
    Q_OBJECT

    QTemporaryDir m_store;

private slots:
    void initTestCase() { qputenv("RUVADIR_REGISTRY", m_store.path().toUtf8()); }

    void slotsStayBetweenTheSeparatorAndQuit()
    {
        QMenu menu;
        QAction* open = menu.addAction(QStringLiteral("&Open..."));
        QAction* separator = menu.addSeparator();
        QAction* quit = menu.addAction(QStringLiteral("&Quit"));
        auto items = std::make_unique<MenuItemArray>(&menu, separator);
        QCOMPARE(items->Caption(0), QStringLiteral("-"));
        CRecentFile list;
        QVERIFY(list.Init(items.get(), kKey, 3));
        QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 6);
        QCOMPARE(actions.front(), open);
        QCOMPARE(actions[1], separator);
        QCOMPARE(actions.back(), quit);
        // Nothing listed yet: the separator and the empty slots are hidden.
        for (int i = 1; i <= 4; ++i)
            QVERIFY(!actions[i]->isVisible());

        list.Add(QStringLiteral("Tom & Jerry"), QStringLiteral("/p/tj.rpj"), true);
        list.Add(QStringLiteral("b"), QStringLiteral("/p/b.rpj"), true);
        QVERIFY(separator->isVisible() && separator->isSeparator());
        QCOMPARE(actions[2]->iconText(), QStringLiteral("b"));
        // "&" is shown as typed, not taken as a mnemonic.
        QCOMPARE(actions[3]->iconText(), QStringLiteral("Tom & Jerry"));
        QCOMPARE(items->Caption(2), QStringLiteral("Tom & Jerry"));
        QVERIFY(actions[2]->isVisible() && actions[3]->isVisible());
        // Shifted through hidden items (which Qt disables), they stay enabled.
        QVERIFY(actions[2]->isEnabled() && actions[3]->isEnabled());
        QVERIFY(!actions[4]->isVisible());

        // Fewer slots take items out of the array; more go in before Quit.
        list.SetMax(1);
        QCOMPARE(menu.actions().size(), 4);
        QCOMPARE(menu.actions()[2]->iconText(), QStringLiteral("b"));
        list.SetMax(4);
        actions = menu.actions();
        QCOMPARE(actions.size(), 7);
        QCOMPARE(actions[1], separator);
        QCOMPARE(actions.back(), quit);

        items->SetChecked(1, true);
        QVERIFY(actions[2]->isCheckable() && actions[2]->isChecked());
        items->SetChecked(1, false);
        QVERIFY(!actions[2]->isChecked());

        // The element errors of a control array.
        ExpectError(340, [&] { items->Caption(9); });
        ExpectError(360, [&] { items->Load(1); });
        ExpectError(362, [&] { items->Unload(0); });

        // The array takes its items away with it; the window's stay.
        items.reset();
        QCOMPARE(menu.actions(), QList<QAction*>({open, separator, quit}));
    }

    void aClickGivesTheIndex()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("&Open..."));
        QAction* separator = menu.addSeparator();
        menu.addAction(QStringLiteral("&Quit"));
        MenuItemArray items(&menu, separator);
        CRecentFile list;
        QVERIFY(list.Init(&items, kKey, 10));
        list.Add(QStringLiteral("one"), QStringLiteral("/p/1.rpj"), true);
        list.Add(QStringLiteral("two"), QStringLiteral("/p/2.rpj"), true);
        QSignalSpy spy(&items, &MenuItemArray::Clicked);

        menu.popup(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QAction* second = items.Action(2);
        QVERIFY(second != nullptr);
        const QPoint target = menu.actionGeometry(second).center();
        QTest::mouseClick(&menu, Qt::LeftButton, {}, target);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(items.Tag(2), QStringLiteral("/p/1.rpj"));
    }
};

QTEST_MAIN(TestMenuItemArray)
#include "tst_MenuItemArray.moc"
