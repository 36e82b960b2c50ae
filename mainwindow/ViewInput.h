#pragma once

#include "C3DViewPreset.h"
#include "CView.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct MainContext;

// The four view states and which one the view control shows; the view
// control's key and mouse events, routed to the camera (3D view), the curve
// tools and the zoom (2D views); the view cursors, the busy state, 2D
// panning and the pointer's coordinates in the status bar. The older
// preset text reads the views through it (IViewPresetOwner).
class IViewInput : public IViewPresetOwner
{
public:
    virtual ~IViewInput() = default;
    // Creates the four view states and makes view 0 the active one.
    virtual void fCreateViews() = 0;
    // Index outside 0..3 is 0; runs the view button's click even when the
    // button is on already.
    virtual void fSelectView(int32_t index) = 0;
    virtual void optViews_Click(int32_t index) = 0;
    virtual void fActivateView(int32_t index) = 0;
    virtual bool fIsActiveView3D() const = 0;

    // Cursors 0 arrow, 1 addPoint, 2 delPoint, 3 movePoint, 4 movePic,
    // 5 rotateView, 6 zoomView. Push saves the current one (index >= 0) or
    // brings the saved one back (index < 0).
    virtual void fSetViewCursor(int32_t index) = 0;
    virtual void fPushViewCursor(int32_t index) = 0;
    virtual void fSetNavigationCursor() = 0;
    // The wait pointer and the window closed to input; see BusyScope.
    virtual void fSetBusy(bool busy) = 0;

    // The active 2D view's centre, each component kept within the world
    // square of 100000 units as far as the view's extent allows.
    virtual void fSetViewOrigin(float origin1, float origin2) = 0;

    // ---- The view control's events --------------------------------------------
    virtual void oglView_KeyDown(int16_t& keyCode, int16_t& shift) = 0;
    virtual void oglView_KeyPress(int16_t& keyAscii) = 0;
    virtual void oglView_KeyUp(int16_t& keyCode, int16_t& shift) = 0;
    virtual void oglView_MouseDown(int16_t& button, int16_t& shift, float& x, float& y) = 0;
    virtual void oglView_MouseUp(int16_t& button, int16_t& shift, float& x, float& y) = 0;
    virtual void oglView_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) = 0;
};

// The busy state for the life of the object, ended also when an error
// leaves the work it brackets.
class BusyScope
{
public:
    explicit BusyScope(IViewInput& input) : m_input(input) { m_input.fSetBusy(true); }
    ~BusyScope() { m_input.fSetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    IViewInput& m_input;
};

class ViewInput : public IViewInput
{
public:
    // The world square the 2D views show: 100000 units, centred on 0.
    static constexpr double WorldSize = 100000.0;

    explicit ViewInput(MainContext& context);

    void fCreateViews() override;
    void fSelectView(int32_t index) override;
    void optViews_Click(int32_t index) override;
    void fActivateView(int32_t index) override;
    bool fIsActiveView3D() const override;
    // 1 gives 0, 2 gives 1, 4 gives 2, 8 gives 3, anything else 0.
    static int32_t fViewKindToIndex(int32_t kind);
    static bool fIsValidViewKind(int32_t kind);

    std::optional<CView> GetViewCopy(int32_t viewKind) override;
    int32_t ScaleNormalize(int32_t scaleIndex) override;

    void fSetViewCursor(int32_t index) override;
    void fPushViewCursor(int32_t index) override;
    void fSetNavigationCursor() override;
    void fSetBusy(bool busy) override;
    void fSetViewOrigin(float origin1, float origin2) override;

    void oglView_KeyDown(int16_t& keyCode, int16_t& shift) override;
    void oglView_KeyPress(int16_t& keyAscii) override;
    void oglView_KeyUp(int16_t& keyCode, int16_t& shift) override;
    void oglView_MouseDown(int16_t& button, int16_t& shift, float& x, float& y) override;
    void oglView_MouseUp(int16_t& button, int16_t& shift, float& x, float& y) override;
    void oglView_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) override;

    // ---- The arithmetic, apart for its tests ---------------------------------
    // A component within -(100000 - extent) / 2 .. (100000 - extent) / 2
    // (a view wider than the world stays on 0); clamped tells whether it
    // was changed.
    static float ClampOrigin(float value, double extent, bool& clamped);
    // "x    -12.500 y  1,234.000": the axis names of the view's horizontal
    // and vertical axes, each coordinate with three decimals in the user's
    // form, padded to ten characters (never cut).
    static QString PointerStatusText(const CView& view, const std::array<float, 3>& world);

private:
    void fStartPan();
    void fPanStep(float x, float y);
    void fEndPan();
    // The checked tool button, -1 for none.
    int32_t fActiveTool() const;
    bool fIsModifierKey(int16_t keyCode) const;

    MainContext& m_c;
    // The receiver of the controls' signals: they stop with this object.
    QObject m_receiver;
    int32_t m_currentCursor = -1;
    int32_t m_savedViewCursor = -1;
    std::array<bool, 2> m_panClamped{};
};
