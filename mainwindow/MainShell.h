#pragma once

#include <QString>

// The main window's own operations that its collaborators call.
class IMainShell
{
public:
    // " Ruvadir [<game>] - <name>", or with the no-title text of the current
    // language for an empty name; the name is kept (MainState::m_captionName).
    virtual void fUpdateCaption(const QString& projectName) = 0;
    // The close request of the user (File > Quit): asks to save and defers
    // the close.
    virtual void fRequestClose() = 0;
    // Help > Check for update.
    virtual void fShowUpdateCheck() = 0;
    // Shows the notes window (File > Notes, a project with notes).
    virtual void fShowNotes() = 0;

protected:
    ~IMainShell() = default;
};
