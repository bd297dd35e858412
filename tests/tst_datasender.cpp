// Data requests and deletions, before and after the login.

#include "CServerClient.h"
#include "DataSender.h"
#include "FakeServer.h"
#include "LogOutputWidget.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

class TestDataSender : public QObject
{
    Q_OBJECT

    const QStringList m_added{QStringLiteral("AA01"), QStringLiteral("AA02")};
    static ScannedDevices* added() { return ScannedDevices::instance(); }

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // Nothing leaves the program before the login: nothing may claim it did. After it, data
    // for a device this run did not add leave the record as it was; deleted devices leave it.
    void beforeAndAfterTheLogin()
    {
        for (const QString& devEui : m_added)
            added()->addDevice(devEui);
        const QString logBefore = LogOutputWidget::instance()->plainText();
        QVERIFY(!DataSender::sendDataRequest(m_added[0], QStringLiteral("0102"), QStringLiteral("2"), false));
        QVERIFY(!DataSender::deleteDevices(m_added));
        QCOMPARE(LogOutputWidget::instance()->plainText(), logBefore);
        QCOMPARE(added()->deviceEuis(), m_added);
        QCOMPARE(added()->deviceState(m_added[0]), 0);

        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        QVERIFY(DataSender::sendDataRequest("FFFF", "03", "0x10", true));   // a device not added
        QCOMPARE(added()->deviceEuis(), m_added);
        const QJsonObject item = server.waitForMessage(PK::sendDataReq).value(PK::dataList)[0].toObject();
        QCOMPARE(item.value(PK::port).toInt(-1), 0);   // not a decimal number
        QVERIFY(DataSender::deleteDevices(m_added));
        QCOMPARE(added()->deviceEuis(), QStringList());
    }
};

QTEST_MAIN(TestDataSender)
#include "tst_datasender.moc"
