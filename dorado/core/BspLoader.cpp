#include "BspLoader.h"

#include <QFile>

#include <algorithm>
#include <cstdarg>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>

static_assert(std::endian::native == std::endian::little, "map files are little-endian; add byte swapping here");

namespace Dorado {

namespace {

// File record sizes.
constexpr int32_t TextureRecord = 72;
constexpr int32_t PlaneRecord = 16;
constexpr int32_t NodeRecord = 36;
constexpr int32_t LeafRecord = 48;
constexpr int32_t IntRecord = 4;
constexpr int32_t VertexRecord = 44;
constexpr int32_t FaceRecord = 104;

int32_t ReadInt(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

float ReadFloat(const uint8_t* p)
{
    float v;
    std::memcpy(&v, p, 4);
    return v;
}

QString Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
QString Fmt(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    QString s = QString::vasprintf(format, args);
    va_end(args);
    return s;
}

// The magic as it stands in the file, four characters at most; bytes that
// are not printable show as '?'.
QString MagicText(const uint8_t* p)
{
    QString s;
    for (int i = 0; i < 4; ++i)
        s += (p[i] >= 0x20 && p[i] < 0x7F) ? QChar(p[i]) : QChar('?');
    return s;
}

struct Lump
{
    const uint8_t* data = nullptr;
    int32_t length = 0;
    int32_t count = 0;  // whole records
};

class Reader
{
public:
    Reader(const uint8_t* data, size_t size, BspLog* log) : m_data(data), m_size(size), m_log(log)
    {
    }

    void Info(const QString& m) const
    {
        if (m_log)
            m_log->Info(m);
    }
    void Error(const QString& m) const
    {
        if (m_log)
            m_log->Error(m);
    }

    // Finds lump `index` and checks that it lies inside the file and holds
    // whole records of `record` bytes (record 1: any length).
    bool Get(int32_t index, int32_t record, Lump& out) const
    {
        const uint8_t* entry = m_data + 8 + 8 * index;
        const int32_t offset = ReadInt(entry);
        const int32_t length = ReadInt(entry + 4);
        if (offset < 0 || length < 0 || static_cast<uint64_t>(offset) + static_cast<uint64_t>(length) > m_size) {
            Error(Fmt("CBSP::fReadLump() - lump %i (offset %i, length %i) lies outside the file of %lld bytes", index,
                      offset, length, static_cast<long long>(m_size)));
            return false;
        }
        if (length % record != 0) {
            Error(Fmt("CBSP::fReadLump() - lump %i length %i is not a whole number of %i-byte records", index, length,
                      record));
            return false;
        }
        out.data = m_data + offset;
        out.length = length;
        out.count = length / record;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    BspLog* m_log;
};

bool InRange(int64_t first, int64_t count, int64_t size)
{
    return first >= 0 && count >= 0 && first + count <= size;
}

bool LoadVertices(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpVertices, VertexRecord, lump))
        return false;
    m.vertices.resize(static_cast<size_t>(lump.count));
    for (int32_t i = 0; i < lump.count; ++i) {
        const uint8_t* p = lump.data + static_cast<size_t>(i) * VertexRecord;
        BspVertex& v = m.vertices[static_cast<size_t>(i)];
        v.x = ReadFloat(p);
        v.y = ReadFloat(p + 4);
        v.z = ReadFloat(p + 8);
        v.s = ReadFloat(p + 12);
        v.t = -ReadFloat(p + 16);
        v.ls = ReadFloat(p + 20);
        v.lt = ReadFloat(p + 24);
    }
    return true;
}

bool LoadMeshIndices(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpMeshIndices, IntRecord, lump))
        return false;
    m.meshIndices.resize(static_cast<size_t>(lump.count));
    if (lump.count > 0)
        std::memcpy(m.meshIndices.data(), lump.data, static_cast<size_t>(lump.count) * 4);
    return true;
}

struct FileFace
{
    int32_t texture, type, firstVertex, vertexCount, firstMeshIndex, meshIndexCount, lightmap;
    int32_t patchWidth, patchHeight;
};

