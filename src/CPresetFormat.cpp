#include "CPresetFormat.h"

#include "CSettings.h"
#include "ProtocolKeys.h"

#include <QJsonDocument>

#include <initializer_list>

namespace PK = ProtocolKeys;

namespace {

// Member names of the stored format; where the word is the protocol's own,
// the protocol constant is used.
const QString presetKey = QStringLiteral("preset");
const QString settingsKey = QStringLiteral("settings");
const QString adaptiveDataRateKey = QStringLiteral("adaptiveDataRate");
const QString rxDeviceSettingsKey = QStringLiteral("rxDeviceSettings");
const QString deviceKey = QStringLiteral("device");
const QString freqPlanKey = QStringLiteral("freqPlan");

constexpr int storedChannels = 8;

int freqAt(const FreqPlanSettings& plan, int index)
{
    const int values[] = {plan.freq4, plan.freq5, plan.freq6, plan.freq7, plan.freq8};
    return values[index];
}

int* freqSlot(FreqPlanSettings& plan, int index)
{
    int* fields[] = {&plan.freq4, &plan.freq5, &plan.freq6, &plan.freq7, &plan.freq8};
    return fields[index];
}

QString freqKey(int index)
{
    const QString keys[] = {PK::freq4, PK::freq5, PK::freq6, PK::freq7, PK::freq8};
    return keys[index];
}

QJsonObject section(const QJsonObject& preset, const QString& key)
{
    return preset.value(settingsKey).toObject().value(key).toObject();
}

// Whether a form value differs from the stored one, and the label that says so.
struct Comparison
{
    bool differs;
    const char* label;
};

const char* firstDifference(std::initializer_list<Comparison> comparisons)
{
    for (const Comparison& comparison : comparisons) {
        if (comparison.differs)
            return comparison.label;
    }
    return nullptr;
}

} // namespace

QJsonObject CPresetFormat::toJson(const QString& presetName, const ExpertSettings& expert,
                                  const OptionalSettings& optional)
{
    QJsonObject adaptiveDataRate;
    adaptiveDataRate.insert(PK::preferDr, expert.adr.preferDr);
    adaptiveDataRate.insert(PK::preferPower, expert.adr.preferPower);

    QJsonObject rx;
    rx.insert(PK::rxWindow, expert.rx.rxWindow);
    rx.insert(PK::delayRx1, expert.rx.rx1Delay);
    rx.insert(PK::drRx2, expert.rx.rx2Dr);
    rx.insert(PK::delayJoin1, expert.rx.joinAcceptDelay);

    QJsonObject position;
    position.insert(PK::altitude, expert.location.altitude);
    position.insert(PK::latitude, expert.location.latitude);
    position.insert(PK::longitude, expert.location.longitude);

    // The stored name carries the preset's own name as a prefix, once: a form
    // filled from this preset already shows it.
    const QString prefix = presetName + QLatin1Char('_');
    const QString& name = optional.device.name;
    QJsonObject device;
    device.insert(PK::devName, name.startsWith(prefix) ? name : prefix + name);
    device.insert(PK::devClass, optional.device.deviceClass);

    QJsonObject freqPlan;
    freqPlan.insert(freqPlanKey, optional.freqPlan.plan);
    for (int i = 0; i < 5; ++i)
        freqPlan.insert(freqKey(i), freqAt(optional.freqPlan, i));
    freqPlan.insert(PK::freqRx2, optional.freqPlan.freqRx2);
    for (int channel = 1; channel <= storedChannels; ++channel)
        freqPlan.insert(PK::channelEn(channel), optional.freqPlan.channelEnabled[channel - 1]);

    QJsonObject settings;
    settings.insert(adaptiveDataRateKey, adaptiveDataRate);
    settings.insert(rxDeviceSettingsKey, rx);
    settings.insert(PK::position, position);
    settings.insert(deviceKey, device);
    settings.insert(freqPlanKey, freqPlan);
    settings.insert(PK::serverAdrEnable, expert.adr.serverAdr);

    QJsonObject preset;
    preset.insert(presetKey, presetName);
    preset.insert(settingsKey, settings);
    return preset;
}

QString CPresetFormat::name(const QJsonObject& preset)
{
    return preset.value(presetKey).toString();
}

ExpertSettings CPresetFormat::expertSettings(const QJsonObject& preset)
{
    const QJsonObject adaptiveDataRate = section(preset, adaptiveDataRateKey);
    const QJsonObject rx = section(preset, rxDeviceSettingsKey);
    const QJsonObject position = section(preset, PK::position);

    ExpertSettings expert;
    expert.adr.preferDr = adaptiveDataRate.value(PK::preferDr).toInt();
    expert.adr.preferPower = adaptiveDataRate.value(PK::preferPower).toInt();
    expert.adr.serverAdr = preset.value(settingsKey).toObject().value(PK::serverAdrEnable).toBool();
    expert.rx.joinAcceptDelay = rx.value(PK::delayJoin1).toInt();
    expert.rx.rx1Delay = rx.value(PK::delayRx1).toInt();
    expert.rx.rx2Dr = rx.value(PK::drRx2).toInt();
    expert.rx.rxWindow = rx.value(PK::rxWindow).toInt();
    expert.location.altitude = position.value(PK::altitude).toInt();
    expert.location.latitude = position.value(PK::latitude).toDouble();
    expert.location.longitude = position.value(PK::longitude).toDouble();
    return expert;
}

