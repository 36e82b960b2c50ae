#include "SceneDrawing.h"

#include "C3DCurveController.h"
#include "GLDraw.h"
#include "HandlerGuard.h"
#include "MCommon.h"
#include "MOGLHelper.h"
#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"

#include <QAction>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QString L(const char* text)
{
    return QString::fromLatin1(text);
}

// The grids: lines every 500 units across the world square.
constexpr float GridExtent = 50000.0f;
constexpr float GridSpacing = 500.0f;
// A ruler level is drawn while its step is at least this many pixels wide.
constexpr double RulerMinStepPixels = 9.0;
constexpr float MarkerRed = 0.85f;

int64_t FloorToStep(double value, int64_t step)
{
    return static_cast<int64_t>(std::floor(value / static_cast<double>(step))) * step;
}

int64_t CeilToStep(double value, int64_t step)
{
    return static_cast<int64_t>(std::ceil(value / static_cast<double>(step))) * step;
}

float RasterPixel(double value)
{
    return static_cast<float>(MCommon::RoundHalfEven(value));
}

// 20 or 12 pixels in world units of a 2D view; 0 while the view has no
// usable zoom.
float PixelsToWorld(double pixels, double scale)
{
    return scale > 0.0 && std::isfinite(scale) ? static_cast<float>(pixels / scale) : 0.0f;
}

}  // namespace

SceneDrawing::SceneDrawing(MainContext& context) : m_c(context)
{
    auto connect = [this](const char* item, void (SceneDrawing::*handler)()) {
        QObject::connect(m_c.menus.Action(L(item)), &QAction::triggered, &m_receiver,
                         [this, handler] { RunGuarded(m_c.status, [&] { (this->*handler)(); }); });
    };
    connect("mnuV_ShowGrid", &SceneDrawing::mnuV_ShowGrid_Click);
    connect("mnuV_AntiAliasing", &SceneDrawing::mnuV_AntiAliasing_Click);
    connect("mnuV_ShowRulers", &SceneDrawing::mnuV_ShowRulers_Click);
}

std::array<int32_t, 9> SceneDrawing::ScaleSteps()
{
    std::array<int32_t, 9> steps{};
    steps[0] = 1;
    int32_t power = 1;
    for (size_t n = 1; n <= 4; ++n) {
        power *= 10;
        steps[2 * n] = power;
        steps[2 * n - 1] = power / 2;
    }
    return steps;
}

void SceneDrawing::fBuildScaleTable()
{
    m_rulerLabelMinPixels = {35, 20};
    m_rulerSteps = ScaleSteps();
}

// ---- Redraws ---------------------------------------------------------------------------

void SceneDrawing::fRefreshView()
{
    if (!m_c.state.m_loadingProject)
        m_c.view.Refresh();
}

void SceneDrawing::fUpdateViewProjection()
{
    m_c.view.UpdateProjection();
    fRefreshView();
}

void SceneDrawing::fHideGridSelection()
{
    m_c.state.m_drags.m_showGridSelection = false;
    if (m_gridSelectionDrawn) {
        m_gridSelectionDrawn = false;
        fRefreshView();
    }
}

// ---- The frame -------------------------------------------------------------------------

void SceneDrawing::GLDrawScene()
{
    // Drawing runs inside the view's paint: nothing may leave it.
    try {
        fDrawScene();
    } catch (...) {
    }
}

void SceneDrawing::fDrawScene()
{
    MainState& s = m_c.state;
    if (s.m_loadingProject || !s.m_view)
        return;
    bool keepSide = s.m_drags.m_sideKeyHeld;
    bool keepForward = s.m_drags.m_forwardKeyHeld;
    m_c.view.GLViewTransform(keepSide, keepForward);
    fDrawMap();

    GLDraw::ITarget& gl = GLDraw::Current();
    const bool is3D = s.m_view->Is3D();
    gl.LineWidth(2.0f);
    gl.Color3f(MarkerRed, 0.0f, 0.0f);
    MOGLHelper::GLDrawCross(0.0f, 0.0f, 0.0f, is3D ? 20.0f : PixelsToWorld(20.0, m_c.view.GLViewScale()));

    if (s.m_view->ShowGrid())
        fDrawGrids();
    fDrawCurves();
    if (s.m_drags.m_showGridSelection)
        fDrawGridSelection();
    fDrawMarkers();
    fDrawOverlay();
}

