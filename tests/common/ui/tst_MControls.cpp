// Control, combo-box, cursor and shape helpers on real widgets.
#include "MComboBox.h"
#include "MControls.h"
#include "MCursor.h"
#include "MGDI.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

class TestMControls : public QObject
{
    Q_OBJECT

private slots:
    void comboSearchesAndSelection()
    {
        QComboBox combo;
        QCOMPARE(MComboBox::SelectByText(&combo, QStringLiteral("x")), -1);
        QCOMPARE(MComboBox::SetListIndexBounded(&combo, 3), -1);
        QCOMPARE(MComboBox::FindExact(&combo, QStringLiteral("x")), -1);
        combo.addItems({QStringLiteral("25 fps"), QStringLiteral("30 fps"), QStringLiteral("300 fps")});
        struct Case { const char* text; int exact; int prefix; };
        const Case cases[] = {
            {"30 fps", 1, 1}, {"30 FPS", 1, 1}, {"30", -1, 1}, {"300 fps", 2, 2},
            {"3", -1, 1},     {"", -1, 0},      {"60 fps", -1, -1}, {"30 fps ", -1, -1},
        };
        for (const Case& c : cases) {
            QCOMPARE(MComboBox::FindExact(&combo, QString::fromLatin1(c.text)), c.exact);
            QCOMPARE(MComboBox::FindPrefix(&combo, QString::fromLatin1(c.text)), c.prefix);
        }
        // A prefix search goes on after the given item and wraps round.
        QCOMPARE(MComboBox::FindPrefix(&combo, QStringLiteral("30"), 1), 2);
        QCOMPARE(MComboBox::FindPrefix(&combo, QStringLiteral("30"), 2), 1);

        combo.setCurrentIndex(2);
        QCOMPARE(MComboBox::SelectByText(&combo, QStringLiteral("60 fps")), -1);
        QCOMPARE(combo.currentIndex(), 0);
        QCOMPARE(MComboBox::SelectByText(&combo, QStringLiteral("300 FPS")), 2);
        QCOMPARE(combo.currentIndex(), 2);
        const int bounded[][2] = {{9, 2}, {-5, 0}, {1, 1}, {2, 2}, {0, 0}};
        for (const auto& b : bounded) {
            QCOMPARE(MComboBox::SetListIndexBounded(&combo, b[0]), b[1]);
            QCOMPARE(combo.currentIndex(), b[1]);
        }
        QVERIFY(MComboBox::InitStorage(&combo, 100, 16));
        QVERIFY(!MComboBox::GetComboInfo(&combo));
        combo.setEditable(true);
        QVERIFY(MComboBox::GetComboInfo(&combo) == combo.lineEdit());
    }

    void dropDownFitsHeightAndTexts()
    {
        QComboBox combo;
        for (int i = 0; i < 100; ++i)
            combo.addItem(QStringLiteral("item %1").arg(i));
        combo.addItem(QStringLiteral("a rather long entry that needs more room than the box"));
        combo.resize(80, combo.sizeHint().height());
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        const int row = combo.view()->sizeHintForRow(0);
        const float twips = MControls::TwipsPerPixel(&combo, false);
        MComboBox::FitDropDown(&combo, 10.0f * row * twips);
        QCOMPARE(combo.maxVisibleItems(), 10);
        QVERIFY(combo.view()->minimumWidth() >
                combo.fontMetrics().horizontalAdvance(combo.itemText(100)));
        // Never more than the screen, never less than one row.
        MComboBox::FitDropDown(&combo, 1.0e7f);
        QVERIFY(combo.maxVisibleItems() * row <= combo.screen()->availableGeometry().height());
        MComboBox::FitDropDown(&combo, 1.0f);
        QCOMPARE(combo.maxVisibleItems(), 1);
    }

