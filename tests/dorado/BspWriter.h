#pragma once

// A tiny writer of version-46 map files for tests: fill the arrays, Build()
// lays the lumps out after the header in lump order.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace DoradoTest {

struct Vertex
{
    float pos[3] = {0, 0, 0};
    float st[2] = {0, 0};
    float lm[2] = {0, 0};
};

struct Face
{
    int32_t texture = 0;
    int32_t type = 1;
    int32_t firstVertex = 0;
    int32_t vertexCount = 0;
    int32_t firstMeshIndex = 0;
    int32_t meshIndexCount = 0;
    int32_t lightmap = -1;
    int32_t patchWidth = 0;
    int32_t patchHeight = 0;
};

struct Leaf
{
    int32_t cluster = 0;
    int32_t mins[3] = {0, 0, 0};
    int32_t maxs[3] = {0, 0, 0};
    int32_t firstLeafFace = 0;
    int32_t leafFaceCount = 0;
};

struct Plane
{
    float normal[3] = {0, 0, 1};
    float dist = 0;
};

struct Node
{
    int32_t plane = 0;
    int32_t front = 0;
    int32_t back = 0;
};

struct MapWriter
{
    char magic[4] = {'I', 'B', 'S', 'P'};
    int32_t version = 46;
    std::string entities;
    int32_t numTextures = 1;
    std::vector<Plane> planes;
    std::vector<Node> nodes;
    std::vector<Leaf> leaves;
    std::vector<int32_t> leafFaces;
    std::vector<Vertex> vertices;
    std::vector<int32_t> meshIndices;
    std::vector<Face> faces;
    std::vector<uint8_t> lightmaps;  // 49152 bytes each
    bool hasVisibility = true;
    int32_t numClusters = 0;
    int32_t bytesPerCluster = 0;
    std::vector<uint8_t> visBits;

    // Offset of lump entry i's offset field and length field in the header.
    static constexpr size_t OffsetField(int lump) { return 8 + 8 * static_cast<size_t>(lump); }
    static constexpr size_t LengthField(int lump) { return 12 + 8 * static_cast<size_t>(lump); }

    std::vector<uint8_t> Build() const
    {
        std::vector<std::vector<uint8_t>> lumps(17);
        auto put = [](std::vector<uint8_t>& out, const void* p, size_t n) {
            const auto* b = static_cast<const uint8_t*>(p);
            out.insert(out.end(), b, b + n);
        };
        auto i32 = [&](std::vector<uint8_t>& out, int32_t v) { put(out, &v, 4); };
        auto f32 = [&](std::vector<uint8_t>& out, float v) { put(out, &v, 4); };

        put(lumps[0], entities.data(), entities.size());
        lumps[0].push_back(0);
        lumps[1].assign(static_cast<size_t>(numTextures) * 72, 0);
        for (const Plane& p : planes) {
            for (float n : p.normal)
                f32(lumps[2], n);
            f32(lumps[2], p.dist);
        }
        for (const Node& n : nodes) {
            i32(lumps[3], n.plane);
            i32(lumps[3], n.front);
            i32(lumps[3], n.back);
            for (int k = 0; k < 6; ++k)
                i32(lumps[3], 0);
        }
        for (const Leaf& l : leaves) {
            i32(lumps[4], l.cluster);
            i32(lumps[4], 0);
            for (int v : l.mins)
                i32(lumps[4], v);
            for (int v : l.maxs)
                i32(lumps[4], v);
            i32(lumps[4], l.firstLeafFace);
            i32(lumps[4], l.leafFaceCount);
            i32(lumps[4], 0);
            i32(lumps[4], 0);
        }
        for (int32_t f : leafFaces)
            i32(lumps[5], f);
        for (const Vertex& v : vertices) {
            for (float f : v.pos)
                f32(lumps[10], f);
            for (float f : v.st)
                f32(lumps[10], f);
            for (float f : v.lm)
                f32(lumps[10], f);
            for (int k = 0; k < 3; ++k)
                f32(lumps[10], 0.0f);
            i32(lumps[10], -1);
        }
        for (int32_t m : meshIndices)
            i32(lumps[11], m);
        for (const Face& f : faces) {
            std::vector<uint8_t>& o = lumps[13];
            const size_t start = o.size();
            i32(o, f.texture);
            i32(o, -1);
            i32(o, f.type);
            i32(o, f.firstVertex);
            i32(o, f.vertexCount);
            i32(o, f.firstMeshIndex);
            i32(o, f.meshIndexCount);
            i32(o, f.lightmap);
            o.resize(start + 96, 0);
            i32(o, f.patchWidth);
            i32(o, f.patchHeight);
        }
        lumps[14] = lightmaps;
        if (hasVisibility) {
            i32(lumps[16], numClusters);
            i32(lumps[16], bytesPerCluster);
            put(lumps[16], visBits.data(), visBits.size());
        }

        std::vector<uint8_t> file(144, 0);
        std::memcpy(file.data(), magic, 4);
        std::memcpy(file.data() + 4, &version, 4);
        for (int i = 0; i < 17; ++i) {
            const int32_t offset = static_cast<int32_t>(file.size());
            const int32_t length = static_cast<int32_t>(lumps[static_cast<size_t>(i)].size());
            std::memcpy(file.data() + OffsetField(i), &offset, 4);
            std::memcpy(file.data() + LengthField(i), &length, 4);
            file.insert(file.end(), lumps[static_cast<size_t>(i)].begin(), lumps[static_cast<size_t>(i)].end());
        }
        return file;
    }

