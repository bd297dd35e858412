#include "DeviceStore.h"

#include "ProtocolKeys.h"

namespace DevServer {

namespace {
QString normalisedEui(const QString& devEui) { return devEui.toUpper(); }
} // namespace

DeviceStore::DeviceStore(const QString& makerPrefix)
    : m_makerPrefix(makerPrefix.toUpper())
{
}

bool DeviceStore::contains(const QString& devEui) const
{
    return m_devices.contains(normalisedEui(devEui));
}

QJsonObject DeviceStore::device(const QString& devEui) const
{
    return m_devices.value(normalisedEui(devEui)).device;
}

QJsonArray DeviceStore::devices() const
{
    QJsonArray list;
    for (const Entry& entry : m_devices)
        list.append(entry.device);
    return list;
}

QString DeviceStore::ownerOfDevAddress(qint32 devAddress) const
{
    return m_devAddressOwners.value(devAddress);
}

void DeviceStore::insert(const QJsonObject& device)
{
    const QString devEui = normalisedEui(device.value(ProtocolKeys::devEui).toString());
    if (m_devices.contains(devEui)) {
        update(device);
        return;
    }
    m_devices.insert(devEui, Entry{device, false});
    indexAddress(device, devEui);
    if (isMakers(devEui))
        ++m_makerCount;
}

void DeviceStore::update(const QJsonObject& device)
{
    const QString devEui = normalisedEui(device.value(ProtocolKeys::devEui).toString());
    auto it = m_devices.find(devEui);
    if (it == m_devices.end()) {
        insert(device);
        return;
    }
    unindexAddress(it->device);
    it->device = device;
    indexAddress(device, devEui);
}

bool DeviceStore::remove(const QString& devEui)
{
    const auto it = m_devices.find(normalisedEui(devEui));
    if (it == m_devices.end())
        return false;
    unindexAddress(it->device);
    if (isMakers(it.key()))
        --m_makerCount;
    m_devices.erase(it);
    return true;
}

void DeviceStore::markHeard(const QString& devEui)
{
    const auto it = m_devices.find(normalisedEui(devEui));
    if (it != m_devices.end())
        it->heard = true;
}

bool DeviceStore::isHeard(const QString& devEui) const
{
    return m_devices.value(normalisedEui(devEui)).heard;
}

bool DeviceStore::isMakers(const QString& devEui) const
{
    return !m_makerPrefix.isEmpty() && devEui.startsWith(m_makerPrefix);
}

void DeviceStore::indexAddress(const QJsonObject& device, const QString& devEui)
{
    const QJsonObject abp = device.value(ProtocolKeys::abp).toObject();
    if (abp.contains(ProtocolKeys::devAddress))
        m_devAddressOwners.insert(abp.value(ProtocolKeys::devAddress).toInt(), devEui);
}

void DeviceStore::unindexAddress(const QJsonObject& device)
{
    const QJsonObject abp = device.value(ProtocolKeys::abp).toObject();
    if (abp.contains(ProtocolKeys::devAddress))
        m_devAddressOwners.remove(abp.value(ProtocolKeys::devAddress).toInt());
}

} // namespace DevServer
