#pragma once

// The display's real pointer, moved and pressed through XTest, for the
// window tests that need what only a real pointer does (a window manager's
// drag, a tooltip's hover). Include it after the Qt headers: X's macros
// break Qt's.

#include <QGuiApplication>
#include <QPoint>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

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

private:
    Display* m_display = nullptr;
};

}  // namespace Harness
