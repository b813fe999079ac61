#pragma once

#include "input/minimareader.h"

#include <string>
#include <vector>

namespace quorix {

// Stands in for the main window and remembers what the reader did to it.
class RecordingWindow : public ReaderWindow {
public:
    void SetFileNameCaption(const std::string& text) override { fileName = text; }
    void SetCountCaption(const std::string& text) override { count = text; }
    void EnableCompute() override { computeEnabled = true; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::string fileName = "(no file yet)";
    std::string count;
    bool computeEnabled = false;
    std::vector<std::string> messages;
};

} // namespace quorix
