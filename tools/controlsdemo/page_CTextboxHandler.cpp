// Validated text boxes: Enter validates, Escape restores, a refused value
// keeps the focus; values above 100 are refused here.
#include "CTextboxHandler.h"
#include "DemoPages.h"
#include "MControls.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{
QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    auto* speed = new QLineEdit(QStringLiteral("40"), page);
    speed->setObjectName(QStringLiteral("txtTransSpeed"));
    MControls::SetNumbersOnly(speed);
    auto* pause = new QLineEdit(QStringLiteral("5"), page);
    pause->setObjectName(QStringLiteral("txtSScriptPauseInterval"));
    MControls::SetNumbersOnly(pause);
    auto* any = new QLineEdit(QStringLiteral("free text"), page);
    any->setObjectName(QStringLiteral("txtCFixedTargets"));
    auto* apply = new QPushButton(QStringLiteral("A button to click"), page);
    auto* cancelAll = new QPushButton(QStringLiteral("Cancel all"), page);
    auto* log = new QPlainTextEdit(page);
    log->setReadOnly(true);
    form->addRow(QStringLiteral("Speed (Enter validates, 0 to 100)"), speed);
    form->addRow(QStringLiteral("Pause interval (Enter validates, 0 to 100)"), pause);
    form->addRow(QStringLiteral("Not checked by the owner"), any);
    form->addRow(apply, cancelAll);
    form->addRow(log);

    auto* handler = new CTextboxHandler(page);
    handler->setObjectName(QStringLiteral("handler"));
    const auto note = [log](const QString& text) { log->appendPlainText(text); };
    QObject::connect(handler, &CTextboxHandler::GotFocus, page,
                     [note](QLineEdit* b) { note(QStringLiteral("GotFocus ") + b->objectName()); });
    QObject::connect(handler, &CTextboxHandler::LostFocus, page,
                     [note](QLineEdit* b) { note(QStringLiteral("LostFocus ") + b->objectName()); });
    QObject::connect(handler, &CTextboxHandler::Validating, page, [=](QLineEdit* b, bool& cancel, bool& handled) {
        if (b == any)
            return;
        handled = true;
        cancel = b->text().isEmpty() || b->text().toInt() > 100;
        note(QStringLiteral("Validating %1: %2").arg(b->objectName(), cancel ? "refused" : "accepted"));
    });
    QObject::connect(handler, &CTextboxHandler::Validated, page, [note](QLineEdit* b, bool changed) {
        note(QStringLiteral("Validated %1%2").arg(b->objectName(), changed ? ", changed" : ""));
    });
    QObject::connect(apply, &QPushButton::clicked, page, [note] { note(QStringLiteral("The button was clicked")); });
    QObject::connect(cancelAll, &QPushButton::clicked, handler, &CTextboxHandler::CancelAll);
    handler->RegisterTextbox(any, false, false);
    handler->RegisterTextbox(speed, true, false);
    handler->RegisterTextbox(pause, true, false);
    return page;
}

bool SelfTest(QWidget* page)
{
    auto* handler = page->findChild<CTextboxHandler*>(QStringLiteral("handler"));
    auto* speed = page->findChild<QLineEdit*>(QStringLiteral("txtTransSpeed"));
    if (handler == nullptr || speed == nullptr)
        return false;
    handler->OnFocusGot(speed);
    speed->setText(QStringLiteral("55"));
    handler->Cancel(speed);
    const bool restored = speed->text() == QLatin1String("40");
    handler->OnFocusLost(speed);
    return restored && CTextboxHandler::KeptText(speed).isEmpty();
}

const DemoPages::Registration registration({QStringLiteral("Text boxes"), MakePage, SelfTest});
}
