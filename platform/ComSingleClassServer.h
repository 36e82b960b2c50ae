#pragma once

// The four entry points of a library that serves one class. Use once, in
// one source file of the library:
//
//   RUV_COM_SINGLE_CLASS_SERVER(Dorado::CBSP, (Com::ClassRegistration{...}))
//
// The registration is an expression in parentheses; it is evaluated on each
// (un)registration.

#include "ComObject.h"
#include "ComServer.h"

namespace Com {

// The library's lock count: one per library, as every library compiles its
// own copy of this with hidden symbols.
inline ModuleLock& LibraryModuleLock()
{
    static ModuleLock lock;
    return lock;
}

}  // namespace Com

#define RUV_COM_SINGLE_CLASS_SERVER(Class, registration)                                                     \
    extern "C" RUV_COM_EXPORT Com::HRESULT DllGetClassObject(const Com::Guid& clsid, const Com::Guid& iid,   \
                                                             void** out)                                     \
    {                                                                                                        \
        return Com::GetClassObjectFor<Class>(clsid, (registration).clsid, &Com::LibraryModuleLock(), iid, out); \
    }                                                                                                        \
    extern "C" RUV_COM_EXPORT Com::HRESULT DllCanUnloadNow()                                                 \
    {                                                                                                        \
        return Com::LibraryModuleLock().CanUnload() ? Com::S_OK : Com::S_FALSE;                             \
    }                                                                                                        \
    extern "C" RUV_COM_EXPORT Com::HRESULT DllRegisterServer()                                               \
    {                                                                                                        \
        return Com::RegisterClass((registration),                                                           \
                                  Com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));    \
    }                                                                                                        \
    extern "C" RUV_COM_EXPORT Com::HRESULT DllUnregisterServer()                                             \
    {                                                                                                        \
        return Com::UnregisterClass((registration));                                                        \
    }
