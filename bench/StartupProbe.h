#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

// What bench_startup reads from each program it starts: "shown <ms since the
// process started>" and "VmHWM <peak KiB>" on stdout, as soon as its window
// has been shown; then the program quits. Shared by the program's start-up
// and the minimal Qt program, so that both report in the very same way.
namespace StartupProbe {

// Milliseconds since the kernel started this process (in its clock ticks);
// -1 where that is not known.
inline double msSinceProcessStart()
{
#ifdef Q_OS_LINUX
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Field 22, counted after the parenthesised command name.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
#else
    return -1;
#endif
}

inline QByteArray peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "-1";
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0);
    }
    return "-1";
}

// Call right after the window's show(): reports once the events that show
// it have been handled.
inline void reportWhenShown()
{
    QTimer::singleShot(0, [] {
        std::printf("shown %.1f\nVmHWM %s\n", msSinceProcessStart(), peakMemoryKiB().constData());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace StartupProbe
