// Box and balloon tooltips: rest the pointer on a button.
#include "CTooltip.h"
#include "DemoPages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace
{
QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* grid = new QGridLayout(page);
    auto* box = new QPushButton(QStringLiteral("Plain tip"), page);
    auto* balloon = new QPushButton(QStringLiteral("Balloon tip"), page);
    auto* centred = new QPushButton(QStringLiteral("Centred balloon"), page);
    auto* title = new QCheckBox(QStringLiteral("Balloon titles"), page);
    title->setChecked(true);
    grid->addWidget(new QLabel(QStringLiteral("Rest the pointer on a button: the tip shows after 300 ms and "
                                              "stays 20 s, or until the pointer leaves or a click."),
                               page),
                    0, 0, 1, 3);
    grid->addWidget(box, 1, 0);
    grid->addWidget(balloon, 1, 1);
    grid->addWidget(centred, 1, 2);
    grid->addWidget(title, 2, 0);
    grid->setRowStretch(3, 1);

    auto* plainTip = new CTooltip(page);
    plainTip->Create(box, QStringLiteral("A plain tip at the pointer"), QString(), 300, 20000);
    plainTip->setObjectName(QStringLiteral("plainTip"));
    auto* balloonTip = new CTooltip(page);
    balloonTip->Create(balloon, QStringLiteral("Points selection ('S' key)\r\nDouble-click to select all control "
                                               "points of the active path"),
                       QStringLiteral("Selection"), 300, 20000);
    balloonTip->SetStyle(CTooltip::StyleBalloon);
    balloonTip->SetMargin(3, 3, 3, 3);
    balloonTip->setObjectName(QStringLiteral("balloonTip"));
    auto* centredTip = new CTooltip(page);
    centredTip->SetCentered(true);
    centredTip->Create(centred, QStringLiteral("Centred below the button"), QStringLiteral("Centred"), 300, 20000);
    centredTip->SetStyle(CTooltip::StyleBalloon);
    QObject::connect(title, &QCheckBox::toggled, page, [=](bool on) {
        balloonTip->SetTitle(on ? QStringLiteral("Selection") : QString());
        centredTip->SetTitle(on ? QStringLiteral("Centred") : QString());
    });
    return page;
}

bool SelfTest(QWidget* page)
{
    const auto* balloon = page->findChild<CTooltip*>(QStringLiteral("balloonTip"));
    const auto* plain = page->findChild<CTooltip*>(QStringLiteral("plainTip"));
    return balloon != nullptr && plain != nullptr && balloon->handle() != nullptr &&
           balloon->Style() == CTooltip::StyleBalloon && balloon->DelayTime(CTooltip::TTDT_INITIAL) == 300 &&
           plain->DelayTime(CTooltip::TTDT_AUTOPOP) == 20000;
}

const DemoPages::Registration registration({QStringLiteral("Tooltips"), MakePage, SelfTest});
}
