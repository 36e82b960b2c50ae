#include "CCamPosSetting.h"

#include "MCommon.h"
#include "MRegistry.h"

const CCamPosSetting::Field CCamPosSetting::kFields[12] = {
    {"ReinitializationKey", &CCamPosSetting::mReinitializationKey},
    {"RecordKey", &CCamPosSetting::mRecordKey},
    {"RecordKey2", &CCamPosSetting::mRecordKey2},
    {"SavingRelativeDir", &CCamPosSetting::mSavingRelativeDir},
    {"ScriptsRelativeDir", &CCamPosSetting::mScriptsRelativeDir},
    {"InitializationScriptName", &CCamPosSetting::mInitializationScriptName},
    {"ScriptNamePrefix", &CCamPosSetting::mScriptNamePrefix},
    {"ScriptNamePrefix2", &CCamPosSetting::mScriptNamePrefix2},
    {"PositionFilenamePrefix", &CCamPosSetting::mPositionFilenamePrefix},
    {"PositionFilenamePrefix2", &CCamPosSetting::mPositionFilenamePrefix2},
    {"CvarsPrefix", &CCamPosSetting::mCvarsPrefix},
    {"CvarsPrefix2", &CCamPosSetting::mCvarsPrefix2},
};

CCamPosSetting::CCamPosSetting()
{
    SetDefaultValues();
}

void CCamPosSetting::Initialize(const QString& registryKey)
{
    mRegistryKey = registryKey;
}

void CCamPosSetting::SetDefaultValues()
{
    mReinitializationKey = QStringLiteral("0");
    mRecordKey = QStringLiteral("8");
    mRecordKey2 = QStringLiteral("9");
    mSavingRelativeDir = QStringLiteral("cameras\\vava\\pos");
    mScriptsRelativeDir = QStringLiteral("cameras\\vava\\scripts");
    mInitializationScriptName = QStringLiteral("init");
    mScriptNamePrefix = QStringLiteral("pos");
    mScriptNamePrefix2 = QStringLiteral("posMV");
    // Both keys write position files under the same prefix: the import reads
    // one numbering.
    mPositionFilenamePrefix = QStringLiteral("pos");
    mPositionFilenamePrefix2 = QStringLiteral("pos");
    mCvarsPrefix = QStringLiteral("rzPos");
    mCvarsPrefix2 = QStringLiteral("rzPosMV");
}

CCamPosSetting CCamPosSetting::Clone() const
{
    CCamPosSetting copy;
    copy.Load(*this);
    copy.mRegistryKey = mRegistryKey;
    return copy;
}

void CCamPosSetting::Load(const CCamPosSetting& source)
{
    for (const Field& f : kFields)
        this->*f.member = source.*f.member;
}

bool CCamPosSetting::fReadSettingValue(const QString& name, QString& text) const
{
    const TaggedValue v = MRegistry::RegRead(mRegistryKey, name);
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
    if (mRegistryKey.isEmpty())
        return;
    for (const Field& f : kFields)
        MRegistry::RegWrite(mRegistryKey, QString::fromLatin1(f.name), MRegistry::RegSz, TaggedValue(this->*f.member));
}
