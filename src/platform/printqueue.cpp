#include "platform/printqueue.h"

#include "platform/printer.h"
#include "state/errormessages.h"

#include <QPrinterInfo>

#include <dlfcn.h>

namespace quorix {

namespace {

// The few parts of the CUPS library's interface used here; their layout has been fixed for decades.
struct CupsOption {
    char* name;
    char* value;
};
struct CupsDest {
    char* name;
    char* instance;
    int isDefault;
    int optionCount;
    CupsOption* options;
};
constexpr int kIppNotFound = 0x0406;
constexpr int kIppNotAcceptingJobs = 0x0506;
constexpr const char* kPrinterStopped = "5";

// The CUPS library, opened when first needed. The program does not link it: where it is missing
// there are no queues either, and printing to a file still works.
class CupsLibrary {
public:
    CupsLibrary() : handle_(dlopen("libcups.so.2", RTLD_LAZY | RTLD_LOCAL)) {
        if (handle_ != nullptr) {
            Bind(getNamedDest, "cupsGetNamedDest");
            Bind(getOption, "cupsGetOption");
            Bind(freeDests, "cupsFreeDests");
            Bind(printFile, "cupsPrintFile");
            Bind(lastError, "cupsLastError");
        }
    }
    CupsLibrary(const CupsLibrary&) = delete;
    CupsLibrary& operator=(const CupsLibrary&) = delete;

    [[nodiscard]] bool Usable() const {
        return getNamedDest && getOption && freeDests && printFile && lastError;
    }

    CupsDest* (*getNamedDest)(void*, const char*, const char*) = nullptr;
    const char* (*getOption)(const char*, int, CupsOption*) = nullptr;
    void (*freeDests)(int, CupsDest*) = nullptr;
    int (*printFile)(const char*, const char*, const char*, int, CupsOption*) = nullptr;
    int (*lastError)() = nullptr;

private:
    template <class Function> void Bind(Function& function, const char* name) {
        function = reinterpret_cast<Function>(dlsym(handle_, name));
    }
    void* handle_;
};

CupsLibrary& Cups() {
    static CupsLibrary library;
    return library;
}

// The queue's own account of whether it can print now.
QueueReport QueueState(CupsLibrary& cups, const std::string& queue) {
    QueueReport report;
    CupsDest* dest = cups.getNamedDest(nullptr, queue.c_str(), nullptr);
    if (dest == nullptr) {
        report.found = false;
        return report;
    }
    const auto option = [&](const char* name) {
        const char* value = cups.getOption(name, dest->optionCount, dest->options);
        return std::string(value != nullptr ? value : "");
    };
    report.acceptingJobs = option("printer-is-accepting-jobs") != "false";
    report.stopped = option("printer-state") == kPrinterStopped;
    report.stateReasons = option("printer-state-reasons");
    cups.freeDests(1, dest);
    return report;
}

// The queues CUPS offers, as Qt lists them, with jobs handed to CUPS directly so that a refusal is
// seen and the job carries its name.
class SystemQueues : public PrintQueues {
public:
    std::vector<std::string> Names() override {
        std::vector<std::string> names;
        for (const QString& name : QPrinterInfo::availablePrinterNames()) {
            names.push_back(name.toStdString());
        }
        return names;
    }
    std::string DefaultName() override { return QPrinterInfo::defaultPrinterName().toStdString(); }
    int Submit(const QueueJob& job) override {
        CupsLibrary& cups = Cups();
        if (!cups.Usable()) {
            return kErrDeviceUnavailable;
        }
        QueueReport report = QueueState(cups, job.queue);
        if (const int error = QueueErrorNumber(report); error != 0) {
            return error; // a stopped queue would hold the job and print it when nobody expects it
        }
        std::vector<std::string> texts;
        for (const auto& [name, value] : job.options) {
            texts.push_back(name);
            texts.push_back(value);
        }
        std::vector<CupsOption> options;
        for (std::size_t i = 0; i < texts.size(); i += 2) {
            options.push_back({texts[i].data(), texts[i + 1].data()});
        }
        if (cups.printFile(job.queue.c_str(), job.file.c_str(), job.title.c_str(),
                           static_cast<int>(options.size()), options.data()) == 0) {
            const int status = cups.lastError();
            report.found = status != kIppNotFound;
            report.acceptingJobs = status != kIppNotAcceptingJobs;
            report.jobTaken = false;
        }
        return QueueErrorNumber(report);
    }
};

PrintQueues* standIn = nullptr;

} // namespace

int QueueErrorNumber(const QueueReport& report) {
    if (!report.found || !report.acceptingJobs) {
        return kErrDeviceUnavailable;
    }
    if (report.stateReasons.find("media-empty") != std::string::npos ||
        report.stateReasons.find("media-needed") != std::string::npos) {
        return kErrOutOfPaper;
    }
    if (report.stopped) {
        return kErrDeviceFault;
    }
    return report.jobTaken ? 0 : kErrPrinter;
}

PrintQueues& CurrentPrintQueues() {
    static SystemQueues system;
    return standIn != nullptr ? *standIn : system;
}

ScopedPrintQueues::ScopedPrintQueues(PrintQueues& queues) : previous_(standIn) {
    standIn = &queues;
}
ScopedPrintQueues::~ScopedPrintQueues() {
    standIn = previous_;
}

} // namespace quorix
