#include "CameraNavigation.h"

#include "MainContext.h"
#include "MainState.h"

void CameraNavigation::fResetCamera()
{
    m_c.state.m_camera.Clear();
}

bool CameraNavigation::fCanStartMouseCamera()
{
    return false;
}

void CameraNavigation::fStartMouseLook()
{
}

void CameraNavigation::fMouseLookStep()
{
}

void CameraNavigation::fStopMouseLook()
{
}

void CameraNavigation::fStartMouseMove()
{
}

void CameraNavigation::fMouseMoveStep()
{
}

void CameraNavigation::fStopMouseMove()
{
}

void CameraNavigation::fWheel3D(int32_t, int32_t)
{
}

void CameraNavigation::fViewKeyDown(int16_t&, int16_t&)
{
}

void CameraNavigation::fViewKeyPress(int16_t&)
{
}

void CameraNavigation::fViewKeyUp(int16_t)
{
}

void CameraNavigation::fChangeFov(bool)
{
}

void CameraNavigation::fChangeZFar(int16_t&)
{
}

void CameraNavigation::fChangeMoveSpeed(bool)
{
}

void CameraNavigation::fEndNavigationOnFocusLoss()
{
}

void CameraNavigation::fStartKeyMove(const std::array<bool, 4>&, int16_t)
{
}

void CameraNavigation::tmrViewAutoRefresh_Timer()
{
}

void CameraNavigation::tmrCameraMouseForwarding_Timer()
{
}

QPoint CameraNavigation::fCaptureCentre() const
{
    return {};
}
CameraNavigation::CameraNavigation(MainContext& context) : m_c(context) {}
