#pragma once

#include "DeviceStore.h"

#include <QJsonValue>
#include <QString>

namespace DevServer {

// The registration rules: decides the status word of one "manage_devices_req"
// entry and applies the entry to the store when the word says so.
class DeviceRegistrar
{
public:
    struct Verdict
    {
        QString devEui; // as the server stores it, or as sent when unusable
        QString status;
    };

    DeviceRegistrar(DeviceStore& store, int maxDevices);

    Verdict manage(const QJsonValue& entry);

private:
    Verdict updateKnown(const QString& devEui, const QJsonObject& otaa, const QJsonObject& abp,
                        const QJsonObject& settings);
    Verdict addNew(const QString& devEui, const QJsonObject& otaa, const QJsonObject& abp,
                   const QJsonObject& settings);

    DeviceStore& m_store;
    int m_maxDevices;
};

} // namespace DevServer
