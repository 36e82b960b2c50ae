#pragma once

// The collaborators of the main window, one for each group of its duties
// (layout, language, project commands, preview, ...), each behind an
// interface so that the others (and tests) reach it as they need. The window makes them through a MainPartsFactory; a test derives
// from the factory and hands in a fake where it needs one.

#include "CameraModePanel.h"
#include "CameraNavigation.h"
#include "ConsoleInput.h"
#include "CurveEditing.h"
#include "DemoSelection.h"
#include "EditState.h"
#include "GameConfigs.h"
#include "GameLauncher.h"
#include "GameMinimizer.h"
#include "GameSelection.h"
#include "Language.h"
#include "MainLayout.h"
#include "MainSettings.h"
#include "MainShell.h"
#include "MainTooltips.h"
#include "MapBinding.h"
#include "MenuDecoration.h"
#include "PointGridPanel.h"
#include "PreviewPlayback.h"
#include "ProjectCommands.h"
#include "SceneDrawing.h"
#include "ScreenshotTools.h"
#include "ScriptCreation.h"
#include "ScriptPanel.h"
#include "ValueTools.h"
#include "ViewInput.h"
#include "ViewZoom.h"

// Curve editing, edit state, sinks, camera and presets.
#include "EventSinks.h"
#include "ViewPresets.h"
// Curve import from position files.
#include "CurveImport.h"

#include <memory>

struct MainContext;

struct MainParts
{
    // The shell's own groups.
    std::unique_ptr<MainSettings> settings;
    std::unique_ptr<MenuDecoration> menuDecoration;

    // The other groups.
    std::unique_ptr<IGameSelection> gameSelection;
    std::unique_ptr<IViewInput> viewInput;
    std::unique_ptr<IViewZoom> viewZoom;
    std::unique_ptr<ISceneDrawing> sceneDrawing;
    std::unique_ptr<IMapBinding> mapBinding;
    std::unique_ptr<IEditState> editState;
    std::unique_ptr<ICameraNavigation> cameraNavigation;
    std::unique_ptr<IPointGridPanel> pointGrid;
    std::unique_ptr<IMainLayout> layout;
    std::unique_ptr<IScriptPanel> scriptPanel;
    std::unique_ptr<IScriptCreation> scriptCreation;
    std::unique_ptr<IValueTools> valueTools;
    std::unique_ptr<ICameraModePanel> cameraModes;
    std::unique_ptr<IGameMinimizer> gameMinimizer;
    std::unique_ptr<IGameConfigs> gameConfigs;
    std::unique_ptr<IProjectCommands> projectCommands;
    std::unique_ptr<IPreviewPlayback> preview;
    std::unique_ptr<ILanguage> language;
    std::unique_ptr<IDemoSelection> demoSelection;
    // The game launch's console input.
    std::unique_ptr<IConsoleInput> consoleInput;
    // The window's tooltips.
    std::unique_ptr<IMainTooltips> tooltips;

    // Curve editing in the views, the sinks of the model and the controls,
    // the view presets.
    std::unique_ptr<ICurveEditing> curveEditing;
    std::unique_ptr<IEventSinks> eventSinks;
    std::unique_ptr<IViewPresets> viewPresets;

    // The game launch: start and stop, screenshots.
    std::unique_ptr<IGameLauncher> gameLauncher;
    std::unique_ptr<IScreenshotTools> screenshotTools;

    // Curve import from position files.
    std::unique_ptr<ICurveImport> curveImport;
};

// Makes each collaborator; override one Make to hand the window another.
class MainPartsFactory
{
public:
    virtual ~MainPartsFactory() = default;

    // Fills every member of `parts`.
    void MakeAll(MainContext& context, MainParts& parts);

    virtual std::unique_ptr<IGameSelection> MakeGameSelection(MainContext& c);
    virtual std::unique_ptr<IViewInput> MakeViewInput(MainContext& c);
    virtual std::unique_ptr<IViewZoom> MakeViewZoom(MainContext& c);
    virtual std::unique_ptr<ISceneDrawing> MakeSceneDrawing(MainContext& c);
    virtual std::unique_ptr<IMapBinding> MakeMapBinding(MainContext& c);
    virtual std::unique_ptr<IEditState> MakeEditState(MainContext& c);
    virtual std::unique_ptr<ICameraNavigation> MakeCameraNavigation(MainContext& c);
    virtual std::unique_ptr<IPointGridPanel> MakePointGrid(MainContext& c);
    virtual std::unique_ptr<IMainLayout> MakeLayout(MainContext& c);
    virtual std::unique_ptr<IScriptPanel> MakeScriptPanel(MainContext& c);
    virtual std::unique_ptr<IScriptCreation> MakeScriptCreation(MainContext& c);
    virtual std::unique_ptr<IValueTools> MakeValueTools(MainContext& c);
    virtual std::unique_ptr<ICameraModePanel> MakeCameraModes(MainContext& c);
    virtual std::unique_ptr<IGameMinimizer> MakeGameMinimizer(MainContext& c);
    virtual std::unique_ptr<IGameConfigs> MakeGameConfigs(MainContext& c);
    virtual std::unique_ptr<IProjectCommands> MakeProjectCommands(MainContext& c);
    virtual std::unique_ptr<IPreviewPlayback> MakePreview(MainContext& c);
    virtual std::unique_ptr<ILanguage> MakeLanguage(MainContext& c);
    virtual std::unique_ptr<IDemoSelection> MakeDemoSelection(MainContext& c);
    // The game launch's console input.
    virtual std::unique_ptr<IConsoleInput> MakeConsoleInput(MainContext& c);
    // The window's tooltips.
    virtual std::unique_ptr<IMainTooltips> MakeTooltips(MainContext& c);

    // Curve editing in the views, the sinks, the view presets.
    virtual std::unique_ptr<ICurveEditing> MakeCurveEditing(MainContext& c);
    virtual std::unique_ptr<IEventSinks> MakeEventSinks(MainContext& c);
    virtual std::unique_ptr<IViewPresets> MakeViewPresets(MainContext& c);

    // The game launch: start and stop, screenshots.
    virtual std::unique_ptr<IGameLauncher> MakeGameLauncher(MainContext& c);
    virtual std::unique_ptr<IScreenshotTools> MakeScreenshotTools(MainContext& c);

    // Curve import from position files.
    virtual std::unique_ptr<ICurveImport> MakeCurveImport(MainContext& c);
};
