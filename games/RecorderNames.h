#pragma once

#include <QString>

// The names and folders the user types into the recorder's settings end up
// in file names and inside the game's console commands ("exec", "condump",
// "set"), so they are cleaned before they are stored.
namespace RecorderNames {

// Trims blanks; replaces ":", "*", "?", the double quote, "<", ">", "|",
// the blank, and without separatorsAllowed also "\" and "/", by "_". A ";"
// (it would end the console command), a control character and a character
// the scripts' Latin-1 cannot hold become "_" too. With separators allowed,
// "/" becomes "\", runs of "\" shrink to one, and one leading and one
// trailing "\" go: " cameras//vava\\pos\ " gives "cameras\vava\pos".
QString fSanitizeName(const QString& text, bool separatorsAllowed);

// True when the folder lies inside the folder it is relative to (the mod
// folder): not absolute (no leading separator, no drive), no "." or ".."
// part. The empty folder is that folder itself.
bool IsFolderInside(const QString& relative);

} // namespace RecorderNames
