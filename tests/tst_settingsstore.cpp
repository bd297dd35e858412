#include "CSettings.h"
#include "MessageCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The store is a process-wide object bound to the working directory at its
// creation, so every case that needs a fresh file makes a fresh store.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;

    void freshStoreIn(const QString& path)
    {
        delete CSettings::instance();
        QVERIFY(QDir::setCurrent(path));
        CSettings::instance(this);
    }

    QString fileText() const
    {
        QFile file(QDir::current().absoluteFilePath(QStringLiteral("settings.cfg")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        freshStoreIn(m_dir->path());
    }

    void cleanup()
    {
        delete CSettings::instance();
    }

    void firstStartWritesTheFileNameDefaults()
    {
        QVERIFY(!QFile::exists(QStringLiteral("settings.cfg")));
        const QVariant language = CSettings::readValue(CSettings::language, QVariant());
        QVERIFY(!language.isValid());
        QCOMPARE(language.toString(), QString());

        CSettings::ensureDefaults();

        const QString text = fileText();
        QVERIFY(text.contains(QStringLiteral("devicesFileName=Devices.txt")));
        QVERIFY(text.contains(QStringLiteral("requestsFileName=Zapros.txt")));
        QVERIFY(text.contains(QStringLiteral("responsesFileName=Otvet.txt")));
        QVERIFY(text.contains(QStringLiteral("lastSendEui=")));
        QVERIFY(!text.contains(QStringLiteral("language")));
        QVERIFY(!text.contains(QStringLiteral("width")));
        QVERIFY(!text.contains(QStringLiteral("height")));
    }

    void storedValuesSurviveTheDefaults()
    {
        QFile file(QStringLiteral("settings.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nrequestsFileName=mine.txt\n");
        file.close();
        freshStoreIn(m_dir->path());

        CSettings::ensureDefaults();

        QCOMPARE(CSettings::readValue(CSettings::requestsFileName, QVariant()).toString(),
                 QStringLiteral("mine.txt"));
        QCOMPARE(CSettings::readValue(CSettings::devicesFileName, QVariant()).toString(),
                 QStringLiteral("Devices.txt"));
    }

    void writesAreOnDiskWhenTheCallReturns()
    {
        QVERIFY(CSettings::writeValue(CSettings::rememberme, true));
        QVERIFY(fileText().contains(QStringLiteral("rememberme=true")));

        // Empty text is stored as a value, not as an absent key.
        QVERIFY(CSettings::writeValue(CSettings::serverLogin, QString()));
        const QVariant login = CSettings::readValue(CSettings::serverLogin, QVariant());
        QVERIFY(login.isValid());
        QCOMPARE(login.toString(), QString());
    }

    void keysOutsideTheListAreRefused()
    {
        MessageCapture capture;
        const auto bogus = static_cast<CSettings::ESettings>(12);
        QVERIFY(!CSettings::writeValue(bogus, 1));
        QVERIFY(capture.contains(QStringLiteral("OUT false")));
        QVERIFY(!CSettings::readValue(bogus, QStringLiteral("fallback")).isValid());
        QVERIFY(!CSettings::readValue(static_cast<CSettings::ESettings>(-1), 1).isValid());
    }

    void presetsRoundTripAsText()
    {
        const QByteArray json = R"([{"preset":"A","settings":{}}])";
        QVERIFY(CSettings::writeValue(CSettings::loraPresets, json));
        QCOMPARE(CSettings::readValue(CSettings::loraPresets, QVariant()).toString(), QString::fromUtf8(json));
    }

    void aFileThatCannotBeWrittenIsReportedAsFailure()
    {
        // A directory where the file should be: no user, root included, can write it.
        QTemporaryDir blocked;
        QVERIFY(QDir(blocked.path()).mkdir(QStringLiteral("settings.cfg")));
        freshStoreIn(blocked.path());

        MessageCapture capture;
        QVERIFY(!CSettings::writeValue(CSettings::language, QStringLiteral("en")));
        QVERIFY(capture.contains(QStringLiteral("OUT false")));
        QVERIFY(!capture.contains(QStringLiteral("OUT true")));
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }

    void thePasswordNeverReachesTheDebugStream()
    {
        QVERIFY(CSettings::writeValue(CSettings::serverPassword, QStringLiteral("s3cret")));
        QVERIFY(CSettings::writeValue(CSettings::serverLogin, QStringLiteral("operator")));
        MessageCapture capture;
        QCOMPARE(CSettings::readValue(CSettings::serverPassword, QVariant()).toString(), QStringLiteral("s3cret"));
        QCOMPARE(CSettings::readValue(CSettings::serverLogin, QVariant()).toString(), QStringLiteral("operator"));
        QVERIFY(!capture.contains(QStringLiteral("s3cret")));
        QVERIFY(capture.contains(QStringLiteral("******")));
        QVERIFY(capture.contains(QStringLiteral("operator")));
    }

    void diagnosticLinesCarryTheFrame()
    {
        MessageCapture capture;
        CSettings::writeValue(CSettings::language, QStringLiteral("ru"));
        QCOMPARE(capture.lines().size(), 1);
        const QRegularExpression frame(QStringLiteral(
            R"(^\{ static bool CSettings::writeValue\(const (CSettings::)?ESettings ?&, const QVariant ?&\) \}\[ \d+ \] -  OUT true$)"));
        QVERIFY2(frame.match(capture.lines().first()).hasMatch(), qPrintable(capture.lines().first()));
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
