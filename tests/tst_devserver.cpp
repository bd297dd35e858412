// The development server: its rules through the request handler (fast, no
// socket), then the real executable over WebSocket.

#include "DeviceStore.h"
#include "ProtocolKeys.h"
#include "RequestHandler.h"
#include "ServerProcess.h"
#include "ServerWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

#include <memory>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;
namespace Words = DevServer::Words;

namespace {

const QString makerPrefix = QStringLiteral("5A4152");
const QString appEuiHex = QStringLiteral("0102030405060708");
const QString keyHex = QStringLiteral("000102030405060708090A0B0C0D0E0F");
const QString otherKeyHex = QStringLiteral("F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF");

QString eui(int n) { return QStringLiteral("ABCDEF00%1").arg(n, 8, 16, QLatin1Char('0')).toUpper(); }

QJsonObject otaaSection(const QString& appKey = keyHex)
{
    return {{Keys::appEui, appEuiHex}, {Keys::appKey, appKey}};
}

QJsonObject abpSection(qint64 devAddress)
{
    return {{Keys::devAddress, devAddress}, {Keys::appsKey, keyHex}, {Keys::nwksKey, otherKeyHex}};
}

// The shape in which the program sends a freshly scanned device.
QJsonObject scanned(const QString& devEui = eui(1))
{
    return {{Keys::devEui, devEui}, {Keys::devName, QString()}, {Keys::otaa, otaaSection()},
            {Keys::serverAdrEnable, false}};
}

QJsonObject with(QJsonObject entry, const QString& key, const QJsonValue& value)
{
    entry.insert(key, value);
    return entry;
}

QJsonObject without(QJsonObject object, const QString& key)
{
    object.remove(key);
    return object;
}

QJsonObject fullMask(bool enabled)
{
    QJsonObject mask;
    for (int channel = 1; channel <= 16; ++channel)
        mask.insert(Keys::channelEn(channel), enabled);
    return mask;
}

QJsonObject manage(const QJsonArray& devices)
{
    return {{Keys::cmd, Keys::manageDevicesReq}, {Keys::devicesList, devices}};
}

QJsonObject lookup(const QJsonArray& devEuis)
{
    return {{Keys::cmd, Keys::getDevicesReq}, {Keys::select, QJsonObject{{Keys::devEuiList, devEuis}}}};
}

QJsonObject parsed(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// One WebSocket connection to the real server, collecting what it receives.
class Peer
{
public:
    explicit Peer(quint16 port)
    {
        QObject::connect(&m_socket, &QWebSocket::textMessageReceived,
                         [this](const QString& message) { m_received.append(message); });
        m_socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
    }

    QWebSocket& socket() { return m_socket; }
    bool waitConnected()
    {
        return QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 5000);
    }
    void send(const QJsonObject& request) { m_socket.sendTextMessage(compact(request)); }
    // The next message with this command; without one, the next answer (the
    // simulated uplink notices arrive whenever they are due).
    QJsonObject next(const QString& command = QString())
    {
        QJsonObject found;
        const auto take = [&] {
            for (int i = 0; i < m_received.size(); ++i) {
                const QJsonObject message = parsed(m_received.at(i));
                const QString cmd = message.value(Keys::cmd).toString();
                if (command.isEmpty() ? cmd != Keys::rx : cmd == command) {
                    m_received.removeAt(i);
                    found = message;
                    return true;
                }
            }
            return false;
        };
        const auto closed = [this] { return m_socket.state() == QAbstractSocket::UnconnectedState; };
        if (!QTest::qWaitFor([&] { return take() || closed(); }, 5000))
            return {};
        return found;
    }
    QJsonObject ask(const QJsonObject& request)
    {
        send(request);
        return next();
    }
    bool logIn(const QString& password = QStringLiteral("admin"))
    {
        return ask({{Keys::cmd, Keys::authReq}, {Keys::login, QStringLiteral("admin")},
                    {Keys::password, password}})
            .value(Keys::status)
            .toBool();
    }

private:
    QWebSocket m_socket;
    QStringList m_received;
};

} // namespace

