#include "TestHelpers.h"

#include "CServerClient.h"
#include "ProgramStartup.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

void TestHelpers::registerRecordTypes()
{
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    qRegisterMetaType<CloraInfoResp>();
    qRegisterMetaType<CServerClient::EClientStates>();
}

void TestHelpers::startProgramObjects()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    registerRecordTypes();
    QCoreApplication* app = QCoreApplication::instance();
    // The translator lives as long as the application, as in the program.
    ProgramStartup::start(app, *new QTranslator(app));
}
