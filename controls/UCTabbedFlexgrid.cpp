#include "UCTabbedFlexgrid.h"

#include "CTooltip.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "RuvError.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace {

const QString kSource = QStringLiteral("UCTabbedFlexgrid");

RuvError ControlError(const QString& source, const QString& description)
{
    return RuvError(static_cast<int32_t>(0x80040001u), description, source);
}

} // namespace

// Receives the tab strip's mouse-down from the subclass object.
class UCTabbedFlexgrid::TabSink final : public Dadavive::SubclassEventsBase
{
public:
    explicit TabSink(UCTabbedFlexgrid* owner) : m_owner(owner) {}
    void MouseDown(int32_t& Button, int32_t&, int32_t PxX, int32_t PxY, bool&) override
    {
        // Not marked handled: the strip still selects the tab itself.
        if (m_owner)
            m_owner->ActivateTab(Button, PxX, PxY);
    }

private:
    QPointer<UCTabbedFlexgrid> m_owner;
};

UCTabbedFlexgrid::UCTabbedFlexgrid(QWidget* parent) : QWidget(parent)
{
    tabFlexgrid = new QTabBar(this);
    tabFlexgrid->setExpanding(false);
    tabFlexgrid->addTab(QString());
    connect(tabFlexgrid, &QTabBar::currentChanged, this, [this](int index) {
        ShowCurrentGrid();
        if (IsValidIndex(index))
            m_selected = m_wrappers[static_cast<size_t>(index)].get();
    });
    fxgGrids.push_back(NewGrid());
    fxgGrids[0]->hide();

    Com::ComPtr<Dadavive::ICSubclass> sc;
    if (Com::Succeeded(Com::CreateInstance(Dadavive::CLSID_CSubclass, sc)) && sc) {
        m_tabSink = Com::ComPtr<TabSink>::Attach(new TabSink(this));
        sc->SetEvents(m_tabSink.Get());
        if (Com::Succeeded(sc->Init(tabFlexgrid.data()))) {
            sc->SetMouseDown(true);
            tabFlexgridSc = sc;
        } else {
            sc->Terminate();
        }
    }
    if (!tabFlexgridSc)
        tabFlexgrid->installEventFilter(this);
    ArrangeGrids();
}

UCTabbedFlexgrid::~UCTabbedFlexgrid()
{
    // Nothing the grids raise while they go reaches this control.
    for (const QPointer<FlexgridEx>& grid : fxgGrids)
        if (grid)
            grid->disconnect(this);
    if (tabFlexgrid)
        tabFlexgrid->disconnect(this);
    Clear();
    if (tabFlexgridSc) {
        tabFlexgridSc->Terminate();
        tabFlexgridSc = nullptr;
    }
}

FlexgridEx* UCTabbedFlexgrid::NewGrid()
{
    auto* grid = new FlexgridEx(this);
    connect(grid, &FlexgridEx::MouseDown, this, [this, grid](int32_t& b, int32_t& s, float& x, float& y) {
        m_mouseDown = true;
        emit FlexgridMouseDown(*grid, b, s, x, y);
    });
    connect(grid, &FlexgridEx::MouseUp, this, [this, grid](int32_t& b, int32_t& s, float& x, float& y) {
        // A release that follows a press outside the grids raises nothing.
        if (!m_mouseDown)
            return;
        m_mouseDown = false;
        if (CFlexgridWrapper* w = WrapperOf(grid))
            emit WrapperMouseUp(*w, b, s, x, y);
    });
    connect(grid, &FlexgridEx::MouseMove, this, [this, grid](int32_t& b, int32_t& s, float& x, float& y) {
        if (CFlexgridWrapper* w = WrapperOf(grid))
            w->Flexgrid_MouseMove(b, s, x, y);
    });
    connect(grid, &FlexgridEx::EditBeforeEnter, this, [this, grid](bool& cancel) {
        if (CFlexgridWrapper* w = WrapperOf(grid))
            w->Flexgrid_EditBeforeEnter(cancel);
    });
    connect(grid, &FlexgridEx::ValueChanged, this, [this, grid] {
        if (CFlexgridWrapper* w = WrapperOf(grid))
            emit WrapperValueChanged(*w);
    });
    connect(grid, &FlexgridEx::EditGotFocus, this, [this, grid] { emit FlexgridEditGotFocus(*grid); });
    connect(grid, &FlexgridEx::EditLostFocus, this, [this, grid] { emit FlexgridEditLostFocus(*grid); });
    connect(grid, &FlexgridEx::KeyDown, this, [this, grid](int16_t& code, int32_t& shift) {
        emit FlexgridKeyDown(*grid, code, shift);
    });
    connect(grid, &FlexgridEx::KeyUp, this, [this, grid](int16_t& code, int32_t& shift) {
        emit FlexgridKeyUp(*grid, code, shift);
    });
    connect(grid, &FlexgridEx::GotFocus, this, [this, grid] {
        if (CFlexgridWrapper* w = WrapperOf(grid))
            m_selected = w;
    });
    return grid;
}

