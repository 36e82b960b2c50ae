#include "CameraNavigation.h"

#include "HandlerGuard.h"
#include "MCommon.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UCOpenGLView.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QWindow>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// Degrees per pixel of a look drag.
constexpr float kLookDegreesPerPixel = 0.12f;
// World units per pixel of a move drag at speed 1.
constexpr float kMoveUnitsPerPixel = 7.5f;
constexpr int64_t kWheelEndMs = 350;
// The preview's axis mask: yaw, pitch and roll may all change.
constexpr int32_t kAllAngles = 7;
constexpr float kMinSpeed = 0.1f;
constexpr float kMaxSpeed = 2.0f;

// Virtual keys of the key table.
constexpr int16_t kKeyEscape = 27;
constexpr int16_t kKeySpace = 32;
constexpr int16_t kKeyLeft = 37;
constexpr int16_t kKeyUp = 38;
constexpr int16_t kKeyRight = 39;
constexpr int16_t kKeyDown = 40;
constexpr int16_t kKeyInsert = 45;
constexpr int16_t kKeyDelete = 46;
constexpr int16_t kKeyA = 65;
constexpr int16_t kKeyD = 68;
constexpr int16_t kKeyF = 70;
constexpr int16_t kKeyL = 76;
constexpr int16_t kKeyR = 82;
constexpr int16_t kKeyS = 83;
constexpr int16_t kKeyW = 87;
constexpr int16_t kKeyZ = 90;
constexpr int16_t kKeyPadPlus = 107;
constexpr int16_t kKeyPadMinus = 109;

// The key flags of the key events, and those of the wheel.
constexpr int16_t kShift = 1;
constexpr int16_t kCtrl = 2;
constexpr int16_t kAlt = 4;
constexpr int32_t kWheelShift = 4;
constexpr int32_t kWheelControl = 8;

// The move factor of a key or notch: 2 with Shift, else 6 with Control.
float MoveFactor(bool shift, bool control)
{
    return shift ? 2.0f : control ? 6.0f : 12.0f;
}

bool IsSideKey(int16_t key)
{
    return key == kKeyLeft || key == kKeyRight || key == kKeyA || key == kKeyD;
}

bool IsForwardKey(int16_t key)
{
    return key == kKeyUp || key == kKeyDown || key == kKeyW || key == kKeyS;
}

}  // namespace

CameraNavigation::CameraNavigation(MainContext& context) : m_c(context), m_d(context.state.m_drags)
{
    connect(m_c.widgets.tmrViewAutoRefresh, &QTimer::timeout, this, [this] { tmrViewAutoRefresh_Timer(); });
    connect(m_c.widgets.tmrCameraMouseForwarding, &QTimer::timeout, this,
            [this] { tmrCameraMouseForwarding_Timer(); });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) { OnFocusWindowChanged(w); });
}

CameraNavigation::~CameraNavigation()
{
    // The pointer must not stay hidden for the rest of the session.
    if (m_cursorHidden)
        m_c.services.cursor->ShowMouseCursor(true);
}

void CameraNavigation::fResetCamera()
{
    m_c.state.m_camera.Clear();
    m_c.state.m_camera.SetZFar(m_c.view.DefaultZFar());
}

bool CameraNavigation::Locked()
{
    return m_c.parts.preview->fIsPreviewLocked();
}

bool CameraNavigation::fCanStartMouseCamera()
{
    IPreviewPlayback& preview = *m_c.parts.preview;
    if (!preview.fIsPreviewLocked())
        return true;
    return !preview.fIsPlaybackRunning() && preview.fIsPreviewAtControl();
}

void CameraNavigation::Redraw()
{
    if (!m_c.widgets.tmrViewAutoRefresh->isActive())
        m_c.parts.sceneDrawing->fRefreshView();
}

// ---- The pointer during a drag -------------------------------------------------

QPoint CameraNavigation::fCaptureCentre() const
{
    const UCOpenGLView* view = m_c.widgets.oglView;
    return view->mapToGlobal(QPoint(view->width() / 2, view->height() / 2));
}

void CameraNavigation::fBeginMouseCapture()
{
    ICursor& cursor = *m_c.services.cursor;
    if (!m_cursorHidden) {
        cursor.ShowMouseCursor(false);
        m_cursorHidden = true;
    }
    m_savedCursorPos = cursor.GetCursorPosition();
    WarpToCentre();
}

void CameraNavigation::WarpToCentre()
{
    ICursor& cursor = *m_c.services.cursor;
    const QPoint centre = fCaptureCentre();
    cursor.SetCursorPosition(centre);
    // Where the pointer really is: a display that refuses the warp leaves
    // it where it was, and the next offset is then taken from there (the
    // pointer moves freely instead of the camera spinning on).
    m_cursorAnchor = cursor.GetCursorPosition();
}

