#pragma once

#include "LoraRecords.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

// The devices sent for registration in this run: in memory for the counter,
// the data exchange and "delete added devices", and appended to the devices file.
class ScannedDevices : public QObject
{
    Q_OBJECT

public:
    static ScannedDevices* instance(QObject* parent = nullptr);

    void addDevice(const QString& devEui);
    void setDeviceState(const QString& devEui, int state);
    int deviceState(const QString& devEui) const;
    void removeDevice(const QString& devEui);
    void clearDevices();
    QStringList deviceEuis() const;
    int count() const { return m_devices.size(); }

    // Appends the device's block to the devices file in use. Returns false when
    // the file could not be opened or written; the operator is told either way.
    bool writeDeviceToFile(const CLoraDeviceInfo& info);

    // The block written for one device: eight lines, each ended by a line feed.
    static QString deviceBlock(const CLoraDeviceInfo& info);

signals:
    void devicesChanged(int count);
    void amountReached();

private:
    explicit ScannedDevices(QObject* parent);

    struct Entry
    {
        QString devEui;
        int state = 0;
    };
    QList<Entry> m_devices;
    // The first entry of each DevEUI: a lookup per registration must not
    // walk a list that grows to thousands in a shift or an import.
    QHash<QString, int> m_firstEntry;
    void reindex();
};
