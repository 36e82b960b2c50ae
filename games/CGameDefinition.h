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

    int32_t GType() const { return mGType; }
    const QString& Version() const { return mVersion; }
    const QString& FriendlyName() const { return mFriendlyName; }
    const QString& DefaultDir() const { return mDefaultDir; }
    const QString& BaseDir() const { return mBaseDir; }

    const QString& ExeFullPath() const { return mExeFullPath; }
    void SetExeFullPath(const QString& v);
    const QString& ModFullDir() const { return mModFullDir; }
    void SetModFullDir(const QString& v);
    const QString& DemoDefaultRootDir() const { return mDemoDefaultRootDir; }
    void SetDemoDefaultRootDir(const QString& v);
    bool IsDefaultDemoDefaultRootDir() const;
    bool IsDefaultDemoRootDir(const QString& path) const;
    QString GetDefaultDemoRootDir() const;
    bool IsLocationValid() const;
    bool IsExePathValid(const QString& path) const;

    const QString& ModDirBasename() const { return mModDirBasename; }
    bool UseAbsoluteWorkingDir() const { return mUseAbsoluteWorkingDir; }
    const QString& GameCaption() const { return mGameCaption; }
    const QString& GameWndClass() const { return mGameWndClass; }
    const QString& GameExe() const { return mGameExe; }
    const QString& GameLoadIcon() const { return mGameLoadIcon; }
    const QString& GameCloseIcon() const { return mGameCloseIcon; }
    const QString& FcCmd() const { return mFcCmd; }
    const QString& FcCmdTrailer() const { return mFcCmdTrailer; }
    const QString& RegistryKey() const { return mRegistryKey; }
    const QString& ProjectFileDesc() const { return mProjectFileDesc; }
    const QString& ProjectFileExt() const { return mProjectFileExt; }

    const QString& ProjectDir() const { return mProjectDir; }
    void SetProjectDir(const QString& v) { mProjectDir = v; }
    const QString& ScriptOutDir() const { return mScriptOutDir; }
    void SetScriptOutDir(const QString& v) { mScriptOutDir = v; }
    int32_t MaxScriptLen() const { return mMaxScriptLen; }
    void SetMaxScriptLen(int32_t v) { mMaxScriptLen = v; }
    const QString& ImportDir() const { return mImportDir; }
    void SetImportDir(const QString& v) { mImportDir = v; }

    const QString& ImportFileExtension() const { return mImportFileExtension; }
    int32_t ImportMaxChars() const { return mImportMaxChars; }

    const QString& MapDir() const { return mMapDir; }
    void SetMapDir(const QString& v) { mMapDir = v; }

    const QString& DemoFileExtension() const { return mDemoFileExtension; }

    CCamPosSetting& ScriptSetting() { return mScriptSetting; }
    const CCamPosSetting& ScriptSetting() const { return mScriptSetting; }

private:
    void UpdatePaths();

    int32_t mGType = 0;
    QString mFriendlyName;
    QString mVersion;
    QString mDefaultDir;
    QString mBaseDir;
    QString mExeFullPath;
    QString mModFullDir;
    QString mModDirBasename;
    bool mUseAbsoluteWorkingDir = false;
    QString mDemoDefaultRootDir;
    QString mGameCaption;
    QString mGameWndClass;
    QString mGameExe;
    QString mGameLoadIcon;
    QString mGameCloseIcon;
    QString mFcCmd;
    QString mFcCmdTrailer;
    QString mProjectFileDesc;
    QString mProjectFileExt;
    QString mProjectDir;
    QString mRegistryKey;
    QString mScriptOutDir;
    int32_t mMaxScriptLen = 0;
    QString mImportDir;
    QString mImportFileExtension;
    int32_t mImportMaxChars = 0;
    QString mMapDir;
    QString mDemoFileExtension;
    CCamPosSetting mScriptSetting;
};
