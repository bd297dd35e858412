// The development server's rules, through its request handler (no socket).

#include "DeviceStore.h"
#include "RequestHandler.h"
#include "ServerWords.h"
#include "TestHelpers.h"

#include <memory>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;
namespace Words = DevServer::Words;

namespace {
const QString keyHex = QStringLiteral("000102030405060708090A0B0C0D0E0F");

QString eui(int n) { return QStringLiteral("ABCDEF00%1").arg(n, 8, 16, QLatin1Char('0')).toUpper(); }
QJsonObject otaa(const QString& appKey = keyHex) { return {{Keys::appEui, "0102030405060708"}, {Keys::appKey, appKey}}; }
QJsonObject abp(const QJsonValue& devAddress) { return {{Keys::devAddress, devAddress}, {Keys::appsKey, keyHex}, {Keys::nwksKey, keyHex}}; }
// The shape in which the program sends a freshly scanned device.
QJsonObject scanned(const QString& devEui = eui(1))
{
    return {{Keys::devEui, devEui}, {Keys::devName, QString()}, {Keys::otaa, otaa()}, {Keys::serverAdrEnable, false}};
}
QJsonObject with(QJsonObject o, const QString& key, const QJsonValue& value) { o.insert(key, value); return o; }
QJsonObject without(QJsonObject o, const QString& key) { o.remove(key); return o; }
QJsonObject request(const QString& cmd, const QString& key, const QJsonValue& value) { return {{Keys::cmd, cmd}, {key, value}}; }
QJsonObject manage(const QJsonArray& devices) { return request(Keys::manageDevicesReq, Keys::devicesList, devices); }
} // namespace

class TestDevServer : public QObject
{
    Q_OBJECT

    QJsonObject ask(const QString& text)
    {
        const QStringList answers = m_handler->handleTextMessage(m_session, text);
        return answers.size() == 1 ? TestHelpers::parsed(answers.first()) : QJsonObject();
    }
    QJsonObject ask(const QJsonObject& message) { return ask(TestHelpers::compact(message)); }

    DevServer::ServerConfig m_config;
    std::unique_ptr<DevServer::DeviceStore> m_store;
    std::unique_ptr<DevServer::RequestHandler> m_handler;
    DevServer::ServerSession m_session;

private slots:
    void init()
    {
        m_config.maxDevices = 3;
        m_handler.reset();
        m_store = std::make_unique<DevServer::DeviceStore>(m_config.makerPrefix);
        m_handler = std::make_unique<DevServer::RequestHandler>(*m_store, m_config);
        m_session = DevServer::ServerSession();
        ask({{Keys::cmd, Keys::authReq}, {Keys::login, "admin"}, {Keys::password, m_config.password}});
    }

    // The entries go in one request; the row's word is the last entry's.
    void statusWords_data()
    {
        QTest::addColumn<QJsonArray>("entries");
        QTest::addColumn<QString>("status");
        const QJsonObject base = scanned();
        const QJsonObject abpOnly = without(with(base, Keys::abp, abp(0x1234)), Keys::otaa);
        const auto row = [](const char* name, const QJsonArray& entries, const QString& status) {
            QTest::newRow(name) << entries << status;
        };
        row("DevAddr above 2^31", {with(abpOnly, Keys::abp, abp(0xFFFFFFFFLL))}, Status::added);
        row("EUI not hex", {with(base, Keys::devEui, "000000000000000G")}, Status::invalidDevEui);
        row("no keys", {without(base, Keys::otaa)}, Status::noRegisterKeys);
        row("OTAA without key", {with(base, Keys::otaa, without(otaa(), Keys::appKey))}, Status::invalidOtaaParamList);
        row("AppKey 31 digits", {with(base, Keys::otaa, otaa(keyHex.left(31)))}, Status::invalidAppKeyValue);
        row("ABP without NwkSKey", {with(base, Keys::abp, without(abp(7), Keys::nwksKey))}, Status::invalidAbpParamList);
        row("DevAddr 0", {with(base, Keys::abp, abp(0))}, Status::invalidDevAddrValue);
        row("AppSKey short", {with(base, Keys::abp, with(abp(1), Keys::appsKey, keyHex.left(30)))},
            Status::invalidSessionKeyValue);
        row("class X", {with(base, Keys::devClass, "CLASS_X")}, Status::invalidClass);
        row("class B", {with(base, Keys::devClass, "CLASS_B")}, Status::unsupportClass);
        row("power 16 dBm", {with(base, Keys::preferPower, 16)}, Status::invalidPower);
        row("RX window -2", {with(base, Keys::rxWindow, -2)}, Status::invalidRxWindow);
        row("data rate 8", {with(base, Keys::preferDr, 8)}, Status::invalidDataRate);
        row("RX1 delay 0", {with(base, Keys::delayRx1, 0)}, Status::invalidDelay);
        row("mask of one channel", {with(base, Keys::channelMask, QJsonObject{{Keys::channelEn(1), true}})},
            Status::invalidChannelMaskParamList);
        row("channel out of band", {with(base, Keys::frequencyPlan, QJsonObject{{Keys::freq4, 433175000}})},
            Status::invalidFrequencyPlan);
        row("empty plan", {with(base, Keys::frequencyPlan, QJsonObject())}, Status::frequencyPlanIsAbsant);
        row("latitude 91", {with(base, Keys::position, QJsonObject{{Keys::latitude, 91.0}})}, Words::invalidParameter);
        // A rescan sends the same keys and an empty name.
        row("rescan", {with(base, Keys::devName, "meter"), scanned(eui(1).toLower())}, Status::nothingToUpdate);
        row("other AppKey", {base, with(base, Keys::otaa, otaa(QStringLiteral("F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF")))},
            Status::reginfoAlreadyExist);
        row("ABP keys added", {base, with(base, Keys::abp, abp(9))}, Status::abpReginfoAlreadyExist);
        row("only the EUI", {base, QJsonObject{{Keys::devEui, eui(1)}}}, Status::emptyDataForUpdate);
        row("settings of a known device", {base, QJsonObject{{Keys::devEui, eui(1)}, {Keys::devClass, "CLASS_C"}}},
            Status::updated);
        row("DevAddr taken", {abpOnly, with(abpOnly, Keys::devEui, eui(2))}, Status::repetitionDevAddr);
        row("over the limit", {scanned(eui(1)), scanned(eui(2)), scanned(eui(3)), scanned(eui(4))},
            Status::maxDevCountReached);
    }

