#pragma once

#include "MainServices.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

struct MainContext;

// The game group's two buttons: cmdGameLoad starts the active game with the
// project's mod, configuration and demo, or types the same commands into
// the console of the game that runs already; cmdGameClose asks the running
// game to close. Nothing here waits for the game.
class IGameLauncher
{
public:
    using Handle = IGameWindows::Handle;

    virtual ~IGameLauncher() = default;
    virtual void cmdGameLoad_Click() = 0;
    virtual void cmdGameClose_Click() = 0;
    // The game command: in console mode "/exec x.cfg;demo "d"" (ET QW
    // without the "/", with playNetDemo), else "+exec x.cfg+demo "d"";
    // empty when neither applies. False when the configuration or the demo
    // cannot be given to the game; the user has been told which.
    virtual bool fGetGameCommand(bool consoleMode, QString& command) = 0;
    // The running game's window, the topmost of the shown windows that
    // carry the game's title and class, one of its engines' window classes
    // or the process started last for this game while it runs; 0 when none.
    virtual Handle fFindGameWindow() = 0;
    // Restores the window when it is minimized; a 0 handle is searched
    // first and the handle found written back.
    virtual void fRestoreGameWindow(Handle& window) = 0;
};

class GameLauncher final : public IGameLauncher
{
public:
    explicit GameLauncher(MainContext& context);

    void cmdGameLoad_Click() override;
    void cmdGameClose_Click() override;
    bool fGetGameCommand(bool consoleMode, QString& command) override;
    Handle fFindGameWindow() override;
    void fRestoreGameWindow(Handle& window) override;

private:
    bool fIsGameExecutable() const;
    // The engine's first argument, fs_game or fs_userpath; false when the
    // mod folder cannot be given to the game (the user has been told).
    bool fGetModArgument(QString& argument);
    void fStartGame();
    void fShowRefusal(const QString& refusal);

    MainContext& m_c;
    // The process of the last start and the game it was started for: its
    // windows count as that game's, and only for as long as it runs. The
    // watch forgets it when it ends.
    int64_t m_startedProcess = 0;
    const CGameDefinition* m_startedGame = nullptr;
    std::unique_ptr<QObject> m_startedWatch;
    // Holds the buttons' connections for as long as this object lives.
    QObject m_receiver;
};
