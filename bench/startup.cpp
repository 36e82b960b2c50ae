// The program's start-up with a project against a floor. A child process
// starts the program as main.cpp does, with a project of 20 curves of 250
// controls that names the largest test map on its command line, and is
// timed from its launch to the first paint of the view with the curves and
// the map loaded. A floor child opens one GL window of the view's format,
// loads the same map through Dorado and the same project through
// CProjectIOHandler and paints the map once. Both run five times (taken in
// turn) after a warm-up of each, with a settings store of their own.
// Needs a display (run it under xvfb-run).
//
//   bench_startup [MAP.bsp]          (the largest test map by default)
//   bench_startup --program PROJECT  (the program's child)
//   bench_startup --floor PROJECT MAP
#include "BenchTiming.h"
#include "C3DCamera.h"
#include "C3DCurveController.h"
#include "C3DProject.h"
#include "CProjectIOHandler.h"
#include "CView.h"
#include "ComClient.h"
#include "Dorado.h"
#include "FrmMain.h"
#include "MArrayConvert.h"
#include "MRegistry.h"
#include "MainServicesReal.h"
#include "ProgramStart.h"
#include "UCOpenGLView.h"
#include "X11Windows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace {

constexpr int Curves = 20;
constexpr int Controls = 250;
constexpr int Runs = 5;
// A child that has not painted by then is stuck (a dialog, no display).
constexpr int ChildTimeoutMs = 120000;
// How long the program's child waits, after a paint without the project,
// for one with it.
constexpr int LoadedGraceMs = 3000;

const QString kEtProKey = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\ET Pro");

QString LargestTestMap()
{
    const QFileInfoList files =
        QDir(QStringLiteral(RUV_TEST_MAPS)).entryInfoList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Size);
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

// The line a child prints when it is done, then leaves at once: what comes
// after the first paint is not the start-up's.
[[noreturn]] void Report(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    std::_Exit(0);
}

// ---- The project --------------------------------------------------------------------------------

// ET Pro (the default game, so that opening switches nothing), the 3D view
// active, the map by its name in the game's map folder, and 20 curves of
// 250 controls around the map's middle.
bool WriteProject(const QString& path, const QString& mapName)
{
    C3DProject project;
    project.SetGameType(0);
    project.SetActiveView(3);
    constexpr int32_t kinds[4][4] = {{CView::ViewXY, 0, 1, 2},
                                     {CView::ViewXZ, 0, 2, 1},
                                     {CView::ViewYZ, 1, 2, 0},
                                     {CView::View3D, 0, 1, 2}};
    std::array<CView, 4> views;
    for (size_t i = 0; i < views.size(); ++i)
        views[i].Initialize(kinds[i][0], kinds[i][1], kinds[i][2], kinds[i][3], 20, 10, 100000, false, false, false);
    project.SetViewData1(views[0].Serialize());
    project.SetViewData2(views[1].Serialize());
    project.SetViewData3(views[2].Serialize());
    project.SetViewData4(views[3].Serialize());
    C3DCamera camera;
    camera.SetPosition({0, -1200, 200});
    camera.SetYaw(90);
    project.SetCameraString(camera.Serialize());
    project.SetMapFileName(mapName);
    project.SetSelectedFramerate(30);

    C3DCurveController controller;
    controller.SetGameType(0);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(-1500.0f, 1500.0f);
    std::uniform_real_distribution<float> height(-300.0f, 300.0f);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    for (int c = 0; c < Curves; ++c) {
        C3DCurve& curve = controller.Add(QStringLiteral("Path %1").arg(c + 1));
        curve.BeginControlsCountChange();
        for (int i = 0; i < Controls; ++i)
            curve.AddControl3(across(random), across(random), height(random), angle(random) / 4, angle(random), 0,
                              false);
        curve.EndControlsCountChange();
    }
    CProjectIOHandler handler;
    if (!handler.Save(path, project, controller)) {
        std::fprintf(stderr, "the project cannot be written: %s\n", qPrintable(handler.LastError()));
        return false;
    }
    return true;
}

// ---- The program's child ------------------------------------------------------------------------

// The program's application, which looks at each paint of the view's GL
// window once the window has handled it.
class WatchedApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool result = QApplication::notify(receiver, event);
        if ((type == QEvent::Expose || type == QEvent::UpdateRequest) && receiver->isWindowType()) {
            auto* window = static_cast<QWindow*>(receiver);
            if (window->surfaceType() == QSurface::OpenGLSurface && window->isExposed())
                Painted();
        }
        return result;
    }

