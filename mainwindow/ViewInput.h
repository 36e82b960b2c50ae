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
};

class ViewInput final : public IViewInput
{
public:
    explicit ViewInput(MainContext& context) : m_c(context) {}
    void fCreateViews() override;

private:
    MainContext& m_c;
};
