// The least a Qt widgets program does before its window is up: the floor
// against which bench_startup measures the program's start.

#include "StartupProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    StartupProbe::reportWhenShown();
    return app.exec();
}
