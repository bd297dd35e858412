#pragma once

#include "CImportSession.h"
#include "CKeySheetChecker.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The per-row report of a sheet import: line, DevEUI, verdict word and the
// operator's text, for every row of the sheet in its order. Rows the server
// did not judge carry a word of the program's own.
class CImportReport
{
    Q_DECLARE_TR_FUNCTIONS(CImportReport)

public:
    static const QString rejectedWord;   // failed the check, never sent
    static const QString notSentWord;    // good, but the import stopped before it
    static const QString noAnswerWord;   // sent, and no answer came

    struct Row
    {
        int line = 0;
        QString devEui;
        QString verdict;
        QString text;
    };

    // The session ran the check's good rows, in their order.
    static QVector<Row> rows(const SheetCheck& check, const CImportSession& session);

    // "<sheet name>-report.csv" in the folder of the devices file; an earlier
    // import's report is kept, the next free "-report-2.csv" … is taken then.
    static QString pathFor(const QString& sheetPath, const QString& devicesFileName);
    static bool write(const QString& path, const QVector<Row>& rows, QString* error);

    static QString notSentText(CImportSession::Stop reason);
};
