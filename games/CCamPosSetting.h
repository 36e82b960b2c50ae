#pragma once

#include <QString>

// The recorder settings of one game: the keys the in-game recorder binds,
// the folders (relative to the mod folder) of its scripts and of the
// position files, and the name prefixes. Kept in the settings store under
// the game's "Script settings" key.
class CCamPosSetting
{
public:
    CCamPosSetting();

    void Initialize(const QString& registryKey);
    void SetDefaultValues();
    // A copy that keeps the registry key of this object, so that writing the
    // copy's settings lands where the original's do.
    CCamPosSetting Clone() const;
    // Copies the twelve settings; the registry key stays.
    void Load(const CCamPosSetting& source);
    void ReadSettings();
    void WriteSettings() const;

    const QString& RegistryKey() const { return mRegistryKey; }

    const QString& ReinitializationKey() const { return mReinitializationKey; }
    void SetReinitializationKey(const QString& v) { mReinitializationKey = v; }
    const QString& RecordKey() const { return mRecordKey; }
    void SetRecordKey(const QString& v) { mRecordKey = v; }
    const QString& RecordKey2() const { return mRecordKey2; }
    void SetRecordKey2(const QString& v) { mRecordKey2 = v; }
    const QString& SavingRelativeDir() const { return mSavingRelativeDir; }
    void SetSavingRelativeDir(const QString& v) { mSavingRelativeDir = v; }
    const QString& ScriptsRelativeDir() const { return mScriptsRelativeDir; }
    void SetScriptsRelativeDir(const QString& v) { mScriptsRelativeDir = v; }
    const QString& InitializationScriptName() const { return mInitializationScriptName; }
    void SetInitializationScriptName(const QString& v) { mInitializationScriptName = v; }
    const QString& ScriptNamePrefix() const { return mScriptNamePrefix; }
    void SetScriptNamePrefix(const QString& v) { mScriptNamePrefix = v; }
    const QString& ScriptNamePrefix2() const { return mScriptNamePrefix2; }
    void SetScriptNamePrefix2(const QString& v) { mScriptNamePrefix2 = v; }
    const QString& PositionFilenamePrefix() const { return mPositionFilenamePrefix; }
    void SetPositionFilenamePrefix(const QString& v) { mPositionFilenamePrefix = v; }
    const QString& PositionFilenamePrefix2() const { return mPositionFilenamePrefix2; }
    void SetPositionFilenamePrefix2(const QString& v) { mPositionFilenamePrefix2 = v; }
    const QString& CvarsPrefix() const { return mCvarsPrefix; }
    void SetCvarsPrefix(const QString& v) { mCvarsPrefix = v; }
    const QString& CvarsPrefix2() const { return mCvarsPrefix2; }
    void SetCvarsPrefix2(const QString& v) { mCvarsPrefix2 = v; }

private:
    // The settings in their registry order, for reading and writing alike.
    struct Field
    {
        const char* name;
        QString CCamPosSetting::*member;
    };
    static const Field kFields[12];

    bool fReadSettingValue(const QString& name, QString& text) const;

    QString mReinitializationKey;
    QString mRecordKey;
    QString mRecordKey2;
    QString mSavingRelativeDir;
    QString mScriptsRelativeDir;
    QString mInitializationScriptName;
    QString mScriptNamePrefix;
    QString mScriptNamePrefix2;
    QString mPositionFilenamePrefix;
    QString mPositionFilenamePrefix2;
    QString mCvarsPrefix;
    QString mCvarsPrefix2;
    QString mRegistryKey;
};
