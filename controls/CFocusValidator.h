#pragma once

// Validation before the focus leaves a widget, and the focus changes that
// count for the program's editing protocol.
//
// When the focus moves from the watched widget to another widget of the
// same window (a click, Tab, a shortcut, code), Validate is raised first.
// A handler that sets Cancel keeps the focus: it comes back at once, the
// widget sees no LostFocus and no GotFocus, the widget that was clicked
// sees neither the focus nor the click, and the text stays as typed.
//
// A focus change by a window switch, a pop-up (a drop-down list, a context
// menu) or the menu bar is no change here: nothing is raised, and the
// widget's own handling goes on as usual. The first focus of a window that
// is shown is a GotFocus.
//
// For an editable combo box watch the combo box: it holds the focus for its
// line edit.

#include <QObject>
#include <QPointer>
#include <QWidget>

class CFocusValidator : public QObject
{
    Q_OBJECT

public:
    // Watches the widget; without an owner the validator lives as long as
    // the widget.
    explicit CFocusValidator(QWidget* widget, QObject* owner = nullptr);
    ~CFocusValidator() override;

    QWidget* Widget() const { return m_widget; }

    // True while a refused validation puts the focus back.
    static bool Restoring();

signals:
    // The focus is about to leave for another widget of the same window.
    void Validate(bool& Cancel);
    void GotFocus();
    void LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PutFocusBack(Qt::FocusReason reason);

    QPointer<QWidget> m_widget;
    // Whether the widget holds the focus as far as the program knows: a
    // window switch leaves it set.
    bool m_focused = false;
};
