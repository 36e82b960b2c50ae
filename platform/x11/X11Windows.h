#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// Top-level windows of the X server, ours and other programs' (the game's):
// finding them by title, class or process, reading and changing their state,
// activating and closing them. Every call opens nothing visible and fails
// quietly (0, false, the empty text) when there is no display or the window
// is gone; X errors are caught, never fatal.
//
// A handle is the X window id (for our own Qt windows it equals
// QWidget::winId() under the xcb platform); 0 means none.
namespace X11Windows
{
using Handle = std::uint64_t;

// The window state as the callers number it.
enum class State : int
{
    Normal = 0,
    Minimized = 1,
    Maximized = 2,
};

// True when an X display can be reached (DISPLAY set and the server answers).
bool Available();

// The name of the running window manager (_NET_SUPPORTING_WM_CHECK), empty
// when none runs. Without one, states and activation fall back to plain X
// calls and minimizing is not possible.
QString WindowManagerName();

// The top-level client windows in stacking order, bottom first. With a window
// manager its client list; without one the children of the root window.
// Unmapped windows are left out unless includeHidden is true.
QList<Handle> TopLevelWindows(bool includeHidden);

// The window's title (_NET_WM_NAME, else WM_NAME), empty when none.
QString Title(Handle window);
// The class part of WM_CLASS ("Quake3-UrT"), empty when none.
QString ClassName(Handle window);
// The instance part of WM_CLASS, empty when none.
QString InstanceName(Handle window);
// The process id the window declares (_NET_WM_PID), 0 when unknown.
std::int64_t ProcessId(Handle window);
// The owner (WM_TRANSIENT_FOR), 0 when none.
Handle Owner(Handle window);
// Makes owner the window's owner, so that the window manager keeps the
// window above it; owner 0 takes the owner away. For a window already shown,
// whose toolkit set (or left out) the owner when it was mapped.
bool SetOwner(Handle window, Handle owner);
// True when the window still exists.
bool Exists(Handle window);
// True when the window is mapped (viewable) or iconified by the manager.
bool IsShown(Handle window);

// The window's state; false when it cannot be read (no display, no window).
bool GetState(Handle window, State& state);
// Iconifies the window (needs a window manager). True when the request went out.
bool Minimize(Handle window);
// As the system's "restore": a minimized window comes back, active, in the
// state it had before (maximized stays maximized); any other is mapped and
// loses its maximization.
bool Restore(Handle window);
// Asks the window manager to maximize the window.
bool Maximize(Handle window);
// Raises the window and gives it the input focus (through the window manager
// when one runs).
bool Activate(Handle window);
// The window that has the focus as the manager sees it (_NET_ACTIVE_WINDOW),
// else the focus window's top-level; 0 when none.
Handle ActiveWindow();
// Asks the window to close itself (WM_DELETE_WINDOW when it takes part in
// that protocol, else the connection is not killed and false is returned).
bool RequestClose(Handle window);
}