class TestDevServer : public QObject
{
    Q_OBJECT

private:
    QJsonObject ask(const QJsonObject& request)
    {
        const QStringList answers = m_handler->handleTextMessage(m_session, compact(request));
        return answers.size() == 1 ? parsed(answers.first()) : QJsonObject();
    }
    QString statusOf(const QJsonObject& entry)
    {
        const QJsonArray statuses = ask(manage({entry})).value(Keys::deviceAddStatus).toArray();
        return statuses.size() == 1 ? statuses.first().toObject().value(Keys::status).toString() : QString();
    }
    QJsonObject stored(const QString& devEui)
    {
        return ask(lookup({devEui})).value(Keys::devicesList).toArray().first().toObject();
    }
    void restart(int maxDevices)
    {
        m_config.maxDevices = maxDevices;
        m_handler.reset();
        m_store = std::make_unique<DevServer::DeviceStore>(m_config.makerPrefix);
        m_handler = std::make_unique<DevServer::RequestHandler>(*m_store, m_config);
        m_session = DevServer::ServerSession();
        ask({{Keys::cmd, Keys::authReq}, {Keys::login, m_config.login}, {Keys::password, m_config.password}});
    }
    DevServer::ServerConfig m_config;
    std::unique_ptr<DevServer::DeviceStore> m_store;
    std::unique_ptr<DevServer::RequestHandler> m_handler;
    DevServer::ServerSession m_session;
    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    quint16 m_port = 0;

private slots:
    void initTestCase();
    void init() { restart(1000); }
    void cleanupTestCase();

    void loginAndLogout();
    void requestsBeforeLoginGetNoData();
    void newDeviceStatus_data();
    void newDeviceStatus();
    void knownDeviceRules();
    void devAddressIsUnique();
    void deviceLimit();
    void heardDeviceTakesRadioChangesOverMac();
    void lookupAndDelete();
    void countsSplitByMakerPrefix();
    void malformedInput_data();
    void malformedInput();

    void transportSession();
    void transportUplinkNotice();
    void transportSurvivesGarbage();
    void transportSeveralClients();
    void transportRefusesClientsBeyondLimit();
};

void TestDevServer::initTestCase()
{
    QVERIFY2(m_server.start({QStringLiteral("--max-devices"), QStringLiteral("100"),
                             QStringLiteral("--uplink-after-ms"), QStringLiteral("20"),
                             QStringLiteral("--max-message-size"), QStringLiteral("65536")}),
             qPrintable(m_server.errorText()));
    m_port = m_server.port();
}

void TestDevServer::cleanupTestCase()
{
    QVERIFY(m_server.isRunning()); // nothing the suite sent brought it down
    QVERIFY(m_server.stop());
}

void TestDevServer::loginAndLogout()
{
    m_session = DevServer::ServerSession();
    const QJsonObject refused = ask({{Keys::cmd, Keys::authReq}, {Keys::login, QStringLiteral("admin")},
                                     {Keys::password, QStringLiteral("wrong")}});
    QCOMPARE(refused.value(Keys::cmd).toString(), Keys::authResp);
    QCOMPARE(refused.value(Keys::status).toBool(true), false);
    QCOMPARE(refused.value(Keys::errString).toString(), Words::invalidLoginOrPassword);
    QVERIFY(refused.value(Keys::token).toString().isEmpty());

    const QJsonObject login{{Keys::cmd, Keys::authReq}, {Keys::login, QStringLiteral("admin")},
                            {Keys::password, QStringLiteral("admin")}};
    const QJsonObject first = ask(login);
    QCOMPARE(first.value(Keys::status).toBool(), true);
    QCOMPARE(first.value(Keys::errString).toString(), QString());
    QCOMPARE(first.value(Keys::deviceAccess).toString(), Words::accessAll);
    const QString token = first.value(Keys::token).toString();
    QCOMPARE(token.size(), 32);
    QVERIFY(ask(login).value(Keys::token).toString() != token);

    const QString current = m_session.token();
    const QJsonObject wrongToken = ask({{Keys::cmd, Keys::closeAuthReq}, {Keys::token, token}});
    QCOMPARE(wrongToken.value(Keys::status).toBool(true), false);
    QCOMPARE(wrongToken.value(Keys::errString).toString(), Words::invalidToken);
    QVERIFY(m_session.isAuthorized());

    const QJsonObject closed = ask({{Keys::cmd, Keys::closeAuthReq}, {Keys::token, current}});
    QCOMPARE(closed.value(Keys::cmd).toString(), Keys::closeAuthResp);
    QCOMPARE(closed.value(Keys::status).toBool(), true);
    QCOMPARE(ask({{Keys::cmd, Keys::serverInfoReq}}).value(Keys::errString).toString(), Words::notAuthorized);
}

