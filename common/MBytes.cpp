#include "MBytes.h"

namespace MBytes {

QByteArray StringToBytes(const QString& text)
{
    return text.toLatin1();
}

int16_t HiWord(int32_t x)
{
    return static_cast<int16_t>(static_cast<uint32_t>(x) >> 16);
}

} // namespace MBytes
