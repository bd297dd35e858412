#include "TestHelpers.h"

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "ScannedDevices.h"

#include <QCoreApplication>
#include <QFile>

void TestHelpers::startProgramObjects()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    CSettings::instance(QCoreApplication::instance());
    CSettings::ensureDefaults();
    ScannedDevices::instance(QCoreApplication::instance());
    CServerClient::instance(QStringLiteral("ws://"), QCoreApplication::instance());
    CMessageParser::instance(QCoreApplication::instance());
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    qRegisterMetaType<CloraInfoResp>();
}
