#pragma once

// The in-process component layer: reference-counted interfaces named by
// 16-byte class and interface identifiers. This is a small object model of
// our own, not an emulation of a foreign one: no dispatch, no type
// libraries, no apartments. Everything runs on the caller's thread.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace Com {

using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9u);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// The automation Boolean: -1 true, 0 false.
using VariantBool = int16_t;
constexpr VariantBool VariantTrue = -1;
constexpr VariantBool VariantFalse = 0;

// A 16-byte identifier. Written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
// the first three groups are the numbers Data1..Data3, the last two the
// eight bytes of Data4 in order.
struct Guid
{
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    std::array<uint8_t, 8> Data4{};

    // Parses the 38-character braced form (braces optional, either case).
    // Gives nothing for any other text.
    static constexpr std::optional<Guid> Parse(std::string_view text);
    static std::optional<Guid> Parse(const QString& text);

    // The braced form in capitals, as it stands in the settings store.
    QString ToString() const;

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
    friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};
static_assert(sizeof(Guid) == 16);

namespace detail {
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
}  // namespace detail

constexpr std::optional<Guid> Guid::Parse(std::string_view text)
{
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}')
            return std::nullopt;
        text = text.substr(1, 36);
    }
    if (text.size() != 36)
        return std::nullopt;
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    uint8_t bytes[16] = {};
    size_t pos = 0;
    for (int i = 0; i < 16; ++i) {
        if (pos == 8 || pos == 13 || pos == 18 || pos == 23)
            ++pos;
        const int hi = detail::HexDigit(text[pos]);
        const int lo = detail::HexDigit(text[pos + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    Guid g;
    g.Data1 = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = bytes[8 + i];
    return g;
}

// An identifier known at compile time; a malformed literal does not compile.
consteval Guid MakeGuid(std::string_view text)
{
    const auto g = Guid::Parse(text);
    if (!g)
        throw "malformed identifier";
    return *g;
}

// The root of every interface. An interface is an abstract class deriving
// from IUnknown (directly) that names its identifier as `static constexpr
// Com::Guid IID`.
class IUnknown
{
public:
    static constexpr Guid IID = MakeGuid("{00000000-0000-0000-C000-000000000046}");

    // On success *out holds the interface with one reference added; on
    // failure *out is null.
    virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown
{
public:
    static constexpr Guid IID = MakeGuid("{00000001-0000-0000-C000-000000000046}");

    // `outer` must be null: aggregation is not supported.
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// An owning interface pointer.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a reference of its own.
    explicit ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.m_p) {}
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& o)
    {
        ComPtr(o).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept
    {
        ComPtr(std::move(o)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t)
    {
        Reset();
        return *this;
    }

    // Adopts a pointer that already carries a reference (from
    // QueryInterface, CreateInstance, `new` of an object starting at 1).
    static ComPtr Attach(T* p)
    {
        ComPtr r;
        r.m_p = p;
        return r;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    void Swap(ComPtr& o) noexcept { std::swap(m_p, o.m_p); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: releases what is held and gives the slot.
    void** PutVoid()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T** Put()
    {
        Reset();
        return &m_p;
    }

    // Asks `from` for interface U; null when it does not have it.
    template <class U>
    ComPtr<U> As() const
    {
        ComPtr<U> r;
        if (m_p)
            m_p->QueryInterface(U::IID, r.PutVoid());
        return r;
    }

private:
    T* m_p = nullptr;
};

}  // namespace Com
