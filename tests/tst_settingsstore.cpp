#include "CSettings.h"
#include "TestHelpers.h"

// The store is bound to the working directory at its creation, so every case
// gets a fresh directory and creates its store there.
class TestSettingsStore : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup() { delete CSettings::instance(); }

    // Either Qt build reads the other's file (UTF-8) and the escapes earlier
    // versions wrote; after a line it could not read (a comment written by
    // hand) the store still reports each write by its own result.
    void readAndWrite_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("status");   // of the store once it has read the file
        QTest::newRow("UTF-8") << QByteArray("[General]\ndevicesFileName=Приборы №1.txt\n")
                               << int(QSettings::NoError);
        QTest::newRow("escaped")
            << QByteArray("[General]\n"
                          "devicesFileName=\\x41f\\x440\\x438\\x431\\x43e\\x440\\x44b \\x2116\\x31.txt\n")
            << int(QSettings::NoError);
        // After such an error each write is checked by reading the file back, in UTF-8 too.
        QTest::newRow("comment written by hand")
            << QByteArray("# edited by hand\n[General]\ndevicesFileName=Приборы №1.txt\n")
            << int(QSettings::FormatError);
    }

    void readAndWrite()
    {
        QFETCH(QByteArray, stored);
        QFile file(QStringLiteral("settings.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(stored), qint64(stored.size()));
        file.close();
        QCOMPARE(CSettings::readValue(CSettings::devicesFileName, QVariant()).toString(),
                 QStringLiteral("Приборы №1.txt"));
        QTEST(int(CSettings::instance()->status()), "status");

        const QString written = QStringLiteral("Приборы №2.txt");
        QVERIFY(CSettings::writeValue(CSettings::devicesFileName, written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        file.close();
        QVERIFY2(text.contains(QStringLiteral("devicesFileName=") + written), qPrintable(text));
        // A file that can no longer be written is never reported as written.
        QVERIFY(QFile::remove(QStringLiteral("settings.cfg")));
        QVERIFY(QDir().mkdir(QStringLiteral("settings.cfg")));
        QVERIFY(!CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Devices 3.txt")));
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
