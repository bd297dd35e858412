// Faults from outside, met by the whole program as start-up brings it up: a
// server that dies, stalls or talks nonsense, a scanner that is unplugged,
// files that cannot be read or written, damaged settings and presets.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CPresetFormat.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "EndToEndRig.h"
#include "FakeServer.h"
#include "LogOutputWidget.h"
#include "MessageCapture.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"
#include "ServerProcess.h"
#include "TestHelpers.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtWidgets>

#include <sys/stat.h>

namespace {

const QString settingsFile = QStringLiteral("settings.cfg");
const QString noConnection = QStringLiteral("Нет подлючения к серверу");
const QString admin = QStringLiteral("admin");

enum SettingsDamage { Directory, NamedPipe, BinaryGarbage, ForeignTypes, HugePresets };
constexpr int hugePresetCount = 85000;  // about 50 MB of stored text

QByteArray codeFor(const QString& devEui)
{
    return EndToEndRig::scanCode(devEui, QStringLiteral("70B3D57ED0000001"),
                                 QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C"));
}

QString serverStatus(const EndToEndRig& rig) { return rig.child<QLabel>("serverStatusLabel")->text(); }

// Connects to a server that accepts the login and answers the counts.
bool logInToGoodServer(EndToEndRig& rig, FakeServer& good)
{
    good.setAutoReply(PK::authReq, FakeServer::authResp(true));
    good.setAutoReply(PK::serverInfoReq, FakeServer::serverInfoResp(true));
    return good.start() && rig.logIn(good.address(), admin, admin) && rig.isOnline();
}

void removeAll(const QString& path)
{
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const QString& path : {settingsFile, QStringLiteral("Devices.txt"), QStringLiteral("blocked")})
            removeAll(path);
    }
    void cleanupTestCase() { init(); }

    void serverKilledMidSession();
    void failedConnectionIsReported_data();
    void failedConnectionIsReported();
    void stalledOrBabblingServer_data();
    void stalledOrBabblingServer();
    void scanInPieces_data();
    void scanInPieces();
    void devicesFileFaults_data();
    void devicesFileFaults();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void damagedPresets_data();
    void damagedPresets();
};

void TestFaults::serverKilledMidSession()
{
    DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    EndToEndRig rig;
    QVERIFY2(rig.isScannerOpen(), qPrintable(rig.errorText()));
    const QString first = QStringLiteral("70B3D57ED0000A01");
    const QString second = QStringLiteral("70B3D57ED0000A02");
    QVERIFY(rig.logIn(server.address(), admin, admin));
    QVERIFY(rig.scan(codeFor(first)));
    QTRY_COMPARE(rig.scannedDevEui(), first);
    QTRY_VERIFY(rig.child<QPushButton>("addButton")->isEnabled());
    rig.clickAdd();
    QTRY_COMPARE(rig.totalCounterText(), QStringLiteral("1"));

    QVERIFY(server.kill());
    QTRY_COMPARE(rig.loginError(), QStringLiteral("Remote Host Closed Error"));
    QVERIFY(rig.child<QPushButton>("connectButton")->isEnabled());
    QCOMPARE(rig.client()->clientState(), CServerClient::disconnected);
    QVERIFY(!rig.child<QPushButton>("addButton")->isEnabled());
    // A scan while the server is gone registers nothing, auto mode included.
    rig.setAutoMode(true);
    QVERIFY(rig.scan(codeFor(second)));
    QTRY_COMPARE(serverStatus(rig), noConnection);

    QVERIFY2(server.startOnPort(server.port()), qPrintable(server.errorText()));
    QVERIFY(rig.logIn(server.address(), admin, admin));
    QCOMPARE(rig.loginError(), QString());
    QCOMPARE(rig.scanAndWaitForVerdict(codeFor(second)), PK::Status::added);
    QCOMPARE(ScannedDevices::instance()->deviceEuis(), (QStringList{first, second}));
    QCOMPARE(TestHelpers::devicesFileBlocks(), (QStringList{first, second}));
}

void TestFaults::failedConnectionIsReported_data()
{
    QTest::addColumn<QString>("address");       // empty: the peer's
    QTest::addColumn<QByteArray>("peerAnswer");  // null: nobody listens
    QTest::newRow("refused") << QString() << QByteArray();
    QTest::newRow("port out of range") << QStringLiteral("127.0.0.1:70000") << QByteArray();
    QTest::newRow("not a WebSocket server")
        << QString() << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    QTest::newRow("cut in the handshake") << QString() << QByteArray("HTTP/1.1 101 Switching Protocols\r\n");
}

