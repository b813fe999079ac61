#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace quorix::cli {

// The line a long run keeps rewriting on a terminal, e.g. " 42% 1.5e+07 points/s, 3 s left".
[[nodiscard]] std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds,
                                       std::string_view unit);

// Shows how far a run has come on stderr, one line rewritten in place, once the run has taken about
// a second, and only when stderr is a terminal: scripts and logs get nothing. Advance may be called
// from several threads.
class Progress {
public:
    Progress(std::int64_t total, std::string unit, bool shown);
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress();

    void Advance(std::int64_t count);
    // Wipes the line, so what follows starts on a clean one.
    void Finish();

private:
    using Clock = std::chrono::steady_clock;

    std::mutex mutex_;
    std::int64_t total_;
    std::string unit_;
    bool shown_;
    bool drawn_ = false;
    std::int64_t done_ = 0;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_ = start_;
};

// Whether stderr is a terminal a person watches.
[[nodiscard]] bool ErrorStreamIsTerminal();

// Makes Ctrl-C (SIGINT) set the returned flag instead of killing the process, so that a run can stop
// between blocks and unwind, removing whatever it had not finished writing.
[[nodiscard]] const std::atomic<bool>& StopOnInterrupt();

// The exit status of a run stopped by Ctrl-C, as a shell reports a process killed by SIGINT.
inline constexpr int kInterruptedStatus = 130;

} // namespace quorix::cli
