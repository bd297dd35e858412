// Times a burst of 1,000 registrations that the program's own client and
// message parser send over one connection to the development server: until
// every verdict has arrived, and until the lookup and the counts that the
// parser asks for after each "added" have been answered too.
// Floor: a bare WebSocket client sending the same 1,000 prepared requests to
// the same server and waiting for their 1,000 answers.

#include "BareClient.h"
#include "BenchSupport.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "ProgramStartup.h"
#include "ProtocolKeys.h"
#include "ServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTranslator>
#include <QVector>

#include <cstdio>
#include <functional>

namespace {

constexpr int burstSize = 1000;
constexpr int measuredRuns = 5;
constexpr int timeoutMs = 60000;

CLoraDeviceInfo scannedDevice(int run, int index)
{
    CLoraDeviceInfo device;
    device.devEui = QStringLiteral("BE%1%2").arg(run, 4, 16, QLatin1Char('0')).arg(index, 10, 16, QLatin1Char('0')).toUpper();
    device.appEui = QStringLiteral("0102030405060708");
    device.appKey = QStringLiteral("000102030405060708090A0B0C0D0E0F");
    device.devName = QStringLiteral("bench-%1").arg(index);
    device.devClass = QStringLiteral("CLASS_A");
    device.freq4 = -1;
    device.freq5 = -1;
    device.freq6 = -1;
    device.freq7 = -1;
    device.freq8 = -1;
    device.freqRx2 = -1;
    device.rxWindow = device.delayRx1 = device.delayJoin1 = device.drRx2 = -1;
    device.preferDr = device.preferPower = device.reactionTime = device.altitude = -1;
    device.latitude = device.longitude = -1.0;
    // The frequency-plan group's defaults: channels 1 to 8 on.
    device.channel1En = device.channel2En = device.channel3En = device.channel4En = true;
    device.channel5En = device.channel6En = device.channel7En = device.channel8En = true;
    return device;
}

bool runUntil(const std::function<bool()>& done)
{
    return Bench::runUntil(done, timeoutMs);
}

void printRow(const char* what, const Bench::Figures& stats)
{
    std::printf("  %-34s median %8.1f ms  min %8.1f ms  max %8.1f ms  (%.0f registrations/s at the median)\n",
                what, stats.median, stats.min, stats.max, burstSize * 1000.0 / stats.median);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Bench::quietDiagnostics();

    // The client stores the server address in settings.cfg of the working directory.
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());

    DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
    if (!server.start({QStringLiteral("--max-devices"), QString::number(2 * burstSize * (measuredRuns + 1))})) {
        std::fprintf(stderr, "bench_registration_burst: cannot start the server: %s\n",
                     qPrintable(server.errorText()));
        return 1;
    }

    QTranslator translator;
    ProgramStartup::start(&app, translator);
    CServerClient* client = CServerClient::instance();
    CMessageParser* parser = CMessageParser::instance();
    client->openWebSoket({server.address(), QStringLiteral("admin"), QStringLiteral("admin")});
    if (!runUntil([client] { return client->isReady(); })) {
        std::fprintf(stderr, "bench_registration_burst: the client never became ready\n");
        return 1;
    }

    int verdicts = 0;
    int added = 0;
    int countAnswers = 0;
    QString firstRefusal;
    QObject::connect(parser, &CMessageParser::mngDevRespSignal, [&](const QString& status) {
        ++verdicts;
        if (status != ProtocolKeys::Status::added && firstRefusal.isEmpty())
            firstRefusal = status;
        added += status == ProtocolKeys::Status::added;
    });
    QObject::connect(parser, &CMessageParser::serverInfoResp, [&] { ++countAnswers; });

    BareClient bare;
    if (!bare.connectAndLogIn(server.address(), QStringLiteral("admin"), QStringLiteral("admin"))) {
        std::fprintf(stderr, "bench_registration_burst: the bare client did not log in\n");
        return 1;
    }

    QVector<double> verdictTimes;
    QVector<double> settledTimes;
    QVector<double> floorTimes;
    for (int run = 0; run <= measuredRuns; ++run) { // run 0 warms up
        QVector<CLoraDeviceInfo> devices;
        for (int i = 0; i < burstSize; ++i)
            devices.append(scannedDevice(run, i));
        verdicts = added = countAnswers = 0;

        QElapsedTimer clock;
        clock.start();
        for (const CLoraDeviceInfo& device : devices)
            parser->mngDevReq(device);
        const bool answered = runUntil([&] { return verdicts == burstSize; });
        const double verdictMs = clock.nsecsElapsed() / 1e6;
        const bool settled = answered && added == burstSize && runUntil([&] { return countAnswers == burstSize; });
        const double settledMs = clock.nsecsElapsed() / 1e6;
        if (!settled || added != burstSize) {
            std::fprintf(stderr,
                         "bench_registration_burst: run %d got %d verdicts (%d added, first other: \"%s\"), "
                         "%d count answers\n",
                         run, verdicts, added, qPrintable(firstRefusal), countAnswers);
            return 1;
        }

        // The floor: the same requests, prepared, from a client that only counts answers.
        QStringList requests;
        for (const CLoraDeviceInfo& device : devices) {
            CLoraDeviceInfo other = device;
            other.devEui = QStringLiteral("BF") + device.devEui.mid(2);
            requests << CMessageParser::manageDevicesReq(other);
        }
        const int answersBefore = bare.answerCount();
        clock.restart();
        for (const QString& request : requests)
            bare.send(request);
        if (!bare.waitForAnswers(answersBefore + burstSize, timeoutMs)) {
            std::fprintf(stderr, "bench_registration_burst: the bare client's burst was not answered\n");
            return 1;
        }
        const double floorMs = clock.nsecsElapsed() / 1e6;

        if (run > 0) {
            verdictTimes.append(verdictMs);
            settledTimes.append(settledMs);
            floorTimes.append(floorMs);
        }
    }

    std::printf("registration burst: %d devices over one connection, %d runs after one warm-up\n", burstSize,
                measuredRuns);
    const Bench::Figures verdicts1000 = Bench::summarize(verdictTimes);
    const Bench::Figures settled1000 = Bench::summarize(settledTimes);
    const double floor = Bench::summarize(floorTimes).median;
    printRow("every verdict received", verdicts1000);
    printRow("follow-up lookups and counts done", settled1000);
    printRow("floor: bare client, every answer", Bench::summarize(floorTimes));
    Bench::report(QStringLiteral("registration_burst"), QStringLiteral("1,000 requests: every verdict, ms"),
                  verdicts1000, floor, QString());
    Bench::report(QStringLiteral("registration_burst"), QStringLiteral("1,000 requests: follow-ups done, ms"),
                  settled1000, floor, QString());
    return 0;
}