bool CameraNavigation::fRecentreCursor()
{
    m_cursorPos = m_c.services.cursor->GetCursorPosition();
    if (m_cursorPos == m_cursorAnchor)
        return false;
    m_cursorOffset = m_cursorAnchor - m_cursorPos;
    WarpToCentre();
    return true;
}

void CameraNavigation::fEndMouseCapture()
{
    ICursor& cursor = *m_c.services.cursor;
    cursor.SetCursorPosition(m_savedCursorPos);
    if (m_cursorHidden) {
        cursor.ShowMouseCursor(true);
        m_cursorHidden = false;
    }
}

// ---- The main curve while the camera moves -------------------------------------

void CameraNavigation::fBeginCameraEdit(CameraEdit& edit)
{
    C3DCurve* curve = m_c.state.m_mainCurve;
    if (!curve)
        return;
    edit.curve = HeldCurve(*curve);
    if (Locked()) {
        // The camera edits the preview's control point: one undo step.
        m_c.parts.pointGrid->fGridSelectRow(curve, m_c.parts.preview->fGetPreviewControl(), true);
        curve->BeginChange();
        edit.bracket = true;
    } else {
        curve->QuickRefreshStart(false);
        edit.quickRefresh = true;
    }
}

void CameraNavigation::fEndCameraEdit(CameraEdit& edit)
{
    CameraEdit done = edit;
    edit = CameraEdit{};
    C3DCurve* curve = done.curve.Find(m_c.state.m_curveController.get());
    if (!curve)
        return;
    RunGuarded(m_c.status, [&] {
        if (done.bracket)
            curve->EndChange();
        if (done.quickRefresh)
            curve->QuickRefreshStop();
    });
}

// ---- Mouse look ------------------------------------------------------------------

void CameraNavigation::fStartMouseLook()
{
    if (m_c.state.m_cameraDragActive || m_d.m_mouseMoveActive || !fCanStartMouseCamera())
        return;
    StartDrag(m_d.m_mouseLookActive);
}

void CameraNavigation::StartDrag(bool& active)
{
    active = true;
    m_c.state.m_cameraDragActive = true;
    fBeginMouseCapture();
    RunGuarded(m_c.status, [this] { fBeginCameraEdit(m_dragEdit); });
}

void CameraNavigation::StopDrag(bool& active)
{
    if (!active)
        return;
    fEndMouseCapture();
    fEndCameraEdit(m_dragEdit);
    active = false;
    m_c.state.m_cameraDragActive = false;
}

void CameraNavigation::fMouseLookStep()
{
    if (!m_d.m_mouseLookActive || m_d.m_mouseMoveActive || !fRecentreCursor())
        return;
    const float dx = static_cast<float>(m_cursorOffset.x()) * kLookDegreesPerPixel;
    const float dy = static_cast<float>(m_cursorOffset.y()) * kLookDegreesPerPixel;
    RunGuarded(m_c.status, [&] {
        if (Locked()) {
            if (m_rollMode)
                m_c.parts.preview->fRotateControlWithCamera(kAllAngles, 0.0f, 0.0f, dx);
            else
                m_c.parts.preview->fRotateControlWithCamera(kAllAngles, dx, dy, 0.0f);
            return;
        }
        C3DCamera& camera = m_c.state.m_camera;
        // The angles wrap with the sign of what they wrap (fmod's rule).
        if (m_rollMode) {
            camera.SetRoll(std::fmod(camera.Roll() - dx, 360.0f));
        } else {
            camera.SetYaw(std::fmod(camera.Yaw() - dx, 360.0f));
            camera.SetPitch(std::clamp(camera.Pitch() - dy, -90.0f, 90.0f));
        }
        Redraw();
        if (m_rollMode)
            m_c.status.fShowRollStatus();
    });
}

void CameraNavigation::fStopMouseLook()
{
    StopDrag(m_d.m_mouseLookActive);
}

// ---- Mouse move --------------------------------------------------------------------

void CameraNavigation::fStartMouseMove()
{
    if (m_c.state.m_cameraDragActive || m_d.m_sideKeyHeld || m_d.m_mouseLookActive || m_wheelMoveActive
        || !fCanStartMouseCamera())
        return;
    StartDrag(m_d.m_mouseMoveActive);
}

void CameraNavigation::fMouseMoveStep()
{
    if (!m_d.m_mouseMoveActive || m_d.m_sideKeyHeld || m_d.m_mouseLookActive || m_wheelMoveActive
        || !fRecentreCursor())
        return;
    const float k = m_dragSpeed * kMoveUnitsPerPixel;
    const float sx = static_cast<float>(m_cursorOffset.x()) * k;
    const float sy = static_cast<float>(m_cursorOffset.y()) * k;
    C3DCamera& camera = m_c.state.m_camera;
    RunGuarded(m_c.status, [&] {
        if (Locked()) {
            camera.SetDist(0, -sx);
            camera.SetDist(2, -sy);
            m_c.parts.preview->fMoveControlWithCamera();
        } else {
            camera.SetDist(0, sx);
            camera.SetDist(2, sy);
            Redraw();
        }
    });
}

