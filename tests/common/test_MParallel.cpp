// Spreading independent pieces of work over threads.
#include "MParallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using MParallel::ForEachIndex;

TEST(Parallel, EveryIndexRunsOnceWhateverTheWorkerCount)
{
    for (size_t workers : {size_t{0}, size_t{1}, size_t{3}, MParallel::HardwareWorkers(), size_t{64}}) {
        for (size_t count : {size_t{0}, size_t{1}, size_t{7}, size_t{1000}}) {
            std::vector<std::atomic<int>> runs(count);
            ForEachIndex(count, workers, [&](size_t i) { runs[i].fetch_add(1); });
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(runs[i].load(), 1) << "workers " << workers << ", count " << count << ", index " << i;
        }
    }
}

TEST(Parallel, OneWorkerRunsEverythingOnTheCallersThread)
{
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> elsewhere{0};
    ForEachIndex(50, 1, [&](size_t) {
        if (std::this_thread::get_id() != caller)
            elsewhere.fetch_add(1);
    });
    EXPECT_EQ(elsewhere.load(), 0);
}

TEST(Parallel, TheLowestFailingIndexIsReportedAfterAllPiecesEnded)
{
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> finished{0};
        try {
            ForEachIndex(40, 8, [&](size_t i) {
                if (i == 31 || i == 9 || i == 17)
                    throw std::runtime_error("piece " + std::to_string(i));
                std::this_thread::yield();
                finished.fetch_add(1);
            });
            FAIL() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "piece 9");
        }
        // Nothing runs on after the call has returned.
        EXPECT_EQ(finished.load(), 37);
    }
}

TEST(Parallel, CallsFromSeveralThreadsAtOnceAndFromWithinAPiece)
{
    std::atomic<long> sum{0};
    auto job = [&] {
        for (int k = 0; k < 20; ++k)
            ForEachIndex(30, 4, [&](size_t i) {
                // A piece may spread work of its own; the caller then does
                // it when every helper is busy.
                ForEachIndex(3, 2, [&](size_t j) { sum.fetch_add(static_cast<long>(i * 3 + j)); });
            });
    };
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t)
        callers.emplace_back(job);
    for (std::thread& t : callers)
        t.join();
    // 4 callers x 20 rounds x the sum of 0..89.
    EXPECT_EQ(sum.load(), 4L * 20L * (89L * 90L / 2L));
}

TEST(Parallel, AnnouncedWorkRunsLikeAnyOther)
{
    // Announced and then run, announced and never run, announced with a
    // single worker: every piece runs once, and nothing waits forever.
    for (size_t workers : {size_t{0}, size_t{1}, size_t{4}, MParallel::HardwareWorkers()}) {
        MParallel::ExpectWork(workers);
        std::vector<std::atomic<int>> runs(100);
        ForEachIndex(runs.size(), workers, [&](size_t i) { runs[i].fetch_add(1); });
        for (size_t i = 0; i < runs.size(); ++i)
            ASSERT_EQ(runs[i].load(), 1) << "workers " << workers << ", index " << i;
        MParallel::ExpectWork(workers);
    }
    // After the awake while the helpers sleep, and the next job still finds them.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::atomic<int> sum{0};
    ForEachIndex(10, 4, [&](size_t i) { sum.fetch_add(static_cast<int>(i)); });
    EXPECT_EQ(sum.load(), 45);
}
