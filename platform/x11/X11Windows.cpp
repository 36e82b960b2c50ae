#include "X11Windows.h"

#include "X11Connection.h"

#include <QByteArray>

#include <vector>

// X11 last: its macros (None, Status, Bool...) break Qt headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{
using X11Windows::Handle;

Display* Dpy()
{
    return X11Connection::Get();
}

Atom Intern(Display* dpy, const char* name)
{
    return XInternAtom(dpy, name, False);
}

// The raw items of a property (8, 16 or 32 bits each; 32-bit items come as
// long from Xlib), empty when the property is missing or of another type.
struct Property
{
    Atom type = 0;
    int format = 0;
    std::vector<unsigned char> bytes8;
    std::vector<unsigned long> items32;
};

Property ReadProperty(Display* dpy, Window window, Atom name, Atom wanted)
{
    Property result;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    X11Connection::ErrorTrap trap(dpy);
    // 64k items is far more than any title or client list of a desktop.
    const int status = XGetWindowProperty(dpy, window, name, 0, 65536, False, wanted, &type,
                                          &format, &count, &after, &data);
    if (status != Success || trap.Failed() || data == nullptr) {
        if (data != nullptr)
            XFree(data);
        return result;
    }
    result.type = type;
    result.format = format;
    if (wanted == AnyPropertyType || type == wanted) {
        if (format == 8) {
            result.bytes8.assign(data, data + count);
        } else if (format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            result.items32.assign(items, items + count);
        }
    }
    XFree(data);
    return result;
}

Window RootOf(Display* dpy)
{
    return DefaultRootWindow(dpy);
}

bool WindowAttributes(Display* dpy, Window window, XWindowAttributes& attributes)
{
    if (window == 0)
        return false;
    X11Connection::ErrorTrap trap(dpy);
    const bool ok = XGetWindowAttributes(dpy, window, &attributes) != 0;
    return ok && !trap.Failed();
}

bool HasAtom(const Property& property, Atom atom)
{
    for (unsigned long item : property.items32) {
        if (item == atom)
            return true;
    }
    return false;
}

// Sends a client message to the root window, the way
// EWMH asks for state and activation requests.
bool SendRootMessage(Display* dpy, Window window, const char* type, long d0, long d1, long d2,
                     long d3 = 0)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.serial = 0;
    event.xclient.send_event = True;
    event.xclient.display = dpy;
    event.xclient.window = window;
    event.xclient.message_type = Intern(dpy, type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = d0;
    event.xclient.data.l[1] = d1;
    event.xclient.data.l[2] = d2;
    event.xclient.data.l[3] = d3;
    X11Connection::ErrorTrap trap(dpy);
    const Status sent = XSendEvent(dpy, RootOf(dpy), False,
                                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    return sent != 0 && !trap.Failed();
}

bool ManagerRuns(Display* dpy)
{
    return !X11Windows::WindowManagerName().isEmpty() && dpy != nullptr;
}

QString TextProperty(Display* dpy, Window window, const char* name, const char* type, bool utf8)
{
    const Property p = ReadProperty(dpy, window, Intern(dpy, name), Intern(dpy, type));
    if (p.bytes8.empty())
        return {};
    const auto* text = reinterpret_cast<const char*>(p.bytes8.data());
    const auto size = static_cast<qsizetype>(p.bytes8.size());
    return utf8 ? QString::fromUtf8(text, size) : QString::fromLatin1(text, size);
}

void ClassHint(Handle window, QString& instance, QString& className)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || window == 0)
        return;
    // WM_CLASS: two NUL-terminated texts, instance first.
    const Property p = ReadProperty(dpy, window, XA_WM_CLASS, XA_STRING);
    if (p.bytes8.empty())
        return;
    const QByteArray raw(reinterpret_cast<const char*>(p.bytes8.data()),
                         static_cast<qsizetype>(p.bytes8.size()));
    const QList<QByteArray> parts = raw.split('\0');
    if (!parts.isEmpty())
        instance = QString::fromLatin1(parts.value(0));
    if (parts.size() > 1)
        className = QString::fromLatin1(parts.value(1));
}

bool IsIconic(Display* dpy, Window window)
{
    const Atom wmState = Intern(dpy, "WM_STATE");
    const Property state = ReadProperty(dpy, window, wmState, wmState);
    if (!state.items32.empty() && state.items32.front() == IconicState)
        return true;
    const Property net = ReadProperty(dpy, window, Intern(dpy, "_NET_WM_STATE"), XA_ATOM);
    return HasAtom(net, Intern(dpy, "_NET_WM_STATE_HIDDEN"));
}
}

