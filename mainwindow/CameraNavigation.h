#pragma once

struct MainContext;

// The 3D camera: flying with the mouse, the wheel and the keys; field of
// view, far plane and speed.
class ICameraNavigation
{
public:
    virtual ~ICameraNavigation() = default;
    // The camera back to its start: position and angles 0, field of view
    // 90, far plane 50000.
    virtual void fResetCamera() = 0;
};

class CameraNavigation final : public ICameraNavigation
{
public:
    explicit CameraNavigation(MainContext& context) : m_c(context) {}
    void fResetCamera() override;

private:
    MainContext& m_c;
};
