// The library's four entry points. Only these are exported (see
// CMakeLists.txt); everything else, including the copies of the platform
// layer inside the library, stays private to it.

#include "CSubclass.h"
#include "ComSingleClassServer.h"

RUV_COM_SINGLE_CLASS_SERVER(Dadavive::CSubclass,
                            (Com::ClassRegistration{Dadavive::CLSID_CSubclass, QStringLiteral("Dadavive.CSubclass"),
                                                    QStringLiteral("Dadavive.CSubclass"), QString(),
                                                    QStringLiteral("Apartment")}))
