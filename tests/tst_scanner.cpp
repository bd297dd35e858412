#include "CScanerSettings.h"
#include "MessageCapture.h"
#include "PseudoTerminal.h"

#include <QSignalSpy>
#include <QtTest>

// Scanned text becomes device records: the parser on its own, then the whole
// road from a serial line (a pseudo-terminal) through the panel's port.
class TestScanner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void parseCode_data();
    void parseCode();

    void readCode_deliversOneRecordPerRead();
    void hangUp_logsErrorAndKeepsPanel();
    void unopenablePort_showsCancelPicture();
    void refresh_closesPreviousPort();

private:
    static const QString okIcon;
    static const QString cancelIcon;
};

const QString TestScanner::okIcon = QStringLiteral(":/icons/flatOkIco.png");
const QString TestScanner::cancelIcon = QStringLiteral(":/icons/flatCancelIco.png");

void TestScanner::initTestCase()
{
    qRegisterMetaType<CLoraDeviceInfo>();
    QFile::remove(QStringLiteral("settings.cfg"));
}

void TestScanner::parseCode_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("devEui");
    QTest::addColumn<QString>("appEui");
    QTest::addColumn<QString>("appKey");
    QTest::addColumn<qint32>("devAddr");
    QTest::addColumn<QString>("appsKey");
    QTest::addColumn<QString>("nwksKey");
    QTest::addColumn<bool>("valid");

    const QString eui = QStringLiteral("0011AABBCCDDEEFF");
    const QString app = QStringLiteral("70B3D57ED0000001");
    const QString key = QStringLiteral("000102030405060708090A0B0C0D0E0F");

    QTest::newRow("complete, mixed order")
        << QByteArray("AppKey=000102030405060708090A0B0C0D0E0F\nDevEUI=0011AABBCCDDEEFF\nAppEUI=70B3D57ED0000001\n")
        << eui << app << key << 0 << QString() << QString() << true;
    QTest::newRow("lower-case keys and values")
        << QByteArray("deveui=0011aabbccddeeff\nappeui=70b3d57ed0000001\nappkey=000102030405060708090a0b0c0d0e0f")
        << eui << app << key << 0 << QString() << QString() << true;
    QTest::newRow("key inside the key part, not at its start")
        << QByteArray("LoRa DevEUI=0011aabbccddeeff")
        << eui << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("CRLF line ends leave no carriage return")
        << QByteArray("DevEUI=0011AABBCCDDEEFF\r\nAppEUI=70B3D57ED0000001\r\nAppKey=000102030405060708090A0B0C0D0E0F\r\nDevAddr=1A2B\r\n")
        << eui << app << key << 0x1A2B << QString() << QString() << true;
    QTest::newRow("second equals sign cuts the value")
        << QByteArray("AppKey=abcd=ef01")
        << QString() << QString() << QStringLiteral("ABCD") << 0 << QString() << QString() << false;
    QTest::newRow("line without equals sign fills nothing")
        << QByteArray("DevEUI 0011AABBCCDDEEFF\nAppKey")
        << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("a key named only in the value fills nothing")
        << QByteArray("Model=DevEUI reader")
        << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("later line overrides earlier")
        << QByteArray("DevEUI=1111\nDevEUI=0011aabbccddeeff")
        << eui << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("only ABP fields: invalid, still filled")
        << QByteArray("DevAddr=26011234\nAppSKey=aa00\nNwkSKey=bb11\n")
        << QString() << QString() << QString() << 0x26011234 << QStringLiteral("AA00") << QStringLiteral("BB11") << false;
    QTest::newRow("zero byte ends the text")
        << QByteArray("DevEUI=0011AABBCCDDEEFF\n\0AppEUI=70B3D57ED0000001\n", 48)
        << eui << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("no text at all")
        << QByteArray() << QString() << QString() << QString() << 0 << QString() << QString() << false;

    // DevAddr is a hexadecimal number up to 7FFFFFFF; anything else reads as 0.
    QTest::newRow("DevAddr") << QByteArray("DevAddr=26011234") << QString() << QString() << QString() << 0x26011234 << QString() << QString() << false;
    QTest::newRow("DevAddress") << QByteArray("DevAddress=26011234") << QString() << QString() << QString() << 0x26011234 << QString() << QString() << false;
    QTest::newRow("DevAddr lower case, blanks") << QByteArray("devaddr= 2601abcd ") << QString() << QString() << QString() << 0x2601ABCD << QString() << QString() << false;
    QTest::newRow("DevAddr 0x prefix") << QByteArray("DevAddr=0x26011234") << QString() << QString() << QString() << 0x26011234 << QString() << QString() << false;
    QTest::newRow("DevAddr 7FFFFFFF") << QByteArray("DevAddr=7FFFFFFF") << QString() << QString() << QString() << 0x7FFFFFFF << QString() << QString() << false;
    QTest::newRow("DevAddr 80000000") << QByteArray("DevAddr=80000000") << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("DevAddr too long") << QByteArray("DevAddr=1FFFFFFFFFFFFFFFF") << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("DevAddr not hex") << QByteArray("DevAddr=26O11234") << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("DevAddr negative") << QByteArray("DevAddr=-1") << QString() << QString() << QString() << 0 << QString() << QString() << false;
    QTest::newRow("DevAddr empty") << QByteArray("DevAddr=") << QString() << QString() << QString() << 0 << QString() << QString() << false;
}

