// The time selector: what it shows for a value, and typed and scrolled
// entries with their carries and their limit.
#include "FocusTestWindow.h"
#include "UCTimeSelector.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionSlider>

using namespace FocusTest;

namespace
{
QStringList Shown(const UCTimeSelector& t)
{
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        parts << t.txtSAStartTime(i)->text();
        if (t.Bar(i) != t.txtSAStartTime(i)->text().toInt())
            parts << QStringLiteral("bar %1 differs").arg(i);
    }
    return parts;
}
}

class TestTimeSelector : public QObject
{
    Q_OBJECT

private slots:
    void valuesAndTheirParts()
    {
        UCTimeSelector t;
        struct Case
        {
            double value;
            QStringList parts;
        };
        const Case cases[] = {
            {3723004, {"1", "2", "3", "4"}},
            {90061000, {"25", "1", "1", "0"}},
            {2147483647, {"596", "31", "23", "647"}},
            {0, {"0", "0", "0", "0"}},
        };
        for (const Case& c : cases) {
            t.SetValue(c.value);
            QCOMPARE(Shown(t), c.parts);
        }
        struct Text
        {
            const char* text;
            double value;
        };
        const Text texts[] = {{"abc", 0}, {"-5", 0}, {"3000000000", 2147483647}, {"1234.9", 1234}, {" 61000 ", 61000}};
        for (const Text& c : texts) {
            t.SetValue(7);
            t.SetValueFromText(QString::fromLatin1(c.text));
            QCOMPARE(t.Value(), c.value);
        }
    }

    void typedEntriesCarryAndTheLimitUndoesOneBox()
    {
        QWidget window;
        auto* t = new UCTimeSelector(&window);
        window.resize(t->sizeHint());
        QVERIFY(ShowActive(window));
        t->SetValue(3723004);

        // 75 seconds: a minute and 15 seconds. A box reached by Tab has
        // its text selected.
        Click(t->txtSAStartTime(1));
        QTRY_VERIFY(t->txtSAStartTime(1)->hasFocus());
        Key(window, Qt::Key_Tab);
        QTRY_VERIFY(t->txtSAStartTime(2)->hasFocus());
        QCOMPARE(t->txtSAStartTime(2)->selectedText(), QStringLiteral("3"));
        Type(window, QStringLiteral("75"));
        Key(window, Qt::Key_Tab);
        QTRY_VERIFY(!t->txtSAStartTime(2)->hasFocus());
        QCOMPARE(Shown(*t), (QStringList{"1", "3", "15", "4"}));
        QCOMPARE(t->Value(), 3795004.0);

        // Beyond 2147483647 ms: only the box typed into goes back.
        t->SetValue(2147483647);
        Click(t->txtSAStartTime(1));
        QTRY_VERIFY(t->txtSAStartTime(1)->hasFocus());
        t->txtSAStartTime(1)->selectAll();
        Type(window, QStringLiteral("59"));
        Click(t->txtSAStartTime(3));
        QTRY_VERIFY(t->txtSAStartTime(3)->hasFocus());
        QCOMPARE(Shown(*t), (QStringList{"596", "31", "23", "647"}));
        QCOMPARE(t->Value(), 2147483647.0);
        // A number no bar reaches is undone too; an empty box is 0.
        t->txtSAStartTime(3)->setText(QStringLiteral("99999999999"));
        Click(t->txtSAStartTime(0));
        QTRY_VERIFY(t->txtSAStartTime(0)->hasFocus());
        QCOMPARE(t->txtSAStartTime(3)->text(), QStringLiteral("647"));
        t->txtSAStartTime(0)->clear();
        Key(window, Qt::Key_Tab);
        QTRY_VERIFY(!t->txtSAStartTime(0)->hasFocus());
        QCOMPARE(Shown(*t), (QStringList{"0", "31", "23", "647"}));
    }

    void scrollingCarries()
    {
        QWidget window;
        auto* t = new UCTimeSelector(&window);
        window.resize(t->sizeHint());
        QVERIFY(ShowActive(window));
        t->SetValue(59000);
        QScrollBar* seconds = t->vsbSAStartTime(2);
        // A click on the bar's upper arrow counts up.
        QStyleOptionSlider opt;
        opt.initFrom(seconds);
        opt.orientation = Qt::Vertical;
        opt.minimum = seconds->minimum();
        opt.maximum = seconds->maximum();
        opt.sliderValue = opt.sliderPosition = seconds->value();
        opt.upsideDown = seconds->invertedAppearance();
        opt.subControls = QStyle::SC_All;
        const QRect top = seconds->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSubLine, seconds);
        const QRect bottom = seconds->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, seconds);
        const QRect upper = top.top() < bottom.top() ? top : bottom;
        Click(seconds, Qt::LeftButton, upper.center());
        QTRY_COMPARE(Shown(*t), (QStringList{"0", "1", "0", "0"}));
        QCOMPARE(t->Value(), 60000.0);
        seconds->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Shown(*t), (QStringList{"0", "1", "0", "0"}));  // no borrow below 0
        t->vsbSAStartTime(3)->setValue(-1000);
        QCOMPARE(Shown(*t), (QStringList{"0", "1", "1", "0"}));
    }
};

QTEST_MAIN(TestTimeSelector)
#include "tst_UCTimeSelector.moc"
