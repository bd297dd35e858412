// A key sheet of 10,000 rows imported through the whole program, against the
// development server as a process of its own: from the operator confirming
// the check to the summary shown (every row sent, answered, the report
// written), and the program's memory meanwhile. Also: reading and checking
// the sheet until the check dialog is up, and the device table's filter at
// 10,000 rows.
// Floor: a bare WebSocket client sending the same 10,000 registration
// requests to the same server at once and waiting for every answer.

#include "BareClient.h"
#include "BenchSupport.h"
#include "CIAboutDevice.h"
#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CImportSession.h"
#include "CKeySheetImport.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "EndToEndRig.h"
#include "ProtocolKeys.h"
#include "ServerProcess.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr int rows = 10000;
constexpr int runs = 3;   // after one warm-up
constexpr int timeoutMs = 120000;

int fail(const char* what)
{
    return Bench::fail("bench_import", what);
}

QString devEuiOf(int run, int index)
{
    return Bench::devEuiOf(QStringLiteral("1A%1").arg(run, 4, 16, QLatin1Char('0')), index);
}

bool writeSheet(const QString& path, int run)
{
    QByteArray sheet = "DevEUI;JoinEUI;AppKey;name\n";
    for (int i = 0; i < rows; ++i)
        sheet += QStringLiteral("%1;%2;%3;sheet-%4\n").arg(devEuiOf(run, i), Bench::appEuiHex, Bench::appKeyHex).arg(i).toUtf8();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(sheet) == sheet.size();
}

