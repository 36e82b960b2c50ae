#pragma once

#include <QString>

#include <cstdint>

// Plain text on the system clipboard, through Qt (which answers other
// programs' paste requests while the program runs).
namespace MClipboard
{
// True when the text is on the clipboard and the program holds it. The
// owner handle is not needed: the program's own windows own the clipboard.
// False without a display or a GUI application.
bool SetClipboardText(std::uint64_t ownerWindow, const QString& text);
// The clipboard's text, empty when none or without a display.
QString GetClipboardText();
}
