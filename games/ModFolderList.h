#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CGameDefinition;

// The mod folders a game's location control offers when the game runs from
// a mod folder beside its executable.
namespace ModFolderList {

struct Entry
{
    QString name;    // the folder's own name, as the list shows it
    QString folder;  // the folder it lies in
    bool besideExecutable = true;  // false: in the engine's home folder
};

// Names never offered (compared as whole names, without regard to case).
const QStringList& ExcludedFolders();

// The sub-folders of the executable's folder, in name order, less the
// excluded ones. On Linux the engines keep their mods in a home folder of
// their own: when the game's mod folder lies there (a valid location outside
// the executable's folder), that folder's sub-folders follow. Nothing for an
// executable path without a folder or a folder that cannot be read.
QList<Entry> ListModFolders(const CGameDefinition& game);

// The entry that stands for the game's mod folder: its name equals
// ModDirBasename exactly, and when the home folder is listed it is one of
// that folder's. -1 when none.
int CurrentEntry(const QList<Entry>& entries, const CGameDefinition& game);

// The mod folder an entry stands for.
QString FullPath(const Entry& entry);

} // namespace ModFolderList
