// Saves and loads a project of 20 curves of 250 controls (every property
// set) with CProjectIOHandler, and beside it lets pugixml parse and write
// the very same file on its own, in the same run: the ratios show what the
// project layer adds to the XML library. Everything runs on the calling
// thread. Target: each ratio 3 or less.
#include "C3DCurveController.h"
#include "C3DProject.h"
#include "CProjectIOHandler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 9;

template <class F>
double MedianMilliseconds(F&& work)
{
    return bench::MedianMilliseconds(Runs, work);
}

void FillProject(C3DProject& p)
{
    p.SetGameType(2);
    p.SetActiveView(3);
    p.SetViewData1(QStringLiteral("v1;1;0;1;2;1;10;100000;0;0;0;0;0"));
    p.SetViewData2(QStringLiteral("v1;2;0;2;3;1.5;-20;3.25;1;0;0;1;0"));
    p.SetViewData3(QStringLiteral("v1;4;1;2;3;0.125;7;8;0;1;1;0;1"));
    p.SetViewData4(QStringLiteral("v1;8;0;1;2;1;10;100000;0;0;1;0;0"));
    p.SetCameraString(QStringLiteral("12.5;-300.25;64;90;-45.5;3;100;25000"));
    p.SetSelectedDemoPath(QStringLiteral("demos/final.dm_84"));
    p.SetMapFileName(QStringLiteral("maps/q3dm17.bsp"));
    p.SetSelectedFramerate(125);
    for (int i = 0; i < 10; ++i)
        p.ViewPresetStrings().append(QStringLiteral("preset %1;1;2;3;4;5;6;90;50000").arg(i));
    p.SetComment(QStringLiteral("A project for the benchmark.\r\nSecond line."));
}

void FillCurves(C3DCurveController& c)
{
    c.SetGameType(2);
    for (int32_t k = 0; k < C3DCurveController::MAX_CURVE; ++k) {
        C3DCurve& curve = c.Add(QStringLiteral("Path %1").arg(k));
        curve.SetStartTime(1234.5678901234 + k);
        for (int32_t i = 1; i <= C3DCurve::MAX_CONTROL; ++i)
            curve.AddControlRecord(NewControlRecord());
        for (int32_t i = 1; i <= C3DCurve::MAX_CONTROL; ++i) {
            const float f = static_cast<float>(i) + static_cast<float>(k) / 7.0f;
            const float values[25] = {f * 3.1f, -f * 1.7f, 0.1f * f, -33.3f + f / 100.0f,
                                      179.5f - f / 13.0f, 1.0f / 3.0f + f, 75.5f, 0.337f, 1.0f,
                                      2.5f, 3.0f, f / 3.0f, -f / 5.0f, f / 7.0f, 3.0f, 0.0f,
                                      f / 9.0f, -f / 11.0f, f / 13.0f, 5.0f,
                                      10.0f + 0.04f * static_cast<float>(i), 1000.125f + f,
                                      -f * 2.2f, f * 0.3f, 0.0f};
            for (int32_t id = 1; id <= 24; ++id)
                if (id != 16)
                    curve.SetValue(i, id, TaggedValue(values[id - 1]));
            curve.SetValue(i, 25, TaggedValue(QStringLiteral("echo %1").arg(i)));
        }
    }
}

struct Writer : pugi::xml_writer
{
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.vava"));
    const QString pugiPath = dir.filePath(QStringLiteral("pugi.vava"));
    C3DProject project;
    FillProject(project);
    C3DCurveController curves;
    FillCurves(curves);
    CProjectIOHandler handler;

    bool ok = true;
    const double saveMs = MedianMilliseconds([&] { ok = handler.Save(path, project, curves) && ok; });
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();

    C3DProject loaded;
    C3DCurveController loadedCurves;
    bool invariant = false;
    const double loadMs = MedianMilliseconds(
        [&] { ok = handler.Load(path, loaded, loadedCurves, invariant) && ok; });
    ok = ok && loadedCurves.CurveCount() == curves.CurveCount();

    // pugixml on its own: the same file read and parsed, and the same
    // document written to a file (and, for reference, from and to memory).
    pugi::xml_document doc;
    const double pugiLoadMs = MedianMilliseconds([&] {
        ok = doc.load_file(path.toUtf8().constData(),
                           pugi::parse_default & ~pugi::parse_eol) && ok;
    });
    const double pugiSaveMs = MedianMilliseconds(
        [&] { ok = doc.save_file(pugiPath.toUtf8().constData(), "\t", pugi::format_indent) && ok; });
    const double pugiParseMemMs = MedianMilliseconds([&] {
        ok = doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                             pugi::parse_default & ~pugi::parse_eol) && ok;
    });
    const double pugiWriteMemMs = MedianMilliseconds([&] {
        Writer w;
        doc.save(w, "\t", pugi::format_indent);
        ok = w.bytes.size() > 0 && ok;
    });

    // Where the time goes: the curves' own part of each, the reading from
    // the parsed file.
    pugi::xml_document curvesDoc;
    const double serializeMs = MedianMilliseconds([&] {
        curvesDoc.reset();
        pugi::xml_node root = curvesDoc.append_child("Project");
        curves.Serialize(curvesDoc, root);
    });
    ok = doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                         pugi::parse_default & ~pugi::parse_eol) && ok;
    C3DCurveController readCurves;
    readCurves.SetGameType(curves.GameType());
    const double deserializeMs = MedianMilliseconds(
        [&] { ok = readCurves.Deserialize(doc.document_element()) && ok; });

    std::printf("project_io: %d curves x %d controls, file of %lld bytes (median of %d runs)\n",
                static_cast<int>(curves.CurveCount()), static_cast<int>(C3DCurve::MAX_CONTROL),
                static_cast<long long>(bytes.size()), Runs);
    std::printf("  CProjectIOHandler::Save      %8.2f ms\n", saveMs);
    std::printf("  pugixml save_file            %8.2f ms   ratio %5.2f (target 3 or less)\n",
                pugiSaveMs, saveMs / pugiSaveMs);
    std::printf("  CProjectIOHandler::Load      %8.2f ms\n", loadMs);
    std::printf("  pugixml load_file            %8.2f ms   ratio %5.2f (target 3 or less)\n",
                pugiLoadMs, loadMs / pugiLoadMs);
    std::printf("  of which the curves: Serialize %.2f ms, Deserialize %.2f ms\n", serializeMs,
                deserializeMs);
    std::printf("  for reference, pugixml in memory: parse %.2f ms, write %.2f ms\n",
                pugiParseMemMs, pugiWriteMemMs);
    if (!ok)
        std::printf("  a save or load failed: %s\n", handler.LastError().toLocal8Bit().constData());
    return ok ? 0 : 1;
}
