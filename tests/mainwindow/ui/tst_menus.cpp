// The menu tree of the real window, the steps of opening a menu, Export,
// Quit and the menu shortcut table.

#include "MainWindowHarness.h"

#include "MenuDecorator.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace Harness;

namespace {

// One line per item: name|caption|shortcut|flags|number, flags d disabled,
// h hidden, c checkable, x checked; "-" stands for a separator's caption.
QString Describe(QAction* a)
{
    QString flags;
    // Qt disables what it hides.
    if (!a->isEnabled() && a->isVisible())
        flags += QLatin1Char('d');
    if (!a->isVisible())
        flags += QLatin1Char('h');
    if (a->isCheckable())
        flags += a->isChecked() ? QStringLiteral("cx") : QStringLiteral("c");
    const QVariant number = a->property(MenuDecorator::ItemNumberProperty);
    return QStringList{a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->text(),
                       a->shortcut().toString(), flags, number.isValid() ? number.toString() : QString()}
        .join(QLatin1Char('|'));
}

void DescribeMenu(QMenu* menu, QStringList& lines)
{
    lines << Describe(menu->menuAction());
    for (QAction* a : menu->actions()) {
        // The recent projects' slots (tested with the settings).
        if (a->objectName().isEmpty() && !a->isSeparator())
            continue;
        if (a->menu())
            DescribeMenu(a->menu(), lines);
        else
            lines << Describe(a);
    }
}

}  // namespace

class TstMenus : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    QMenu* Menu(const char* name) { return m_window->Menus().Menu(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        m_dialogs = std::make_shared<RecordingDialogs>();
        QVERIFY(StartActive(m_window, Services(m_dialogs), m_fake));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }

    void theTreeInOrder()
    {
        QStringList lines;
        for (QAction* top : m_window->menuBar()->actions())
            DescribeMenu(top->menu(), lines);
        DescribeMenu(Menu("mnuViewPreset"), lines);
        DescribeMenu(Menu("mnuAviDemo"), lines);
        // The states as the start-up's new project leaves them: no point
        // yet, the first view (a 2D one) active.
        const QStringList expected = {
            "mnuTrace|&File|||1",
            "mnuT_New|&New|Ctrl+N|d|2",
            "mnuT_Open|&Open...|Ctrl+O||3",
            "mnuT_Save|&Save...|Ctrl+S|d|4",
            "|-|||5",
            "mnuT_Notes|Notes|||6",
            "mnuT_Export|&Export...|Ctrl+E|d|7",
            "mnuT_RecentFiles(0)|-||h|8",
            "|-|||9",
            "mnuT_Quit|&Quit|Ctrl+Q||10",
            "mnuEdit|&Edit|||11",
            "mnuE_Undo|&Undo|Ctrl+Z|d|12",
            "mnuE_Redo|&Redo|Ctrl+Y|d|13",
            "|-|||14",
            "mnuE_SelectAll|&Select all||d|15",
            "mnuE_DeselectAll|&Deselect all||d|16",
            "mnuGame|Gam&e|||17",
            "mnuG_ModRoot|&Mod|||18",
            "mnuGM_Mod(0)|ET Pro||cx|19",
            "mnuGM_Mod(1)|DeFrag||c|",
            "mnuGM_Mod(2)|Warsow||c|",
            "mnuGM_Mod(3)|RTCW||c|",
            "mnuGM_Mod(4)|ET QW||c|",
            "mnuG_Sep1|-|||20",
            "mnuG_Preference|S&ettings|||21",
            "mnuMap|&Map|||22",
            "mnuMapName|||h|23",
            "mnuMapNameSep|-||h|24",
            "mnuMapNone|&None||d|25",
            "mnuMapLoad|Lo&ad...|Ctrl+B||26",
            "mnuMapMagnetize|&Magnetize||dc|27",
            "mnuMap_ClusterVisibilityState|&Cluster check|Ctrl+F1|hcx|28",
            "mnuMap_WireframeOnly|W&ireframe|Ctrl+F2|hc|29",
            "mnuDisplay|Displ&ay|||30",
            "mnuV_Refresh|&Refresh|Ctrl+F5||31",
            "|-|||32",
            "mnuV_ShowGrid|&Grid|Ctrl+F6|c|33",
            "mnuV_AntiAliasing|Ant&ialiasing|Ctrl+F7|c|34",
            "mnuV_ShowRulers|Rul&er|Ctrl+F8|c|35",
            "|-|||36",
            "mnuV_MenuTheme|&Menu|||37",
            "mnuVMT_Standard|&Standard||c|38",
            "mnuVMT_Gradient|&Gradient||c|39",
            "mnuVMT_Flat|&Flat||cx|40",
            "|-|||41",
            "mnuV_Language|&Language|||42",
            "mnuVL_Lang(0)|E&nglish||cx|43",
            "mnuVL_Lang(1)|&Français||c|44",
            "mnuVL_Lang(2)|&Deutsch||c|45",
            "mnuHelp|&?|||46",
            "mnuH_CheckForUpdate|Check fo&r update...|||47",
            "|-|||48",
            "mnuH_About|Ab&out...|||49",
            "mnuViewPreset||||50",
            "mnuVP_Save|Save|||51",
            "mnuVP_Clear|Clear|||52",
            "mnuAviDemo||||53",
            "mnuAD_SetAsDefault|Set as default||c|54",  // checked by the frame-rate handler
            "|-|||55",
            "mnuAD_Remove|Remove|||56",
        };
        if (lines != expected)
            qDebug().noquote() << lines.join(QLatin1Char('\n'));
        QCOMPARE(lines, expected);
    }

