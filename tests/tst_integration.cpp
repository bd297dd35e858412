// The program's own client and parser, wired as start-up wires them, against
// the real development server process. Deleting and logging out against it
// are the end-to-end suite's, through the window.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "ServerProcess.h"
#include "TestHelpers.h"

namespace Status = ProtocolKeys::Status;

namespace {
// Completed as by the form when it starts: EU868 with channels 1 to 8, the expert groups collapsed.
CLoraDeviceInfo completed(const CLoraDeviceInfo& device)
{
    OptionalSettings form;
    form.device.deviceClass = QStringLiteral("CLASS_A");
    form.freqPlan = {false, 867100000, 867300000, 867500000, 867700000, 867900000, 869525000, QStringLiteral("EU868"), {}};
    form.freqPlan.channelEnabled.fill(true);
    return CIAboutDevice::completedRecord(device, device.devEui, form, ExpertSettings());
}

// The first argument of the spy's next signal, waiting for it.
QVariant next(QSignalSpy& spy)
{
    return QTest::qWaitFor([&spy] { return !spy.isEmpty(); }, 10000) ? spy.takeFirst().at(0) : QVariant();
}
} // namespace

class TestIntegration : public QObject
{
    Q_OBJECT

    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};

private slots:
    void initTestCase()
    {
        QVERIFY2(m_server.start(), qPrintable(m_server.errorText()));
        TestHelpers::startProgramObjects();
        FakeServer::connectClientToParser(CServerClient::instance());
    }

    void cleanupTestCase()
    {
        delete CServerClient::instance();   // closes the socket before the server goes
        QVERIFY(m_server.stop());
    }

    void refusedLoginThenRegistrationAndUpdate()
    {
        CServerClient* client = CServerClient::instance();
        CMessageParser* parser = CMessageParser::instance();
        QSignalSpy auth(parser, &CMessageParser::authMsgResp);
        QSignalSpy verdicts(parser, &CMessageParser::mngDevRespSignal);
        QSignalSpy records(parser, &CMessageParser::infoDevicesResp);
        client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("not-admin")});
        QCOMPARE(next(auth).value<CloraAuthResp>().errString, QStringLiteral("invalid_login_or_password"));
        QCOMPARE(client->clientState(), CServerClient::disconnected);
        client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("admin")});
        QTRY_VERIFY_WITH_TIMEOUT(client->isReady(), 10000);
        QVERIFY(!next(auth).value<CloraAuthResp>().token.isEmpty());

        // "added" and "updated" bring the server's record through the parser's own lookup.
        const QString devEui = QStringLiteral("a1b2c3d4e5f60001");
        const CLoraDeviceInfo device =
            completed({devEui, QStringLiteral("70B0C0D0E0F01020"), QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C")});
        parser->mngDevReq(device);
        QCOMPARE(next(verdicts).toString(), Status::added);
        CLoraDeviceInfo stored = next(records).value<CLoraDeviceInfo>();
        QCOMPARE(stored.devEui, devEui.toUpper());
        QCOMPARE(stored.freqPlan, QStringLiteral("EU868"));
        QCOMPARE(stored.otaaPresent, true);
        QCOMPARE(stored.abpPresent, false);
        parser->mngDevReq(device);   // a rescan
        QCOMPARE(next(verdicts).toString(), Status::nothingToUpdate);

        // Add after a lookup: the server's record, overridden by the form.
        stored = completed(stored);
        stored.devName = QStringLiteral("renamed");
        stored.preferPower = 8;
        parser->mngDevReq(stored);
        QCOMPARE(next(verdicts).toString(), Status::updated);
        const CLoraDeviceInfo updated = next(records).value<CLoraDeviceInfo>();
        QCOMPARE(updated.devName, QStringLiteral("renamed"));
        QCOMPARE(updated.preferPower, 8);
    }
};

QTEST_GUILESS_MAIN(TestIntegration)
#include "tst_integration.moc"
