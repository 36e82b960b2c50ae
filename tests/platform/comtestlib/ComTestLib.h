#pragma once

// The interfaces of the small component library that the component layer's
// tests load by class id: a counter that tells its sink of each change.

#include "ComTypes.h"

namespace ComTest {

constexpr Com::Guid CLSID_Counter = Com::MakeGuid("{5D0C1E2A-7B3F-4C61-9A8E-2F4B6D8C0A13}");

class ICounterEvents : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{0E7A4C52-1B9D-4F3A-8C6E-5D2B7A9F1E40}");
    virtual void Changed(int value) = 0;

protected:
    ~ICounterEvents() = default;
};

class ICounter : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{9B3E5F17-2C4A-4D8B-B1E6-7A0C3F5D9E22}");
    virtual void Add(int delta) = 0;
    virtual int Value() const = 0;
    virtual void SetEvents(ICounterEvents* sink) = 0;

protected:
    ~ICounter() = default;
};

// A second interface of the same object, to test QueryInterface across.
class INamed : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{C47D2E91-6A5B-4E3C-9F18-0B2D4A6C8E57}");
    virtual const char* Name() const = 0;

protected:
    ~INamed() = default;
};

// Exported besides the four entry points: live objects of the library.
using LiveObjectsFn = long (*)();

}  // namespace ComTest