private:
    static FrmMain* MainWindow()
    {
        for (QWidget* w : topLevelWidgets())
            if (auto* main = dynamic_cast<FrmMain*>(w))
                return main;
        return nullptr;
    }

    // What of the project the window holds.
    static QString Holds(FrmMain& window, bool& complete)
    {
        const C3DCurveController* controller = window.State().m_curveController.get();
        const int curves = controller ? controller->CurveCount() : 0;
        int controls = 0;
        for (int i = 0; i < curves; ++i)
            controls += controller->Curves(i).ControlsCount();
        const bool map = window.Parts().mapBinding->fIsMapLoaded();
        complete = curves == Curves && controls == Curves * Controls && map;
        return QStringLiteral("curves %1, controls %2, map %3").arg(curves).arg(controls).arg(map ? "yes" : "no");
    }

    void Painted()
    {
        FrmMain* window = MainWindow();
        if (!window || !window->Parts().mapBinding)
            return;
        bool complete = false;
        const QString holds = Holds(*window, complete);
        if (complete)
            Report(QStringLiteral("ready ") + holds);
        if (!m_grace) {
            // A paint without the project: the project may still come.
            m_grace.emplace();
            m_grace->setSingleShot(true);
            QObject::connect(&*m_grace, &QTimer::timeout, [this] {
                bool done = false;
                FrmMain* w = MainWindow();
                Report(QStringLiteral("incomplete ") + (w ? Holds(*w, done) : QStringLiteral("no window")));
            });
            m_grace->start(LoadedGraceMs);
        }
    }

    std::optional<QTimer> m_grace;
};

// main.cpp's start, the project on the command line.
int ProgramChild(int argc, char** argv, const QString& project)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (!X11Windows::Available())
        Report(QStringLiteral("failed no X display"));
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    WatchedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ruvadir"));
    QApplication::setOrganizationName(QStringLiteral("Viziviz"));
    MArrayConvert::SetCommandLineText(MArrayConvert::JoinArguments({project}));
    MainServices services = MakeRealServices();
    ProgramStart::RegisterLibrariesAndReport(QFileInfo(QStringLiteral(RUV_DORADO_PATH)).absolutePath(),
                                             *services.dialogs);
    std::unique_ptr<FrmMain> window;
    if (ProgramStart::StartMainWindow(std::move(services), window) != 0)
        Report(QStringLiteral("failed the window did not start"));
    return app.exec();
}

// ---- The floor's child --------------------------------------------------------------------------

int FloorChild(int argc, char** argv, const QString& project, const QString& map)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.setFormat(UCOpenGLView::SurfaceFormat());
    window.resize(660, 510);
    window.show();
    QOpenGLContext context;
    context.setFormat(window.requestedFormat());
    if (!context.create() || !context.makeCurrent(&window))
        Report(QStringLiteral("failed no OpenGL context"));

    QElapsedTimer timer;
    timer.start();
    Com::ComPtr<Dorado::IBSP> bsp;
    if (Com::Failed(Com::CreateInstance(Dorado::CLSID_BSP, bsp)) || !bsp || !bsp->Load(map, 4))
        Report(QStringLiteral("failed the map cannot be loaded"));
    const double mapMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    timer.start();
    CProjectIOHandler handler;
    C3DProject record;
    C3DCurveController curves;
    bool invariantNumbers = false;
    if (!handler.Load(project, record, curves, invariantNumbers) || curves.CurveCount() != Curves)
        Report(QStringLiteral("failed the project cannot be read: ") + handler.LastError());
    const double projectMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    // The first paint: the map from the project's camera.
    auto paint = [&] {
        if (!window.isExposed())
            return;
        context.makeCurrent(&window);
        C3DCamera camera;
        camera.Deserialize(record.CameraString());
        const auto eye = camera.Position();
        glViewport(0, 0, window.width(), window.height());
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const double top = UCOpenGLView::ZNearValue * std::tan(camera.Fov() * std::numbers::pi / 360.0);
        const double aspect = static_cast<double>(window.width()) / std::max(1, window.height());
        glFrustum(-top * aspect, top * aspect, -top, top, UCOpenGLView::ZNearValue, camera.ZFar());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(-90, 1, 0, 0);
        glRotatef(90, 0, 0, 1);
        glRotatef(-camera.Yaw(), 0, 0, 1);
        glTranslatef(-eye[0], -eye[1], -eye[2]);
        bsp->FrustumUpdate();
        bsp->CalculateVisibleFaces(eye[0], eye[1], eye[2]);
        bsp->Draw();
        glFlush();
        context.swapBuffers(&window);
        Report(QStringLiteral("ready map %1 ms, project %2 ms").arg(mapMs, 0, 'f', 2).arg(projectMs, 0, 'f', 2));
    };
    paint();
    // Not exposed yet: the first expose paints.
    class ExposeWatch final : public QObject
    {
    public:
        explicit ExposeWatch(std::function<void()> paint) : m_paint(std::move(paint)) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Expose)
                QTimer::singleShot(0, this, [this] { m_paint(); });
            return false;
        }

    private:
        std::function<void()> m_paint;
    } watch(paint);
    window.installEventFilter(&watch);
    return app.exec();
}

// ---- The parent ---------------------------------------------------------------------------------

struct Run
{
    bool ok = false;
    double ms = 0;
    QString line;
};

