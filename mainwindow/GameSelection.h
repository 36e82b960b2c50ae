#pragma once

#include <QString>

#include <cstdint>

struct MainContext;

// The table of the five built-in games and the active game: the table is
// made when the window is created, the mod menu while it loads, and a game
// is applied to the window at load, from the mod menu and when a project
// is opened. Also the game's folders as the other groups need them, and
// the exchange with the game settings window.
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

    // True for the games with a free camera command (types 0, 3 and 4).
    virtual bool fGameSupportsFreecam() const = 0;
    // The folder that holds the game's configuration files; false (root
    // unchanged) when the location is not valid or the folder is missing.
    virtual bool fGetGameRootDir(QString& root) = 0;
    // True when the active game's location is valid; after loading an
    // invalid one first offers the game settings window.
    virtual bool fCheckGameLocation() = 0;
    // The game settings window; false when it was cancelled.
    virtual bool fShowGamePreferences() = 0;
    // The game's demo folder into the project, and the configuration lists
    // rid of the files that are gone.
    virtual void fApplyGameFolders() = 0;
    // The folders of the active game: position files, camera scripts and
    // screenshots.
    virtual QString fGetImportDir() const = 0;
    virtual QString fGetScriptOutDir() const = 0;
    virtual QString fGetScreenshotDir() const = 0;
};

class GameSelection final : public IGameSelection
{
public:
    explicit GameSelection(MainContext& context);

    void fCreateGameDefinitions() override;
    int32_t fDefaultModIndex() const override { return 0; }
    void fBuildModMenu() override;
    void ClearActiveGame() override;
    void fApplyGameToGui(int32_t index, bool saveFirst) override;
    bool fGameSupportsFreecam() const override;
    bool fGetGameRootDir(QString& root) override;
    bool fCheckGameLocation() override;
    bool fShowGamePreferences() override;
    void fApplyGameFolders() override;
    QString fGetImportDir() const override;
    QString fGetScriptOutDir() const override;
    QString fGetScreenshotDir() const override;

    // Checks mod menu item `index` and unchecks the others.
    void fCheckModMenuItem(int32_t index);
    // The game menu's commands.
    void mnuGM_Mod_Click(int32_t index);
    void mnuG_Preference_Click();
    // Fills the empty ET QW folders the way its Windows installer left
    // them (the store's values, the documents folder).
    void fDetectEtqwLocations();
    // The user's documents folder; false when there is none.
    bool fGetPersonalFolder(QString& folder) const;

private:
    void fApplyGameOptions(int32_t index);

    MainContext& m_c;
};
