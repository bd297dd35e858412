#pragma once

#include "CKeySheetChecker.h"

#include <QDialog>

class QPushButton;

// What the check of a key sheet found, before anything is sent: how many rows
// are good, and every rejected row with its line and reason. Accepting sends
// the good rows; a sheet that cannot be used at all only says why.
//
// Children by object name: "summaryLabel", "rejectedTable", "offlineLabel",
// "sendButton", "cancelButton".
class CImportCheckDialog : public QDialog
{
    Q_OBJECT

public:
    CImportCheckDialog(const QString& sheetPath, const KeySheet& sheet, const SheetCheck& check,
                       bool connected, QWidget* parent = nullptr);

    QPushButton* sendButton() const { return m_sendButton; }

private:
    QPushButton* m_sendButton = nullptr;
};
