#include "support/recordingqueues.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Window tests run on Qt's offscreen platform: no display is needed and nothing appears on screen.
// They never print on the machine's printers: the print system is pointed at a server that does not
// exist, so no queue of the machine is listed, and the program's queues are ones that only record.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("CUPS_SERVER", "/nonexistent/quorix-tests/cups.sock", 1);
    unsetenv("PRINTER");
    unsetenv("LPDEST");
    QApplication app(argc, argv);
    quorix::testing::RecordingQueues noQueues;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
