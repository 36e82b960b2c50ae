#pragma once

// The main window as the tests of the curve tools, the edit state, the
// sinks, the camera navigation and the view presets drive it: the real
// window, loaded but not shown, with a view control whose pixels map
// linearly to the world (one pixel one world unit at scale 1), a cursor, a
// clock, a clipboard and a map object that the test controls, and
// recording fakes for the preview, the point grid and the value tools. The
// curves, the undo history, the views, the zoom, the scene's redraws, the
// map binding and the controls are the real ones.

#include "MainWindowHarness.h"

#include "C3DCurveController.h"
#include "CProjectStateHandler.h"
#include "CameraNavigation.h"
#include "CurveEditing.h"
#include "EditState.h"
#include "EventSinks.h"
#include "ViewInput.h"
#include "ViewZoom.h"
#include "ViewPresets.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QStringList>
#include <QToolButton>

#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace Editing {

// Pixels map to the view's two axes: h = x / scale, v = y / scale; the depth
// axis reads `depth`. The scale stays what the test sets once it locks it.
class FakeViewControl final : public IViewControl
{
public:
    double scale = 1.0;
    bool scaleLocked = false;
    float depth = 0.0f;
    CView* view = nullptr;
    int refreshes = 0;
    int projections = 0;
    QCursor icon;

    bool Initialize(IOpenGLViewHandler*, CView* v, C3DCamera*) override
    {
        view = v;
        return true;
    }
    double GLViewScale() const override { return scale; }
    void SetGLViewScale(double s) override
    {
        if (!scaleLocked)
            scale = s;
    }
    void SetView(CView* v) override { view = v; }
    CView* View() const override { return view; }
    void UpdateProjection() override { ++projections; }
    void Refresh() override { ++refreshes; }
    bool GLKillWindow() override { return true; }
    int32_t MousePointer() const override { return m_pointer; }
    void SetMousePointer(int32_t kind) override { m_pointer = kind; }
    void SetMouseIcon(const QCursor& cursor) override { icon = cursor; }
    bool MakeCurrent() override { return false; }
    void WindowToWorld(float x, float y, std::span<float> result) override
    {
        std::array<float, 3> w{};
        w[static_cast<size_t>(view->HAxis())] = static_cast<float>(x / scale);
        w[static_cast<size_t>(view->VAxis())] = static_cast<float>(y / scale);
        w[static_cast<size_t>(view->DAxis())] = depth;
        for (size_t i = 0; i < result.size() && i < 3; ++i)
            result[i] = w[i];
    }
    std::array<float, 3> World(float x, float y)
    {
        std::array<float, 3> w{};
        WindowToWorld(x, y, w);
        return w;
    }

private:
    int32_t m_pointer = 0;
};

// The pointer on the screen; a warp may be refused.
class FakeCursor final : public ICursor
{
public:
    QPoint position{100, 100};
    bool refuseWarp = false;
    int shown = 0;  // the display counter: below 0 hidden
    QList<QPoint> warps;

    QPoint GetCursorPosition() override { return position; }
    void SetCursorPosition(const QPoint& p) override
    {
        warps << p;
        if (!refuseWarp)
            position = p;
    }
    int32_t ShowMouseCursor(bool show) override { return shown += show ? 1 : -1; }
};

class FakeClock final : public IClock
{
public:
    int64_t ms = 1000;
    int64_t ElapsedMs() const override { return ms; }
    uint32_t GetTickMs() const override { return static_cast<uint32_t>(ms); }
};

// Only the clipboard is used here.
class FakeGameWindows final : public IGameWindows
{
public:
    QStringList clipboard;
    bool refuseClipboard = false;

    QList<Handle> FindWindows(const QString&, const QString&) override { return {}; }
    QList<Handle> FindWindowsOfProcess(int64_t) override { return {}; }
    int32_t GetPlacement(Handle) override { return 0; }
    bool Restore(Handle) override { return false; }
    bool Minimize(Handle) override { return false; }
    bool Activate(Handle) override { return false; }
    int32_t SendClose(Handle) override { return 0; }
    bool SetClipboardText(const QString& text) override
    {
        if (refuseClipboard)
            return false;
        clipboard << text;
        return true;
    }
    bool SendKey(int16_t, int32_t, int32_t, int32_t) override { return false; }
    Handle ActiveWindow() override { return 0; }
};

