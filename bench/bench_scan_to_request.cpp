// From the scanner's bytes until the server has received the
// "manage_devices_req" they lead to, in auto mode: the whole program as
// start-up wires it, the scanner on a pseudo-terminal, the server on a thread
// of this process so that both ends read one clock. Measured from the end of
// the scanner panel's quiet gap (the program's own work) and from the last
// byte written (the gap included: what the operator waits).
// Floor: a bare WebSocket client sending one prepared request to the same
// server, measured the same way.

#include "BareClient.h"
#include "BenchSupport.h"
#include "CIAboutDevice.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "EndToEndRig.h"
#include "ProtocolKeys.h"
#include "TimedServer.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int scansPerRun = 1000;
constexpr int runs = 3;
constexpr int warmUpScans = 50;
// No operator scans faster: the window has drawn the last device by then.
constexpr int operatorPauseMs = 5;

QString devEuiOf(int index)
{
    return Bench::devEuiOf(QStringLiteral("00B5C0"), index);
}

int fail(const char* what)
{
    return Bench::fail("bench_scan_to_request", what);
}

struct RunFigures
{
    double median;
    double p99;
};

struct Latency
{
    double fromGapEnd;
    double fromLastByte;
};

RunFigures figuresOf(const QVector<double>& latencies)
{
    return {Bench::summarize(latencies).median, Bench::percentile(latencies, 0.99)};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Bench::quietDiagnostics();
    QTemporaryDir workDir;   // settings.cfg and the devices file
    QDir::setCurrent(workDir.path());

    DevServer::ServerConfig config;
    config.maxDevices = 1000000;
    TimedServer server(config);
    if (!server.startListening())
        return fail("the server cannot listen");

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
    // The workspace records the device just before it hands the request to
    // the client: that splits the road into the program's own work and the
    // way from the client's send to the server.
    qint64 recorded = 0;
    QVector<double> untilSent, sentToArrival;
    QObject::connect(ScannedDevices::instance(), &ScannedDevices::devicesChanged,
                     [&] { recorded = Bench::nowNs(); });
    // One scan; the latencies in ms, negative when it went wrong.
    const auto scanOnce = [&]() -> Latency {
        const Latency failed{-1, -1};
        const int before = server.arrivalCount(ProtocolKeys::manageDevicesReq);
        const QByteArray code = EndToEndRig::scanCode(devEuiOf(nextDevice++), Bench::appEuiHex, Bench::appKeyHex);
        QSignalSpy verdicts(rig.parser(), &CMessageParser::mngDevRespSignal);
        QSignalSpy counts(rig.parser(), &CMessageParser::serverInfoResp);
        const qint64 written = Bench::nowNs();
        // The operator scans the next device once the last one is shown: the
        // verdict, the server's record and the new counts have arrived, and
        // the window has caught up with them.
        if (!rig.scan(code) || !Bench::runUntil([&] { return !verdicts.isEmpty() && !counts.isEmpty(); }, 5000)
            || verdicts.first().at(0).toString() != ProtocolKeys::Status::added)
            return failed;
        Bench::idle(operatorPauseMs);
        const QVector<qint64> arrivals = server.arrivals(ProtocolKeys::manageDevicesReq);
        const qint64 gapEnd = gapClock.lastEndNs();
        if (arrivals.size() != before + 1 || gapEnd < written)
            return failed;
        untilSent.append((recorded - gapEnd) / 1e6);
        sentToArrival.append((arrivals.last() - recorded) / 1e6);
        return {(arrivals.last() - gapEnd) / 1e6, (arrivals.last() - written) / 1e6};
    };

    // The floor sends what the program sends: the record the workspace completed.
    for (int i = 0; i < warmUpScans; ++i) {
        if (scanOnce().fromGapEnd < 0)
            return fail("a warm-up scan was not registered");
    }
    CLoraDeviceInfo record = rig.window()->workspace()->deviceInfo();
    const auto sendOnce = [&]() -> double {
        record.devEui = devEuiOf(nextDevice++);
        const QString request = CMessageParser::manageDevicesReq(record);
        const int answers = bare.answerCount();
        const qint64 sent = Bench::nowNs();
        bare.send(request);
        if (!bare.waitForAnswers(answers + 1, 5000))
            return -1;
        return (server.arrivals(ProtocolKeys::manageDevicesReq).last() - sent) / 1e6;
    };
    for (int i = 0; i < warmUpScans; ++i)
        sendOnce();

    QVector<double> medians, p99s, lastByteMedians, lastByteP99s, floorMedians, floorP99s;
    for (int run = 0; run < runs; ++run) {
        QVector<double> program, fromLastByte, floor;
        for (int i = 0; i < scansPerRun; ++i) {
            const Latency latency = scanOnce();
            if (latency.fromGapEnd < 0)
                return fail("a scan was not registered");
            program.append(latency.fromGapEnd);
            fromLastByte.append(latency.fromLastByte);
        }
        for (int i = 0; i < scansPerRun; ++i) {
            const double latency = sendOnce();
            if (latency < 0)
                return fail("the bare client got no answer");
            floor.append(latency);
        }
        const RunFigures p = figuresOf(program);
        const RunFigures b = figuresOf(fromLastByte);
        const RunFigures f = figuresOf(floor);
        medians.append(p.median);
        p99s.append(p.p99);
        lastByteMedians.append(b.median);
        lastByteP99s.append(b.p99);
        floorMedians.append(f.median);
        floorP99s.append(f.p99);
        std::printf("run %d: %d scans: from the end of the quiet gap median %.3f ms (%.3f ms until the workspace "
                    "sends, %.3f ms from there to the server), p99 %.3f ms, max %.3f ms; from the last byte "
                    "median %.3f ms, p99 %.3f ms; floor median %.3f ms, p99 %.3f ms\n",
                    run + 1, scansPerRun, p.median, Bench::summarize(untilSent).median,
                    Bench::summarize(sentToArrival).median, p.p99, Bench::summarize(program).max, b.median, b.p99,
                    f.median, f.p99);
        untilSent.clear();
        sentToArrival.clear();
    }

    const Bench::Figures median = Bench::summarize(medians);
    const double floorMedian = Bench::summarize(floorMedians).median;
    const QString goal = QStringLiteral("< 2 ms and <= 10x floor (%1)")
                             .arg(median.median < 2.0 && median.median <= 10 * floorMedian ? "met" : "MISSED");
    Bench::report(QStringLiteral("scan_to_request"), QStringLiteral("latency from gap end median, ms"), median,
                  floorMedian, goal);
    Bench::report(QStringLiteral("scan_to_request"), QStringLiteral("latency from gap end p99, ms"),
                  Bench::summarize(p99s), Bench::summarize(floorP99s).median, QString());
    // The operator's wait: the quiet gap plus the work above.
    const QString gap = QStringLiteral("includes the %1 ms quiet gap").arg(CScanerSettings::scanQuietGapMs);
    Bench::report(QStringLiteral("scan_to_request"), QStringLiteral("latency from last byte median, ms"),
                  Bench::summarize(lastByteMedians), floorMedian, gap);
    Bench::report(QStringLiteral("scan_to_request"), QStringLiteral("latency from last byte p99, ms"),
                  Bench::summarize(lastByteP99s), Bench::summarize(floorP99s).median, gap);
    return 0;
}
