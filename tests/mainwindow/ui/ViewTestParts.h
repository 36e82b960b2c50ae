#pragma once

// What the tests of the views, the map and the scene share on top of the
// window harness: recording stand-ins for the groups the view's input
// routes to (camera navigation, curve tools, the tool buttons' update, the
// point grid's selection), scripted dialogs, a counting map-object maker,
// and a map file written by the map tests' writer.

#include "MainWindowHarness.h"

#include "BspWriter.h"
#include "MainParts.h"
#include "UCOpenGLView.h"

#include <QFile>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <QWindow>

namespace ViewTest {

// What the stand-ins record and answer.
struct Record
{
    QStringList calls;
    bool canStartCamera = true;
    bool tangentHovered = false;
    bool gridSelection = false;
    int32_t gridFirst = 0;
    int32_t gridLast = 0;
    int makeMapObjects = 0;

    int Count(const QString& call) const { return static_cast<int>(calls.count(call)); }
};

class Navigation final : public ICameraNavigation
{
public:
    Navigation(MainContext& c, Record& r) : m_c(c), m_real(c), m_r(r) {}
    void fResetCamera() override { m_real.fResetCamera(); }
    bool fCanStartMouseCamera() override { return m_r.canStartCamera; }
    void fStartMouseLook() override { Start("StartMouseLook", m_c.state.m_drags.m_mouseLookActive); }
    void fMouseLookStep() override { m_r.calls << QStringLiteral("MouseLookStep"); }
    void fStopMouseLook() override { Stop("StopMouseLook", m_c.state.m_drags.m_mouseLookActive); }
    void fStartMouseMove() override { Start("StartMouseMove", m_c.state.m_drags.m_mouseMoveActive); }
    void fMouseMoveStep() override { m_r.calls << QStringLiteral("MouseMoveStep"); }
    void fStopMouseMove() override { Stop("StopMouseMove", m_c.state.m_drags.m_mouseMoveActive); }
    void fWheel3D(int32_t notches, int32_t keys) override
    {
        m_r.calls << QStringLiteral("Wheel3D %1 %2").arg(notches).arg(keys);
    }
    void fViewKeyDown(int16_t& code, int16_t& shift) override
    {
        m_r.calls << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift);
    }
    void fViewKeyPress(int16_t& ascii) override { m_r.calls << QStringLiteral("KeyPress %1").arg(ascii); }
    void fViewKeyUp(int16_t& code) override { m_r.calls << QStringLiteral("KeyUp %1").arg(code); }

private:
    void Start(const char* call, bool& flag)
    {
        m_r.calls << QString::fromLatin1(call);
        flag = true;
        m_c.state.m_cameraDragActive = true;
    }
    void Stop(const char* call, bool& flag)
    {
        m_r.calls << QString::fromLatin1(call);
        flag = false;
        m_c.state.m_cameraDragActive = false;
    }

    MainContext& m_c;
    CameraNavigation m_real;
    Record& m_r;
};

class Tools final : public ICurveEditing
{
public:
    explicit Tools(Record& r) : m_r(r) {}
    void fToolMouseDown(int32_t tool, int16_t shift, float, float) override
    {
        m_r.calls << QStringLiteral("ToolDown %1 %2").arg(tool).arg(shift);
    }
    bool fResetHoveredTangent(int32_t tool, int16_t) override
    {
        m_r.calls << QStringLiteral("ResetTangent %1").arg(tool);
        return m_r.tangentHovered;
    }
    void fHoverFeedback(int16_t button, int16_t shift) override
    {
        m_r.calls << QStringLiteral("Hover %1 %2").arg(button).arg(shift);
    }
    void fDeleteSelectedControls() override { m_r.calls << QStringLiteral("DeleteSelected"); }

private:
    Record& m_r;
};

class Editing final : public IEditState
{
public:
    Editing(MainContext& c, Harness::FakeState& s, Record& r) : m_real(c), m_s(s), m_r(r) {}
    void fCreateCurveObjects() override { m_real.fCreateCurveObjects(); }
    void fSetProjectModified(bool force) override { m_real.fSetProjectModified(force); }
    bool fNothingToSave() const override { return m_s.nothingToSave; }
    void fUpdateToolsState() override { m_r.calls << QStringLiteral("ToolsState"); }

private:
    EditState m_real;
    Harness::FakeState& m_s;
    Record& m_r;
};

class Grid final : public IPointGridPanel
{
public:
    explicit Grid(Record& r) : m_r(r) {}
    void fDefineGridColumns() override {}
    void fGridClear() override {}
    bool fActiveGridSelection(int32_t& first, int32_t& last) const override
    {
        first = m_r.gridFirst;
        last = m_r.gridLast;
        return m_r.gridSelection;
    }

private:
    Record& m_r;
};

class Factory : public Harness::FakeFactory
{
public:
    Factory(Harness::FakeState& s, Record& r) : FakeFactory(s), m_s(s), m_r(r) {}
    std::unique_ptr<ICameraNavigation> MakeCameraNavigation(MainContext& c) override
    {
        return std::make_unique<Navigation>(c, m_r);
    }
    std::unique_ptr<ICurveEditing> MakeCurveEditing(MainContext&) override { return std::make_unique<Tools>(m_r); }
    std::unique_ptr<IEditState> MakeEditState(MainContext& c) override
    {
        return std::make_unique<Editing>(c, m_s, m_r);
    }
    std::unique_ptr<IPointGridPanel> MakePointGrid(MainContext&) override { return std::make_unique<Grid>(m_r); }

private:
    Harness::FakeState& m_s;
    Record& m_r;
};

