// The validated text boxes on a real window: focus moves by clicks, Tab and
// window switches, keys typed into the focused box.
#include "CFocusValidator.h"
#include "CTextboxHandler.h"
#include "FocusTestWindow.h"
#include "MControls.h"
#include "RuvError.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace FocusTest;

namespace
{
// A window with two hooked boxes (Enter validates in the first only), a
// control array of three and a button; every event of the handler is
// written down.
struct Panel
{
    QWidget window;
    QLineEdit* autoBox = new QLineEdit(QStringLiteral("10"));
    QLineEdit* plainBox = new QLineEdit(QStringLiteral("20"));
    QList<QLineEdit*> array{new QLineEdit(QStringLiteral("a0")), new QLineEdit(QStringLiteral("a1")),
                            new QLineEdit(QStringLiteral("a2"))};
    QPushButton* button = new QPushButton(QStringLiteral("Apply"));
    CTextboxHandler handler;
    QStringList log;
    int clicks = 0;
    int beeps = 0;
    // The owner's answer to Validating; by default it handles every box and
    // refuses the text "bad".
    std::function<void(QLineEdit*, bool&, bool&)> validating = [](QLineEdit* box, bool& cancel, bool& handled) {
        handled = true;
        cancel = box->text() == QLatin1String("bad");
    };
    std::function<void(QLineEdit*, std::int16_t&)> keyPressed;
    MControls::BeepHandler oldBeep;

    Panel()
    {
        auto* layout = new QVBoxLayout(&window);
        autoBox->setObjectName(QStringLiteral("auto"));
        plainBox->setObjectName(QStringLiteral("plain"));
        layout->addWidget(autoBox);
        layout->addWidget(plainBox);
        for (int i = 0; i < array.size(); ++i) {
            array[i]->setObjectName(QStringLiteral("array%1").arg(i));
            layout->addWidget(array[i]);
        }
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        oldBeep = MControls::SetBeepHandler([this] { ++beeps; });
        QObject::connect(&handler, &CTextboxHandler::GotFocus, [this](QLineEdit* b) { log << "GotFocus " + b->objectName(); });
        QObject::connect(&handler, &CTextboxHandler::LostFocus, [this](QLineEdit* b) { log << "LostFocus " + b->objectName(); });
        QObject::connect(&handler, &CTextboxHandler::KeyPressed, [this](QLineEdit* b, std::int16_t& k) {
            if (keyPressed)
                keyPressed(b, k);
            log << QStringLiteral("KeyPressed %1 %2").arg(b->objectName()).arg(k);
        });
        QObject::connect(&handler, &CTextboxHandler::Validating, [this](QLineEdit* b, bool& cancel, bool& handled) {
            validating(b, cancel, handled);
            log << QStringLiteral("Validating %1 %2").arg(b->objectName()).arg(cancel ? "refused" : "accepted");
        });
        QObject::connect(&handler, &CTextboxHandler::Validated, [this](QLineEdit* b, bool changed) {
            log << QStringLiteral("Validated %1 %2").arg(b->objectName()).arg(changed ? "changed" : "same");
        });
        handler.RegisterTextbox(autoBox, true, false);
        handler.RegisterTextbox(plainBox, false, false);
        handler.RegisterTextbox(array, true, false);
    }
    ~Panel() { MControls::SetBeepHandler(oldBeep); }

    QStringList Take()
    {
        QStringList taken = log;
        log.clear();
        return taken;
    }

    // Shows the window, clicks into the box and types the text over its
    // own; the log starts empty after that.
    bool Open(QLineEdit* box, const QString& text)
    {
        if (!FocusTest::ShowActive(window))
            return false;
        FocusTest::Click(box);
        if (!QTest::qWaitFor([box] { return box->hasFocus(); }))
            return false;
        box->selectAll();
        FocusTest::Type(window, text);
        Take();
        return box->text() == text;
    }
};

void Retype(QLineEdit* box, QWidget& window, const QString& text)
{
    box->selectAll();
    Type(window, text);
    QCOMPARE(box->text(), text);
}
}