void SceneDrawing::fDrawMap()
{
    MainState& s = m_c.state;
    if (!m_c.parts.mapBinding->fIsMapLoaded() || !s.m_map)
        return;
    glPushMatrix();
    s.m_map->FrustumUpdate();
    s.m_map->CalculateVisibleFaces(s.m_camera.GamePos(0), s.m_camera.GamePos(1), s.m_camera.GamePos(2));
    // The mode stays for the rest of the frame.
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(m_c.parts.mapBinding->fMapPolygonMode()));
    glLineWidth(1.0f);
    s.m_map->Draw();
    glPopMatrix();
}

void SceneDrawing::fDrawGrids()
{
    enum Plane { XY, XZ, YZ };
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.LineWidth(1.0f);
    const auto grid = [&gl](Plane plane) {
        static constexpr float colours[3][3] = {{0.93f, 0.9f, 0.9f}, {0.9f, 0.93f, 0.9f}, {0.9f, 0.9f, 0.93f}};
        gl.Color3f(colours[plane][0], colours[plane][1], colours[plane][2]);
        gl.Begin(GLDraw::LINES);
        const int lines = static_cast<int>(2.0f * GridExtent / GridSpacing);
        for (int i = 0; i <= lines; ++i) {
            const float v = -GridExtent + GridSpacing * static_cast<float>(i);
            switch (plane) {
            case XY:
                gl.Vertex3f(v, -GridExtent, 0.0f), gl.Vertex3f(v, GridExtent, 0.0f);
                gl.Vertex3f(-GridExtent, v, 0.0f), gl.Vertex3f(GridExtent, v, 0.0f);
                break;
            case XZ:
                gl.Vertex3f(v, 0.0f, -GridExtent), gl.Vertex3f(v, 0.0f, GridExtent);
                gl.Vertex3f(-GridExtent, 0.0f, v), gl.Vertex3f(GridExtent, 0.0f, v);
                break;
            case YZ:
                gl.Vertex3f(0.0f, v, -GridExtent), gl.Vertex3f(0.0f, v, GridExtent);
                gl.Vertex3f(0.0f, -GridExtent, v), gl.Vertex3f(0.0f, GridExtent, v);
                break;
            }
        }
        gl.End();
    };
    switch (m_c.state.m_view->ViewFlag()) {
    case CView::ViewXY: grid(XY); break;
    case CView::ViewXZ: grid(XZ); break;
    case CView::ViewYZ: grid(YZ); break;
    default:
        grid(XY);
        grid(YZ);
        break;
    }
}

void SceneDrawing::fDrawCurves()
{
    C3DCurveController* controller = m_c.state.m_curveController.get();
    if (!controller)
        return;
    for (int32_t i = controller->CurveCount() - 1; i >= 1; --i)
        controller->Curves(i).DrawCurveLines(m_c.view);
    if (m_c.state.m_mainCurve)
        m_c.state.m_mainCurve->DrawCurve(m_c.view);
}

void SceneDrawing::fDrawGridSelection()
{
    int32_t firstRow = 0;
    int32_t lastRow = 0;
    const C3DCurve* curve = m_c.widgets.cmCurveManager ? m_c.widgets.cmCurveManager->SelectedCurve() : nullptr;
    if (!curve || !m_c.parts.pointGrid->fActiveGridSelection(firstRow, lastRow))
        return;
    // Only rows that are points of the curve.
    const int32_t count = curve->ControlsCount();
    const int32_t first = std::max(std::min(firstRow, lastRow), 1);
    const int32_t last = std::min(std::max(firstRow, lastRow), count);
    GLDraw::ITarget& gl = GLDraw::Current();
    for (int32_t row = first; row <= last; ++row) {
        m_gridSelectionDrawn = true;
        const float ramp = last > first ? static_cast<float>(row - first) / static_cast<float>(last - first) : 0.0f;
        const ControlRecord r = curve->GetControlRecord(row);
        gl.PointSize(8.0f);
        gl.Color3f(0.0f, 1.0f, ramp);
        GLDraw::Point(r.X, r.Y, r.Z);
        gl.PointSize(6.0f);
        gl.Color3f(1.0f, 1.0f, 1.0f);
        GLDraw::Point(r.X, r.Y, r.Z);
        gl.PointSize(2.0f);
        gl.Color3f(0.0f, 0.0f, 0.0f);
        GLDraw::Point(r.X, r.Y, r.Z);
    }
}

