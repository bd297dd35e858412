// From starting the program's start-up until its main window has been shown
// (offscreen), and its peak memory by then. startup_program runs the start-up
// the program's main function runs, reports both (StartupProbe.h) and quits.
// Floor: a minimal Qt widgets program (one QMainWindow, startup_floor)
// measured the same way.

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int runs = 9;

struct Launch
{
    double shownMs = -1;   // from starting the process until its "shown" line arrived
    double ownMs = -1;     // what the process says of itself, in the kernel's clock ticks
    double peakMiB = -1;
};

Launch launch(const QString& program, const QString& workDir)
{
    QProcess process;
    process.setWorkingDirectory(workDir);   // the program keeps settings.cfg there
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());   // the program's traces

    Launch result;
    const qint64 start = Bench::nowNs();
    process.start(program, QStringList());
    QByteArray output;
    while (!output.contains("VmHWM") && process.waitForReadyRead(10000)) {
        output += process.readAllStandardOutput();
        if (result.shownMs < 0 && output.contains("shown"))
            result.shownMs = (Bench::nowNs() - start) / 1e6;
    }
    process.waitForFinished(10000);
    output += process.readAllStandardOutput();
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "shown")
            result.ownMs = words.value(1).toDouble();
        else if (words.value(0) == "VmHWM")
            result.peakMiB = words.value(1).toDouble() / 1024.0;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        result.shownMs = -1;
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir programDir;
    QTemporaryDir floorDir;
    const QString program = QStringLiteral(TESMAR_STARTUP_PROGRAM_PATH);
    const QString floorProgram = QStringLiteral(TESMAR_STARTUP_FLOOR_PATH);

    // The first start writes settings.cfg and brings the libraries into the page cache.
    launch(program, programDir.path());
    launch(floorProgram, floorDir.path());

    QVector<double> shown, peak, floorShown, floorPeak;
    for (int run = 1; run <= runs; ++run) {
        const Launch p = launch(program, programDir.path());
        const Launch f = launch(floorProgram, floorDir.path());
        if (p.shownMs < 0 || p.peakMiB < 0 || f.shownMs < 0 || f.peakMiB < 0) {
            std::fprintf(stderr, "bench_startup: run %d: a program did not report being shown\n", run);
            return 1;
        }
        shown.append(p.shownMs);
        peak.append(p.peakMiB);
        floorShown.append(f.shownMs);
        floorPeak.append(f.peakMiB);
        std::printf("run %d: shown after %.1f ms (by its own clock %.0f ms), peak %.1f MiB; "
                    "floor %.1f ms, %.1f MiB\n",
                    run, p.shownMs, p.ownMs, p.peakMiB, f.shownMs, f.peakMiB);
    }

    const Bench::Figures time = Bench::summarize(shown);
    const Bench::Figures memory = Bench::summarize(peak);
    Bench::report(QStringLiteral("startup"), QStringLiteral("start to window shown, ms"), time,
                  Bench::summarize(floorShown).median,
                  QStringLiteral("< 300 ms (%1)").arg(time.median < 300 ? "met" : "MISSED"));
    Bench::report(QStringLiteral("startup"), QStringLiteral("peak memory (VmHWM), MiB"), memory,
                  Bench::summarize(floorPeak).median,
                  QStringLiteral("< 60 MiB (%1)").arg(memory.median < 60 ? "met" : "MISSED"));
    return 0;
}
