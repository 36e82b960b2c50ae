#pragma once

#include "C3DMinMaxBagLong.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CView;
struct MainContext;

// The scales of the 2D views' zoom steps: entry i is the scale (pixels per
// world unit) of zoom index i, growing faster towards the large end.
class ZoomTable
{
public:
    // Entries lo..hi: ((i - lo) d + 1)^e + lo - 1, divided by 200, with d
    // chosen so that entry hi is (hi - lo + 1 + lo - 1) / 200.
    void Build(int32_t lo, int32_t hi, double e);
    int32_t Lo() const { return m_lo; }
    int32_t Hi() const { return m_hi; }
    // The scale of an index, the index brought within lo..hi first.
    double Scale(int32_t index) const;
    // The index whose entry equals the scale, else the one just below the
    // first greater entry (not below lo); hi when none is greater.
    int32_t ToIndex(double scale) const;

private:
    int32_t m_lo = 1;
    int32_t m_hi = 1;
    std::vector<double> m_scales{1.0};  // m_scales[i - lo]
};

// A box on a view's two axes (horizontal 0, vertical 1).
struct ViewBox
{
    std::array<float, 2> min{};
    std::array<float, 2> max{};
};

// The zoom steps of the 2D views: the table of scales and the bounded zoom
// index, the wheel, the zoom tool's drag, zoom to fit and the scale label.
class IViewZoom
{
public:
    virtual ~IViewZoom() = default;
    // While the window is created: the zoom index and its table.
    virtual void fInitZoomBag() = 0;
    // The zoom index of new views.
    virtual int32_t DefaultScaleIndex() const = 0;
    // The scale (pixels per world unit) of a zoom index.
    virtual double ScaleOfIndex(int32_t index) const = 0;
    // The index brought within the zoom's bounds.
    virtual int32_t ScaleNormalize(int32_t value) const = 0;
    virtual int32_t fScaleToIndex(double scale) const = 0;
    // A 2D view became active: the zoom takes its index and the view
    // control its scale.
    virtual void fTakeViewScale() = 0;
    // The active view's index as the view control's scale, the label, the
    // origin within its limits, the projection and a redraw.
    virtual void fApplyViewScale() = 0;
    virtual void oglView_MouseWheel(int32_t& notches, int32_t& x, int32_t& y, int32_t& keys) = 0;
    // Keys 4 Shift, 8 Ctrl.
    virtual void fZoomWheel2D(int32_t notches, int32_t keys) = 0;
    // The zoom tool's drag (button 1 in a 2D view).
    virtual void fStartZoomDrag() = 0;
    virtual void fZoomDragStep(float x, float y) = 0;
    virtual void fStopZoomDrag() = 0;
    // Frames the map and the curves' points in the active view.
    virtual void fZoomToFit(bool selectedOnly) = 0;
    // The same for any view state (the map frames every view on loading).
    virtual void fFitView(CView& view, bool selectedOnly) = 0;
    // The centre of the shown curve's points firstRow..lastRow on the
    // active view's axes; false without a curve or points.
    virtual bool fGridSelectionCenter(int32_t firstRow, int32_t lastRow, std::array<float, 2>& centre) = 0;
    // The scale label's prefix ("Scale:").
    virtual void fSetScaleUnit(const QString& text) = 0;
    virtual void fRefreshScaleLabel() = 0;
    virtual void fClearScaleLabel() = 0;
};

class ViewZoom final : public IViewZoom
{
public:
    static constexpr int32_t MinIndex = 1;
    // The world square's side over its smallest view size.
    static constexpr int32_t MaxIndex = 100000 / 10;
    static constexpr float WheelStep = 96.0f;
    static constexpr float DragFactor = 5.0f;

    explicit ViewZoom(MainContext& context);

    void fInitZoomBag() override;
    int32_t DefaultScaleIndex() const override { return m_defaultScaleIndex; }
    double ScaleOfIndex(int32_t index) const override { return m_zoomScales.Scale(index); }
    int32_t ScaleNormalize(int32_t value) const override;
    int32_t fScaleToIndex(double scale) const override;
    void fTakeViewScale() override;
    void fApplyViewScale() override;
    void oglView_MouseWheel(int32_t& notches, int32_t& x, int32_t& y, int32_t& keys) override;
    void fZoomWheel2D(int32_t notches, int32_t keys) override;
    void fStartZoomDrag() override;
    void fZoomDragStep(float x, float y) override;
    void fStopZoomDrag() override;
    void fZoomToFit(bool selectedOnly) override;
    void fFitView(CView& view, bool selectedOnly) override;
    bool fGridSelectionCenter(int32_t firstRow, int32_t lastRow, std::array<float, 2>& centre) override;
    void fSetScaleUnit(const QString& text) override { m_scaleUnit = text; }
    void fRefreshScaleLabel() override;
    void fClearScaleLabel() override;

    // ---- The arithmetic, apart for its tests ---------------------------------
    // The wheel's new index: step 96 a notch, 16 with Shift (4), else 48
    // with Ctrl (8), added to the bag's value and kept within its bounds.
    static int32_t WheelIndex(const C3DMinMaxBagLong& bag, int32_t notches, int32_t keys, float wheelStep);
    // What framing gives a view: its zoom index and origin.
    struct Fit
    {
        int32_t index = 0;
        float origin1 = 0.0f;
        float origin2 = 0.0f;
    };
    // Frames the boxes (either may be missing) in a view of that many
    // pixels with about 20 pixels to spare across the limiting direction.
    // Without boxes: the default index on the origin. Nothing for a view
    // without pixels.
    static std::optional<Fit> FitBoxes(const ZoomTable& table, int32_t defaultIndex, const std::optional<ViewBox>& curves,
                                       const std::optional<ViewBox>& map, int32_t pixelsWide, int32_t pixelsHigh);
    // The prefix and the visible width with two decimals, right-aligned in
    // nine characters (a wider number is shown whole).
    static QString ScaleLabelText(const QString& unit, double visibleWidth);

private:
    std::optional<ViewBox> fCurveBounds(const CView& view, bool selectedOnly) const;
    std::optional<ViewBox> fMapBounds(const CView& view) const;
    void fStoreIndex(int32_t index);
    CView* ActiveView() const;

    MainContext& m_c;
    // The receiver of the view's wheel: it stops with this object.
    QObject m_receiver;
    C3DMinMaxBagLong m_zoomBag;
    ZoomTable m_zoomScales;
    int32_t m_defaultScaleIndex = 1;
    float m_zoomWheelStep = WheelStep;
    float m_zoomDragFactor = DragFactor;
    int32_t m_lastDragY = 0;
    float m_zoomDragDelta = 0.0f;
    QString m_scaleUnit;
};
