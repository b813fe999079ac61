#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quorix {

// Threads kept from one search to the next, so that a short search does not pay for starting them.
class WorkerPool {
public:
    // Starts a thread running `body`; throws std::system_error when it cannot, as std::thread does.
    using Starter = std::function<std::thread(std::function<void()> body)>;

    // Starts up to `workers` threads with `start`. Once one cannot start, the pool makes do with the
    // threads it has: their work falls to the calling thread.
    explicit WorkerPool(unsigned workers, const Starter& start = StartThread);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // Calls task(k, slot) once for every k in [0, count), on the workers and the calling thread
    // together, and returns when all calls have finished. `slot` (below Slots()) is the same for all
    // calls on one thread during a run, so a task may keep scratch space per slot. Tasks must not throw.
    void Run(std::int64_t count, const std::function<void(std::int64_t, unsigned)>& task);

    // The threads that run tasks: the workers that started and the caller.
    [[nodiscard]] unsigned Slots() const { return static_cast<unsigned>(threads_.size()) + 1; }

    // The pool of the process, with one worker fewer than the processor has cores (the caller works too).
    static WorkerPool& Shared();

    // The default starter: a plain std::thread.
    static std::thread StartThread(std::function<void()> body);

private:
    void Work(unsigned slot);
    void Drain(unsigned slot);

    std::mutex runMutex_; // one run at a time
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void(std::int64_t, unsigned)>* task_ = nullptr;
    std::int64_t count_ = 0;
    std::uint64_t generation_ = 0;
    unsigned busy_ = 0;
    bool stopping_ = false;
    std::atomic<std::int64_t> next_{0};
    std::vector<std::thread> threads_;
};

} // namespace quorix
