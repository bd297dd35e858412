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
    CSettings::instance(qApp);
    CSettings::ensureDefaults();
    ScannedDevices::instance(qApp);
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    qRegisterMetaType<CloraInfoResp>();
}
