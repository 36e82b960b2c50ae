// libFuzzer entry for the map parser: any bytes, parsed at the program's
// tessellation level; the parser must refuse or accept them without reading
// out of bounds, undefined behaviour or a leak. The CTest case
// dorado_fuzz_bsp seeds it with the hand-made maps (testdata/dorado/seeds,
// written by test_dorado) and the real maps.
#include "BspLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dorado::BspMap map;
    Dorado::LoadBspFromMemory(data, size, QStringLiteral("fuzz.bsp"), 4, map, nullptr);
    return 0;
}