CFlexgridWrapper* UCTabbedFlexgrid::WrapperOf(const FlexgridEx* grid) const
{
    for (int32_t i = 0; i < m_itemCount; ++i)
        if (fxgGrids[static_cast<size_t>(i)] == grid)
            return m_wrappers[static_cast<size_t>(i)].get();
    return nullptr;
}

template <class F>
void UCTabbedFlexgrid::EachGrid(F f)
{
    for (int32_t i = 0; i < m_itemCount; ++i)
        if (FlexgridEx* grid = fxgGrids[static_cast<size_t>(i)])
            f(*grid);
}

template <class F>
void UCTabbedFlexgrid::EachWrapper(F f)
{
    for (int32_t i = 0; i < m_itemCount; ++i)
        f(*m_wrappers[static_cast<size_t>(i)]);
}

// ---- Requests to every tab ------------------------------------------------------

void UCTabbedFlexgrid::StartFlexgridsChange()
{
    EachGrid([](FlexgridEx& g) { g.SetDrawingEnabled(false); });
}

void UCTabbedFlexgrid::EndFlexgridsChange(bool refresh)
{
    EachGrid([refresh](FlexgridEx& g) {
        g.SetDrawingEnabled(true);
        if (refresh)
            g.Refresh();
    });
}

void UCTabbedFlexgrid::ReloadFlexgrids(const C3DCurve* curve)
{
    EachWrapper([curve](CFlexgridWrapper& w) { w.Reload(curve); });
}

void UCTabbedFlexgrid::SelectFlexgridsRow(int32_t row, bool ensureVisible)
{
    EachGrid([row, ensureVisible](FlexgridEx& g) {
        g.SelectRow(row, false);
        if (!ensureVisible)
            return;
        const int32_t f = g.FixedRows();
        const int32_t n = g.Rows() - f;
        const int32_t v = g.height() / FlexgridEx::RowPixels - f;
        if (v <= 0)
            return;
        if (n <= v) {
            g.SetTopRow(f);
            return;
        }
        // The last row stays at the bottom.
        int32_t t = row;
        if (n - row + 1 < v)
            t = n - v + 1;
        g.SetTopRow(std::clamp(t, f, n));
    });
}

void UCTabbedFlexgrid::ClearFlexgridsSelection()
{
    EachWrapper([](CFlexgridWrapper& w) { w.ClearSelection(); });
}

void UCTabbedFlexgrid::UpdateFlexgridCells(const C3DCurve* curve, int32_t row, std::span<const int32_t> properties)
{
    EachWrapper([&](CFlexgridWrapper& w) { w.UpdateCells(curve, row, properties); });
}

void UCTabbedFlexgrid::UpdateFlexgridColumn(const C3DCurve* curve, int32_t property)
{
    EachWrapper([&](CFlexgridWrapper& w) { w.UpdateColumn(curve, property); });
}

