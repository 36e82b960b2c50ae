#include "ComServer.h"

namespace Com {

QString ClassKeyPath(const Guid& clsid)
{
    return QStringLiteral("HKCR\\CLSID\\") + clsid.ToString();
}

QString InprocServerKeyPath(const Guid& clsid)
{
    return ClassKeyPath(clsid) + QStringLiteral("\\InprocServer32");
}

}  // namespace Com
