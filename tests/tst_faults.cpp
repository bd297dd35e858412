// Faults from outside, met by the whole program as start-up wires it: a server
// that dies, stalls or talks nonsense, a scanner that is unplugged, files that
// cannot be read or written, damaged settings and presets.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CPresetFormat.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "EndToEndRig.h"
#include "FakeServer.h"
#include "LogOutputWidget.h"
#include "MessageCapture.h"
#include "ModalAnswerer.h"
#include "ProgramStartup.h"
#include "PseudoTerminal.h"
#include "ScannedDevices.h"
#include "ServerProcess.h"
#include "TestHelpers.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtWidgets>

#include <memory>

#include <sys/stat.h>

namespace {

const QString settingsFile = QStringLiteral("settings.cfg");
const QString devicesFile = QStringLiteral("Devices.txt");
const QString noConnection = QStringLiteral("Нет подлючения к серверу");
const QString cancelIcon = QStringLiteral(":/icons/flatCancelIco.png");

enum SettingsDamage { SettingsDirectory, SettingsPipe, BinaryGarbage, ForeignTypes, HugePresets };
constexpr int hugePresetCount = 85000;  // about 50 MB of stored text

void removeAll(const QString& path)
{
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// The program's objects, made in start-up's order and wired as start-up
// wires them, with a scanner on a pseudo-terminal.
class Program
{
public:
    Program()
        : m_app(std::make_unique<QObject>())
    {
        ProgramStartup::start(m_app.get(), m_translator);
        client = CServerClient::instance();
        window = std::make_unique<CMainWindow>();
        window->show();
        if (scanner.isOpen())
            window->leftPanel()->scanerSettings()->openPortByName(scanner.slavePath());
    }

    ~Program() { window.reset(); }   // before the single objects it uses

    template <typename T>
    T* login(const char* name) const { return TestHelpers::child<T>(window->leftPanel()->serverSettings(), name); }
    template <typename T>
    T* workspace(const char* name) const { return TestHelpers::child<T>(window->workspace(), name); }

    // What the operator does: fill the login fields and press Connect.
    void connectTo(const QString& address, const QString& user = QStringLiteral("admin"),
                   const QString& password = QStringLiteral("admin"))
    {
        login<QLineEdit>("addressEdit")->setText(address);
        login<QLineEdit>("userEdit")->setText(user);
        login<QLineEdit>("passwordEdit")->setText(password);
        login<QPushButton>("connectButton")->click();
    }
    // Connect to a server that accepts the login and answers the counts.
    bool connectToGoodServer(FakeServer& good)
    {
        if (!good.start())
            return false;
        good.setAutoReply(PK::authReq, FakeServer::authResp(true));
        good.setAutoReply(PK::serverInfoReq, FakeServer::serverInfoResp(true));
        connectTo(good.address());
        return QTest::qWaitFor([this] { return client->isReady(); }) && online();
    }
    bool online() const { return login<QLabel>("statusText")->text() == QLatin1String("Online:"); }
    QString errorShown() const
    {
        const auto* label = login<QLabel>("errorLabel");
        return label->isVisibleTo(label->parentWidget()) ? label->text() : QString();
    }

    bool scan(const QString& devEui)
    {
        return scanner.write(EndToEndRig::scanCode(devEui, QStringLiteral("70B3D57ED0000001"),
                                                   QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C")));
    }
    QString scannedEui() const { return workspace<QLineEdit>("devEuiEdit")->text(); }
    QString serverStatus() const { return workspace<QLabel>("serverStatusLabel")->text(); }

    CServerClient* client = nullptr;
    PseudoTerminal scanner;
    std::unique_ptr<CMainWindow> window;

private:
    std::unique_ptr<QObject> m_app;  // stands in for the application object
    QTranslator m_translator;
};

int blocksFor(const QString& devEui)
{
    QFile file(devicesFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromUtf8(file.readAll()).count(QStringLiteral("DevEui:") + devEui + QLatin1Char('\n'));
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<CloraAuthResp>();
        qRegisterMetaType<CloraInfoResp>();
        qRegisterMetaType<CLoraDeviceInfo>();
    }

    void init()
    {
        removeAll(settingsFile);
        removeAll(devicesFile);
        removeAll(QStringLiteral("blocked"));
    }

    void cleanupTestCase() { init(); }

    void serverKilledMidSession();
    void failedConnectionIsReported_data();
    void failedConnectionIsReported();
    void stalledOrBabblingServer_data();
    void stalledOrBabblingServer();
    void scanInPieces();
    void scannerUnplugged();
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
    Program program;
    if (!program.scanner.isOpen())
        QSKIP(qPrintable(program.scanner.errorString()));
    const QString first = QStringLiteral("70B3D57ED0000A01");
    const QString second = QStringLiteral("70B3D57ED0000A02");

    program.connectTo(server.address());
    QTRY_VERIFY(program.online());
    QVERIFY(program.scan(first));
    QTRY_COMPARE(program.scannedEui(), first);
    // Add is enabled by the login answer; requests pass once the counts have come too.
    QTRY_VERIFY(program.client->isReady());
    QTRY_VERIFY(program.workspace<QPushButton>("addButton")->isEnabled());
    program.workspace<QPushButton>("addButton")->click();
    QTRY_COMPARE(program.window->topPanel()->findChild<QLabel*>(QStringLiteral("totalValue"))->text(),
                 QStringLiteral("1"));

    QVERIFY(server.kill());
    QTRY_COMPARE(program.errorShown(), QStringLiteral("Remote Host Closed Error"));
    QVERIFY(program.login<QPushButton>("connectButton")->isEnabled());
    QCOMPARE(program.client->clientState(), CServerClient::disconnected);
    QVERIFY(!program.workspace<QPushButton>("addButton")->isEnabled());

    // A scan while the server is gone registers nothing, auto mode included.
    program.workspace<QCheckBox>("autoModeCheck")->setChecked(true);
    QVERIFY(program.scan(second));
    QTRY_COMPARE(program.serverStatus(), noConnection);

    QVERIFY2(server.startOnPort(server.port()), qPrintable(server.errorText()));
    program.connectTo(server.address());
    QTRY_VERIFY(program.online());
    QTRY_VERIFY(program.client->isReady());
    QVERIFY(program.errorShown().isEmpty());
    QVERIFY(program.scan(second));
    QTRY_VERIFY(program.workspace<QLabel>("messageLabel")->text().startsWith(
        QStringLiteral("Device is not existed on server before")));

    program.workspace<QTabWidget>("tabs")->setCurrentIndex(1);
    auto* table = program.workspace<QTableWidget>("deviceTable");
    QTRY_COMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 1)->text(), second);
    QCOMPARE(ScannedDevices::instance()->deviceEuis(), (QStringList{first, second}));
    QCOMPARE(blocksFor(first), 1);
    QCOMPARE(blocksFor(second), 1);
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
    QObject::connect(&peer, &QTcpServer::newConnection, &peer, [&peer, peerAnswer] {
        QTcpSocket* socket = peer.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, peerAnswer] {
            socket->readAll();
            socket->write(peerAnswer);
            socket->disconnectFromHost();
        });
    });