void TestFaults::failedConnectionIsReported()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, peerAnswer);
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost));
    if (address.isEmpty())
        address = QStringLiteral("127.0.0.1:%1").arg(peer.serverPort());
    if (peerAnswer.isNull())
        peer.close();
    connect(&peer, &QTcpServer::newConnection, &peer, [&peer, peerAnswer] {
        QTcpSocket* socket = peer.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket, peerAnswer] {
            socket->readAll();
            socket->write(peerAnswer);
            socket->disconnectFromHost();
        });
    });

    EndToEndRig rig;
    QSignalSpy hostError(rig.client(), &CServerClient::hostError);
    rig.connectTo(address, admin, admin);
    QTRY_VERIFY(!rig.loginError().isEmpty());
    QCOMPARE(hostError.size(), 1);
    QCOMPARE(rig.child<QLabel>("statusText")->text(), QStringLiteral("Offline:"));
    QVERIFY(rig.child<QPushButton>("connectButton")->isEnabled());
    QTRY_COMPARE(rig.client()->clientState(), CServerClient::disconnected);

    // The next Connect, to a server that is there, logs in.
    FakeServer good;
    QVERIFY(logInToGoodServer(rig, good));
    QCOMPARE(rig.loginError(), QString());
    QCOMPARE(good.received(PK::authReq).size(), 1);
}

void TestFaults::stalledOrBabblingServer_data()
{
    QTest::addColumn<QString>("answer");  // to the login request; empty: none
    QTest::newRow("silent") << QString();
    QTest::newRow("not JSON") << QStringLiteral("<html>502 Bad Gateway</html>");
    QTest::newRow("binary noise") << QString::fromLatin1(QByteArray("\x01\xff{\"cmd\":\x00", 9));
    QTest::newRow("login answer of wrong types")
        << QStringLiteral(R"({"cmd":"auth_resp","status":"true","token":7,"err_string":[]})");
}

void TestFaults::stalledOrBabblingServer()
{
    QFETCH(QString, answer);
    FakeServer server;
    QVERIFY(server.start());
    EndToEndRig rig;
    QVERIFY2(rig.isScannerOpen(), qPrintable(rig.errorText()));
    if (!answer.isEmpty())
        server.setAutoReply(PK::authReq, [&server, answer](const QJsonObject&) {
            server.sendText(answer);
            return QList<QJsonObject>();
        });

    QSignalSpy answers(rig.client(), &QWebSocket::textMessageReceived);
    rig.connectTo(server.address(), admin, admin);
    QVERIFY(!server.waitForMessage(PK::authReq).isEmpty());
    QTRY_COMPARE(answers.count(), answer.isEmpty() ? 0 : 1);

    // Scans still show, by click or in auto mode (each after the answer's
    // queued parse), and say there is no connection.
    for (const QString& devEui : {QStringLiteral("70B3D57ED0000B01"), QStringLiteral("70B3D57ED0000B02")}) {
        QVERIFY(rig.scan(codeFor(devEui)));
        QTRY_COMPARE(rig.scannedDevEui(), devEui);
        QCOMPARE(serverStatus(rig), noConnection);
        rig.setAutoMode(true);
    }
    QCOMPARE(rig.client()->isReady(), false);
    QCOMPARE(rig.isOnline(), false);
    QCOMPARE(ScannedDevices::instance()->count(), 0);

    // Disconnect sends nothing, but gives the attempt up: the next Connect logs in.
    rig.child<QPushButton>("disconnectButton")->click();
    QTRY_COMPARE(rig.client()->clientState(), CServerClient::disconnected);
    QCOMPARE(server.messages().size(), 1);  // the login request alone
    FakeServer good;
    QVERIFY(logInToGoodServer(rig, good));
}

// A scanner on a USB-serial bridge delivers one code in several reads; an
// unplugged one may stop half-way.
void TestFaults::scanInPieces_data()
{
    const QByteArray code = codeFor(QStringLiteral("70B3D57ED0000E01"));
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<bool>("unplugged");      // after the last piece
    QTest::addColumn<QString>("shownAppKey");
    QTest::addColumn<int>("records");         // scans handed on, each looked up
    QTest::newRow("one code in three reads") << QByteArrayList{code.left(40), code.mid(40, 30), code.mid(70)}
                                             << false << QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C") << 1;
    QTest::newRow("half a code, then unplugged") << QByteArrayList{code.left(40)} << true << QString() << 0;
}