class TestTextboxHandler : public QObject
{
    Q_OBJECT

private slots:
    void focusKeepsTheTextAndEnterValidatesOnlyWithAutomaticValidation()
    {
        Panel p;
        QVERIFY(ShowActive(p.window));
        Click(p.autoBox);
        QTRY_VERIFY(p.autoBox->hasFocus());
        QCOMPARE(p.Take(), QStringList{"GotFocus auto"});
        QCOMPARE(CTextboxHandler::KeptText(p.autoBox), QStringLiteral("10"));

        // Enter with automatic validation: Validating and Validated first,
        // then KeyPressed with the key swallowed; the focus stays.
        Retype(p.autoBox, p.window, QStringLiteral("15"));
        p.Take();
        Key(p.window, Qt::Key_Return);
        QCOMPARE(p.Take(), (QStringList{"Validating auto accepted", "Validated auto changed", "KeyPressed auto 0"}));
        QVERIFY(p.autoBox->hasFocus());
        QCOMPARE(CTextboxHandler::KeptText(p.autoBox), QStringLiteral("15"));
        QVERIFY(p.autoBox->hasSelectedText());

        // The same text again: Validated says it did not change.
        Retype(p.autoBox, p.window, QStringLiteral("15"));
        p.Take();
        Key(p.window, Qt::Key_Return);
        QCOMPARE(p.Take(), (QStringList{"Validating auto accepted", "Validated auto same", "KeyPressed auto 0"}));

        // Escape brings back the text accepted at the last Enter, not the
        // one the box had when it got the focus.
        Retype(p.autoBox, p.window, QStringLiteral("99"));
        p.Take();
        Key(p.window, Qt::Key_Escape);
        QCOMPARE(p.autoBox->text(), QStringLiteral("15"));
        QCOMPARE(p.Take(), QStringList{"KeyPressed auto 0"});
        QCOMPARE(p.autoBox->selectedText(), QStringLiteral("15"));

        // A refused Enter: beep, the text stays as typed and selected, the
        // focus stays.
        Retype(p.autoBox, p.window, QStringLiteral("bad"));
        p.Take();
        Key(p.window, Qt::Key_Return);
        QCOMPARE(p.Take(), (QStringList{"Validating auto refused", "KeyPressed auto 0"}));
        QCOMPARE(p.beeps, 1);
        QCOMPARE(p.autoBox->selectedText(), QStringLiteral("bad"));
        QVERIFY(p.autoBox->hasFocus());

        // Without automatic validation Enter validates nothing.
        p.autoBox->setText(QStringLiteral("16"));
        Key(p.window, Qt::Key_Tab);
        QTRY_VERIFY(p.plainBox->hasFocus());
        p.Take();
        Retype(p.plainBox, p.window, QStringLiteral("21"));
        p.Take();
        Key(p.window, Qt::Key_Return);
        QCOMPARE(p.Take(), QStringList{"KeyPressed plain 13"});
        Key(p.window, Qt::Key_Escape);
        QCOMPARE(p.plainBox->text(), QStringLiteral("21"));
    }

    void leavingValidatesAndTheFocusPairIsReported()
    {
        Panel p;
        QVERIFY(p.Open(p.plainBox, QStringLiteral("22")));
        Click(p.autoBox);
        QTRY_VERIFY(p.autoBox->hasFocus());
        QCOMPARE(p.Take(), (QStringList{"Validating plain accepted", "Validated plain changed", "LostFocus plain",
                                        "GotFocus auto"}));
        QCOMPARE(CTextboxHandler::KeptText(p.plainBox), QString());

        // An owner that does not handle the box: no selection, no beep, no
        // Validated, and the focus moves on.
        p.validating = [](QLineEdit*, bool&, bool& handled) { handled = false; };
        Retype(p.autoBox, p.window, QStringLiteral("bad"));
        p.Take();
        Key(p.window, Qt::Key_Tab);
        QTRY_VERIFY(p.plainBox->hasFocus());
        QCOMPARE(p.Take(), (QStringList{"Validating auto accepted", "LostFocus auto", "GotFocus plain"}));
        QCOMPARE(p.beeps, 0);
    }

    void aRefusedValueKeepsTheFocusAndTheClickDoesNotAct()
    {
        Panel p;
        QVERIFY(p.Open(p.autoBox, QStringLiteral("bad")));

        Click(p.button);
        QCOMPARE(p.Take(), QStringList{"Validating auto refused"});
        QCOMPARE(p.beeps, 1);
        QCOMPARE(p.clicks, 0);
        QVERIFY(p.autoBox->hasFocus());
        QCOMPARE(QApplication::focusWidget(), p.autoBox);
        QCOMPARE(p.autoBox->text(), QStringLiteral("bad"));
        QCOMPARE(p.autoBox->selectedText(), QStringLiteral("bad"));
        QCOMPARE(CTextboxHandler::KeptText(p.autoBox), QStringLiteral("10"));

        // Refused towards another hooked box: that box hears nothing.
        Click(p.plainBox);
        QCOMPARE(p.Take(), QStringList{"Validating auto refused"});
        QVERIFY(p.autoBox->hasFocus());

        // Tab is held back the same way.
        Key(p.window, Qt::Key_Tab);
        QCOMPARE(p.Take(), QStringList{"Validating auto refused"});
        QVERIFY(p.autoBox->hasFocus());

        // The next click, once the text is good, works as usual.
        Key(p.window, Qt::Key_Escape);
        QCOMPARE(p.autoBox->text(), QStringLiteral("10"));
        p.Take();
        Click(p.button);
        QTRY_COMPARE(p.clicks, 1);
        QCOMPARE(p.Take(), (QStringList{"Validating auto accepted", "Validated auto same", "LostFocus auto"}));
    }

