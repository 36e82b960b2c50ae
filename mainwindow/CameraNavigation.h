#pragma once

#include <cstdint>

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

    // ---- The view's input in the 3D view ----------------------------------
    // True when a mouse drag of the camera may start now.
    virtual bool fCanStartMouseCamera() { return true; }
    // The left-button drag (mouse look) and the right-button drag (move).
    virtual void fStartMouseLook() {}
    virtual void fMouseLookStep() {}
    virtual void fStopMouseLook() {}
    virtual void fStartMouseMove() {}
    virtual void fMouseMoveStep() {}
    virtual void fStopMouseMove() {}
    // Wheel notches (positive away from the user), keys 4 Shift, 8 Ctrl.
    virtual void fWheel3D(int32_t /*notches*/, int32_t /*keys*/) {}
    // The view's key table: virtual key codes, shift 1 Shift, 2 Ctrl, 4 Alt.
    virtual void fViewKeyDown(int16_t& /*keyCode*/, int16_t& /*shift*/) {}
    virtual void fViewKeyPress(int16_t& /*keyAscii*/) {}
    virtual void fViewKeyUp(int16_t& /*keyCode*/) {}
};

class CameraNavigation final : public ICameraNavigation
{
public:
    explicit CameraNavigation(MainContext& context) : m_c(context) {}
    void fResetCamera() override;

private:
    MainContext& m_c;
};
