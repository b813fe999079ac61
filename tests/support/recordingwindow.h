#pragma once

#include "input/minimareader.h"
#include "search/periodsearch.h"

#include <string>
#include <vector>

namespace quorix::testing {

// Stands in for the main window as the reader and the search see it: the test types the search
// entries into the public fields, and every call the code makes is remembered there.
class RecordingWindow : public ReaderWindow, public SearchWindow {
public:
    std::string MinimumPeriodText() const override { return minimum; }
    std::string MaximumPeriodText() const override { return maximum; }
    std::string StepCountText() const override { return steps; }
    void SetSearchButtonsEnabled(bool enabled) override { switches.push_back(enabled); }
    void SetBestPeriodText(const std::string& text) override { best = text; }
    void SetFileNameCaption(const std::string& text) override { fileName = text; }
    void SetCountCaption(const std::string& text) override { count = text; }
    void EnableCompute() override { computeEnabled = true; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    // The search entries, as typed.
    std::string minimum = "0.20", maximum = "1.20", steps = "1000";
    // Each switch of the search buttons, in order, and the best period's read-out.
    std::vector<bool> switches;
    std::string best;
    // The captions of the file name and the count, and whether "Compute" was enabled.
    std::string fileName = "(no file yet)";
    std::string count;
    bool computeEnabled = false;
    // Every message shown, in order.
    std::vector<std::string> messages;
};

} // namespace quorix::testing
