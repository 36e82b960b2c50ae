#include "ComClient.h"
#include "ComServer.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <mutex>

namespace Com {

namespace {

QString& LastError()
{
    static QString text;
    return text;
}

// Loads a library for good. RTLD_NODELETE keeps it mapped even when every
// handle is closed: a library that links Qt registers static state (meta
// objects, plugins) that must outlive the objects it made.
void* LoadLibrary(const QString& path)
{
    if (path.isEmpty()) {
        LastError() = QStringLiteral("no library file given");
        return nullptr;
    }
    const QByteArray native = QFile::encodeName(path);
    void* handle = dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* why = dlerror();
        LastError() = why ? QString::fromLocal8Bit(why) : QStringLiteral("cannot load ") + path;
    }
    return handle;
}

template <class Fn>
Fn Entry(void* handle, const char* name)
{
    dlerror();
    void* sym = dlsym(handle, name);
    if (!sym) {
        const char* why = dlerror();
        LastError() = why ? QString::fromLocal8Bit(why) : QString::fromLatin1(name) + QStringLiteral(" missing");
        return nullptr;
    }
    return reinterpret_cast<Fn>(sym);
}

}  // namespace

QString LastLoadError()
{
    return LastError();
}

HRESULT CreateInstanceFromFile(const QString& libraryPath, const Guid& clsid, const Guid& iid,
                               void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    void* handle = LoadLibrary(libraryPath);
    if (!handle)
        return CO_E_DLLNOTFOUND;
    auto getClassObject = Entry<DllGetClassObjectFn>(handle, "DllGetClassObject");
    // The handle may be closed: RTLD_NODELETE keeps the code mapped.
    if (!getClassObject) {
        dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(clsid, IClassFactory::IID, factory.PutVoid());
    dlclose(handle);
    if (Failed(hr))
        return hr;
    if (!factory)
        return E_UNEXPECTED;
    return factory->CreateInstance(nullptr, iid, out);
}

HRESULT CreateInstance(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const QString path = RegisteredServerPath(clsid);
    if (path.isEmpty())
        return REGDB_E_CLASSNOTREG;
    return CreateInstanceFromFile(path, clsid, iid, out);
}

namespace {
HRESULT RunRegistration(const QString& libraryPath, const char* entry)
{
    void* handle = LoadLibrary(libraryPath);
    if (!handle)
        return CO_E_DLLNOTFOUND;
    auto fn = Entry<DllRegisterServerFn>(handle, entry);
    const HRESULT hr = fn ? fn() : CO_E_ERRORINDLL;
    dlclose(handle);
    return hr;
}
}  // namespace

HRESULT RegisterServerFile(const QString& libraryPath)
{
    return RunRegistration(libraryPath, "DllRegisterServer");
}

HRESULT UnregisterServerFile(const QString& libraryPath)
{
    return RunRegistration(libraryPath, "DllUnregisterServer");
}

HRESULT RegisterServerFileWhenNeeded(const QString& libraryPath, const Guid& clsid)
{
    const QString registered = RegisteredServerPath(clsid);
    if (!registered.isEmpty() && QFileInfo(registered).isFile())
        return S_FALSE;
    return RegisterServerFile(libraryPath);
}

QString ModulePathOf(const void* address)
{
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

}  // namespace Com
