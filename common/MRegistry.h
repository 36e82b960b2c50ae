#pragma once

#include "RegistryStore.h"
#include "TaggedValue.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// Registry access by one full key path text ("HKLM\Software\Viziviz\Ruvadir")
// and a value name, on the program's settings store. Each call reads or
// changes the store and returns; nothing stays open between calls, and a
// value written is on disk when RegWrite returns.
//
// No failure of the store raises: an unknown hive, a missing key or value,
// an unreadable store or an unsupported type give null, false or empty
// lists. Only the conversion of the values given to RegWrite raises
// (RuvError 6 for a number out of range, 13 for a value that does not
// convert, 94 for null).
namespace MRegistry {

// The store's type codes, and the module's own forms for writing: 31 a list
// of bytes, 32 a text stored as its bytes (Latin-1), 71 a list of texts.
enum TypeCode : int32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
    RegBinaryFromList = 31,
    RegBinaryFromText = 32,
    RegMultiSzFromList = 71,
};

// Splits a key path into its hive (nothing when the name is not in the hive
// table) and the subkey below it; one trailing backslash is ignored.
void SplitKeyPath(const QString& keyPath, std::optional<RuvPlatform::RegistryHive>& hive, QString& subkey);

// The value as a text (1, 2; up to its first NUL), a list of bytes (3), a
// 32-bit integer (4) or a list of texts (7, up to its first empty item);
// null when there is nothing to read.
TaggedValue RegRead(const QString& keyPath, const QString& valueName);

// Stores the values under the type code, creating the key with every
// missing level. For 31, 32 and 71 the code is set to the one stored (3, 3,
// 7). 32 with the empty text and any unknown code store nothing (false).
bool RegWrite(const QString& keyPath, const QString& valueName, int32_t& typeCode,
              const std::vector<TaggedValue>& values);
// One value and a fixed type code. For 3 and 7 a list given here stands for
// the values themselves.
bool RegWrite(const QString& keyPath, const QString& valueName, int32_t typeCode, const TaggedValue& value);

// True when the value existed and was deleted.
bool RegDelete(const QString& keyPath, const QString& valueName);

// The names and type codes of the key's values in the order they were first
// written; true when at least one was listed. Both lists are empty
// otherwise.
bool RegListValues(const QString& keyPath, QStringList& names, QList<int32_t>& types);

}  // namespace MRegistry
