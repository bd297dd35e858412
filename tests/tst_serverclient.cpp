#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "MessageCapture.h"
#include "TestHelpers.h"

#include <memory>

using State = CServerClient::EClientStates;
Q_DECLARE_METATYPE(CServerClient::EClientStates)

class TestServerClient : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeServer> m_server;
    CServerClient* m_client = nullptr;

    CLoraAuthReq connection() const { return {m_server->address(), QStringLiteral("operator"), QStringLiteral("pa55word")}; }
    void openAndWaitForLogin()
    {
        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
    }
    void acceptLogin()
    {
        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        m_server->send(FakeServer::serverInfoResp(true));
        QTRY_VERIFY_WITH_TIMEOUT(m_client->isReady(), 2000);
    }
    static QList<State> states(const QSignalSpy& spy)
    {
        QList<State> result;
        for (const QList<QVariant>& args : spy)
            result.append(args.at(0).value<State>());
        return result;
    }

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        CSettings::instance();
        qRegisterMetaType<CloraAuthResp>();
        qRegisterMetaType<CloraInfoResp>();
        qRegisterMetaType<State>();
    }

    void init()
    {
        m_server = std::make_unique<FakeServer>();
        QVERIFY(m_server->start());
        m_client = CServerClient::instance();
        FakeServer::connectClientToParser(m_client);
        QCOMPARE(m_client->clientState(), CServerClient::unknown);
    }

    void cleanup()
    {
        delete m_client;
        m_server.reset();
    }

    void loginSequenceReachesReady()
    {
        CSettings::writeValue(CSettings::serverIpPort, QString());
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        MessageCapture capture;
        openAndWaitForLogin();
        const QJsonObject auth = m_server->received(PK::authReq).value(0);
        QCOMPARE(auth.value(PK::login).toString() + auth.value(PK::password).toString(), QStringLiteral("operatorpa55word"));
        acceptLogin();
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), m_server->address());
        QCOMPARE(states(spy), (QList<State>{CServerClient::connecting, CServerClient::authorization,
                                             CServerClient::authorizationSuccess, CServerClient::ready}));
        QVERIFY(capture.contains(QStringLiteral("State changed:  \"authorizationSuccess\" [ 3 ]")));
        // The password never reaches the trace in clear.
        QVERIFY(!capture.contains(QStringLiteral("pa55word")));
        QVERIFY(capture.contains(QStringLiteral("\\\"password\\\":\\\"********\\\"")));

        // Ready: texts go out as UTF-8.
        const QString cyrillic = QStringLiteral("{\"cmd\":\"x\",\"devName\":\"Счётчик\"}");
        QVERIFY(m_client->sendMessage(cyrillic));
        QVERIFY(capture.contains(QStringLiteral("Message sended:")));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->messages().contains(cyrillic), 2000);
    }

    void answersMoveTheState_data()
    {
        QTest::addColumn<QJsonObject>("answer");
        QTest::addColumn<State>("expected");
        QTest::newRow("server info failed") << FakeServer::serverInfoResp(false) << CServerClient::serverInfoRespError;
        QTest::newRow("logout confirmed")
            << QJsonObject{{PK::cmd, PK::closeAuthResp}, {PK::status, true}} << CServerClient::disconnected;
        QTest::newRow("logout refused keeps the login")
            << QJsonObject{{PK::cmd, PK::closeAuthResp}, {PK::status, false}} << CServerClient::authorizationSuccess;
    }

    void answersMoveTheState()
    {
        QFETCH(QJsonObject, answer);
        QVERIFY(m_server->loginClient(m_client));
        m_server->clearMessages();
        m_server->send(answer);
        QFETCH(State, expected);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), expected, 2000);
        // Only a refused logout is followed by a new info request, which may still be on its way.
        const int infoRequests = expected == CServerClient::authorizationSuccess ? 1 : 0;
        QTRY_COMPARE_WITH_TIMEOUT(m_server->received(PK::serverInfoReq).size(), infoRequests, 2000);
    }

    void requestsAreRefusedBeforeReady()
    {
        MessageCapture capture;
        QVERIFY(!m_client->sendMessage(CMessageParser::allDevicesReq()));   // unknown
        openAndWaitForLogin();
        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        CLoraDeviceInfo info;   // logged in, counts not yet answered
        info.devEui = QStringLiteral("0102030405060708");
        CMessageParser::instance()->getDevReq(info);
        CMessageParser::instance()->mngDevReq(info);
        QCOMPARE(capture.count(QStringLiteral("Invalid client state! Abort")), 3);

        // A login answer without a status moves nothing: the one change is the info answer's.
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        m_server->send(QJsonObject{{PK::cmd, PK::authResp}, {PK::token, QStringLiteral("t")}});
        m_server->send(FakeServer::serverInfoResp(true));
        QTRY_VERIFY_WITH_TIMEOUT(m_client->isReady(), 2000);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_server->messages().size(), 2);   // the login and the info request
    }

    // A close frame is as much a lost connection as a dropped one (that one: the fault suite).
    void serverClosingReportsHostError()
    {
        QVERIFY(m_server->loginClient(m_client));
        QSignalSpy hostError(m_client, &CServerClient::hostError);
        m_server->closeClient();
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);
        QCOMPARE(hostError.size(), 1);
        QCOMPARE(hostError.at(0).at(0).value<CloraAuthResp>().errString, QStringLiteral("Remote Host Closed Error"));
    }

    // A refused login leaves a client that can try again. (Refused connections: the fault suite.)
    void refusedLoginCanBeRetried()
    {
        // The address remembered last stays until a login elsewhere succeeds.
        CSettings::writeValue(CSettings::serverIpPort, QStringLiteral("10.0.0.1:1"));
        QSignalSpy hostError(m_client, &CServerClient::hostError);
        openAndWaitForLogin();
        m_server->send(FakeServer::authResp(false));
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);
        QCOMPARE(hostError.size(), 0);
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), QStringLiteral("10.0.0.1:1"));

        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        openAndWaitForLogin();
        QCOMPARE(states(spy).first(), CServerClient::authorizationFailed);
        acceptLogin();
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), m_server->address());
    }
};

QTEST_MAIN(TestServerClient)
#include "tst_serverclient.moc"
