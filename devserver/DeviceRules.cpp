#include "DeviceRules.h"

#include "ProtocolKeys.h"
#include "ServerWords.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace DevServer::DeviceRules {

namespace Status = ProtocolKeys::Status;

namespace {

// JSON has one number type; a setting that must be whole is refused when it
// has a fraction or lies outside [min, max].
bool toInteger(const QJsonValue& value, qint64 min, qint64 max, qint64* out)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::floor(number) != number)
        return false;
    if (number < double(min) || number > double(max))
        return false;
    *out = qint64(number);
    return true;
}

bool inRange(const QJsonValue& value, double min, double max)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    return std::isfinite(number) && number >= min && number <= max;
}

const QStringList& frequencyMembers()
{
    static const QStringList members = {ProtocolKeys::freq4, ProtocolKeys::freq5, ProtocolKeys::freq6,
                                        ProtocolKeys::freq7, ProtocolKeys::freq8};
    return members;
}

// One integer setting: copied into the normalised object when it is present
// and within range, otherwise the given status word.
QString takeInteger(const QJsonObject& entry, const QString& key, qint64 min, qint64 max,
                    const QString& fault, QJsonObject* normalised)
{
    if (!entry.contains(key))
        return {};
    qint64 value = 0;
    if (!toInteger(entry.value(key), min, max, &value))
        return fault;
    normalised->insert(key, value);
    return {};
}

QString takeBool(const QJsonObject& entry, const QString& key, QJsonObject* normalised)
{
    if (!entry.contains(key))
        return {};
    if (!entry.value(key).isBool())
        return Words::invalidParameter;
    normalised->insert(key, entry.value(key));
    return {};
}

QString checkClass(const QJsonObject& entry, QJsonObject* normalised)
{
    if (!entry.contains(ProtocolKeys::devClass))
        return {};
    const QString deviceClass = entry.value(ProtocolKeys::devClass).toString();
    if (deviceClass == QLatin1String("CLASS_B"))
        return Status::unsupportClass;
    if (deviceClass != QLatin1String("CLASS_A") && deviceClass != QLatin1String("CLASS_C"))
        return Status::invalidClass;
    normalised->insert(ProtocolKeys::devClass, deviceClass);
    return {};
}

QString checkFrequencyPlan(const QJsonObject& entry, QJsonObject* normalised)
{
    if (!entry.contains(ProtocolKeys::frequencyPlan))
        return {};
    const QJsonValue section = entry.value(ProtocolKeys::frequencyPlan);
    if (!section.isObject())
        return Status::invalidFrequencyPlan;
    const QJsonObject plan = section.toObject();
    QJsonObject channels;
    for (const QString& key : frequencyMembers()) {
        if (!plan.contains(key))
            continue;
        // 0 leaves the channel undefined, as a LoRaWAN channel set-up does.
        qint64 hz = 0;
        if (!toInteger(plan.value(key), 0, maxFrequencyHz, &hz) || (hz != 0 && hz < minFrequencyHz))
            return Status::invalidFrequencyPlan;
        channels.insert(key, hz);
    }
    if (channels.isEmpty())
        return Status::frequencyPlanIsAbsant;
    normalised->insert(ProtocolKeys::frequencyPlan, channels);
    return {};
}

QString checkChannelMask(const QJsonObject& entry, QJsonObject* normalised)
{
    if (!entry.contains(ProtocolKeys::channelMask))
        return {};
    const QJsonValue section = entry.value(ProtocolKeys::channelMask);
    if (!section.isObject())
        return Status::invalidChannelMaskParamList;
    const QJsonObject given = section.toObject();
    QJsonObject mask;
    bool anyEnabled = false;
    for (int channel = 1; channel <= 16; ++channel) {
        const QJsonValue flag = given.value(ProtocolKeys::channelEn(channel));
        if (!flag.isBool())
            return Status::invalidChannelMaskParamList;
        anyEnabled = anyEnabled || flag.toBool();
        mask.insert(ProtocolKeys::channelEn(channel), flag);
    }
    // A device with every channel off could never be heard again.
    if (!anyEnabled)
        return Status::invalidChannelMaskParamList;
    normalised->insert(ProtocolKeys::channelMask, mask);
    return {};
}

