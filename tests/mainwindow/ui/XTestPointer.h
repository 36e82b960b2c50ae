#pragma once

// The display's real pointer and keyboard, moved, pressed and typed through
// XTest, for the window tests that need what only real input does (a window
// manager's drag, a tooltip's hover, the keyboard focus that a click gives).
// Include it after the Qt headers: X's macros break Qt's.

#include <QCursor>
#include <QGuiApplication>
#include <QPoint>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace Harness {

class XTestPointer
{
public:
    XTestPointer()
    {
        if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
            m_display = x11->display();
    }
    bool Available() const
    {
        int a, b, c, d;
        return m_display && XTestQueryExtension(m_display, &a, &b, &c, &d);
    }
    // settleMs: how long the events are given before the test goes on.
    void MoveTo(const QPoint& p, int settleMs = 0)
    {
        XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
        XFlush(m_display);
        if (settleMs > 0)
            QTest::qWait(settleMs);
    }
    // The left button.
    void Button(bool down, int settleMs = 50)
    {
        XTestFakeButtonEvent(m_display, 1, down ? True : False, CurrentTime);
        XFlush(m_display);
        if (settleMs > 0)
            QTest::qWait(settleMs);
    }
    // A left click at a point of the screen, once the pointer is there.
    bool ClickAt(const QPoint& p)
    {
        const bool there = QTest::qWaitFor(
            [&] {
                MoveTo(p, 20);
                return QCursor::pos() == p;
            },
            2000);
        Button(true, 0);
        Button(false);
        return there;
    }

private:
    Display* m_display = nullptr;
};

class XTestKeyboard
{
public:
    XTestKeyboard()
    {
        if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
            m_display = x11->display();
    }
    // The key that types the keysym (XK_KP_Subtract, XK_space...), pressed
    // or released.
    void Key(KeySym keysym, bool down)
    {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, keysym), down ? True : False, CurrentTime);
        XFlush(m_display);
    }
    void Tap(KeySym keysym)
    {
        Key(keysym, true);
        Key(keysym, false);
    }

private:
    Display* m_display = nullptr;
};

}  // namespace Harness
