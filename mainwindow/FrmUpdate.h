#pragma once

// The window of Help > Check for update: it reads the version information
// from the update server, compares it with the running program and says
// whether a newer version exists, with a link to the home page. The main
// window makes one per check, shows it modal and lets it go afterwards.
//
// The check starts 100 ms after the window is shown, so that the window is
// painted before the network read blocks; while it runs, the window cannot
// be closed.

#include "UpdateInfo.h"

#include <QDialog>
#include <QString>

#include <memory>

class IShell;
class QLabel;
class QPushButton;
class QTimer;

class FrmUpdate : public QDialog
{
    Q_OBJECT

public:
    // How long the server may take to answer.
    static constexpr int DefaultTimeoutMs = 10000;

    // `server` is the update server's address (UpdateInfo::ReadServerAddress),
    // empty when none is set; the home page is the address itself.
    FrmUpdate(QWidget* owner, std::shared_ptr<IShell> shell, const QString& server);

    // The window title, the reading, failure, new-version and up-to-date
    // texts, the labels of the two versions and the link's caption.
    void SetGuiTexts(const QString& title, const QString& reading, const QString& failure, const QString& newVersion,
                     const QString& upToDate, const QString& yourVersion, const QString& lastVersion,
                     const QString& linkCaption);
    // Shown below the failure text when no server is set: where to set it.
    void SetNoServerText(const QString& text) { m_noServerText = text; }
    // Shown below the failure text when the server set is no web address.
    void SetBadServerText(const QString& text) { m_badServerText = text; }
    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }

    bool DataSuccessfullyRetrieved() const { return m_dataRetrieved; }
    bool NewVersionAvailable() const { return m_info.newVersionAvailable; }
    // A check is running.
    bool IsBusy() const { return m_busy; }
    const UpdateInfo::Info& Info() const { return m_info; }

    // Runs the check now (skipped while one runs); its success.
    bool fCheckForUpdate();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    bool fReadVersionInfo();
    void tmrDelayedRead_Timer();
    void lblHomepageLink_Click();
    void fHideWindow();

    std::shared_ptr<IShell> m_shell;
    QString m_server;
    QLabel* m_lblInfos;
    QLabel* m_lblHomepageLink;
    QPushButton* m_cmdOk;
    QTimer* m_tmrDelayedRead;

    QString m_title;
    QString m_readingText;
    QString m_linkCaption;
    QString m_noServerText;
    QString m_badServerText;
    UpdateInfo::Texts m_texts;
    UpdateInfo::Info m_info;
    int m_timeoutMs = DefaultTimeoutMs;
    bool m_loaded = false;
    bool m_busy = false;
    bool m_dataRetrieved = false;
};
