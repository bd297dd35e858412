// The registration workspace against the in-process fake server.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {

CLoraDeviceInfo scanned(const QString& devEui, qint32 devAddress = 0)
{
    return {devEui, QStringLiteral("70B3D57ED0000001"), QStringLiteral("00112233445566778899AABBCCDDEEFF"), devAddress};
}

QJsonObject devicesResp(const QJsonArray& devices) { return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}}; }

QJsonObject serverDevice(const QString& devEui, const QString& name)
{
    return {{PK::devEui, devEui}, {PK::devName, name}, {PK::abp, QJsonObject{{PK::devAddress, 0x1A2B3C}}},
            {PK::serverAdrEnable, true}};
}

QJsonObject verdict(const QString& status, const QString& devEui = QStringLiteral("70B3D57ED0007001"))
{
    const QJsonObject entry{{PK::status, status}, {PK::devEui, devEui}};
    return {{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, QJsonArray{entry}}};
}

} // namespace

class TestWorkspace : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;

    template <typename T>
    T* child(const char* name) const { return TestHelpers::child<T>(m_ws.get(), name); }
    CServerDataBox* box() const { return m_ws->serverDataBox(); }
    QJsonObject sentDevice()
    {
        return m_server.waitForMessage(PK::manageDevicesReq).value(PK::devicesList).toArray().at(0).toObject();
    }
    QJsonObject registerAndCatch(const CLoraDeviceInfo& info)
    {
        m_ws->scanDeviceInfo(info);
        QTest::mouseClick(child<QPushButton>("addButton"), Qt::LeftButton);
        return sentDevice();
    }

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // Every test but the first works logged in.
    void init()
    {
        m_ws = std::make_unique<CIAboutDevice>();
        if (QTest::currentTestFunction() != QLatin1String("nothingRegisteredBeforeLogin")) {
            QVERIFY(m_server.loginClient(CServerClient::instance()));
            m_ws->statusCon({true});   // made after the login, it missed the answer
        }
        m_server.clearMessages();
    }
    void cleanup() { m_ws.reset(); }

    // Nothing may be recorded as registered (auto mode or a direct call); Add waits for the login.
    void nothingRegisteredBeforeLogin()
    {
        child<QCheckBox>("autoModeCheck")->setChecked(true);
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0001001"), 0x1A2B));
        QCOMPARE(box()->valueText(CServerDataBox::Status), QStringLiteral("Нет подлючения к серверу"));
        QVERIFY(box()->isRed(CServerDataBox::Status));
        m_ws->sendInfoToTheNextStage();
        QCOMPARE(QFile::exists(currentDevicesFileName), false);
        QCOMPARE(ScannedDevices::instance()->count(), 0);
        child<QCheckBox>("autoModeCheck")->setChecked(false);
        QCOMPARE(child<QPushButton>("addButton")->isEnabled(), false);
        QVERIFY(m_server.loginClient(CServerClient::instance()));
        QTRY_VERIFY(child<QPushButton>("addButton")->isEnabled());
    }

    // Only the scanned device's record, found in any letter case, is taken over.
    void lookupAdoptsOnlyTheScannedDevice()
    {
        const QString devEui = QStringLiteral("70b3d57ed0002001");   // the server answers in upper case
        m_ws->scanDeviceInfo(scanned(devEui));
        QCOMPARE(m_server.waitForMessage(PK::getDevicesReq).value(PK::select).toObject().value(PK::devEuiList),
                 QJsonValue(QJsonArray{devEui}));
        // A list whose last device is another one (as the table's full list can be) is not about this scan.
        const QJsonObject other = serverDevice(QStringLiteral("70B3D57ED000BBBB"), QStringLiteral("Other"));
        QSignalSpy answers(CMessageParser::instance(), &CMessageParser::infoDevicesResp);
        m_server.send(devicesResp({other}));
        QTRY_COMPARE(answers.count(), 1);
        QCOMPARE(m_ws->deviceInfo().devName, QString());
        QCOMPARE(box()->isRowShown(CServerDataBox::DevName), false);

        m_server.send(devicesResp({other, serverDevice(devEui.toUpper(), QStringLiteral("Boiler room"))}));
        QTRY_COMPARE(box()->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
        QCOMPARE(box()->valueText(CServerDataBox::DevAddr), QStringLiteral("001A2B3C"));
        QCOMPARE(m_ws->deviceInfo().devName, QStringLiteral("Boiler room"));
    }

    // Texts from the server show as typed: markup in them is neither rendered nor loaded.
    void serverTextsShownVerbatim()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("big.png"));
        QVERIFY(QImage(600, 600, QImage::Format_RGB32).save(picture));
        const QString name = QStringLiteral("<img src=\"file://%1\">").arg(picture);
        const QString devClass = QStringLiteral("<b style=\"color:red\">maxDevCountReached</b>");
        const QString devEui = QStringLiteral("70B3D57ED0002101");
        m_ws->scanDeviceInfo(scanned(devEui));
        QJsonObject device = serverDevice(devEui, name);
        device.insert(PK::devClass, devClass);
        m_server.send(devicesResp({device}));
        QTRY_COMPARE(box()->valueText(CServerDataBox::DevName), name);
        QCOMPARE(box()->valueText(CServerDataBox::DevClass), devClass);
        int checked = 0;
        for (const QLabel* value : box()->findChildren<QLabel*>()) {
            if (value->text() != name && value->text() != devClass)
                continue;
            ++checked;
            // Room for every character typed, and a single line: no picture.
            const QFontMetrics metrics = value->fontMetrics();
            QVERIFY2(value->sizeHint().width() >= metrics.horizontalAdvance(value->text()), qPrintable(value->text()));
            QVERIFY2(value->sizeHint().height() < 2 * metrics.height(), qPrintable(value->text()));
        }
        QCOMPARE(checked, 2);
    }

    // The request carries the form: the name templates expanded, the groups
    // collapsed left out, coordinates south and west of the zero lines as typed.
    void requestFromTheForm_data()
    {
        const QString devEui = QStringLiteral("70B3D57ED0003001");
        const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        QJsonObject expert{{PK::rxWindow, 1}, {PK::delayRx1, 1}, {PK::drRx2, 0}, {PK::delayJoin1, 5}};
        expert.insert(PK::preferDr, 5.0);
        expert.insert(PK::preferPower, 14.0);
        expert.insert(PK::position, QJsonObject{{PK::latitude, double(-33.87f)}, {PK::longitude, double(-151.21f)},
                                                {PK::altitude, 150}});   // in single precision
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<QString>("sentName");
        QTest::addColumn<QJsonObject>("sent");       // members of the device object; else absent
        QTest::newRow("templates, groups collapsed")
            << "a%deveui-%date-%deveui c" << false << "a" + devEui + "-" + today + "-" + devEui + " c" << QJsonObject();
        QTest::newRow("plain name, groups expanded") << "Boiler" << true << "Boiler" << expert;
    }

    void requestFromTheForm()
    {
        QFETCH(bool, expanded);
        QFETCH(QJsonObject, sent);
        QFETCH(QString, name);
        child<QLineEdit>("nameEdit")->setText(name);
        if (expanded) {
            m_ws->expertSettings()->expandAll();
            QTest::keyClicks(child<QLineEdit>("latitudeEdit"), QStringLiteral("-33.87"));
            QTest::keyClicks(child<QLineEdit>("longitudeEdit"), QStringLiteral("-151.21"));
            QTest::keyClicks(child<QLineEdit>("altitudeEdit"), QStringLiteral("150"));
        }
        child<QCheckBox>("channelCheck2")->setChecked(false);   // sent although the plan group is collapsed
        const QJsonObject device = registerAndCatch(scanned(QStringLiteral("70B3D57ED0003001")));
        QTEST(device.value(PK::devName).toString(), "sentName");
        for (const QString& key : {PK::rxWindow, PK::delayRx1, PK::drRx2, PK::delayJoin1, PK::preferDr,
                                   PK::preferPower, PK::position, PK::reactionTime})
            QCOMPARE(device.value(key), sent.value(key));
        QCOMPARE(device.value(PK::frequencyPlan).toObject().value(PK::freq4).toInt(), 867100000);
        const QJsonObject mask = device.value(PK::channelMask).toObject();
        for (int channel = 1; channel <= 16; ++channel)
            QCOMPARE(mask.value(PK::channelEn(channel)).toBool(), channel <= 8 && channel != 2);
    }

    // A box about the devices file lets answers and scans in; the registration
    // still sends, and records, the device and form it was started with.
    void registrationKeepsItsDevice_data()
    {
        QTest::addColumn<bool>("nextScan");   // else the server's copy of the device
        QTest::newRow("lookup answer during the box") << false;
        QTest::newRow("next scan during the box") << true;
    }

    void registrationKeepsItsDevice()
    {
        QFETCH(bool, nextScan);
        const QString devEui = QStringLiteral("70B3D57ED0005001");
        const QString next = QStringLiteral("70B3D57ED0005002");
        QVERIFY(QDir().mkpath(QStringLiteral("blocked")));
        currentDevicesFileName = QStringLiteral("blocked");   // a directory: the box
        const auto restore = qScopeGuard([] {
            currentDevicesFileName = QStringLiteral("Devices.txt");
            QDir().rmdir(QStringLiteral("blocked"));
        });
        child<QLineEdit>("nameEdit")->setText(QStringLiteral("%deveui"));
        m_ws->scanDeviceInfo(scanned(devEui));

        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok, [&](QMessageBox*) {
            CLoraDeviceInfo held = scanned(devEui, 0x1A2B);
            held.devName = QStringLiteral("Server copy");
            held.foundMarker = 1;
            nextScan ? m_ws->scanDeviceInfo(scanned(next)) : m_ws->changeDevInfo(held);
        });
        QTest::mouseClick(child<QPushButton>("addButton"), Qt::LeftButton);
        QCOMPARE(boxes.answered(), 1);
        const QJsonObject device = sentDevice();
        QCOMPARE(device.value(PK::devEui).toString(), devEui);
        QCOMPARE(device.value(PK::devName).toString(), devEui);
        QCOMPARE(ScannedDevices::instance()->deviceEuis().contains(next), false);
    }

    void verdictTexts_data()
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

    // Shown in full in a label sized beforehand for every verdict.
    void verdictTexts()
    {
        QFETCH(QString, status);
        QFETCH(QString, text);
        const QString before = QStringLiteral("Changes from existing device parameters is not detected");
        QSignalSpy statuses(CMessageParser::instance(), &CMessageParser::mngDevRespSignal);
        auto* message = child<QLabel>("messageLabel");
        m_server.send(verdict(PK::Status::nothingToUpdate));
        QVERIFY(statuses.wait());
        QCOMPARE(message->text(), before);
        m_server.send(verdict(status));
        QVERIFY(statuses.wait());
        QCOMPARE(message->text(), text.isEmpty() ? before : text);
        QCOMPARE(message->isHidden(), false);
        const QRect room(0, 0, message->width(), 10000);
        const int needed = message->fontMetrics().boundingRect(room, Qt::TextWordWrap, message->text()).height();
        QVERIFY2(needed <= message->height(), qPrintable(QStringLiteral("%1 > %2").arg(needed).arg(message->height())));
    }

    // The form keeps its place while the message line comes and goes.
    void formStaysPutThroughScanAndVerdict()
    {
        m_ws->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ws.get()));
        auto* devEuiEdit = child<QLineEdit>("devEuiEdit");
        const auto editPlace = [&] { QApplication::processEvents(); return devEuiEdit->mapTo(m_ws.get(), QPoint()); };
        const QPoint start = editPlace();
        m_server.send(verdict(PK::Status::nothingToUpdate));
        QTRY_COMPARE(child<QLabel>("messageLabel")->isHidden(), false);
        QCOMPARE(editPlace(), start);
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0007101")));
        QCOMPARE(child<QLabel>("messageLabel")->isHidden(), true);
        QCOMPARE(editPlace(), start);
    }

    // An invalid scan is shown as such and never registered, not even in auto mode.
    void autoModeRegistersValidScansOnly()
    {
        QVERIFY(m_server.flush(CServerClient::instance()));   // what the tests before left in flight
        m_server.clearMessages();
        child<QCheckBox>("autoModeCheck")->setChecked(true);
        QCOMPARE(child<QPushButton>("addButton")->isEnabled(), false);
        CLoraDeviceInfo invalid = scanned(QStringLiteral("70B3D57ED0008001"));
        invalid.appKey.clear();
        m_ws->scanDeviceInfo(invalid);
        QCOMPARE(child<QLabel>("messageLabel")->text(), QStringLiteral("QR/Barcode reading error !!!"));
        QCOMPARE(child<QLabel>("serverDevEuiLabel")->wordWrap(), true);   // the red notice wraps
        m_ws->scanDeviceInfo(scanned(QString()));   // no DevEUI
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0008002")));
        // The only registration is the valid scan's, and it came without a click.
        QCOMPARE(sentDevice().value(PK::devEui).toString(), QStringLiteral("70B3D57ED0008002"));
        QCOMPARE(m_server.received(PK::manageDevicesReq).size(), 1);
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 1);
        QCOMPARE(ScannedDevices::instance()->deviceEuis().contains(QStringLiteral("70B3D57ED0008001")), false);
    }
};

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
