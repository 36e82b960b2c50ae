#pragma once

struct MainContext;

// The four view states and which one the view control shows; the view
// control's key and mouse events.
class IViewInput
{
public:
    virtual ~IViewInput() = default;
    // Creates the four view states and makes view 0 the active one.
    virtual void fCreateViews() = 0;
    // Makes view `index` (0 to 3; others 0) the active one.
    virtual void fSelectView(int /*index*/) {}
    // The view's pointer: one of the seven view cursors (0 to 6).
    virtual void fSetViewCursor(int /*index*/) {}
    // The 3D view's pointer: the camera cursor when a camera drag may start.
    virtual void fSetNavigationCursor() {}
};

class ViewInput final : public IViewInput
{
public:
    explicit ViewInput(MainContext& context) : m_c(context) {}
    void fCreateViews() override;

private:
    MainContext& m_c;
};
