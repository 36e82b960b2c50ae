#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWindow>

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
    // Whether a mouse drag of the camera may start (the preview lock
    // allows it only on a control point, playback stopped).
    virtual bool fCanStartMouseCamera() = 0;

    // ---- Mouse drags in the 3D view ------------------------------------
    virtual bool MouseLookActive() const = 0;
    virtual bool MouseMoveActive() const = 0;
    virtual void fStartMouseLook() = 0;
    virtual void fMouseLookStep() = 0;
    virtual void fStopMouseLook() = 0;
    virtual void fStartMouseMove() = 0;
    virtual void fMouseMoveStep() = 0;
    virtual void fStopMouseMove() = 0;
    // Wheel notches (positive away from the user) with the wheel's keys.
    virtual void fWheel3D(int32_t notches, int32_t keys) = 0;

    // ---- Keys of the 3D view ---------------------------------------------
    virtual void fViewKeyDown(int16_t& keyCode, int16_t& shift) = 0;
    virtual void fViewKeyPress(int16_t& keyAscii) = 0;
    virtual void fViewKeyUp(int16_t keyCode) = 0;
    // Held movement keys keep their component of the camera's move vector
    // for the next frame (the scene's view transform reads these).
    virtual bool SideKeyHeld() const = 0;
    virtual bool ForwardKeyHeld() const = 0;

    // ---- Lens and speed --------------------------------------------------
    virtual void fChangeFov(bool widen) = 0;
    // Shift: the far plane comes nearer; Alt: by 100 instead of 1000.
    // The flags are cleared.
    virtual void fChangeZFar(int16_t& shift) = 0;
    virtual void fChangeMoveSpeed(bool faster) = 0;

    // The view lost the focus: held keys and drags end as their release
    // would end them, the pointer is shown again.
    virtual void fEndNavigationOnFocusLoss() = 0;
};

class CameraNavigation final : public QObject, public ICameraNavigation
{
public:
    explicit CameraNavigation(MainContext& context);
    ~CameraNavigation() override;

    void fResetCamera() override;
    bool fCanStartMouseCamera() override;

    bool MouseLookActive() const override { return m_mouseLookActive; }
    bool MouseMoveActive() const override { return m_mouseMoveActive; }
    void fStartMouseLook() override;
    void fMouseLookStep() override;
    void fStopMouseLook() override;
    void fStartMouseMove() override;
    void fMouseMoveStep() override;
    void fStopMouseMove() override;
    void fWheel3D(int32_t notches, int32_t keys) override;

    void fViewKeyDown(int16_t& keyCode, int16_t& shift) override;
    void fViewKeyPress(int16_t& keyAscii) override;
    void fViewKeyUp(int16_t keyCode) override;
    bool SideKeyHeld() const override { return m_sideKeyHeld; }
    bool ForwardKeyHeld() const override { return m_forwardKeyHeld; }

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
    // What a drag or the wheel opened on the main curve (found again by
    // its name when it ends).
    struct CameraEdit
    {
        QString curveName;
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
    // Redraws unless the held keys' timer does.
    void Redraw();
    bool Locked();
    void OnFocusWindowChanged(QWindow* window);

    MainContext& m_c;
    float m_dragSpeed = 1.0f;
    bool m_mouseLookActive = false;
    bool m_mouseMoveActive = false;
    bool m_wheelMoveActive = false;
    int64_t m_lastWheelTick = 0;
    bool m_rollMode = false;
    bool m_forwardKeyHeld = false;
    bool m_sideKeyHeld = false;
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
    QPointer<QWindow> m_focusWindow;
};
