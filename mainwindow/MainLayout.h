#pragma once

#include <cstdint>

struct MainContext;

// The 3D-view ratio, the arrangement of the panels, the minimum size, the
// window's own shortcut keys and the tab pages.
class IMainLayout
{
public:
    virtual ~IMainLayout() = default;
    virtual void fInitTabPages() = 0;
    // Fills cbo3DViewRatio and selects 4:3.
    virtual void fFillViewRatios() = 0;
    // -1 the selected tab; other negatives the first; beyond the last the last.
    virtual void fSelectTabPage(int32_t index) = 0;
    virtual int16_t fGetViewRatioIndex() const = 0;
    // With silent the combo box's click handling does not run.
    virtual void fSetViewRatioIndex(int32_t index, bool silent) = 0;
    // The window's size limits in pixels (its subclass object's Resizing).
    virtual void FormSc_Resizing(int16_t& minWidth, int16_t& maxWidth, int16_t& minHeight, int16_t& maxHeight) = 0;
    // A button pressed on the tab strip (its subclass object's MouseDown).
    virtual void tabControlSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) = 0;
    // A key the window handles itself: virtual key code, shift 1 Shift,
    // 2 Ctrl, 4 Alt.
    virtual void fDispatchShortcut(int16_t keyCode, int16_t shift) = 0;
};

class MainLayout final : public IMainLayout
{
public:
    explicit MainLayout(MainContext& context) : m_c(context) {}
    void fInitTabPages() override {}
    void fFillViewRatios() override;
    void fSelectTabPage(int32_t index) override;
    int16_t fGetViewRatioIndex() const override;
    void fSetViewRatioIndex(int32_t index, bool silent) override;
    void FormSc_Resizing(int16_t& minWidth, int16_t& maxWidth, int16_t& minHeight, int16_t& maxHeight) override;
    void tabControlSc_MouseDown(int32_t&, int32_t&, int32_t, int32_t, bool&) override {}
    void fDispatchShortcut(int16_t, int16_t) override {}

private:
    MainContext& m_c;
};
