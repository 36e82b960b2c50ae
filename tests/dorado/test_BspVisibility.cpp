#include "BspVisibility.h"
#include "BspWriter.h"
#include "TestLog.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Dorado;
using namespace DoradoTest;

namespace {

BspMap LoadTwoRooms(MapWriter w = TwoRooms())
{
    BspMap map;
    RecordingLog log;
    EXPECT_TRUE(Load(w.Build(), map, log));
    return map;
}

std::vector<int> Marked(const FaceBitset& bits, int count)
{
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        if (bits.Test(i))
            out.push_back(i);
    return out;
}

// Column-major matrices for a camera at the origin looking down -z of
// the eye, with the eye's -z being world +x: a rotation then a perspective.
void LookAlongPlusX(float projection[16], float modelview[16])
{
    const float n = 1.0f, f = 1000.0f, t = 1.0f;  // 90 degrees
    float p[16] = {n / t, 0, 0, 0, 0, n / t, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    // Eye x = world -y, eye y = world z, eye z = world -x.
    float m[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    std::copy(p, p + 16, projection);
    std::copy(m, m + 16, modelview);
}

}  // namespace

TEST(BspVisibility, PointAgainstPlane)
{
    const std::array<float, 4> plane{1, 0, 0, 0};
    EXPECT_EQ(ClassifyPoint(plane, 0.02f, 0, 0), PlaneSide::Front);
    EXPECT_EQ(ClassifyPoint(plane, 0.005f, 0, 0), PlaneSide::On);
    EXPECT_EQ(ClassifyPoint(plane, -0.005f, 0, 0), PlaneSide::On);
    EXPECT_EQ(ClassifyPoint(plane, -0.02f, 0, 0), PlaneSide::Behind);
}

TEST(BspVisibility, LeafOfAPoint)
{
    const BspMap map = LoadTwoRooms();
    EXPECT_EQ(FindLeaf(map, 50, 0, 0), 0);
    EXPECT_EQ(FindLeaf(map, -50, 0, 0), 1);
    // Just in front but within the on-plane band: the back child.
    EXPECT_EQ(FindLeaf(map, 0.005f, 0, 0), 1);
}

TEST(BspVisibility, TreeWithoutNodes)
{
    MapWriter w = TwoRooms();
    w.nodes.clear();
    const BspMap map = LoadTwoRooms(w);
    EXPECT_EQ(FindLeaf(map, -50, 0, 0), 0);
    EXPECT_EQ(FindLeaf(BspMap{}, 0, 0, 0), -1);
}

TEST(BspVisibility, FacesMarkedByCluster)
{
    const BspMap map = LoadTwoRooms();
    BspCuller culler;
    culler.Reset(map.NumTotalFaces());
    RecordingLog log;
    const Frustum everything;  // all planes zero: no box is behind any
    culler.CalculateVisibleFaces(map, everything, 50, 0, 10, true, &log);
    EXPECT_EQ(Marked(culler.Visible(), 5), (std::vector<int>{0, 2, 4}));
    culler.CalculateVisibleFaces(map, everything, -50, 0, 10, true, &log);
    EXPECT_EQ(Marked(culler.Visible(), 5), (std::vector<int>{0, 1, 2, 3, 4}));
    culler.CalculateVisibleFaces(map, everything, 50, 0, 10, false, &log);
    EXPECT_EQ(Marked(culler.Visible(), 5), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(log.errors.isEmpty());
}

TEST(BspVisibility, FrustumSubsetOfClusterSubsetOfAll)
{
    const BspMap map = LoadTwoRooms();
    float p[16], m[16];
    LookAlongPlusX(p, m);
    Frustum frustum;
    frustum.Update(p, m);
    for (const auto& plane : frustum.planes)
        EXPECT_NEAR(std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]), 1.0f, 1e-5f);

    BspCuller culler;
    culler.Reset(map.NumTotalFaces());
    const Frustum everything;
    // The camera stands in the back room (its cluster sees both) and looks
    // into the front room: the back room's box lies wholly behind the near
    // plane (x <= 0 < 1).
    culler.CalculateVisibleFaces(map, everything, -0.5f, 0, 10, true, nullptr);
    const auto byCluster = Marked(culler.Visible(), 5);
    culler.CalculateVisibleFaces(map, frustum, -0.5f, 0, 10, true, nullptr);
    const auto byFrustum = Marked(culler.Visible(), 5);
    EXPECT_EQ(byCluster, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(byFrustum, (std::vector<int>{0, 2, 4}));
    EXPECT_TRUE(std::includes(byCluster.begin(), byCluster.end(), byFrustum.begin(), byFrustum.end()));
}

TEST(BspVisibility, BoxOnThePlaneIsInside)
{
    Frustum f;
    f.planes[Frustum::Left] = {1, 0, 0, 0};
    std::array<std::array<float, 3>, 8> corners{};
    for (auto& c : corners)
        c = {-5, 0, 0};
    EXPECT_FALSE(f.BoxInside(corners));
    corners[3] = {0, 0, 0};
    EXPECT_TRUE(f.BoxInside(corners));
}

TEST(BspVisibility, SingularMatrixLeavesPlanesFinite)
{
    float zero[16] = {};
    Frustum f;
    f.Update(zero, zero);
    for (const auto& plane : f.planes)
        for (float v : plane)
            EXPECT_TRUE(std::isfinite(v));
}

TEST(BspVisibility, OutsideClustersAndInvalidIndexes)
{
    MapWriter w = TwoRooms();
    w.leaves[1].cluster = -1;
    w.visBits = {0x00, 0x00};  // nobody sees anything, not even itself
    const BspMap map = LoadTwoRooms(w);
    BspCuller culler;
    culler.Reset(map.NumTotalFaces());
    RecordingLog log;
    // A camera in a leaf of cluster -1 sees every cluster.
    EXPECT_TRUE(culler.IsClusterVisible(map, -1, 0, &log));
    // A leaf of cluster -1 is left to the frustum, not to bit 7 of a byte.
    EXPECT_TRUE(culler.IsClusterVisible(map, 0, -1, &log));
    EXPECT_FALSE(culler.IsClusterVisible(map, 0, 0, &log));
    EXPECT_TRUE(log.errors.isEmpty());
    // Cluster 20 lies beyond the rows: visible, reported once.
    EXPECT_TRUE(culler.IsClusterVisible(map, 1, 20, &log));
    EXPECT_TRUE(culler.IsClusterVisible(map, 1, 20, &log));
    ASSERT_EQ(log.errors.size(), 1);
    EXPECT_EQ(log.errors[0], "CBSP::fIsClusterVisible() error : invalid index 3 (cameraCluster 1, testCluster 20, "
                             "m_visibilityDataBitsetSize 2).");
}

TEST(BspVisibility, InvalidIndexesReportedOncePerMap)
{
    MapWriter w = TwoRooms();
    w.leaves[0].cluster = 30;
    const BspMap map = LoadTwoRooms(w);
    BspCuller culler;
    culler.Reset(map.NumTotalFaces());
    RecordingLog log;
    const Frustum everything;
    culler.CalculateVisibleFaces(map, everything, -50, 0, 0, true, &log);
    const auto first = Marked(culler.Visible(), 5);
    ASSERT_EQ(log.errors.size(), 2);
    EXPECT_EQ(log.errors[1], "CBSP::fCalculateVisibleFaces() error : 1 invalid visibility data biset indexes.");
    culler.CalculateVisibleFaces(map, everything, -50, 0, 0, true, &log);
    EXPECT_EQ(Marked(culler.Visible(), 5), first);
    EXPECT_EQ(log.errors.size(), 2);
    culler.Reset(map.NumTotalFaces());
    culler.CalculateVisibleFaces(map, everything, -50, 0, 0, true, &log);
    EXPECT_EQ(log.errors.size(), 4);
}

TEST(BspCorner, SearchTable)
{
    MapWriter w;
    w.vertices = {V(100, 100, 100), V(10, 10, 500), V(8, 9, 0), V(14, 20, 7)};
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    struct Case
    {
        float x, y, z;
        int plane;
        float zone;
        bool found;
        float rx, ry, rz;
    } cases[] = {
        // The first vertex in file order wins, though the third is nearer.
        {9, 9, 0, 0, 10, true, 10, 10, 500},
        // Exactly half a zone away on one axis still matches.
        {15, 10, 0, 0, 10, true, 10, 10, 500},
        {15.01f, 10, 0, 0, 10, false, 15.01f, 10, 0},
        // Plane 1 compares x and z, plane 2 y and z.
        {14, 0, 6, 1, 4, true, 14, 20, 7},
        {0, 21, 8, 2, 4, true, 14, 20, 7},
        {9, 9, 0, 3, 10, false, 9, 9, 0},
    };
    for (const Case& c : cases) {
        float x = c.x, y = c.y, z = c.z;
        EXPECT_EQ(SearchCorner(map, x, y, z, c.plane, c.zone), c.found) << c.x << "," << c.y << " plane " << c.plane;
        EXPECT_EQ(x, c.rx);
        EXPECT_EQ(y, c.ry);
        EXPECT_EQ(z, c.rz);
    }
    BspMap empty;
    float x = 1, y = 2, z = 3;
    EXPECT_FALSE(SearchCorner(empty, x, y, z, 0, 100));
}
