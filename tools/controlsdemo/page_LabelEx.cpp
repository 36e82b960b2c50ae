// The extended label: caption, auto-size, border and colours, and what a
// form would store of it.
#include "DemoPages.h"
#include "LabelEx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace
{
QString Stored(const LabelEx* label)
{
    QStringList lines;
    const QVariantMap stored = label->WriteProperties();
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it)
        lines << it.key() + QStringLiteral(" = ") + it.value().toString();
    return lines.join(QLatin1Char('\n'));
}

QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    auto* caption = new QLineEdit(QStringLiteral("An extended label"), page);
    auto* autoSize = new QCheckBox(page);
    autoSize->setChecked(true);
    auto* wordWrap = new QCheckBox(page);
    auto* border = new QComboBox(page);
    border->addItems({QStringLiteral("none"), QStringLiteral("fixed single, flat"), QStringLiteral("fixed single, 3D")});
    auto* alignment = new QComboBox(page);
    alignment->addItems({QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("centre")});
    auto* holder = new QWidget(page);
    holder->setMinimumHeight(80);
    auto* label = new LabelEx(holder);
    label->setObjectName(QStringLiteral("label"));
    label->move(4, 4);
    auto* stored = new QPlainTextEdit(page);
    stored->setReadOnly(true);
    form->addRow(QStringLiteral("Caption"), caption);
    form->addRow(QStringLiteral("AutoSize"), autoSize);
    form->addRow(QStringLiteral("WordWrap"), wordWrap);
    form->addRow(QStringLiteral("Border"), border);
    form->addRow(QStringLiteral("Alignment"), alignment);
    form->addRow(holder);
    form->addRow(QStringLiteral("Stored with the form"), stored);

    const auto update = [=] { stored->setPlainText(Stored(label)); };
    label->SetBackColor(0xE0F0FF);
    label->SetCaption(caption->text());
    update();
    QObject::connect(caption, &QLineEdit::textChanged, label, [=](const QString& text) {
        label->SetCaption(text);
        update();
    });
    QObject::connect(autoSize, &QCheckBox::toggled, label, [=](bool on) {
        label->SetAutoSize(on);
        if (!on)
            label->resize(160, 40);
        update();
    });
    QObject::connect(wordWrap, &QCheckBox::toggled, label, [=](bool on) {
        label->SetWordWrap(on);
        update();
    });
    QObject::connect(border, &QComboBox::currentIndexChanged, label, [=](int i) {
        label->SetBorderStyle(i == 0 ? 0 : 1);
        label->SetAppearance(i == 2 ? 1 : 0);
        update();
    });
    QObject::connect(alignment, &QComboBox::currentIndexChanged, label, [=](int i) {
        label->SetAlignment(static_cast<std::int16_t>(i));
        update();
    });
    return page;
}

bool SelfTest(QWidget* page)
{
    const auto* label = page->findChild<LabelEx*>(QStringLiteral("label"));
    return label != nullptr && label->Caption() == QLatin1String("An extended label") &&
           label->size() == label->lblBase()->size() && label->WriteProperties().contains(QStringLiteral("Caption"));
}

const DemoPages::Registration registration({QStringLiteral("Label"), MakePage, SelfTest});
}
