#include "BenchSupport.h"

#include "CMainWindow.h"
#include "EndToEndRig.h"
#include "ProtocolKeys.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace Bench {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Figures summarize(QVector<double> values)
{
    if (values.isEmpty())
        return {};
    std::sort(values.begin(), values.end());
    const int n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return {median, values.front(), values.back()};
}

double percentile(QVector<double> values, double fraction)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank: the smallest value with at least this fraction at or below it.
    const int rank = qBound(1, int(std::ceil(fraction * values.size())), values.size());
    return values[rank - 1];
}

namespace {

QString number(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    const double magnitude = std::abs(value);
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : magnitude >= 1 ? 2 : 3;
    return QString::number(value, 'f', decimals);
}

} // namespace

void report(const QString& bench, const QString& metric, const Figures& figures, double floor,
            const QString& goal, bool higherIsBetter)
{
    const double ratio = floor <= 0 || figures.median <= 0
                             ? 0
                             : (higherIsBetter ? floor / figures.median : figures.median / floor);
    const QString line = QStringLiteral("RESULT|%1|%2|%3|%4|%5|%6|%7|%8")
                             .arg(bench, metric, number(figures.median), number(figures.min),
                                  number(figures.max), floor > 0 ? number(floor) : QStringLiteral("-"),
                                  ratio > 0 ? number(ratio) + QStringLiteral("x") : QStringLiteral("-"),
                                  goal.isEmpty() ? QStringLiteral("-") : goal);
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

namespace {

void dropNoise(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

void quietDiagnostics()
{
    qInstallMessageHandler(dropNoise);
}

qint64 procStatusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

qint64 residentKiB()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    return procStatusKiB("VmRSS");
}

QuietGapClock::QuietGapClock(EndToEndRig& rig)
{
    if (QObject* timer = rig.window()->findChild<QObject*>(QStringLiteral("scanQuietGap"))) {
        timer->installEventFilter(this);
        m_watching = true;
    }
}

bool QuietGapClock::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Timer)
        m_lastEnd = nowNs();
    return QObject::eventFilter(watched, event);
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

const QString appEuiHex = QStringLiteral("70B0C0D0E0F01020");
const QString appKeyHex = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");

QString devEuiOf(const QString& prefix, int index)
{
    return (prefix + QStringLiteral("%1").arg(index, 10, 16, QLatin1Char('0'))).toUpper();
}

int fail(const char* bench, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", bench, what);
    return 1;
}

const char* startAutoMode(EndToEndRig& rig, const QString& serverAddress)
{
    if (!rig.isScannerOpen())
        return "no pseudo-terminal for the scanner";
    if (!rig.logIn(serverAddress, QStringLiteral("admin"), QStringLiteral("admin")))
        return "the program did not log in";
    rig.setAutoMode(true);
    return nullptr;
}

bool registerByScan(EndToEndRig& rig, const QString& devEui)
{
    return rig.scanAndWaitForVerdict(EndToEndRig::scanCode(devEui, appEuiHex, appKeyHex))
           == ProtocolKeys::Status::added;
}

} // namespace Bench