FileFace ReadFace(const uint8_t* p)
{
    FileFace f;
    f.texture = ReadInt(p);
    f.type = ReadInt(p + 8);
    f.firstVertex = ReadInt(p + 12);
    f.vertexCount = ReadInt(p + 16);
    f.firstMeshIndex = ReadInt(p + 20);
    f.meshIndexCount = ReadInt(p + 24);
    f.lightmap = ReadInt(p + 28);
    f.patchWidth = ReadInt(p + 96);
    f.patchHeight = ReadInt(p + 100);
    return f;
}

// A polygon or mesh face: its vertices, its run of mesh indices and every
// index in that run must stay inside the arrays.
bool CheckIndexedFace(const Reader& r, const BspMap& m, int32_t i, const FileFace& f, int32_t numLightmaps)
{
    if (!InRange(f.firstVertex, f.vertexCount, m.NumVertices())) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: vertices %i (+%i) outside the %i vertices", i, f.firstVertex,
                    f.vertexCount, m.NumVertices()));
        return false;
    }
    if (!InRange(f.firstMeshIndex, f.meshIndexCount, static_cast<int64_t>(m.meshIndices.size()))) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: mesh indices %i (+%i) outside the %i mesh indices", i,
                    f.firstMeshIndex, f.meshIndexCount, static_cast<int>(m.meshIndices.size())));
        return false;
    }
    for (int32_t k = 0; k < f.meshIndexCount; ++k) {
        const int32_t offset = m.meshIndices[static_cast<size_t>(f.firstMeshIndex) + k];
        if (offset < 0 || offset >= f.vertexCount) {
            r.Error(Fmt("CBSP::fLoadFaces() - face %i: mesh index %i (vertex offset %i) outside its %i vertices", i,
                        f.firstMeshIndex + k, offset, f.vertexCount));
            return false;
        }
    }
    if (f.lightmap >= numLightmaps) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: lightmap %i beyond the %i lightmaps", i, f.lightmap, numLightmaps));
        return false;
    }
    return true;
}

bool CheckPatchFace(const Reader& r, const BspMap& m, int32_t i, const FileFace& f, int32_t numLightmaps)
{
    const int64_t w = f.patchWidth;
    const int64_t h = f.patchHeight;
    if (w > MaxPatchSide || h > MaxPatchSide) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: patch size %i x %i is wider or taller than %i control points", i,
                    f.patchWidth, f.patchHeight, MaxPatchSide));
        return false;
    }
    if (w < 1 || h < 1 || w % 2 == 0 || h % 2 == 0 || w * h > f.vertexCount) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: patch size %i x %i is not odd or exceeds its %i vertices", i,
                    f.patchWidth, f.patchHeight, f.vertexCount));
        return false;
    }
    if (!InRange(f.firstVertex, f.vertexCount, m.NumVertices())) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: vertices %i (+%i) outside the %i vertices", i, f.firstVertex,
                    f.vertexCount, m.NumVertices()));
        return false;
    }
    if (f.lightmap >= numLightmaps) {
        r.Error(Fmt("CBSP::fLoadFaces() - face %i: lightmap %i beyond the %i lightmaps", i, f.lightmap, numLightmaps));
        return false;
    }
    return true;
}

BspPolygonFace IndexedFace(const FileFace& f)
{
    return {f.firstVertex, f.vertexCount, f.texture, f.lightmap, f.firstMeshIndex, f.meshIndexCount};
}

