#include "DeviceRegistrar.h"

#include "DeviceRules.h"
#include "ProtocolKeys.h"

namespace DevServer {

namespace Status = ProtocolKeys::Status;

DeviceRegistrar::DeviceRegistrar(DeviceStore& store, int maxDevices)
    : m_store(store)
    , m_maxDevices(maxDevices)
{
}

DeviceRegistrar::Verdict DeviceRegistrar::manage(const QJsonValue& entry)
{
    const QJsonObject device = entry.toObject();
    const QString givenEui = device.value(ProtocolKeys::devEui).toString();
    if (!entry.isObject() || !DeviceRules::isHexText(givenEui, 16))
        return {givenEui, Status::invalidDevEui};
    const QString devEui = givenEui.toUpper();

    QJsonObject otaa;
    if (device.contains(ProtocolKeys::otaa)) {
        const QString fault = DeviceRules::checkOtaa(device.value(ProtocolKeys::otaa), &otaa);
        if (!fault.isEmpty())
            return {devEui, fault};
    }
    QJsonObject abp;
    if (device.contains(ProtocolKeys::abp)) {
        const QString fault = DeviceRules::checkAbp(device.value(ProtocolKeys::abp), &abp);
        if (!fault.isEmpty())
            return {devEui, fault};
    }
    QJsonObject settings;
    const QString fault = DeviceRules::checkSettings(device, &settings);
    if (!fault.isEmpty())
        return {devEui, fault};

    if (m_store.contains(devEui))
        return updateKnown(devEui, otaa, abp, settings);
    return addNew(devEui, otaa, abp, settings);
}

DeviceRegistrar::Verdict DeviceRegistrar::updateKnown(const QString& devEui, const QJsonObject& otaa,
                                                      const QJsonObject& abp, const QJsonObject& settings)
{
    const QJsonObject stored = m_store.device(devEui);
    // Keys are fixed once registered; sending the same ones again is no fault,
    // since the program resends the scanned keys with every registration.
    if (!otaa.isEmpty() && stored.value(ProtocolKeys::otaa).toObject() != otaa)
        return {devEui, Status::reginfoAlreadyExist};
    if (!abp.isEmpty() && stored.value(ProtocolKeys::abp).toObject() != abp)
        return {devEui, Status::abpReginfoAlreadyExist};
    if (settings.isEmpty())
        return {devEui, Status::emptyDataForUpdate};

    const QJsonObject updated = DeviceRules::merged(stored, settings);
    if (updated == stored)
        return {devEui, Status::nothingToUpdate};
    if (m_store.isHeard(devEui) && DeviceRules::macManagedChanged(stored, updated))
        return {devEui, Status::updateViaMacBuffer};
    m_store.update(updated);
    return {devEui, Status::updated};
}

DeviceRegistrar::Verdict DeviceRegistrar::addNew(const QString& devEui, const QJsonObject& otaa,
                                                 const QJsonObject& abp, const QJsonObject& settings)
{
    if (otaa.isEmpty() && abp.isEmpty())
        return {devEui, Status::noRegisterKeys};
    if (!abp.isEmpty() && !m_store.ownerOfDevAddress(abp.value(ProtocolKeys::devAddress).toInt()).isEmpty())
        return {devEui, Status::repetitionDevAddr};
    if (m_store.size() >= m_maxDevices)
        return {devEui, Status::maxDevCountReached};

    QJsonObject device{{ProtocolKeys::devEui, devEui},
                       {ProtocolKeys::devName, QString()},
                       {ProtocolKeys::devClass, QStringLiteral("CLASS_A")},
                       {ProtocolKeys::serverAdrEnable, false}};
    if (!otaa.isEmpty())
        device.insert(ProtocolKeys::otaa, otaa);
    if (!abp.isEmpty())
        device.insert(ProtocolKeys::abp, abp);
    m_store.insert(DeviceRules::merged(device, settings));
    return {devEui, Status::added};
}

} // namespace DevServer
