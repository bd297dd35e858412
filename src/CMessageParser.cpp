#include "CMessageParser.h"

#include "CServerClient.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"
#include "SingleInstance.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <climits>
#include <cmath>

namespace PK = ProtocolKeys;

namespace {
SingleInstance<CMessageParser> parser;

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject objectOf(const QString& msg)
{
    return QJsonDocument::fromJson(msg.toUtf8()).object();
}

bool sendToServer(const QString& message)
{
    return CServerClient::instance()->sendMessage(message);
}

qint32 CLoraDeviceInfo::*const planFreqs[5] = {
    &CLoraDeviceInfo::freq4, &CLoraDeviceInfo::freq5, &CLoraDeviceInfo::freq6,
    &CLoraDeviceInfo::freq7, &CLoraDeviceInfo::freq8,
};

const QString* const planFreqKeys[5] = {&PK::freq4, &PK::freq5, &PK::freq6, &PK::freq7, &PK::freq8};

struct KnownPlan
{
    QString name;
    qint32 freqs[5];
    qint32 freqRx2;
};

const KnownPlan knownPlans[] = {
    {QStringLiteral("RU868"), {864100000, 864300000, 864500000, 864700000, 864900000}, 869100000},
    {QStringLiteral("EU868"), {867100000, 867300000, 867500000, 867700000, 867900000}, 869525000},
};

// A position value of -1.0 means "not given".
bool isNotGiven(double value)
{
    return qFuzzyCompare(value, -1.0);
}

QJsonObject frequencyPlanObject(const CLoraDeviceInfo& info)
{
    QJsonObject plan;
    for (int i = 0; i < 5; ++i) {
        if (info.*planFreqs[i] >= 0)
            plan.insert(*planFreqKeys[i], info.*planFreqs[i]);
    }
    return plan;
}

QJsonObject positionObject(const CLoraDeviceInfo& info)
{
    QJsonObject position;
    if (!isNotGiven(info.longitude))
        position.insert(PK::longitude, info.longitude);
    if (!isNotGiven(info.latitude))
        position.insert(PK::latitude, info.latitude);
    if (info.altitude != -1)
        position.insert(PK::altitude, info.altitude);
    return position;
}

QJsonObject channelMaskObject(const CLoraDeviceInfo& info)
{
    QJsonObject mask;
    for (int channel = 1; channel <= CLoraDeviceInfo::channelCount; ++channel)
        mask.insert(PK::channelEn(channel), info.channelEnabled(channel));
    return mask;
}

QJsonObject abpObject(const CLoraDeviceInfo& info)
{
    QJsonObject abp;
    if (info.devAddress != 0)
        abp.insert(PK::devAddress, info.devAddress);
    if (!info.appsKey.isEmpty())
        abp.insert(PK::appsKey, info.appsKey);
    if (!info.nwksKey.isEmpty())
        abp.insert(PK::nwksKey, info.nwksKey);
    return abp;
}

QJsonObject otaaObject(const CLoraDeviceInfo& info)
{
    QJsonObject otaa;
    otaa.insert(PK::appEui, info.appEui);
    otaa.insert(PK::appKey, info.appKey);
    return otaa;
}

void insertIfNotEmpty(QJsonObject& target, const QString& key, const QJsonObject& nested)
{
    if (!nested.isEmpty())
        target.insert(key, nested);
}

// A DevAddr is 32 bits; a server may write it unsigned, and it must not turn
// into 0 just because it does not fit a signed integer.
qint32 readDevAddress(const QJsonValue& value)
{
    const double number = value.toDouble(0.0);
    if (number != std::floor(number) || number < double(INT_MIN) || number > 4294967295.0)
        return 0;
    return qint32(quint32(qint64(number)));
}

CLoraDeviceInfo deviceFromJson(const QJsonObject& device)
{
    CLoraDeviceInfo info;

    if (device.contains(PK::devEui))
        info.devEui = device.value(PK::devEui).toString().toUpper();

    if (device.contains(PK::devName)) {
        info.devName = device.value(PK::devName).toString();
        if (info.devName.isEmpty())
            info.devName = CMessageParser::tr("Имя не установлено");
    }

    if (device.contains(PK::devClass))
        info.devClass = device.value(PK::devClass).toString();

    const QJsonObject abp = device.value(PK::abp).toObject();
    if (!abp.isEmpty()) {
        info.appsKey = abp.value(PK::appsKey).toString().toUpper();
        info.devAddress = readDevAddress(abp.value(PK::devAddress));
        info.nwksKey = abp.value(PK::nwksKey).toString().toUpper();
        info.abpPresent = true;
    }

    const QJsonObject otaa = device.value(PK::otaa).toObject();
    if (!otaa.isEmpty()) {
        info.appEui = otaa.value(PK::appEui).toString().toUpper();
        info.appKey = otaa.value(PK::appKey).toString().toUpper();
        info.otaaPresent = true;
    }

    const QJsonObject plan = device.value(PK::frequencyPlan).toObject();
    if (!plan.isEmpty()) {
        for (int i = 0; i < 5; ++i)
            info.*planFreqs[i] = plan.value(*planFreqKeys[i]).toInt(0);
        info.freqPlan = QStringLiteral("custom");
        for (const KnownPlan& known : knownPlans) {
            bool same = device.value(PK::freqRx2) == QJsonValue(known.freqRx2);
            for (int i = 0; i < 5 && same; ++i)
                same = info.*planFreqs[i] == known.freqs[i];
            if (same) {
                info.freqPlan = known.name;
                break;
            }
        }
    }

    const auto readInt = [&device](const QString& key, qint32& field) {
        if (device.contains(key))
            field = device.value(key).toInt(0);
    };
    readInt(PK::reactionTime, info.reactionTime);
    readInt(PK::freqRx2, info.freqRx2);
    readInt(PK::preferDr, info.preferDr);
    readInt(PK::preferPower, info.preferPower);
    readInt(PK::rxWindow, info.rxWindow);
    readInt(PK::delayRx1, info.delayRx1);
    readInt(PK::drRx2, info.drRx2);
    readInt(PK::delayJoin1, info.delayJoin1);

    if (device.contains(PK::position)) {
        const QJsonObject position = device.value(PK::position).toObject();
        info.altitude = position.value(PK::altitude).toInt(0);
        info.latitude = position.value(PK::latitude).toDouble(0.0);
        info.longitude = position.value(PK::longitude).toDouble(0.0);
    }

    info.serverAdrEnable = device.value(PK::serverAdrEnable).toBool(false);
    info.foundMarker = 1;
    return info;
}
} // namespace

