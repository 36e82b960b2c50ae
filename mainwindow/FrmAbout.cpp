#include "FrmAbout.h"

#include "CSkin.h"
#include "DadaviveMessages.h"
#include "MForms.h"
#include "MGDI.h"
#include "MRuvMain.h"
#include "MRuvResource.h"
#include "MainServices.h"
#include "WindowSubclass.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

// The skin's resource number ("IDC_SKIN").
constexpr int32_t SkinResource = 13;
// The colour the version picture leaves out of the window's shape.
constexpr QRgb VersionBackground = qRgb(255, 0, 255);
constexpr int VersionHeight = 18;
// The link's least width, its right edge's distance from the window's and
// its top's from the artwork's bottom.
constexpr int LinkWidth = 90;
constexpr int LinkRight = 10;
constexpr int LinkAbove = 24;

// The version picture is a window of its own: a click on it neither moves
// nor hides the box.
class VersionPicture final : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
};

QString TwoDigits(int n)
{
    return MCommon::FormatInt(n / 10 % 10) + MCommon::FormatInt(n % 10);
}

}  // namespace

FrmAbout::FrmAbout(std::shared_ptr<IShell> shell, std::shared_ptr<ISettingsStore> settings)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_shell(std::move(shell))
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("Ruvadir"));
    if (settings) {
        const TaggedValue address =
            settings->Read(QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"), QStringLiteral("ContactAddress"));
        if (address.IsText())
            m_contactAddress = address.TextValue().trimmed();
    }
    m_tmrClose = new QTimer(this);
    m_tmrClose->setObjectName(QStringLiteral("tmrClose"));
    m_tmrClose->setSingleShot(true);
    m_tmrClose->setInterval(2000);
    connect(m_tmrClose, &QTimer::timeout, this, [this] { tmrClose_Timer(); });
    Form_Load();
}

FrmAbout::~FrmAbout()
{
    if (m_modalLoop)
        m_modalLoop->quit();
    MForms::ReleaseSubclass(FormSc);
}

void FrmAbout::Form_Load()
{
    QRegion skinRegion;
    fApplySkin(skinRegion);
    const QSize artwork = palette().brush(QPalette::Window).texture().size();
    const int width = artwork.isEmpty() ? 320 : artwork.width();
    const int height = artwork.isEmpty() ? 120 : artwork.height();

    m_lblContact = new QLabel(this);
    m_lblContact->setObjectName(QStringLiteral("lblContact"));
    m_lblContact->setGeometry(width - LinkRight - LinkWidth, height - LinkAbove, LinkWidth, 16);
    m_lblContact->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblContact->setCursor(Qt::PointingHandCursor);
    m_lblContact->setMouseTracking(true);
    m_lblContact->installEventFilter(this);
    m_lblContact->setVisible(!m_contactAddress.isEmpty());
    fSetLinkColour(m_linkColour);

    // The version line stands on the artwork's lowest band, below the
    // curve's first point and left of the link.
    m_picInfoLabel = new VersionPicture(this);
    m_picInfoLabel->setObjectName(QStringLiteral("picInfoLabel"));
    m_picInfoLabel->setGeometry(0, height - VersionHeight, width, VersionHeight);
    fPrintVersion();
    // The link lies over the picture's band: it takes its own pointer.
    m_lblContact->raise();

    setFixedSize(width, m_picInfoLabel->geometry().bottom() + 1);
    setMouseTracking(true);
    CenterToScreen();

    // Without its artwork the window keeps its rectangle: the version's
    // letters alone would be no window to see.
    if (!skinRegion.isEmpty()) {
        QRegion letters;
        MGDI::CreateRegionWithoutColor(m_picInfoLabel, letters, static_cast<int32_t>(VersionBackground & 0xFFFFFF),
                                       m_picInfoLabel->x(), m_picInfoLabel->y());
        m_shape = skinRegion.united(letters);
        MGDI::SetWindowRegion(this, m_shape);
    }
    // Only the letters are drawn; the artwork shows around them.
    QPixmap letters = m_picInfoLabel->pixmap();
    letters.setMask(letters.createMaskFromColor(QColor(VersionBackground), Qt::MaskInColor));
    m_picInfoLabel->setPixmap(letters);

    m_events = Com::ComPtr<WindowEvents>::Attach(new WindowEvents);
    m_events->onAllMessages = [this](int32_t message) { FormSc_AllMessages(message); };
    FormSc = HookWindow(this, m_events.Get());
    if (FormSc)
        FormSc->SetAllMessages(true);

    m_loaded = true;
    if (!m_contactCaption.isEmpty())
        fSetLinkCaption();
}

