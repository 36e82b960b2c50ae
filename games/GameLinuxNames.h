#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The engines that run each built-in game on Linux. The game table keeps the
// Windows executable and window names (they are shown and stored); the
// location test and the launcher also accept these.
struct GameLinuxNames
{
    QStringList executables;  // file names, compared without regard to case
    QStringList windowClasses;  // X11 WM_CLASS names of the game window
};

// Game types 0 to 4; an unknown type has no names.
const GameLinuxNames& LinuxNamesOfGame(int32_t gameType);
