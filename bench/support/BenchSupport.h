#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class EndToEndRig;

// What every benchmark shares: the clock, the figures it prints, a quiet
// debug stream and the process's memory counters.
namespace Bench {

// Nanoseconds on the monotonic clock; comparable across threads.
qint64 nowNs();

struct Figures
{
    double median = 0;
    double min = 0;
    double max = 0;
};
Figures summarize(QVector<double> values);
double percentile(QVector<double> values, double fraction);   // fraction in [0, 1]

// One line for the table scripts/bench prints at the end:
//   RESULT|bench|metric|median|min|max|floor|ratio|goal
// The ratio is the cost against the floor: median / floor for times and
// sizes, floor / median for rates (higherIsBetter), so above 1 is slower.
void report(const QString& bench, const QString& metric, const Figures& figures, double floor,
            const QString& goal, bool higherIsBetter = false);

// Debug and info lines off (the program traces every message; printing them
// would time the terminal), and the offscreen platform's size-hint warnings.
void quietDiagnostics();

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
qint64 procStatusKiB(const char* field);
// Resident memory after handing freed heap back to the system, so that
// growth is not hidden or faked by the allocator's free lists.
qint64 residentKiB();

// The keys every scanned benchmark device carries, and a distinct DevEUI per
// index under a benchmark's own six-digit prefix.
extern const QString appEuiHex;
extern const QString appKeyHex;
QString devEuiOf(const QString& prefix, int index);

// Prints "<bench>: <what>" on stderr; returns the exit code of a failed run.
int fail(const char* bench, const char* what);

// Checks the rig's scanner, logs its program in as the development server's
// default user and switches auto mode on. Returns what failed, or nullptr.
const char* startAutoMode(EndToEndRig& rig, const QString& serverAddress);
// Scans a device with the keys above and waits for its verdict: true when "added".
bool registerByScan(EndToEndRig& rig, const QString& devEui);

// The time each scan's quiet gap ended: when the scanner panel's gap timer
// fires, just before the program parses the scan. Watched by an event filter,
// which sees the timer's event before the program does.
class QuietGapClock : public QObject
{
public:
    explicit QuietGapClock(EndToEndRig& rig);
    bool isWatching() const { return m_watching; }
    qint64 lastEndNs() const { return m_lastEnd; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_watching = false;
    qint64 m_lastEnd = 0;
};

// Runs the event loop for this long, handling whatever arrives.
void idle(int ms);

// Runs the event loop until done() holds, without a polling delay.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 30000);

} // namespace Bench