// A map whose corners are a list: SearchCorner takes the first one within
// the zone on the plane's two axes.
class FakeMap final : public IMapObject
{
public:
    std::vector<std::array<float, 3>> corners;
    QList<int32_t> planes;

    bool Load(const QString&, int32_t) override { return true; }
    void FrustumUpdate() override {}
    void CalculateVisibleFaces(float, float, float) override {}
    int32_t Draw() override { return 0; }
    bool GetBounds(Bounds&) const override { return false; }
    bool SearchCorner(float& x, float& y, float& z, int32_t plane, float zone) override
    {
        planes << plane;
        const size_t a = plane == 2 ? 1 : 0;
        const size_t b = plane == 0 ? 1 : 2;
        const std::array<float, 3> p = {x, y, z};
        for (const auto& c : corners) {
            if (std::fabs(c[a] - p[a]) <= zone && std::fabs(c[b] - p[b]) <= zone) {
                x = c[0];
                y = c[1];
                z = c[2];
                return true;
            }
        }
        return false;
    }
    void SetColors(uint32_t, uint32_t, uint32_t) override {}
    void SetDrawModes(int32_t, int32_t, int32_t) override {}
    bool ClusterVisibilityCheckEnabled() const override { return true; }
    void SetClusterVisibilityCheckEnabled(bool) override {}
};

// What the fakes of the other groups record and answer.
struct Record
{
    QStringList calls;
    // The preview.
    bool locked = false;
    bool running = false;
    bool atControl = false;
    int32_t control = -1;
    int32_t sample = -1;
    std::vector<ControlRecord> samples;

    int Count(const QString& prefix) const
    {
        int n = 0;
        for (const QString& c : calls)
            if (c.startsWith(prefix))
                ++n;
        return n;
    }
};

inline QString CurveName(const C3DCurve* curve)
{
    return curve ? curve->Name() : QStringLiteral("*");
}

class FakePreview final : public IPreviewPlayback
{
public:
    explicit FakePreview(Record& r) : m_r(r) {}
    void fReleasePreviewLock() override { m_r.locked = false; }
    bool fIsPlaying() const override { return m_r.running; }
    void fStopPlayback() override { m_r.running = false; }
    bool LoopActive() const override { return false; }
    bool fIsPreviewLocked() const override { return m_r.locked; }
    bool fIsPlaybackRunning() const override { return m_r.running; }
    bool fIsPreviewAtControl() const override { return m_r.atControl; }
    int32_t fGetPreviewControl() const override { return m_r.control; }
    int32_t fGetPreviewSample() const override { return m_r.sample; }
    bool fGetPreviewSampleRecord(int32_t index, ControlRecord& record) const override
    {
        if (index < 0 || index >= static_cast<int32_t>(m_r.samples.size()))
            return false;
        record = m_r.samples[static_cast<size_t>(index)];
        return true;
    }
    void fRefreshPreview(bool) override { m_r.calls << QStringLiteral("RefreshPreview"); }
    void fLockGuiDuringPreview(bool locked, bool running) override
    {
        m_r.calls << QStringLiteral("LockGui:%1,%2").arg(int(locked)).arg(int(running));
    }
    void fMoveControlWithCamera() override { m_r.calls << QStringLiteral("MoveControl"); }
    void fRotateControlWithCamera(int32_t mask, float yaw, float pitch, float roll) override
    {
        m_r.calls << QStringLiteral("Rotate:%1,%2,%3,%4")
                         .arg(mask)
                         .arg(yaw, 0, 'g', 6)
                         .arg(pitch, 0, 'g', 6)
                         .arg(roll, 0, 'g', 6);
    }
    void fApplyCameraFovToControl() override { m_r.calls << QStringLiteral("ApplyFov"); }
    void fPreviewKeyCommand(const std::array<bool, 4>& d, int16_t shift) override
    {
        m_r.calls << QStringLiteral("KeyCommand:%1%2%3%4,%5")
                         .arg(int(d[0]))
                         .arg(int(d[1]))
                         .arg(int(d[2]))
                         .arg(int(d[3]))
                         .arg(shift);
    }
    void fTogglePlayback() override { m_r.calls << QStringLiteral("TogglePlayback"); }
    void fOnPlaybackStopped() override
    {
        m_r.calls << QStringLiteral("PlaybackStopped");
        m_r.running = false;
    }
    void fTogglePreviewLock() override { m_r.calls << QStringLiteral("ToggleLock"); }

private:
    Record& m_r;
};

