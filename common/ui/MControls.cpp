#include "MControls.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTextCursor>

#include <algorithm>

namespace MControls
{
int ButtonWidthFor(const QPushButton* button, int least)
{
    const QStyle* style = button->style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    const int text = button->fontMetrics().horizontalAdvance(button->text());
    return std::max(least, text + 2 * frame + margin);
}

float TwipsPerPixel(const QWidget* widget, bool horizontal)
{
    const int dpi = widget == nullptr ? 96 : (horizontal ? widget->logicalDpiX() : widget->logicalDpiY());
    return dpi > 0 ? 1440.0f / static_cast<float>(dpi) : 15.0f;
}

namespace
{
// Reaches the view's protected state through a derived class's name for it.
struct ViewState : QAbstractItemView
{
    static bool Editing(const QAbstractItemView* view)
    {
        return (view->*(&ViewState::state))() == QAbstractItemView::EditingState;
    }
};
}

void ListViewCancelEdit(QAbstractItemView* view)
{
    // A label edit in progress is the editor of the current item; index
    // widgets and persistent editors outside an edit stay. closeEditor is a
    // protected slot, reachable through the meta-object.
    if (view == nullptr || !ViewState::Editing(view))
        return;
    const QModelIndex current = view->currentIndex();
    QWidget* editor = current.isValid() ? view->indexWidget(current) : nullptr;
    if (editor == nullptr)
        return;
    QMetaObject::invokeMethod(view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint,
                                    QAbstractItemDelegate::RevertModelCache));
}

float GetAbsolutePos(const QWidget* control, bool horizontal)
{
    if (control == nullptr)
        return 0.0f;
    const QWidget* form = control->window();
    const QPoint p = control == form ? QPoint(0, 0) : control->mapTo(form, QPoint(0, 0));
    return static_cast<float>(horizontal ? p.x() : p.y()) * TwipsPerPixel(control, horizontal);
}

void SetNumbersOnly(QLineEdit* box)
{
    if (box == nullptr)
        return;
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    box->setValidator(new QRegularExpressionValidator(digits, box));
}

void SelectAllText(QLineEdit* box)
{
    if (box != nullptr)
        box->setSelection(0, static_cast<int>(box->text().size()));
}

void SelectAllText(QPlainTextEdit* box)
{
    if (box != nullptr)
        box->selectAll();
}

void SetReadOnly(QLineEdit* box, bool readOnly)
{
    if (box != nullptr)
        box->setReadOnly(readOnly);
}

void SetReadOnly(QPlainTextEdit* box, bool readOnly)
{
    if (box == nullptr)
        return;
    box->setReadOnly(readOnly);
    if (readOnly)
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

std::int16_t KeyAsciiOf(const QKeyEvent* event)
{
    if (event == nullptr)
        return 0;
    switch (event->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return 0;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) != 0 && (mods & Qt::AltModifier) == 0)
        return 0;
    const char16_t c = text.at(0).unicode();
    return c <= 0x7FFF ? static_cast<std::int16_t>(c) : 0;
}

namespace
{
BeepHandler& CurrentBeep()
{
    static BeepHandler handler;
    return handler;
}
}

void Beep()
{
    if (CurrentBeep())
        CurrentBeep()();
    else
        QApplication::beep();
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    BeepHandler before = std::move(CurrentBeep());
    CurrentBeep() = std::move(handler);
    return before;
}
}
