#include "CLeftPanel.h"
#include "CTopPanel.h"
#include "TestHelpers.h"

#include <QXmlStreamReader>
#include <QtWidgets>

// The English interface is complete and the embedded files load.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // The English file, brought up to date with the sources by lupdate, has nothing unfinished.
    void everyTextHasFinishedEnglish()
    {
        const QString sources = qEnvironmentVariable("TESMAR_SOURCE_DIR") + QStringLiteral("/src");
        const QString lupdate = QStringLiteral(TESMAR_LUPDATE_PATH);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("tesmar_en.ts")));
        QVERIFY(QFile::copy(sources + QStringLiteral("/Translations/tesmar_en.ts"), file.fileName()));
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(lupdate, {"-no-obsolete", "-locations", "none", sources, "-ts", file.fileName()});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());

        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context, source;
        int messages = 0;
        QStringList untranslated;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                if (!xml.attributes().value(QLatin1String("type")).isEmpty() || xml.readElementText().isEmpty())
                    untranslated << context + QStringLiteral(": ") + source;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(messages > 50, qPrintable(QString::number(messages)));   // lupdate really read the sources
        QVERIFY2(untranslated.isEmpty(), qPrintable("no finished English for:\n" + untranslated.join('\n')));
    }

    void embeddedFilesTranslate()
    {
        // The Russian file translates the texts written in English.
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(":/Translations/tesmar_ru.qm")));
        QCOMPARE(russian.translate("CServerSettingsWidget", "example input -> 127.0.0.1:XXXXX"),
                 QStringLiteral("Пример ввода -> 127.0.0.1:XXXXX"));

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Translations/tesmar_en")));
        QVERIFY(qApp->installTranslator(&english));
        CLeftPanel left;
        CTopPanel top;
        qApp->removeTranslator(&english);
        QCOMPARE(left.logoPath(), QStringLiteral(":/icons/Zarvo_logo_en.png"));
        QCOMPARE(TestHelpers::child<QPushButton>(&top, "deleteButton")->text(), QStringLiteral("Delete added devices"));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
