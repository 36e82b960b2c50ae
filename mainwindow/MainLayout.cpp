#include "MainLayout.h"

#include "DadaviveKeys.h"
#include "HandlerErrors.h"
#include "MCommon.h"
#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainShell.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UCOpenGLView.h"
#include "UCTabbedFlexgrid.h"
#include "UC3DCurveManager.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

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

// Each ratio item's data is the ratio times 10^8.
constexpr double RatioUnit = 100000000.0;

// The left column: the view's top edge and left edge, and the height of the
// strip of frames below it.
constexpr int32_t ViewLeft = 4;
constexpr int32_t ViewTop = 30;
constexpr int32_t FrameRowHeight = 26;
// The expand box's strip between the view and the right panel, at least;
// it widens to the check box its style draws.
constexpr int32_t MinExpandBoxWidth = 6;
// Between the point grid and its tool panel.
constexpr int32_t GridToolsGap = 3;

constexpr int16_t KeyShiftFlag = 1;
constexpr int16_t KeyCtrlFlag = 2;
constexpr int16_t KeyAltFlag = 4;

constexpr int16_t VkSpace = 32;
constexpr int16_t VkF2 = 113;
constexpr int16_t VkF4 = 115;

constexpr int32_t LeftButton = 1;

int32_t Round(double value)
{
    return static_cast<int32_t>(MCommon::RoundHalfEven(value));
}

int16_t ShiftOf(Qt::KeyboardModifiers m)
{
    return static_cast<int16_t>(((m & Qt::ShiftModifier) ? KeyShiftFlag : 0)
                                | ((m & Qt::ControlModifier) ? KeyCtrlFlag : 0)
                                | ((m & Qt::AltModifier) ? KeyAltFlag : 0));
}

}  // namespace

MainLayout::MainLayout(MainContext& context) : m_c(context)
{
    // The central area's resize is the window's resize; the key preview
    // sees the keys of every control of the window before the control.
    m_c.widgets.central->installEventFilter(this);
    qApp->installEventFilter(this);
    QObject::connect(m_c.widgets.cbo3DViewRatio, &QComboBox::currentIndexChanged, this,
                     [this] { RunHandler(m_c, [this] { cbo3DViewRatio_Click(); }); });
    QObject::connect(m_c.widgets.chkExpand, &QCheckBox::clicked, this,
                     [this] { RunHandler(m_c, [this] { chkExpand_Click(); }); });
}

MainLayout::~MainLayout()
{
    qApp->removeEventFilter(this);
}

// ---- The 3D view's ratio ------------------------------------------------------------

void MainLayout::fFillViewRatios()
{
    ComboGuard guard(m_c.state.m_comboGuard);
    QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    combo->clear();
    combo->addItem(QStringLiteral("<free>"), 100000000);
    combo->addItem(QStringLiteral("4:3"), 133333333);
    combo->addItem(QStringLiteral("16:9"), 177777778);
    combo->addItem(QStringLiteral("16:10"), 160000000);
    combo->setCurrentIndex(1);
}

int16_t MainLayout::fGetViewRatioIndex() const
{
    return static_cast<int16_t>(m_c.widgets.cbo3DViewRatio->currentIndex());
}

float MainLayout::fGetViewRatio() const
{
    const QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    if (combo->currentIndex() < 0)
        return 1.0f;
    return static_cast<float>(combo->currentData().toLongLong() / RatioUnit);
}

void MainLayout::fSetViewRatioIndex(int32_t index, bool silent)
{
    QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    if (combo->count() == 0)
        return;
    if (index < 0 || index >= combo->count())
        index = 0;
    if (silent) {
        ComboGuard guard(m_c.state.m_comboGuard);
        combo->setCurrentIndex(index);
    } else if (combo->currentIndex() == index) {
        cbo3DViewRatio_Click();
    } else {
        combo->setCurrentIndex(index);
    }
}

void MainLayout::cbo3DViewRatio_Click()
{
    if (m_c.state.m_comboGuard)
        return;
    m_c.parts.editState->fSetProjectModified(false);
    fArrangePanels(false);
    m_c.parts.sceneDrawing->fRefreshView();
}

// ---- Arranging the panels ---------------------------------------------------------

void MainLayout::Form_Resize()
{
    fArrangePanels(true);
}

void MainLayout::chkExpand_Click()
{
    fArrangePanels(false);
    IPreviewPlayback& preview = *m_c.parts.preview;
    if (!m_c.widgets.chkExpand->isChecked() && preview.fIsPlaying()
        && m_c.widgets.chk3dvAutoSelectPoint->isChecked())
        m_c.parts.pointGrid->fGridSelectRow(m_c.state.m_mainCurve, preview.fGetPreviewControl(), true);
    m_c.parts.sceneDrawing->fRefreshView();
}

