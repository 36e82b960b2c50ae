// The library's four entry points. Only these are exported (see
// CMakeLists.txt); everything else, including the copies of the platform
// layer inside the library, stays private to it.

#include "CSubclass.h"
#include "ComServer.h"

namespace {

Com::ModuleLock& Module()
{
    static Com::ModuleLock lock;
    return lock;
}

Com::ClassRegistration Registration()
{
    return {Dadavive::CLSID_CSubclass, QStringLiteral("Dadavive.CSubclass"), QStringLiteral("Dadavive.CSubclass"),
            QString(), QStringLiteral("Apartment")};
}

}  // namespace

extern "C" RUV_COM_EXPORT Com::HRESULT DllGetClassObject(const Com::Guid& clsid, const Com::Guid& iid, void** out)
{
    return Com::GetClassObjectFor<Dadavive::CSubclass>(clsid, Dadavive::CLSID_CSubclass, &Module(), iid, out);
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllCanUnloadNow()
{
    return Module().CanUnload() ? Com::S_OK : Com::S_FALSE;
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllRegisterServer()
{
    return Com::RegisterClass(Registration(), Com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllUnregisterServer()
{
    return Com::UnregisterClass(Registration());
}