    void textBoxes()
    {
        QLineEdit box;
        MControls::SetNumbersOnly(&box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClicks(&box, QStringLiteral("12a3-4.5"));
        QCOMPARE(box.text(), QStringLiteral("12345"));
        MControls::SetReadOnly(&box, true);
        QTest::keyClicks(&box, QStringLiteral("6"));
        QCOMPARE(box.text(), QStringLiteral("12345"));
        MControls::SelectAllText(&box);
        QCOMPARE(box.selectedText(), QStringLiteral("12345"));
        MControls::SetReadOnly(&box, false);
        QTest::keyClicks(&box, QStringLiteral("7"));
        QCOMPARE(box.text(), QStringLiteral("7"));
    }

    void absolutePositionOverNestedContainers()
    {
        QWidget form;
        auto* outer = new QFrame(&form);
        outer->setGeometry(10, 20, 200, 200);
        auto* inner = new QFrame(outer);
        inner->setGeometry(5, 7, 100, 100);
        auto* control = new QLineEdit(inner);
        control->setGeometry(3, 4, 50, 20);
        const float tx = MControls::TwipsPerPixel(&form, true);
        const float ty = MControls::TwipsPerPixel(&form, false);
        QCOMPARE(MControls::GetAbsolutePos(control, true), 18 * tx);
        QCOMPARE(MControls::GetAbsolutePos(control, false), 31 * ty);
        QCOMPARE(MControls::GetAbsolutePos(outer, true), 10 * tx);
    }

    void listViewEditIsCancelled()
    {
        QListWidget list;
        auto* item = new QListWidgetItem(QStringLiteral("Curve 1"), &list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setCurrentItem(item);
        list.editItem(item);
        QLineEdit* editor = nullptr;
        QVERIFY(QTest::qWaitFor([&] { return (editor = list.viewport()->findChild<QLineEdit*>()) != nullptr && editor->isVisible(); }));
        editor->setText(QStringLiteral("changed"));
        MControls::ListViewCancelEdit(&list);
        QVERIFY(QTest::qWaitFor([&] { return list.viewport()->findChild<QLineEdit*>() == nullptr || !list.viewport()->findChild<QLineEdit*>()->isVisible(); }));
        QCOMPARE(item->text(), QStringLiteral("Curve 1"));
        // Nothing being edited, and a persistent editor is no edit.
        MControls::ListViewCancelEdit(&list);
        list.openPersistentEditor(item);
        MControls::ListViewCancelEdit(&list);
        QVERIFY(list.isPersistentEditorOpen(item));
    }

    void regionFromPixels()
    {
        QImage image(6, 3, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        // Row 0: x 1..2; row 1: x 0 and x 4..5; row 2: nothing.
        image.setPixel(1, 0, qRgb(0, 0, 0));
        image.setPixel(2, 0, qRgb(1, 2, 3));
        image.setPixel(0, 1, qRgb(255, 255, 255));
        image.setPixel(4, 1, qRgb(9, 9, 9));
        image.setPixel(5, 1, qRgb(9, 9, 9));
        const QRegion region = MGDI::RegionWithoutColor(image, qRgb(255, 0, 255), 10, 20);
        QRegion expected;
        expected += QRect(11, 20, 2, 1);
        expected += QRect(10, 21, 1, 1);
        expected += QRect(14, 21, 2, 1);
        QCOMPARE(region, expected);
        QImage blank(4, 4, QImage::Format_RGB32);
        blank.fill(Qt::green);
        QVERIFY(MGDI::RegionWithoutColor(blank, qRgb(0, 255, 0), 0, 0).isEmpty());
    }

    void regionFromAForm()
    {
        QWidget form;
        form.setWindowFlag(Qt::FramelessWindowHint);
        form.resize(40, 30);
        form.setAutoFillBackground(true);
        QPalette palette = form.palette();
        palette.setColor(QPalette::Window, QColor(255, 0, 255));
        form.setPalette(palette);
        auto* block = new QWidget(&form);
        block->setGeometry(10, 5, 8, 6);
        block->setAutoFillBackground(true);
        QPalette blockPalette = block->palette();
        blockPalette.setColor(QPalette::Window, Qt::black);
        block->setPalette(blockPalette);
        QRegion fromCorner;
        MGDI::CreateRegionWithoutColor(&form, fromCorner, -1, 0, 0);
        QCOMPARE(fromCorner, QRegion(10, 5, 8, 6));
        QRegion byColour;
        MGDI::CreateRegionWithoutColor(&form, byColour, 0xFF00FF, 2, 3);
        QCOMPARE(byColour, QRegion(12, 8, 8, 6));
        // Cutting away the colour of every pixel leaves nothing.
        QRegion none;
        MGDI::CreateRegionWithoutColor(block, none, 0x000000, 0, 0);
        QVERIFY(none.isEmpty());
        MGDI::SetWindowRegion(&form, byColour);
        QCOMPARE(form.mask(), byColour);
    }

    void textWidths()
    {
        const QFont font = QApplication::font();
        QCOMPARE(MGDI::DrawTextInRect(QString(), font), 0);
        const int wide = MGDI::DrawTextInRect(QStringLiteral("WWWW"), font);
        QVERIFY(wide > MGDI::DrawTextInRect(QStringLiteral("i"), font));
        // The widest line counts.
        QCOMPARE(MGDI::DrawTextInRect(QStringLiteral("i\nWWWW"), font), wide);
    }

    void cursor()
    {
        MCursor::SetCursorPosition(QPoint(123, 45));
        QTRY_COMPARE(MCursor::GetCursorPosition(), QPoint(123, 45));
        QCOMPARE(MCursor::ShowMouseCursor(false), -1);
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QCOMPARE(MCursor::ShowMouseCursor(false), -2);
        QCOMPARE(MCursor::ShowMouseCursor(true), -1);
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(MCursor::ShowMouseCursor(true), 0);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(TestMControls)
#include "tst_MControls.moc"
