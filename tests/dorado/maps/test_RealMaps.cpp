// Every map of the openarena-081-maps package, parsed without a context.
#include "BspLoader.h"
#include "BspVisibility.h"
#include "RealMaps.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>

using namespace Dorado;
using namespace DoradoTest;

namespace {

struct NullLog final : BspLog
{
    QStringList errors;
    void Info(const QString&) override {}
    void Error(const QString& m) override { errors << m; }
};

int32_t LumpLength(const QByteArray& file, int lump)
{
    int32_t v;
    std::memcpy(&v, file.constData() + 12 + 8 * lump, 4);
    return v;
}

}  // namespace

TEST(RealMaps, EveryMapLoadsWithCountsFromItsLumps)
{
    const QStringList maps = RealMaps();
    if (maps.isEmpty())
        GTEST_SKIP() << "no maps in " << RealMapFolder().toStdString()
                     << " (install openarena-081-maps and unzip; the dorado_unpack_maps fixture unpacks them)";
    for (const QString& path : maps) {
        SCOPED_TRACE(path.toStdString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        BspMap map;
        NullLog log;
        ASSERT_TRUE(LoadBspFromMemory(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      static_cast<size_t>(bytes.size()), path, 4, map, &log))
            << log.errors.join('\n').toStdString();
        EXPECT_TRUE(log.errors.isEmpty());
        EXPECT_EQ(map.NumVertices(), LumpLength(bytes, LumpVertices) / 44);
        EXPECT_EQ(map.NumTotalFaces(), LumpLength(bytes, LumpFaces) / 104);
        EXPECT_EQ(map.NumTextures(), LumpLength(bytes, LumpTextures) / 72);
        EXPECT_EQ(map.NumLightmaps(), LumpLength(bytes, LumpLightmaps) / 49152);
        EXPECT_EQ(map.NumLeaves(), LumpLength(bytes, LumpLeaves) / 48);
        EXPECT_EQ(map.NumPlanes(), LumpLength(bytes, LumpPlanes) / 16);
        EXPECT_EQ(map.NumNodes(), LumpLength(bytes, LumpNodes) / 36);
        EXPECT_LE(map.NumPolygonFaces() + map.NumMeshFaces() + map.NumPatches(), map.NumTotalFaces());
        EXPECT_GT(map.NumPolygonFaces(), 0);
        int outside = 0;
        for (const BspVertex& v : map.vertices) {
            const float p[3] = {v.x, v.y, v.z};
            for (size_t a = 0; a < 3; ++a)
                if (p[a] < map.bounds.mins[a] || p[a] > map.bounds.maxs[a])
                    ++outside;
        }
        EXPECT_EQ(outside, 0);

        // From the first spawn point, with every leaf in the frustum: the
        // camera's cluster sees a part of the map, at least one face.
        float origin[3];
        ASSERT_TRUE(FirstSpawnPoint(QString::fromLatin1(map.entities.c_str()), origin));
        BspCuller culler;
        culler.Reset(map.NumTotalFaces());
        culler.CalculateVisibleFaces(map, Frustum{}, origin[0], origin[1], origin[2], true, &log);
        int byCluster = 0;
        for (int i = 0; i < map.NumTotalFaces(); ++i)
            byCluster += culler.Visible().Test(i);
        EXPECT_GT(byCluster, 0);
        EXPECT_LE(byCluster, map.NumTotalFaces());
    }
}
