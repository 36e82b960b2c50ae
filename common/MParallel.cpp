#include "MParallel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace MParallel {

namespace {

using Clock = std::chrono::steady_clock;

int64_t Now()
{
    return Clock::now().time_since_epoch().count();
}

// How long threads stay awake for work announced by ExpectWork, and how
// long a caller waits awake for the last pieces of its job: longer than a
// file read and a few pieces take, short enough that no one notices the
// spent cycles when nothing comes.
constexpr Clock::duration kAwake = std::chrono::milliseconds(2);

// One call of ForEachIndex. Helpers may come late, after every piece has
// been claimed: they then only look at `next` and leave, so the state
// lives on with them while `work`, which belongs to the caller, is never
// touched once the caller has returned.
struct Job
{
    const std::function<void(size_t)>* work = nullptr;
    size_t count = 0;
    std::atomic<size_t> next{0};
    std::vector<std::exception_ptr> errors;

    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> done{0};  // changed under the mutex, read without it

    // Pieces are claimed one by one rather than split up front: pieces of
    // very different size (a long curve beside short ones) still keep
    // every thread busy to the end.
    void Run()
    {
        for (size_t i = next.fetch_add(1, std::memory_order_relaxed); i < count;
             i = next.fetch_add(1, std::memory_order_relaxed)) {
            try {
                (*work)(i);
            } catch (...) {
                errors[i] = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex);
            if (done.fetch_add(1) + 1 == count)
                finished.notify_all();
        }
    }
};

// Threads kept for the life of the process: starting a thread, and the
// first touches of its stack and heap, cost more than reading a curve.
//
// Waking sleeping threads is dear too (on virtual machines tens of
// microseconds each, paid by the one who wakes them): ExpectWork has them
// woken while the caller still prepares the job, and they wait for it
// awake, for a short while.
class Pool
{
public:
    static Pool& Instance()
    {
        static Pool pool;
        return pool;
    }

    // Asks up to `helpers` threads to join the job; gives the number asked.
    size_t Offer(const std::shared_ptr<Job>& job, size_t helpers)
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            helpers = std::min(helpers, Grow(helpers));
            for (size_t h = 0; h < helpers; ++h)
                mQueue.push_back(job);
            mQueued.fetch_add(helpers);
        }
        if (helpers > 0)
            mWake.notify_all();
        return helpers;
    }

    // Starts threads up to `helpers` and has every helper wait awake for a
    // while.
    void KeepAwake(size_t helpers)
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            if (Grow(helpers) == 0)
                return;
            mAwakeUntil.store(Now() + kAwake.count());
        }
        mWake.notify_all();
    }

    ~Pool()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping.store(true);
        }
        mWake.notify_all();
        for (std::thread& t : mThreads)
            t.join();
    }

private:
    Pool() = default;

    // Starts threads up to `wanted` (under the mutex); gives how many run.
    size_t Grow(size_t wanted)
    {
        while (mThreads.size() < wanted) {
            try {
                mThreads.emplace_back([this] { Serve(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        return mThreads.size();
    }

    bool Awake() const { return Now() < mAwakeUntil.load(std::memory_order_relaxed); }

    void Serve()
    {
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> lock(mMutex);
                for (;;) {
                    if (mStopping.load())
                        return;
                    if (!mQueue.empty())
                        break;
                    if (Awake()) {
                        // Awake and outside the lock, so that the job's
                        // caller can hand it over at once.
                        lock.unlock();
                        while (mQueued.load() == 0 && Awake() && !mStopping.load())
                            std::this_thread::yield();
                        lock.lock();
                        continue;
                    }
                    mWake.wait(lock);
                }
                job = std::move(mQueue.front());
                mQueue.pop_front();
                mQueued.fetch_sub(1);
            }
            job->Run();
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<std::shared_ptr<Job>> mQueue;
    std::atomic<size_t> mQueued{0};        // mQueue.size(), for threads spinning outside the lock
    std::atomic<int64_t> mAwakeUntil{0};   // Clock ticks
    std::vector<std::thread> mThreads;
    std::atomic<bool> mStopping{false};
};

} // namespace

size_t HardwareWorkers()
{
    return std::max<size_t>(1, std::thread::hardware_concurrency());
}

void ExpectWork(size_t workers)
{
    if (workers > 1)
        Pool::Instance().KeepAwake(workers - 1);
}

void ForEachIndex(size_t count, size_t workers, const std::function<void(size_t)>& work)
{
    if (count == 0)
        return;
    workers = std::clamp<size_t>(workers, 1, count);
    auto job = std::make_shared<Job>();
    job->work = &work;
    job->count = count;
    job->errors.resize(count);
    if (workers > 1)
        Pool::Instance().Offer(job, workers - 1);
    // The caller works too, so the job ends even when every helper is busy
    // elsewhere; it then waits only for pieces that helpers have started.
    job->Run();
    // The pieces left are being run by helpers; waiting for them awake
    // saves being woken, which takes longer than the end of most pieces.
    for (const int64_t until = Now() + kAwake.count();
         job->done.load() < count && Now() < until;)
        std::this_thread::yield();
    {
        std::unique_lock<std::mutex> lock(job->mutex);
        job->finished.wait(lock, [&] { return job->done.load() == count; });
    }
    // Once every piece has ended no helper touches the errors again; they
    // leave the job here, so that a helper that holds the job last frees
    // nothing the caller may still be looking at.
    std::exception_ptr first;
    for (std::exception_ptr& e : job->errors) {
        if (e && !first)
            first = std::move(e);
        e = nullptr;
    }
    if (first)
        std::rethrow_exception(first);
}

} // namespace MParallel
