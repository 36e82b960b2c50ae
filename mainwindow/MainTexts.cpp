#include "MainTexts.h"

#include "MRuvResource.h"

QString MainTexts::fGetText(int32_t id, const std::vector<TaggedValue>& arguments) const
{
    const int32_t base = MRuvResource::HasResString(m_languageBase + id) ? m_languageBase
                                                                         : MRuvResource::LanguageEnglish;
    return MRuvResource::GetResString(base, id, arguments);
}

QString MainTexts::fGetTextNoAmpersand(int32_t id) const
{
    return fGetText(id).remove(QLatin1Char('&'));
}
