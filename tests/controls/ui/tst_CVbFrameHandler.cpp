// Frames enabled and disabled with what they hold, on a real form.
#include "CVbFrameHandler.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

namespace
{
bool Own(const QWidget* w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

// A form: frame (a button, a box, a disabled check box, two members of a
// control array, two unnamed buttons, and a layout widget holding a nested
// frame with a button), and a button outside.
struct Form
{
    QWidget form;
    QGroupBox* frame = new QGroupBox(QStringLiteral("frame"));
    QPushButton* button = new QPushButton(QStringLiteral("button"));
    QLineEdit* box = new QLineEdit;
    QCheckBox* check = new QCheckBox(QStringLiteral("check"));
    QRadioButton* preset0 = new QRadioButton;
    QRadioButton* preset3 = new QRadioButton;
    QPushButton* unnamedA = new QPushButton(QStringLiteral("a"));
    QPushButton* unnamedB = new QPushButton(QStringLiteral("b"));
    QWidget* holder = new QWidget;
    QGroupBox* nested = new QGroupBox(QStringLiteral("nested"));
    QPushButton* inner = new QPushButton(QStringLiteral("inner"));
    QPushButton* outside = new QPushButton(QStringLiteral("outside"));
    CVbFrameHandler handler;

    Form()
    {
        frame->setObjectName(QStringLiteral("fraMain"));
        button->setObjectName(QStringLiteral("cmdGo"));
        box->setObjectName(QStringLiteral("txtValue"));
        check->setObjectName(QStringLiteral("chkOption"));
        preset0->setObjectName(QStringLiteral("optViewPreset"));
        preset0->setProperty("index", 0);
        preset3->setObjectName(QStringLiteral("optViewPreset"));
        preset3->setProperty("index", 3);
        nested->setObjectName(QStringLiteral("fraNested"));
        inner->setObjectName(QStringLiteral("cmdInner"));
        outside->setObjectName(QStringLiteral("cmdOutside"));
        auto* frameLayout = new QVBoxLayout(frame);
        for (QWidget* w : std::initializer_list<QWidget*>{button, box, check, preset0, preset3, unnamedA, unnamedB, holder})
            frameLayout->addWidget(w);
        (new QVBoxLayout(holder))->addWidget(nested);
        (new QVBoxLayout(nested))->addWidget(inner);
        auto* formLayout = new QVBoxLayout(&form);
        formLayout->addWidget(frame);
        formLayout->addWidget(outside);
        check->setEnabled(false);
        unnamedB->setEnabled(false);
        handler.Initialize(&form);
    }
};
}

class TestFrameHandler : public QObject
{
    Q_OBJECT

private slots:
    void controlsDisabledOnTheirOwnStaySo()
    {
        Form f;
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        f.handler.Disable(f.frame);
        for (QWidget* w : std::initializer_list<QWidget*>{f.frame, f.button, f.box, f.check, f.nested, f.inner})
            QVERIFY2(!Own(w), qPrintable(w->objectName()));
        QVERIFY(Own(f.outside));

        f.handler.Enable(f.frame);
        for (QWidget* w : std::initializer_list<QWidget*>{f.frame, f.button, f.box, f.nested, f.inner, f.preset0,
                                                          f.preset3, f.unnamedA})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!f.check->isEnabled());
        // Unnamed controls are told apart.
        QVERIFY(!f.unnamedB->isEnabled());
    }

    void aControlChangedWhileItsFrameIsDisabled()
    {
        Form f;
        f.handler.Disable(f.frame);
        f.handler.SetControlState(f.check, true);
        QVERIFY(!Own(f.check));
        f.handler.SetControlState(f.button, false);
        f.handler.Enable(f.frame);
        QVERIFY(f.check->isEnabled());
        QVERIFY(!f.button->isEnabled());
        // Outside a frame, or with the frame enabled, it takes the state.
        f.handler.SetControlState(f.outside, false);
        QVERIFY(!f.outside->isEnabled());
        f.handler.SetControlState(f.button, true);
        QVERIFY(f.button->isEnabled());
        // The nested frame's control answers to the nested frame.
        f.handler.Disable(f.nested);
        QVERIFY(Own(f.frame));
        f.handler.SetControlState(f.inner, true);
        QVERIFY(!Own(f.inner));
        f.handler.Enable(f.nested);
        QVERIFY(f.inner->isEnabled());
    }

    void theSameStateTwiceChangesNothing()
    {
        Form f;
        f.handler.Disable(f.frame);
        // Code enables the box behind the handler's back; a second Disable
        // does nothing, so the remembered state is not overwritten.
        f.box->setEnabled(true);
        f.handler.Disable(f.frame);
        QVERIFY(Own(f.box));
        f.handler.SetControlState(f.box, false);
        f.handler.Disable(f.frame);
        f.handler.Enable(f.frame);
        QVERIFY(!f.box->isEnabled());
        f.handler.Enable(f.frame);
        QVERIFY(!f.box->isEnabled());
    }

    void membersOfAControlArrayAreRememberedApart()
    {
        Form f;
        f.preset3->setEnabled(false);
        f.handler.Disable(f.frame);
        f.handler.Enable(f.frame);
        QVERIFY(f.preset0->isEnabled());
        QVERIFY(!f.preset3->isEnabled());
    }

    void aDestroyedControlIsForgotten()
    {
        Form f;
        f.handler.Disable(f.frame);
        delete f.unnamedB;
        delete f.inner;
        f.handler.Enable(f.frame);
        QVERIFY(f.unnamedA->isEnabled());
        // A new unnamed control, wherever it lies, starts afresh.
        auto* again = new QPushButton(f.frame);
        f.handler.Disable(f.frame);
        f.handler.Enable(f.frame);
        QVERIFY(again->isEnabled());
    }
};

QTEST_MAIN(TestFrameHandler)
#include "tst_CVbFrameHandler.moc"
