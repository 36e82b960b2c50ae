#include "ProjectCommands.h"

#include "C3DProject.h"
#include "HandlerErrors.h"
#include "HandlerGuard.h"
#include "MCDialog.h"
#include "MCommon.h"
#include "MComboBox.h"
#include "MFileOp.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "MenuItemArray.h"
#include "PathHelper.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t TextOpen = 1;
constexpr int32_t TextNew = 3;
constexpr int32_t TextAskToSave = 156;
constexpr int32_t TextProjectFiles = 165;
constexpr int32_t TextProjectSaving = 166;
constexpr int32_t TextReplaceFile = 167;
constexpr int32_t TextSavingError = 169;
constexpr int32_t TextProjectLoading = 170;
constexpr int32_t TextReadingError = 171;
constexpr int32_t TextDemoNotFound = 172;
constexpr int32_t TextFileNotFound = 183;
constexpr int32_t TextRecentFiles = 184;
constexpr int32_t TextDemoOutsideFolder = 990;

constexpr int32_t StyleYesNoCancelQuestion = 35;
constexpr int32_t StyleYesNoQuestion = 36;
constexpr int32_t StyleExclamation = 48;
constexpr int32_t StyleInformation = 64;
constexpr int32_t AnswerYes = 6;
constexpr int32_t AnswerNo = 7;

constexpr qsizetype CaptionBudget = 25;

const QString ProjectExtension = QStringLiteral("vava");

// The whole number a box's text begins with (0 for none), halves to even,
// kept within the field it is saved in: a box without an upper bound must
// not wrap round in the file.
template <typename Int>
Int BoxNumber(const QLineEdit* box)
{
    const double value = MCommon::RoundHalfEven(MCommon::ReadLeadingNumber(box->text()));
    const double low = std::numeric_limits<Int>::min();
    const double high = std::numeric_limits<Int>::max();
    return static_cast<Int>(std::clamp(value, low, high));
}

// The item whose text is exactly the given one; else the first item.
void SelectExactText(QComboBox* combo, const QString& text)
{
    if (combo->count() == 0)
        return;
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index < 0 ? 0 : index);
}

// The project's name: the file name without folder and extension.
QString NameOf(const QString& path)
{
    return MFileOp::RemoveExtension(MFileOp::GetFileName(path));
}

// Older projects and settings were written on Windows: their paths use
// "\" and drive letters.
QString NativePath(const QString& folder)
{
    return RuvPlatform::PathHelper::SeparatorOf(folder) == QLatin1Char('\\')
        ? RuvPlatform::PathHelper::ToNative(folder)
        : folder;
}

}  // namespace

ProjectCommands::ProjectCommands(MainContext& context) : m_c(context) {}

ProjectCommands::~ProjectCommands() = default;

CProjectIOHandler& ProjectCommands::ProjectIO()
{
    if (!m_projectIO)
        m_projectIO = std::make_unique<CProjectIOHandler>();
    return *m_projectIO;
}

void ProjectCommands::Redraw()
{
    m_c.parts.sceneDrawing->fRefreshView();
}

// ---- The File menu ----------------------------------------------------------

void ProjectCommands::mnuT_New_Click()
{
    RunHandler(m_c, [this] { fNewProject(false); });
}

void ProjectCommands::mnuT_Open_Click()
{
    RunHandler(m_c, [this] {
        if (fAskToSave(m_c.texts.fGetText(TextOpen))) {
            QString path;
            if (fChooseProjectOpenFile(path)) {
                fOpenProject(path);
                return;
            }
        }
        Redraw();
    });
}

void ProjectCommands::mnuT_Save_Click()
{
    RunHandler(m_c, [this] { fSaveProject(); });
}

// ---- New ----------------------------------------------------------------------

bool ProjectCommands::fNewProject(bool unloadMap)
{
    if (!fAskToSave(m_c.texts.fGetText(TextNew))) {
        Redraw();
        return false;
    }
    MainState& s = m_c.state;
    {
        s.m_loadingProject = true;
        ScopeEnd loaded([&s] { s.m_loadingProject = false; });
        m_c.parts.editState->fCreateDefaultCurves();
        m_c.parts.editState->fResetProjectOptions();
        m_c.parts.demoSelection->fClearDemo();
        if (s.m_activeGame) {
            QString demoRoot = s.m_activeGame->DemoDefaultRootDir();
            m_c.parts.demoSelection->SetProjectDemoRootDir(demoRoot);
        }
        m_c.parts.viewInput->fSelectView(0);
        if (unloadMap)
            m_c.parts.mapBinding->fUnloadMap(false);
    }
    m_c.parts.sceneDrawing->fUpdateViewProjection();
    m_c.shell.fUpdateCaption(QString());
    m_projectName.clear();
    if (m_c.controls.m_notesForm)
        m_c.controls.m_notesForm->SetContent(QString());
    m_c.parts.preview->fResetPreviewTime();
    if (CFramerateHandler* rates = m_c.controls.mFramerateHandler.get()) {
        rates->RemoveTraceSpecific();
        rates->SelectDefaultValue();
    }
    m_c.parts.editState->fResetUndoHistory();
    m_c.parts.editState->fUpdateControlsState();
    s.m_projectModified = false;
    return true;
}