void FrmAbout::fSetLinkCaption()
{
    // A longer caption widens the link to the left; its right edge stays.
    m_lblContact->setText(m_contactCaption);
    const int right = m_lblContact->geometry().right();
    const int linkWidth = std::max(LinkWidth, m_lblContact->sizeHint().width());
    m_lblContact->setGeometry(right + 1 - linkWidth, m_lblContact->y(), linkWidth, m_lblContact->height());
}

void FrmAbout::fApplySkin(QRegion& skinRegion)
{
    // A missing or damaged skin leaves the window without its artwork.
    try {
        CSkin skin;
        skinRegion = skin.SetSkin(MRuvResource::GetResData(SkinResource), this, false);
    } catch (...) {
        skinRegion = QRegion();
        setPalette(QPalette());
    }
}

QString FrmAbout::VersionLine(double fileDate, const MCommon::VersionList& version)
{
    QString line;
    if (fileDate != 0.0) {
        const QDate date = MCommon::FromOleDate(fileDate).date();
        line = TwoDigits(date.day()) + QLatin1Char('.') + TwoDigits(date.month()) + QLatin1Char('.')
               + TwoDigits(date.year() % 100) + QStringLiteral("  ");
    }
    const auto part = [&](size_t i) { return MCommon::FormatInt(i < version.size() ? version[i] : 0); };
    return line + QLatin1Char('v') + part(0) + QLatin1Char('.') + part(1) + QStringLiteral(" b") + part(3);
}

