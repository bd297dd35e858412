// The device table tab of the workspace against the in-process fake server.

#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {
QJsonObject devicesResp(const QJsonArray& devices) { return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}}; }
QJsonObject device(const QString& devEui, const QString& name) { return {{PK::devEui, devEui}, {PK::devName, name}}; }
const QString eui1 = QStringLiteral("70B3D57ED0000001");
const QString eui2 = QStringLiteral("70B3D57ED0000002");
} // namespace

class TestDeviceTable : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;
    QTableWidget* m_table = nullptr;

    QString cell(int row, int column) const { return m_table->item(row, column) ? m_table->item(row, column)->text() : "<no item>"; }
    QPushButton* deleteButton(int row) const { return m_table->cellWidget(row, 2)->findChild<QPushButton*>(); }
    void fill(const QJsonArray& devices)
    {
        QSignalSpy lists(CMessageParser::instance(), &CMessageParser::devicesList);
        m_server.send(devicesResp(devices));
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
        m_table = m_ws->findChild<QTableWidget*>(QStringLiteral("deviceTable"));
        m_server.send(FakeServer::serverInfoResp(true));   // prepares the table, as after a login
        QTRY_COMPARE(m_table->columnCount(), 3);
        m_server.clearMessages();
    }
    void cleanup() { m_ws.reset(); }

    void filledFromList()
    {
        const QJsonObject unnamed{{PK::devEui, QStringLiteral("70B3D57ED0000003")}};
        fill({device(eui1, QStringLiteral("Boiler")), device(eui2, QString()), unnamed});
        QCOMPARE(m_table->rowCount(), 3);
        QCOMPARE(cell(0, 0), QStringLiteral("Boiler"));
        QCOMPARE(cell(0, 1), eui1);
        QCOMPARE(cell(1, 0), QStringLiteral("Имя не установлено"));
        // A shorter list leaves nothing of the earlier rows; an empty one (a failed lookup) changes nothing.
        fill({unnamed});
        QCOMPARE(m_table->rowCount(), 1);
        QCOMPARE(cell(0, 0), QStringLiteral("<no item>"));
        QSignalSpy answers(CMessageParser::instance(), &CMessageParser::infoDevicesResp);
        m_server.send(devicesResp({}));
        QTRY_COMPARE(answers.count(), 1);
        QCOMPARE(m_table->rowCount(), 1);
    }

    void deleteAsksFirst()
    {
        fill({device(eui1, QStringLiteral("Asked about")), device(eui2, QStringLiteral("Other")),
              QJsonObject{{PK::devName, QStringLiteral("No EUI")}}});
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Cancel);
        m_ws->deleteDevice(2);   // no DevEUI: nothing to ask about
        m_ws->deleteDevice(7);   // no such row
        QCOMPARE(boxes.answered(), 0);
        QTest::mouseClick(deleteButton(0), Qt::LeftButton);
        QTRY_COMPARE(boxes.answered(), 1);   // the button asks once the click is handled
        QCOMPARE(boxes.defaults().value(0), QMessageBox::Cancel);

        // Before the question is asked, a new list puts another device in the row pressed.
        boxes.answer(QMessageBox::Ok);
        QTest::mouseClick(deleteButton(0), Qt::LeftButton);
        m_ws->fillDeviceTable(QJsonDocument(
            devicesResp({device(eui2, QStringLiteral("Other")), device(eui1, QStringLiteral("Asked about"))})));
        QCOMPARE(m_server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(), QStringList{eui1});
        CServerClient::instance()->sendMessage(CMessageParser::srvInfoReq());   // a probe: all before it has come
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        QCOMPARE(m_server.received(PK::deleteDevicesReq).size(), 1);   // none for the cancelled question
        QCOMPARE(boxes.texts().value(1), "Вы уверены что хотите удалить устройство " + eui1 + "?");
        QCOMPARE(m_table->rowCount(), 2);   // nothing changes before the server answers
    }

    void longListFollowsScrolling()
    {
        // Thousands of rows: the Delete panels exist around the rows in view and
        // move with the scrolling, each bound to its own row.
        QJsonArray devices;
        for (int i = 0; i < 3000; ++i)
            devices.append(device(QStringLiteral("70B3D57E%1").arg(i, 8, 16, QLatin1Char('0')).toUpper(), QString()));
        m_ws->resize(900, 600);
        m_ws->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
        m_ws->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ws.get()));
        fill(devices);
        const auto panels = [this] { return m_table->viewport()->findChildren<QPushButton*>().size(); };
        QVERIFY(m_table->cellWidget(0, 2));
        QVERIFY(!m_table->cellWidget(2999, 2));
        QVERIFY2(panels() < 300, qPrintable(QString::number(panels())));

        m_table->scrollToBottom();
        QTRY_VERIFY(m_table->cellWidget(2999, 2));
        QVERIFY(!m_table->cellWidget(0, 2));
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        QTest::mouseClick(deleteButton(2999), Qt::LeftButton);
        QCOMPARE(m_server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(),
                 QStringList{devices.last()[PK::devEui].toString()});
        QTRY_VERIFY2(panels() < 300, qPrintable(QString::number(panels())));   // the panels left behind are gone
    }
};

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