class FakeGrid final : public IPointGridPanel
{
public:
    explicit FakeGrid(Record& r) : m_r(r) {}
    void fDefineGridColumns() override {}
    void fGridClear() override {}
    void fGridStartChange() override { m_r.calls << QStringLiteral("GridStart"); }
    void fGridEndChange(bool) override { m_r.calls << QStringLiteral("GridEnd"); }
    void fGridReloadCurve(C3DCurve* curve) override { m_r.calls << QStringLiteral("GridReload:") + CurveName(curve); }
    void fGridSelectRow(C3DCurve* curve, int32_t row, bool) override
    {
        m_r.calls << QStringLiteral("GridSelect:%1:%2").arg(CurveName(curve)).arg(row);
    }
    void fGridClearSelection(C3DCurve* curve) override { m_r.calls << QStringLiteral("GridClear:") + CurveName(curve); }
    void fGridUpdateCells(C3DCurve*, int32_t row, const std::array<int32_t, 10>&) override
    {
        m_r.calls << QStringLiteral("GridCells:%1").arg(row);
    }
    void fGridUpdateColumn(C3DCurve*, int32_t property) override
    {
        m_r.calls << QStringLiteral("GridColumn:%1").arg(property);
    }
    void fGridSyncSelection() override { m_r.calls << QStringLiteral("GridSync"); }

private:
    Record& m_r;
};

class FakeValueTools final : public IValueTools
{
public:
    explicit FakeValueTools(Record& r) : m_r(r) {}
    void fValidateFactor(bool&) override {}
    void fValidateAutoRollMaxAngle(bool&) override {}
    void fSetFixedTargetsFromArray(const std::array<double, 3>& t) override
    {
        m_r.calls << QStringLiteral("FixedTargets:%1,%2,%3").arg(t[0]).arg(t[1]).arg(t[2]);
    }
    void fSetFixedTargets(float x, float y, float z) override
    {
        m_r.calls << QStringLiteral("FixedTargets:%1,%2,%3").arg(x).arg(y).arg(z);
    }
    void fUpdateLookTargetOptions() override { m_r.calls << QStringLiteral("LookTargets"); }

private:
    Record& m_r;
};

class Factory final : public Harness::FakeFactory
{
public:
    Factory(Harness::FakeState& s, Record& r) : Harness::FakeFactory(s), m_r(r) {}
    std::unique_ptr<IPreviewPlayback> MakePreview(MainContext&) override
    {
        return std::make_unique<FakePreview>(m_r);
    }
    std::unique_ptr<IPointGridPanel> MakePointGrid(MainContext&) override { return std::make_unique<FakeGrid>(m_r); }
    std::unique_ptr<IValueTools> MakeValueTools(MainContext&) override
    {
        return std::make_unique<FakeValueTools>(m_r);
    }

private:
    Record& m_r;
};

// The loaded window in a new project's state: one empty "Camera path",
// one undo state, the X-Y view, tool 1.
class Window
{
public:
    Harness::TempStore store;
    std::shared_ptr<Harness::RecordingDialogs> dialogs = std::make_shared<Harness::RecordingDialogs>();
    std::shared_ptr<FakeCursor> cursor = std::make_shared<FakeCursor>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeGameWindows> gameWindows = std::make_shared<FakeGameWindows>();
    FakeViewControl* view = nullptr;
    Harness::FakeState fake;
    Record rec;
    QTemporaryDir mapDir;
    std::unique_ptr<FrmMain> window;

    Window()
    {
        Harness::RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        MainServices services = Harness::Services(dialogs);
        services.cursor = cursor;
        services.clock = clock;
        services.gameWindows = gameWindows;
        services.makeMapObject = [] { return std::make_unique<FakeMap>(); };
        services.makeViewControl = [this](UCOpenGLView&) {
            auto v = std::make_unique<FakeViewControl>();
            view = v.get();
            return v;
        };
        window = std::make_unique<FrmMain>(std::move(services), std::make_unique<Factory>(fake, rec));
        window->Form_Load();
        window->Controls().m_aboutForm->hide();
        view->scale = 1.0;
        view->scaleLocked = true;
        // What New does with the options and the curves.
        Edit().fResetProjectOptions();
        Edit().fCreateDefaultCurves();
        Edit().fResetUndoHistory();
        Edit().fUpdateControlsState();
        rec.calls.clear();
        dialogs->boxes.clear();
    }