void TestDevServer::requestsBeforeLoginGetNoData()
{
    QCOMPARE(statusOf(scanned()), Status::added);
    m_session = DevServer::ServerSession();
    const QList<QPair<QString, QString>> guarded = {
        {Keys::serverInfoReq, Keys::serverInfoResp}, {Keys::getDevicesReq, Keys::getDevicesResp},
        {Keys::manageDevicesReq, Keys::manageDevicesResp}, {Keys::deleteDevicesReq, Keys::deleteDevicesResp},
        {Keys::closeAuthReq, Keys::closeAuthResp}};
    for (const auto& [request, response] : guarded) {
        const QJsonObject answer =
            ask({{Keys::cmd, request}, {Keys::devicesList, QJsonArray{eui(1)}}});
        QCOMPARE(answer.value(Keys::cmd).toString(), response);
        QCOMPARE(answer.value(Keys::status).toBool(true), false);
        QCOMPARE(answer.value(Keys::errString).toString(), Words::notAuthorized);
        QVERIFY2(!answer.contains(Keys::devicesList) && !answer.contains(Keys::deviceCount)
                     && !answer.contains(Keys::deviceDeleteStatus),
                 qPrintable(request));
    }
    QCOMPARE(m_store->size(), 1); // the refused deletion deleted nothing
    QVERIFY(m_handler->handleTextMessage(m_session, compact({{Keys::cmd, Keys::sendDataReq}})).isEmpty());
}

