#pragma once

#include "LoraRecords.h"

#include <QAbstractSocket>
#include <QList>
#include <QSslError>
#include <QWebSocket>

// The one connection to the network server. Logs in by itself as soon as the
// socket connects, asks for the server information after a positive login,
// and lets the program's requests through only once that has arrived.
// Incoming messages do not pass through here: start-up connects the socket
// straight to the message parser (ProgramStartup).
class CServerClient : public QWebSocket
{
    Q_OBJECT

public:
    enum EClientStates {
        connecting,
        connected,
        authorization,
        authorizationSuccess,
        ready,
        disconnected,
        disconnectedFailed,
        authorizationFailed,
        commonErrors,
        serverInfoReqError,
        serverInfoRespError,
        unknown
    };
    Q_ENUM(EClientStates)

    static CServerClient* instance(const QString& text = QString(), QObject* parent = nullptr);
    ~CServerClient() override;

    EClientStates clientState() const { return m_state; }
    bool isReady() const { return m_state == ready; }

    // The state's name as the state-change trace prints it; "UNKNOWN" outside the list.
    static QString stateName(int state);

public slots:
    // Sends a request only in the state `ready`; returns whether it left the program.
    bool sendMessage(const QString& message);
    void openWebSoket(CLoraAuthReq connectionInfo);
    void logOut(QString token);
    // Gives up a connection whose login is still unanswered; nothing is sent.
    void abandonLogin();

protected slots:
    void changeState(CServerClient::EClientStates state);

private slots:
    // Returns true when the send FAILED (the protocol's long-standing convention).
    bool cmdSendMessage(const QString& message);
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();

signals:
    void clientStateChanged(CServerClient::EClientStates state);
    void hostError(CloraAuthResp);
    void messageReceived(QString);
    void serverInfoReq();

private:
    CServerClient(const QString& text, QObject* parent);
    void sendLogin();
    // The server accepted a login and no logout or loss has ended it since.
    bool loginStands() const;

    void reportConnectionLoss();

    EClientStates m_state = unknown;
    bool m_lossReported = true;   // nothing to report before the first connection
    bool m_opening = false;       // an attempt is under way and has not connected yet
    CLoraAuthReq m_connectionInfo;
    QString m_text;
};
