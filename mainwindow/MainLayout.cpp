#include "MainLayout.h"

#include "MainContext.h"
#include "MainState.h"
#include "MainWidgets.h"

#include <QComboBox>
#include <QTabWidget>

namespace {

// Holds the window's combo guard while code fills or selects a combo box.
class ComboGuard
{
public:
    explicit ComboGuard(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~ComboGuard() { m_flag = m_before; }
    ComboGuard(const ComboGuard&) = delete;
    ComboGuard& operator=(const ComboGuard&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

}  // namespace

void MainLayout::fFillViewRatios()
{
    ComboGuard guard(m_c.state.m_comboGuard);
    QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    combo->clear();
    // Each item's data is the ratio times 10^8.
    combo->addItem(QStringLiteral("<free>"), 100000000);
    combo->addItem(QStringLiteral("4:3"), 133333333);
    combo->addItem(QStringLiteral("16:9"), 177777778);
    combo->addItem(QStringLiteral("16:10"), 160000000);
    combo->setCurrentIndex(1);
}

void MainLayout::fSelectTabPage(int32_t index)
{
    QTabWidget* tabs = m_c.widgets.tabControl;
    if (index == -1)
        index = tabs->currentIndex();
    if (index < 0)
        index = 0;
    if (index >= tabs->count())
        index = tabs->count() - 1;
    tabs->setCurrentIndex(index);
}

int16_t MainLayout::fGetViewRatioIndex() const
{
    return static_cast<int16_t>(m_c.widgets.cbo3DViewRatio->currentIndex());
}

void MainLayout::fSetViewRatioIndex(int32_t index, bool silent)
{
    QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    if (index < 0 || index >= combo->count())
        return;
    if (silent) {
        ComboGuard guard(m_c.state.m_comboGuard);
        combo->setCurrentIndex(index);
    } else {
        combo->setCurrentIndex(index);
    }
}

void MainLayout::FormSc_Resizing(int16_t& minWidth, int16_t&, int16_t& minHeight, int16_t&)
{
    minWidth = 520;
    minHeight = 513;
}
