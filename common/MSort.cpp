#include "MSort.h"

#include <cstddef>
#include <utility>

namespace MSort {

void SortLongs(std::vector<int32_t>& values)
{
    for (size_t i = 0; i < values.size(); ++i)
        for (size_t j = i + 1; j < values.size(); ++j)
            if (values[j] < values[i])
                std::swap(values[i], values[j]);
}

} // namespace MSort
