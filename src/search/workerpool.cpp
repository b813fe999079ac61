#include "search/workerpool.h"

#include <algorithm>
#include <system_error>

namespace quorix {

WorkerPool::WorkerPool(unsigned workers, const Starter& start) {
    threads_.reserve(workers);
    for (unsigned w = 0; w < workers; ++w) {
        const unsigned slot = w + 1;
        try {
            threads_.push_back(start([this, slot] { Work(slot); }));
        } catch (const std::system_error&) {
            break; // the system has no more threads to give: the caller does their share
        }
    }
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_) {
        thread.join();
    }
}

std::thread WorkerPool::StartThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

WorkerPool& WorkerPool::Shared() {
    static WorkerPool pool(std::clamp(std::thread::hardware_concurrency(), 1u, 8u) - 1);
    return pool;
}

void WorkerPool::Run(std::int64_t count, const std::function<void(std::int64_t, unsigned)>& task) {
    const std::lock_guard run(runMutex_);
    {
        const std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        next_.store(0);
        ++generation_;
    }
    wake_.notify_all();
    Drain(0);
    // A worker that joined this run is counted in busy_; one that wakes after the task is withdrawn
    // finds nothing to do and sleeps again.
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
    task_ = nullptr;
}

void WorkerPool::Drain(unsigned slot) {
    for (std::int64_t k = next_.fetch_add(1); k < count_; k = next_.fetch_add(1)) {
        (*task_)(k, slot);
    }
}

void WorkerPool::Work(unsigned slot) {
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || (task_ != nullptr && generation_ != seen); });
        if (stopping_) {
            return;
        }
        seen = generation_;
        ++busy_;
        lock.unlock();
        Drain(slot);
        lock.lock();
        if (--busy_ == 0) {
            done_.notify_all();
        }
    }
}

} // namespace quorix
