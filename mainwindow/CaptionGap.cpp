#include "CaptionGap.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>

namespace {

// Between the control and the words on each side of it.
constexpr int kRoom = 2;

}  // namespace

CaptionGap::CaptionGap(QAbstractButton* check, QWidget* control)
    : QObject(check), m_check(check), m_control(control)
{
    check->installEventFilter(this);
    Place();
}

QRect CaptionGap::GapOf(const QAbstractButton* check)
{
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    const QString text = check->text();
    const QRegularExpressionMatch gap = blanks.match(text);
    if (!gap.hasMatch())
        return {};
    QStyleOptionButton option;
    option.initFrom(check);
    option.text = text;
    const bool box = qobject_cast<const QCheckBox*>(check) != nullptr;
    const QRect contents = check->style()->subElementRect(
        box ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, check);
    const QFontMetrics& fm = check->fontMetrics();
    // The caption is drawn from the left of its contents, centred on its
    // line.
    const int start = contents.left() + fm.horizontalAdvance(text.left(gap.capturedStart()));
    const int end = contents.left() + fm.horizontalAdvance(text.left(gap.capturedEnd()));
    return {start, contents.top(), end - start, contents.height()};
}

void CaptionGap::Place()
{
    const QRect gap = GapOf(m_check);
    if (gap.isEmpty())
        return;
    const int height = m_control->sizeHint().height();
    const QPoint at = m_check->mapTo(m_control->parentWidget(), QPoint(gap.left() + kRoom, 0));
    m_control->setGeometry(at.x(), at.y() + gap.center().y() - height / 2, gap.width() - 2 * kRoom, height);
}

bool CaptionGap::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::Show:
        if (watched == m_check)
            Place();
        break;
    default:
        break;
    }
    return false;
}