// ---- Save -----------------------------------------------------------------------

bool ProjectCommands::fAskToSave(const QString& title)
{
    if (m_c.parts.editState->fNothingToSave())
        return true;
    QString plainTitle = title;
    plainTitle.remove(QLatin1Char('&'));
    const int32_t answer =
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextAskToSave), StyleYesNoCancelQuestion, plainTitle);
    if (answer == AnswerYes)
        return fSaveProject();
    return answer == AnswerNo;
}

bool ProjectCommands::fSaveProject()
{
    QString path;
    if (fChooseProjectSaveFile(path))
        return fWriteProject(path);
    Redraw();
    return false;
}

bool ProjectCommands::fChooseProjectSaveFile(QString& path)
{
    CGameDefinition* game = m_c.state.m_activeGame;
    const QString projectDir = game ? game->ProjectDir() : QString();
    QString fileName = m_projectName;
    QString fileTitle;
    int32_t filterIndex = 1;
    if (!m_c.services.dialogs->ShowSaveDialog(&m_c.window, m_c.texts.fGetText(TextProjectSaving), fileName,
                                              fileTitle, projectDir,
                                              MCDialog::BuildFilter(m_c.texts.fGetText(TextProjectFiles),
                                                                    ProjectExtension),
                                              filterIndex, QString(), IDialogs::HideReadOnly))
        return false;
    // A name typed without an extension is a project all the same: without
    // ".vava" the open dialog would not list it.
    if (!MFileOp::GetFileName(fileName).contains(QLatin1Char('.')))
        fileName += QLatin1Char('.') + ProjectExtension;
    // Linux file names differ by case: only the project's own file is
    // replaced without a question.
    const QString ownFile =
        RuvPlatform::PathHelper::Join(projectDir, m_projectName + QLatin1Char('.') + ProjectExtension);
    if (QDir::cleanPath(fileName) != QDir::cleanPath(ownFile) && QFileInfo::exists(fileName)
        && m_c.status.fShowMessageBox(m_c.texts.fGetText(TextReplaceFile), StyleYesNoQuestion,
                                      m_c.texts.fGetText(TextProjectSaving))
               != AnswerYes)
        return false;
    if (game)
        game->SetProjectDir(MFileOp::GetFolderPart(fileName));
    path = fileName;
    return true;
}

