#pragma once

#include <QString>
#include <QWebSocket>

// A plain WebSocket client without any of the program's objects: sends
// prepared texts and counts the answers. The floor of the measurements
// that go through the program.
class BareClient
{
public:
    BareClient();

    // Connects to "127.0.0.1:<port>" and logs in; false when either failed.
    bool connectAndLogIn(const QString& address, const QString& login, const QString& password,
                         int timeoutMs = 5000);

    void send(const QString& text) { m_socket.sendTextMessage(text); }
    int answerCount() const { return m_answers; }
    QString lastAnswer() const { return m_lastAnswer; }
    // Runs the event loop until `total` answers have arrived since connecting.
    bool waitForAnswers(int total, int timeoutMs = 10000);

private:
    QWebSocket m_socket;
    int m_answers = 0;
    QString m_lastAnswer;
};
