#include "thread_pool.h"

#include <algorithm>

namespace plurion::host {

ThreadPool::ThreadPool(int threads) {
    for (int i = 1; i < threads; ++i) {
        workers_.emplace_back([this] { WorkerLoop(); });
    }
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void ThreadPool::Work(Job& job) {
    int done = 0;
    std::exception_ptr error;
    for (int i = job.next++; i < job.count; i = job.next++) {
        try {
            (*job.fn)(i);
        } catch (...) {
            if (!error) {
                error = std::current_exception();
            }
        }
        ++done;
    }
    if (done == 0 && !error) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (error && !job.error) {
        job.error = error;
    }
    job.finished += done;
    if (job.finished == job.count) {
        job.all_done.notify_all();
    }
}

void ThreadPool::WorkerLoop() {
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            work_ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            // Jobs whose indices are all handed out need no more hands.
            while (!jobs_.empty() && jobs_.front()->next.load() >= jobs_.front()->count) {
                jobs_.pop_front();
            }
            if (jobs_.empty()) {
                if (stopping_) {
                    return;
                }
                continue;
            }
            job = jobs_.front();
        }
        Work(*job);
    }
}

void ThreadPool::ParallelFor(int count, const std::function<void(int)>& fn) {
    if (count <= 0) {
        return;
    }
    auto job = std::make_shared<Job>();
    job->fn = &fn;
    job->count = count;
    if (count > 1 && !workers_.empty()) {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(job);
        }
        work_ready_.notify_all();
    }
    Work(*job);
    std::unique_lock lock(mutex_);
    job->all_done.wait(lock, [&] { return job->finished == job->count; });
    // Gone from the queue before fn goes out of scope.
    jobs_.erase(std::remove(jobs_.begin(), jobs_.end(), job), jobs_.end());
    if (job->error) {
        std::rethrow_exception(job->error);
    }
}

void ParallelFor(ThreadPool* pool, int count, const std::function<void(int)>& fn) {
    if (pool != nullptr) {
        pool->ParallelFor(count, fn);
        return;
    }
    for (int i = 0; i < count; ++i) {
        fn(i);
    }
}

} // namespace plurion::host
