#include "X11HotKey.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

// X headers last: they define KeyPress, None and more.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace PlatformX11 {

struct X11HotKey::Grab
{
    unsigned keycode = 0;
    unsigned mods = 0;
    Callback callback;
};

namespace {

Display* QtDisplay()
{
    auto* app = qGuiApp;
    if (!app)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

KeySym KeySymOfVirtualKey(uint32_t vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return XK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return XK_0 + (vk - '0');
    if (vk >= 0x60 && vk <= 0x69)
        return XK_KP_0 + (vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87)
        return XK_F1 + (vk - 0x70);
    switch (vk) {
    case 0x08: return XK_BackSpace;
    case 0x09: return XK_Tab;
    case 0x0D: return XK_Return;
    case 0x13: return XK_Pause;
    case 0x1B: return XK_Escape;
    case 0x20: return XK_space;
    case 0x21: return XK_Prior;
    case 0x22: return XK_Next;
    case 0x23: return XK_End;
    case 0x24: return XK_Home;
    case 0x25: return XK_Left;
    case 0x26: return XK_Up;
    case 0x27: return XK_Right;
    case 0x28: return XK_Down;
    case 0x2C: return XK_Print;
    case 0x2D: return XK_Insert;
    case 0x2E: return XK_Delete;
    case 0x6A: return XK_KP_Multiply;
    case 0x6B: return XK_KP_Add;
    case 0x6D: return XK_KP_Subtract;
    case 0x6E: return XK_KP_Decimal;
    case 0x6F: return XK_KP_Divide;
    case 0x91: return XK_Scroll_Lock;
    case 0xBA: return XK_semicolon;
    case 0xBB: return XK_equal;
    case 0xBC: return XK_comma;
    case 0xBD: return XK_minus;
    case 0xBE: return XK_period;
    case 0xBF: return XK_slash;
    case 0xC0: return XK_grave;
    case 0xDB: return XK_bracketleft;
    case 0xDC: return XK_backslash;
    case 0xDD: return XK_bracketright;
    case 0xDE: return XK_apostrophe;
    default: return NoSymbol;
    }
}

unsigned ModMask(uint32_t modifiers)
{
    unsigned mask = 0;
    if (modifiers & HotKeyAlt)
        mask |= Mod1Mask;
    if (modifiers & HotKeyControl)
        mask |= ControlMask;
    if (modifiers & HotKeyShift)
        mask |= ShiftMask;
    if (modifiers & HotKeyWin)
        mask |= Mod4Mask;
    return mask;
}

unsigned NumLockMask(Display* dpy)
{
    unsigned mask = 0;
    const KeyCode numLock = XKeysymToKeycode(dpy, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(dpy);
    if (!map)
        return Mod2Mask;
    for (int m = 0; m < 8 && numLock; ++m)
        for (int k = 0; k < map->max_keypermod; ++k)
            if (map->modifiermap[m * map->max_keypermod + k] == numLock)
                mask = 1u << m;
    XFreeModifiermap(map);
    return mask ? mask : Mod2Mask;
}

// Xlib's default error handler ends the process; a grab that another
// client holds answers BadAccess, which must only fail the registration.
int g_grabError = 0;
int RecordError(Display*, XErrorEvent* e)
{
    g_grabError = e->error_code;
    return 0;
}

class HotKeyFilter final : public QAbstractNativeEventFilter
{
public:
    static HotKeyFilter& Instance()
    {
        static HotKeyFilter* filter = [] {
            auto* f = new HotKeyFilter;
            qGuiApp->installNativeEventFilter(f);
            return f;
        }();
        return *filter;
    }

    void Add(const std::shared_ptr<X11HotKey::Grab>& g) { m_grabs.push_back(g); }
    void Remove(const X11HotKey::Grab* g)
    {
        m_grabs.erase(std::remove_if(m_grabs.begin(), m_grabs.end(),
                                     [g](const std::weak_ptr<X11HotKey::Grab>& w) {
                                         auto s = w.lock();
                                         return !s || s.get() == g;
                                     }),
                      m_grabs.end());
    }
    unsigned lockMask = LockMask | Mod2Mask;
    xcb_window_t root = 0;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || m_grabs.empty())
            return false;
        auto* ev = static_cast<xcb_generic_event_t*>(message);
        if ((ev->response_type & 0x7F) != XCB_KEY_PRESS)
            return false;
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(ev);
        if (key->event != root)
            return false;
        const unsigned state = key->state & ~lockMask & (ShiftMask | ControlMask | Mod1Mask | Mod4Mask);
        // Copies: a callback may unregister (itself or another key).
        std::vector<std::shared_ptr<X11HotKey::Grab>> hits;
        for (const auto& w : m_grabs)
            if (auto g = w.lock(); g && g->keycode == key->detail && g->mods == state)
                hits.push_back(g);
        for (const auto& g : hits)
            if (g->callback)
                g->callback();
        return !hits.empty();
    }

private:
    std::vector<std::weak_ptr<X11HotKey::Grab>> m_grabs;
};

void Ungrab(Display* dpy, const X11HotKey::Grab& g, unsigned numLock)
{
    const Window root = DefaultRootWindow(dpy);
    const unsigned variants[] = {0u, LockMask, numLock, LockMask | numLock};
    for (unsigned v : variants)
        XUngrabKey(dpy, static_cast<int>(g.keycode), g.mods | v, root);
    XSync(dpy, False);
}

}  // namespace

