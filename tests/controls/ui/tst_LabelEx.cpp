// The extended label: its size against its caption, and its properties as
// a form stores them.
#include "LabelEx.h"

#include <QApplication>
#include <QTest>

class TestLabelEx : public QObject
{
    Q_OBJECT

private slots:
    void loadedWithoutPropertiesShowsTheDefaults()
    {
        QWidget form;
        LabelEx label(&form);
        label.ReadProperties(QVariantMap());
        QCOMPARE(label.Caption(), QStringLiteral("<lstBase>"));
        QCOMPARE(label.Appearance(), std::int16_t(1));
        QCOMPARE(label.BackColor(), LabelEx::DefaultBackColor);
        QCOMPARE(label.ForeColor(), LabelEx::DefaultForeColor);
        QVERIFY(!label.WordWrap());
        QVERIFY(label.AutoSize());
        QVERIFY(label.Enabled());
        QCOMPARE(label.Font(), form.font());
        const QPalette shown = label.lblBase()->palette();
        QCOMPARE(shown.color(QPalette::Window), QApplication::palette().color(QPalette::Button));
        QCOMPARE(shown.color(QPalette::WindowText), QApplication::palette().color(QPalette::ButtonText));
        // Nothing differs from a default: nothing is stored.
        QCOMPARE(label.WriteProperties(), QVariantMap());
    }

    void propertiesRoundTripWithoutTheDefaults()
    {
        QWidget form;
        LabelEx label(&form);
        label.SetCaption(QStringLiteral("Speed"));
        label.SetFontBold(true);
        label.SetBorderStyle(1);
        label.SetAppearance(0);
        label.SetAlignment(2);
        label.SetBackColor(0x00FF00);
        label.SetToolTipText(QStringLiteral("help"));
        label.SetEnabled(false);
        const QVariantMap stored = label.WriteProperties();
        QCOMPARE(stored.keys(), (QStringList{"Alignment", "Appearance", "BackColor", "BorderStyle", "Caption",
                                             "Enabled", "Font", "FontBold", "ToolTipText"}));
        QCOMPARE(stored.value("FontBold").toInt(), -1);

        LabelEx again(&form);
        again.ReadProperties(stored);
        QCOMPARE(again.WriteProperties(), stored);
        QCOMPARE(again.lblBase()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(again.lblBase()->frameShape(), QFrame::Box);
        QCOMPARE(again.lblBase()->palette().color(QPalette::Window), QColor(0, 255, 0));
        QVERIFY(!again.lblBase()->isEnabled());
    }

    void theSizeFollowsTheCaption()
    {
        QWidget form;
        form.resize(400, 200);
        LabelEx label(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        label.setGeometry(10, 10, 200, 60);
        label.SetAutoSize(false);
        QCOMPARE(label.size(), QSize(200, 60));  // switching it off resizes nothing
        label.SetCaption(QStringLiteral("x"));
        QCOMPARE(label.size(), QSize(200, 60));
        QCOMPARE(label.lblBase()->geometry(), QRect(0, 0, 200, 60));

        label.SetAutoSize(true);
        const QSize small = label.size();
        QCOMPARE(small, label.lblBase()->sizeHint());
        label.SetCaption(QStringLiteral("A much longer caption than before"));
        QVERIFY(label.width() > small.width());
        QCOMPARE(label.size(), label.lblBase()->size());
        QCOMPARE(label.pos(), QPoint(10, 10));

        // With word wrap the width stays and the lines take the height.
        label.SetAutoSize(false);
        label.resize(80, 20);
        label.SetWordWrap(true);
        label.SetAutoSize(true);
        QCOMPARE(label.width(), 80);
        QVERIFY(label.height() > 20);
    }
};

QTEST_MAIN(TestLabelEx)
#include "tst_LabelEx.moc"