C3DProject ProjectCommands::fBuildProjectRecord() const
{
    const MainState& s = m_c.state;
    const MainWidgets& w = m_c.widgets;
    const MainParts& parts = m_c.parts;
    C3DProject p;
    p.SetGameType(s.m_activeGame ? s.m_activeGame->GType() : 0);
    p.SetActiveView(static_cast<int16_t>(s.m_activeViewIndex));
    p.SetViewData1(s.m_views[0].Serialize());
    p.SetViewData2(s.m_views[1].Serialize());
    p.SetViewData3(s.m_views[2].Serialize());
    p.SetViewData4(s.m_views[3].Serialize());
    p.SetView3dRatioIndex(MCommon::FormatInt(parts.layout->fGetViewRatioIndex()));
    p.SetCameraString(s.m_camera.Serialize());
    p.SetDemoRootDir(parts.demoSelection->ProjectDemoRootDir());
    p.SetSelectedDemoPath(parts.demoSelection->fRelativeDemoPath());
    p.SetSelectedConfigName(w.cboGConfigs->currentText());
    p.SetSelectedBeforeCommand(w.cboSCmdsBefore->currentText());
    p.SetSelectedAfterCommand(w.cboSCmdsAfter->currentText());
    p.SetMapFileName(parts.mapBinding->fIsMapLoaded() ? parts.mapBinding->fMapFileName() : QString());
    p.SetAutostartEnabled(w.chkSAutoStart->isChecked());
    p.SetScriptPauseEnabled(w.chkSScriptPauseState->isChecked());
    p.SetScriptPauseInterval(BoxNumber<int16_t>(w.txtSScriptPauseInterval));
    p.SetScriptPauseResumeKeyIndex(static_cast<int16_t>(w.cboSScriptPauseKey->currentIndex()));
    p.SetIncludeFovChecked(w.chkSIncFov->isChecked());
    p.SetIncludeTimescaleChecked(w.chkSIncTS->isChecked());
    p.SetIncludeMessageChecked(w.chkSIncConMsg->isChecked());
    p.SetCameraMode(w.cboCamMode->currentIndex());
    p.SetPlayerNumber(w.cboCamModeOption->currentIndex());
    p.SetDemoGoToMinute(BoxNumber<int16_t>(w.txtGDemoTimes[0]));
    p.SetDemoGoToSecond(BoxNumber<int16_t>(w.txtGDemoTimes[1]));
    p.SetDemoForwardSecond(BoxNumber<int16_t>(w.txtGDemoTimes[2]));
    p.SetTransitionSpeed(BoxNumber<int32_t>(w.txtTransSpeed));
    p.SetEtqwScreenshotSettingsString(parts.scriptPanel->fRecordFrameSettingsString());
    QStringList presets;
    QList<int32_t> slotNumbers;
    if (parts.viewPresets->fPresetStrings(presets, slotNumbers)) {
        for (qsizetype i = 0; i < presets.size(); ++i)
            p.AddViewPreset(presets.at(i), i < slotNumbers.size() ? slotNumbers.at(i) : -1);
    }
    if (const CFramerateHandler* rates = m_c.controls.mFramerateHandler.get()) {
        p.SetSelectedFramerate(rates->SelectedValue());
        p.SetFramerateValuesString(rates->BuildValuesString(false));
    }
    if (m_c.controls.m_notesForm)
        p.SetComment(m_c.controls.m_notesForm->Content());
    return p;
}

bool ProjectCommands::fWriteProject(const QString& path)
{
    bool written = false;
    QString reason;
    try {
        const C3DProject project = fBuildProjectRecord();
        written = ProjectIO().Save(path, project, *m_c.state.m_curveController);
        if (!written)
            reason = ProjectIO().LastError();
    } catch (const RuvError&) {
        // The document could not be built: nothing was written, which the
        // user is told below like any other failed write.
        written = false;
    }
    if (written) {
        m_c.state.m_projectModified = false;
        m_projectName = NameOf(path);
        m_c.shell.fUpdateCaption(m_projectName);
        fAddRecentFile(m_projectName, path);
    } else {
        // The project still has its name and file: the caption keeps it.
        // With its cause (a full disk, a refused folder, a name too long),
        // as a failed open tells its own.
        QString prompt = m_c.texts.fGetText(TextSavingError);
        if (!reason.isEmpty())
            prompt += QLatin1Char('\n') + reason;
        m_c.status.fShowMessageBox(prompt, StyleExclamation, m_c.texts.fGetText(TextProjectSaving));
    }
    Redraw();
    return written;
}

// ---- Open -----------------------------------------------------------------------

bool ProjectCommands::fChooseProjectOpenFile(QString& path)
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    QString extensions = ProjectExtension;
    if (game && !game->ProjectFileExt().isEmpty())
        extensions += QLatin1Char(';') + game->ProjectFileExt();
    QString fileName;
    QString fileTitle;
    int32_t filterIndex = 1;
    const bool chosen = m_c.services.dialogs->ShowOpenDialog(
        &m_c.window, m_c.texts.fGetText(TextProjectLoading), fileName, fileTitle,
        game ? game->ProjectDir() : QString(),
        MCDialog::BuildFilter(m_c.texts.fGetText(TextProjectFiles), extensions), filterIndex, QString(),
        IDialogs::FileMustExist | IDialogs::HideReadOnly);
    if (chosen)
        path = fileName;
    return chosen;
}

