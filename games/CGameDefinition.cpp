#include "CGameDefinition.h"

#include "GameLinuxNames.h"
#include "MCommon.h"
#include "MFileOp.h"
#include "MRegistry.h"
#include "PathHelper.h"

#include <QDir>

namespace {

// True when the folder holds a sub-folder of that name, whatever its case:
// the engines on Linux create their base folder in lower case.
bool HasSubFolderNoCase(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return false;
    const QStringList entries = QDir(RuvPlatform::PathHelper::ToNative(folder)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

void CGameDefinition::Initialize(int32_t gType, const QString& friendlyName, const QString& version,
                                 const QString& defaultDir, const QString& baseDir,
                                 bool useAbsoluteWorkingDir, const QString& gameCaption,
                                 const QString& gameWndClass, const QString& gameExe,
                                 const QString& gameLoadIcon, const QString& gameCloseIcon,
                                 const QString& fcCmd, const QString& fcCmdTrailer,
                                 const QString& projectFileDesc, const QString& projectFileExt,
                                 const QString& registryRoot, const QString& importFileExtension,
                                 int32_t importMaxChars, const QString& demoFileExtension)
{
    mGType = gType;
    mFriendlyName = friendlyName;
    mVersion = version;
    mDefaultDir = defaultDir;
    mBaseDir = baseDir;
    mUseAbsoluteWorkingDir = useAbsoluteWorkingDir;
    mGameCaption = gameCaption;
    mGameWndClass = gameWndClass;
    mGameExe = gameExe;
    mGameLoadIcon = gameLoadIcon;
    mGameCloseIcon = gameCloseIcon;
    mFcCmd = fcCmd;
    mFcCmdTrailer = fcCmdTrailer;
    mProjectFileDesc = projectFileDesc;
    mProjectFileExt = projectFileExt;
    mImportFileExtension = importFileExtension;
    mImportMaxChars = importMaxChars;
    mDemoFileExtension = demoFileExtension;
    mRegistryKey = registryRoot + QLatin1Char('\\') + friendlyName;
    mMaxScriptLen = 14848;
    mScriptSetting.Initialize(mRegistryKey + QStringLiteral("\\Script settings"));
}

CGameDefinition CGameDefinition::Clone() const
{
    CGameDefinition copy;
    copy.Load(*this);
    return copy;
}

void CGameDefinition::Load(const CGameDefinition& source)
{
    // Every member as it stands: the recorder settings keep their own
    // registry key, the others are plain values.
    const CCamPosSetting ownSettings = mScriptSetting;
    *this = source;
    mScriptSetting = ownSettings;
    mScriptSetting.Load(source.mScriptSetting);
    if (mScriptSetting.RegistryKey().isEmpty())
        mScriptSetting.Initialize(source.mScriptSetting.RegistryKey());
}

void CGameDefinition::SetExeFullPath(const QString& v)
{
    mExeFullPath = v;
    UpdatePaths();
}

void CGameDefinition::SetModFullDir(const QString& v)
{
    // A demo folder that was the default follows the mod folder; one the
    // user chose stays.
    if (IsDefaultDemoDefaultRootDir())
        mDemoDefaultRootDir.clear();
    mModFullDir = v;
    UpdatePaths();
}

void CGameDefinition::SetDemoDefaultRootDir(const QString& v)
{
    mDemoDefaultRootDir = v;
    UpdatePaths();
}

bool CGameDefinition::IsDefaultDemoDefaultRootDir() const
{
    return IsDefaultDemoRootDir(mDemoDefaultRootDir);
}

bool CGameDefinition::IsDefaultDemoRootDir(const QString& path) const
{
    return path.toLower() == GetDefaultDemoRootDir().toLower();
}

QString CGameDefinition::GetDefaultDemoRootDir() const
{
    return RuvPlatform::PathHelper::Join(mModFullDir, QStringLiteral("demos"));
}

bool CGameDefinition::IsExePathValid(const QString& path) const
{
    if (!MFileOp::FileExists(path))
        return false;
    const QString name = MFileOp::GetFileName(path).toLower();
    if (name == mGameExe.toLower())
        return true;
    for (const QString& linuxName : LinuxNamesOfGame(mGType).executables)
        if (name == linuxName.toLower())
            return true;
    return false;
}

bool CGameDefinition::IsLocationValid() const
{
    if (!IsExePathValid(mExeFullPath))
        return false;
    if (mUseAbsoluteWorkingDir)
        return MFileOp::FolderExists(mModFullDir);

    QString modParent;
    QString exeParent;
    const bool hasModParent = MFileOp::GetParentFolder(mModFullDir, modParent);
    const bool hasExeParent = MFileOp::GetParentFolder(mExeFullPath, exeParent);
    if (!hasModParent)
        return false;
    // The mod folder beside the executable, as the games install on Windows.
    if (hasExeParent && modParent.toLower() == exeParent.toLower())
        return true;
    // On Linux the engines read their mods from a home path of their own
    // (~/.etlegacy, ~/.q3a): a mod folder there sits beside the game's base
    // folder, wherever the executable lies.
    return MFileOp::FolderExists(mModFullDir) && HasSubFolderNoCase(modParent, mBaseDir);
}

void CGameDefinition::UpdatePaths()
{
    if (!IsLocationValid())
        return;
    mModDirBasename = MFileOp::GetFileName(mModFullDir);
    if (!MFileOp::FolderExists(mDemoDefaultRootDir))
        mDemoDefaultRootDir = GetDefaultDemoRootDir();
    if (!MFileOp::FolderExists(mDemoDefaultRootDir))
        MFileOp::CreateFolderPath(mDemoDefaultRootDir);  // a failure only leaves it missing
}

void CGameDefinition::ReadSettings()
{
    const auto read = [this](const char* name, QString& text) {
        const TaggedValue v = MRegistry::RegRead(mRegistryKey, QString::fromLatin1(name));
        return !v.IsNull() && !v.IsEmpty() && MCommon::TryToText(v, text);
    };
    QString text;
    if (read("ExeFullPath", text))
        mExeFullPath = text;
    if (read("ModFullDir", text))
        mModFullDir = text;
    if (read("DemoDefaultRootDir", text))
        mDemoDefaultRootDir = text;
    UpdatePaths();
    if (read("ProjectDir", text))
        SetProjectDir(text);
    if (read("ScriptOutDir", text))
        SetScriptOutDir(text);
    if (read("ImportDir", text))
        SetImportDir(text);
    if (read("MapDir", text))
        SetMapDir(text);
    mScriptSetting.ReadSettings();
}

void CGameDefinition::WriteSettings() const
{
    const auto write = [this](const char* name, const QString& value) {
        MRegistry::RegWrite(mRegistryKey, QString::fromLatin1(name), MRegistry::RegSz, TaggedValue(value));
    };
    write("ExeFullPath", mExeFullPath);
    write("ModFullDir", mModFullDir);
    // The default is stored empty, so that it follows the mod folder.
    write("DemoDefaultRootDir", IsDefaultDemoDefaultRootDir() ? QString() : mDemoDefaultRootDir);
    write("ProjectDir", mProjectDir);
    write("ScriptOutDir", mScriptOutDir);
    write("ImportDir", mImportDir);
    write("MapDir", mMapDir);
    mScriptSetting.WriteSettings();
}
