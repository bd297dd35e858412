// The program's own client and parser, wired as start-up wires them, against
// the real development server process.

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "ProtocolKeys.h"
#include "ServerProcess.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

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
    d.channel1En = d.channel2En = d.channel3En = d.channel4En = true;
    d.channel5En = d.channel6En = d.channel7En = d.channel8En = true;
}

CLoraDeviceInfo scanned(const QString& devEui)
{
    CLoraDeviceInfo device;
    device.devEui = devEui;
    device.appEui = QStringLiteral("70B0C0D0E0F01020");
    device.appKey = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");
    applyDefaultForm(device);
    return device;
}

bool waitForCount(QSignalSpy& spy, int count, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return spy.count() >= count; }, timeoutMs);
}

} // namespace

class TestIntegration : public QObject
{
    Q_OBJECT

    // The verdict, and for "added"/"updated" the record the parser's follow-up lookup fetched.
    QString registerDevice(const CLoraDeviceInfo& device, CLoraDeviceInfo* stored = nullptr)
    {
        QSignalSpy verdicts(m_parser, &CMessageParser::mngDevRespSignal);
        QSignalSpy records(m_parser, &CMessageParser::infoDevicesResp);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        m_parser->mngDevReq(device);
        if (!waitForCount(verdicts, 1))
            return QString();
        const QString status = verdicts.first().at(0).toString();
        if (status == Status::added || status == Status::updated) {
            if (!waitForCount(records, 1) || !waitForCount(info, 1))
                return QStringLiteral("no follow-up answers");
            if (stored)
                *stored = records.first().at(0).value<CLoraDeviceInfo>();
        }
        return status;
    }
    CloraInfoResp counts()
    {
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        m_client->sendMessage(CMessageParser::srvInfoReq());
        return waitForCount(info, 1) ? info.first().at(0).value<CloraInfoResp>() : CloraInfoResp();
    }
    CLoraDeviceInfo lookUp(const CLoraDeviceInfo& device)
    {
        QSignalSpy found(m_parser, &CMessageParser::infoDevicesResp);
        m_parser->getDevReq(device);
        return waitForCount(found, 1) ? found.first().at(0).value<CLoraDeviceInfo>() : CLoraDeviceInfo();
    }

    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    CServerClient* m_client = nullptr;
    CMessageParser* m_parser = nullptr;
    QString m_token;

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        qRegisterMetaType<CLoraDeviceInfo>();
        qRegisterMetaType<CloraAuthResp>();
        qRegisterMetaType<CloraInfoResp>();
        QVERIFY2(m_server.start({"--max-devices", "5000"}), qPrintable(m_server.errorText()));
        CSettings::instance(this);
        m_client = CServerClient::instance(QStringLiteral("ws://"), this);
        m_parser = CMessageParser::instance(this);
        connect(m_client, &QWebSocket::textMessageReceived, m_parser, &CMessageParser::processReceivedMessage,
                Qt::QueuedConnection);
    }

    void cleanupTestCase()
    {
        QVERIFY(m_server.isRunning());
        delete m_client;
        delete m_parser;
        QVERIFY(m_server.stop());
    }

    void loginRefusedThenAccepted()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        m_client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("not-admin")});
        QVERIFY(waitForCount(auth, 1));
        QCOMPARE(auth.first().at(0).value<CloraAuthResp>().errString, QStringLiteral("invalid_login_or_password"));
        QCOMPARE(m_client->clientState(), CServerClient::disconnected);
        QVERIFY(!m_client->sendMessage(CMessageParser::allDevicesReq()));

        m_client->openWebSoket({m_server.address(), QStringLiteral("admin"), QStringLiteral("admin")});
        QVERIFY(waitForCount(info, 1));
        QVERIFY(m_client->isReady());
        const CloraAuthResp accepted = auth.last().at(0).value<CloraAuthResp>();
        QVERIFY(accepted.status && !accepted.token.isEmpty());
        m_token = accepted.token;
        QCOMPARE(info.first().at(0).value<CloraInfoResp>().deviceCountOther, 0);
    }

    void registerLookUpUpdateDelete()
    {
        const QString devEui = QStringLiteral("a1b2c3d4e5f60001");
        CLoraDeviceInfo device = scanned(devEui);
        CLoraDeviceInfo stored;
        QCOMPARE(registerDevice(device, &stored), Status::added);
        QCOMPARE(stored.devEui, devEui.toUpper());
        QCOMPARE(stored.freqPlan, QStringLiteral("EU868"));
        QVERIFY(stored.existOTAA() && !stored.existABP());
        QCOMPARE(counts().deviceCountOther, 1);
        QCOMPARE(registerDevice(device), Status::nothingToUpdate);   // a rescan

        // Add after a lookup: the server's record, overridden by the form.
        CLoraDeviceInfo update = stored;
        applyDefaultForm(update);
        update.devName = QStringLiteral("renamed");
        update.preferDr = 3;
        update.preferPower = 8;
        QCOMPARE(registerDevice(update, &stored), Status::updated);
        QCOMPARE(stored.devName, QStringLiteral("renamed"));
        QCOMPARE(lookUp(device).preferPower, 8);

        QSignalSpy removed(m_parser, &CMessageParser::deviceMbRemoved);
        m_client->sendMessage(CMessageParser::deleteDevicesReq({devEui}));
        QVERIFY(waitForCount(removed, 1));
        QCOMPARE(removed.first().at(0).toString(), Status::deleted);
        QCOMPARE(lookUp(device).foundMarker, 0);
        QCOMPARE(counts().deviceCountOther, 0);

        // The maker's own devices are counted apart.
        QCOMPARE(registerDevice(scanned(QStringLiteral("5A41520000000001"))), Status::added);
        QCOMPARE(counts().deviceCountZarvo, 1);
    }

    void settingsOnlyUpdateOfDeviceWithBothKeys()
    {
        CLoraDeviceInfo device = scanned(QStringLiteral("A1B2C3D4E5F60002"));
        device.devAddress = 0x26011BDA;
        device.appsKey = device.nwksKey = QStringLiteral("000102030405060708090A0B0C0D0E0F");
        CLoraDeviceInfo stored;
        QCOMPARE(registerDevice(device, &stored), Status::added);
        QVERIFY(stored.existOTAA() && stored.existABP());

        // Both activations known: the program sends settings only, with the mask.
        applyDefaultForm(stored);
        stored.devClass = QStringLiteral("CLASS_C");
        stored.reactionTime = 1000;
        stored.foundMarker = 1;
        CLoraDeviceInfo after;
        QCOMPARE(registerDevice(stored, &after), Status::updated);
        QCOMPARE(after.devClass, QStringLiteral("CLASS_C"));
        QCOMPARE(after.reactionTime, 1000);
        QCOMPARE(registerDevice(stored), Status::nothingToUpdate);
    }

    void burstStoresEveryDeviceOnce()
    {
        constexpr int burst = 1000;
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));   // thousands of trace lines
        const auto restoreTraces = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        QSignalSpy verdicts(m_parser, &CMessageParser::mngDevRespSignal);
        QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
        QStringList sent;
        for (int i = 0; i < burst; ++i) {
            sent << QStringLiteral("B0000000%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
            m_parser->mngDevReq(scanned(sent.last()));
        }
        QVERIFY(waitForCount(verdicts, burst, 60000));
        for (const QList<QVariant>& verdict : verdicts)
            QCOMPARE(verdict.at(0).toString(), Status::added);
        QVERIFY(waitForCount(info, burst, 60000));   // every follow-up answered

        QSignalSpy lists(m_parser, &CMessageParser::devicesList);
        m_client->sendMessage(CMessageParser::allDevicesReq());
        QVERIFY(waitForCount(lists, 1));
        QHash<QString, int> seen;
        const QJsonArray devices =
            lists.first().at(0).value<QJsonDocument>().object().value(ProtocolKeys::devicesList).toArray();
        for (const QJsonValue& device : devices)
            ++seen[device.toObject().value(ProtocolKeys::devEui).toString()];
        for (const QString& devEui : sent)
            QVERIFY2(seen.value(devEui) == 1, qPrintable(devEui));
    }

    void logoutEndsSession()
    {
        QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
        m_client->logOut(m_token);
        QVERIFY(waitForCount(auth, 1));
        QVERIFY(!auth.first().at(0).value<CloraAuthResp>().status);
        QCOMPARE(m_client->clientState(), CServerClient::disconnected);
    }
};

QTEST_GUILESS_MAIN(TestIntegration)
#include "tst_integration.moc"