bool ProjectCommands::fOpenProject(const QString& path)
{
    C3DProject project;
    C3DCurveController loaded;
    // A project written in XML keeps its numbers invariant; the reader
    // tells otherwise for an older text.
    bool invariantNumbers = true;
    if (!ProjectIO().Load(path, project, loaded, invariantNumbers)) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextReadingError) + QLatin1Char('\n')
                                       + ProjectIO().LastError(),
                                   StyleExclamation, m_c.texts.fGetText(TextProjectLoading));
        return false;
    }

    MainState& s = m_c.state;
    {
        s.m_loadingProject = true;
        ScopeEnd loadedFlag([&s] { s.m_loadingProject = false; });
        // The project's game first: switching games reads that game's
        // lists, folders and camera modes, which would otherwise replace
        // the project's choices made in them.
        m_c.parts.gameSelection->fApplyGameToGui(project.GameType(), true);
        if (s.m_activeGame)
            s.m_activeGame->SetProjectDir(MFileOp::GetFolderPart(path));
        m_projectName = NameOf(path);
        m_c.shell.fUpdateCaption(m_projectName);
        fAddRecentFile(m_projectName, path);

        m_c.parts.preview->fResetPreviewTime();
        m_c.parts.editState->fResetProjectOptions();
        m_c.parts.demoSelection->fClearDemo();
        fApplyRecordOptions(project, invariantNumbers);

        if (CFramerateHandler* rates = m_c.controls.mFramerateHandler.get()) {
            rates->RemoveTraceSpecific();
            rates->AddTraceSpecificValues(project.FramerateValuesString());
            int32_t rate = project.SelectedFramerate();
            rates->SelectByValue(rate);
        }
        fApplyLoadedCurves(project, loaded);
        if (m_c.controls.m_notesForm)
            m_c.controls.m_notesForm->SetContent(project.Comment());

        IMapBinding& map = *m_c.parts.mapBinding;
        if (project.MapFileName().isEmpty() || !map.fLoadMap(project.MapFileName()))
            map.fUnloadMap(false);

        // A ratio the list does not hold gives the first one.
        bool isNumber = false;
        int32_t ratio = project.View3dRatioIndex().toInt(&isNumber);
        if (!isNumber || ratio < 0 || ratio >= m_c.widgets.cbo3DViewRatio->count())
            ratio = 0;
        m_c.parts.layout->fSetViewRatioIndex(ratio, false);
        m_c.parts.viewInput->fSelectView(project.ActiveView());
        MComboBox::SetListIndexBounded(m_c.widgets.cboCamMode, project.CameraMode());
        MComboBox::SetListIndexBounded(m_c.widgets.cboCamModeOption, project.PlayerNumber());

        m_c.parts.editState->fResetUndoHistory();
        m_c.parts.pointGrid->fGridClearSelection(nullptr);
        m_c.parts.editState->fUpdateControlsState();
        s.m_projectModified = false;
    }
    {
        BusyScope busy(*m_c.parts.viewInput);
        m_c.parts.sceneDrawing->fUpdateViewProjection();
    }
    // During start-up the first paint shows the notes.
    QString notes = project.Comment();
    notes.remove(QStringLiteral("\r\n"));
    if (s.m_loaded && !notes.isEmpty())
        m_c.shell.fShowNotes();
    return true;
}

void ProjectCommands::fApplyRecordOptions(const C3DProject& project, bool invariantNumbers)
{
    MainState& s = m_c.state;
    MainWidgets& w = m_c.widgets;
    IDemoSelection& demos = *m_c.parts.demoSelection;

    QString demoRoot = NativePath(project.DemoRootDir());
    demos.SetProjectDemoRootDir(demoRoot);
    if (!IDemoSelection::fIsBelowDemoRoot(project.SelectedDemoPath())) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextDemoOutsideFolder, project.SelectedDemoPath()),
                                   StyleExclamation, m_c.texts.fGetText(TextProjectLoading));
    } else if (!project.SelectedDemoPath().isEmpty()) {
        demos.fSetDemo(project.SelectedDemoPath());
        FrmDemos* browser = m_c.controls.mDemosForm.get();
        if (browser && !browser->SelectItem(project.SelectedDemoPath()))
            m_c.status.fShowMessageBox(m_c.texts.fGetText(TextDemoNotFound, project.SelectedDemoPath()),
                                       StyleInformation, m_c.texts.fGetText(TextProjectLoading));
    }

    const QString* viewData[] = {&project.ViewData1(), &project.ViewData2(), &project.ViewData3(),
                                 &project.ViewData4()};
    for (size_t i = 0; i < s.m_views.size(); ++i)
        s.m_views[i].Deserialize(*viewData[i], invariantNumbers);
    s.m_camera.Deserialize(project.CameraString());

    {
        s.m_comboGuard = true;
        ScopeEnd unguard([&s] { s.m_comboGuard = false; });
        SelectExactText(w.cboGConfigs, project.SelectedConfigName());
        SelectExactText(w.cboSCmdsBefore, project.SelectedBeforeCommand());
        SelectExactText(w.cboSCmdsAfter, project.SelectedAfterCommand());
    }

    w.chkSAutoStart->setChecked(project.AutostartEnabled());
    w.chkSScriptPauseState->setChecked(project.ScriptPauseEnabled());
    w.txtSScriptPauseInterval->setText(MCommon::FormatInt(project.ScriptPauseInterval()));
    MComboBox::SetListIndexBounded(w.cboSScriptPauseKey, project.ScriptPauseResumeKeyIndex());
    w.chkSIncFov->setChecked(project.IncludeFovChecked());
    w.chkSIncTS->setChecked(project.IncludeTimescaleChecked());
    w.chkSIncConMsg->setChecked(project.IncludeMessageChecked());
    w.txtGDemoTimes[0]->setText(MCommon::FormatInt(project.DemoGoToMinute()));
    w.txtGDemoTimes[1]->setText(MCommon::FormatInt(project.DemoGoToSecond()));
    w.txtGDemoTimes[2]->setText(MCommon::FormatInt(project.DemoForwardSecond()));

    m_c.parts.viewPresets->fLoadPresetStrings(project, invariantNumbers);
    m_c.parts.scriptPanel->fParseRecordFrameSettings(project.EtqwScreenshotSettingsString());
    w.txtTransSpeed->setText(MCommon::FormatInt(project.TransitionSpeed()));
}

