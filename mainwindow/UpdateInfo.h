#pragma once

// The update check without its window: where the version information lies,
// what the information file says, and what the window shows about it.
//
// The file is XML whose root element holds a child <LastVersion date=""
// build="" url=""/>: the release date in the ISO form, the version as
// numbers joined by "." and a download address. It comes from a server on
// the network and is untrusted: anything that does not read is a failed
// check, never a verdict.

#include "MCommon.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

class ISettingsStore;

namespace UpdateInfo {

// The key and the text value that hold the update server's address
// ("http://host:port"); there is no default server.
inline constexpr const char* SettingsKey = "HKLM\\Software\\Viziviz\\Ruvadir";
inline constexpr const char* ServerValueName = "UpdateServer";
// SettingsKey as the settings file nests it: the names of its keys from
// the outermost, joined by "/".
QString SettingsKeyInFile();
// The information file on that server.
inline constexpr const char* InfoPath = "/pub/ruvadir_info.xml";

// The stored server address with surrounding blanks and trailing "/"
// removed; empty when none is set (or the value is no text).
QString ReadServerAddress(ISettingsStore& store);
// The address of the information file on the server.
QString InfoAddress(const QString& server);
// An http:// or https:// address with a host: the only kind the window
// asks or opens, since anything else would be handed to whatever program
// the desktop starts for it.
bool IsWebAddress(const QString& address);

// The result of comparing versions that have different numbers of parts,
// or of which one is empty.
constexpr int32_t NotComparable = -99;

struct Info
{
    // The running program: major, minor, 0, revision.
    MCommon::VersionList current{0, 0, 0, 0};
    // The `build` attribute split at ".": as many numbers as it has parts.
    MCommon::VersionList last{0, 0, 0, 0};
    QDateTime date = MCommon::ZeroDate();
    QString url;
    // fCompareVersions(last, current).
    int32_t comparison = NotComparable;
    bool newVersionAvailable = false;
};

// A version has at most this many parts.
constexpr size_t VersionParts = 4;

// The text split at "." into integers, one per part; a part that is no
// integer gives 0. The text comes from the server: at most one part beyond
// those a version has is kept, which still keeps it from comparing.
MCommon::VersionList SplitBuild(const QString& text);
// The numbers joined by ".".
QString JoinVersion(const MCommon::VersionList& version);
// 1 when a is newer than b, -1 when older, 0 when equal; NotComparable when
// either is empty or their part counts differ.
int32_t fCompareVersions(const MCommon::VersionList& a, const MCommon::VersionList& b);

// Reads the information file's body against the running version. False,
// with `info` reset (its current version set), for an empty body,
// malformed XML, no root or no LastVersion, a date that does not read or a
// version whose parts sum to 0 or less.
bool Parse(const QByteArray& body, const MCommon::VersionList& current, Info& info);

// The texts of the window that the check's message is made of.
struct Texts
{
    QString failure;
    QString newVersion;
    QString upToDate;
    QString yourVersion;
    QString lastVersion;
};

// On success: "<your version> : a.b.c.d", "<last version> : ...", an empty
// line and the verdict, lines joined by CR LF; when the versions cannot be
// compared the verdict and its empty line are left out. On failure the
// failure text.
QString Message(bool success, const Info& info, const Texts& texts);

}  // namespace UpdateInfo
