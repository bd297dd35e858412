#include "CCsvFile.h"

#include <QSaveFile>

QString CCsvFile::line(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields) {
        const bool needsQuotes = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                                 || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
                                 || field != field.trimmed();
        if (!needsQuotes) {
            quoted << field;
            continue;
        }
        QString escaped = field;
        escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
        quoted << QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    return quoted.join(QLatin1Char(','));
}

bool CCsvFile::write(const QString& path, const QVector<QStringList>& rows, QString* error)
{
    QString text = QString(QChar(0xFEFF));
    for (const QStringList& row : rows)
        text += line(row) + QLatin1Char('\n');

    // Written beside and renamed at the end: never half a file.
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
