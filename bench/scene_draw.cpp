// Frame time of the main window's scene with 20 curves of 250 control
// points against the same scene without points, frames of the two taken in
// turn, in the 3D view or the top view, with a map when one is given.
// Needs a display (run it under xvfb-run).
//
//   bench_scene_draw --view 3d|top [MAP.bsp]
#include "BenchMedian.h"
#include "C3DCurveController.h"
#include "ComClient.h"
#include "FrmMain.h"
#include "MArrayConvert.h"
#include "MainServicesReal.h"
#include "ProgramStart.h"
#include "UCOpenGLView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int CurveCount = 20;
constexpr int PointsPerCurve = 250;
constexpr int FramesEach = 60;

using bench::Median;

// 20 curves of 250 points ahead of the 3D camera (which looks along +y)
// and inside the top view's frame.
void FillCurves(C3DCurveController& controller)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> across(-1500.0f, 1500.0f);
    std::uniform_real_distribution<float> ahead(400.0f, 3000.0f);
    std::uniform_real_distribution<float> height(-300.0f, 300.0f);
    while (controller.CurveCount() < CurveCount)
        controller.Add(QStringLiteral("Path"));
    for (int c = 0; c < CurveCount; ++c) {
        C3DCurve& curve = controller.Curves(c);
        curve.BeginControlsCountChange();
        for (int i = 0; i < PointsPerCurve; ++i)
            curve.AddControl3(across(random), ahead(random), height(random), 0, 0, 0, false);
        curve.EndControlsCountChange();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QString view = QStringLiteral("3d");
    QString map;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--view") && i + 1 < args.size())
            view = args[++i].toLower();
        else
            map = args[i];
    }
    if (view != QLatin1String("3d") && view != QLatin1String("top")) {
        std::fprintf(stderr, "usage: bench_scene_draw --view 3d|top [MAP.bsp]\n");
        return 2;
    }

    // A settings store of its own, the component libraries in it.
    QTemporaryDir store;
    qputenv("RUVADIR_REGISTRY", store.path().toLocal8Bit());
    Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH));
    Com::RegisterServerFile(QStringLiteral(RUV_DORADO_PATH));
    MArrayConvert::SetCommandLineText(QString());
    std::unique_ptr<FrmMain> window;
    if (ProgramStart::StartMainWindow(MakeRealServices(), window) != 0)
        return 1;
    window->Controls().m_aboutForm->hide();
    if (!QTest::qWaitForWindowExposed(window.get()) || !QTest::qWaitForWindowExposed(window->Widgets().oglView->GLWindow()))
        return 1;
    MainState& state = window->State();
    MainParts& parts = window->Parts();
    parts.viewInput->fSelectView(view == QLatin1String("3d") ? 3 : 0);
    if (!map.isEmpty()) {
        const QFileInfo file(map);
        state.m_activeGame->SetMapDir(file.absolutePath());
        if (!parts.mapBinding->fLoadMap(file.fileName())) {
            std::fprintf(stderr, "%s: the map cannot be loaded\n", qPrintable(map));
            return 1;
        }
    }

    // The scene with points is swapped in for its frames; the window keeps
    // its own controller (one curve, no points) for the others.
    auto full = std::make_unique<C3DCurveController>();
    FillCurves(*full);
    const int32_t rate = window->Controls().mFramerateHandler->SelectedValue();
    full->SetFramerate(rate > 0 ? rate : 30);
    auto swapPoints = [&state, &full] {
        std::swap(state.m_curveController, full);
        state.m_mainCurve = &state.m_curveController->Curves(0);
    };
    if (view == QLatin1String("top")) {
        swapPoints();
        parts.viewZoom->fZoomToFit(false);
        swapPoints();
    }

    IViewControl& control = window->ViewControl();
    std::vector<double> withPoints;
    std::vector<double> without;
    QElapsedTimer timer;
    // A few frames first, so that both scenes are warm.
    for (int frame = -4; frame < 2 * FramesEach; ++frame) {
        const bool points = frame % 2 == 0;
        if (points)
            swapPoints();
        timer.start();
        control.Refresh();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (points)
            swapPoints();
        if (frame >= 0)
            (points ? withPoints : without).push_back(ms);
        QCoreApplication::processEvents();
    }
    const double a = Median(withPoints);
    const double b = Median(without);
    std::printf("view %s, %d x %d pixels%s\n", qPrintable(view), control.GLViewRealWidth(), control.GLViewRealHeight(),
                map.isEmpty() ? "" : qPrintable(QStringLiteral(", map ") + QFileInfo(map).fileName()));
    int32_t samples = 0;
    for (int c = 0; c < CurveCount; ++c)
        samples += full->Curves(c).StepCount();
    std::printf("frame rate %d, %d samples in all\n", full->Curves(0).StepRate(), samples);
    std::printf("median frame: %d curves of %d points %.2f ms, without points %.2f ms, ratio %.2f\n", CurveCount,
                PointsPerCurve, a, b, a / b);
    return 0;
}
