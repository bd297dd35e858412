#pragma once

#include "LoraRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>
#include <QWidget>

class CDeviceTableFilter;
class QTableWidget;

// The device table tab: the server's devices, each row with a Delete button
// that asks before it sends the deletion, under the filter bar. It shows
// only what the server's lists say; nothing of it is stored.
//
// Children by object name: "deviceTable", "tableFilterEdit", "exportButton".
class CDeviceTable : public QWidget
{
    Q_OBJECT

public:
    explicit CDeviceTable(QWidget* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Empties the table and sets up its columns.
    void prepare(const CloraInfoResp& info);
    // Refills the table from a device list; an empty list changes nothing.
    void fill(const QJsonDocument& doc);
    // Asks, then asks the server to delete the device of that row.
    void deleteDevice(int row);

private slots:
    void updateActionPanels();

private:
    QWidget* createActionPanel(int row);
    QString devEuiInRow(int row) const;
    void dropRows();
    void writeRows(const QJsonArray& devices);
    void confirmAndDelete(const QString& devEui);

    QTableWidget* m_table = nullptr;
    CDeviceTableFilter* m_filter = nullptr;
    // The rows that hold a Delete panel, first to last.
    struct PanelRows {
        int first;
        int last;
    };
    PanelRows m_panelRows{0, -1};
    bool m_refilling = false;   // rows are being removed or added: no panel work
};
