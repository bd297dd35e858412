// The program's own client and parser, wired as start-up wires them, against
// the real development server process.

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "ProtocolKeys.h"
#include "ServerProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;

namespace {

const QString makerPrefix = QStringLiteral("5A4152");
const QString appEuiHex = QStringLiteral("70B0C0D0E0F01020");
const QString appKeyHex = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");
const QString sessionKeyHex = QStringLiteral("000102030405060708090A0B0C0D0E0F");

// What the workspace sends when the expert groups are left collapsed and the
// frequency plan is the default EU868 with channels 1 to 8 on.
void applyDefaultForm(CLoraDeviceInfo& device)
{
    device.devClass = QStringLiteral("CLASS_A");
    device.reactionTime = -1;
    device.foundMarker = -1;
    device.freq4 = 867100000;
    device.freq5 = 867300000;
    device.freq6 = 867500000;
    device.freq7 = 867700000;
    device.freq8 = 867900000;
    device.freqRx2 = 869525000;
    device.preferDr = device.preferPower = device.drRx2 = -1;
    device.rxWindow = device.delayRx1 = device.delayJoin1 = -1;
    device.altitude = -1;
    device.latitude = device.longitude = -1.0;
    device.channel1En = device.channel2En = device.channel3En = device.channel4En = true;
    device.channel5En = device.channel6En = device.channel7En = device.channel8En = true;
}

CLoraDeviceInfo scanned(const QString& devEui)
{
    CLoraDeviceInfo device;
    device.devEui = devEui;
    device.appEui = appEuiHex;
    device.appKey = appKeyHex;
    applyDefaultForm(device);
    return device;
}

bool waitForCount(QSignalSpy& spy, int count, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return spy.count() >= count; }, timeoutMs);
}

QStringList statuses(const QSignalSpy& spy)
{
    QStringList words;
    for (const QList<QVariant>& arguments : spy)
        words << arguments.at(0).toString();
    return words;
}

} // namespace

class TestIntegration : public QObject
{
    Q_OBJECT

private:
    CLoraAuthReq credentials(const QString& password) const
    {
        return {m_server.address(), QStringLiteral("admin"), password};
    }
    // Registers through the parser and returns the verdict plus, for "added"
    // and "updated", the server's record that the parser's follow-up fetched.
    QString registerDevice(const CLoraDeviceInfo& device, CLoraDeviceInfo* stored = nullptr);
    CloraInfoResp counts();

    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    CServerClient* m_client = nullptr;
    CMessageParser* m_parser = nullptr;
    QString m_token;

private slots:
    void initTestCase();
    void cleanupTestCase();

    void wrongPasswordIsRefused();
    void loginReachesReady();
    void registerLookUpUpdateDelete();
    void settingsOnlyUpdateOfDeviceWithBothKeys();
    void makerDevicesAreCountedApart();
    void burstStoresEveryDeviceOnce();
    void logoutEndsSession();
};

QString TestIntegration::registerDevice(const CLoraDeviceInfo& device, CLoraDeviceInfo* stored)
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

CloraInfoResp TestIntegration::counts()
{
    QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
    m_client->sendMessage(CMessageParser::srvInfoReq());
    return waitForCount(info, 1) ? info.first().at(0).value<CloraInfoResp>() : CloraInfoResp();
}

void TestIntegration::initTestCase()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    qRegisterMetaType<CloraInfoResp>();
    QVERIFY2(m_server.start({QStringLiteral("--max-devices"), QStringLiteral("5000")}),
             qPrintable(m_server.errorText()));

    CSettings::instance(this);
    m_client = CServerClient::instance(QStringLiteral("ws://"), this);
    m_parser = CMessageParser::instance(this);
    QObject::connect(m_client, &QWebSocket::textMessageReceived, m_parser,
                     &CMessageParser::processReceivedMessage, Qt::QueuedConnection);
}

void TestIntegration::cleanupTestCase()
{
    QVERIFY(m_server.isRunning());
    delete m_client;
    delete m_parser;
    QVERIFY(m_server.stop());
}

