#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;

// The bar above the device table: a filter that shows only the rows whose
// DevEUI or name holds the typed text (any letter case), and an export of
// the rows shown to a CSV file (name, DevEUI, class).
//
// Children by object name: "tableFilterEdit", "exportButton".
class CDeviceTableFilter : public QWidget
{
    Q_OBJECT

public:
    // The DevEUI cell carries the device's class under this role.
    static constexpr int deviceClassRole = Qt::UserRole;

    CDeviceTableFilter(QTableWidget* table, int nameColumn, int devEuiColumn, QWidget* parent = nullptr);

    // The rows shown, each as name, DevEUI, class.
    QVector<QStringList> shownDevices() const;
    bool exportTo(const QString& path, QString* error) const;

public slots:
    // Again after every refill: new rows start shown.
    void apply();
    void exportDevices();

signals:
    void filtered();

private:
    QTableWidget* m_table;
    int m_nameColumn;
    int m_devEuiColumn;
    QLineEdit* m_filterEdit = nullptr;
    QPushButton* m_exportButton = nullptr;
};
