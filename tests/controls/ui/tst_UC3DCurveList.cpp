// The curve list in a real window: layout, scrolling, selection, focus and
// the in-place edits, with real clicks, double-clicks and keys.
#include "MGDI.h"
#include "UC3DCurveList.h"
#include "UC3DCurveOption.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

class TestUC3DCurveList : public QObject
{
    Q_OBJECT

    QWidget* m_window = nullptr;
    UC3DCurveList* m_list = nullptr;
    QLineEdit* m_other = nullptr;

    QListWidget* View(const char* name) const { return m_list->findChild<QListWidget*>(QLatin1String(name)); }
    QFrame* Content() const { return m_list->findChild<QFrame*>(QStringLiteral("fraContent")); }
    QScrollBar* Bar(const char* name) const { return m_list->findChild<QScrollBar*>(QLatin1String(name)); }
    // In row order.
    QList<UC3DCurveOption*> Strips() const
    {
        QList<UC3DCurveOption*> strips = m_list->findChildren<UC3DCurveOption*>();
        std::sort(strips.begin(), strips.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        return strips;
    }
    QStringList Texts(const char* name) const
    {
        QStringList out;
        for (int i = 0; i < View(name)->count(); ++i)
            out << View(name)->item(i)->text();
        return out;
    }

    void Fill(int rows, const QString& stem = QStringLiteral("Curve"))
    {
        m_list->BeginAddItems();
        for (int i = 0; i < rows; ++i)
            m_list->AddItem(stem + QString::number(i), i * 10.0, 2.5, true, i == 0, false, false);
        m_list->EndAddItems();
    }

    static QPoint Cell(QListWidget* view, int row) { return view->visualItemRect(view->item(row)).center(); }
    static void Click(QListWidget* view, int row)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Cell(view, row));
    }
    static QLineEdit* Editor(QListWidget* view)
    {
        QLineEdit* editor = view->viewport()->findChild<QLineEdit*>();
        return editor != nullptr && editor->isVisible() ? editor : nullptr;
    }
    // A double-click starts the edit on the release that follows it.
    static void DoubleClick(QListWidget* view, int row)
    {
        const QPoint at = Cell(view, row);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(Editor(view) == nullptr);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    static void Edit(QListWidget* view, int row, const QString& text)
    {
        DoubleClick(view, row);
        QTRY_VERIFY(Editor(view) != nullptr && Editor(view)->hasFocus());
        QLineEdit* editor = Editor(view);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }
    static void Commit(QListWidget* view)
    {
        QTest::keyClick(Editor(view), Qt::Key_Return);
        QTRY_VERIFY(Editor(view) == nullptr);
    }

private slots:
    void init()
    {
        m_window = new QWidget;
        m_list = new UC3DCurveList(m_window);
        m_list->setGeometry(0, 0, 420, 400);
        m_other = new QLineEdit(m_window);
        m_other->setGeometry(0, 410, 100, 22);
        m_window->resize(440, 440);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_other->setFocus();
        QTRY_VERIFY(m_other->hasFocus());
    }
    void cleanup()
    {
        delete m_window;
        QLocale::setDefault(QLocale::c());
    }

    void anEmptyList()
    {
        QCOMPARE(m_list->ItemCount(), 0);
        QCOMPARE(m_list->SelectedIndex(), -1);
        m_list->SetSelectedIndex(0);
        m_list->SetSelectedIndex(5);
        QCOMPARE(m_list->SelectedIndex(), -1);
        QVERIFY(!Bar("HScroll1")->isVisible() && !Bar("VScroll1")->isVisible());
        // Emptied, the heights and the name width stay as they were.
        Fill(3);
        const QSize frame = Content()->size();
        m_list->Clear();
        QCOMPARE(m_list->ItemCount(), 0);
        QCOMPARE(Content()->size(), frame);
        QCOMPARE(View("lvwItemText")->height(), 3 * UC3DCurveList::RowHeight);
        // Smaller than the frame, it needs both bars and hides their corner.
        m_list->resize(100, 30);
        QVERIFY(Bar("HScroll1")->isVisible() && Bar("VScroll1")->isVisible());
        QVERIFY(m_list->findChild<QWidget*>(QStringLiteral("picCornerMask"))->isVisible());
    }

    void columnsAndRowsFollowTheGeometry()
    {
        Fill(3);
        // The rows are drawn at once, without waiting for the event loop.
        const QImage shot = View("lvwDuration")->grab(QRect(0, 0, 60, 16)).toImage();
        bool inked = false;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                inked = inked || qGray(shot.pixel(x, y)) < 100;
        QVERIFY(inked);
        m_list->AddItem(QStringLiteral("A much longer curve name"), 0, 0, false, false, false, false);
        QCOMPARE(View("lvwStartTime")->geometry(), QRect(1, 0, 77, 64));
        QCOMPARE(View("lvwDuration")->geometry(), QRect(73, 0, 73, 64));
        const QList<UC3DCurveOption*> strips = Strips();
        QCOMPARE(strips.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(strips[i]->geometry(), QRect(144, 1 + 16 * i, 61, 16));
        const int widest = MGDI::DrawTextInRect(QStringLiteral("A much longer curve name"), View("lvwItemText")->font());
        QCOMPARE(View("lvwItemText")->geometry(), QRect(200, 0, widest + 19, 64));
        QCOMPARE(Content()->size(), QSize(200 + widest + 11, 65));
        for (int row = 0; row < 4; ++row)
            QCOMPARE(View("lvwItemText")->visualItemRect(View("lvwItemText")->item(row)).top(), 16 * row);
        QCOMPARE(Texts("lvwStartTime"), QStringList({"0", "10", "20", "0"}));
        QCOMPARE(Texts("lvwDuration"), QStringList({"2.500", "2.500", "2.500", "0.000"}));
        // Clear unloads the later strips and hides the first.
        m_list->Clear();
        QTRY_COMPARE(m_list->findChildren<UC3DCurveOption*>().size(), 1);
        QVERIFY(!m_list->findChild<UC3DCurveOption*>()->isVisible());
    }

    void twentyRowsInALowerControl()
    {
        m_list->resize(420, 150);
        Fill(20);
        QScrollBar* bar = Bar("VScroll1");
        QVERIFY(bar->isVisible());
        QVERIFY(!Bar("HScroll1")->isVisible());
        QCOMPARE(Content()->height(), 20 * 16 + 1);
        QCOMPARE(bar->maximum(), 20 * 16 + 1 - 150);
        m_list->ScrollDown();
        QCOMPARE(bar->value(), bar->maximum());
        // The last row lies inside the control.
        QListWidget* names = View("lvwItemText");
        const QRect last = names->visualItemRect(names->item(19)).translated(names->mapTo(m_list, QPoint(0, 0)));
        QVERIFY(last.top() >= 0 && last.bottom() < 150);
        // Scrolled to the middle, a new row keeps the value's place.
        bar->setValue(85);
        QCOMPARE(Content()->y(), -85);
        const int oldMaximum = bar->maximum();
        m_list->AddItem(QStringLiteral("Curve20"), 0, 0, true, false, false, false);
        QCOMPARE(bar->maximum(), 21 * 16 + 1 - 150);
        QCOMPARE(bar->value(), qRound(static_cast<double>(bar->maximum()) / oldMaximum * 85));
        QCOMPARE(Content()->y(), -bar->value());
        // Tall enough again: no bar, content back at the top.
        m_list->resize(420, 400);
        QVERIFY(!bar->isVisible());
        QCOMPARE(Content()->pos(), QPoint(0, 0));
    }

    void aHorizontalBarMakesRoomForTheLastRow()
    {
        // 3 rows fit the height, not the width: the bar would cover the
        // last row, so the vertical bar comes too.
        Fill(3);
        m_list->resize(150, 3 * 16 + 1 + 5);
        QVERIFY(Bar("HScroll1")->isVisible());
        QVERIFY(Bar("VScroll1")->isVisible());
        QCOMPARE(Bar("VScroll1")->maximum(), 3 * 16 + 1 - (m_list->height() - Bar("HScroll1")->height()));
    }

    void selectionByClicksKeysAndWrites()
    {
        Fill(5);
        QSignalSpy spy(m_list, &UC3DCurveList::SelectedItemChanged);
        Click(View("lvwItemText"), 2);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 2);
        QCOMPARE(m_list->SelectedIndex(), 2);
        // The other views have selections of their own and raise nothing.
        Click(View("lvwStartTime"), 4);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_list->SelectedIndex(), 2);
        QCOMPARE(View("lvwStartTime")->currentRow(), 4);
        // Keys that move the names' selection are the user's choice too.
        Click(View("lvwItemText"), 2);
        spy.clear();
        QTest::keyClick(View("lvwItemText"), Qt::Key_Down);
        QCOMPARE(m_list->SelectedIndex(), 3);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 3);
        QTest::keyClick(View("lvwStartTime"), Qt::Key_Up);
        QCOMPARE(spy.count(), 0);
        // Writes and refills raise nothing.
        m_list->SetSelectedIndex(1);
        QCOMPARE(m_list->SelectedIndex(), 1);
        m_list->SetSelectedIndex(9);
        QCOMPARE(m_list->SelectedIndex(), 0);
        m_list->Clear();
        Fill(5);
        m_list->SetSelectedIndex(4);
        QCOMPARE(spy.count(), 0);
    }

    void theFirstNameCannotBeEdited()
    {
        Fill(3);
        int renames = 0;
        connect(m_list, &UC3DCurveList::CurveNameChanging, this, [&](int32_t, QString&) { ++renames; });
        // Editors open at once, on the release.
        DoubleClick(View("lvwItemText"), 0);
        QVERIFY(Editor(View("lvwItemText")) == nullptr);
        // F2 and typing start nothing either.
        QTest::keyClick(View("lvwItemText"), Qt::Key_F2);
        Click(View("lvwItemText"), 1);
        QTest::keyClick(View("lvwItemText"), Qt::Key_F2);
        QTest::keyClicks(View("lvwItemText"), QStringLiteral("x"));
        QVERIFY(Editor(View("lvwItemText")) == nullptr);
        QCOMPARE(renames, 0);
        // The positive case in the same wait: row 1 opens its editor.
        DoubleClick(View("lvwItemText"), 1);
        QVERIFY(Editor(View("lvwItemText")) != nullptr);
    }

    void aCorrectedNameIsShownAndTheColumnFollowsTheWidest()
    {
        Fill(3);
        connect(m_list, &UC3DCurveList::CurveNameChanging, this, [](int32_t index, QString& name) {
            QCOMPARE(index, 1);
            name = name.toUpper() + QStringLiteral("_CORRECTED_AND_LONGER");
        });
        Edit(View("lvwItemText"), 1, QStringLiteral("path/b"));
        Commit(View("lvwItemText"));
        const QString shown = QStringLiteral("PATH/B_CORRECTED_AND_LONGER");
        QCOMPARE(Texts("lvwItemText"), QStringList({"Curve0", shown, "Curve2"}));
        const QFont font = View("lvwItemText")->font();
        QCOMPARE(View("lvwItemText")->width(), MGDI::DrawTextInRect(shown, font) + 19);
        disconnect(m_list, &UC3DCurveList::CurveNameChanging, this, nullptr);
        // A shorter name narrows the column to the widest left.
        Edit(View("lvwItemText"), 1, QStringLiteral("b"));
        Commit(View("lvwItemText"));
        QCOMPARE(View("lvwItemText")->width(), MGDI::DrawTextInRect(QStringLiteral("Curve0"), font) + 19);
    }

    void typedStartTimesAndDurations()
    {
        Fill(2);
        QList<double> offered;
        double clampTo = -1;
        connect(m_list, &UC3DCurveList::CurveStartTimeChanging, this, [&](int32_t index, double& value) {
            QCOMPARE(index, 1);
            offered << value;
        });
        connect(m_list, &UC3DCurveList::CurveDurationChanging, this, [&](int32_t index, double& value) {
            QCOMPARE(index, 1);
            offered << value;
            if (clampTo >= 0)
                value = clampTo;
        });
        struct Case { const char* typed; double offered; const char* shown; };
        const Case starts[] = {{"12.5", 12.5, "12"}, {"13.5", 13.5, "14"}, {"abc", 0, "0"}, {" 7 ", 7, "7"}};
        for (const Case& c : starts) {
            offered.clear();
            Edit(View("lvwStartTime"), 1, QString::fromLatin1(c.typed));
            Commit(View("lvwStartTime"));
            QCOMPARE(offered, QList<double>({c.offered}));
            QCOMPARE(View("lvwStartTime")->item(1)->text(), QString::fromLatin1(c.shown));
        }
        offered.clear();
        Edit(View("lvwDuration"), 1, QStringLiteral("3"));
        Commit(View("lvwDuration"));
        QCOMPARE(View("lvwDuration")->item(1)->text(), QStringLiteral("3.000"));
        clampTo = 36000;
        Edit(View("lvwDuration"), 1, QStringLiteral("99999"));
        Commit(View("lvwDuration"));
        QCOMPARE(offered, QList<double>({3, 99999}));
        QCOMPARE(View("lvwDuration")->item(1)->text(), QStringLiteral("36000.000"));

        // Under French the comma is shown and read, and "." still reads.
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        clampTo = -1;
        offered.clear();
        Edit(View("lvwDuration"), 1, QStringLiteral("3"));
        Commit(View("lvwDuration"));
        QCOMPARE(View("lvwDuration")->item(1)->text(), QStringLiteral("3,000"));
        Edit(View("lvwDuration"), 1, QStringLiteral("2,5"));
        Commit(View("lvwDuration"));
        Edit(View("lvwDuration"), 1, QStringLiteral("1.25"));
        Commit(View("lvwDuration"));
        QCOMPARE(offered, QList<double>({3, 2.5, 1.25}));
        QCOMPARE(View("lvwDuration")->item(1)->text(), QStringLiteral("1,250"));
        m_list->UpdateItemDuration(0, 0.25);
        m_list->UpdateItemDuration(7, 1);
        QCOMPARE(Texts("lvwDuration"), QStringList({"0,250", "1,250"}));
    }

    void focusInAndOutOfTheViews()
    {
        Fill(3);
        QList<bool> states;
        connect(m_list, &UC3DCurveList::EditingStateChanged, this, [&] { states << m_list->Editing(); });
        Click(View("lvwStartTime"), 0);
        QCOMPARE(states, QList<bool>({true}));
        QTest::mouseClick(m_other, Qt::LeftButton);
        QCOMPARE(states, QList<bool>({true, false}));
        states.clear();
        Click(View("lvwDuration"), 0);
        Click(View("lvwItemText"), 1);
        QCOMPARE(states, QList<bool>({true, false, true}));
        // An edit keeps the list editing; the editor is part of its view.
        DoubleClick(View("lvwItemText"), 1);
        QTRY_VERIFY(Editor(View("lvwItemText")) != nullptr);
        QCOMPARE(states.size(), 3);
        QVERIFY(m_list->Editing());
    }

    void anEditLosingTheFocusIsDropped()
    {
        Fill(3);
        int starts = 0;
        int names = 0;
        connect(m_list, &UC3DCurveList::CurveStartTimeChanging, this, [&](int32_t, double&) { ++starts; });
        connect(m_list, &UC3DCurveList::CurveNameChanging, this, [&](int32_t, QString&) { ++names; });
        Edit(View("lvwStartTime"), 1, QStringLiteral("99"));
        QTest::mouseClick(m_other, Qt::LeftButton);
        QTRY_VERIFY(Editor(View("lvwStartTime")) == nullptr);
        // Escape, a click back into the view and Tab drop it too.
        Edit(View("lvwStartTime"), 2, QStringLiteral("98"));
        QTest::keyClick(Editor(View("lvwStartTime")), Qt::Key_Escape);
        QTRY_VERIFY(Editor(View("lvwStartTime")) == nullptr);
        Edit(View("lvwItemText"), 2, QStringLiteral("renamed"));
        QTest::mouseClick(View("lvwItemText")->viewport(), Qt::LeftButton, {}, Cell(View("lvwItemText"), 0));
        QTRY_VERIFY(Editor(View("lvwItemText")) == nullptr);
        Edit(View("lvwItemText"), 2, QStringLiteral("renamed"));
        QTest::keyClick(Editor(View("lvwItemText")), Qt::Key_Tab);
        QTRY_VERIFY(Editor(View("lvwItemText")) == nullptr);
        QCOMPARE(starts, 0);
        QCOMPARE(names, 0);
        QCOMPARE(Texts("lvwStartTime"), QStringList({"0", "10", "20"}));
        QCOMPARE(Texts("lvwItemText"), QStringList({"Curve0", "Curve1", "Curve2"}));
        // The positive case: Enter commits.
        Edit(View("lvwStartTime"), 1, QStringLiteral("99"));
        Commit(View("lvwStartTime"));
        QCOMPARE(starts, 1);
        QCOMPARE(View("lvwStartTime")->item(1)->text(), QStringLiteral("99"));
    }

    void aRefillNeverTakesTheFocusFromAnotherWidget()
    {
        m_list->resize(420, 60);
        QSignalSpy editing(m_list, &UC3DCurveList::EditingStateChanged);
        Fill(10);
        QVERIFY(Bar("VScroll1")->isVisible());
        m_list->Clear();
        Fill(12);
        QVERIFY(m_other->hasFocus());
        QCOMPARE(editing.count(), 0);
        // A focus already in the list goes to the names.
        Click(View("lvwStartTime"), 0);
        QCOMPARE(editing.count(), 1);
        m_list->AddItem(QStringLiteral("more"), 0, 0, true, false, false, false);
        QVERIFY(View("lvwItemText")->hasFocus());
        QVERIFY(m_list->Editing());
    }

    void optionsOfTheRows()
    {
        m_list->SetOptionTooltips({"path", "arrows", "times", "tangents", "ignored"});
        m_list->SetOptionsInitialEnabledStates({true, false, true});
        Fill(3);
        const QList<UC3DCurveOption*> strips = Strips();
        QSignalSpy spy(m_list, &UC3DCurveList::ItemOptionChanged);
        const QPoint option2(2 * 61 / 4 + 7, 8);
        QTest::mouseClick(strips[2], Qt::LeftButton, {}, option2);
        QTest::mouseClick(strips[2], Qt::LeftButton, {}, QPoint(61 / 4 + 7, 8));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(spy.at(0).at(1).toInt(), 2);
        QVERIFY(strips[2]->IsChecked(2));
        // Later states reach the strips in use.
        m_list->SetOptionsInitialEnabledStates({true, true, true, true});
        QTest::mouseClick(strips[2], Qt::LeftButton, {}, QPoint(61 / 4 + 7, 8));
        QCOMPARE(spy.count(), 2);
        // One option changes, the others stay, no event.
        m_list->UpdateItemTangentVisibilityState(1, true);
        m_list->UpdateItemCurveVisibilityState(1, false);
        m_list->UpdateItemTimeVisibilityState(9, true);
        m_list->UpdateItemArrowVisibilityState(-1, true);
        QCOMPARE(spy.count(), 2);
        QVERIFY(!strips[1]->IsChecked(0));
        QVERIFY(!strips[1]->IsChecked(1));
        QVERIFY(!strips[1]->IsChecked(2));
        QVERIFY(strips[1]->IsChecked(3));
        m_list->UpdateItemArrowVisibilityState(0, false);
        QVERIFY(!strips[0]->IsChecked(1));
    }
};

QTEST_MAIN(TestUC3DCurveList)
#include "tst_UC3DCurveList.moc"