    void aRefusalThatShowsAMessageStillKeepsTheFocus_data()
    {
        QTest::addColumn<bool>("reactivatedDuringRefusal");
        // A quick window manager gives the window back while the owner is
        // still refusing (its message just closed); a slow one afterwards.
        QTest::newRow("window manager quick") << true;
        QTest::newRow("window manager late") << false;
    }

    void aRefusalThatShowsAMessageStillKeepsTheFocus()
    {
        QFETCH(bool, reactivatedDuringRefusal);
        Panel p;
        QVERIFY(p.Open(p.autoBox, QStringLiteral("bad")));
        bool shown = false;
        bool reactivated = false;
        p.validating = [&](QLineEdit*, bool& cancel, bool& handled) {
            handled = true;
            cancel = true;
            QMessageBox box(QMessageBox::Information, QStringLiteral("Frame rate"), QStringLiteral("Too large"),
                            QMessageBox::Ok, &p.window);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, &box, [&] {
                if (box.isActiveWindow()) {
                    shown = true;
                    box.accept();
                }
            });
            poll.start(10);
            box.exec();
            if (reactivatedDuringRefusal) {
                p.window.activateWindow();
                reactivated = QTest::qWaitFor([&] { return p.window.isActiveWindow(); });
            }
        };
        Click(p.button);
        QVERIFY(shown);
        QCOMPARE(reactivated, reactivatedDuringRefusal);
        QCOMPARE(p.clicks, 0);
        p.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QTRY_COMPARE(QApplication::focusWidget(), p.autoBox);
        QCOMPARE(p.Take(), QStringList{"Validating auto refused"});
        QCOMPARE(p.autoBox->text(), QStringLiteral("bad"));
        // The next click goes where it is meant to.
        p.validating = [](QLineEdit*, bool& cancel, bool& handled) { handled = true; cancel = false; };
        Click(p.button);
        QTRY_COMPARE(p.clicks, 1);
    }

    void aWindowSwitchValidatesNothing()
    {
        Panel p;
        QVERIFY(p.Open(p.autoBox, QStringLiteral("bad")));

        QWidget other;
        other.setWindowTitle(QStringLiteral("other"));
        QVERIFY(ShowActive(other, QPoint(600, 400)));
        QTRY_VERIFY(!p.window.isActiveWindow());
        p.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QTRY_COMPARE(QApplication::focusWidget(), p.autoBox);
        QCOMPARE(p.Take(), QStringList{});
        QCOMPARE(CTextboxHandler::KeptText(p.autoBox), QStringLiteral("10"));
        QCOMPARE(p.autoBox->text(), QStringLiteral("bad"));
        QCOMPARE(p.beeps, 0);
    }

    void theOwnerDecidesWhatTheBoxReceives()
    {
        Panel p;
        p.keyPressed = [](QLineEdit*, std::int16_t& key) {
            if (key == 'x')
                key = 0;
            else if (key == 'a')
                key = 'b';
        };
        QVERIFY(ShowActive(p.window));
        Click(p.plainBox);
        QTRY_VERIFY(p.plainBox->hasFocus());
        p.plainBox->clear();
        p.Take();
        Type(p.window, QStringLiteral("1xa2"));
        QCOMPARE(p.plainBox->text(), QStringLiteral("1b2"));
        QCOMPARE(p.Take(), (QStringList{"KeyPressed plain 49", "KeyPressed plain 0", "KeyPressed plain 98",
                                        "KeyPressed plain 50"}));
        Key(p.window, Qt::Key_Backspace);
        QCOMPARE(p.plainBox->text(), QStringLiteral("1b"));
        QCOMPARE(p.Take(), QStringList{"KeyPressed plain 8"});
        // Keys that type nothing are not key presses.
        Key(p.window, Qt::Key_Left);
        QCOMPARE(p.Take(), QStringList{});
    }

    void cancellationOfRecordedBoxes()
    {
        Panel p;
        QLineEdit custom(QStringLiteral("c"));
        p.handler.RegisterTextbox(&custom, false, true);
        // The array's boxes follow the protocol through their owner's calls.
        for (QLineEdit* box : p.array)
            p.handler.OnFocusGot(box);
        p.handler.OnFocusGot(&custom);
        QCOMPARE(p.Take(), (QStringList{"GotFocus array0", "GotFocus array1", "GotFocus array2", "GotFocus "}));
        for (QLineEdit* box : p.array)
            box->setText(QStringLiteral("typed"));
        custom.setText(QStringLiteral("typed"));
        p.plainBox->setText(QStringLiteral("no focus"));   // kept text empty

        p.handler.CancelAll();
        QCOMPARE(p.array[0]->text(), QStringLiteral("a0"));
        QCOMPARE(p.array[2]->text(), QStringLiteral("a2"));
        QCOMPARE(custom.text(), QStringLiteral("typed"));
        QCOMPARE(p.plainBox->text(), QStringLiteral("no focus"));

        // Cancel with an empty kept text changes nothing.
        p.handler.OnFocusLost(p.array[1]);
        QCOMPARE(CTextboxHandler::KeptText(p.array[1]), QString());
        p.array[1]->clear();
        p.handler.Cancel(p.array[1]);
        QCOMPARE(p.array[1]->text(), QString());

        // OnValidated moves the kept text.
        p.array[0]->setText(QStringLiteral("new"));
        p.handler.OnValidated(p.array[0]);
        QCOMPARE(p.Take().last(), QStringLiteral("Validated array0 changed"));
        p.array[0]->setText(QStringLiteral("other"));
        p.handler.Cancel(p.array[0]);
        QCOMPARE(p.array[0]->text(), QStringLiteral("new"));
    }

    void registrationLimits()
    {
        CTextboxHandler handler;
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QList<QLineEdit*> array;
        for (int i = 0; i < 3; ++i)
            array << new QLineEdit(&window);
        handler.RegisterTextbox(array, true, false);

        // A box recorded twice: the keyed list's error, also for a box of
        // the array.
        for (QLineEdit* again : {array[1]}) {
            try {
                handler.RegisterTextbox(again, false, false);
                QFAIL("no error");
            } catch (const RuvError& e) {
                QCOMPARE(e.number(), RuvError::DuplicateKey);
                QCOMPARE(e.description(), QStringLiteral("This key is already associated with an element of this collection"));
            }
        }

        // The array used no slot: fifty single boxes are all hooked.
        std::vector<QLineEdit*> singles;
        for (int i = 0; i < 50; ++i) {
            auto* box = new QLineEdit(QStringLiteral("s%1").arg(i), &window);
            box->setObjectName(QStringLiteral("s%1").arg(i));
            layout->addWidget(box);
            handler.RegisterTextbox(box, true, false);
            singles.push_back(box);
        }
        auto* last = new QLineEdit(QStringLiteral("51"), &window);
        layout->addWidget(last);
        try {
            handler.RegisterTextbox(last, true, false);
            QFAIL("no error");
        } catch (const RuvError& e) {
            QCOMPARE(e.number(), CTextboxHandler::ErrorNumber);
            QCOMPARE(e.description(), QStringLiteral("Maximum textbox limit reached"));
            QCOMPARE(e.source(), QStringLiteral("CTextboxCancellationHandler.fRegisterTextbox"));
        }
        QStringList got;
        connect(&handler, &CTextboxHandler::GotFocus, this, [&](QLineEdit* b) { got << b->objectName(); });
        QVERIFY(ShowActive(window));
        Click(singles.back());
        QTRY_COMPARE(got, QStringList{"s49"});
        // The 51st box is recorded (Cancel reaches it) but hears nothing.
        Click(last);
        QTRY_VERIFY(last->hasFocus());
        QCOMPARE(got, QStringList{"s49"});
        handler.OnFocusGot(last);
        last->setText(QStringLiteral("typed"));
        handler.CancelAll();
        QCOMPARE(last->text(), QStringLiteral("51"));
        // A destroyed box is forgotten.
        delete singles.front();
        handler.CancelAll();
    }

    void validatorWithoutAnOwnerLivesWithItsWidget()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit;
        auto* button = new QPushButton;
        layout->addWidget(edit);
        layout->addWidget(button);
        QPointer<CFocusValidator> validator = new CFocusValidator(edit);
        int validations = 0;
        connect(validator, &CFocusValidator::Validate, this, [&](bool&) { ++validations; });
        QVERIFY(ShowActive(window));
        Click(edit);
        QTRY_VERIFY(edit->hasFocus());
        Click(button);
        QTRY_VERIFY(button->hasFocus());
        QCOMPARE(validations, 1);
        delete edit;
        QVERIFY(validator.isNull());
    }
};

QTEST_MAIN(TestTextboxHandler)
#include "tst_CTextboxHandler.moc"
