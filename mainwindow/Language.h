#pragma once

#include <QString>
#include <QTranslator>

#include <cstdint>
#include <memory>

class QComboBox;
struct MainContext;

// The language of the window: English, French or German. The language
// command checks its item and puts the texts of that language on the
// window's menus, tabs, frames, buttons, labels and check boxes, and hands
// the secondary windows theirs.
class ILanguage
{
public:
    virtual ~ILanguage() = default;
    // The language command; an index out of range is English.
    virtual void mnuVL_Lang_Click(int32_t index) = 0;
    // The checked language item (0 when none is checked).
    virtual int16_t fGetLanguageIndex() const = 0;
    virtual int16_t fDefaultLanguageIndex() const = 0;
    // Stores the base (0, 1000 or 2000) and applies every text.
    virtual void fApplyLanguage(int32_t languageBase) = 0;
    // The first item, the empty choice, becomes "<none>" in the language;
    // an empty combo box gets no item.
    virtual void fLocalizeNoneItem(QComboBox* combo) = 0;
    // The first item of the 3D view ratios, the free ratio.
    virtual void fSetFreeRatioCaption(const QString& text) = 0;
};

class Language final : public ILanguage
{
public:
    explicit Language(MainContext& context) : m_c(context) {}
    void mnuVL_Lang_Click(int32_t index) override;
    int16_t fGetLanguageIndex() const override;
    int16_t fDefaultLanguageIndex() const override { return 0; }
    void fApplyLanguage(int32_t languageBase) override;
    void fLocalizeNoneItem(QComboBox* combo) override;
    void fSetFreeRatioCaption(const QString& text) override;


private:
    void fApplyTabPages();
    void fApplyScriptPage();
    void fApplyViewTexts();
    void fApplyGameSettingsTexts();
    // Qt's own texts (message-box buttons, file dialogs) in the language.
    void fApplyToolkitTexts(int32_t languageBase);

    MainContext& m_c;
    std::unique_ptr<QTranslator> m_toolkitTexts;
};
