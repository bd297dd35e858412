#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// The program's one persistent key/value store: "settings.cfg" (INI) in the
// working directory at the moment the store is created, flushed after every write.
class CSettings : public QSettings
{
    Q_OBJECT

public:
    // Named exactly as the keys they stand for. The fixed type makes any int a
    // valid value, so a number outside the list is refused, not undefined.
    enum ESettings : int {
        serverIpPort,
        serverLogin,
        serverPassword,
        language,
        width,
        height,
        rememberme,
        loraPresets,
        devicesFileName,
        requestsFileName,
        responsesFileName,
        lastSendEui
    };

    static CSettings* instance(QObject* parent = nullptr);

    static QVariant readValue(const ESettings& key, const QVariant& defaultValue);
    static bool writeValue(const ESettings& key, const QVariant& value);

    // First start: the file names and the last send EUI get their defaults
    // when absent; stored values are kept.
    static void ensureDefaults();

private:
    explicit CSettings(const QString& fileName, QObject* parent);
    static QString keyName(int key);
};

extern const QString settingsFileName;

// File names in use and the last device written to in the send dialog.
extern QString currentDevicesFileName;
extern QString currentRequestsFileName;
extern QString currentResponsesFileName;
extern QString currentLastSendEui;
