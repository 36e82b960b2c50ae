#pragma once

#include "CCamPosSetting.h"

#include <QString>

#include <cstdint>

// One supported game: its fixed traits, set once by Initialize from the game
// table, and the folders the user sets for it, kept in the settings store
// under a key of its own. Copyable: the settings window edits a copy and the
// main window takes it back with Load.
class CGameDefinition
{
public:
    // The icons are the names of the program's bitmap resources: a copy
    // shares the picture, as the window layer loads it by name.
    void Initialize(int32_t gType, const QString& friendlyName, const QString& version,
                    const QString& defaultDir, const QString& baseDir, bool useAbsoluteWorkingDir,
                    const QString& gameCaption, const QString& gameWndClass, const QString& gameExe,
                    const QString& gameLoadIcon, const QString& gameCloseIcon, const QString& fcCmd,
                    const QString& fcCmdTrailer, const QString& projectFileDesc,
                    const QString& projectFileExt, const QString& registryRoot,
                    const QString& importFileExtension, int32_t importMaxChars,
                    const QString& demoFileExtension);
    CGameDefinition Clone() const;
    // Copies every member as it stands, without the path update.
    void Load(const CGameDefinition& source);
    void ReadSettings();
    void WriteSettings() const;

    int32_t GType() const { return m_gType; }
    const QString& Version() const { return m_version; }
    const QString& FriendlyName() const { return m_friendlyName; }
    const QString& DefaultDir() const { return m_defaultDir; }
    const QString& BaseDir() const { return m_baseDir; }

    const QString& ExeFullPath() const { return m_exeFullPath; }
    void SetExeFullPath(const QString& v);
    const QString& ModFullDir() const { return m_modFullDir; }
    void SetModFullDir(const QString& v);
    const QString& DemoDefaultRootDir() const { return m_demoDefaultRootDir; }
    void SetDemoDefaultRootDir(const QString& v);
    bool IsDefaultDemoDefaultRootDir() const;
    bool IsDefaultDemoRootDir(const QString& path) const;
    QString GetDefaultDemoRootDir() const;
    bool IsLocationValid() const;
    bool IsExePathValid(const QString& path) const;

    const QString& ModDirBasename() const { return m_modDirBasename; }
    bool UseAbsoluteWorkingDir() const { return m_useAbsoluteWorkingDir; }
    const QString& GameCaption() const { return m_gameCaption; }
    const QString& GameWndClass() const { return m_gameWndClass; }
    const QString& GameExe() const { return m_gameExe; }
    const QString& GameLoadIcon() const { return m_gameLoadIcon; }
    const QString& GameCloseIcon() const { return m_gameCloseIcon; }
    const QString& FcCmd() const { return m_fcCmd; }
    const QString& FcCmdTrailer() const { return m_fcCmdTrailer; }
    const QString& RegistryKey() const { return m_registryKey; }
    const QString& ProjectFileDesc() const { return m_projectFileDesc; }
    const QString& ProjectFileExt() const { return m_projectFileExt; }

    const QString& ProjectDir() const { return m_projectDir; }
    void SetProjectDir(const QString& v) { m_projectDir = v; }
    const QString& ScriptOutDir() const { return m_scriptOutDir; }
    void SetScriptOutDir(const QString& v) { m_scriptOutDir = v; }
    int32_t MaxScriptLen() const { return m_maxScriptLen; }
    void SetMaxScriptLen(int32_t v) { m_maxScriptLen = v; }
    const QString& ImportDir() const { return m_importDir; }
    void SetImportDir(const QString& v) { m_importDir = v; }

    const QString& ImportFileExtension() const { return m_importFileExtension; }
    int32_t ImportMaxChars() const { return m_importMaxChars; }

    const QString& MapDir() const { return m_mapDir; }
    void SetMapDir(const QString& v) { m_mapDir = v; }

    const QString& DemoFileExtension() const { return m_demoFileExtension; }

    CCamPosSetting& ScriptSetting() { return m_scriptSetting; }
    const CCamPosSetting& ScriptSetting() const { return m_scriptSetting; }

private:
    void UpdatePaths();

    int32_t m_gType = 0;
    QString m_friendlyName;
    QString m_version;
    QString m_defaultDir;
    QString m_baseDir;
    QString m_exeFullPath;
    QString m_modFullDir;
    QString m_modDirBasename;
    bool m_useAbsoluteWorkingDir = false;
    QString m_demoDefaultRootDir;
    QString m_gameCaption;
    QString m_gameWndClass;
    QString m_gameExe;
    QString m_gameLoadIcon;
    QString m_gameCloseIcon;
    QString m_fcCmd;
    QString m_fcCmdTrailer;
    QString m_projectFileDesc;
    QString m_projectFileExt;
    QString m_projectDir;
    QString m_registryKey;
    QString m_scriptOutDir;
    int32_t m_maxScriptLen = 0;
    QString m_importDir;
    QString m_importFileExtension;
    int32_t m_importMaxChars = 0;
    QString m_mapDir;
    QString m_demoFileExtension;
    CCamPosSetting m_scriptSetting;
};
