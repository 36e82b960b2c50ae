// The point grid's refresh: a wrapper's Reload of a 250-point curve into a
// grid with a column per point property, plus one repaint, beside a bare
// QTableWidget of that shape given the same texts (through the same number
// formatting) and colours, timed in one run, interleaved, median of 20.
// Then a 250 x 6 block paste, which must raise exactly one ValueChanged
// (the program exits 1 otherwise).
//
// Without a display it runs on the offscreen platform.

#include "BenchTiming.h"
#include "C3DCurve.h"
#include "CFlexgridWrapper.h"
#include "FlexgridEx.h"
#include "LongCurve.h"
#include "MDisplayNumber.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 20;
constexpr int kWidth = 59;

using bench::Median;

// The row-number column, then properties 1 to 25 but 16.
CFlexgridWrapper::Columns AllProperties(std::vector<int32_t>& ids)
{
    const std::array<int32_t, 26> types = C3DCurve::GetPropertyTypes();
    CFlexgridWrapper::Columns columns{CFlexgridColumn::NewColumn(QStringLiteral("n"), 4, 8, 29, -1, true, -1, 1)};
    for (int32_t p = 1; p <= 25; ++p) {
        if (p == 16)
            continue;
        const bool text = types[static_cast<size_t>(p)] == C3DCurve::TypeText;
        ids.push_back(p);
        columns.push_back(CFlexgridColumn::NewColumn(QStringLiteral("p%1").arg(p), 4, text ? 2 : 8, kWidth, p,
                                                     false, text ? -1 : 2, types[static_cast<size_t>(p)]));
    }
    return columns;
}

// The bare table gets what the wrapper shows, cell for cell.
void FillBare(QTableWidget& t, const C3DCurve& curve, const std::vector<int32_t>& ids)
{
    const QBrush text(QColor(41, 40, 40));
    const QBrush back(QColor(245, 242, 240));
    const QBrush alternate(QColor(224, 222, 220));
    for (int r = 1; r <= curve.ControlsCount(); ++r) {
        t.verticalHeaderItem(r - 1)->setText(CFlexgridWrapper::RowNumberText(r));
        for (size_t k = 0; k < ids.size(); ++k) {
            const TaggedValue v = curve.value(r, ids[k]);
            QTableWidgetItem* cell = t.item(r - 1, static_cast<int>(k));
            if (cell == nullptr) {
                cell = new QTableWidgetItem;
                t.setItem(r - 1, static_cast<int>(k), cell);
            }
            cell->setText(v.IsText() ? v.TextValue() : MDisplayNumber::Format(v.Number(), 2));
            cell->setForeground(text);
            cell->setBackground(r % 2 == 1 ? alternate : back);
        }
    }
}

C3DCurve Shifted(const C3DCurve& base, float by)
{
    C3DCurve c = base.Clone();
    for (int r = 1; r <= c.ControlsCount(); ++r)
        c.SetValue(r, 1, TaggedValue(static_cast<float>(c.value(r, 1).Number() + by)));
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::vector<int32_t> ids;
    const CFlexgridWrapper::Columns columns = AllProperties(ids);
    // Two curves in turn, so that every reload changes every number.
    const C3DCurve curves[2] = {bench::MakeLongCurve(), Shifted(bench::MakeLongCurve(), 0.25f)};

    FlexgridEx grid;
    CFlexgridWrapper wrapper;
    wrapper.Initialize(&grid, columns);
    QObject::connect(&grid, &FlexgridEx::EditBeforeEnter, [&](bool& cancel) { wrapper.Flexgrid_EditBeforeEnter(cancel); });
    grid.resize(1000, 600);
    grid.show();

    QTableWidget bare(bench::kControls, static_cast<int>(ids.size()));
    bare.setFont(grid.font());
    bare.horizontalHeader()->setDefaultSectionSize(kWidth);
    bare.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    bare.verticalHeader()->setMinimumSectionSize(1);
    bare.verticalHeader()->setDefaultSectionSize(FlexgridEx::RowPixels);
    for (int r = 0; r < bench::kControls; ++r)
        bare.setVerticalHeaderItem(r, new QTableWidgetItem);
    for (size_t k = 0; k < ids.size(); ++k)
        bare.setHorizontalHeaderItem(static_cast<int>(k), new QTableWidgetItem(columns[k + 1]->Caption()));
    bare.resize(1000, 600);
    bare.show();
    QApplication::processEvents();

    std::vector<double> wrapped;
    std::vector<double> plain;
    QElapsedTimer clock;
    for (int run = -2; run < kRuns; ++run) {
        const C3DCurve& curve = curves[(run + 2) % 2];
        clock.start();
        wrapper.Reload(&curve);
        grid.Refresh();
        const double w = clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();

        clock.start();
        FillBare(bare, curve, ids);
        bare.repaint();
        const double b = clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();
        if (run >= 0) {
            wrapped.push_back(w);
            plain.push_back(b);
        }
    }
    const double w = Median(wrapped);
    const double b = Median(plain);
    std::printf("grid_refresh: %d points x %zu columns, median of %d\n", bench::kControls, columns.size(), kRuns);
    std::printf("  wrapper Reload + repaint   %8.2f ms\n", w);
    std::printf("  bare QTableWidget + repaint %7.2f ms\n", b);
    std::printf("  ratio                      %8.2f (target 1.5 or less)\n", w / b);

    // A block of 250 lines of 6 numbers pasted at row 1, column 1.
    QString block;
    for (int r = 1; r <= bench::kControls; ++r)
        for (int c = 1; c <= 6; ++c)
            block += MDisplayNumber::Format(r * 10 + c + 0.5, 2) + (c == 6 ? QStringLiteral("\n") : QStringLiteral("\t"));
    QGuiApplication::clipboard()->setText(block);
    int valueChanged = 0;
    QObject::connect(&grid, &FlexgridEx::ValueChanged, [&] { ++valueChanged; });
    grid.SetRow(1);
    grid.SetCol(1);
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"));
    clock.start();
    QApplication::sendEvent(&grid, &paste);
    grid.Refresh();
    const double p = clock.nsecsElapsed() / 1e6;
    const bool whole = grid.TextMatrix(250, 6) == MDisplayNumber::Format(2506.5, 2);
    std::printf("  paste 250 x 6 + repaint    %8.2f ms, ValueChanged %d%s\n", p, valueChanged,
                whole ? "" : ", block not written");
    return valueChanged == 1 && whole ? 0 : 1;
}
