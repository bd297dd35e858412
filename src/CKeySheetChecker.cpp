#include "CKeySheetChecker.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace {

bool isHex(const QString& text, int digits)
{
    if (text.size() != digits)
        return false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool digit = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
        if (!digit)
            return false;
    }
    return true;
}

// A value is quoted back to the operator, shortened when it is long.
QString shown(const QString& value)
{
    constexpr int longest = 40;
    return value.size() > longest ? value.left(longest) + QChar(0x2026) : value;
}

QString keysOf(const KeySheetRow& row)
{
    return QStringList{row.appEui, row.appKey, row.devAddr, row.appsKey, row.nwksKey}
        .join(QLatin1Char('|')).toUpper();
}

} // namespace

QString CKeySheetChecker::rowFaults(const KeySheetRow& row)
{
    QStringList faults;
    if (row.unclosedQuote)
        faults << tr("кавычка не закрыта до конца файла");
    if (row.extraFields)
        faults << tr("больше трёх столбцов, а заголовка нет: добавьте строку заголовка");

    const auto requireEui = [&faults](const char* title, const QString& value) {
        if (value.isEmpty())
            faults << tr("нет %1").arg(QLatin1String(title));
        else if (!isHex(value, 16))
            faults << tr("%1 «%2»: нужно 16 шестнадцатеричных цифр").arg(QLatin1String(title), shown(value));
    };
    requireEui("DevEUI", row.devEui);
    requireEui("AppEUI", row.appEui);
    if (row.appKey.isEmpty())
        faults << tr("нет %1").arg(QStringLiteral("AppKey"));
    else if (!isHex(row.appKey, 32))
        faults << tr("AppKey «%1»: нужно 32 шестнадцатеричные цифры").arg(shown(row.appKey));

    // ABP needs all three, or none of them.
    if (!row.devAddr.isEmpty() || !row.appsKey.isEmpty() || !row.nwksKey.isEmpty()) {
        if (row.devAddr.isEmpty() || row.appsKey.isEmpty() || row.nwksKey.isEmpty())
            faults << tr("для ABP нужны DevAddr, AppSKey и NwkSKey вместе");
        if (!row.devAddr.isEmpty()) {
            if (!isHex(row.devAddr, 8))
                faults << tr("DevAddr «%1»: нужно 8 шестнадцатеричных цифр").arg(shown(row.devAddr));
            else if (row.devAddr.toUInt(nullptr, 16) == 0)
                faults << tr("DevAddr 00000000 не бывает");
            // The program keeps a DevAddr as a signed number, as a scan does.
            else if (row.devAddr.toUInt(nullptr, 16) > 0x7FFFFFFFu)
                faults << tr("DevAddr больше 7FFFFFFF");
        }
        if (!row.appsKey.isEmpty() && !isHex(row.appsKey, 32))
            faults << tr("AppSKey «%1»: нужно 32 шестнадцатеричные цифры").arg(shown(row.appsKey));
        if (!row.nwksKey.isEmpty() && !isHex(row.nwksKey, 32))
            faults << tr("NwkSKey «%1»: нужно 32 шестнадцатеричные цифры").arg(shown(row.nwksKey));
    }
    // Bytes that were not UTF-8 become U+FFFD; such a name would be registered garbled.
    if (row.name.contains(QChar(QChar::ReplacementCharacter)))
        faults << tr("имя не в кодировке UTF-8");
    return faults.join(QStringLiteral("; "));
}

SheetCheck CKeySheetChecker::check(const KeySheet& sheet)
{
    const int count = sheet.rows.size();
    QVector<QStringList> faults(count);
    for (int i = 0; i < count; ++i) {
        const QString own = rowFaults(sheet.rows.at(i));
        if (!own.isEmpty())
            faults[i] << own;
    }

    // The same DevEUI twice: a plain repeat is sent once; with other keys no
    // row can be trusted, since either may be the misprint.
    QHash<QString, int> firstOfDevEui;
    QHash<QString, int> firstOfDevAddr;
    QSet<int> clashNoted;
    for (int i = 0; i < count; ++i) {
        const KeySheetRow& row = sheet.rows.at(i);
        if (isHex(row.devEui, 16)) {
            const QString devEui = row.devEui.toUpper();
            const auto seen = firstOfDevEui.constFind(devEui);
            if (seen == firstOfDevEui.constEnd()) {
                firstOfDevEui.insert(devEui, i);
            } else {
                const KeySheetRow& earlier = sheet.rows.at(*seen);
                if (keysOf(earlier) == keysOf(row)) {
                    faults[i] << tr("повтор строки %1").arg(earlier.line);
                } else {
                    faults[i] << tr("DevEUI есть и в строке %1, с другими ключами").arg(earlier.line);
                    if (!clashNoted.contains(*seen)) {
                        clashNoted.insert(*seen);
                        faults[*seen] << tr("DevEUI есть и в строке %1, с другими ключами").arg(row.line);
                    }
                }
                continue;   // a repeat says nothing new about its DevAddr
            }
        }
        if (isHex(row.devAddr, 8)) {
            const QString devAddr = row.devAddr.toUpper();
            const auto owner = firstOfDevAddr.constFind(devAddr);
            if (owner == firstOfDevAddr.constEnd())
                firstOfDevAddr.insert(devAddr, i);
            else
                faults[i] << tr("DevAddr уже у строки %1").arg(sheet.rows.at(*owner).line);
        }
    }

    SheetCheck result;
    for (int i = 0; i < count; ++i) {
        const KeySheetRow& row = sheet.rows.at(i);
        if (faults.at(i).isEmpty())
            result.good.append(row);
        else
            result.rejected.append({row.line, row.devEui, faults.at(i).join(QStringLiteral("; "))});
    }
    return result;
}

CLoraDeviceInfo CKeySheetChecker::deviceOf(const KeySheetRow& row)
{
    CLoraDeviceInfo device;
    device.devEui = row.devEui;
    device.appEui = row.appEui;
    device.appKey = row.appKey;
    device.devAddress = row.devAddr.isEmpty() ? 0 : qint32(row.devAddr.toUInt(nullptr, 16));
    device.appsKey = row.appsKey;
    device.nwksKey = row.nwksKey;
    device.devName = row.name;
    return device;
}
