#include "CameraNavigation.h"

#include "MainContext.h"
#include "MainState.h"

void CameraNavigation::fResetCamera()
{
    m_c.state.m_camera.Clear();
}
