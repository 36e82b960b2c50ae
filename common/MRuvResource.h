#pragma once

#include "TaggedValue.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// The program's user-interface texts in three languages, and its pictures
// and data, by number. A language is chosen by adding its offset to the
// text number: 0 English, 1000 French, 2000 German. In a text "%%" marks an
// argument and "<nl>" a line break (CR LF).
namespace MRuvResource {

constexpr int32_t LanguageEnglish = 0;
constexpr int32_t LanguageFrench = 1000;
constexpr int32_t LanguageGerman = 2000;
// The version text lies outside the three blocks.
constexpr int32_t VersionTextNumber = 10000;

// The text numbered offset + number with its arguments filled in; the
// empty text when there is no such text. When the first argument is itself
// a list, its elements are the arguments and any further ones are ignored.
QString GetResString(int32_t languageOffset, int32_t number, const std::vector<TaggedValue>& arguments = {});

template <typename... Args>
QString GetResString(int32_t languageOffset, int32_t number, const TaggedValue& first, const Args&... rest)
{
    return GetResString(languageOffset, number, std::vector<TaggedValue>{first, TaggedValue(rest)...});
}

// Puts each argument, converted to text, in place of the first "%%" left
// (searching from the start every time), then turns every "<nl>" into CR
// LF. Surplus arguments change nothing; surplus marks stay.
QString FormatResText(const QString& text, const std::vector<TaggedValue>& arguments = {});

template <typename... Args>
QString FormatResText(const QString& text, const TaggedValue& first, const Args&... rest)
{
    return FormatResText(text, std::vector<TaggedValue>{first, TaggedValue(rest)...});
}

// True when the tables hold a text under the number (offset included).
bool HasResString(int32_t fullNumber);
// Every number the tables hold, in ascending order.
std::vector<int32_t> ResStringNumbers();

// "IDB_ETLOGO" and so on for the numbers 0 to 13; the empty text otherwise.
QString GetResName(int32_t number);

// The picture of a resource number as PNG bytes (load it with
// QPixmap::loadFromData); empty for a number without a name. A name whose
// picture does not exist (0, the icon group) raises RuvError 326
// (resource not found).
QByteArray GetResPicture(int32_t number);

// The bytes of the custom data resource of the number; empty for a number
// without a name. A name whose data does not exist raises RuvError 326.
QByteArray GetResData(int32_t number);

}  // namespace MRuvResource
