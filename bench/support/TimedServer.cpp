#include "TimedServer.h"

#include "BenchSupport.h"
#include "DeviceStore.h"
#include "ProtocolKeys.h"
#include "RequestHandler.h"
#include "ServerSession.h"

#include <QHash>
#include <QHostAddress>
#include <QWebSocket>
#include <QWebSocketServer>

TimedServer::TimedServer(const DevServer::ServerConfig& config)
    : m_config(config)
{
}

TimedServer::~TimedServer()
{
    quit();
    wait();
}

bool TimedServer::startListening()
{
    QMutexLocker lock(&m_mutex);
    start();
    while (!m_started)
        m_listening.wait(&m_mutex);
    return m_port != 0;
}

QString TimedServer::address() const
{
    QMutexLocker lock(&m_mutex);
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QVector<qint64> TimedServer::arrivals(const QString& cmd) const
{
    QMutexLocker lock(&m_mutex);
    QVector<qint64> times;
    for (const auto& arrival : m_arrivals) {
        if (arrival.first == cmd)
            times.append(arrival.second);
    }
    return times;
}

int TimedServer::arrivalCount(const QString& cmd) const
{
    return arrivals(cmd).size();
}

void TimedServer::noteArrival(const QString& message, qint64 atNs)
{
    // Requests name their command near the start; a full parse would be
    // timed as part of the arrival.
    static const QString prefix = QStringLiteral("\"%1\":\"").arg(ProtocolKeys::cmd);
    const int start = message.indexOf(prefix);
    const int end = start < 0 ? -1 : message.indexOf(QLatin1Char('"'), start + prefix.size());
    const QString cmd = end < 0 ? QString() : message.mid(start + prefix.size(), end - start - prefix.size());
    QMutexLocker lock(&m_mutex);
    m_arrivals.append({cmd, atNs});
}

void TimedServer::run()
{
    DevServer::DeviceStore store(m_config.makerPrefix);
    DevServer::RequestHandler handler(store, m_config);
    QHash<QWebSocket*, DevServer::ServerSession> sessions;
    QWebSocketServer server(QStringLiteral("bench"), QWebSocketServer::NonSecureMode);

    QObject::connect(&server, &QWebSocketServer::newConnection, &server, [&] {
        while (QWebSocket* socket = server.nextPendingConnection()) {
            sessions.insert(socket, DevServer::ServerSession());
            QObject::connect(socket, &QWebSocket::textMessageReceived, socket, [&, socket](const QString& message) {
                noteArrival(message, Bench::nowNs());
                for (const QString& answer : handler.handleTextMessage(sessions[socket], message))
                    socket->sendTextMessage(answer);
            });
            QObject::connect(socket, &QWebSocket::disconnected, socket, [&, socket] {
                sessions.remove(socket);
                socket->deleteLater();
            });
        }
    });

    {
        QMutexLocker lock(&m_mutex);
        if (server.listen(QHostAddress::LocalHost, 0))
            m_port = server.serverPort();
        m_started = true;
        m_listening.wakeAll();
    }
    if (m_port != 0)
        exec();
    for (QWebSocket* socket : sessions.keys()) {
        socket->disconnect();
        delete socket;
    }
}