X11HotKey::X11HotKey() = default;

X11HotKey::~X11HotKey()
{
    Unregister();
}

bool X11HotKey::Available()
{
    return QtDisplay() != nullptr;
}

bool X11HotKey::IsRegistered() const
{
    return m_grab != nullptr;
}

bool X11HotKey::Register(uint32_t modifiers, uint32_t virtualKey, Callback onPressed)
{
    Unregister();
    Display* dpy = QtDisplay();
    if (!dpy)
        return false;
    const KeySym sym = KeySymOfVirtualKey(virtualKey);
    if (sym == NoSymbol)
        return false;
    const KeyCode code = XKeysymToKeycode(dpy, sym);
    if (code == 0)
        return false;
    const unsigned numLock = NumLockMask(dpy);
    auto grab = std::make_shared<Grab>();
    grab->keycode = code;
    grab->mods = ModMask(modifiers);
    grab->callback = std::move(onPressed);

    const Window root = DefaultRootWindow(dpy);
    XSync(dpy, False);
    g_grabError = 0;
    XErrorHandler previous = XSetErrorHandler(RecordError);
    const unsigned variants[] = {0u, LockMask, numLock, LockMask | numLock};
    for (unsigned v : variants)
        XGrabKey(dpy, code, grab->mods | v, root, False, GrabModeAsync, GrabModeAsync);
    XSync(dpy, False);
    XSetErrorHandler(previous);
    if (g_grabError != 0) {
        // Release the variants that were granted.
        previous = XSetErrorHandler(RecordError);
        Ungrab(dpy, *grab, numLock);
        XSetErrorHandler(previous);
        return false;
    }
    HotKeyFilter& filter = HotKeyFilter::Instance();
    filter.lockMask = LockMask | numLock;
    filter.root = static_cast<xcb_window_t>(root);
    filter.Add(grab);
    m_grab = std::move(grab);
    return true;
}

bool X11HotKey::Unregister()
{
    if (!m_grab)
        return false;
    std::shared_ptr<Grab> grab = std::move(m_grab);
    m_grab.reset();
    HotKeyFilter::Instance().Remove(grab.get());
    if (Display* dpy = QtDisplay()) {
        XErrorHandler previous = XSetErrorHandler(RecordError);
        Ungrab(dpy, *grab, NumLockMask(dpy));
        XSetErrorHandler(previous);
    }
    return true;
}

}  // namespace PlatformX11
