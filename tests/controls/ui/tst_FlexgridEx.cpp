// The point grid control on a real window: its editor, keys, mouse,
// clipboard, scrolling, colours and painting.

#include "../ErrorNumber.h"
#include "DadaviveKeys.h"
#include "FlexgridEx.h"
#include "MControls.h"
#include "RuvError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// Counts the key presses that reach it past the grid.
class KeyCatcher : public QWidget
{
public:
    int deletes = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Delete)
            ++deletes;
    }
};

// A shown grid of `rows` x `cols` (one fixed row and column) whose data
// cells read "r,c".
struct Shown
{
    KeyCatcher window;
    FlexgridEx* grid = nullptr;
    int valueChanged = 0;

    bool Start(int rows, int cols, int height = 300, int left = 0)
    {
        grid = new FlexgridEx(&window);
        grid->SetCols(cols);
        grid->SetRows(rows);
        for (int r = 1; r < rows; ++r)
            for (int c = 1; c < cols; ++c)
                grid->SetTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        QObject::connect(grid, &FlexgridEx::ValueChanged, [this] { ++valueChanged; });
        grid->setGeometry(0, 0, 400, height);
        window.resize(400, height);
        window.move(left, 0);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        grid->setFocus();
        return QTest::qWaitFor([this] { return grid->hasFocus(); });
    }
    QPoint Cell(int row, int col) const
    {
        return grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
    }
    void Select(int row, int col, int rowSel, int colSel)
    {
        grid->SetRow(row);
        grid->SetCol(col);
        grid->SetRowSel(rowSel);
        grid->SetColSel(colSel);
    }
    // Keys as the window system delivers them: to the focused widget.
    void Type(const QString& text)
    {
        for (QChar ch : text)
            QTest::keyClick(window.windowHandle(), ch.toLatin1());
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(window.windowHandle(), key, mods);
    }
    QStringList Texts(int row, int fromCol, int toCol) const
    {
        QStringList out;
        for (int c = fromCol; c <= toCol; ++c)
            out << grid->TextMatrix(row, c);
        return out;
    }
};

} // namespace

