#include "CDeviceTableFilter.h"

#include "CCsvFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

namespace {
QString textOf(const QTableWidgetItem* item)
{
    return item ? item->text() : QString();
}
} // namespace

CDeviceTableFilter::CDeviceTableFilter(QTableWidget* table, int nameColumn, int devEuiColumn, QWidget* parent)
    : QWidget(parent)
    , m_table(table)
    , m_nameColumn(nameColumn)
    , m_devEuiColumn(devEuiColumn)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("tableFilterEdit"));
    m_filterEdit->setPlaceholderText(tr("Фильтр: DevEUI или имя"));
    m_filterEdit->setClearButtonEnabled(true);
    m_exportButton = new QPushButton(tr("Экспорт в CSV…"), this);
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    layout->addWidget(m_filterEdit);
    layout->addWidget(m_exportButton);

    connect(m_filterEdit, &QLineEdit::textChanged, this, &CDeviceTableFilter::apply);
    connect(m_exportButton, &QPushButton::clicked, this, &CDeviceTableFilter::exportDevices);
}

void CDeviceTableFilter::apply()
{
    const QString wanted = m_filterEdit->text().trimmed();
    const int rows = m_table->rowCount();
    for (int row = 0; row < rows; ++row) {
        const bool shown = wanted.isEmpty()
                           || textOf(m_table->item(row, m_devEuiColumn)).contains(wanted, Qt::CaseInsensitive)
                           || textOf(m_table->item(row, m_nameColumn)).contains(wanted, Qt::CaseInsensitive);
        // Only changes: each one makes the header recount its sections.
        if (m_table->isRowHidden(row) == shown)
            m_table->setRowHidden(row, !shown);
    }
    emit filtered();
}

QVector<QStringList> CDeviceTableFilter::shownDevices() const
{
    QVector<QStringList> devices;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->isRowHidden(row))
            continue;
        const QTableWidgetItem* devEui = m_table->item(row, m_devEuiColumn);
        devices.append({textOf(m_table->item(row, m_nameColumn)), textOf(devEui),
                        devEui ? devEui->data(deviceClassRole).toString() : QString()});
    }
    return devices;
}

bool CDeviceTableFilter::exportTo(const QString& path, QString* error) const
{
    QVector<QStringList> rows = shownDevices();
    rows.prepend({QStringLiteral("name"), QStringLiteral("DevEUI"), QStringLiteral("class")});
    return CCsvFile::write(path, rows, error);
}

void CDeviceTableFilter::exportDevices()
{
    QString path = QFileDialog::getSaveFileName(this, tr("Экспорт в CSV"), QStringLiteral("devices.csv"),
                                                tr("Файлы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString error;
    if (!exportTo(path, &error)) {
        QMessageBox::warning(this, tr("Экспорт в CSV"), tr("Файл %1 не записан: %2").arg(path, error));
        return;
    }
    QMessageBox::information(this, tr("Экспорт в CSV"),
                             tr("Записано устройств: %1\n%2").arg(shownDevices().size()).arg(path));
}