    void exportTellsItIsDisabledAndItsShortcutIsInert()
    {
        QAction* exportItem = m_window->Menus().Action(QStringLiteral("mnuT_Export"));
        m_dialogs->boxes.clear();
        // Were it enabled, Ctrl+E would tell so...
        exportItem->setEnabled(true);
        QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
        QTRY_COMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("Disabled feature"));
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Ruvadir"));
        QCOMPARE(m_dialogs->boxes[0].style, 0);
        // ... as it stands, nothing happens.
        exportItem->setEnabled(false);
        QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
        QTest::qWait(100);
        QCOMPARE(m_dialogs->boxes.size(), 1);
    }

    void openingAMenuRunsItsSteps_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("File") << "mnuTrace" << QStringList{"ReleaseLock"};
        QTest::newRow("Edit") << "mnuEdit" << QStringList{"StopPlayback"};
        QTest::newRow("Game") << "mnuGame" << QStringList{"ReleaseLock"};
        QTest::newRow("Map") << "mnuMap" << QStringList{"StopPlayback"};
        QTest::newRow("Display") << "mnuDisplay" << QStringList{};
        QTest::newRow("Help") << "mnuHelp" << QStringList{"StopPlayback"};
    }
    void openingAMenuRunsItsSteps()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, steps);
        FrmMain* w = m_window.get();
        QVERIFY(Activate(w));
        w->Widgets().tabControl->setCurrentIndex(0);
        QLineEdit* factor = w->Widgets().txtCFactor;
        // The box takes the focus anew: its text is kept then, and selected.
        factor->clearFocus();
        QTRY_VERIFY(!factor->hasFocus());
        factor->setFocus();
        QTRY_VERIFY(factor->hasFocus());
        QTest::keyClicks(factor, QStringLiteral("12"));
        QCOMPARE(factor->text(), QStringLiteral("12"));
        QVERIFY(w->State().m_inputEditing);
        m_fake.playing = true;
        m_fake.calls.clear();

        QMenuBar* bar = w->menuBar();
        QMenu* opened = w->Menus().Menu(menu);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(opened->menuAction()).center());
        QTRY_VERIFY(opened->isVisible());
        QCOMPARE(factor->text(), QStringLiteral("0.00"));
        QCOMPARE(m_fake.calls, steps);
        opened->close();
        QTRY_VERIFY(!opened->isVisible());
        m_fake.playing = false;
    }

    void menuShortcutsAreTheTablesKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("isShortcut");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << ctrl << true;
        QTest::newRow("Ctrl+F5") << int(Qt::Key_F5) << ctrl << true;
        QTest::newRow("Ctrl+F8") << int(Qt::Key_F8) << ctrl << true;
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << true;
        QTest::newRow("Ctrl+F3") << int(Qt::Key_F3) << ctrl << false;
        QTest::newRow("Ctrl+F9") << int(Qt::Key_F9) << ctrl << false;
        QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << false;
        QTest::newRow("F5") << int(Qt::Key_F5) << 0 << false;
        QTest::newRow("Ctrl+M") << int(Qt::Key_M) << ctrl << false;
        QTest::newRow("Ctrl+Shift+N") << int(Qt::Key_N) << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    }
    void menuShortcutsAreTheTablesKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, isShortcut);
        const MenuDecoration& decoration = *m_window->Parts().menuDecoration;
        QCOMPARE(decoration.fIsMenuShortcut(QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key))),
                 isShortcut);
    }

    void quitAsksToCloseTheWindow()
    {
        m_window->Menus().Action(QStringLiteral("mnuT_Quit"))->trigger();
        QTRY_VERIFY(m_window->IsClosedDown());
        QVERIFY(!m_window->isVisible());
    }
};

QTEST_MAIN(TstMenus)
#include "tst_menus.moc"