    Program program;
    QSignalSpy hostError(program.client, &CServerClient::hostError);
    program.connectTo(address);
    QTRY_VERIFY(!program.errorShown().isEmpty());
    QCOMPARE(hostError.size(), 1);
    QCOMPARE(program.login<QLabel>("statusText")->text(), QStringLiteral("Offline:"));
    QVERIFY(program.login<QPushButton>("connectButton")->isEnabled());
    QTRY_COMPARE(program.client->clientState(), CServerClient::disconnected);

    // The next Connect, to a server that is there, logs in.
    FakeServer good;
    QVERIFY(program.connectToGoodServer(good));
    QVERIFY(program.errorShown().isEmpty());
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
    Program program;
    if (!program.scanner.isOpen())
        QSKIP(qPrintable(program.scanner.errorString()));
    QObject::connect(&server, &FakeServer::messageReceived, &server, [&server, answer](const QString& text) {
        if (!answer.isEmpty() && text.contains(PK::authReq))
            server.sendText(answer);
    });

    QSignalSpy answers(program.client, &QWebSocket::textMessageReceived);
    program.connectTo(server.address());
    QVERIFY(!server.waitForMessage(PK::authReq).isEmpty());
    QTRY_COMPARE(answers.count(), answer.isEmpty() ? 0 : 1);
    QTest::qWait(20);  // the queued parse of the answer
    QVERIFY(!program.client->isReady());
    QVERIFY(!program.online());

    // Scans still show, by click or in auto mode, and say there is no connection.
    for (const QString& devEui : {QStringLiteral("70B3D57ED0000B01"), QStringLiteral("70B3D57ED0000B02")}) {
        QVERIFY(program.scan(devEui));
        QTRY_COMPARE(program.scannedEui(), devEui);
        QCOMPARE(program.serverStatus(), noConnection);
        program.workspace<QCheckBox>("autoModeCheck")->setChecked(true);
    }
    QCOMPARE(ScannedDevices::instance()->count(), 0);

