#pragma once

#include <QPoint>

#include <cstdint>

// The mouse cursor, in screen pixels.
namespace MCursor
{
QPoint GetCursorPosition();
void SetCursorPosition(const QPoint& position);
// Counts like the system's display counter: show adds one, hide takes one,
// and the cursor is hidden over the program's windows while the count is
// below 0. Returns the new count.
std::int32_t ShowMouseCursor(bool show);
}
