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
    static QString logText() { return LogOutputWidget::instance()->plainText(); }
    static ScannedDevices* added() { return ScannedDevices::instance(); }

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    void init()
    {
        added()->clearDevices();
        for (const QString& devEui : m_added)
            added()->addDevice(devEui);
    }

    // Nothing leaves the program before the login: nothing may claim it did.
    void nothingChangesBeforeReady()
    {
        QVERIFY(!CServerClient::instance()->isReady());
        const QString logBefore = logText();
        QVERIFY(!DataSender::sendDataRequest(m_added[0], QStringLiteral("0102"), QStringLiteral("2"), false));
        QVERIFY(!DataSender::deleteDevices(m_added));
        QCOMPARE(logText(), logBefore);
        QCOMPARE(added()->deviceEuis(), m_added);
        QCOMPARE(added()->deviceState(m_added[0]), 0);
    }

    // Data for a device this run did not add leave the record as it was; deleted
    // devices leave it, each with its line in the log pane.
    void sendAndDeleteWhenReady()
    {
        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        const QString notAdded = QStringLiteral("FFFF");
        QVERIFY(DataSender::sendDataRequest(notAdded, QStringLiteral("03"), QStringLiteral("0x10"), true));
        QCOMPARE(added()->deviceEuis(), m_added);
        const QJsonObject item = server.waitForMessage(PK::sendDataReq).value(PK::dataList)[0].toObject();
        QCOMPARE(item.value(PK::port).toInt(-1), 0);   // not a decimal number

        const int logBefore = logText().size();
        QVERIFY(DataSender::deleteDevices(m_added));
        QCOMPARE(added()->deviceEuis(), QStringList());
        const QStringList lines = logText().mid(logBefore).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString line = QStringLiteral("Устройство UID: %1 удалено с сервера").arg(m_added[i]);
            QVERIFY2(lines.at(i).endsWith(line), qPrintable(lines.at(i)));
        }
    }
};

QTEST_MAIN(TestDataSender)
#include "tst_datasender.moc"
