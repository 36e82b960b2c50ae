#pragma once

// What a curve draws, kept between frames as vertex arrays: a few batches,
// each drawn with one array call through the drawing seam, built again only
// when something they show has changed. No GL header: the batches are plain
// arrays of floats.

#include "ControlRecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace GLDraw {
class ITarget;
}

using DrawColor = std::array<float, 4>;

// The primitives of one mode drawn with one point size (points) or a line
// width of 1 (lines), in one colour or in a colour per vertex.
class DrawBatch
{
public:
    // Empties the batch for primitives in one colour...
    void Reset(uint32_t mode, float pointSize, const DrawColor& color);
    // ...or in a colour given with each vertex.
    void ResetPerVertex(uint32_t mode, float pointSize);
    void Add(float x, float y, float z);
    void Add(float x, float y, float z, const DrawColor& color);
    int32_t Count() const { return static_cast<int32_t>(m_vertices.size() / 3); }
    // Sets the size (or line width) and the colour, then draws; nothing
    // when the batch is empty.
    void Draw(GLDraw::ITarget& gl) const;

private:
    uint32_t m_mode = 0;
    float m_pointSize = 0.0f;  // 0 for lines
    DrawColor m_color{};
    bool m_perVertex = false;
    std::vector<float> m_vertices;
    std::vector<float> m_colors;
};

// What the drawing reads of one control, so that the arrays can tell
// whether the control still looks as it did when they were built.
struct DrawnControl
{
    explicit DrawnControl(const ControlRecord& r);
    std::array<float, 3> position;
    std::array<float, 3> tan1;
    std::array<float, 3> tan2;
    int32_t tan1C;
    int32_t tan2C;
    float pitch;
    float yaw;
    std::array<double, 3> target;
    double time;        // the sampling reads the times and timescales
    float timescale;
    uint8_t hide;
    bool selected;
    bool operator==(const DrawnControl&) const = default;
};

// Everything else a curve's picture depends on.
struct CurveDrawKey
{
    bool linesOnly = false;
    bool quickRefreshing = false;
    bool reload = false;
    bool showTangent = false;
    bool showArrow = false;
    int32_t controls = 0;
    int32_t stepRate = 0;
    int32_t viewFlag = 0;
    // World units of the arrows' pixel (0 without arrows).
    double arrowScale = 0.0;
    float controlSize = 0.0f;
    std::array<DrawColor, 7> colors{};
    // Changes whenever the sampled path is taken anew or dropped.
    uint64_t samples = 0;
    bool operator==(const CurveDrawKey&) const = default;
};

// A curve's arrays and what they were built from. They belong to the curve
// object: a copy of the curve starts without (it builds its own when it is
// first drawn), and assigning a curve drops the target's.
class CurveDrawArrays
{
public:
    // The order of the layers is the order they are drawn in.
    enum Layer {
        Path,
        FirstMarker,
        ArrivingTangents,  // the handle that arrives at the next control
        ArrivingHandles,
        Targets,
        Controls,
        SelectedBack,
        SelectedFore,
        LeavingTangents,  // the handle that leaves the control
        LeavingHandles,
        Arrows,
        LayerCount
    };

    CurveDrawArrays() = default;
    CurveDrawArrays(const CurveDrawArrays&) {}
    CurveDrawArrays& operator=(const CurveDrawArrays&)
    {
        Drop();
        return *this;
    }

    // True when the arrays were built from this key and these controls
    // (records 1 to key.controls).
    bool IsBuiltFor(const CurveDrawKey& key, const ControlRecord* records) const;
    // The layers, for a build: the builder resets each and fills it, then
    // says what it built them from.
    DrawBatch& operator[](Layer layer) { return m_layers[static_cast<size_t>(layer)]; }
    void BuiltFrom(const CurveDrawKey& key, const ControlRecord* records);
    void Draw(GLDraw::ITarget& gl) const;
    // Forgets what the arrays were built from; the next drawing builds.
    void Drop() { m_built = false; }

    // The sampled path changed (taken anew or dropped).
    void SamplesChanged() { ++m_samples; }
    uint64_t Samples() const { return m_samples; }
    // How many times the arrays were built (for the tests).
    uint64_t Builds() const { return m_builds; }

private:
    std::array<DrawBatch, LayerCount> m_layers;
    bool m_built = false;
    CurveDrawKey m_key;
    std::vector<DrawnControl> m_controls;
    uint64_t m_samples = 0;
    uint64_t m_builds = 0;
};
