#pragma once

// The subclass objects (FormSc) of the secondary windows - the about box,
// the notes and the demo browser - with the few events each one handles.
// Without the subclassing library none is made, and the window works
// without those events.

#include "ComTypes.h"
#include "Dadavive.h"

#include <functional>

class QObject;

class WindowEvents final : public Dadavive::SubclassEventsBase
{
public:
    std::function<void(int32_t message)> onAllMessages;
    std::function<void()> onMove;
    std::function<void(int16_t& minX, int16_t& maxX, int16_t& minY, int16_t& maxY)> onResizing;

    void AllMessages(intptr_t&, int32_t uMsg, intptr_t, intptr_t) override
    {
        if (onAllMessages)
            onAllMessages(uMsg);
    }
    void Move(int16_t&, int16_t&) override
    {
        if (onMove)
            onMove();
    }
    void Resizing(int16_t& minX, int16_t& maxX, int16_t& minY, int16_t& maxY) override
    {
        if (onResizing)
            onResizing(minX, maxX, minY, maxY);
    }
};

// A subclass object made by class id and hooked to the window with the
// events; null when the library is not registered or refuses the window.
Com::ComPtr<Dadavive::ICSubclass> HookWindow(QObject* window, WindowEvents* events);