void TestDevServer::newDeviceStatus_data()
{
    QTest::addColumn<QJsonValue>("entry");
    QTest::addColumn<QString>("status");

    const QJsonObject base = scanned();
    const QJsonObject abpOnly = without(with(base, Keys::abp, abpSection(0x26011BDA)), Keys::otaa);
    QTest::newRow("OTAA keys") << QJsonValue(base) << Status::added;
    QTest::newRow("ABP keys") << QJsonValue(abpOnly) << Status::added;
    QTest::newRow("both, lower-case EUI") << QJsonValue(with(with(base, Keys::abp, abpSection(-5)), Keys::devEui,
                                                        QStringLiteral("a0b1c2d3e4f50617")))
                                          << Status::added;
    QTest::newRow("DevAddr above 2^31") << QJsonValue(with(abpOnly, Keys::abp, abpSection(0xFFFFFFFFLL)))
                                        << Status::added;

    QTest::newRow("EUI short") << QJsonValue(with(base, Keys::devEui, QStringLiteral("0102"))) << Status::invalidDevEui;
    QTest::newRow("EUI not hex") << QJsonValue(with(base, Keys::devEui, QStringLiteral("000000000000000G")))
                                 << Status::invalidDevEui;
    QTest::newRow("EUI a number") << QJsonValue(with(base, Keys::devEui, 12)) << Status::invalidDevEui;
    QTest::newRow("entry not an object") << QJsonValue(QStringLiteral("x")) << Status::invalidDevEui;
    QTest::newRow("no keys") << QJsonValue(without(base, Keys::otaa)) << Status::noRegisterKeys;

    QTest::newRow("OTAA not an object") << QJsonValue(with(base, Keys::otaa, 1)) << Status::invalidOtaaParamList;
    QTest::newRow("OTAA without key") << QJsonValue(with(base, Keys::otaa, without(otaaSection(), Keys::appKey)))
                                      << Status::invalidOtaaParamList;
    QTest::newRow("AppEUI 15 digits")
        << QJsonValue(with(base, Keys::otaa, QJsonObject{{Keys::appEui, appEuiHex.left(15)}, {Keys::appKey, keyHex}}))
        << Status::invalidOtaaParamList;
    QTest::newRow("AppKey 31 digits") << QJsonValue(with(base, Keys::otaa, otaaSection(keyHex.left(31))))
                                      << Status::invalidAppKeyValue;
    QTest::newRow("ABP without NwkSKey") << QJsonValue(with(base, Keys::abp, without(abpSection(7), Keys::nwksKey)))
                                         << Status::invalidAbpParamList;
    QTest::newRow("ABP without DevAddr") << QJsonValue(with(base, Keys::abp, without(abpSection(7), Keys::devAddress)))
                                         << Status::invalidDevAddrValue;
    QTest::newRow("DevAddr 0") << QJsonValue(with(base, Keys::abp, abpSection(0))) << Status::invalidDevAddrValue;
    QJsonObject textAddress = abpSection(1);
    textAddress.insert(Keys::devAddress, QStringLiteral("26011BDA"));
    QTest::newRow("DevAddr text") << QJsonValue(with(base, Keys::abp, textAddress)) << Status::invalidDevAddrValue;
    QJsonObject shortKey = abpSection(1);
    shortKey.insert(Keys::appsKey, keyHex.left(30));
    QTest::newRow("AppSKey short") << QJsonValue(with(base, Keys::abp, shortKey)) << Status::invalidSessionKeyValue;

    QTest::newRow("class X") << QJsonValue(with(base, Keys::devClass, QStringLiteral("CLASS_X"))) << Status::invalidClass;
    QTest::newRow("class B") << QJsonValue(with(base, Keys::devClass, QStringLiteral("CLASS_B"))) << Status::unsupportClass;
    QTest::newRow("power 16 dBm") << QJsonValue(with(base, Keys::preferPower, 16)) << Status::invalidPower;
    QTest::newRow("power 0 dBm") << QJsonValue(with(base, Keys::preferPower, 0)) << Status::invalidPower;
    QTest::newRow("power 14.5 dBm") << QJsonValue(with(base, Keys::preferPower, 14.5)) << Status::invalidPower;
    QTest::newRow("RX window -2") << QJsonValue(with(base, Keys::rxWindow, -2)) << Status::invalidRxWindow;
    QTest::newRow("data rate 8") << QJsonValue(with(base, Keys::preferDr, 8)) << Status::invalidDataRate;
    QTest::newRow("RX2 data rate -1") << QJsonValue(with(base, Keys::drRx2, -1)) << Status::invalidDataRate;
    QTest::newRow("RX1 delay 0") << QJsonValue(with(base, Keys::delayRx1, 0)) << Status::invalidDelay;
    QTest::newRow("join delay 16") << QJsonValue(with(base, Keys::delayJoin1, 16)) << Status::invalidDelay;
    QTest::newRow("mask of 15") << QJsonValue(with(base, Keys::channelMask, without(fullMask(true), Keys::channelEn(16))))
                                << Status::invalidChannelMaskParamList;
    QTest::newRow("mask all off") << QJsonValue(with(base, Keys::channelMask, fullMask(false)))
                                  << Status::invalidChannelMaskParamList;
    QTest::newRow("channel out of band")
        << QJsonValue(with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 433175000}}))
        << Status::invalidFrequencyPlan;
    QTest::newRow("channel 0 is undefined")
        << QJsonValue(with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 0}, {Keys::freq5, 867300000}}))
        << Status::added;
    QTest::newRow("RX2 frequency text") << QJsonValue(with(base, Keys::freqRx2, QStringLiteral("869525000")))
                                        << Status::invalidFrequencyPlan;
    QTest::newRow("empty plan") << QJsonValue(with(base, Keys::frequencyPlan, QJsonObject()))
                                << Status::frequencyPlanIsAbsant;
    QTest::newRow("latitude 91") << QJsonValue(with(base, Keys::position, QJsonObject{{Keys::latitude, 91.0}}))
                                 << Words::invalidParameter;
    QTest::newRow("name a number") << QJsonValue(with(base, Keys::devName, 5)) << Words::invalidParameter;
    // A device with several faults gets the word of its keys first.
    QTest::newRow("bad key and power") << QJsonValue(with(with(base, Keys::otaa, otaaSection(QString())),
                                                          Keys::preferPower, 99))
                                       << Status::invalidAppKeyValue;
}

