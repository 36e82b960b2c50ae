#pragma once

#include "TaggedValue.h"

#include <QString>

#include <cstdint>
#include <vector>

// The texts of the main window in the current UI language: the string-table
// text number id plus the language base (0 English, 1000 French, 2000
// German), "%%" replaced in turn by the arguments and "<nl>" by a line
// break. A text that the French or German table lacks is taken from the
// English one, so that no caption is ever blank.
class MainTexts
{
public:
    int32_t LanguageBase() const { return m_languageBase; }
    // Only the language's application sets it (0 before the first one).
    void SetLanguageBase(int32_t base) { m_languageBase = base; }

    QString fGetText(int32_t id, const std::vector<TaggedValue>& arguments = {}) const;
    template <typename... Args>
    QString fGetText(int32_t id, const TaggedValue& first, const Args&... rest) const
    {
        return fGetText(id, std::vector<TaggedValue>{first, TaggedValue(rest)...});
    }

    // The text with every "&" removed (captions used as titles).
    QString fGetTextNoAmpersand(int32_t id) const;

private:
    int32_t m_languageBase = 0;
};
