#include "CDeviceTable.h"

#include "CDeviceTableFilter.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace PK = ProtocolKeys;

namespace {

constexpr int nameColumn = 0;
constexpr int devEuiColumn = 1;
constexpr int actionColumn = 2;
// Rows above and below the view that keep their Delete panel, at the least.
constexpr int minimumPanelMargin = 50;

} // namespace

// The table belongs to the workspace and translates in its context.
CDeviceTable::CDeviceTable(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("deviceTable"));
    m_filter = new CDeviceTableFilter(m_table, nameColumn, devEuiColumn, this);
    connect(m_filter, &CDeviceTableFilter::filtered, this, &CDeviceTable::updateActionPanels);
    layout->addWidget(m_filter);
    layout->addWidget(m_table);
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, &CDeviceTable::updateActionPanels);
    m_table->viewport()->installEventFilter(this);
}

bool CDeviceTable::eventFilter(QObject* watched, QEvent* event)
{
    // A taller table shows more rows, and they need their Delete panels.
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        updateActionPanels();
    return QWidget::eventFilter(watched, event);
}

void CDeviceTable::prepare(const CloraInfoResp& info)
{
    DIAG() << qint64(info.deviceCountOther) + info.deviceCountZarvo;
    if (m_table->rowCount() > 0)
        dropRows();
    m_table->setColumnCount(3);
    m_table->setHorizontalHeaderLabels(
        {QCoreApplication::translate("CIAboutDevice", "Имя устройства"), QStringLiteral("DevEUI"),
         QCoreApplication::translate("CIAboutDevice", "Действие")});

    m_table->setColumnWidth(nameColumn, static_cast<int>((m_table->width() / 3) * 1.1));
    m_table->setColumnWidth(devEuiColumn, 180);
    m_table->setColumnWidth(actionColumn, 100);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeaderItem(nameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setShowGrid(true);
}

void CDeviceTable::fill(const QJsonDocument& doc)
{
    DIAG() << "fill table";
    const QJsonArray devices = doc.object().value(PK::devicesList).toArray();
    if (devices.isEmpty())
        return;

    // The old rows go first, so no name of an earlier list survives in a row
    // whose new device has none.
    dropRows();
    writeRows(devices);
    m_filter->apply();
    updateActionPanels();
}

void CDeviceTable::writeRows(const QJsonArray& devices)
{
    const QScopedValueRollback<bool> refilling(m_refilling, true);
    m_table->setRowCount(devices.size());
    const auto cell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return item;
    };

    for (int row = 0; row < devices.size(); ++row) {
        const QJsonObject device = devices.at(row).toObject();
        if (device.contains(PK::devEui)) {
            QTableWidgetItem* item = cell(device.value(PK::devEui).toString());
            item->setData(CDeviceTableFilter::deviceClassRole, device.value(PK::devClass).toString());
            m_table->setItem(row, devEuiColumn, item);
        }
        if (device.contains(PK::devName)) {
            const QString name = device.value(PK::devName).toString();
            m_table->setItem(row, nameColumn,
                             cell(name.isEmpty() ? QCoreApplication::translate("CIAboutDevice", "Имя не установлено")
                                                 : name));
        }
    }
}

void CDeviceTable::dropRows()
{
    // A Delete button with the focus (after a click, or a cancelled question)
    // hands it on as its row goes, and the view scrolls to whatever takes it,
    // while Qt is still walking the panels of the rows it removes: a panel made
    // or removed then corrupts that walk. The table takes the focus first, and
    // no panel is touched until the new rows are in place.
    QWidget* focused = QApplication::focusWidget();
    if (focused && m_table->viewport()->isAncestorOf(focused))
        m_table->setFocus();
    const QScopedValueRollback<bool> dropping(m_refilling, true);
    m_table->setRowCount(0);
    m_panelRows = {0, -1};
}

void CDeviceTable::updateActionPanels()
{
    // Each Delete panel is a widget of its own, and Qt's cost of moving or
    // painting one grows with the number of its siblings: 10,000 of them took
    // half a minute to show. Panels are therefore kept for the rows in view and
    // a margin around them, and follow the scrolling.
    if (m_refilling)
        return;   // the rows are changing; the refill places the panels once done
    const int rows = m_table->rowCount();
    if (rows == 0) {
        m_panelRows = {0, -1};   // emptying the table took the panels with it
        return;
    }
    const int firstShown = qMax(0, m_table->rowAt(0));
    int lastShown = m_table->rowAt(m_table->viewport()->height() - 1);
    if (lastShown < 0)
        lastShown = rows - 1;
    const int margin = qMax(lastShown - firstShown + 1, minimumPanelMargin);
    const PanelRows wanted{qMax(0, firstShown - margin), qMin(rows - 1, lastShown + margin)};

    for (int row = m_panelRows.first; row <= qMin(m_panelRows.last, rows - 1); ++row) {
        if (row < wanted.first || row > wanted.last)
            m_table->removeCellWidget(row, actionColumn);
    }
    for (int row = wanted.first; row <= wanted.last; ++row) {
        // Rows the filter hides need none, however far the shown ones are apart.
        if (!m_table->cellWidget(row, actionColumn) && !m_table->isRowHidden(row))
            m_table->setCellWidget(row, actionColumn, createActionPanel(row));
    }
    m_panelRows = wanted;
}

QWidget* CDeviceTable::createActionPanel(int row)
{
    auto* panel = new QWidget(m_table);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(5, 5, 5, 5);
    auto* deleteButton = new QPushButton(QCoreApplication::translate("CIAboutDevice", "Удалить"), panel);
    deleteButton->setFixedHeight(20);
    panelLayout->addWidget(deleteButton);
    connect(deleteButton, &QPushButton::clicked, this, [this, row] {
        // The device is the one the row shows now: a list answer handled
        // before the question is asked may put another device in this row.
        const QString devEui = devEuiInRow(row);
        // Queued: the confirmation runs its own event loop, during which a
        // refill may delete this very button.
        QMetaObject::invokeMethod(this, [this, devEui] { confirmAndDelete(devEui); },
                                  Qt::QueuedConnection);
    });
    return panel;
}

QString CDeviceTable::devEuiInRow(int row) const
{
    const QTableWidgetItem* item = m_table->item(row, devEuiColumn);
    return item ? item->text() : QString();
}

void CDeviceTable::deleteDevice(int row)
{
    confirmAndDelete(devEuiInRow(row));
}

void CDeviceTable::confirmAndDelete(const QString& devEui)
{
    if (devEui.isEmpty()) {
        DIAG() << "no DevEUI to delete";
        return;
    }

    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("CIAboutDevice", "Предупреждение"),
                    QCoreApplication::translate("CIAboutDevice", "Вы уверены что хотите удалить устройство %1?")
                        .arg(devEui),
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok)
        return;

    DIAG() << "delete this -> " << devEui;
    CServerClient::instance()->sendMessage(CMessageParser::deleteDevicesReq({devEui}));
}
