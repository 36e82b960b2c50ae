#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// The one place where the program's Windows-style paths ("C:\Games\et",
// "maps\q.bsp", drive letters, "\" separators) meet Linux paths, and where
// file names are matched by the Windows rules.
//
// Drives: "C:" is the root "/"; the letters D: to Z: name the other mounted
// volumes in the order of their mount points. A and B are never present.
namespace RuvPlatform::PathHelper {

struct Drive {
    QChar letter;      // 'C' ... 'Z'
    QString rootPath;  // "/", "/media/usb", ...
};

// The present drives, C: first.
QList<Drive> LogicalDrives();
// One bit per present drive letter, bit 0 = A.
uint32_t LogicalDriveMask();

// True for "C:", "c:\x" and the like: the path begins with a drive letter.
bool HasDriveLetter(const QString& path);

// True when a relative path, in either separator, stays inside the folder
// it is taken from: no leading separator, no drive letter, no ".." part.
bool StaysInside(const QString& relative);

// The path as Linux wants it: "\" becomes "/", a drive letter becomes its
// volume's root. A path already in Linux form is left as it is. The parts
// that do not exist as written are looked up without regard to case, so
// that "C:\Games\ET\ETMAIN" finds "/Games/et/etmain". An empty text stays
// empty; a drive letter that is not present gives the empty text.
QString ToNative(const QString& path);

// A Linux path in Windows form: "/Games/et" becomes "C:\Games\et", a path
// on another volume takes its drive letter. Relative paths only get "\".
QString ToWindows(const QString& nativePath);

// The separator a path is written with: "\" for Windows-form paths (a drive
// letter, or a "\" and no "/"), "/" otherwise.
QChar SeparatorOf(const QString& path);

// folder + separator + name, with the folder's own separator; no doubled
// separator when the folder already ends in one.
QString Join(const QString& folder, const QString& name);

// The last "\" or "/" of the text, or -1.
qsizetype LastSeparator(const QString& path);

// Matches a file name with "*" and "?" the way Windows does: without regard
// to case, "*" any run of characters, "?" exactly one, and a pattern ending
// in ".*" also matches names without that dot ("*.*" matches "README");
// a pattern ending in a lone "." matches only names without a dot.
bool WildcardMatch(const QString& pattern, const QString& name);
bool HasWildcards(const QString& text);

// True when a file or folder name can be written on Windows: no control
// characters and none of < > : " / \ | ? *, not empty, and not ending in a
// blank or a dot.
bool IsValidWindowsName(const QString& name);
// True when every part of the path below its drive or root is a valid name.
bool IsValidWindowsPath(const QString& path);

}  // namespace RuvPlatform::PathHelper