void SceneDrawing::fDrawMarkers()
{
    const ViewDrags& d = m_c.state.m_drags;
    GLDraw::ITarget& gl = GLDraw::Current();
    if (d.m_selectionRectActive) {
        gl.LineWidth(1.0f);
        m_c.view.GLDrawSelectionRect2D(d.m_selRectStart, d.m_selRectEnd);
    }
    const float size = PixelsToWorld(12.0, m_c.view.GLViewScale());
    const auto cross = [&gl, size](const std::array<float, 3>& at) {
        gl.LineWidth(1.0f);
        gl.Color3f(MarkerRed, 0.0f, 0.0f);
        MOGLHelper::GLDrawCross(at[0], at[1], at[2], size);
    };
    if (d.m_snapFound)
        cross(d.m_snapPoint);
    if (d.m_dragMarkerShown)
        cross(d.m_dragMarker);
}

void SceneDrawing::fDrawOverlay()
{
    m_overlayHalfWidth = m_c.view.GLViewRealWidth() / 2.0;
    m_overlayHalfHeight = m_c.view.GLViewRealHeight() / 2.0;
    const double w = m_overlayHalfWidth;
    const double h = m_overlayHalfHeight;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-w, w, -h, h, -0.5, 0.5);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // The view culls front faces, which the bands are: flat overlays have
    // no back to hide.
    const bool culling = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    glDisable(GL_CULL_FACE);
    if (m_c.state.m_view->ShowRuler()) {
        if (m_c.state.m_view->Is3D())
            fDrawHeadingTape(w, h);
        else
            fDrawRulers(w, h);
    }
    if (culling)
        glEnable(GL_CULL_FACE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// ---- Rulers -------------------------------------------------------------------------------

QList<RulerTick> SceneDrawing::RulerTicks(double centre, double worldSize, int32_t pixels, int32_t labelMinPixels,
                                          const std::array<int32_t, 9>& steps)
{
    QList<RulerTick> ticks;
    if (!(worldSize > 0.0) || !std::isfinite(worldSize) || !std::isfinite(centre) || pixels <= 0)
        return ticks;
    const double minimum = centre - worldSize / 2.0;
    const double maximum = minimum + worldSize;
    bool firstLevel = true;
    for (int k = static_cast<int>(steps.size()) - 1; k >= 0; --k) {
        const int64_t step = steps[static_cast<size_t>(k)];
        if (static_cast<double>(step) > worldSize)
            continue;
        const double stepPixels = pixels * static_cast<double>(step) / worldSize;
        if (stepPixels < RulerMinStepPixels)
            break;
        const int64_t coarser = firstLevel ? 0 : steps[static_cast<size_t>(k) + 1];
        const int64_t last = CeilToStep(maximum, step);
        for (int64_t t = FloorToStep(minimum, step); t <= last; t += step) {
            // A coarser level drew it.
            if (coarser != 0 && t % coarser == 0)
                continue;
            RulerTick tick;
            tick.value = t;
            tick.pixel = (static_cast<double>(t) - centre) / worldSize * pixels;
            tick.labelled = stepPixels >= labelMinPixels;
            tick.level = firstLevel ? 0 : 1;
            ticks << tick;
        }
        firstLevel = false;
    }
    return ticks;
}

void SceneDrawing::fDrawRulers(double w, double h)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color4f(1.0f, 1.0f, 1.0f, 0.5f);
    MOGLHelper::GLDrawRect2D(-w, h, w, h - 16.0, GLDraw::QUADS);
    MOGLHelper::GLDrawRect2D(-w, h, -w + 32.0, -h, GLDraw::QUADS);
    gl.LineWidth(1.0f);
    const int32_t pixels[2] = {m_c.view.GLViewRealWidth(), m_c.view.GLViewRealHeight()};
    const double sizes[2] = {m_c.view.GLViewWidth(), m_c.view.GLViewHeight()};
    for (int32_t axis = 0; axis < 2; ++axis) {
        const QList<RulerTick> ticks =
            RulerTicks(m_c.state.m_view->CurrentOrigin(axis + 1), sizes[axis], pixels[axis],
                       m_rulerLabelMinPixels[static_cast<size_t>(axis)], m_rulerSteps);
        int32_t level = -1;
        for (const RulerTick& t : ticks) {
            if (t.level != level) {
                level = t.level;
                const float grey = level == 0 ? 0.2f : 0.75f;
                gl.Color3f(grey, grey, grey);
            }
            if (axis == 0) {
                MOGLHelper::GLDrawLine2D(t.pixel, h, t.pixel, h - (t.labelled ? 8.0 : 5.0));
                if (t.labelled) {
                    gl.RasterPos3f(RasterPixel(t.pixel + 2.0), RasterPixel(h - 12.0), 0.0f);
                    m_c.view.GLPrint(QString::number(t.value));
                }
            } else {
                MOGLHelper::GLDrawLine2D(-w + (t.labelled ? 8.0 : 5.0), t.pixel, -w, t.pixel);
                if (t.labelled) {
                    gl.RasterPos3f(RasterPixel(-w + 2.0), RasterPixel(t.pixel + 4.0), 0.0f);
                    m_c.view.GLPrint(QString::number(t.value));
                }
            }
        }
    }
}

