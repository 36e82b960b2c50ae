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
    m_gType = gType;
    m_friendlyName = friendlyName;
    m_version = version;
    m_defaultDir = defaultDir;
    m_baseDir = baseDir;
    m_useAbsoluteWorkingDir = useAbsoluteWorkingDir;
    m_gameCaption = gameCaption;
    m_gameWndClass = gameWndClass;
    m_gameExe = gameExe;
    m_gameLoadIcon = gameLoadIcon;
    m_gameCloseIcon = gameCloseIcon;
    m_fcCmd = fcCmd;
    m_fcCmdTrailer = fcCmdTrailer;
    m_projectFileDesc = projectFileDesc;
    m_projectFileExt = projectFileExt;
    m_importFileExtension = importFileExtension;
    m_importMaxChars = importMaxChars;
    m_demoFileExtension = demoFileExtension;
    m_registryKey = registryRoot + QLatin1Char('\\') + friendlyName;
    m_maxScriptLen = 14848;
    m_scriptSetting.Initialize(m_registryKey + QStringLiteral("\\Script settings"));
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
    const CCamPosSetting ownSettings = m_scriptSetting;
    *this = source;
    m_scriptSetting = ownSettings;
    m_scriptSetting.Load(source.m_scriptSetting);
    if (m_scriptSetting.RegistryKey().isEmpty())
        m_scriptSetting.Initialize(source.m_scriptSetting.RegistryKey());
}

void CGameDefinition::SetExeFullPath(const QString& v)
{
    m_exeFullPath = v;
    UpdatePaths();
}

void CGameDefinition::SetModFullDir(const QString& v)
{
    // A demo folder that was the default follows the mod folder; one the
    // user chose stays.
    if (IsDefaultDemoDefaultRootDir())
        m_demoDefaultRootDir.clear();
    m_modFullDir = v;
    UpdatePaths();
}

void CGameDefinition::SetDemoDefaultRootDir(const QString& v)
{
    m_demoDefaultRootDir = v;
    UpdatePaths();
}

bool CGameDefinition::IsDefaultDemoDefaultRootDir() const
{
    return IsDefaultDemoRootDir(m_demoDefaultRootDir);
}

bool CGameDefinition::IsDefaultDemoRootDir(const QString& path) const
{
    return path.toLower() == GetDefaultDemoRootDir().toLower();
}

QString CGameDefinition::GetDefaultDemoRootDir() const
{
    return RuvPlatform::PathHelper::Join(m_modFullDir, QStringLiteral("demos"));
}

bool CGameDefinition::IsExePathValid(const QString& path) const
{
    if (!MFileOp::FileExists(path))
        return false;
    const QString name = MFileOp::GetFileName(path).toLower();
    if (name == m_gameExe.toLower())
        return true;
    for (const QString& linuxName : LinuxNamesOfGame(m_gType).executables)
        if (name == linuxName.toLower())
            return true;
    return false;
}

bool CGameDefinition::IsLocationValid() const
{
    if (!IsExePathValid(m_exeFullPath))
        return false;
    if (m_useAbsoluteWorkingDir)
        return MFileOp::FolderExists(m_modFullDir);

    QString modParent;
    QString exeParent;
    const bool hasModParent = MFileOp::GetParentFolder(m_modFullDir, modParent);
    const bool hasExeParent = MFileOp::GetParentFolder(m_exeFullPath, exeParent);
    if (!hasModParent)
        return false;
    // The mod folder beside the executable, as the games install on Windows.
    if (hasExeParent && modParent.toLower() == exeParent.toLower())
        return true;
    // On Linux the engines read their mods from a home path of their own
    // (~/.etlegacy, ~/.q3a): a mod folder there sits beside the game's base
    // folder, wherever the executable lies.
    return MFileOp::FolderExists(m_modFullDir) && HasSubFolderNoCase(modParent, m_baseDir);
}

void CGameDefinition::UpdatePaths()
{
    if (!IsLocationValid())
        return;
    m_modDirBasename = MFileOp::GetFileName(m_modFullDir);
    if (!MFileOp::FolderExists(m_demoDefaultRootDir))
        m_demoDefaultRootDir = GetDefaultDemoRootDir();
    if (!MFileOp::FolderExists(m_demoDefaultRootDir))
        MFileOp::CreateFolderPath(m_demoDefaultRootDir);  // a failure only leaves it missing
}

void CGameDefinition::ReadSettings()
{
    const auto read = [this](const char* name, QString& text) {
        const TaggedValue v = MRegistry::RegRead(m_registryKey, QString::fromLatin1(name));
        return !v.IsNull() && !v.IsEmpty() && MCommon::TryToText(v, text);
    };
    QString text;
    if (read("ExeFullPath", text))
        m_exeFullPath = text;
    if (read("ModFullDir", text))
        m_modFullDir = text;
    if (read("DemoDefaultRootDir", text))
        m_demoDefaultRootDir = text;
    UpdatePaths();
    if (read("ProjectDir", text))
        SetProjectDir(text);
    if (read("ScriptOutDir", text))
        SetScriptOutDir(text);
    if (read("ImportDir", text))
        SetImportDir(text);
    if (read("MapDir", text))
        SetMapDir(text);
    m_scriptSetting.ReadSettings();
}

void CGameDefinition::WriteSettings() const
{
    const auto write = [this](const char* name, const QString& value) {
        MRegistry::RegWrite(m_registryKey, QString::fromLatin1(name), MRegistry::RegSz, TaggedValue(value));
    };
    write("ExeFullPath", m_exeFullPath);
    write("ModFullDir", m_modFullDir);
    // The default is stored empty, so that it follows the mod folder.
    write("DemoDefaultRootDir", IsDefaultDemoDefaultRootDir() ? QString() : m_demoDefaultRootDir);
    write("ProjectDir", m_projectDir);
    write("ScriptOutDir", m_scriptOutDir);
    write("ImportDir", m_importDir);
    write("MapDir", m_mapDir);
    m_scriptSetting.WriteSettings();
}
