// Framing a curve in a view: bounds and centres on the view's two axes.
#include "C3DCurve.h"

#include "CView.h"

namespace {

float Coord(const ControlRecord& r, int32_t axis)
{
    return axis == 0 ? r.X : axis == 1 ? r.Y : r.Z;
}

float TanCoord(const ControlRecord& r, uint8_t k, int32_t axis)
{
    if (k == 1)
        return axis == 0 ? r.Tan1X : axis == 1 ? r.Tan1Y : r.Tan1Z;
    return axis == 0 ? r.Tan2X : axis == 1 ? r.Tan2Y : r.Tan2Z;
}

void Widen(std::array<float, 2>& minimum, std::array<float, 2>& maximum, float h, float v)
{
    if (h < minimum[0])
        minimum[0] = h;
    if (h > maximum[0])
        maximum[0] = h;
    if (v < minimum[1])
        minimum[1] = v;
    if (v > maximum[1])
        maximum[1] = v;
}

// The centre of the box, on the view's two axes, around the controls first
// to last that `pick` gives (null for one it leaves out); (0, 0) for none.
template <class Pick>
std::array<float, 2> CenterOnAxes(const CView& view, int32_t h, int32_t v, int32_t first, int32_t last, Pick pick)
{
    const float half = view.MAXSIZE() / 2.0f;
    std::array<float, 2> minimum{half, half};
    std::array<float, 2> maximum{-half, -half};
    bool any = false;
    for (int32_t i = first; i <= last; ++i) {
        if (const ControlRecord* r = pick(i)) {
            Widen(minimum, maximum, Coord(*r, h), Coord(*r, v));
            any = true;
        }
    }
    if (!any)
        return {0.0f, 0.0f};
    return {(minimum[0] + maximum[0]) / 2.0f, (minimum[1] + maximum[1]) / 2.0f};
}

}  // namespace

void C3DCurve::GetViewMinMaxBounds(const CView& view, std::array<float, 2>& minimum,
                                   std::array<float, 2>& maximum, bool selectedOnly,
                                   bool withTangents) const
{
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    CheckAxis(h, "C3DCurve.GetViewMinMaxBounds");
    CheckAxis(v, "C3DCurve.GetViewMinMaxBounds");
    if (selectedOnly && SelectedCount() == 0)
        selectedOnly = false;
    const int32_t n = m_controlsCount;
    auto counts = [selectedOnly](const ControlRecord& r) {
        return r.Hide == 0 && (!selectedOnly || r.IsSelected);
    };
    for (int32_t i = 1; i <= n; ++i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (counts(r)) {
            Widen(minimum, maximum, Coord(r, h), Coord(r, v));
            if (withTangents && i < n)
                Widen(minimum, maximum, Coord(r, h) + TanCoord(r, 1, h), Coord(r, v) + TanCoord(r, 1, v));
        }
        if (withTangents && i < n) {
            const ControlRecord& next = mControls[static_cast<size_t>(i + 1)];
            if (counts(next))
                Widen(minimum, maximum, Coord(next, h) - TanCoord(r, 2, h),
                      Coord(next, v) - TanCoord(r, 2, v));
        }
    }
}

std::array<float, 2> C3DCurve::GetControlsViewCenter(const CView& view, int32_t first, int32_t last) const
{
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    CheckAxis(h, "C3DCurve.GetControlsViewCenter");
    CheckAxis(v, "C3DCurve.GetControlsViewCenter");
    return CenterOnAxes(view, h, v, first, last, [this](int32_t i) {
        const ControlRecord& r = Record(i, "C3DCurve.GetControlsViewCenter");
        return r.Hide != 0 ? nullptr : &r;
    });
}

std::array<float, 2> C3DCurve::GetSelectedControlsViewCenter(const CView& view) const
{
    const int32_t h = view.HAxis();
    const int32_t v = view.VAxis();
    CheckAxis(h, "C3DCurve.GetSelectedControlsViewCenter");
    CheckAxis(v, "C3DCurve.GetSelectedControlsViewCenter");
    return CenterOnAxes(view, h, v, 1, m_controlsCount, [this](int32_t i) {
        const ControlRecord& r = mControls[static_cast<size_t>(i)];
        return !r.IsSelected || r.Hide != 0 ? nullptr : &r;
    });
}