bool LoadFaces(const Reader& r, BspMap& m, int32_t level, int32_t numLightmaps)
{
    Lump lump;
    if (!r.Get(LumpFaces, FaceRecord, lump))
        return false;
    std::vector<FileFace> faces(static_cast<size_t>(lump.count));
    int32_t polygons = 0, meshes = 0, patchCount = 0;
    int64_t pieces = 0;
    int64_t tessellated = 0;
    const int64_t perPiece = static_cast<int64_t>(level + 1) * (level + 1);
    for (int32_t i = 0; i < lump.count; ++i) {
        FileFace& f = faces[static_cast<size_t>(i)];
        f = ReadFace(lump.data + static_cast<size_t>(i) * FaceRecord);
        if (f.type == 1 || f.type == 3) {
            if (!CheckIndexedFace(r, m, i, f, numLightmaps))
                return false;
            ++(f.type == 1 ? polygons : meshes);
        } else if (f.type == 2) {
            if (!CheckPatchFace(r, m, i, f, numLightmaps))
                return false;
            ++patchCount;
            const int64_t patchPieces = static_cast<int64_t>((f.patchWidth - 1) / 2) * ((f.patchHeight - 1) / 2);
            pieces += patchPieces;
            if (pieces > MaxPatchPieces) {
                r.Error(Fmt("CBSP::fLoadFaces() - face %i: the patches would tessellate to more than %lld pieces", i,
                            static_cast<long long>(MaxPatchPieces)));
                return false;
            }
            tessellated += patchPieces * perPiece;
            if (tessellated > MaxTessellatedVertices) {
                r.Error(Fmt("CBSP::fLoadFaces() - patches would need more than %lld tessellated vertices",
                            static_cast<long long>(MaxTessellatedVertices)));
                return false;
            }
        }
    }

    m.faceDirectory.assign(faces.size(), {});
    m.polygonFaces.reserve(static_cast<size_t>(polygons));
    m.meshFaces.reserve(static_cast<size_t>(meshes));
    m.patches.reserve(static_cast<size_t>(patchCount));
    for (size_t i = 0; i < faces.size(); ++i) {
        if (faces[i].type == 1) {
            m.faceDirectory[i] = {FaceKind::Polygon, static_cast<int32_t>(m.polygonFaces.size())};
            m.polygonFaces.push_back(IndexedFace(faces[i]));
        }
    }
    for (size_t i = 0; i < faces.size(); ++i) {
        if (faces[i].type == 3) {
            m.faceDirectory[i] = {FaceKind::Mesh, static_cast<int32_t>(m.meshFaces.size())};
            m.meshFaces.push_back(IndexedFace(faces[i]));
        }
    }
    for (size_t i = 0; i < faces.size(); ++i) {
        const FileFace& f = faces[i];
        if (f.type != 2)
            continue;
        m.faceDirectory[i] = {FaceKind::Patch, static_cast<int32_t>(m.patches.size())};
        BspPatch& patch = m.patches.emplace_back();
        patch.texture = f.texture;
        patch.lightmap = f.lightmap;
        patch.width = f.patchWidth;
        patch.height = f.patchHeight;
        const int32_t across = (f.patchWidth - 1) / 2;
        const int32_t down = (f.patchHeight - 1) / 2;
        patch.pieces.resize(static_cast<size_t>(across) * down);
        for (int32_t y = 0; y < down; ++y) {
            for (int32_t x = 0; x < across; ++x) {
                BspBiquadraticPatch& piece = patch.pieces[static_cast<size_t>(y) * across + x];
                for (int32_t row = 0; row < 3; ++row)
                    for (int32_t col = 0; col < 3; ++col)
                        piece.controls[static_cast<size_t>(row * 3 + col)] =
                            m.vertices[static_cast<size_t>(f.firstVertex + 2 * (y * f.patchWidth + x) +
                                                           row * f.patchWidth + col)];
                piece.Tessellate(level);
            }
        }
    }
    return true;
}

bool LoadLightmaps(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpLightmaps, LightmapBytes, lump))
        return false;
    m.lightmaps.assign(lump.data, lump.data + lump.length);
    AdjustLightmapBrightness(m.lightmaps.data(), m.lightmaps.size() / 3, 1.0f);
    return true;
}

