#include "ViewZoom.h"

#include "C3DCurveController.h"
#include "HandlerGuard.h"
#include "MCommon.h"
#include "MDisplayNumber.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "UC3DCurveManager.h"
#include "UCOpenGLView.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {

// The table's divisor: the world square's side over 500.
constexpr double TableDivisor = 100000.0 / 500.0;
// Framing keeps this many pixels free across the limiting direction.
constexpr double FitMarginPixels = 20.0;

int32_t RoundClamped(double value, int32_t lo, int32_t hi)
{
    if (std::isnan(value))
        return lo;
    return static_cast<int32_t>(MCommon::RoundHalfEven(std::clamp(value, static_cast<double>(lo), static_cast<double>(hi))));
}

}  // namespace

// ---- ZoomTable -------------------------------------------------------------------

void ZoomTable::Build(int32_t lo, int32_t hi, double e)
{
    m_lo = lo;
    m_hi = std::max(lo, hi);
    m_scales.assign(static_cast<size_t>(m_hi - m_lo + 1), 0.0);
    const double span = static_cast<double>(m_hi - m_lo);
    const double d = span > 0 ? (std::pow(span + 1.0, 1.0 / e) - 1.0) / span : 0.0;
    for (int32_t i = m_lo; i <= m_hi; ++i)
        m_scales[static_cast<size_t>(i - m_lo)] =
            (std::pow(static_cast<double>(i - m_lo) * d + 1.0, e) + static_cast<double>(m_lo - 1)) / TableDivisor;
}

double ZoomTable::Scale(int32_t index) const
{
    return m_scales[static_cast<size_t>(std::clamp(index, m_lo, m_hi) - m_lo)];
}

int32_t ZoomTable::ToIndex(double scale) const
{
    // The entries grow strictly: the first greater one, less one.
    const auto greater = std::upper_bound(m_scales.begin(), m_scales.end(), scale);
    if (greater == m_scales.end() || std::isnan(scale))
        return m_hi;
    return std::max(m_lo, static_cast<int32_t>(greater - m_scales.begin()) - 1 + m_lo);
}

// ---- ViewZoom ----------------------------------------------------------------------

ViewZoom::ViewZoom(MainContext& context) : m_c(context)
{
    QObject::connect(m_c.widgets.oglView, &UCOpenGLView::MouseWheel, &m_receiver,
                     [this](int32_t& notches, int32_t& x, int32_t& y, int32_t& keys) {
                         RunGuarded(m_c.status, [&] { oglView_MouseWheel(notches, x, y, keys); });
                     });
}

CView* ViewZoom::ActiveView() const
{
    return m_c.state.m_view;
}

void ViewZoom::fInitZoomBag()
{
    m_zoomBag.Initialize(MinIndex, MaxIndex, 0);
    m_zoomScales.Build(m_zoomBag.Min(), m_zoomBag.Max(), 100.0);
    m_defaultScaleIndex = fScaleToIndex(0.05);
    m_zoomBag.SetValue(m_defaultScaleIndex);
    m_zoomWheelStep = WheelStep;
    m_zoomDragFactor = DragFactor;
    // Until the language gives it anew.
    if (m_scaleUnit.isEmpty())
        m_scaleUnit = m_c.texts.fGetText(96);
}

int32_t ViewZoom::ScaleNormalize(int32_t value) const
{
    m_zoomBag.NormalizeValue(value);
    return value;
}

int32_t ViewZoom::fScaleToIndex(double scale) const
{
    return m_zoomScales.ToIndex(scale);
}

void ViewZoom::fTakeViewScale()
{
    CView* view = ActiveView();
    if (!view)
        return;
    m_zoomBag.SetValue(view->ScaleIndex());
    m_c.view.SetGLViewScale(m_zoomScales.Scale(m_zoomBag.value()));
}

void ViewZoom::fApplyViewScale()
{
    CView* view = ActiveView();
    if (!view)
        return;
    // The zoom follows the view's index, however it was set.
    fTakeViewScale();
    fRefreshScaleLabel();
    m_c.parts.viewInput->fSetViewOrigin(view->CurrentOrigin(1), view->CurrentOrigin(2));
    m_c.parts.sceneDrawing->fUpdateViewProjection();
}

