#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class FrmDemos;
class QDateTime;
struct MainContext;

// The project's demo: picked, shown, copied into the game's demo folder.
class IDemoSelection
{
public:
    virtual ~IDemoSelection() = default;
    // The demo box's subclass object: a button pressed on txtDemo.
    virtual void txtDemoSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) = 0;
    // The demo argument of the game command: the chosen demo's path below
    // the game's default demo folder, empty when no demo is to be played.
    // May raise RuvError.
    virtual QString fGetGameDemoPath() { return {}; }
    // No demo chosen.
    virtual void fClearDemo() = 0;
    // The project's demo root folder; a folder that does not exist becomes
    // the game's demo folder, given back in `folder`.
    virtual void SetProjectDemoRootDir(QString& folder) = 0;

    // ---- For the project commands and the window's load ----------------------
    virtual QString ProjectDemoRootDir() const { return {}; }
    // Chooses the demo at `path` (relative to the project's demo root
    // folder, its parts joined by "\"); blanks around it are dropped, and
    // an empty path chooses none, as does one that leaves the folder.
    virtual void fSetDemo(const QString& path) { (void)path; }
    // The path, blanks around it aside, stays below the demo root folder:
    // no root, drive letter or ".." part. An empty path does.
    static bool fIsBelowDemoRoot(const QString& path);
    virtual bool fHasDemo() const { return false; }
    // The chosen demo relative to the demo root folder; empty for none.
    virtual QString fRelativeDemoPath() const { return {}; }
    // Answers the demo browser's four signals from now on; the window calls
    // it once, when it has made the browser.
    virtual void fConnectDemoBrowser(FrmDemos& browser) { (void)browser; }
};

class DemoSelection final : public QObject, public IDemoSelection
{
public:
    explicit DemoSelection(MainContext& context);

    void txtDemoSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) override;
    QString fGetGameDemoPath() override;
    void fClearDemo() override;
    void SetProjectDemoRootDir(QString& folder) override;
    QString ProjectDemoRootDir() const override { return m_projectDemoRootDir; }
    void fSetDemo(const QString& path) override;
    bool fHasDemo() const override { return !m_demoTag.isEmpty(); }
    QString fRelativeDemoPath() const override { return m_demoTag; }
    void fConnectDemoBrowser(FrmDemos& browser) override;

    // The browser shows the project's demo root folder with the active
    // game's demos.
    void fRefreshDemoBrowser();
    // The project's demo root folder, "\", the chosen demo.
    QString fDemoFullPath() const;
    bool fDemoExists() const;
    // The project's demo root folder is the game's default demo folder
    // (case aside).
    bool fIsDemoInDefaultRoot() const;
    // The copy's 18 characters: the date and time as yyyyMMdd_hhmmss, then
    // the millisecond tick count modulo 1000 in three digits.
    QString fDemoCopyStamp(const QDateTime& when) const;

    // ---- Handlers ----------------------------------------------------------
    void cmdGDemoPick_Click();
    void txtDemo_DblClick();
    void txtDemo_GotFocus();
    void mDemosForm_NewDemoRootDirSelected(const QString& folder);
    void mDemosForm_RefreshRequested(bool& cancel);
    void mDemosForm_SelectedDemoChanged(const QString& path);
    void mDemosForm_DemoListUpdated();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The chosen demo, shortened to the box.
    void fShowDemo();

    MainContext& m_c;
    QString m_projectDemoRootDir;
    // The chosen demo relative to the root, as txtDemo's tag; its text
    // shows it shortened.
    QString m_demoTag;
};