void FrmAbout::fPrintVersion()
{
    // Drawn once into the picture, which keeps it; hard edges, so that
    // every pixel is either a letter's or the left-out colour.
    QPixmap picture(m_picInfoLabel->size());
    picture.fill(QColor(VersionBackground));
    QPainter painter(&picture);
    QFont font = m_picInfoLabel->font();
    font.setPixelSize(12);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(QColor(200, 215, 235));
    painter.drawText(QRect(24, 0, picture.width() - 24, picture.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     VersionLine(MRuvMain::GetAppFileDate(), MCommon::GetAppVersion()));
    painter.end();
    m_picInfoLabel->setPixmap(picture);
}

void FrmAbout::SetControlsText(const QString& contactCaption, const QString& mailBody)
{
    m_contactCaption = contactCaption;
    m_mailBody = mailBody;
    if (m_loaded)
        fSetLinkCaption();
}

void FrmAbout::CloseAfterDelay(bool armed)
{
    m_armed = armed;
    if (!armed)
        m_tmrClose->stop();
}

void FrmAbout::CenterToScreen()
{
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void FrmAbout::SetModInfos(const QString& gameName, const QString& gameVersion)
{
    m_gameName = gameName;
    m_gameVersion = gameVersion;
}

void FrmAbout::SetOwner(QWidget* owner)
{
    // An owned window is a tool window of its owner: the window manager keeps
    // it above the owner when the owner is clicked.
    const Qt::WindowFlags flags =
        (owner != nullptr ? Qt::Tool : Qt::Window) | Qt::FramelessWindowHint;
    if (parentWidget() != owner || windowFlags() != flags)
        setParent(owner, flags);
}

void FrmAbout::ShowModeless(QWidget* owner)
{
    SetOwner(owner);
    setWindowModality(Qt::NonModal);
    // In the middle of the screen the program starts on.
    CenterToScreen();
    show();
    raise();
    activateWindow();
}

void FrmAbout::ShowModal(QWidget* owner)
{
    SetOwner(owner);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    if (isVisible())
        loop.exec();
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

QString FrmAbout::MailAddress() const
{
    const QString subject = QStringLiteral("Viziviz Ruvadir - ") + m_gameName;
    return QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(m_contactAddress, "@"))
           + QStringLiteral("?subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject))
           + QStringLiteral("&body=") + QString::fromLatin1(QUrl::toPercentEncoding(m_mailBody));
}

bool FrmAbout::fOverLink(const QPoint& position) const
{
    // Edges included.
    const QRect r = m_lblContact->geometry();
    return !m_lblContact->isHidden() && position.x() >= r.left() && position.x() <= r.right() + 1
           && position.y() >= r.top() && position.y() <= r.bottom() + 1;
}

void FrmAbout::fSetLinkColour(const QColor& colour)
{
    QPalette palette = m_lblContact->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_lblContact->setPalette(palette);
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* e)
{
    // The pointer comes onto the link: the window takes the mouse, so that
    // it sees the pointer leave the link however fast it goes.
    if (watched == m_lblContact && (e->type() == QEvent::MouseMove || e->type() == QEvent::Enter)
        && !m_mouseCaptured && QWidget::mouseGrabber() == nullptr) {
        m_mouseCaptured = true;
        grabMouse();
        fSetLinkColour(m_linkHoverColour);
    }
    return QWidget::eventFilter(watched, e);
}

void FrmAbout::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint position = e->position().toPoint();
    if (m_mouseCaptured) {
        if (fOverLink(position)) {
            fSetLinkColour(m_linkHoverColour);
        } else {
            fSetLinkColour(m_linkColour);
            m_mouseCaptured = false;
            releaseMouse();
        }
    }
    if (m_movePending && e->buttons() != Qt::NoButton
        && (e->globalPosition().toPoint() - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        // A move, not a click: the window manager moves the window from here.
        m_movePending = false;
        m_hideOnRelease = false;
        if (m_mouseCaptured) {
            m_mouseCaptured = false;
            fSetLinkColour(m_linkColour);
        }
        MForms::DragForm(this);
    }
    QWidget::mouseMoveEvent(e);
}

void FrmAbout::mousePressEvent(QMouseEvent* e)
{
    Form_MouseDown(e->button(), e->position().toPoint());
    m_pressedAt = e->globalPosition().toPoint();
    QWidget::mousePressEvent(e);
}

void FrmAbout::Form_MouseDown(Qt::MouseButton button, const QPoint& position)
{
    m_armed = false;
    if (fOverLink(position)) {
        if (button == Qt::LeftButton && m_shell)
            m_shell->ShellExecuteVerb(this, 0, MailAddress(), QString(), QString(), 1);
        m_ignoreNextClick = true;
        return;
    }
    m_movePending = true;
}

void FrmAbout::FormSc_AllMessages(int32_t message)
{
    if (message == Dadavive::WM_LBUTTONDOWN) {
        // A plain click hides the window; on X11 the release tells a click
        // from the start of a move.
        if (!m_ignoreNextClick)
            m_hideOnRelease = true;
        m_ignoreNextClick = false;
    } else if (message == Dadavive::WM_EXITSIZEMOVE) {
        // The press that moved the window is no click.
        m_hideOnRelease = false;
    }
}

void FrmAbout::mouseReleaseEvent(QMouseEvent* e)
{
    m_movePending = false;
    if (m_hideOnRelease) {
        m_hideOnRelease = false;
        fHideWindow();
    }
    QWidget::mouseReleaseEvent(e);
}

void FrmAbout::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
        fHideWindow();
        return;
    }
    QWidget::keyPressEvent(e);
}

bool FrmAbout::event(QEvent* e)
{
    // Showing the window activates it (a window manager may keep the focus
    // elsewhere: the splash goes all the same).
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && m_armed)
        m_tmrClose->start();
    else if (e->type() == QEvent::Hide && m_modalLoop)
        m_modalLoop->quit();
    return QWidget::event(e);
}

void FrmAbout::tmrClose_Timer()
{
    m_tmrClose->stop();
    if (m_armed)
        fHideWindow();
    m_armed = false;
}

void FrmAbout::fHideWindow()
{
    if (m_mouseCaptured) {
        m_mouseCaptured = false;
        releaseMouse();
        fSetLinkColour(m_linkColour);
    }
    hide();
}
