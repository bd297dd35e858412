// The program's own start-up, as its main function runs it, until the main
// window has been shown: what bench_startup times.

#include "CMainWindow.h"
#include "ProgramStartup.h"
#include "StartupProbe.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    ProgramStartup::start(&app, translator);

    CMainWindow window;
    window.show();
    StartupProbe::reportWhenShown();
    return app.exec();
}