CMessageParser::CMessageParser(QObject* parent)
    : QObject(parent)
{
}

CMessageParser* CMessageParser::instance(QObject* parent)
{
    return parser.get([parent] { return new CMessageParser(parent); });
}

// ---- request builders -------------------------------------------------------

QString CMessageParser::authReq(const QString& login, const QString& password)
{
    QJsonObject request;
    request.insert(PK::cmd, PK::authReq);
    request.insert(PK::login, login);
    request.insert(PK::password, password);
    return compact(request);
}

QString CMessageParser::srvInfoReq()
{
    QJsonObject request;
    request.insert(PK::cmd, PK::serverInfoReq);
    return compact(request);
}

QString CMessageParser::closeAuthReq(const QString& token)
{
    QJsonObject request;
    request.insert(PK::cmd, PK::closeAuthReq);
    request.insert(PK::token, token);
    return compact(request);
}

QString CMessageParser::devEuiReq(const QString& devEui)
{
    QJsonObject select;
    select.insert(PK::devEuiList, QJsonArray{devEui});
    QJsonObject request;
    request.insert(PK::cmd, PK::getDevicesReq);
    request.insert(PK::select, select);
    return compact(request);
}

QString CMessageParser::allDevicesReq()
{
    QJsonObject request;
    request.insert(PK::cmd, PK::getDevicesReq);
    return compact(request);
}

