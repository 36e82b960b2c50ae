// Frames enabled and disabled with their controls; a control disabled on
// its own stays disabled.
#include "CVbFrameHandler.h"
#include "DemoPages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* outerOn = new QCheckBox(QStringLiteral("Script frame enabled"), page);
    outerOn->setChecked(true);
    auto* innerOn = new QCheckBox(QStringLiteral("Pause frame enabled"), page);
    innerOn->setChecked(true);
    auto* ownOn = new QCheckBox(QStringLiteral("\"Create script\" enabled on its own"), page);
    ownOn->setChecked(true);
    auto* frame = new QGroupBox(QStringLiteral("Script"), page);
    frame->setObjectName(QStringLiteral("fraScript"));
    auto* inFrame = new QVBoxLayout(frame);
    auto* create = new QPushButton(QStringLiteral("Create script"), frame);
    create->setObjectName(QStringLiteral("cmdCreateScript"));
    auto* speed = new QLineEdit(QStringLiteral("40"), frame);
    speed->setObjectName(QStringLiteral("txtTransSpeed"));
    auto* holder = new QWidget(frame);
    auto* nested = new QGroupBox(QStringLiteral("Pause"), holder);
    nested->setObjectName(QStringLiteral("fraPause"));
    (new QVBoxLayout(holder))->addWidget(nested);
    auto* inNested = new QVBoxLayout(nested);
    auto* interval = new QLineEdit(QStringLiteral("5"), nested);
    interval->setObjectName(QStringLiteral("txtSScriptPauseInterval"));
    inNested->addWidget(interval);
    inNested->addWidget(new QCheckBox(QStringLiteral("Pause"), nested));
    inFrame->addWidget(create);
    inFrame->addWidget(speed);
    inFrame->addWidget(holder);
    for (QWidget* w : std::initializer_list<QWidget*>{outerOn, innerOn, ownOn, frame})
        layout->addWidget(w);
    layout->addStretch(1);

    auto* handler = new CVbFrameHandler(page);
    handler->setObjectName(QStringLiteral("handler"));
    handler->Initialize(page);
    QObject::connect(outerOn, &QCheckBox::toggled, handler, [=](bool on) { handler->SetState(frame, on); });
    QObject::connect(innerOn, &QCheckBox::toggled, handler, [=](bool on) { handler->SetState(nested, on); });
    QObject::connect(ownOn, &QCheckBox::toggled, handler, [=](bool on) { handler->SetControlState(create, on); });
    return page;
}

bool SelfTest(QWidget* page)
{
    auto* handler = page->findChild<CVbFrameHandler*>(QStringLiteral("handler"));
    auto* frame = page->findChild<QGroupBox*>(QStringLiteral("fraScript"));
    auto* create = page->findChild<QPushButton*>(QStringLiteral("cmdCreateScript"));
    auto* interval = page->findChild<QLineEdit*>(QStringLiteral("txtSScriptPauseInterval"));
    if (handler == nullptr || frame == nullptr || create == nullptr || interval == nullptr)
        return false;
    handler->Disable(frame);
    const bool off = !create->isEnabled() && !interval->isEnabled();
    handler->Enable(frame);
    return off && create->isEnabled() && interval->isEnabled();
}

const DemoPages::Registration registration({QStringLiteral("Frames"), MakePage, SelfTest});
}
