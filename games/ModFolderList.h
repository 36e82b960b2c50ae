#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CGameDefinition;
namespace GameDetection {
struct SearchPlaces;
}

// The mod folders a game's location control offers in its list (the games
// that do not run from an absolute folder).
namespace ModFolderList {

struct Entry
{
    QString name;    // the folder's own name, as the list shows it
    QString folder;  // the folder it lies in
    bool besideExecutable = true;  // false: in a home folder of the engine's
};

// Names never offered (compared as whole names, without regard to case).
const QStringList& ExcludedFolders();

// The sub-folders of the executable's folder, in name order, less the
// excluded ones. On Linux the engines keep their base folder and mods in a
// home folder of their own (~/.q3a, ~/.etlegacy): the sub-folders of each
// of the game's home folders, and of the folder the mod folder lies in,
// follow, for each such folder that holds the game's base folder (any
// case). No home folders for a game that runs from an absolute folder.
// Nothing for an executable path without a folder part.
// The home folders are those of the given places.
QList<Entry> ListModFolders(const GameDetection::SearchPlaces& places, const CGameDefinition& game);

// The entry that stands for the game's mod folder: its name equals
// ModDirBasename exactly and it lies in the mod folder's parent. -1 when
// none.
int CurrentEntry(const QList<Entry>& entries, const CGameDefinition& game);

// The mod folder an entry stands for.
QString FullPath(const Entry& entry);

} // namespace ModFolderList
