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
    // The busy state around long work (script creation, project opening).
    virtual void fSetBusy(bool busy) = 0;
};

class ViewInput final : public IViewInput
{
public:
    explicit ViewInput(MainContext& context) : m_c(context) {}
    void fCreateViews() override;
    void fSetBusy(bool) override {}

private:
    MainContext& m_c;
};
