#pragma once

#include "LoraRecords.h"

#include <QGroupBox>
#include <QString>

#include <array>

class QLabel;
class QLineEdit;

// The scanned device's identity and keys, one captioned row each. The rows
// only show what the scanner delivered: the operator cannot edit them.
//
// Children by object name: "devEuiEdit", "appEuiEdit", "appKeyEdit",
// "devAddrEdit", "appsKeyEdit", "nwksKeyEdit".
class CDeviceKeysBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit CDeviceKeysBox(QWidget* parent = nullptr);

    void showKeys(const CLoraDeviceInfo& info);
    // The same text in every row, for a scan that could not be read.
    void showInvalid(const QString& text);
    // Read-only, normal echo.
    void resetEdits();

    QString shownDevEui() const;

private:
    enum Key { DevEui, AppEui, AppKey, DevAddr, AppsKey, NwksKey, KeyCount };

    void setCaptionsBlack();

    std::array<QLabel*, KeyCount> m_captions{};
    std::array<QLineEdit*, KeyCount> m_edits{};
};
