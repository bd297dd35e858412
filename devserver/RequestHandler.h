#pragma once

#include "DeviceRegistrar.h"
#include "DeviceStore.h"
#include "ServerConfig.h"
#include "ServerSession.h"

#include <QJsonObject>
#include <QStringList>

namespace DevServer {

// The whole protocol without a socket: one text message of a session in, the
// texts to send back out (none, one, or more). Malformed input of any kind
// gives an error answer, never an exception or a crash.
class RequestHandler
{
public:
    RequestHandler(DeviceStore& store, const ServerConfig& config);

    QStringList handleTextMessage(ServerSession& session, const QString& message);

private:
    QJsonObject login(ServerSession& session, const QJsonObject& request) const;
    QJsonObject logout(ServerSession& session, const QJsonObject& request) const;
    QJsonObject serverInfo() const;
    QJsonObject manageDevices(ServerSession& session, const QJsonObject& request);
    QJsonObject getDevices(const QJsonObject& request) const;
    QJsonObject deleteDevices(const QJsonObject& request);

    DeviceStore& m_store;
    ServerConfig m_config;
    DeviceRegistrar m_registrar;
};

} // namespace DevServer
