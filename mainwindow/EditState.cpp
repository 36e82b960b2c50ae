#include "EditState.h"

#include "CProjectStateHandler.h"
#include "MainContext.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"

EditState::EditState(MainContext& context) : m_c(context) {}

EditState::~EditState() = default;

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

void EditState::fUpdateControlsState() {}
void EditState::fUpdateToolsState() {}
int32_t EditState::fActiveTool() const
{
    return -1;
}
void EditState::optTools_Click(int32_t) {}
void EditState::optTools_DblClick(int32_t) {}
void EditState::cmdInvert_Click() {}
void EditState::mnuE_SelectAll_Click() {}
void EditState::mnuE_DeselectAll_Click() {}
void EditState::fUnselectHiddenOfSelected() {}
int32_t EditState::fSelectedControlCount() const
{
    return 0;
}
void EditState::fUpdateDeselectMenu() {}
void EditState::fCreateDefaultCurves() {}
void EditState::fApplyCurveLooks() {}
void EditState::fStoreUndoState() {}
void EditState::fResetUndoHistory() {}
void EditState::mnuE_Undo_Click() {}
void EditState::mnuE_Redo_Click() {}
void EditState::fResetProjectOptions() {}
void EditState::fApplyRestoredState(const C3DCurveController&) {}
bool EditState::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}