void TestDevServer::newDeviceStatus()
{
    QFETCH(QJsonValue, entry);
    QFETCH(QString, status);
    const QJsonArray statuses = ask(manage({entry})).value(Keys::deviceAddStatus).toArray();
    QCOMPARE(statuses.size(), 1);
    QCOMPARE(statuses.first().toObject().value(Keys::status).toString(), status);
    QCOMPARE(m_store->size(), status == Status::added ? 1 : 0);
}

void TestDevServer::knownDeviceRules()
{
    QCOMPARE(statusOf(with(scanned(), Keys::devName, QStringLiteral("meter"))), Status::added);
    // A rescan sends the same keys and an empty name again: no fault, nothing to change.
    QCOMPARE(statusOf(scanned(eui(1).toLower())), Status::nothingToUpdate);
    QCOMPARE(stored(eui(1)).value(Keys::devName).toString(), QStringLiteral("meter"));
    QCOMPARE(statusOf(with(scanned(), Keys::otaa, otaaSection(otherKeyHex))), Status::reginfoAlreadyExist);
    QCOMPARE(statusOf(with(scanned(), Keys::abp, abpSection(9))), Status::abpReginfoAlreadyExist);
    QCOMPARE(statusOf(QJsonObject{{Keys::devEui, eui(1)}}), Status::emptyDataForUpdate);

    // The program's settings-only shape for a device it found on the server.
    const QJsonObject settings{{Keys::devEui, eui(1)},      {Keys::devClass, QStringLiteral("CLASS_C")},
                               {Keys::reactionTime, 1000},  {Keys::useDownlinkQueueClassC, true},
                               {Keys::preferDr, 3.0},       {Keys::preferPower, 14.0},
                               {Keys::channelMask, fullMask(true)},
                               {Keys::position, QJsonObject{{Keys::latitude, 55.75}}},
                               {Keys::serverAdrEnable, true}};
    QCOMPARE(statusOf(settings), Status::updated);
    QCOMPARE(statusOf(settings), Status::nothingToUpdate);
    QCOMPARE(statusOf(QJsonObject{{Keys::devEui, eui(1)}, {Keys::position, QJsonObject{{Keys::altitude, 120}}}}),
             Status::updated);

    const QJsonObject device = stored(eui(1));
    QCOMPARE(device.value(Keys::devClass).toString(), QStringLiteral("CLASS_C"));
    QCOMPARE(device.value(Keys::preferDr).toInt(), 3);
    QCOMPARE(device.value(Keys::otaa).toObject().value(Keys::appKey).toString(), keyHex);
    QCOMPARE(device.value(Keys::channelMask).toObject().size(), 16);
    QCOMPARE(device.value(Keys::position).toObject().value(Keys::latitude).toDouble(), 55.75);
    QCOMPARE(device.value(Keys::position).toObject().value(Keys::altitude).toInt(), 120);
}

void TestDevServer::devAddressIsUnique()
{
    const QJsonObject first = without(with(scanned(eui(1)), Keys::abp, abpSection(0x1234)), Keys::otaa);
    QCOMPARE(statusOf(first), Status::added);
    QCOMPARE(statusOf(with(first, Keys::devEui, eui(2))), Status::repetitionDevAddr);
    ask({{Keys::cmd, Keys::deleteDevicesReq}, {Keys::devicesList, QJsonArray{eui(1)}}});
    QCOMPARE(statusOf(with(first, Keys::devEui, eui(2))), Status::added);
}

