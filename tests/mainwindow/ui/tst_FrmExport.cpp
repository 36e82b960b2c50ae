// The export options window: its fixed texts, the frame count's box, OK
// and its three ways out, driven by keys and clicks while it is modal.

#include "FrmExport.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>

class TestFrmExport : public QObject
{
    Q_OBJECT

    static QLineEdit* Frames(FrmExport& w) { return w.findChild<QLineEdit*>(QStringLiteral("txtAnimationFrames")); }
    static QPushButton* Button(FrmExport& w, const char* name)
    {
        return w.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // Runs the dialog modal; `drive` acts on it once it is shown.
    static int Exec(FrmExport& w, std::function<void()> drive)
    {
        bool driven = false;
        QTimer::singleShot(0, &w, [&] {
            if (!QTest::qWaitForWindowActive(&w))
                qWarning("the export dialog did not become active");
            drive();
            driven = true;
        });
        const int result = w.exec();
        if (!driven)
            qWarning("the dialog closed before it was driven");
        return result;
    }

private slots:
    void itsTextsAreFixed()
    {
        FrmExport w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Export dialog"));
        QCOMPARE(w.findChild<QRadioButton*>(QStringLiteral("optExportTo(0)"))->text(), QStringLiteral("3D tool"));
        QVERIFY(w.findChild<QGroupBox*>(QStringLiteral("fraExportTarget")));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblAnimationFrames"))->text(), QStringLiteral("Animation frames"));
        QCOMPARE(Frames(w)->text(), QStringLiteral("100"));
        QCOMPARE(Button(w, "cmdValid")->text(), QStringLiteral("Ok"));
        QCOMPARE(Button(w, "cmdCancel")->text(), QStringLiteral("Cancel"));
        QCOMPARE(w.AnimationFrames(), 100);
        QCOMPARE(w.ExportTo(), 0);
        QVERIFY(!w.Validated());
    }

    void anEmptyCountDisablesOkAndADigitEnablesIt()
    {
        FrmExport w;
        const int result = Exec(w, [&] {
            QLineEdit* box = Frames(w);
            box->setFocus();
            // The whole text is selected on focus: Backspace empties it.
            QTRY_VERIFY(box->hasSelectedText());
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString());
            QVERIFY(!Button(w, "cmdValid")->isEnabled());
            // Letters are refused, digits taken.
            QTest::keyClicks(box, QStringLiteral("a-7"));
            QCOMPARE(box->text(), QStringLiteral("7"));
            QVERIFY(Button(w, "cmdValid")->isEnabled());
            QTest::mouseClick(w.findChild<QRadioButton*>(QStringLiteral("optExportTo(0)")), Qt::LeftButton);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(w.Validated());
        QCOMPARE(w.AnimationFrames(), 7);
        QCOMPARE(w.ExportTo(), 0);
        QVERIFY(!w.isVisible());
    }

    void twelveDigitsKeepNine()
    {
        FrmExport w;
        Exec(w, [&] {
            QLineEdit* box = Frames(w);
            box->setFocus();
            QTRY_VERIFY(box->hasSelectedText());
            QTest::keyClicks(box, QStringLiteral("123456789012"));
            QTest::mouseClick(Button(w, "cmdValid"), Qt::LeftButton);
        });
        QVERIFY(w.Validated());
        QCOMPARE(Frames(w)->text(), QStringLiteral("123456789"));
        QCOMPARE(w.AnimationFrames(), 123456789);
    }

    void escapeCancelAndTheCloseBoxLeaveValidatedFalse_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Escape") << 0;
        QTest::newRow("Cancel") << 1;
        QTest::newRow("close box") << 2;
    }
    void escapeCancelAndTheCloseBoxLeaveValidatedFalse()
    {
        QFETCH(int, way);
        FrmExport w;
        // A confirmed run first: a cancel afterwards clears it again.
        Exec(w, [&] { QTest::mouseClick(Button(w, "cmdValid"), Qt::LeftButton); });
        QVERIFY(w.Validated());
        const int result = Exec(w, [&] {
            if (way == 0)
                QTest::keyClick(Frames(w), Qt::Key_Escape);
            else if (way == 1)
                QTest::mouseClick(Button(w, "cmdCancel"), Qt::LeftButton);
            else
                w.close();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(!w.Validated());
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestFrmExport)
#include "tst_FrmExport.moc"
