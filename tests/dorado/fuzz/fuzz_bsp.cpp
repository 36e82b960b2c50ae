// libFuzzer entry for the map parser: any bytes, parsed at a fixed level;
// the parser must refuse or accept them without reading out of bounds.
// Seed it with the synthetic maps (fuzz_bsp -seed_corpus is written by
// test_dorado's writer; any .bsp file does as well).
#include "BspLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dorado::BspMap map;
    Dorado::LoadBspFromMemory(data, size, QStringLiteral("fuzz.bsp"), 2, map, nullptr);
    return 0;
}
