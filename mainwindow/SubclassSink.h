#pragma once

// The main window's subclass objects (FormSc, txtDemoSc, tabControlSc):
// made by class id and hooked to one of its widgets; their events reach
// the handlers set here. Without the subclassing library none is made and
// the control simply works without those events.

#include "ComTypes.h"
#include "Dadavive.h"

#include <functional>

class QObject;

class SubclassSink final : public Dadavive::SubclassEventsBase
{
public:
    std::function<void(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled)> onMouseDown;
    std::function<void(int16_t& minX, int16_t& maxX, int16_t& minY, int16_t& maxY)> onResizing;
    std::function<void(bool& handled, int32_t& result, int16_t key, int32_t menuType, intptr_t menu)> onMenuChar;
    std::function<void(int32_t modifiers, int32_t key)> onHotKeyPressed;

    void MouseDown(int32_t& Button, int32_t& Keys, int32_t PxX, int32_t PxY, bool& bHandled) override
    {
        if (onMouseDown)
            onMouseDown(Button, Keys, PxX, PxY, bHandled);
    }
    void Resizing(int16_t& MinX, int16_t& MaxX, int16_t& MinY, int16_t& MaxY) override
    {
        if (onResizing)
            onResizing(MinX, MaxX, MinY, MaxY);
    }
    void MenuChar(bool& bHandled, int32_t& mcReturn, int16_t iKey, int32_t mcMenuType, intptr_t hMenu) override
    {
        if (onMenuChar)
            onMenuChar(bHandled, mcReturn, iKey, mcMenuType, hMenu);
    }
    void HotKeyPressed(int32_t hkMod, int32_t hkKey) override
    {
        if (onHotKeyPressed)
            onHotKeyPressed(hkMod, hkKey);
    }
};

// A subclass object watching `target` with `sink`; null when the library
// is not registered or the object refuses the window.
Com::ComPtr<Dadavive::ICSubclass> MakeSubclass(QObject* target, SubclassSink* sink);
