#pragma once

#include <QString>

// The JSON vocabulary shared with the network server. Every unit uses these
// names instead of literals, so a word is spelt in exactly one place.
namespace ProtocolKeys {

inline const QString cmd = QStringLiteral("cmd");

// Command names
inline const QString authReq = QStringLiteral("auth_req");
inline const QString authResp = QStringLiteral("auth_resp");
inline const QString closeAuthReq = QStringLiteral("close_auth_req");
inline const QString closeAuthResp = QStringLiteral("close_auth_resp");
inline const QString tokenAuthReq = QStringLiteral("token_auth_req");
inline const QString tokenAuthResp = QStringLiteral("token_auth_resp");
inline const QString manageDevicesReq = QStringLiteral("manage_devices_req");
inline const QString manageDevicesResp = QStringLiteral("manage_devices_resp");
inline const QString getDevicesReq = QStringLiteral("get_devices_req");
inline const QString getDevicesResp = QStringLiteral("get_devices_resp");
inline const QString serverInfoReq = QStringLiteral("server_info_req");
inline const QString serverInfoResp = QStringLiteral("server_info_resp");
inline const QString deleteDevicesReq = QStringLiteral("delete_devices_req");
inline const QString deleteDevicesResp = QStringLiteral("delete_devices_resp");
inline const QString rx = QStringLiteral("rx");
inline const QString sendDataReq = QStringLiteral("send_data_req");

// Login and logout
inline const QString login = QStringLiteral("login");
inline const QString password = QStringLiteral("password");
inline const QString status = QStringLiteral("status");
inline const QString token = QStringLiteral("token");
inline const QString errString = QStringLiteral("err_string");
inline const QString deviceAccess = QStringLiteral("device_access");

// Server information
inline const QString deviceCount = QStringLiteral("device_count");
inline const QString deviceCountOther = QStringLiteral("device_count_other");
inline const QString deviceCountZarvo = QStringLiteral("device_count_zarvo");

// Device lists
inline const QString devicesList = QStringLiteral("devices_list");
inline const QString devEuiList = QStringLiteral("devEui_list");
inline const QString select = QStringLiteral("select");
inline const QString deviceAddStatus = QStringLiteral("device_add_status");
inline const QString deviceDeleteStatus = QStringLiteral("device_delete_status");

// Device identity and keys
inline const QString devEui = QStringLiteral("devEui");
inline const QString devName = QStringLiteral("devName");
inline const QString devClass = QStringLiteral("class");
inline const QString abp = QStringLiteral("ABP");
inline const QString devAddress = QStringLiteral("devAddress");
inline const QString appsKey = QStringLiteral("appsKey");
inline const QString nwksKey = QStringLiteral("nwksKey");
inline const QString otaa = QStringLiteral("OTAA");
inline const QString appEui = QStringLiteral("appEui");
inline const QString appKey = QStringLiteral("appKey");

// Device radio settings
inline const QString reactionTime = QStringLiteral("reactionTime");
inline const QString useDownlinkQueueClassC = QStringLiteral("useDownlinkQueueClassC");
inline const QString frequencyPlan = QStringLiteral("frequencyPlan");
inline const QString freq4 = QStringLiteral("freq4");
inline const QString freq5 = QStringLiteral("freq5");
inline const QString freq6 = QStringLiteral("freq6");
inline const QString freq7 = QStringLiteral("freq7");
inline const QString freq8 = QStringLiteral("freq8");
inline const QString freqRx2 = QStringLiteral("freqRx2");
inline const QString rxWindow = QStringLiteral("rxWindow");
inline const QString delayRx1 = QStringLiteral("delayRx1");
inline const QString delayJoin1 = QStringLiteral("delayJoin1");
inline const QString drRx2 = QStringLiteral("drRx2");
inline const QString preferDr = QStringLiteral("preferDr");
inline const QString preferPower = QStringLiteral("preferPower");
inline const QString serverAdrEnable = QStringLiteral("serverAdrEnable");
inline const QString channelMask = QStringLiteral("channelMask");
// "channel1En" ... "channel16En"
inline QString channelEn(int channel) { return QStringLiteral("channel%1En").arg(channel); }

// Device position
inline const QString position = QStringLiteral("position");
inline const QString longitude = QStringLiteral("longitude");
inline const QString latitude = QStringLiteral("latitude");
inline const QString altitude = QStringLiteral("altitude");

// Data exchange
inline const QString dataList = QStringLiteral("data_list");
inline const QString data = QStringLiteral("data");
inline const QString port = QStringLiteral("port");
inline const QString ack = QStringLiteral("ack");
inline const QString ts = QStringLiteral("ts");
inline const QString gatewayId = QStringLiteral("gatewayId");
inline const QString fcnt = QStringLiteral("fcnt");
inline const QString snr = QStringLiteral("snr");
inline const QString macData = QStringLiteral("macData");
inline const QString freq = QStringLiteral("freq");
inline const QString dr = QStringLiteral("dr");
inline const QString rssi = QStringLiteral("rssi");
inline const QString type = QStringLiteral("type");
inline const QString packetStatus = QStringLiteral("packetStatus");

// Uplink types of an "rx" notice
inline const QString unconfUp = QStringLiteral("UNCONF_UP");
inline const QString confUp = QStringLiteral("CONF_UP");

// Registration status words ("status" of a "device_add_status" entry)
namespace Status {
inline const QString added = QStringLiteral("added");
inline const QString updated = QStringLiteral("updated");
inline const QString emptyDataForUpdate = QStringLiteral("emptyDataForUpdate");
inline const QString nothingToUpdate = QStringLiteral("nothingToUpdate");
inline const QString updateViaMacBuffer = QStringLiteral("updateViaMacBuffer");
inline const QString repetitionDevAddr = QStringLiteral("repetitionDevAddr");
inline const QString reginfoAlreadyExist = QStringLiteral("reginfoAlreadyExist");
inline const QString maxDevCountReached = QStringLiteral("maxDevCountReached");
inline const QString abpReginfoAlreadyExist = QStringLiteral("abpReginfoAlreadyExist");
inline const QString noRegisterKeys = QStringLiteral("noRegisterKeys");
inline const QString invalidDevEui = QStringLiteral("invalidDevEui");
inline const QString invalidAbpParamList = QStringLiteral("invalidAbpParamList");
inline const QString invalidDevAddrValue = QStringLiteral("invalidDevAddrValue");
inline const QString invalidSessionKeyValue = QStringLiteral("invalidSessionKeyValue");
inline const QString invalidOtaaParamList = QStringLiteral("invalidOtaaParamList");
inline const QString invalidAppKeyValue = QStringLiteral("invalidAppKeyValue");
inline const QString invalidPower = QStringLiteral("invalidPower");
inline const QString invalidChannelMaskParamList = QStringLiteral("invalidChannelMaskParamList");
inline const QString frequencyPlanIsAbsant = QStringLiteral("frequencyPlanIsAbsant");
inline const QString invalidFrequencyPlan = QStringLiteral("invalidFrequencyPlan");
inline const QString invalidClass = QStringLiteral("invalidClass");
inline const QString unsupportClass = QStringLiteral("unsupportClass");
inline const QString invalidRxWindow = QStringLiteral("invalidRxWindow");
inline const QString invalidDataRate = QStringLiteral("invalidDataRate");
inline const QString invalidDelay = QStringLiteral("invalidDelay");
// deletion
inline const QString deleted = QStringLiteral("deleted");
} // namespace Status

// Written between blocks of the devices file and as a trace separator.
inline const QString separator = QString(124, QLatin1Char('-'));

} // namespace ProtocolKeys
