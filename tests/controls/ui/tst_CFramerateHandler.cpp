// The frame-rate combo box on a real window: typing, leaving, picking from
// the list and right clicks, once with the subclassing library registered
// (its subclass object reports presses and picks) and once without (the
// handler's own filter and the combo box's signal stand in).
#include "CFramerateHandler.h"
#include "ComClient.h"
#include "FocusTestWindow.h"
#include "MControls.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

using namespace FocusTest;

namespace
{
struct Panel
{
    QWidget window;
    QComboBox* combo = new QComboBox;
    QLineEdit* next = new QLineEdit;
    QAction setAsDefault{QStringLiteral("Set as default")};
    QAction remove{QStringLiteral("Remove")};
    CFramerateHandler handler;
    QStringList log;
    int beeps = 0;
    // The owner's check of a typed rate; by default rates up to 1000.
    std::function<bool(std::int32_t)> valid = [](std::int32_t rate) { return rate >= 1 && rate <= 1000; };
    MControls::BeepHandler oldBeep;

    Panel()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(next);
        window.resize(240, 120);
        oldBeep = MControls::SetBeepHandler([this] { ++beeps; });
        handler.Initialize(combo, &setAsDefault, &remove);
        QObject::connect(&handler, &CFramerateHandler::RightClick, [this](std::int32_t, std::int32_t) { log << "RightClick"; });
        QObject::connect(&handler, &CFramerateHandler::TraceSpecificValueRemoved, [this] { log << "Removed"; });
        QObject::connect(&handler, &CFramerateHandler::TraceSpecificValueAdded, [this] { log << "Added"; });
        QObject::connect(&handler, &CFramerateHandler::ValueChanged,
                         [this](std::int32_t v) { log << QStringLiteral("ValueChanged %1").arg(v); });
        QObject::connect(&handler, &CFramerateHandler::EditingChanged,
                         [this](bool e) { log << QStringLiteral("Editing %1").arg(e ? "on" : "off"); });
        QObject::connect(&handler, &CFramerateHandler::OnValidation, [this](std::int32_t& v, bool& ok) {
            ok = valid(v);
            log << QStringLiteral("OnValidation %1").arg(v);
        });
        handler.LoadDefaultValues();
    }
    ~Panel() { MControls::SetBeepHandler(oldBeep); }

    QStringList Take()
    {
        QStringList taken = log;
        log.clear();
        return taken;
    }
    QLineEdit* Edit() const { return combo->lineEdit(); }
    QRect ArrowRect() const
    {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = true;
        return combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, combo);
    }
    // Focus in the combo box, its text selected.
    void Enter()
    {
        Click(Edit());
        QTRY_VERIFY(combo->hasFocus());
        Edit()->selectAll();
        Take();
    }
};
}

class TestFramerateHandler : public QObject
{
    Q_OBJECT

    void Rows()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("subclass object") << true;
        QTest::newRow("own filter") << false;
    }
    // The subclassing library registered or not, as the row says.
    bool Library()
    {
        QFETCH(bool, library);
#ifdef RUV_DADAVIVE_PATH
        const QString path = QStringLiteral(RUV_DADAVIVE_PATH);
        if (library)
            return Com::RegisterServerFile(path) == Com::S_OK;
        Com::UnregisterServerFile(path);
        return true;
#else
        return !library;
#endif
    }

