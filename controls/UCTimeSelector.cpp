#include "UCTimeSelector.h"

#include "CFocusValidator.h"
#include "MControls.h"
#include "MDisplayNumber.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{
// Milliseconds of one unit of each component.
constexpr double kUnit[4] = {3600000.0, 60000.0, 1000.0, 1.0};

// Selects the box's text when it gets the focus.
class SelectOnFocus final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn)
            MControls::SelectAllText(static_cast<QLineEdit*>(watched));
        return false;
    }
};
}

UCTimeSelector::UCTimeSelector(QWidget* parent)
    : QWidget(parent), m_frame(new QGroupBox(this)), m_label(new QLabel(QStringLiteral("Time"), m_frame))
{
    m_frame->setObjectName(QStringLiteral("fraGAutoStartTime"));
    m_label->setObjectName(QStringLiteral("lblSAStartTime"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);
    auto* row = new QHBoxLayout(m_frame);
    row->addWidget(m_label);
    auto* selectOnFocus = new SelectOnFocus(this);
    const QFontMetrics metrics(font());
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(m_frame);
        box->setObjectName(QStringLiteral("txtSAStartTime%1").arg(i));
        box->setProperty("index", i);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("0000")) + 12);
        MControls::SetNumbersOnly(box);
        box->installEventFilter(selectOnFocus);
        auto* bar = new QScrollBar(Qt::Vertical, m_frame);
        bar->setObjectName(QStringLiteral("vsbSAStartTime%1").arg(i));
        bar->setProperty("index", i);
        // Each bar reaches as far as the largest value holds of its unit,
        // so that 60 s or 1000 ms typed or scrolled to carry upwards. A
        // vertical bar counts down towards its upper arrow: the bars hold
        // the negated parts, so that up counts up.
        bar->setRange(-static_cast<int>(std::floor(MaxValue / kUnit[i])), 0);
        bar->setSingleStep(1);
        bar->setPageStep(i == 0 ? 1 : 10);
        bar->setFixedHeight(box->sizeHint().height());
        m_boxes[static_cast<size_t>(i)] = box;
        m_bars[static_cast<size_t>(i)] = bar;
        row->addWidget(box);
        row->addWidget(bar);
        if (i < 3)
            row->addWidget(new QLabel(i == 2 ? QStringLiteral(".") : QStringLiteral(":"), m_frame));

        auto* validator = new CFocusValidator(box, this);
        connect(validator, &CFocusValidator::Validate, this, [this, i](bool&) { txtSAStartTime_Validate(i); });
        connect(bar, &QScrollBar::valueChanged, this, [this, i] { vsbSAStartTime_Change(i); });
    }
    row->addStretch(1);
    ShowValue();
}

std::int32_t UCTimeSelector::Component(int index) const
{
    switch (index) {
    case 0: return static_cast<std::int32_t>(std::floor(m_value / 3600000.0));
    case 1: return static_cast<std::int32_t>(std::fmod(std::floor(m_value / 60000.0), 60.0));
    case 2: return static_cast<std::int32_t>(std::fmod(std::floor(m_value / 1000.0), 60.0));
    case 3: return static_cast<std::int32_t>(std::fmod(std::nearbyint(m_value), 1000.0));
    default: return 0;
    }
}

std::int32_t UCTimeSelector::Bar(int index) const
{
    return -m_bars[static_cast<size_t>(index)]->value();
}

void UCTimeSelector::SetBar(int index, std::int32_t part)
{
    m_bars[static_cast<size_t>(index)]->setValue(-part);
}

void UCTimeSelector::SetValue(double milliseconds)
{
    m_value = std::floor(std::clamp(milliseconds, 0.0, MaxValue));
    ShowValue();
}

void UCTimeSelector::SetValueFromText(const QString& text)
{
    const double x = MDisplayNumber::ParseOr(text, 0.0);
    SetValue(x < 0 ? 0.0 : x >= MaxValue ? MaxValue : std::floor(x));
}

// Writing the boxes and bars is the control's own change: the bars must not
// recompute from a half-written state.
void UCTimeSelector::ShowValue()
{
    const bool wasBusy = m_busy;
    m_busy = true;
    for (int i = 0; i < 4; ++i) {
        const std::int32_t part = Component(i);
        m_boxes[static_cast<size_t>(i)]->setText(QString::number(part));
        SetBar(i, part);
    }
    m_busy = wasBusy;
}

void UCTimeSelector::Recompute(int index)
{
    double total = 0;
    for (int i = 0; i < 4; ++i)
        total += Bar(i) * kUnit[i];
    if (total <= MaxValue) {
        SetValue(std::floor(total));
        return;
    }
    const std::int32_t part = Component(index);
    SetBar(index, part);
    m_boxes[static_cast<size_t>(index)]->setText(QString::number(part));
}

void UCTimeSelector::txtSAStartTime_Validate(int index)
{
    if (m_busy)
        return;
    m_busy = true;
    // Digits only; an empty box is 0. A number beyond the bar's end is
    // beyond the largest value as well: undone like any such entry.
    const double typed = MDisplayNumber::ParseOr(m_boxes[static_cast<size_t>(index)]->text(), 0.0);
    if (typed > -m_bars[static_cast<size_t>(index)]->minimum()) {
        const std::int32_t part = Component(index);
        SetBar(index, part);
        m_boxes[static_cast<size_t>(index)]->setText(QString::number(part));
    } else {
        SetBar(index, static_cast<std::int32_t>(typed));
        Recompute(index);
    }
    m_busy = false;
}

void UCTimeSelector::vsbSAStartTime_Change(int index)
{
    if (m_busy)
        return;
    m_busy = true;
    m_boxes[static_cast<size_t>(index)]->setText(QString::number(Bar(index)));
    Recompute(index);
    m_busy = false;
}
