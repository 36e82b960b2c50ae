#include "SubclassSink.h"

#include "ComClient.h"

Com::ComPtr<Dadavive::ICSubclass> MakeSubclass(QObject* target, SubclassSink* sink)
{
    Com::ComPtr<Dadavive::ICSubclass> subclass;
    if (Com::Failed(Com::CreateInstance(Dadavive::CLSID_CSubclass, subclass)) || !subclass)
        return nullptr;
    subclass->SetEvents(sink);
    if (Com::Failed(subclass->Init(target))) {
        subclass->Terminate();
        return nullptr;
    }
    return subclass;
}
