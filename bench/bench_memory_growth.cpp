// Resident memory of the program as start-up wires it, after 10,000
// registrations in auto mode against after 100 (scans through a
// pseudo-terminal, the development server as a process of its own so that its
// store is not counted here), and how much of that the log pane holds: it
// keeps one black line per registration by design.
// Floor: the memory one such log line takes, measured by appending as many
// lines of the same shape to the pane in the same process.

#include "BenchSupport.h"
#include "EndToEndRig.h"
#include "LogOutputWidget.h"
#include "ServerProcess.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int baseline = 100;
constexpr int total = 10000;
constexpr int chunks = 6;

QString devEuiOf(int index)
{
    return Bench::devEuiOf(QStringLiteral("00A3E0"), index);
}

int fail(const char* what)
{
    return Bench::fail("bench_memory_growth", what);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Bench::quietDiagnostics();
    QTemporaryDir workDir;   // settings.cfg and the devices file
    QDir::setCurrent(workDir.path());

    DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
    if (!server.start({QStringLiteral("--max-devices"), QString::number(total)}))
        return fail(qPrintable(server.errorText()));
    EndToEndRig rig;
    if (const char* failure = Bench::startAutoMode(rig, server.address()))
        return fail(failure);

    int registered = 0;
    const auto registerUpTo = [&](int count) {
        for (; registered < count; ++registered) {
            if (!Bench::registerByScan(rig, devEuiOf(registered)))
                return false;
        }
        // The follow-up lookup and counts of the last one settle too.
        QCoreApplication::processEvents();
        return true;
    };

    if (!registerUpTo(baseline))
        return fail("a scan was not registered");
    const qint64 startKiB = Bench::residentKiB();
    QVector<double> bytesPerRegistration;
    qint64 lastKiB = startKiB;
    int lastCount = baseline;
    for (int chunk = 1; chunk <= chunks; ++chunk) {
        const int upTo = baseline + (total - baseline) * chunk / chunks;
        if (!registerUpTo(upTo))
            return fail("a scan was not registered");
        const qint64 nowKiB = Bench::residentKiB();
        bytesPerRegistration.append((nowKiB - lastKiB) * 1024.0 / (upTo - lastCount));
        std::printf("after %5d registrations: resident %.1f MiB (%+.0f bytes per registration since %d)\n", upTo,
                    nowKiB / 1024.0, bytesPerRegistration.last(), lastCount);
        std::fflush(stdout);
        lastKiB = nowKiB;
        lastCount = upTo;
    }
    const double growth = (lastKiB - startKiB) * 1024.0 / (total - baseline);

    // The pane's share: as many lines again, of the shape each registration writes.
    LogOutputWidget* pane = LogOutputWidget::instance();
    const int paneCharacters = pane->plainText().size();
    const qint64 beforeLinesKiB = Bench::residentKiB();
    for (int i = 0; i < total - baseline; ++i) {
        pane->appendMessage(QStringLiteral("Устройство UID: %1 добавлено на сервер и записано в файл %2")
                                .arg(devEuiOf(total + i), QStringLiteral("Devices.txt")),
                            QStringLiteral("black"));
    }
    QCoreApplication::processEvents();   // the pane takes in its pending lines
    const double bytesPerLine = (Bench::residentKiB() - beforeLinesKiB) * 1024.0 / (total - baseline);

    std::printf("growth from %d to %d registrations: %.1f MiB, %.0f bytes per registration; the log pane "
                "holds %d characters after them, a line of it takes %.0f bytes (%.0f%% of the growth)\n",
                baseline, total, (lastKiB - startKiB) / 1024.0, growth, paneCharacters, bytesPerLine,
                growth > 0 ? 100.0 * bytesPerLine / growth : 0.0);
    Bench::report(QStringLiteral("memory_growth"), QStringLiteral("resident growth per registration, bytes"),
                  Bench::summarize(bytesPerRegistration), bytesPerLine,
                  QStringLiteral("none; log pane holds %1%").arg(growth > 0 ? qRound(100.0 * bytesPerLine / growth) : 0));
    Bench::report(QStringLiteral("memory_growth"), QStringLiteral("resident growth 100 -> 10,000, MiB"),
                  {(lastKiB - startKiB) / 1024.0, (lastKiB - startKiB) / 1024.0, (lastKiB - startKiB) / 1024.0},
                  bytesPerLine * (total - baseline) / (1024.0 * 1024.0), QString());
    return 0;
}
