#include "FakeServer.h"

#include "CMessageParser.h"
#include "CServerClient.h"
#include "ProgramStartup.h"
#include "TestHelpers.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QWebSocket>
#include <QWebSocketServer>

using TestHelpers::compact;
using TestHelpers::parsed;

FakeServer::FakeServer(QObject* parent)
    : QObject(parent)
    , m_server(new QWebSocketServer(QStringLiteral("fake network server"), QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, &QWebSocketServer::newConnection, this, &FakeServer::onNewConnection);
}

bool FakeServer::start() { return m_server->isListening() || m_server->listen(QHostAddress::LocalHost, 0); }
QString FakeServer::address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server->serverPort()); }

QList<QJsonObject> FakeServer::received(const QString& cmd) const
{
    QList<QJsonObject> result;
    for (const QString& text : m_messages) {
        const QJsonObject object = parsed(text);
        if (cmd.isEmpty() || object.value(PK::cmd).toString() == cmd)
            result.append(object);
    }
    return result;
}

void FakeServer::clearMessages()
{
    m_messages.clear();
    m_handedOut.clear();
}

QJsonObject FakeServer::waitForMessage(const QString& cmd, int timeoutMs)
{
    // Woken by each arrival rather than polling, which would sleep between looks.
    QSignalSpy arrivals(this, &FakeServer::messageReceived);
    QDeadlineTimer deadline(timeoutMs);
    forever {
        for (int i = 0; i < m_messages.size(); ++i) {
            if (!m_handedOut.at(i) && parsed(m_messages.at(i)).value(PK::cmd).toString() == cmd) {
                m_handedOut[i] = true;
                return parsed(m_messages.at(i));
            }
        }
        if (deadline.hasExpired() || !arrivals.wait(int(deadline.remainingTime())))
            return QJsonObject();
    }
}

bool FakeServer::flush(CServerClient* client, int timeoutMs)
{
    // The connection keeps the order: a probe no program sends comes last.
    const QString probe = QStringLiteral("flush");
    return client->sendMessage(compact({{PK::cmd, probe}})) && !waitForMessage(probe, timeoutMs).isEmpty();
}

void FakeServer::send(const QJsonObject& message) { sendText(compact(message)); }

void FakeServer::sendText(const QString& text)
{
    if (m_client)
        m_client->sendTextMessage(text);
}

void FakeServer::closeClient()
{
    if (m_client)
        m_client->close();
}

void FakeServer::dropClient()
{
    if (m_client)
        m_client->abort();
}

QJsonObject FakeServer::authResp(bool status, const QString& token, const QString& errString)
{
    return {{PK::cmd, PK::authResp}, {PK::status, status}, {PK::token, token},
            {PK::deviceAccess, QStringLiteral("all")}, {PK::errString, errString}};
}

QJsonObject FakeServer::serverInfoResp(bool status, int other, int zarvo)
{
    const QJsonObject counts{{PK::deviceCountOther, other}, {PK::deviceCountZarvo, zarvo}};
    return {{PK::cmd, PK::serverInfoResp}, {PK::status, status}, {PK::deviceCount, counts}};
}

void FakeServer::connectClientToParser(CServerClient* client)
{
    ProgramStartup::connectServerToParser(client, CMessageParser::instance());
}

bool FakeServer::loginClient(CServerClient* client, const QString& login, const QString& password, int timeoutMs)
{
    if (client->isReady())
        return true;
    if (!start())
        return false;
    connectClientToParser(client);
    client->openWebSoket(CLoraAuthReq{address(), login, password});
    if (waitForMessage(PK::authReq, timeoutMs).isEmpty())
        return false;
    send(authResp(true));
    if (waitForMessage(PK::serverInfoReq, timeoutMs).isEmpty())
        return false;
    send(serverInfoResp(true));
    return QTest::qWaitFor([client] { return client->isReady(); }, timeoutMs);
}

void FakeServer::onNewConnection()
{
    while (QWebSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        m_client = socket;
        connect(socket, &QWebSocket::textMessageReceived, this, &FakeServer::onTextMessage);
        connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void FakeServer::onTextMessage(const QString& text)
{
    m_messages.append(text);
    m_handedOut.append(false);
    emit messageReceived(text);

    const QJsonObject request = parsed(text);
    const auto reply = m_autoReplies.constFind(request.value(PK::cmd).toString());
    auto* socket = qobject_cast<QWebSocket*>(sender());
    if (reply == m_autoReplies.constEnd() || !socket)
        return;
    for (const QJsonObject& answer : (*reply)(request))
        socket->sendTextMessage(compact(answer));
}
