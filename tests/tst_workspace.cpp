// The registration workspace against the in-process fake server: scans,
// lookups, registration requests as the server receives them, verdicts.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "MessageCapture.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace PK = ProtocolKeys;

namespace {

const QString appEui = QStringLiteral("70B3D57ED0000001");
const QString appKey = QStringLiteral("00112233445566778899AABBCCDDEEFF");

CLoraDeviceInfo scanned(const QString& devEui, qint32 devAddress = 0)
{
    CLoraDeviceInfo info;
    info.devEui = devEui;
    info.appEui = appEui;
    info.appKey = appKey;
    info.devAddress = devAddress;
    return info;
}

QJsonObject serverDevice(const QString& devEui, const QString& name)
{
    return {{PK::devEui, devEui},
            {PK::devName, name},
            {PK::devClass, QStringLiteral("CLASS_A")},
            {PK::otaa, QJsonObject{{PK::appEui, appEui}, {PK::appKey, appKey}}},
            {PK::abp, QJsonObject{{PK::devAddress, 0x1A2B3C}}},
            {PK::serverAdrEnable, true}};
}

QJsonObject devicesResp(const QJsonArray& devices)
{
    return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}};
}

QJsonObject verdict(const QString& status, const QString& devEui)
{
    const QJsonObject entry{{PK::status, status}, {PK::devEui, devEui}};
    return {{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, QJsonArray{entry}}};
}