void ViewZoom::oglView_MouseWheel(int32_t& notches, int32_t&, int32_t&, int32_t& keys)
{
    if (m_c.parts.viewInput->fIsActiveView3D())
        m_c.parts.cameraNavigation->fWheel3D(notches, keys);
    else
        fZoomWheel2D(notches, keys);
}

int32_t ViewZoom::WheelIndex(const C3DMinMaxBagLong& bag, int32_t notches, int32_t keys, float wheelStep)
{
    double step = wheelStep;
    if (keys & 4)
        step /= 6.0;
    else if (keys & 8)
        step /= 2.0;
    return RoundClamped(step * notches + bag.value(), bag.Min(), bag.Max());
}

void ViewZoom::fStoreIndex(int32_t index)
{
    m_zoomBag.SetValue(index);
    if (CView* view = ActiveView())
        view->SetScaleIndex(m_zoomBag.value());
    fApplyViewScale();
}

void ViewZoom::fZoomWheel2D(int32_t notches, int32_t keys)
{
    fStoreIndex(WheelIndex(m_zoomBag, notches, keys, m_zoomWheelStep));
}

void ViewZoom::fStartZoomDrag()
{
    if (m_c.state.m_cameraDragActive)
        return;
    m_c.state.m_drags.m_zoomDragActive = true;
    m_c.state.m_cameraDragActive = true;
    m_lastDragY = m_c.state.m_drags.m_mouseDownY;
    if (m_c.state.m_mainCurve)
        m_c.state.m_mainCurve->QuickRefreshStart(false);
}

void ViewZoom::fZoomDragStep(float, float y)
{
    m_zoomDragDelta = y - static_cast<float>(m_lastDragY);
    const double target = m_zoomBag.value() - static_cast<double>(m_zoomDragFactor) * m_zoomDragDelta;
    m_lastDragY = RoundClamped(y, INT32_MIN, INT32_MAX);
    fStoreIndex(RoundClamped(target, m_zoomBag.Min(), m_zoomBag.Max()));
}

void ViewZoom::fStopZoomDrag()
{
    m_c.state.m_drags.m_zoomDragActive = false;
    m_c.state.m_cameraDragActive = false;
    if (m_c.state.m_mainCurve)
        m_c.state.m_mainCurve->QuickRefreshStop();
}

std::optional<ViewBox> ViewZoom::fCurveBounds(const CView& view, bool selectedOnly) const
{
    const C3DCurveController* controller = m_c.state.m_curveController.get();
    if (!controller || !controller->HasControl())
        return std::nullopt;
    if (selectedOnly && controller->CurvesSelectedControlCount() == 0)
        selectedOnly = false;
    // Starts empty: the first point replaces both corners.
    ViewBox box;
    box.min = {50000.0f, 50000.0f};
    box.max = {-50000.0f, -50000.0f};
    for (int32_t i = 0; i < controller->CurveCount(); ++i) {
        const C3DCurve& curve = controller->Curves(i);
        if (curve.IsVisible() && curve.ControlsCount() >= 1)
            curve.GetViewMinMaxBounds(view, box.min, box.max, selectedOnly, false);
    }
    if (box.min[0] > box.max[0] || box.min[1] > box.max[1])
        return std::nullopt;
    return box;
}

std::optional<ViewBox> ViewZoom::fMapBounds(const CView& view) const
{
    if (!m_c.parts.mapBinding->fIsMapLoaded() || !m_c.state.m_map)
        return std::nullopt;
    IMapObject::Bounds bounds{};
    bool known = false;
    try {
        known = m_c.state.m_map->GetBounds(bounds);
    } catch (...) {
        known = false;
    }
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    if (!known || h < 0 || h > 2 || v < 0 || v > 2)
        return std::nullopt;
    ViewBox box;
    box.min = {bounds[static_cast<size_t>(h)][0], bounds[static_cast<size_t>(v)][0]};
    box.max = {bounds[static_cast<size_t>(h)][1], bounds[static_cast<size_t>(v)][1]};
    // A map without leaves has no box (its minimum stays above its maximum).
    for (size_t a = 0; a < 2; ++a)
        if (!std::isfinite(box.min[a]) || !std::isfinite(box.max[a]) || box.min[a] > box.max[a])
            return std::nullopt;
    return box;
}

