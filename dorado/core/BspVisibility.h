#pragma once

// Which faces to draw: the leaf holding the camera, the clusters its
// cluster can see, and the leaves whose boxes meet the view frustum.

#include "BspLoader.h"
#include "BspMap.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Dorado {

// One bit per face, face i at bit (i & 7) of byte i / 8.
class FaceBitset
{
public:
    void Resize(int32_t count) { m_bytes.assign(static_cast<size_t>(count < 0 ? 0 : count) / 8 + 1, 0); }
    void ClearAll() { std::fill(m_bytes.begin(), m_bytes.end(), uint8_t(0)); }
    void Set(int32_t i) { m_bytes[static_cast<size_t>(i) >> 3] |= static_cast<uint8_t>(1u << (i & 7)); }
    bool Test(int32_t i) const
    {
        const size_t byte = static_cast<size_t>(i) >> 3;
        return i >= 0 && byte < m_bytes.size() && (m_bytes[byte] >> (i & 7)) & 1u;
    }
    size_t ByteCount() const { return m_bytes.size(); }

private:
    std::vector<uint8_t> m_bytes = std::vector<uint8_t>(1, 0);
};

enum class PlaneSide { Front, Behind, On };

// d = a x + b y + c z + d0: front above 0.01, behind below -0.01.
PlaneSide ClassifyPoint(const std::array<float, 4>& plane, float x, float y, float z);

// The six planes (a, b, c, d) of the view: left, right, top, bottom, near,
// far. All zero until the first update.
struct Frustum
{
    enum { Left, Right, Top, Bottom, Near, Far };
    std::array<std::array<float, 4>, 6> planes{};

    // From OpenGL's column-major projection and model-view matrices.
    void Update(const float projection[16], const float modelview[16]);
    // Outside only when all 8 corners lie behind one of the planes.
    bool BoxInside(const std::array<std::array<float, 3>, 8>& corners) const;
};

// The leaf holding the point: the tree walked from node 0, on-plane counts
// as back. A map with leaves but no nodes has its one leaf 0; a map with no
// leaves gives -1.
int32_t FindLeaf(const BspMap& map, float x, float y, float z);

// The per-map visibility state: the face bitset and the cluster indexes
// already reported as invalid.
class BspCuller
{
public:
    // After a load: a clear bitset for the faces, no indexes reported.
    void Reset(int32_t faceCount);

    bool IsClusterVisible(const BspMap& map, int32_t cameraCluster, int32_t testCluster, BspLog* log);
    void CalculateVisibleFaces(const BspMap& map, const Frustum& frustum, float x, float y, float z,
                               bool clusterCheck, BspLog* log);

    const FaceBitset& Visible() const { return m_visible; }
    const std::vector<int64_t>& LoggedIndexes() const { return m_logged; }

private:
    FaceBitset m_visible;
    std::vector<int64_t> m_logged;
};

// Snaps (x, y, z) to the first vertex, in file order, inside the square of
// side `zone` around it on the axes of `plane` (0: x y, 1: x z, 2: y z).
// False, and the point unchanged, when none lies there or the plane is
// none of the three.
bool SearchCorner(const BspMap& map, float& x, float& y, float& z, int32_t plane, float zone);

}  // namespace Dorado