void TestScanner::parseCode()
{
    QFETCH(QByteArray, code);
    MessageCapture quiet;
    const CLoraDeviceInfo info = CScanerSettings::parseCode(code);

    QTEST(info.devEui, "devEui");
    QTEST(info.appEui, "appEui");
    QTEST(info.appKey, "appKey");
    QTEST(info.devAddress, "devAddr");
    QTEST(info.appsKey, "appsKey");
    QTEST(info.nwksKey, "nwksKey");
    QTEST(info.isValid(), "valid");
}

void TestScanner::readCode_deliversOneRecordPerRead()
{
    PseudoTerminal line;
    if (!line.isOpen())
        QSKIP(qPrintable(line.errorString()));

    CScanerSettings panel;
    QSignalSpy records(&panel, &CScanerSettings::newDeviceInfo);
    panel.openPortByName(line.slavePath());
    QCOMPARE(panel.statusIconPath(), okIcon);
    QVERIFY(panel.currentPort() && panel.currentPort()->isOpen());

    QVERIFY(line.write("DevEUI=0011aabbccddeeff\r\nAppEUI=70b3d57ed0000001\r\n"
                       "AppKey=000102030405060708090a0b0c0d0e0f\r\n"));
    QTRY_COMPARE(records.count(), 1);
    const auto first = records.takeFirst().at(0).value<CLoraDeviceInfo>();
    QVERIFY(first.isValid());
    QCOMPARE(first.devEui, QStringLiteral("0011AABBCCDDEEFF"));
    QCOMPARE(first.appKey, QStringLiteral("000102030405060708090A0B0C0D0E0F"));

    // Nothing is carried over between reads: a code in two pieces is two records.
    QVERIFY(line.write("DevEUI=0011AABBCCDDEEFF\n"));
    QTRY_COMPARE(records.count(), 1);
    QVERIFY(line.write("AppEUI=70B3D57ED0000001\n"));
    QTRY_COMPARE(records.count(), 2);
    const auto head = records.at(0).at(0).value<CLoraDeviceInfo>();
    const auto tail = records.at(1).at(0).value<CLoraDeviceInfo>();
    QCOMPARE(head.devEui, QStringLiteral("0011AABBCCDDEEFF"));
    QVERIFY(head.appEui.isEmpty());
    QVERIFY(tail.devEui.isEmpty());
    QCOMPARE(tail.appEui, QStringLiteral("70B3D57ED0000001"));
}

void TestScanner::hangUp_logsErrorAndKeepsPanel()
{
    PseudoTerminal line;
    if (!line.isOpen())
        QSKIP(qPrintable(line.errorString()));

    CScanerSettings panel;
    QSignalSpy records(&panel, &CScanerSettings::newDeviceInfo);
    panel.openPortByName(line.slavePath());
    QCOMPARE(panel.statusIconPath(), okIcon);

    MessageCapture log;
    line.closeMaster();
    QTRY_VERIFY(log.contains(QStringLiteral("Serial port errorOccurred: code[")));
    QVERIFY(!log.contains(QStringLiteral("code[0]")));

    // A dead line is closed and shown as failed instead of reporting errors
    // in a loop; the panel itself carries on.
    QTRY_VERIFY(!panel.currentPort()->isOpen());
    QCOMPARE(panel.statusIconPath(), cancelIcon);
    const int errorLines = log.count(QStringLiteral("Serial port errorOccurred"));
    QVERIFY(errorLines < 10);
    QTest::qWait(50);
    QCOMPARE(log.count(QStringLiteral("Serial port errorOccurred")), errorLines);
    QCOMPARE(records.count(), 0);
}

void TestScanner::unopenablePort_showsCancelPicture()
{
    CScanerSettings panel;
    MessageCapture log;
    panel.openPortByName(QStringLiteral("/dev/tesmar-no-such-port"));
    QCOMPARE(panel.statusIconPath(), cancelIcon);
    QVERIFY(log.contains(QStringLiteral("DeviceNotFoundError")));
}

void TestScanner::refresh_closesPreviousPort()
{
    PseudoTerminal line;
    if (!line.isOpen())
        QSKIP(qPrintable(line.errorString()));

    CScanerSettings panel;
    panel.openPortByName(line.slavePath());
    QVERIFY(panel.currentPort() && panel.currentPort()->isOpen());

    const QPointer<const QSerialPort> previous = panel.currentPort();
    panel.refreshPorts();
    // Whatever the machine lists, the pseudo-terminal is not among the ports.
    QVERIFY(panel.currentPort() != previous);
    QVERIFY(!previous || !previous->isOpen());
}

QTEST_MAIN(TestScanner)
#include "tst_scanner.moc"
