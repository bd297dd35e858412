// The whole program, wired as its start-up wires it, with the scanner on a
// pseudo-terminal and the development server as a process of its own: an
// operator's shift from login to deleting what was added.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CServerSettingsWidget.h"
#include "EndToEndRig.h"
#include "LogOutputWidget.h"
#include "MessageCapture.h"
#include "ProtocolKeys.h"
#include "ServerProcess.h"

#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebSocket>

#include <algorithm>
#include <memory>

namespace Keys = ProtocolKeys;
namespace Status = ProtocolKeys::Status;

namespace {

const QString devicesFile = QStringLiteral("Devices.txt");
// Unlike "admin" it shows up in no trace by chance: the login name, say.
const QString password = QStringLiteral("Pw-7kQ2-zx");
const QString appEuiHex = QStringLiteral("70B0C0D0E0F01020");
const QString appKeyHex = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");
const QString addedText = QStringLiteral(
    "Device is not existed on server before and is registered with corresponding registration information");
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

QString devEuiOf(int index)
{
    return QStringLiteral("00E2E0%1").arg(index, 10, 16, QLatin1Char('0')).toUpper();
}

// One request to the server through a connection of its own, logged in as
// the default user: the answer, or an object whose "cmd" says what failed.
QJsonObject askServer(const QString& address, const QString& request, const QString& answerCmd)
{
    QWebSocket socket;
    QSignalSpy connected(&socket, &QWebSocket::connected);
    QSignalSpy answers(&socket, &QWebSocket::textMessageReceived);
    socket.open(QUrl(QStringLiteral("ws://") + address));
    if (!connected.wait(5000))
        return {{Keys::cmd, QStringLiteral("<no connection>")}};

    const auto ask = [&](const QString& text, const QString& cmd) {
        answers.clear();
        socket.sendTextMessage(text);
        if (answers.isEmpty() && !answers.wait(5000))
            return QJsonObject{{Keys::cmd, QStringLiteral("<no answer>")}};
        const QJsonObject answer = QJsonDocument::fromJson(answers.first().at(0).toString().toUtf8()).object();
        return answer.value(Keys::cmd).toString() == cmd ? answer : QJsonObject{{Keys::cmd, QStringLiteral("<other answer>")}};
    };
    if (!ask(CMessageParser::authReq(QStringLiteral("admin"), password), Keys::authResp)
             .value(Keys::status).toBool())
        return {{Keys::cmd, QStringLiteral("<no login>")}};
    return ask(request, answerCmd);
}

// The server's own view: the DevEUIs it holds.
QStringList devicesOnServer(const QString& address)
{
    const QJsonObject list = askServer(address, CMessageParser::allDevicesReq(), Keys::getDevicesResp);
    if (list.value(Keys::cmd).toString() != Keys::getDevicesResp)
        return {list.value(Keys::cmd).toString()};
    QStringList devEuis;
    for (const QJsonValue& device : list.value(Keys::devicesList).toArray())
        devEuis << device.toObject().value(Keys::devEui).toString();
    return devEuis;
}

// The DevEUI of every block of the devices file, in file order; a block
// without its separator line is reported as such.
QStringList blocksInDevicesFile()
{
    QFile file(devicesFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList devEuis;
    QString open;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("DevEui:")))
            open = line.mid(7);
        else if (line == Keys::separator) {
            devEuis << open;
            open.clear();
        }
    }
    if (!open.isEmpty())
        devEuis << QStringLiteral("<unterminated %1>").arg(open);
    return devEuis;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void registerOneDeviceByHand();
    void autoModeRegistersEveryScanOnce();
    void deleteAddedLeavesOthersDevices();
    void secretsStayOutOfEveryLine();

private:
    DevServer::ServerProcess m_server{QStringLiteral(TESMAR_DEVSERVER_PATH)};
    std::unique_ptr<EndToEndRig> m_rig;
};

void TestEndToEnd::initTestCase()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(devicesFile);
    QVERIFY2(m_server.start({QStringLiteral("--max-devices"), QString::number(autoScans * 2),
                             QStringLiteral("--password"), password}),
             qPrintable(m_server.errorText()));
    m_rig = std::make_unique<EndToEndRig>();
    QVERIFY2(m_rig->isScannerOpen(), qPrintable(m_rig->errorText()));
}

