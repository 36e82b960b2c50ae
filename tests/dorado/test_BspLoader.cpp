#include "BspWriter.h"
#include "TestLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace Dorado;
using namespace DoradoTest;

TEST(BspLoader, TwoRoomsCountsAndDirectory)
{
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(TwoRooms().Build(), map, log));
    EXPECT_TRUE(log.errors.isEmpty()) << log.errors.join('\n').toStdString();
    EXPECT_EQ(map.NumVertices(), 4 * 4 + 9);
    EXPECT_EQ(map.NumTotalFaces(), 5);
    EXPECT_EQ(map.NumPolygonFaces(), 2);
    EXPECT_EQ(map.NumMeshFaces(), 1);
    EXPECT_EQ(map.NumPatches(), 1);
    EXPECT_EQ(map.NumTextures(), 3);
    EXPECT_EQ(map.NumLightmaps(), 0);
    EXPECT_EQ(map.NumLeaves(), 2);
    EXPECT_EQ(map.NumPlanes(), 1);
    EXPECT_EQ(map.NumNodes(), 1);
    const FaceKind kinds[] = {FaceKind::Polygon, FaceKind::Polygon, FaceKind::Patch, FaceKind::Mesh, FaceKind::None};
    const int32_t indexes[] = {0, 1, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(map.faceDirectory[static_cast<size_t>(i)].kind, kinds[i]) << i;
        EXPECT_EQ(map.faceDirectory[static_cast<size_t>(i)].index, indexes[i]) << i;
    }
    EXPECT_EQ(map.entities.substr(0, 2), "{\n");
    EXPECT_EQ(map.visibility.numClusters, 2);
    EXPECT_EQ(map.visibility.bits.size(), 2u);
    ASSERT_EQ(log.infos.size(), 2);
    EXPECT_EQ(log.infos[0], "CBSP::fLoadBSPData() - m_visData\n\t\t\t\tnumClusters = 2 - bytesPerCluster = 1 - bitsetSize = 2");
    EXPECT_EQ(log.infos[1], "CBSP::fLoad() - test.bsp Loaded successfully : numVertices 25, m_facesTotalCount 5, "
                            "m_polyFacesCount 2, m_meshFacesCount 1, m_patchesCount 1, numTextures 3, numLightmaps 0, "
                            "numLeaves 2, numPlanes 1, numNodes 1");
}

TEST(BspLoader, VertexConversionAndPlanes)
{
    MapWriter w = TwoRooms();
    w.vertices[0] = V(1, 2, 3, 0.25f, 0.5f, 0.75f, 0.125f);
    w.planes[0].dist = 5;
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    const BspVertex& v = map.vertices[0];
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(v.z, 3);
    EXPECT_EQ(v.s, 0.25f);
    EXPECT_EQ(v.t, -0.5f);
    EXPECT_EQ(v.ls, 0.75f);
    EXPECT_EQ(v.lt, 0.125f);
    EXPECT_EQ(map.planes[0].distance, -5.0f);
}

