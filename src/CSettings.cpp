#include "CSettings.h"

#include "Diagnostics.h"
#include "QtCompat.h"
#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QStringList>

const QString settingsFileName = QStringLiteral("settings.cfg");

QString currentDevicesFileName = QStringLiteral("Devices.txt");
QString currentRequestsFileName = QStringLiteral("Zapros.txt");
QString currentResponsesFileName = QStringLiteral("Otvet.txt");
QString currentLastSendEui;

namespace {

const QStringList& keyList()
{
    static const QStringList keys = {
        QStringLiteral("serverIpPort"),     QStringLiteral("serverLogin"),
        QStringLiteral("serverPassword"),   QStringLiteral("language"),
        QStringLiteral("width"),            QStringLiteral("height"),
        QStringLiteral("rememberme"),       QStringLiteral("loraPresets"),
        QStringLiteral("devicesFileName"),  QStringLiteral("requestsFileName"),
        QStringLiteral("responsesFileName"), QStringLiteral("lastSendEui"),
    };
    return keys;
}

SingleInstance<CSettings> store;

// Only a regular file (or none yet) can hold the store. A pipe of that name
// would block the first read for ever and a device is no place for settings:
// both are then taken as a file that cannot be read or written, through a
// path under them that can never be opened.
QString storePath()
{
    const QString path = QDir::current().absoluteFilePath(settingsFileName);
    const QFileInfo info(path);
    if (!info.exists() || info.isFile() || info.isDir())
        return path;
    return path + QLatin1Char('/') + settingsFileName;
}

// Whether the file now holds the value under the key. Read from a copy: any
// settings object on the file itself shares the store's unwritten values.
bool isOnDisk(const QString& fileName, const QString& key, const QVariant& value)
{
    QFile file(fileName);
    QTemporaryFile copy;
    if (!file.open(QIODevice::ReadOnly) || !copy.open() || copy.write(file.readAll()) != file.size())
        return false;
    copy.close();
    QSettings reader(copy.fileName(), QSettings::IniFormat);
    QtCompat::useUtf8(reader);   // as the store writes it, or any non-Latin value reads as lost
    const QVariant stored = reader.value(key);
    return stored.isValid() && stored.toByteArray() == value.toByteArray();
}

} // namespace

CSettings::CSettings(const QString& fileName, QObject* parent)
    : QSettings(fileName, QSettings::IniFormat, parent)
{
    QtCompat::useUtf8(*this);
}

CSettings* CSettings::instance(QObject* parent)
{
    return store.get([parent] { return new CSettings(storePath(), parent); });
}

QString CSettings::keyName(int key)
{
    return (key >= 0 && key < keyList().size()) ? keyList().at(key) : QString();
}

QVariant CSettings::readValue(const ESettings& key, const QVariant& defaultValue)
{
    const QString name = keyName(key);
    const QVariant result = name.isEmpty() ? QVariant() : instance()->value(name, defaultValue);
    // A huge stored value (presets) is traced by its size, not printed whole.
    constexpr int longestTraced = 4096;
    if (key == serverPassword)
        DIAG() << Diagnostics::masked(result.toString());
    else if (result.toByteArray().size() > longestTraced)
        DIAG() << result.typeName() << "of" << result.toByteArray().size() << "bytes";
    else
        DIAG() << result;
    return result;
}

bool CSettings::writeValue(const ESettings& key, const QVariant& value)
{
    const QString name = keyName(key);
    CSettings* settings = store.peek();
    if (name.isEmpty() || !settings) {
        DIAG() << "OUT false";
        return false;
    }
    // The store keeps its first error for good (a hand-written comment line
    // read at start-up is one): only a store without one can vouch for this write.
    const bool clean = settings->status() == QSettings::NoError;
    settings->setValue(name, value);
    settings->sync();
    // A file that could not be written must not be reported as stored.
    const bool stored = clean ? settings->status() == QSettings::NoError
                              : isOnDisk(settings->fileName(), name, value);
    DIAG() << (stored ? "OUT true" : "OUT false");
    return stored;
}

void CSettings::ensureDefaults()
{
    const auto ensure = [](ESettings key, const QString& value) {
        if (!readValue(key, QVariant()).isValid())
            writeValue(key, value);
    };
    ensure(devicesFileName, currentDevicesFileName);
    ensure(requestsFileName, currentRequestsFileName);
    ensure(responsesFileName, currentResponsesFileName);
    ensure(lastSendEui, currentLastSendEui);
}
