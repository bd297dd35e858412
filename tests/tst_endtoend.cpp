// The whole program as its start-up brings it up, with the scanner on a
// pseudo-terminal and the development server as a process of its own: an
// operator's shift from login to deleting what was added.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "COptionalSettingsField.h"
#include "CServerDataBox.h"
#include "EndToEndRig.h"
#include "LogOutputWidget.h"
#include "MessageCapture.h"
#include "ServerProcess.h"
#include "TestHelpers.h"

#include <QtWidgets>
#include <QWebSocket>

#include <algorithm>
#include <memory>

namespace Status = ProtocolKeys::Status;

namespace {

// Unlike "admin" it shows up in no trace by chance: the login name, say.
const QString password = QStringLiteral("Pw-7kQ2-zx");
const QString admin = QStringLiteral("admin");
const QString appEuiHex = QStringLiteral("70B0C0D0E0F01020");
const QString appKeyHex = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");
#if defined(__SANITIZE_ADDRESS__)
constexpr bool underSanitizers = true;
#elif defined(__has_feature)
constexpr bool underSanitizers = __has_feature(address_sanitizer);
#else
constexpr bool underSanitizers = false;
#endif
// Instrumented, each scan costs some thirty times as much: the sanitizer build
// goes the same road with fewer scans, to stay within the suite's time.
constexpr int autoScans = underSanitizers ? 200 : 1000;

QString devEuiOf(int index) { return QStringLiteral("00E2E0%1").arg(index, 10, 16, QLatin1Char('0')).toUpper(); }
QByteArray codeFor(const QString& devEui) { return EndToEndRig::scanCode(devEui, appEuiHex, appKeyHex); }

// One request through a connection of its own, logged in as the server's
// default user: the answer, or an empty object when none came.
QJsonObject askServer(const QString& address, const QString& request)
{
    QWebSocket socket;
    QSignalSpy connected(&socket, &QWebSocket::connected);
    QSignalSpy answers(&socket, &QWebSocket::textMessageReceived);
    socket.open(QUrl(QStringLiteral("ws://") + address));
    connected.wait(5000);   // else nothing is answered
    socket.sendTextMessage(CMessageParser::authReq(admin, password));
    socket.sendTextMessage(request);   // the server answers in order
    const bool answered = QTest::qWaitFor([&answers] { return answers.size() >= 2; }, 5000);
    return answered ? TestHelpers::parsed(answers.at(1).at(0).toString()) : QJsonObject();
}

// The server's own view: the DevEUIs it holds.
QStringList devicesOnServer(const QString& address)
{
    const QJsonObject list = askServer(address, CMessageParser::allDevicesReq());
    QStringList devEuis;
    for (const QJsonValue& device : list.value(PK::devicesList).toArray())
        devEuis << device.toObject().value(PK::devEui).toString();
    return list.value(PK::cmd) == PK::getDevicesResp ? devEuis : QStringList{QStringLiteral("<no device list>")};
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    std::unique_ptr<EndToEndRig> m_rig;
    QString server() const { return m_server.address(); }

    // Presses "Delete added devices": the server's answer, empty when none came.
    QString deleteAdded()
    {
        QSignalSpy removals(m_rig->parser(), &CMessageParser::deviceMbRemoved);
        m_rig->child<QPushButton>("deleteButton")->click();
        return removals.wait(10000) ? removals.first().at(0).toString() : QString();
    }

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        QVERIFY2(m_server.start({QStringLiteral("--max-devices"), QString::number(autoScans * 2),
                                 QStringLiteral("--password"), password}),
                 qPrintable(m_server.errorText()));
        m_rig = std::make_unique<EndToEndRig>();
    }

    // Each test starts logged in, by hand, with the server empty and the devices
    // file afresh (the program appends).
    void init()
    {
        QFile::remove(QStringLiteral("Devices.txt"));
        m_rig->setAutoMode(false);
        if (!m_rig->client()->isReady())
            QVERIFY(m_rig->logIn(server(), admin, password));
        QCOMPARE(devicesOnServer(server()), QStringList());
    }

