#pragma once

#include "LoraRecords.h"

#include <QAbstractSocket>
#include <QList>
#include <QSslError>
#include <QWebSocket>

// The one connection to the network server. Logs in by itself as soon as the
// socket connects, asks for the server information after a positive login,
// and lets the program's requests through only once that has arrived.
// Incoming messages do not pass through here: start-up wires the socket's
// textMessageReceived straight to the message parser.
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

    EClientStates clientState() const { return m_state; }
    bool isReady() const { return m_state == ready; }

public slots:
    bool sendMessage(const QString& message);
    void openWebSoket(CLoraAuthReq connectionInfo);
    void logOut(QString token);

protected slots:
    void changeState(EClientStates state);

private slots:
    bool cmdSendMessage(const QString& message);

signals:
    void clientStateChanged(EClientStates state);
    void hostError(CloraAuthResp);
    void messageReceived(QString);
    void serverInfoReq();

private:
    CServerClient(const QString& text, QObject* parent);

    EClientStates m_state = unknown;
    CLoraAuthReq m_connectionInfo;
    QString m_text;
};
