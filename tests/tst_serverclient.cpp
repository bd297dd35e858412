#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "MessageCapture.h"
#include "ProtocolKeys.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace PK = ProtocolKeys;
using State = CServerClient::EClientStates;

Q_DECLARE_METATYPE(CServerClient::EClientStates)

class TestServerClient : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeServer> m_server;
    CServerClient* m_client = nullptr;

    CLoraAuthReq connection() const
    {
        CLoraAuthReq request;
        request.address = m_server->address();
        request.login = QStringLiteral("operator");
        request.password = QStringLiteral("pa55word");
        return request;
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
        MessageCapture capture;
        m_client = CServerClient::instance();
        FakeServer::connectClientToParser(m_client);
        QVERIFY(capture.lines().contains(PK::separator + QLatin1Char('\n')));
        QCOMPARE(m_client->clientState(), CServerClient::unknown);
    }

    void cleanup()
    {
        delete m_client;
        m_client = nullptr;
        m_server.reset();
    }

    void loginSequenceReachesReady()
    {
        CSettings::writeValue(CSettings::serverIpPort, QString());
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        MessageCapture capture;

        m_client->openWebSoket(connection());
        const QJsonObject auth = m_server->waitForMessage(PK::authReq);
        QCOMPARE(auth.value(PK::login).toString(), QStringLiteral("operator"));
        QCOMPARE(auth.value(PK::password).toString(), QStringLiteral("pa55word"));
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), m_server->address());

        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        m_server->send(FakeServer::serverInfoResp(true));
        QTRY_VERIFY_WITH_TIMEOUT(m_client->isReady(), 2000);

        QCOMPARE(states(spy), (QList<State>{CServerClient::connecting, CServerClient::authorization,
                                             CServerClient::authorizationSuccess, CServerClient::ready}));
        QVERIFY(capture.contains(QStringLiteral("State changed:  \"authorizationSuccess\" [ 3 ]")));
        // The password never reaches the trace in clear.
        QVERIFY(!capture.contains(QStringLiteral("pa55word")));
        QVERIFY(capture.contains(QStringLiteral("\\\"password\\\":\\\"********\\\"")));

        // A second positive answer is no change: no line, no signal.
        spy.clear();
        capture.clear();
        m_server->send(FakeServer::serverInfoResp(true));
        QTest::qWait(50);
        QVERIFY(spy.isEmpty());
        QVERIFY(!capture.contains(QStringLiteral("State changed")));
    }

    void answersMoveTheState_data()
    {
        QTest::addColumn<QJsonObject>("answer");
        QTest::addColumn<State>("expected");
        QTest::newRow("login refused") << FakeServer::authResp(false) << CServerClient::disconnected;
        QTest::newRow("server info failed") << FakeServer::serverInfoResp(false) << CServerClient::serverInfoRespError;
        QTest::newRow("logout confirmed")
            << QJsonObject{{PK::cmd, PK::closeAuthResp}, {PK::status, true}} << CServerClient::disconnected;
        QTest::newRow("logout refused keeps the login")
            << QJsonObject{{PK::cmd, PK::closeAuthResp}, {PK::status, false}} << CServerClient::authorizationSuccess;
    }

    void answersMoveTheState()
    {
        QFETCH(QJsonObject, answer);
        QFETCH(State, expected);
        QVERIFY(m_server->loginClient(m_client));
        m_server->clearMessages();

        m_server->send(answer);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), expected, 2000);
        // Only a logged-in client follows a refused logout with a new info request.
        QCOMPARE(m_server->received(PK::serverInfoReq).size(),
                 answer.value(PK::cmd) == PK::closeAuthResp && !answer.value(PK::status).toBool() ? 1 : 0);
    }

    void requestsAreRefusedBeforeReady()
    {
        MessageCapture capture;
        const QString request = CMessageParser::allDevicesReq();
        QVERIFY(!m_client->sendMessage(request));  // unknown

        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
        QVERIFY(!m_client->sendMessage(request));  // authorization
        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        QVERIFY(!m_client->sendMessage(request));  // authorizationSuccess
        CLoraDeviceInfo info;
        info.devEui = QStringLiteral("0102030405060708");
        CMessageParser::instance()->getDevReq(info);
        CMessageParser::instance()->mngDevReq(info);

        QCOMPARE(capture.count(QStringLiteral("Invalid client state! Abort")), 5);
        QTest::qWait(50);
        QCOMPARE(m_server->received(PK::getDevicesReq).size(), 0);
        QCOMPARE(m_server->received(PK::manageDevicesReq).size(), 0);
    }

    void readyClientSendsUtf8Text()
    {
        QVERIFY(m_server->loginClient(m_client));
        const QString cyrillic = QStringLiteral("{\"cmd\":\"x\",\"devName\":\"Счётчик\"}");
        MessageCapture capture;
        QVERIFY(m_client->sendMessage(cyrillic));
        QVERIFY(capture.contains(QStringLiteral("Ready!")));
        QVERIFY(capture.contains(QStringLiteral("Message sended:")));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->messages().contains(cyrillic), 2000);
    }

    void logOut()
    {
        QVERIFY(m_server->loginClient(m_client));
        m_client->logOut(QString());
        m_client->logOut(QStringLiteral("token-1"));
        const QJsonObject request = m_server->waitForMessage(PK::closeAuthReq);
        QCOMPARE(request.value(PK::token).toString(), QStringLiteral("token-1"));
        QCOMPARE(m_server->received(PK::closeAuthReq).size(), 1);
        QCOMPARE(m_client->clientState(), CServerClient::ready);

        m_client->close();
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);
        m_client->logOut(QStringLiteral("token-1"));  // nothing to write to
        QCOMPARE(m_client->clientState(), CServerClient::disconnectedFailed);
    }

    void serverClosingReportsHostError_data()
    {
        QTest::addColumn<bool>("closeFrame");
        QTest::newRow("TCP dropped") << false;
        QTest::newRow("close frame") << true;
    }

    void serverClosingReportsHostError()
    {
        QFETCH(bool, closeFrame);
        QVERIFY(m_server->loginClient(m_client));
        QSignalSpy hostError(m_client, &CServerClient::hostError);
        if (closeFrame)
            m_server->closeClient();
        else
            m_server->dropClient();
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);
        QCOMPARE(hostError.size(), 1);
        const auto resp = hostError.at(0).at(0).value<CloraAuthResp>();
        QVERIFY(!resp.status);
        QCOMPARE(resp.errString, QStringLiteral("Remote Host Closed Error"));
        QVERIFY(resp.token.isEmpty());
    }

    void refusedLoginThenReconnect()
    {
        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
        m_server->send(FakeServer::authResp(false));
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);

        // Only the first attempt of a run stores the address.
        CSettings::writeValue(CSettings::serverIpPort, QStringLiteral("10.0.0.1:1"));
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::authorization, 2000);
        QCOMPARE(states(spy).first(), CServerClient::authorizationFailed);
        QCOMPARE(CSettings::readValue(CSettings::serverIpPort, QVariant()).toString(), QStringLiteral("10.0.0.1:1"));

        m_server->send(FakeServer::authResp(true));
        QVERIFY(!m_server->waitForMessage(PK::serverInfoReq).isEmpty());
        m_server->send(FakeServer::serverInfoResp(true));
        QTRY_VERIFY_WITH_TIMEOUT(m_client->isReady(), 2000);
    }

    void refusedConnectionCanBeRetried()
    {
        quint16 closedPort = 0;
        {
            FakeServer gone;
            QVERIFY(gone.start());
            closedPort = gone.port();
        }
        QSignalSpy hostError(m_client, &CServerClient::hostError);
        CLoraAuthReq request = connection();
        request.address = QStringLiteral("127.0.0.1:%1").arg(closedPort);
        m_client->openWebSoket(request);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::disconnected, 2000);

        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(m_client->clientState(), CServerClient::authorization, 2000);
        QVERIFY(hostError.isEmpty());  // no session was lost
    }

    void authResponseWithoutStatusIsIgnored()
    {
        m_client->openWebSoket(connection());
        QVERIFY(!m_server->waitForMessage(PK::authReq).isEmpty());
        QSignalSpy spy(m_client, &CServerClient::clientStateChanged);
        QSignalSpy auth(CMessageParser::instance(), &CMessageParser::authMsgResp);
        m_server->send(QJsonObject{{PK::cmd, PK::authResp}, {PK::token, QStringLiteral("t")}});
        m_server->send(QJsonObject{{PK::cmd, QStringLiteral("AUTH_RESP")}, {PK::status, true}});
        QTest::qWait(100);
        QVERIFY(spy.isEmpty());
        QVERIFY(auth.isEmpty());
    }
};

QTEST_MAIN(TestServerClient)
#include "tst_serverclient.moc"
