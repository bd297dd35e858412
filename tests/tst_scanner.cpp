#include "CScanerSettings.h"
#include "MessageCapture.h"
#include "PseudoTerminal.h"
#include "TestHelpers.h"

// Scanned text becomes device records: the parser on its own, then the whole
// road from a serial line (a pseudo-terminal) through the panel's port.
class TestScanner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<CLoraDeviceInfo>(); }

    void parseCode_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QStringList>("fields");   // DevEUI, AppEUI, AppKey, AppSKey, NwkSKey
        QTest::addColumn<qint32>("devAddr");
        const QString eui = QStringLiteral("0011AABBCCDDEEFF");
        const QStringList none{{}, {}, {}, {}, {}};
        const QStringList euiOnly{eui, {}, {}, {}, {}};
        QTest::newRow("lower-case keys and values, any order")
            << QByteArray("appkey=000102030405060708090a0b0c0d0e0f\ndeveui=0011aabbccddeeff\nappeui=70b3d57ed0000001")
            << QStringList{eui, "70B3D57ED0000001", "000102030405060708090A0B0C0D0E0F", {}, {}} << 0;
        QTest::newRow("CRLF line ends leave no carriage return")
            << QByteArray("DevEUI=0011AABBCCDDEEFF\r\nAppEUI=70B3D57ED0000001\r\nDevAddr=1A2B\r\n")
            << QStringList{eui, "70B3D57ED0000001", {}, {}, {}} << 0x1A2B;
        QTest::newRow("only ABP fields") << QByteArray("DevAddr=26011234\nAppSKey=aa00\nNwkSKey=bb11\n")
                                         << QStringList{{}, {}, {}, "AA00", "BB11"} << 0x26011234;
        QTest::newRow("key inside the key part") << QByteArray("LoRa DevEUI=0011aabbccddeeff") << euiOnly << 0;
        QTest::newRow("second equals sign cuts the value") << QByteArray("AppKey=abcd=ef01")
                                                           << QStringList{{}, {}, "ABCD", {}, {}} << 0;
        QTest::newRow("no equals sign") << QByteArray("DevEUI 0011AABBCCDDEEFF\nAppKey") << none << 0;
        QTest::newRow("key named only in the value") << QByteArray("Model=DevEUI reader") << none << 0;
        QTest::newRow("zero byte ends the text")
            << QByteArray("DevEUI=0011AABBCCDDEEFF\n\0AppEUI=70B3D57ED0000001", 48) << euiOnly << 0;
        // DevAddr: a hexadecimal number up to 7FFFFFFF, anything else is 0.
        QTest::newRow("devaddr, blanks") << QByteArray("devaddr= 2601abcd ") << none << 0x2601ABCD;
        QTest::newRow("80000000") << QByteArray("DevAddr=80000000") << none << 0;
        QTest::newRow("negative") << QByteArray("DevAddr=-1") << none << 0;
    }

    void parseCode()
    {
        QFETCH(QByteArray, code);
        MessageCapture quiet;
        const CLoraDeviceInfo info = CScanerSettings::parseCode(code);
        QTEST((QStringList{info.devEui, info.appEui, info.appKey, info.appsKey, info.nwksKey}), "fields");
        QTEST(info.devAddress, "devAddr");
    }

    void readCode_deliversOneRecordPerScan()
    {
        PseudoTerminal line;
        if (!line.isOpen())
            QSKIP(qPrintable(line.errorString()));
        CScanerSettings panel;
        QSignalSpy records(&panel, &CScanerSettings::newDeviceInfo);
        panel.openPortByName(line.slavePath());

        // A code in three reads, as a USB-serial bridge passes it on, is one scan.
        for (const char* piece : {"DevEUI=0011aabbccddeeff\r\nAppEUI=70b3d57ed0000001\r\nAppKey=000102",
                                  "030405060708090a0b0c", "0d0e0f\r\n"}) {
            QSignalSpy read(panel.currentPort(), &QSerialPort::readyRead);
            QVERIFY(line.write(piece));
            QVERIFY(read.wait(1000));
        }
        QTRY_COMPARE(records.count(), 1);
        QCOMPARE(records.takeFirst().at(0).value<CLoraDeviceInfo>().appKey, QStringLiteral("000102030405060708090A0B0C0D0E0F"));
        QVERIFY(!panel.findChild<QTimer*>(QStringLiteral("scanQuietGap"))->isActive());   // nothing left to come

        // The next code, once the line has been quiet, is a record of its own.
        QVERIFY(line.write("DevEUI=0011AABBCCDDEE00\n"));
        QTRY_COMPARE(records.count(), 1);
        QCOMPARE(records.takeFirst().at(0).value<CLoraDeviceInfo>().devEui, QStringLiteral("0011AABBCCDDEE00"));
    }
};

QTEST_MAIN(TestScanner)
#include "tst_scanner.moc"
