#pragma once

// The platform as the main window's collaborators see it: small interfaces
// for the view control, the map object, dialogs and message boxes, the
// shell, other programs' windows (the game), hot keys, the settings store,
// the clock and the mouse cursor. The real implementations sit on the
// program's own helpers (MainServicesReal.h); tests hand the window fakes.
// Each collaborator takes only the services it calls; an interface grows
// when a collaborator needs something new of the platform.

#include "GLDraw.h"
#include "GameDetection.h"
#include "TaggedValue.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class C3DCamera;
class CView;
class IOpenGLViewHandler;
class QCursor;
class QWidget;
class UCOpenGLView;

namespace Dadavive {
class ICSubclass;
}

// The map view control `oglView` as the window drives it. The curves draw
// into it as into any view (GLDraw::IView).
class IViewControl : public GLDraw::IView
{
public:
    virtual ~IViewControl() = default;

    // Sets the control up with the window as drawing handler and the view
    // state and camera it shows; false when the OpenGL window cannot be
    // made (the control has told the user why).
    virtual bool Initialize(IOpenGLViewHandler* handler, CView* view, C3DCamera* camera) = 0;
    virtual double GLViewScale() const = 0;
    virtual void SetGLViewScale(double scale) = 0;
    virtual void SetView(CView* view) = 0;
    virtual void UpdateProjection() = 0;
    // Draws one frame through the drawing handler.
    virtual void Refresh() = 0;
    // Releases the rendering context; harmless when there is none.
    virtual bool GLKillWindow() = 0;
    // 0 default, 11 hourglass, 99 the picture of SetMouseIcon.
    virtual int32_t MousePointer() const = 0;
    virtual void SetMousePointer(int32_t kind) = 0;
    virtual void SetMouseIcon(const QCursor& cursor) = 0;
    // Makes the view's context current (map calls need it); false without one.
    virtual bool MakeCurrent() = 0;

    // ---- What the views' input, zoom and scene read and call --------------
    // The defaults are those of a view without pixels or context.
    CView* View() const override { return nullptr; }
    void GLPrint(const QString&) override {}
    bool IsCurrent() const override { return false; }
    // Visible size in world units and in pixels.
    virtual double GLViewWidth() const { return 0.0; }
    virtual double GLViewHeight() const { return 0.0; }
    virtual int32_t GLViewRealWidth() const { return 0; }
    virtual int32_t GLViewRealHeight() const { return 0; }
    // The 3D view's near plane and its width there.
    virtual float ZNear() const { return 0.1f; }
    virtual double GL3DViewWidth() const { return 0.0; }
    // The model-view transform of the view (the camera's in the 3D view).
    virtual void GLViewTransform(bool& /*keepSide*/, bool& /*keepForward*/) {}
    // World point of a view pixel into elements 0..2 of result.
    virtual void WindowToWorld(float /*x*/, float /*y*/, std::span<float> /*result*/) {}
    virtual void GLDrawSelectionRect2D(std::span<const float> /*corner1*/, std::span<const float> /*corner2*/) {}
    // The keyboard focus to the view.
    virtual void SetFocus() {}
    // The far plane a reset camera gets.
    virtual float DefaultZFar() const { return 50000.0f; }
};

// The map object (the map library's BSP class) as the window uses it.
class IMapObject
{
public:
    // Minimum (column 0) and maximum (column 1) on x, y and z.
    using Bounds = std::array<std::array<float, 2>, 3>;

    virtual ~IMapObject() = default;

    virtual bool Load(const QString& fileName, int32_t curveTesselation) = 0;
    virtual void FrustumUpdate() = 0;
    virtual void CalculateVisibleFaces(float x, float y, float z) = 0;
    virtual int32_t Draw() = 0;
    // False while no map is loaded.
    virtual bool GetBounds(Bounds& bounds) const = 0;
    virtual bool SearchCorner(float& x, float& y, float& z, int32_t plane, float zone) = 0;
    virtual void SetColors(uint32_t polygon, uint32_t mesh, uint32_t patch) = 0;
    // OpenGL primitive types for polygon faces, meshes and patches.
    virtual void SetDrawModes(int32_t poly, int32_t mesh, int32_t patch) = 0;
    virtual bool ClusterVisibilityCheckEnabled() const = 0;
    virtual void SetClusterVisibilityCheckEnabled(bool on) = 0;
};

