#include "MCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace MCursor
{
namespace
{
std::int32_t g_displayCount = 0;
}

QPoint GetCursorPosition()
{
    return QCursor::pos();
}

void SetCursorPosition(const QPoint& position)
{
    QCursor::setPos(position);
}

std::int32_t ShowMouseCursor(bool show)
{
    const bool hiddenBefore = g_displayCount < 0;
    g_displayCount += show ? 1 : -1;
    const bool hiddenAfter = g_displayCount < 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (hiddenAfter && !hiddenBefore)
            QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
        else if (hiddenBefore && !hiddenAfter)
            QGuiApplication::restoreOverrideCursor();
    }
    return g_displayCount;
}
}
