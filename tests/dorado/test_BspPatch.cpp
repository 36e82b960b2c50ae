#include "BspWriter.h"
#include "TestLog.h"

#include <gtest/gtest.h>

using namespace Dorado;
using namespace DoradoTest;

namespace {

void ExpectSame(const BspVertex& a, const BspVertex& b)
{
    EXPECT_FLOAT_EQ(a.x, b.x);
    EXPECT_FLOAT_EQ(a.y, b.y);
    EXPECT_FLOAT_EQ(a.z, b.z);
    EXPECT_FLOAT_EQ(a.s, b.s);
    EXPECT_FLOAT_EQ(a.t, b.t);
    EXPECT_FLOAT_EQ(a.ls, b.ls);
    EXPECT_FLOAT_EQ(a.lt, b.lt);
}

}  // namespace

TEST(BspPatch, LayoutOfOnePieceAtLevelFour)
{
    BspBiquadraticPatch p;
    for (int i = 0; i < 9; ++i)
        p.controls[static_cast<size_t>(i)] = {float(i), float(i * 2), float(i * i), float(i) / 8, -float(i) / 8,
                                              float(i) / 16, float(i) / 32};
    ASSERT_TRUE(p.Tessellate(4));
    EXPECT_EQ(p.vertices.size(), 25u);
    EXPECT_EQ(p.indices.size(), 40u);
    EXPECT_EQ(p.RowCount(), 4);
    EXPECT_EQ(p.RowIndexCount(), 10);
    EXPECT_EQ(p.RowStart(2), p.indices.data() + 20);
    // Corners are the corner control points, all seven floats.
    ExpectSame(p.vertices[0], p.controls[0]);
    ExpectSame(p.vertices[4 * 5 + 0], p.controls[2]);
    ExpectSame(p.vertices[0 * 5 + 4], p.controls[6]);
    ExpectSame(p.vertices[4 * 5 + 4], p.controls[8]);
    EXPECT_EQ(p.indices[0], 5u);
    EXPECT_EQ(p.indices[1], 0u);
    EXPECT_EQ(p.indices[2], 6u);
    EXPECT_EQ(p.indices[3], 1u);
    EXPECT_EQ(p.indices[39], 19u);  // last pair of row 3: 24, 19
    EXPECT_EQ(p.indices[38], 24u);
}

TEST(BspPatch, MidpointIsTheBiquadraticBlend)
{
    BspBiquadraticPatch p;
    // A flat grid with the middle control point raised by 4: the surface
    // centre rises by 4 * B1(0.5)^2 = 1.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.controls[static_cast<size_t>(3 * r + c)] = {float(c), float(r), (r == 1 && c == 1) ? 4.0f : 0.0f, 0, 0, 0, 0};
    ASSERT_TRUE(p.Tessellate(2));
    const BspVertex& mid = p.vertices[1 * 3 + 1];
    EXPECT_FLOAT_EQ(mid.x, 1.0f);
    EXPECT_FLOAT_EQ(mid.y, 1.0f);
    EXPECT_FLOAT_EQ(mid.z, 1.0f);
    // Vertex (u, v): u runs along the columns (x), v down the rows (y).
    EXPECT_FLOAT_EQ(p.vertices[2 * 3 + 0].x, 2.0f);
    EXPECT_FLOAT_EQ(p.vertices[0 * 3 + 2].y, 2.0f);
}

TEST(BspPatch, LevelBelowOneGivesNoRows)
{
    BspBiquadraticPatch p;
    EXPECT_FALSE(p.Tessellate(0));
    EXPECT_EQ(p.RowCount(), 0);
    EXPECT_TRUE(p.vertices.empty());
}

TEST(BspPatch, PiecesPerPatchSize)
{
    struct Case
    {
        int w, h;
        size_t pieces;
    } cases[] = {{3, 3, 1}, {5, 3, 2}, {3, 5, 2}, {5, 5, 4}, {1, 3, 0}};
    for (const Case& c : cases) {
        MapWriter w;
        AddPatch(w, c.w, c.h, 0, 0, 10);
        BspMap map;
        RecordingLog log;
        ASSERT_TRUE(Load(w.Build(), map, log)) << c.w << "x" << c.h;
        ASSERT_EQ(map.NumPatches(), 1);
        EXPECT_EQ(map.patches[0].pieces.size(), c.pieces) << c.w << "x" << c.h;
    }
}

TEST(BspPatch, PiecesTakeTheirControlPointsRowAfterRow)
{
    MapWriter w;
    AddPatch(w, 5, 5, 0, 0, 10);  // control point (row r, column c) at (10c, 10r)
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log, 4));
    const auto& pieces = map.patches[0].pieces;
    ASSERT_EQ(pieces.size(), 4u);
    // Piece 1 is (x 1, y 0): columns 2..4 of rows 0..2.
    EXPECT_EQ(pieces[1].controls[0].x, 20.0f);
    EXPECT_EQ(pieces[1].controls[0].y, 0.0f);
    EXPECT_EQ(pieces[1].controls[8].x, 40.0f);
    EXPECT_EQ(pieces[1].controls[8].y, 20.0f);
    // Piece 2 is (x 0, y 1): rows 2..4.
    EXPECT_EQ(pieces[2].controls[0].y, 20.0f);
    EXPECT_EQ(pieces[2].controls[5].x, 20.0f);
    EXPECT_EQ(pieces[2].controls[5].y, 30.0f);
    EXPECT_EQ(pieces[3].vertices.size(), 25u);
}

// The limits themselves are allowed: a patch of 65 x 65 control points, and
// patches of exactly 100,000 pieces in all (97 of 65 x 65 sharing their
// control points, one of 43 x 65); one piece more is refused.
TEST(BspPatch, LargestPatchAndPieceCountAreRead)
{
    MapWriter w;
    const int32_t big = AddPatch(w, 65, 65, 0, 0, 8);
    BspMap map;
    RecordingLog log;
    ASSERT_TRUE(Load(w.Build(), map, log)) << log.errors.join('\n').toStdString();
    EXPECT_EQ(map.patches[0].pieces.size(), 1024u);

    w.faces.insert(w.faces.end(), 96, w.faces[static_cast<size_t>(big)]);
    AddPatch(w, 43, 65, 0, 0, 8);
    ASSERT_TRUE(Load(w.Build(), map, log, 1)) << log.errors.join('\n').toStdString();
    size_t pieces = 0;
    for (const BspPatch& p : map.patches)
        pieces += p.pieces.size();
    EXPECT_EQ(pieces, 100000u);

    AddPatch(w, 3, 3, 0, 0, 8);
    EXPECT_FALSE(Load(w.Build(), map, log, 1));
    EXPECT_TRUE(log.errors.join('\n').contains("face 98: the patches would tessellate to more than 100000 pieces"))
        << log.errors.join('\n').toStdString();
    EXPECT_EQ(map.NumPatches(), 98);
}
