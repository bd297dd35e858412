#pragma once

#include "CServerClient.h"
#include "LoraRecords.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QVector>

#include <functional>

// Registers the good rows of a key sheet: a bounded number of requests in
// flight, each answer matched to its row by the DevEUI the server names, and
// a result per row. Sending stops on Cancel, on a lost connection and when
// the devices file stops taking devices; answers to requests already out are
// still counted unless the operator stops waiting for them.
//
// Follow-ups: after "added" or "updated" the parser would ask for the device
// and for the counts, 20,000 requests and as many table refills for 10,000
// rows. The session has the parser skip them for its rows and asks for the
// counts once at the end; a scan meanwhile keeps its own follow-ups.
class CImportSession : public QObject
{
    Q_OBJECT

public:
    // Enough to keep the server busy across the round trip, few enough that
    // a Cancel or a lost connection leaves little unanswered.
    static constexpr int maxInFlight = 16;

    enum class Outcome { Waiting, Sent, Answered, NotSent, NoAnswer };
    enum class Stop { None, Cancelled, ConnectionLost, NotConnected, DevicesFileFailed };

    struct RowResult
    {
        Outcome outcome = Outcome::Waiting;
        QString status;   // the server's word, once answered
    };

    // Completes and sends one row; false when the devices file did not take
    // it (the request has gone out all the same, as for a scan).
    using Registrar = std::function<bool(const CLoraDeviceInfo& row)>;

    CImportSession(QVector<CLoraDeviceInfo> rows, Registrar registrar, QObject* parent = nullptr);
    ~CImportSession() override;

    void start();
    void cancel();        // sends no more rows
    void stopWaiting();   // ends now; rows still unanswered count as such

    bool isFinished() const { return m_finished; }
    bool isSending() const { return !m_finished && m_stop == Stop::None; }
    int total() const { return m_rows.size(); }
    int sentCount() const { return m_sent; }
    int answeredCount() const { return m_answered; }
    int inFlightCount() const { return m_inFlight.size(); }
    Stop stopReason() const { return m_stop; }
    // Status word -> rows answered with it.
    const QMap<QString, int>& verdictCounts() const { return m_counts; }
    const QVector<RowResult>& results() const { return m_results; }

signals:
    void progressed();
    void finished();

private:
    void pump();
    void onStatus(const QString& devEui, const QString& status);
    void onClientState(CServerClient::EClientStates state);
    void stopSending(Stop reason);
    void finish();

    QVector<CLoraDeviceInfo> m_rows;
    Registrar m_registrar;
    QVector<RowResult> m_results;
    QHash<QString, int> m_inFlight;   // upper-case DevEUI -> row
    QList<int> m_sendOrder;           // rows in flight, oldest first
    QMap<QString, int> m_counts;
    int m_next = 0;
    int m_sent = 0;
    int m_answered = 0;
    Stop m_stop = Stop::None;
    bool m_started = false;
    bool m_finished = false;
    bool m_pumping = false;
};
