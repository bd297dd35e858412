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
// A new device, scanned, with this member.
QJsonArray fresh(const QString& key, const QJsonValue& value) { return {with(scanned(), key, value)}; }
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
        const auto row = [](const QJsonArray& entries, const QString& status) {
            QTest::newRow(qPrintable(status)) << entries << status;
        };
        row({with(abpOnly, Keys::abp, abp(0xFFFFFFFFLL))}, Status::added);   // a DevAddr above 2^31
        row(fresh(Keys::devEui, "000000000000000G"), Status::invalidDevEui);
        row({without(base, Keys::otaa)}, Status::noRegisterKeys);
        row(fresh(Keys::otaa, without(otaa(), Keys::appKey)), Status::invalidOtaaParamList);
        row(fresh(Keys::otaa, otaa(keyHex.left(31))), Status::invalidAppKeyValue);
        row(fresh(Keys::abp, without(abp(7), Keys::nwksKey)), Status::invalidAbpParamList);
        row(fresh(Keys::abp, abp(0)), Status::invalidDevAddrValue);
        row(fresh(Keys::abp, with(abp(1), Keys::appsKey, keyHex.left(30))), Status::invalidSessionKeyValue);
        row(fresh(Keys::devClass, "CLASS_X"), Status::invalidClass);
        row(fresh(Keys::devClass, "CLASS_B"), Status::unsupportClass);
        row(fresh(Keys::preferPower, 16), Status::invalidPower);
        row(fresh(Keys::rxWindow, -2), Status::invalidRxWindow);
        row(fresh(Keys::preferDr, 8), Status::invalidDataRate);
        row(fresh(Keys::delayRx1, 0), Status::invalidDelay);
        row(fresh(Keys::channelMask, QJsonObject{{Keys::channelEn(1), true}}),
            Status::invalidChannelMaskParamList);
        row(fresh(Keys::frequencyPlan, QJsonObject{{Keys::freq4, 433175000}}), Status::invalidFrequencyPlan);
        row(fresh(Keys::frequencyPlan, QJsonObject()), Status::frequencyPlanIsAbsant);
        row(fresh(Keys::position, QJsonObject{{Keys::latitude, 91.0}}), Words::invalidParameter);
        // A rescan sends the same keys and an empty name.
        row({with(base, Keys::devName, "meter"), scanned(eui(1).toLower())}, Status::nothingToUpdate);
        row({base, with(base, Keys::otaa, otaa(QString(32, QLatin1Char('F'))))}, Status::reginfoAlreadyExist);
        row({base, with(base, Keys::abp, abp(9))}, Status::abpReginfoAlreadyExist);
        row({base, QJsonObject{{Keys::devEui, eui(1)}}}, Status::emptyDataForUpdate);
        row({base, QJsonObject{{Keys::devEui, eui(1)}, {Keys::devClass, "CLASS_C"}}}, Status::updated);
        row({abpOnly, with(abpOnly, Keys::devEui, eui(2))}, Status::repetitionDevAddr);
        row({base, scanned(eui(2)), scanned(eui(3)), scanned(eui(4))}, Status::maxDevCountReached);
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
    void refusals()
    {
        const QJsonObject serverInfo{{Keys::cmd, Keys::serverInfoReq}};
        QCOMPARE(ask(QStringLiteral("{\"cmd\":")).value(Keys::errString).toString(), Words::invalidJson);
        const QString tooBig(m_config.maxMessageBytes, QLatin1Char('a'));
        QCOMPARE(ask(request(Keys::serverInfoReq, Keys::data, tooBig)).value(Keys::errString).toString(),
                 Words::messageTooBig);
        QCOMPARE(ask(serverInfo).value(Keys::errString).toString(), QString());
        const QJsonObject login{{Keys::cmd, Keys::authReq}, {Keys::login, "admin"}, {Keys::password, "x"}};
        const QJsonObject refused = ask(login);
        QCOMPARE(refused.value(Keys::errString).toString(), Words::invalidLoginOrPassword);
        QCOMPARE(refused.value(Keys::status).toBool(true), false);
        QCOMPARE(ask(serverInfo).value(Keys::errString).toString(), Words::notAuthorized);
    }

    // Devices are counted by maker prefix; deletion takes any case.
    void counts()
    {
        ask(manage({scanned(eui(2)), scanned(eui(1)), scanned(QStringLiteral("5a41520000000001"))}));
        const QJsonArray gone{eui(1).toLower(), eui(9)};
        const QJsonObject deletion = ask(request(Keys::deleteDevicesReq, Keys::devicesList, gone));
        QCOMPARE(deletion[Keys::deviceDeleteStatus][0][Keys::status].toString(), Status::deleted);
        QCOMPARE(deletion[Keys::deviceDeleteStatus][1][Keys::status].toString(), Words::notFound);
        const QJsonValue counts = ask(QJsonObject{{Keys::cmd, Keys::serverInfoReq}}).value(Keys::deviceCount);
        QCOMPARE(counts[Keys::deviceCountZarvo].toInt(), 1);
        QCOMPARE(counts[Keys::deviceCountOther].toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDevServer)
#include "tst_devserver.moc"
