#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One row of a vendor's key sheet, as written (trimmed, not yet checked).
struct KeySheetRow
{
    int line = 0;               // line of the file the row starts on, from 1
    QString devEui;
    QString appEui;
    QString appKey;
    QString devAddr;
    QString appsKey;
    QString nwksKey;
    QString name;
    bool extraFields = false;   // a sheet without header has more than the three key columns
    bool unclosedQuote = false; // the row's last quoted field never ends
};

struct KeySheet
{
    QVector<KeySheetRow> rows;  // blank rows left out
    QChar separator = QLatin1Char(',');
    bool hasHeader = false;
    QString error;              // set when the file as a whole cannot be used
};

// Reads a key sheet: CSV, TSV or rows pasted from a spreadsheet. The
// separator (",", ";" or tab) is taken from the first line; a header row, if
// any, names the columns in the usual spellings, otherwise the columns are
// DevEUI, AppEUI, AppKey. UTF-8 with or without a byte-order mark (UTF-16
// with one, as spreadsheets save "Unicode text"); quoted fields may hold
// separators, doubled quotes and line breaks.
class CKeySheetReader
{
    Q_DECLARE_TR_FUNCTIONS(CKeySheetReader)

public:
    // Larger files are refused whole: no vendor sheet comes near it.
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

    static KeySheet readFile(const QString& path);
    static KeySheet read(const QByteArray& bytes);

    struct Record
    {
        int line = 0;
        QStringList fields;
        bool unclosedQuote = false;
    };
    // The records of a CSV text with the given separator, blank lines included.
    static QVector<Record> records(const QString& text, QChar separator);
    static QChar detectSeparator(const QString& text);
};
