// The time selector: type into a box and leave it, or use its arrows;
// seconds and milliseconds carry upwards.
#include "DemoPages.h"
#include "UCTimeSelector.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* selector = new UCTimeSelector(page);
    selector->setObjectName(QStringLiteral("selector"));
    auto* value = new QLabel(page);
    auto* text = new QLineEdit(QStringLiteral("90061000"), page);
    auto* set = new QPushButton(QStringLiteral("Set from the text"), page);
    layout->addWidget(selector);
    layout->addWidget(value);
    layout->addWidget(text);
    layout->addWidget(set);
    layout->addStretch(1);
    const auto show = [=] { value->setText(QStringLiteral("%1 ms").arg(selector->Value(), 0, 'f', 0)); };
    selector->SetValue(3723004);
    show();
    for (int i = 0; i < 4; ++i) {
        QObject::connect(selector->vsbSAStartTime(i), &QScrollBar::valueChanged, value, show);
        QObject::connect(selector->txtSAStartTime(i), &QLineEdit::editingFinished, value, show);
    }
    QObject::connect(set, &QPushButton::clicked, selector, [=] {
        selector->SetValueFromText(text->text());
        show();
    });
    return page;
}

bool SelfTest(QWidget* page)
{
    const auto* selector = page->findChild<UCTimeSelector*>(QStringLiteral("selector"));
    if (selector == nullptr)
        return false;
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts << selector->txtSAStartTime(i)->text();
    return parts == QStringList{"1", "2", "3", "4"};
}

const DemoPages::Registration registration({QStringLiteral("Time selector"), MakePage, SelfTest});
}
