// Hostile and broken map files: each is refused with a log line naming the
// check, and the map loaded before stays as it was.
#include "BspWriter.h"
#include "TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace Dorado;
using namespace DoradoTest;

namespace {

using Bytes = std::vector<uint8_t>;

struct Fixture
{
    const char* name;
    std::function<Bytes()> make;
    const char* logged;  // part of the error line that names the check
    bool header = false;  // refused on the header, before any lump is read
};

Bytes Patched(const MapWriter& w, size_t at, int32_t value)
{
    Bytes b = w.Build();
    MapWriter::SetInt(b, at, value);
    return b;
}

template <class F>
Bytes Edited(F edit)
{
    MapWriter w = TwoRooms();
    edit(w);
    return w.Build();
}

// Patch faces that all share one block of 65 x 65 control points: a file of
// a quarter of a megabyte that asks for `faces` x 1024 pieces.
void AddSharedPatches(MapWriter& w, int faces)
{
    const int32_t first = AddPatch(w, 65, 65, 0, 0, 8);
    const Face shared = w.faces[static_cast<size_t>(first)];
    w.faces.insert(w.faces.end(), static_cast<size_t>(faces - 1), shared);
}

const std::vector<Fixture>& Fixtures()
{
    static const std::vector<Fixture> list = {
        {"truncated_header", [] { Bytes b = TwoRooms().Build(); b.resize(100); return b; }, "too short for a .bsp header", true},
        {"fbsp_magic", [] { return Edited([](MapWriter& w) { std::memcpy(w.magic, "FBSP", 4); w.version = 1; }); },
         "test.bsp is an FBSP map file (version 1), whose records this loader does not read", true},
        {"lump_beyond_end", [] { return Patched(TwoRooms(), MapWriter::OffsetField(10), 1 << 30); }, "lies outside the file"},
        {"lump_length_beyond_end", [] { return Patched(TwoRooms(), MapWriter::LengthField(13), 1 << 30); }, "lies outside the file"},
        {"negative_lump_offset", [] { return Patched(TwoRooms(), MapWriter::OffsetField(4), -8); }, "lies outside the file"},
        {"negative_lump_length", [] { return Patched(TwoRooms(), MapWriter::LengthField(2), -16); }, "lies outside the file"},
        {"vertices_not_whole_records", [] {
             Bytes b = TwoRooms().Build();
             MapWriter::SetInt(b, MapWriter::LengthField(10), MapWriter::GetInt(b, MapWriter::LengthField(10)) - 4);
             return b; }, "is not a whole number of 44-byte records"},
        {"face_vertices_outside", [] { return Edited([](MapWriter& w) { w.faces[1].firstVertex = 23; }); }, "outside the 25 vertices"},
        {"face_negative_first_vertex", [] { return Edited([](MapWriter& w) { w.faces[0].firstVertex = -1; }); }, "outside the 25 vertices"},
        {"mesh_run_outside", [] { return Edited([](MapWriter& w) { w.faces[3].meshIndexCount = 100; }); }, "outside the 24 mesh indices"},
        {"mesh_index_outside_face", [] { return Edited([](MapWriter& w) { w.meshIndices[2] = 4; }); }, "(vertex offset 4) outside its 4 vertices"},
        {"mesh_index_negative", [] { return Edited([](MapWriter& w) { w.meshIndices[13] = -7; }); }, "(vertex offset -7)"},
        {"patch_even_width", [] { return Edited([](MapWriter& w) { w.faces[2].patchWidth = 2; }); }, "patch size 2 x 3"},
        {"patch_oversized", [] { return Edited([](MapWriter& w) { w.faces[2].patchHeight = 5; }); }, "exceeds its 9 vertices"},
        {"patch_huge_dimensions", [] { return Edited([](MapWriter& w) { w.faces[2].patchWidth = 0x7FFFFFFF; w.faces[2].patchHeight = 0x7FFFFFFF; }); }, "patch size"},
        {"patch_wider_than_65", [] { return Edited([](MapWriter& w) { AddPatch(w, 67, 3, 0, 0, 8); }); }, "face 5: patch size 67 x 3 is wider or taller than 65 control points"},
        {"patch_taller_than_65", [] { return Edited([](MapWriter& w) { AddPatch(w, 3, 101, 0, 0, 8); }); }, "face 5: patch size 3 x 101 is wider or taller than 65 control points"},
        // 670,720 pieces: 800 MB to load and far more to draw, were it read.
        {"patches_too_many_pieces", [] { return Edited([](MapWriter& w) { AddSharedPatches(w, 655); }); }, "face 102: the patches would tessellate to more than 100000 pieces"},
        {"patch_vertices_outside", [] { return Edited([](MapWriter& w) { w.faces[2].firstVertex = 20; }); }, "outside the 25 vertices"},
        {"lightmap_beyond_lightmaps", [] { return Edited([](MapWriter& w) { w.faces[0].lightmap = 0; }); }, "lightmap 0 beyond the 0 lightmaps"},
        {"visibility_smaller_than_header", [] { return Edited([](MapWriter& w) { w.numClusters = 0; w.visBits.clear(); w.hasVisibility = true; }); }, ""},
        {"visibility_rows_too_long", [] { return Edited([](MapWriter& w) { w.bytesPerCluster = 4; }); }, "do not fit the 2 bytes"},
        {"visibility_negative_counts", [] { return Edited([](MapWriter& w) { w.numClusters = -2; w.bytesPerCluster = -1; }); }, "do not fit"},
        {"visibility_product_overflows", [] { return Edited([](MapWriter& w) { w.numClusters = 0x10000; w.bytesPerCluster = 0x10001; }); }, "do not fit"},
        {"leaf_faces_outside", [] { return Edited([](MapWriter& w) { w.leaves[1].leafFaceCount = 3; }); }, "outside the 5 leaf faces"},
        {"leaf_face_names_missing_face", [] { return Edited([](MapWriter& w) { w.leafFaces[4] = 5; }); }, "names face 5 of 5"},
        {"node_plane_outside", [] { return Edited([](MapWriter& w) { w.nodes[0].plane = 1; }); }, "plane 1 outside the 1 planes"},
        {"node_child_outside", [] { return Edited([](MapWriter& w) { w.nodes[0].front = 1; }); }, "child 1 is neither"},
        {"node_leaf_child_outside", [] { return Edited([](MapWriter& w) { w.nodes[0].back = -3; }); }, "child -3 is neither"},
        {"node_leaf_child_int_min", [] { return Edited([](MapWriter& w) { w.nodes[0].back = INT32_MIN; }); }, "is neither"},
        {"nodes_form_a_loop", [] { return Edited([](MapWriter& w) { w.nodes.push_back({0, 0, -2}); w.nodes[0].front = 1; }); }, "the nodes form a loop"},
        {"node_points_to_itself", [] { return Edited([](MapWriter& w) { w.nodes[0].front = 0; }); }, "the nodes form a loop"},
        {"plane_of_zero_length", [] { return Edited([](MapWriter& w) { w.planes[0].normal[0] = 0; }); }, "zero-length or invalid normal"},
        {"entity_lump_outside", [] { return Patched(TwoRooms(), MapWriter::LengthField(0), 1 << 28); }, "lump 0"},
    };
    return list;
}

}  // namespace

