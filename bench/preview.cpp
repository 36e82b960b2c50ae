// The preview's playback step on a map: the real window plays a curve of
// 250 points laid through the map at a new project's step rate. Each step
// of the playback (the sample to the camera, the projection, the redraw
// and the loop's bookkeeping) is timed, and after it a redraw of the same
// scene with the camera standing, in turn, so that both see the same
// places of the map. The clock the playback reads moves on by one frame
// interval a step, so that every step shows the next sample.
// Needs a display (run it under xvfb-run).
//
//   bench_preview [MAP.bsp]     (the largest test map by default)
#include "C3DCurveController.h"
#include "ComClient.h"
#include "FrmMain.h"
#include "MArrayConvert.h"
#include "MainServicesReal.h"
#include "PreviewPlayback.h"
#include "ProgramStart.h"
#include "UCOpenGLView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int Points = 250;
constexpr int Steps = 300;

// The playback's clock, moved by the benchmark.
class StepClock final : public IClock
{
public:
    int64_t now = 1000;
    int64_t ElapsedMs() const override { return now; }
    uint32_t GetTickMs() const override { return static_cast<uint32_t>(now); }
};

double Mean(const std::vector<double>& values)
{
    double sum = 0.0;
    for (double v : values)
        sum += v;
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

// A loop of points through the middle of the map's box, a second apart,
// looking ahead along the loop.
void LayCurve(C3DCurve& curve, const IMapObject::Bounds& box)
{
    const float cx = (box[0][0] + box[0][1]) / 2;
    const float cy = (box[1][0] + box[1][1]) / 2;
    const float cz = box[2][0] + (box[2][1] - box[2][0]) / 3;
    const float rx = (box[0][1] - box[0][0]) / 3;
    const float ry = (box[1][1] - box[1][0]) / 3;
    curve.BeginControlsCountChange();
    for (int i = 0; i < Points; ++i) {
        const double a = 2 * std::numbers::pi * i / Points * 3;
        const float yaw = static_cast<float>(std::fmod(a * 180 / std::numbers::pi + 90, 360));
        curve.AddControl3(cx + rx * static_cast<float>(std::cos(a)), cy + ry * static_cast<float>(std::sin(a)), cz,
                          0.0f, yaw, 0.0f, true);
    }
    curve.EndControlsCountChange();
}

QString LargestTestMap()
{
    const QFileInfoList files =
        QDir(QStringLiteral(RUV_TEST_MAPS)).entryInfoList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Size);
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    const QString map = app.arguments().size() > 1 ? app.arguments()[1] : LargestTestMap();
    if (map.isEmpty()) {
        std::printf("no maps in %s (run the dorado tests once to unpack them)\n", RUV_TEST_MAPS);
        return 0;
    }

    // A settings store of its own, the component libraries in it.
    QTemporaryDir store;
    qputenv("RUVADIR_REGISTRY", store.path().toLocal8Bit());
    Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH));
    Com::RegisterServerFile(QStringLiteral(RUV_DORADO_PATH));
    MArrayConvert::SetCommandLineText(QString());
    auto clock = std::make_shared<StepClock>();
    MainServices services = MakeRealServices();
    services.clock = clock;
    std::unique_ptr<FrmMain> window;
    if (ProgramStart::StartMainWindow(std::move(services), window) != 0)
        return 1;
    window->Controls().m_aboutForm->hide();
    if (!QTest::qWaitForWindowExposed(window.get())
        || !QTest::qWaitForWindowExposed(window->Widgets().oglView->GLWindow()))
        return 1;
    MainState& state = window->State();
    MainParts& parts = window->Parts();
    parts.viewInput->fSelectView(3);
    const QFileInfo file(map);
    state.m_activeGame->SetMapDir(file.absolutePath());
    IMapObject::Bounds box{};
    if (!parts.mapBinding->fLoadMap(file.fileName()) || !state.m_map || !state.m_map->GetBounds(box)) {
        std::fprintf(stderr, "%s: the map cannot be loaded\n", qPrintable(map));
        return 1;
    }

    // A new project's step rate.
    const int32_t chosen = window->Controls().mFramerateHandler->SelectedValue();
    const int32_t rate = chosen > 0 ? chosen : 30;
    state.m_curveController->SetFramerate(rate);
    C3DCurve& curve = *state.m_mainCurve;
    LayCurve(curve, box);
    curve.SetStepRate(rate);
    parts.pointGrid->fGridReloadCurve();
    auto& preview = static_cast<PreviewPlayback&>(*parts.preview);
    preview.fSetPreviewLock(true);
    if (!preview.fIsPreviewLocked()) {
        std::fprintf(stderr, "the preview cannot be locked\n");
        return 1;
    }
    const double interval = PreviewPlayback::FrameInterval(curve.StepRate());
    const int64_t start = clock->now;
    preview.fSetPlaybackRunning(true);

    IViewControl& control = window->ViewControl();
    std::vector<double> steps;
    std::vector<double> standing;
    int skipped = 0;
    QElapsedTimer timer;
    // A few of each first, so that both are warm.
    for (int k = 1; k <= Steps + 5 && preview.fIsPlaybackRunning(); ++k) {
        const int32_t before = preview.fGetPreviewSample();
        // The start showed sample 1 (frame 1); step k shows frame k + 1.
        clock->now = start + std::llround((k + 1) * interval);
        timer.start();
        preview.PlaybackTick();
        const double step = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.start();
        control.Refresh();
        const double frame = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (k > 5) {
            if (preview.fGetPreviewSample() != before + 1)
                ++skipped;
            steps.push_back(step);
            standing.push_back(frame);
        }
        QCoreApplication::processEvents();
    }
    preview.fReleasePreviewLock();

    const double a = Mean(steps);
    const double b = Mean(standing);
    std::printf("map %s, 3D view %d x %d pixels\n", qPrintable(file.fileName()), control.GLViewRealWidth(),
                control.GLViewRealHeight());
    std::printf("%d points at %d a second: %d samples; %zu steps timed, %d not on the next sample\n", Points,
                curve.StepRate(), preview.LastSampleIndex() + 1, steps.size(), skipped);
    std::printf("mean preview step %.2f ms, mean 3D frame with the camera standing %.2f ms, ratio %.2f (target 1.2)\n",
                a, b, b > 0 ? a / b : 0.0);
    return 0;
}
