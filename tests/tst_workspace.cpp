// The registration workspace, logged in to the in-process fake server.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"
#include "StatusTexts.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {

CLoraDeviceInfo scanned(const QString& devEui)
{
    return {devEui, QStringLiteral("70B3D57ED0000001"), QStringLiteral("00112233445566778899AABBCCDDEEFF")};
}

QJsonObject devicesResp(const QJsonArray& devices)
{
    return {{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}};
}

QJsonObject verdict(const QString& status)
{
    const QJsonObject entry{{PK::status, status}, {PK::devEui, QStringLiteral("70B3D57ED0007001")}};
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
        return m_server.waitForMessage(PK::manageDevicesReq).value(PK::devicesList)[0].toObject();
    }

private slots:
    void initTestCase()
    {
        TestHelpers::startProgramObjects();
        QVERIFY(m_server.loginClient(CServerClient::instance()));
    }

    void init()
    {
        m_ws = std::make_unique<CIAboutDevice>();
        m_ws->statusCon({true});   // made after the login, it missed the answer
        QVERIFY(m_server.flush(CServerClient::instance()));   // what the tests before left in flight
        m_server.clearMessages();
    }
    void cleanup() { m_ws.reset(); }

    // Only the scanned device's record, found in any letter case, is taken over, and
    // its texts show as typed: markup in them is neither rendered nor loaded.
    void lookupAdoptsOnlyTheScannedDevice()
    {
        const QString devEui = QStringLiteral("70b3d57ed0002001");   // the server answers in upper case
        m_ws->scanDeviceInfo(scanned(devEui));
        // A list whose last device is another one (the table's full list) is not about this scan.
        const QJsonObject other{{PK::devEui, QStringLiteral("70B3D57ED000BBBB")}, {PK::devName, "Other"}};
        QSignalSpy answers(CMessageParser::instance(), &CMessageParser::infoDevicesResp);
        m_server.send(devicesResp({other}));
        QTRY_COMPARE(answers.count(), 1);
        QCOMPARE(m_ws->deviceInfo().devName, QString());

        // Every value of the box is set up alike: the name stands for them all.
        const QString name = QStringLiteral("<img src=\"file:///nowhere/big.png\">");
        m_server.send(devicesResp({other, QJsonObject{{PK::devEui, devEui.toUpper()}, {PK::devName, name}}}));
        QTRY_COMPARE(box()->valueText(CServerDataBox::Status), QStringLiteral("Зарегистрировано"));
        QCOMPARE(box()->valueText(CServerDataBox::DevName), name);
        // Room for every character typed, and a single line: no picture.
        for (const QLabel* value : box()->findChildren<QLabel*>()) {
            if (value->text() != name)
                continue;   // the DevName value, just compared, is among them
            const QFontMetrics font = value->fontMetrics();
            const QSize hint = value->sizeHint();
            QVERIFY2(hint.width() >= font.horizontalAdvance(name), qPrintable(QString::number(hint.width())));
            QVERIFY2(hint.height() < 2 * font.height(), qPrintable(QString::number(hint.height())));
        }
    }

    // The request carries the device and form Add found, though a box about the devices
    // file lets answers and scans in meanwhile (and the record gets that device): the
    // channels of the plan group although it is collapsed, the expert groups only when
    // open (-1: not given), coordinates as typed, name templates expanded for the device.
    void requestFromTheForm_data()
    {
        QTest::addColumn<bool>("expanded");   // with the next scan during the box, else the server's copy
        QTest::newRow("groups collapsed, lookup answer during the box") << false;
        QTest::newRow("groups open, south and west, next scan during the box") << true;
    }

    void requestFromTheForm()
    {
        QFETCH(bool, expanded);
        const QString devEui = QStringLiteral("70B3D57ED0005001");
        const QString next = QStringLiteral("70B3D57ED0005002");
        const QTemporaryDir blocked;
        currentDevicesFileName = blocked.path();   // a directory: the box
        const auto restore = qScopeGuard([] { currentDevicesFileName = QStringLiteral("Devices.txt"); });
        child<QLineEdit>("nameEdit")->setText(QStringLiteral("a%deveui-%date-%deveui c"));
        child<QCheckBox>("channelCheck2")->setChecked(false);
        if (expanded) {
            m_ws->expertSettings()->expandAll();
            QTest::keyClicks(child<QLineEdit>("latitudeEdit"), QStringLiteral("-33.87"));
            QTest::keyClicks(child<QLineEdit>("longitudeEdit"), QStringLiteral("-151.21"));
        }
        m_ws->scanDeviceInfo(scanned(devEui));
        CLoraDeviceInfo held = scanned(devEui);   // the server's copy: no name, no settings
        held.foundMarker = 1;
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok, [&](QMessageBox*) {
            expanded ? m_ws->scanDeviceInfo(scanned(next)) : m_ws->changeDevInfo(held);
        });
        QTest::mouseClick(child<QPushButton>("addButton"), Qt::LeftButton);
        QCOMPARE(boxes.answered(), 1);
        const QJsonObject device = sentDevice();
        QCOMPARE(device.value(PK::devEui).toString(), devEui);
        const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        QCOMPARE(device.value(PK::devName).toString(), "a" + devEui + "-" + today + "-" + devEui + " c");
        QCOMPARE(ScannedDevices::instance()->deviceEuis().contains(next), false);
        for (const QString& key : {PK::rxWindow, PK::delayRx1, PK::drRx2, PK::delayJoin1, PK::preferDr,
                                   PK::preferPower, PK::position})
            QVERIFY2(device.contains(key) == expanded, qPrintable(key));
        const QJsonObject position = device.value(PK::position).toObject();
        // In single precision.
        QCOMPARE(position.value(PK::latitude).toDouble(), expanded ? double(-33.87f) : 0.0);
        QCOMPARE(position.value(PK::longitude).toDouble(), expanded ? double(-151.21f) : 0.0);
        const QJsonObject mask = device.value(PK::channelMask).toObject();
        for (int channel = 1; channel <= 16; ++channel)
            QCOMPARE(mask.value(PK::channelEn(channel)).toBool(), channel <= 8 && channel != 2);
    }

    // Every status word with a text; the words without one: addHidesTheVerdictBefore.
    void verdictTexts_data()
    {
        QTest::addColumn<QString>("status");
        QStringList withText = StatusTexts::all().keys();
        withText.sort();
        for (const QString& status : withText)
            QTest::newRow(qPrintable(status)) << status;
    }

    // Shown in full in a label sized beforehand for every verdict: the form
    // under it keeps its place while the label comes and goes.
    void verdictTexts()
    {
        QFETCH(QString, status);
        m_ws->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ws.get()));
        const QLineEdit* form = child<QLineEdit>("devEuiEdit");
        const QPoint start = form->mapTo(m_ws.get(), QPoint());   // no verdict yet: the label hidden
        QSignalSpy statuses(CMessageParser::instance(), &CMessageParser::mngDevRespSignal);
        auto* message = child<QLabel>("messageLabel");
        m_server.send(verdict(status));
        QVERIFY(statuses.wait());
        QCOMPARE(message->text(), StatusTexts::operatorText(status));
        QApplication::processEvents();   // the layout, had the label moved anything
        QCOMPARE(form->mapTo(m_ws.get(), QPoint()), start);
        const QRect room(0, 0, message->width(), 10000);
        const QRect needed = message->fontMetrics().boundingRect(room, Qt::TextWordWrap, message->text());
        QVERIFY2(needed.height() <= message->height(), qPrintable(QString::number(needed.height())));
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0007101")));
        QCOMPARE(message->isHidden(), true);
    }

    // A verdict belongs to the request before it: Add hides it, so a refusal with no
    // text of its own cannot leave an earlier "added" on show.
    void addHidesTheVerdictBefore()
    {
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0007201")));
        QSignalSpy statuses(CMessageParser::instance(), &CMessageParser::mngDevRespSignal);
        auto* message = child<QLabel>("messageLabel");
        m_server.send(verdict(PK::Status::added));
        QVERIFY(statuses.wait());
        QCOMPARE(message->isHidden(), false);
        QTest::mouseClick(child<QPushButton>("addButton"), Qt::LeftButton);
        QCOMPARE(message->isHidden(), true);
        m_server.send(verdict(PK::Status::invalidClass));
        QVERIFY(statuses.wait());
        QCOMPARE(message->isHidden(), true);
    }

    // An invalid scan is shown as such and never registered, not even in auto mode.
    void autoModeRegistersValidScansOnly()
    {
        child<QCheckBox>("autoModeCheck")->setChecked(true);
        QCOMPARE(child<QPushButton>("addButton")->isEnabled(), false);
        CLoraDeviceInfo invalid = scanned(QStringLiteral("70B3D57ED0008001"));
        invalid.appKey.clear();
        m_ws->scanDeviceInfo(invalid);
        QCOMPARE(child<QLabel>("messageLabel")->text(), QStringLiteral("QR/Barcode reading error !!!"));
        m_ws->scanDeviceInfo(scanned(QStringLiteral("70B3D57ED0008002")));
        // The only registration is the valid scan's, and it came without a click.
        QCOMPARE(sentDevice().value(PK::devEui).toString(), QStringLiteral("70B3D57ED0008002"));
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 1);
        QCOMPARE(ScannedDevices::instance()->deviceEuis().contains(invalid.devEui), false);
    }
};

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
