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
    m_devices.append({devEui, 0});
    emit devicesChanged(m_devices.size());
    if (m_devices.size() == 24)
        emit amountReached();
}

void ScannedDevices::setDeviceState(const QString& devEui, int state)
{
    for (Entry& entry : m_devices) {
        if (entry.devEui == devEui) {
            entry.state = state;
            return;
        }
    }
}

int ScannedDevices::deviceState(const QString& devEui) const
{
    for (const Entry& entry : m_devices) {
        if (entry.devEui == devEui)
            return entry.state;
    }
    return -1;
}

void ScannedDevices::removeDevice(const QString& devEui)
{
    m_devices.erase(std::remove_if(m_devices.begin(), m_devices.end(),
                                   [&devEui](const Entry& e) { return e.devEui == devEui; }),
                    m_devices.end());
    emit devicesChanged(m_devices.size());
}

void ScannedDevices::clearDevices()
{
    m_devices.clear();
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
