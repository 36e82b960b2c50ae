#pragma once

#include "TaggedValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

// The reader of the program's own command line and a few list helpers.
//
// Linux hands the program its arguments one by one; the program entry joins
// them into one command-line text with JoinArguments (quoting each argument
// that holds a blank) and stores it with SetCommandLineText, and the reader
// below splits that text again, so that a project path with a blank opens.
namespace MArrayConvert {

// Everything after the program's own path, as one text.
void SetCommandLineText(const QString& text);
QString CommandLineText();
// Joined with single blanks; an argument that holds a space or a tab (or is
// empty) is put in double quotes. Double quotes inside an argument cannot be
// carried: the splitter drops every double quote.
QString JoinArguments(const QStringList& arguments);

// The single-text form: false (target unchanged) for an empty command line.
// With firstOnly, only the first argument: a quoted text up to its closing
// quote followed by a blank, or an unquoted text up to the first blank; the
// double quotes are removed from any text of two characters or more.
bool GetCommandLineArgs(QString& target, bool firstOnly);
// The list form: the command line split into items (SplitCommandLine).
bool GetCommandLineArgs(QStringList& target, bool firstOnly = false);
// A tagged target holding a text or a list fills that form; any other
// kind gives false.
bool GetCommandLineArgs(TaggedValue& target, bool firstOnly);

// The same rules on a given text (what the readers above apply to the
// stored command line).
QString FirstArgumentText(const QString& commandLine, bool firstOnly);
// Runs of blanks (space, tab) separate items; inside double quotes a run of
// blanks shrinks to its first blank; quotes group but are never part of an
// item. A text ending in a blank outside quotes leaves an empty last item.
QStringList SplitCommandLine(const QString& commandLine);

// Index of the first match or -1; an index beyond 32767 raises RuvError 6.
int16_t StringArrayIndexOf(const QStringList& list, QStringView text, bool wholeMatch, bool caseSensitive);
int16_t LongArrayIndexOf(const std::vector<int32_t>& list, int32_t value);
bool StringArrayContains(const QStringList& list, QStringView text, bool wholeMatch, bool caseSensitive);
bool LongArrayContains(const std::vector<int32_t>& list, int32_t value);

// No values: one 0 byte. A text as the first value: its bytes in Latin-1
// (one 0 byte for the empty text). Otherwise one byte per value by the
// standard conversion, 0 where it does not convert.
QByteArray ToByteArray(const std::vector<TaggedValue>& values);
// No values: one empty text. Otherwise each value as text; a value that
// does not convert raises its RuvError.
QStringList ToStringArray(const std::vector<TaggedValue>& values);
// No values: one 0. Otherwise each value by the standard conversion to a
// 32-bit integer, 0 where it does not convert.
std::vector<int32_t> ToLongArray(const std::vector<TaggedValue>& values);

void ReverseArray(std::vector<int32_t>& values);
// The number of elements of the list held; 0 when the value holds none.
int32_t ArrayCount(const TaggedValue& value);

} // namespace MArrayConvert
