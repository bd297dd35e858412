// The program's own client and parser, wired as start-up wires them, against
// the real development server process.

#include "CMessageParser.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "ServerProcess.h"
#include "TestHelpers.h"

#include <utility>

namespace Status = ProtocolKeys::Status;

namespace {

// What the workspace sends with the expert groups collapsed and the default
// EU868 plan with channels 1 to 8 on.
void applyDefaultForm(CLoraDeviceInfo& d)
{
    d.devClass = QStringLiteral("CLASS_A");
    d.reactionTime = d.foundMarker = d.preferDr = d.preferPower = d.drRx2 = -1;
    d.rxWindow = d.delayRx1 = d.delayJoin1 = d.altitude = -1;
    d.latitude = d.longitude = -1.0;
    qint32 frequency = 867100000;
    for (qint32* channel : {&d.freq4, &d.freq5, &d.freq6, &d.freq7, &d.freq8})
        *channel = std::exchange(frequency, frequency + 200000);
    d.freqRx2 = 869525000;
    for (bool* enabled : {&d.channel1En, &d.channel2En, &d.channel3En, &d.channel4En, &d.channel5En, &d.channel6En,
                          &d.channel7En, &d.channel8En})
        *enabled = true;
}

CLoraDeviceInfo scanned(const QString& devEui)
{
    CLoraDeviceInfo device{devEui, QStringLiteral("70B0C0D0E0F01020"), QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C")};
    applyDefaultForm(device);
    return device;
}

bool waitFor(QSignalSpy& spy)
{
    return QTest::qWaitFor([&] { return !spy.isEmpty(); }, 10000);
}

} // namespace

class TestIntegration : public QObject
{
    Q_OBJECT

    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    CServerClient* m_client = nullptr;
    CMessageParser* m_parser = nullptr;
    QString m_token;

    // The verdict, and for "added"/"updated" the record the parser's follow-up lookup fetched.
    QString registerDevice(const CLoraDeviceInfo& device, CLoraDeviceInfo* stored = nullptr)
    {
        QSignalSpy verdicts(m_parser, &CMessageParser::mngDevRespSignal);
        QSignalSpy records(m_parser, &CMessageParser::infoDevicesResp);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        m_parser->mngDevReq(device);
        const QString status = waitFor(verdicts) ? verdicts.first().at(0).toString() : QString();
        if (status != Status::added && status != Status::updated)
            return status;
        if (!waitFor(records) || !waitFor(info))
            return QStringLiteral("no follow-up answers");
        if (stored)
            *stored = records.first().at(0).value<CLoraDeviceInfo>();
        return status;
    }
    CLoraDeviceInfo lookUp(const CLoraDeviceInfo& device)
    {
        QSignalSpy found(m_parser, &CMessageParser::infoDevicesResp);
        m_parser->getDevReq(device);
        return waitFor(found) ? found.first().at(0).value<CLoraDeviceInfo>() : CLoraDeviceInfo();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_server.start(), qPrintable(m_server.errorText()));
        TestHelpers::startProgramObjects();
        m_client = CServerClient::instance();
        m_parser = CMessageParser::instance();
        FakeServer::connectClientToParser(m_client);
    }

    void cleanupTestCase()
    {
        QVERIFY(m_server.isRunning());
        delete m_client;   // closes the socket before the server goes
        QVERIFY(m_server.stop());
    }

    void loginRefusedThenAccepted()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        m_client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("not-admin")});
        QVERIFY(waitFor(auth));
        QCOMPARE(auth.first().at(0).value<CloraAuthResp>().errString, QStringLiteral("invalid_login_or_password"));
        QCOMPARE(m_client->clientState(), CServerClient::disconnected);
        m_client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("admin")});
        QTRY_VERIFY_WITH_TIMEOUT(m_client->isReady(), 10000);
        m_token = auth.last().at(0).value<CloraAuthResp>().token;
        QVERIFY(!m_token.isEmpty());
    }

    void registerLookUpUpdateDelete()
    {
        const QString devEui = QStringLiteral("a1b2c3d4e5f60001");
        const CLoraDeviceInfo device = scanned(devEui);
        CLoraDeviceInfo stored;
        QCOMPARE(registerDevice(device, &stored), Status::added);
        QCOMPARE(stored.devEui + ' ' + stored.freqPlan, devEui.toUpper() + " EU868");
        QVERIFY(stored.existOTAA() && !stored.existABP());
        QCOMPARE(registerDevice(device), Status::nothingToUpdate);   // a rescan

        // Add after a lookup: the server's record, overridden by the form.
        applyDefaultForm(stored);
        stored.devName = QStringLiteral("renamed");
        stored.preferPower = 8;
        QCOMPARE(registerDevice(stored), Status::updated);
        const CLoraDeviceInfo found = lookUp(device);
        QVERIFY(found.devName == QLatin1String("renamed") && found.preferPower == 8);

        QSignalSpy removed(m_parser, &CMessageParser::deviceMbRemoved);
        m_client->sendMessage(CMessageParser::deleteDevicesReq({devEui}));
        QVERIFY(waitFor(removed));
        QCOMPARE(removed.first().at(0).toString(), Status::deleted);
        QCOMPARE(lookUp(device).foundMarker, 0);
    }

    void logoutEndsSession()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        m_client->logOut(m_token);
        QVERIFY(waitFor(auth) && !auth.first().at(0).value<CloraAuthResp>().status);
        QCOMPARE(m_client->clientState(), CServerClient::disconnected);
    }
};

QTEST_GUILESS_MAIN(TestIntegration)
#include "tst_integration.moc"
