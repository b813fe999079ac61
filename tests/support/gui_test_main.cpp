#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Window tests run on Qt's offscreen platform: no display is needed and nothing appears on screen.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
