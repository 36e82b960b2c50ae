// How fast a long flight is sampled into camera records, against the time of
// merely filling the same array of records.
#include "LongCurve.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Best(int rounds, auto&& work)
{
    double best = 1e30;
    for (int k = 0; k < rounds; ++k) {
        const auto t0 = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

}  // namespace

int main()
{
    C3DCurve curve = bench::MakeLongCurve();
    using bench::kControls, bench::kRate, bench::kSeconds;
    size_t frames = 0;
    const double sampling = Best(5, [&] {
        std::vector<ControlRecord> records;
        frames = static_cast<size_t>(curve.GetSampledControls(records, true)) + 1;
    });
    const double filling = Best(5, [&] {
        std::vector<ControlRecord> records;
        records.assign(frames, ControlRecord{});
        for (size_t f = 0; f < frames; ++f) {
            ControlRecord& r = records[f];
            const auto v = static_cast<float>(f);
            r.X = v;
            r.Y = v + 1;
            r.Z = v + 2;
            r.Pitch = v;
            r.Yaw = v;
            r.Roll = v;
            r.Fov = 90.0f;
            r.Timescale = 1.0f;
            r.Time = f / 1000.0;
            r.SegmentNumber = static_cast<int32_t>(f / 2400) + 1;
        }
        if (records[frames / 2].X < 0)
            std::puts("");
    });
    std::printf("controls %d, step rate %d, game time %.0f s\n", kControls, kRate, kSeconds);
    std::printf("records %zu\n", frames);
    std::printf("sampling: %.3f s, %.0f records per second\n", sampling, frames / sampling);
    std::printf("filling the same array: %.3f s\n", filling);
    std::printf("ratio: %.2f (target 10 or less)\n", sampling / filling);
    return 0;
}
