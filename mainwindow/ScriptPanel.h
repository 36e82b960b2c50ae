#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class QComboBox;
class QLineEdit;
struct MainContext;

// The script panel: pause key and interval, demo times, commands before and
// after the script, record-frame settings.
class IScriptPanel
{
public:
    virtual ~IScriptPanel() = default;
    // The 107 pause keys, entry 0 chosen (at load).
    virtual void fFillPauseKeys() = 0;
    // The texts of the ten punctuation keys in the current language.
    virtual void fLocalizePauseKeyItems() = 0;
    // The pause key combo's Tag: the bind name of the chosen key.
    virtual void fUpdatePauseKeyTag() = 0;
    // The text-box handler's validation of txtSScriptPauseInterval.
    virtual void fValidatePauseInterval(bool& cancel) = 0;
    // The configuration files run before and after the camera script
    // (empty for none).
    virtual QString fCommandBeforeFile() const = 0;
    virtual QString fCommandAfterFile() const = 0;
    // The record-frame settings as the project keeps them, and back.
    virtual QString fRecordFrameSettingsString() const = 0;
    virtual void fParseRecordFrameSettings(const QString& text) = 0;
};

class ScriptPanel final : public IScriptPanel
{
public:
    // The Tag property that holds the pause key's bind name.
    static constexpr const char* TagProperty = "Tag";

    explicit ScriptPanel(MainContext& context);

    void fFillPauseKeys() override;
    void fLocalizePauseKeyItems() override;
    void fUpdatePauseKeyTag() override;
    void fValidatePauseInterval(bool& cancel) override;
    QString fCommandBeforeFile() const override;
    QString fCommandAfterFile() const override;
    QString fRecordFrameSettingsString() const override;
    void fParseRecordFrameSettings(const QString& text) override;

    // The handlers of the panel's controls.
    void cboSScriptPauseKey_KeyDown(int32_t keyCode);
    void cboSScriptPauseKey_Click();
    void chkSScriptPauseState_Click();
    void txtGDemoTimes_Validate(int32_t index, bool& cancel);
    void fSendDemoTimeCommand(bool forward);
    void fSetModifiedUnlessFilling();

    // The text behind the first "\" of the combo's entry; empty for the
    // "none" entry and an entry without "\".
    static QString fComboConfigFile(const QComboBox* combo);

private:
    void fConnectDemoTimes();
    void fApplyPauseState(bool giveFocus);

    MainContext& m_c;
    // The game's bind name of each pause key, by list position.
    QStringList m_pauseKeyBinds;
    int32_t m_pauseKeyLastKeyCode = 0;
};