// Launches a child and times it from the launch to its report.
Run Launch(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    Run run;
    // The report is the first line that begins with one of its words.
    const auto isReport = [](const QString& line) {
        return line.startsWith(QLatin1String("ready ")) || line.startsWith(QLatin1String("failed "))
               || line.startsWith(QLatin1String("incomplete "));
    };
    while (timer.elapsed() < ChildTimeoutMs) {
        while (child.canReadLine() && !isReport(run.line))
            run.line = QString::fromUtf8(child.readLine()).trimmed();
        if (isReport(run.line) || child.state() == QProcess::NotRunning)
            break;
        child.waitForReadyRead(static_cast<int>(ChildTimeoutMs - timer.elapsed()));
    }
    run.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!isReport(run.line))
        run.line.clear();
    run.ok = run.line.startsWith(QLatin1String("ready"));
    if (run.line.isEmpty())
        run.line = child.state() == QProcess::NotRunning ? QStringLiteral("ended without a report")
                                                         : QStringLiteral("timed out");
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(5000);
    }
    return run;
}

// "ready map 12.34 ms, project 5.67 ms": the two figures.
bool FloorLoads(const QString& line, double& mapMs, double& projectMs)
{
    const QStringList words = line.split(QLatin1Char(' '));
    if (words.size() < 7)
        return false;
    bool a = false;
    bool b = false;
    mapMs = words[2].toDouble(&a);
    projectMs = words[5].toDouble(&b);
    return a && b;
}

int Parent(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString map = app.arguments().size() > 1 ? QFileInfo(app.arguments()[1]).absoluteFilePath()
                                                   : LargestTestMap();
    if (map.isEmpty()) {
        std::printf("no maps in %s (run the dorado tests once to unpack them)\n", RUV_TEST_MAPS);
        return 0;
    }
    // One store for every child: the libraries registered and the map
    // folder set once, as after the program's first start.
    QTemporaryDir work;
    const QString store = work.filePath(QStringLiteral("store"));
    QDir().mkpath(store);
    qputenv("RUVADIR_REGISTRY", store.toLocal8Bit());
    if (Com::Failed(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)))
        || Com::Failed(Com::RegisterServerFile(QStringLiteral(RUV_DORADO_PATH)))) {
        std::fprintf(stderr, "the component libraries cannot be registered\n");
        return 1;
    }
    const QFileInfo mapFile(map);
    MRegistry::RegWrite(kEtProKey, QStringLiteral("MapDir"), MRegistry::RegSz, TaggedValue(mapFile.absolutePath()));
    const QString project = work.filePath(QStringLiteral("startup.vava"));
    if (!WriteProject(project, mapFile.fileName()))
        return 1;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RUVADIR_REGISTRY"), store);
    const QStringList programArgs{QStringLiteral("--program"), project};
    const QStringList floorArgs{QStringLiteral("--floor"), project, map};

    std::printf("start-up: %d curves of %d controls, map %s (%lld bytes), project of %lld bytes\n", Curves, Controls,
                qPrintable(mapFile.fileName()), static_cast<long long>(mapFile.size()),
                static_cast<long long>(QFileInfo(project).size()));
    // The warm-up: the files in the cache, the libraries loaded once.
    const Run warmProgram = Launch(programArgs, environment);
    const Run warmFloor = Launch(floorArgs, environment);
    if (!warmFloor.ok) {
        std::printf("the floor child failed: %s\n", qPrintable(warmFloor.line));
        return 1;
    }
    std::vector<double> program;
    std::vector<double> floor;
    std::vector<double> mapLoads;
    std::vector<double> projectLoads;
    QString programFailure = warmProgram.ok ? QString() : warmProgram.line;
    for (int run = 0; run < Runs; ++run) {
        const Run p = Launch(programArgs, environment);
        if (p.ok)
            program.push_back(p.ms);
        else
            programFailure = p.line;
        const Run f = Launch(floorArgs, environment);
        double mapMs = 0;
        double projectMs = 0;
        if (!f.ok || !FloorLoads(f.line, mapMs, projectMs)) {
            std::printf("the floor child failed: %s\n", qPrintable(f.line));
            return 1;
        }
        floor.push_back(f.ms);
        mapLoads.push_back(mapMs);
        projectLoads.push_back(projectMs);
    }
    const double floorMs = bench::Median(floor);
    std::printf("floor (one GL window, the map through Dorado, the project read), median of %d: %.1f ms\n", Runs,
                floorMs);
    std::printf("  the map's load alone %.1f ms, the project's load alone %.1f ms\n", bench::Median(mapLoads),
                bench::Median(projectLoads));
    if (program.size() != static_cast<size_t>(Runs)) {
        std::printf("program: the first paint came without the project (%s)\n", qPrintable(programFailure));
        std::printf("ratio n/a (target 1.5 or less)\n");
        return 1;
    }
    const double programMs = bench::Median(program);
    std::printf("program (start-up to the first paint with the curves and the map), median of %d: %.1f ms\n", Runs,
                programMs);
    std::printf("ratio %.2f (target 1.5 or less)\n", programMs / floorMs);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string_view(argv[1]) == "--program")
        return ProgramChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc >= 4 && std::string_view(argv[1]) == "--floor")
        return FloorChild(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    return Parent(argc, argv);
}