void TestDevServer::deviceLimit()
{
    restart(2);
    const QJsonObject answer = ask(manage({scanned(eui(1)), scanned(eui(2)), scanned(eui(3)), scanned(eui(1))}));
    QStringList statuses;
    for (const QJsonValue& entry : answer.value(Keys::deviceAddStatus).toArray())
        statuses << entry.toObject().value(Keys::status).toString();
    QCOMPARE(statuses, (QStringList{Status::added, Status::added, Status::maxDevCountReached,
                                    Status::nothingToUpdate}));
    QCOMPARE(m_session.takeAdded(), (QStringList{eui(1), eui(2)}));
}

void TestDevServer::heardDeviceTakesRadioChangesOverMac()
{
    QCOMPARE(statusOf(with(scanned(), Keys::delayRx1, 1)), Status::added);
    m_store->markHeard(eui(1));
    QCOMPARE(statusOf(QJsonObject{{Keys::devEui, eui(1)}, {Keys::delayRx1, 2}}), Status::updateViaMacBuffer);
    QCOMPARE(stored(eui(1)).value(Keys::delayRx1).toInt(), 1);
    QCOMPARE(statusOf(QJsonObject{{Keys::devEui, eui(1)}, {Keys::devName, QStringLiteral("n")}}), Status::updated);
}

void TestDevServer::lookupAndDelete()
{
    ask(manage({scanned(eui(2)), scanned(eui(1))}));
    const QJsonArray all = ask({{Keys::cmd, Keys::getDevicesReq}}).value(Keys::devicesList).toArray();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.at(0).toObject().value(Keys::devEui).toString(), eui(1));

    QCOMPARE(ask(lookup({eui(2).toLower(), eui(2)})).value(Keys::devicesList).toArray().size(), 1);
    const QJsonObject unknown = ask(lookup({eui(9)}));
    QCOMPARE(unknown.value(Keys::status).toBool(), true);
    QVERIFY(unknown.value(Keys::devicesList).isArray() && unknown.value(Keys::devicesList).toArray().isEmpty());
    QCOMPARE(ask({{Keys::cmd, Keys::getDevicesReq}, {Keys::select, 1}}).value(Keys::status).toBool(true), false);

    const QJsonArray deletion = ask({{Keys::cmd, Keys::deleteDevicesReq},
                                     {Keys::devicesList, QJsonArray{eui(1).toLower(), eui(9), 7}}})
                                    .value(Keys::deviceDeleteStatus)
                                    .toArray();
    QCOMPARE(deletion.size(), 3);
    QCOMPARE(deletion.at(0).toObject().value(Keys::devEui).toString(), eui(1));
    QCOMPARE(deletion.at(0).toObject().value(Keys::status).toString(), Status::deleted);
    QCOMPARE(deletion.at(1).toObject().value(Keys::status).toString(), Words::notFound);
    QCOMPARE(deletion.at(2).toObject().value(Keys::status).toString(), Status::invalidDevEui);
    QCOMPARE(m_store->size(), 1);
}

void TestDevServer::countsSplitByMakerPrefix()
{
    ask(manage({scanned(makerPrefix + QStringLiteral("0000000001")),
                scanned(makerPrefix.toLower() + QStringLiteral("0000000002")), scanned(eui(3))}));
    ask({{Keys::cmd, Keys::deleteDevicesReq},
         {Keys::devicesList, QJsonArray{makerPrefix + QStringLiteral("0000000001")}}});
    const QJsonObject info = ask({{Keys::cmd, Keys::serverInfoReq}});
    QCOMPARE(info.value(Keys::status).toBool(), true);
    const QJsonObject counts = info.value(Keys::deviceCount).toObject();
    QCOMPARE(counts.value(Keys::deviceCountZarvo).toInt(-1), 1);
    QCOMPARE(counts.value(Keys::deviceCountOther).toInt(-1), 1);
}