TEST(BspBadInput, EachFixtureIsRefusedAndTheOldMapStays)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        BspMap map;
        RecordingLog log;
        MapWriter old;
        AddQuad(old, 1, V(0, 0, 0), V(1, 0, 0), V(1, 1, 0), V(0, 1, 0));
        ASSERT_TRUE(Load(old.Build(), map, log));
        log.errors.clear();
        Bytes bytes = f.make();
        // The visibility header case: a 4-byte lump.
        if (std::string(f.name) == "visibility_smaller_than_header")
            MapWriter::SetInt(bytes, MapWriter::LengthField(16), 4);
        EXPECT_FALSE(Load(bytes, map, log));
        EXPECT_EQ(map.NumTotalFaces(), 1);
        EXPECT_EQ(map.NumVertices(), 4);
        EXPECT_EQ(map.NumLeaves(), 0);
        ASSERT_FALSE(log.errors.isEmpty());
        const QString all = log.errors.join('\n');
        EXPECT_TRUE(all.contains(QString::fromLatin1(f.logged))) << all.toStdString();
        if (std::string(f.name) == "visibility_smaller_than_header") {
            EXPECT_TRUE(all.contains("smaller than its 8-byte header")) << all.toStdString();
        }
        // The sub-loader's failure is followed by the load's own line.
        if (!f.header) {
            EXPECT_TRUE(log.errors.last().startsWith("CBSP::fLoad() - Unable to load")) << log.errors.last().toStdString();
        }
    }
}

TEST(BspBadInput, TessellationLevelOutOfRange)
{
    for (int level : {0, -1, 33}) {
        BspMap map;
        RecordingLog log;
        EXPECT_FALSE(Load(TwoRooms().Build(), map, log, level)) << level;
        EXPECT_EQ(map.NumTotalFaces(), 0);
        ASSERT_EQ(log.errors.size(), 1);
        EXPECT_TRUE(log.errors[0].contains("tessellation level")) << level;
    }
}

TEST(BspBadInput, EveryTruncationIsRefused)
{
    const Bytes whole = TwoRooms().Build();
    for (size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly `size` bytes, so that the sanitizer sees any
        // read past its end.
        Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        BspMap map;
        RecordingLog log;
        EXPECT_FALSE(Dorado::LoadBspFromMemory(part.data(), part.size(), "t.bsp", 4, map, &log)) << size;
    }
}

TEST(BspBadInput, CorruptedBytesNeverCrash)
{
    const Bytes whole = TwoRooms().Build();
    int refused = 0;
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {uint8_t(0xFF), uint8_t(0x80), uint8_t(0x7F), uint8_t(0x01)}) {
            Bytes b = whole;
            b[at] = value;
            BspMap map;
            RecordingLog log;
            if (!Load(b, map, log)) {
                ++refused;
            } else {
                EXPECT_EQ(map.faceDirectory.size(), map.NumTotalFaces() * 1u);
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(BspBadInput, MissingFileIsRefused)
{
    BspMap map;
    RecordingLog log;
    EXPECT_FALSE(Dorado::LoadBspFile("/nonexistent/x.bsp", 4, map, &log));
    ASSERT_EQ(log.errors.size(), 1);
    EXPECT_EQ(log.errors[0], "CBSP::fLoad() - Unable to open /nonexistent/x.bsp");
    EXPECT_FALSE(Dorado::LoadBspFile(QString(), 4, map, &log));
}
