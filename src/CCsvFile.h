#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The CSV files the program writes (import reports, device table exports):
// comma-separated, fields quoted when they need it, UTF-8 with a byte-order
// mark so that spreadsheets show Cyrillic names right.
class CCsvFile
{
public:
    static QString line(const QStringList& fields);
    // Writes the whole file or nothing; false with the reason otherwise.
    static bool write(const QString& path, const QVector<QStringList>& rows, QString* error);
};
