#include "cli/progress.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace quorix::cli {

namespace {

constexpr double kQuietSeconds = 1.0;   // runs shorter than this show nothing
constexpr double kRedrawSeconds = 0.25; // the line is rewritten no more often than this

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
}

std::string Number(const char* format, double value) {
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

// Rewrites the line: back to its start, then the text.
void Redraw(const std::string& text) {
    std::fputc('\r', stderr);
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace

std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds, std::string_view unit) {
    const double fraction = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    std::string line = Number("%3.0f%%", 100.0 * fraction);
    if (seconds > 0 && done > 0) {
        const double rate = static_cast<double>(done) / seconds;
        line.append(1, ' ').append(Number("%.3g", rate)).append(1, ' ').append(unit).append("/s, ");
        line.append(Number("%.0f", static_cast<double>(total - done) / rate)).append(" s left");
    }
    return line;
}

Progress::Progress(std::int64_t total, std::string unit, bool shown)
    : total_(total), unit_(std::move(unit)), shown_(shown) {}

Progress::~Progress() {
    Finish();
}

void Progress::Advance(std::int64_t count) {
    if (!shown_) {
        return;
    }
    const std::lock_guard lock(mutex_);
    done_ += count;
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double sinceDrawn = std::chrono::duration<double>(now - lastDrawn_).count();
    if (seconds < kQuietSeconds || (drawn_ && sinceDrawn < kRedrawSeconds)) {
        return;
    }
    // Blanks after the text wipe what a longer previous line left.
    std::string line = ProgressLine(done_, total_, seconds, unit_);
    line.append(3, ' ');
    Redraw(line);
    drawn_ = true;
    lastDrawn_ = now;
}

void Progress::Finish() {
    const std::lock_guard lock(mutex_);
    if (drawn_) {
        Redraw(std::string(60, ' '));
        Redraw({});
        drawn_ = false;
    }
}

bool ErrorStreamIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

const std::atomic<bool>& StopOnInterrupt() {
    std::signal(SIGINT, OnInterrupt);
    return interrupted;
}

} // namespace quorix::cli
