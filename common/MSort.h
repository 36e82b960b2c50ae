#pragma once

#include <cstdint>
#include <vector>

namespace MSort {

// Sorts ascending in place by exchanging each element with every later
// smaller one (the lists are a handful of frame rates).
void SortLongs(std::vector<int32_t>& values);

} // namespace MSort
