#include "BareClient.h"

#include "BenchSupport.h"
#include "CMessageParser.h"

#include <QUrl>

BareClient::BareClient()
{
    QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
        ++m_answers;
        m_lastAnswer = text;
    });
}

bool BareClient::connectAndLogIn(const QString& address, const QString& login, const QString& password,
                                 int timeoutMs)
{
    m_socket.open(QUrl(QStringLiteral("ws://") + address));
    if (!Bench::runUntil([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, timeoutMs))
        return false;
    send(CMessageParser::authReq(login, password));
    return waitForAnswers(m_answers + 1, timeoutMs)
           && m_lastAnswer.contains(QLatin1String("\"status\":true"));
}

bool BareClient::waitForAnswers(int total, int timeoutMs)
{
    return Bench::runUntil([this, total] { return m_answers >= total; }, timeoutMs);
}
