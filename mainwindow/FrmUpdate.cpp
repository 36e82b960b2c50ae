#include "FrmUpdate.h"

#include "MForms.h"
#include "MNet.h"
#include "MainServices.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

FrmUpdate::FrmUpdate(QWidget* owner, std::shared_ptr<IShell> shell, const QString& server)
    : QDialog(owner), m_shell(std::move(shell)), m_server(server)
{
    setObjectName(QStringLiteral("FrmUpdate"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowIcon(MForms::LoadIconResource(QStringLiteral("IDI_A")));

    m_lblInfos = new QLabel(this);
    m_lblInfos->setObjectName(QStringLiteral("lblInfos"));
    m_lblInfos->setWordWrap(true);
    m_lblInfos->setMinimumSize(340, 90);
    m_lblInfos->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_lblHomepageLink = new QLabel(this);
    m_lblHomepageLink->setObjectName(QStringLiteral("lblHomepageLink"));
    m_lblHomepageLink->setAlignment(Qt::AlignCenter);
    m_lblHomepageLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_lblHomepageLink->setCursor(Qt::PointingHandCursor);
    // Without a web server there is no home page to open.
    m_lblHomepageLink->setVisible(UpdateInfo::IsWebAddress(m_server));
    connect(m_lblHomepageLink, &QLabel::linkActivated, this, [this] { lblHomepageLink_Click(); });

    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    connect(m_cmdOk, &QPushButton::clicked, this, [this] { fHideWindow(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_lblInfos);
    layout->addWidget(m_lblHomepageLink, 0, Qt::AlignHCenter);
    layout->addWidget(m_cmdOk, 0, Qt::AlignHCenter);
    // A fixed dialog: no resizing.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_tmrDelayedRead = new QTimer(this);
    m_tmrDelayedRead->setObjectName(QStringLiteral("tmrDelayedRead"));
    m_tmrDelayedRead->setInterval(100);
    m_tmrDelayedRead->setSingleShot(true);
    connect(m_tmrDelayedRead, &QTimer::timeout, this, [this] { tmrDelayedRead_Timer(); });

    m_info.current = MCommon::GetAppVersion();
}

void FrmUpdate::SetGuiTexts(const QString& title, const QString& reading, const QString& failure,
                            const QString& newVersion, const QString& upToDate, const QString& yourVersion,
                            const QString& lastVersion, const QString& linkCaption)
{
    m_title = title;
    m_readingText = reading;
    m_texts = UpdateInfo::Texts{failure, newVersion, upToDate, yourVersion, lastVersion};
    m_linkCaption = linkCaption;
    if (!m_title.isEmpty())
        setWindowTitle(QLatin1Char(' ') + m_title);
    if (!m_linkCaption.isEmpty())
        m_lblHomepageLink->setText(QStringLiteral("<a href=\"home\">") + m_linkCaption.toHtmlEscaped()
                                   + QStringLiteral("</a>"));
}

void FrmUpdate::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_loaded)
        return;
    // The first show is the window's load.
    m_loaded = true;
    adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    m_tmrDelayedRead->start();
}

void FrmUpdate::tmrDelayedRead_Timer()
{
    m_tmrDelayedRead->stop();
    QCoreApplication::processEvents();
    m_dataRetrieved = fCheckForUpdate();
}

bool FrmUpdate::fCheckForUpdate()
{
    if (m_busy)
        return false;
    m_busy = true;
    m_cmdOk->setEnabled(false);
    m_lblInfos->setText(m_readingText);
    QCoreApplication::processEvents();

    const bool success = fReadVersionInfo();
    QString message = UpdateInfo::Message(success, m_info, m_texts);
    if (!success && m_server.isEmpty() && !m_noServerText.isEmpty())
        message += QStringLiteral("\r\n\r\n") + m_noServerText;
    else if (!success && !UpdateInfo::IsWebAddress(m_server) && !m_badServerText.isEmpty())
        message += QStringLiteral("\r\n\r\n") + m_badServerText;
    m_lblInfos->setText(message);
    m_cmdOk->setEnabled(true);
    m_cmdOk->setFocus();
    m_busy = false;
    return success;
}

bool FrmUpdate::fReadVersionInfo()
{
    m_info = UpdateInfo::Info{};
    m_info.current = MCommon::GetAppVersion();
    // No server set, or none of the web: nothing to ask, and no connection
    // is opened.
    if (!UpdateInfo::IsWebAddress(m_server))
        return false;
    QByteArray body;
    if (!MNet::NetReadUrlBytes(UpdateInfo::InfoAddress(m_server), body, m_timeoutMs, MNet::DefaultMaxBytes))
        return false;
    return UpdateInfo::Parse(body, MCommon::GetAppVersion(), m_info);
}

void FrmUpdate::lblHomepageLink_Click()
{
    // A failure to open the page is not reported. Only a web address is
    // opened: the desktop would run a program named there.
    if (m_shell && UpdateInfo::IsWebAddress(m_server))
        m_shell->ShellExecuteVerb(this, 0, m_server, QString(), QString(), 1);
    fHideWindow();
}

void FrmUpdate::fHideWindow()
{
    if (m_busy)
        return;
    accept();
}

void FrmUpdate::closeEvent(QCloseEvent* e)
{
    if (m_busy) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void FrmUpdate::reject()
{
    if (!m_busy)
        QDialog::reject();
}
