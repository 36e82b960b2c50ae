#include "MapBinding.h"

#include "MainContext.h"
#include "MainServices.h"
#include "MainState.h"

void MapBinding::fCreateMapObject()
{
    // A missing map library leaves the window without maps, nothing more.
    if (m_c.services.makeMapObject)
        m_c.state.m_map = m_c.services.makeMapObject();
}

void MapBinding::fReleaseMapObject()
{
    // The map frees its GL objects: the view's context must be current.
    if (m_c.state.m_map)
        m_c.view.MakeCurrent();
    m_c.state.m_map.reset();
}
