#pragma once

#include "LoraRecords.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <functional>

class CServerClient;
class QWebSocket;
class QWebSocketServer;

// An in-process network server for tests: a WebSocket server on 127.0.0.1 with
// a free port that records every text message it receives and answers only
// what the test tells it to (by send() or by an automatic reply per command).
//
//   FakeServer server;
//   QVERIFY(server.start());
//   QVERIFY(server.loginClient(CServerClient::instance()));   // client is `ready`
//   CMessageParser::instance()->getDevReq(info);
//   const QJsonObject request = server.waitForMessage(ProtocolKeys::getDevicesReq);
//   server.send(answer);
class FakeServer : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<QList<QJsonObject>(const QJsonObject& request)>;

    explicit FakeServer(QObject* parent = nullptr);
    ~FakeServer() override;

    bool start();
    QUrl url() const;
    quint16 port() const;
    QString address() const;   // "127.0.0.1:<port>", as the login widget takes it

    // Everything received, in arrival order, from every connection.
    QStringList messages() const { return m_messages; }
    QList<QJsonObject> received(const QString& cmd = QString()) const;
    void clearMessages();

    // The first message with this "cmd" not yet handed out by an earlier call;
    // waits up to timeoutMs for it. An empty object when none came.
    QJsonObject waitForMessage(const QString& cmd, int timeoutMs = 2000);

    bool hasClient() const;
    bool waitForClient(int timeoutMs = 2000);
    int connectionCount() const { return m_connectionCount; }

    // To the connection opened last. The text form also sends what is not JSON.
    void send(const QJsonObject& message);
    void sendText(const QString& text);
    // The server ends the connection: with a WebSocket close frame, or by
    // dropping the TCP connection without one.
    void closeClient();
    void dropClient();

    // Answers every request with this "cmd" at once; the responder returns the
    // answers to send (none for silence).
    void setAutoReply(const QString& cmd, Responder responder);
    void setAutoReply(const QString& cmd, const QJsonObject& answer);
    void clearAutoReplies();

    // Ready-made answers of the shapes the program relies on.
    static QJsonObject authResp(bool status, const QString& token = QStringLiteral("token-1"),
                                const QString& errString = QString());
    static QJsonObject serverInfoResp(bool status, int other = 3, int zarvo = 5);

    // Makes the connection start-up makes in the program (socket text messages
    // to the parser, queued); safe to call more than once.
    static void connectClientToParser(CServerClient* client);

    // Brings the client to `ready`: wires it to the parser, opens it against
    // this server (if it is not ready yet), answers "auth_req" and
    // "server_info_req" positively. Returns whether the client became ready.
    bool loginClient(CServerClient* client, const QString& login = QStringLiteral("operator"),
                     const QString& password = QStringLiteral("secret"), int timeoutMs = 3000);

signals:
    void messageReceived(const QString& text);

private:
    void onNewConnection();
    void onTextMessage(const QString& text);

    QWebSocketServer* m_server = nullptr;
    QPointer<QWebSocket> m_client;
    QStringList m_messages;
    QList<bool> m_handedOut;
    QHash<QString, Responder> m_autoReplies;
    int m_connectionCount = 0;
};
