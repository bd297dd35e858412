#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace DevServer {

// Runs the tesmar-devserver executable on a free loopback port for tests and
// benchmarks, and stops it again when it goes out of scope.
class ServerProcess
{
public:
    explicit ServerProcess(const QString& program);
    ~ServerProcess() { stop(); }

    // Starts the server with "--port 0" and the given options, and waits for
    // the line that names the chosen port.
    bool start(const QStringList& options = QStringList(), int timeoutMs = 10000)
    {
        return startOnPort(0, options, timeoutMs);
    }
    // As start(), on the given port: brings a server back where a client expects it.
    bool startOnPort(quint16 port, const QStringList& options = QStringList(), int timeoutMs = 10000);
    bool stop(int timeoutMs = 5000);
    // Ends the server at once, as a crash would: no close frames, no goodbyes.
    bool kill(int timeoutMs = 5000);

    quint16 port() const { return m_port; }
    // "127.0.0.1:<port>", as the program's login widget takes it
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString errorText() const { return m_error; }

private:
    QProcess m_process;
    QMetaObject::Connection m_forwarding;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace DevServer
