#include "platform/messagebox.h"

#include "platform/twips.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace quorix {

namespace {

MessageRecorder* activeMessageRecorder = nullptr;
ProcessEndRecorder* activeEndRecorder = nullptr;

} // namespace

MessageRecorder::MessageRecorder() : previous_(activeMessageRecorder) {
    activeMessageRecorder = this;
}
MessageRecorder::~MessageRecorder() {
    activeMessageRecorder = previous_;
}

void MessageBox(const std::string& text) {
    if (activeMessageRecorder != nullptr) {
        activeMessageRecorder->Record(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kProgramTitle, ToQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

ProcessEndRecorder::ProcessEndRecorder() : previous_(activeEndRecorder) {
    activeEndRecorder = this;
}
ProcessEndRecorder::~ProcessEndRecorder() {
    activeEndRecorder = previous_;
}

void EndProcess() {
    if (activeEndRecorder != nullptr) {
        activeEndRecorder->Record();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

} // namespace quorix
