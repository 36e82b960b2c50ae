#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace MBytes {

// The text in the single-byte code page of the games' files (Latin-1), one
// byte per character; a character outside it becomes "?".
QByteArray StringToBytes(const QString& text);
// The high 16 bits as a signed value (0xFFFF0000 gives -1).
int16_t HiWord(int32_t x);

} // namespace MBytes
