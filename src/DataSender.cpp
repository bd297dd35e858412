#include "DataSender.h"

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "LogOutputWidget.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace PK = ProtocolKeys;

QJsonObject DataSender::dataRequest(const QString& devEui, const QString& data, const QString& port, bool ack)
{
    QJsonObject item;
    item.insert(PK::devEui, devEui);
    item.insert(PK::data, data);
    item.insert(PK::port, port.toInt(nullptr, 10));  // not a decimal number: 0
    item.insert(PK::ack, ack);

    QJsonObject request;
    request.insert(PK::cmd, PK::sendDataReq);
    request.insert(PK::dataList, QJsonArray{item});
    return request;
}

bool DataSender::sendDataRequest(QString devEui, QString data, QString port, bool ack)
{
    DIAG() << QStringLiteral("SEND REQUEST %1 TO %2").arg(data, devEui);
    const QJsonObject request = dataRequest(devEui, data, port, ack);
    DIAG() << request;

    if (!CServerClient::instance()->sendMessage(
            QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact)))) {
        DIAG() << "data request not sent, device" << devEui << "left as it was";
        return false;
    }

    LogOutputWidget::instance()->appendMessage(
        tr("Устройству UID: %1 отправлен пакет с запросом из файла %2").arg(devEui, currentRequestsFileName),
        QStringLiteral("blue"));
    ScannedDevices::instance()->setDeviceState(devEui, 1);
    return true;
}

bool DataSender::deleteDevices(const QStringList& devEuis)
{
    if (!CServerClient::instance()->sendMessage(CMessageParser::deleteDevicesReq(devEuis))) {
        DIAG() << "delete request not sent, devices kept:" << devEuis;
        return false;
    }

    for (const QString& devEui : devEuis) {
        LogOutputWidget::instance()->appendMessage(tr("Устройство UID: %1 удалено с сервера").arg(devEui),
                                                   QStringLiteral("red"));
        ScannedDevices::instance()->removeDevice(devEui);
    }
    return true;
}