std::optional<ViewZoom::Fit> ViewZoom::FitBoxes(const ZoomTable& table, int32_t defaultIndex,
                                                const std::optional<ViewBox>& curves,
                                                const std::optional<ViewBox>& map, int32_t pixelsWide,
                                                int32_t pixelsHigh)
{
    if (pixelsWide <= 0 || pixelsHigh <= 0)
        return std::nullopt;
    if (!curves && !map)
        return Fit{defaultIndex, 0.0f, 0.0f};
    ViewBox box = curves ? *curves : *map;
    if (curves && map) {
        for (size_t a = 0; a < 2; ++a) {
            box.min[a] = std::min(box.min[a], map->min[a]);
            box.max[a] = std::max(box.max[a], map->max[a]);
        }
    }
    double width = static_cast<double>(box.max[0]) - box.min[0];
    double height = static_cast<double>(box.max[1]) - box.min[1];
    if (width == 0.0)
        width = 1.0;
    if (height == 0.0)
        height = 1.0;
    const double sx = pixelsWide / width;
    const double sy = pixelsHigh / height;
    const bool widthLimits = sx <= sy;
    // First the scale that just holds the box, then one that leaves the
    // margin at that scale free too.
    const double first = table.Scale(table.ToIndex(widthLimits ? sx : sy));
    const double margin = FitMarginPixels / first;
    const double visible = (widthLimits ? pixelsWide : pixelsHigh) / first;
    Fit fit;
    fit.index = table.ToIndex((widthLimits ? pixelsWide : pixelsHigh) / (visible + margin));
    fit.origin1 = static_cast<float>(box.min[0] + width / 2.0);
    fit.origin2 = static_cast<float>(box.min[1] + height / 2.0);
    return fit;
}

void ViewZoom::fFitView(CView& view, bool selectedOnly)
{
    const std::optional<Fit> fit =
        FitBoxes(m_zoomScales, m_defaultScaleIndex, fCurveBounds(view, selectedOnly), fMapBounds(view),
                 m_c.view.GLViewRealWidth(), m_c.view.GLViewRealHeight());
    if (!fit)
        return;
    int32_t index = fit->index;
    m_zoomBag.NormalizeValue(index);
    view.SetScaleIndex(index);
    view.SetCurrentOrigin(1, fit->origin1);
    view.SetCurrentOrigin(2, fit->origin2);
    if (&view == ActiveView())
        m_zoomBag.SetValue(index);
}

void ViewZoom::fZoomToFit(bool selectedOnly)
{
    CView* view = ActiveView();
    if (!view)
        return;
    fFitView(*view, selectedOnly);
    // The view shows the framed scale at once, not the first guess.
    if (!view->Is3D())
        fApplyViewScale();
}

bool ViewZoom::fGridSelectionCenter(int32_t firstRow, int32_t lastRow, std::array<float, 2>& centre)
{
    const C3DCurve* curve = m_c.widgets.cmCurveManager ? m_c.widgets.cmCurveManager->SelectedCurve() : nullptr;
    const CView* view = ActiveView();
    if (!curve || !view || curve->ControlsCount() < 1)
        return false;
    // Rows the grid no longer holds are not read.
    const int32_t count = curve->ControlsCount();
    const int32_t first = std::clamp(std::min(firstRow, lastRow), 1, count);
    const int32_t last = std::clamp(std::max(firstRow, lastRow), 1, count);
    centre = curve->GetControlsViewCenter(*view, first, last);
    return true;
}

QString ViewZoom::ScaleLabelText(const QString& unit, double visibleWidth)
{
    return unit + MDisplayNumber::Format(visibleWidth, 2).rightJustified(9, QLatin1Char(' '));
}

void ViewZoom::fRefreshScaleLabel()
{
    if (m_c.parts.viewInput->fIsActiveView3D())
        return;
    m_c.widgets.lblScaleLabel->setText(ScaleLabelText(m_scaleUnit, m_c.view.GLViewWidth()));
}

void ViewZoom::fClearScaleLabel()
{
    m_c.widgets.lblScaleLabel->clear();
}