QString CMessageParser::deleteDevicesReq(const QStringList& devEuis)
{
    QJsonObject request;
    request.insert(PK::cmd, PK::deleteDevicesReq);
    request.insert(PK::devicesList, QJsonArray::fromStringList(devEuis));
    return compact(request);
}

QString CMessageParser::manageDevicesReq(const CLoraDeviceInfo& regDevInfo)
{
    const bool otaa = regDevInfo.existOTAA();
    const bool abp = regDevInfo.existABP();
    // Which settings a request may carry depends on what the server already
    // holds: a device with both activations gets settings only, no keys.
    const bool neither = !otaa && !abp;
    const bool both = otaa && abp;
    const bool classCSettings = neither || both;

    if (otaa && !abp) {
        DIAG() << "if (regDevInfo.existOTAA() && !regDevInfo.existABP())";
    } else if (abp && !otaa) {
        DIAG() << "if (regDevInfo.existABP() && !regDevInfo.existOTAA())";
    } else if (both) {
        DIAG() << "if ( regDevInfo.existOTAA() && regDevInfo.existABP() )";
        DIAG() << "name:" << regDevInfo.devName;
        DIAG() << "class:" << regDevInfo.devClass;
    } else {
        DIAG() << "else";
    }

    QJsonObject device;
    device.insert(PK::devEui, regDevInfo.devEui);
    if (neither || !regDevInfo.devName.isEmpty())
        device.insert(PK::devName, regDevInfo.devName);
    if (!regDevInfo.devClass.isEmpty())
        device.insert(PK::devClass, regDevInfo.devClass);
    if (classCSettings && regDevInfo.reactionTime >= 0)
        device.insert(PK::reactionTime, regDevInfo.reactionTime);
    if (classCSettings && regDevInfo.foundMarker > 0)
        device.insert(PK::useDownlinkQueueClassC, regDevInfo.useDownlinkQueueClassC);
    if (regDevInfo.freqRx2 >= 0)
        device.insert(PK::freqRx2, regDevInfo.freqRx2);
    if (regDevInfo.preferDr > -1)
        device.insert(PK::preferDr, double(regDevInfo.preferDr));
    if (regDevInfo.preferPower > -1)
        device.insert(PK::preferPower, double(regDevInfo.preferPower));
    if (regDevInfo.rxWindow != -1)
        device.insert(PK::rxWindow, regDevInfo.rxWindow);
    if (regDevInfo.delayRx1 != -1)
        device.insert(PK::delayRx1, regDevInfo.delayRx1);
    if (regDevInfo.drRx2 != -1)
        device.insert(PK::drRx2, regDevInfo.drRx2);
    if (regDevInfo.delayJoin1 != -1)
        device.insert(PK::delayJoin1, regDevInfo.delayJoin1);
    insertIfNotEmpty(device, PK::frequencyPlan, frequencyPlanObject(regDevInfo));
    insertIfNotEmpty(device, PK::position, positionObject(regDevInfo));
    if (classCSettings)
        device.insert(PK::channelMask, channelMaskObject(regDevInfo));
    if (neither || (abp && !otaa))
        insertIfNotEmpty(device, PK::abp, abpObject(regDevInfo));
    if (!abp)
        device.insert(PK::otaa, otaaObject(regDevInfo));
    device.insert(PK::serverAdrEnable, regDevInfo.serverAdrEnable);

    QJsonObject request;
    request.insert(PK::cmd, PK::manageDevicesReq);
    request.insert(PK::devicesList, QJsonArray{device});
    return compact(request);
}

// ---- outgoing requests --------------------------------------------------------

void CMessageParser::getDevReq(CLoraDeviceInfo lastInfo)
{
    sendToServer(devEuiReq(lastInfo.devEui));
}

