#pragma once

// The server side of a component library: the four entry points every
// library exports, and its registration in the settings store under
// "HKCR\CLSID\{...}" (with "InprocServer32" naming the library file) and
// "HKCR\<ProgID>".
//
// A library defines the entry points with these exact signatures:
//
//   extern "C" RUV_COM_EXPORT Com::HRESULT DllGetClassObject(const Com::Guid& clsid,
//                                                            const Com::Guid& iid, void** out);
//   extern "C" RUV_COM_EXPORT Com::HRESULT DllCanUnloadNow();
//   extern "C" RUV_COM_EXPORT Com::HRESULT DllRegisterServer();
//   extern "C" RUV_COM_EXPORT Com::HRESULT DllUnregisterServer();
//
// and is built with hidden symbols, so that nothing but these four is seen
// by the program (the copies of shared code inside it stay its own).

#include "ComTypes.h"

#include <QString>

#define RUV_COM_EXPORT __attribute__((visibility("default")))

namespace Com {

using DllGetClassObjectFn = HRESULT (*)(const Guid& clsid, const Guid& iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

// What a library enters for one creatable class.
struct ClassRegistration
{
    Guid clsid;
    QString name;                     // default value of the class key ("BSP Class")
    QString progId;                   // "Dorado.BSP.1"; empty for none
    QString versionIndependentProgId; // "Dorado.BSP"; empty for none
    QString threadingModel;           // "both", "Apartment"; empty for none
};

// The key of a class: "HKCR\CLSID\{...}".
QString ClassKeyPath(const Guid& clsid);
// The key naming its library: "HKCR\CLSID\{...}\InprocServer32".
QString InprocServerKeyPath(const Guid& clsid);

// Enters the class with `modulePath` as its library. Gives S_OK, or
// SELFREG_E_CLASS when the store could not be written.
HRESULT RegisterClass(const ClassRegistration& reg, const QString& modulePath);
// Removes the class key (whole) and its ProgID keys; "HKCR\CLSID" itself
// stays. A class that is not registered is no error.
HRESULT UnregisterClass(const ClassRegistration& reg);

// The absolute path of the library (or program) holding `address`; empty
// when it cannot be told. A library passes the address of one of its own
// functions.
QString ModulePathOf(const void* address);

}  // namespace Com
