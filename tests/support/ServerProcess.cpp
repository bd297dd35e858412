#include "ServerProcess.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdio>

namespace DevServer {

ServerProcess::ServerProcess(const QString& program)
{
    m_process.setProgram(program);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ServerProcess::~ServerProcess()
{
    stop();
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
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    const QRegularExpression listening(QStringLiteral("^listening on [^\\s]+:(\\d+)$"),
                                       QRegularExpression::MultilineOption);
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs && m_process.waitForReadyRead(int(timeoutMs - clock.elapsed()))) {
        output += m_process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            // Later output (--verbose traces) is passed on, so the pipe never fills up.
            m_forwarding = QObject::connect(
                &m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
                    const QByteArray more = m_process.readAllStandardOutput();
                    fwrite(more.constData(), 1, size_t(more.size()), stdout);
                });
            return true;
        }
    }
    m_error = QStringLiteral("no port reported; output: ") + QString::fromUtf8(output);
    stop();
    return false;
}

bool ServerProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    if (m_process.waitForFinished(timeoutMs))
        return true;
    m_process.kill();
    return m_process.waitForFinished(timeoutMs);
}

bool ServerProcess::kill(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.kill();
    return m_process.waitForFinished(timeoutMs);
}

QString ServerProcess::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

} // namespace DevServer
