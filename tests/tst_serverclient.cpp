// The client's login states, the answers that move them, and what it lets through.

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "TestHelpers.h"

using State = CServerClient::EClientStates;
Q_DECLARE_METATYPE(CServerClient::EClientStates)

class TestServerClient : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    CServerClient* m_client = nullptr;

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        QVERIFY(m_server.start());
    }

    void init()
    {
        m_client = CServerClient::instance();
        FakeServer::connectClientToParser(m_client);
        m_server.clearMessages();
    }
    void cleanup() { delete m_client; }

    // Unsolicited answers of every shape: only a confirmed logout ends the login, nothing starts one.
    void answersMoveTheState_data()
    {
        QTest::addColumn<QJsonArray>("answers");
        QTest::addColumn<State>("expected");
        const QJsonObject confirmed{{PK::cmd, PK::closeAuthResp}, {PK::status, true}};
        const QJsonObject refused{{PK::cmd, PK::closeAuthResp}, {PK::status, false}};
        const QJsonObject noStatus{{PK::cmd, PK::closeAuthResp}};
        const QJsonObject textStatus{{PK::cmd, PK::closeAuthResp}, {PK::status, "true"}};
        const State ready = CServerClient::ready;
        const State loggedOut = CServerClient::disconnected;
        QTest::newRow("server info failed")
            << QJsonArray{FakeServer::serverInfoResp(false)} << CServerClient::serverInfoRespError;
        QTest::newRow("logout confirmed") << QJsonArray{confirmed} << loggedOut;
        QTest::newRow("logout refused") << QJsonArray{refused} << ready;
        QTest::newRow("no status") << QJsonArray{noStatus} << ready;
        QTest::newRow("status not a boolean") << QJsonArray{textStatus} << ready;
        QTest::newRow("refused, then confirmed") << QJsonArray{refused, confirmed} << loggedOut;
        QTest::newRow("confirmed, then refused") << QJsonArray{confirmed, refused} << loggedOut;
        QTest::newRow("confirmed, then no status") << QJsonArray{confirmed, noStatus} << loggedOut;
        QTest::newRow("confirmed, then not a boolean") << QJsonArray{confirmed, textStatus} << loggedOut;
        QTest::newRow("counts after the logout")
            << QJsonArray{confirmed, FakeServer::serverInfoResp(true)} << loggedOut;
    }

    void answersMoveTheState()
    {
        QFETCH(QJsonArray, answers);
        QVERIFY(m_server.loginClient(m_client));
        m_server.clearMessages();
        // A deletion answer after them tells when they have all been handled.
        QSignalSpy handled(CMessageParser::instance(), &CMessageParser::deviceMbRemoved);
        for (const QJsonValue& answer : answers)
            m_server.send(answer.toObject());
        m_server.send({{PK::cmd, PK::deleteDevicesResp}, {PK::deviceDeleteStatus, QJsonArray()}});
        QVERIFY(handled.wait(2000));
        QTEST(m_client->clientState(), "expected");
        QCOMPARE(m_server.received(PK::serverInfoReq).size(), 0);
    }

    // A refused login is no lost connection and leaves a client that can try again; the
    // address is remembered once a login to it succeeds. Nothing goes out before the counts
    // have answered the login, and a login answer without a status moves nothing. Once ready,
    // texts go out as UTF-8. A close frame is a lost connection, as a dropped one is (that
    // one, and refused connections: the fault suite).
    void sessionFromRefusalToCloseFrame()
    {
        CSettings::writeValue(CSettings::serverIpPort, QStringLiteral("10.0.0.1:1"));
        QSignalSpy hostError(m_client, &CServerClient::hostError);
        const CLoraAuthReq login{m_server.address(), QStringLiteral("operator"), QStringLiteral("pa55word")};
        m_client->openWebSoket(login);
        QVERIFY(!m_server.waitForMessage(PK::authReq).isEmpty());
        m_server.send(FakeServer::authResp(false));
        QTRY_COMPARE(m_client->clientState(), CServerClient::disconnected);
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), "10.0.0.1:1");

        QSignalSpy states(m_client, &CServerClient::clientStateChanged);
        m_client->openWebSoket(login);
        QVERIFY(!m_server.waitForMessage(PK::authReq).isEmpty());
        m_server.send(FakeServer::authResp(true));
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        CMessageParser::instance()->getDevReq(CLoraDeviceInfo{QStringLiteral("0102030405060708")});
        m_server.send(QJsonObject{{PK::cmd, PK::authResp}, {PK::token, QStringLiteral("t")}});
        m_server.send(FakeServer::serverInfoResp(true));
        QTRY_VERIFY(m_client->isReady());
        QVERIFY(m_server.flush(m_client));
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 0);
        QCOMPARE(states.count(), 4);   // connecting, authorization, authorizationSuccess, ready
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), m_server.address());
        const QString cyrillic = QStringLiteral("{\"cmd\":\"x\",\"devName\":\"Счётчик\"}");
        QVERIFY(m_client->sendMessage(cyrillic));
        QTRY_VERIFY(m_server.messages().contains(cyrillic));

        m_server.closeClient();
        QTRY_COMPARE(m_client->clientState(), CServerClient::disconnected);
        QCOMPARE(hostError.size(), 1);
        QCOMPARE(hostError.at(0).at(0).value<CloraAuthResp>().errString, "Remote Host Closed Error");
    }
};

QTEST_MAIN(TestServerClient)
#include "tst_serverclient.moc"
