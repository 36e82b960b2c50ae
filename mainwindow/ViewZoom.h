#pragma once

#include <cstdint>

struct MainContext;

// The zoom steps of the 2D views: the table of scales and the bounded zoom
// index.
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
    // A zoom index kept within the table's bounds.
    virtual int32_t ScaleNormalize(int32_t index) const { return index; }
    // Frames every point of the curves in the active 2D view.
    virtual void fZoomToFit() {}
};

class ViewZoom final : public IViewZoom
{
public:
    explicit ViewZoom(MainContext& context) : m_c(context) {}
    void fInitZoomBag() override {}
    int32_t DefaultScaleIndex() const override { return 1; }
    double ScaleOfIndex(int32_t) const override { return 0.05; }

private:
    MainContext& m_c;
};