void CameraNavigation::fStopMouseMove()
{
    StopDrag(m_d.m_mouseMoveActive);
}

// ---- Wheel ----------------------------------------------------------------------------

void CameraNavigation::fWheel3D(int32_t notches, int32_t keys)
{
    if (m_d.m_sideKeyHeld || m_d.m_forwardKeyHeld || m_d.m_mouseMoveActive || m_c.parts.preview->fIsPlaybackRunning())
        return;
    RunGuarded(m_c.status, [&] {
        if (!m_wheelMoveActive) {
            m_wheelMoveActive = true;
            fBeginCameraEdit(m_wheelEdit);
            m_c.widgets.tmrCameraMouseForwarding->start();
        }
        m_lastWheelTick = m_c.services.clock->ElapsedMs();
        const float amount = m_c.state.m_moveSpeed * 5.0f
                             * MoveFactor(keys & kWheelShift, keys & kWheelControl) * static_cast<float>(notches);
        C3DCamera& camera = m_c.state.m_camera;
        if (Locked()) {
            camera.SetDist(1, -amount);
            m_c.parts.preview->fMoveControlWithCamera();
        } else {
            camera.SetDist(1, amount);
            Redraw();
        }
    });
}

void CameraNavigation::tmrCameraMouseForwarding_Timer()
{
    if (!m_wheelMoveActive) {
        m_c.widgets.tmrCameraMouseForwarding->stop();
        return;
    }
    if (m_c.services.clock->ElapsedMs() - m_lastWheelTick > kWheelEndMs)
        EndWheelMove();
}

void CameraNavigation::EndWheelMove()
{
    m_c.widgets.tmrCameraMouseForwarding->stop();
    fEndCameraEdit(m_wheelEdit);
    m_wheelMoveActive = false;
}

// ---- Keys ---------------------------------------------------------------------------------

void CameraNavigation::fViewKeyDown(int16_t& keyCode, int16_t& shift)
{
    m_speedKeyHandled = false;
    if (m_c.state.m_inputEditing)
        return;
    IPreviewPlayback& preview = *m_c.parts.preview;
    const std::array<bool, 4> directions = {keyCode == kKeyLeft || keyCode == kKeyA,
                                            keyCode == kKeyRight || keyCode == kKeyD,
                                            keyCode == kKeyUp || keyCode == kKeyW,
                                            keyCode == kKeyDown || keyCode == kKeyS};
    RunGuarded(m_c.status, [&] {
        switch (keyCode) {
        case kKeyInsert:
            m_c.parts.curveEditing->fInsertControlAtPreview();
            break;
        case kKeyDelete:
            m_c.parts.curveEditing->fDeleteControlAtPreview();
            break;
        case kKeyZ:
            // Ctrl+Z belongs to the undo command.
            if (!(shift & kCtrl)) {
                keyCode = 0;
                fChangeZFar(shift);
            }
            break;
        case kKeyF:
            fChangeFov(shift & kShift);
            break;
        case kKeyR:
            m_rollMode = true;
            break;
        case kKeyLeft:
        case kKeyRight:
        case kKeyUp:
        case kKeyDown:
            if (Locked())
                preview.fPreviewKeyCommand(directions, shift);
            else
                fStartKeyMove(directions, shift);
            break;
        case kKeyA:
        case kKeyD:
        case kKeyW:
        case kKeyS:
            if (!Locked())
                fStartKeyMove(directions, shift);
            break;
        case kKeySpace:
            if (Locked() && m_c.widgets.cmdPvwStartStop->isEnabled())
                preview.fTogglePlayback();
            break;
        case kKeyEscape:
            if (preview.fIsPlaybackRunning())
                preview.fOnPlaybackStopped();
            break;
        case kKeyPadPlus:
        case kKeyPadMinus:
            // The character event that follows must not change it again.
            m_speedKeyHandled = true;
            fChangeMoveSpeed(keyCode == kKeyPadPlus);
            break;
        case kKeyL:
            preview.fTogglePreviewLock();
            break;
        default:
            break;
        }
    });
}

void CameraNavigation::fViewKeyPress(int16_t& keyAscii)
{
    if (m_c.state.m_inputEditing || m_speedKeyHandled)
        return;
    if (keyAscii == '+')
        fChangeMoveSpeed(true);
    else if (keyAscii == '-')
        fChangeMoveSpeed(false);
}