    // An operator's session by hand, every diagnostic and log-pane line of it
    // captured: login (credentials remembered), a scan looked up and added,
    // "Delete added devices", Disconnect pressed twice and a second login.
    // Neither the password nor a session token shows in a line.
    void sessionByHandKeepsSecrets()
    {
        m_rig->child<QPushButton>("disconnectButton")->click();
        QTRY_COMPARE(m_rig->client()->clientState(), CServerClient::disconnected);
        MessageCapture capture;
        const int logBefore = LogOutputWidget::instance()->plainText().size();
        QSignalSpy logins(m_rig->parser(), &CMessageParser::authMsgResp);
        m_rig->child<QCheckBox>("remembermeCheck")->setChecked(true);
        QVERIFY(m_rig->logIn(server(), admin, password));
        QCOMPARE(m_rig->child<QLabel>("statusText")->text(), QStringLiteral("Online:"));

        // The scan is looked up, added and deleted again.
        QVERIFY(m_rig->scan(codeFor(devEuiOf(0xFFFF))));
        QTRY_COMPARE(m_rig->child<CServerDataBox>("serverDataBox")->valueText(CServerDataBox::DevEui),
                     QStringLiteral("Данное устройство, еще не зарегистрировано на сервере"));
        m_rig->child<QPushButton>("addButton")->click();
        QTRY_COMPARE(m_rig->addedCounterText(), QStringLiteral("1"));
        QCOMPARE(deleteAdded(), Status::deleted);

        // Pressed twice before the answer: the server confirms the first logout
        // and refuses the second, which must not log the program back in.
        QSignalSpy answers(m_rig->client(), &QWebSocket::textMessageReceived);
        const auto isLogoutAnswer = [](const QList<QVariant>& arguments) {
            return arguments.at(0).toString().contains(PK::closeAuthResp);
        };
        m_rig->child<QPushButton>("disconnectButton")->click();
        m_rig->child<QPushButton>("disconnectButton")->click();
        QTRY_COMPARE(int(std::count_if(answers.begin(), answers.end(), isLogoutAnswer)), 2);
        QCoreApplication::processEvents();   // their queued parse
        QCOMPARE(m_rig->client()->clientState(), CServerClient::disconnected);
        QCOMPARE(m_rig->child<QLabel>("statusText")->text(), QStringLiteral("Offline:"));
        QVERIFY(m_rig->logIn(server(), admin, password));

        QStringList secrets{password};
        for (const QList<QVariant>& arguments : logins)
            secrets << arguments.at(0).value<CloraAuthResp>().token;
        secrets.removeDuplicates();
        QCOMPARE(secrets.size(), 3);   // the password and the two logins' tokens
        const QStringList lines =
            capture.lines() + LogOutputWidget::instance()->plainText().mid(logBefore).split(QLatin1Char('\n'));
        QCOMPARE(capture.lines().filter(PK::closeAuthReq).isEmpty(), false);
        for (const QString& secret : secrets)
            QCOMPARE(lines.filter(secret), QStringList());
    }

    void autoModeRegistersEveryScanOnce()
    {
        // A thousand registrations trace tens of thousands of lines.
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        const auto restoreTraces = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        m_rig->setAutoMode(true);

        // Each scan is written once the verdict on the one before has arrived,
        // as an operator scans the next device once the last one is shown.
        QStringList scanned;
        for (int i = 0; i < autoScans; ++i) {
            scanned << devEuiOf(i);
            const QString verdict = m_rig->scanAndWaitForVerdict(codeFor(scanned.last()));
            QVERIFY2(verdict == Status::added, qPrintable(QStringLiteral("scan %1: \"%2\"").arg(i).arg(verdict)));
        }
        QCOMPARE(TestHelpers::devicesFileBlocks(), scanned);
        QCOMPARE(devicesOnServer(server()), scanned);   // the server lists by DevEUI: scan order here
        QCOMPARE(deleteAdded(), Status::deleted);
        QCOMPARE(devicesOnServer(server()), QStringList());
    }

    // "Delete added devices" removes what this run added, also when it was
    // registered again, and nothing that was on the server before.
    void deleteAddedLeavesOthersDevices()
    {
        m_rig->setAutoMode(true);
        // Put there by someone else, with what the form holds.
        const QString before = devEuiOf(0xB0);
        const CIAboutDevice* workspace = m_rig->window()->workspace();
        const CLoraDeviceInfo held = CIAboutDevice::completedRecord(
            {before, appEuiHex, appKeyHex}, before, workspace->optionalSettings()->getSettings(),
            workspace->expertSettings()->getSettings());
        askServer(server(), CMessageParser::manageDevicesReq(held));
        QCOMPARE(m_rig->scanAndWaitForVerdict(codeFor(before)), Status::nothingToUpdate);
        const QString added = devEuiOf(0xB1);
        QCOMPARE(m_rig->scanAndWaitForVerdict(codeFor(added)), Status::added);
        QCOMPARE(m_rig->scanAndWaitForVerdict(codeFor(added)), Status::nothingToUpdate);
        QCOMPARE(deleteAdded(), Status::deleted);
        QCOMPARE(devicesOnServer(server()), QStringList{before});
        askServer(server(), CMessageParser::deleteDevicesReq({before}));   // the server left empty
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
