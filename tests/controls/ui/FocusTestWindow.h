#pragma once

// A window for focus tests: shown, active, and driven through its native
// window, so that clicks and keys take the path real input takes (the focus
// moves on the press, the context menu follows the right press, keys go to
// the focus widget).

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace FocusTest
{
inline bool ShowActive(QWidget& window, QPoint at = QPoint(80, 80))
{
    window.move(at);
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline QPoint InWindow(QWidget* w, QPoint local)
{
    return w->mapTo(w->window(), local);
}

inline void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPoint local = QPoint(-1, -1))
{
    if (local.x() < 0)
        local = w->rect().center();
    QTest::mouseClick(w->window()->windowHandle(), button, {}, InWindow(w, local));
}

inline void Press(QWidget* w, Qt::MouseButton button, QPoint local = QPoint(-1, -1))
{
    if (local.x() < 0)
        local = w->rect().center();
    QTest::mousePress(w->window()->windowHandle(), button, {}, InWindow(w, local));
}

inline void Release(QWidget* w, Qt::MouseButton button, QPoint local = QPoint(-1, -1))
{
    if (local.x() < 0)
        local = w->rect().center();
    QTest::mouseRelease(w->window()->windowHandle(), button, {}, InWindow(w, local));
}

inline void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers mods = {})
{
    QTest::keyClick(window.windowHandle(), key, mods);
}

inline void Type(QWidget& window, const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(window.windowHandle(), c.toLatin1());
}
}
