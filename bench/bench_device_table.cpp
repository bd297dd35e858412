// A "get_devices_resp" listing 10,000 devices, read by the message parser
// and put into the workspace's device table (CMessageParser::getDevResp, the
// devicesList signal, CIAboutDevice::fillDeviceTable), with the window shown
// on the table's tab as the operator sees it. Measured until the call returns,
// and until the window has handled what the fill left pending (layout and
// painting of the rows and their widgets).
// Also measured: scrolling from there to the last row, which brings the
// Delete panels of the rows coming into view.
// Floor: the same text parsed and its names and DevEUIs put into a plain
// table of the same size, without a widget per row.

#include "BenchSupport.h"
#include "CIAboutDevice.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "EndToEndRig.h"
#include "ProtocolKeys.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace Keys = ProtocolKeys;

namespace {

constexpr int deviceCount = 10000;
constexpr int runs = 3;

// A device as the development server lists it after a registration with
// the form's defaults.
QJsonObject listedDevice(int index)
{
    QJsonObject channels;
    for (int channel = 1; channel <= 16; ++channel)
        channels.insert(Keys::channelEn(channel), channel <= 8);
    return {
        {Keys::devEui, QStringLiteral("00D7A0%1").arg(index, 10, 16, QLatin1Char('0')).toUpper()},
        {Keys::devName, QStringLiteral("meter-%1").arg(index)},
        {QStringLiteral("class"), QStringLiteral("CLASS_A")},
        {QStringLiteral("serverAdrEnable"), false},
        {QStringLiteral("OTAA"),
         QJsonObject{{QStringLiteral("appEui"), QStringLiteral("70B0C0D0E0F01020")},
                     {QStringLiteral("appKey"), QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C")}}},
        {QStringLiteral("frequencyPlan"),
         QJsonObject{{QStringLiteral("freq4"), 867100000}, {QStringLiteral("freq5"), 867300000},
                     {QStringLiteral("freq6"), 867500000}, {QStringLiteral("freq7"), 867700000},
                     {QStringLiteral("freq8"), 867900000}}},
        {QStringLiteral("freqRx2"), 869525000},
        {QStringLiteral("channelMask"), channels},
    };
}

QString deviceList()
{
    QJsonArray devices;
    for (int i = 0; i < deviceCount; ++i)
        devices.append(listedDevice(i));
    const QJsonObject answer{{Keys::cmd, Keys::getDevicesResp}, {Keys::status, true},
                             {Keys::errString, QString()}, {Keys::devicesList, devices}};
    return QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact));
}

// Handles what is pending: posted events (layout, painting) and deferred deletions.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

struct Times
{
    QVector<double> call;
    QVector<double> settled;
};

void measure(Times& times, const std::function<void()>& fill)
{
    const qint64 start = Bench::nowNs();
    fill();
    const qint64 returned = Bench::nowNs();
    settle();
    const qint64 settled = Bench::nowNs();
    times.call.append((returned - start) / 1e6);
    times.settled.append((settled - start) / 1e6);
}

} // namespace

// One measurement in a process of its own: the operator's first look at the
// table fills it from empty, and a run of half a minute is not repeated
// needlessly for a warm-up.
int measureOnce()
{
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());

    EndToEndRig rig;
    CIAboutDevice* workspace = rig.window()->workspace();
    // The first counts from the server set the table up and connect it to the list.
    workspace->prepareToFillTable(CloraInfoResp());
    workspace->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    auto* table = workspace->findChild<QTableWidget*>(QStringLiteral("deviceTable"));

    // The floor's tables, in windows of the same size beside it.
    QWidget floorWindow;
    floorWindow.resize(rig.window()->size());
    QTableWidget plain(&floorWindow);
    plain.resize(table->size());
    plain.setColumnCount(3);
    floorWindow.show();
    settle();

    const QString text = deviceList();
    const auto fillPlain = [&text](QTableWidget& target) {
        const QJsonArray devices = QJsonDocument::fromJson(text.toUtf8()).object().value(Keys::devicesList).toArray();
        target.setRowCount(devices.size());
        for (int row = 0; row < devices.size(); ++row) {
            const QJsonObject device = devices.at(row).toObject();
            target.setItem(row, 0, new QTableWidgetItem(device.value(Keys::devName).toString()));
            target.setItem(row, 1, new QTableWidgetItem(device.value(Keys::devEui).toString()));
        }
    };
    // A fill beforehand warms what the floor and the program share (the JSON
    // reader, fonts, the style), so that the floor does not pay for both.
    fillPlain(plain);
    plain.setRowCount(0);
    settle();
    Times program, floor, scroll;
    measure(floor, [&] { fillPlain(plain); });
    measure(program, [&] { rig.parser()->getDevResp(text); });
    if (table->rowCount() != deviceCount || !table->cellWidget(0, 2)) {
        std::fprintf(stderr, "bench_device_table: the table has %d rows\n", table->rowCount());
        return 1;
    }
    measure(scroll, [&] { table->scrollToBottom(); });
    if (!table->cellWidget(deviceCount - 1, 2)) {
        std::fprintf(stderr, "bench_device_table: the last row has no Delete button\n");
        return 1;
    }
    std::printf("times %f %f %f %f %f\n", program.call.last(), program.settled.last(), floor.call.last(),
                floor.settled.last(), scroll.settled.last());
    return 0;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Bench::quietDiagnostics();
    if (app.arguments().contains(QStringLiteral("--once")))
        return measureOnce();

    Times program, floor, scroll;
    for (int run = 1; run <= runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once")});
        if (!child.waitForFinished(300000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_device_table: run %d failed\n", run);
            return 1;
        }
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 6 || fields.first() != "times") {
            std::fprintf(stderr, "bench_device_table: run %d reported nothing\n", run);
            return 1;
        }
        program.call.append(fields[1].toDouble());
        program.settled.append(fields[2].toDouble());
        floor.call.append(fields[3].toDouble());
        floor.settled.append(fields[4].toDouble());
        scroll.settled.append(fields[5].toDouble());
        std::printf("run %d: %d devices: parse and fill %.0f ms, until shown %.0f ms; floor %.0f ms, %.0f ms; "
                    "scroll to the last row %.0f ms\n",
                    run, deviceCount, program.call.last(), program.settled.last(), floor.call.last(),
                    floor.settled.last(), scroll.settled.last());
        std::fflush(stdout);
    }

    const Bench::Figures shown = Bench::summarize(program.settled);
    Bench::report(QStringLiteral("device_table"), QStringLiteral("10,000 devices: parse and fill, ms"),
                  Bench::summarize(program.call), Bench::summarize(floor.call).median, QString());
    Bench::report(QStringLiteral("device_table"), QStringLiteral("10,000 devices: until shown, ms"), shown,
                  Bench::summarize(floor.settled).median,
                  QStringLiteral("< 1000 ms (%1)").arg(shown.median < 1000 ? "met" : "MISSED"));
    Bench::report(QStringLiteral("device_table"), QStringLiteral("then scroll to the last row, ms"),
                  Bench::summarize(scroll.settled), 0, QString());
    return 0;
}
