#pragma once

struct MainContext;

// The scene of the view: the map, grids, curves, markers and overlays,
// drawn when the view control calls the window's drawing handler.
class ISceneDrawing
{
public:
    virtual ~ISceneDrawing() = default;
    virtual void fBuildScaleTable() = 0;
    // The drawing handler's call: the view's context is current, the
    // buffers cleared.
    virtual void GLDrawScene() = 0;
    // Redraws the view (nothing while a project is being loaded).
    virtual void fRefreshView() = 0;
    // The projection anew (size, kind, zoom, lens changed), then a redraw.
    virtual void fUpdateViewProjection() {}

    // ---- For the preview and the point grid ----------------------------------
    // The markers of the grid-selected points: shown from the next redraw
    // on; hidden again, with a redraw when they had been drawn.
    virtual void fShowGridSelection() {}
    virtual void fHideGridSelection() {}
};

class SceneDrawing final : public ISceneDrawing
{
public:
    explicit SceneDrawing(MainContext& context) : m_c(context) {}
    void fBuildScaleTable() override {}
    void GLDrawScene() override {}
    void fRefreshView() override;
    void fUpdateViewProjection() override;

private:
    MainContext& m_c;
};
