#include "CSettings.h"
#include "LogOutputWidget.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

#include <QtWidgets>

// Log pane, the devices file and the record of devices added in this run.
class TestLogAndRecords : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        CSettings::instance(this);
        ScannedDevices::instance(this);
    }

    // Counts, the 24th device, states and duplicates of the added-devices record.
    void addedDevicesRecord()
    {
        ScannedDevices* devices = ScannedDevices::instance();
        devices->clearDevices();
        QSignalSpy changed(devices, &ScannedDevices::devicesChanged);
        QSignalSpy reached(devices, &ScannedDevices::amountReached);
        for (int i = 1; i <= 25; ++i)
            devices->addDevice(QStringLiteral("EUI%1").arg(i));
        QCOMPARE(changed.last().at(0).toInt(), 25);
        QCOMPARE(reached.count(), 1);   // at the 24th only
        // Back to 24 after a removal: reached again only by an addition.
        devices->removeDevice(QStringLiteral("EUI25"));
        devices->removeDevice(QStringLiteral("EUI24"));
        devices->addDevice(QStringLiteral("EUI24"));
        QCOMPARE(reached.count(), 2);

        devices->clearDevices();
        for (const char* eui : {"AA", "BB", "AA"})
            devices->addDevice(QLatin1String(eui));
        devices->setDeviceState(QStringLiteral("aa"), 1);   // letter case aside
        QCOMPARE(devices->deviceState(QStringLiteral("AA")), 1);
        devices->removeDevice(QStringLiteral("AA"));   // every entry of it
        QCOMPARE(devices->deviceEuis(), QStringList({"BB"}));
        devices->setDeviceState(QStringLiteral("BB"), 1);   // found where it now stands
        QCOMPARE(devices->deviceState(QStringLiteral("BB")), 1);

        // The server's verdicts come in upper case: a refusal takes out what was sent in lower case.
        devices->registrationSent(QStringLiteral("cc"));
        devices->registrationSent(QStringLiteral("dd"));
        devices->registrationAnswered(QStringLiteral("CC"), ProtocolKeys::Status::reginfoAlreadyExist);
        devices->registrationAnswered(QStringLiteral("DD"), ProtocolKeys::Status::added);
        QCOMPARE(devices->deviceEuis(), QStringList({"BB", "dd"}));
    }

    void devicesFileBlocks()
    {
        currentDevicesFileName = QStringLiteral("Devices.txt");
        CLoraDeviceInfo info{QStringLiteral("0011223344556677"), QStringLiteral("70B3D57ED0000001"),
                             QStringLiteral("000102030405060708090A0B0C0D0E0F"), 0x0A1B2C};
        info.devName = QStringLiteral("bench_01");
        QVERIFY(ScannedDevices::instance()->writeDeviceToFile(info));
        info.devAddress = -2;   // written as the 32 bits it stands for
        info.devName.clear();
        QVERIFY(ScannedDevices::instance()->writeDeviceToFile(info));
        QFile file(currentDevicesFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString keys = "DevEui:0011223344556677\nAppEui:70B3D57ED0000001\nAppKey:000102030405060708090A0B0C0D0E0F\n";
        QCOMPARE(QString::fromUtf8(file.readAll()).split('\n'),
                 QString("devName:bench_01\n" + keys + "DevAddr:000A1B2C\nAppSKey:\nNwkSKEY:\n" + ProtocolKeys::separator
                         + "\ndevName:\n" + keys + "DevAddr:FFFFFFFE\nAppSKey:\nNwkSKEY:\n" + ProtocolKeys::separator + "\n")
                     .split('\n'));
        QVERIFY(LogOutputWidget::instance()->plainText().contains(
            QStringLiteral("Устройство UID: 0011223344556677 добавлено на сервер и записано в файл Devices.txt")));
    }
};

QTEST_MAIN(TestLogAndRecords)
#include "tst_logandrecords.moc"
