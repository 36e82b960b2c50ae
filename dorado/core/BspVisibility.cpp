#include "BspVisibility.h"

#include <algorithm>
#include <cmath>

namespace Dorado {

PlaneSide ClassifyPoint(const std::array<float, 4>& p, float x, float y, float z)
{
    const float d = p[0] * x + p[1] * y + p[2] * z + p[3];
    if (d > 0.01f)
        return PlaneSide::Front;
    if (d < -0.01f)
        return PlaneSide::Behind;
    return PlaneSide::On;
}

void Frustum::Update(const float proj[16], const float mv[16])
{
    float clip[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += proj[k * 4 + row] * mv[col * 4 + k];
            clip[col * 4 + row] = sum;
        }
    auto row = [&clip](int k) { return std::array<float, 4>{clip[k], clip[4 + k], clip[8 + k], clip[12 + k]}; };
    const auto r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    for (int i = 0; i < 4; ++i) {
        const size_t u = static_cast<size_t>(i);
        planes[Left][u] = r3[u] + r0[u];
        planes[Right][u] = r3[u] - r0[u];
        planes[Top][u] = r3[u] - r1[u];
        planes[Bottom][u] = r3[u] + r1[u];
        planes[Near][u] = r3[u] + r2[u];
        planes[Far][u] = r3[u] - r2[u];
    }
    for (auto& p : planes) {
        const float n = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        // A degenerate plane (a singular matrix) stays as it is rather
        // than turning into infinities.
        if (n > 0.0f)
            for (float& v : p)
                v /= n;
    }
}

bool Frustum::BoxInside(const std::array<std::array<float, 3>, 8>& corners) const
{
    for (const auto& p : planes) {
        bool allBehind = true;
        for (const auto& c : corners)
            if (ClassifyPoint(p, c[0], c[1], c[2]) != PlaneSide::Behind) {
                allBehind = false;
                break;
            }
        if (allBehind)
            return false;
    }
    return true;
}

int32_t FindLeaf(const BspMap& map, float x, float y, float z)
{
    if (map.leaves.empty())
        return -1;
    if (map.nodes.empty())
        return 0;
    // The loader has checked every child and that the tree has no loop, so
    // the walk ends within NumNodes steps; the bound guards it anyway.
    int32_t index = 0;
    for (int32_t steps = 0; index >= 0 && steps <= map.NumNodes(); ++steps) {
        const BspNode& node = map.nodes[static_cast<size_t>(index)];
        const BspPlane& pl = map.planes[static_cast<size_t>(node.plane)];
        const std::array<float, 4> plane{pl.normal[0], pl.normal[1], pl.normal[2], pl.distance};
        index = ClassifyPoint(plane, x, y, z) == PlaneSide::Front ? node.front : node.back;
    }
    if (index >= 0)
        return -1;
    const int32_t leaf = -(index + 1);
    return leaf < map.NumLeaves() ? leaf : -1;
}

void BspCuller::Reset(int32_t faceCount)
{
    m_visible.Resize(faceCount);
    m_logged.clear();
}

bool BspCuller::IsClusterVisible(const BspMap& map, int32_t camera, int32_t test, BspLog* log)
{
    if (camera < 0)
        return true;
    // A leaf outside every cluster has no row bit of its own; the frustum
    // alone decides it.
    if (test < 0)
        return true;
    const BspVisibility& vis = map.visibility;
    const int64_t index = static_cast<int64_t>(vis.bytesPerCluster) * camera + test / 8;
    const int bit = test & 7;
    if (index >= 0 && index < static_cast<int64_t>(vis.bits.size()))
        return (vis.bits[static_cast<size_t>(index)] >> bit) & 1u;
    if (std::find(m_logged.begin(), m_logged.end(), index) == m_logged.end()) {
        m_logged.push_back(index);
        if (log)
            log->Error(QString::asprintf("CBSP::fIsClusterVisible() error : invalid index %lld (cameraCluster %i, "
                                         "testCluster %i, m_visibilityDataBitsetSize %i).",
                                         static_cast<long long>(index), camera, test,
                                         static_cast<int>(vis.bits.size())));
    }
    return true;
}

void BspCuller::CalculateVisibleFaces(const BspMap& map, const Frustum& frustum, float x, float y, float z,
                                      bool clusterCheck, BspLog* log)
{
    if (m_visible.ByteCount() != static_cast<size_t>(map.NumTotalFaces()) / 8 + 1)
        m_visible.Resize(map.NumTotalFaces());
    m_visible.ClearAll();
    int32_t cameraCluster = -1;
    size_t loggedBefore = m_logged.size();
    if (clusterCheck) {
        const int32_t leaf = FindLeaf(map, x, y, z);
        cameraCluster = leaf >= 0 ? map.leaves[static_cast<size_t>(leaf)].cluster : -1;
    }
    for (const BspLeaf& leaf : map.leaves) {
        if (clusterCheck && !IsClusterVisible(map, cameraCluster, leaf.cluster, log))
            continue;
        if (!frustum.BoxInside(leaf.corners))
            continue;
        for (int32_t k = 0; k < leaf.leafFaceCount; ++k)
            m_visible.Set(map.leafFaces[static_cast<size_t>(leaf.firstLeafFace + k)]);
    }
    if (clusterCheck && m_logged.size() > loggedBefore && log)
        log->Error(QString::asprintf("CBSP::fCalculateVisibleFaces() error : %i invalid visibility data biset indexes.",
                                     static_cast<int>(m_logged.size())));
}

bool SearchCorner(const BspMap& map, float& x, float& y, float& z, int32_t plane, float zone)
{
    if (map.vertices.empty())
        return false;
    float BspVertex::*a;
    float BspVertex::*b;
    float pa, pb;
    switch (plane) {
    case 0: a = &BspVertex::x, b = &BspVertex::y, pa = x, pb = y; break;
    case 1: a = &BspVertex::x, b = &BspVertex::z, pa = x, pb = z; break;
    case 2: a = &BspVertex::y, b = &BspVertex::z, pa = y, pb = z; break;
    default: return false;
    }
    const float half = zone * 0.5f;
    for (const BspVertex& v : map.vertices) {
        if (pa - half <= v.*a && v.*a <= pa + half && pb - half <= v.*b && v.*b <= pb + half) {
            x = v.x;
            y = v.y;
            z = v.z;
            return true;
        }
    }
    return false;
}

}  // namespace Dorado
