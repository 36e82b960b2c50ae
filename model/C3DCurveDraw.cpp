// Drawing of a curve into the current OpenGL view: the sampled path, the
// controls, the tangent handles, direction arrows, time labels and look-at
// targets, and the curve's drawing colours. Everything goes through the
// GLDraw seam, so tests can record it without a context.
#include "C3DCurve.h"

#include "CView.h"
#include "GLDraw.h"
#include "MColor.h"
#include "MCommon.h"
#include "MMath.h"
#include "RuvError.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

using Vec3 = std::array<float, 3>;

Vec3 PositionOf(const ControlRecord& r)
{
    return {r.X, r.Y, r.Z};
}

// Marks a drawing as running for the life of the object.
struct DrawingScope
{
    bool& flag;
    explicit DrawingScope(bool& f) : flag(f) { flag = true; }
    ~DrawingScope() { flag = false; }
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;
};

// `pixels` in world units of a 2D view, or 0 when the view has no usable
// zoom yet (a zoom of 0 would turn every size endless).
double PixelsToWorld(const GLDraw::IView& view, double pixels)
{
    const double scale = view.GLViewScale();
    if (!(scale > 0.0) || !std::isfinite(scale))
        return 0.0;
    const double units = pixels / scale;
    return std::isfinite(units) ? units : 0.0;
}

// The control time as the label shows it: two decimals in the user's
// locale, no grouping. The view's font has only the characters 32 to 127;
// a locale whose digits or signs lie outside would leave a blank or a
// misleading label, so such a text falls back to the plain form.
QString TimeLabel(double time)
{
    // +0.0 turns a negative zero into "0.00".
    const double shown = MCommon::RoundToDecimals(time, 2) + 0.0;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(shown, 'f', 2);
    for (QChar c : text) {
        if (c.unicode() < 32 || c.unicode() > 127) {
            QLocale plain = QLocale::c();
            plain.setNumberOptions(QLocale::OmitGroupSeparator);
            return plain.toString(shown, 'f', 2);
        }
    }
    return text;
}

}  // namespace

// ---- Colours -----------------------------------------------------------------

CurveDrawColor::CurveDrawColor(int32_t color, float opacity) : value(color)
{
    const std::array<uint8_t, 3> rgb = MColor::SplitRGB(color);
    gl[0] = static_cast<float>(rgb[0]) / 255.0f;
    gl[1] = static_cast<float>(rgb[1]) / 255.0f;
    gl[2] = static_cast<float>(rgb[2]) / 255.0f;
    // A NaN opacity counts as none rather than reaching OpenGL.
    const float percent = std::isnan(opacity) ? 0.0f : std::clamp(opacity, 0.0f, 100.0f);
    gl[3] = percent / 100.0f;
}

void C3DCurve::SetControlForecolor(int32_t color, float opacity)
{
    m_controlForecolor = CurveDrawColor(color, opacity);
}

void C3DCurve::SetSegmentColor(int32_t color, float opacity)
{
    m_segmentColor = CurveDrawColor(color, opacity);
}

void C3DCurve::SetSelectedControlForecolor(int32_t color)
{
    m_selectedControlForecolor = CurveDrawColor(color);
}

void C3DCurve::SetSelectedControlBackcolor(int32_t color)
{
    m_selectedControlBackcolor = CurveDrawColor(color);
}

void C3DCurve::SetControlTangentColor(int32_t color)
{
    m_controlTangentColor = CurveDrawColor(color);
}

void C3DCurve::SetControlChangedTangentColor1(int32_t color)
{
    m_controlChangedTangentColor1 = CurveDrawColor(color);
}

void C3DCurve::SetControlChangedTangentColor2(int32_t color)
{
    m_controlChangedTangentColor2 = CurveDrawColor(color);
}

// ---- Entry points ------------------------------------------------------------

void C3DCurve::DrawCurve(GLDraw::IView& view)
{
    DrawCurveAndControls(view, false);
}

void C3DCurve::DrawCurveLines(GLDraw::IView& view)
{
    DrawCurveAndControls(view, true);
}

void C3DCurve::DrawControls()
{
    if (m_drawing.on || !GLDraw::Current().HasContext())
        return;
    DrawingScope running(m_drawing.on);
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (r.Hide != 0)
            continue;
        DrawControlPoint(i);
        if (!r.IsSelected)
            DrawPointRGB(PositionOf(r), 2.0f, 0.0f, 0.0f, 0.0f);
    }
}

// ---- The whole drawing -------------------------------------------------------

