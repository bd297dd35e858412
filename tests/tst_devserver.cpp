// The development server: its rules through the request handler (no socket),
// then the real executable over WebSocket.

#include "DeviceStore.h"
#include "RequestHandler.h"
#include "ServerProcess.h"
#include "ServerWords.h"
#include "TestHelpers.h"

#include <QWebSocket>

#include <memory>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;
namespace Words = DevServer::Words;
using TestHelpers::compact;
using TestHelpers::parsed;

namespace {

const QString keyHex = QStringLiteral("000102030405060708090A0B0C0D0E0F");
const QString otherKeyHex = QStringLiteral("F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF");

QString eui(int n) { return QStringLiteral("ABCDEF00%1").arg(n, 8, 16, QLatin1Char('0')).toUpper(); }
QJsonObject otaa(const QString& appKey = keyHex)
{
    return {{Keys::appEui, QStringLiteral("0102030405060708")}, {Keys::appKey, appKey}};
}
QJsonObject abp(const QJsonValue& devAddress)
{
    return {{Keys::devAddress, devAddress}, {Keys::appsKey, keyHex}, {Keys::nwksKey, keyHex}};
}
// The shape in which the program sends a freshly scanned device.
QJsonObject scanned(const QString& devEui = eui(1))
{
    return {{Keys::devEui, devEui}, {Keys::devName, QString()}, {Keys::otaa, otaa()}, {Keys::serverAdrEnable, false}};
}
QJsonObject with(QJsonObject o, const QString& key, const QJsonValue& value) { o.insert(key, value); return o; }
QJsonObject without(QJsonObject o, const QString& key) { o.remove(key); return o; }
QJsonObject mask(bool enabled, int channels = 16)
{
    QJsonObject m;
    for (int channel = 1; channel <= channels; ++channel)
        m.insert(Keys::channelEn(channel), enabled);
    return m;
}
QJsonObject request(const QString& cmd, const QString& key = QString(), const QJsonValue& value = QJsonValue())
{
    return key.isEmpty() ? QJsonObject{{Keys::cmd, cmd}} : QJsonObject{{Keys::cmd, cmd}, {key, value}};
}
QJsonObject manage(const QJsonArray& devices) { return request(Keys::manageDevicesReq, Keys::devicesList, devices); }
QJsonObject logIn(const QString& password)
{
    return {{Keys::cmd, Keys::authReq}, {Keys::login, "admin"}, {Keys::password, password}};
}
QString firstStatus(const QJsonObject& answer)
{
    return answer.value(Keys::deviceAddStatus).toArray().first().toObject().value(Keys::status).toString();
}

// One WebSocket connection to the real server.
struct Peer
{
    explicit Peer(quint16 port)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) { received << m; });
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
    }
    bool waitConnected()
    {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000);
    }
    QJsonObject next()
    {
        const auto gone = [this] { return socket.state() == QAbstractSocket::UnconnectedState; };
        (void)QTest::qWaitFor([&] { return !received.isEmpty() || gone(); }, 5000);
        return received.isEmpty() ? QJsonObject() : parsed(received.takeFirst());
    }
    QJsonObject ask(const QJsonObject& message)
    {
        socket.sendTextMessage(compact(message));
        return next();
    }
    QWebSocket socket;
    QStringList received;
};

} // namespace

class TestDevServer : public QObject
{
    Q_OBJECT

    QJsonObject ask(const QJsonObject& message)
    {
        const QStringList answers = m_handler->handleTextMessage(m_session, compact(message));
        return answers.size() == 1 ? parsed(answers.first()) : QJsonObject();
    }
    QString statusOf(const QJsonObject& entry) { return firstStatus(ask(manage({entry}))); }
    QJsonObject stored(const QString& devEui)
    {
        const QJsonObject select{{Keys::devEuiList, QJsonArray{devEui}}};
        return ask(request(Keys::getDevicesReq, Keys::select, select)).value(Keys::devicesList).toArray().first().toObject();
    }
    void restart(int maxDevices)
    {
        m_config.maxDevices = maxDevices;
        m_handler.reset();
        m_store = std::make_unique<DevServer::DeviceStore>(m_config.makerPrefix);
        m_handler = std::make_unique<DevServer::RequestHandler>(*m_store, m_config);
        m_session = DevServer::ServerSession();
        ask(logIn(m_config.password));
    }

