// The curve manager in a real window over a real curve controller: buttons,
// selection, renames, typed times and durations, options, and whom it
// listens to.
#include "C3DCurveController.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"
#include "UC3DCurveOption.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <algorithm>
#include <memory>

class TestUC3DCurveManager : public QObject
{
    Q_OBJECT

    std::unique_ptr<C3DCurveController> m_controller;
    std::unique_ptr<QWidget> m_window;
    UC3DCurveManager* m_manager = nullptr;
    QStringList m_events;

    QListWidget* View(const char* name) const { return m_manager->findChild<QListWidget*>(QLatin1String(name)); }
    QPushButton* Button(const char* name) const { return m_manager->findChild<QPushButton*>(QLatin1String(name)); }
    QList<UC3DCurveOption*> Strips() const
    {
        QList<UC3DCurveOption*> strips;
        for (UC3DCurveOption* s : m_manager->findChildren<UC3DCurveOption*>())
            if (s->isVisibleTo(m_manager))
                strips << s;
        std::sort(strips.begin(), strips.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        return strips;
    }
    QStringList Names() const
    {
        QStringList out;
        for (int i = 0; i < View("lvwItemText")->count(); ++i)
            out << View("lvwItemText")->item(i)->text();
        return out;
    }
    int Row(const C3DCurve* curve) const { return m_controller->GetCurveIndex(curve); }
    static bool Flag(const C3DCurve& c, int option)
    {
        switch (option) {
        case 0: return c.IsVisible();
        case 1: return c.ShowArrow();
        case 2: return c.ShowTimes();
        default: return c.ShowTangent();
        }
    }

    static QPoint Cell(QListWidget* view, int row) { return view->visualItemRect(view->item(row)).center(); }
    static void Click(QListWidget* view, int row)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Cell(view, row));
    }
    static void ClickOption(UC3DCurveOption* strip, int option)
    {
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint((2 * option + 1) * strip->width() / 8, strip->height() / 2));
    }
    static void EditAndCommit(QListWidget* view, int row, const QString& text)
    {
        const QPoint at = Cell(view, row);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
        QLineEdit* editor = nullptr;
        QTRY_VERIFY((editor = view->viewport()->findChild<QLineEdit*>()) != nullptr && editor->hasFocus());
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(view->viewport()->findChild<QLineEdit*>() == nullptr ||
                    !view->viewport()->findChild<QLineEdit*>()->isVisible());
    }

    void AddCurves(int count)
    {
        for (int i = 0; i < count; ++i) {
            C3DCurve& curve = m_controller->Add(QStringLiteral("Path"));
            curve.SetStepRate(100);
            curve.AddControl3(0, 0, 0, 0, 0, 0, false);
            curve.AddControl3(100, 0, 0, 0, 0, 0, false);
            curve.AddControl3(200, 50, 0, 0, 0, 0, false);
        }
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    }

    void init()
    {
        m_controller = std::make_unique<C3DCurveController>();
        m_window = std::make_unique<QWidget>();
        m_manager = new UC3DCurveManager(m_window.get());
        m_manager->setGeometry(0, 0, 420, 300);
        auto* other = new QLineEdit(m_window.get());
        other->setObjectName(QStringLiteral("other"));
        other->setGeometry(0, 310, 100, 22);
        m_window->resize(440, 340);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        m_events.clear();
        connect(m_manager, &UC3DCurveManager::SelectedCurveChanged, this, [this] { m_events << "selected"; });
        connect(m_manager, &UC3DCurveManager::CurveOptionChanged, this, [this](C3DCurve& c, int32_t option) {
            m_events << QStringLiteral("option %1 %2").arg(Row(&c)).arg(option);
        });
        connect(m_manager, &UC3DCurveManager::CurveAdded, this,
                [this](C3DCurve& c) { m_events << QStringLiteral("added %1").arg(Row(&c)); });
        connect(m_manager, &UC3DCurveManager::CurveStartTimeChanged, this,
                [this](C3DCurve& c) { m_events << QStringLiteral("start %1").arg(Row(&c)); });
        connect(m_manager, &UC3DCurveManager::CurveDurationChanged, this,
                [this](C3DCurve& c) { m_events << QStringLiteral("duration %1").arg(Row(&c)); });
        connect(m_manager, &UC3DCurveManager::ImportClicked, this, [this] { m_events << "import"; });
        connect(m_manager, &UC3DCurveManager::EditingStateChanged, this,
                [this] { m_events << QStringLiteral("editing %1").arg(m_manager->Editing()); });
    }
    void cleanup()
    {
        // The manager goes before its controller.
        m_window.reset();
        m_controller.reset();
    }

    void beforeInitializeNothingHappens()
    {
        QCOMPARE(Button("cmdAddCurve")->text(), QStringLiteral("<add>"));
        QCOMPARE(Button("cmdRemoveCurve")->text(), QStringLiteral("<remove>"));
        QCOMPARE(Button("cmdImport")->text(), QStringLiteral("<import>"));
        QVERIFY(!Button("cmdAddCurve")->isEnabled());
        m_manager->RefreshCurveList(true);
        m_manager->RefreshItemsDuration();
        m_manager->RefreshItemsArrowVisibilityState();
        QVERIFY(m_manager->SelectedCurve() == nullptr);
        QCOMPARE(View("lvwItemText")->count(), 0);
        QTest::mouseClick(Button("cmdAddCurve"), Qt::LeftButton);
        QVERIFY(m_events.isEmpty());
        QTest::mouseClick(Button("cmdImport"), Qt::LeftButton);
        QCOMPARE(m_events, QStringList({"import"}));
    }

    void layoutOfTheButtonsAndTheList()
    {
        m_manager->SetButtonsCaption(QStringLiteral("Add"), QStringLiteral("Remove"), QStringLiteral("Import"));
        QCOMPARE(Button("cmdRemoveCurve")->text(), QStringLiteral("Remove"));
        QCOMPARE(Button("cmdImport")->text(), QStringLiteral("Import"));
        m_manager->resize(400, 200);
        QCOMPARE(Button("cmdAddCurve")->geometry(), QRect(336, 0, 61, 17));
        QCOMPARE(Button("cmdRemoveCurve")->geometry(), QRect(336, 20, 61, 17));
        QCOMPARE(Button("cmdImport")->geometry(), QRect(336, 40, 61, 17));
        auto* list = m_manager->findChild<UC3DCurveList*>();
        QCOMPARE(list->geometry(), QRect(0, 0, 333, 200));
        // Too narrow for the buttons: the list keeps its width.
        m_manager->resize(60, 150);
        QCOMPARE(list->size(), QSize(333, 150));
    }

    void longerCaptionsWidenTheButtons()
    {
        m_manager->resize(400, 200);
        m_manager->SetButtonsCaption(QStringLiteral("Hinzuf\u00FCgen"), QStringLiteral("Entfernen"),
                                     QStringLiteral("Importieren"));
        const int width = Button("cmdImport")->width();
        QVERIFY(width > UC3DCurveManager::ButtonWidth);
        for (const char* name : {"cmdAddCurve", "cmdRemoveCurve", "cmdImport"}) {
            QPushButton* b = Button(name);
            QCOMPARE(b->geometry(), QRect(400 - 3 - width, b->y(), width, 17));
            QStyleOptionButton option;
            option.initFrom(b);
            const QRect text = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= text.width(), name);
        }
        QCOMPARE(m_manager->findChild<UC3DCurveList*>()->geometry(), QRect(0, 0, 400 - 3 - width - 3, 200));
        // Back to short captions, back to the least width.
        m_manager->SetButtonsCaption(QStringLiteral("Add"), QStringLiteral("Remove"), QStringLiteral("Import"));
        QCOMPARE(Button("cmdImport")->geometry(), QRect(336, 40, 61, 17));
    }

    void oneCurveHasEveryOptionAndCannotBeRemoved()
    {
        AddCurves(1);
        m_manager->Initialize(*m_controller);
        QCOMPARE(Names(), QStringList({"Path"}));
        QVERIFY(m_events.isEmpty());
        QCOMPARE(m_manager->SelectedCurve(), &m_controller->Curves(0));
        QVERIFY(!Button("cmdRemoveCurve")->isEnabled());
        Click(View("lvwItemText"), 0);
        QVERIFY(!Button("cmdRemoveCurve")->isEnabled());
        m_events.clear();
        const C3DCurve& curve = m_controller->Curves(0);
        const bool before[] = {curve.IsVisible(), curve.ShowArrow(), curve.ShowTimes(), curve.ShowTangent()};
        QList<bool> insideEvent;
        connect(m_manager, &UC3DCurveManager::CurveOptionChanged, this,
                [&](C3DCurve& c, int32_t option) { insideEvent << Flag(c, option); });
        for (int option = 0; option < 4; ++option)
            ClickOption(Strips()[0], option);
        QCOMPARE(m_events, QStringList({"option 0 0", "option 0 1", "option 0 2", "option 0 3"}));
        // The curve had its new value when the event came.
        QCOMPARE(insideEvent, QList<bool>({!before[0], !before[1], !before[2], !before[3]}));
        for (int option = 0; option < 4; ++option)
            QCOMPARE(Flag(curve, option), !before[option]);
    }

    void anAddedCurveIsSelectedBeforeItIsReported()
    {
        AddCurves(1);
        m_manager->Initialize(*m_controller);
        QTest::mouseClick(Button("cmdAddCurve"), Qt::LeftButton);
        QCOMPARE(m_controller->CurveCount(), 2);
        QCOMPARE(m_events, QStringList({"selected", "added 1"}));
        QCOMPARE(Names(), QStringList({"Path", "NoName"}));
        QCOMPARE(m_manager->SelectedCurve(), &m_controller->Curves(1));
        QVERIFY(Button("cmdRemoveCurve")->isEnabled());
        // Its arrow option cannot be switched, the others can.
        m_events.clear();
        ClickOption(Strips()[1], 1);
        QVERIFY(m_events.isEmpty());
        ClickOption(Strips()[1], 2);
        QCOMPARE(m_events, QStringList({"option 1 2"}));
    }

    void twentyCurvesDisableAdding()
    {
        AddCurves(19);
        m_manager->Initialize(*m_controller);
        QVERIFY(Button("cmdAddCurve")->isEnabled());
        QTest::mouseClick(Button("cmdAddCurve"), Qt::LeftButton);
        QCOMPARE(m_controller->CurveCount(), 20);
        QVERIFY(!Button("cmdAddCurve")->isEnabled());
        // The new last row is shown.
        auto* bar = m_manager->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
        QVERIFY(bar->isVisible());
        m_manager->RefreshCurveList(true);
        QCOMPARE(bar->value(), bar->maximum());
        m_manager->findChild<UC3DCurveList*>()->SetSelectedIndex(5);
        QTest::mouseClick(Button("cmdRemoveCurve"), Qt::LeftButton);
        QCOMPARE(m_controller->CurveCount(), 19);
        QVERIFY(Button("cmdAddCurve")->isEnabled());
    }

    void aRemovalSelectsTheCurveInItsPlace()
    {
        AddCurves(4);
        m_manager->Initialize(*m_controller);
        C3DCurve* third = &m_controller->Curves(2);
        auto* list = m_manager->findChild<UC3DCurveList*>();
        Click(View("lvwItemText"), 1);
        m_events.clear();
        QList<C3DCurve*> selectedInEvent;
        connect(m_manager, &UC3DCurveManager::SelectedCurveChanged, this,
                [&] { selectedInEvent << m_manager->SelectedCurve(); });
        // No question, and the owner hears that the selected curve changed.
        QTest::mouseClick(Button("cmdRemoveCurve"), Qt::LeftButton);
        QCOMPARE(m_events, QStringList({"editing 0", "selected"}));
        QCOMPARE(list->SelectedIndex(), 1);
        QCOMPARE(selectedInEvent, QList<C3DCurve*>({third}));
        QCOMPARE(m_manager->SelectedCurve(), third);
        // The last row gone, row 0 is selected and cannot be removed.
        list->SetSelectedIndex(2);
        QTest::mouseClick(Button("cmdRemoveCurve"), Qt::LeftButton);
        QCOMPARE(list->SelectedIndex(), 0);
        QCOMPARE(m_manager->SelectedCurve(), &m_controller->Curves(0));
        QVERIFY(!Button("cmdRemoveCurve")->isEnabled());
        QCOMPARE(m_controller->CurveCount(), 2);
    }

    void renamesGoThroughTheController()
    {
        AddCurves(3);
        m_manager->Initialize(*m_controller);
        QCOMPARE(Names(), QStringList({"Path", "Path1", "Path2"}));
        EditAndCommit(View("lvwItemText"), 1, QStringLiteral("PATH"));
        QCOMPARE(m_controller->Curves(1).Name(), QStringLiteral("PATH1"));
        EditAndCommit(View("lvwItemText"), 2, QStringLiteral(" a/b|c "));
        QCOMPARE(Names(), QStringList({"Path", "PATH1", "a_b|c"}));
        EditAndCommit(View("lvwItemText"), 2, QStringLiteral("   "));
        QCOMPARE(Names(), QStringList({"Path", "PATH1", "NoName"}));
        QCOMPARE(m_controller->Curves(2).Name(), QStringLiteral("NoName"));
    }

    void typedStartTimesAndDurations()
    {
        AddCurves(2);
        m_manager->Initialize(*m_controller);
        C3DCurve& curve = m_controller->Curves(1);
        EditAndCommit(View("lvwStartTime"), 1, QStringLiteral("12.5"));
        QCOMPARE(curve.StartTime(), 12.5);
        QCOMPARE(View("lvwStartTime")->item(1)->text(), QStringLiteral("12"));
        EditAndCommit(View("lvwStartTime"), 1, QStringLiteral("soon"));
        QCOMPARE(curve.StartTime(), 0.0);
        QCOMPARE(m_events.filter(QStringLiteral("start")), QStringList({"start 1", "start 1"}));

        QList<bool> changingInEvent;
        connect(m_manager, &UC3DCurveManager::CurveDurationChanged, this,
                [&] { changingInEvent << m_manager->IsCurveDurationChanging(); });
        const double limit = curve.MaxDuration();
        EditAndCommit(View("lvwDuration"), 1, QStringLiteral("99999"));
        QCOMPARE(curve.Duration(), limit);
        QCOMPARE(View("lvwDuration")->item(1)->text(), QString::number(limit, 'f', 3));
        // The same duration again changes nothing and raises nothing.
        EditAndCommit(View("lvwDuration"), 1, QStringLiteral("99999"));
        QCOMPARE(m_events.filter(QStringLiteral("duration")), QStringList({"duration 1"}));
        QCOMPARE(changingInEvent, QList<bool>({true}));
        QVERIFY(!m_manager->IsCurveDurationChanging());
        // Too short: what the curve accepted is shown.
        EditAndCommit(View("lvwDuration"), 1, QStringLiteral("0"));
        QVERIFY(curve.Duration() >= curve.MinDuration() && curve.Duration() < 1);
        QCOMPARE(View("lvwDuration")->item(1)->text(), QString::number(curve.Duration(), 'f', 3));
    }

    void refreshesShowTheCurves()
    {
        AddCurves(2);
        m_manager->Initialize(*m_controller);
        C3DCurve& curve = m_controller->Curves(1);
        curve.SetShowTangent(true);
        curve.SetShowTimes(true);
        curve.SetIsVisible(false);
        m_controller->Curves(0).SetShowArrow(false);
        m_manager->RefreshItemsTangentVisibilityState();
        m_manager->RefreshItemsTimeVisibilityState();
        m_manager->RefreshItemsCurveVisibilityState();
        m_manager->RefreshItemsArrowVisibilityState();
        QVERIFY(Strips()[1]->IsChecked(3) && Strips()[1]->IsChecked(2) && !Strips()[1]->IsChecked(0));
        QVERIFY(!Strips()[0]->IsChecked(1));
        curve.SetDuration(4);
        m_manager->RefreshItemsDuration();
        QCOMPARE(View("lvwDuration")->item(1)->text(), QStringLiteral("4.000"));
        QVERIFY(m_events.isEmpty());
    }

    void editingStateIsPassedOn()
    {
        AddCurves(2);
        m_manager->Initialize(*m_controller);
        Click(View("lvwDuration"), 0);
        QVERIFY(m_manager->Editing());
        QTest::mouseClick(m_window->findChild<QLineEdit*>(QStringLiteral("other")), Qt::LeftButton);
        QCOMPARE(m_events, QStringList({"editing 1", "editing 0"}));
    }

    void theManagerHearsOnlyItsCurrentController()
    {
        AddCurves(2);
        m_manager->Initialize(*m_controller);
        C3DCurveController second;
        second.Add(QStringLiteral("Second"));
        second.Add(QStringLiteral("Third"));
        m_manager->Initialize(second);
        QCOMPARE(Names(), QStringList({"Second", "Third"}));
        // A refill would make new strips for the later rows.
        const QList<UC3DCurveOption*> strips = Strips();
        m_controller->Add(QStringLiteral("Unheard"));
        QCOMPARE(Strips(), strips);
        second.Add(QStringLiteral("Heard"));
        QCOMPARE(Names(), QStringList({"Second", "Third", "Heard"}));
        QVERIFY(Strips()[1] != strips[1]);
        // Emptied under the manager (a project opened), the list follows.
        second.Clear();
        QCOMPARE(Names(), QStringList());
        QVERIFY(m_manager->SelectedCurve() == nullptr);
        QVERIFY(!Button("cmdRemoveCurve")->isEnabled());
        // Gone first, the manager no longer listens.
        m_window.reset();
        second.Add(QStringLiteral("After"));
        m_controller->Add(QStringLiteral("After"));
        QCOMPARE(second.CurveCount(), 1);
    }
};

QTEST_MAIN(TestUC3DCurveManager)
#include "tst_UC3DCurveManager.moc"
