#pragma once

// The position files that the games write when the user records camera
// positions with the recorder scripts, read back as control points. No
// window here: the curve import of the main window picks the files, asks
// and shows the messages; this module reads the files and parses them.
//
// The files come from a game's console dump and are untrusted: every field
// that does not read gives 0, a missing terminator gives 0 for that field
// and the ones after it, and numbers never follow the user's locale.

#include "ControlRecord.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace PositionFiles {

// A position file is a few hundred bytes; anything larger is no position
// file and is neither read nor removed.
constexpr int64_t MaxFileBytes = 1024 * 1024;

// The field reader. Positions count characters from 1. With `position`
// above 0, `end` becomes the first `terminator` at or after it; when there
// is one, the characters from the position up to `end` are read as a
// leading decimal number (sign, digits, "." fraction, exponent; 0 when
// there is none), rounded to 2 decimals (halves to even) with `rounding`,
// and the position moves behind the terminator. Without a terminator the
// value is 0 and the position becomes 0; with the position at 0 or below
// the value is 0 and `end` becomes 0.
double fReadPositionField(const QString& text, int32_t& position, int32_t& end, const QString& terminator,
                          bool rounding);
// The occurrences of the separator, searching again one character after
// each hit; 0 for an empty separator.
int32_t fCountOccurrences(const QString& text, const QString& separator);

// One entry (a whole file, or one line of a file) as a control: the
// position, the angles, the field of view (0 becomes 90) and, where the
// game writes it, the time in seconds; the timescale is 1.
ControlRecord fParsePositionEtPro(const QString& entry);
ControlRecord fParsePositionDefrag(const QString& entry);
ControlRecord fParsePositionRtcw(const QString& entry);
ControlRecord fParsePositionEtqw(const QString& entry);

// The controls of a game type's entries, in order: ET Pro (0) reads every
// entry as RTCW when its first entry holds four ":" or more; DeFrag (1),
// RTCW (3) and ET QW (4) have their parsers; Warsow (2) has none and gives
// no control, as does any other game type.
std::vector<ControlRecord> ParseEntries(int32_t gameType, const QStringList& entries);

// The folder import's files, each read whole (one entry a file). Files that
// cannot be read, and files over MaxFileBytes, are skipped; `read` lists
// the files that gave an entry, so that only those are offered for removal.
void ReadEntryFiles(const QStringList& files, QStringList& entries, QStringList& read);
// The file import's lines (empty lines give none); false when the file
// cannot be read, is empty or is over MaxFileBytes.
bool ReadLineFile(const QString& path, QStringList& lines);
// The entries of a DeFrag file: every line after the first, when there
// are at least two.
QStringList DefragEntries(const QStringList& lines);
// The entries of a Warsow file: with at least two lines, every line but
// the comments (at least 3 characters, starting with "//").
QStringList WarsowEntries(const QStringList& lines);

}  // namespace PositionFiles
