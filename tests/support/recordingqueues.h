#pragma once

#include "platform/printqueue.h"

#include <QFile>

#include <string>
#include <vector>

namespace quorix::testing {

// Print queues of the test's own: the queues it names, one of them the default, and every job
// handed to them recorded (with the bytes of its file) instead of printed, or refused with
// `refusal` when that is not 0. While it exists no job can reach the machine's printers.
class RecordingQueues : public PrintQueues {
public:
    struct Job {
        QueueJob job;
        QByteArray document;
    };

    explicit RecordingQueues(std::vector<std::string> names = {}, std::string defaultName = {})
        : names_(std::move(names)), default_(std::move(defaultName)), standIn_(*this) {}

    std::vector<std::string> Names() override { return names_; }
    std::string DefaultName() override { return default_; }
    int Submit(const QueueJob& job) override {
        ++submitted;
        if (refusal != 0) {
            return refusal;
        }
        QFile file(QString::fromStdString(job.file));
        jobs.push_back({job, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()});
        return 0;
    }

    int refusal = 0;
    int submitted = 0;
    std::vector<Job> jobs;

private:
    std::vector<std::string> names_;
    std::string default_;
    ScopedPrintQueues standIn_;
};

} // namespace quorix::testing
