#pragma once

// Whether the captions of a window show their whole text: every label,
// button, check box, radio button, group box title and tab text of the
// visible widgets under a window, measured with the widget's font
// (fontMetrics().horizontalAdvance) against the rectangle its style draws
// the text in (the contents rectangle less the control's own decoration,
// such as a check box's indicator), clipped by every parent, and with no
// other control drawn over it. A run of two blanks or more in a caption
// leaves room for another control (the pause row's interval box): the
// words on each side are measured apart. A check box or radio button must
// show its whole indicator, with a text or without. A window with a title
// bar must be wide enough for its title (TitleFits).

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

namespace CaptionFit {

// A word of a caption: its text, and its left edge and width in pixels
// from the caption's start.
struct Word
{
    QString text;
    int left;
    int width;
};

// The caption as drawn: "&" marks the accelerator and is not shown, "&&"
// shows one "&".
inline QString Shown(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

// The words of one line; blanks of two or more split them.
inline QList<Word> Words(const QString& line, const QFontMetrics& metrics)
{
    QList<Word> words;
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    qsizetype start = 0;
    const auto add = [&](qsizetype from, qsizetype to) {
        const QString word = line.mid(from, to - from).trimmed();
        if (word.isEmpty())
            return;
        const qsizetype lead = line.indexOf(word, from);
        words.append({word, metrics.horizontalAdvance(line.left(lead)), metrics.horizontalAdvance(word)});
    };
    for (auto it = gap.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        add(start, m.capturedStart());
        start = m.capturedEnd();
    }
    add(start, line.size());
    return words;
}

// A piece of a caption, or an indicator, in the window's coordinates.
struct Piece
{
    QWidget* widget;
    QString what;  // "text", "title", "tab<i>", "indicator"
    QString text;
    QRect rect;
    // The rectangle the widget's style gives the text, in the window's
    // coordinates; the piece must lie inside it.
    QRect room;
};

inline QString PathOf(const QWidget* widget, const QWidget* window)
{
    QStringList parts;
    for (const QObject* o = widget; o && o != window; o = o->parent())
        parts.prepend(o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName());
    return parts.join(QLatin1Char('/'));
}

// The part of the widget that shows: its rectangle clipped by every
// parent up to its window, in the window's coordinates.
inline QRect Shown(const QWidget* widget)
{
    const QWidget* window = widget->window();
    QRect shown(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget* p = widget->parentWidget(); p; p = p->parentWidget()) {
        shown &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
        if (p == window)
            break;
    }
    return shown;
}

// The lines of text placed in `room` (the widget's coordinates) with the
// alignment, word by word.
inline void AddLines(QList<Piece>& out, QWidget* w, const QString& what, const QString& text, const QRect& room,
                     Qt::Alignment alignment, const QFontMetrics& fm)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int lineHeight = fm.height();
    const int block = lineHeight + (static_cast<int>(lines.size()) - 1) * fm.lineSpacing();
    int top = room.top();
    if (alignment & Qt::AlignVCenter)
        top = room.top() + (room.height() - block) / 2;
    else if (alignment & Qt::AlignBottom)
        top = room.bottom() + 1 - block;
    const QPoint origin = w->mapTo(w->window(), QPoint(0, 0));
    for (const QString& line : lines) {
        const int width = fm.horizontalAdvance(line);
        int left = room.left();
        if (alignment & Qt::AlignHCenter)
            left = room.left() + (room.width() - width) / 2;
        else if (alignment & Qt::AlignRight)
            left = room.right() + 1 - width;
        for (const Word& word : Words(line, fm))
            out.append({w, what, word.text, QRect(left + word.left, top, word.width, lineHeight).translated(origin),
                        room.translated(origin)});
        top += fm.lineSpacing();
    }
}

inline void AddLabel(QList<Piece>& out, QLabel* label)
{
    if (label->text().isEmpty() || label->wordWrap())
        return;
    QString text = label->text();
    if (label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument doc;
        doc.setHtml(text);
        text = doc.toPlainText();
    }
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment a = label->alignment();
        if (a & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (a & Qt::AlignRight)
            room.setRight(room.right() - indent);
    }
    AddLines(out, label, QStringLiteral("text"), Shown(text), room, label->alignment(), label->fontMetrics());
}

inline QStyleOptionButton ButtonOption(QAbstractButton* b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    if (auto* push = qobject_cast<QPushButton*>(b)) {
        if (push->isFlat())
            opt.features |= QStyleOptionButton::Flat;
        if (push->autoDefault())
            opt.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            opt.features |= QStyleOptionButton::DefaultButton;
    }
    return opt;
}

inline void AddButton(QList<Piece>& out, QAbstractButton* b)
{
    QStyle* style = b->style();
    const QStyleOptionButton opt = ButtonOption(b);
    const QFontMetrics& fm = b->fontMetrics();
    const QString text = Shown(b->text());
    const QPoint origin = b->mapTo(b->window(), QPoint(0, 0));
    const bool check = qobject_cast<QCheckBox*>(b) != nullptr;
    if (check || qobject_cast<QRadioButton*>(b)) {
        const QRect indicator =
            style->subElementRect(check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &opt, b);
        out.append({b, QStringLiteral("indicator"), QString(), indicator.translated(origin), indicator.translated(origin)});
        if (text.isEmpty())
            return;
        QRect room =
            style->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, b);
        if (!opt.icon.isNull())
            room.setLeft(room.left() + opt.iconSize.width() + 4);
        AddLines(out, b, QStringLiteral("text"), text, room, Qt::AlignLeft | Qt::AlignVCenter, fm);
        return;
    }
    if (text.isEmpty())
        return;
    QRect room = b->rect();
    if (qobject_cast<QPushButton*>(b)) {
        room = style->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    } else {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, b);
        room = room.adjusted(frame, frame, -frame, -frame);
    }
    if (!opt.icon.isNull())
        room.setLeft(room.left() + opt.iconSize.width() + 4);
    AddLines(out, b, QStringLiteral("text"), text, room, Qt::AlignCenter, fm);
}

