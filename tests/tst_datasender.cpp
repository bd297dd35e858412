#include "CServerClient.h"
#include "CSettings.h"
#include "DataSender.h"
#include "FakeServer.h"
#include "LogOutputWidget.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

class TestDataSender : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    ScannedDevices* m_added = nullptr;
    static QString logText() { return LogOutputWidget::instance()->plainText(); }

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        m_added = ScannedDevices::instance();
    }

    void init()
    {
        m_added->clearDevices();
        m_added->addDevice(QStringLiteral("AA01"));
        m_added->addDevice(QStringLiteral("AA02"));
    }

    // Nothing leaves the program before the login: nothing may claim it did.
    void nothingChangesBeforeReady()
    {
        QVERIFY(!CServerClient::instance()->isReady());
        const QString logBefore = logText();
        QVERIFY(!DataSender::sendDataRequest(QStringLiteral("AA01"), QStringLiteral("0102"), QStringLiteral("2"), false));
        QVERIFY(!DataSender::deleteDevices({QStringLiteral("AA01"), QStringLiteral("AA02")}));
        QCOMPARE(logText(), logBefore);
        QCOMPARE(m_added->deviceEuis(), (QStringList{QStringLiteral("AA01"), QStringLiteral("AA02")}));
        QCOMPARE(m_added->deviceState(QStringLiteral("AA01")), 0);
    }

    void sendAndDeleteWhenReady()
    {
        QVERIFY(m_server.loginClient(CServerClient::instance()));
        QVERIFY(DataSender::sendDataRequest(QStringLiteral("AA01"), QStringLiteral("0102"), QStringLiteral("2"), false));
        QVERIFY(DataSender::sendDataRequest(QStringLiteral("FFFF"), QStringLiteral("03"), QStringLiteral("0x10"), true));
        QVERIFY(!m_server.waitForMessage(PK::sendDataReq).isEmpty());
        const QJsonObject item = m_server.waitForMessage(PK::sendDataReq).value(PK::dataList)[0].toObject();
        QCOMPARE(item.value(PK::port).toInt(-1), 0);   // not a decimal number
        QCOMPARE(item.value(PK::ack).toBool(), true);
        QCOMPARE(m_added->deviceState(QStringLiteral("AA01")), 1);
        QCOMPARE(m_added->deviceEuis().size(), 2);   // an unknown device is not added
        QVERIFY(logText().contains(QStringLiteral("Устройству UID: FFFF отправлен пакет с запросом из файла %1")
                                       .arg(currentRequestsFileName)));

        const int logBefore = logText().size();
        QVERIFY(DataSender::deleteDevices({QStringLiteral("AA02"), QStringLiteral("AA01")}));
        QCOMPARE(m_server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(),
                 (QStringList{QStringLiteral("AA02"), QStringLiteral("AA01")}));
        QCOMPARE(m_added->deviceEuis(), QStringList());
        const QStringList lines = logText().mid(logBefore).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).endsWith(QStringLiteral("Устройство UID: AA02 удалено с сервера")), qPrintable(lines.at(0)));
        QVERIFY2(lines.at(1).endsWith(QStringLiteral("Устройство UID: AA01 удалено с сервера")), qPrintable(lines.at(1)));
    }
};

QTEST_MAIN(TestDataSender)
#include "tst_datasender.moc"
