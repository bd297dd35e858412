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

    void openAndWaitForLogin()
    {
        m_client->openWebSoket({m_server->address(), QStringLiteral("operator"), QStringLiteral("pa55word")});
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
    }
    // The login accepted; the counts answered with `info` (none when empty).
    void acceptLogin(const QJsonObject& info = FakeServer::serverInfoResp(true))
    {
        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        if (info.isEmpty())
            return;
        m_server->send(info);
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
        TestHelpers::startProgramObjects();
        qRegisterMetaType<State>();
    }

    void init()
    {
        m_server = std::make_unique<FakeServer>();
        QVERIFY(m_server->start());
        m_client = CServerClient::instance();
        FakeServer::connectClientToParser(m_client);
    }

    void cleanup()
    {
        delete m_client;
        m_server.reset();
    }

    void loginSequenceReachesReady()
    {
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        MessageCapture capture;
        openAndWaitForLogin();
        const QJsonObject auth = m_server->received(PK::authReq).value(0);
        QCOMPARE(auth.value(PK::login).toString(), QStringLiteral("operator"));
        QCOMPARE(auth.value(PK::password).toString(), QStringLiteral("pa55word"));
        acceptLogin();
        QCOMPARE(states(spy), (QList<State>{CServerClient::connecting, CServerClient::authorization,
                                             CServerClient::authorizationSuccess, CServerClient::ready}));
        // The password never reaches the trace in clear.
        QCOMPARE(capture.lines().filter(QStringLiteral("pa55word")).value(0), QString());
        QVERIFY(capture.contains(QStringLiteral("\\\"password\\\":\\\"********\\\"")));

        // Ready: texts go out as UTF-8.
        const QString cyrillic = QStringLiteral("{\"cmd\":\"x\",\"devName\":\"Счётчик\"}");
        QVERIFY(m_client->sendMessage(cyrillic));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->messages().contains(cyrillic), 2000);
    }

    // Unsolicited answers of every shape: only a confirmed logout ends the login, nothing starts one.
    void answersMoveTheState_data()
    {
        QTest::addColumn<QJsonArray>("answers");
        QTest::addColumn<State>("expected");
        const QJsonObject confirmed{{PK::cmd, PK::closeAuthResp}, {PK::status, true}};
        const QJsonObject refused{{PK::cmd, PK::closeAuthResp}, {PK::status, false}};
        const QJsonObject noStatus{{PK::cmd, PK::closeAuthResp}};
        const QJsonObject textStatus{{PK::cmd, PK::closeAuthResp}, {PK::status, "true"}};
        const State ready = CServerClient::ready, loggedOut = CServerClient::disconnected;
        QTest::newRow("server info failed") << QJsonArray{FakeServer::serverInfoResp(false)} << CServerClient::serverInfoRespError;
        QTest::newRow("logout confirmed") << QJsonArray{confirmed} << loggedOut;
        QTest::newRow("logout refused") << QJsonArray{refused} << ready;
        QTest::newRow("no status") << QJsonArray{noStatus} << ready;
        QTest::newRow("status not a boolean") << QJsonArray{textStatus} << ready;
        QTest::newRow("refused, then confirmed") << QJsonArray{refused, confirmed} << loggedOut;
        QTest::newRow("confirmed, then refused") << QJsonArray{confirmed, refused} << loggedOut;
        QTest::newRow("confirmed, then no status") << QJsonArray{confirmed, noStatus} << loggedOut;
        QTest::newRow("confirmed, then not a boolean") << QJsonArray{confirmed, textStatus} << loggedOut;
        QTest::newRow("counts after the logout") << QJsonArray{confirmed, FakeServer::serverInfoResp(true)} << loggedOut;
    }

    void answersMoveTheState()
    {
        QFETCH(QJsonArray, answers);
        QVERIFY(m_server->loginClient(m_client));
        m_server->clearMessages();
        // A deletion answer after them tells when they have all been handled.
        QSignalSpy handled(CMessageParser::instance(), &CMessageParser::deviceMbRemoved);
        for (const QJsonValue& answer : answers)
            m_server->send(answer.toObject());
        m_server->send({{PK::cmd, PK::deleteDevicesResp}, {PK::deviceDeleteStatus, QJsonArray()}});
        QVERIFY(handled.wait(2000));
        QTEST(m_client->clientState(), "expected");
        QCOMPARE(m_server->received(PK::serverInfoReq).size(), 0);
    }

    void requestsAreRefusedBeforeReady()
    {
        MessageCapture capture;
        QVERIFY(!m_client->sendMessage(CMessageParser::allDevicesReq()));   // unknown
        openAndWaitForLogin();
        acceptLogin(QJsonObject());
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
