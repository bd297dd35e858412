#include "CMainWindow.h"
#include "CSettings.h"
#include "LogOutputWidget.h"
#include "LoraRecords.h"
#include "MessageCapture.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Log pane, value records and the record of devices added in this run.
class TestLogAndRecords : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static CLoraDeviceInfo sampleDevice()
    {
        CLoraDeviceInfo info;
        info.devName = QStringLiteral("bench_01");
        info.devEui = QStringLiteral("0011223344556677");
        info.appEui = QStringLiteral("70B3D57ED0000001");
        info.appKey = QStringLiteral("000102030405060708090A0B0C0D0E0F");
        info.devAddress = 0x0A1B2C;
        return info;
    }

    // Presses OK on the next modal box; returns its text through the pointer.
    static void acceptNextModal(QString* text)
    {
        QTimer::singleShot(0, [text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *text = box->text();
                box->accept();
            }
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        CSettings::instance(this);
    }

    void init()
    {
        ScannedDevices::instance(this)->clearDevices();
        currentDevicesFileName = QStringLiteral("Devices.txt");
        QFile::remove(currentDevicesFileName);
    }

    void logPaneLineFormat()
    {
        LogOutputWidget* pane = LogOutputWidget::instance();
        QCOMPARE(LogOutputWidget::instance(new QWidget), pane);
        QWidget* focused = QApplication::focusWidget();

        const QString before = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        pane->appendMessage(QStringLiteral("plain"));
        pane->appendMessage(QStringLiteral("Устройство UID: <b>AB</b> удалено с сервера"), QStringLiteral("red"));
        const QString after = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));

        const QStringList lines = pane->plainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        const QString first = lines.at(lines.size() - 2);
        QVERIFY2(first == QStringLiteral("[%1] plain").arg(before) || first == QStringLiteral("[%1] plain").arg(after),
                 qPrintable(first));
        // Markup in a message is rendered, not shown.
        QVERIFY(lines.last().endsWith(QStringLiteral("Устройство UID: AB удалено с сервера")));
        const QString html = pane->html();
        QVERIFY(html.contains(QStringLiteral("font-weight:600")));
        QVERIFY(html.contains(QStringLiteral("#ff0000")));
        QVERIFY(html.contains(QStringLiteral("#000000")));
        QVERIFY(!pane->isVisible());
        QCOMPARE(QApplication::focusWidget(), focused);
    }

    void deviceRecordValidity()
    {
        CLoraDeviceInfo info;
        QVERIFY(!info.isValid());
        QVERIFY(!info.existOTAA());
        QVERIFY(!info.existABP());
        QCOMPARE(info.foundMarker, 0);
        QCOMPARE(info.longitude, 0.0);

        info = sampleDevice();
        QVERIFY(info.isValid());
        info.appsKey.clear();
        info.devAddress = 0;
        QVERIFY(info.isValid());  // ABP data is optional
        info.appKey.clear();
        QVERIFY(!info.isValid());

        // The flags are reported as they are, whatever the keys hold.
        CLoraDeviceInfo flagsOnly;
        flagsOnly.otaaPresent = true;
        flagsOnly.abpPresent = true;
        QVERIFY(flagsOnly.existOTAA());
        QVERIFY(flagsOnly.existABP());
        QVERIFY(!flagsOnly.isValid());
    }

    void addedDevicesCountAndTheTwentyFourthDevice()
    {
        ScannedDevices* devices = ScannedDevices::instance();
        QSignalSpy changed(devices, &ScannedDevices::devicesChanged);
        QSignalSpy reached(devices, &ScannedDevices::amountReached);

        for (int i = 1; i <= 23; ++i)
            devices->addDevice(QStringLiteral("EUI%1").arg(i));
        QCOMPARE(reached.count(), 0);
        devices->addDevice(QStringLiteral("EUI24"));
        QCOMPARE(changed.last().at(0).toInt(), 24);
        QCOMPARE(reached.count(), 1);
        devices->addDevice(QStringLiteral("EUI25"));
        QCOMPARE(changed.last().at(0).toInt(), 25);
        QCOMPARE(reached.count(), 1);

        // Back to 24 after a removal: reached again only by an addition.
        devices->removeDevice(QStringLiteral("EUI25"));
        devices->removeDevice(QStringLiteral("EUI24"));
        QCOMPARE(reached.count(), 1);
        devices->addDevice(QStringLiteral("EUI24"));
        QCOMPARE(reached.count(), 2);

        devices->clearDevices();
        QCOMPARE(changed.last().at(0).toInt(), 0);
        const int emitted = changed.count();
        devices->clearDevices();
        QCOMPARE(changed.count(), emitted + 1);
        QCOMPARE(changed.last().at(0).toInt(), 0);
    }

    void addedDevicesStatesAndDuplicates()
    {
        ScannedDevices* devices = ScannedDevices::instance();
        QSignalSpy changed(devices, &ScannedDevices::devicesChanged);
        devices->addDevice(QStringLiteral("AA"));
        devices->addDevice(QStringLiteral("BB"));
        devices->addDevice(QStringLiteral("AA"));
        QCOMPARE(devices->deviceEuis(), QStringList({"AA", "BB", "AA"}));

        QCOMPARE(devices->deviceState(QStringLiteral("AA")), 0);
        QCOMPARE(devices->deviceState(QStringLiteral("aa")), -1);  // exact comparison
        devices->setDeviceState(QStringLiteral("AA"), 1);
        QCOMPARE(devices->deviceState(QStringLiteral("AA")), 1);
        devices->setDeviceState(QStringLiteral("CC"), 1);
        QCOMPARE(devices->deviceState(QStringLiteral("CC")), -1);

        devices->removeDevice(QStringLiteral("AA"));
        QCOMPARE(devices->deviceEuis(), QStringList({"BB"}));
        changed.clear();
        devices->removeDevice(QStringLiteral("CC"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().at(0).toInt(), 1);
    }

    void devicesFileBlocks()
    {
        ScannedDevices* devices = ScannedDevices::instance();
        CLoraDeviceInfo info = sampleDevice();
        QVERIFY(devices->writeDeviceToFile(info));
        info.devAddress = 0;
        info.devName.clear();
        QVERIFY(devices->writeDeviceToFile(info));

        QFile file(currentDevicesFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(!content.contains('\r'));
        const QByteArray separator = ProtocolKeys::separator.toLatin1();
        QCOMPARE(separator.size(), 124);
        const QByteArray expected =
            "devName:bench_01\n"
            "DevEui:0011223344556677\n"
            "AppEui:70B3D57ED0000001\n"
            "AppKey:000102030405060708090A0B0C0D0E0F\n"
            "DevAddr:000A1B2C\n"
            "AppSKey:\n"
            "NwkSKEY:\n" + separator + "\n"
            "devName:\n"
            "DevEui:0011223344556677\n"
            "AppEui:70B3D57ED0000001\n"
            "AppKey:000102030405060708090A0B0C0D0E0F\n"
            "DevAddr:00000000\n"
            "AppSKey:\n"
            "NwkSKEY:\n" + separator + "\n";
        QCOMPARE(content, expected);
        QVERIFY(LogOutputWidget::instance()->plainText().contains(
            QStringLiteral("Устройство UID: 0011223344556677 добавлено на сервер и записано в файл Devices.txt")));
    }

    void negativeDevAddrIsWrittenAsItsEightHexDigits()
    {
        CLoraDeviceInfo info = sampleDevice();
        info.devAddress = -2;
        QVERIFY(ScannedDevices::deviceBlock(info).contains(QStringLiteral("\nDevAddr:FFFFFFFE\n")));
    }

    void aDevicesFileThatCannotBeOpened()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("adir")));
        currentDevicesFileName = QStringLiteral("adir");
        const QString logBefore = LogOutputWidget::instance()->plainText();
        QString shown;
        acceptNextModal(&shown);
        QVERIFY(!ScannedDevices::instance()->writeDeviceToFile(sampleDevice()));
        QVERIFY(!shown.isEmpty());
        QCOMPARE(LogOutputWidget::instance()->plainText(), logBefore);
    }

    void aDevicesFileThatCannotBeWritten()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        currentDevicesFileName = QStringLiteral("/dev/full");
        const QString logBefore = LogOutputWidget::instance()->plainText();
        MessageCapture capture;
        QString shown;
        acceptNextModal(&shown);
        QVERIFY(!ScannedDevices::instance()->writeDeviceToFile(sampleDevice()));
        QVERIFY(capture.contains(QStringLiteral("Ошибка записи файла")));
        QVERIFY(!shown.isEmpty());
        // No "written to file" confirmation for a block that is not on disk.
        QCOMPARE(LogOutputWidget::instance()->plainText(), logBefore);
    }

    void windowPlacement()
    {
        const QPoint topLeft = CMainWindow::centeredTopLeft(QRect(0, 0, 1920, 1040), QSize(800, 610));
        QCOMPARE(topLeft, QPoint(359, 244));
    }
};

QTEST_MAIN(TestLogAndRecords)
#include "tst_logandrecords.moc"