bool LoadLeaves(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpLeaves, LeafRecord, lump))
        return false;
    Lump faces;
    if (!r.Get(LumpLeafFaces, IntRecord, faces))
        return false;
    m.leaves.resize(static_cast<size_t>(lump.count));
    for (int32_t i = 0; i < lump.count; ++i) {
        const uint8_t* p = lump.data + static_cast<size_t>(i) * LeafRecord;
        BspLeaf& leaf = m.leaves[static_cast<size_t>(i)];
        leaf.cluster = ReadInt(p);
        float mins[3], maxs[3];
        for (int a = 0; a < 3; ++a) {
            mins[a] = static_cast<float>(ReadInt(p + 8 + 4 * a));
            maxs[a] = static_cast<float>(ReadInt(p + 20 + 4 * a));
        }
        leaf.firstLeafFace = ReadInt(p + 32);
        leaf.leafFaceCount = ReadInt(p + 36);
        if (!InRange(leaf.firstLeafFace, leaf.leafFaceCount, faces.count)) {
            r.Error(Fmt("CBSP::fLoadBSPData() - leaf %i: leaf faces %i (+%i) outside the %i leaf faces", i,
                        leaf.firstLeafFace, leaf.leafFaceCount, faces.count));
            return false;
        }
        for (int k = 0; k < 8; ++k) {
            auto& c = leaf.corners[static_cast<size_t>(k)];
            c[0] = (k & 4) ? maxs[0] : mins[0];
            c[1] = (k & 2) ? maxs[1] : mins[1];
            c[2] = (k & 1) ? maxs[2] : mins[2];
            for (size_t a = 0; a < 3; ++a) {
                if (c[a] < m.bounds.mins[a])
                    m.bounds.mins[a] = c[a];
                if (c[a] > m.bounds.maxs[a])
                    m.bounds.maxs[a] = c[a];
            }
        }
    }
    m.leafFaces.resize(static_cast<size_t>(faces.count));
    for (int32_t i = 0; i < faces.count; ++i) {
        const int32_t face = ReadInt(faces.data + static_cast<size_t>(i) * 4);
        if (face < 0 || face >= m.NumTotalFaces()) {
            r.Error(Fmt("CBSP::fLoadBSPData() - leaf face %i names face %i of %i", i, face, m.NumTotalFaces()));
            return false;
        }
        m.leafFaces[static_cast<size_t>(i)] = face;
    }
    return true;
}

bool LoadPlanes(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpPlanes, PlaneRecord, lump))
        return false;
    m.planes.resize(static_cast<size_t>(lump.count));
    for (int32_t i = 0; i < lump.count; ++i) {
        const uint8_t* p = lump.data + static_cast<size_t>(i) * PlaneRecord;
        BspPlane& plane = m.planes[static_cast<size_t>(i)];
        plane.normal = {ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)};
        plane.distance = -ReadFloat(p + 12);
        const float n2 = plane.normal[0] * plane.normal[0] + plane.normal[1] * plane.normal[1] +
                         plane.normal[2] * plane.normal[2];
        if (!(n2 > 0.0f) || !std::isfinite(n2) || !std::isfinite(plane.distance)) {
            r.Error(Fmt("CBSP::fLoadBSPData() - plane %i has a zero-length or invalid normal", i));
            return false;
        }
    }
    return true;
}

bool CheckChild(const Reader& r, const BspMap& m, int32_t node, int32_t child)
{
    const bool ok = child >= 0 ? child < m.NumNodes() : (-static_cast<int64_t>(child) - 1) < m.NumLeaves();
    if (!ok)
        r.Error(Fmt("CBSP::fLoadBSPData() - node %i: child %i is neither one of the %i nodes nor one of the %i leaves",
                    node, child, m.NumNodes(), m.NumLeaves()));
    return ok;
}

bool LoadNodes(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpNodes, NodeRecord, lump))
        return false;
    m.nodes.resize(static_cast<size_t>(lump.count));
    for (int32_t i = 0; i < lump.count; ++i) {
        const uint8_t* p = lump.data + static_cast<size_t>(i) * NodeRecord;
        BspNode& n = m.nodes[static_cast<size_t>(i)];
        n.plane = ReadInt(p);
        n.front = ReadInt(p + 4);
        n.back = ReadInt(p + 8);
        for (int a = 0; a < 3; ++a) {
            n.mins[static_cast<size_t>(a)] = ReadInt(p + 12 + 4 * a);
            n.maxs[static_cast<size_t>(a)] = ReadInt(p + 24 + 4 * a);
        }
    }
    for (int32_t i = 0; i < m.NumNodes(); ++i) {
        const BspNode& n = m.nodes[static_cast<size_t>(i)];
        if (n.plane < 0 || n.plane >= m.NumPlanes()) {
            r.Error(Fmt("CBSP::fLoadBSPData() - node %i: plane %i outside the %i planes", i, n.plane, m.NumPlanes()));
            return false;
        }
        if (!CheckChild(r, m, i, n.front) || !CheckChild(r, m, i, n.back))
            return false;
    }
    // The walk from node 0 must reach every node at most once: a node met
    // twice means a loop (or a shared subtree), and a point walk could
    // circle for ever.
    if (m.nodes.empty())
        return true;
    std::vector<uint8_t> seen(m.nodes.size(), 0);
    std::vector<int32_t> stack{0};
    while (!stack.empty()) {
        const int32_t n = stack.back();
        stack.pop_back();
        if (seen[static_cast<size_t>(n)]) {
            r.Error(Fmt("CBSP::fLoadBSPData() - node %i is reached twice: the nodes form a loop", n));
            return false;
        }
        seen[static_cast<size_t>(n)] = 1;
        const BspNode& node = m.nodes[static_cast<size_t>(n)];
        if (node.front >= 0)
            stack.push_back(node.front);
        if (node.back >= 0)
            stack.push_back(node.back);
    }
    return true;
}

