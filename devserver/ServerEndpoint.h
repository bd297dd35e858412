#pragma once

#include "DeviceStore.h"
#include "RequestHandler.h"
#include "ServerConfig.h"
#include "ServerSession.h"

#include <QHash>
#include <QObject>
#include <QWebSocketServer>

class QWebSocket;

namespace DevServer {

// The WebSocket side: accepts connections, gives each a session, passes every
// text message to the request handler and sends its answers back.
class ServerEndpoint : public QObject
{
    Q_OBJECT

public:
    explicit ServerEndpoint(const ServerConfig& config, QObject* parent = nullptr);

    bool listen(QString* error);
    QHostAddress address() const { return m_server.serverAddress(); }
    quint16 port() const { return m_server.serverPort(); }
    int sessionCount() const { return m_sessions.size(); }

private slots:
    void acceptConnections();

private:
    void receive(QWebSocket* socket, const QString& message);
    void send(QWebSocket* socket, const QString& message);
    void scheduleUplinks(QWebSocket* socket, const QStringList& devEuis);
    void trace(const char* direction, const QWebSocket* socket, const QString& message) const;

    ServerConfig m_config;
    DeviceStore m_store;
    RequestHandler m_handler;
    QWebSocketServer m_server;
    QHash<QWebSocket*, ServerSession> m_sessions;
    quint32 m_uplinkCounter = 0;
};

} // namespace DevServer
