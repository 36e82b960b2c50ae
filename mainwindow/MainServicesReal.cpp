#include "MainServicesReal.h"

#include "ComClient.h"
#include "Dadavive.h"
#include "Dorado.h"
#include "MClipboard.h"
#include "MCommon.h"
#include "MCursor.h"
#include "MFileOp.h"
#include "MFileOpDialogs.h"
#include "MForms.h"
#include "MKeyboard.h"
#include "MMsgBoxEx.h"
#include "MRegistry.h"
#include "PathHelper.h"
#include "RegistryStore.h"
#include "UCOpenGLView.h"
#include "X11HotKey.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include <vector>

namespace {

class ViewControl final : public IViewControl
{
public:
    explicit ViewControl(UCOpenGLView& view) : m_view(view) {}

    bool Initialize(IOpenGLViewHandler* handler, CView* view, C3DCamera* camera) override
    {
        return m_view.Initialize(handler, view, camera);
    }
    double GLViewScale() const override { return m_view.GLViewScale(); }
    void SetGLViewScale(double scale) override { m_view.SetGLViewScale(scale); }
    void SetView(CView* view) override { m_view.SetView(view); }
    void UpdateProjection() override { m_view.UpdateProjection(); }
    void Refresh() override { m_view.Refresh(); }
    bool GLKillWindow() override { return m_view.GLKillWindow(); }
    int32_t MousePointer() const override { return m_view.MousePointer(); }
    void SetMousePointer(int32_t kind) override { m_view.SetMousePointer(kind); }
    void SetMouseIcon(const QCursor& cursor) override { m_view.SetMouseIcon(cursor); }
    bool MakeCurrent() override { return m_view.MakeCurrent(); }
    CView* View() const override { return m_view.View(); }
    void GLPrint(const QString& text) override { m_view.GLPrint(text); }
    bool IsCurrent() const override { return m_view.IsCurrent(); }
    double GLViewWidth() const override { return m_view.GLViewWidth(); }
    double GLViewHeight() const override { return m_view.GLViewHeight(); }
    int32_t GLViewRealWidth() const override { return m_view.GLViewRealWidth(); }
    int32_t GLViewRealHeight() const override { return m_view.GLViewRealHeight(); }
    float ZNear() const override { return m_view.ZNear(); }
    double GL3DViewWidth() const override { return m_view.GL3DViewWidth(); }
    void GLViewTransform(bool& keepSide, bool& keepForward) override { m_view.GLViewTransform(keepSide, keepForward); }
    void WindowToWorld(float x, float y, std::span<float> result) override { m_view.WindowToWorld(x, y, result); }
    void GLDrawSelectionRect2D(std::span<const float> corner1, std::span<const float> corner2) override
    {
        m_view.GLDrawSelectionRect2D(corner1, corner2);
    }
    void SetFocus() override { m_view.setFocus(Qt::OtherFocusReason); }
    float DefaultZFar() const override { return m_view.DefaultZFar(); }

private:
    UCOpenGLView& m_view;
};

class MapObject final : public IMapObject
{
public:
    explicit MapObject(Com::ComPtr<Dorado::IBSP> bsp) : m_bsp(std::move(bsp)) {}

    bool Load(const QString& fileName, int32_t curveTesselation) override
    {
        return m_bsp->Load(fileName, curveTesselation);
    }
    void FrustumUpdate() override { m_bsp->FrustumUpdate(); }
    void CalculateVisibleFaces(float x, float y, float z) override { m_bsp->CalculateVisibleFaces(x, y, z); }
    int32_t Draw() override { return m_bsp->Draw(); }
    bool GetBounds(Bounds& bounds) const override { return m_bsp->GetBounds(bounds); }
    bool SearchCorner(float& x, float& y, float& z, int32_t plane, float zone) override
    {
        return m_bsp->SearchCorner(x, y, z, plane, zone);
    }
    void SetColors(uint32_t polygon, uint32_t mesh, uint32_t patch) override
    {
        m_bsp->SetClrPolygon(polygon);
        m_bsp->SetClrMesh(mesh);
        m_bsp->SetClrPatch(patch);
    }
    void SetDrawModes(int32_t poly, int32_t mesh, int32_t patch) override
    {
        m_bsp->SetDrawPolyMode(poly);
        m_bsp->SetDrawMeshMode(mesh);
        m_bsp->SetDrawPatchMode(patch);
    }
    bool ClusterVisibilityCheckEnabled() const override { return m_bsp->ClusterVisibilityCheckEnabled(); }
    void SetClusterVisibilityCheckEnabled(bool on) override { m_bsp->SetClusterVisibilityCheckEnabled(on); }

private:
    Com::ComPtr<Dorado::IBSP> m_bsp;
};

std::unique_ptr<IMapObject> MakeMapObject()
{
    Com::ComPtr<Dorado::IBSP> bsp;
    if (Com::Failed(Com::CreateInstance(Dorado::CLSID_BSP, bsp)) || !bsp)
        return nullptr;
    return std::make_unique<MapObject>(std::move(bsp));
}

class SubclassHotKeys final : public IHotKeys
{
public:
    explicit SubclassHotKeys(Dadavive::ICSubclass* subclass) : m_subclass(subclass) {}