// Message boxes recorded (answered OK); the open dialog and the folder
// browser answer from lists (an empty answer cancels) and record how they
// were asked.
class Dialogs final : public IDialogs
{
public:
    struct Box
    {
        QString title;
        QString prompt;
        int32_t style;
    };
    struct Asked
    {
        QString title;
        QString initialFolder;
        QString filter;
        int32_t flags = 0;
        int32_t root = 0;
        QString icon;
    };
    QList<Box> boxes;
    QList<Asked> openDialogs;
    QList<Asked> folderDialogs;
    QStringList openAnswers;
    QStringList folderAnswers;

    bool ShowOpenDialog(QWidget*, const QString& title, QString& fileName, QString& fileTitle, const QString& folder,
                        const QString& filter, int32_t&, const QString&, int32_t flags) override
    {
        openDialogs << Asked{title, folder, filter, flags, 0, QString()};
        const QString answer = openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
        if (answer.isEmpty())
            return false;
        fileName = answer;
        fileTitle = answer.mid(answer.lastIndexOf(QLatin1Char('/')) + 1);
        return true;
    }
    bool ShowSaveDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    QString BrowseForFolder(QWidget*, const QString& title, const QString& folder, int32_t root, int32_t flags,
                            const QString& icon) override
    {
        folderDialogs << Asked{title, folder, QString(), flags, root, icon};
        return folderAnswers.isEmpty() ? QStringLiteral("cancel") : folderAnswers.takeFirst();
    }
    int32_t MessageBox(QWidget*, const QString& title, const QString& prompt, int32_t style, const QString&,
                       int32_t) override
    {
        boxes << Box{title, prompt, style};
        return 1;
    }
};

// Real services with the scripted dialogs and a map-object maker that
// counts the objects it makes.
inline MainServices Services(std::shared_ptr<Dialogs> dialogs, Record& record)
{
    MainServices s = MakeRealServices();
    s.dialogs = std::move(dialogs);
    // The game settings find no game of the machine.
    s.gameSearch = {};
    auto real = s.makeMapObject;
    s.makeMapObject = [real, &record] {
        ++record.makeMapObjects;
        return real();
    };
    return s;
}

inline QWindow* GLWindow(FrmMain& window)
{
    return window.Widgets().oglView->GLWindow();
}

// The real window with the stand-ins above and a settings store of its
// own, shown and active once started.
struct Window
{
    std::unique_ptr<Harness::TempStore> store = std::make_unique<Harness::TempStore>();
    std::shared_ptr<Dialogs> dialogs = std::make_shared<Dialogs>();
    Harness::FakeState fake;
    Record record;
    std::unique_ptr<FrmMain> window;

    // With another factory derived from Factory, or the stand-ins' own.
    bool Start(std::unique_ptr<Factory> factory = nullptr)
    {
        Harness::RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        if (!factory)
            factory = std::make_unique<Factory>(fake, record);
        if (ProgramStart::StartMainWindow(Services(dialogs, record), window, std::move(factory)) != 0
            || !QTest::qWaitForWindowExposed(window.get()))
            return false;
        window->Controls().m_aboutForm->hide();
        return Harness::Activate(window.get()) && QTest::qWaitForWindowExposed(GLWindow(*window));
    }
};

// A map of one leaf around everything, holding mesh faces (drawn in their
// colour whatever the polygon mode) facing both ways.
inline DoradoTest::MapWriter MeshMap(const std::vector<std::array<DoradoTest::Vertex, 4>>& quads)
{
    using namespace DoradoTest;
    MapWriter m;
    m.entities = "{\n\"classname\" \"worldspawn\"\n}\n";
    // The leaf's box is the map's box: just around the faces.
    Leaf leaf;
    for (int i = 0; i < 3; ++i) {
        leaf.mins[i] = 60000;
        leaf.maxs[i] = -60000;
    }
    for (const auto& q : quads) {
        for (const Vertex& v : q)
            for (int i = 0; i < 3; ++i) {
                leaf.mins[i] = std::min(leaf.mins[i], static_cast<int32_t>(std::floor(v.pos[i])));
                leaf.maxs[i] = std::max(leaf.maxs[i], static_cast<int32_t>(std::ceil(v.pos[i])));
            }
        AddQuad(m, 3, q[0], q[1], q[2], q[3]);
        AddQuad(m, 3, q[3], q[2], q[1], q[0]);
    }
    for (int i = 0; i < static_cast<int>(m.faces.size()); ++i)
        m.leafFaces.push_back(i);
    leaf.firstLeafFace = 0;
    leaf.leafFaceCount = static_cast<int32_t>(m.faces.size());
    m.leaves.push_back(leaf);
    m.numClusters = 1;
    m.bytesPerCluster = 1;
    m.visBits = {0x01};
    return m;
}

// A square mesh face on the plane z = 0 from -half to half.
inline DoradoTest::MapWriter FloorMap(float half)
{
    using DoradoTest::V;
    return MeshMap({{V(-half, -half, 0), V(half, -half, 0), V(half, half, 0), V(-half, half, 0)}});
}

inline bool WriteMap(const DoradoTest::MapWriter& m, const QString& path)
{
    QFile f(path);
    const auto bytes = m.Build();
    return f.open(QIODevice::WriteOnly)
           && f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
                  == static_cast<qint64>(bytes.size());
}

}  // namespace ViewTest
