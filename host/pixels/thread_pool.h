// One pool of render threads for the whole host, shared by frames rendering side by side and by
// the row strips of a single large draw, so that the two kinds of parallel work never run more
// threads than the pool has.
//
// ParallelFor hands out the indices of one job to the calling thread and to any idle worker;
// the calling thread takes indices itself until none are left, then waits only for those other
// threads already started. Work nested inside an index (a frame's draws inside a frame) is a
// job of its own, so idle workers help with it and nothing ever waits on a thread that waits.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace plurion::host {

class ThreadPool {
  public:
    // `threads` in all, the calling thread included: threads - 1 workers are started.
    explicit ThreadPool(int threads);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    int size() const { return static_cast<int>(workers_.size()) + 1; }

    // Runs fn(i) for every i in [0, count) and returns when all have run. The first exception
    // thrown by fn is rethrown here once every index has finished; later indices still run.
    void ParallelFor(int count, const std::function<void(int)>& fn);

  private:
    struct Job {
        const std::function<void(int)>* fn = nullptr;
        int count = 0;
        std::atomic<int> next{0};
        int finished = 0; // guarded by the pool's mutex
        std::exception_ptr error;
        std::condition_variable all_done;
    };

    // Runs indices of the job until none are left unclaimed.
    void Work(Job& job);
    void WorkerLoop();

    std::mutex mutex_;
    std::condition_variable work_ready_;
    std::deque<std::shared_ptr<Job>> jobs_; // jobs with indices still to hand out, oldest first
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

// Runs fn(i) for i in [0, count): over the pool when there is one, else in order on this thread.
void ParallelFor(ThreadPool* pool, int count, const std::function<void(int)>& fn);

} // namespace plurion::host
