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
#include <utility>

namespace {

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
    // Seldom drawn: the batches are made for the call.
    std::array<DrawBatch, 4> batches;
    DrawBatch& unselected = batches[0];
    DrawBatch& centres = batches[1];
    DrawBatch& back = batches[2];
    DrawBatch& fore = batches[3];
    unselected.Reset(GLDraw::POINTS, m_controlDrawSize, m_controlForecolor.gl);
    centres.Reset(GLDraw::POINTS, 2.0f, {0.0f, 0.0f, 0.0f, 1.0f});
    back.Reset(GLDraw::POINTS, 8.0f, m_selectedControlBackcolor.gl);
    fore.Reset(GLDraw::POINTS, 5.0f, m_selectedControlForecolor.gl);
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        const ControlRecord& r = std::as_const(mControls)[static_cast<size_t>(i)];
        if (r.Hide != 0)
            continue;
        if (r.IsSelected) {
            back.Add(r.X, r.Y, r.Z);
            fore.Add(r.X, r.Y, r.Z);
        } else {
            unselected.Add(r.X, r.Y, r.Z);
            centres.Add(r.X, r.Y, r.Z);
        }
    }
    GLDraw::ITarget& gl = GLDraw::Current();
    for (const DrawBatch& batch : batches)
        batch.Draw(gl);
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

    // The arrays stay as they are while nothing they show has changed;
    // sampling afresh is then not needed either, as it would give the same
    // samples.
    CurveDrawKey key = DrawKey(view, linesOnly);
    const ControlRecord* records = &std::as_const(mControls)[1];
    if (!m_drawArrays.IsBuiltFor(key, records)) {
        if (n >= 2)
            PrepareDrawSamples();
        key.samples = m_drawArrays.Samples();
        BuildDrawArrays(key);
    }
    m_drawArrays.Draw(gl);

    if (m_showTimes) {
        for (int32_t i = 1; i <= n; ++i)
            if (mControls[static_cast<size_t>(i)].Hide == 0)
                DrawControlTime(view, i);
    }
}

void C3DCurve::PrepareDrawSamples()
{
    if (!m_reloadCurveWhenDrawing && !IsDrawSampleCacheEmpty())
        return;
    m_drawArrays.SamplesChanged();
    std::vector<int32_t> steps;
    try {
        SampleCurveChannels(steps, m_drawPositions, nullptr, nullptr, nullptr, nullptr, m_drawSegments,
                            mQuickRefreshing, true, false);
    } catch (const RuvError&) {
        // A flight too long to sample has no path to show; the controls
        // are still drawn.
        ClearDrawSamples();
    }
}

CurveDrawKey C3DCurve::DrawKey(const GLDraw::IView& view, bool linesOnly) const
{
    CurveDrawKey key;
    key.linesOnly = linesOnly;
    key.quickRefreshing = mQuickRefreshing;
    key.reload = m_reloadCurveWhenDrawing;
    key.showTangent = m_showTangent;
    key.showArrow = m_showArrow;
    key.controls = m_controlsCount;
    key.stepRate = m_stepRate;
    key.viewFlag = view.View()->ViewFlag();
    // 13, 7 and 4 pixels in a 2D view; twice as many world units in the
    // 3D view. Without arrows the zoom changes nothing.
    if (m_showArrow)
        key.arrowScale = key.viewFlag == CView::View3D ? 2.0 : PixelsToWorld(view, 1.0);
    key.controlSize = m_controlDrawSize;
    key.colors = {m_controlForecolor.gl,           m_segmentColor.gl,
                  m_selectedControlForecolor.gl,   m_selectedControlBackcolor.gl,
                  m_controlTangentColor.gl,        m_controlChangedTangentColor1.gl,
                  m_controlChangedTangentColor2.gl};
    key.samples = m_drawArrays.Samples();
    return key;
}

// ---- Building the arrays -------------------------------------------------------
//
// The layers keep the order in which the pieces meet at a control: the
// handle arriving at a control and a look-at target placed on it lie under
// the control's point, the handle and the arrow leaving it lie over it.

