// The parser's reading of the server's answers, logged in to the fake server.

#include "CMessageParser.h"
#include "CServerClient.h"
#include "FakeServer.h"
#include "TestHelpers.h"

class TestMessageParser : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    CMessageParser* m_parser = nullptr;

    void feed(const QJsonObject& message) { m_parser->processReceivedMessage(TestHelpers::compact(message)); }

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        m_parser = CMessageParser::instance();
        QVERIFY(m_server.loginClient(CServerClient::instance()));
    }

    void init() { m_server.clearMessages(); }

    // The two activation flags choose which sections go out; every setting is given
    // (0 counts as given, -1 does not).
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
        QFETCH(bool, otaa);
        QFETCH(bool, abp);
        QFETCH(QStringList, extraKeys);
        CLoraDeviceInfo info{QStringLiteral("70B3D5000000A001"), QStringLiteral("70B3D50000000001"),
                             QStringLiteral("000102030405060708090A0B0C0D0E0F"), 0x26011234};
        info.devName = QStringLiteral("meter-1");
        info.devClass = QStringLiteral("CLASS_C");
        info.preferDr = 3;
        info.foundMarker = 1;   // known to the server: its queue setting is sent too
        info.otaaPresent = otaa;
        info.abpPresent = abp;
        const QString request = CMessageParser::manageDevicesReq(info);
        const QJsonObject device = TestHelpers::parsed(request).value(PK::devicesList)[0].toObject();
        QStringList expected{PK::devEui, PK::devName, PK::devClass, PK::freqRx2, PK::preferDr,
                             PK::preferPower, PK::rxWindow, PK::delayRx1, PK::drRx2, PK::delayJoin1,
                             PK::frequencyPlan, PK::position, PK::serverAdrEnable};
        expected += extraKeys;
        expected.sort();
        QCOMPARE(device.keys(), expected);
        if (device.contains(PK::abp))
            QCOMPARE(device.value(PK::abp)[PK::devAddress].toInt(), 0x26011234);
    }

    // Each verdict is passed on with its DevEUI. A lookup and the counts follow each
    // "added" or "updated", except for the devices an import names, in any letter case.
    void registrationAnswerAsksForFollowUps()
    {
        const QString scanned = QStringLiteral("70B3D5000000A001");
        m_parser->skipFollowUps(QStringLiteral("70b3d5aa00000001"));
        QSignalSpy verdicts(m_parser, &CMessageParser::deviceStatusResp);
        namespace S = PK::Status;
        const QJsonArray entries{QJsonObject{{PK::status, S::added}, {PK::devEui, "70B3D5aa00000001"}},
                                 QJsonObject{{PK::status, S::added}, {PK::devEui, scanned}},
                                 QJsonObject{{PK::devEui, "NO-STATUS"}},
                                 QJsonObject{{PK::status, S::nothingToUpdate}}};
        feed({{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, entries}});
        m_parser->clearSkippedFollowUps();
        QCOMPARE(verdicts.size(), 3);   // none for the entry without a status
        QCOMPARE(verdicts.at(0).at(0).toString(), QStringLiteral("70B3D5aa00000001"));
        QCOMPARE(verdicts.at(2).at(1).toString(), S::nothingToUpdate);
        // Lookup and counts go out together: one count request means one lookup.
        QVERIFY(m_server.flush(CServerClient::instance()));
        const QJsonObject lookup = m_server.received(PK::getDevicesReq).value(0);
        QCOMPARE(lookup.value(PK::select)[PK::devEuiList].toVariant().toStringList(), QStringList{scanned});
        QCOMPARE(m_server.received(PK::serverInfoReq).size(), 1);
    }

    // Each device of a list starts from an empty record; a DevAddr is read bit for bit.
    void deviceListIsReadDeviceByDevice()
    {
        QSignalSpy records(m_parser, &CMessageParser::infoDevicesResp);
        const auto lastRead = [&](const QJsonArray& devices) {
            feed({{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}});
            return records.isEmpty() ? CLoraDeviceInfo() : records.takeFirst().at(0).value<CLoraDeviceInfo>();
        };
        const QJsonObject first{{PK::devEui, "70B3D5000000A001"}, {PK::devName, "meter"},
                                {PK::rxWindow, 2}, {PK::serverAdrEnable, true},
                                {PK::abp, QJsonObject{{PK::devAddress, 4294967295.0}}},
                                {PK::otaa, QJsonObject{{PK::appKey, "kk"}}},
                                {PK::frequencyPlan, QJsonObject{{PK::freq4, 867100000}}},
                                {PK::position, QJsonObject{{PK::latitude, 55.5}}}};
        CLoraDeviceInfo info = lastRead({first});
        QCOMPARE(info.freqPlan, QStringLiteral("custom"));
        QCOMPARE(info.devAddress, -1);   // 0xFFFFFFFF written unsigned

        // The second device lacks most members: nothing of the first may show up in its record.
        const QJsonObject second{{PK::devEui, "70B3D5000000A002"}, {PK::otaa, QJsonObject()},
                                 {PK::rxWindow, "3"}, {PK::serverAdrEnable, "true"}};
        info = lastRead({first, second});
        QCOMPARE(info.devName, QString());
        QCOMPARE(info.appKey, QString());
        QCOMPARE(info.devAddress, 0);
        QCOMPARE(info.serverAdrEnable, false);
        QCOMPARE(info.rxWindow, 0);
        QCOMPARE(info.latitude, 0.0);
    }
};

QTEST_MAIN(TestMessageParser)
#include "tst_messageparser.moc"
