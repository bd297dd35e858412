#include "CImportSession.h"

#include "CMessageParser.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"

#include <QScopedValueRollback>

#include <utility>

CImportSession::CImportSession(QVector<CLoraDeviceInfo> rows, Registrar registrar, QObject* parent)
    : QObject(parent)
    , m_rows(std::move(rows))
    , m_registrar(std::move(registrar))
    , m_results(m_rows.size())
{
}

CImportSession::~CImportSession()
{
    if (m_started && !m_finished)
        CMessageParser::instance()->clearSkippedFollowUps();
}

void CImportSession::start()
{
    if (m_started)
        return;
    m_started = true;
    connect(CMessageParser::instance(), &CMessageParser::deviceStatusResp, this, &CImportSession::onStatus);
    connect(CServerClient::instance(), &CServerClient::clientStateChanged, this, &CImportSession::onClientState);
    if (!CServerClient::instance()->isReady()) {
        stopSending(Stop::NotConnected);
        return;
    }
    pump();
}

void CImportSession::cancel()
{
    if (isSending())
        stopSending(Stop::Cancelled);
}

void CImportSession::stopWaiting()
{
    if (m_finished)
        return;
    if (m_stop == Stop::None)
        m_stop = Stop::Cancelled;
    finish();
}

void CImportSession::pump()
{
    // Registering may open a box about the devices file, whose event loop
    // delivers answers that pump again: the outer loop carries on instead.
    if (m_pumping)
        return;
    const QScopedValueRollback<bool> pumping(m_pumping, true);
    CMessageParser* parser = CMessageParser::instance();
    while (isSending() && m_inFlight.size() < maxInFlight && m_next < m_rows.size()) {
        const int row = m_next++;
        const QString key = m_rows.at(row).devEui.toUpper();
        m_inFlight.insert(key, row);
        m_sendOrder.append(row);
        m_results[row].outcome = Outcome::Sent;
        ++m_sent;
        parser->skipFollowUps(key);
        if (!m_registrar(m_rows.at(row))) {
            DIAG() << "import stopped: the devices file did not take" << key;
            stopSending(Stop::DevicesFileFailed);
        }
    }
    if (m_finished)
        return;
    if (m_inFlight.isEmpty() && (m_stop != Stop::None || m_next == m_rows.size()))
        finish();
    else
        emit progressed();
}

void CImportSession::onStatus(const QString& devEui, const QString& status)
{
    if (m_finished)
        return;
    int row = m_inFlight.value(devEui.toUpper(), -1);
    // An entry without a DevEUI can only be matched by order: answers of one
    // connection come in the order of the requests.
    if (row < 0 && devEui.isEmpty() && !m_sendOrder.isEmpty())
        row = m_sendOrder.first();
    if (row < 0)
        return;   // another device: a scan's, not this import's

    m_inFlight.remove(m_rows.at(row).devEui.toUpper());
    m_sendOrder.removeOne(row);
    m_results[row] = {Outcome::Answered, status};
    ++m_answered;
    ++m_counts[status];
    pump();
}

void CImportSession::onClientState(CServerClient::EClientStates state)
{
    if (state == CServerClient::ready || m_finished)
        return;
    // Nothing more can come on this connection.
    m_stop = Stop::ConnectionLost;
    finish();
}

void CImportSession::stopSending(Stop reason)
{
    if (m_finished || m_stop != Stop::None)
        return;   // the first reason stands
    m_stop = reason;
    if (m_inFlight.isEmpty())
        finish();
    else
        emit progressed();
}

void CImportSession::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    for (RowResult& result : m_results) {
        if (result.outcome == Outcome::Waiting)
            result.outcome = Outcome::NotSent;
        else if (result.outcome == Outcome::Sent)
            result.outcome = Outcome::NoAnswer;
    }
    m_inFlight.clear();
    m_sendOrder.clear();

    CMessageParser::instance()->clearSkippedFollowUps();
    disconnect(CMessageParser::instance(), nullptr, this, nullptr);
    disconnect(CServerClient::instance(), nullptr, this, nullptr);
    // The counts the skipped follow-ups would have fetched, once.
    const bool changed = m_counts.value(ProtocolKeys::Status::added) + m_counts.value(ProtocolKeys::Status::updated) > 0;
    if (changed && CServerClient::instance()->isReady())
        CServerClient::instance()->sendMessage(CMessageParser::srvInfoReq());
    emit progressed();
    emit finished();
}
