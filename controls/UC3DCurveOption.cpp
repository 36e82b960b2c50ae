#include "UC3DCurveOption.h"

#include "RuvError.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {
QPixmap LoadPicture(const char* key)
{
    return QPixmap(QStringLiteral(":/ruvadir/pictures/%1.png").arg(QLatin1String(key)));
}
} // namespace

UC3DCurveOption::UC3DCurveOption(QWidget* parent)
    : QWidget(parent),
      m_checked(DesignOptionCount, false),
      m_enabled(DesignOptionCount, false),
      m_tooltips(QList<QString>(DesignOptionCount)),
      m_unchecked(LoadPicture("unchecked")),
      m_round(LoadPicture("round")),
      m_eye(LoadPicture("eye"))
{
}

QSize UC3DCurveOption::sizeHint() const
{
    return {OptionCount() * PictureSize, PictureSize};
}

void UC3DCurveOption::CheckIndex(int64_t index) const
{
    if (index < 0 || index > OptionCount() - 1)
        throw RuvError(RuvError::ErrorBase + 1, QStringLiteral("Invalid index"), QStringLiteral("UC3DCurveOption"));
}

void UC3DCurveOption::SetCheckedStates(const std::vector<std::optional<bool>>& states)
{
    for (size_t i = 0; i < states.size(); ++i) {
        if (!states[i].has_value())
            continue;
        SetIsChecked(static_cast<int32_t>(i), *states[i]);
    }
}

void UC3DCurveOption::SetEnabledStates(const std::vector<bool>& states)
{
    if (states.empty())
        return;
    CheckIndex(static_cast<int64_t>(states.size()) - 1);
    for (size_t i = 0; i < states.size(); ++i)
        m_enabled[i] = states[i];
}

void UC3DCurveOption::SetTooltips(const QStringList& tooltips)
{
    if (tooltips.isEmpty())
        return;
    CheckIndex(tooltips.size() - 1);
    for (qsizetype i = 0; i < tooltips.size(); ++i)
        m_tooltips[i] = tooltips[i];
}

bool UC3DCurveOption::IsChecked(int32_t index) const
{
    CheckIndex(index);
    return m_checked[static_cast<size_t>(index)];
}

void UC3DCurveOption::SetIsChecked(int32_t index, bool checked)
{
    CheckIndex(index);
    m_checked[static_cast<size_t>(index)] = checked;
    update(CellRect(index));
}

QRect UC3DCurveOption::CellRect(int32_t index) const
{
    // Cells share the width out evenly; the rounding moves the borders, not
    // the total.
    const int n = OptionCount();
    const int left = index * width() / n;
    const int right = (index + 1) * width() / n;
    return {left, 0, right - left, height()};
}

int32_t UC3DCurveOption::CellAt(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return -1;
    for (int32_t i = 0; i < OptionCount(); ++i)
        if (CellRect(i).contains(pos))
            return i;
    return -1;
}

const QPixmap& UC3DCurveOption::Picture(int32_t index) const
{
    if (!m_checked[static_cast<size_t>(index)])
        return m_unchecked;
    return index == 0 ? m_eye : m_round;
}

void UC3DCurveOption::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    for (int32_t i = 0; i < OptionCount(); ++i)
        painter.drawPixmap(CellRect(i), Picture(i));
}

void UC3DCurveOption::mousePressEvent(QMouseEvent* event)
{
    m_pressedCell = event->button() == Qt::LeftButton ? CellAt(event->position().toPoint()) : -1;
}

void UC3DCurveOption::mouseReleaseEvent(QMouseEvent* event)
{
    // A press and a release on one picture make a click.
    const int32_t index = event->button() == Qt::LeftButton ? CellAt(event->position().toPoint()) : -1;
    const bool click = index >= 0 && index == m_pressedCell;
    m_pressedCell = -1;
    if (!click || !m_enabled[static_cast<size_t>(index)])
        return;
    m_checked[static_cast<size_t>(index)] = !m_checked[static_cast<size_t>(index)];
    repaint(CellRect(index));
    emit CheckedChanged(index);
}

bool UC3DCurveOption::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int32_t index = CellAt(help->pos());
        const QString text = index < 0 ? QString() : m_tooltips[index];
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, CellRect(index));
        }
        return true;
    }
    return QWidget::event(event);
}
