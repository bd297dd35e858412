// A vendor's key sheet, as the file holds it, through the reader and the row check.

#include "CKeySheetChecker.h"
#include "FuzzSupport.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    return 0;
}

namespace {

bool isHex(const QString& text, int digits)
{
    if (text.size() != digits)
        return false;
    for (const QChar c : text) {
        if (!(c.isDigit() || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'))) || c.unicode() > 0x7F)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const KeySheet sheet = CKeySheetReader::read(FuzzSupport::bytes(data, size));
    const SheetCheck check = CKeySheetChecker::check(sheet);
    // Every row is judged once, and rows keep the order of their lines.
    if (check.good.size() + check.rejected.size() != sheet.rows.size())
        __builtin_trap();
    int lastLine = 0;
    for (const KeySheetRow& row : sheet.rows) {
        if (row.line <= lastLine)
            __builtin_trap();
        lastLine = row.line;
    }
    // A good row is one that can be sent as it is, and is sent once.
    QSet<QString> devEuis;
    for (const KeySheetRow& row : check.good) {
        if (!isHex(row.devEui, 16) || !isHex(row.appEui, 16) || !isHex(row.appKey, 32))
            __builtin_trap();
        const bool abp = !row.devAddr.isEmpty();
        if (abp != !row.appsKey.isEmpty() || abp != !row.nwksKey.isEmpty())
            __builtin_trap();
        if (abp && (!isHex(row.devAddr, 8) || CKeySheetChecker::deviceOf(row).devAddress <= 0))
            __builtin_trap();
        if (devEuis.contains(row.devEui.toUpper()))
            __builtin_trap();
        devEuis.insert(row.devEui.toUpper());
    }
    for (const RejectedRow& row : check.rejected) {
        if (row.reason.isEmpty())
            __builtin_trap();
    }
    return 0;
}
