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

    // First start writes the file-name defaults and only those; stored values survive.
    void defaults()
    {
        CSettings::ensureDefaults();
        const QString text = fileText();
        for (const char* line : {"devicesFileName=Devices.txt", "requestsFileName=Zapros.txt",
                                 "responsesFileName=Otvet.txt", "lastSendEui="})
            QVERIFY2(text.contains(QLatin1String(line)), line);
        QVERIFY(!text.contains(QLatin1String("language")) && !text.contains(QLatin1String("width")));

        QVERIFY(CSettings::writeValue(CSettings::requestsFileName, QStringLiteral("mine.txt")));
        freshStoreIn(m_dir->path());
        CSettings::ensureDefaults();
        QCOMPARE(CSettings::readValue(CSettings::requestsFileName, QVariant()).toString(), QStringLiteral("mine.txt"));
    }

    void writesAreOnDiskWhenTheCallReturns()
    {
        MessageCapture capture;
        QVERIFY(CSettings::writeValue(CSettings::rememberme, true));
        QVERIFY(fileText().contains(QStringLiteral("rememberme=true")));
        // The diagnostic frame: { function }[ line ] - text
        const QRegularExpression frame(QStringLiteral(
            R"(^\{ static bool CSettings::writeValue\(const (CSettings::)?ESettings ?&, const QVariant ?&\) \}\[ \d+ \] -  OUT true$)"));
        QCOMPARE(capture.lines().size(), 1);
        QVERIFY2(frame.match(capture.lines().first()).hasMatch(), qPrintable(capture.lines().first()));

        QVERIFY(CSettings::writeValue(CSettings::serverLogin, QString()));   // stored as a value, not absent
        QVERIFY(CSettings::readValue(CSettings::serverLogin, QVariant()).isValid());
        QVERIFY(!CSettings::writeValue(static_cast<CSettings::ESettings>(12), 1));   // outside the list
        QVERIFY(!CSettings::readValue(static_cast<CSettings::ESettings>(-1), 1).isValid());
    }

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

    void aFileThatCannotBeWrittenIsReportedAsFailure()
    {
        // A directory where the file should be: no user, root included, can write it.
        QTemporaryDir blocked;
        QVERIFY(QDir(blocked.path()).mkdir(QStringLiteral("settings.cfg")));
        freshStoreIn(blocked.path());
        MessageCapture capture;
        QVERIFY(!CSettings::writeValue(CSettings::language, QStringLiteral("en")));
        QVERIFY(capture.contains(QStringLiteral("OUT false")) && !capture.contains(QStringLiteral("OUT true")));
        QVERIFY(QDir::setCurrent(m_dir->path()));
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
        QVERIFY(fileText().contains(QStringLiteral("language=en")));

        QVERIFY(QFile::remove(QStringLiteral("settings.cfg")) && QDir().mkdir(QStringLiteral("settings.cfg")));
        QVERIFY(!CSettings::writeValue(CSettings::language, QStringLiteral("ru")));
    }

    void thePasswordNeverReachesTheDebugStream()
    {
        QVERIFY(CSettings::writeValue(CSettings::serverPassword, QStringLiteral("s3cret")));
        MessageCapture capture;
        QCOMPARE(CSettings::readValue(CSettings::serverPassword, QVariant()).toString(), QStringLiteral("s3cret"));
        QVERIFY(!capture.contains(QStringLiteral("s3cret")) && capture.contains(QStringLiteral("******")));
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
