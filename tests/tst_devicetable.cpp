// The device table tab of the workspace against the in-process fake server:
// the list, its filter and export, and the Delete panels.

#include "CDeviceTableFilter.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
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
    QPushButton* deleteButton(int row) const { return m_table->cellWidget(row, 2)->findChild<QPushButton*>(); }
    void fill(const QJsonArray& devices)
    {
        QSignalSpy lists(CMessageParser::instance(), &CMessageParser::devicesList);
        m_server.send(listResp(devices));
        QVERIFY(lists.wait(2000));
    }

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
        m_server.clearMessages();
    }
    void cleanup() { m_ws.reset(); }

    void filterAndExport_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::addRow("none") << "" << QStringList{"Boiler room", "boiler 2", "Pump", "Имя не установлено", ""};
        QTest::addRow("name, any case") << "BOIL" << QStringList{"Boiler room", "boiler 2"};
        QTest::addRow("DevEUI, lower case") << "aa00000002" << QStringList{"Pump"};
        QTest::addRow("nothing") << "nowhere" << QStringList();
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
        fill(devices);
        m_ws->fillDeviceTable(QJsonDocument(listResp({})));   // an empty list (a failed lookup) changes nothing

        const QString path = QDir::current().filePath(QStringLiteral("devices.csv"));
        QVERIFY(m_ws->findChild<CDeviceTableFilter*>()->exportTo(path, nullptr));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(3), QByteArray("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QCOMPARE(lines.value(0).split(','), (QStringList{"name", "DevEUI", "class"}));
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
        m_ws->resize(900, 600);
        TestHelpers::child<QTabWidget>(m_ws.get(), "tabs")->setCurrentIndex(1);
        m_ws->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ws.get()));
        fill(devices);
        const auto panels = [this] { return m_table->viewport()->findChildren<QPushButton*>().size(); };
        QVERIFY(m_table->cellWidget(0, 2));
        QVERIFY2(panels() < 300, qPrintable(QString::number(panels())));
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Cancel);
        m_ws->deleteDevice(3000);   // no such row, no DevEUI: nothing to ask about
        QTest::mouseClick(deleteButton(0), Qt::LeftButton);
        QTRY_COMPARE(boxes.answered(), 1);   // the button asks once the click is handled
        QCOMPARE(boxes.defaults().value(0), QMessageBox::Cancel);

        m_table->scrollToBottom();
        QTRY_VERIFY(m_table->cellWidget(2999, 2));
        QVERIFY(!m_table->cellWidget(0, 2));   // the panels left behind are gone
        // Before the question is asked, a new list puts another device in the row pressed.
        boxes.answer(QMessageBox::Ok);
        QTest::mouseClick(deleteButton(2999), Qt::LeftButton);
        devices[2999] = device(euiOf(5000), QString());
        m_ws->fillDeviceTable(QJsonDocument(listResp(devices)));
        QCOMPARE(m_server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(),
                 QStringList{euiOf(2999)});
        QCOMPARE(boxes.texts().value(1), "Вы уверены что хотите удалить устройство " + euiOf(2999) + "?");
        QVERIFY(m_server.flush(CServerClient::instance()));
        QCOMPARE(m_server.received(PK::deleteDevicesReq).size(), 1);   // none for the cancelled question
        QCOMPARE(m_table->rowCount(), 3000);   // nothing changes before the server answers
    }
};

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
