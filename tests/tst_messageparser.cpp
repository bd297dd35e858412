#include "CMessageParser.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "TestHelpers.h"

using TestHelpers::compact;

namespace {
// Every setting is given: 0 counts as given, -1 does not.
CLoraDeviceInfo fullRecord()
{
    CLoraDeviceInfo info{QStringLiteral("70B3D5000000A001"), QStringLiteral("70B3D50000000001"),
                         QStringLiteral("000102030405060708090A0B0C0D0E0F"), 0x26011234};
    info.devName = QStringLiteral("meter-1");
    info.devClass = QStringLiteral("CLASS_C");
    info.foundMarker = 1;
    info.preferDr = 3;
    return info;
}

QString devicesResp(const QJsonArray& devices) { return compact({{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}}); }
} // namespace

class TestMessageParser : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    CMessageParser* m_parser = nullptr;

    template <typename T>
    static T take(QSignalSpy& spy) { return spy.takeFirst().at(0).value<T>(); }
    void feed(const QJsonObject& message) { m_parser->processReceivedMessage(compact(message)); }

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        m_parser = CMessageParser::instance();
        QVERIFY(m_server.loginClient(CServerClient::instance()));
    }

    void init()
    {
        // Login answers fed to the parser move the client too: a test that logged it out logs it in again.
        if (!CServerClient::instance()->isReady()) {
            feed(FakeServer::authResp(true));
            QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
            feed(FakeServer::serverInfoResp(true));
        }
        QVERIFY(CServerClient::instance()->isReady());
        m_server.clearMessages();
    }

    void wrongJsonTypesInLoginAndInfoAnswers()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        feed({{PK::cmd, PK::authResp}, {PK::status, true}, {PK::token, "abc"}, {PK::deviceAccess, 7}});
        CloraAuthResp resp = take<CloraAuthResp>(auth);
        QCOMPARE(resp.status, true);
        QCOMPARE(resp.deviceAccess, QString());   // a number is not text
        // The client, ready before, takes it as a new login.
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        // A confirmed logout keeps the token and means "logged out".
        feed({{PK::cmd, PK::closeAuthResp}, {PK::status, true}, {PK::errString, "bye"}});
        resp = take<CloraAuthResp>(auth);
        QCOMPARE(resp.status, false);
        QCOMPARE(resp.token, QStringLiteral("abc"));
        QCOMPARE(resp.errString, QStringLiteral("bye"));
        feed({{PK::cmd, PK::authResp}, {PK::status, "true"}});
        QCOMPARE(take<CloraAuthResp>(auth).status, false);

        feed({{PK::cmd, PK::serverInfoResp}, {PK::status, true},
              {PK::deviceCount, QJsonObject{{PK::deviceCountOther, "3"}, {PK::deviceCountZarvo, "5"}}}});
        const CloraInfoResp counts = take<CloraInfoResp>(info);
        QCOMPARE(counts.deviceCountOther, 0);
        QCOMPARE(counts.deviceCountZarvo, 0);
        feed(FakeServer::serverInfoResp(true, -3, 5));
        QCOMPARE(take<CloraInfoResp>(info).deviceCountOther, 0);
        feed({{PK::cmd, PK::serverInfoResp}, {PK::status, true}});
        QCOMPARE(info.size(), 0);
    }

    void manageRequestShapes_data()
    {
        QTest::addColumn<bool>("otaa");
        QTest::addColumn<bool>("abp");
        QTest::addColumn<QStringList>("extraKeys");
        const QStringList classC{PK::reactionTime, PK::useDownlinkQueueClassC, PK::channelMask};
        QTest::newRow("neither") << false << false << classC + QStringList{PK::abp, PK::otaa};
        QTest::newRow("OTAA only") << true << false << QStringList{PK::otaa};
        QTest::newRow("ABP only") << false << true << QStringList{PK::abp};
        QTest::newRow("both") << true << true << classC;
    }

    void manageRequestShapes()
    {
        QFETCH(QStringList, extraKeys);
        CLoraDeviceInfo info = fullRecord();
        QFETCH(bool, otaa);
        QFETCH(bool, abp);
        info.otaaPresent = otaa;
        info.abpPresent = abp;
        const QString request = CMessageParser::manageDevicesReq(info);
        QVERIFY(request.contains(QStringLiteral("\"preferDr\":3,")));   // a whole number, not 3.0
        const QJsonObject device = TestHelpers::parsed(request).value(PK::devicesList)[0].toObject();
        QStringList expected = QStringList{PK::devEui, PK::devName, PK::devClass, PK::freqRx2, PK::preferDr,
                                           PK::preferPower, PK::rxWindow, PK::delayRx1, PK::drRx2, PK::delayJoin1,
                                           PK::frequencyPlan, PK::position, PK::serverAdrEnable} + extraKeys;
        expected.sort();
        QCOMPARE(device.keys(), expected);
        if (device.contains(PK::abp))
            QCOMPARE(device.value(PK::abp)[PK::devAddress].toInt(), 0x26011234);
    }

    // A lookup and the counts follow each "added" or "updated", except for the devices an import names.
    void registrationAnswerAsksForFollowUps()
    {
        const CLoraDeviceInfo info = fullRecord();
        m_parser->mngDevReq(info);
        QCOMPARE(compact(m_server.waitForMessage(PK::manageDevicesReq)), CMessageParser::manageDevicesReq(info));

        m_parser->skipFollowUps(QStringLiteral("70b3d5aa00000001"));
        QSignalSpy statuses(m_parser, &CMessageParser::mngDevRespSignal);
        const QJsonArray entries{QJsonObject{{PK::status, PK::Status::added}, {PK::devEui, "70B3D5AA00000001"}},
                                 QJsonObject{{PK::status, PK::Status::added}, {PK::devEui, info.devEui}},
                                 QJsonObject{{PK::devEui, "NO-STATUS"}},
                                 QJsonObject{{PK::status, PK::Status::nothingToUpdate}}};
        feed({{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, entries}});
        m_parser->clearSkippedFollowUps();
        QCOMPARE(statuses.size(), 3);
        QCOMPARE(statuses.at(2).at(0).toString(), PK::Status::nothingToUpdate);
        QCOMPARE(m_server.waitForMessage(PK::getDevicesReq).value(PK::select)[PK::devEuiList].toVariant().toStringList(),
                 QStringList{info.devEui});
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 1);
        QCOMPARE(m_server.received(PK::serverInfoReq).size(), 1);
    }

    void deviceListIsReadDeviceByDevice()
    {
        QSignalSpy record(m_parser, &CMessageParser::infoDevicesResp);
        QSignalSpy list(m_parser, &CMessageParser::devicesList);
        const QJsonObject euPlan{{PK::freq4, 867100000}, {PK::freq5, 867300000}, {PK::freq6, 867500000},
                                 {PK::freq7, 867700000}, {PK::freq8, 867900000}};
        const QJsonObject first{{PK::devEui, "70b3d5000000a001"}, {PK::devName, QString()}, {PK::devClass, "CLASS_C"},
                                {PK::abp, QJsonObject{{PK::devAddress, 4294967295.0}, {PK::appsKey, "aa"}}},
                                {PK::otaa, QJsonObject{{PK::appEui, "ee"}, {PK::appKey, "kk"}}},
                                {PK::frequencyPlan, euPlan}, {PK::freqRx2, 869525000}, {PK::rxWindow, 2},
                                {PK::position, QJsonObject{{PK::latitude, 55.5}}}, {PK::serverAdrEnable, true}};
        m_parser->processReceivedMessage(devicesResp({first}));
        CLoraDeviceInfo info = take<CLoraDeviceInfo>(record);
        QCOMPARE(info.devEui, QStringLiteral("70B3D5000000A001"));
        QCOMPARE(info.devName, QStringLiteral("Имя не установлено"));
        QCOMPARE(info.freqPlan, QStringLiteral("EU868"));
        QCOMPARE(info.devAddress, -1);   // 0xFFFFFFFF written unsigned
        QCOMPARE(info.foundMarker, 1);

        // The second device lacks most members: nothing of the first may show up in its record.
        const QJsonObject second{{PK::devEui, "70B3D5000000A002"}, {PK::otaa, QJsonObject()}, {PK::rxWindow, "3"},
                                 {PK::serverAdrEnable, "true"}};
        m_parser->processReceivedMessage(devicesResp({first, second}));
        info = take<CLoraDeviceInfo>(record);
        QCOMPARE(info.devEui, QStringLiteral("70B3D5000000A002"));
        QCOMPARE(info.devName, QString());
        QCOMPARE(info.devClass, QString());
        QCOMPARE(info.freqPlan, QString());
        QCOMPARE(info.appKey, QString());
        QCOMPARE(info.appsKey, QString());
        QCOMPARE(info.devAddress, 0);
        QCOMPARE(info.abpPresent, false);
        QCOMPARE(info.otaaPresent, false);
        QCOMPARE(info.serverAdrEnable, false);
        QCOMPARE(info.rxWindow, 0);
        QCOMPARE(info.latitude, 0.0);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.last().at(0).value<QJsonDocument>().object().value(PK::devicesList).toArray().size(), 2);

        list.clear();
        m_parser->processReceivedMessage(devicesResp({}));
        QCOMPARE(take<CLoraDeviceInfo>(record).foundMarker, 0);
        QCOMPARE(list.size(), 0);
    }
};

QTEST_MAIN(TestMessageParser)
#include "tst_messageparser.moc"
