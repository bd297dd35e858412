// The device table tab of the workspace against the in-process fake server:
// the list, its filter and export, and the Delete panels.

#include "CDeviceTableFilter.h"
#include "CIAboutDevice.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {
QJsonObject listResp(const QJsonArray& list) { return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, list}}; }
QJsonObject device(const QString& eui, const QString& name) { return {{PK::devEui, eui}, {PK::devName, name}}; }
QString euiOf(int i) { return QStringLiteral("70B3D5AA%1").arg(i, 8, 16, QLatin1Char('0')).toUpper(); }
} // namespace

class TestDeviceTable : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;
    QTableWidget* m_table = nullptr;

    QString nameAt(int row) const { return m_table->item(row, 0) ? m_table->item(row, 0)->text() : ""; }
    void fill(const QJsonArray& devices) { m_ws->fillDeviceTable(QJsonDocument(listResp(devices))); }

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        QVERIFY(m_server.loginClient(CServerClient::instance()));
    }
    void init()
    {
        m_ws = std::make_unique<CIAboutDevice>();
        m_table = TestHelpers::child<QTableWidget>(m_ws.get(), "deviceTable");
        m_server.send(FakeServer::serverInfoResp(true));   // prepares the table, as after a login
        QTRY_COMPARE(m_table->columnCount(), 3);
    }

    void filterAndExport_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::addRow("none") << "" << QStringList{"Boiler room", "boiler 2", "Pump", "Имя не установлено", ""};
        QTest::addRow("name, any case") << "BOIL" << QStringList{"Boiler room", "boiler 2"};
        QTest::addRow("DevEUI, lower case") << "aa00000002" << QStringList{"Pump"};
    }

    // The list is filtered as it comes; the export writes the rows shown.
    void filterAndExport()
    {
        QJsonArray devices;   // six named rows before, to be refilled with fewer
        for (int i = 0; i < 6; ++i)
            devices.append(device(euiOf(i), QStringLiteral("Old boiler")));
        fill(devices);
        QFETCH(QString, filter);
        TestHelpers::child<QLineEdit>(m_ws.get(), "tableFilterEdit")->setText(filter);
        const QStringList names{"Boiler room", "boiler 2", "Pump", ""};   // the fifth device comes without one
        const auto classOf = [](int row) { return QString(row == 1 ? "CLASS_C" : "CLASS_A"); };
        devices = QJsonArray();
        for (int i = 0; i < 5; ++i) {
            QJsonObject each = i < 4 ? device(euiOf(i), names[i]) : QJsonObject{{PK::devEui, euiOf(i)}};
            each.insert(PK::devClass, classOf(i));
            devices.append(each);
        }
        m_server.send(listResp(devices));   // the way a list comes, once the table has its columns
        QTRY_COMPARE(m_table->rowCount(), 5);

        QVERIFY(m_ws->findChild<CDeviceTableFilter*>()->exportTo(QStringLiteral("devices.csv"), nullptr));
        QFile file(QStringLiteral("devices.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(3), QByteArray("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QStringList shown;
        for (int row = 0; row < m_table->rowCount(); ++row) {
            if (m_table->isRowHidden(row))
                continue;
            shown << nameAt(row);
            QCOMPARE(lines.value(shown.size()).split(','), (QStringList{nameAt(row), euiOf(row), classOf(row)}));
        }
        QTEST(shown, "shown");
        QCOMPARE(lines.size(), shown.size() + 2);   // the header, and the line break at the end
    }

    // Thousands of rows: the Delete panels exist around the rows in view and
    // move with the scrolling, each bound to its own row. The device is fixed
    // when the button is pressed, and the question names it.
    void deletePanels()
    {
        QJsonArray devices;
        for (int i = 0; i < 3000; ++i)
            devices.append(device(euiOf(i), QString()));
        TestHelpers::child<QTabWidget>(m_ws.get(), "tabs")->setCurrentIndex(1);
        m_ws->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ws.get()));
        fill(devices);
        m_table->scrollToBottom();
        QTRY_VERIFY(m_table->cellWidget(2999, 2));
        QVERIFY(!m_table->cellWidget(0, 2));   // none far from the view

        // Before the question is asked, a new list puts another device in the row pressed.
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        m_table->cellWidget(2999, 2)->findChild<QPushButton*>()->click();
        devices[2999] = device(euiOf(5000), QString());
        fill(devices);
        QCOMPARE(m_server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(),
                 QStringList{euiOf(2999)});
        QCOMPARE(boxes.texts().value(0), "Вы уверены что хотите удалить устройство " + euiOf(2999) + "?");
    }

    // A Delete button keeps the focus after its question is cancelled; the
    // refills that follow must not trip over it.
    void refillAfterCancelledDelete()
    {
        QJsonArray devices;
        for (int i = 0; i < 3000; ++i)
            devices.append(device(euiOf(i), QStringLiteral("meter")));
        TestHelpers::child<QTabWidget>(m_ws.get(), "tabs")->setCurrentIndex(1);
        m_ws->show();
        QApplication::setActiveWindow(m_ws.get());
        QVERIFY(QTest::qWaitForWindowActive(m_ws.get()));
        fill(devices);
        m_table->scrollToBottom();
        QTRY_VERIFY(m_table->cellWidget(2999, 2));
        auto* button = m_table->cellWidget(2999, 2)->findChild<QPushButton*>();
        button->setFocus();   // where a click leaves it, and a cancelled question gives it back
        QTRY_COMPARE(QApplication::focusWidget(), button);
        fill(devices);
        fill(devices);
        QCOMPARE(m_table->rowCount(), 3000);
        QVERIFY(m_table->cellWidget(2999, 2));
    }
};

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
