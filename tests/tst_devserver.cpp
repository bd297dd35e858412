// The development server: its rules through the request handler (no socket),
// then the real executable over WebSocket.

#include "DeviceStore.h"
#include "ProtocolKeys.h"
#include "RequestHandler.h"
#include "ServerProcess.h"
#include "ServerWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

#include <memory>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;
namespace Words = DevServer::Words;

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
    return {{Keys::devAddress, devAddress}, {Keys::appsKey, keyHex}, {Keys::nwksKey, otherKeyHex}};
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
QJsonObject manage(const QJsonArray& devices) { return {{Keys::cmd, Keys::manageDevicesReq}, {Keys::devicesList, devices}}; }
QJsonObject lookup(const QJsonArray& euis)
{
    return {{Keys::cmd, Keys::getDevicesReq}, {Keys::select, QJsonObject{{Keys::devEuiList, euis}}}};
}
QJsonObject cmd(const QString& command) { return {{Keys::cmd, command}}; }
QJsonObject parsed(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }
QString compact(const QJsonObject& o) { return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)); }
QString firstStatus(const QJsonObject& answer, const QString& list = Keys::deviceAddStatus)
{
    return answer.value(list).toArray().first().toObject().value(Keys::status).toString();
}

// One WebSocket connection to the real server.
class Peer
{
public:
    explicit Peer(quint16 port)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) { m_received << m; });
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
    }
    bool waitConnected()
    {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000);
    }
    // The next message with this command; without one, the next answer that
    // is not an uplink notice (those come whenever they are due).
    QJsonObject next(const QString& command = QString())
    {
        QJsonObject found;
        (void)QTest::qWaitFor([&] {
            for (int i = 0; i < m_received.size(); ++i) {
                const QString c = parsed(m_received.at(i)).value(Keys::cmd).toString();
                if (command.isEmpty() ? c != Keys::rx : c == command) {
                    found = parsed(m_received.takeAt(i));
                    return true;
                }
            }
            return socket.state() == QAbstractSocket::UnconnectedState;
        }, 5000);
        return found;
    }
    QJsonObject ask(const QJsonObject& request)
    {
        socket.sendTextMessage(compact(request));
        return next();
    }
    bool logIn(const QString& password = QStringLiteral("admin"))
    {
        return ask({{Keys::cmd, Keys::authReq}, {Keys::login, QStringLiteral("admin")}, {Keys::password, password}})
            .value(Keys::status).toBool();
    }
    QWebSocket socket;

private:
    QStringList m_received;
};

} // namespace

class TestDevServer : public QObject
{
    Q_OBJECT

    QJsonObject ask(const QJsonObject& request)
    {
        const QStringList answers = m_handler->handleTextMessage(m_session, compact(request));
        return answers.size() == 1 ? parsed(answers.first()) : QJsonObject();
    }
    QString statusOf(const QJsonObject& entry) { return firstStatus(ask(manage({entry}))); }
    QJsonObject stored(const QString& devEui)
    {
        return ask(lookup({devEui})).value(Keys::devicesList).toArray().first().toObject();
    }
    QJsonObject logIn(const QString& password)
    {
        return ask({{Keys::cmd, Keys::authReq}, {Keys::login, QStringLiteral("admin")}, {Keys::password, password}});
    }
    void restart(int maxDevices)
    {
        m_config.maxDevices = maxDevices;
        m_handler.reset();
        m_store = std::make_unique<DevServer::DeviceStore>(m_config.makerPrefix);
        m_handler = std::make_unique<DevServer::RequestHandler>(*m_store, m_config);
        m_session = DevServer::ServerSession();
        logIn(m_config.password);
    }

    DevServer::ServerConfig m_config;
    std::unique_ptr<DevServer::DeviceStore> m_store;
    std::unique_ptr<DevServer::RequestHandler> m_handler;
    DevServer::ServerSession m_session;
    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};

