#pragma once

#include "LoraRecords.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

// The devices this run added to the server: in memory for the counter, the
// data exchange and "delete added devices"; every device sent for
// registration is also appended to the devices file. DevEUIs are matched
// without regard to case.
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

    // A device sent for registration counts at once, one entry per DevEUI.
    // It stays only if the server says "added" for it in this run: any other
    // verdict for a device the run never added (it was on the server before,
    // or was refused) takes it out again, so "delete added devices" never
    // removes what this run did not put there.
    void registrationSent(const QString& devEui);
    void registrationAnswered(const QString& devEui, const QString& status);

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
        QString key;   // upper case: the server answers so, whatever it was sent in
        int state = 0;
        bool addedByServer = false;   // the server said "added" for it in this run
    };
    Entry* find(const QString& devEui);

    void reindex();

    QList<Entry> m_devices;
    // The first entry of each DevEUI, by its upper-case key.
    QHash<QString, int> m_firstEntry;
};