void UCTabbedFlexgrid::LockFlexgridEdition(bool lock)
{
    EachGrid([lock](FlexgridEx& g) { g.SetEditLocked(lock); });
}

// ---- Items ----------------------------------------------------------------------

void UCTabbedFlexgrid::CheckIndex(int32_t index) const
{
    if (!IsValidIndex(index))
        throw ControlError(kSource, QStringLiteral("Invalid index : ") + QString::number(index));
}

UCTabbedFlexgrid::Tab UCTabbedFlexgrid::Tabs(int32_t index) const
{
    CheckIndex(index);
    if (!tabFlexgrid || index >= tabFlexgrid->count())
        return Tab{index + 1, QString(), QString()};
    return Tab{index + 1, tabFlexgrid->tabData(index).toString(), tabFlexgrid->tabText(index)};
}

CFlexgridWrapper& UCTabbedFlexgrid::Wrappers(int32_t index) const
{
    CheckIndex(index);
    return *m_wrappers[static_cast<size_t>(index)];
}

FlexgridEx& UCTabbedFlexgrid::Grids(int32_t index) const
{
    CheckIndex(index);
    FlexgridEx* grid = fxgGrids[static_cast<size_t>(index)];
    if (grid == nullptr)
        throw ControlError(kSource, QStringLiteral("Invalid index : ") + QString::number(index));
    return *grid;
}

void UCTabbedFlexgrid::StartChange()
{
    m_changing = true;
}

void UCTabbedFlexgrid::EndChange()
{
    if (!m_changing)
        return;
    m_changing = false;
    ArrangeGrids();
}

void UCTabbedFlexgrid::Add(const QString& caption, const CFlexgridWrapper::Columns& columns)
{
    if (m_itemCount == MaxItems)
        throw ControlError(kSource + QStringLiteral(".Add"),
                           QStringLiteral("No more slot is available. Cannot add a new item."));
    const size_t slot = static_cast<size_t>(m_itemCount);
    QTabBar* bar = tabFlexgrid.data();
    const QSignalBlocker blocker(bar);
    if (m_itemCount == 0) {
        if (bar)
            bar->setTabText(0, caption);
    } else {
        if (bar) {
            const int tab = bar->addTab(caption);
            bar->setTabData(tab, QStringLiteral("tab") + QString::number(m_itemCount + 1));
        }
        fxgGrids.push_back(NewGrid());
    }
    auto wrapper = std::make_unique<CFlexgridWrapper>();
    try {
        wrapper->Initialize(fxgGrids[slot].data(), columns);
    } catch (...) {
        // The tab and the grid go again: nothing stays half added.
        if (m_itemCount == 0) {
            if (bar)
                bar->setTabText(0, QString());
        } else {
            if (bar)
                bar->removeTab(bar->count() - 1);
            delete fxgGrids.back().data();
            fxgGrids.pop_back();
        }
        throw;
    }
    m_wrappers[slot] = std::move(wrapper);
    ++m_itemCount;
    Layout();
}

void UCTabbedFlexgrid::Remove(int32_t index)
{
    CheckIndex(index);
    if (m_itemCount == 1) {
        Clear();
        return;
    }
    if (tabFlexgrid) {
        const QSignalBlocker blocker(tabFlexgrid.data());
        tabFlexgrid->removeTab(index);
    }
    const size_t i = static_cast<size_t>(index);
    if (m_selected == m_wrappers[i].get())
        m_selected = nullptr;
    m_wrappers[i].reset();
    std::rotate(m_wrappers.begin() + static_cast<std::ptrdiff_t>(i),
                m_wrappers.begin() + static_cast<std::ptrdiff_t>(i) + 1, m_wrappers.end());
    // The grids behind move down with their tabs and wrappers. The grid may
    // be raising the event that removes it: it goes once that is over.
    if (FlexgridEx* grid = fxgGrids[i]) {
        grid->disconnect(this);
        grid->hide();
        grid->deleteLater();
    }
    fxgGrids.erase(fxgGrids.begin() + static_cast<std::ptrdiff_t>(i));
    --m_itemCount;
    Layout();
}

