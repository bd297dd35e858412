#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Downlink data and bulk deletion: one request each, reported in the log pane
// and in the added-devices record only once the request has left the program.
class DataSender
{
    Q_DECLARE_TR_FUNCTIONS(DataSender)

public:
    // Returns whether the "send_data_req" went out.
    static bool sendDataRequest(QString devEui, QString data, QString port, bool ack);
    // Returns whether the "delete_devices_req" went out; the caller forgets the
    // added devices only then.
    static bool deleteDevices(const QStringList& devEuis);

    // The "send_data_req" object for one device.
    static QJsonObject dataRequest(const QString& devEui, const QString& data, const QString& port, bool ack);
};
