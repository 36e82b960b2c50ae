// The point grid as the main window shows it: the "Base", "LookAt" and
// "Cmd" tabs over a curve of 250 points. The status line tells each edit.

#include "../../tests/controls/PointGridColumns.h"
#include "DemoPages.h"
#include "UCTabbedFlexgrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

class PointGridPage : public QWidget
{
public:
    explicit PointGridPage(QWidget* parent) : QWidget(parent)
    {
        for (int i = 0; i < C3DCurve::MAX_CONTROL; ++i) {
            const double a = i * 0.21;
            m_curve.AddControl3(static_cast<float>(800 * std::cos(a)), static_cast<float>(800 * std::sin(a)),
                                static_cast<float>(40 * std::sin(3 * a)), static_cast<float>(8 * std::sin(a)),
                                static_cast<float>(i * 3 % 360), 0.0f, true);
            if (i % 10 == 0)
                m_curve.SetCommand(i + 1, QStringLiteral("say point %1").arg(i + 1));
        }
        grid = new UCTabbedFlexgrid(this);
        status = new QLabel(QStringLiteral("Edit a cell: Enter, F2, a double-click or Ctrl+V."), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(grid, 1);
        layout->addWidget(status);

        grid->StartChange();
        for (int tab = 0; tab < 3; ++tab) {
            grid->Add(QString::fromLatin1(PointGridColumns::kTabs[tab]), PointGridColumns::Tab(tab));
            if (tab < 2)
                grid->Wrappers(tab).Grid()->SetEditNumericOnly(true);
        }
        grid->EndChange();
        grid->Wrappers(0).SetHeaderTooltips({QString(), QStringLiteral("Time of the point, in seconds"),
                                             QStringLiteral("Position along x")});
        grid->ReloadFlexgrids(&m_curve);
        QObject::connect(grid, &UCTabbedFlexgrid::WrapperValueChanged, this, [this](CFlexgridWrapper& w) {
            const IFlexgrid& g = *w.Grid();
            const IFlexgrid::SelectionRange s = g.Selection();
            status->setText(QStringLiteral("Value changed: rows %1 to %2, columns %3 to %4, first cell \"%5\"")
                                .arg(s.FirstRow)
                                .arg(s.LastRow)
                                .arg(s.FirstColumn)
                                .arg(s.LastColumn)
                                .arg(g.TextMatrix(s.FirstRow, s.FirstColumn)));
            ++changes;
        });
    }

    UCTabbedFlexgrid* grid = nullptr;
    QLabel* status = nullptr;
    int changes = 0;

private:
    C3DCurve m_curve;
};

bool SelfTest(QWidget* page)
{
    auto* p = static_cast<PointGridPage*>(page);
    UCTabbedFlexgrid& grid = *p->grid;
    bool ok = grid.ItemCount() == 3 && grid.Tabs(2).Key == QStringLiteral("tab3");
    for (int tab = 0; ok && tab < 3; ++tab)
        ok = grid.Grids(tab).Rows() == 251 && grid.Grids(tab).TextMatrix(250, 0) == QStringLiteral("250");
    ok = ok && grid.Grids(2).TextMatrix(11, 2) == QStringLiteral("say point 11");
    // An edit as the user makes it reaches the status line.
    FlexgridEx& base = grid.Grids(0);
    grid.SelectFlexgridsRow(200, true);
    ok = ok && base.TopRow() > 1;
    base.SetRow(3);
    base.SetCol(2);
    base.setFocus();
    base.edit(base.currentIndex());
    if (QLineEdit* editor = base.Editor()) {
        editor->setText(QStringLiteral("12.5"));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    ok = ok && QTest::qWaitFor([p] { return p->changes == 1; })
         && p->status->text().contains(QStringLiteral("rows 3 to 3"));
    grid.SelectFlexgridsRow(3, true);
    if (!ok)
        std::fprintf(stderr, "point grid: rows, texts or the edit are not what they should be\n");
    return ok;
}

const DemoPages::Registration registration({QStringLiteral("Point grid"),
                                            [](QWidget* parent) { return new PointGridPage(parent); }, SelfTest});

} // namespace
