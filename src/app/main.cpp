#include "ui/application.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    quorix::Application app;
    app.Start();
    return QApplication::exec();
}
