#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

class QObject;

// The program's one layer over the file system. Paths may be written the
// Windows way ("C:\Games\et", "\" separators) or the Linux way; PathHelper
// turns them into Linux paths at the system boundary, and the splitting
// helpers treat "\" and "/" alike. Every operation reports failure by its
// result (false, 0, the empty text) and raises nothing, except a flags
// value that does not fit in 16 bits (RuvError 6).
//
// Files are written to a temporary file that is renamed over the old one,
// so a failed write leaves the old file as it was.
namespace MFileOp {

// The shell flags the callers pass (they combine).
constexpr int32_t FofSilent = 0x4;
constexpr int32_t FofNoConfirmation = 0x10;
constexpr int32_t FofAllowUndo = 0x40;   // delete: to the trash
constexpr int32_t FofFilesOnly = 0x80;   // wildcards: files only

// Copies a file or folder (wildcards allowed in the last part of `from`)
// into the folder `to`, or to the name `to` when that is no folder.
// Existing targets are replaced only with FofNoConfirmation.
bool ShellCopy(const QString& from, const QString& to, int32_t flags, QObject* owner = nullptr);
// Deletes a file or folder with everything in it (wildcards allowed);
// with FofAllowUndo it goes to the trash or nothing happens.
bool ShellDelete(const QString& path, int32_t flags, QObject* owner = nullptr);

// Moves one file or folder (a Linux path, no wildcards) to the user's
// trash; false, with nothing moved, when the trash cannot be made.
bool MoveToTrash(const QString& nativePath);

bool DrivesPresent(int32_t mask);
bool DriveExists(const QString& path);
// The first entry that the path (wildcards allowed) finds is a file.
bool FileExists(const QString& path);
bool FolderExists(const QString& path);
// Creates the folder with every missing parent; false when it exists.
bool CreateFolderPath(const QString& path);
// The last-write time as a date (days since 30 December 1899, local time,
// whole seconds); 0 when the file is missing.
double GetFileDate(const QString& path);

// Reading a whole file (or its first maxBytes bytes when 0 < maxBytes <
// size). Text: bytes as Latin-1. Lines: split at CR and LF, empty lines
// dropped, each byte one character. True when something was read.
bool ReadFileData(const QString& path, QString& text, int32_t maxBytes = 0);
bool ReadFileData(const QString& path, QStringList& lines, int32_t maxBytes = 0);
bool ReadFileData(const QString& path, QByteArray& bytes, int32_t maxBytes = 0);

// Writing a whole file, atomically. Text: one byte a character (Latin-1,
// "?" for what it cannot hold). Lines: each followed by CR LF. True when the
// whole content stands under the name, an empty one as an empty file.
bool WriteFileData(const QString& path, const QString& text, bool overwrite = true);
bool WriteFileData(const QString& path, const QStringList& lines, bool overwrite = true);
bool WriteFileData(const QString& path, const QByteArray& bytes, bool overwrite = true);
// Why the last WriteFileData failed, as the system tells it ("No space left
// on device"); empty after one that succeeded.
QString LastWriteError();

QString GetFolderPart(const QString& path);
bool GetExistingFolder(const QString& path, QString& result);
// Appends the folder and its subfolders (depth first when recursive).
bool ListFolder(QStringList& list, const QString& folder, bool recursive);
// Files of the folder (and below); one pattern is a wildcard pattern, two or
// more are extensions without their dot, compared in lower case.
bool FindFilesRecursive(QStringList& result, const QString& folder, bool recursive,
                        const QStringList& patterns = {});
QString GetFileName(const QString& path);
QString GetExtension(const QString& path);
QString RemoveExtension(const QString& path);
bool GetParentFolder(const QString& path, QString& parent);
QString NormalizePath(const QString& path);

// The special folders the program asks for, by the shell's numbers.
constexpr int32_t CsidlDesktop = 0;
constexpr int32_t CsidlPersonal = 5;   // documents
constexpr int32_t CsidlMyMusic = 13;
constexpr int32_t CsidlMyVideo = 14;
constexpr int32_t CsidlDrives = 17;    // the computer's drives: the root
constexpr int32_t CsidlAppData = 26;
constexpr int32_t CsidlMyPictures = 39;
constexpr int32_t CsidlProfile = 40;
// The Linux folder that stands for a special folder (XDG folders); the
// home folder for a number without a counterpart. A number beyond 16 bits
// raises RuvError 6.
QString SpecialFolderPath(int32_t csidl);

}  // namespace MFileOp
