#include "SceneDrawing.h"

#include "MainContext.h"
#include "MainServices.h"
#include "MainState.h"

void SceneDrawing::fRefreshView()
{
    if (!m_c.state.m_loadingProject)
        m_c.view.Refresh();
}

void SceneDrawing::fUpdateViewProjection()
{
    m_c.view.UpdateProjection();
    fRefreshView();
}
