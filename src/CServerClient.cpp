#include "CServerClient.h"

#include "CMessageParser.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"
#include "QtCompat.h"
#include "SingleInstance.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {
SingleInstance<CServerClient> client;

const QStringList& stateNames()
{
    static const QStringList names = {
        QStringLiteral("connecting"),          QStringLiteral("connected"),
        QStringLiteral("authorization"),       QStringLiteral("authorizationSuccess"),
        QStringLiteral("ready"),               QStringLiteral("disconnected"),
        QStringLiteral("disconnectedFailed"),  QStringLiteral("authorizationFailed"),
        QStringLiteral("commonErrors"),        QStringLiteral("serverInfoReqError"),
        QStringLiteral("serverInfoRespError"), QStringLiteral("unknown"),
    };
    return names;
}

QUrl serverUrl(const QString& address)
{
    return QUrl(QStringLiteral("ws://") + address, QUrl::TolerantMode);
}

// The trace of a sent request must carry neither the password (login) nor
// the session token (logout) in clear.
QString printable(const QString& message)
{
    const QString secrets[] = {ProtocolKeys::password, ProtocolKeys::token};
    const auto named = [&message](const QString& key) { return message.contains(key); };
    if (std::none_of(std::begin(secrets), std::end(secrets), named))
        return message;
    QJsonObject object = QJsonDocument::fromJson(message.toUtf8()).object();
    bool masked = false;
    for (const QString& key : secrets) {
        if (object.contains(key)) {
            object.insert(key, Diagnostics::masked(object.value(key).toString()));
            masked = true;
        }
    }
    return masked ? QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) : message;
}
} // namespace

CServerClient::CServerClient(const QString& text, QObject* parent)
    : QWebSocket(QString(), QWebSocketProtocol::Version13, parent)
    , m_text(text)
{
    connect(this, &QWebSocket::connected, this, [this] {
        m_opening = false;
        m_lossReported = false;
        changeState(authorization);
        sendLogin();
    });
    connect(this, &QWebSocket::disconnected, this, &CServerClient::onDisconnected);
    connect(this, QtCompat::webSocketErrorSignal(), this, &CServerClient::onSocketError, Qt::DirectConnection);
#ifndef QT_NO_SSL
    connect(this, QOverload<const QList<QSslError>&>::of(&QWebSocket::sslErrors), this,
            [](const QList<QSslError>& errors) {
                for (const QSslError& error : errors)
                    DIAG() << error;
            });
#endif

    // The parser is created beside the client when it does not exist yet, so
    // both die with the same owner.
    CMessageParser* parser = CMessageParser::instance(parent);
    connect(parser, &CMessageParser::authMsgResp, this, [this](const CloraAuthResp& resp) {
        // Remembered only now: a mistyped address never replaces one that works.
        if (resp.status && m_state == authorization)
            CSettings::writeValue(CSettings::serverIpPort, m_connectionInfo.address);
        changeState(resp.status ? authorizationSuccess : disconnected);
    });
    connect(this, &CServerClient::clientStateChanged, this, [this](EClientStates state) {
        if (state == authorizationSuccess && cmdSendMessage(CMessageParser::srvInfoReq()))
            changeState(commonErrors);
    });
    connect(parser, &CMessageParser::serverInfoResp, this, [this](const CloraInfoResp& info) {
        DIAG() << info.status;
        // Requests pass only within a login: a stray answer after a logout
        // (or before any login) must not open the gate.
        if (loginStands())
            changeState(info.status ? ready : serverInfoRespError);
    });

    qDebug().noquote().nospace() << ProtocolKeys::separator << '\n';
}

CServerClient::~CServerClient()
{
    // The socket base may still signal while it shuts down; this part is gone by then.
    disconnect(this, &QWebSocket::connected, this, nullptr);
    disconnect(this, &QWebSocket::disconnected, this, nullptr);
    disconnect(this, QtCompat::webSocketErrorSignal(), this, nullptr);
}

CServerClient* CServerClient::instance(const QString& text, QObject* parent)
{
    return client.get([&text, parent] { return new CServerClient(text, parent); });
}

QString CServerClient::stateName(int state)
{
    return (state >= 0 && state < stateNames().size()) ? stateNames().at(state)
                                                       : QStringLiteral("UNKNOWN");
}