void ProjectCommands::fApplyLoadedCurves(const C3DProject& project, C3DCurveController& loaded)
{
    m_c.parts.editState->fCreateDefaultCurves();
    if (const CFramerateHandler* rates = m_c.controls.mFramerateHandler.get())
        loaded.SetFramerate(rates->SelectedValue());
    C3DCurveController& controller = *m_c.state.m_curveController;
    controller.BeginLoad();
    ScopeEnd endLoad([&controller] { controller.EndLoad(); });
    controller.BeginCurvesChange();
    ScopeEnd endChange([&controller] { controller.EndCurvesChange(); });
    {
        controller.BeginCurveCountChange();
        ScopeEnd endCount([&controller] { controller.EndCurveCountChange(); });
        for (int32_t i = 0; i < loaded.CurveCount(); ++i) {
            C3DCurve& source = loaded.Curves(i);
            if (i >= controller.CurveCount())
                controller.Add(source.Name());
            if (i > 0)
                source.SetShowArrow(false);
            controller.Curves(i).Load(source);
        }
    }
    fApplyOlderTiming(project);
}

void ProjectCommands::fApplyOlderTiming(const C3DProject& project)
{
    C3DCurve* main = m_c.state.m_mainCurve;
    if (!main)
        return;
    if (project.CurveDuration() > 0.0) {
        main->SetDuration(project.CurveDuration());
    } else if (project.StepCount1() >= 1 || project.StepCount2() >= 1) {
        const int16_t stepValue = project.SelectedStepValue() == 1 ? 1 : 0;
        const int16_t steps = stepValue == 0 ? project.StepCount1() : project.StepCount2();
        main->SetDuration(static_cast<double>(steps) / std::max<int32_t>(1, main->StepRate()));
    }
    if (project.AutoStartTime() > 0 && main->StartTime() == 0.0)
        main->SetStartTime(project.AutoStartTime());
}

// ---- Recent files ---------------------------------------------------------------

void ProjectCommands::fAddRecentFile(const QString& name, const QString& path)
{
    if (CRecentFile* recent = m_c.controls.m_recentFiles.get())
        recent->Add(fRecentFileCaption(name, path), path, true);
}

QString ProjectCommands::fRecentFileCaption(const QString& name, const QString& path)
{
    const qsizetype n = name.size();
    if (n == 0 || n >= CaptionBudget)
        return name;
    const QString base = MFileOp::RemoveExtension(path);
    const QString tail = QLatin1Char('/') + name;
    // Only the trailing name goes: a folder may bear the project's name.
    const bool named = base.endsWith(tail);
    const QString folder = named ? base.left(base.size() - tail.size()) : base;
    // A project in the root folder shows the root.
    if (named && folder.isEmpty())
        return tail;
    if (folder.isEmpty())
        return QStringLiteral(".../") + name;
    return QStringLiteral("...") + folder.right(CaptionBudget - n) + tail;
}

void ProjectCommands::fOpenRecentFile(int32_t index)
{
    RunHandler(m_c, [this, index] {
        MenuItemArray* items = m_c.menus.mnuT_RecentFiles();
        if (!items || !items->IsLoaded(index))
            return;
        // Entries kept by older versions name Windows paths.
        const QString path = NativePath(items->Tag(index));
        if (QFileInfo(path).isFile()) {
            if (fAskToSave(m_c.texts.fGetText(TextOpen))) {
                // The menu closes before the project is read.
                QCoreApplication::processEvents();
                fOpenProject(path);
            }
            return;
        }
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextFileNotFound, path), StyleInformation,
                                   m_c.texts.fGetText(TextRecentFiles));
        if (CRecentFile* recent = m_c.controls.m_recentFiles.get())
            recent->Clear(index);
    });
}