OptionalSettings CPresetFormat::optionalSettings(const QJsonObject& preset)
{
    const QJsonObject device = section(preset, deviceKey);
    const QJsonObject freqPlan = section(preset, freqPlanKey);

    OptionalSettings optional;
    optional.device.deviceClass = device.value(PK::devClass).toString();
    optional.device.name = device.value(PK::devName).toString();
    for (int i = 0; i < 5; ++i)
        *freqSlot(optional.freqPlan, i) = freqPlan.value(freqKey(i)).toInt();
    optional.freqPlan.freqRx2 = freqPlan.value(PK::freqRx2).toInt();
    for (int channel = 1; channel <= storedChannels; ++channel)
        optional.freqPlan.channelEnabled[channel - 1] = freqPlan.value(PK::channelEn(channel)).toBool();
    optional.freqPlan.plan = freqPlan.value(freqPlanKey).toString();
    return optional;
}

QJsonObject CPresetFormat::lastNamed(const QJsonArray& presets, const QString& presetName)
{
    const int index = lastIndexOf(presets, presetName);
    return index < 0 ? QJsonObject() : presets.at(index).toObject();
}

int CPresetFormat::lastIndexOf(const QJsonArray& presets, const QString& presetName)
{
    for (int i = presets.size() - 1; i >= 0; --i) {
        if (name(presets.at(i).toObject()) == presetName)
            return i;
    }
    return -1;
}

QJsonArray CPresetFormat::withSaved(QJsonArray presets, const QJsonObject& preset)
{
    const int existing = lastIndexOf(presets, name(preset));
    if (existing >= 0)
        presets.removeAt(existing);
    presets.append(preset);
    return presets;
}

QJsonArray CPresetFormat::parse(const QString& stored)
{
    return QJsonDocument::fromJson(stored.toUtf8()).array();
}

QString CPresetFormat::storedText()
{
    return CSettings::readValue(CSettings::loraPresets, QVariant()).toString();
}

bool CPresetFormat::store(const QJsonArray& presets)
{
    return CSettings::writeValue(CSettings::loraPresets, QJsonDocument(presets).toJson(QJsonDocument::Compact));
}

const char* CPresetFormat::expertDifference(const ExpertSettings& form, const ExpertSettings& saved)
{
    return firstDifference({
        {form.adr.serverAdr != saved.adr.serverAdr, "srvEnableADR"},
        {form.adr.preferDr != saved.adr.preferDr, "preferDr"},
        {form.adr.preferPower != saved.adr.preferPower, "preferPower"},
        {form.rx.joinAcceptDelay != saved.rx.joinAcceptDelay, "acceptDelay"},
        {form.rx.rx1Delay != saved.rx.rx1Delay, "rx1Delay"},
        {form.rx.rx2Dr != saved.rx.rx2Dr, "rx2Dr"},
        {form.rx.rxWindow != saved.rx.rxWindow, "rxWindow"},
        {form.location.altitude != saved.location.altitude, "altitude"},
        {form.location.longitude != saved.location.longitude, "longtitude"},
        {form.location.latitude != saved.location.latitude, "latitude"},
    });
}

const char* CPresetFormat::optionalDifference(const OptionalSettings& form, const OptionalSettings& saved)
{
    const FreqPlanSettings& plan = form.freqPlan;
    const FreqPlanSettings& savedPlan = saved.freqPlan;
    // Labels count the five stored frequencies from 1, not from freq4.
    return firstDifference({
        {form.device.deviceClass != saved.device.deviceClass, "devClass  edited"},
        {form.device.name != saved.device.name, "devName edited"},
        {plan.freq4 != savedPlan.freq4, "freq1 edited"},
        {plan.freq5 != savedPlan.freq5, "freq2 edited"},
        {plan.freq6 != savedPlan.freq6, "freq3 edited"},
        {plan.freq7 != savedPlan.freq7, "freq4 edited"},
        {plan.freq8 != savedPlan.freq8, "freq5 edited"},
        {plan.freqRx2 != savedPlan.freqRx2, "freqRx2 edited"},
        {plan.channelEnabled[0] != savedPlan.channelEnabled[0], "mask1 edited"},
        {plan.channelEnabled[1] != savedPlan.channelEnabled[1], "mask2 edited"},
        {plan.channelEnabled[2] != savedPlan.channelEnabled[2], "mask3 edited"},
        {plan.channelEnabled[3] != savedPlan.channelEnabled[3], "mask4 edited"},
        {plan.channelEnabled[4] != savedPlan.channelEnabled[4], "mask5 edited"},
        {plan.channelEnabled[5] != savedPlan.channelEnabled[5], "mask6 edited"},
        {plan.channelEnabled[6] != savedPlan.channelEnabled[6], "mask7 edited"},
        {plan.channelEnabled[7] != savedPlan.channelEnabled[7], "mask8 edited"},
        {plan.plan != savedPlan.plan, "freq pan edited"},
    });
}
