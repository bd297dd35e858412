// The device table tab of the workspace against the in-process fake server:
// filling from device lists, the refresh triggers and deleting one device.

#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QFile>
#include <QJsonArray>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace PK = ProtocolKeys;

namespace {

QJsonObject devicesResp(const QJsonArray& devices)
{
    return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}};
}

QJsonObject device(const QString& devEui, const QString& name)
{
    return {{PK::devEui, devEui}, {PK::devName, name}};
}

QString cellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

QPushButton* deleteButton(QTableWidget* table, int row)
{
    QWidget* panel = table->cellWidget(row, 2);
    return panel ? panel->findChild<QPushButton*>() : nullptr;
}

} // namespace

class TestDeviceTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filledFromList();
    void emptyListKeepsAndServerInfoClears();
    void tabSwitchRequestsWholeList();
    void deleteAfterOk();
    void cancelOrNoDevEuiSendsNothing();
    void refillWhileConfirmingKeepsConfirmedDevice();
    void removalNoticeRefreshes();

private:
    void fill(const QJsonArray& devices);
    void expectNoDeletion();

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;
    QTableWidget* m_table = nullptr;
};

void TestDeviceTable::initTestCase()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    CSettings::instance(qApp);
    CSettings::ensureDefaults();
    ScannedDevices::instance(qApp);
    CServerClient* client = CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
    qRegisterMetaType<CLoraDeviceInfo>();
    QVERIFY(m_server.loginClient(client));
}

void TestDeviceTable::init()
{
    m_ws = std::make_unique<CIAboutDevice>();
    m_table = m_ws->findChild<QTableWidget*>(QStringLiteral("deviceTable"));
    QVERIFY(m_table);
    // The table is prepared by the server information, as after a login.
    m_server.send(FakeServer::serverInfoResp(true));
    QTRY_COMPARE(m_table->columnCount(), 3);
    m_server.clearMessages();
}

void TestDeviceTable::cleanup()
{
    m_ws.reset();
}

void TestDeviceTable::expectNoDeletion()
{
    // Anything sent before this probe reaches the server before it.
    CServerClient::instance()->sendMessage(CMessageParser::srvInfoReq());
    QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
    QVERIFY(m_server.received(PK::deleteDevicesReq).isEmpty());
}

void TestDeviceTable::fill(const QJsonArray& devices)
{
    QSignalSpy lists(CMessageParser::instance(), &CMessageParser::devicesList);
    m_server.send(devicesResp(devices));
    QVERIFY(lists.wait(2000) || lists.count() > 0);
}

void TestDeviceTable::filledFromList()
{
    QCOMPARE(m_table->horizontalHeaderItem(0)->text(), QStringLiteral("Имя устройства"));
    QCOMPARE(m_table->horizontalHeaderItem(1)->text(), QStringLiteral("DevEUI"));
    QCOMPARE(m_table->horizontalHeaderItem(2)->text(), QStringLiteral("Действие"));

    QJsonObject unnamed{{PK::devEui, QStringLiteral("70B3D57ED0000003")}};
    fill({device(QStringLiteral("70B3D57ED0000001"), QStringLiteral("Boiler")),
          device(QStringLiteral("70B3D57ED0000002"), QString()), unnamed});

    QCOMPARE(m_table->rowCount(), 3);
    QCOMPARE(cellText(m_table, 0, 0), QStringLiteral("Boiler"));
    QCOMPARE(cellText(m_table, 0, 1), QStringLiteral("70B3D57ED0000001"));
    QCOMPARE(cellText(m_table, 1, 0), QStringLiteral("Имя не установлено"));
    QCOMPARE(cellText(m_table, 2, 0), QStringLiteral("<no item>"));
    for (int row = 0; row < 3; ++row) {
        QPushButton* button = deleteButton(m_table, row);
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Удалить"));
    }
    QVERIFY(!(m_table->item(0, 1)->flags() & Qt::ItemIsEditable));

    // A shorter list with names missing leaves nothing of the earlier rows.
    fill({unnamed});
    QCOMPARE(m_table->rowCount(), 1);
    QCOMPARE(cellText(m_table, 0, 0), QStringLiteral("<no item>"));
}

void TestDeviceTable::emptyListKeepsAndServerInfoClears()
{
    fill({device(QStringLiteral("70B3D57ED0000011"), QStringLiteral("Kept"))});
    QSignalSpy answers(CMessageParser::instance(), &CMessageParser::infoDevicesResp);
    m_server.send(devicesResp({}));
    QTRY_COMPARE(answers.count(), 1);
    QCOMPARE(m_table->rowCount(), 1);
    QCOMPARE(cellText(m_table, 0, 0), QStringLiteral("Kept"));

    m_server.send(FakeServer::serverInfoResp(true));
    QTRY_COMPARE(m_table->rowCount(), 0);
}

