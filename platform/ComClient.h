#pragma once

// The client side of the component layer: creating an object by its class
// identifier. The library is found in the settings store
// ("HKCR\CLSID\{...}\InprocServer32"), loaded once and never unloaded (our
// libraries link Qt, whose static state must outlive every object), asked
// for the class factory through its exported DllGetClassObject, and the
// factory makes the object.

#include "ComTypes.h"

#include <QString>

namespace Com {

// The library file registered for `clsid`; empty when none is.
QString RegisteredServerPath(const Guid& clsid);

// Creates an object of class `clsid` and asks it for `iid`. Gives
// REGDB_E_CLASSNOTREG when the class is not registered, CO_E_DLLNOTFOUND
// when its library cannot be loaded, CO_E_ERRORINDLL when the library lacks
// the entry point, or the factory's own failure.
HRESULT CreateInstance(const Guid& clsid, const Guid& iid, void** out);

// The same from a library file named directly (tests, tools).
HRESULT CreateInstanceFromFile(const QString& libraryPath, const Guid& clsid, const Guid& iid,
                               void** out);

// Runs the library's DllRegisterServer / DllUnregisterServer.
HRESULT RegisterServerFile(const QString& libraryPath);
HRESULT UnregisterServerFile(const QString& libraryPath);

// Registers the library unless `clsid` is already registered with a file
// that exists: a missing key, or one naming a file that is gone, runs
// RegisterServerFile. S_FALSE when the key was valid and left alone;
// otherwise what the registration gave (LastLoadError tells why a library
// could not be loaded).
HRESULT RegisterServerFileWhenNeeded(const QString& libraryPath, const Guid& clsid);

// The text of the last loader failure (dlerror), for messages and logs.
QString LastLoadError();

// Typed convenience: CreateInstance<IBSP>(CLSID_BSP, bsp.PutVoid()) reads
// as well, but this keeps the interface and its identifier together.
template <class T>
HRESULT CreateInstance(const Guid& clsid, ComPtr<T>& out)
{
    return CreateInstance(clsid, T::IID, out.PutVoid());
}

}  // namespace Com
