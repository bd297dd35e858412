#include "DeviceCompletion.h"

#include "CExpertSettingsField.h"
#include "COptionalSettingsField.h"
#include "Diagnostics.h"

#include <QDate>

namespace DeviceCompletion {

CLoraDeviceInfo completed(CLoraDeviceInfo device, const QString& shownDevEui, const OptionalSettings& optional,
                          const ExpertSettings& expert)
{
    const QString devEuiTemplate = QStringLiteral("%deveui");
    const QString dateTemplate = QStringLiteral("%date");
    QString name = optional.device.name;
    if (name.contains(devEuiTemplate))
        name.replace(devEuiTemplate, shownDevEui);
    else
        DIAG() << "NO %deveui";
    if (name.contains(dateTemplate))
        name.replace(dateTemplate, QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    else
        DIAG() << "NO %date";
    device.devName = name;
    DIAG() << "devname: " << name;

    // Class and its class C options
    if (!optional.device.deviceClass.isEmpty())
        device.devClass = optional.device.deviceClass;
    if (optional.device.deviceClass == QLatin1String("CLASS_C") && optional.classC.enabled) {
        device.reactionTime = optional.classC.reactionTime;
        device.useDownlinkQueueClassC = optional.classC.useDownlinkQueue;
    } else {
        device.reactionTime = -1;
        device.foundMarker = -1;
    }

    // Channels and frequencies are taken whether or not their group is open;
    // the form has no channels beyond its eight.
    const FreqPlanSettings& plan = optional.freqPlan;
    const int formChannels = static_cast<int>(plan.channelEnabled.size());
    for (int channel = 1; channel <= CLoraDeviceInfo::channelCount; ++channel)
        device.setChannelEnabled(channel, channel <= formChannels && plan.channelEnabled[channel - 1]);
    device.freq4 = plan.freq4;
    device.freq5 = plan.freq5;
    device.freq6 = plan.freq6;
    device.freq7 = plan.freq7;
    device.freq8 = plan.freq8;
    device.freqRx2 = plan.freqRx2;

    // Expert values: a collapsed group means "not given" (-1) to the server.
    const bool adrOn = expert.anyEnabled && expert.adr.enabled;
    const bool rxOn = expert.anyEnabled && expert.rx.enabled;
    const bool locationOn = expert.anyEnabled && expert.location.enabled;
    if (adrOn)
        device.serverAdrEnable = expert.adr.serverAdr;
    device.preferDr = adrOn ? expert.adr.preferDr : -1;
    device.preferPower = adrOn ? expert.adr.preferPower : -1;
    device.rxWindow = rxOn ? expert.rx.rxWindow : -1;
    device.delayRx1 = rxOn ? expert.rx.rx1Delay : -1;
    device.drRx2 = rxOn ? expert.rx.rx2Dr : -1;
    device.delayJoin1 = rxOn ? expert.rx.joinAcceptDelay : -1;
    // Stored presets may hold coordinates from before the whole globe could be typed.
    device.longitude = locationOn ? qBound(-180.0, expert.location.longitude, 180.0) : -1.0;
    device.latitude = locationOn ? qBound(-90.0, expert.location.latitude, 90.0) : -1.0;
    device.altitude = locationOn ? expert.location.altitude : -1;
    return device;
}

} // namespace DeviceCompletion