QSize MainLayout::fComputeViewSize(bool expanded, int32_t innerWidth, int32_t innerHeight) const
{
    int32_t width = Round(innerWidth - 4.0 - 7.0);
    width -= expanded ? 3 : m_tabPanelWidth + MinExpandBoxWidth;
    // What a wider expand box takes more, the view gives up.
    width -= fExpandBoxWidth() - MinExpandBoxWidth;
    width = std::max(width, MinViewWidth);
    const int32_t height = std::max(innerHeight - 90, MinViewHeight);
    if (!m_c.parts.viewInput->fIsActiveView3D())
        return {width, height};

    m_c.widgets.chk3dvAutoSelectPoint->setVisible(!expanded);
    const double ratio = fGetViewRatio();
    // The free ratio fills the whole area the window leaves.
    if (!(ratio > 0.0) || ratio == 1.0)
        return {width, height};
    const int32_t fromHeight = Round(ratio * height);
    if (fromHeight <= width)
        return {fromHeight, height};
    return {width, Round(width / ratio)};
}

int32_t MainLayout::fExpandBoxWidth() const
{
    // The check box alone, without a caption: its indicator.
    return std::max(MinExpandBoxWidth, m_c.widgets.chkExpand->sizeHint().width());
}

bool MainLayout::fPlaceViewFrames(const QSize& view)
{
    MainWidgets& w = m_c.widgets;
    const int32_t width = view.width();
    const int32_t height = view.height();
    const bool widthChanged = w.oglView->width() != width;
    if (w.oglView->size() != view)
        w.oglView->setGeometry(ViewLeft, ViewTop, width, height);
    w.fraToolBar->setGeometry(0, 0, width + 7, ViewTop - 2);
    w.chkExpand->setGeometry(width + 4, ViewTop, fExpandBoxWidth(), height);
    w.fra3DView->setGeometry(ViewLeft, height + 32, width + 1, FrameRowHeight);
    w.fraPans->setGeometry(ViewLeft, height + 58, width + 1, FrameRowHeight);
    return widthChanged;
}

void MainLayout::fPlacePanels(bool expanded, int32_t innerWidth, int32_t innerHeight)
{
    QFrame* right = m_c.widgets.fraRight;
    if (expanded) {
        right->hide();
        return;
    }
    right->show();
    const int32_t left = m_c.widgets.chkExpand->x() + fExpandBoxWidth();
    const int32_t width = std::max(innerWidth - left, MinRightPanelWidth);
    right->setGeometry(left, right->y(), width, innerHeight);
    fPlaceGridPanels(innerHeight - m_c.widgets.fraFlexgridPanel->y());
}

void MainLayout::fPlaceGridPanels(int32_t height)
{
    MainWidgets& w = m_c.widgets;
    QFrame* panel = w.fraFlexgridPanel;
    // A window too low for the panel leaves it empty rather than negative.
    height = std::max(height, 0);
    panel->resize(panel->width(), height);
    const int32_t tools = std::max(0, w.fraFlexgridToolsPanel->sizeHint().height());
    const int32_t grid = std::max(height - GridToolsGap - tools, 0);
    w.tabbedFlexgrid->setGeometry(0, 0, panel->width(), grid);
    w.fraFlexgridToolsPanel->setGeometry(0, w.tabbedFlexgrid->height() + GridToolsGap, panel->width(), tools);
}

void MainLayout::fArrangePanels(bool stopPreview)
{
    // Nothing to place before the window has loaded its views.
    if (!m_c.state.m_view || m_tabPanelWidth <= 0)
        return;
    const bool expanded = m_c.widgets.chkExpand->isChecked();
    if (stopPreview && m_c.parts.preview->fIsPlaying())
        m_c.parts.preview->fStopPlayback();
    const QWidget* inner = m_c.widgets.central;
    if (inner->height() < 1 || m_c.window.isMinimized())
        return;
    const QSize view = fComputeViewSize(expanded, inner->width(), inner->height());
    const bool widthChanged = fPlaceViewFrames(view);
    fPlacePanels(expanded, inner->width(), inner->height());
    m_c.parts.viewZoom->fRefreshScaleLabel();
    if (!widthChanged)
        m_c.view.UpdateProjection();
    m_c.parts.sceneDrawing->fRefreshView();
}

void MainLayout::FormSc_Resizing(int16_t& minWidth, int16_t&, int16_t& minHeight, int16_t&)
{
    minWidth = MinWindowWidth;
    minHeight = MinWindowHeight;
}

// ---- Tab pages ------------------------------------------------------------------------

