#pragma once

#include <QString>

#include <cstdint>

// The rule for the user's names that go into game console commands. The
// engines split a command line at ";", blanks and double quotes, end it at a
// line break, and read their scripts as Latin-1 bytes: a name holding any of
// these would run a command of its own, cut an argument in two or name
// another file than the one on disk. Every writer of game commands (the
// script generator, the game launch, the recorder) refuses such a name
// before it writes anything.
namespace MConsoleNames {

// "The name "%%" cannot be given to the game: ...", for the names that have
// no refusal text of their own.
constexpr int32_t kConsoleNameText = 909;

// A file, folder, script, configuration, demo or mod name: no ";", no double
// quote, no blank, line break or other control character, nothing outside
// Latin-1. The empty name keeps the rule (whether one is needed is the
// caller's matter).
bool IsConsoleName(const QString& name);

// A name that also goes on the game's command line (a configuration, a
// demo, a mod): the console rule, and no "+", at which the engines split
// their command line into commands (some inside quotes too).
bool IsCommandLineName(const QString& name);

// A key's bind name ("p", "PGUP", "KP_INS", "MOUSE3"): one word of printable
// Latin-1 characters, without ";", a double quote, or "//" or "/*", which
// would comment out the rest of the line it is bound in.
bool IsKeyName(const QString& name);

// The empty text when `name` keeps the IsConsoleName rule; otherwise the
// refusal: the string-table text `messageNumber` in the language of
// `languageOffset` (an offset of MRuvResource), naming the name in its "%%".
QString ConsoleNameRefusal(const QString& name, int32_t languageOffset,
                           int32_t messageNumber = kConsoleNameText);

} // namespace MConsoleNames