private slots:
    void typedRatesAreValidatedWhenLeaving_data() { Rows(); }
    void typedRatesAreValidatedWhenLeaving()
    {
        if (!Library())
            QSKIP("the subclassing library is not there");
        Panel p;
        QVERIFY(ShowActive(p.window));
        Click(p.Edit());
        QTRY_VERIFY(p.combo->hasFocus());
        QCOMPARE(p.Take(), QStringList{"Editing on"});
        p.Edit()->selectAll();
        Type(p.window, QStringLiteral("*48"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("*48"));
        Key(p.window, Qt::Key_Tab);
        QTRY_VERIFY(p.next->hasFocus());
        QCOMPARE(p.Take(), (QStringList{"OnValidation 48", "Added", "ValueChanged 48", "Editing off"}));
        QCOMPARE(p.combo->itemText(0), QStringLiteral("*48"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("48"));

        // Digits alone: a global rate, nothing trace-specific.
        p.Enter();
        Type(p.window, QStringLiteral("42"));
        Key(p.window, Qt::Key_Tab);
        QTRY_VERIFY(p.next->hasFocus());
        QCOMPARE(p.Take(), (QStringList{"OnValidation 42", "ValueChanged 42", "Editing off"}));
        QCOMPARE(p.handler.BuildValuesString(true), QStringLiteral("25;30;42;50;60;75;90;100;"));

        // A listed rate adds nothing; Enter validates and keeps the focus.
        p.Enter();
        Type(p.window, QStringLiteral("25"));
        Key(p.window, Qt::Key_Return);
        QCOMPARE(p.Take(), (QStringList{"OnValidation 25", "ValueChanged 25"}));
        QVERIFY(p.combo->hasFocus());
        QCOMPARE(p.combo->count(), 9);
        QCOMPARE(p.Edit()->selectedText(), QStringLiteral("25"));
    }

    void refusedRatesKeepTheFocus_data() { Rows(); }
    void refusedRatesKeepTheFocus()
    {
        if (!Library())
            QSKIP("the subclassing library is not there");
        Panel p;
        QVERIFY(ShowActive(p.window));
        p.Enter();
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));
        int beeps = 0;
        for (const char* typed : {"", "*", "0", "2000"}) {
            p.Edit()->selectAll();
            if (*typed == 0)
                Key(p.window, Qt::Key_Backspace);
            else
                Type(p.window, QString::fromLatin1(typed));
            QCOMPARE(p.combo->currentText(), QString::fromLatin1(typed));
            Key(p.window, Qt::Key_Tab);
            QCOMPARE(p.beeps, ++beeps);
            QVERIFY2(p.combo->hasFocus(), typed);
            QCOMPARE(p.combo->currentText(), QString::fromLatin1(typed));
            QCOMPARE(p.Edit()->selectedText(), QString::fromLatin1(typed));
        }
        QCOMPARE(p.Take(), QStringList{"OnValidation 2000"});
        // Escape brings back the text the box had when it got the focus.
        Key(p.window, Qt::Key_Escape);
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));
        // A pasted text that is not a rate is refused by the edit itself.
        p.Edit()->selectAll();
        p.Edit()->insert(QStringLiteral("12a"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));
        p.Edit()->insert(QStringLiteral("*"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("*"));
        // A window switch validates nothing.
        QWidget other;
        QVERIFY(ShowActive(other, QPoint(600, 500)));
        p.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QTRY_VERIFY(p.combo->hasFocus());
        QCOMPARE(p.Take(), QStringList{});
        QCOMPARE(p.beeps, beeps);
    }

    void theKeyFilter()
    {
        Panel p;
        QVERIFY(ShowActive(p.window));
        p.Enter();
        Type(p.window, QStringLiteral("12345678"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("1234567"));
        // An eighth digit replaces a selection; Backspace always works.
        p.Edit()->setSelection(6, 1);
        Type(p.window, QStringLiteral("9"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("1234569"));
        Key(p.window, Qt::Key_Backspace);
        QCOMPARE(p.combo->currentText(), QStringLiteral("123456"));
        // "*" only at the start of a text without one, or over all of it.
        Type(p.window, QStringLiteral("*x"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("123456"));
        p.Edit()->setCursorPosition(0);
        Type(p.window, QStringLiteral("*"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("*123456"));
        p.Edit()->setCursorPosition(0);
        Type(p.window, QStringLiteral("*"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("*123456"));
        p.Edit()->selectAll();
        Type(p.window, QStringLiteral("*"));
        QCOMPARE(p.combo->currentText(), QStringLiteral("*"));
        // Escape: the text of the focus comes back, selected.
        Key(p.window, Qt::Key_Escape);
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));
        QCOMPARE(p.Edit()->selectedText(), QStringLiteral("50"));
        QCOMPARE(p.Take(), QStringList{});
    }

    void rightClicksBelongToTheHandler_data() { Rows(); }
    void rightClicksBelongToTheHandler()
    {
        if (!Library())
            QSKIP("the subclassing library is not there");
        Panel p;
        // The window has a context menu of its own: a right click that
        // the combo box passed on would ask for it.
        int windowMenus = 0;
        p.window.setContextMenuPolicy(Qt::CustomContextMenu);
        connect(&p.window, &QWidget::customContextMenuRequested, this, [&] { ++windowMenus; });
        QVERIFY(ShowActive(p.window));
        const QPoint beside(p.window.width() - 3, p.window.height() - 3);
        Click(&p.window, Qt::RightButton, beside);
        QTRY_COMPARE(windowMenus, 1);
        p.Take();

        const QPoint arrow = p.ArrowRect().center();
        for (QPoint at : {InWindow(p.Edit(), p.Edit()->rect().center()), InWindow(p.combo, arrow)}) {
            QTest::mousePress(p.window.windowHandle(), Qt::RightButton, {}, at);
            QTest::mouseRelease(p.window.windowHandle(), Qt::RightButton, {}, at);
            QCOMPARE(p.Take(), QStringList{"RightClick"});
            QTest::qWait(50);
            QCOMPARE(windowMenus, 1);
            QVERIFY(QApplication::activePopupWidget() == nullptr);
            QVERIFY(!p.combo->view()->isVisible());
        }
        // "50" is the default global rate: it can be removed, and it is
        // the checked default.
        QVERIFY(p.setAsDefault.isEnabled());
        QVERIFY(p.setAsDefault.isChecked());
        QVERIFY(p.remove.isEnabled());

        // A text that names no listed rate: no event, and still no menu.
        p.combo->setEditText(QStringLiteral("51"));
        Press(p.Edit(), Qt::RightButton);
        Release(p.Edit(), Qt::RightButton);
        QTest::qWait(50);
        QCOMPARE(p.Take(), QStringList{});
        QCOMPARE(windowMenus, 1);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
    }

    void removingTheDefaultRate()
    {
        Panel p;
        QVERIFY(ShowActive(p.window));
        std::int32_t rate = 48;
        p.handler.SelectByValue(rate);
        p.Take();
        Press(p.Edit(), Qt::RightButton);
        QCOMPARE(p.Take(), QStringList{"RightClick"});
        QVERIFY(!p.setAsDefault.isEnabled());  // a trace-specific rate
        QVERIFY(p.remove.isEnabled());
        p.remove.trigger();
        QCOMPARE(p.Take(), QStringList{"Removed"});
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));

        Press(p.Edit(), Qt::RightButton);
        p.Take();
        QVERIFY(p.setAsDefault.isChecked());
        p.remove.trigger();
        QCOMPARE(p.Take(), QStringList{});
        QCOMPARE(p.handler.DefaultValue(), 25);
        QCOMPARE(p.combo->currentText(), QStringLiteral("25"));
        QCOMPARE(p.handler.BuildValuesString(true), QStringLiteral("25;30;60;75;90;100;"));

        // Another rate made the default through the menu.
        p.combo->setEditText(QStringLiteral("90"));
        Press(p.Edit(), Qt::RightButton);
        QVERIFY(!p.setAsDefault.isChecked());
        p.setAsDefault.trigger();
        QCOMPARE(p.handler.DefaultValue(), 90);

        // The last global rate cannot be removed.
        std::vector<std::int32_t> one{60};
        p.handler.LoadGlobalValues(one);
        Press(p.Edit(), Qt::RightButton);
        QVERIFY(!p.remove.isEnabled());
    }

    void aPickedEntryGivesOneValueChanged_data() { Rows(); }
    void aPickedEntryGivesOneValueChanged()
    {
        if (!Library())
            QSKIP("the subclassing library is not there");
        Panel p;
        QVERIFY(ShowActive(p.window));
        p.Enter();
        Click(p.combo, Qt::LeftButton, p.ArrowRect().center());
        QAbstractItemView* view = p.combo->view();
        QTRY_VERIFY(view->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->model()->index(5, 0));
        QTest::mouseClick(view->window()->windowHandle(), Qt::LeftButton, {},
                          view->viewport()->mapTo(view->window(), item.center()));
        QTRY_COMPARE(p.log.size(), 1);
        QCOMPARE(p.Take(), QStringList{"ValueChanged 90"});
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(p.combo->currentText(), QStringLiteral("90"));
        QTRY_VERIFY(p.combo->hasFocus());
        QCOMPARE(p.Take(), QStringList{});

        // Cancelling the change goes back to the entry of the focus.
        p.handler.CancelSelectionChange();
        QCOMPARE(p.combo->currentText(), QStringLiteral("50"));
    }

    void cleanupTestCase()
    {
#ifdef RUV_DADAVIVE_PATH
        Com::UnregisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH));
#endif
    }
};

QTEST_MAIN(TestFramerateHandler)
#include "tst_CFramerateHandler.moc"