void TestDevServer::malformedInput_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("error");
    QTest::newRow("not JSON") << QStringLiteral("{\"cmd\":") << Words::invalidJson;
    QTest::newRow("array") << QStringLiteral("[1,2]") << Words::invalidJson;
    QTest::newRow("empty text") << QString() << Words::invalidJson;
    QTest::newRow("deep nesting") << QString(5000, QLatin1Char('[')) << Words::invalidJson;
    QTest::newRow("empty object") << QStringLiteral("{}") << Words::unknownCommand;
    QTest::newRow("cmd a number") << compact({{Keys::cmd, 3}}) << Words::unknownCommand;
    QTest::newRow("cmd in other case") << compact({{Keys::cmd, Keys::serverInfoReq.toUpper()}})
                                       << Words::unknownCommand;
    QTest::newRow("oversized") << compact({{Keys::cmd, Keys::serverInfoReq},
                                           {Keys::data, QString(m_config.maxMessageBytes, QLatin1Char('a'))}})
                               << Words::messageTooBig;
    QTest::newRow("list not an array") << compact({{Keys::cmd, Keys::manageDevicesReq}, {Keys::devicesList, 1}})
                                       << Words::invalidRequest;
}

void TestDevServer::malformedInput()
{
    QFETCH(QString, message);
    QFETCH(QString, error);
    const QStringList answers = m_handler->handleTextMessage(m_session, message);
    QCOMPARE(answers.size(), 1);
    const QJsonObject answer = parsed(answers.first());
    QCOMPARE(answer.value(Keys::status).toBool(true), false);
    QCOMPARE(answer.value(Keys::errString).toString(), error);
    QCOMPARE(ask({{Keys::cmd, Keys::serverInfoReq}}).value(Keys::status).toBool(), true);
}

void TestDevServer::transportSession()
{
    Peer peer(m_port);
    QVERIFY(peer.waitConnected());
    QVERIFY(!peer.logIn(QStringLiteral("wrong")));
    QVERIFY(peer.logIn());

    const QString devEui = QStringLiteral("00000000000000A1");
    QJsonObject answer = peer.ask(manage({scanned(devEui)}));
    QCOMPARE(answer.value(Keys::deviceAddStatus).toArray().first().toObject().value(Keys::status).toString(),
             Status::added);
    QCOMPARE(peer.next(Keys::rx).value(Keys::devEui).toString(), devEui); // the simulated first uplink
    answer = peer.ask(manage({QJsonObject{{Keys::devEui, devEui}, {Keys::devName, QStringLiteral("meter")}}}));
    QCOMPARE(answer.value(Keys::deviceAddStatus).toArray().first().toObject().value(Keys::status).toString(),
             Status::updated);
    answer = peer.ask(lookup({devEui.toLower()}));
    QCOMPARE(answer.value(Keys::devicesList).toArray().first().toObject().value(Keys::devName).toString(),
             QStringLiteral("meter"));
    const int before = peer.ask({{Keys::cmd, Keys::serverInfoReq}})
                           .value(Keys::deviceCount).toObject().value(Keys::deviceCountOther).toInt();
    answer = peer.ask({{Keys::cmd, Keys::deleteDevicesReq}, {Keys::devicesList, QJsonArray{devEui}}});
    QCOMPARE(answer.value(Keys::deviceDeleteStatus).toArray().first().toObject().value(Keys::status).toString(),
             Status::deleted);
    QCOMPARE(peer.ask({{Keys::cmd, Keys::serverInfoReq}})
                 .value(Keys::deviceCount).toObject().value(Keys::deviceCountOther).toInt(),
             before - 1);
}