bool LoadVisibility(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpVisibility, 1, lump))
        return false;
    BspVisibility& vis = m.visibility;
    if (lump.length == 0) {
        // No visibility data: no clusters, and every cluster test falls
        // outside the bits, which counts as visible.
        vis = {};
    } else {
        if (lump.length < 8) {
            r.Error(Fmt("CBSP::fLoadBSPData() - visibility lump of %i bytes is smaller than its 8-byte header",
                        lump.length));
            return false;
        }
        vis.numClusters = ReadInt(lump.data);
        vis.bytesPerCluster = ReadInt(lump.data + 4);
        const int64_t size = static_cast<int64_t>(vis.numClusters) * vis.bytesPerCluster;
        if (vis.numClusters < 0 || vis.bytesPerCluster < 0 || size > lump.length - 8) {
            r.Error(Fmt("CBSP::fLoadBSPData() - visibility rows of %i clusters x %i bytes do not fit the %i bytes "
                        "after the header",
                        vis.numClusters, vis.bytesPerCluster, lump.length - 8));
            return false;
        }
        vis.bits.assign(lump.data + 8, lump.data + 8 + size);
    }
    r.Info(Fmt("CBSP::fLoadBSPData() - m_visData\n\t\t\t\tnumClusters = %i - bytesPerCluster = %i - bitsetSize = %i",
               vis.numClusters, vis.bytesPerCluster, static_cast<int>(vis.bits.size())));
    return true;
}

bool LoadEntities(const Reader& r, BspMap& m)
{
    Lump lump;
    if (!r.Get(LumpEntities, 1, lump))
        return false;
    const auto* end = std::find(lump.data, lump.data + lump.length, uint8_t(0));
    m.entities.assign(reinterpret_cast<const char*>(lump.data), reinterpret_cast<const char*>(end));
    return true;
}

}  // namespace

void AdjustLightmapBrightness(uint8_t* rgb, size_t texels, float factor)
{
    // Worked in the 0..255 range, so that factor 1.0 would give the bytes
    // back exactly (dividing by 255 and multiplying again would not); that
    // factor, the one every load uses, skips the pass altogether.
    if (factor == 1.0f)
        return;
    for (size_t i = 0; i < texels; ++i) {
        uint8_t* p = rgb + i * 3;
        float c[3];
        float top = 0.0f;
        for (int k = 0; k < 3; ++k) {
            c[k] = static_cast<float>(p[k]) * factor;
            top = std::max(top, c[k]);
        }
        if (top > 255.0f)
            for (float& v : c)
                v *= 255.0f / top;
        for (int k = 0; k < 3; ++k)
            p[k] = static_cast<uint8_t>(std::clamp(c[k], 0.0f, 255.0f));
    }
}

QString LoadedMessage(const QString& path, const BspMap& m)
{
    return Fmt("CBSP::fLoad() - %s Loaded successfully : numVertices %i, m_facesTotalCount %i, m_polyFacesCount %i, "
               "m_meshFacesCount %i, m_patchesCount %i, numTextures %i, numLightmaps %i, numLeaves %i, numPlanes %i, "
               "numNodes %i",
               path.toUtf8().constData(), m.NumVertices(), m.NumTotalFaces(), m.NumPolygonFaces(), m.NumMeshFaces(),
               m.NumPatches(), m.NumTextures(), m.NumLightmaps(), m.NumLeaves(), m.NumPlanes(), m.NumNodes());
}