bool CServerClient::sendMessage(const QString& message)
{
    if (m_state != ready) {
        DIAG() << "Invalid client state! Abort";
        return false;
    }
    DIAG() << "Ready!";
    return !cmdSendMessage(message);
}

void CServerClient::openWebSoket(CLoraAuthReq connectionInfo)
{
    m_connectionInfo = connectionInfo;
    if (m_state == unknown || m_state == disconnected)
        m_lossReported = true;  // a failed attempt is no lost session

    if (m_state == unknown) {
        changeState(connecting);
        m_opening = true;
        open(serverUrl(m_connectionInfo.address));
    } else if (m_state == disconnected) {
        m_opening = true;
        open(serverUrl(m_connectionInfo.address));
        // The socket is still opening, so this send normally fails; the real
        // login follows once the socket reports it is connected. An attempt
        // that has already failed (a URL the socket refuses) stays failed.
        if (m_opening)
            sendLogin();
    }
}

void CServerClient::logOut(QString token)
{
    if (token.isEmpty())
        return;
    if (cmdSendMessage(CMessageParser::closeAuthReq(token)))
        changeState(disconnectedFailed);
}

void CServerClient::abandonLogin()
{
    // Without this a server that never answers the login would hold the
    // client until the program restarts: Connect waits for a disconnection
    // that never comes.
    if (m_state == ready || m_state == disconnected || QWebSocket::state() == QAbstractSocket::UnconnectedState)
        return;
    DIAG() << "login abandoned in state" << stateName(m_state);
    m_opening = false;
    m_lossReported = true;   // the operator's own doing, not a lost session
    abort();
    changeState(disconnected);
}

bool CServerClient::loginStands() const
{
    switch (m_state) {
    case authorizationSuccess:
    case ready:
    case commonErrors:
    case serverInfoRespError:
        return true;
    default:
        return false;
    }
}

void CServerClient::changeState(EClientStates state)
{
    if (state == m_state)
        return;
    m_state = state;
    DIAG() << "State changed: " << stateName(state) << "[" << int(state) << "]";
    emit clientStateChanged(state);
}

bool CServerClient::cmdSendMessage(const QString& message)
{
    const qint64 written = sendTextMessage(message);
    // Out now, not once the event loop has repainted the window.
    flush();
    const qint64 expected = message.toUtf8().size();
    if (written == expected) {
        DIAG() << QString(QStringLiteral("Message sended:") + printable(message));
        return false;
    }
    DIAG() << "Error! size = " << written << " message size = " << expected;
    return true;
}

void CServerClient::sendLogin()
{
    if (cmdSendMessage(CMessageParser::authReq(m_connectionInfo.login, m_connectionInfo.password)))
        changeState(authorizationFailed);
}

void CServerClient::onSocketError(QAbstractSocket::SocketError error)
{
    DIAG() << error;
    const bool opening = m_opening;
    m_opening = false;
    if (error == QAbstractSocket::RemoteHostClosedError) {
        DIAG() << "this";
        // The peer hanging up after a refused handshake is that same failure,
        // already reported with its own, more telling text.
        if (opening || !m_lossReported)
            reportConnectionLoss();
        return;
    }
    if (!opening)
        return;

    // A connection attempt that failed (refused, unreachable, no WebSocket
    // server there) would otherwise leave the operator without any answer,
    // and the client in a state from which Connect does nothing.
    m_lossReported = true;
    CloraAuthResp resp;
    resp.status = false;
    resp.errString = errorString().isEmpty() ? QStringLiteral("Connection Error") : errorString();
    emit hostError(resp);
    changeState(disconnected);
}

void CServerClient::onDisconnected()
{
    // The program never closes the socket itself, so a live session that ends
    // without a transport error was closed by the server with a close frame:
    // the login widget must hear of it as well.
    if (!m_lossReported && m_state != disconnected)
        reportConnectionLoss();
    changeState(disconnected);
}

void CServerClient::reportConnectionLoss()
{
    m_lossReported = true;
    CloraAuthResp resp;
    resp.status = false;
    resp.errString = QStringLiteral("Remote Host Closed Error");
    emit hostError(resp);
}
