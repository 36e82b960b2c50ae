#include "TaggedValue.h"

TaggedValue TaggedValue::MakeNull()
{
    TaggedValue v;
    v.m_type = Null;
    return v;
}

TaggedValue TaggedValue::MakeDate(double oleDate)
{
    TaggedValue v(oleDate);
    v.m_type = Date;
    return v;
}

bool TaggedValue::IsNumber() const noexcept
{
    switch (m_type) {
    case Int16: case Int32: case Single: case Double: case Byte:
        return true;
    default:
        return false;
    }
}

double TaggedValue::Number() const noexcept
{
    switch (m_type) {
    case Boolean: return std::get<bool>(m_data) ? -1.0 : 0.0;
    case Byte: return std::get<uint8_t>(m_data);
    case Int16: return std::get<int16_t>(m_data);
    case Int32: return std::get<int32_t>(m_data);
    case Single: return std::get<float>(m_data);
    case Double: case Date: return std::get<double>(m_data);
    default: return 0.0;
    }
}

bool TaggedValue::BoolValue() const noexcept
{
    return m_type == Boolean && std::get<bool>(m_data);
}

const QString& TaggedValue::TextValue() const noexcept
{
    static const QString empty;
    return m_type == Text ? std::get<QString>(m_data) : empty;
}

const std::vector<TaggedValue>& TaggedValue::ListValue() const noexcept
{
    static const std::vector<TaggedValue> empty;
    return m_type == List ? std::get<std::vector<TaggedValue>>(m_data) : empty;
}

std::vector<TaggedValue>* TaggedValue::MutableList() noexcept
{
    return m_type == List ? &std::get<std::vector<TaggedValue>>(m_data) : nullptr;
}

bool operator==(const TaggedValue& a, const TaggedValue& b)
{
    return a.m_type == b.m_type && a.m_data == b.m_data;
}
