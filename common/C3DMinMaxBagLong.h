#pragma once

#include <cstdint>

// A 32-bit integer kept between a lower and an upper bound. The bounds
// change only through Initialize; the upper bound is tested first, so with
// Min above Max a value above Max becomes Max and any other below Min
// becomes Min.
class C3DMinMaxBagLong
{
public:
    void Initialize(int32_t min, int32_t max, int32_t value);

    int32_t Min() const noexcept { return m_min; }
    int32_t Max() const noexcept { return m_max; }
    int32_t value() const noexcept { return m_value; }
    void SetValue(int32_t v);

    // Brings v within the bounds.
    void NormalizeValue(int32_t& v) const;

private:
    int32_t m_min = 0;
    int32_t m_max = 0;
    int32_t m_value = 0;
};
