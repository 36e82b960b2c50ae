#include "CStringBuilder.h"

#include "MCommon.h"
#include "RuvError.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

[[noreturn]] void RaiseRange(const char* description, const char* member)
{
    throw RuvError(CStringBuilder::ErrorNumber, QString::fromLatin1(description),
                   QStringLiteral("CStringBuilder.") + QLatin1String(member));
}

// Text sizes in bytes, refused beyond the 32-bit range.
int32_t ByteSize(qsizetype characters, const QString& source)
{
    if (characters > INT32_MAX / 2)
        throw RuvError::Platform(RuvError::Overflow, source);
    return static_cast<int32_t>(characters * 2);
}

} // namespace

CStringBuilder::Bytes::Bytes(size_t n)
{
    Resize(n);
}

CStringBuilder::Bytes::Bytes(const Bytes& other)
{
    Resize(other.size);
    if (size)
        std::memcpy(data, other.data, size);
}

CStringBuilder::Bytes& CStringBuilder::Bytes::operator=(const Bytes& other)
{
    if (this != &other) {
        Bytes copy(other);
        Swap(copy);
    }
    return *this;
}

CStringBuilder::Bytes::~Bytes()
{
    std::free(data);
}

void CStringBuilder::Bytes::Resize(size_t n)
{
    if (n == size)
        return;
    if (n == 0) {
        std::free(data);
        data = nullptr;
        size = 0;
        return;
    }
    char* grown = static_cast<char*>(std::realloc(data, n));
    if (!grown)
        throw std::bad_alloc();
    if (n > size)
        std::memset(grown + size, 0, n - size);
    data = grown;
    size = n;
}

void CStringBuilder::Bytes::Swap(Bytes& other) noexcept
{
    std::swap(data, other.data);
    std::swap(size, other.size);
}

CStringBuilder::CStringBuilder()
    : m_buffer(static_cast<size_t>(m_capacity))
{
}

int32_t CStringBuilder::BufferBump() const
{
    if (m_sizingMethod == 0)
        return m_fixedStep;
    return MCommon::CheckedMul(m_capacity, m_sizingPercent, QStringLiteral("CStringBuilder.BufferBump")) / 100;
}

void CStringBuilder::SetBufferBump(int32_t bytes)
{
    if (m_sizingMethod != 0 || bytes <= 0)
        return;
    if (bytes % 2 != 0)
        bytes = bytes == INT32_MAX ? bytes - 1 : bytes + 1;
    m_fixedStep = bytes;
}

void CStringBuilder::SetCapacity(int32_t bytes)
{
    static const QString source = QStringLiteral("CStringBuilder.Capacity");
    if (bytes <= 0)
        return;
    const int32_t step = BufferBump();
    if (step == 0)
        throw RuvError::Platform(RuvError::DivisionByZero, source);
    int32_t newCapacity = (bytes / step) * step;
    if (bytes % step != 0)
        newCapacity = MCommon::CheckedAdd(newCapacity, step, source);
    m_fixedStep = step;
    if (newCapacity < m_used)
        m_used = newCapacity;
    m_buffer.Resize(static_cast<size_t>(newCapacity));
    // The scratch buffer is only needed by Insert, which sizes it itself:
    // releasing it here spares every growth step a second allocation.
    m_scratch.Resize(0);
    m_capacity = newCapacity;
}

QString CStringBuilder::Chars(int32_t index) const
{
    if (index < 0 || index >= Length())
        RaiseRange("Tried reading character past end of buffer.", "Chars");
    char16_t c;
    std::memcpy(&c, m_buffer.data + size_t(index) * 2, 2);
    return QString(QChar(c));
}

void CStringBuilder::SetChars(int32_t index, const QString& value)
{
    if (index < 0 || index >= Length())
        RaiseRange("Tried assigning character past end of buffer.", "Chars");
    if (value.isEmpty())
        throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("CStringBuilder.Chars"));
    const char16_t c = value.at(0).unicode();
    std::memcpy(m_buffer.data + size_t(index) * 2, &c, 2);
}

void CStringBuilder::SetLength(int32_t characters)
{
    if (characters < 0)
        return;
    const int32_t bytes = ByteSize(characters, QStringLiteral("CStringBuilder.Length"));
    if (bytes > m_capacity)
        SetCapacity(bytes);
    m_used = bytes;
}

void CStringBuilder::SetSizingMethod(int32_t method)
{
    if (method == 0 || method == 1)
        m_sizingMethod = method;
}

void CStringBuilder::SetSizingPercent(int32_t percent)
{
    if (percent >= 1 && percent <= 100)
        m_sizingPercent = percent;
}

int32_t CStringBuilder::EnsureCapacity(int32_t bytes)
{
    if (bytes > m_capacity)
        SetCapacity(bytes);
    return m_capacity;
}

CStringBuilder& CStringBuilder::AppendGrowing(QStringView text)
{
    static const QString source = QStringLiteral("CStringBuilder.Append");
    const int32_t n = ByteSize(text.size(), source);
    if (n == 0)
        return *this;
    EnsureCapacity(MCommon::CheckedAdd(m_used, n, source));
    std::memcpy(m_buffer.data + m_used, text.utf16(), size_t(n));
    m_used += n;
    return *this;
}

CStringBuilder& CStringBuilder::Insert(int32_t index, QStringView text)
{
    static const QString source = QStringLiteral("CStringBuilder.Insert");
    if (index < 0 || index > Length())
        RaiseRange("Argument(s) out of range.", "Insert");
    if (text.isEmpty())
        return *this;
    const size_t p = size_t(index) * 2;
    const int32_t n = ByteSize(text.size(), source);
    EnsureCapacity(MCommon::CheckedAdd(m_used, n, source));
    if (m_scratch.size != m_buffer.size)
        m_scratch.Resize(m_buffer.size);
    std::memcpy(m_scratch.data, m_buffer.data, p);
    std::memcpy(m_scratch.data + p, text.utf16(), size_t(n));
    std::memcpy(m_scratch.data + p + size_t(n), m_buffer.data + p, size_t(m_used) - p);
    m_buffer.Swap(m_scratch);
    m_used += n;
    return *this;
}

CStringBuilder& CStringBuilder::Remove(int32_t start, int32_t count)
{
    if (start < 0 || count < 0 || int64_t(start) + count > Length())
        RaiseRange("Argument(s) out of range.", "Remove");
    const size_t from = (size_t(start) + size_t(count)) * 2;
    const size_t to = size_t(start) * 2;
    if (from < size_t(m_used))
        std::memmove(m_buffer.data + to, m_buffer.data + from, size_t(m_used) - from);
    m_used -= count * 2;
    return *this;
}

QString CStringBuilder::ToString() const
{
    const int32_t characters = m_used / 2;
    if (characters <= 0)
        return QString();
    QString result(characters, Qt::Uninitialized);
    std::memcpy(result.data(), m_buffer.data, size_t(characters) * 2);
    return result;
}
