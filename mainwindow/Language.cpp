#include "Language.h"

#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"

#include <QAction>

void Language::mnuVL_Lang_Click(int32_t index)
{
    if (index < 0 || index >= MainMenus::LanguageCount)
        index = 0;
    for (int32_t i = 0; i < MainMenus::LanguageCount; ++i)
        m_c.menus.Language(i)->setChecked(i == index);
    m_c.texts.SetLanguageBase(index * 1000);
    m_c.menus.fApplyMenuCaptions();
    m_c.parts.tooltips->fSetTooltips();
    if (m_c.state.m_captionName.isEmpty())
        m_c.shell.fUpdateCaption(QString());
}

int16_t Language::fGetLanguageIndex() const
{
    for (int32_t i = 0; i < MainMenus::LanguageCount; ++i)
        if (m_c.menus.Language(i)->isChecked())
            return static_cast<int16_t>(i);
    return 0;
}
