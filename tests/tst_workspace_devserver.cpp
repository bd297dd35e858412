// The workspace end to end against the development network server: a new
// device is looked up, registered by click and by auto mode, listed in the
// table and deleted from it.

#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#ifdef TESMAR_DEVSERVER_PATH
#include "ServerProcess.h"
#endif

#include <memory>

namespace {

const QString addedText = QStringLiteral(
    "Device is not existed on server before and is registered with corresponding registration information");

CLoraDeviceInfo scanned(const QString& devEui)
{
    CLoraDeviceInfo info;
    info.devEui = devEui;
    info.appEui = QStringLiteral("70B3D57ED0000001");
    info.appKey = QStringLiteral("00112233445566778899AABBCCDDEEFF");
    return info;
}

} // namespace

class TestWorkspaceDevServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void registerByClick();
    void registerInAutoMode();
    void listAndDelete();

private:
    template <typename T>
    T* child(const char* name) const
    {
        return m_ws->findChild<T*>(QString::fromLatin1(name));
    }

#ifdef TESMAR_DEVSERVER_PATH
    std::unique_ptr<DevServer::ServerProcess> m_server;
#endif
    std::unique_ptr<CIAboutDevice> m_ws;
};

void TestWorkspaceDevServer::initTestCase()
{
#ifndef TESMAR_DEVSERVER_PATH
    QSKIP("the development server is not built");
#else
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    CSettings::instance(qApp);
    CSettings::ensureDefaults();
    ScannedDevices::instance(qApp);
    CServerClient* client = CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
    FakeServer::connectClientToParser(client);

    m_server = std::make_unique<DevServer::ServerProcess>(QStringLiteral(TESMAR_DEVSERVER_PATH));
    QVERIFY2(m_server->start({QStringLiteral("--max-devices"), QStringLiteral("100")}),
             qPrintable(m_server->errorText()));

    // Made before the login, so the login answer reaches it as in the program.
    m_ws = std::make_unique<CIAboutDevice>();
    CLoraAuthReq login;
    login.address = m_server->address();
    login.login = QStringLiteral("admin");
    login.password = QStringLiteral("admin");
    client->openWebSoket(login);
    QTRY_VERIFY_WITH_TIMEOUT(client->isReady(), 5000);
    QTRY_VERIFY(child<QPushButton>("addButton")->isEnabled());
#endif
}

void TestWorkspaceDevServer::cleanupTestCase()
{
    m_ws.reset();
#ifdef TESMAR_DEVSERVER_PATH
    if (m_server)
        QVERIFY(m_server->stop());
#endif
}

void TestWorkspaceDevServer::registerByClick()
{
    const QString devEui = QStringLiteral("70B3D57ED00A0001");
    m_ws->scanDeviceInfo(scanned(devEui));
    CServerDataBox* box = m_ws->serverDataBox();
    QTRY_COMPARE(box->valueText(CServerDataBox::DevEui),
                 QStringLiteral("Данное устройство, еще не зарегистрировано на сервере"));

    QTest::mouseClick(child<QPushButton>("addButton"), Qt::LeftButton);
    QTRY_COMPARE(child<QLabel>("messageLabel")->text(), addedText);
    // The server's own record comes back and replaces the working one.
    QTRY_COMPARE(box->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
    QCOMPARE(box->valueText(CServerDataBox::DevName), devEui);
    QVERIFY(m_ws->deviceInfo().existOTAA());
}

void TestWorkspaceDevServer::registerInAutoMode()
{
    child<QCheckBox>("autoModeCheck")->setChecked(true);
    const QString devEui = QStringLiteral("70B3D57ED00A0002");
    child<QLabel>("messageLabel")->clear();
    m_ws->scanDeviceInfo(scanned(devEui));
    QTRY_COMPARE(child<QLabel>("messageLabel")->text(), addedText);
    QTRY_COMPARE(m_ws->serverDataBox()->valueText(CServerDataBox::DevName), devEui);
    QVERIFY(ScannedDevices::instance()->deviceEuis().contains(devEui));
    child<QCheckBox>("autoModeCheck")->setChecked(false);
}

void TestWorkspaceDevServer::listAndDelete()
{
    auto* table = child<QTableWidget>("deviceTable");
    child<QTabWidget>("tabs")->setCurrentIndex(1);
    QTRY_COMPARE(table->rowCount(), 2);
    QStringList listed = {table->item(0, 1)->text(), table->item(1, 1)->text()};
    listed.sort();
    QCOMPARE(listed, (QStringList{"70B3D57ED00A0001", "70B3D57ED00A0002"}));

    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    const QString kept = table->item(1, 1)->text();
    QTest::mouseClick(table->cellWidget(0, 2)->findChild<QPushButton*>(), Qt::LeftButton);
    // The removal notice refreshes the counts (clearing the table) and the list.
    QTRY_COMPARE(table->rowCount(), 1);
    QTRY_COMPARE(table->item(0, 1)->text(), kept);
}

QTEST_MAIN(TestWorkspaceDevServer)
#include "tst_workspace_devserver.moc"
