#include "FrmAbout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

FrmAbout::FrmAbout() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("Ruvadir"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picInfoLabel"));
    m_picture->setPixmap(QPixmap(QStringLiteral(":/ruvadir/pictures/ruvadir.png")).scaled(128, 128));
    layout->addWidget(m_picture);
    m_tmrClose = new QTimer(this);
    m_tmrClose->setObjectName(QStringLiteral("tmrClose"));
    m_tmrClose->setSingleShot(true);
    m_tmrClose->setInterval(2000);
    connect(m_tmrClose, &QTimer::timeout, this, [this] {
        if (m_armed)
            hide();
    });
}

void FrmAbout::CloseAfterDelay(bool armed)
{
    m_armed = armed;
    if (!armed)
        m_tmrClose->stop();
}

void FrmAbout::ShowModeless(QWidget* owner)
{
    if (parentWidget() != owner)
        setParent(owner, Qt::Window | Qt::FramelessWindowHint);
    adjustSize();
    // In the middle of the screen the program starts on.
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

bool FrmAbout::event(QEvent* e)
{
    // Showing the window activates it (a window manager may keep the focus
    // elsewhere: the splash goes all the same).
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && m_armed)
        m_tmrClose->start();
    else if (e->type() == QEvent::Hide)
        m_tmrClose->stop();
    return QWidget::event(e);
}
