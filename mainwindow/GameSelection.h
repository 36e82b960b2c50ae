#pragma once

#include <QString>

#include <cstdint>

struct MainContext;

// The table of the five built-in games and the active game: the table is
// made when the window is created, the mod menu while it loads, and a game
// is applied to the window at load, from the mod menu and when a project
// is opened.
class IGameSelection
{
public:
    virtual ~IGameSelection() = default;
    // Makes the five game definitions of the table, in the order 0 to 4.
    virtual void fCreateGameDefinitions() = 0;
    // The default game: 0 (ET Pro).
    virtual int32_t fDefaultModIndex() const = 0;
    // One mod menu item per game, the default one checked.
    virtual void fBuildModMenu() = 0;
    // Empties the active-game reference (before the first application).
    virtual void ClearActiveGame() = 0;
    // Makes game `index` (0 to 4) the active game and adapts the window;
    // with saveFirst the settings of the game left are saved first.
    virtual void fApplyGameToGui(int32_t index, bool saveFirst) = 0;

    // ---- Asked by the game launch, its configurations and screenshots ----
    // The folder that holds the game's configuration files (the folder of
    // its executable, or the parent of its mod folder for ET QW), after the
    // location check; false (rootDir left alone) when the location is not
    // valid or the folder is missing.
    virtual bool fGetGameRootDir(QString& rootDir)
    {
        (void)rootDir;
        return false;
    }
    // True when the active game's location is valid, after offering the
    // preferences window when it is not (never while the window loads).
    virtual bool fCheckGameLocation() { return false; }
    // Shows the game settings window; false when it was cancelled.
    virtual bool fShowGamePreferences() { return false; }
    // The active game's mod folder followed by "screenshots".
    virtual QString fGetScreenshotDir() { return {}; }

    // ---- Asked by the curve import ----------------------------------------
    // The folder of the active game's position files: its ImportDir when it
    // is set, else its mod folder followed by "cam/pos" ("demos" for
    // Warsow); empty without an active game.
    virtual QString fGetImportDir() const { return {}; }
};

class GameSelection final : public IGameSelection
{
public:
    explicit GameSelection(MainContext& context) : m_c(context) {}

    void fCreateGameDefinitions() override;
    int32_t fDefaultModIndex() const override { return 0; }
    void fBuildModMenu() override;
    void ClearActiveGame() override;
    void fApplyGameToGui(int32_t index, bool saveFirst) override;
    // Checks mod menu item `index` and unchecks the others.
    void fCheckModMenuItem(int32_t index);

private:
    MainContext& m_c;
};
