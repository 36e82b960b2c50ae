#pragma once

#include <cstdint>
#include <functional>

class QAbstractItemView;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Helpers for text boxes, list views and the position of nested controls.
namespace MControls
{
// Twips per pixel of the widget's screen (15 at 96 dots per inch).
float TwipsPerPixel(const QWidget* widget, bool horizontal);

// Ends a label edit in progress, dropping what was typed.
void ListViewCancelEdit(QAbstractItemView* view);
// The control's left (horizontal) or top edge relative to its form, over
// its chain of containers, in twips.
float GetAbsolutePos(const QWidget* control, bool horizontal);
// The box takes digits only.
void SetNumbersOnly(QLineEdit* box);
void SelectAllText(QLineEdit* box);
void SelectAllText(QPlainTextEdit* box);
// Read-only boxes keep their text selectable.
void SetReadOnly(QLineEdit* box, bool readOnly);
void SetReadOnly(QPlainTextEdit* box, bool readOnly);

// The width a push button needs to show its caption whole: the caption and
// the style's frame and margin, at least `least` pixels. (The style's own
// least width for any button with a text is not asked for.)
int ButtonWidthFor(const QPushButton* button, int least);

// The character code a key press types, as key-press handlers see it:
// 8 Backspace, 13 Enter, 27 Escape, or the typed character (up to 0x7FFF);
// 0 for a key that types nothing (arrows, function keys, Ctrl shortcuts).
std::int16_t KeyAsciiOf(const QKeyEvent* event);

// The warning sound of a refused entry.
void Beep();
// Replaces what Beep does (an empty handler: the system's sound again) and
// returns the handler before; tests count the beeps this way.
using BeepHandler = std::function<void()>;
BeepHandler SetBeepHandler(BeepHandler handler);
}
