// Frame time with culling (cluster visibility and frustum) against drawing
// every face, on a fixed camera path through the five largest test maps.
// Needs a display (run it under xvfb-run).
//
//   bench_map_cull [MAP_FOLDER]
#include "CBSP.h"

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

bool SpawnPoint(const QString& entities, float origin[3])
{
    const qsizetype at = entities.indexOf(QLatin1String("info_player_deathmatch"));
    if (at < 0)
        return false;
    const qsizetype o = entities.indexOf(QLatin1String("\"origin\""), at);
    const qsizetype q1 = entities.indexOf(QLatin1Char('"'), o + 8);
    const qsizetype q2 = entities.indexOf(QLatin1Char('"'), q1 + 1);
    const QStringList parts = entities.mid(q1 + 1, q2 - q1 - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (o < 0 || parts.size() != 3)
        return false;
    for (int i = 0; i < 3; ++i)
        origin[i] = parts[i].toFloat();
    return true;
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
    std::printf("%-20s %8s %12s %12s %12s\n", "map", "faces", "drawn/frame", "culled ms", "all ms");
    for (const QFileInfo& fi : files) {
        auto bsp = Com::ComPtr<Dorado::IBSP>::Attach(new Dorado::CBSP(nullptr));
        if (!bsp->Load(fi.filePath(), 4)) {
            std::printf("%s refused\n", qPrintable(fi.fileName()));
            continue;
        }
        float spawn[3];
        if (!SpawnPoint(bsp->EntityString(), spawn))
            continue;
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
        std::printf("%-20s %8d %12.0f %10.2fms %10.2fms\n", qPrintable(fi.fileName()), bsp->NumTotalFaces(),
                    double(culledFaces) / Frames, culled, all);
    }
    std::printf("average frame: culled %.2f ms, every face %.2f ms, ratio %.2f (target: 0.5 or less)\n",
                sumCulled / files.size(), sumAll / files.size(), sumAll > 0 ? sumCulled / sumAll : 0.0);
    return 0;
}