    DevServer::ServerConfig m_config;
    std::unique_ptr<DevServer::DeviceStore> m_store;
    std::unique_ptr<DevServer::RequestHandler> m_handler;
    DevServer::ServerSession m_session;

private slots:
    void init() { restart(1000); }

    void loginGuardsEverything()
    {
        m_session = DevServer::ServerSession();
        const QJsonObject info = ask(request(Keys::serverInfoReq));
        QVERIFY(info.value(Keys::errString).toString() == Words::notAuthorized && !info.contains(Keys::deviceCount));
        QCOMPARE(ask(logIn("wrong")).value(Keys::errString).toString(), Words::invalidLoginOrPassword);
        QCOMPARE(ask(manage({scanned()})).value(Keys::errString).toString(), Words::notAuthorized);
        QCOMPARE(ask(logIn("admin")).value(Keys::token).toString().size(), 32);
        QVERIFY(ask(request(Keys::closeAuthReq, Keys::token, m_session.token())).value(Keys::status).toBool());
        QVERIFY(!m_session.isAuthorized() && m_store->size() == 0);
    }

    void newDeviceStatus_data()
    {
        QTest::addColumn<QJsonValue>("entry");
        QTest::addColumn<QString>("status");
        const QJsonObject base = scanned();
        const QJsonObject abpOnly = without(with(base, Keys::abp, abp(0x26011BDA)), Keys::otaa);
        const auto row = [](const char* name, const QJsonValue& entry, const QString& status) {
            QTest::newRow(name) << entry << status;
        };
        row("OTAA keys", base, Status::added);
        row("ABP keys", abpOnly, Status::added);
        row("DevAddr above 2^31", with(abpOnly, Keys::abp, abp(0xFFFFFFFFLL)), Status::added);
        row("EUI not hex", with(base, Keys::devEui, "000000000000000G"), Status::invalidDevEui);
        row("entry not an object", QStringLiteral("x"), Status::invalidDevEui);
        row("no keys", without(base, Keys::otaa), Status::noRegisterKeys);
        row("OTAA without key", with(base, Keys::otaa, without(otaa(), Keys::appKey)), Status::invalidOtaaParamList);
        row("AppKey 31 digits", with(base, Keys::otaa, otaa(keyHex.left(31))), Status::invalidAppKeyValue);
        row("ABP without NwkSKey", with(base, Keys::abp, without(abp(7), Keys::nwksKey)), Status::invalidAbpParamList);
        row("DevAddr 0", with(base, Keys::abp, abp(0)), Status::invalidDevAddrValue);
        row("AppSKey short", with(base, Keys::abp, with(abp(1), Keys::appsKey, keyHex.left(30))),
            Status::invalidSessionKeyValue);
        row("class X", with(base, Keys::devClass, "CLASS_X"), Status::invalidClass);
        row("class B", with(base, Keys::devClass, "CLASS_B"), Status::unsupportClass);
        row("power 16 dBm", with(base, Keys::preferPower, 16), Status::invalidPower);
        row("RX window -2", with(base, Keys::rxWindow, -2), Status::invalidRxWindow);
        row("data rate 8", with(base, Keys::preferDr, 8), Status::invalidDataRate);
        row("RX1 delay 0", with(base, Keys::delayRx1, 0), Status::invalidDelay);
        row("mask of 15", with(base, Keys::channelMask, mask(true, 15)), Status::invalidChannelMaskParamList);
        row("channel out of band", with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 433175000}}),
            Status::invalidFrequencyPlan);
        row("channel 0 is undefined",
            with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 0}, {Keys::freq5, 867300000}}), Status::added);
        row("empty plan", with(base, Keys::frequencyPlan, QJsonObject()), Status::frequencyPlanIsAbsant);
        row("latitude 91", with(base, Keys::position, QJsonObject{{Keys::latitude, 91.0}}), Words::invalidParameter);
        // Several faults: the word of the keys comes first.
        row("bad key and power", with(with(base, Keys::otaa, otaa(QString())), Keys::preferPower, 99),
            Status::invalidAppKeyValue);
    }

    void newDeviceStatus()
    {
        QFETCH(QJsonValue, entry);
        QFETCH(QString, status);
        const QJsonArray statuses = ask(manage({entry})).value(Keys::deviceAddStatus).toArray();
        QCOMPARE(statuses.size(), 1);
        QCOMPARE(statuses.first().toObject().value(Keys::status).toString(), status);
        QCOMPARE(m_store->size(), status == Status::added ? 1 : 0);
    }

    void knownDeviceRules()
    {
        QCOMPARE(statusOf(with(scanned(), Keys::devName, "meter")), Status::added);
        // A rescan sends the same keys and an empty name: nothing to change.
        QCOMPARE(statusOf(scanned(eui(1).toLower())), Status::nothingToUpdate);
        QCOMPARE(stored(eui(1)).value(Keys::devName).toString(), QStringLiteral("meter"));
        QCOMPARE(statusOf(with(scanned(), Keys::otaa, otaa(otherKeyHex))), Status::reginfoAlreadyExist);
        QCOMPARE(statusOf(with(scanned(), Keys::abp, abp(9))), Status::abpReginfoAlreadyExist);
        QCOMPARE(statusOf({{Keys::devEui, eui(1)}}), Status::emptyDataForUpdate);

        // The program's settings-only shape for a device found on the server.
        const QJsonObject settings{{Keys::devEui, eui(1)}, {Keys::devClass, "CLASS_C"}, {Keys::reactionTime, 1000},
                                   {Keys::useDownlinkQueueClassC, true}, {Keys::preferDr, 3.0}, {Keys::preferPower, 14.0},
                                   {Keys::channelMask, mask(true)}, {Keys::position, QJsonObject{{Keys::latitude, 55.75}}}};
        QCOMPARE(statusOf(settings), Status::updated);
        QCOMPARE(statusOf(settings), Status::nothingToUpdate);
        QCOMPARE(statusOf({{Keys::devEui, eui(1)}, {Keys::position, QJsonObject{{Keys::altitude, 120}}}}), Status::updated);
        const QJsonObject device = stored(eui(1));
        QVERIFY(device.value(Keys::devClass) == "CLASS_C" && device.value(Keys::preferDr) == 3
                && device.value(Keys::otaa) == otaa());
        QCOMPARE(device.value(Keys::position).toObject(), (QJsonObject{{Keys::latitude, 55.75}, {Keys::altitude, 120}}));

        // Once heard, radio settings change only through MAC commands.
        m_store->markHeard(eui(1));
        QCOMPARE(statusOf({{Keys::devEui, eui(1)}, {Keys::delayRx1, 2}}), Status::updateViaMacBuffer);
        QVERIFY(!stored(eui(1)).contains(Keys::delayRx1));
        QCOMPARE(statusOf({{Keys::devEui, eui(1)}, {Keys::devName, "n"}}), Status::updated);
    }

    void devAddressIsUniqueAndDevicesLimited()
    {
        const QJsonObject first = without(with(scanned(eui(1)), Keys::abp, abp(0x1234)), Keys::otaa);
        QCOMPARE(statusOf(first), Status::added);
        QCOMPARE(statusOf(with(first, Keys::devEui, eui(2))), Status::repetitionDevAddr);
        ask(request(Keys::deleteDevicesReq, Keys::devicesList, QJsonArray{eui(1)}));
        QCOMPARE(statusOf(with(first, Keys::devEui, eui(2))), Status::added);

        restart(2);
        QStringList statuses;
        for (const QJsonValue& e : ask(manage({scanned(eui(1)), scanned(eui(2)), scanned(eui(3)), scanned(eui(1))}))
                                       .value(Keys::deviceAddStatus).toArray())
            statuses << e.toObject().value(Keys::status).toString();
        QCOMPARE(statuses, (QStringList{Status::added, Status::added, Status::maxDevCountReached, Status::nothingToUpdate}));
        QCOMPARE(m_session.takeAdded(), (QStringList{eui(1), eui(2)}));
    }

    void lookupDeleteAndCounts()
    {
        ask(manage({scanned(eui(2)), scanned(eui(1)), scanned(QStringLiteral("5a41520000000001"))}));
        const QJsonArray all = ask(request(Keys::getDevicesReq)).value(Keys::devicesList).toArray();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all.at(1).toObject().value(Keys::devEui).toString(), eui(1));   // sorted by EUI
        QVERIFY(stored(eui(9)).isEmpty());
        QCOMPARE(ask(request(Keys::getDevicesReq, Keys::select, 1)).value(Keys::status).toBool(true), false);

        const QJsonArray deletion = ask(request(Keys::deleteDevicesReq, Keys::devicesList,
                                                QJsonArray{eui(1).toLower(), eui(9), 7}))
                                        .value(Keys::deviceDeleteStatus).toArray();
        QCOMPARE(deletion.at(0).toObject(), (QJsonObject{{Keys::devEui, eui(1)}, {Keys::status, Status::deleted}}));
        QCOMPARE(deletion.at(1).toObject().value(Keys::status).toString(), Words::notFound);
        QCOMPARE(deletion.at(2).toObject().value(Keys::status).toString(), Status::invalidDevEui);
        const QJsonObject counts = ask(request(Keys::serverInfoReq)).value(Keys::deviceCount).toObject();
        QCOMPARE(counts, (QJsonObject{{Keys::deviceCountZarvo, 1}, {Keys::deviceCountOther, 1}}));
    }

    void malformedInput_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::newRow("not JSON") << QStringLiteral("{\"cmd\":") << Words::invalidJson;
        QTest::newRow("deep nesting") << QString(5000, QLatin1Char('[')) << Words::invalidJson;
        QTest::newRow("cmd in other case") << compact(request(Keys::serverInfoReq.toUpper())) << Words::unknownCommand;
        const QString tooBig(m_config.maxMessageBytes, QLatin1Char('a'));
        QTest::newRow("oversized") << compact(request(Keys::serverInfoReq, Keys::data, tooBig)) << Words::messageTooBig;
        QTest::newRow("list not an array") << compact(request(Keys::manageDevicesReq, Keys::devicesList, 1))
                                           << Words::invalidRequest;
    }

    void malformedInput()
    {
        QFETCH(QString, message);
        const QStringList answers = m_handler->handleTextMessage(m_session, message);
        QCOMPARE(answers.size(), 1);
        QTEST(parsed(answers.first()).value(Keys::errString).toString(), "error");
        QCOMPARE(ask(request(Keys::serverInfoReq)).value(Keys::status).toBool(), true);
    }

    void transport()
    {
        DevServer::ServerProcess server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
        QVERIFY2(server.start({"--uplink-after-ms", "20", "--max-message-size", "65536"}), qPrintable(server.errorText()));
        Peer peer(server.port());
        QVERIFY(peer.waitConnected());
        peer.socket.sendBinaryMessage(QByteArray(100, '\xff'));
        QCOMPARE(peer.ask({}).value(Keys::errString).toString(), Words::unknownCommand);
        QVERIFY(peer.ask(logIn("admin")).value(Keys::status).toBool());
        QCOMPARE(firstStatus(peer.ask(manage({scanned(QStringLiteral("00000000000000b1"))}))), Status::added);
        const QJsonObject notice = peer.next();   // the simulated first uplink
        QCOMPARE(notice.value(Keys::type).toString(), Keys::unconfUp);
        QCOMPARE(notice.value(Keys::devEui).toString(), QStringLiteral("00000000000000B1"));

        QSignalSpy closed(&peer.socket, &QWebSocket::disconnected);
        peer.socket.sendTextMessage(QString(70000, QLatin1Char('x')));   // over the size limit
        QVERIFY(closed.wait(5000));
        QCOMPARE(peer.socket.closeCode(), QWebSocketProtocol::CloseCodeTooMuchData);
        Peer aborted(server.port());
        QVERIFY(aborted.waitConnected());
        aborted.socket.abort();
        Peer polite(server.port());
        QVERIFY(polite.waitConnected() && polite.ask(logIn("admin")).value(Keys::status).toBool());
        QVERIFY(server.isRunning());   // nothing sent brought it down
    }
};

QTEST_GUILESS_MAIN(TestDevServer)
#include "tst_devserver.moc"