// File choices, the folder browser and message boxes. Every one is modal
// and has the main window (or the given window) as owner.
class IDialogs
{
public:
    // Flags of the file dialogs (the values the window passes).
    static constexpr int32_t HideReadOnly = 4;
    static constexpr int32_t FileMustExist = 4096;

    // The file dialogs: title, file name (in: proposed; out: the full path
    // chosen), file title (out: the name without folder), initial folder
    // (its nearest existing folder; nothing when empty), filter in the
    // form MCDialog::BuildFilter writes, filter index (1-based, in and
    // out), default extension (added to a name without one) and flags.
    // True when the user confirmed; false when cancelled. The save dialog
    // does not ask before replacing a file: the callers ask themselves.
    virtual bool ShowOpenDialog(QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                                const QString& initialFolder, const QString& filter, int32_t& filterIndex,
                                const QString& defaultExt, int32_t flags) = 0;
    virtual bool ShowSaveDialog(QWidget* owner, const QString& title, QString& fileName, QString& fileTitle,
                                const QString& initialFolder, const QString& filter, int32_t& filterIndex,
                                const QString& defaultExt, int32_t flags) = 0;
    // The folder browser (MFileOp::GetSpecialFolder): the chosen folder or
    // "cancel".
    virtual QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder,
                                    int32_t root, int32_t flags, const QString& iconName) = 0;
    // A message box (MMsgBoxEx::MsgBoxEx); the answer as the system numbers
    // it (1 OK, 2 Cancel, 6 Yes, 7 No ...).
    virtual int32_t MessageBox(QWidget* owner, const QString& title, const QString& prompt, int32_t style,
                               const QString& iconName, int32_t timeoutMs) = 0;

    virtual ~IDialogs() = default;
};

// Starting programs and documents (MForms::ShellExecuteVerb).
class IShell
{
public:
    virtual ~IShell() = default;
    // Verbs: 0 open, 1 find, 2 explore, 3 properties, 5 print. The new
    // process's id, 0 on failure.
    virtual int64_t ShellExecuteVerb(QWidget* owner, int32_t verb, const QString& file, const QString& folder,
                                     const QString& parameters, int32_t showCommand) = 0;

    // ---- The game start ----------------------------------------------------
    // Starts the program with the command line split at blanks outside
    // double quotes, each argument keeping its quotes (MForms::StartProgram),
    // in the working folder, without waiting for it: the new process's id;
    // 0 with the reason in plain English when it was not started. Services
    // that start nothing (test fakes that do not care) refuse.
    virtual int64_t StartProgram(const QString& program, const QString& commandLine, const QString& workingFolder,
                                 QString& reason)
    {
        (void)program;
        (void)commandLine;
        (void)workingFolder;
        reason = QStringLiteral("Programs are not started here.");
        return 0;
    }
    // Starts the program file with these arguments, each one whole
    // (MForms::StartWithArguments): the new process's id, 0 on failure.
    // Services that start nothing refuse.
    virtual int64_t StartWithArguments(const QString& program, const QStringList& arguments,
                                       const QString& workingFolder)
    {
        (void)program;
        (void)arguments;
        (void)workingFolder;
        return 0;
    }
    // Calls `ended` once, from the event loop, when the process that
    // StartProgram started has ended, or when it cannot be watched; an id
    // that the system gives again to a later process is not taken for it
    // (RuvPlatform::ProgramStart::EndWatch). Destroying the object returned
    // stops the watch; `ended` must not destroy it.
    virtual std::unique_ptr<QObject> WatchProgramEnd(int64_t process, std::function<void()> ended)
    {
        (void)process;
        auto watch = std::make_unique<QObject>();
        QMetaObject::invokeMethod(watch.get(), std::move(ended), Qt::QueuedConnection);
        return watch;
    }
};

// Other programs' top-level windows (the game's), the clipboard and
// synthesized keys.
class IGameWindows
{
public:
    using Handle = uint64_t;

    virtual ~IGameWindows() = default;
    // Shown windows whose title and class equal the given ones (case
    // ignored; an empty one is not tested), bottom of the stacking first.
    virtual QList<Handle> FindWindows(const QString& title, const QString& className) = 0;
    virtual QList<Handle> FindWindowsOfProcess(int64_t processId) = 0;
    // 0 normal, 1 minimized, 2 maximized (MForms::GetPlacement).
    virtual int32_t GetPlacement(Handle window) = 0;
    virtual bool Restore(Handle window) = 0;
    virtual bool Minimize(Handle window) = 0;
    virtual bool Activate(Handle window) = 0;
    virtual int32_t SendClose(Handle window) = 0;
    virtual bool SetClipboardText(const QString& text) = 0;
    // MKeyboard::SendKey.
    virtual bool SendKey(int16_t scanCode, int32_t virtualKey, int32_t flags, int32_t action) = 0;

