#pragma once

// Reading a .bsp file into a BspMap. Every offset, length, count and index
// in the file is checked before it is used; a file that fails a check is
// refused with one error line naming the check, and the map given in is
// left exactly as it was.

#include "BspMap.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace Dorado {

// Where the loader's messages go (the map object's log).
class BspLog
{
public:
    virtual void Info(const QString& message) = 0;
    virtual void Error(const QString& message) = 0;

protected:
    ~BspLog() = default;
};

constexpr int32_t BspHeaderSize = 144;
constexpr int32_t BspVersion = 46;
constexpr int32_t MinTessellationLevel = 1;
constexpr int32_t MaxTessellationLevel = 32;
// Patches of a hostile file could ask for any amount of memory. Real maps
// have patches of a few dozen control points a side and at most about 1,500
// pieces in all; a small crafted file can ask for hundreds of thousands of
// pieces, each sharing the same control points. The limits are checked on
// the face records, before anything is tessellated.
constexpr int32_t MaxPatchSide = 65;
constexpr int64_t MaxPatchPieces = 100000;
constexpr int64_t MaxTessellatedVertices = 16 * 1024 * 1024;

// The lumps the loader reads, by their place in the header.
enum BspLump : int32_t {
    LumpEntities = 0,
    LumpTextures = 1,
    LumpPlanes = 2,
    LumpNodes = 3,
    LumpLeaves = 4,
    LumpLeafFaces = 5,
    LumpVertices = 10,
    LumpMeshIndices = 11,
    LumpFaces = 13,
    LumpLightmaps = 14,
    LumpVisibility = 16,
    LumpCount = 17,
};

// Parses `size` bytes of a map file. `path` only names the file in the
// log. On success `map` holds the new map; on failure it is untouched.
bool LoadBspFromMemory(const uint8_t* data, size_t size, const QString& path, int32_t level, BspMap& map,
                       BspLog* log);

// Reads the file whole and parses it.
bool LoadBspFile(const QString& path, int32_t level, BspMap& map, BspLog* log);

// The line logged after a successful load.
QString LoadedMessage(const QString& path, const BspMap& map);

// Lightmap brightness: each texel's red, green and blue scaled by
// factor / 255, the three scaled back together when one exceeds 1.0, and
// returned to bytes by truncation. Factor 1.0 leaves the bytes unchanged.
void AdjustLightmapBrightness(uint8_t* rgb, size_t texels, float factor);

}  // namespace Dorado