void MainLayout::fInitTabPages()
{
    MainWidgets& w = m_c.widgets;
    m_tabPanelWidth = w.tabControl->width();
    w.cmCurveManager->resize(m_tabPanelWidth, w.cmCurveManager->height());
    w.fraFlexgridPanel->resize(m_tabPanelWidth, w.fraFlexgridPanel->height());
    w.tabbedFlexgrid->resize(m_tabPanelWidth, w.tabbedFlexgrid->height());
    w.fraFlexgridToolsPanel->resize(m_tabPanelWidth, w.fraFlexgridToolsPanel->height());
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

void MainLayout::tabControlSc_MouseDown(int32_t& button, int32_t&, int32_t x, int32_t y, bool&)
{
    // While a box is edited the click is the box's business.
    if (button != LeftButton || m_c.state.m_inputEditing)
        return;
    // Off every tab, the page of the selected tab stays.
    fSelectTabPage(m_c.widgets.tabControl->tabBar()->tabAt(QPoint(x, y)));
}

// ---- The window's own shortcut keys -------------------------------------------------

void MainLayout::fChooseTool(int32_t tool, int32_t cursor)
{
    QToolButton* button = m_c.widgets.optTools[static_cast<size_t>(tool)];
    button->setChecked(true);
    m_c.parts.editState->optTools_Click(tool);
    m_c.parts.viewInput->fSetViewCursor(cursor);
}

bool MainLayout::fDispatchShortcut(int16_t keyCode, int16_t shift)
{
    if (m_c.state.m_inputEditing || MCommon::IsModifierKey(keyCode))
        return false;
    if (m_c.parts.menuDecoration->fIsMenuShortcut(keyCode, shift))
        return false;
    // The system closes the window through its close request.
    if (keyCode == VkF4 && shift == KeyAltFlag)
        return false;

    MainWidgets& w = m_c.widgets;
    const bool view3D = m_c.parts.viewInput->fIsActiveView3D();
    if (keyCode == 'M' && shift == KeyCtrlFlag) {
        w.chkSIncConMsg->setChecked(!w.chkSIncConMsg->isChecked());
        // A control on a page behind another takes no focus: its page
        // comes to the front first.
        for (size_t i = 0; i < w.fraPanels.size(); ++i)
            if (w.fraPanels[i]->isAncestorOf(w.chkSIncConMsg) && !w.chkSIncConMsg->isVisible())
                fSelectTabPage(static_cast<int32_t>(i));
        w.chkSIncConMsg->setFocus();
        return true;
    }
    if (keyCode == VkF2) {
        m_c.shell.fShowNotes();
        return true;
    }
    if (keyCode == VkSpace && shift == KeyCtrlFlag && w.cmdCreateScript->isEnabled()) {
        m_c.parts.scriptCreation->cmdCreateScript_Click();
        return true;
    }
    if (view3D)
        return false;
    if (keyCode == 'A' && shift == KeyCtrlFlag && m_c.menus.Action(QStringLiteral("mnuE_SelectAll"))->isEnabled()) {
        m_c.parts.editState->mnuE_SelectAll_Click();
        return true;
    }
    if (keyCode == 'A' && shift == (KeyCtrlFlag | KeyShiftFlag)
        && m_c.menus.Action(QStringLiteral("mnuE_DeselectAll"))->isEnabled()) {
        m_c.parts.editState->mnuE_DeselectAll_Click();
        return true;
    }
    if (keyCode == 'S' && w.optTools[0]->isEnabled()) {
        fChooseTool(0, 0);
        return true;
    }
    // The point tool answers its key even while its button is disabled.
    if (keyCode == 'B') {
        fChooseTool(1, 1);
        return true;
    }
    if (keyCode == 'T' && w.optTools[2]->isEnabled()) {
        fChooseTool(2, 0);
        return true;
    }
    return false;
}

bool MainLayout::fIsInWindow(QObject* object) const
{
    if (auto* widget = qobject_cast<QWidget*>(object))
        return widget->window() == &m_c.window;
    if (auto* window = qobject_cast<QWindow*>(object)) {
        // The view's own native window sits inside the main window's.
        while (window->parent())
            window = window->parent();
        return window == m_c.window.windowHandle();
    }
    return false;
}

bool MainLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_c.widgets.central && event->type() == QEvent::Resize) {
        RunHandler(m_c, [this] { Form_Resize(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress || !m_c.state.m_loaded || !fIsInWindow(watched))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto keyCode = static_cast<int16_t>(Dadavive::VirtualKeyFromQt(key->key(), key->modifiers()));
    if (keyCode == 0)
        return false;
    const int16_t shift = ShiftOf(key->modifiers());
    bool handled = false;
    RunHandler(m_c, [&] { handled = fDispatchShortcut(keyCode, shift); });
    return handled;
}