void TestFaults::scanInPieces()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(bool, unplugged);
    QFETCH(int, records);
    FakeServer server;
    EndToEndRig rig;
    QVERIFY2(rig.isScannerOpen(), qPrintable(rig.errorText()));
    QVERIFY(server.loginClient(rig.client()));
    const CScanerSettings* panel = rig.window()->leftPanel()->scanerSettings();
    QSignalSpy scans(rig.window()->leftPanel(), &CLeftPanel::newDeviceInfo);
    for (const QByteArray& piece : pieces) {
        QSignalSpy read(panel->currentPort(), &QSerialPort::readyRead);
        QVERIFY(rig.scanner().write(piece));
        QVERIFY(read.wait(1000));   // each piece a read of its own
    }
    MessageCapture log;
    if (unplugged) {
        rig.scanner().closeMaster();
        QTRY_VERIFY(!panel->currentPort()->isOpen());
        QCOMPARE(panel->statusIconPath(), QStringLiteral(":/icons/flatCancelIco.png"));
    }
    // Once the quiet gap is over (or given up), every scan has been handed on.
    QTRY_VERIFY(!rig.child<QTimer>("scanQuietGap")->isActive());
    QCOMPARE(scans.count(), records);
    QTEST(rig.child<QLineEdit>("appKeyEdit")->text(), "shownAppKey");
    QCOMPARE(log.count(QStringLiteral("Ошибка чтения QR/Barcode")), 0);
    // An unplugged line is closed, not read in a tight loop.
    const int errorLines = log.count(QStringLiteral("Serial port errorOccurred"));
    QCOMPARE(errorLines > 0, unplugged);
    QVERIFY2(errorLines < 5, qPrintable(QString::number(errorLines)));

    QVERIFY(server.flush(rig.client()));
    QCOMPARE(server.received(PK::getDevicesReq).size(), records);
}

void TestFaults::devicesFileFaults_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("reason");   // empty: any
    QTest::newRow("a directory") << QStringLiteral("blocked") << QString();
    QTest::newRow("disk full") << QStringLiteral("/dev/full") << QStringLiteral("No space left on device");
    QTest::newRow("a named pipe, no reader") << QStringLiteral("pipe") << QString();
}

void TestFaults::devicesFileFaults()
{
    QFETCH(QString, fileName);
    QFETCH(QString, reason);
    QVERIFY(QDir().mkdir(QStringLiteral("blocked")));
    QFile::remove(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo("pipe", 0600), 0);
    FakeServer server;
    EndToEndRig rig;
    QVERIFY2(rig.isScannerOpen(), qPrintable(rig.errorText()));
    currentDevicesFileName = fileName;
    const auto restore = qScopeGuard([] { currentDevicesFileName = QStringLiteral("Devices.txt"); });
    QVERIFY(server.loginClient(rig.client()));
    const QString devEui = QStringLiteral("70B3D57ED0000D01");
    QVERIFY(rig.scan(codeFor(devEui)));
    QTRY_COMPARE(rig.scannedDevEui(), devEui);
    QTRY_VERIFY(rig.child<QPushButton>("addButton")->isEnabled());

    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    const QString logBefore = LogOutputWidget::instance()->plainText();
    rig.clickAdd();
    QCOMPARE(boxes.answered(), 1);
    QCOMPARE(boxes.titles().value(0), QStringLiteral("Error"));
    QVERIFY(!boxes.texts().value(0).isEmpty());
    if (!reason.isEmpty())
        QCOMPARE(boxes.texts().value(0), reason);
    // The registration goes on; only the confirmation of the file is missing.
    QCOMPARE(ScannedDevices::instance()->deviceEuis(), QStringList{devEui});
    const QJsonObject request = server.waitForMessage(PK::manageDevicesReq);
    QCOMPARE(request.value(PK::devicesList).toArray().at(0).toObject().value(PK::devEui).toString(), devEui);
    QCOMPARE(LogOutputWidget::instance()->plainText(), logBefore);
}

void TestFaults::damagedSettingsFile_data()
{
    QTest::addColumn<int>("damage");
    QTest::addColumn<int>("presets");  // listed from the file
    QTest::newRow("a directory") << int(Directory) << 0;
    QTest::newRow("a named pipe") << int(NamedPipe) << 0;
    QTest::newRow("binary garbage") << int(BinaryGarbage) << 0;
    QTest::newRow("values of foreign types") << int(ForeignTypes) << 0;
    QTest::newRow("50 MB of presets") << int(HugePresets) << hugePresetCount;
}

