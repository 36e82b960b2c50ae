#pragma once

// A system-wide hot key on X11: the key is grabbed on the root window, so
// it reaches this program whichever window has the focus, and the focused
// window never sees it. Works only when the application runs on the xcb
// platform; elsewhere registration fails.

#include <cstdint>
#include <functional>
#include <memory>

namespace PlatformX11 {

// The hot-key modifier flags.
enum HotKeyModifier : uint32_t {
    HotKeyAlt = 1,
    HotKeyControl = 2,
    HotKeyShift = 4,
    HotKeyWin = 8,
};

class X11HotKey
{
public:
    using Callback = std::function<void()>;

    X11HotKey();
    ~X11HotKey();  // unregisters
    X11HotKey(const X11HotKey&) = delete;
    X11HotKey& operator=(const X11HotKey&) = delete;

    // Grabs modifiers + virtual key code (with every CapsLock and NumLock
    // state) and calls `onPressed` once per press. False when the key has
    // no key code on this keyboard, another client (or the window manager)
    // holds it, or there is no X11 display. A key this object held before
    // is released first.
    bool Register(uint32_t modifiers, uint32_t virtualKey, Callback onPressed);
    // Releases the grab; false when none was held.
    bool Unregister();
    bool IsRegistered() const;

    // True when the application runs on an X11 display.
    static bool Available();

    struct Grab;

private:
    std::shared_ptr<Grab> m_grab;
};

}  // namespace PlatformX11
