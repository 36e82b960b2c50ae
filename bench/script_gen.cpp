// Prints how long the camera script generator takes for a long path
// (sampling excluded) beside the time to write the same bytes to the same
// folder, and the ratio of the two. The generator writes every file into a
// temporary beside it and renames the whole set into place; the plain write
// rewrites the files where they stand.
#include "C3DCameraScriptOption.h"
#include "LongCurve.h"
#include "CGameDefinition.h"
#include "ControlRecord.h"
#include "MRuvScriptGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

struct SilentUi : IScriptGeneratorUi
{
    int32_t ShowScriptFileError(const QString&, const QString&, int32_t) override { return 2; }
    void ShowInputError(const QString&, const QString& m) override
    {
        std::fprintf(stderr, "refused: %s\n", qPrintable(m));
    }
};

} // namespace

int main()
{
    CGameDefinition game;
    game.Initialize(0, "ET Pro", "v3.2.0", "etpro", "etmain", false, "Enemy Territory", "Enemy Territory",
                    "Et.exe", "", "", "freecamsetpos ", ";", "", "", "HKLM\\Software\\Viziviz\\Ruvadir\\Games settings",
                    "epcp", 0, "dm_??");

    C3DCurve curve = bench::MakeLongCurve(0);
    std::printf("path: %d controls, step rate %d, %d steps\n", curve.ControlsCount(), curve.StepRate(),
                curve.StepCount());

    QTemporaryDir dir;
    C3DCameraScriptOption options;
    options.Initialize(&game, &curve, "cam", dir.path(), "", ".cfg", false, 0, true, true, true, false, 0, 0,
                       true, 125, false, true, "", "", false, 0, 0, 0, false, 1, "");
    SilentUi ui;

    QElapsedTimer t;
    t.start();
    std::vector<ControlRecord> samples;
    const int32_t points = curve.GetSampledControls(samples, false) + 1;
    const double samplingMs = double(t.nsecsElapsed()) / 1e6;

    // The first run creates the files; the second, timed, rewrites them as a
    // user regenerating a script does, and as the plain write below does.
    int32_t elapsed = 0;
    if (!MRuvScriptGenerator::WriteCameraScripts(ui, "Ruvadir", "error", "Script", options, samples, points, elapsed))
        return 1;
    t.restart();
    if (!MRuvScriptGenerator::WriteCameraScripts(ui, "Ruvadir", "error", "Script", options, samples, points, elapsed))
        return 1;
    const double generateMs = double(t.nsecsElapsed()) / 1e6;
    std::printf("of which text building: %d ms\n", elapsed);

    // The same bytes, written again to the same folder.
    QDir d(dir.path());
    std::vector<std::pair<QString, QByteArray>> files;
    qint64 bytes = 0;
    for (const QString& name : d.entryList(QDir::Files)) {
        QFile f(d.filePath(name));
        f.open(QIODevice::ReadOnly);
        files.emplace_back(d.filePath(name), f.readAll());
        bytes += files.back().second.size();
    }
    t.restart();
    for (const auto& [path, data] : files) {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(data);
    }
    const double writeMs = double(t.nsecsElapsed()) / 1e6;

    std::printf("points: %d, files: %zu, bytes: %lld\n", points, files.size(), static_cast<long long>(bytes));
    std::printf("sampling: %.1f ms\n", samplingMs);
    std::printf("generation without sampling: %.1f ms\n", generateMs);
    std::printf("writing the same bytes: %.1f ms\n", writeMs);
    std::printf("ratio: %.2f (target 2 or less)\n", writeMs > 0 ? generateMs / writeMs : 0.0);
    return 0;
}