void C3DCurve::BuildDrawArrays(const CurveDrawKey& key)
{
    using L = CurveDrawArrays;
    CurveDrawArrays& a = m_drawArrays;
    a.Drop();
    const auto& controls = std::as_const(mControls);
    const int32_t n = m_controlsCount;
    const DrawColor magenta{1.0f, 0.0f, 1.0f, 1.0f};

    DrawBatch& path = a[L::Path];
    if (key.linesOnly)
        path.Reset(GLDraw::LINE_STRIP, 0.0f, m_segmentColor.gl);
    else
        path.Reset(GLDraw::POINTS, 2.0f, m_segmentColor.gl);
    if (n >= 2) {
        const size_t count = std::min(m_drawPositions.size(), m_drawSegments.size());
        for (size_t k = 0; k < count; ++k) {
            // A sample belongs to the control that starts its segment; a
            // number outside the controls counts as hidden. Samples of
            // hidden controls are left out; a strip joins their neighbours.
            const int32_t segment = m_drawSegments[k];
            if (segment < 1 || segment > n || controls[static_cast<size_t>(segment)].Hide != 0)
                continue;
            const std::array<double, 3>& p = m_drawPositions[k];
            path.Add(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
        }
    }

    a[L::FirstMarker].Reset(GLDraw::POINTS, 6.0f, {1.0f, 0.0f, 0.0f, 1.0f});
    if (controls[1].Hide == 0)
        a[L::FirstMarker].Add(controls[1].X, controls[1].Y, controls[1].Z);

    a[L::ArrivingTangents].ResetPerVertex(GLDraw::LINES, 0.0f);
    a[L::ArrivingHandles].ResetPerVertex(GLDraw::POINTS, 3.0f);
    a[L::Targets].Reset(GLDraw::POINTS, 4.0f, magenta);
    a[L::Controls].Reset(GLDraw::POINTS, m_controlDrawSize, m_controlForecolor.gl);
    a[L::SelectedBack].Reset(GLDraw::POINTS, 8.0f, m_selectedControlBackcolor.gl);
    a[L::SelectedFore].Reset(GLDraw::POINTS, 5.0f, m_selectedControlForecolor.gl);
    a[L::LeavingTangents].ResetPerVertex(GLDraw::LINES, 0.0f);
    a[L::LeavingHandles].ResetPerVertex(GLDraw::POINTS, 3.0f);
    a[L::Arrows].Reset(GLDraw::LINES, 0.0f, magenta);

    for (int32_t i = 1; i <= n; ++i) {
        const ControlRecord& r = controls[static_cast<size_t>(i)];
        if (r.Hide != 0)
            continue;
        if (r.IsSelected) {
            a[L::SelectedBack].Add(r.X, r.Y, r.Z);
            a[L::SelectedFore].Add(r.X, r.Y, r.Z);
        } else {
            a[L::Controls].Add(r.X, r.Y, r.Z);
        }
        if (m_showTangent && i < n)
            AddControlTangents(key.viewFlag, i);
        if (key.arrowScale != 0.0)
            AddControlArrow(key.arrowScale, i);
        // (0, 0, 0) means no target: a point there would mark the map's
        // origin as something the camera looks at.
        if (IsTargetDefined(i))
            a[L::Targets].Add(static_cast<float>(r.TargetX), static_cast<float>(r.TargetY),
                              static_cast<float>(r.TargetZ));
    }
    a.BuiltFrom(key, &controls[1]);
}

void C3DCurve::AddControlTangents(int32_t viewFlag, int32_t index)
{
    using L = CurveDrawArrays;
    auto colorOf = [&](int32_t mask) -> DrawColor {
        const CurveDrawColor& c = mask == 0                 ? m_controlTangentColor
                                  : (mask & viewFlag) != 0 ? m_controlChangedTangentColor1
                                                           : m_controlChangedTangentColor2;
        return {c.gl[0], c.gl[1], c.gl[2], 1.0f};
    };
    const auto& controls = std::as_const(mControls);
    const ControlRecord& a = controls[static_cast<size_t>(index)];
    const ControlRecord& b = controls[static_cast<size_t>(index + 1)];
    CurveDrawArrays& arrays = m_drawArrays;

    // The sums in 32-bit floats, as a vector from a point is drawn.
    const DrawColor c1 = colorOf(a.Tan1C);
    arrays[L::LeavingTangents].Add(a.X, a.Y, a.Z, c1);
    arrays[L::LeavingTangents].Add(a.X + a.Tan1X, a.Y + a.Tan1Y, a.Z + a.Tan1Z, c1);
    arrays[L::LeavingHandles].Add(a.X + a.Tan1X, a.Y + a.Tan1Y, a.Z + a.Tan1Z, c1);

    const DrawColor c2 = colorOf(a.Tan2C);
    arrays[L::ArrivingTangents].Add(b.X, b.Y, b.Z, c2);
    arrays[L::ArrivingTangents].Add(b.X + -a.Tan2X, b.Y + -a.Tan2Y, b.Z + -a.Tan2Z, c2);
    arrays[L::ArrivingHandles].Add(b.X - a.Tan2X, b.Y - a.Tan2Y, b.Z - a.Tan2Z, c2);
}

void C3DCurve::AddControlArrow(double s, int32_t index)
{
    const ControlRecord& r = std::as_const(mControls)[static_cast<size_t>(index)];
    const double y = MMath::DegToRad(-(static_cast<double>(MMath::FMod(r.Yaw, 360.0f)) + 90.0));
    // The thousandth of a degree keeps cos(p) from being 0.
    const double p = MMath::DegToRad(-static_cast<double>(MMath::FMod(r.Pitch, 360.0f)) + 0.001);

    const double length = std::cos(p) * 13.0 * s;
    const double v[3] = {length * std::sin(y), length * std::cos(y), std::tan(p) * length};
    DrawBatch& arrows = m_drawArrays[CurveDrawArrays::Arrows];
    // The barbs start where the shaft ends.
    const float qx = r.X + static_cast<float>(-v[0]);
    const float qy = r.Y + static_cast<float>(-v[1]);
    const float qz = r.Z + static_cast<float>(-v[2]);
    arrows.Add(r.X, r.Y, r.Z);
    arrows.Add(qx, qy, qz);

    const double h0 = std::cos(p) * 7.0 * s;
    if (!(std::abs(h0) > 0.0))
        return;
    const double t = std::atan(4.0 * s / h0);
    const double h = h0 / std::cos(t);
    const auto rise = static_cast<float>(std::sin(p) * 7.0 * s);
    for (const double side : {y - t, y + t}) {
        arrows.Add(qx, qy, qz);
        arrows.Add(qx + static_cast<float>(h * std::sin(side)), qy + static_cast<float>(h * std::cos(side)),
                   qz + rise);
    }
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
