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

    const QString& RegistryKey() const { return m_registryKey; }

    const QString& ReinitializationKey() const { return m_reinitializationKey; }
    void SetReinitializationKey(const QString& v) { m_reinitializationKey = v; }
    const QString& RecordKey() const { return m_recordKey; }
    void SetRecordKey(const QString& v) { m_recordKey = v; }
    const QString& RecordKey2() const { return m_recordKey2; }
    void SetRecordKey2(const QString& v) { m_recordKey2 = v; }
    const QString& SavingRelativeDir() const { return m_savingRelativeDir; }
    void SetSavingRelativeDir(const QString& v) { m_savingRelativeDir = v; }
    const QString& ScriptsRelativeDir() const { return m_scriptsRelativeDir; }
    void SetScriptsRelativeDir(const QString& v) { m_scriptsRelativeDir = v; }
    const QString& InitializationScriptName() const { return m_initializationScriptName; }
    void SetInitializationScriptName(const QString& v) { m_initializationScriptName = v; }
    const QString& ScriptNamePrefix() const { return m_scriptNamePrefix; }
    void SetScriptNamePrefix(const QString& v) { m_scriptNamePrefix = v; }
    const QString& ScriptNamePrefix2() const { return m_scriptNamePrefix2; }
    void SetScriptNamePrefix2(const QString& v) { m_scriptNamePrefix2 = v; }
    const QString& PositionFilenamePrefix() const { return m_positionFilenamePrefix; }
    void SetPositionFilenamePrefix(const QString& v) { m_positionFilenamePrefix = v; }
    const QString& PositionFilenamePrefix2() const { return m_positionFilenamePrefix2; }
    void SetPositionFilenamePrefix2(const QString& v) { m_positionFilenamePrefix2 = v; }
    const QString& CvarsPrefix() const { return m_cvarsPrefix; }
    void SetCvarsPrefix(const QString& v) { m_cvarsPrefix = v; }
    const QString& CvarsPrefix2() const { return m_cvarsPrefix2; }
    void SetCvarsPrefix2(const QString& v) { m_cvarsPrefix2 = v; }

private:
    // The settings in their registry order, for reading and writing alike.
    struct Field
    {
        const char* name;
        QString CCamPosSetting::*member;
    };
    static const Field kFields[12];

    bool fReadSettingValue(const QString& name, QString& text) const;

    QString m_reinitializationKey;
    QString m_recordKey;
    QString m_recordKey2;
    QString m_savingRelativeDir;
    QString m_scriptsRelativeDir;
    QString m_initializationScriptName;
    QString m_scriptNamePrefix;
    QString m_scriptNamePrefix2;
    QString m_positionFilenamePrefix;
    QString m_positionFilenamePrefix2;
    QString m_cvarsPrefix;
    QString m_cvarsPrefix2;
    QString m_registryKey;
};
