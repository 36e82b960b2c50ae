#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The engines that run each built-in game on Linux. The game table keeps the
// Windows executable and window names (they are shown and stored); the
// location test, the launcher and the detection also use these.
//
// Folders begin with "~/" (the home folder) or "$XDG_DATA_HOME/" (the XDG
// data home, ~/.local/share when unset), or are absolute.
struct GameLinuxNames
{
    QStringList executables;  // file names, compared without regard to case
    QStringList windowClasses;  // X11 WM_CLASS names of the game window
    // Where the engines keep the user's copy of the base folder and the mods
    // (the engine's home path), most likely first.
    QStringList homeFolders;
    // Where the game is installed: folders that hold the executable.
    QStringList installFolders;
};

// Game types 0 to 4; an unknown type has no names.
const GameLinuxNames& LinuxNamesOfGame(int32_t gameType);