// Whole dBm between the lowest and the highest power the devices offer.
QString checkPower(const QJsonObject& entry, QJsonObject* normalised)
{
    return takeInteger(entry, ProtocolKeys::preferPower, minPowerDbm, maxPowerDbm, Status::invalidPower, normalised);
}

QString checkName(const QJsonObject& entry, QJsonObject* normalised)
{
    if (!entry.contains(ProtocolKeys::devName))
        return {};
    const QJsonValue name = entry.value(ProtocolKeys::devName);
    if (!name.isString() || name.toString().size() > maxNameLength)
        return Words::invalidParameter;
    // The program sends an empty name when it has none: never erase a stored one.
    if (!name.toString().isEmpty())
        normalised->insert(ProtocolKeys::devName, name);
    return {};
}

QString checkPosition(const QJsonObject& entry, QJsonObject* normalised)
{
    if (!entry.contains(ProtocolKeys::position))
        return {};
    const QJsonValue section = entry.value(ProtocolKeys::position);
    if (!section.isObject())
        return Words::invalidParameter;
    const QJsonObject given = section.toObject();
    QJsonObject position;
    if (given.contains(ProtocolKeys::latitude)) {
        if (!inRange(given.value(ProtocolKeys::latitude), -90.0, 90.0))
            return Words::invalidParameter;
        position.insert(ProtocolKeys::latitude, given.value(ProtocolKeys::latitude));
    }
    if (given.contains(ProtocolKeys::longitude)) {
        if (!inRange(given.value(ProtocolKeys::longitude), -180.0, 180.0))
            return Words::invalidParameter;
        position.insert(ProtocolKeys::longitude, given.value(ProtocolKeys::longitude));
    }
    const QString fault = takeInteger(given, ProtocolKeys::altitude, std::numeric_limits<qint32>::min(),
                                      std::numeric_limits<qint32>::max(), Words::invalidParameter, &position);
    if (!fault.isEmpty())
        return fault;
    if (!position.isEmpty())
        normalised->insert(ProtocolKeys::position, position);
    return {};
}

} // namespace

bool isHexText(const QString& text, int digits)
{
    if (text.size() != digits)
        return false;
    for (const QChar c : text) {
        const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!hex)
            return false;
    }
    return true;
}

QString checkOtaa(const QJsonValue& section, QJsonObject* normalised)
{
    const QJsonObject otaa = section.toObject();
    const QJsonValue appEui = otaa.value(ProtocolKeys::appEui);
    const QJsonValue appKey = otaa.value(ProtocolKeys::appKey);
    if (!section.isObject() || !appEui.isString() || !appKey.isString())
        return Status::invalidOtaaParamList;
    if (!isHexText(appEui.toString(), 16))
        return Status::invalidOtaaParamList;
    if (!isHexText(appKey.toString(), 32))
        return Status::invalidAppKeyValue;
    *normalised = QJsonObject{{ProtocolKeys::appEui, appEui.toString().toUpper()},
                              {ProtocolKeys::appKey, appKey.toString().toUpper()}};
    return {};
}

QString checkAbp(const QJsonValue& section, QJsonObject* normalised)
{
    const QJsonObject abp = section.toObject();
    const QJsonValue appsKey = abp.value(ProtocolKeys::appsKey);
    const QJsonValue nwksKey = abp.value(ProtocolKeys::nwksKey);
    if (!section.isObject() || !appsKey.isString() || !nwksKey.isString())
        return Status::invalidAbpParamList;
    // The program leaves a DevAddr of 0 out, so a missing one is a zero one.
    // It writes DevAddr as a signed 32-bit number; an unsigned one is accepted
    // too and stored the program's way.
    qint64 address = 0;
    if (!toInteger(abp.value(ProtocolKeys::devAddress), std::numeric_limits<qint32>::min(),
                   std::numeric_limits<quint32>::max(), &address)
        || address == 0)
        return Status::invalidDevAddrValue;
    if (!isHexText(appsKey.toString(), 32) || !isHexText(nwksKey.toString(), 32))
        return Status::invalidSessionKeyValue;
    *normalised = QJsonObject{{ProtocolKeys::devAddress, qint32(quint32(address))},
                              {ProtocolKeys::appsKey, appsKey.toString().toUpper()},
                              {ProtocolKeys::nwksKey, nwksKey.toString().toUpper()}};
    return {};
}

