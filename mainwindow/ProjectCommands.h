#pragma once

#include <QString>

struct MainContext;

// New, open and save, and the recent projects.
class IProjectCommands
{
public:
    virtual ~IProjectCommands() = default;
    // Starts a new project; with unloadMap the map goes too. False when the
    // user stopped it at the save question.
    virtual bool fNewProject(bool unloadMap) = 0;
    // True when the file could be read.
    virtual bool fOpenProject(const QString& path) = 0;
    // True when the project was written.
    virtual bool fSaveProject() = 0;
};

class ProjectCommands final : public IProjectCommands
{
public:
    explicit ProjectCommands(MainContext& context) : m_c(context) {}
    bool fNewProject(bool unloadMap) override;
    bool fOpenProject(const QString&) override { return false; }
    bool fSaveProject() override { return false; }

private:
    MainContext& m_c;
};