// ---- Heading tape ----------------------------------------------------------------------------

QList<HeadingTick> SceneDrawing::HeadingTicks(double yaw, double fov, double halfWidth, double nearWidth,
                                              double zNear)
{
    QList<HeadingTick> ticks;
    if (!(nearWidth > 0.0) || !std::isfinite(yaw) || !std::isfinite(fov))
        return ticks;
    double heading = std::fmod(yaw, 360.0);
    if (yaw < 0.0)
        heading += 360.0;
    if (heading == 360.0)
        heading = 0.0;
    const double left = heading - fov / 2.0;
    const double right = heading + fov / 2.0;
    const double pixelsPerUnit = 2.0 * halfWidth / nearWidth;
    const int64_t first = FloorToStep(left, 15);
    const int64_t last = CeilToStep(right, 15);
    for (int64_t angle = first; angle <= last; angle += 15) {
        const double off = static_cast<double>(angle) - heading;
        // At 90 degrees and beyond the direction never meets the view.
        if (std::abs(off) >= 90.0)
            continue;
        HeadingTick tick;
        tick.pixel = std::tan(off * std::numbers::pi / 180.0) * zNear * pixelsPerUnit;
        tick.label = static_cast<int32_t>(((angle % 360) + 360) % 360);
        ticks << tick;
    }
    return ticks;
}

void SceneDrawing::fDrawHeadingTape(double w, double h)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color4f(1.0f, 1.0f, 1.0f, 0.5f);
    MOGLHelper::GLDrawRect2D(-w, h, w, h - 16.0, GLDraw::QUADS);
    gl.LineWidth(1.0f);
    gl.Color3f(0.75f, 0.75f, 0.75f);
    const C3DCamera& camera = m_c.state.m_camera;
    for (const HeadingTick& t : HeadingTicks(camera.Yaw(), camera.Fov(), w, m_c.view.GL3DViewWidth(), m_c.view.ZNear())) {
        MOGLHelper::GLDrawLine2D(t.pixel, h, t.pixel, h - 8.0);
        gl.RasterPos3f(RasterPixel(t.pixel + 2.0), RasterPixel(h - 12.0), 0.0f);
        m_c.view.GLPrint(QString::number(t.label));
    }
}

// ---- The Display menu ----------------------------------------------------------------------

void SceneDrawing::fUpdateViewMenus()
{
    const CView* view = m_c.state.m_view;
    if (!view)
        return;
    m_c.menus.Action(L("mnuV_ShowGrid"))->setChecked(view->ShowGrid());
    m_c.menus.Action(L("mnuV_AntiAliasing"))->setChecked(view->EnableAA());
    m_c.menus.Action(L("mnuV_ShowRulers"))->setChecked(view->ShowRuler());
    fSetLineSmooth(view->EnableAA());
}

void SceneDrawing::fSetLineSmooth(bool on)
{
    // Without the view's context there is nothing to switch.
    if (!m_c.view.MakeCurrent())
        return;
    const bool smooth = glIsEnabled(GL_LINE_SMOOTH) == GL_TRUE;
    if (smooth == on)
        return;
    if (on)
        glEnable(GL_LINE_SMOOTH);
    else
        glDisable(GL_LINE_SMOOTH);
}

// Qt has toggled each item's check mark when these run: the active view
// takes it, the project may be marked, and the view is redrawn unless the
// playback draws it anyway.
void SceneDrawing::fDisplayToggled(const char* item, void (CView::*apply)(bool))
{
    CView* view = m_c.state.m_view;
    if (view)
        (view->*apply)(m_c.menus.Action(L(item))->isChecked());
    m_c.parts.editState->fSetProjectModified(false);
    if (view && apply == &CView::SetEnableAA)
        fSetLineSmooth(view->EnableAA());
    if (!m_c.parts.preview->fIsPlaying())
        fRefreshView();
}

void SceneDrawing::mnuV_ShowGrid_Click()
{
    fDisplayToggled("mnuV_ShowGrid", &CView::SetShowGrid);
}

void SceneDrawing::mnuV_AntiAliasing_Click()
{
    fDisplayToggled("mnuV_AntiAliasing", &CView::SetEnableAA);
}

void SceneDrawing::mnuV_ShowRulers_Click()
{
    fDisplayToggled("mnuV_ShowRulers", &CView::SetShowRuler);
}