void printRow(const char* what, const Bench::Figures& figures, const char* unit)
{
    std::printf("  %-44s median %9.1f %s  min %9.1f  max %9.1f\n", what, figures.median, unit, figures.min,
                figures.max);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Bench::quietDiagnostics();
    QTemporaryDir workDir;   // settings.cfg, the devices file, the sheets and their reports
    QDir::setCurrent(workDir.path());

    DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
    if (!server.start({QStringLiteral("--max-devices"), QString::number(2 * rows * (runs + 1))}))
        return fail(qPrintable(server.errorText()));

    EndToEndRig rig;
    if (!rig.logIn(server.address(), QStringLiteral("admin"), QStringLiteral("admin")))
        return fail("the program did not log in");
    BareClient bare;
    if (!bare.connectAndLogIn(server.address(), QStringLiteral("admin"), QStringLiteral("admin")))
        return fail("the bare client did not log in");
    CIAboutDevice* workspace = rig.window()->workspace();

    QVector<double> importMs, checkMs, floorMs, peakMiB, growthMiB;
    for (int run = 0; run <= runs; ++run) {
        const QString sheetPath = QDir(workDir.path()).filePath(QStringLiteral("sheet-%1.csv").arg(run));
        if (!writeSheet(sheetPath, run))
            return fail("cannot write the sheet");

        const qint64 rssBefore = Bench::residentKiB();
        QElapsedTimer clock;
        clock.start();
        workspace->importSheet(sheetPath);
        CKeySheetImport* import = workspace->findChildren<CKeySheetImport*>().value(0);
        if (!import || !import->checkDialog() || !import->checkDialog()->sendButton()->isEnabled())
            return fail("no check dialog with rows to send");
        const double checked = clock.nsecsElapsed() / 1e6;

        // The program's resident memory, sampled while the import runs.
        qint64 peakKiB = Bench::procStatusKiB("VmRSS");
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&peakKiB] {
            peakKiB = qMax(peakKiB, Bench::procStatusKiB("VmRSS"));
        });
        sampler.start(20);

        bool finished = false;
        QObject::connect(import, &CKeySheetImport::finished, [&finished] { finished = true; });
        clock.restart();
        const std::clock_t cpuBefore = std::clock();
        import->checkDialog()->sendButton()->click();
        if (!Bench::runUntil([&finished] { return finished; }, timeoutMs))
            return fail("the import did not finish");
        const double elapsed = clock.nsecsElapsed() / 1e6;
        const double cpu = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;
        sampler.stop();
        peakKiB = qMax(peakKiB, Bench::procStatusKiB("VmRSS"));

        const int added = import->session()->verdictCounts().value(ProtocolKeys::Status::added);
        if (added != rows) {
            std::fprintf(stderr, "bench_import: run %d: %d of %d rows added\n", run, added, rows);
            return 1;
        }
        // The same requests, completed by the same form, under other DevEUIs.
        const auto complete = workspace->importCompleter();
        QStringList requests;
        for (int i = 0; i < rows; ++i) {
            const CLoraDeviceInfo row{devEuiOf(run + 0x100, i), Bench::appEuiHex, Bench::appKeyHex};
            CLoraDeviceInfo device = complete(row);
            device.devName = QStringLiteral("sheet-%1").arg(i);
            requests << CMessageParser::manageDevicesReq(device);
        }
        import->progressDialog()->findChild<QPushButton*>(QStringLiteral("actionButton"))->click();
        // Deleted later, which outside a running event loop needs asking for.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!workspace->findChildren<CKeySheetImport*>().isEmpty())
            return fail("the closed import stayed");

        const int answersBefore = bare.answerCount();
        clock.restart();
        for (const QString& request : requests)
            bare.send(request);
        if (!bare.waitForAnswers(answersBefore + rows, timeoutMs))
            return fail("the bare client's requests were not answered");
        const double floor = clock.nsecsElapsed() / 1e6;
        if (!bare.lastAnswer().contains(ProtocolKeys::Status::added))
            return fail("the bare client's requests were refused");

        std::printf("run %d: import %.0f ms (the program's own processor time %.0f ms), floor %.0f ms, "
                    "check %.0f ms, peak %.1f MiB\n", run, elapsed, cpu, floor, checked, peakKiB / 1024.0);
        if (run == 0)
            continue;
        importMs << elapsed;
        floorMs << floor;
        checkMs << checked;
        peakMiB << peakKiB / 1024.0;
        growthMiB << (peakKiB - rssBefore) / 1024.0;
    }

    // The filter over a table of 10,000 devices, a keystroke at a time.
    QJsonArray devices;
    for (int i = 0; i < rows; ++i)
        devices.append(QJsonObject{{ProtocolKeys::devEui, devEuiOf(0, i)},
                                   {ProtocolKeys::devName, QStringLiteral("sheet-%1").arg(i)},
                                   {ProtocolKeys::devClass, QStringLiteral("CLASS_A")}});
    workspace->prepareToFillTable(CloraInfoResp());
    workspace->fillDeviceTable(QJsonDocument(QJsonObject{{ProtocolKeys::devicesList, devices}}));
    auto* filter = workspace->findChild<QLineEdit*>(QStringLiteral("tableFilterEdit"));
    QVector<double> keystrokeMs;
    for (int round = 0; round < 5; ++round) {
        for (const QString& text : {QStringLiteral("s"), QStringLiteral("sheet-99"), QStringLiteral("sheet-999"),
                                    QStringLiteral("sheet-99"), QString()}) {
            QElapsedTimer clock;
            clock.start();
            filter->setText(text);
            QApplication::processEvents();
            keystrokeMs << clock.nsecsElapsed() / 1e6;
        }
    }

    std::printf("key sheet import: %d rows, %d runs after one warm-up, at most %d requests in flight\n", rows, runs,
                CImportSession::maxInFlight);
    const Bench::Figures imports = Bench::summarize(importMs);
    const Bench::Figures floors = Bench::summarize(floorMs);
    printRow("confirm to summary", imports, "ms");
    printRow("floor: bare client, every answer", floors, "ms");
    printRow("read and check the sheet, dialog up", Bench::summarize(checkMs), "ms");
    printRow("resident memory at its peak during the import", Bench::summarize(peakMiB), "MiB");
    printRow("resident memory growth during the import", Bench::summarize(growthMiB), "MiB");
    printRow("table filter, 10,000 rows, one keystroke", Bench::summarize(keystrokeMs), "ms");
    const QString goal = QStringLiteral("< 10 s and <= 3x floor (%1)")
                             .arg(imports.median < 10000 && imports.median <= 3 * floors.median ? "met" : "MISSED");
    Bench::report(QStringLiteral("import"), QStringLiteral("10,000-row sheet: confirm to summary, ms"), imports,
                  floors.median, goal);
    Bench::report(QStringLiteral("import"), QStringLiteral("10,000-row sheet: read and check, ms"),
                  Bench::summarize(checkMs), 0, QString());
    Bench::report(QStringLiteral("import"), QStringLiteral("peak resident memory during import, MiB"),
                  Bench::summarize(peakMiB), 0, QString());
    Bench::report(QStringLiteral("import"), QStringLiteral("table filter at 10,000 rows, ms per keystroke"),
                  Bench::summarize(keystrokeMs), 0, QString());
    return 0;
}