void TestDeviceTable::tabSwitchRequestsWholeList()
{
    CServerDataBox* box = m_ws->serverDataBox();
    box->showStatus(QStringLiteral("left over"), false);

    m_ws->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    const QJsonObject request = m_server.waitForMessage(PK::getDevicesReq);
    QCOMPARE(request, (QJsonObject{{PK::cmd, PK::getDevicesReq}}));
    QVERIFY(!box->isRowShown(CServerDataBox::Status));
}

void TestDeviceTable::deleteAfterOk()
{
    fill({device(QStringLiteral("70B3D57ED0000031"), QStringLiteral("First")),
          device(QStringLiteral("70B3D57ED0000032"), QStringLiteral("Second"))});
    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);

    QTest::mouseClick(deleteButton(m_table, 1), Qt::LeftButton);
    const QJsonObject request = m_server.waitForMessage(PK::deleteDevicesReq);
    QCOMPARE(request.value(PK::devicesList).toArray(), QJsonArray{QStringLiteral("70B3D57ED0000032")});
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Вы уверены что хотите удалить устройство?")});
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("Предупреждение")});
    QCOMPARE(boxes.defaults().value(0), QMessageBox::Cancel);
    // Nothing changes before the server answers.
    QCOMPARE(m_table->rowCount(), 2);
}

void TestDeviceTable::cancelOrNoDevEuiSendsNothing()
{
    fill({device(QStringLiteral("70B3D57ED0000041"), QStringLiteral("Stays")),
          QJsonObject{{PK::devName, QStringLiteral("No EUI")}}});
    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Cancel);
    boxes.answer(QMessageBox::Ok);
    m_ws->deleteDevice(0);
    m_ws->deleteDevice(1);   // no DevEUI: nothing to ask about
    m_ws->deleteDevice(7);   // no such row
    QCOMPARE(boxes.answered(), 1);
    expectNoDeletion();
}

void TestDeviceTable::refillWhileConfirmingKeepsConfirmedDevice()
{
    fill({device(QStringLiteral("70B3D57ED0000051"), QStringLiteral("Asked about")),
          device(QStringLiteral("70B3D57ED0000052"), QStringLiteral("Other"))});
    ModalAnswerer boxes;
    // While the operator reads the question, a new list arrives in another order.
    boxes.answer(QMessageBox::Ok, [this](QMessageBox*) {
        m_server.send(devicesResp({device(QStringLiteral("70B3D57ED0000052"), QStringLiteral("Other")),
                                   device(QStringLiteral("70B3D57ED0000051"), QStringLiteral("Asked about"))}));
        QTRY_COMPARE(cellText(m_table, 0, 1), QStringLiteral("70B3D57ED0000052"));
    });

    QTest::mouseClick(deleteButton(m_table, 0), Qt::LeftButton);
    const QJsonObject request = m_server.waitForMessage(PK::deleteDevicesReq);
    QCOMPARE(request.value(PK::devicesList).toArray(), QJsonArray{QStringLiteral("70B3D57ED0000051")});
}

void TestDeviceTable::removalNoticeRefreshes()
{
    const QJsonObject entry{{PK::devEui, QStringLiteral("70B3D57ED0000061")}, {PK::status, PK::Status::deleted}};
    m_server.send({{PK::cmd, PK::deleteDevicesResp}, {PK::deviceDeleteStatus, QJsonArray{entry}}});
    QVERIFY(!m_server.waitForMessage(PK::getDevicesReq).isEmpty());
    const QStringList order = {m_server.received().value(0).value(PK::cmd).toString(),
                               m_server.received().value(1).value(PK::cmd).toString()};
    QCOMPARE(order, (QStringList{PK::serverInfoReq, PK::getDevicesReq}));

    // Any other removal status asks for nothing.
    m_server.clearMessages();
    QJsonObject refused = entry;
    refused.insert(PK::status, QStringLiteral("notFound"));
    QSignalSpy notices(CMessageParser::instance(), &CMessageParser::deviceMbRemoved);
    m_server.send({{PK::cmd, PK::deleteDevicesResp}, {PK::deviceDeleteStatus, QJsonArray{refused}}});
    QTRY_COMPARE(notices.count(), 1);
    expectNoDeletion();
    QCOMPARE(m_server.received().size(), 1);   // the probe alone
}

QTEST_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
