#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <vector>

// A growable text buffer for assembling long texts from many pieces. The
// buffer is over-allocated and grows only at steps (25 % of the capacity by
// default), so appending never copies the text held.
//
// Capacity, BufferBump and EnsureCapacity count bytes (two per UTF-16 code
// unit); Length and every index count characters. Range errors are raised
// as RuvError 0x80040200 with the source "CStringBuilder.<member>"; the
// builder is unchanged when one is raised.
class CStringBuilder
{
public:
    static constexpr int32_t ErrorNumber = static_cast<int32_t>(0x80040200u);

    CStringBuilder();

    // The growth step in force, in bytes.
    int32_t BufferBump() const;
    // Taken only under sizing method 0 and for a value above 0; odd values
    // are raised to the next even number.
    void SetBufferBump(int32_t bytes);

    int32_t Capacity() const noexcept { return m_capacity; }
    // Ignored for 0 or below; otherwise the smallest multiple of the step in
    // force that is at least `bytes`, cutting the text when it is smaller.
    void SetCapacity(int32_t bytes);

    QString Chars(int32_t index) const;
    void SetChars(int32_t index, const QString& value);

    int32_t Length() const noexcept { return m_used / 2; }
    // Ignored when negative. Growing the length exposes what the buffer holds
    // there (zeros where nothing was ever written).
    void SetLength(int32_t characters);

    int32_t SizingMethod() const noexcept { return m_sizingMethod; }
    void SetSizingMethod(int32_t method);   // 0 fixed step, 1 percentage
    int32_t SizingPercent() const noexcept { return m_sizingPercent; }
    void SetSizingPercent(int32_t percent); // 1 to 100

    CStringBuilder& Append(QStringView text)
    {
        // The common case, a piece that fits, stays inline: no call, no copy
        // of the text held.
        if (text.size() > 0 && text.size() <= (m_capacity - m_used) / 2) {
            std::memcpy(m_buffer.data + m_used, text.utf16(), size_t(text.size()) * 2);
            m_used += static_cast<int32_t>(text.size()) * 2;
            return *this;
        }
        return AppendGrowing(text);
    }
    // Grows to at least `bytes`; returns the capacity after the call.
    int32_t EnsureCapacity(int32_t bytes);
    CStringBuilder& Insert(int32_t index, QStringView text);
    CStringBuilder& Remove(int32_t start, int32_t count);
    QString ToString() const;

private:
    // A zero-filled byte array that grows in place where the allocator can
    // (large blocks are remapped, not copied).
    struct Bytes
    {
        char* data = nullptr;
        size_t size = 0;
        Bytes() = default;
        explicit Bytes(size_t n);
        Bytes(const Bytes& other);
        Bytes& operator=(const Bytes& other);
        ~Bytes();
        void Resize(size_t n);
        void Swap(Bytes& other) noexcept;
    };

    CStringBuilder& AppendGrowing(QStringView text);

    int32_t m_fixedStep = 2048;
    int32_t m_sizingPercent = 25;
    int32_t m_sizingMethod = 1;
    int32_t m_used = 0;      // bytes
    int32_t m_capacity = 8192;
    Bytes m_buffer;
    Bytes m_scratch;  // Insert assembles here; sized on first use
};
