#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class CGameDefinition;

// Where a built-in game lies on this Linux system, from the table of
// GameLinuxNames: the executable on PATH or in an install folder, the mod
// folder in the engine's home folder. On Windows the mod folders lie beside
// the executable; on Linux the engines read them from a home path of their
// own (~/.etlegacy/etpro beside ~/.etlegacy/etmain), wherever the executable
// lies. Looking creates nothing; names are matched as the table gives them,
// folders without regard to case.
namespace GameDetection
{
// The places a search looks in, given by the caller: the program gives
// those of this system, a test folders of its own, so that nothing else
// installed on the machine can change what is found.
struct SearchPlaces
{
    // The folders of PATH, in order; empty ones are never searched (they
    // would mean the working folder).
    QStringList pathFolders;
    // The home folder ("~/" of the table).
    QString home;
    // XDG_DATA_HOME as set; empty or relative means home/.local/share.
    QString dataHome;
    // The table's absolute install folders lie below it: "/" on the
    // system; empty searches none of them.
    QString systemRoot;

    // PATH, HOME and XDG_DATA_HOME of the environment now, the root "/".
    static SearchPlaces OfThisSystem();
};

// The game's home and install folders as absolute paths, in table order.
QStringList HomeFolders(const SearchPlaces& places, int32_t gameType);
QStringList InstallFolders(const SearchPlaces& places, int32_t gameType);

// The first of the game's Linux executables, by the table's order of names,
// found on PATH, else in the install folders: a file with the execute bit.
// Empty when there is none.
QString FindExecutable(const SearchPlaces& places, int32_t gameType);

// The folder named defaultDir (any case) in the first home folder that
// holds a folder named baseDir (any case); empty when no home folder holds
// baseDir, or the first one that does holds no defaultDir (the engine found
// next would not read a mod from a later one).
QString FindModFolder(const SearchPlaces& places, int32_t gameType, const QString& baseDir,
                      const QString& defaultDir);

// Gives an empty ExeFullPath and an empty ModFullDir of the game what is
// found; values that are set stay, and nothing found leaves a value empty.
// True when a value was filled. (The definition's own path update then
// runs, as for any value set: it makes the default demo folder of a valid
// location.)
bool FillEmptyLocation(const SearchPlaces& places, CGameDefinition& game);
}
