// Faults from outside, met by the whole program as start-up brings it up: a
// server that dies, stalls or talks nonsense, a scanner that is unplugged,
// files that cannot be read or written, damaged settings and presets.

#include "CExpertSettingsField.h"
#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "COptionalSettingsField.h"
#include "CPresetFormat.h"
#include "CScanerSettings.h"
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
const QString admin = QStringLiteral("admin");
const QString appEuiHex = QStringLiteral("70B3D57ED0000001");
const QString appKeyHex = QStringLiteral("2B7E151628AED2A6ABF7158809CF4F3C");

enum SettingsShape { File, Directory, NamedPipe };

QByteArray codeFor(const QString& devEui) { return EndToEndRig::scanCode(devEui, appEuiHex, appKeyHex); }

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* path : {"settings.cfg", "Devices.txt", "blocked", "pipe"}) {
            QDir(QLatin1String(path)).removeRecursively();
            QFile::remove(QLatin1String(path));
        }
    }
    void cleanupTestCase() { init(); }

    void serverKilledMidSession()
    {
        DevServer::ServerProcess server(QStringLiteral(TESMAR_DEVSERVER_PATH));
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        EndToEndRig rig;
        const QString first = QStringLiteral("70B3D57ED0000A01");
        const QString second = QStringLiteral("70B3D57ED0000A02");
        QVERIFY(rig.logIn(server.address(), admin, admin));
        rig.setAutoMode(true);
        QCOMPARE(rig.scanAndWaitForVerdict(codeFor(first)), PK::Status::added);

        QVERIFY(server.kill());
        QTRY_COMPARE(rig.loginError(), QStringLiteral("Remote Host Closed Error"));
        // A scan while the server is gone registers nothing, auto mode included.
        QVERIFY(rig.scan(codeFor(second)));
        QTRY_COMPARE(rig.scannedDevEui(), second);

        QVERIFY2(server.startOnPort(server.port()), qPrintable(server.errorText()));
        QVERIFY(rig.logIn(server.address(), admin, admin));
        QCOMPARE(rig.scanAndWaitForVerdict(codeFor(second)), PK::Status::added);
        QCOMPARE(ScannedDevices::instance()->deviceEuis(), (QStringList{first, second}));
        QCOMPARE(TestHelpers::devicesFileBlocks(), (QStringList{first, second}));
    }

    // A login that never completes (bad port, no WebSocket server, an answer the
    // program does not take): a failed connection is shown, a scan registers nothing,
    // Disconnect sends nothing but gives the attempt up, and the next Connect logs in.
    void loginNeverCompletes_data()
    {
        QTest::addColumn<QString>("address");   // "tcp": a TCP peer's, "ws": a WebSocket server's
        QTest::addColumn<QByteArray>("answer");  // the TCP peer's or to the login
        QTest::newRow("port out of range") << "127.0.0.1:70000" << QByteArray();
        QTest::newRow("not a WebSocket server")
            << "tcp" << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
        QTest::newRow("cut in the handshake") << "tcp" << QByteArray("HTTP/1.1 101 Switching Protocols\r\n");
        QTest::newRow("not JSON") << "ws" << QByteArray("<html>502 Bad Gateway</html>");
        QTest::newRow("login answer of wrong types")
            << "ws" << QByteArray(R"({"cmd":"auth_resp","status":"true","token":7,"err_string":[]})");
    }

    void loginNeverCompletes()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, answer);
        const bool reported = address != QLatin1String("ws");   // a connection that fails
        FakeServer webSocketPeer;
        QTcpServer tcpPeer;
        QVERIFY(webSocketPeer.start());
        QVERIFY(tcpPeer.listen(QHostAddress::LocalHost));
        connect(&tcpPeer, &QTcpServer::newConnection, &tcpPeer, [&tcpPeer, answer] {
            QTcpSocket* socket = tcpPeer.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, answer] {
                socket->readAll();
                socket->write(answer);
                socket->disconnectFromHost();
            });
        });
        if (address == QLatin1String("tcp"))
            address = QStringLiteral("127.0.0.1:%1").arg(tcpPeer.serverPort());
        if (address == QLatin1String("ws"))
            address = webSocketPeer.address();

        EndToEndRig rig;
        QSignalSpy answers(rig.client(), &QWebSocket::textMessageReceived);
        rig.connectTo(address, admin, admin);
        if (reported) {
            QTRY_COMPARE(rig.loginError().isEmpty(), false);
        } else {
            QVERIFY(!webSocketPeer.waitForMessage(PK::authReq).isEmpty());
            webSocketPeer.sendText(QString::fromLatin1(answer));
            QTRY_COMPARE(answers.count(), 1);
        }

        // A scan in auto mode (after the answer's queued parse) shows, says
        // there is no connection, and neither registers nor is looked up.
        const QString devEui = QStringLiteral("70B3D57ED0000B01");
        rig.setAutoMode(true);
        QVERIFY(rig.scan(codeFor(devEui)));
        QTRY_COMPARE(rig.scannedDevEui(), devEui);
        QCOMPARE(rig.child<QLabel>("serverStatusLabel")->text(), QStringLiteral("Нет подлючения к серверу"));
        QCOMPARE(ScannedDevices::instance()->count(), 0);

        rig.child<QPushButton>("disconnectButton")->click();
        webSocketPeer.setAutoReply(PK::authReq, [](const QJsonObject&) {
            return QList<QJsonObject>{FakeServer::authResp(true), FakeServer::serverInfoResp(true)};
        });
        QVERIFY(rig.logIn(webSocketPeer.address(), admin, admin));
        QVERIFY(webSocketPeer.flush(rig.client()));
        QCOMPARE(webSocketPeer.messages().size(), reported ? 3 : 4);   // logins, counts request, flush probe
    }

    // A scanner on a USB-serial bridge delivers one code in several reads; an
    // unplugged one may stop half-way.
    void scanInPieces_data()
    {
        const QByteArray code = codeFor(QStringLiteral("70B3D57ED0000E01"));
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<bool>("unplugged");   // after the last piece
        QTest::newRow("one code in three reads") << QByteArrayList{code.left(40), code.mid(40, 30), code.mid(70)}
                                                 << false;
        QTest::newRow("half a code, then unplugged") << QByteArrayList{code.left(40)} << true;
    }

    void scanInPieces()
    {
        QFETCH(QByteArrayList, pieces);
        QFETCH(bool, unplugged);
        FakeServer server;
        EndToEndRig rig;
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
            QTRY_COMPARE(panel->currentPort()->isOpen(), false);
            QCOMPARE(panel->statusIconPath(), QStringLiteral(":/icons/flatCancelIco.png"));
        }
        // Once the quiet gap is over (or given up), every scan has been handed
        // on and looked up: the whole code once, half a code never.
        QTRY_COMPARE(rig.child<QTimer>("scanQuietGap")->isActive(), false);
        QCOMPARE(scans.count(), unplugged ? 0 : 1);
        QCOMPARE(rig.child<QLineEdit>("appKeyEdit")->text(), unplugged ? QString() : appKeyHex);
        // An unplugged line is closed, not read in a tight loop.
        const int errorLines = log.lines().filter(QStringLiteral("Serial port errorOccurred")).size();
        QVERIFY2(errorLines < 5, qPrintable(QString::number(errorLines)));
        QVERIFY(server.flush(rig.client()));
        QCOMPARE(server.received(PK::getDevicesReq).size(), unplugged ? 0 : 1);
    }

    // The operator is told, the registration goes on, and the log pane does
    // not confirm a block that was never written.
    void devicesFileFaults_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a directory") << "blocked" << "Is a directory";
        QTest::newRow("disk full") << "/dev/full" << "No space left on device";
        QTest::newRow("a named pipe, no reader") << "pipe" << "Not a regular file: pipe";
    }

    void devicesFileFaults()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, reason);
        QVERIFY(QDir().mkdir(QStringLiteral("blocked")));
        QCOMPARE(::mkfifo("pipe", 0600), 0);
        FakeServer server;
        EndToEndRig rig;
        currentDevicesFileName = fileName;
        const auto restore = qScopeGuard([] { currentDevicesFileName = QStringLiteral("Devices.txt"); });
        QVERIFY(server.loginClient(rig.client()));
        const QString devEui = QStringLiteral("70B3D57ED0000D01");
        QVERIFY(rig.scan(codeFor(devEui)));
        QTRY_COMPARE(rig.scannedDevEui(), devEui);

        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        const QString logBefore = LogOutputWidget::instance()->plainText();
        rig.child<QPushButton>("addButton")->click();
        QCOMPARE(boxes.texts().value(0), reason);
        QCOMPARE(ScannedDevices::instance()->deviceEuis(), QStringList{devEui});
        const QJsonObject request = server.waitForMessage(PK::manageDevicesReq);
        QCOMPARE(request.value(PK::devicesList)[0][PK::devEui].toString(), devEui);
        QCOMPARE(LogOutputWidget::instance()->plainText(), logBefore);
    }

    // "settings.cfg" as it may be found: the whole window comes up with what
    // could be read, defaults elsewhere, and the presets that make sense.
    void damagedSettings_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("listed");   // "good" fills the form, "empty" shows the defaults
        // A file the store wrote itself, with these stored presets.
        const auto presets = [](const char* name, const QByteArray& json, const QStringList& listed = {}) {
            const QTemporaryDir dir;
            QFile file(dir.filePath(settingsFile));
            QSettings(file.fileName(), QSettings::IniFormat).setValue("loraPresets", json);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(name) << int(File) << file.readAll() << listed;
        };
        QRandomGenerator random(42);
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        QJsonArray many;
        QStringList manyNames;
        for (int i = 0; i < 85000; ++i) {   // about 50 MB of stored text
            manyNames << QStringLiteral("preset %1").arg(i);
            many.append(CPresetFormat::toJson(manyNames.last(), ExpertSettings(), OptionalSettings()));
        }

        QTest::newRow("a directory") << int(Directory) << QByteArray() << QStringList();
        QTest::newRow("a named pipe") << int(NamedPipe) << QByteArray() << QStringList();
        QTest::newRow("binary garbage") << int(File) << noise << QStringList();
        QTest::newRow("values of foreign types")
            << int(File) << QByteArray("[General]\nserverIpPort=@Rect(1 2 3 4)\nserverLogin=@Point(1 2)\n"
                                       "serverPassword=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5OddT\\0\\x1)\n"
                                       "rememberme=@Size(1 2)\n"
                                       "language=@Variant(\\0\\0\\0\\xb\\xff\\xff\\xff\\xfe)\n"
                                       "loraPresets=@Variant(\\0\\0\\0\\x8\\xff\\xff\\xff\\xfe)\n")
            << QStringList();
        presets("50 MB of presets", QJsonDocument(many).toJson(QJsonDocument::Compact), manyNames);
        presets("presets not JSON", "{\"preset\":");
        presets("presets an object", R"({"preset":"a","settings":{}})");
        presets("sane presets among broken",
                QByteArray(R"([7,{"preset":"good","settings":{"device":{"devName":"n","devClass":"CLASS_C"},)"
                           R"("adaptiveDataRate":{"preferDr":3},"rxDeviceSettings":{"rxWindow":1}}},)"
                           R"({"preset":"empty"},{"preset":"numbers","settings":{"device":{"devName":7,)"
                           R"("devClass":3},"freqPlan":{"freqPlan":1,"freq_4":"867100000","channel_1_en":"true"},)"
                           R"("adaptiveDataRate":{"preferDr":"5"},"position":{"latitude":"55.7"}}},)"
                           R"({"preset":"shapes","settings":[1,2]},{"preset":"sections","settings":{)"
                           R"("device":"x","freqPlan":[],"rxDeviceSettings":5,"position":null}},)"
                           R"({"preset":"deep","settings":{"device":)")
                    + QByteArray(300, '[') + QByteArray(300, ']') + R"(}},"two",null,[3],true,{"preset":5},)"
                    + R"({"preset":["x"]},{"preset":{}},{"preset":""},{"preset":"custom"}])",
                {"good", "empty", "numbers", "shapes", "sections", "deep"});
    }

    void damagedSettings()
    {
        QFETCH(int, shape);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, listed);
        if (shape == Directory)
            QVERIFY(QDir().mkdir(settingsFile));
        if (shape == NamedPipe)
            QCOMPARE(::mkfifo(qPrintable(settingsFile), 0600), 0);
        if (shape == File) {
            QFile file(settingsFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), qint64(content.size()));
        }

        EndToEndRig rig;
        QCOMPARE(rig.child<QLineEdit>("addressEdit")->text(), QString());
        QCOMPARE(rig.child<QLineEdit>("userEdit")->text(), QString());
        QCOMPARE(rig.child<QCheckBox>("remembermeCheck")->isChecked(), false);
        QCOMPARE(rig.child<QComboBox>("languageBox")->currentText(), QStringLiteral("Русский"));
        QCOMPARE(currentDevicesFileName, QStringLiteral("Devices.txt"));
        QCOMPARE(QFileInfo(settingsFile).isFile(), shape == File);   // a pipe is left as it was
        auto* combo = rig.child<QComboBox>("presetCombo");
        QStringList shown;
        for (int i = 1; i < combo->count(); ++i)
            shown << combo->itemText(i);
        QCOMPARE(shown, listed + QStringList{QStringLiteral("custom")});
        if (!listed.contains(QStringLiteral("good")))
            return;

        // Applying a damaged preset over a filled form leaves the defaults.
        const CIAboutDevice* workspace = rig.window()->workspace();
        const auto apply = [&](const QString& name) {
            combo->setCurrentIndex(combo->findText(name));
            return CPresetFormat::toJson(QString(), workspace->expertSettings()->getSettings(),
                                         workspace->optionalSettings()->getSettings());
        };
        const QJsonObject defaults = apply(QStringLiteral("empty"));
        QVERIFY(apply(QStringLiteral("good")) != defaults);
        for (const QString& name : listed.mid(2)) {
            apply(QStringLiteral("good"));
            QCOMPARE(apply(name), defaults);
        }
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