void CameraNavigation::fStartKeyMove(const std::array<bool, 4>& directions, int16_t shift)
{
    const float amount = m_c.state.m_moveSpeed * 5.0f * MoveFactor(shift & kShift, shift & kCtrl);
    C3DCamera& camera = m_c.state.m_camera;
    if (directions[0] || directions[1]) {
        if (!m_d.m_mouseMoveActive && !m_wheelMoveActive && !m_d.m_sideKeyHeld) {
            camera.SetDist(0, directions[0] ? amount : -amount);
            m_d.m_sideKeyHeld = true;
        }
    } else if (directions[2] || directions[3]) {
        if (!m_wheelMoveActive && !m_d.m_forwardKeyHeld) {
            camera.SetDist(1, directions[2] ? amount : -amount);
            m_d.m_forwardKeyHeld = true;
        }
    }
    if ((m_d.m_sideKeyHeld || m_d.m_forwardKeyHeld) && !m_c.widgets.tmrViewAutoRefresh->isActive())
        m_c.widgets.tmrViewAutoRefresh->start();
}

void CameraNavigation::fViewKeyUp(int16_t& keyCode)
{
    C3DCamera& camera = m_c.state.m_camera;
    if (IsSideKey(keyCode) || IsForwardKey(keyCode)) {
        if (IsSideKey(keyCode) && m_d.m_sideKeyHeld) {
            camera.SetDist(0, 0.0f);
            m_d.m_sideKeyHeld = false;
        }
        if (IsForwardKey(keyCode) && m_d.m_forwardKeyHeld) {
            camera.SetDist(1, 0.0f);
            m_d.m_forwardKeyHeld = false;
        }
        if (!m_d.m_sideKeyHeld && !m_d.m_forwardKeyHeld)
            m_c.widgets.tmrViewAutoRefresh->stop();
    } else if (keyCode == kKeyR) {
        m_rollMode = false;
    }
}

void CameraNavigation::tmrViewAutoRefresh_Timer()
{
    RunGuarded(m_c.status, [this] { m_c.parts.sceneDrawing->fRefreshView(); });
}

// ---- Lens and speed ---------------------------------------------------------------------

void CameraNavigation::fChangeFov(bool widen)
{
    IPreviewPlayback& preview = *m_c.parts.preview;
    if (preview.fIsPlaybackRunning() || (preview.fIsPreviewLocked() && !preview.fIsPreviewAtControl()))
        return;
    C3DCamera& camera = m_c.state.m_camera;
    camera.SetFov(camera.Fov() + (widen ? 5.0f : -5.0f));
    camera.RoundFov();
    preview.fApplyCameraFovToControl();
    m_c.parts.sceneDrawing->fUpdateViewProjection();
    m_c.status.fShowFovStatus();
}

void CameraNavigation::fChangeZFar(int16_t& shift)
{
    const float sign = (shift & kShift) ? -1.0f : 1.0f;
    const float step = (shift & kAlt) ? 100.0f : 1000.0f;
    C3DCamera& camera = m_c.state.m_camera;
    camera.SetZFar(camera.ZFar() + sign * step);
    shift = 0;
    m_c.parts.sceneDrawing->fUpdateViewProjection();
    m_c.status.fShowZFarStatus();
}

void CameraNavigation::fChangeMoveSpeed(bool faster)
{
    // Tenths: ten steps up from 1.0 are 2.0 exactly, not 2.0000002.
    const auto step = [faster](float speed) {
        return std::clamp(MCommon::RoundToDecimals(speed + (faster ? 0.1f : -0.1f), 1), kMinSpeed, kMaxSpeed);
    };
    m_c.state.m_moveSpeed = step(m_c.state.m_moveSpeed);
    m_dragSpeed = step(m_dragSpeed);
    m_c.status.fShowMoveSpeedStatus();
}

// ---- Focus loss --------------------------------------------------------------------------

void CameraNavigation::OnFocusWindowChanged(QWindow* window)
{
    // The focus moves between the view's own window and the main window
    // while the view is used (its container takes it first): the releases
    // go elsewhere when another window, or none, takes it.
    if (window && (window == m_c.widgets.oglView->GLWindow() || window == m_c.window.windowHandle()))
        return;
    OnFocusLost();
}

void CameraNavigation::OnFocusLost()
{
    fEndNavigationOnFocusLoss();
    m_c.parts.curveEditing->fEndDragOnFocusLoss();
}

void CameraNavigation::fEndNavigationOnFocusLoss()
{
    fStopMouseLook();
    fStopMouseMove();
    if (m_wheelMoveActive)
        EndWheelMove();
    int16_t key = kKeyLeft;
    fViewKeyUp(key);
    key = kKeyUp;
    fViewKeyUp(key);
    m_rollMode = false;
    m_c.widgets.tmrViewAutoRefresh->stop();
    if (m_cursorHidden) {
        m_c.services.cursor->ShowMouseCursor(true);
        m_cursorHidden = false;
    }
}
