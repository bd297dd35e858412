#include "ServerProcess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <cstdio>

namespace DevServer {

ServerProcess::ServerProcess(const QString& program)
{
    m_process.setProgram(program);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

bool ServerProcess::startOnPort(quint16 port, const QStringList& options, int timeoutMs)
{
    // A restart must find the "listening" line itself, not hand it on unread.
    QObject::disconnect(m_forwarding);
    m_process.setArguments(QStringList{QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                                       QStringLiteral("--port"), QString::number(port),
                                       QStringLiteral("--exit-with-parent")}
                           + options);
    m_process.start();
    const QRegularExpression listening(QStringLiteral("^listening on [^\\s]+:(\\d+)$"),
                                       QRegularExpression::MultilineOption);
    QByteArray output;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_process.waitForReadyRead(int(deadline.remainingTime()))) {
        output += m_process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (!match.hasMatch())
            continue;
        m_port = quint16(match.captured(1).toUInt());
        // Later output (--verbose traces) is passed on, so the pipe never fills up.
        m_forwarding = QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
            const QByteArray more = m_process.readAllStandardOutput();
            fwrite(more.constData(), 1, size_t(more.size()), stdout);
        });
        return true;
    }
    m_error = QStringLiteral("no port reported (%1); output: %2").arg(m_process.errorString(),
                                                                       QString::fromUtf8(output));
    stop();
    return false;
}

bool ServerProcess::stop(int timeoutMs)
{
    m_process.terminate();
    return m_process.waitForFinished(timeoutMs) || kill(timeoutMs);
}

bool ServerProcess::kill(int timeoutMs)
{
    m_process.kill();
    return m_process.waitForFinished(timeoutMs) || m_process.state() == QProcess::NotRunning;
}

} // namespace DevServer
