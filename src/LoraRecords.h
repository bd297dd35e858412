#pragma once

#include <QMetaType>
#include <QString>

// One device: identity, keys and radio settings. Negative numbers (or -1,
// -1.0, 0 where noted) mean "not given" to the registration request builder.
struct CLoraDeviceInfo
{
    QString devEui;
    QString appEui;
    QString appKey;
    qint32 devAddress = 0;
    QString appsKey;
    QString nwksKey;
    QString devName;
    QString devClass;          // "CLASS_A" or "CLASS_C"
    QString freqPlan;          // "RU868", "EU868" or "custom"
    qint32 freq4 = 0;
    qint32 freq5 = 0;
    qint32 freq6 = 0;
    qint32 freq7 = 0;
    qint32 freq8 = 0;
    qint32 freqRx2 = 0;
    qint32 rxWindow = 0;
    qint32 delayRx1 = 0;
    qint32 delayJoin1 = 0;
    qint32 reactionTime = 0;
    qint32 altitude = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    qint32 preferDr = 0;
    qint32 preferPower = 0;
    qint32 drRx2 = 0;
    qint32 foundMarker = 0;    // 1: listed by the server; -1: registered without class C settings
    bool useDownlinkQueueClassC = false;
    bool serverAdrEnable = false;
    bool channel1En = false;
    bool channel2En = false;
    bool channel3En = false;
    bool channel4En = false;
    bool channel5En = false;
    bool channel6En = false;
    bool channel7En = false;
    bool channel8En = false;
    bool channel9En = false;
    bool channel10En = false;
    bool channel11En = false;
    bool channel12En = false;
    bool channel13En = false;
    bool channel14En = false;
    bool channel15En = false;
    bool channel16En = false;
    bool abpPresent = false;
    bool otaaPresent = false;

    static constexpr int channelCount = 16;
    // The flag of channel 1 to channelCount.
    bool channelEnabled(int channel) const { return this->*channelFlag(channel); }
    void setChannelEnabled(int channel, bool enabled) { this->*channelFlag(channel) = enabled; }

    bool existABP() const { return abpPresent; }
    bool existOTAA() const { return otaaPresent; }
    bool isValid() const { return !devEui.isEmpty() && !appEui.isEmpty() && !appKey.isEmpty(); }

private:
    // The flags are separate fields, as the protocol names them.
    static bool CLoraDeviceInfo::*channelFlag(int channel)
    {
        static bool CLoraDeviceInfo::*const flags[channelCount] = {
            &CLoraDeviceInfo::channel1En,  &CLoraDeviceInfo::channel2En,  &CLoraDeviceInfo::channel3En,
            &CLoraDeviceInfo::channel4En,  &CLoraDeviceInfo::channel5En,  &CLoraDeviceInfo::channel6En,
            &CLoraDeviceInfo::channel7En,  &CLoraDeviceInfo::channel8En,  &CLoraDeviceInfo::channel9En,
            &CLoraDeviceInfo::channel10En, &CLoraDeviceInfo::channel11En, &CLoraDeviceInfo::channel12En,
            &CLoraDeviceInfo::channel13En, &CLoraDeviceInfo::channel14En, &CLoraDeviceInfo::channel15En,
            &CLoraDeviceInfo::channel16En,
        };
        return flags[channel - 1];
    }
};

// What the operator entered to connect.
struct CLoraAuthReq
{
    QString address;   // IPv4 address, colon, port
    QString login;
    QString password;
};

// Outcome of a login, a logout or a connection loss.
struct CloraAuthResp
{
    bool status = false;
    QString token;
    QString deviceAccess;
    QString errString;
};

// The server's device counts.
struct CloraInfoResp
{
    qint32 deviceCountOther = 0;
    qint32 deviceCountZarvo = 0;
    bool status = false;
};

Q_DECLARE_METATYPE(CLoraDeviceInfo)
Q_DECLARE_METATYPE(CLoraAuthReq)
Q_DECLARE_METATYPE(CloraAuthResp)
Q_DECLARE_METATYPE(CloraInfoResp)
