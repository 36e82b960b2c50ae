#include "ProjectCommands.h"

#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"

bool ProjectCommands::fNewProject(bool)
{
    m_c.shell.fUpdateCaption(QString());
    m_c.state.m_projectModified = false;
    return true;
}
