#include "MRegistry.h"

#include "MCommon.h"

using RuvPlatform::RegistryHive;
using RuvPlatform::RegistryStore;
using RuvPlatform::RegistryValue;
namespace RegistryType = RuvPlatform::RegistryType;

namespace MRegistry {

namespace {

const QString kSource = QStringLiteral("MRegistry.RegWrite");

// Items of a stored text list as the registry hands them out: each item
// ends at the next NUL, and the list ends at the first empty item.
QStringList ReadTextList(const QStringList& stored)
{
    QString raw;
    for (const QString& item : stored) {
        raw += item;
        raw += QChar(u'\0');
    }
    QStringList items;
    qsizetype start = 0;
    while (start < raw.size()) {
        const qsizetype nul = raw.indexOf(QChar(u'\0'), start);
        if (nul < 0 || nul == start)
            break;
        items.append(raw.mid(start, nul - start));
        start = nul + 1;
    }
    return items;
}

std::vector<TaggedValue> ElementsOf(const TaggedValue& v)
{
    if (v.IsList())
        return v.ListValue();
    return {v};
}

QByteArray BytesOf(const std::vector<TaggedValue>& values)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(values.size()));
    for (const TaggedValue& v : values)
        bytes.append(static_cast<char>(MCommon::ToByte(v, kSource)));
    return bytes;
}

QStringList TextsOf(const std::vector<TaggedValue>& values)
{
    QStringList texts;
    for (const TaggedValue& v : values)
        texts.append(MCommon::ToText(v, kSource));
    return texts;
}

}  // namespace

void SplitKeyPath(const QString& keyPath, std::optional<RegistryHive>& hive, QString& subkey)
{
    RegistryHive h{};
    if (RuvPlatform::SplitRegistryPath(keyPath, h, subkey))
        hive = h;
    else
        hive.reset();
}

TaggedValue RegRead(const QString& keyPath, const QString& valueName)
{
    std::optional<RegistryHive> hive;
    QString subkey;
    SplitKeyPath(keyPath, hive, subkey);
    if (!hive)
        return TaggedValue::MakeNull();
    const auto value = RegistryStore::Instance().Value(*hive, subkey, valueName);
    if (!value)
        return TaggedValue::MakeNull();
    switch (value->type) {
    case RegistryType::Text:
    case RegistryType::ExpandText:
        return TaggedValue(MCommon::TrimNull(value->text));
    case RegistryType::Binary: {
        std::vector<TaggedValue> bytes;
        bytes.reserve(static_cast<size_t>(value->bytes.size()));
        for (char b : value->bytes)
            bytes.emplace_back(static_cast<uint8_t>(b));
        return TaggedValue(std::move(bytes));
    }
    case RegistryType::Number:
        return TaggedValue(static_cast<int32_t>(value->number));
    case RegistryType::TextList: {
        std::vector<TaggedValue> items;
        for (const QString& item : ReadTextList(value->items))
            items.emplace_back(item);
        return TaggedValue(std::move(items));
    }
    default:
        return TaggedValue::MakeNull();
    }
}

bool RegWrite(const QString& keyPath, const QString& valueName, int32_t& typeCode,
              const std::vector<TaggedValue>& values)
{
    std::optional<RegistryHive> hive;
    QString subkey;
    SplitKeyPath(keyPath, hive, subkey);

    // Conversions come first: their errors reach the caller before anything
    // is stored.
    RegistryValue value;
    switch (typeCode) {
    case RegSz:
    case RegExpandSz:
        if (values.empty())
            return false;
        value = RegistryValue::MakeText(MCommon::ToText(values.front(), kSource), typeCode == RegExpandSz);
        break;
    case RegBinary:
        value = RegistryValue::MakeBinary(BytesOf(values));
        break;
    case RegDword:
        if (values.empty())
            return false;
        value = RegistryValue::MakeNumber(static_cast<uint32_t>(MCommon::ToInt32(values.front(), kSource)));
        break;
    case RegMultiSz:
        value = RegistryValue::MakeTextList(TextsOf(values));
        break;
    case RegBinaryFromList:
        if (values.empty())
            return false;
        value = RegistryValue::MakeBinary(BytesOf(ElementsOf(values.front())));
        typeCode = RegBinary;
        break;
    case RegBinaryFromText: {
        if (values.empty())
            return false;
        const QString text = MCommon::ToText(values.front(), kSource);
        typeCode = RegBinary;
        if (text.isEmpty())
            return false;
        // One byte a character, as the program's single-byte code page has it.
        value = RegistryValue::MakeBinary(text.toLatin1());
        break;
    }
    case RegMultiSzFromList:
        if (values.empty())
            return false;
        value = RegistryValue::MakeTextList(TextsOf(ElementsOf(values.front())));
        typeCode = RegMultiSz;
        break;
    default:
        return false;
    }
    if (!hive)
        return false;
    return RegistryStore::Instance().SetValue(*hive, subkey, valueName, value);
}

bool RegWrite(const QString& keyPath, const QString& valueName, int32_t typeCode, const TaggedValue& value)
{
    int32_t code = typeCode;
    if ((typeCode == RegBinary || typeCode == RegMultiSz) && value.IsList())
        return RegWrite(keyPath, valueName, code, value.ListValue());
    return RegWrite(keyPath, valueName, code, std::vector<TaggedValue>{value});
}

bool RegDelete(const QString& keyPath, const QString& valueName)
{
    std::optional<RegistryHive> hive;
    QString subkey;
    SplitKeyPath(keyPath, hive, subkey);
    if (!hive)
        return false;
    return RegistryStore::Instance().DeleteValue(*hive, subkey, valueName);
}

bool RegListValues(const QString& keyPath, QStringList& names, QList<int32_t>& types)
{
    names.clear();
    types.clear();
    std::optional<RegistryHive> hive;
    QString subkey;
    SplitKeyPath(keyPath, hive, subkey);
    if (!hive)
        return false;
    const auto values = RegistryStore::Instance().Values(*hive, subkey);
    if (!values || values->isEmpty())
        return false;
    for (const auto& entry : *values) {
        names.append(entry.name);
        types.append(static_cast<int32_t>(entry.value.type));
    }
    return true;
}

}  // namespace MRegistry
