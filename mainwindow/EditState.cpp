#include "EditState.h"

#include "MainContext.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"

void EditState::fCreateCurveObjects()
{
    m_c.state.m_curveController = std::make_unique<C3DCurveController>();
    m_c.state.m_mainCurve = &m_c.state.m_curveController->Add(QStringLiteral("Camera path"));
    m_c.widgets.cmCurveManager->Initialize(*m_c.state.m_curveController);
}

void EditState::fSetProjectModified(bool force)
{
    if (force || (m_c.state.m_curveController && m_c.state.m_curveController->HasControl()))
        m_c.state.m_projectModified = true;
}

bool EditState::fNothingToSave() const
{
    return !m_c.state.m_projectModified || !m_c.state.m_curveController
           || !m_c.state.m_curveController->HasControl();
}
