#pragma once

#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

// A value that carries its own type: empty, null, a number of a given
// width, a Boolean, a date, a text or a list of tagged values. Control
// properties, registry values and the list helpers pass values this way.
//
// The type codes are the ones stored files and callers compare against:
// 0 empty, 1 null, 2 16-bit integer, 3 32-bit integer, 4 32-bit float,
// 5 64-bit float, 7 date, 8 text, 11 Boolean, 17 byte, 8204 list.
//
// Converting a tagged value to another type is done by the standard
// conversions in MCommon.h (MCommon::TryToInt32, MCommon::SafeCLng, ...).
class TaggedValue
{
public:
    enum Type : int32_t {
        Empty = 0,
        Null = 1,
        Int16 = 2,
        Int32 = 3,
        Single = 4,
        Double = 5,
        Date = 7,
        Text = 8,
        Boolean = 11,
        Byte = 17,
        ArrayFlag = 8192,
        List = 8192 + 12,
    };

    TaggedValue() = default;  // empty
    TaggedValue(bool v) : m_type(Boolean), m_data(v) {}
    TaggedValue(uint8_t v) : m_type(Byte), m_data(v) {}
    TaggedValue(int16_t v) : m_type(Int16), m_data(v) {}
    TaggedValue(int32_t v) : m_type(Int32), m_data(v) {}
    TaggedValue(float v) : m_type(Single), m_data(v) {}
    TaggedValue(double v) : m_type(Double), m_data(v) {}
    TaggedValue(QString v) : m_type(Text), m_data(std::move(v)) {}
    TaggedValue(const char* utf8) : TaggedValue(QString::fromUtf8(utf8)) {}
    TaggedValue(const char16_t* text) : TaggedValue(QString::fromUtf16(text)) {}
    TaggedValue(std::vector<TaggedValue> list) : m_type(List), m_data(std::move(list)) {}
    // Any other pointer would silently become a Boolean.
    TaggedValue(const void*) = delete;

    static TaggedValue MakeNull();
    // A date as days since 30 December 1899 00:00 with the time of day as
    // the fraction (see MCommon::ToOleDate).
    static TaggedValue MakeDate(double oleDate);

    Type type() const noexcept { return m_type; }
    bool IsEmpty() const noexcept { return m_type == Empty; }
    bool IsNull() const noexcept { return m_type == Null; }
    bool IsText() const noexcept { return m_type == Text; }
    bool IsList() const noexcept { return m_type == List; }
    bool IsBoolean() const noexcept { return m_type == Boolean; }
    bool IsDate() const noexcept { return m_type == Date; }
    // 16/32-bit integer, 32/64-bit float or byte (not Boolean, not date).
    bool IsNumber() const noexcept;

    // Raw contents, without conversion. Each gives its neutral value when
    // the tagged value holds another type.
    double Number() const noexcept;        // numbers, dates; Booleans as -1/0
    bool BoolValue() const noexcept;
    const QString& TextValue() const noexcept;
    const std::vector<TaggedValue>& ListValue() const noexcept;
    std::vector<TaggedValue>* MutableList() noexcept;

    // Same type and same contents.
    friend bool operator==(const TaggedValue& a, const TaggedValue& b);
    friend bool operator!=(const TaggedValue& a, const TaggedValue& b) { return !(a == b); }

private:
    Type m_type = Empty;
    std::variant<std::monostate, bool, uint8_t, int16_t, int32_t, float, double, QString,
                 std::vector<TaggedValue>> m_data;
};
