#pragma once

// The connection that the window and key helpers share. It is our own,
// separate from Qt's, so that their requests work whatever Qt platform runs
// and their errors never reach Qt's handler. Internal to platform/x11.

struct _XDisplay;

namespace X11Connection
{
// The display, opened on first use; nullptr when there is none.
_XDisplay* Get();

// Catches X errors for its lifetime. Xlib's default handler ends the
// process, so every request that can fail on another client's window runs
// inside one of these; the destructor syncs and puts the former handler back.
class ErrorTrap
{
public:
    explicit ErrorTrap(_XDisplay* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Syncs with the server and tells whether an error arrived since the
    // trap was set.
    bool Failed();

private:
    _XDisplay* m_display;
    void* m_previous;
    int m_depthBefore;
};
}
