#include "CSettings.h"
#include "MessageCapture.h"
#include "TestHelpers.h"

// The store is bound to the working directory at its creation, so every case
// gets a fresh store in a fresh directory.
class TestSettingsStore : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_dir;

    void freshStoreIn(const QString& path)
    {
        delete CSettings::instance();
        QVERIFY(QDir::setCurrent(path));
        CSettings::instance(this);
    }
    static QString fileText()
    {
        QFile file(QStringLiteral("settings.cfg"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        freshStoreIn(m_dir->path());
    }
    void cleanup() { delete CSettings::instance(); }

    // The Qt 5 and Qt 6 builds read each other's files: non-Latin text is
    // stored as UTF-8, and the escapes earlier versions wrote still read.
    void nonLatinTextReadsTheSameInEitherBuild_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("UTF-8") << QByteArray("[General]\ndevicesFileName=Приборы №1.txt\n");
        QTest::newRow("escaped") << QByteArray(
            "[General]\ndevicesFileName=\\x41f\\x440\\x438\\x431\\x43e\\x440\\x44b \\x2116\\x31.txt\n");
    }
    void nonLatinTextReadsTheSameInEitherBuild()
    {
        QFETCH(QByteArray, stored);
        delete CSettings::instance();
        QFile file(QStringLiteral("settings.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored) == stored.size());
        file.close();
        CSettings::instance(this);
        QCOMPARE(CSettings::readValue(CSettings::devicesFileName, QVariant()).toString(),
                 QStringLiteral("Приборы №1.txt"));

        QVERIFY(CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Приборы №2.txt")));
        QVERIFY2(fileText().contains(QStringLiteral("devicesFileName=Приборы №2.txt")), qPrintable(fileText()));
    }

    // A store that met a line it could not read (a comment written by hand)
    // still reports each write by its own result.
    void eachWriteReportsItsOwnResult()
    {
        QFile file(QStringLiteral("settings.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# edited by hand\nlanguage=ru\n");
        file.close();
        freshStoreIn(m_dir->path());
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()).toString(), QStringLiteral("ru"));
        QVERIFY(CSettings::writeValue(CSettings::language, QStringLiteral("en")));
        QVERIFY2(fileText().contains(QStringLiteral("language=en")), qPrintable(fileText()));

        QVERIFY(QFile::remove(QStringLiteral("settings.cfg")));
        QVERIFY(QDir().mkdir(QStringLiteral("settings.cfg")));
        QVERIFY(!CSettings::writeValue(CSettings::language, QStringLiteral("ru")));
    }

    void thePasswordNeverReachesTheDebugStream()
    {
        QVERIFY(CSettings::writeValue(CSettings::serverPassword, QStringLiteral("s3cret")));
        MessageCapture capture;
        QCOMPARE(CSettings::readValue(CSettings::serverPassword, QVariant()).toString(), QStringLiteral("s3cret"));
        QCOMPARE(capture.lines().filter(QStringLiteral("s3cret")).value(0), QString());
        QVERIFY(capture.contains(QStringLiteral("******")));
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
