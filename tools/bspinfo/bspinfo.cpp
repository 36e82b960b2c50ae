// Prints what a load of a map file found: the log lines, the counts of each
// kind, the bounds, the clusters and the first line of the entity text.
//
//   bspinfo MAP.bsp [TESSELLATION]
#include "BspLoader.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

struct PrintLog final : Dorado::BspLog
{
    void Info(const QString& m) override { std::printf("<->\t%s\n", m.toUtf8().constData()); }
    void Error(const QString& m) override { std::printf("<!>\t%s\n", m.toUtf8().constData()); }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: bspinfo MAP.bsp [TESSELLATION]\n");
        return 2;
    }
    int level = 4;
    if (args.size() == 3) {
        bool ok = false;
        level = args[2].toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "bspinfo: tessellation level must be a whole number\n");
            return 2;
        }
    }
    Dorado::BspMap map;
    PrintLog log;
    if (!Dorado::LoadBspFile(args[1], level, map, &log)) {
        std::fprintf(stderr, "bspinfo: %s was refused\n", args[1].toUtf8().constData());
        return 1;
    }
    std::printf("vertices       %d\n", map.NumVertices());
    std::printf("faces          %d (polygons %d, meshes %d, patches %d, other %d)\n", map.NumTotalFaces(),
                map.NumPolygonFaces(), map.NumMeshFaces(), map.NumPatches(),
                map.NumTotalFaces() - map.NumPolygonFaces() - map.NumMeshFaces() - map.NumPatches());
    size_t pieces = 0;
    for (const auto& p : map.patches)
        pieces += p.pieces.size();
    std::printf("patch pieces   %zu\n", pieces);
    std::printf("mesh indices   %zu\n", map.meshIndices.size());
    std::printf("textures       %d\n", map.NumTextures());
    std::printf("lightmaps      %d\n", map.NumLightmaps());
    std::printf("leaves         %d\n", map.NumLeaves());
    std::printf("leaf faces     %zu\n", map.leafFaces.size());
    std::printf("planes         %d\n", map.NumPlanes());
    std::printf("nodes          %d\n", map.NumNodes());
    std::printf("clusters       %d (%d bytes each)\n", map.visibility.numClusters, map.visibility.bytesPerCluster);
    std::printf("bounds         x %g .. %g, y %g .. %g, z %g .. %g\n", double(map.bounds.mins[0]),
                double(map.bounds.maxs[0]), double(map.bounds.mins[1]), double(map.bounds.maxs[1]),
                double(map.bounds.mins[2]), double(map.bounds.maxs[2]));
    const std::string& e = map.entities;
    std::printf("entities       %zu bytes, first line: %s\n", e.size(), e.substr(0, e.find('\n')).c_str());
    return 0;
}
