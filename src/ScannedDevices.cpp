#include "ScannedDevices.h"

#include "CSettings.h"
#include "Diagnostics.h"
#include "LogOutputWidget.h"
#include "ProtocolKeys.h"
#include "QtCompat.h"
#include "SingleInstance.h"

#include <QFile>
#include <QMessageBox>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
SingleInstance<ScannedDevices> record;

// The operator is told of every devices-file failure: that file is the
// shift's paper trail.
bool isPipe(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
           && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
#else
    // Windows keeps its pipes apart, under \\.\pipe\, and opening one there
    // fails at once when no server waits on it.
    Q_UNUSED(path)
    return false;
#endif
}

void showFileError(const QString& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Error"), text, QMessageBox::Ok);
    box.exec();
}
} // namespace

ScannedDevices::ScannedDevices(QObject* parent)
    : QObject(parent)
{
}

ScannedDevices* ScannedDevices::instance(QObject* parent)
{
    return record.get([parent] { return new ScannedDevices(parent); });
}

void ScannedDevices::addDevice(const QString& devEui)
{
    const QString key = devEui.toUpper();
    m_firstEntry.insert(key, m_firstEntry.value(key, m_devices.size()));
    m_devices.append({devEui, key});
    emit devicesChanged(m_devices.size());
    if (m_devices.size() == 24)
        emit amountReached();
}

// Looked up through the index: a walk of the list on every registration
// grew with the square of a shift's (or an import's) devices.
ScannedDevices::Entry* ScannedDevices::find(const QString& devEui)
{
    const auto first = m_firstEntry.constFind(devEui.toUpper());
    return first != m_firstEntry.constEnd() ? &m_devices[*first] : nullptr;
}

void ScannedDevices::setDeviceState(const QString& devEui, int state)
{
    if (Entry* entry = find(devEui))
        entry->state = state;
}

int ScannedDevices::deviceState(const QString& devEui) const
{
    const auto first = m_firstEntry.constFind(devEui.toUpper());
    return first != m_firstEntry.constEnd() ? m_devices.at(*first).state : -1;
}

void ScannedDevices::removeDevice(const QString& devEui)
{
    const QString key = devEui.toUpper();
    m_devices.erase(std::remove_if(m_devices.begin(), m_devices.end(),
                                   [&key](const Entry& e) { return e.key == key; }),
                    m_devices.end());
    reindex();
    emit devicesChanged(m_devices.size());
}

void ScannedDevices::registrationSent(const QString& devEui)
{
    if (!find(devEui))
        addDevice(devEui);
    setDeviceState(devEui, 0);
}

void ScannedDevices::registrationAnswered(const QString& devEui, const QString& status)
{
    Entry* entry = find(devEui);
    if (!entry)
        return;
    if (status == ProtocolKeys::Status::added)
        entry->addedByServer = true;
    else if (!entry->addedByServer)
        removeDevice(devEui);
}

void ScannedDevices::reindex()
{
    m_firstEntry.clear();
    for (int i = m_devices.size() - 1; i >= 0; --i)
        m_firstEntry.insert(m_devices.at(i).key, i);
}

void ScannedDevices::clearDevices()
{
    m_devices.clear();
    m_firstEntry.clear();
    emit devicesChanged(0);
}

QStringList ScannedDevices::deviceEuis() const
{
    QStringList euis;
    euis.reserve(m_devices.size());
    for (const Entry& entry : m_devices)
        euis.append(entry.devEui);
    return euis;
}

QString ScannedDevices::deviceBlock(const CLoraDeviceInfo& info)
{
    const QString devAddr = QStringLiteral("%1").arg(quint32(info.devAddress), 8, 16, QLatin1Char('0')).toUpper();
    QString block;
    block += QStringLiteral("devName:") + info.devName + QLatin1Char('\n');
    block += QStringLiteral("DevEui:") + info.devEui + QLatin1Char('\n');
    block += QStringLiteral("AppEui:") + info.appEui + QLatin1Char('\n');
    block += QStringLiteral("AppKey:") + info.appKey + QLatin1Char('\n');
    block += QStringLiteral("DevAddr:") + devAddr + QLatin1Char('\n');
    block += QStringLiteral("AppSKey:") + info.appsKey + QLatin1Char('\n');
    block += QStringLiteral("NwkSKEY:") + info.nwksKey + QLatin1Char('\n');
    block += ProtocolKeys::separator + QLatin1Char('\n');
    return block;
}

bool ScannedDevices::writeDeviceToFile(const CLoraDeviceInfo& info)
{
    const QString fileName = currentDevicesFileName;
    if (isPipe(fileName)) {
        // Opening it would wait for a reader that may never come, and Add with it.
        DIAG() << "Ошибка записи файла";
        showFileError(QStringLiteral("Not a regular file: %1").arg(fileName));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        showFileError(file.errorString());
        return false;
    }

    QTextStream stream(&file);
    QtCompat::useUtf8(stream);
    stream << deviceBlock(info);
    stream.flush();
    const bool written = stream.status() == QTextStream::Ok && file.flush()
                         && file.error() == QFileDevice::NoError;
    file.close();

    if (!written) {
        // Never confirm a block that did not reach the disk.
        DIAG() << "Ошибка записи файла";
        showFileError(file.errorString());
        return false;
    }

    LogOutputWidget::instance()->appendMessage(
        QStringLiteral("Устройство UID: %1 добавлено на сервер и записано в файл %2").arg(info.devEui, fileName),
        QStringLiteral("black"));
    return true;
}
