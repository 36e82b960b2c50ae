#pragma once

// The about box, shown first as the splash window: a frameless window in
// the shape of the program's skin "IDC_SKIN", with the version line on the
// artwork's lowest band and a contact link that opens the user's mail
// program. The main window makes it once and keeps it; it is hidden, never
// closed.
//
// A plain click anywhere but on the link hides it, a drag moves it without
// hiding it, a click on the link opens the mail and keeps it. X11 moves a
// window asynchronously: a press outside the link starts the move once the
// pointer has gone the drag distance, and a release without that hides.

#include "ComTypes.h"
#include "MCommon.h"

#include <QColor>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <memory>

class IShell;
class ISettingsStore;
class QEventLoop;
class QLabel;
class QTimer;
class WindowEvents;

namespace Dadavive {
class ICSubclass;
}

class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    // The contact address is the text value "ContactAddress" under the
    // program's key; without one the link is not shown.
    explicit FrmAbout(std::shared_ptr<IShell> shell = nullptr, std::shared_ptr<ISettingsStore> settings = nullptr);
    ~FrmAbout() override;

    // The link's caption (shown once loaded) and the body of the mail.
    void SetControlsText(const QString& contactCaption, const QString& mailBody);
    // Arms or disarms the automatic close, from the next activation on.
    void CloseAfterDelay(bool armed);
    bool IsArmed() const { return m_armed; }
    void CenterToScreen();
    // The active game's friendly name ends the mail's subject; the version
    // is kept.
    void SetModInfos(const QString& gameName, const QString& gameVersion);
    // Shows the window modeless, owned by `owner` (nullptr for none).
    void ShowModeless(QWidget* owner);
    // Shows the window modal, owned by `owner`, and returns once it hides.
    void ShowModal(QWidget* owner);

    // The window's close timer (tmrClose).
    QTimer* CloseTimer() const { return m_tmrClose; }
    // The address the link opens: "mailto:", the contact address, the
    // subject ending in the game's name and the body, each encoded.
    QString MailAddress() const;
    // "dd.mm.yy", two blanks, then "v<major>.<minor> b<revision>"; a zero
    // date (none known) leaves the date out.
    static QString VersionLine(double fileDate, const MCommon::VersionList& version);
    // The shape: the skin's region and the version line's letters.
    const QRegion& Shape() const { return m_shape; }

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Load();
    void fApplySkin(QRegion& skinRegion);
    void fPrintVersion();
    void FormSc_AllMessages(int32_t message);
    void Form_MouseDown(Qt::MouseButton button, const QPoint& position);
    bool fOverLink(const QPoint& position) const;
    void fSetLinkColour(const QColor& colour);
    // Shows the contact caption, the link as wide as its text needs.
    void fSetLinkCaption();
    void SetOwner(QWidget* owner);
    void tmrClose_Timer();
    void fHideWindow();

    std::shared_ptr<IShell> m_shell;
    QString m_contactAddress;
    QLabel* m_picInfoLabel = nullptr;
    QLabel* m_lblContact = nullptr;
    QTimer* m_tmrClose = nullptr;
    Com::ComPtr<WindowEvents> m_events;
    Com::ComPtr<Dadavive::ICSubclass> FormSc;
    QRegion m_shape;
    // The loop of a modal show, quit when the window hides.
    QEventLoop* m_modalLoop = nullptr;

    bool m_loaded = false;
    bool m_ignoreNextClick = false;
    bool m_armed = false;
    QString m_gameName;
    QString m_gameVersion;
    const QColor m_linkColour{159, 159, 159};
    const QColor m_linkHoverColour{243, 243, 243};
    bool m_mouseCaptured = false;
    QString m_contactCaption;
    QString m_mailBody;

    // The X11 side of a press outside the link: where it was, whether it
    // may still become a move, and whether its release hides the window.
    QPoint m_pressedAt;
    bool m_movePending = false;
    bool m_hideOnRelease = false;
};