TEST(BspLoader, LeafCornersAndBounds)
{
    MapWriter w = TwoRooms();
    w.leaves[0].mins[0] = 0, w.leaves[0].mins[1] = 0, w.leaves[0].mins[2] = 0;
    w.leaves[0].maxs[0] = 8, w.leaves[0].maxs[1] = 16, w.leaves[0].maxs[2] = 32;
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    const auto& c = map.leaves[0].corners;
    EXPECT_EQ(c[0], (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(c[5], (std::array<float, 3>{8, 0, 32}));
    EXPECT_EQ(c[7], (std::array<float, 3>{8, 16, 32}));
    EXPECT_EQ(map.bounds.mins, (std::array<float, 3>{-128, -128, -16}));
    // Leaf 0 ends at x 8, but its floor's vertices reach x 112: the bounds
    // hold both the leaf boxes and every vertex.
    EXPECT_EQ(map.bounds.maxs, (std::array<float, 3>{112, 128, 64}));
}

TEST(BspLoader, NoLeavesKeepsOpenBounds)
{
    MapWriter w;
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    EXPECT_EQ(map.bounds.mins, (std::array<float, 3>{999999.0f, 999999.0f, 999999.0f}));
    EXPECT_EQ(map.bounds.maxs, (std::array<float, 3>{-999999.0f, -999999.0f, -999999.0f}));
}

TEST(BspLoader, WrongMagicOrVersionIsLoggedButRead)
{
    struct Case
    {
        const char* magic;
        int32_t version;
        const char* shown;
    } cases[] = {{"IBSP", 47, "string = \"IBSP\" - version = 0x2f (47)"},
                 {"XBSP", 46, "string = \"XBSP\" - version = 0x2e (46)"}};
    for (const Case& c : cases) {
        MapWriter w = TwoRooms();
        std::memcpy(w.magic, c.magic, 4);
        w.version = c.version;
        BspMap map;
        RecordingLog log;
        EXPECT_TRUE(Load(w.Build(), map, log)) << c.magic;
        ASSERT_EQ(log.errors.size(), 1);
        EXPECT_EQ(log.errors[0], QString("CBSP::fLoad() - test.bsp is not a version 0x2E (46) .bsp map file\n\t\t\t\t") +
                                     c.shown);
        EXPECT_EQ(map.NumTotalFaces(), 5);
    }
}

TEST(BspLoader, EntityTextEndsAtFirstZero)
{
    MapWriter w = TwoRooms();
    w.entities = std::string("abc\0def", 7);
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    EXPECT_EQ(map.entities, "abc");
}

TEST(BspLoader, EmptyVisibilityLumpGivesNoClusters)
{
    MapWriter w = TwoRooms();
    w.hasVisibility = false;
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    EXPECT_EQ(map.visibility.numClusters, 0);
    EXPECT_TRUE(map.visibility.bits.empty());
}

TEST(BspLoader, LightmapBrightness)
{
    std::vector<uint8_t> rgb = {0, 1, 127, 128, 254, 255};
    const auto before = rgb;
    AdjustLightmapBrightness(rgb.data(), 2, 1.0f);
    EXPECT_EQ(rgb, before);
    // Factor 2: (200, 100, 50) would overflow; all three scale down together.
    std::vector<uint8_t> hot = {200, 100, 50};
    AdjustLightmapBrightness(hot.data(), 1, 2.0f);
    EXPECT_EQ(hot[0], 255);
    EXPECT_EQ(hot[1], 127);
    EXPECT_EQ(hot[2], 63);
}

TEST(BspLoader, LightmapsAreKeptAsBytes)
{
    MapWriter w = TwoRooms();
    w.lightmaps.assign(2 * 49152, 7);
    w.faces[0].lightmap = 1;
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log));
    EXPECT_EQ(map.NumLightmaps(), 2);
    EXPECT_EQ(map.Lightmap(1)[49151], 7);
    EXPECT_EQ(map.polygonFaces[0].lightmap, 1);
}

// The synthetic maps, written where the parser's fuzz target takes its
// seeds from (testdata/dorado/seeds); each must load.
TEST(BspLoader, SyntheticMapsAsFuzzSeeds)
{
    MapWriter patches;
    AddPatch(patches, 5, 3, 0, 0, 8);
    AddPatch(patches, 3, 5, 0, 0, 8);
    MapWriter lit = TwoRooms();
    lit.lightmaps.assign(49152, 9);
    lit.faces[0].lightmap = 0;
    const std::pair<const char*, MapWriter> seeds[] = {{"two_rooms", TwoRooms()}, {"patches", patches}, {"lit", lit}};
    const QString folder = qEnvironmentVariable("RUVADIR_TEST_DATA") + "/dorado/seeds";
    const bool write = !qEnvironmentVariable("RUVADIR_TEST_DATA").isEmpty() && QDir().mkpath(folder);
    for (const auto& [name, writer] : seeds) {
        const auto bytes = writer.Build();
        BspMap map;
        RecordingLog log;
        EXPECT_TRUE(Load(bytes, map, log)) << name;
        if (write) {
            QFile f(folder + "/" + name + ".bsp");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        }
    }
}