    // Disconnect sends nothing, but gives the attempt up: the next Connect logs in.
    program.login<QPushButton>("disconnectButton")->click();
    QTRY_COMPARE(program.client->clientState(), CServerClient::disconnected);
    QCOMPARE(server.messages().size(), 1);  // the login request alone
    FakeServer good;
    QVERIFY(program.connectToGoodServer(good));
}

// A scanner on a USB-serial bridge delivers one code in several reads.
void TestFaults::scanInPieces()
{
    FakeServer server;
    QVERIFY(server.start());
    Program program;
    if (!program.scanner.isOpen())
        QSKIP(qPrintable(program.scanner.errorString()));
    QVERIFY(server.loginClient(program.client));
    QSignalSpy records(program.window->leftPanel(), &CLeftPanel::newDeviceInfo);
    const QString devEui = QStringLiteral("70B3D57ED0000E01");
    const QByteArray code = EndToEndRig::scanCode(devEui, QStringLiteral("70B3D57ED0000001"),
                                                  QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C"));
    for (const QByteArray& piece : {code.left(40), code.mid(40, 30), code.mid(70)}) {
        QSignalSpy read(program.window->leftPanel()->scanerSettings()->currentPort(), &QSerialPort::readyRead);
        QVERIFY(program.scanner.write(piece));
        QVERIFY(read.wait(1000));
    }

    QTRY_COMPARE(program.scannedEui(), devEui);
    QCOMPARE(program.workspace<QLineEdit>("appKeyEdit")->text(), QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C"));
    QCOMPARE(records.count(), 1);
    QVERIFY(!program.window->findChild<QTimer*>(QStringLiteral("scanQuietGap"))->isActive());
    QVERIFY(!server.waitForMessage(PK::getDevicesReq).isEmpty());
    program.client->sendMessage(CMessageParser::srvInfoReq());   // a probe: all before it has come
    QVERIFY(!server.waitForMessage(PK::serverInfoReq).isEmpty());
    QCOMPARE(server.received(PK::getDevicesReq).size(), 1);
}

void TestFaults::scannerUnplugged()
{
    Program program;
    if (!program.scanner.isOpen())
        QSKIP(qPrintable(program.scanner.errorString()));
    const CScanerSettings* panel = program.window->leftPanel()->scanerSettings();
    QVERIFY(program.scan(QStringLiteral("70B3D57ED0000C01")));
    QTRY_COMPARE(program.scannedEui(), QStringLiteral("70B3D57ED0000C01"));

    // Half of the next code, then the line is gone: that is no scan.
    QSignalSpy read(panel->currentPort(), &QSerialPort::readyRead);
    QVERIFY(program.scanner.write("DevEUI=70B3D57ED0000C02\r\nAppEUI=70B3"));
    QVERIFY(read.wait(1000));
    MessageCapture log;
    program.scanner.closeMaster();
    QTRY_VERIFY(!panel->currentPort()->isOpen());
    QCOMPARE(panel->statusIconPath(), cancelIcon);
    QTest::qWait(50);
    const int errorLines = log.count(QStringLiteral("Serial port errorOccurred"));
    QVERIFY(errorLines >= 1 && errorLines < 5);
    // The last scan stays on screen; nothing else reached the workspace.
    QCOMPARE(program.scannedEui(), QStringLiteral("70B3D57ED0000C01"));
    QCOMPARE(log.count(QStringLiteral("Ошибка чтения QR/Barcode")), 0);
}

void TestFaults::devicesFileFaults_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a directory") << QStringLiteral("blocked") << QString();
    QTest::newRow("disk full") << QStringLiteral("/dev/full") << QStringLiteral("No space left on device");
    QTest::newRow("a named pipe, no reader") << QStringLiteral("pipe") << QString();
}

void TestFaults::devicesFileFaults()
{
    QFETCH(QString, fileName);
    QFETCH(QString, reason);
    QDir().mkdir(QStringLiteral("blocked"));
    QFile::remove(QStringLiteral("pipe"));
    QCOMPARE(mkfifo("pipe", 0600), 0);
    FakeServer server;
    QVERIFY(server.start());
    Program program;
    if (!program.scanner.isOpen())
        QSKIP(qPrintable(program.scanner.errorString()));
    currentDevicesFileName = fileName;
    const auto restore = qScopeGuard([] { currentDevicesFileName = devicesFile; });
    QVERIFY(server.loginClient(program.client));
    const QString devEui = QStringLiteral("70B3D57ED0000D01");
    QVERIFY(program.scan(devEui));
    QTRY_VERIFY(program.workspace<QPushButton>("addButton")->isEnabled());
    QTRY_COMPARE(program.scannedEui(), devEui);

    ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    const QString logBefore = LogOutputWidget::instance()->plainText();
    program.workspace<QPushButton>("addButton")->click();
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
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("presets");  // listed from the file
    QTest::newRow("a directory") << int(SettingsDirectory) << 0;
    QTest::newRow("a named pipe") << int(SettingsPipe) << 0;
    QTest::newRow("binary garbage") << int(BinaryGarbage) << 0;
    QTest::newRow("values of foreign types") << int(ForeignTypes) << 0;
    QTest::newRow("50 MB of presets") << int(HugePresets) << hugePresetCount;
}

void TestFaults::damagedSettingsFile()
{
    QFETCH(int, kind);
    QFETCH(int, presets);
    if (kind == SettingsDirectory) {
        QVERIFY(QDir().mkdir(settingsFile));
    } else if (kind == SettingsPipe) {
        QCOMPARE(::mkfifo(qPrintable(settingsFile), 0600), 0);
    } else if (kind == HugePresets) {
        QJsonArray stored;
        for (int i = 0; i < hugePresetCount; ++i)
            stored.append(CPresetFormat::toJson(QStringLiteral("preset %1").arg(i), ExpertSettings(),
                                                OptionalSettings()));
        QSettings raw(settingsFile, QSettings::IniFormat);
        raw.setValue(QStringLiteral("loraPresets"), QJsonDocument(stored).toJson(QJsonDocument::Compact));
    } else {
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == BinaryGarbage) {
            QRandomGenerator random(42);
            QByteArray noise(64 * 1024, Qt::Uninitialized);
            for (char& c : noise)
                c = char(random.bounded(256));
            file.write(noise);
        } else {
            file.write("[General]\nserverIpPort=@Rect(1 2 3 4)\nserverLogin=@Point(1 2)\n"
                       "serverPassword=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5OddT\\0\\x1)\n"
                       "rememberme=@Size(1 2)\nlanguage=@Variant(\\0\\0\\0\\xb\\xff\\xff\\xff\\xfe)\n"
                       "loraPresets=@Variant(\\0\\0\\0\\x8\\xff\\xff\\xff\\xfe)\n");
        }
    }

    // The whole window comes up with what could be read, defaults elsewhere.
    Program program;
    QCOMPARE(program.login<QLineEdit>("addressEdit")->text(), QString());
    QCOMPARE(program.login<QLineEdit>("userEdit")->text(), QString());
    QVERIFY(!program.login<QCheckBox>("remembermeCheck")->isChecked());
    QCOMPARE(program.window->topPanel()->findChild<QComboBox*>(QStringLiteral("languageBox"))->currentText(),
             QStringLiteral("Русский"));
    QCOMPARE(currentDevicesFileName, devicesFile);
    QCOMPARE(program.workspace<QComboBox>("presetCombo")->count(), presets + 2);
    if (kind == SettingsPipe)
        QVERIFY(!QFileInfo(settingsFile).isFile());  // left as it was
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
    {
        QSettings raw(settingsFile, QSettings::IniFormat);
        raw.setValue(QStringLiteral("loraPresets"), stored.toUtf8());
    }
    Program program;
    auto* combo = program.workspace<QComboBox>("presetCombo");
    QStringList shown;
    for (int i = 1; i < combo->count() - 1; ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, listed);
    QCOMPARE(combo->itemText(combo->count() - 1), QStringLiteral("custom"));
    if (listed.isEmpty())
        return;

    // Applying a damaged preset over a filled form leaves the defaults.
    CIAboutDevice* workspace = program.window->workspace();
    const auto apply = [&](const QString& name) {
        combo->setCurrentIndex(combo->findText(name));
        return CPresetFormat::toJson(QString(), workspace->expertSettings()->getSettings(),
                                     workspace->optionalSettings()->getSettings());
    };
    const QJsonObject filled = apply(QStringLiteral("good"));
    const QJsonObject defaults = apply(QStringLiteral("empty"));
    QVERIFY(filled != defaults);
    for (const QString& name : listed.mid(2)) {
        apply(QStringLiteral("good"));
        QCOMPARE(apply(name), defaults);
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