private slots:
    void initTestCase()
    {
        QVERIFY2(m_server.start({"--max-devices", "100", "--uplink-after-ms", "20", "--max-message-size", "65536"}),
                 qPrintable(m_server.errorText()));
    }
    void init() { restart(1000); }
    void cleanupTestCase()
    {
        QVERIFY(m_server.isRunning());   // nothing the suite sent brought it down
        QVERIFY(m_server.stop());
    }

    void loginAndLogout()
    {
        m_session = DevServer::ServerSession();
        const QJsonObject refused = logIn(QStringLiteral("wrong"));
        QCOMPARE(refused.value(Keys::status).toBool(true), false);
        QCOMPARE(refused.value(Keys::errString).toString(), Words::invalidLoginOrPassword);
        QVERIFY(refused.value(Keys::token).toString().isEmpty());

        const QJsonObject first = logIn(QStringLiteral("admin"));
        QCOMPARE(first.value(Keys::deviceAccess).toString(), Words::accessAll);
        const QString oldToken = first.value(Keys::token).toString();
        QCOMPARE(oldToken.size(), 32);
        QVERIFY(logIn(QStringLiteral("admin")).value(Keys::token).toString() != oldToken);

        const QJsonObject wrongToken = ask({{Keys::cmd, Keys::closeAuthReq}, {Keys::token, oldToken}});
        QCOMPARE(wrongToken.value(Keys::errString).toString(), Words::invalidToken);
        QVERIFY(m_session.isAuthorized());
        const QJsonObject closed = ask({{Keys::cmd, Keys::closeAuthReq}, {Keys::token, m_session.token()}});
        QCOMPARE(closed.value(Keys::cmd).toString(), Keys::closeAuthResp);
        QCOMPARE(closed.value(Keys::status).toBool(), true);
        QCOMPARE(ask(cmd(Keys::serverInfoReq)).value(Keys::errString).toString(), Words::notAuthorized);
    }

    void requestsBeforeLoginGetNoData()
    {
        QCOMPARE(statusOf(scanned()), Status::added);
        m_session = DevServer::ServerSession();
        const QList<QPair<QString, QString>> guarded = {
            {Keys::serverInfoReq, Keys::serverInfoResp}, {Keys::getDevicesReq, Keys::getDevicesResp},
            {Keys::manageDevicesReq, Keys::manageDevicesResp}, {Keys::deleteDevicesReq, Keys::deleteDevicesResp},
            {Keys::closeAuthReq, Keys::closeAuthResp}};
        for (const auto& [request, response] : guarded) {
            const QJsonObject answer = ask({{Keys::cmd, request}, {Keys::devicesList, QJsonArray{eui(1)}}});
            QCOMPARE(answer.value(Keys::cmd).toString(), response);
            QCOMPARE(answer.value(Keys::errString).toString(), Words::notAuthorized);
            QVERIFY2(!answer.contains(Keys::devicesList) && !answer.contains(Keys::deviceCount)
                         && !answer.contains(Keys::deviceDeleteStatus), qPrintable(request));
        }
        QCOMPARE(m_store->size(), 1);   // the refused deletion deleted nothing
        QVERIFY(m_handler->handleTextMessage(m_session, compact(cmd(Keys::sendDataReq))).isEmpty());
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
        row("both, lower-case EUI", with(with(base, Keys::abp, abp(-5)), Keys::devEui, "a0b1c2d3e4f50617"), Status::added);
        row("DevAddr above 2^31", with(abpOnly, Keys::abp, abp(0xFFFFFFFFLL)), Status::added);
        row("EUI short", with(base, Keys::devEui, "0102"), Status::invalidDevEui);
        row("EUI not hex", with(base, Keys::devEui, "000000000000000G"), Status::invalidDevEui);
        row("EUI a number", with(base, Keys::devEui, 12), Status::invalidDevEui);
        row("entry not an object", QStringLiteral("x"), Status::invalidDevEui);
        row("no keys", without(base, Keys::otaa), Status::noRegisterKeys);
        row("OTAA not an object", with(base, Keys::otaa, 1), Status::invalidOtaaParamList);
        row("OTAA without key", with(base, Keys::otaa, without(otaa(), Keys::appKey)), Status::invalidOtaaParamList);
        row("AppEUI 15 digits", with(base, Keys::otaa, with(otaa(), Keys::appEui, "010203040506070")),
            Status::invalidOtaaParamList);
        row("AppKey 31 digits", with(base, Keys::otaa, otaa(keyHex.left(31))), Status::invalidAppKeyValue);
        row("ABP without NwkSKey", with(base, Keys::abp, without(abp(7), Keys::nwksKey)), Status::invalidAbpParamList);
        row("ABP without DevAddr", with(base, Keys::abp, without(abp(7), Keys::devAddress)), Status::invalidDevAddrValue);
        row("DevAddr 0", with(base, Keys::abp, abp(0)), Status::invalidDevAddrValue);
        row("DevAddr text", with(base, Keys::abp, abp("26011BDA")), Status::invalidDevAddrValue);
        row("AppSKey short", with(base, Keys::abp, with(abp(1), Keys::appsKey, keyHex.left(30))),
            Status::invalidSessionKeyValue);
        row("class X", with(base, Keys::devClass, "CLASS_X"), Status::invalidClass);
        row("class B", with(base, Keys::devClass, "CLASS_B"), Status::unsupportClass);
        row("power 16 dBm", with(base, Keys::preferPower, 16), Status::invalidPower);
        row("power 0 dBm", with(base, Keys::preferPower, 0), Status::invalidPower);
        row("power 14.5 dBm", with(base, Keys::preferPower, 14.5), Status::invalidPower);
        row("RX window -2", with(base, Keys::rxWindow, -2), Status::invalidRxWindow);
        row("data rate 8", with(base, Keys::preferDr, 8), Status::invalidDataRate);
        row("RX2 data rate -1", with(base, Keys::drRx2, -1), Status::invalidDataRate);
        row("RX1 delay 0", with(base, Keys::delayRx1, 0), Status::invalidDelay);
        row("join delay 16", with(base, Keys::delayJoin1, 16), Status::invalidDelay);
        row("mask of 15", with(base, Keys::channelMask, mask(true, 15)), Status::invalidChannelMaskParamList);
        row("mask all off", with(base, Keys::channelMask, mask(false)), Status::invalidChannelMaskParamList);
        row("channel out of band", with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 433175000}}),
            Status::invalidFrequencyPlan);
        row("channel 0 is undefined",
            with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 0}, {Keys::freq5, 867300000}}), Status::added);
        row("RX2 frequency text", with(base, Keys::freqRx2, "869525000"), Status::invalidFrequencyPlan);
        row("empty plan", with(base, Keys::frequencyPlan, QJsonObject()), Status::frequencyPlanIsAbsant);
        row("latitude 91", with(base, Keys::position, QJsonObject{{Keys::latitude, 91.0}}), Words::invalidParameter);
        row("name a number", with(base, Keys::devName, 5), Words::invalidParameter);
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
        QCOMPARE(statusOf(QJsonObject{{Keys::devEui, eui(1)}}), Status::emptyDataForUpdate);

        // The program's settings-only shape for a device found on the server.
        const QJsonObject settings{{Keys::devEui, eui(1)}, {Keys::devClass, "CLASS_C"}, {Keys::reactionTime, 1000},
                                   {Keys::useDownlinkQueueClassC, true}, {Keys::preferDr, 3.0},
                                   {Keys::preferPower, 14.0}, {Keys::channelMask, mask(true)},
                                   {Keys::position, QJsonObject{{Keys::latitude, 55.75}}}, {Keys::serverAdrEnable, true}};
        QCOMPARE(statusOf(settings), Status::updated);
        QCOMPARE(statusOf(settings), Status::nothingToUpdate);
        QCOMPARE(statusOf({{Keys::devEui, eui(1)}, {Keys::position, QJsonObject{{Keys::altitude, 120}}}}), Status::updated);

        const QJsonObject device = stored(eui(1));
        QCOMPARE(device.value(Keys::devClass).toString(), QStringLiteral("CLASS_C"));
        QCOMPARE(device.value(Keys::preferDr).toInt(), 3);
        QCOMPARE(device.value(Keys::otaa).toObject().value(Keys::appKey).toString(), keyHex);
        QCOMPARE(device.value(Keys::channelMask).toObject().size(), 16);
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
        ask({{Keys::cmd, Keys::deleteDevicesReq}, {Keys::devicesList, QJsonArray{eui(1)}}});
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
        const QString maker = QStringLiteral("5A41520000000001");
        ask(manage({scanned(eui(2)), scanned(eui(1)), scanned(maker.toLower())}));
        const QJsonArray all = ask(cmd(Keys::getDevicesReq)).value(Keys::devicesList).toArray();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all.at(1).toObject().value(Keys::devEui).toString(), eui(1));   // sorted by EUI
        QCOMPARE(ask(lookup({eui(2).toLower(), eui(2)})).value(Keys::devicesList).toArray().size(), 1);
        const QJsonObject unknown = ask(lookup({eui(9)}));
        QCOMPARE(unknown.value(Keys::status).toBool(), true);
        QVERIFY(unknown.value(Keys::devicesList).isArray() && unknown.value(Keys::devicesList).toArray().isEmpty());
        QCOMPARE(ask({{Keys::cmd, Keys::getDevicesReq}, {Keys::select, 1}}).value(Keys::status).toBool(true), false);

        const QJsonArray deletion = ask({{Keys::cmd, Keys::deleteDevicesReq},
                                         {Keys::devicesList, QJsonArray{eui(1).toLower(), eui(9), 7}}})
                                        .value(Keys::deviceDeleteStatus).toArray();
        QCOMPARE(deletion.size(), 3);
        QCOMPARE(deletion.at(0).toObject(), (QJsonObject{{Keys::devEui, eui(1)}, {Keys::status, Status::deleted}}));
        QCOMPARE(deletion.at(1).toObject().value(Keys::status).toString(), Words::notFound);
        QCOMPARE(deletion.at(2).toObject().value(Keys::status).toString(), Status::invalidDevEui);

        const QJsonObject counts = ask(cmd(Keys::serverInfoReq)).value(Keys::deviceCount).toObject();
        QCOMPARE(counts.value(Keys::deviceCountZarvo).toInt(-1), 1);
        QCOMPARE(counts.value(Keys::deviceCountOther).toInt(-1), 1);
    }

    void malformedInput_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::newRow("not JSON") << QStringLiteral("{\"cmd\":") << Words::invalidJson;
        QTest::newRow("array") << QStringLiteral("[1,2]") << Words::invalidJson;
        QTest::newRow("empty text") << QString() << Words::invalidJson;
        QTest::newRow("deep nesting") << QString(5000, QLatin1Char('[')) << Words::invalidJson;
        QTest::newRow("empty object") << QStringLiteral("{}") << Words::unknownCommand;
        QTest::newRow("cmd a number") << compact({{Keys::cmd, 3}}) << Words::unknownCommand;
        QTest::newRow("cmd in other case") << compact(cmd(Keys::serverInfoReq.toUpper())) << Words::unknownCommand;
        QTest::newRow("oversized") << compact(with(cmd(Keys::serverInfoReq), Keys::data,
                                                   QString(m_config.maxMessageBytes, QLatin1Char('a'))))
                                   << Words::messageTooBig;
        QTest::newRow("list not an array") << compact(with(cmd(Keys::manageDevicesReq), Keys::devicesList, 1))
                                           << Words::invalidRequest;
    }

    void malformedInput()
    {
        QFETCH(QString, message);
        const QStringList answers = m_handler->handleTextMessage(m_session, message);
        QCOMPARE(answers.size(), 1);
        QCOMPARE(parsed(answers.first()).value(Keys::status).toBool(true), false);
        QTEST(parsed(answers.first()).value(Keys::errString).toString(), "error");
        QCOMPARE(ask(cmd(Keys::serverInfoReq)).value(Keys::status).toBool(), true);
    }

    void transportLoginAndUplinkNotice()
    {
        Peer peer(m_server.port());
        QVERIFY(peer.waitConnected());
        QVERIFY(!peer.logIn(QStringLiteral("wrong")));
        QVERIFY(peer.logIn());
        const QString devEui = QStringLiteral("00000000000000B1");
        QCOMPARE(firstStatus(peer.ask(manage({scanned(devEui.toLower())}))), Status::added);
        const QJsonObject notice = peer.next(Keys::rx);   // the simulated first uplink
        QCOMPARE(notice.value(Keys::type).toString(), Keys::unconfUp);
        QCOMPARE(notice.value(Keys::devEui).toString(), devEui);
    }

    void transportSurvivesGarbage()
    {
        Peer rude(m_server.port());
        QVERIFY(rude.waitConnected());
        rude.socket.sendBinaryMessage(QByteArray(100, '\xff'));
        QCOMPARE(rude.ask({}).value(Keys::errString).toString(), Words::unknownCommand);
        rude.socket.sendTextMessage(QStringLiteral("not json at all"));
        QCOMPARE(rude.next().value(Keys::errString).toString(), Words::invalidJson);
        QSignalSpy closed(&rude.socket, &QWebSocket::disconnected);
        rude.socket.sendTextMessage(QString(70000, QLatin1Char('x')));   // over the size limit
        QVERIFY(closed.wait(5000));
        QCOMPARE(rude.socket.closeCode(), QWebSocketProtocol::CloseCodeTooMuchData);

        Peer aborted(m_server.port());
        QVERIFY(aborted.waitConnected());
        aborted.socket.abort();
        Peer polite(m_server.port());
        QVERIFY(polite.waitConnected() && polite.logIn());
    }

    void transportSeveralClients()
    {
        std::vector<std::unique_ptr<Peer>> peers;
        for (int i = 0; i < 20; ++i)
            peers.push_back(std::make_unique<Peer>(m_server.port()));
        for (auto& peer : peers)
            QVERIFY(peer->waitConnected() && peer->logIn());
        // All send before any answer is read, so the server interleaves them.
        for (int i = 0; i < 20; ++i)
            peers[i]->socket.sendTextMessage(compact(manage({scanned(QStringLiteral("00000000000C%1").arg(i, 4, 10, QLatin1Char('0')))})));
        for (auto& peer : peers)
            QCOMPARE(firstStatus(peer->next()), Status::added);
    }

    void transportRefusesClientsBeyondLimit()
    {
        DevServer::ServerProcess small{QStringLiteral(TESMAR_DEVSERVER_PATH)};
        QVERIFY(small.start({QStringLiteral("--max-clients"), QStringLiteral("2")}));
        Peer first(small.port());
        Peer second(small.port());
        QVERIFY(first.waitConnected() && second.waitConnected() && first.logIn());
        Peer third(small.port());
        QSignalSpy closed(&third.socket, &QWebSocket::disconnected);
        QVERIFY(closed.wait(5000));
        QCOMPARE(third.socket.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);

        // A freed place is taken by the next client, once the server has noticed the close.
        second.socket.close();
        bool admitted = false;
        for (int attempt = 0; attempt < 50 && !admitted; ++attempt) {
            Peer fourth(small.port());
            admitted = fourth.waitConnected() && fourth.logIn();
        }
        QVERIFY(admitted);
    }
};

QTEST_GUILESS_MAIN(TestDevServer)
#include "tst_devserver.moc"
