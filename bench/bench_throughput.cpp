// Devices registered per second end to end in auto mode: the whole program
// as start-up wires it, scans written to a pseudo-terminal one after the
// other (each once the verdict on the last one is shown), the development
// server as a process of its own. Counted with the scanner panel's quiet gap
// left out (the program's own work) and with it (what the operator gets).
// Floor: a bare WebSocket client sending the same two requests per device
// (the lookup and the registration) to the same server, each device once the
// last one's verdict arrived.

#include "BareClient.h"
#include "BenchSupport.h"
#include "CIAboutDevice.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "EndToEndRig.h"
#include "ServerProcess.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int devicesPerRun = 1000;
constexpr int runs = 3;
constexpr int warmUp = 100;

QString devEuiOf(int index)
{
    return Bench::devEuiOf(QStringLiteral("00C1C0"), index);
}

int fail(const char* what)
{
    return Bench::fail("bench_throughput", what);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Bench::quietDiagnostics();
    QTemporaryDir workDir;   // settings.cfg and the devices file
    QDir::setCurrent(workDir.path());

    const int total = warmUp + 2 * runs * devicesPerRun;
    DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
    if (!server.start({QStringLiteral("--max-devices"), QString::number(total)}))
        return fail(qPrintable(server.errorText()));

    EndToEndRig rig;
    if (const char* failure = Bench::startAutoMode(rig, server.address()))
        return fail(failure);
    BareClient bare;
    if (!bare.connectAndLogIn(server.address(), QStringLiteral("admin"), QStringLiteral("admin")))
        return fail("the bare client did not log in");

    const Bench::QuietGapClock gapClock(rig);
    if (!gapClock.isWatching())
        return fail("the scanner panel has no quiet-gap timer to watch");

    int nextDevice = 0;
    qint64 waitedForGaps = 0;   // from each scan's last byte to the end of its quiet gap, summed
    const auto registerScans = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const qint64 written = Bench::nowNs();
            if (!Bench::registerByScan(rig, devEuiOf(nextDevice++)) || gapClock.lastEndNs() < written)
                return false;
            waitedForGaps += gapClock.lastEndNs() - written;
        }
        return true;
    };
    if (!registerScans(warmUp))
        return fail("a warm-up scan was not registered");

    // The floor's requests are the program's own: its last completed record.
    CLoraDeviceInfo record = rig.window()->workspace()->deviceInfo();
    const auto registerBare = [&](int count) {
        for (int i = 0; i < count; ++i) {
            record.devEui = devEuiOf(nextDevice++);
            const int answers = bare.answerCount();
            bare.send(CMessageParser::devEuiReq(record.devEui));
            bare.send(CMessageParser::manageDevicesReq(record));
            if (!bare.waitForAnswers(answers + 2, 5000)
                || !bare.lastAnswer().contains(QLatin1String("\"status\":\"added\"")))
                return false;
        }
        return true;
    };

    QVector<double> rates, ratesWithGap, floorRates;
    for (int run = 0; run < runs; ++run) {
        waitedForGaps = 0;
        qint64 start = Bench::nowNs();
        if (!registerScans(devicesPerRun))
            return fail("a scan was not registered");
        const qint64 elapsed = Bench::nowNs() - start;
        rates.append(devicesPerRun / ((elapsed - waitedForGaps) / 1e9));
        ratesWithGap.append(devicesPerRun / (elapsed / 1e9));

        start = Bench::nowNs();
        if (!registerBare(devicesPerRun))
            return fail("the bare client's device was not registered");
        floorRates.append(devicesPerRun / ((Bench::nowNs() - start) / 1e9));
        std::printf("run %d: %d devices: %.0f registered/s without the quiet gaps, %.1f/s with them; "
                    "floor %.0f/s\n",
                    run + 1, devicesPerRun, rates.last(), ratesWithGap.last(), floorRates.last());
    }

    const Bench::Figures figures = Bench::summarize(rates);
    const double floorRate = Bench::summarize(floorRates).median;
    Bench::report(QStringLiteral("throughput"), QStringLiteral("registrations per second from gap end"), figures,
                  floorRate, QStringLiteral(">= 300/s (%1)").arg(figures.median >= 300 ? "met" : "MISSED"), true);
    Bench::report(QStringLiteral("throughput"), QStringLiteral("registrations per second from last byte"),
                  Bench::summarize(ratesWithGap), floorRate,
                  QStringLiteral("includes the %1 ms quiet gap").arg(CScanerSettings::scanQuietGapMs), true);
    return 0;
}