void UCTabbedFlexgrid::Clear()
{
    if (tabFlexgrid) {
        const QSignalBlocker blocker(tabFlexgrid.data());
        while (tabFlexgrid->count() > 1)
            tabFlexgrid->removeTab(tabFlexgrid->count() - 1);
        tabFlexgrid->setTabText(0, QString());
    }
    m_selected = nullptr;
    for (std::unique_ptr<CFlexgridWrapper>& w : m_wrappers)
        w.reset();
    for (size_t i = 1; i < fxgGrids.size(); ++i) {
        if (FlexgridEx* grid = fxgGrids[i]) {
            grid->Clear();
            grid->disconnect(this);
            grid->hide();
            grid->deleteLater();
        }
    }
    fxgGrids.resize(1);
    if (fxgGrids[0])
        fxgGrids[0]->hide();
    m_itemCount = 0;
    Layout();
}

// ---- Layout and activation ------------------------------------------------------

void UCTabbedFlexgrid::Layout()
{
    if (!m_changing)
        ArrangeGrids();
    ShowCurrentGrid();
}

void UCTabbedFlexgrid::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!m_changing)
        ArrangeGrids();
}

void UCTabbedFlexgrid::ArrangeGrids()
{
    const int top = tabFlexgrid ? tabFlexgrid->sizeHint().height() : 0;
    if (tabFlexgrid)
        tabFlexgrid->setGeometry(0, 0, width(), top);
    for (const QPointer<FlexgridEx>& grid : fxgGrids)
        if (grid)
            grid->setGeometry(0, top, width(), std::max(0, height() - top));
    // The header tips cover the grids' new size.
    EachWrapper([](CFlexgridWrapper& w) {
        if (CTooltip* tip = w.Tooltip())
            tip->UpdateToolRectangleSize();
    });
}

void UCTabbedFlexgrid::ShowCurrentGrid()
{
    // Without its tab strip the control keeps showing the first grid.
    const int current = tabFlexgrid ? tabFlexgrid->currentIndex() : 0;
    for (size_t i = 0; i < fxgGrids.size(); ++i) {
        FlexgridEx* grid = fxgGrids[i];
        if (grid == nullptr)
            continue;
        const bool shown = static_cast<int>(i) == current && IsValidIndex(current);
        grid->setVisible(shown);
        if (shown)
            grid->raise();
    }
}

void UCTabbedFlexgrid::ActivateTab(int32_t button, int32_t pxX, int32_t pxY)
{
    if (button != 1 || !tabFlexgrid)
        return;
    const int count = tabFlexgrid->count();
    int i = tabFlexgrid->tabAt(QPoint(pxX, pxY));
    if (i < 0) {
        // Right of the last tab: the last one; anywhere else the current.
        const bool pastLast = count > 0 && pxX > tabFlexgrid->tabRect(count - 1).right();
        i = pastLast ? count - 1 : tabFlexgrid->currentIndex();
    }
    i = std::clamp(i, 0, count - 1);
    if (!IsValidIndex(i))
        return;
    tabFlexgrid->setCurrentIndex(i);
    ShowCurrentGrid();
    m_selected = m_wrappers[static_cast<size_t>(i)].get();
}

bool UCTabbedFlexgrid::eventFilter(QObject* watched, QEvent* e)
{
    // Without the subclassing library the strip's own press stands in. The
    // type comes first: the strip's teardown events must not read it.
    if (e->type() == QEvent::MouseButtonPress && watched == tabFlexgrid) {
        const auto* m = static_cast<QMouseEvent*>(e);
        const int32_t button = m->button() == Qt::LeftButton ? 1 : m->button() == Qt::RightButton ? 2 : 4;
        const QPoint p = m->position().toPoint();
        ActivateTab(button, p.x(), p.y());
    }
    return QWidget::eventFilter(watched, e);
}
