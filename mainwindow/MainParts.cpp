#include "MainParts.h"

#include "MainContext.h"

void MainPartsFactory::MakeAll(MainContext& c, MainParts& parts)
{
    parts.settings = std::make_unique<MainSettings>(c);
    parts.menuDecoration = std::make_unique<MenuDecoration>(c);
    parts.gameSelection = MakeGameSelection(c);
    parts.viewInput = MakeViewInput(c);
    parts.viewZoom = MakeViewZoom(c);
    parts.sceneDrawing = MakeSceneDrawing(c);
    parts.mapBinding = MakeMapBinding(c);
    parts.editState = MakeEditState(c);
    parts.cameraNavigation = MakeCameraNavigation(c);
    parts.pointGrid = MakePointGrid(c);
    parts.layout = MakeLayout(c);
    parts.scriptPanel = MakeScriptPanel(c);
    parts.scriptCreation = MakeScriptCreation(c);
    parts.valueTools = MakeValueTools(c);
    parts.cameraModes = MakeCameraModes(c);
    parts.gameMinimizer = MakeGameMinimizer(c);
    parts.gameConfigs = MakeGameConfigs(c);
    parts.projectCommands = MakeProjectCommands(c);
    parts.preview = MakePreview(c);
    parts.language = MakeLanguage(c);
    parts.demoSelection = MakeDemoSelection(c);
    // The game launch's console input.
    parts.consoleInput = MakeConsoleInput(c);
    // The window's tooltips.
    parts.tooltips = MakeTooltips(c);
    // Curve editing in the views, the sinks, the view presets.
    parts.curveEditing = MakeCurveEditing(c);
    parts.eventSinks = MakeEventSinks(c);
    parts.viewPresets = MakeViewPresets(c);
    // The game launch: start and stop, screenshots.
    parts.gameLauncher = MakeGameLauncher(c);
    parts.screenshotTools = MakeScreenshotTools(c);
    // Curve import from position files.
    parts.curveImport = MakeCurveImport(c);
}

#define RUV_MAKE_PART(Interface, Maker, Class)                     \
    std::unique_ptr<Interface> MainPartsFactory::Maker(MainContext& c) \
    {                                                              \
        return std::make_unique<Class>(c);                         \
    }

RUV_MAKE_PART(IGameSelection, MakeGameSelection, GameSelection)
RUV_MAKE_PART(IViewInput, MakeViewInput, ViewInput)
RUV_MAKE_PART(IViewZoom, MakeViewZoom, ViewZoom)
RUV_MAKE_PART(ISceneDrawing, MakeSceneDrawing, SceneDrawing)
RUV_MAKE_PART(IMapBinding, MakeMapBinding, MapBinding)
RUV_MAKE_PART(IEditState, MakeEditState, EditState)
RUV_MAKE_PART(ICameraNavigation, MakeCameraNavigation, CameraNavigation)
RUV_MAKE_PART(IPointGridPanel, MakePointGrid, PointGridPanel)
RUV_MAKE_PART(IMainLayout, MakeLayout, MainLayout)
RUV_MAKE_PART(IScriptPanel, MakeScriptPanel, ScriptPanel)
RUV_MAKE_PART(IScriptCreation, MakeScriptCreation, ScriptCreation)
RUV_MAKE_PART(IValueTools, MakeValueTools, ValueTools)
RUV_MAKE_PART(ICameraModePanel, MakeCameraModes, CameraModePanel)
RUV_MAKE_PART(IGameMinimizer, MakeGameMinimizer, GameMinimizer)
RUV_MAKE_PART(IGameConfigs, MakeGameConfigs, GameConfigs)
RUV_MAKE_PART(IProjectCommands, MakeProjectCommands, ProjectCommands)
RUV_MAKE_PART(IPreviewPlayback, MakePreview, PreviewPlayback)
RUV_MAKE_PART(ILanguage, MakeLanguage, Language)
RUV_MAKE_PART(IDemoSelection, MakeDemoSelection, DemoSelection)
// The game launch's console input.
RUV_MAKE_PART(IConsoleInput, MakeConsoleInput, ConsoleInput)
// The window's tooltips.
RUV_MAKE_PART(IMainTooltips, MakeTooltips, MainTooltips)
// Curve editing in the views, the sinks, the view presets.
RUV_MAKE_PART(ICurveEditing, MakeCurveEditing, CurveEditing)
RUV_MAKE_PART(IEventSinks, MakeEventSinks, EventSinks)
RUV_MAKE_PART(IViewPresets, MakeViewPresets, ViewPresets)
// The game launch: start and stop, screenshots.
RUV_MAKE_PART(IGameLauncher, MakeGameLauncher, GameLauncher)
RUV_MAKE_PART(IScreenshotTools, MakeScreenshotTools, ScreenshotTools)
// Curve import from position files.
RUV_MAKE_PART(ICurveImport, MakeCurveImport, CurveImport)

#undef RUV_MAKE_PART
