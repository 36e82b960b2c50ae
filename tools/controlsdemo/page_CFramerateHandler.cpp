// The frame-rate combo box: type digits for a global rate, "*" and digits
// for a project rate; right-click for its menu.
#include "CFramerateHandler.h"
#include "DemoPages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

namespace
{
QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    auto* combo = new QComboBox(page);
    combo->setObjectName(QStringLiteral("cboTFrameRate"));
    auto* constrained = new QCheckBox(QStringLiteral("Multiples of 30 only (at the next rebuild)"), page);
    auto* strings = new QLabel(page);
    auto* other = new QLineEdit(page);
    auto* log = new QPlainTextEdit(page);
    log->setReadOnly(true);
    form->addRow(QStringLiteral("Frame rate (1 to 1000)"), combo);
    form->addRow(constrained);
    form->addRow(QStringLiteral("Values strings"), strings);
    form->addRow(QStringLiteral("Somewhere else to go"), other);
    form->addRow(log);

    auto* menu = new QMenu(page);
    QAction* setAsDefault = menu->addAction(QStringLiteral("Set as default"));
    QAction* remove = menu->addAction(QStringLiteral("Remove"));
    auto* handler = new CFramerateHandler(page);
    handler->setObjectName(QStringLiteral("handler"));
    handler->Initialize(combo, setAsDefault, remove);
    handler->LoadDefaultValues();
    handler->AddTraceSpecificValues(QStringLiteral("24;48"));
    std::int32_t rate = 48;
    handler->SelectByValue(rate);

    const auto note = [log](const QString& text) { log->appendPlainText(text); };
    const auto showStrings = [=] {
        strings->setText(QStringLiteral("global \"%1\", project \"%2\", default %3")
                             .arg(handler->BuildValuesString(true), handler->BuildValuesString(false))
                             .arg(handler->DefaultValue()));
    };
    showStrings();
    QObject::connect(handler, &CFramerateHandler::OnValidation, page, [note](std::int32_t& value, bool& valid) {
        valid = value >= 1 && value <= 1000;
        note(QStringLiteral("OnValidation %1: %2").arg(value).arg(valid ? "accepted" : "refused"));
    });
    QObject::connect(handler, &CFramerateHandler::ValueChanged, page, [=](std::int32_t value) {
        note(QStringLiteral("ValueChanged %1").arg(value));
        showStrings();
    });
    QObject::connect(handler, &CFramerateHandler::TraceSpecificValueAdded, page,
                     [note] { note(QStringLiteral("TraceSpecificValueAdded")); });
    QObject::connect(handler, &CFramerateHandler::TraceSpecificValueRemoved, page, [=] {
        note(QStringLiteral("TraceSpecificValueRemoved"));
        showStrings();
    });
    QObject::connect(handler, &CFramerateHandler::EditingChanged, page,
                     [note](bool editing) { note(QStringLiteral("EditingChanged %1").arg(editing ? "on" : "off")); });
    QObject::connect(handler, &CFramerateHandler::RightClick, page, [=](std::int32_t, std::int32_t) {
        menu->popup(combo->mapToGlobal(QPoint(combo->width(), 0)));
    });
    QObject::connect(menu, &QMenu::triggered, page, [=] { showStrings(); });
    QObject::connect(constrained, &QCheckBox::toggled, handler, &CFramerateHandler::SetConstrainedToMultipleOf30);
    return page;
}

bool SelfTest(QWidget* page)
{
    auto* handler = page->findChild<CFramerateHandler*>(QStringLiteral("handler"));
    return handler != nullptr && handler->SelectedValue() == 48 &&
           handler->BuildValuesString(false) == QLatin1String("24;48;") &&
           handler->Combo()->itemText(0) == QLatin1String("*24");
}

const DemoPages::Registration registration({QStringLiteral("Frame rate"), MakePage, SelfTest});
}
