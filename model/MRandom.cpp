#include "MRandom.h"

#include <cstdint>
#include <random>

namespace
{
constexpr std::uint64_t kSeed = 0x52757661646972ULL;

std::mt19937_64& Generator()
{
    static std::mt19937_64 generator(kSeed);
    return generator;
}
}

namespace MRandom
{
double NextUniform()
{
    // The top 53 bits give every double of [0, 1) on a grid of 2^-53; unlike
    // std::generate_canonical this can never round up to 1.
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

void Reset()
{
    Generator().seed(kSeed);
}
}
