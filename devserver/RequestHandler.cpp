#include "RequestHandler.h"

#include "DeviceRules.h"
#include "ProtocolKeys.h"
#include "ServerWords.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSet>

namespace DevServer {

namespace {

namespace Keys = ProtocolKeys;

// The requests that need a login, with the command of their answer.
const QHash<QString, QString>& guardedRequests()
{
    static const QHash<QString, QString> requests = {
        {Keys::closeAuthReq, Keys::closeAuthResp},
        {Keys::serverInfoReq, Keys::serverInfoResp},
        {Keys::manageDevicesReq, Keys::manageDevicesResp},
        {Keys::getDevicesReq, Keys::getDevicesResp},
        {Keys::deleteDevicesReq, Keys::deleteDevicesResp},
    };
    return requests;
}

QJsonObject answer(const QString& command, bool status, const QString& error = QString())
{
    return QJsonObject{{Keys::cmd, command}, {Keys::status, status}, {Keys::errString, error}};
}

QString text(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString freshToken()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(words), sizeof(words)).toHex());
}

} // namespace

RequestHandler::RequestHandler(DeviceStore& store, const ServerConfig& config)
    : m_store(store)
    , m_config(config)
    , m_registrar(store, config.maxDevices)
{
}

QStringList RequestHandler::handleTextMessage(ServerSession& session, const QString& message)
{
    const QByteArray bytes = message.toUtf8();
    if (bytes.size() > m_config.maxMessageBytes)
        return {text(answer(Words::errorResp, false, Words::messageTooBig))};

    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return {text(answer(Words::errorResp, false, Words::invalidJson))};

    const QJsonObject request = document.object();
    const QString command = request.value(Keys::cmd).toString();
    if (command == Keys::authReq)
        return {text(login(session, request))};
    // Downlinks go to the radio side, which this server has not: nothing to answer.
    if (command == Keys::sendDataReq)
        return {};
    if (!guardedRequests().contains(command))
        return {text(answer(Words::errorResp, false, Words::unknownCommand))};
    if (!session.isAuthorized())
        return {text(answer(guardedRequests().value(command), false, Words::notAuthorized))};

    if (command == Keys::closeAuthReq)
        return {text(logout(session, request))};
    if (command == Keys::serverInfoReq)
        return {text(serverInfo())};
    if (command == Keys::manageDevicesReq)
        return {text(manageDevices(session, request))};
    if (command == Keys::getDevicesReq)
        return {text(getDevices(request))};
    return {text(deleteDevices(request))};
}

QJsonObject RequestHandler::login(ServerSession& session, const QJsonObject& request) const
{
    const QJsonValue login = request.value(Keys::login);
    const QJsonValue password = request.value(Keys::password);
    if (!login.isString() || !password.isString() || login.toString() != m_config.login
        || password.toString() != m_config.password) {
        // A failed attempt also ends a login made earlier on this connection.
        session.logOut();
        QJsonObject refused = answer(Keys::authResp, false, Words::invalidLoginOrPassword);
        refused.insert(Keys::token, QString());
        refused.insert(Keys::deviceAccess, QString());
        return refused;
    }
    session.logIn(login.toString(), freshToken());
    QJsonObject accepted = answer(Keys::authResp, true);
    accepted.insert(Keys::token, session.token());
    accepted.insert(Keys::deviceAccess, Words::accessAll);
    return accepted;
}

QJsonObject RequestHandler::logout(ServerSession& session, const QJsonObject& request) const
{
    if (request.value(Keys::token).toString() != session.token())
        return answer(Keys::closeAuthResp, false, Words::invalidToken);
    session.logOut();
    return answer(Keys::closeAuthResp, true);
}

QJsonObject RequestHandler::serverInfo() const
{
    QJsonObject info = answer(Keys::serverInfoResp, true);
    info.insert(Keys::deviceCount, QJsonObject{{Keys::deviceCountOther, m_store.otherCount()},
                                               {Keys::deviceCountZarvo, m_store.makerCount()}});
    return info;
}

QJsonObject RequestHandler::manageDevices(ServerSession& session, const QJsonObject& request)
{
    const QJsonValue list = request.value(Keys::devicesList);
    if (!list.isArray()) {
        QJsonObject refused = answer(Keys::manageDevicesResp, false, Words::invalidRequest);
        refused.insert(Keys::deviceAddStatus, QJsonArray());
        return refused;
    }
    QJsonArray statuses;
    for (const QJsonValue& entry : list.toArray()) {
        const DeviceRegistrar::Verdict verdict = m_registrar.manage(entry);
        if (verdict.status == Keys::Status::added)
            session.noteAdded(verdict.devEui);
        statuses.append(QJsonObject{{Keys::devEui, verdict.devEui}, {Keys::status, verdict.status}});
    }
    QJsonObject result = answer(Keys::manageDevicesResp, true);
    result.insert(Keys::deviceAddStatus, statuses);
    return result;
}

QJsonObject RequestHandler::getDevices(const QJsonObject& request) const
{
    const QJsonValue select = request.value(Keys::select);
    const QJsonValue wanted = select.toObject().value(Keys::devEuiList);
    const bool malformed = (request.contains(Keys::select) && !select.isObject())
        || (select.toObject().contains(Keys::devEuiList) && !wanted.isArray());
    if (malformed) {
        QJsonObject refused = answer(Keys::getDevicesResp, false, Words::invalidRequest);
        refused.insert(Keys::devicesList, QJsonArray());
        return refused;
    }

    QJsonArray devices;
    if (!wanted.isArray()) {
        devices = m_store.devices();
    } else {
        QSet<QString> listed;
        for (const QJsonValue& devEui : wanted.toArray()) {
            const QString key = devEui.toString().toUpper();
            if (!m_store.contains(key) || listed.contains(key))
                continue;
            listed.insert(key);
            devices.append(m_store.device(key));
        }
    }
    QJsonObject result = answer(Keys::getDevicesResp, true);
    result.insert(Keys::devicesList, devices);
    return result;
}

QJsonObject RequestHandler::deleteDevices(const QJsonObject& request)
{
    const QJsonValue list = request.value(Keys::devicesList);
    if (!list.isArray()) {
        QJsonObject refused = answer(Keys::deleteDevicesResp, false, Words::invalidRequest);
        refused.insert(Keys::deviceDeleteStatus, QJsonArray());
        return refused;
    }
    QJsonArray statuses;
    for (const QJsonValue& entry : list.toArray()) {
        const QString devEui = entry.toString();
        QString status = Words::notFound;
        if (!DeviceRules::isHexText(devEui, 16))
            status = Keys::Status::invalidDevEui;
        else if (m_store.remove(devEui))
            status = Keys::Status::deleted;
        statuses.append(QJsonObject{{Keys::devEui, devEui.toUpper()}, {Keys::status, status}});
    }
    QJsonObject result = answer(Keys::deleteDevicesResp, true);
    result.insert(Keys::deviceDeleteStatus, statuses);
    return result;
}

} // namespace DevServer
