#include "CServerClient.h"

#include "SingleInstance.h"

namespace {
SingleInstance<CServerClient> client;
}

CServerClient::CServerClient(const QString& text, QObject* parent)
    : QWebSocket(QString(), QWebSocketProtocol::Version13, parent)
    , m_text(text)
{
}

CServerClient* CServerClient::instance(const QString& text, QObject* parent)
{
    return client.get([&text, parent] { return new CServerClient(text, parent); });
}

bool CServerClient::sendMessage(const QString& message)
{
    if (m_state != ready)
        return false;
    return cmdSendMessage(message);
}

void CServerClient::openWebSoket(CLoraAuthReq connectionInfo)
{
    m_connectionInfo = connectionInfo;
}

void CServerClient::logOut(QString token)
{
    Q_UNUSED(token)
}

void CServerClient::changeState(EClientStates state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit clientStateChanged(state);
}

bool CServerClient::cmdSendMessage(const QString& message)
{
    return sendTextMessage(message) != message.toUtf8().size();
}