void C3DCurve::DrawCurveAndControls(GLDraw::IView& view, bool linesOnly)
{
    // Drawing into no context, into another view's, or from inside this
    // curve's own drawing would put the curve where it does not belong.
    if (m_drawing.on || !view.IsCurrent() || !view.View())
        return;
    GLDraw::ITarget& gl = GLDraw::Current();
    if (!gl.HasContext())
        return;
    if (!m_isVisible || m_controlsCount < 1 || m_stepRate < 1)
        return;
    DrawingScope running(m_drawing.on);
    const int32_t n = m_controlsCount;

    if (linesOnly) {
        mQuickRefreshing = true;
        m_reloadCurveWhenDrawing = true;
    }

    if (n >= 2) {
        PrepareDrawSamples();
        const std::array<float, 4>& c = m_segmentColor.gl;
        gl.Color4f(c[0], c[1], c[2], c[3]);
        const size_t count = std::min(m_drawPositions.size(), m_drawSegments.size());
        // A sample belongs to the control that starts its segment; a
        // number outside the controls counts as hidden.
        auto shown = [this, n](int32_t segment) {
            return segment >= 1 && segment <= n && mControls[static_cast<size_t>(segment)].Hide == 0;
        };
        if (linesOnly) {
            gl.LineWidth(1.0f);
            gl.Begin(GLDraw::LINE_STRIP);
            for (size_t k = 0; k < count; ++k)
                if (shown(m_drawSegments[k]))
                    gl.Vertex3d(m_drawPositions[k][0], m_drawPositions[k][1], m_drawPositions[k][2]);
            gl.End();
        } else {
            gl.PointSize(2.0f);
            for (size_t k = 0; k < count; ++k) {
                if (!shown(m_drawSegments[k]))
                    continue;
                gl.Begin(GLDraw::POINTS);
                gl.Vertex3d(m_drawPositions[k][0], m_drawPositions[k][1], m_drawPositions[k][2]);
                gl.End();
            }
        }
    }

    if (mControls[1].Hide == 0)
        DrawPointRGB(PositionOf(mControls[1]), 6.0f, 1.0f, 0.0f, 0.0f);
    gl.LineWidth(1.0f);

    for (int32_t i = 1; i <= n; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (r.Hide != 0)
            continue;
        DrawControlPoint(i);
        if (m_showTangent && i < n)
            DrawControlTangents(view, i);
        if (m_showArrow)
            DrawControlArrow(view, i);
        if (m_showTimes)
            DrawControlTime(view, i);
        // (0, 0, 0) means no target: a point there would mark the map's
        // origin as something the camera looks at.
        if (IsTargetDefined(i)) {
            gl.Color4f(1.0f, 0.0f, 1.0f, 1.0f);
            gl.PointSize(4.0f);
            gl.Begin(GLDraw::POINTS);
            gl.Vertex3d(r.TargetX, r.TargetY, r.TargetZ);
            gl.End();
        }
    }
}

void C3DCurve::PrepareDrawSamples()
{
    if (!m_reloadCurveWhenDrawing && !IsDrawSampleCacheEmpty())
        return;
    std::vector<int32_t> steps;
    try {
        SampleCurveChannels(steps, m_drawPositions, nullptr, nullptr, nullptr, nullptr, m_drawSegments,
                            mQuickRefreshing, true, false);
    } catch (const RuvError&) {
        // A flight too long to sample has no path to show; the controls
        // are still drawn, and the next drawing tries again.
        ClearDrawSamples();
    }
}

// ---- Pieces ------------------------------------------------------------------

void C3DCurve::DrawControlPoint(int32_t index)
{
    const ControlRecord& r = mControls[static_cast<size_t>(index)];
    const Vec3 p = PositionOf(r);
    if (r.IsSelected) {
        DrawPointColor(p, 8.0f, m_selectedControlBackcolor.gl);
        DrawPointColor(p, 5.0f, m_selectedControlForecolor.gl);
    } else {
        DrawPointColor(p, m_controlDrawSize, m_controlForecolor.gl);
    }
}