QString readDevicesFile()
{
    QFile file(currentDevicesFileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QGroupBox* groupBoxOf(QWidget* group)
{
    return group->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestWorkspace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Before the login
    void scanWithoutConnection();
    void invalidScan_data();
    void invalidScan();
    // The login reaches the Add button
    void loginEnablesAdd();
    // Lookups
    void knownDeviceShownAsRegistered();
    void unknownDeviceShowsNotice();
    void answersAboutOtherDevicesAreIgnored();
    // Registration requests
    void nameTemplates_data();
    void nameTemplates();
    void expertValuesCollapsed();
    void expertValuesExpanded();
    void onlyRxExpanded();
    void classCValues_data();
    void classCValues();
    void recordedBeforeTheVerdict();
    void verdictTexts_data();
    void verdictTexts();
    void autoModeRegistersValidScansOnly();
    // Last: the server goes away
    void hostErrorDisablesAdd();

private:
    template <typename T>
    T* child(const char* name) const
    {
        return m_ws->findChild<T*>(QString::fromLatin1(name));
    }
    QJsonObject registerAndCatch(const CLoraDeviceInfo& info);

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;
};

void TestWorkspace::initTestCase()
{
    QFile::remove(QStringLiteral("settings.cfg"));
    QFile::remove(QStringLiteral("Devices.txt"));
    CSettings::instance(qApp);
    CSettings::ensureDefaults();
    ScannedDevices::instance(qApp);
    FakeServer::connectClientToParser(CServerClient::instance(QStringLiteral("ws://"), qApp));
    CMessageParser::instance(qApp);
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    QVERIFY(m_server.start());
}

void TestWorkspace::init()
{
    m_server.clearMessages();
    m_ws = std::make_unique<CIAboutDevice>();
    // A workspace made after the login has missed the login answer.
    if (CServerClient::instance()->isReady()) {
        CloraAuthResp loggedIn;
        loggedIn.status = true;
        m_ws->statusCon(loggedIn);
    }
}

void TestWorkspace::cleanup()
{
    m_ws.reset();
}

void TestWorkspace::scanWithoutConnection()
{
    QSignalSpy resized(m_ws.get(), &CIAboutDevice::resizeWindow);
    child<QCheckBox>("autoModeCheck")->setChecked(true);

    m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0001001"), 0x1A2B));

    CServerDataBox* box = m_ws->serverDataBox();
    QCOMPARE(box->valueText(CServerDataBox::Status), QStringLiteral("Нет подлючения к серверу"));
    QVERIFY(box->isRed(CServerDataBox::Status));
    QVERIFY(!box->isHidden());
    QCOMPARE(resized.count(), 1);
    QCOMPARE(child<QLineEdit>("devAddrEdit")->text(), QStringLiteral("00001A2B"));
    QVERIFY(child<QLabel>("messageLabel")->isHidden());
    // Nothing registered, auto mode or not.
    QVERIFY(!QFile::exists(currentDevicesFileName));
    QCOMPARE(ScannedDevices::instance()->count(), 0);
}

void TestWorkspace::invalidScan_data()
{
    QTest::addColumn<QString>("devEui");
    QTest::addColumn<QString>("appEui");
    QTest::addColumn<QString>("appKey");
    QTest::newRow("no DevEUI") << QString() << appEui << appKey;
    QTest::newRow("no AppEUI") << QStringLiteral("70B3D57ED0001002") << QString() << appKey;
    QTest::newRow("no AppKey") << QStringLiteral("70B3D57ED0001002") << appEui << QString();
}

void TestWorkspace::invalidScan()
{
    QFETCH(QString, devEui);
    QFETCH(QString, appEui);
    QFETCH(QString, appKey);
    QSignalSpy resized(m_ws.get(), &CIAboutDevice::resizeWindow);

    CLoraDeviceInfo info;
    info.devEui = devEui;
    info.appEui = appEui;
    info.appKey = appKey;
    m_ws->scanDeviceInfo(info);

    auto* message = child<QLabel>("messageLabel");
    QVERIFY(!message->isHidden());
    QCOMPARE(message->text(), QStringLiteral("QR/Barcode reading error !!!"));
    for (const char* edit : {"devEuiEdit", "appEuiEdit", "appKeyEdit", "devAddrEdit",
                             "appsKeyEdit", "nwksKeyEdit"})
        QCOMPARE(child<QLineEdit>(edit)->text(), QStringLiteral("Invalid QR/Barcode"));
    CServerDataBox* box = m_ws->serverDataBox();
    QVERIFY(!box->isHidden());
    QCOMPARE(box->valueText(CServerDataBox::DevEui), QStringLiteral("Invalid QR/Barcode"));
    QVERIFY(box->isRed(CServerDataBox::DevEui));
    QVERIFY(child<QLabel>("serverDevEuiLabel")->wordWrap());
    QVERIFY(!box->isRowShown(CServerDataBox::AppKey));
    QCOMPARE(resized.count(), 1);
}

void TestWorkspace::loginEnablesAdd()
{
    auto* add = child<QPushButton>("addButton");
    auto* autoMode = child<QCheckBox>("autoModeCheck");
    QVERIFY(!add->isEnabled());
    autoMode->setChecked(true);
    autoMode->setChecked(false);
    QVERIFY2(!add->isEnabled(), "leaving auto mode must not enable Add without a login");

    QVERIFY(m_server.loginClient(CServerClient::instance()));
    QTRY_VERIFY(add->isEnabled());
    autoMode->setChecked(true);
    QVERIFY(!add->isEnabled());
    autoMode->setChecked(false);
    QVERIFY(add->isEnabled());
}

void TestWorkspace::knownDeviceShownAsRegistered()
{
    const QString devEui = QStringLiteral("70B3D57ED0002001");
    m_ws->scanDeviceInfo(scanned(devEui));

    const QJsonObject lookup = m_server.waitForMessage(PK::getDevicesReq);
    QCOMPARE(lookup.value(PK::select).toObject().value(PK::devEuiList).toArray(),
             QJsonArray{devEui});

    m_server.send(devicesResp({serverDevice(devEui, QStringLiteral("Boiler room"))}));
    CServerDataBox* box = m_ws->serverDataBox();
    QTRY_COMPARE(box->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
    QVERIFY(!box->isHidden());
    QCOMPARE(box->valueText(CServerDataBox::DevAddr), QStringLiteral("001A2B3C"));
    QCOMPARE(box->valueText(CServerDataBox::DevName), QStringLiteral("Boiler room"));
    QCOMPARE(box->valueText(CServerDataBox::ServerAdr), QStringLiteral("true"));
    QVERIFY(box->isRowShown(CServerDataBox::AppKey));
    QVERIFY(box->isRowShown(CServerDataBox::Altitude));   // numeric rows always have text
    QVERIFY(!box->isRowShown(CServerDataBox::AppsKey));   // the server has none
    QCOMPARE(m_ws->deviceInfo().devName, QStringLiteral("Boiler room"));
}

void TestWorkspace::unknownDeviceShowsNotice()
{
    m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0002002")));
    QCOMPARE(child<QLineEdit>("devAddrEdit")->text(), QStringLiteral("empty devaddr"));
    QVERIFY(!m_server.waitForMessage(PK::getDevicesReq).isEmpty());

    m_server.send(devicesResp({}));
    CServerDataBox* box = m_ws->serverDataBox();
    QTRY_COMPARE(box->valueText(CServerDataBox::DevEui),
                 QStringLiteral("Данное устройство, еще не зарегистрировано на сервере"));
    QVERIFY(box->isRed(CServerDataBox::DevEui));
    QVERIFY(!box->isHidden());
    QVERIFY(!box->isRowShown(CServerDataBox::Status));
}

void TestWorkspace::answersAboutOtherDevicesAreIgnored()
{
    QSignalSpy answers(CMessageParser::instance(), &CMessageParser::infoDevicesResp);
    // Scanned in lower case; the server answers in upper case.
    m_ws->scanDeviceInfo(scanned(QStringLiteral("70b3d57ed000aaaa")));
    CServerDataBox* box = m_ws->serverDataBox();

    // A list whose last device is another one (as the table's full list can be).
    m_server.send(devicesResp({serverDevice(QStringLiteral("70B3D57ED000BBBB"), QStringLiteral("Other"))}));
    QTRY_COMPARE(answers.count(), 1);
    QCOMPARE(m_ws->deviceInfo().devEui, QStringLiteral("70b3d57ed000aaaa"));
    QVERIFY(m_ws->deviceInfo().devName.isEmpty());
    QVERIFY(!box->isRowShown(CServerDataBox::DevName));
    QVERIFY(box->valueText(CServerDataBox::Status).isEmpty());

    m_server.send(devicesResp({serverDevice(QStringLiteral("70B3D57ED000BBBB"), QStringLiteral("Other")),
                               serverDevice(QStringLiteral("70B3D57ED000AAAA"), QStringLiteral("Mine"))}));
    QTRY_COMPARE(answers.count(), 2);
    QCOMPARE(m_ws->deviceInfo().devName, QStringLiteral("Mine"));
    QCOMPARE(box->valueText(CServerDataBox::DevName), QStringLiteral("Mine"));
    QCOMPARE(box->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
}

QJsonObject TestWorkspace::registerAndCatch(const CLoraDeviceInfo& info)
{
    m_ws->scanDeviceInfo(info);
    auto* add = child<QPushButton>("addButton");
    if (!add->isEnabled())
        return {};
    QTest::mouseClick(add, Qt::LeftButton);
    const QJsonObject request = m_server.waitForMessage(PK::manageDevicesReq);
    return request.value(PK::devicesList).toArray().at(0).toObject();
}

void TestWorkspace::nameTemplates_data()
{
    const QString devEui = QStringLiteral("70B3D57ED0003001");
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("missingTemplates");
    QTest::newRow("default") << QStringLiteral("%deveui") << devEui << 1;
    QTest::newRow("eui and date") << QStringLiteral("%deveui_%date") << devEui + '_' + today << 0;
    QTest::newRow("text around, twice")
        << QStringLiteral("a%deveui-b-%date-%deveui c") << "a" + devEui + "-b-" + today + "-" + devEui + " c" << 0;
    QTest::newRow("plain") << QStringLiteral("Boiler") << QStringLiteral("Boiler") << 2;
}

void TestWorkspace::nameTemplates()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QFETCH(int, missingTemplates);
    child<QLineEdit>("nameEdit")->setText(name);

    MessageCapture log;
    const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0003001")));
    QCOMPARE(device.value(PK::devName).toString(), expected);
    QCOMPARE(log.count(QStringLiteral("NO %deveui")) + log.count(QStringLiteral("NO %date")),
             missingTemplates);
}

void TestWorkspace::expertValuesCollapsed()
{
    const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0004001")));
    QVERIFY(!device.isEmpty());
    for (const QString& key : {PK::preferDr, PK::preferPower, PK::rxWindow, PK::delayRx1, PK::drRx2,
                               PK::delayJoin1, PK::position, PK::reactionTime})
        QVERIFY2(!device.contains(key), qPrintable(key));
    QCOMPARE(device.value(PK::devClass).toString(), QStringLiteral("CLASS_A"));
    QCOMPARE(device.value(PK::freqRx2).toInt(), 869525000);
    QCOMPARE(device.value(PK::frequencyPlan).toObject().value(PK::freq4).toInt(), 867100000);
    const QJsonObject mask = device.value(PK::channelMask).toObject();
    for (int channel = 1; channel <= 16; ++channel)
        QCOMPARE(mask.value(PK::channelEn(channel)).toBool(), channel <= 8);
    QCOMPARE(device.value(PK::otaa).toObject().value(PK::appKey).toString(), appKey);
}

void TestWorkspace::expertValuesExpanded()
{
    m_ws->expertSettings()->expandAll();
    QTest::keyClicks(child<QLineEdit>("latitudeEdit"), QStringLiteral("95.5"));
    QTest::keyClicks(child<QLineEdit>("longitudeEdit"), QStringLiteral("37.6"));
    QTest::keyClicks(child<QLineEdit>("altitudeEdit"), QStringLiteral("150"));
    // Channel 2 off is sent whatever the frequency-plan group's state.
    child<QCheckBox>("channelCheck2")->setChecked(false);

    const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0004002")));
    QCOMPARE(device.value(PK::serverAdrEnable).toBool(), true);
    QCOMPARE(device.value(PK::preferDr).toDouble(), 5.0);
    QCOMPARE(device.value(PK::preferPower).toDouble(), 14.0);
    QCOMPARE(device.value(PK::rxWindow).toInt(), 1);
    QCOMPARE(device.value(PK::delayRx1).toInt(), 1);
    QCOMPARE(device.value(PK::drRx2).toInt(), 0);
    QCOMPARE(device.value(PK::delayJoin1).toInt(), 5);
    const QJsonObject position = device.value(PK::position).toObject();
    QCOMPARE(position.value(PK::latitude).toDouble(), 90.0);
    QCOMPARE(position.value(PK::longitude).toDouble(), double(37.6f));
    QCOMPARE(position.value(PK::altitude).toInt(), 150);
    QCOMPARE(device.value(PK::channelMask).toObject().value(PK::channelEn(2)).toBool(), false);
}

void TestWorkspace::onlyRxExpanded()
{
    m_ws->expertSettings()->rxGroup()->expand();
    const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0004003")));
    QCOMPARE(device.value(PK::rxWindow).toInt(), 1);
    QCOMPARE(device.value(PK::delayJoin1).toInt(), 5);
    QVERIFY(!device.contains(PK::preferDr));
    QVERIFY(!device.contains(PK::preferPower));
    QVERIFY(!device.contains(PK::position));
}

void TestWorkspace::classCValues_data()
{
    QTest::addColumn<int>("classIndex");
    QTest::addColumn<bool>("expandClassC");
    QTest::addColumn<int>("reactionTime");   // -1: not sent
    QTest::newRow("class C, group open") << 1 << true << 2500;
    QTest::newRow("class C, group closed") << 1 << false << -1;
    QTest::newRow("class A, group open") << 0 << true << -1;
}

void TestWorkspace::classCValues()
{
    QFETCH(int, classIndex);
    QFETCH(bool, expandClassC);
    QFETCH(int, reactionTime);

    COptionalSettingsField* optional = m_ws->optionalSettings();
    child<QComboBox>("classList")->setCurrentIndex(1);
    if (expandClassC)
        optional->classCGroup()->expand();
    child<QLineEdit>("reactionTimeEdit")->setText(QStringLiteral("2500"));
    child<QComboBox>("classList")->setCurrentIndex(classIndex);

    const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0005001")));
    QCOMPARE(device.value(PK::devClass).toString(),
             classIndex == 1 ? QStringLiteral("CLASS_C") : QStringLiteral("CLASS_A"));
    QCOMPARE(device.contains(PK::reactionTime), reactionTime >= 0);
    if (reactionTime >= 0)
        QCOMPARE(device.value(PK::reactionTime).toInt(), reactionTime);
    QCOMPARE(m_ws->deviceInfo().foundMarker, reactionTime >= 0 ? 0 : -1);
}

void TestWorkspace::recordedBeforeTheVerdict()
{
    const QString devEui = QStringLiteral("70B3D57ED0006001");
    const QJsonObject device = registerAndCatch(scanned(devEui));
    QVERIFY(!device.isEmpty());

    // The request is out, no answer yet: file and record already hold the device.
    QVERIFY(readDevicesFile().contains(QStringLiteral("DevEui:") + devEui + '\n'));
    QVERIFY(ScannedDevices::instance()->deviceEuis().contains(devEui));
    QCOMPARE(ScannedDevices::instance()->deviceState(devEui), 0);

    m_server.send(verdict(PK::Status::invalidDevEui, devEui));
    QTRY_COMPARE(child<QLabel>("messageLabel")->text(), QStringLiteral("Invalid size of device EUI"));
    QVERIFY(readDevicesFile().contains(QStringLiteral("DevEui:") + devEui + '\n'));
}

void TestWorkspace::verdictTexts_data()
{
    namespace S = PK::Status;
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("text");   // empty: the previous text stays
    const QList<QPair<QString, QString>> rows = {
        {S::repetitionDevAddr, "Device is already registered on server"},
        {S::invalidDevEui, "Invalid size of device EUI"},
        {S::invalidAbpParamList, "Invalid mandatory parameters list for “ABP” section"},
        {S::invalidDevAddrValue, "Invalid “devAddress” value"},
        {S::invalidSessionKeyValue, "Invaliud size of “appsKey” or/and “nwksKey”"},
        {S::invalidOtaaParamList, "Invalid mandatory parameters list for “OTAA” section"},
        {S::invalidAppKeyValue, "Invalid size of “appKey”"},
        {S::noRegisterKeys, "Device is not exist yet and packet doesn’t contain registration information"},
        {S::abpReginfoAlreadyExist, "ABP activation information for corresponding device is already existed on server"},
        {S::reginfoAlreadyExist, "Registration information for corresponding device is already existed on server"},
        {S::maxDevCountReached, "Maximum device count limitation has reached"},
        {S::added, "Device is not existed on server before and is registered with corresponding registration information"},
        {S::updated, "Some parameters are updated for corresponding device"},
        {S::updateViaMacBuffer, "Received parameters should be updated via MAC commands and ones couldn’t be applied"},
        {S::emptyDataForUpdate, "Не было описания ошибки emptyDataForUpdate"},
        {S::invalidPower, "Invalid value for “preferPower” parameter"},
        {S::invalidChannelMaskParamList, "Invalid mandatory parameters list in section “channelMask”"},
        {S::frequencyPlanIsAbsant, ""}, {S::invalidFrequencyPlan, ""}, {S::invalidClass, ""},
        {S::unsupportClass, ""}, {S::invalidRxWindow, ""}, {S::invalidDataRate, ""},
        {S::invalidDelay, ""}, {QStringLiteral("somethingNew"), ""},
    };
    for (const auto& row : rows)
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void TestWorkspace::verdictTexts()
{
    QFETCH(QString, status);
    QFETCH(QString, text);
    const QString before = QStringLiteral("Changes from existing device parameters is not detected");
    QSignalSpy statuses(CMessageParser::instance(), &CMessageParser::mngDevRespSignal);
    auto* message = child<QLabel>("messageLabel");

    m_server.send(verdict(PK::Status::nothingToUpdate, QStringLiteral("70B3D57ED0007001")));
    QTRY_COMPARE(message->text(), before);
    m_server.send(verdict(status, QStringLiteral("70B3D57ED0007001")));
    QTRY_COMPARE(statuses.count(), 2);
    QCOMPARE(message->text(), text.isEmpty() ? before : text);
    QVERIFY(!message->isHidden());
}

void TestWorkspace::autoModeRegistersValidScansOnly()
{
    auto* autoMode = child<QCheckBox>("autoModeCheck");
    autoMode->setChecked(true);
    QVERIFY(!child<QPushButton>("addButton")->isEnabled());

    CLoraDeviceInfo invalid = scanned(QStringLiteral("70B3D57ED0008001"));
    invalid.appKey.clear();
    m_ws->scanDeviceInfo(invalid);
    m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0008002")));

    // The only registration is the valid scan's, and it came without a click.
    const QJsonObject request = m_server.waitForMessage(PK::manageDevicesReq);
    QCOMPARE(request.value(PK::devicesList).toArray().at(0).toObject().value(PK::devEui).toString(),
             QStringLiteral("70B3D57ED0008002"));
    QCOMPARE(m_server.received(PK::manageDevicesReq).size(), 1);
    QCOMPARE(m_server.received(PK::getDevicesReq).size(), 1);
    QVERIFY(!ScannedDevices::instance()->deviceEuis().contains(QStringLiteral("70B3D57ED0008001")));
}

void TestWorkspace::hostErrorDisablesAdd()
{
    auto* add = child<QPushButton>("addButton");
    QVERIFY(add->isEnabled());
    m_server.closeClient();
    QTRY_VERIFY(!add->isEnabled());
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
