#include "C3DMinMaxBagLong.h"

void C3DMinMaxBagLong::Initialize(int32_t min, int32_t max, int32_t value)
{
    m_min = min;
    m_max = max;
    SetValue(value);
}

void C3DMinMaxBagLong::SetValue(int32_t v)
{
    m_value = v;
    NormalizeValue(m_value);
}

void C3DMinMaxBagLong::NormalizeValue(int32_t& v) const
{
    if (v > m_max)
        v = m_max;
    else if (v < m_min)
        v = m_min;
}
