#pragma once

#include <string>
#include <vector>

namespace quorix {

// The program's title, shown on every message box.
inline constexpr const char* kProgramTitle = "Quorix Period Search";

// A modal message box with the text, an OK button and the program's title; returns when closed.
void MessageBox(const std::string& text);

// While one exists, message boxes are recorded here instead of shown, so tests never block.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    [[nodiscard]] const std::vector<std::string>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }
    void Record(const std::string& text) { messages_.push_back(text); }

private:
    std::vector<std::string> messages_;
    MessageRecorder* previous_;
};

// Ends the process at once: no window's unload handler runs.
void EndProcess();

// While one exists, EndProcess only counts the request, so tests can observe it.
class ProcessEndRecorder {
public:
    ProcessEndRecorder();
    ~ProcessEndRecorder();
    ProcessEndRecorder(const ProcessEndRecorder&) = delete;
    ProcessEndRecorder& operator=(const ProcessEndRecorder&) = delete;

    [[nodiscard]] int Requests() const { return requests_; }
    void Record() { ++requests_; }

private:
    int requests_ = 0;
    ProcessEndRecorder* previous_;
};

} // namespace quorix
