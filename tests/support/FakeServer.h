#pragma once

#include "LoraRecords.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class CServerClient;
class QWebSocket;
class QWebSocketServer;

// An in-process WebSocket server on 127.0.0.1 (free port) that records every
// text it receives and answers only what the test sends or auto-replies.
class FakeServer : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<QList<QJsonObject>(const QJsonObject& request)>;

    explicit FakeServer(QObject* parent = nullptr);

    bool start();
    QString address() const;   // "127.0.0.1:<port>", as the login widget takes it

    QStringList messages() const { return m_messages; }   // from every connection, in order
    QList<QJsonObject> received(const QString& cmd = QString()) const;
    void clearMessages();

    // The first message with this "cmd" not handed out before, waiting up to
    // timeoutMs; an empty object when none came.
    QJsonObject waitForMessage(const QString& cmd, int timeoutMs = 2000);
    // Waits until every message the client has sent so far has arrived.
    bool flush(CServerClient* client, int timeoutMs = 2000);

    // To the connection opened last; closeClient sends a close frame,
    // dropClient drops the TCP connection without one.
    void send(const QJsonObject& message);
    void sendText(const QString& text);
    void closeClient();
    void dropClient();

    // Answers every request with this "cmd" at once with what the responder returns.
    void setAutoReply(const QString& cmd, Responder answers) { m_autoReplies.insert(cmd, std::move(answers)); }
    void clearAutoReplies() { m_autoReplies.clear(); }

    static QJsonObject authResp(bool status, const QString& token = QStringLiteral("token-1"),
                                const QString& errString = QString());
    static QJsonObject serverInfoResp(bool status, int other = 3, int zarvo = 5);

    // Start-up's connection of the client to the parser, for a client made by
    // hand (start-up makes it for its own); safe to repeat.
    static void connectClientToParser(CServerClient* client);

    // Wires the client, opens it against this server and answers the login
    // positively; true when the client became ready.
    bool loginClient(CServerClient* client, const QString& login = QStringLiteral("operator"),
                     const QString& password = QStringLiteral("secret"), int timeoutMs = 3000);

signals:
    void messageReceived(const QString& text);

private:
    void onNewConnection();
    void onTextMessage(const QString& text);

    QWebSocketServer* m_server;
    QPointer<QWebSocket> m_client;
    QStringList m_messages;
    QList<bool> m_handedOut;
    QHash<QString, Responder> m_autoReplies;
};