void TestIntegration::wrongPasswordIsRefused()
{
    QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
    m_client->openWebSoket(credentials(QStringLiteral("not-admin")));
    QVERIFY(waitForCount(auth, 1));
    const CloraAuthResp refused = auth.first().at(0).value<CloraAuthResp>();
    QVERIFY(!refused.status);
    QCOMPARE(refused.errString, QStringLiteral("invalid_login_or_password"));
    QCOMPARE(m_client->clientState(), CServerClient::disconnected);
    QVERIFY(!m_client->sendMessage(CMessageParser::allDevicesReq()));
}

void TestIntegration::loginReachesReady()
{
    QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
    QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
    m_client->openWebSoket(credentials(QStringLiteral("admin")));
    QVERIFY(waitForCount(info, 1));
    QVERIFY(m_client->isReady());
    const CloraAuthResp accepted = auth.last().at(0).value<CloraAuthResp>();
    QVERIFY(accepted.status);
    QVERIFY(!accepted.token.isEmpty());
    QCOMPARE(accepted.deviceAccess, QStringLiteral("all"));
    m_token = accepted.token;
    const CloraInfoResp empty = info.first().at(0).value<CloraInfoResp>();
    QVERIFY(empty.status);
    QCOMPARE(empty.deviceCountOther + empty.deviceCountZarvo, 0);
}

void TestIntegration::registerLookUpUpdateDelete()
{
    const QString devEui = QStringLiteral("a1b2c3d4e5f60001");
    CLoraDeviceInfo device = scanned(devEui);
    device.devName = QStringLiteral("meter ") + devEui;
    CLoraDeviceInfo stored;
    QCOMPARE(registerDevice(device, &stored), Status::added);
    QCOMPARE(stored.foundMarker, 1);
    QCOMPARE(stored.devEui, devEui.toUpper());
    QCOMPARE(stored.freqPlan, QStringLiteral("EU868"));
    QVERIFY(stored.existOTAA() && !stored.existABP());
    QCOMPARE(counts().deviceCountOther, 1);

    // A rescan of the same device: same keys, nothing new.
    QCOMPARE(registerDevice(device), Status::nothingToUpdate);
    CLoraDeviceInfo otherKey = device;
    otherKey.appKey = sessionKeyHex;
    QCOMPARE(registerDevice(otherKey), Status::reginfoAlreadyExist);

    // Add after a lookup: the server's record, overridden by the form.
    CLoraDeviceInfo update = stored;
    applyDefaultForm(update);
    update.devName = QStringLiteral("renamed");
    update.preferDr = 3;
    update.preferPower = 8;
    QCOMPARE(registerDevice(update, &stored), Status::updated);
    QCOMPARE(stored.devName, QStringLiteral("renamed"));
    QCOMPARE(stored.preferPower, 8);

    QSignalSpy lookedUp(m_parser, &CMessageParser::infoDevicesResp);
    m_parser->getDevReq(device);
    QVERIFY(waitForCount(lookedUp, 1));
    QCOMPARE(lookedUp.first().at(0).value<CLoraDeviceInfo>().preferDr, 3);

    QSignalSpy removed(m_parser, &CMessageParser::deviceMbRemoved);
    m_client->sendMessage(CMessageParser::deleteDevicesReq({devEui}));
    QVERIFY(waitForCount(removed, 1));
    QCOMPARE(removed.first().at(0).toString(), Status::deleted);
    lookedUp.clear();
    m_parser->getDevReq(device);
    QVERIFY(waitForCount(lookedUp, 1));
    QCOMPARE(lookedUp.first().at(0).value<CLoraDeviceInfo>().foundMarker, 0);
    QCOMPARE(counts().deviceCountOther, 0);
}

