#pragma once

#include <cstdint>

struct MainContext;

// The language of the window: English, French or German.
class ILanguage
{
public:
    virtual ~ILanguage() = default;
    // The language command; an index out of range is English.
    virtual void mnuVL_Lang_Click(int32_t index) = 0;
    // The checked language item (0 when none is checked).
    virtual int16_t fGetLanguageIndex() const = 0;
    virtual int16_t fDefaultLanguageIndex() const = 0;
};

class Language final : public ILanguage
{
public:
    explicit Language(MainContext& context) : m_c(context) {}
    void mnuVL_Lang_Click(int32_t index) override;
    int16_t fGetLanguageIndex() const override;
    int16_t fDefaultLanguageIndex() const override { return 0; }

private:
    MainContext& m_c;
};