void CMessageParser::mngDevReq(const CLoraDeviceInfo& regDevInfo)
{
    DIAG() << "Формирую запрос на регистрацию устройства / обновление данных";
    DIAG() << "exist ABP: " << regDevInfo.existABP();
    DIAG() << "exist OTAA: " << regDevInfo.existOTAA();

    const QString request = manageDevicesReq(regDevInfo);
    if (request.isEmpty()) {
        DIAG() << "Object is emtpty";
        return;
    }
    const bool sent = sendToServer(request);
    const bool reportsSend = regDevInfo.existOTAA() == regDevInfo.existABP();
    if (sent && reportsSend)
        DIAG() << "Запрос отправлен";
}

// ---- incoming messages --------------------------------------------------------

void CMessageParser::processReceivedMessage(QString msg)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(msg.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        DIAG() << QStringLiteral("Json parsing error[%1], offset[%2]").arg(int(error.error)).arg(error.offset);
        return;
    }
    if (document.isNull()) {
        DIAG() << "failed to create to JSON doc ->";
        return;
    }
    if (document.isArray()) {
        DIAG() << "jsonDoc is an array ->";
        return;
    }
    if (!document.isObject()) {
        DIAG() << "json doc is not an object";
        return;
    }
    const QJsonObject object = document.object();
    if (object.isEmpty()) {
        DIAG() << "JSON object is empty";
        return;
    }
    if (!object.contains(PK::cmd)) {
        DIAG() << "JSON not contains cmd key!";
        return;
    }

    const QString cmd = object.value(PK::cmd).toString();
    const QString text = QString::fromUtf8(document.toJson(QJsonDocument::Indented));
    if (cmd == PK::authResp) {
        if (object.contains(PK::status))
            authResp(text);
    } else if (cmd == PK::serverInfoResp) {
        srvInfoResp(text);
    } else if (cmd == PK::closeAuthResp) {
        closeAuthResp(text);
    } else if (cmd == PK::getDevicesResp) {
        getDevResp(text);
    } else if (cmd == PK::manageDevicesResp) {
        mngDevResp(text);
    } else if (cmd == PK::deleteDevicesResp) {
        deleteDeviceResp(text);
    } else if (cmd == PK::rx) {
        rxNotice(object);
    }
}

void CMessageParser::rxNotice(const QJsonObject& notice)
{
    const QString type = notice.value(PK::type).toString();
    if (!type.contains(PK::unconfUp) && !type.contains(PK::confUp))
        return;
    const QString devEui = notice.value(PK::devEui).toString();
    if (ScannedDevices::instance()->deviceState(devEui) == 0)
        DIAG() << "ПОЛУЧЕН ПЕРВЫЙ RX ПАКЕТ С UNCONF_UP ОТ ДОБАВЛЕННОГО УСТРОЙСТВА, НАЧИНАЕМ ОТПРАВКУ ДАННЫХ";
}

void CMessageParser::authResp(const QString& msg)
{
    const QJsonObject object = objectOf(msg);
    m_lastAuth.token = object.value(PK::token).toString();
    m_lastAuth.deviceAccess = object.value(PK::deviceAccess).toString();
    m_lastAuth.status = object.value(PK::status).toBool(false);
    m_lastAuth.errString = object.value(PK::errString).toString();

    DIAG() << QString(QStringLiteral("token: ") + Diagnostics::masked(m_lastAuth.token));
    DIAG() << QStringLiteral("status: %1").arg(int(m_lastAuth.status));
    DIAG() << QString(QStringLiteral("devie access: ") + m_lastAuth.deviceAccess);
    DIAG() << QString(QStringLiteral("err string: ") + m_lastAuth.errString);

    emit authMsgResp(m_lastAuth);
}

