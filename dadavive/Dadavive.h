#pragma once

// The subclassing library's public face: the class CSubclass, which watches
// one window (a QWidget or a QWindow) and raises chosen window messages as
// events, before or after the window's own handling, and registers one
// system-wide hot key for it.
//
// The program creates the object by class id through the component layer:
//
//   Com::ComPtr<Dadavive::ICSubclass> sc;
//   Com::CreateInstance(Dadavive::CLSID_CSubclass, sc);
//   sc->SetEvents(mySink); sc->Init(widget); sc->SetMouseDown(true);
//   ...
//   sc->Terminate();   // before the last reference goes
//
// The interface names stand for the class's default interface and its
// event interface.

#include "ComObject.h"
#include "ComTypes.h"
#include "DadaviveMessages.h"

#include <cstdint>

class QObject;

namespace Dadavive {

constexpr Com::Guid CLSID_CSubclass = Com::MakeGuid("{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}");

enum eMouseKeys : int32_t {
    MK_LBUTTON = 1,
    MK_RBUTTON = 2,
    MK_SHIFT = 4,
    MK_CONTROL = 8,
    MK_MBUTTON = 16,
    MK_ALT = 32,
    MK_XBUTTON1 = 32,
    MK_XBUTTON2 = 64,
};

enum eMenuReturn : int32_t { MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3 };

enum eMenuType : int32_t { MF_POPUP = 16, MF_SYSMENU = 8192 };

enum eHotKeyModifiers : int32_t { hkmNone = 0, hkmAlt = 1, hkmControl = 2, hkmShift = 4, hkmWin = 8 };

// The events. Reference parameters may be changed by the handler. All are
// raised synchronously from inside the window's event handling.
class ICSubclassEvents : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{A580B006-B07B-4AF9-B1DB-2DF0F81B0163}");

    virtual void AllMessagesBefore(bool& bHandled, intptr_t& lReturn, int32_t uMsg, intptr_t lParam,
                                   intptr_t wParam) = 0;
    virtual void AllMessages(intptr_t& lReturn, int32_t uMsg, intptr_t lParam, intptr_t wParam) = 0;
    // Distance in wheel notches, X and Y the pointer on the screen, Keys the
    // eMouseKeys flags.
    virtual void MouseWheel(int32_t& Distance, int32_t& X, int32_t& Y, int32_t& Keys) = 0;
    // Button 1 left, 2 right, 4 middle; Keys 1 Shift, 2 Ctrl, 4 Alt; PxX, PxY
    // in pixels of the window's client area.
    virtual void MouseDown(int32_t& Button, int32_t& Keys, int32_t PxX, int32_t PxY, bool& bHandled) = 0;
    // The window's size limits in pixels.
    virtual void Resizing(int16_t& MinX, int16_t& MaxX, int16_t& MinY, int16_t& MaxY) = 0;
    virtual void Move(int16_t& X, int16_t& Y) = 0;
    virtual void Paint() = 0;
    virtual void PaintBefore(bool& bHandled, intptr_t& lReturn, intptr_t lParam, intptr_t wParam) = 0;
    virtual void MenuChar(bool& bHandled, int32_t& mcReturn, int16_t iKey, int32_t mcMenuType,
                          intptr_t hMenu) = 0;
    virtual void Command(intptr_t& lReturn, intptr_t lParam, intptr_t wParam) = 0;
    virtual void HotKeyPressed(int32_t hkMod, int32_t hkKey) = 0;

protected:
    ~ICSubclassEvents() = default;
};

// A sink whose events all do nothing: derive and override what you need.
// It starts with one reference (see Com::Object).
class SubclassEventsBase : public Com::Object<ICSubclassEvents>
{
public:
    void AllMessagesBefore(bool&, intptr_t&, int32_t, intptr_t, intptr_t) override {}
    void AllMessages(intptr_t&, int32_t, intptr_t, intptr_t) override {}
    void MouseWheel(int32_t&, int32_t&, int32_t&, int32_t&) override {}
    void MouseDown(int32_t&, int32_t&, int32_t, int32_t, bool&) override {}
    void Resizing(int16_t&, int16_t&, int16_t&, int16_t&) override {}
    void Move(int16_t&, int16_t&) override {}
    void Paint() override {}
    void PaintBefore(bool&, intptr_t&, intptr_t, intptr_t) override {}
    void MenuChar(bool&, int32_t&, int16_t, int32_t, intptr_t) override {}
    void Command(intptr_t&, intptr_t, intptr_t) override {}
    void HotKeyPressed(int32_t, int32_t) override {}
};

class ICSubclass : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{544C9379-C3D4-4FCA-A144-67BB0CDDA7A0}");

    // Watches `window`, a QWidget or a QWindow. E_INVALIDARG for anything
    // else; E_UNEXPECTED when this object already watches a window (the
    // first one stays watched) or has been terminated.
    virtual Com::HRESULT Init(QObject* window) = 0;
    // Unregisters the hot key and stops watching. Only the first call acts;
    // no event is raised after it.
    virtual void Terminate() = 0;

    virtual bool AllMessagesBefore() const = 0;
    virtual void SetAllMessagesBefore(bool on) = 0;
    virtual bool AllMessages() const = 0;
    virtual void SetAllMessages(bool on) = 0;
    virtual bool MouseWheel() const = 0;
    virtual void SetMouseWheel(bool on) = 0;
    virtual bool MouseDown() const = 0;
    virtual void SetMouseDown(bool on) = 0;
    virtual bool Resizing() const = 0;
    virtual void SetResizing(bool on) = 0;
    virtual bool Move() const = 0;
    virtual void SetMove(bool on) = 0;
    virtual bool Paint() const = 0;
    virtual void SetPaint(bool on) = 0;
    virtual bool PaintBefore() const = 0;
    virtual void SetPaintBefore(bool on) = 0;
    virtual bool MenuChar() const = 0;
    virtual void SetMenuChar(bool on) = 0;
    virtual bool Command() const = 0;
    virtual void SetCommand(bool on) = 0;

    // hkMod: eHotKeyModifiers; hkKey: a virtual key code. True when the key
    // could be grabbed; false when another program holds it (or there is no
    // X display).
    virtual bool HotKeyRegister(int32_t hkMod, int32_t hkKey) = 0;
    // False when no hot key was registered.
    virtual bool HotKeyUnregister() = 0;

    // The client's event sink; null clears it. The object keeps a reference.
    virtual void SetEvents(ICSubclassEvents* sink) = 0;

protected:
    ~ICSubclass() = default;
};

}  // namespace Dadavive
