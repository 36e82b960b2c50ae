// The library's four entry points. Only these are exported (see
// CMakeLists.txt); everything else, the copies of the platform layer
// included, stays private to the library.

#include "CBSP.h"
#include "ComSingleClassServer.h"

RUV_COM_SINGLE_CLASS_SERVER(Dorado::CBSP,
                            (Com::ClassRegistration{Dorado::CLSID_BSP, QStringLiteral("BSP Class"),
                                                    QStringLiteral("Dorado.BSP.1"), QStringLiteral("Dorado.BSP"),
                                                    QStringLiteral("both")}))
