#pragma once

#include <QString>

#include <cstdint>

struct MainContext;

// The project's demo: picked, shown, copied into the game's demo folder.
class IDemoSelection
{
public:
    virtual ~IDemoSelection() = default;
    // The demo box's subclass object: a button pressed on txtDemo.
    virtual void txtDemoSc_MouseDown(int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) = 0;
    // No demo chosen.
    virtual void fClearDemo() = 0;
    // The project's demo root folder; a folder that does not exist becomes
    // the game's demo folder, given back in `folder`.
    virtual void SetProjectDemoRootDir(QString& folder) = 0;
    // The demo argument of the game command: the chosen demo's path below
    // the game's default demo folder, empty when no demo is to be played.
    // May raise RuvError.
    virtual QString fGetGameDemoPath() { return {}; }
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
