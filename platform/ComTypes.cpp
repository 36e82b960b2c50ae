#include "ComTypes.h"

namespace Com {

std::optional<Guid> Guid::Parse(const QString& text)
{
    if (text.size() != 36 && text.size() != 38)
        return std::nullopt;
    const QByteArray latin = text.toLatin1();
    return Parse(std::string_view(latin.constData(), static_cast<size_t>(latin.size())));
}

QString Guid::ToString() const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    char buf[39];
    int pos = 0;
    auto put = [&](uint8_t b) {
        buf[pos++] = digits[b >> 4];
        buf[pos++] = digits[b & 15];
    };
    buf[pos++] = '{';
    for (int shift = 24; shift >= 0; shift -= 8)
        put(static_cast<uint8_t>(Data1 >> shift));
    buf[pos++] = '-';
    put(static_cast<uint8_t>(Data2 >> 8));
    put(static_cast<uint8_t>(Data2));
    buf[pos++] = '-';
    put(static_cast<uint8_t>(Data3 >> 8));
    put(static_cast<uint8_t>(Data3));
    buf[pos++] = '-';
    put(Data4[0]);
    put(Data4[1]);
    buf[pos++] = '-';
    for (int i = 2; i < 8; ++i)
        put(Data4[i]);
    buf[pos++] = '}';
    buf[pos] = 0;
    return QString::fromLatin1(buf, pos);
}

}  // namespace Com