    void statusWords()
    {
        QFETCH(QJsonArray, entries);
        QFETCH(QString, status);
        const QJsonArray statuses = ask(manage(entries)).value(Keys::deviceAddStatus).toArray();
        QCOMPARE(statuses.size(), entries.size());
        QCOMPARE(statuses.last().toObject().value(Keys::status).toString(), status);
        // Every entry before the last added a device; the last adds one only when "added".
        QCOMPARE(m_store->size(), entries.size() - (status == Status::added ? 0 : 1));
    }

    // Bad input is answered and the session goes on; a wrong password is
    // refused in the server's words and ends the login made before.
    void refusals_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("loggedIn");   // afterwards
        QTest::newRow("not JSON") << QStringLiteral("{\"cmd\":") << Words::invalidJson << true;
        const QString tooBig(m_config.maxMessageBytes, QLatin1Char('a'));
        QTest::newRow("oversized") << TestHelpers::compact(request(Keys::serverInfoReq, Keys::data, tooBig))
                                   << Words::messageTooBig << true;
        const QJsonObject login{{Keys::cmd, Keys::authReq}, {Keys::login, "admin"}, {Keys::password, "x"}};
        QTest::newRow("wrong password")
            << TestHelpers::compact(login) << Words::invalidLoginOrPassword << false;
    }

    void refusals()
    {
        QFETCH(QString, message);
        QFETCH(bool, loggedIn);
        const QJsonObject answer = ask(message);
        QTEST(answer.value(Keys::errString).toString(), "error");
        QCOMPARE(answer.value(Keys::status).toBool(true), false);
        const QJsonObject info = ask(QJsonObject{{Keys::cmd, Keys::serverInfoReq}});
        QCOMPARE(info.value(Keys::errString).toString(), loggedIn ? QString() : Words::notAuthorized);
    }

    // Devices are counted by maker prefix; deletion takes any case.
    void counts()
    {
        ask(manage({scanned(eui(2)), scanned(eui(1)), scanned(QStringLiteral("5a41520000000001"))}));
        const QJsonArray deletion = ask(request(Keys::deleteDevicesReq, Keys::devicesList,
                                                QJsonArray{eui(1).toLower(), eui(9)}))
                                        .value(Keys::deviceDeleteStatus).toArray();
        QCOMPARE(deletion.at(0)[Keys::status].toString(), Status::deleted);
        QCOMPARE(deletion.at(1)[Keys::status].toString(), Words::notFound);
        const QJsonValue counts = ask(QJsonObject{{Keys::cmd, Keys::serverInfoReq}}).value(Keys::deviceCount);
        QCOMPARE(counts[Keys::deviceCountZarvo].toInt(), 1);
        QCOMPARE(counts[Keys::deviceCountOther].toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDevServer)
#include "tst_devserver.moc"