    // ---- The console input ---------------------------------------------------
    // The window that has the input focus (MForms::GetActiveWindow), 0 when
    // none: the keys go there.
    virtual Handle ActiveWindow() = 0;
};

// One system-wide hot key, raised on the window's subclass object.
class IHotKeys
{
public:
    virtual ~IHotKeys() = default;
    // Modifiers as Dadavive::eHotKeyModifiers, the key as a virtual key.
    // False when the key cannot be registered (another program holds it,
    // no X display).
    virtual bool Register(int32_t modifiers, int32_t virtualKey) = 0;
    virtual bool Unregister() = 0;

    // ---- The game minimizer ----------------------------------------------------
    // False when no hot key can be registered here at all (no X11 display,
    // or no subclass object to raise it), whatever the key.
    virtual bool Available() const = 0;
};

// The settings store by key path and value name (MRegistry).
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;
    // The value, or a null value when it is missing.
    virtual TaggedValue Read(const QString& keyPath, const QString& name) = 0;
    // Type 1 text, 4 DWORD (MRegistry type codes); creates the key.
    virtual bool Write(const QString& keyPath, const QString& name, int32_t type, const TaggedValue& value) = 0;
    virtual bool Delete(const QString& keyPath, const QString& name) = 0;
    // Names and types in the order they were first written.
    virtual bool ListValues(const QString& keyPath, QStringList& names, QList<int32_t>& types) = 0;
    // Many writes saved as one (see RegistryStore::Batch); nests.
    virtual void BeginBatch() = 0;
    virtual bool EndBatch() = 0;
    // The file that holds the values, for the texts that tell the user
    // where to set one; empty for a store kept in no file.
    virtual QString FilePath() const { return {}; }
    // Why the last change or batch failed, for the user; empty when none.
    virtual QString LastError() const { return {}; }
};

// Holds a batch of the store open for as long as it lives: the settings
// written meanwhile are saved as one.
class StoreBatch
{
public:
    explicit StoreBatch(ISettingsStore& store) : m_store(store) { m_store.BeginBatch(); }
    ~StoreBatch()
    {
        if (m_open)
            m_store.EndBatch();
    }
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;
    // Saves the batch now; false when it could not be saved.
    bool Commit()
    {
        m_open = false;
        return m_store.EndBatch();
    }

private:
    ISettingsStore& m_store;
    bool m_open = true;
};

// Milliseconds.
class IClock
{
public:
    virtual ~IClock() = default;
    // Since an arbitrary start; 64 bits, never wraps.
    virtual int64_t ElapsedMs() const = 0;
    // The 32-bit tick count, wrapping at 2^32 (MCommon::GetTickMs).
    virtual uint32_t GetTickMs() const = 0;
};

// The mouse cursor in screen pixels (MCursor).
class ICursor
{
public:
    virtual ~ICursor() = default;
    virtual QPoint GetCursorPosition() = 0;
    virtual void SetCursorPosition(const QPoint& position) = 0;
    // The display counter's new value (below 0: hidden).
    virtual int32_t ShowMouseCursor(bool show) = 0;
};

// What the main window is given: the services themselves, and the makers
// of those that need the window's own objects (the view control its
// widget, the hot keys the window's subclass object, the map object a
// fresh instance each time).
struct MainServices
{
    std::function<std::unique_ptr<IViewControl>(UCOpenGLView& widget)> makeViewControl;
    std::function<std::unique_ptr<IMapObject>()> makeMapObject;
    std::function<std::unique_ptr<IHotKeys>(Dadavive::ICSubclass* formSubclass)> makeHotKeys;
    std::shared_ptr<IDialogs> dialogs;
    std::shared_ptr<IShell> shell;
    std::shared_ptr<IGameWindows> gameWindows;
    std::shared_ptr<ISettingsStore> settings;
    std::shared_ptr<IClock> clock;
    std::shared_ptr<ICursor> cursor;
    // Where the game settings look for the games the user has installed.
    GameDetection::SearchPlaces gameSearch;
};
