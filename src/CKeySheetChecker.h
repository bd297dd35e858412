#pragma once

#include "CKeySheetReader.h"
#include "LoraRecords.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

struct RejectedRow
{
    int line = 0;
    QString devEui;
    QString reason;
};

struct SheetCheck
{
    QVector<KeySheetRow> good;      // in the order of the sheet
    QVector<RejectedRow> rejected;  // in the order of the sheet
};

// Checks every row of a key sheet before anything is sent: key lengths and
// digits, complete ABP data, and DevEUIs and DevAddrs that the sheet repeats.
// A rejected row carries all its faults in one reason.
class CKeySheetChecker
{
    Q_DECLARE_TR_FUNCTIONS(CKeySheetChecker)

public:
    static SheetCheck check(const KeySheet& sheet);
    // The faults of one row on its own, joined; empty for a good row.
    static QString rowFaults(const KeySheetRow& row);

    // The device record of a good row: identity and keys as written.
    static CLoraDeviceInfo deviceOf(const KeySheetRow& row);
};