    MainState& State() { return window->State(); }
    MainWidgets& Widgets() { return window->Widgets(); }
    MainParts& Parts() { return window->Parts(); }
    C3DCurveController& Curves() { return *State().m_curveController; }
    C3DCurve& Main() { return *State().m_mainCurve; }
    // A second curve, made on first use.
    C3DCurve& Second()
    {
        if (Curves().CurveCount() < 2)
            Curves().Add(QStringLiteral("Second"));
        return Curves().Curves(1);
    }
    CurveEditing& Tools() { return static_cast<CurveEditing&>(*Parts().curveEditing); }
    EditState& Edit() { return static_cast<EditState&>(*Parts().editState); }
    EventSinks& Sinks() { return static_cast<EventSinks&>(*Parts().eventSinks); }
    CameraNavigation& Nav() { return static_cast<CameraNavigation&>(*Parts().cameraNavigation); }
    ViewPresets& Presets() { return static_cast<ViewPresets&>(*Parts().viewPresets); }
    FakeMap& Map() { return static_cast<FakeMap&>(*State().m_map); }
    QAction* Menu(const char* name) { return window->Menus().Action(QString::fromLatin1(name)); }

    void SelectView(int index) { Parts().viewInput->fSelectView(index); }
    // The view cursor shown (0 to 6), -1 for another.
    int Cursor()
    {
        for (size_t i = 0; i < State().m_viewCursors.size(); ++i)
            if (view->icon.pixmap().cacheKey() == State().m_viewCursors[i].pixmap().cacheKey())
                return static_cast<int>(i);
        return -1;
    }
    // Loads a map (an empty file the fake map object takes) through the
    // real map binding; its corners are the test's to set after.
    bool LoadMap()
    {
        State().m_activeGame->SetMapDir(mapDir.path());
        QFile file(mapDir.filePath(QStringLiteral("test.bsp")));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.close();
        return Parts().mapBinding->fLoadMap(QStringLiteral("test.bsp"));
    }
    // As a click on the tool's button.
    void SelectTool(int tool)
    {
        Widgets().optTools[static_cast<size_t>(tool)]->setChecked(true);
        Edit().optTools_Click(tool);
    }

    // Appends points at (x, y) of the X-Y view, one count change each.
    void AddPoints(C3DCurve& curve, const std::vector<std::array<float, 3>>& points)
    {
        for (const auto& p : points)
            curve.AddControl3(p[0], p[1], p[2], 0, 0, 0, false);
    }

    // ---- The view input as it routes to the tools (pixels of the view) ---
    void Hover(float x, float y, int16_t shift = 0)
    {
        State().m_drags.m_pointerWorld = view->World(x, y);
        Tools().fHoverFeedback(0, shift);
    }
    void Press(float x, float y, int16_t shift = 0)
    {
        State().m_drags.m_mouseDownX = static_cast<int32_t>(std::lround(x));
        State().m_drags.m_mouseDownY = static_cast<int32_t>(std::lround(y));
        Tools().fToolMouseDown(Parts().editState->fActiveTool(), shift, x, y);
    }
    void Drag(float x, float y, int16_t shift = 0)
    {
        State().m_drags.m_pointerWorld = view->World(x, y);
        CurveEditing& t = Tools();
        if (t.SelectionRectActive())
            t.fSelectionRectStep();
        else if (t.MoveSelectionActive())
            t.fMoveSelectionStep();
        else if (t.TangentDragActive())
            t.fTangentDragStep(shift);
        else if (t.LookAtDragActive())
            t.fLookAtStep(shift, x, y);
        else if (t.MoveControlActive())
            t.fMoveControlStep(shift);
        else
            t.fHoverFeedback(0, shift);
    }
    void Release(float x, float y, int16_t shift = 0)
    {
        CurveEditing& t = Tools();
        if (t.SelectionRectActive())
            t.fEndSelectionRect(shift, x, y);
        else if (t.MoveSelectionActive())
            t.fEndMoveSelection();
        else if (t.TangentDragActive())
            t.fEndTangentDrag();
        else if (t.LookAtDragActive())
            t.fEndLookAtDrag();
        else if (t.MoveControlActive())
            t.fEndMoveControl();
    }
    void Click(float x, float y, int16_t shift = 0)
    {
        Hover(x, y, shift);
        Press(x, y, shift);
        Release(x, y, shift);
    }

    int UndoStates() { return Edit().StateHandler().StateCount(); }
};

}  // namespace Editing