void TestDevServer::transportUplinkNotice()
{
    Peer peer(m_port);
    QVERIFY(peer.waitConnected());
    QVERIFY(peer.logIn());
    const QString devEui = QStringLiteral("00000000000000B1");
    peer.ask(manage({scanned(devEui.toLower())}));
    const QJsonObject notice = peer.next(Keys::rx);
    QCOMPARE(notice.value(Keys::cmd).toString(), Keys::rx);
    QCOMPARE(notice.value(Keys::type).toString(), Keys::unconfUp);
    QCOMPARE(notice.value(Keys::devEui).toString(), devEui);
    // Once heard, radio settings change only through MAC commands.
    const QJsonObject answer = peer.ask(manage({QJsonObject{{Keys::devEui, devEui}, {Keys::drRx2, 3}}}));
    QCOMPARE(answer.value(Keys::deviceAddStatus).toArray().first().toObject().value(Keys::status).toString(),
             Status::updateViaMacBuffer);
}

void TestDevServer::transportSurvivesGarbage()
{
    Peer rude(m_port);
    QVERIFY(rude.waitConnected());
    rude.socket().sendBinaryMessage(QByteArray(100, '\xff'));
    QCOMPARE(rude.ask({}).value(Keys::errString).toString(), Words::unknownCommand);
    rude.socket().sendTextMessage(QStringLiteral("not json at all"));
    QCOMPARE(rude.next().value(Keys::errString).toString(), Words::invalidJson);

    // Over the size limit the server drops the connection with "message too big".
    QSignalSpy closed(&rude.socket(), &QWebSocket::disconnected);
    rude.socket().sendTextMessage(QString(70000, QLatin1Char('x')));
    QVERIFY(closed.wait(5000));
    QCOMPARE(rude.socket().closeCode(), QWebSocketProtocol::CloseCodeTooMuchData);

    Peer aborted(m_port);
    QVERIFY(aborted.waitConnected());
    aborted.socket().abort();

    Peer polite(m_port);
    QVERIFY(polite.waitConnected());
    QVERIFY(polite.logIn());
    QVERIFY(m_server.isRunning());
}

void TestDevServer::transportSeveralClients()
{
    constexpr int clients = 20;
    std::vector<std::unique_ptr<Peer>> peers;
    for (int i = 0; i < clients; ++i)
        peers.push_back(std::make_unique<Peer>(m_port));
    for (auto& peer : peers) {
        QVERIFY(peer->waitConnected());
        QVERIFY(peer->logIn());
    }
    // All send before any answer is read, so the server interleaves them.
    for (int i = 0; i < clients; ++i)
        peers[i]->send(manage({scanned(QStringLiteral("00000000000C%1").arg(i, 4, 16, QLatin1Char('0')))}));
    for (auto& peer : peers)
        QCOMPARE(peer->next().value(Keys::deviceAddStatus).toArray().first().toObject().value(Keys::status)
                     .toString(),
                 Status::added);
    const QJsonArray listed = peers.front()->ask({{Keys::cmd, Keys::getDevicesReq}}).value(Keys::devicesList).toArray();
    int ours = 0;
    for (const QJsonValue& device : listed)
        ours += device.toObject().value(Keys::devEui).toString().startsWith(QLatin1String("00000000000C"));
    QCOMPARE(ours, clients);
}

void TestDevServer::transportRefusesClientsBeyondLimit()
{
    DevServer::ServerProcess small{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    QVERIFY(small.start({QStringLiteral("--max-clients"), QStringLiteral("2")}));
    Peer first(small.port());
    Peer second(small.port());
    QVERIFY(first.waitConnected() && second.waitConnected());
    QVERIFY(first.logIn());
    Peer third(small.port());
    QSignalSpy closed(&third.socket(), &QWebSocket::disconnected);
    QVERIFY(closed.wait(5000));
    QCOMPARE(third.socket().closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);

    // A place freed by a client that leaves is taken by the next one.
    second.socket().close();
    // The server notices the close on its own time: a newcomer may be refused
    // a moment longer, but not for good.
    bool admitted = false;
    for (int attempt = 0; attempt < 50 && !admitted; ++attempt) {
        Peer fourth(small.port());
        admitted = fourth.waitConnected() && fourth.logIn();
    }
    QVERIFY(admitted);
}

QTEST_GUILESS_MAIN(TestDevServer)
#include "tst_devserver.moc"
