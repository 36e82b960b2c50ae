#include "X11KeyRepeat.h"

#include <QGuiApplication>

// X headers last: they define KeyPress, None and more.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace PlatformX11 {

bool UseDetectableAutoRepeat()
{
    auto* app = qGuiApp;
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr)
        return false;
    // The flag belongs to the connection: it must be Qt's, which reads the
    // key events, not the helpers' own.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    return supported == True;
}

}  // namespace PlatformX11
