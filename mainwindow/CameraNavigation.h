#pragma once

#include "HeldCurve.h"
#include "ViewDrags.h"

#include <QObject>
#include <QPoint>
#include <QString>

class QWindow;

#include <array>
#include <cstdint>

struct MainContext;

// The 3D camera: flying with the mouse (look with the left button, move
// with the right one, the pointer hidden and held at the view's centre),
// the wheel and the keys; field of view, far plane and speed. While the
// preview is locked the same gestures edit the preview's control point.
//
// Key codes are virtual-key codes; Shift flags are the view control's
// (1 Shift, 2 Ctrl, 4 Alt); wheel keys are the wheel message's (4 Shift,
// 8 Control).
class ICameraNavigation
{
public:
    virtual ~ICameraNavigation() = default;
    // The camera back to its start: position and angles 0, field of view
    // 90, the view control's default far plane.
    virtual void fResetCamera() = 0;

    // ---- The view's input in the 3D view (the drags' and held keys' flags
    //      are the view's, MainState::m_drags) ------------------------------
    // True when a mouse drag of the camera may start now (the preview lock
    // allows it only on a control point, playback stopped).
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

    // ---- Lens and speed --------------------------------------------------
    virtual void fChangeFov(bool /*widen*/) {}
    // Shift: the far plane comes nearer; Alt: by 100 instead of 1000.
    // The flags are cleared.
    virtual void fChangeZFar(int16_t& /*shift*/) {}
    virtual void fChangeMoveSpeed(bool /*faster*/) {}

    // The view lost the focus: held keys and drags end as their release
    // would end them, the pointer is shown again.
    virtual void fEndNavigationOnFocusLoss() {}
};

class CameraNavigation final : public QObject, public ICameraNavigation
{
public:
    explicit CameraNavigation(MainContext& context);
    ~CameraNavigation() override;

    void fResetCamera() override;
    bool fCanStartMouseCamera() override;

    void fStartMouseLook() override;
    void fMouseLookStep() override;
    void fStopMouseLook() override;
    void fStartMouseMove() override;
    void fMouseMoveStep() override;
    void fStopMouseMove() override;
    void fWheel3D(int32_t notches, int32_t keys) override;

    void fViewKeyDown(int16_t& keyCode, int16_t& shift) override;
    void fViewKeyPress(int16_t& keyAscii) override;
    void fViewKeyUp(int16_t& keyCode) override;

    void fChangeFov(bool widen) override;
    void fChangeZFar(int16_t& shift) override;
    void fChangeMoveSpeed(bool faster) override;
    void fEndNavigationOnFocusLoss() override;

    // ---- The steps (public for the tests) ---------------------------------
    // Left, right, up, down as the movement keys name them.
    void fStartKeyMove(const std::array<bool, 4>& directions, int16_t shift);
    void tmrViewAutoRefresh_Timer();
    void tmrCameraMouseForwarding_Timer();
    bool WheelMoveActive() const { return m_wheelMoveActive; }
    bool RollMode() const { return m_rollMode; }
    float DragSpeed() const { return m_dragSpeed; }
    // Where the pointer is held during a drag: the view's centre on the
    // screen (the fixed point of the look and move drags).
    QPoint fCaptureCentre() const;

private:
    // What a drag or the wheel opened on the main curve, and that curve.
    struct CameraEdit
    {
        HeldCurve curve;
        bool bracket = false;
        bool quickRefresh = false;
    };

    void fBeginMouseCapture();
    // Puts the pointer back at the centre and notes where it landed.
    void WarpToCentre();
    bool fRecentreCursor();
    void fEndMouseCapture();
    // With the lock on: the control's grid row and a change bracket on the
    // main curve; without it: the main curve's quick refresh.
    void fBeginCameraEdit(CameraEdit& edit);
    void fEndCameraEdit(CameraEdit& edit);
    void EndWheelMove();
    // The look and move drags: their flag, the captured pointer and the
    // main curve's edit.
    void StartDrag(bool& active);
    void StopDrag(bool& active);
    // Redraws unless the held keys' timer does.
    void Redraw();
    bool Locked();
    void OnFocusWindowChanged(QWindow* window);
    void OnFocusLost();

    MainContext& m_c;
    // The drags' and held keys' flags.
    ViewDrags& m_d;
    float m_dragSpeed = 1.0f;
    bool m_wheelMoveActive = false;
    int64_t m_lastWheelTick = 0;
    bool m_rollMode = false;
    bool m_speedKeyHandled = false;
    CameraEdit m_dragEdit;
    CameraEdit m_wheelEdit;
    bool m_cursorHidden = false;
    QPoint m_savedCursorPos;
    QPoint m_cursorPos;
    // Where the pointer stands after the last warp, and the offset of the
    // last step from there.
    QPoint m_cursorAnchor;
    QPoint m_cursorOffset;
};
