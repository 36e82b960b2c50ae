#include "CCamPosSetting.h"

#include "MCommon.h"
#include "MRegistry.h"

const CCamPosSetting::Field CCamPosSetting::kFields[12] = {
    {"ReinitializationKey", &CCamPosSetting::m_reinitializationKey},
    {"RecordKey", &CCamPosSetting::m_recordKey},
    {"RecordKey2", &CCamPosSetting::m_recordKey2},
    {"SavingRelativeDir", &CCamPosSetting::m_savingRelativeDir},
    {"ScriptsRelativeDir", &CCamPosSetting::m_scriptsRelativeDir},
    {"InitializationScriptName", &CCamPosSetting::m_initializationScriptName},
    {"ScriptNamePrefix", &CCamPosSetting::m_scriptNamePrefix},
    {"ScriptNamePrefix2", &CCamPosSetting::m_scriptNamePrefix2},
    {"PositionFilenamePrefix", &CCamPosSetting::m_positionFilenamePrefix},
    {"PositionFilenamePrefix2", &CCamPosSetting::m_positionFilenamePrefix2},
    {"CvarsPrefix", &CCamPosSetting::m_cvarsPrefix},
    {"CvarsPrefix2", &CCamPosSetting::m_cvarsPrefix2},
};

CCamPosSetting::CCamPosSetting()
{
    SetDefaultValues();
}

void CCamPosSetting::Initialize(const QString& registryKey)
{
    m_registryKey = registryKey;
}

void CCamPosSetting::SetDefaultValues()
{
    m_reinitializationKey = QStringLiteral("0");
    m_recordKey = QStringLiteral("8");
    m_recordKey2 = QStringLiteral("9");
    m_savingRelativeDir = QStringLiteral("cameras\\vava\\pos");
    m_scriptsRelativeDir = QStringLiteral("cameras\\vava\\scripts");
    m_initializationScriptName = QStringLiteral("init");
    m_scriptNamePrefix = QStringLiteral("pos");
    m_scriptNamePrefix2 = QStringLiteral("posMV");
    // Both keys write position files under the same prefix: the import reads
    // one numbering.
    m_positionFilenamePrefix = QStringLiteral("pos");
    m_positionFilenamePrefix2 = QStringLiteral("pos");
    m_cvarsPrefix = QStringLiteral("rzPos");
    m_cvarsPrefix2 = QStringLiteral("rzPosMV");
}

CCamPosSetting CCamPosSetting::Clone() const
{
    CCamPosSetting copy;
    copy.Load(*this);
    copy.m_registryKey = m_registryKey;
    return copy;
}

void CCamPosSetting::Load(const CCamPosSetting& source)
{
    for (const Field& f : kFields)
        this->*f.member = source.*f.member;
}

bool CCamPosSetting::fReadSettingValue(const QString& name, QString& text) const
{
    const TaggedValue v = MRegistry::RegRead(m_registryKey, name);
    if (v.IsNull() || v.IsEmpty() || !MCommon::TryToText(v, text))
        return false;
    return !text.isEmpty();
}

void CCamPosSetting::ReadSettings()
{
    // An empty stored value never replaces a setting: an empty prefix or key
    // would break every script the recorder writes.
    for (const Field& f : kFields) {
        QString text;
        if (fReadSettingValue(QString::fromLatin1(f.name), text))
            this->*f.member = text;
    }
}

void CCamPosSetting::WriteSettings() const
{
    if (m_registryKey.isEmpty())
        return;
    for (const Field& f : kFields)
        MRegistry::RegWrite(m_registryKey, QString::fromLatin1(f.name), MRegistry::RegSz, TaggedValue(this->*f.member));
}
