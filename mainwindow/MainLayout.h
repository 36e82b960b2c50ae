#pragma once

#include <QObject>
#include <QSize>

#include <cstdint>

struct MainContext;

// The 3D-view ratio, the arrangement of the panels, the minimum size, the
// window's own shortcut keys and the tab pages.
class IMainLayout
{
public:
    virtual ~IMainLayout() = default;
    // Takes the tab panel's width and sizes the panels below the tabs.
    virtual void fInitTabPages() = 0;
    // Fills cbo3DViewRatio and selects 4:3.
    virtual void fFillViewRatios() = 0;
    // -1 the selected tab; other negatives the first; beyond the last the last.
    virtual void fSelectTabPage(int32_t index) = 0;
    virtual int16_t fGetViewRatioIndex() const = 0;
    // The selected ratio (width / height); 1 is the free ratio.
    virtual float fGetViewRatio() const { return 1.0f; }
    // With silent the combo box's click handling does not run. An index
    // outside the list selects the first item.
    virtual void fSetViewRatioIndex(int32_t index, bool silent) = 0;
    // Places the view and the panels; with stopPreview a running preview
    // stops first.
    virtual void fArrangePanels(bool /*stopPreview*/) {}
    // The window's size limits in pixels (its subclass object's Resizing).
    virtual void FormSc_Resizing(int16_t& minWidth, int16_t& maxWidth, int16_t& minHeight, int16_t& maxHeight) = 0;
    // A button pressed on the tab strip (its subclass object's MouseDown).
    virtual void tabControlSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) = 0;
    // A key the window handles itself: virtual key code, shift 1 Shift,
    // 2 Ctrl, 4 Alt. True when one of the window's shortcuts acted: the key
    // goes no further.
    virtual bool fDispatchShortcut(int16_t keyCode, int16_t shift) = 0;
};

// Qt layouts keep no ratio: the view and the panels around it are placed
// by code whenever the window's central area is resized.
class MainLayout final : public QObject, public IMainLayout
{
public:
    // The smallest window the user can size.
    static constexpr int32_t MinWindowWidth = 520;
    static constexpr int32_t MinWindowHeight = 513;
    // The view never gets smaller than this area, nor the right panel
    // narrower.
    static constexpr int32_t MinViewWidth = 502;
    static constexpr int32_t MinViewHeight = 377;
    static constexpr int32_t MinRightPanelWidth = 479;

    explicit MainLayout(MainContext& context);
    ~MainLayout() override;

    void fInitTabPages() override;
    void fFillViewRatios() override;
    void fSelectTabPage(int32_t index) override;
    int16_t fGetViewRatioIndex() const override;
    float fGetViewRatio() const override;
    void fSetViewRatioIndex(int32_t index, bool silent) override;
    void fArrangePanels(bool stopPreview) override;
    void FormSc_Resizing(int16_t& minWidth, int16_t& maxWidth, int16_t& minHeight, int16_t& maxHeight) override;
    void tabControlSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) override;
    bool fDispatchShortcut(int16_t keyCode, int16_t shift) override;

    void cbo3DViewRatio_Click();
    void chkExpand_Click();
    void Form_Resize();

    // The view's size for the inner size of the window (pixels).
    QSize fComputeViewSize(bool expanded, int32_t innerWidth, int32_t innerHeight) const;
    // The width of the expand box's strip: its whole check box.
    int32_t fExpandBoxWidth() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the tool bar, the view, the expand box and the frames below
    // the view; true when the view's width changed.
    bool fPlaceViewFrames(const QSize& view);
    void fPlacePanels(bool expanded, int32_t innerWidth, int32_t innerHeight);
    // The point-grid panel from its top to the given height (pixels).
    void fPlaceGridPanels(int32_t height);
    // Chooses a tool as its button would, with the view cursor.
    void fChooseTool(int32_t tool, int32_t cursor);
    bool fIsInWindow(QObject* object) const;

    MainContext& m_c;
    int32_t m_tabPanelWidth = 0;
};
