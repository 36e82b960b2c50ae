#pragma once

#include <QObject>
#include <QRect>

class QAbstractButton;
class QWidget;

// A control that stands in the gap a check box's caption leaves for it: a
// run of two blanks or more, as in "Stop every            scripts" with
// the interval box between the words. The control is a sibling of the
// check box, inside the gap with a little room on each side, centred on
// the caption's line; it follows the check box when the check box moves or
// changes size, font or style, and on Place after a new caption.
class CaptionGap final : public QObject
{
public:
    // Watches the check box (which owns this object) and places the control.
    CaptionGap(QAbstractButton* check, QWidget* control);

    void Place();
    // The gap in the check box's coordinates, from the end of the words
    // before it to the start of the words after it; empty when the caption
    // has no gap.
    static QRect GapOf(const QAbstractButton* check);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton* m_check;
    QWidget* m_control;
};
