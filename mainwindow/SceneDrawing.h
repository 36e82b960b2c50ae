#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class CView;
struct MainContext;

// The scene of the view: the map, grids, curves, markers and overlays,
// drawn when the view control calls the window's drawing handler; the
// Display menu's toggles.
class ISceneDrawing
{
public:
    virtual ~ISceneDrawing() = default;
    // The rulers' tick steps and label thresholds, once while loading.
    virtual void fBuildScaleTable() = 0;
    // The drawing handler's call: the view's context is current, the
    // buffers cleared.
    virtual void GLDrawScene() = 0;
    // Redraws the view (nothing while a project is being loaded).
    virtual void fRefreshView() = 0;
    // The projection anew (size, kind, zoom or lens changed), then a redraw.
    virtual void fUpdateViewProjection() = 0;
    // Ends the marks of the point grid's selected points.
    virtual void fHideGridSelection() = 0;
    // Grid, Antialiasing and Ruler checked as the active view has them.
    virtual void fUpdateViewMenus() = 0;
    // Line smoothing on or off in the view's context.
    virtual void fSetLineSmooth(bool on) = 0;
};

// One tick of a ruler: its value (world units), its position in pixels
// from the view's centre, and whether it is long and labelled.
struct RulerTick
{
    int64_t value = 0;
    double pixel = 0.0;
    bool labelled = false;
    // 0 for the coarsest level drawn, 1 for every finer one.
    int32_t level = 0;
};

// One tick of the heading tape: its position in pixels from the centre
// and its label, 0 to 359 degrees.
struct HeadingTick
{
    double pixel = 0.0;
    int32_t label = 0;
};

class SceneDrawing final : public ISceneDrawing
{
public:
    explicit SceneDrawing(MainContext& context);

    void fBuildScaleTable() override;
    void GLDrawScene() override;
    void fRefreshView() override;
    void fUpdateViewProjection() override;
    void fHideGridSelection() override;
    void fUpdateViewMenus() override;
    void fSetLineSmooth(bool on) override;

    // ---- The Display menu ---------------------------------------------------------
    void mnuV_ShowGrid_Click();
    void mnuV_AntiAliasing_Click();
    void mnuV_ShowRulers_Click();

    // ---- The overlays' arithmetic, apart for its tests -----------------------------
    // The ticks of one ruler over a view centred on `centre` showing
    // `worldSize` units in `pixels`: from the coarsest step that is at
    // least 9 pixels wide down to the finest, each value once; labelled
    // from `labelMinPixels` a step.
    static QList<RulerTick> RulerTicks(double centre, double worldSize, int32_t pixels, int32_t labelMinPixels,
                                       const std::array<int32_t, 9>& steps);
    // The heading tape of a camera at `yaw` with field of view `fov`: a
    // tick every 15 degrees across the view, none at or beyond 90 degrees
    // from the heading (off the view's plane).
    static QList<HeadingTick> HeadingTicks(double yaw, double fov, double halfWidth, double nearWidth, double zNear);
    // The ruler steps: 1, 5, 10, 50 ... 10000.
    static std::array<int32_t, 9> ScaleSteps();

private:
    void fDrawScene();
    void fDrawMap();
    void fDrawGrids();
    void fDrawCurves();
    void fDrawGridSelection();
    void fDrawMarkers();
    void fDrawOverlay();
    void fDrawRulers(double halfWidth, double halfHeight);
    void fDrawHeadingTape(double halfWidth, double halfHeight);
    void fDisplayToggled(const char* item, void (CView::*apply)(bool));

    MainContext& m_c;
    QObject m_receiver;
    bool m_gridSelectionDrawn = false;
    double m_overlayHalfWidth = 0.0;
    double m_overlayHalfHeight = 0.0;
    std::array<int32_t, 9> m_rulerSteps{};
    std::array<int32_t, 2> m_rulerLabelMinPixels{};
};
