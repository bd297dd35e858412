#include "CMainWindow.h"
#include "ProgramStartup.h"
#include "QtCompat.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QtCompat::scaleForHighDpi();
    QApplication app(argc, argv);
    QTranslator translator;
    ProgramStartup::start(&app, translator);

    CMainWindow window;
    window.show();
    return app.exec();
}