namespace X11Windows
{
bool Available()
{
    return Dpy() != nullptr;
}

QString WindowManagerName()
{
    Display* dpy = Dpy();
    if (dpy == nullptr)
        return {};
    const Atom check = Intern(dpy, "_NET_SUPPORTING_WM_CHECK");
    const Property root = ReadProperty(dpy, RootOf(dpy), check, XA_WINDOW);
    if (root.items32.empty())
        return {};
    const Window child = root.items32.front();
    // A manager that died leaves the property behind; its window must point
    // to itself to count.
    const Property self = ReadProperty(dpy, child, check, XA_WINDOW);
    if (self.items32.empty() || self.items32.front() != child)
        return {};
    QString name = TextProperty(dpy, child, "_NET_WM_NAME", "UTF8_STRING", true);
    return name.isEmpty() ? QStringLiteral("unnamed") : name;
}

QList<Handle> TopLevelWindows(bool includeHidden)
{
    QList<Handle> result;
    Display* dpy = Dpy();
    if (dpy == nullptr)
        return result;
    const Window root = RootOf(dpy);
    if (ManagerRuns(dpy)) {
        Property list = ReadProperty(dpy, root, Intern(dpy, "_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
        if (list.items32.empty())
            list = ReadProperty(dpy, root, Intern(dpy, "_NET_CLIENT_LIST"), XA_WINDOW);
        for (unsigned long w : list.items32)
            result.append(w);
        if (!includeHidden)
            return result;
    }
    // Without a manager the clients are the root's children; with one, the
    // withdrawn (hidden) clients are found there too.
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    {
        X11Connection::ErrorTrap trap(dpy);
        if (XQueryTree(dpy, root, &rootReturn, &parent, &children, &count) == 0 || trap.Failed()) {
            if (children != nullptr)
                XFree(children);
            return result;
        }
    }
    const bool manager = !result.isEmpty() || ManagerRuns(dpy);
    for (unsigned int i = 0; i < count; ++i) {
        const Window w = children[i];
        if (result.contains(w))
            continue;
        XWindowAttributes attributes{};
        if (!WindowAttributes(dpy, w, attributes) || attributes.c_class == InputOnly)
            continue;
        const bool viewable = attributes.map_state == IsViewable;
        if (manager) {
            // Frames of the manager are viewable; withdrawn clients are not.
            if (viewable)
                continue;
        } else if (!viewable && !includeHidden) {
            continue;
        }
        result.append(w);
    }
    if (children != nullptr)
        XFree(children);
    return result;
}

QString Title(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || window == 0)
        return {};
    QString title = TextProperty(dpy, window, "_NET_WM_NAME", "UTF8_STRING", true);
    if (title.isEmpty())
        title = TextProperty(dpy, window, "WM_NAME", "STRING", false);
    if (title.isEmpty())
        title = TextProperty(dpy, window, "WM_NAME", "UTF8_STRING", true);
    return title;
}

QString ClassName(Handle window)
{
    QString instance, className;
    ClassHint(window, instance, className);
    return className;
}

QString InstanceName(Handle window)
{
    QString instance, className;
    ClassHint(window, instance, className);
    return instance;
}

std::int64_t ProcessId(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || window == 0)
        return 0;
    const Property p = ReadProperty(dpy, window, Intern(dpy, "_NET_WM_PID"), XA_CARDINAL);
    return p.items32.empty() ? 0 : static_cast<std::int64_t>(p.items32.front());
}

Handle Owner(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || window == 0)
        return 0;
    const Property p = ReadProperty(dpy, window, XA_WM_TRANSIENT_FOR, XA_WINDOW);
    if (p.items32.empty() || p.items32.front() == RootOf(dpy))
        return 0;
    return p.items32.front();
}

bool SetOwner(Handle window, Handle owner)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window) || (owner != 0 && !Exists(owner)))
        return false;
    X11Connection::ErrorTrap trap(dpy);
    if (owner != 0)
        XSetTransientForHint(dpy, window, owner);
    else
        XDeleteProperty(dpy, window, XA_WM_TRANSIENT_FOR);
    XFlush(dpy);
    return !trap.Failed();
}

bool Exists(Handle window)
{
    Display* dpy = Dpy();
    XWindowAttributes attributes{};
    return dpy != nullptr && WindowAttributes(dpy, window, attributes);
}