inline void AddGroupTitle(QList<Piece>& out, QGroupBox* box)
{
    if (box->title().isEmpty())
        return;
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.text = box->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = box->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (box->isFlat())
        opt.features |= QStyleOptionFrame::Flat;
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const QPoint origin = box->mapTo(box->window(), QPoint(0, 0));
    const QFontMetrics& fm = box->fontMetrics();
    const QString text = Shown(box->title());
    out.append({box, QStringLiteral("title"), text,
                QRect(label.left(), label.top(), fm.horizontalAdvance(text), label.height()).translated(origin),
                box->rect().translated(origin)});
}

inline void AddTabs(QList<Piece>& out, QTabBar* bar)
{
    const QPoint origin = bar->mapTo(bar->window(), QPoint(0, 0));
    const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        const QString text = Shown(bar->tabText(i));
        const int width = bar->fontMetrics().horizontalAdvance(text);
        const QRect textRect(tab.center().x() - width / 2, tab.top(), width, tab.height());
        // The style leaves half its tab spacing on each side of the text.
        out.append({bar, QStringLiteral("tab%1").arg(i), text, textRect.translated(origin),
                    tab.adjusted(space / 2 - 1, 0, -(space / 2 - 1), 0).translated(origin)});
    }
}

inline bool Shows(const QWidget* w)
{
    return w->isVisible() && !w->size().isEmpty();
}

inline QList<Piece> Pieces(QWidget* window)
{
    QList<Piece> out;
    QList<QWidget*> widgets{window};
    widgets += window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!Shows(w) || (w != window && w->window() != window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            AddLabel(out, label);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            AddButton(out, button);
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            AddGroupTitle(out, box);
        else if (auto* bar = qobject_cast<QTabBar*>(w))
            AddTabs(out, bar);
    }
    return out;
}

// What a widget paints over whatever lies below it: the pieces of a label,
// check box or radio button (their background shows through), all of an
// input control, button or view.
inline bool PaintsWhole(const QWidget* w)
{
    if (qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w)
           || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w)
           || qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QTabBar*>(w)
           || w->inherits("QWindowContainer");
}

inline bool Related(const QWidget* a, const QWidget* b)
{
    return a == b || a->isAncestorOf(b) || b->isAncestorOf(a);
}

inline QString Describe(const Piece& p, const QString& windowName)
{
    return windowName + QLatin1Char(':') + PathOf(p.widget, p.widget->window()) + QLatin1Char(' ') + p.what
           + QStringLiteral(" \"") + p.text + QLatin1Char('"');
}

inline QString Rect(const QRect& r)
{
    return QStringLiteral("[%1..%2 x %3..%4]").arg(r.left()).arg(r.right()).arg(r.top()).arg(r.bottom());
}

// One line for each piece that is cut or covered; empty when all fit.
inline QStringList Misfits(QWidget* window, const QString& windowName)
{
    QStringList misfits;
    const QList<Piece> pieces = Pieces(window);
    QList<QWidget*> opaque;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (Shows(w) && w->window() == window && PaintsWhole(w))
            opaque << w;
    for (const Piece& p : pieces) {
        const QRect shown = Shown(p.widget) & p.room;
        // Horizontally the whole text; vertically its middle line at least.
        const bool across = shown.left() <= p.rect.left() && p.rect.right() <= shown.right();
        const int middle = p.rect.center().y();
        const bool down = shown.top() <= middle && middle <= shown.bottom();
        if (!across || !down) {
            misfits << Describe(p, windowName) + QStringLiteral(" needs ") + Rect(p.rect) + QStringLiteral(", has ")
                           + Rect(shown);
            continue;
        }
        const auto covers = [&](QWidget* other, const QRect& area) {
            if (!Related(other, p.widget) && area.intersects(p.rect))
                misfits << Describe(p, windowName) + QStringLiteral(" is covered by ") + PathOf(other, window);
        };
        for (QWidget* other : opaque)
            covers(other, Shown(other));
        for (const Piece& q : pieces)
            if (&q != &p && q.widget != p.widget)
                covers(q.widget, q.rect & Shown(q.widget));
    }
    misfits.removeDuplicates();
    return misfits;
}

// The least width a window needs for the window manager to show its whole
// title: the title in the title bar's bold font, the window's icon and
// three buttons of 16 pixels, and margins of 8 at each end of the bar.
inline int TitleWidth(const QWidget* window)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 4 * 16 + 2 * 8;
}

}  // namespace CaptionFit