QString checkSettings(const QJsonObject& entry, QJsonObject* normalised)
{
    using Check = QString (*)(const QJsonObject&, QJsonObject*);
    // Order decides which word a device with several faults gets.
    static const Check checks[] = {
        checkClass,
        [](const QJsonObject& e, QJsonObject* n) {
            return takeInteger(e, ProtocolKeys::reactionTime, 0, maxReactionTimeMs,
                               Words::invalidParameter, n);
        },
        [](const QJsonObject& e, QJsonObject* n) {
            return takeBool(e, ProtocolKeys::useDownlinkQueueClassC, n);
        },
        checkFrequencyPlan,
        [](const QJsonObject& e, QJsonObject* n) {
            return takeInteger(e, ProtocolKeys::freqRx2, minFrequencyHz, maxFrequencyHz,
                               Status::invalidFrequencyPlan, n);
        },
        checkChannelMask,
        [](const QJsonObject& e, QJsonObject* n) {
            return takeInteger(e, ProtocolKeys::rxWindow, 1, 2, Status::invalidRxWindow, n);
        },
        [](const QJsonObject& e, QJsonObject* n) {
            QString fault = takeInteger(e, ProtocolKeys::delayRx1, minDelaySeconds, maxDelaySeconds,
                                        Status::invalidDelay, n);
            if (fault.isEmpty())
                fault = takeInteger(e, ProtocolKeys::delayJoin1, minDelaySeconds, maxDelaySeconds,
                                    Status::invalidDelay, n);
            return fault;
        },
        [](const QJsonObject& e, QJsonObject* n) {
            QString fault = takeInteger(e, ProtocolKeys::preferDr, 0, maxDataRate, Status::invalidDataRate, n);
            if (fault.isEmpty())
                fault = takeInteger(e, ProtocolKeys::drRx2, 0, maxDataRate, Status::invalidDataRate, n);
            return fault;
        },
        checkPower,
        checkName,
        [](const QJsonObject& e, QJsonObject* n) { return takeBool(e, ProtocolKeys::serverAdrEnable, n); },
        checkPosition,
    };
    QJsonObject settings;
    for (const Check check : checks) {
        const QString fault = check(entry, &settings);
        if (!fault.isEmpty())
            return fault;
    }
    *normalised = settings;
    return {};
}

QJsonObject merged(const QJsonObject& stored, const QJsonObject& settings)
{
    QJsonObject result = stored;
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        const QJsonValue old = result.value(it.key());
        if (it.value().isObject() && old.isObject()) {
            QJsonObject inner = old.toObject();
            const QJsonObject given = it.value().toObject();
            for (auto member = given.begin(); member != given.end(); ++member)
                inner.insert(member.key(), member.value());
            result.insert(it.key(), inner);
        } else {
            result.insert(it.key(), it.value());
        }
    }
    return result;
}

bool macManagedChanged(const QJsonObject& before, const QJsonObject& after)
{
    static const QStringList macManaged = {ProtocolKeys::delayRx1, ProtocolKeys::drRx2, ProtocolKeys::freqRx2,
                                           ProtocolKeys::frequencyPlan, ProtocolKeys::channelMask};
    for (const QString& key : macManaged) {
        if (before.value(key) != after.value(key))
            return true;
    }
    return false;
}

} // namespace DevServer::DeviceRules
