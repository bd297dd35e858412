#include "ServerEndpoint.h"

#include "ProtocolKeys.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTimer>
#include <QWebSocket>

namespace DevServer {

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString peerName(const QWebSocket* socket)
{
    return socket->peerAddress().toString() + QLatin1Char(':') + QString::number(socket->peerPort());
}

// The notice a device's first uplink would produce on a real server.
QString uplinkNotice(const QString& devEui, quint32 frameCounter)
{
    namespace Keys = ProtocolKeys;
    const QJsonObject notice{
        {Keys::cmd, Keys::rx},
        {Keys::type, Keys::unconfUp},
        {Keys::devEui, devEui},
        {Keys::ts, QDateTime::currentMSecsSinceEpoch()},
        {Keys::gatewayId, QStringLiteral("0000000000000001")},
        {Keys::ack, false},
        {Keys::fcnt, qint64(frameCounter)},
        {Keys::port, 1},
        {Keys::data, QStringLiteral("01")},
        {Keys::freq, 868100000},
        {Keys::dr, 5},
        {Keys::rssi, -57},
        {Keys::snr, 9.5},
    };
    return QString::fromUtf8(QJsonDocument(notice).toJson(QJsonDocument::Compact));
}

} // namespace

ServerEndpoint::ServerEndpoint(const ServerConfig& config, QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_store(config.makerPrefix)
    , m_handler(m_store, config)
    , m_server(QStringLiteral("tesmar-devserver"), QWebSocketServer::NonSecureMode)
{
    connect(&m_server, &QWebSocketServer::newConnection, this, &ServerEndpoint::acceptConnections);
}

bool ServerEndpoint::listen(QString* error)
{
    QHostAddress host;
    if (m_config.host == QLatin1String("localhost"))
        host = QHostAddress::LocalHost;
    else if (!host.setAddress(m_config.host)) {
        *error = QStringLiteral("not an IP address: ") + m_config.host;
        return false;
    }
    if (!m_server.listen(host, m_config.port)) {
        *error = m_server.errorString();
        return false;
    }
    return true;
}

void ServerEndpoint::acceptConnections()
{
    while (QWebSocket* socket = m_server.nextPendingConnection()) {
        if (m_sessions.size() >= m_config.maxClients) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("too many connections"));
            socket->deleteLater();
            continue;
        }
        // Qt refuses larger messages itself and closes the connection with
        // "message too big" (1009) before buffering them whole.
        socket->setMaxAllowedIncomingMessageSize(quint64(m_config.maxMessageBytes));
        socket->setMaxAllowedIncomingFrameSize(quint64(m_config.maxMessageBytes));
        m_sessions.insert(socket, ServerSession());
        if (m_config.verbose)
            out() << "connected " << peerName(socket) << Qt::endl;

        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString& message) { receive(socket, message); });
        // Binary frames carry nothing in this protocol and are ignored.
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            if (m_config.verbose)
                out() << "disconnected " << peerName(socket) << Qt::endl;
            m_sessions.remove(socket);
            socket->deleteLater();
        });
    }
}

void ServerEndpoint::receive(QWebSocket* socket, const QString& message)
{
    const auto session = m_sessions.find(socket);
    if (session == m_sessions.end())
        return;
    trace("<<", socket, message);
    const QStringList answers = m_handler.handleTextMessage(*session, message);
    for (const QString& answer : answers)
        send(socket, answer);
    if (m_config.uplinkAfterMs >= 0)
        scheduleUplinks(socket, session->takeAdded());
    else
        session->takeAdded();
}

void ServerEndpoint::send(QWebSocket* socket, const QString& message)
{
    // A client that sends but never reads would make its answers pile up here.
    constexpr qint64 maxBacklogBytes = 64 * 1024 * 1024;
    if (socket->bytesToWrite() > maxBacklogBytes) {
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("answers are not read"));
        return;
    }
    trace(">>", socket, message);
    socket->sendTextMessage(message);
}

void ServerEndpoint::scheduleUplinks(QWebSocket* socket, const QStringList& devEuis)
{
    for (const QString& devEui : devEuis) {
        // The socket is the timer's context: a closed connection cancels it.
        QTimer::singleShot(m_config.uplinkAfterMs, socket, [this, socket, devEui] {
            if (!m_sessions.contains(socket) || !m_store.contains(devEui))
                return;
            m_store.markHeard(devEui);
            send(socket, uplinkNotice(devEui, m_uplinkCounter++));
        });
    }
}

void ServerEndpoint::trace(const char* direction, const QWebSocket* socket, const QString& message) const
{
    if (!m_config.verbose)
        return;
    constexpr int shown = 2000;
    out() << direction << ' ' << peerName(socket) << ' ' << message.left(shown);
    if (message.size() > shown)
        out() << " ... (" << message.size() << " characters)";
    out() << Qt::endl;
}

} // namespace DevServer
