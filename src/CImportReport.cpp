#include "CImportReport.h"

#include "CCsvFile.h"
#include "StatusTexts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

const QString CImportReport::rejectedWord = QStringLiteral("rejected");
const QString CImportReport::notSentWord = QStringLiteral("notSent");
const QString CImportReport::noAnswerWord = QStringLiteral("noAnswer");

QString CImportReport::notSentText(CImportSession::Stop reason)
{
    switch (reason) {
    case CImportSession::Stop::ConnectionLost: return tr("Не отправлено: соединение с сервером потеряно");
    case CImportSession::Stop::NotConnected: return tr("Не отправлено: нет подключения к серверу");
    case CImportSession::Stop::DevicesFileFailed: return tr("Не отправлено: файл устройств не записывается");
    case CImportSession::Stop::Cancelled:
    case CImportSession::Stop::None: break;
    }
    return tr("Не отправлено: импорт отменён");
}

QVector<CImportReport::Row> CImportReport::rows(const SheetCheck& check, const CImportSession& session)
{
    QVector<Row> result;
    result.reserve(check.rejected.size() + check.good.size());
    for (const RejectedRow& rejected : check.rejected)
        result.append({rejected.line, rejected.devEui, rejectedWord, rejected.reason});

    const QVector<CImportSession::RowResult>& results = session.results();
    for (int i = 0; i < check.good.size() && i < results.size(); ++i) {
        const CImportSession::RowResult& outcome = results.at(i);
        Row row{check.good.at(i).line, check.good.at(i).devEui, QString(), QString()};
        switch (outcome.outcome) {
        case CImportSession::Outcome::Answered:
            row.verdict = outcome.status;
            row.text = StatusTexts::operatorText(outcome.status);
            break;
        case CImportSession::Outcome::Sent:
        case CImportSession::Outcome::NoAnswer:
            row.verdict = noAnswerWord;
            row.text = tr("Отправлено, ответа нет");
            break;
        case CImportSession::Outcome::Waiting:
        case CImportSession::Outcome::NotSent:
            row.verdict = notSentWord;
            row.text = notSentText(session.stopReason());
            break;
        }
        result.append(row);
    }
    std::stable_sort(result.begin(), result.end(), [](const Row& a, const Row& b) { return a.line < b.line; });
    return result;
}

QString CImportReport::pathFor(const QString& sheetPath, const QString& devicesFileName)
{
    const QDir folder = QFileInfo(devicesFileName).absoluteDir();
    const QString stem = QFileInfo(sheetPath).completeBaseName();
    QString path = folder.filePath(stem + QStringLiteral("-report.csv"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(stem + QStringLiteral("-report-%1.csv").arg(n));
    return path;
}

bool CImportReport::write(const QString& path, const QVector<Row>& rows, QString* error)
{
    QVector<QStringList> lines;
    lines.reserve(rows.size() + 1);
    lines.append({QStringLiteral("line"), QStringLiteral("DevEUI"), QStringLiteral("verdict"), QStringLiteral("text")});
    for (const Row& row : rows)
        lines.append({QString::number(row.line), row.devEui, row.verdict, row.text});
    return CCsvFile::write(path, lines, error);
}
