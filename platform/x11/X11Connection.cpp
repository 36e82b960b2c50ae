#include "X11Connection.h"

#include <cstdlib>

#include <X11/Xlib.h>

namespace
{
int g_errors = 0;

int CountError(Display*, XErrorEvent*)
{
    ++g_errors;
    return 0;
}

Display* OpenOnce()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return nullptr;
    return XOpenDisplay(name);
}
}

namespace X11Connection
{
_XDisplay* Get()
{
    // Opened once and kept for the life of the process; a display that was
    // not there at the first call is not looked for again.
    static Display* display = OpenOnce();
    return display;
}

ErrorTrap::ErrorTrap(_XDisplay* display)
    : m_display(display), m_previous(nullptr), m_depthBefore(g_errors)
{
    if (m_display != nullptr) {
        XSync(m_display, False);
        m_depthBefore = g_errors;
        m_previous = reinterpret_cast<void*>(XSetErrorHandler(CountError));
    }
}

ErrorTrap::~ErrorTrap()
{
    if (m_display != nullptr) {
        XSync(m_display, False);
        XSetErrorHandler(reinterpret_cast<XErrorHandler>(m_previous));
    }
}

bool ErrorTrap::Failed()
{
    if (m_display == nullptr)
        return true;
    XSync(m_display, False);
    return g_errors != m_depthBefore;
}
}
