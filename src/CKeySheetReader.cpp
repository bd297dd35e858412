#include "CKeySheetReader.h"

#include "QtCompat.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <array>

namespace {

enum Column { DevEui, AppEui, AppKey, DevAddr, AppSKey, NwkSKey, Name, ColumnCount };

const std::array<const char*, ColumnCount> columnTitles = {
    "DevEUI", "AppEUI", "AppKey", "DevAddr", "AppSKey", "NwkSKey", "name",
};

// Header cells are compared without case, blanks, "_", "-" or ".", so
// "DevEUI", "dev_eui" and "Dev EUI" name the same column.
QString normalised(const QString& title)
{
    QString key;
    for (const QChar c : title) {
        if (c.isLetterOrNumber())
            key.append(c.toLower());
    }
    return key;
}

const QHash<QString, Column>& headerNames()
{
    static const QHash<QString, Column> names = {
        {QStringLiteral("deveui"), DevEui},     {QStringLiteral("appeui"), AppEui},
        {QStringLiteral("joineui"), AppEui},    {QStringLiteral("appkey"), AppKey},
        {QStringLiteral("devaddr"), DevAddr},   {QStringLiteral("devaddress"), DevAddr},
        {QStringLiteral("appskey"), AppSKey},   {QStringLiteral("nwkskey"), NwkSKey},
        {QStringLiteral("name"), Name},         {QStringLiteral("id"), Name},
        {QStringLiteral("deviceid"), Name},     {QStringLiteral("devname"), Name},
        {QStringLiteral("devicename"), Name},
    };
    return names;
}

bool isBlank(const QStringList& fields)
{
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

QString* fieldOf(KeySheetRow& row, int column)
{
    switch (column) {
    case DevEui: return &row.devEui;
    case AppEui: return &row.appEui;
    case AppKey: return &row.appKey;
    case DevAddr: return &row.devAddr;
    case AppSKey: return &row.appsKey;
    case NwkSKey: return &row.nwksKey;
    case Name: return &row.name;
    default: return nullptr;
    }
}

QString decoded(const QByteArray& bytes)
{
    // Spreadsheets save "Unicode text" as UTF-16 with a byte-order mark;
    // everything else is read as UTF-8.
    return QtCompat::decodeUnicodeText(bytes);
}

} // namespace

KeySheet CKeySheetReader::readFile(const QString& path)
{
    KeySheet sheet;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        sheet.error = tr("Не файл: %1").arg(path);
        return sheet;
    }
    if (file.size() > maxFileBytes) {
        sheet.error = tr("Файл больше %1 МБ: это не таблица ключей").arg(maxFileBytes / (1024 * 1024));
        return sheet;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        sheet.error = tr("Файл не читается: %1").arg(file.errorString());
        return sheet;
    }
    return read(file.read(maxFileBytes + 1));
}

QChar CKeySheetReader::detectSeparator(const QString& text)
{
    // The first line that holds anything, outside quotes.
    int counts[3] = {0, 0, 0};
    const QChar candidates[3] = {QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    bool quoted = false;
    bool seenText = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            if (seenText)
                break;
            continue;
        }
        if (!c.isSpace())
            seenText = true;
        for (int i = 0; i < 3; ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    // Ties go to the separator least likely inside a name: tab, then ";".
    int best = 2;
    for (int i = 1; i >= 0; --i) {
        if (counts[i] >= counts[best] && counts[i] > 0)
            best = i;
    }
    return candidates[best];
}

QVector<CKeySheetReader::Record> CKeySheetReader::records(const QString& text, QChar separator)
{
    QVector<Record> result;
    Record record;
    QString field;
    int line = 1;
    record.line = line;
    bool quoted = false;     // inside a quoted field
    bool fieldStart = true;  // nothing of this field read yet

    const auto endField = [&] {
        record.fields.append(field);
        field.clear();
        fieldStart = true;
    };
    const auto endRecord = [&] {
        endField();
        result.append(record);
        record = Record();
        record.line = line;
    };

    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        // CR LF is one line break.
        const bool pairedBreak = c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n');

        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
                continue;
            }
            field.append(c);
            if (lineBreak && !pairedBreak)
                ++line;
            continue;
        }

        if (c == QLatin1Char('"') && fieldStart && field.trimmed().isEmpty()) {
            quoted = true;
            fieldStart = false;
            field.clear();
            continue;
        }
        if (c == separator) {
            endField();
            continue;
        }
        if (lineBreak) {
            if (pairedBreak)
                ++i;
            ++line;
            endRecord();
            continue;
        }
        if (!c.isSpace())
            fieldStart = false;
        field.append(c);
    }
    if (quoted)
        record.unclosedQuote = true;
    if (quoted || !field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return result;
}

KeySheet CKeySheetReader::read(const QByteArray& bytes)
{
    KeySheet sheet;
    if (bytes.size() > maxFileBytes) {
        sheet.error = tr("Файл больше %1 МБ: это не таблица ключей").arg(maxFileBytes / (1024 * 1024));
        return sheet;
    }
    const QString text = decoded(bytes);
    sheet.separator = detectSeparator(text);
    const QVector<Record> all = records(text, sheet.separator);

    // Column of each field; the order without a header is the scanner's.
    QVector<int> columns = {DevEui, AppEui, AppKey};
    int first = 0;
    while (first < all.size() && isBlank(all.at(first).fields))
        ++first;
    if (first < all.size()) {
        QVector<int> named;
        bool anyKnown = false;
        for (const QString& title : all.at(first).fields) {
            const Column column = headerNames().value(normalised(title), ColumnCount);
            anyKnown = anyKnown || column != ColumnCount;
            named.append(column);
        }
        if (anyKnown) {
            sheet.hasHeader = true;
            for (int column = 0; column < ColumnCount; ++column) {
                if (named.count(column) > 1) {
                    sheet.error = tr("Столбец %1 назван в заголовке дважды").arg(QLatin1String(columnTitles[column]));
                    return sheet;
                }
            }
            for (const int required : {DevEui, AppEui, AppKey}) {
                if (!named.contains(required)) {
                    sheet.error = tr("В заголовке нет столбца %1").arg(QLatin1String(columnTitles[required]));
                    return sheet;
                }
            }
            columns = named;
            ++first;
        }
    }

    for (int r = first; r < all.size(); ++r) {
        const Record& record = all.at(r);
        if (isBlank(record.fields) && !record.unclosedQuote)
            continue;
        KeySheetRow row;
        row.line = record.line;
        row.unclosedQuote = record.unclosedQuote;
        for (int i = 0; i < record.fields.size(); ++i) {
            const QString value = record.fields.at(i).trimmed();
            QString* target = i < columns.size() ? fieldOf(row, columns.at(i)) : nullptr;
            if (target)
                *target = value;
            // Unknown columns of a header are the vendor's own; data beyond
            // the three columns of a sheet without header has no known place.
            else if (!sheet.hasHeader && !value.isEmpty())
                row.extraFields = true;
        }
        sheet.rows.append(row);
    }
    if (sheet.rows.isEmpty())
        sheet.error = tr("В файле нет ни одной строки с ключами");
    return sheet;
}