    static void SetInt(std::vector<uint8_t>& file, size_t at, int32_t v) { std::memcpy(file.data() + at, &v, 4); }
    static int32_t GetInt(const std::vector<uint8_t>& file, size_t at)
    {
        int32_t v;
        std::memcpy(&v, file.data() + at, 4);
        return v;
    }
};

inline Vertex V(float x, float y, float z, float s = 0, float t = 0, float ls = 0, float lt = 0)
{
    Vertex v;
    v.pos[0] = x, v.pos[1] = y, v.pos[2] = z;
    v.st[0] = s, v.st[1] = t;
    v.lm[0] = ls, v.lm[1] = lt;
    return v;
}

// Adds a quad of two triangles (a b c, a c d) as a face of `type`.
inline int32_t AddQuad(MapWriter& m, int32_t type, Vertex a, Vertex b, Vertex c, Vertex d, int32_t lightmap = -1)
{
    Face f;
    f.type = type;
    f.firstVertex = static_cast<int32_t>(m.vertices.size());
    f.vertexCount = 4;
    f.firstMeshIndex = static_cast<int32_t>(m.meshIndices.size());
    f.meshIndexCount = 6;
    f.lightmap = lightmap;
    m.vertices.insert(m.vertices.end(), {a, b, c, d});
    m.meshIndices.insert(m.meshIndices.end(), {0, 1, 2, 0, 2, 3});
    m.faces.push_back(f);
    return static_cast<int32_t>(m.faces.size() - 1);
}

// A patch of w x h control points laid on a grid in the plane z = 0, from
// (x0, y0) in steps of `step`.
inline int32_t AddPatch(MapWriter& m, int32_t w, int32_t h, float x0, float y0, float step, float z = 0)
{
    Face f;
    f.type = 2;
    f.firstVertex = static_cast<int32_t>(m.vertices.size());
    f.vertexCount = w * h;
    f.patchWidth = w;
    f.patchHeight = h;
    for (int32_t r = 0; r < h; ++r)
        for (int32_t c = 0; c < w; ++c)
            m.vertices.push_back(V(x0 + step * static_cast<float>(c), y0 + step * static_cast<float>(r), z,
                                   static_cast<float>(c), static_cast<float>(r), 0.1f * static_cast<float>(c),
                                   0.1f * static_cast<float>(r)));
    m.faces.push_back(f);
    return static_cast<int32_t>(m.faces.size() - 1);
}

// Two rooms split by the plane x = 0, one leaf and one cluster each:
// leaf 0 (x > 0, cluster 0) holds a polygon, a patch and a face of type 4;
// leaf 1 (x < 0, cluster 1) a polygon and a mesh. Cluster 0 sees only
// itself, cluster 1 sees both.
inline MapWriter TwoRooms()
{
    MapWriter m;
    m.entities =
        "{\n\"classname\" \"worldspawn\"\n}\n{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"64 0 32\"\n}\n";
    m.numTextures = 3;
    AddQuad(m, 1, V(16, -64, 0), V(112, -64, 0), V(112, 64, 0), V(16, 64, 0));        // face 0, leaf 0
    AddQuad(m, 1, V(-112, -64, 0), V(-16, -64, 0), V(-16, 64, 0), V(-112, 64, 0));    // face 1, leaf 1
    AddPatch(m, 3, 3, 32, -32, 16, 8);                                                 // face 2, leaf 0
    AddQuad(m, 3, V(-100, -50, 8), V(-20, -50, 8), V(-20, 50, 8), V(-100, 50, 8));     // face 3, leaf 1
    AddQuad(m, 4, V(20, 0, 0), V(30, 0, 0), V(30, 10, 0), V(20, 10, 0));               // face 4, leaf 0
    m.planes.push_back({{1, 0, 0}, 0});
    m.nodes.push_back({0, -1, -2});
    m.leafFaces = {0, 2, 4, 1, 3};
    Leaf a;
    a.cluster = 0;
    a.mins[0] = 0, a.mins[1] = -128, a.mins[2] = -16;
    a.maxs[0] = 128, a.maxs[1] = 128, a.maxs[2] = 64;
    a.firstLeafFace = 0, a.leafFaceCount = 3;
    Leaf b = a;
    b.cluster = 1;
    b.mins[0] = -128, b.maxs[0] = 0;
    b.firstLeafFace = 3, b.leafFaceCount = 2;
    m.leaves = {a, b};
    m.numClusters = 2;
    m.bytesPerCluster = 1;
    m.visBits = {0x01, 0x03};
    return m;
}

}  // namespace DoradoTest