    bool Register(int32_t modifiers, int32_t virtualKey) override
    {
        return m_subclass && m_subclass->HotKeyRegister(modifiers, virtualKey);
    }
    bool Unregister() override { return m_subclass && m_subclass->HotKeyUnregister(); }
    bool Available() const override { return m_subclass && PlatformX11::X11HotKey::Available(); }

private:
    Com::ComPtr<Dadavive::ICSubclass> m_subclass;
};

// Qt reads double quotes in a typed name as a list of quoted names and
// gives back the quoted part alone ("x"movie" becomes "movie"), which would
// write over another file. A save names one file: a typed name holding a
// quote is given back as typed, in the dialog's folder and with the default
// extension Qt adds to a name without one, for the caller to take or refuse.
QString TypedSaveName(const QFileDialog& dialog, const QString& chosen)
{
    const auto* edit = dialog.findChild<const QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = edit ? edit->text() : QString();
    if (!typed.contains(QLatin1Char('"')))
        return chosen;
    QString name = dialog.directory().absoluteFilePath(typed);
    if (!dialog.defaultSuffix().isEmpty() && !QFileInfo(name).fileName().contains(QLatin1Char('.')))
        name += QLatin1Char('.') + dialog.defaultSuffix();
    return name;
}

// The file dialogs. Ours, not the desktop's: the tests find and drive them,
// and they behave alike on every desktop.
bool ShowFileDialog(bool save, QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                    const QString& initialFolder, const QString& filter, int32_t& filterIndex,
                    const QString& defaultExt, int32_t flags)
{
    QFileDialog dialog(owner, title);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setFileMode(!save && (flags & IDialogs::FileMustExist) ? QFileDialog::ExistingFile
                                                                    : QFileDialog::AnyFile);
    if (!initialFolder.isEmpty()) {
        QString existing;
        if (MFileOp::GetExistingFolder(initialFolder, existing))
            dialog.setDirectory(RuvPlatform::PathHelper::ToNative(existing));
    }
    const QStringList filters = FileDialogNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = filterIndex >= 1 && filterIndex <= filters.size() ? filterIndex - 1 : 0;
        dialog.selectNameFilter(filters.at(index));
    }
    if (!defaultExt.isEmpty())
        dialog.setDefaultSuffix(defaultExt);
    if (!fileName.isEmpty()) {
        const QString native = RuvPlatform::PathHelper::ToNative(fileName);
        dialog.selectFile(native.isEmpty() ? fileName : native);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    if (save)
        fileName = TypedSaveName(dialog, fileName);
    fileTitle = QFileInfo(fileName).fileName();
    if (!filters.isEmpty())
        filterIndex = static_cast<int32_t>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

class Dialogs final : public IDialogs
{
public:
    bool ShowOpenDialog(QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                        const QString& initialFolder, const QString& filter, int32_t& filterIndex,
                        const QString& defaultExt, int32_t flags) override
    {
        return ShowFileDialog(false, owner, title, fileName, fileTitle, initialFolder, filter, filterIndex,
                              defaultExt, flags);
    }
    bool ShowSaveDialog(QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                        const QString& initialFolder, const QString& filter, int32_t& filterIndex,
                        const QString& defaultExt, int32_t flags) override
    {
        return ShowFileDialog(true, owner, title, fileName, fileTitle, initialFolder, filter, filterIndex,
                              defaultExt, flags);
    }
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder, int32_t root,
                            int32_t flags, const QString& iconName) override
    {
        return MFileOp::GetSpecialFolder(title, initialFolder, root, flags, owner, iconName);
    }
    int32_t MessageBox(QWidget* owner, const QString& title, const QString& prompt, int32_t style,
                       const QString& iconName, int32_t timeoutMs) override
    {
        return MMsgBoxEx::MsgBoxEx(owner, title, prompt, style, iconName, timeoutMs);
    }
};

class Shell final : public IShell
{
public:
    int64_t ShellExecuteVerb(QWidget* owner, int32_t verb, const QString& file, const QString& folder,
                             const QString& parameters, int32_t showCommand) override
    {
        return MForms::ShellExecuteVerb(owner, verb, file, folder, parameters, showCommand);
    }
    int64_t StartProgram(const QString& program, const QString& commandLine, const QString& workingFolder,
                         QString& reason) override
    {
        return MForms::StartProgram(program, commandLine, workingFolder, reason);
    }
    int64_t StartWithArguments(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) override
    {
        return MForms::StartWithArguments(program, arguments, workingFolder);
    }
    std::unique_ptr<QObject> WatchProgramEnd(int64_t process, std::function<void()> ended) override
    {
        return MForms::WatchProgramEnd(process, std::move(ended));
    }
};

class GameWindows final : public IGameWindows
{
public:
    QList<Handle> FindWindows(const QString& title, const QString& className) override
    {
        QList<MForms::WindowHandle> handles;
        MForms::FindWindows(handles, title, className, false);
        return handles;
    }
    QList<Handle> FindWindowsOfProcess(int64_t processId) override
    {
        QList<MForms::WindowHandle> handles;
        MForms::FindWindowsOfProcess(handles, processId);
        return handles;
    }
    int32_t GetPlacement(Handle window) override { return MForms::GetPlacement(window); }
    bool Restore(Handle window) override { return MForms::RestoreWindow(window); }
    bool Minimize(Handle window) override { return MForms::MinimizeWindow(window); }
    bool Activate(Handle window) override { return MForms::ActivateWindow(window); }
    int32_t SendClose(Handle window) override { return MForms::SendClose(window); }
    bool SetClipboardText(const QString& text) override { return MClipboard::SetClipboardText(0, text); }
    bool SendKey(int16_t scanCode, int32_t virtualKey, int32_t flags, int32_t action) override
    {
        return MKeyboard::SendKey(scanCode, virtualKey, flags, action);
    }
    Handle ActiveWindow() override { return MForms::GetActiveWindow(); }
};

class SettingsStore final : public ISettingsStore
{
public:
    TaggedValue Read(const QString& keyPath, const QString& name) override
    {
        return MRegistry::RegRead(keyPath, name);
    }
    bool Write(const QString& keyPath, const QString& name, int32_t type, const TaggedValue& value) override
    {
        return MRegistry::RegWrite(keyPath, name, type, value);
    }
    bool Delete(const QString& keyPath, const QString& name) override
    {
        return MRegistry::RegDelete(keyPath, name);
    }
    bool ListValues(const QString& keyPath, QStringList& names, QList<int32_t>& types) override
    {
        return MRegistry::RegListValues(keyPath, names, types);
    }
    void BeginBatch() override
    {
        m_batches.push_back(std::make_unique<RuvPlatform::RegistryStore::Batch>(
            RuvPlatform::RegistryStore::Instance()));
    }
    bool EndBatch() override
    {
        if (m_batches.empty())
            return false;
        const bool ok = m_batches.back()->Commit();
        m_batches.pop_back();
        return ok;
    }
    QString FilePath() const override { return RuvPlatform::RegistryStore::Instance().FilePath(); }
    QString LastError() const override { return RuvPlatform::RegistryStore::Instance().LastError(); }

private:
    std::vector<std::unique_ptr<RuvPlatform::RegistryStore::Batch>> m_batches;
};

class Clock final : public IClock
{
public:
    Clock() { m_timer.start(); }
    int64_t ElapsedMs() const override { return m_timer.elapsed(); }
    uint32_t GetTickMs() const override { return MCommon::GetTickMs(); }

private:
    QElapsedTimer m_timer;
};

class Cursor final : public ICursor
{
public:
    QPoint GetCursorPosition() override { return MCursor::GetCursorPosition(); }
    void SetCursorPosition(const QPoint& position) override { MCursor::SetCursorPosition(position); }
    int32_t ShowMouseCursor(bool show) override { return MCursor::ShowMouseCursor(show); }
};

}  // namespace

QStringList FileDialogNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (patterns.isEmpty())
            continue;
        // The description carries the patterns in brackets already; Qt
        // reads them from there, blank-separated.
        const qsizetype open = description.lastIndexOf(QStringLiteral(" ("));
        if (open >= 0 && description.endsWith(QLatin1Char(')')))
            description.truncate(open);
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

MainServices MakeRealServices()
{
    MainServices s;
    s.makeViewControl = [](UCOpenGLView& widget) { return std::make_unique<ViewControl>(widget); };
    s.makeMapObject = [] { return MakeMapObject(); };
    s.makeHotKeys = [](Dadavive::ICSubclass* subclass) { return std::make_unique<SubclassHotKeys>(subclass); };
    s.dialogs = std::make_shared<Dialogs>();
    s.shell = std::make_shared<Shell>();
    s.gameWindows = std::make_shared<GameWindows>();
    s.settings = std::make_shared<SettingsStore>();
    s.clock = std::make_shared<Clock>();
    s.cursor = std::make_shared<Cursor>();
    s.gameSearch = GameDetection::SearchPlaces::OfThisSystem();
    return s;
}