bool IsShown(Handle window)
{
    Display* dpy = Dpy();
    XWindowAttributes attributes{};
    if (dpy == nullptr || !WindowAttributes(dpy, window, attributes))
        return false;
    return attributes.map_state == IsViewable || IsIconic(dpy, window);
}

bool GetState(Handle window, State& state)
{
    Display* dpy = Dpy();
    XWindowAttributes attributes{};
    if (dpy == nullptr || !WindowAttributes(dpy, window, attributes))
        return false;
    state = State::Normal;
    if (IsIconic(dpy, window)) {
        state = State::Minimized;
        return true;
    }
    const Property net = ReadProperty(dpy, window, Intern(dpy, "_NET_WM_STATE"), XA_ATOM);
    if (HasAtom(net, Intern(dpy, "_NET_WM_STATE_MAXIMIZED_VERT")) &&
        HasAtom(net, Intern(dpy, "_NET_WM_STATE_MAXIMIZED_HORZ")))
        state = State::Maximized;
    return true;
}

bool Minimize(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window) || !ManagerRuns(dpy))
        return false;
    X11Connection::ErrorTrap trap(dpy);
    const Status sent = XIconifyWindow(dpy, window, DefaultScreen(dpy));
    return sent != 0 && !trap.Failed();
}

bool Restore(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window))
        return false;
    if (ManagerRuns(dpy)) {
        if (IsIconic(dpy, window)) {
            // Back in the state it had, and active, as the system restores.
            // Through the manager, which handles it after it has finished
            // iconifying: a map request could come while the window is
            // still mapped, and do nothing.
            SendRootMessage(dpy, window, "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0);
        } else {
            SendRootMessage(dpy, window, "_NET_WM_STATE", 0 /* remove */,
                            static_cast<long>(Intern(dpy, "_NET_WM_STATE_MAXIMIZED_VERT")),
                            static_cast<long>(Intern(dpy, "_NET_WM_STATE_MAXIMIZED_HORZ")), 1);
        }
    }
    X11Connection::ErrorTrap trap(dpy);
    // Without a manager, mapping an iconic window takes it back.
    XMapRaised(dpy, window);
    return !trap.Failed();
}

bool Maximize(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window) || !ManagerRuns(dpy))
        return false;
    return SendRootMessage(dpy, window, "_NET_WM_STATE", 1 /* add */,
                           static_cast<long>(Intern(dpy, "_NET_WM_STATE_MAXIMIZED_VERT")),
                           static_cast<long>(Intern(dpy, "_NET_WM_STATE_MAXIMIZED_HORZ")), 1);
}

bool Activate(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window))
        return false;
    if (ManagerRuns(dpy)) {
        // Source 2: a pager-like tool acting for the user, which managers
        // obey without focus-stealing checks.
        return SendRootMessage(dpy, window, "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0);
    }
    X11Connection::ErrorTrap trap(dpy);
    XMapRaised(dpy, window);
    XRaiseWindow(dpy, window);
    XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
    return !trap.Failed();
}

Handle ActiveWindow()
{
    Display* dpy = Dpy();
    if (dpy == nullptr)
        return 0;
    const Window root = RootOf(dpy);
    if (ManagerRuns(dpy)) {
        const Property p = ReadProperty(dpy, root, Intern(dpy, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
        return p.items32.empty() ? 0 : p.items32.front();
    }
    Window focus = 0;
    int revert = 0;
    X11Connection::ErrorTrap trap(dpy);
    XGetInputFocus(dpy, &focus, &revert);
    // Climb from the focused (perhaps inner) window to the root's child.
    while (focus != 0 && focus != PointerRoot && focus != root) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy, focus, &rootReturn, &parent, &children, &count) == 0)
            return 0;
        if (children != nullptr)
            XFree(children);
        if (parent == root)
            return trap.Failed() ? 0 : focus;
        focus = parent;
    }
    return 0;
}

bool RequestClose(Handle window)
{
    Display* dpy = Dpy();
    if (dpy == nullptr || !Exists(window))
        return false;
    const Atom protocols = Intern(dpy, "WM_PROTOCOLS");
    const Atom deleteWindow = Intern(dpy, "WM_DELETE_WINDOW");
    const Property p = ReadProperty(dpy, window, protocols, XA_ATOM);
    if (!HasAtom(p, deleteWindow))
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    X11Connection::ErrorTrap trap(dpy);
    const Status sent = XSendEvent(dpy, window, False, NoEventMask, &event);
    return sent != 0 && !trap.Failed();
}
}
