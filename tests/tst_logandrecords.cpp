#include "CSettings.h"
#include "LogOutputWidget.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

// The devices file and the record of devices added in this run.
class TestLogAndRecords : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        ScannedDevices::instance(this);
    }

    // A device stays once the server has said "added" for it in this run; any other verdict
    // takes out a device the run never added. Answers come in upper case, whatever was sent.
    void addedDevicesRecord()
    {
        ScannedDevices* devices = ScannedDevices::instance();
        for (const char* devEui : {"aa", "bb", "cc"})
            devices->registrationSent(QLatin1String(devEui));
        devices->registrationAnswered(QStringLiteral("BB"), PK::Status::added);
        devices->registrationAnswered(QStringLiteral("AA"), PK::Status::reginfoAlreadyExist);
        devices->registrationSent(QStringLiteral("bb"));   // registered again
        devices->registrationAnswered(QStringLiteral("BB"), PK::Status::nothingToUpdate);
        QCOMPARE(devices->deviceEuis(), (QStringList{"bb", "cc"}));
        // Found where it stands once the one before it is gone.
        devices->setDeviceState(QStringLiteral("CC"), 1);
        QCOMPARE(devices->deviceState(QStringLiteral("cc")), 1);
    }

    // A block per device, with the DevAddr as the 32 bits it stands for; the
    // log pane confirms the block written.
    void devicesFileBlocks()
    {
        currentDevicesFileName = QStringLiteral("Devices.txt");
        CLoraDeviceInfo info{QStringLiteral("0011223344556677"), QStringLiteral("70B3D57ED0000001"),
                             QStringLiteral("000102030405060708090A0B0C0D0E0F"), 0x0A1B2C};
        info.devName = QStringLiteral("bench_01");
        QVERIFY(ScannedDevices::instance()->writeDeviceToFile(info));
        QFile file(currentDevicesFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList block{"devName:bench_01", "DevEui:0011223344556677", "AppEui:70B3D57ED0000001",
                                "AppKey:000102030405060708090A0B0C0D0E0F", "DevAddr:000A1B2C", "AppSKey:",
                                "NwkSKEY:", PK::separator, ""};
        QCOMPARE(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')), block);
        QVERIFY(LogOutputWidget::instance()->plainText().contains(QStringLiteral(
            "Устройство UID: 0011223344556677 добавлено на сервер и записано в файл Devices.txt")));

        info.devAddress = -2;
        const QStringList negative = ScannedDevices::deviceBlock(info).split(QLatin1Char('\n'));
        QCOMPARE(negative.value(4), QStringLiteral("DevAddr:FFFFFFFE"));
    }
};

QTEST_MAIN(TestLogAndRecords)
#include "tst_logandrecords.moc"
