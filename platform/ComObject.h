#pragma once

// Building blocks for the objects a component library hands out: the
// reference count, QueryInterface over a list of interfaces, the count of
// live objects and server locks that decides whether a library may unload,
// a class factory, and the slot in which a client sets its event sink.

#include "ComTypes.h"

#include <atomic>
#include <functional>
#include <new>
#include <type_traits>

namespace Com {

// Live objects and server locks of one library. Each library defines one
// (a function-local static of its own), so that the count answers for that
// library alone.
class ModuleLock
{
public:
    void Lock() { m_count.fetch_add(1, std::memory_order_relaxed); }
    void Unlock() { m_count.fetch_sub(1, std::memory_order_acq_rel); }
    long Count() const { return m_count.load(std::memory_order_acquire); }
    bool CanUnload() const { return Count() == 0; }

private:
    std::atomic<long> m_count{0};
};

// Implements IUnknown for a class that derives from it with the interfaces
// it offers. The object starts with one reference, held by its creator:
// wrap `new` in ComPtr<..>::Attach. The first interface of the list serves
// as the object's IUnknown.
template <class First, class... Rest>
class Object : public First, public Rest...
{
public:
    explicit Object(ModuleLock* module = nullptr) : m_module(module)
    {
        if (m_module)
            m_module->Lock();
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT QueryInterface(const Guid& iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IUnknown::IID)
            *out = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            *out = FindInterface<First, Rest...>(iid);
        if (!*out)
            *out = QueryExtra(iid);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    uint32_t Release() override
    {
        const uint32_t left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

    // The object's own IUnknown, without a reference added.
    IUnknown* Unknown() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    virtual ~Object()
    {
        if (m_module)
            m_module->Unlock();
    }

    // Interfaces beyond the list (a base interface of one of them, say):
    // give the pointer without adding a reference, or null.
    virtual void* QueryExtra(const Guid&) { return nullptr; }

private:
    template <class I, class... More>
    void* FindInterface(const Guid& iid)
    {
        if (iid == I::IID)
            return static_cast<I*>(this);
        if constexpr (sizeof...(More) > 0)
            return FindInterface<More...>(iid);
        else
            return nullptr;
    }

    std::atomic<uint32_t> m_refs{1};
    ModuleLock* m_module;
};

// A class factory that makes objects of one class with `create` (which
// returns a new object holding one reference, or null).
class ClassFactory final : public Object<IClassFactory>
{
public:
    using Creator = std::function<IUnknown*()>;

    ClassFactory(ModuleLock* module, Creator create)
        : Object<IClassFactory>(module), m_module(module), m_create(std::move(create))
    {
    }

    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* object = nullptr;
        try {
            object = m_create();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT LockServer(bool lock) override
    {
        if (!m_module)
            return S_OK;
        if (lock)
            m_module->Lock();
        else
            m_module->Unlock();
        return S_OK;
    }

private:
    ModuleLock* m_module;
    Creator m_create;
};

// Answers a DllGetClassObject request for one class: a factory for `clsid`
// when it is the class asked for.
template <class T>
HRESULT GetClassObjectFor(const Guid& requested, const Guid& clsid, ModuleLock* module,
                          const Guid& iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (requested != clsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = new (std::nothrow) ClassFactory(module, [module]() -> IUnknown* {
        auto* object = new (std::nothrow) T(module);
        return object ? object->Unknown() : nullptr;
    });
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

// The event sink a client sets on an object. The object keeps a reference
// to the sink until it is replaced or cleared; raising an event holds an
// extra reference for the length of the call, so a handler that clears the
// sink (or drops its last reference to the object) is safe.
template <class Sink>
class EventSink
{
public:
    void Set(Sink* sink) { m_sink = ComPtr<Sink>(sink); }
    void Clear() { m_sink = nullptr; }
    Sink* Get() const { return m_sink.Get(); }
    explicit operator bool() const { return static_cast<bool>(m_sink); }

    // Calls f(sink) when a sink is set.
    template <class F>
    void Raise(F&& f) const
    {
        ComPtr<Sink> keep = m_sink;
        if (keep)
            std::forward<F>(f)(*keep);
    }

private:
    ComPtr<Sink> m_sink;
};

}  // namespace Com
