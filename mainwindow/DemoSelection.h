#pragma once

#include <QString>

#include <cstdint>

class FrmDemos;
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
    // an empty path chooses none.
    virtual void fSetDemo(const QString& path) { (void)path; }
    virtual bool fHasDemo() const { return false; }
    // The chosen demo relative to the demo root folder; empty for none.
    virtual QString fRelativeDemoPath() const { return {}; }
    // Answers the demo browser's four signals from now on; the window calls
    // it once, when it has made the browser.
    virtual void fConnectDemoBrowser(FrmDemos& browser) { (void)browser; }
};

class DemoSelection final : public IDemoSelection
{
public:
    explicit DemoSelection(MainContext& context) : m_c(context) {}
    void txtDemoSc_MouseDown(int32_t&, int32_t&, int32_t, int32_t, bool&) override {}
    void fClearDemo() override {}
    void SetProjectDemoRootDir(QString&) override {}

private:
    MainContext& m_c;
};
