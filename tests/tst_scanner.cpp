#include "CScanerSettings.h"
#include "PseudoTerminal.h"
#include "TestHelpers.h"

// Scanned text becomes device records, parsed alone and read from a serial line (a
// pseudo-terminal). A code in several reads or cut short by an unplug: the fault suite.
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
        QTest::newRow("lower case, any order, CRLF line ends")
            << QByteArray("appkey=000102030405060708090a0b0c0d0e0f\r\n"
                          "deveui=0011aabbccddeeff\r\nappeui=70b3d57ed0000001\r\n")
            << QStringList{eui, "70B3D57ED0000001", "000102030405060708090A0B0C0D0E0F", {}, {}} << 0;
        QTest::newRow("only ABP fields, blanks around")
            << QByteArray("DevAddr= 2601abcd \nAppSKey=aa00\nNwkSKey=bb11\n")
            << QStringList{{}, {}, {}, "AA00", "BB11"} << 0x2601ABCD;
        QTest::newRow("key inside the key part, value up to a second equals sign")
            << QByteArray("LoRa DevEUI=0011aabbccddeeff=rev2") << QStringList{eui, {}, {}, {}, {}} << 0;
        QTest::newRow("no key part") << QByteArray("DevEUI 0011AABBCCDDEEFF\nModel=DevEUI") << none << 0;
        // DevAddr: a hexadecimal number up to 7FFFFFFF, anything else is 0.
        QTest::newRow("DevAddr 80000000") << QByteArray("DevAddr=80000000") << none << 0;
        QTest::newRow("DevAddr negative") << QByteArray("DevAddr=-1") << none << 0;
    }

    void parseCode()
    {
        QFETCH(QByteArray, code);
        const CLoraDeviceInfo info = CScanerSettings::parseCode(code);
        QTEST((QStringList{info.devEui, info.appEui, info.appKey, info.appsKey, info.nwksKey}), "fields");
        QTEST(info.devAddress, "devAddr");
    }

    // Two codes written further apart than the quiet gap are two scans.
    void codesWrittenApartAreTwoRecords()
    {
        PseudoTerminal line;
        if (!line.isOpen())
            QSKIP(qPrintable(line.errorString()));
        CScanerSettings panel;
        QSignalSpy records(&panel, &CScanerSettings::newDeviceInfo);
        panel.openPortByName(line.slavePath());
        for (const QString& devEui : QStringList{"0011AABBCCDDEE01", "0011AABBCCDDEE02"}) {
            QVERIFY(line.write(QStringLiteral("DevEUI=%1\n").arg(devEui).toLatin1()));
            QTRY_COMPARE(records.count(), 1);
            QCOMPARE(records.takeFirst().at(0).value<CLoraDeviceInfo>().devEui, devEui);
        }
    }
};

QTEST_MAIN(TestScanner)
#include "tst_scanner.moc"
