#include "CMessageParser.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "MessageCapture.h"
#include "TestHelpers.h"

using TestHelpers::compact;

namespace {
QJsonObject deviceOf(const QString& request) { return TestHelpers::parsed(request).value(PK::devicesList)[0].toObject(); }

// A record in which every setting is given.
CLoraDeviceInfo fullRecord()
{
    CLoraDeviceInfo info{QStringLiteral("70B3D5000000A001"), QStringLiteral("70B3D50000000001"),
                         QStringLiteral("000102030405060708090A0B0C0D0E0F"), 0x26011234};
    info.appsKey = info.nwksKey = QStringLiteral("A0A1A2A3A4A5A6A7A8A9AAABACADAEAF");
    info.devName = QStringLiteral("meter-1");
    info.devClass = QStringLiteral("CLASS_C");
    info.freq4 = info.freq5 = info.freq6 = info.freq7 = info.freq8 = 864100000;
    info.freqRx2 = 869100000;
    info.rxWindow = info.delayRx1 = info.foundMarker = 1;
    info.reactionTime = info.altitude = info.preferPower = 100;
    info.longitude = info.latitude = 55.7;
    info.preferDr = 3;
    info.channel1En = info.channel16En = true;
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

    void malformedInputGivesOneLine_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("line");
        QTest::newRow("not JSON") << "{\"cmd\": tru}" << "Json parsing error[";
        QTest::newRow("array") << "[{\"cmd\":\"rx\"}]" << "jsonDoc is an array ->";
        QTest::newRow("no cmd") << "{\"status\":true}" << "JSON not contains cmd key!";
    }

    void malformedInputGivesOneLine()
    {
        QFETCH(QString, input);
        QFETCH(QString, line);
        MessageCapture capture;
        m_parser->processReceivedMessage(input);
        QCOMPARE(capture.lines().size(), 1);
        QVERIFY2(capture.contains(line), qPrintable(capture.lines().join('\n')));
    }

    void wrongJsonTypesInLoginAndInfoAnswers()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        feed({{PK::cmd, PK::authResp}, {PK::status, true}, {PK::token, "abc"}, {PK::deviceAccess, 7}});
        auto resp = take<CloraAuthResp>(auth);
        QVERIFY(resp.status && resp.token == "abc" && resp.deviceAccess.isEmpty());   // a number is not text
        // The client, ready before, took the positive login as a new one.
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        // A confirmed logout keeps the token and means "logged out".
        feed({{PK::cmd, PK::closeAuthResp}, {PK::status, true}, {PK::errString, "bye"}});
        resp = take<CloraAuthResp>(auth);
        QVERIFY(!resp.status && resp.token == "abc" && resp.errString == "bye");
        feed({{PK::cmd, PK::authResp}, {PK::status, "true"}});
        QVERIFY(!take<CloraAuthResp>(auth).status);

        feed({{PK::cmd, PK::serverInfoResp}, {PK::status, true},
              {PK::deviceCount, QJsonObject{{PK::deviceCountOther, "3"}, {PK::deviceCountZarvo, "5"}}}});
        const auto counts = take<CloraInfoResp>(info);
        QCOMPARE(counts.deviceCountOther + counts.deviceCountZarvo, 0);
        feed(FakeServer::serverInfoResp(true, -3, 5));
        QCOMPARE(take<CloraInfoResp>(info).deviceCountOther, 0);
        feed({{PK::cmd, PK::serverInfoResp}, {PK::status, true}});
        QVERIFY(info.isEmpty());
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
        const QJsonObject device = deviceOf(request);
        QStringList expected = QStringList{PK::devEui, PK::devName, PK::devClass, PK::freqRx2, PK::preferDr,
                                           PK::preferPower, PK::rxWindow, PK::delayRx1, PK::drRx2, PK::delayJoin1,
                                           PK::frequencyPlan, PK::position, PK::serverAdrEnable} + extraKeys;
        expected.sort();
        QStringList keys = device.keys();
        keys.sort();
        QCOMPARE(keys, expected);
        QVERIFY(!device.contains(PK::abp) || device.value(PK::abp)[PK::devAddress] == 0x26011234);
    }

    void registrationAnswerAsksForFollowUps()
    {
        const CLoraDeviceInfo info = fullRecord();
        m_parser->mngDevReq(info);
        QCOMPARE(compact(m_server.waitForMessage(PK::manageDevicesReq)), CMessageParser::manageDevicesReq(info));

        QSignalSpy statuses(m_parser, &CMessageParser::mngDevRespSignal);
        const QJsonArray entries{QJsonObject{{PK::status, PK::Status::added}, {PK::devEui, info.devEui}},
                                 QJsonObject{{PK::devEui, "NO-STATUS"}},
                                 QJsonObject{{PK::status, PK::Status::nothingToUpdate}}};
        feed({{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, entries}});
        QCOMPARE(statuses.size(), 2);
        QCOMPARE(take<QString>(statuses), PK::Status::added);
        QCOMPARE(take<QString>(statuses), PK::Status::nothingToUpdate);
        // One lookup of the added device and new counts, nothing for the rest.
        QCOMPARE(m_server.waitForMessage(PK::getDevicesReq).value(PK::select).toObject(),
                 (QJsonObject{{PK::devEuiList, QJsonArray{info.devEui}}}));
        QVERIFY(!m_server.waitForMessage(PK::serverInfoReq).isEmpty());
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 1);
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
        QCOMPARE(info.devEui + info.appsKey + info.appKey, QStringLiteral("70B3D5000000A001AAKK"));
        QCOMPARE(info.devName + ' ' + info.freqPlan, QStringLiteral("Имя не установлено EU868"));
        QCOMPARE(info.devAddress, -1);   // 0xFFFFFFFF written unsigned
        QVERIFY(info.abpPresent && info.otaaPresent && info.serverAdrEnable);
        QVERIFY(info.latitude == 55.5 && info.foundMarker == 1);

        // The second device lacks most members: nothing of the first may show up in its record.
        const QJsonObject second{{PK::devEui, "70B3D5000000A002"}, {PK::otaa, QJsonObject()}, {PK::rxWindow, "3"},
                                 {PK::serverAdrEnable, "true"}};
        m_parser->processReceivedMessage(devicesResp({first, second}));
        info = take<CLoraDeviceInfo>(record);
        QCOMPARE(info.devEui, QStringLiteral("70B3D5000000A002"));
        QVERIFY(info.devName.isEmpty() && info.devClass.isEmpty() && info.freqPlan.isEmpty());
        QVERIFY(info.appKey.isEmpty() && info.appsKey.isEmpty() && info.devAddress == 0);
        QVERIFY(!info.abpPresent && !info.otaaPresent && !info.serverAdrEnable);
        QVERIFY(info.rxWindow == 0 && info.latitude == 0.0 && info.foundMarker == 1);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.last().at(0).value<QJsonDocument>().object().value(PK::devicesList).toArray().size(), 2);

        list.clear();
        m_parser->processReceivedMessage(devicesResp({}));
        QCOMPARE(take<CLoraDeviceInfo>(record).foundMarker, 0);
        QVERIFY(list.isEmpty());
    }

};

QTEST_MAIN(TestMessageParser)
#include "tst_messageparser.moc"
