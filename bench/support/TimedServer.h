#pragma once

#include "ServerConfig.h"

#include <QMutex>
#include <QString>
#include <QThread>
#include <QVector>
#include <QWaitCondition>

// The development server's request handling inside the benchmark, on a
// thread of its own so that it reads each message as soon as it arrives,
// whatever the program's thread is doing. Notes when every message arrived,
// on the clock of Bench::nowNs().
class TimedServer : public QThread
{
public:
    explicit TimedServer(const DevServer::ServerConfig& config = DevServer::ServerConfig());
    ~TimedServer() override;

    // Listens on a free loopback port; false when that failed.
    bool startListening();
    QString address() const;   // "127.0.0.1:<port>"

    // Arrival times of the messages whose "cmd" is the given one, in order.
    QVector<qint64> arrivals(const QString& cmd) const;
    int arrivalCount(const QString& cmd) const;

protected:
    void run() override;

private:
    void noteArrival(const QString& message, qint64 atNs);

    DevServer::ServerConfig m_config;
    mutable QMutex m_mutex;
    QWaitCondition m_listening;
    bool m_started = false;
    quint16 m_port = 0;
    QVector<QPair<QString, qint64>> m_arrivals;
};
