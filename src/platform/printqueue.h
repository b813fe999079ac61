#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorix {

// A finished document handed to a print queue: the file to print, the name the job shows in the
// queue and the options the queue applies (copies, paper, sides, orientation, colour).
struct QueueJob {
    std::string queue;
    std::string file;
    std::string title;
    std::vector<std::pair<std::string, std::string>> options;
};

// What a queue says about itself and about a job handed to it.
struct QueueReport {
    bool found = true;
    bool acceptingJobs = true;
    bool stopped = false;
    std::string stateReasons; // the queue's comma-separated reasons, e.g. "media-empty-error"
    bool jobTaken = true;
};

// The run-time error number of a queue's report: 0 for a job taken by a queue that can print it.
[[nodiscard]] int QueueErrorNumber(const QueueReport& report);

// The system's print queues: their names, the default one, and the door through which a finished
// document reaches one. Printing to a queue goes through here only.
class PrintQueues {
public:
    virtual ~PrintQueues() = default;
    [[nodiscard]] virtual std::vector<std::string> Names() = 0;
    // The empty text when there is no default queue.
    [[nodiscard]] virtual std::string DefaultName() = 0;
    // 0 once the queue has taken the job, else the run-time error number of why it did not.
    [[nodiscard]] virtual int Submit(const QueueJob& job) = 0;
};

// The queues printing goes to: the system's, unless another set stands in for them.
[[nodiscard]] PrintQueues& CurrentPrintQueues();

// While one exists, `queues` stand in for the system's, so that nothing reaches a real printer.
class ScopedPrintQueues {
public:
    explicit ScopedPrintQueues(PrintQueues& queues);
    ~ScopedPrintQueues();
    ScopedPrintQueues(const ScopedPrintQueues&) = delete;
    ScopedPrintQueues& operator=(const ScopedPrintQueues&) = delete;

private:
    PrintQueues* previous_;
};

} // namespace quorix
