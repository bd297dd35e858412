#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

namespace DevServer {

// The devices the server holds, in memory, keyed by upper-case DevEUI. Each
// device is kept in the very shape "get_devices_resp" lists it.
class DeviceStore
{
public:
    // DevEUIs that start with makerPrefix count as the maker's own devices.
    explicit DeviceStore(const QString& makerPrefix);

    int size() const { return m_devices.size(); }
    int makerCount() const { return m_makerCount; }
    int otherCount() const { return m_devices.size() - m_makerCount; }

    // All lookups ignore the letter case of the DevEUI.
    bool contains(const QString& devEui) const;
    QJsonObject device(const QString& devEui) const;
    QJsonArray devices() const;                       // ordered by DevEUI
    QString ownerOfDevAddress(qint32 devAddress) const; // empty when unused

    void insert(const QJsonObject& device);           // device carries "devEui"
    void update(const QJsonObject& device);
    bool remove(const QString& devEui);

    // A device that has been heard (sent an uplink) takes some settings only
    // through MAC commands.
    void markHeard(const QString& devEui);
    bool isHeard(const QString& devEui) const;

private:
    struct Entry
    {
        QJsonObject device;
        bool heard = false;
    };

    bool isMakers(const QString& devEui) const;
    void indexAddress(const QJsonObject& device, const QString& devEui);
    void unindexAddress(const QJsonObject& device);

    QString m_makerPrefix;
    QMap<QString, Entry> m_devices;
    QHash<qint32, QString> m_devAddressOwners;
    int m_makerCount = 0;
};

} // namespace DevServer
