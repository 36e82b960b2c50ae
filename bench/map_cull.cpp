// Frame time with culling (cluster visibility and frustum) against drawing
// every face, on a fixed camera path through the five largest test maps,
// each flown from its first spawn point (or the centre of its bounds).
// Needs a display (run it under xvfb-run).
//
//   bench_map_cull [MAP_FOLDER]
#include "CBSP.h"
// The spawn point finder the map tests use.
#include "../tests/dorado/RealMaps.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWindow>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Where the flight turns: the map's first spawn point of any kind, or the
// centre of its bounds when it has none.
void Eye(Dorado::IBSP& bsp, float eye[3], const char*& from)
{
    from = "spawn";
    if (DoradoTest::FirstSpawnPoint(bsp.EntityString(), eye))
        return;
    from = "centre";
    Dorado::MapBounds b{};
    bsp.GetBounds(b);
    for (size_t a = 0; a < 3; ++a)
        eye[a] = 0.5f * (b[a][0] + b[a][1]);
}

void Camera(const float eye[3], float yaw)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90, 640.0 / 480.0, 4, 50000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90, 1, 0, 0);
    glRotatef(90, 0, 0, 1);
    glRotatef(-yaw, 0, 0, 1);
    glTranslatef(-eye[0], -eye[1], -eye[2]);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = app.arguments().size() > 1 ? app.arguments()[1] : QStringLiteral(RUV_TEST_MAPS);
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Size);
    if (files.isEmpty()) {
        std::printf("no maps in %s (run the dorado tests once to unpack them)\n", qPrintable(folder));
        return 0;
    }
    files = files.mid(0, 5);

    QSurfaceFormat fmt;
    fmt.setVersion(2, 1);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.setFormat(fmt);
    window.resize(640, 480);
    window.show();
    QOpenGLContext ctx;
    ctx.setFormat(fmt);
    if (!ctx.create() || !ctx.makeCurrent(&window)) {
        std::printf("no OpenGL context\n");
        return 1;
    }
    glViewport(0, 0, 640, 480);
    glEnable(GL_DEPTH_TEST);

    constexpr int Frames = 72;
    double sumCulled = 0, sumAll = 0;
    int flown = 0;
    std::printf("%-20s %-7s %8s %12s %12s %12s\n", "map", "from", "faces", "drawn/frame", "culled ms", "all ms");
    for (const QFileInfo& fi : files) {
        auto bsp = Com::ComPtr<Dorado::IBSP>::Attach(new Dorado::CBSP(nullptr));
        if (!bsp->Load(fi.filePath(), 4)) {
            std::printf("%s refused\n", qPrintable(fi.fileName()));
            continue;
        }
        float spawn[3];
        const char* from = nullptr;
        Eye(*bsp, spawn, from);
        // A slow turn on the spot with a little rise: the same path for
        // both ways of drawing.
        auto run = [&](bool cull, long& drawnTotal) {
            const auto t0 = Clock::now();
            for (int f = 0; f < Frames; ++f) {
                const float eye[3] = {spawn[0], spawn[1], spawn[2] + 40.0f + float(f)};
                const float yaw = 5.0f * float(f);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                if (cull) {
                    Camera(eye, yaw);
                    bsp->FrustumUpdate();
                } else {
                    // Zero matrices give a frustum that holds everything.
                    glMatrixMode(GL_PROJECTION);
                    glLoadMatrixf(std::array<float, 16>{}.data());
                    glMatrixMode(GL_MODELVIEW);
                    glLoadMatrixf(std::array<float, 16>{}.data());
                    bsp->FrustumUpdate();
                    Camera(eye, yaw);
                }
                bsp->SetClusterVisibilityCheckEnabled(cull);
                bsp->CalculateVisibleFaces(eye[0], eye[1], eye[2]);
                drawnTotal += bsp->Draw();
                glFinish();
                ctx.swapBuffers(&window);
            }
            return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / Frames;
        };
        long culledFaces = 0, allFaces = 0;
        run(true, culledFaces);  // warm-up
        culledFaces = 0;
        const double culled = run(true, culledFaces);
        const double all = run(false, allFaces);
        sumCulled += culled;
        sumAll += all;
        ++flown;
        std::printf("%-20s %-7s %8d %12.0f %10.2fms %10.2fms\n", qPrintable(fi.fileName()), from,
                    bsp->NumTotalFaces(), double(culledFaces) / Frames, culled, all);
    }
    if (flown == 0) {
        std::printf("no map could be flown\n");
        return 1;
    }
    std::printf("average frame over %d maps: culled %.2f ms, every face %.2f ms, ratio %.2f (target: 0.5 or less)\n",
                flown, sumCulled / flown, sumAll / flown, sumAll > 0 ? sumCulled / sumAll : 0.0);
    return 0;
}