class TestFlexgridEx : public QObject
{
    Q_OBJECT

private slots:
    void shapeHeadersAndBadIndexes()
    {
        FlexgridEx grid;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Cols(), 2);
        grid.SetCols(4);
        grid.SetRows(2);
        grid.SetFixedRows(1);
        grid.SetRows(1);
        QCOMPARE(grid.rowCount(), 0);
        QCOMPARE(grid.columnCount(), 3);
        grid.SetRows(3);
        grid.SetTextMatrix(0, 0, QStringLiteral("corner"));
        grid.SetTextMatrix(0, 2, QStringLiteral("head"));
        grid.SetTextMatrix(2, 0, QStringLiteral("row"));
        grid.SetTextMatrix(2, 3, QStringLiteral("cell"));
        QCOMPARE(grid.horizontalHeaderItem(1)->text(), QStringLiteral("head"));
        QCOMPARE(grid.verticalHeaderItem(1)->text(), QStringLiteral("row"));
        QCOMPARE(grid.item(1, 2)->text(), QStringLiteral("cell"));
        // A new row's fixed cell is empty, not a number.
        QCOMPARE(grid.TextMatrix(1, 0), QString());
        QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toString(), QString());
        QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("corner"));

        // Without the fixed row, the header row is data row 0.
        grid.SetFixedRows(0);
        QVERIFY(grid.horizontalHeader()->isHidden());
        QCOMPARE(grid.TextMatrix(0, 2), QStringLiteral("head"));
        QCOMPARE(grid.item(0, 1)->text(), QStringLiteral("head"));
        QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("corner"));
        grid.SetFixedRows(1);
        QCOMPARE(grid.TextMatrix(0, 2), QStringLiteral("head"));
        QCOMPARE(grid.TextMatrix(2, 3), QStringLiteral("cell"));

        const std::pair<const char*, std::function<void()>> nine[] = {
            {"text row", [&] { grid.TextMatrix(3, 0); }},
            {"text col", [&] { grid.SetTextMatrix(0, 4, QString()); }},
            {"negative", [&] { grid.TextMatrix(-1, 0); }},
            {"row", [&] { grid.SetRow(3); }},
            {"colsel", [&] { grid.SetColSel(-1); }},
            {"width", [&] { grid.ColWidth(4); }},
            {"height", [&] { grid.RowHeight(3); }},
            {"selection", [&] { grid.SetSelection({0, 4, 0, 0}); }},
            {"select row", [&] { grid.SelectRow(5, false); }},
            {"top row", [&] { grid.SetTopRow(7); }},
        };
        for (const auto& [name, f] : nine)
            QVERIFY2(ErrorNumber(f) == RuvError::IndexOutOfRange, name);
        const std::pair<const char*, std::function<void()>> five[] = {
            {"rows below fixed", [&] { grid.SetRows(0); }},
            {"fixed rows 2", [&] { grid.SetFixedRows(2); }},
            {"alignment 9", [&] { grid.SetColAlignment(1, 9); }},
            {"fill style", [&] { grid.SetFillStyle(2); }},
        };
        for (const auto& [name, f] : five)
            QVERIFY2(ErrorNumber(f) == RuvError::InvalidArgument, name);
        QCOMPARE(grid.Rows(), 3);
    }

    void rowAndColCollapseTheirSelAndSelectRowExtends()
    {
        FlexgridEx grid;
        grid.SetCols(5);
        grid.SetRows(8);
        grid.SetRow(6);
        grid.SetRowSel(2);
        grid.SetCol(3);
        grid.SetColSel(1);
        QCOMPARE(grid.Row(), 6);
        QCOMPARE(grid.RowSel(), 2);
        const IFlexgrid::SelectionRange s = grid.Selection();
        QCOMPARE((std::array{s.FirstRow, s.LastRow, s.FirstColumn, s.LastColumn}), (std::array{2, 6, 1, 3}));
        grid.SetRow(4);
        QCOMPARE(grid.RowSel(), 4);
        QCOMPARE(grid.ColSel(), 1);
        grid.SetCol(2);
        QCOMPARE(grid.ColSel(), 2);
        grid.SelectRow(5, false);
        QCOMPARE((std::array{grid.Row(), grid.RowSel(), grid.Col(), grid.ColSel()}), (std::array{5, 5, 1, 4}));
        grid.SelectRow(7, true);
        QCOMPARE((std::array{grid.Row(), grid.RowSel(), grid.Col(), grid.ColSel()}), (std::array{5, 7, 1, 4}));
        // The table shows the block.
        QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 12);
        QCOMPARE(grid.currentIndex(), grid.model()->index(4, 0));
        grid.SetRow(0);
        grid.SetCol(0);
        QVERIFY(grid.selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(!grid.currentIndex().isValid());
        // Fewer rows pull the selection in.
        grid.SetRow(7);
        grid.SetRows(4);
        QCOMPARE(grid.Row(), 3);
    }

    void editorRefusedByEditBeforeEnterAndByEditLocked()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        int asked = 0;
        bool cancel = false;
        connect(s.grid, &FlexgridEx::EditBeforeEnter, this, [&](bool& Cancel) {
            ++asked;
            Cancel = cancel;
        });
        const std::pair<const char*, std::function<void()>> triggers[] = {
            {"double-click", [&] { QTest::mouseDClick(s.grid->viewport(), Qt::LeftButton, {}, s.Cell(2, 2)); }},
            {"F2", [&] { s.Key(Qt::Key_F2); }},
            {"typed", [&] { s.Type(QStringLiteral("x")); }},
        };
        for (const auto& [name, open] : triggers) {
            // Each refusal beside the case that opens.
            for (int mode = 0; mode < 3; ++mode) {
                s.Select(2, 2, 2, 2);
                asked = 0;
                cancel = mode == 1;
                s.grid->SetEditLocked(mode == 2);
                open();
                if (mode == 0) {
                    QVERIFY2(QTest::qWaitFor([&] { return s.grid->Editor() != nullptr; }), name);
                    QCOMPARE(asked, 1);
                    s.Key(Qt::Key_Escape);
                    QTRY_VERIFY(s.grid->Editor() == nullptr);
                    continue;
                }
                QVERIFY2(s.grid->Editor() == nullptr, name);
                QCOMPARE(asked, mode == 1 ? 1 : 0);
            }
        }
        QCOMPARE(s.grid->TextMatrix(2, 2), QStringLiteral("2,2"));
        QCOMPARE(s.valueChanged, 0);
    }

    void commitFillsEveryCellOfTheBlockOnceAndEscapeDrops()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        int gotFocus = 0;
        int lostFocus = 0;
        connect(s.grid, &FlexgridEx::EditGotFocus, this, [&] { ++gotFocus; });
        connect(s.grid, &FlexgridEx::EditLostFocus, this, [&] { ++lostFocus; });
        s.Select(2, 1, 4, 2);
        s.Key(Qt::Key_F2);
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        QTRY_COMPARE(gotFocus, 1);
        s.grid->Editor()->selectAll();
        s.Type(QStringLiteral("7"));
        s.Key(Qt::Key_Return);
        QTRY_COMPARE(s.valueChanged, 1);
        QTRY_COMPARE(lostFocus, 1);
        for (int r = 2; r <= 4; ++r)
            QCOMPARE(s.Texts(r, 1, 3), (QStringList{"7", "7", QStringLiteral("%1,3").arg(r)}));
        QCOMPARE(s.Texts(1, 1, 2), (QStringList{"1,1", "1,2"}));
        QCOMPARE(s.Texts(5, 1, 2), (QStringList{"5,1", "5,2"}));
        // The selection is still the block, as the owner reads it.
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{2, 4, 1, 2}));

        // Escape drops the text.
        s.Type(QStringLiteral("9"));
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        s.Key(Qt::Key_Escape);
        QTRY_VERIFY(s.grid->Editor() == nullptr);
        QCOMPARE(s.grid->TextMatrix(2, 1), QStringLiteral("7"));

        // Leaving the editor commits too; the same text changes nothing.
        s.Select(5, 3, 5, 3);
        s.Type(QStringLiteral("q"));
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        QTest::mouseClick(s.grid->viewport(), Qt::LeftButton, {}, s.Cell(1, 1));
        QTRY_COMPARE(s.grid->TextMatrix(5, 3), QStringLiteral("q"));
        QCOMPARE(s.valueChanged, 2);
        QCOMPARE(s.grid->Row(), 1);
        s.Key(Qt::Key_F2);
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        s.Key(Qt::Key_Return);
        QTRY_VERIFY(s.grid->Editor() == nullptr);
        QCOMPARE(s.valueChanged, 2);
    }

    void numbersOnlyTakeTheAllowedDecimals_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        const char* english[][2] = {{"1.23", "1"}, {"-1.2", "1"}, {"+5", "1"}, {".5", "1"}, {"7.", "1"},
                                    {"1.234", ""}, {"abc", ""},   {"", ""},    {"-", ""},   {"1,5", ""},
                                    {"1e3", ""},   {" 1", ""},    {"1.2.3", ""}};
        for (const auto& c : english)
            QTest::newRow(c[0]) << "en_US" << c[0] << (*c[1] == '1');
        QTest::newRow("fr comma") << "fr_FR" << "1,25" << true;
        QTest::newRow("fr point") << "fr_FR" << "1.25" << true;
        QTest::newRow("fr three") << "fr_FR" << "1,255" << false;
    }

    void numbersOnlyTakeTheAllowedDecimals()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, number);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(QLocale().name(), locale);
        QCOMPARE(FlexgridEx::IsNumberText(text, 2), number);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void twoDecimalsRefuseTypedAndPastedText()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Shown s;
        QVERIFY(s.Start(6, 4));
        s.grid->SetEditNumericOnly(true);
        s.grid->SetEditDecimals(2);
        s.grid->SetTextMatrix(2, 2, QStringLiteral("0.50"));

        // Typed: the fourth digit and the letters do not go in.
        s.Select(2, 2, 2, 2);
        s.Type(QStringLiteral("1.234"));
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        QCOMPARE(s.grid->Editor()->text(), QStringLiteral("1.23"));
        s.Key(Qt::Key_Return);
        QTRY_COMPARE(s.valueChanged, 1);
        QCOMPARE(s.grid->TextMatrix(2, 2), QStringLiteral("1.23"));
        s.Type(QStringLiteral("abc"));
        QTRY_VERIFY(s.grid->Editor() != nullptr);
        QCOMPARE(s.grid->Editor()->text(), QStringLiteral("1.23"));
        s.Key(Qt::Key_Return);
        QTRY_VERIFY(s.grid->Editor() == nullptr);
        QCOMPARE(s.valueChanged, 1);

        // Pasted: refused whole, nothing changes; a number goes in.
        for (const char* refused : {"1.234", "abc", "1\tabc"}) {
            QGuiApplication::clipboard()->setText(QString::fromLatin1(refused));
            s.Select(2, 2, 2, 2);
            s.Key(Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(s.grid->TextMatrix(2, 2), QStringLiteral("1.23"));
            QCOMPARE(s.grid->TextMatrix(2, 3), QStringLiteral("2,3"));
            QCOMPARE(s.valueChanged, 1);
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("-4.5\t 6 \r\n"));
        s.Select(2, 2, 2, 2);
        s.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(s.valueChanged, 2);
        QCOMPARE(s.Texts(2, 2, 3), (QStringList{"-4.5", "6"}));
    }

    void pasteNearTheLastRowIsCutThere()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        int asked = 0;
        connect(s.grid, &FlexgridEx::EditBeforeEnter, this, [&](bool&) { ++asked; });
        QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\nc\td\ne\tf\n"));
        s.Select(4, 2, 4, 2);
        s.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(s.valueChanged, 1);
        QCOMPARE(asked, 1);
        QCOMPARE(s.Texts(4, 1, 3), (QStringList{"4,1", "a", "b"}));
        QCOMPARE(s.Texts(5, 1, 3), (QStringList{"5,1", "c", "d"}));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{4, 5, 2, 3}));
        // Cut at the last column too.
        s.Select(1, 3, 1, 3);
        s.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(s.Texts(1, 2, 3), (QStringList{"1,2", "a"}));
        QCOMPARE(s.Texts(2, 3, 3), (QStringList{"c"}));
        QCOMPARE(s.grid->ColSel(), 3);
        QCOMPARE(s.valueChanged, 2);
        // An empty clipboard does nothing; a locked grid refuses.
        QGuiApplication::clipboard()->clear();
        s.Key(Qt::Key_V, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("z"));
        s.grid->SetEditLocked(true);
        s.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(s.valueChanged, 2);
        QCOMPARE(s.grid->TextMatrix(1, 3), QStringLiteral("a"));
    }

    void dragsAndHeaderPressesSelect()
    {
        Shown s;
        QVERIFY(s.Start(8, 5));
        // An upward drag keeps the current cell where it began.
        QTest::mousePress(s.grid->viewport(), Qt::LeftButton, {}, s.Cell(5, 2));
        QTest::mouseMove(s.grid->viewport(), s.Cell(3, 3));
        QTest::mouseMove(s.grid->viewport(), s.Cell(2, 3));
        QTest::mouseRelease(s.grid->viewport(), Qt::LeftButton, {}, s.Cell(2, 3));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{5, 2, 2, 3}));
        QVERIFY(s.grid->RowSel() < s.grid->Row());
        const IFlexgrid::SelectionRange sel = s.grid->Selection();
        QCOMPARE((std::array{sel.FirstRow, sel.LastRow}), (std::array{2, 5}));

        // Shift extends from the current cell.
        QTest::mouseClick(s.grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, s.Cell(6, 1));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{5, 6, 2, 1}));

        // The fixed column selects whole rows, a drag or Shift extends.
        QWidget* left = s.grid->verticalHeader()->viewport();
        const auto rowPoint = [&](int row) {
            return QPoint(5, s.grid->verticalHeader()->sectionViewportPosition(row - 1) + 8);
        };
        QTest::mousePress(left, Qt::LeftButton, {}, rowPoint(3));
        QTest::mouseMove(left, rowPoint(1));
        QTest::mouseRelease(left, Qt::LeftButton, {}, rowPoint(1));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{3, 1, 1, 4}));
        QTest::mouseClick(left, Qt::LeftButton, Qt::ShiftModifier, rowPoint(6));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{3, 6, 1, 4}));

        // The fixed row whole columns, the corner everything.
        QWidget* top = s.grid->horizontalHeader()->viewport();
        QTest::mouseClick(top, Qt::LeftButton, {},
                          QPoint(s.grid->horizontalHeader()->sectionViewportPosition(2) + 5, 8));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{1, 7, 3, 3}));
        QAbstractButton* corner = s.grid->findChild<QAbstractButton*>();
        QVERIFY(corner);
        QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{1, 7, 1, 4}));
        QCOMPARE(s.grid->selectionModel()->selectedIndexes().size(), 28);

        // Keys move the current cell, Shift the far corner.
        s.Select(2, 2, 2, 2);
        s.Key(Qt::Key_Down);
        s.Key(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE((std::array{s.grid->Row(), s.grid->RowSel(), s.grid->Col(), s.grid->ColSel()}),
                 (std::array{3, 3, 2, 3}));
    }

    void topRowScrollsWithTheHeaderFrozen()
    {
        Shown s;
        // Room for 10 data rows under the header.
        QVERIFY(s.Start(21, 3, 11 * FlexgridEx::RowPixels));
        QCOMPARE(s.grid->TopRow(), 1);
        s.grid->SetTopRow(11);
        QCOMPARE(s.grid->TopRow(), 11);
        QCOMPARE(s.grid->rowAt(0), 10);
        QCOMPARE(s.grid->horizontalHeader()->geometry().top(), 0);
        s.grid->SetTopRow(1);
        QCOMPARE(s.grid->rowAt(0), 0);
        s.Select(10, 1, 10, 1);
        s.Key(Qt::Key_Down);
        QCOMPARE(s.grid->TopRow(), 2);
    }

    void colPosRowHeightAndMouseInTwips()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        const float tx = MControls::TwipsPerPixel(s.grid, true);
        const float ty = MControls::TwipsPerPixel(s.grid, false);
        s.grid->SetColWidth(0, static_cast<int>(40 * tx));
        s.grid->SetColWidth(1, static_cast<int>(60 * tx));
        QTRY_COMPARE(s.grid->viewport()->x(), 40);
        QCOMPARE(s.grid->ColWidth(0), static_cast<int>(40 * tx));
        QCOMPARE(s.grid->ColPos(0), 0);
        QCOMPARE(s.grid->ColPos(1), static_cast<int>(40 * tx));
        QCOMPARE(s.grid->ColPos(2), static_cast<int>(100 * tx));
        QCOMPARE(s.grid->RowHeight(0), static_cast<int>(FlexgridEx::RowPixels * ty));
        QCOMPARE(s.grid->RowHeight(3), static_cast<int>(FlexgridEx::RowPixels * ty));

        std::vector<std::array<float, 4>> downs;
        connect(s.grid, &FlexgridEx::MouseDown, this, [&](int32_t& b, int32_t& sh, float& x, float& y) {
            downs.push_back({float(b), float(sh), x, y});
        });
        QTest::mousePress(s.grid->viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(10, 5));
        QTest::mouseRelease(s.grid->viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(10, 5));
        QTest::mousePress(s.grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(3, 4));
        QTest::mouseRelease(s.grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(3, 4));
        QCOMPARE(downs.size(), size_t(2));
        QCOMPARE(downs[0], (std::array{2.0f, 2.0f, 50 * tx, 21 * ty}));
        QCOMPARE(downs[1], (std::array{1.0f, 0.0f, 43 * tx, 4 * ty}));

        // Scrolling moves the data columns' positions.
        s.grid->SetCols(12);
        QTRY_VERIFY(s.grid->horizontalScrollBar()->maximum() > 0);
        s.grid->horizontalScrollBar()->setValue(1);
        QCOMPARE(s.grid->ColPos(2), static_cast<int>(40 * tx));
        QCOMPARE(s.grid->ColPos(0), 0);
    }

    void keyCodeZeroSwallowsTheKey()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        std::vector<std::pair<int16_t, int32_t>> downs;
        bool swallow = false;
        connect(s.grid, &FlexgridEx::KeyDown, this, [&](int16_t& code, int32_t& shift) {
            downs.emplace_back(code, shift);
            if (swallow)
                code = 0;
        });
        s.Select(2, 2, 2, 2);
        s.Key(Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(s.window.deletes, 1);
        QCOMPARE(downs.back(), (std::pair<int16_t, int32_t>(Dadavive::VK_DELETE, 1)));
        swallow = true;
        s.Key(Qt::Key_Delete);
        QCOMPARE(s.window.deletes, 1);
        s.Key(Qt::Key_Down);
        QCOMPARE(s.grid->Row(), 2);
        s.Type(QStringLiteral("x"));
        QVERIFY(s.grid->Editor() == nullptr);
        QCOMPARE(downs.back().first, int16_t('X'));
        swallow = false;
        s.Key(Qt::Key_Down);
        QCOMPARE(s.grid->Row(), 3);
    }

    void fillStyleColoursTheBlock()
    {
        Shown s;
        QVERIFY(s.Start(6, 4));
        s.grid->SetFillStyle(1);
        s.Select(2, 1, 3, 2);
        s.grid->SetCellBackColor(IFlexgrid::RGB(200, 0, 0));
        s.grid->SetFillStyle(0);
        s.grid->SetRow(5);
        s.grid->SetCol(3);
        s.grid->SetCellBackColor(IFlexgrid::RGB(0, 0, 200));
        // No selection paints over the colours.
        s.grid->SetRow(0);
        s.grid->SetCol(0);
        QApplication::processEvents();
        const QImage shot = s.grid->grab().toImage();
        const auto at = [&](int r, int c) {
            return shot.pixelColor(s.grid->viewport()->mapTo(s.grid, s.Cell(r, c) + QPoint(-10, -4)));
        };
        for (const auto& [r, c] : {std::pair{2, 1}, {2, 2}, {3, 1}, {3, 2}})
            QCOMPARE(at(r, c), QColor(200, 0, 0));
        QCOMPARE(at(5, 3), QColor(0, 0, 200));
        for (const auto& [r, c] : {std::pair{1, 1}, {4, 2}, {2, 3}, {5, 2}})
            QVERIFY(at(r, c) != QColor(200, 0, 0) && at(r, c) != QColor(0, 0, 200));
    }

    void paintsOnlyWhileRedrawAndDrawingEnabled()
    {
        // Two grids side by side, and what the screen shows of them.
        Shown off;
        Shown on;
        QVERIFY(off.Start(6, 4, 300, 0));
        QVERIFY(on.Start(6, 4, 300, 450));
        const auto onScreen = [](Shown& s, int row, int col) {
            const QPoint p = s.grid->viewport()->mapToGlobal(s.Cell(row, col) + QPoint(-10, -4));
            return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixelColor(0, 0);
        };
        const QColor colours[] = {QColor(200, 0, 0), QColor(0, 0, 200)};
        for (int mode = 0; mode < 2; ++mode) {
            if (mode == 0)
                off.grid->SetRedraw(false);
            else
                off.grid->SetDrawingEnabled(false);
            const QColor colour = colours[mode];
            for (Shown* s : {&off, &on}) {
                s->grid->SetFillStyle(1);
                s->Select(2, 2, 3, 3);
                s->grid->SetCellBackColor(IFlexgrid::RGB(colour.red(), colour.green(), colour.blue()));
                s->grid->SetTextMatrix(1, 1, QStringLiteral("changed %1").arg(mode));
                s->grid->SetRow(0);
                s->grid->SetCol(0);
            }
            QTRY_COMPARE(onScreen(on, 3, 3), colour);
            QVERIFY(onScreen(off, 3, 3) != colour);
            off.grid->SetRedraw(true);
            off.grid->SetDrawingEnabled(true);
            QTRY_COMPARE(onScreen(off, 3, 3), colour);
            QCOMPARE(onScreen(off, 2, 2), colour);
        }
    }
};

QTEST_MAIN(TestFlexgridEx)
#include "tst_FlexgridEx.moc"
