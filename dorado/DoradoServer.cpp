// The library's four entry points. Only these are exported (see
// CMakeLists.txt); everything else, the copies of the platform layer
// included, stays private to the library.

#include "CBSP.h"
#include "ComServer.h"

namespace {

Com::ModuleLock& Module()
{
    static Com::ModuleLock lock;
    return lock;
}

Com::ClassRegistration Registration()
{
    return {Dorado::CLSID_BSP, QStringLiteral("BSP Class"), QStringLiteral("Dorado.BSP.1"),
            QStringLiteral("Dorado.BSP"), QStringLiteral("both")};
}

}  // namespace

extern "C" RUV_COM_EXPORT Com::HRESULT DllGetClassObject(const Com::Guid& clsid, const Com::Guid& iid, void** out)
{
    return Com::GetClassObjectFor<Dorado::CBSP>(clsid, Dorado::CLSID_BSP, &Module(), iid, out);
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
