#include "TestHelpers.h"

#include <QRegularExpression>

// The English interface is complete and the embedded files load.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // The English file, brought up to date with the sources by lupdate, has nothing unfinished.
    void everyTextHasFinishedEnglish()
    {
        const QString sources = qEnvironmentVariable("TESMAR_SOURCE_DIR") + QStringLiteral("/src");
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("tesmar_en.ts")));
        QVERIFY(QFile::copy(sources + QStringLiteral("/Translations/tesmar_en.ts"), file.fileName()));
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(TESMAR_LUPDATE_PATH),
                      {"-no-obsolete", "-locations", "none", sources, "-ts", file.fileName()});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());

        QVERIFY(file.open(QIODevice::ReadOnly));
        // Each message: its source, then its translation's attributes and text.
        const QRegularExpression message(
            QStringLiteral("<source>(.*?)</source>.*?<translation([^>]*)>(.*?)</translation>"),
            QRegularExpression::DotMatchesEverythingOption);
        int messages = 0;
        QStringList untranslated;
        for (auto it = message.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext(); ++messages) {
            const QRegularExpressionMatch match = it.next();
            if (!match.captured(2).isEmpty() || match.captured(3).isEmpty())
                untranslated << match.captured(1);
        }
        QVERIFY2(messages > 50, qPrintable(QString::number(messages)));   // lupdate really read the sources
        QVERIFY2(untranslated.isEmpty(), qPrintable("no finished English for:\n" + untranslated.join('\n')));
    }

    // The embedded files load: the Russian one translates the texts written in
    // English, the English one the others (the logo's path among them).
    void embeddedFilesTranslate()
    {
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(":/Translations/tesmar_ru.qm")));
        QCOMPARE(russian.translate("CServerSettingsWidget", "example input -> 127.0.0.1:XXXXX"),
                 QStringLiteral("Пример ввода -> 127.0.0.1:XXXXX"));
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Translations/tesmar_en")));
        QCOMPARE(english.translate("CLeftPanel", ":/icons/Zarvo_logo_ru.png"),
                 QStringLiteral(":/icons/Zarvo_logo_en.png"));
        QCOMPARE(english.translate("CTopPanel", "Удалить добавленные устройства"),
                 QStringLiteral("Delete added devices"));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