void TestFaults::damagedSettingsFile()
{
    QFETCH(int, damage);
    QFile file(settingsFile);
    if (damage == Directory) {
        QVERIFY(QDir().mkdir(settingsFile));
    } else if (damage == NamedPipe) {
        QCOMPARE(::mkfifo(qPrintable(settingsFile), 0600), 0);
    } else if (damage == HugePresets) {
        QJsonArray stored;
        for (int i = 0; i < hugePresetCount; ++i)
            stored.append(CPresetFormat::toJson(QStringLiteral("preset %1").arg(i), ExpertSettings(), OptionalSettings()));
        QSettings(settingsFile, QSettings::IniFormat)
            .setValue(QStringLiteral("loraPresets"), QJsonDocument(stored).toJson(QJsonDocument::Compact));
    } else if (damage == BinaryGarbage) {
        QRandomGenerator random(42);
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(noise) == noise.size());
    } else {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nserverIpPort=@Rect(1 2 3 4)\nserverLogin=@Point(1 2)\n"
                   "serverPassword=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5OddT\\0\\x1)\n"
                   "rememberme=@Size(1 2)\nlanguage=@Variant(\\0\\0\\0\\xb\\xff\\xff\\xff\\xfe)\n"
                   "loraPresets=@Variant(\\0\\0\\0\\x8\\xff\\xff\\xff\\xfe)\n");
    }
    file.close();

    // The whole window comes up with what could be read, defaults elsewhere.
    EndToEndRig rig;
    QCOMPARE(rig.child<QLineEdit>("addressEdit")->text(), QString());
    QCOMPARE(rig.child<QLineEdit>("userEdit")->text(), QString());
    QCOMPARE(rig.child<QCheckBox>("remembermeCheck")->isChecked(), false);
    QCOMPARE(rig.child<QComboBox>("languageBox")->currentText(), QStringLiteral("Русский"));
    QCOMPARE(currentDevicesFileName, QStringLiteral("Devices.txt"));
    QTEST(rig.child<QComboBox>("presetCombo")->count() - 2, "presets");
    if (damage == NamedPipe)
        QCOMPARE(QFileInfo(settingsFile).isFile(), false);  // left as it was
}

void TestFaults::damagedPresets_data()
{
    const QString deep = QString(300, QLatin1Char('[')) + QString(300, QLatin1Char(']'));
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("not JSON") << QStringLiteral("{\"preset\":") << QStringList();
    QTest::newRow("a number") << QStringLiteral("5") << QStringList();
    QTest::newRow("object instead of array") << QStringLiteral(R"({"preset":"a","settings":{}})") << QStringList();
    QTest::newRow("elements not objects") << QStringLiteral(R"([1,"two",null,[3],true])") << QStringList();
    QTest::newRow("names not texts")
        << QStringLiteral(R"([{"preset":5},{"preset":["x"]},{"preset":{}},{"preset":""},{"preset":"custom"}])")
        << QStringList();
    QTest::newRow("nested past the parser's limit") << QString(100000, QLatin1Char('[')) << QStringList();
    // "good" fills the form, "empty" shows what defaults look like.
    QTest::newRow("sane among broken")
        << QStringLiteral(R"([7,{"preset":"good","settings":{"device":{"devName":"n","devClass":"CLASS_C"},)"
                          R"("adaptiveDataRate":{"preferDr":3},"rxDeviceSettings":{"rxWindow":1}}},)"
                          R"({"preset":"empty"},{"preset":"numbers","settings":{"device":{"devName":7,)"
                          R"("devClass":3},"freqPlan":{"freqPlan":1,"freq_4":"867100000","channel_1_en":"true"},)"
                          R"("adaptiveDataRate":{"preferDr":"5"},"position":{"latitude":"55.7"}}},)"
                          R"({"preset":"shapes","settings":[1,2]},{"preset":"sections","settings":{)"
                          R"("device":"x","freqPlan":[],"rxDeviceSettings":5,"position":null}},)"
                          R"({"preset":"deep","settings":{"device":%1}}])")
               .arg(deep)
        << QStringList{QStringLiteral("good"), QStringLiteral("empty"), QStringLiteral("numbers"),
                       QStringLiteral("shapes"), QStringLiteral("sections"), QStringLiteral("deep")};
}

void TestFaults::damagedPresets()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, listed);
    QSettings(settingsFile, QSettings::IniFormat).setValue(QStringLiteral("loraPresets"), stored.toUtf8());
    EndToEndRig rig;
    auto* combo = rig.child<QComboBox>("presetCombo");
    QStringList shown;
    for (int i = 1; i < combo->count() - 1; ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, listed);
    QCOMPARE(combo->itemText(combo->count() - 1), QStringLiteral("custom"));

    // Applying a damaged preset over a filled form leaves the defaults.
    const CIAboutDevice* workspace = rig.window()->workspace();
    const auto apply = [&](const QString& name) {
        combo->setCurrentIndex(combo->findText(name));
        return CPresetFormat::toJson(QString(), workspace->expertSettings()->getSettings(),
                                     workspace->optionalSettings()->getSettings());
    };
    if (listed.isEmpty())
        return;
    const QJsonObject defaults = apply(QStringLiteral("empty"));
    QVERIFY(apply(QStringLiteral("good")) != defaults);
    for (const QString& name : listed.mid(2)) {
        apply(QStringLiteral("good"));
        QCOMPARE(apply(name), defaults);
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
