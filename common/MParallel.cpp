#include "MParallel.h"

#include <algorithm>
#include <atomic>
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
    size_t done = 0;

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
            if (++done == count)
                finished.notify_all();
        }
    }
};

// Threads kept for the life of the process: starting a thread, and the
// first touches of its stack and heap, cost more than reading a curve.
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
        std::lock_guard<std::mutex> lock(mMutex);
        while (mThreads.size() < helpers) {
            try {
                mThreads.emplace_back([this] { Serve(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        helpers = std::min(helpers, mThreads.size());
        for (size_t h = 0; h < helpers; ++h)
            mQueue.push_back(job);
        mWake.notify_all();
        return helpers;
    }

    ~Pool()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
        }
        mWake.notify_all();
        for (std::thread& t : mThreads)
            t.join();
    }

private:
    Pool() = default;

    void Serve()
    {
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> lock(mMutex);
                mWake.wait(lock, [this] { return mStopping || !mQueue.empty(); });
                if (mStopping)
                    return;
                job = std::move(mQueue.front());
                mQueue.pop_front();
            }
            job->Run();
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<std::shared_ptr<Job>> mQueue;
    std::vector<std::thread> mThreads;
    bool mStopping = false;
};

} // namespace

size_t HardwareWorkers()
{
    return std::max<size_t>(1, std::thread::hardware_concurrency());
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
    {
        std::unique_lock<std::mutex> lock(job->mutex);
        job->finished.wait(lock, [&] { return job->done == count; });
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
