// Registration of component classes in the settings store, under the
// classes root as the platform kept it:
//   HKCR\CLSID\{...}                  (default) = class name; ProgID; VersionIndependentProgID
//   HKCR\CLSID\{...}\InprocServer32   (default) = library path; ThreadingModel
//   HKCR\<ProgID>                     (default) = class name
//   HKCR\<ProgID>\CLSID               (default) = {...}

#include "ComClient.h"
#include "ComServer.h"
#include "RegistryStore.h"

namespace Com {

using RuvPlatform::RegistryHive;
using RuvPlatform::RegistryStore;
using RuvPlatform::RegistryValue;

namespace {

QString SubkeyOf(const QString& path)
{
    RegistryHive hive;
    QString subkey;
    RuvPlatform::SplitRegistryPath(path, hive, subkey);
    return subkey;
}

bool SetText(RegistryStore& store, const QString& subkey, const QString& name, const QString& text)
{
    return store.SetValue(RegistryHive::ClassesRoot, subkey, name, RegistryValue::MakeText(text));
}

bool RegisterProgId(RegistryStore& store, const QString& progId, const ClassRegistration& reg)
{
    if (progId.isEmpty())
        return true;
    return SetText(store, progId, QString(), reg.name)
           && SetText(store, progId + QStringLiteral("\\CLSID"), QString(), reg.clsid.ToString());
}

}  // namespace

HRESULT RegisterClass(const ClassRegistration& reg, const QString& modulePath)
{
    if (modulePath.isEmpty())
        return SELFREG_E_CLASS;
    RegistryStore& store = RegistryStore::Instance();
    const QString classKey = SubkeyOf(ClassKeyPath(reg.clsid));
    const QString serverKey = SubkeyOf(InprocServerKeyPath(reg.clsid));
    bool ok = SetText(store, classKey, QString(), reg.name);
    if (ok && !reg.progId.isEmpty())
        ok = SetText(store, classKey, QStringLiteral("ProgID"), reg.progId);
    if (ok && !reg.versionIndependentProgId.isEmpty())
        ok = SetText(store, classKey, QStringLiteral("VersionIndependentProgID"), reg.versionIndependentProgId);
    if (ok)
        ok = SetText(store, serverKey, QString(), modulePath);
    if (ok && !reg.threadingModel.isEmpty())
        ok = SetText(store, serverKey, QStringLiteral("ThreadingModel"), reg.threadingModel);
    if (ok)
        ok = RegisterProgId(store, reg.progId, reg) && RegisterProgId(store, reg.versionIndependentProgId, reg);
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterClass(const ClassRegistration& reg)
{
    RegistryStore& store = RegistryStore::Instance();
    const QString classKey = SubkeyOf(ClassKeyPath(reg.clsid));
    bool ok = true;
    auto remove = [&](const QString& subkey) {
        if (!subkey.isEmpty() && store.KeyExists(RegistryHive::ClassesRoot, subkey))
            ok = store.DeleteKey(RegistryHive::ClassesRoot, subkey) && ok;
    };
    remove(classKey);
    remove(reg.progId);
    remove(reg.versionIndependentProgId);
    return ok ? S_OK : SELFREG_E_CLASS;
}

QString RegisteredServerPath(const Guid& clsid)
{
    const auto value = RegistryStore::Instance().Value(RegistryHive::ClassesRoot,
                                                       SubkeyOf(InprocServerKeyPath(clsid)), QString());
    if (!value)
        return {};
    if (value->type != RuvPlatform::RegistryType::Text && value->type != RuvPlatform::RegistryType::ExpandText)
        return {};
    return value->text;
}

}  // namespace Com
