#pragma once

#include "LoraRecords.h"

#include <QGroupBox>
#include <QString>

#include <array>
#include <functional>

class QLabel;

// What the server holds about the scanned device: one caption and one
// selectable value per row. The DevEui value doubles as the place of the red
// notices (not registered, invalid scan); the first row carries the status.
class CServerDataBox : public QGroupBox
{
    Q_OBJECT

public:
    enum Row {
        Status, DevEui, AppEui, AppKey, DevAddr, AppsKey, NwksKey, DevName, DevClass,
        ReactionTime, FreqPlan, Freq4, Freq5, Freq6, Freq7, Freq8, ServerAdr, FreqRx2,
        PreferDr, PreferPower, RxWindow, DelayRx1, DrRx2, DelayJoin1, Latitude, Longitude,
        Altitude, RowCount
    };

    explicit CServerDataBox(QWidget* parent = nullptr);

    // Hides every row and empties every value; the box keeps its own visibility.
    void clearRows();
    // Fills every value from the record and shows the rows that have text.
    // Rows shown before stay shown, even when their new text is empty.
    void showDevice(const CLoraDeviceInfo& info);
    void showStatus(const QString& text, bool error);
    // Empty and black, shown or not as it was.
    void resetStatus();
    // A red, wrapped notice in the DevEui value.
    void showNotice(const QString& text);
    void resetDevEuiValue();
    void setDevEuiValueBlack();

    QString valueText(Row row) const;
    QString captionText(Row row) const;
    bool isRowShown(Row row) const;
    bool isRed(Row row) const;

    // DevAddr as eight upper-case hexadecimal digits.
    static QString hexAddress(qint32 devAddress);
    // The program's two text colours.
    static QString textStyle(bool red);
    // Sets the colour only when it changes: a style sheet, even the same one,
    // re-polishes the widget and lays its parent out again.
    static void setTextColour(QWidget* widget, bool red);
    static void setWordWrap(QLabel* label, bool on);

private:
    void changeRows(const std::function<void()>& change);

    QWidget* m_rowsPanel = nullptr;
    std::array<QLabel*, RowCount> m_captions{};
    std::array<QLabel*, RowCount> m_values{};
};
