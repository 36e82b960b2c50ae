// How long a map takes to load, against a floor measured in the same run:
// reading the file and copying each lump into memory. Each map is loaded
// 20 times, interleaved with the others.
//
//   bench_map_load [MAP_FOLDER]   (default: the test maps of the build)
#include "BenchMedian.h"
#include "BspLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The floor: the file read whole, then every lump copied out.
size_t ReadAndCopyLumps(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    size_t total = 0;
    for (int lump = 0; lump < 17 && bytes.size() >= 144; ++lump) {
        int32_t offset, length;
        std::memcpy(&offset, bytes.constData() + 8 + 8 * lump, 4);
        std::memcpy(&length, bytes.constData() + 12 + 8 * lump, 4);
        if (offset < 0 || length < 0 || qint64(offset) + length > bytes.size())
            continue;
        std::vector<char> copy(bytes.constData() + offset, bytes.constData() + offset + length);
        total += copy.size();
    }
    return total;
}

using bench::Median;

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = app.arguments().size() > 1 ? app.arguments()[1]
                                                      : QStringLiteral(RUV_TEST_MAPS);
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::printf("no maps in %s (run the dorado tests once to unpack them)\n", qPrintable(folder));
        return 0;
    }
    constexpr int Rounds = 20;
    std::vector<std::vector<double>> load(names.size()), floor(names.size());
    for (int round = 0; round < Rounds; ++round) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString path = dir.filePath(names[i]);
            auto t0 = Clock::now();
            volatile size_t sink = ReadAndCopyLumps(path);
            (void)sink;
            auto t1 = Clock::now();
            Dorado::BspMap map;
            if (!Dorado::LoadBspFile(path, 4, map, nullptr)) {
                std::printf("%s refused\n", qPrintable(names[i]));
                return 1;
            }
            auto t2 = Clock::now();
            floor[static_cast<size_t>(i)].push_back(Ms(t1 - t0));
            load[static_cast<size_t>(i)].push_back(Ms(t2 - t1));
        }
    }
    std::printf("%-20s %10s %10s %10s %10s %7s\n", "map", "load min", "load med", "floor min", "floor med", "ratio");
    std::vector<double> ratios;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto& l = load[static_cast<size_t>(i)];
        const auto& f = floor[static_cast<size_t>(i)];
        const double ratio = Median(l) / std::max(Median(f), 1e-6);
        ratios.push_back(ratio);
        std::printf("%-20s %8.2fms %8.2fms %8.2fms %8.2fms %7.2f\n", qPrintable(names[i]), *std::min_element(l.begin(), l.end()),
                    Median(l), *std::min_element(f.begin(), f.end()), Median(f), ratio);
    }
    std::printf("median ratio %.2f, highest %.2f (target: median 3 or less, none above 5)\n", Median(ratios),
                *std::max_element(ratios.begin(), ratios.end()));
    return 0;
}