void C3DCurve::DrawControlTangents(GLDraw::IView& view, int32_t index)
{
    if (index < 1 || index >= m_controlsCount)
        return;
    const int32_t viewFlag = view.View() ? view.View()->ViewFlag() : 0;
    auto colorOf = [&](int32_t mask) -> const CurveDrawColor& {
        if (mask == 0)
            return m_controlTangentColor;
        if ((mask & viewFlag) != 0)
            return m_controlChangedTangentColor1;
        return m_controlChangedTangentColor2;
    };
    GLDraw::ITarget& gl = GLDraw::Current();
    const ControlRecord& a = mControls[static_cast<size_t>(index)];
    const ControlRecord& b = mControls[static_cast<size_t>(index + 1)];
    gl.PointSize(3.0f);

    const CurveDrawColor& c1 = colorOf(a.Tan1C);
    gl.Color3f(c1.gl[0], c1.gl[1], c1.gl[2]);
    GLDraw::Vector(a.X, a.Y, a.Z, a.Tan1X, a.Tan1Y, a.Tan1Z);
    GLDraw::Point(a.X + a.Tan1X, a.Y + a.Tan1Y, a.Z + a.Tan1Z);

    const CurveDrawColor& c2 = colorOf(a.Tan2C);
    gl.Color3f(c2.gl[0], c2.gl[1], c2.gl[2]);
    GLDraw::Vector(b.X, b.Y, b.Z, -a.Tan2X, -a.Tan2Y, -a.Tan2Z);
    GLDraw::Point(b.X - a.Tan2X, b.Y - a.Tan2Y, b.Z - a.Tan2Z);
}

void C3DCurve::DrawControlArrow(GLDraw::IView& view, int32_t index)
{
    if (index < 1 || index > m_controlsCount || !view.View())
        return;
    // 13, 7 and 4 pixels in a 2D view; twice as many world units in the
    // 3D view.
    const double s = view.View()->ViewFlag() == CView::View3D ? 2.0 : PixelsToWorld(view, 1.0);
    if (s == 0.0)
        return;
    const ControlRecord& r = mControls[static_cast<size_t>(index)];
    const double y = MMath::DegToRad(-(static_cast<double>(MMath::FMod(r.Yaw, 360.0f)) + 90.0));
    // The thousandth of a degree keeps cos(p) from being 0.
    const double p = MMath::DegToRad(-static_cast<double>(MMath::FMod(r.Pitch, 360.0f)) + 0.001);

    const double length = std::cos(p) * 13.0 * s;
    const double v[3] = {length * std::sin(y), length * std::cos(y), std::tan(p) * length};
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color3f(1.0f, 0.0f, 1.0f);
    const float back[3] = {static_cast<float>(-v[0]), static_cast<float>(-v[1]), static_cast<float>(-v[2])};
    GLDraw::Vector(r.X, r.Y, r.Z, back[0], back[1], back[2]);
    // The barbs start where the shaft ends.
    const float qx = r.X + back[0];
    const float qy = r.Y + back[1];
    const float qz = r.Z + back[2];

    const double h0 = std::cos(p) * 7.0 * s;
    if (!(std::abs(h0) > 0.0))
        return;
    const double t = std::atan(4.0 * s / h0);
    const double h = h0 / std::cos(t);
    const double rise = std::sin(p) * 7.0 * s;
    GLDraw::Vector(qx, qy, qz, static_cast<float>(h * std::sin(y - t)), static_cast<float>(h * std::cos(y - t)),
                   static_cast<float>(rise));
    GLDraw::Vector(qx, qy, qz, static_cast<float>(h * std::sin(y + t)), static_cast<float>(h * std::cos(y + t)),
                   static_cast<float>(rise));
}

void C3DCurve::DrawControlTime(GLDraw::IView& view, int32_t index)
{
    if (m_controlsCount < 2 || mTimesDisabled || index < 1 || index > m_controlsCount || !view.View())
        return;
    const double offset = view.View()->ViewFlag() == CView::View3D ? 20.0 : PixelsToWorld(view, 5.0);
    if (offset == 0.0)
        return;
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color3f(0.0f, 0.0f, 0.0f);
    const ControlRecord& r = mControls[static_cast<size_t>(index)];
    float x = 0, y = 0, z = 0;
    try {
        x = MCommon::CheckedToSingle(static_cast<double>(r.X) + offset);
        y = MCommon::CheckedToSingle(static_cast<double>(r.Y) + offset);
        z = MCommon::CheckedToSingle(static_cast<double>(r.Z) + offset);
    } catch (const RuvError&) {
        mTimesDisabled = true;
        return;
    }
    gl.RasterPos3f(x, y, z);
    view.GLPrint(TimeLabel(r.Time));
}

void C3DCurve::DrawPointRGB(const std::array<float, 3>& position, float size, float red, float green,
                            float blue)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color4f(red, green, blue, 1.0f);
    gl.PointSize(size);
    GLDraw::Point(position[0], position[1], position[2]);
}

void C3DCurve::DrawPointColor(const std::array<float, 3>& position, float size,
                              const std::array<float, 4>& color)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Color4f(color[0], color[1], color[2], color[3]);
    gl.PointSize(size);
    GLDraw::Point(position[0], position[1], position[2]);
}