bool LoadBspFromMemory(const uint8_t* data, size_t size, const QString& path, int32_t level, BspMap& map, BspLog* log)
{
    const QByteArray path8 = path.toUtf8();
    Reader r(data, size, log);
    if (level < MinTessellationLevel || level > MaxTessellationLevel) {
        r.Error(Fmt("CBSP::fLoad() - tessellation level %i is outside %i to %i", level, MinTessellationLevel,
                    MaxTessellationLevel));
        return false;
    }
    if (!data || size < static_cast<size_t>(BspHeaderSize)) {
        r.Error(Fmt("CBSP::fLoad() - %s is too short for a .bsp header (%lld bytes)", path8.constData(),
                    static_cast<long long>(data ? size : 0)));
        return false;
    }
    const int32_t version = ReadInt(data + 4);
    // One of the games writes this layout: the same lumps with records of
    // other sizes, which read as IBSP records would give garbage.
    if (std::memcmp(data, "FBSP", 4) == 0) {
        r.Error(Fmt("CBSP::fLoad() - %s is an FBSP map file (version %i), whose records this loader does not read",
                    path8.constData(), version));
        return false;
    }
    if (std::memcmp(data, "IBSP", 4) != 0 || version != BspVersion) {
        r.Error(Fmt("CBSP::fLoad() - %s is not a version 0x2E (46) .bsp map file\n\t\t\t\tstring = \"%s\" - version = "
                    "0x%x (%i)",
                    path8.constData(), MagicText(data).toLatin1().constData(), static_cast<unsigned>(version), version));
    }

    try {
        BspMap m;
        if (!LoadVertices(r, m)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load in vertices"));
            return false;
        }
        if (!LoadMeshIndices(r, m)) {
            r.Error(Fmt("CBSP::fLoad() - Unable to load mesh indices"));
            return false;
        }
        // Faces name lightmaps, so their count is known first.
        Lump lightmaps;
        if (!r.Get(LumpLightmaps, LightmapBytes, lightmaps)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load Lightmaps"));
            return false;
        }
        if (!LoadFaces(r, m, level, lightmaps.count)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load in faces"));
            return false;
        }
        Lump textures;
        if (!r.Get(LumpTextures, TextureRecord, textures)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load textures"));
            return false;
        }
        m.numTextures = textures.count;
        if (!LoadLightmaps(r, m)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load Lightmaps"));
            return false;
        }
        if (!LoadLeaves(r, m) || !LoadPlanes(r, m) || !LoadNodes(r, m) || !LoadVisibility(r, m)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load BSP Data"));
            return false;
        }
        // The leaf boxes leave out a few vertices of some maps (curve control
        // points off the surface, models outside the world's leaves); a view
        // fitted to the bounds must show every vertex.
        if (!m.leaves.empty())
            for (const BspVertex& v : m.vertices) {
                const float p[3] = {v.x, v.y, v.z};
                for (size_t a = 0; a < 3; ++a) {
                    m.bounds.mins[a] = std::min(m.bounds.mins[a], p[a]);
                    m.bounds.maxs[a] = std::max(m.bounds.maxs[a], p[a]);
                }
            }
        if (!LoadEntities(r, m)) {
            r.Error(QStringLiteral("CBSP::fLoad() - Unable to load the entity string"));
            return false;
        }
        map = std::move(m);
        r.Info(LoadedMessage(path, map));
    } catch (const std::bad_alloc&) {
        r.Error(Fmt("CBSP::fLoad() - Unable to allocate memory for %s", path8.constData()));
        return false;
    }
    return true;
}

bool LoadBspFile(const QString& path, int32_t level, BspMap& map, BspLog* log)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        if (log)
            log->Error(Fmt("CBSP::fLoad() - Unable to open %s", path.toUtf8().constData()));
        return false;
    }
    QByteArray bytes;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    if (bytes.size() != file.size()) {
        if (log)
            log->Error(Fmt("CBSP::fLoad() - Unable to read %s", path.toUtf8().constData()));
        return false;
    }
    file.close();
    return LoadBspFromMemory(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
                             path, level, map, log);
}

}  // namespace Dorado
