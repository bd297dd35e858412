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

QStringList TestHelpers::devicesFileBlocks()
{
    QFile file(QStringLiteral("Devices.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList blocks = QString::fromUtf8(file.readAll()).split(PK::separator + QLatin1Char('\n'));
    const bool cutShort = !blocks.takeLast().isEmpty();
    QStringList devEuis;
    for (const QString& block : blocks)
        devEuis << block.section(QStringLiteral("DevEui:"), 1).section(QLatin1Char('\n'), 0, 0);
    if (cutShort)
        devEuis << QStringLiteral("<cut short>");
    return devEuis;
}
