#pragma once

// A Quake 3 map (BSP version 46) as the map object keeps it: plain arrays
// that drawing hands to OpenGL in place, the BSP tree and the cluster
// visibility. Nothing here touches OpenGL: lightmaps stay as bytes until the
// drawing side uploads them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Dorado {

// One vertex as drawn: position, texture s and -t, lightmap s and t. The
// layout (7 floats, 28 bytes) is the stride the vertex arrays use.
struct BspVertex
{
    float x = 0, y = 0, z = 0;
    float s = 0, t = 0;
    float ls = 0, lt = 0;
};
static_assert(sizeof(BspVertex) == 28);

// Faces sort into three kinds; any other file face type keeps None and is
// never drawn.
enum class FaceKind : int32_t { None = 0, Polygon = 1, Patch = 2, Mesh = 3 };

struct BspFaceDirectoryEntry
{
    FaceKind kind = FaceKind::None;
    int32_t index = 0;  // into the list of its kind
};

// A polygon or mesh face. Its mesh indices are offsets from firstVertex;
// the loader has checked that every one stays inside the face's vertices.
struct BspPolygonFace
{
    int32_t firstVertex = 0;
    int32_t vertexCount = 0;
    int32_t texture = 0;
    int32_t lightmap = -1;  // negative: none
    int32_t firstMeshIndex = 0;
    int32_t meshIndexCount = 0;
};

// One biquadratic piece of a patch: 3 x 3 control points tessellated into
// (L + 1)^2 vertices and L triangle strips of 2 (L + 1) indices each.
struct BspBiquadraticPatch
{
    int32_t level = 0;
    std::vector<BspVertex> vertices;  // vertex (u, v) is u (L + 1) + v
    std::vector<uint32_t> indices;    // L strips; row i starts at index 2 i (L + 1)
    std::array<BspVertex, 9> controls{};  // (row r, column c) at 3r + c

    int32_t RowCount() const { return vertices.empty() ? 0 : level; }
    int32_t RowIndexCount() const { return 2 * (level + 1); }
    const uint32_t* RowStart(int32_t row) const { return indices.data() + static_cast<size_t>(row) * RowIndexCount(); }

    // Fills vertices and indices from the control points. Levels below 1
    // give a piece with no rows (and false).
    bool Tessellate(int32_t level);
};

struct BspPatch
{
    int32_t texture = 0;
    int32_t lightmap = -1;
    int32_t width = 0;   // control points across
    int32_t height = 0;  // control points down
    std::vector<BspBiquadraticPatch> pieces;  // row after row
};

struct BspLeaf
{
    int32_t cluster = 0;
    std::array<std::array<float, 3>, 8> corners{};  // corner k: x max if bit 2, y if bit 1, z if bit 0
    int32_t firstLeafFace = 0;
    int32_t leafFaceCount = 0;
};

// A point p is in front when normal . p + distance > 0 (the file's distance
// is stored negated).
struct BspPlane
{
    std::array<float, 3> normal{};
    float distance = 0;
};

// A child >= 0 is a node; a negative child c is leaf -(c + 1).
struct BspNode
{
    int32_t plane = 0;
    int32_t front = 0;
    int32_t back = 0;
    std::array<int32_t, 3> mins{};
    std::array<int32_t, 3> maxs{};
};

struct BspVisibility
{
    int32_t numClusters = 0;
    int32_t bytesPerCluster = 0;
    std::vector<uint8_t> bits;  // numClusters rows of bytesPerCluster bytes
};

struct BspBounds
{
    std::array<float, 3> mins{999999.0f, 999999.0f, 999999.0f};
    std::array<float, 3> maxs{-999999.0f, -999999.0f, -999999.0f};
};

constexpr int32_t LightmapSide = 128;
constexpr int32_t LightmapBytes = LightmapSide * LightmapSide * 3;

struct BspMap
{
    std::vector<BspVertex> vertices;
    std::vector<int32_t> meshIndices;
    std::vector<BspFaceDirectoryEntry> faceDirectory;
    std::vector<BspPolygonFace> polygonFaces;
    std::vector<BspPolygonFace> meshFaces;
    std::vector<BspPatch> patches;
    int32_t numTextures = 0;
    std::vector<uint8_t> lightmaps;  // NumLightmaps() blocks of 128 x 128 RGB
    std::vector<BspLeaf> leaves;
    std::vector<int32_t> leafFaces;
    std::vector<BspPlane> planes;
    std::vector<BspNode> nodes;
    BspVisibility visibility;
    BspBounds bounds;
    std::string entities;  // the entity lump up to its first zero byte

    int32_t NumVertices() const { return static_cast<int32_t>(vertices.size()); }
    int32_t NumTotalFaces() const { return static_cast<int32_t>(faceDirectory.size()); }
    int32_t NumPolygonFaces() const { return static_cast<int32_t>(polygonFaces.size()); }
    int32_t NumMeshFaces() const { return static_cast<int32_t>(meshFaces.size()); }
    int32_t NumPatches() const { return static_cast<int32_t>(patches.size()); }
    int32_t NumTextures() const { return numTextures; }
    int32_t NumLightmaps() const { return static_cast<int32_t>(lightmaps.size() / LightmapBytes); }
    int32_t NumLeaves() const { return static_cast<int32_t>(leaves.size()); }
    int32_t NumPlanes() const { return static_cast<int32_t>(planes.size()); }
    int32_t NumNodes() const { return static_cast<int32_t>(nodes.size()); }
    const uint8_t* Lightmap(int32_t i) const { return lightmaps.data() + static_cast<size_t>(i) * LightmapBytes; }
};

}  // namespace Dorado