void TestEndToEnd::registerOneDeviceByHand()
{
    QVERIFY(m_rig->logIn(m_server.address(), QStringLiteral("admin"), password));
    auto* add = m_rig->window()->findChild<QPushButton*>(QStringLiteral("addButton"));
    QVERIFY(add->isEnabled());
    QTRY_COMPARE(m_rig->totalCounterText(), QStringLiteral("0"));

    // The scan is looked up: not known yet.
    const QString devEui = devEuiOf(0xFFFF);
    QSignalSpy lookups(m_rig->parser(), &CMessageParser::infoDevicesResp);
    QVERIFY(m_rig->scan(EndToEndRig::scanCode(devEui, appEuiHex, appKeyHex)));
    QVERIFY(lookups.wait(5000));
    const CServerDataBox* box = m_rig->window()->workspace()->serverDataBox();
    QCOMPARE(box->valueText(CServerDataBox::DevEui),
             QStringLiteral("Данное устройство, еще не зарегистрировано на сервере"));
    QCOMPARE(m_rig->window()->findChild<QLineEdit*>(QStringLiteral("devEuiEdit"))->text(), devEui);

    // Add: the verdict, then the server's record and the new counts.
    lookups.clear();
    QSignalSpy verdicts(m_rig->parser(), &CMessageParser::mngDevRespSignal);
    m_rig->clickAdd();
    QVERIFY(verdicts.wait(5000));
    QCOMPARE(verdicts.first().at(0).toString(), Status::added);
    QCOMPARE(m_rig->verdictText(), addedText);
    QTRY_COMPARE(box->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
    QCOMPARE(box->valueText(CServerDataBox::DevEui), devEui);
    QTRY_COMPARE(m_rig->totalCounterText(), QStringLiteral("1"));
    QCOMPARE(m_rig->addedCounterText(), QStringLiteral("1"));
    QCOMPARE(blocksInDevicesFile(), QStringList{devEui});
    QCOMPARE(devicesOnServer(m_server.address()), QStringList{devEui});

    QSignalSpy removals(m_rig->parser(), &CMessageParser::deviceMbRemoved);
    m_rig->clickDeleteAddedDevices();
    QCOMPARE(m_rig->addedCounterText(), QStringLiteral("0"));
    QVERIFY(removals.wait(5000));
    QCOMPARE(devicesOnServer(m_server.address()), QStringList());
    QTRY_COMPARE(m_rig->totalCounterText(), QStringLiteral("0"));
}

void TestEndToEnd::autoModeRegistersEveryScanOnce()
{
    // A thousand registrations trace tens of thousands of lines.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const auto restoreTraces = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    QVERIFY(m_rig->client()->isReady());
    QFile::remove(devicesFile);   // the program appends; start this shift's file afresh
    m_rig->setAutoMode(true);
    QVERIFY(!m_rig->window()->findChild<QPushButton*>(QStringLiteral("addButton"))->isEnabled());

    // Each scan is written once the verdict on the one before has arrived,
    // as an operator scans the next device once the last one is shown.
    QStringList scanned;
    for (int i = 0; i < autoScans; ++i) {
        scanned << devEuiOf(i);
        const QString verdict = m_rig->scanAndWaitForVerdict(EndToEndRig::scanCode(scanned.last(), appEuiHex, appKeyHex));
        QVERIFY2(verdict == Status::added, qPrintable(QStringLiteral("scan %1: \"%2\"").arg(i).arg(verdict)));
    }
    QCOMPARE(m_rig->verdictText(), addedText);
    QCOMPARE(m_rig->addedCounterText(), QString::number(autoScans));
    QCOMPARE(blocksInDevicesFile(), scanned);
    QCOMPARE(devicesOnServer(m_server.address()), scanned);   // the server lists by DevEUI: scan order here
    QTRY_COMPARE(m_rig->totalCounterText(), QString::number(autoScans));

    QSignalSpy removals(m_rig->parser(), &CMessageParser::deviceMbRemoved);
    m_rig->clickDeleteAddedDevices();
    QVERIFY(removals.wait(10000));
    QCOMPARE(removals.first().at(0).toString(), Status::deleted);
    QCOMPARE(m_rig->addedCounterText(), QStringLiteral("0"));
    QCOMPARE(devicesOnServer(m_server.address()), QStringList());
}

// "Delete added devices" removes what this run added, also when it was
// registered again, and nothing that was on the server before.
void TestEndToEnd::deleteAddedLeavesOthersDevices()
{
    QVERIFY(m_rig->client()->isReady());
    m_rig->setAutoMode(true);
    // Put there by someone else, with what the form holds.
    const QString before = devEuiOf(0xB0);
    const CIAboutDevice* workspace = m_rig->window()->workspace();
    const CLoraDeviceInfo held =
        CIAboutDevice::completedRecord({before, appEuiHex, appKeyHex}, before, workspace->optionalSettings()->getSettings(),
                                       workspace->expertSettings()->getSettings());
    const QJsonObject answer =
        askServer(m_server.address(), CMessageParser::manageDevicesReq(held), Keys::manageDevicesResp);
    QCOMPARE(answer.value(Keys::deviceAddStatus).toArray().at(0).toObject().value(Keys::status).toString(),
             Status::added);

    QCOMPARE(m_rig->scanAndWaitForVerdict(EndToEndRig::scanCode(before, appEuiHex, appKeyHex)),
             Status::nothingToUpdate);
    const QString added = devEuiOf(0xB1);
    const QByteArray code = EndToEndRig::scanCode(added, appEuiHex, appKeyHex);
    QCOMPARE(m_rig->scanAndWaitForVerdict(code), Status::added);
    QCOMPARE(m_rig->scanAndWaitForVerdict(code), Status::nothingToUpdate);
    QCOMPARE(m_rig->addedCounterText(), QStringLiteral("1"));

    QSignalSpy removals(m_rig->parser(), &CMessageParser::deviceMbRemoved);
    m_rig->clickDeleteAddedDevices();
    QVERIFY(removals.wait(5000));
    QCOMPARE(devicesOnServer(m_server.address()), QStringList{before});

    // The server is left as the other tests expect it: empty.
    askServer(m_server.address(), CMessageParser::deleteDevicesReq({before}), Keys::deleteDevicesResp);
    QCOMPARE(devicesOnServer(m_server.address()), QStringList());
}

void TestEndToEnd::secretsStayOutOfEveryLine()
{
    CServerSettingsWidget* login = m_rig->window()->leftPanel()->serverSettings();
    auto* disconnect = login->findChild<QPushButton*>(QStringLiteral("disconnectButton"));
    auto* connect = login->findChild<QPushButton*>(QStringLiteral("connectButton"));
    const auto status = [login] { return login->findChild<QLabel*>(QStringLiteral("statusText"))->text(); };
    if (m_rig->client()->isReady()) {
        disconnect->click();   // ends the session of the tests before
        QTRY_COMPARE(status(), QStringLiteral("Offline:"));
    }

    // A whole session: login (credentials remembered), counts, a registration,
    // the device list, a logout and a second login.
    MessageCapture capture;
    const int logBefore = LogOutputWidget::instance()->plainText().size();
    QSignalSpy logins(m_rig->parser(), &CMessageParser::authMsgResp);
    login->findChild<QCheckBox*>(QStringLiteral("remembermeCheck"))->setChecked(true);
    QVERIFY(m_rig->logIn(m_server.address(), QStringLiteral("admin"), password));
    QTRY_COMPARE(m_rig->totalCounterText(), QStringLiteral("0"));
    m_rig->setAutoMode(true);
    QCOMPARE(m_rig->scanAndWaitForVerdict(EndToEndRig::scanCode(devEuiOf(0x5EC), appEuiHex, appKeyHex)),
             Status::added);
    QSignalSpy lists(m_rig->parser(), &CMessageParser::devicesList);
    auto* tabs = m_rig->window()->findChild<QTabWidget*>(QStringLiteral("tabs"));
    tabs->setCurrentIndex(1);
    QVERIFY(lists.wait(5000));
    tabs->setCurrentIndex(0);

    // Pressed twice before the answer: the server confirms the first logout
    // and refuses the second, which must not log the program back in.
    QSignalSpy answers(m_rig->client(), &QWebSocket::textMessageReceived);
    const auto logoutAnswers = [&answers] {
        return std::count_if(answers.begin(), answers.end(), [](const QList<QVariant>& arguments) {
            return arguments.at(0).toString().contains(Keys::closeAuthResp);
        });
    };
    disconnect->click();
    disconnect->click();
    QTRY_COMPARE(logoutAnswers(), 2);
    QCoreApplication::processEvents();   // their queued parse
    QCOMPARE(status(), QStringLiteral("Offline:"));
    QCOMPARE(m_rig->client()->clientState(), CServerClient::disconnected);
    QVERIFY(connect->isEnabled());
    QVERIFY(m_rig->logIn(m_server.address(), QStringLiteral("admin"), password));

    QStringList secrets{password};
    for (const QList<QVariant>& arguments : logins)
        secrets << arguments.at(0).value<CloraAuthResp>().token;
    secrets.removeDuplicates();
    QCOMPARE(secrets.size(), 3);   // the password and the two logins' tokens
    QStringList lines = capture.lines();
    lines += LogOutputWidget::instance()->plainText().mid(logBefore).split(QLatin1Char('\n'));
    QVERIFY(capture.contains(Keys::closeAuthReq));
    for (const QString& secret : secrets)
        QCOMPARE(lines.filter(secret), QStringList());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
