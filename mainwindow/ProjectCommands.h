#pragma once

#include "CProjectIOHandler.h"

#include <QString>

#include <cstdint>
#include <memory>

class C3DProject;
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

    // ---- The File menu -------------------------------------------------------
    virtual void mnuT_New_Click() {}
    virtual void mnuT_Open_Click() {}
    virtual void mnuT_Save_Click() {}
    // A recent project's item (1 the most recent).
    virtual void fOpenRecentFile(int32_t index) { (void)index; }
    // The name of the project saved or opened last; empty for a new one.
    virtual QString fProjectName() const { return {}; }
};

class ProjectCommands final : public IProjectCommands
{
public:
    explicit ProjectCommands(MainContext& context);
    ~ProjectCommands() override;

    bool fNewProject(bool unloadMap) override;
    bool fOpenProject(const QString& path) override;
    bool fSaveProject() override;
    void mnuT_New_Click() override;
    void mnuT_Open_Click() override;
    void mnuT_Save_Click() override;
    void fOpenRecentFile(int32_t index) override;
    QString fProjectName() const override { return m_projectName; }

    // True to go on: nothing unsaved, the user said No, or Yes and the
    // project was written. The title's "&" are dropped.
    bool fAskToSave(const QString& title);
    // The path to save to; false when the user cancelled or refused to
    // replace another file.
    bool fChooseProjectSaveFile(QString& path);
    bool fWriteProject(const QString& path);
    bool fChooseProjectOpenFile(QString& path);
    void fAddRecentFile(const QString& name, const QString& path);
    // The recent project's menu caption: the name alone when it is long,
    // else the name after as much of its folder as fits 25 characters.
    static QString fRecentFileCaption(const QString& name, const QString& path);

    // The record as the controls stand (what Save writes).
    C3DProject fBuildProjectRecord() const;
    // Why the last read or write failed.
    QString LastError() const { return m_projectIO ? m_projectIO->LastError() : QString(); }

private:
    // The record's values into the controls (Open, after the read).
    void fApplyRecordOptions(const C3DProject& project, bool invariantNumbers);
    // The loaded curves into the window's controller, with the older
    // projects' duration and start time.
    void fApplyLoadedCurves(const C3DProject& project, C3DCurveController& loaded);
    void fApplyOlderTiming(const C3DProject& project);
    CProjectIOHandler& ProjectIO();
    void Redraw();

    MainContext& m_c;
    QString m_projectName;
    std::unique_ptr<CProjectIOHandler> m_projectIO;
};
