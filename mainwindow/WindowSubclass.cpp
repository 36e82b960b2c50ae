#include "WindowSubclass.h"

#include "ComClient.h"

Com::ComPtr<Dadavive::ICSubclass> HookWindow(QObject* window, WindowEvents* events)
{
    Com::ComPtr<Dadavive::ICSubclass> subclass;
    if (Com::Failed(Com::CreateInstance(Dadavive::CLSID_CSubclass, subclass)) || !subclass)
        return nullptr;
    subclass->SetEvents(events);
    if (Com::Failed(subclass->Init(window))) {
        subclass->Terminate();
        return nullptr;
    }
    return subclass;
}