void CMessageParser::closeAuthResp(const QString& msg)
{
    // A logout answer can only end a login that stands: one that refuses the
    // logout keeps it, and no answer of any shape may start one.
    if (!m_lastAuth.status) {
        DIAG() << "no login to end";
        return;
    }
    const QJsonObject object = objectOf(msg);
    const QString errString = object.value(PK::errString).toString();
    if (!object.value(PK::status).toBool(false)) {
        DIAG() << QString(QStringLiteral("logout refused: ") + errString);
        return;
    }
    m_lastAuth.status = false;
    m_lastAuth.errString = errString;
    emit authMsgResp(m_lastAuth);
}

void CMessageParser::srvInfoResp(const QString& msg)
{
    const QJsonObject object = objectOf(msg);
    DIAG() << object;
    if (!object.contains(PK::deviceCount))
        return;
    const QJsonObject counts = object.value(PK::deviceCount).toObject();
    // A count below zero is no count at all.
    m_lastInfo.deviceCountOther = qMax(0, counts.value(PK::deviceCountOther).toInt(0));
    m_lastInfo.deviceCountZarvo = qMax(0, counts.value(PK::deviceCountZarvo).toInt(0));
    m_lastInfo.status = object.value(PK::status).toBool(false);
    emit serverInfoResp(m_lastInfo);
}

void CMessageParser::mngDevResp(const QString& msg)
{
    const QJsonArray statuses = objectOf(msg).value(PK::deviceAddStatus).toArray();
    if (statuses.isEmpty()) {
        DIAG() << "deviceStatus is empty";
        return;
    }
    for (const QJsonValue& value : statuses) {
        const QJsonObject entry = value.toObject();
        if (!entry.contains(PK::status))
            continue;
        const QString status = entry.value(PK::status).toString();
        const QString devEui = entry.value(PK::devEui).toString();
        emit mngDevRespSignal(status);
        // Taken before the import hears of the answer: its last answer ends it
        // and clears the list.
        const bool skipped = !m_skippedFollowUps.isEmpty() && m_skippedFollowUps.remove(devEui.toUpper());
        ScannedDevices::instance()->registrationAnswered(devEui, status);
        emit deviceStatusResp(devEui, status);
        if ((status != PK::Status::updated && status != PK::Status::added) || skipped)
            continue;
        // Show the operator the server's own view of the device and the new counts.
        const QString deviceRequest = devEuiReq(devEui);
        DIAG() << deviceRequest.toUtf8();
        sendToServer(deviceRequest);
        sendToServer(srvInfoReq());
    }
}

void CMessageParser::skipFollowUps(const QString& devEui)
{
    m_skippedFollowUps.insert(devEui.toUpper());
}

void CMessageParser::clearSkippedFollowUps()
{
    m_skippedFollowUps.clear();
}

void CMessageParser::getDevResp(const QString& msg)
{
    const QJsonDocument document = QJsonDocument::fromJson(msg.toUtf8());
    const QJsonArray devices = document.object().value(PK::devicesList).toArray();
    if (devices.isEmpty()) {
        DIAG() << "devList is empty";
        emit infoDevicesResp(CLoraDeviceInfo());
        return;
    }
    // Every device is read on its own: nothing of one device may leak into the next.
    CLoraDeviceInfo info;
    for (const QJsonValue& value : devices)
        info = deviceFromJson(value.toObject());

    DIAG() << info.serverAdrEnable;
    emit devicesList(document);
    emit infoDevicesResp(info);
}

void CMessageParser::deleteDeviceResp(const QString& msg)
{
    const QJsonObject object = objectOf(msg);
    if (!object.contains(PK::deviceDeleteStatus))
        return;
    QString devEui;
    QString status;
    for (const QJsonValue& value : object.value(PK::deviceDeleteStatus).toArray()) {
        const QJsonObject entry = value.toObject();
        if (entry.contains(PK::devEui))
            devEui = entry.value(PK::devEui).toString();
        if (entry.contains(PK::status))
            status = entry.value(PK::status).toString();
    }
    Q_UNUSED(devEui)
    DIAG() << status;
    emit deviceMbRemoved(status);
}