void TestIntegration::settingsOnlyUpdateOfDeviceWithBothKeys()
{
    CLoraDeviceInfo device = scanned(QStringLiteral("A1B2C3D4E5F60002"));
    device.devAddress = 0x26011BDA;
    device.appsKey = sessionKeyHex;
    device.nwksKey = appKeyHex;
    CLoraDeviceInfo stored;
    QCOMPARE(registerDevice(device, &stored), Status::added);
    QVERIFY(stored.existOTAA() && stored.existABP());
    QCOMPARE(stored.devAddress, 0x26011BDA);

    // Both activations known: the program sends settings only, with the mask.
    CLoraDeviceInfo classC = stored;
    applyDefaultForm(classC);
    classC.devClass = QStringLiteral("CLASS_C");
    classC.reactionTime = 1000;
    classC.foundMarker = 1;
    classC.useDownlinkQueueClassC = true;
    QCOMPARE(registerDevice(classC, &stored), Status::updated);
    QCOMPARE(stored.devClass, QStringLiteral("CLASS_C"));
    QCOMPARE(stored.reactionTime, 1000);
    QCOMPARE(registerDevice(classC), Status::nothingToUpdate);

    classC.preferPower = 20;
    QCOMPARE(registerDevice(classC), Status::invalidPower);
    classC.preferPower = -1;
    classC.channel1En = classC.channel2En = classC.channel3En = classC.channel4En = false;
    classC.channel5En = classC.channel6En = classC.channel7En = classC.channel8En = false;
    QCOMPARE(registerDevice(classC), Status::invalidChannelMaskParamList);

    // Another device may not take the same DevAddr.
    CLoraDeviceInfo twin = device;
    twin.devEui = QStringLiteral("A1B2C3D4E5F60003");
    QCOMPARE(registerDevice(twin), Status::repetitionDevAddr);
}

void TestIntegration::makerDevicesAreCountedApart()
{
    const CloraInfoResp before = counts();
    QCOMPARE(registerDevice(scanned(makerPrefix + QStringLiteral("0000000001"))), Status::added);
    const CloraInfoResp after = counts();
    QCOMPARE(after.deviceCountZarvo, before.deviceCountZarvo + 1);
    QCOMPARE(after.deviceCountOther, before.deviceCountOther);
}

void TestIntegration::burstStoresEveryDeviceOnce()
{
    constexpr int burst = 1000;
    // Thousands of trace lines would only flood the test log.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const auto restoreTraces = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    QSignalSpy verdicts(m_parser, &CMessageParser::mngDevRespSignal);
    QSignalSpy info(m_parser, &CMessageParser::serverInfoResp);
    QSet<QString> sent;
    for (int i = 0; i < burst; ++i) {
        const CLoraDeviceInfo device = scanned(QStringLiteral("B0000000%1").arg(i, 8, 16, QLatin1Char('0')).toUpper());
        sent.insert(device.devEui);
        m_parser->mngDevReq(device);
    }
    QVERIFY(waitForCount(verdicts, burst, 60000));
    QCOMPARE(statuses(verdicts).count(Status::added), burst);
    QVERIFY(waitForCount(info, burst, 60000)); // every follow-up answered

    QSignalSpy lists(m_parser, &CMessageParser::devicesList);
    m_client->sendMessage(CMessageParser::allDevicesReq());
    QVERIFY(waitForCount(lists, 1));
    QHash<QString, int> seen;
    const QJsonArray devices = lists.first().at(0).value<QJsonDocument>().object().value(Keys::devicesList).toArray();
    for (const QJsonValue& device : devices)
        ++seen[device.toObject().value(Keys::devEui).toString()];
    for (const QString& devEui : sent)
        QVERIFY2(seen.value(devEui) == 1, qPrintable(devEui));
    QCOMPARE(info.last().at(0).value<CloraInfoResp>().deviceCountOther, devices.size() - 1);
}

void TestIntegration::logoutEndsSession()
{
    QSignalSpy auth(m_parser, &CMessageParser::authMsgResp);
    m_client->logOut(m_token);
    QVERIFY(waitForCount(auth, 1));
    QVERIFY(!auth.first().at(0).value<CloraAuthResp>().status); // the parser stores "logged in: no"
    QCOMPARE(m_client->clientState(), CServerClient::disconnected);
}

QTEST_GUILESS_MAIN(TestIntegration)
#include "tst_integration.moc"
