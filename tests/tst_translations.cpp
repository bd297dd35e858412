#include "CLeftPanel.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The English interface is complete: every text the code passes through tr()
// has a finished English translation, and the embedded files load.
class TestTranslations : public QObject
{
    Q_OBJECT

private:
    using Key = QPair<QString, QString>;  // context, source

    struct Entry
    {
        QString translation;
        bool finished = false;
    };

    // Messages of a .ts file by context and source text.
    static QHash<Key, Entry> readTs(const QString& path, QString* error)
    {
        QHash<Key, Entry> entries;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.errorString();
            return entries;
        }
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                Entry entry;
                entry.translation = xml.readElementText();
                entry.finished = type.isEmpty() && !entry.translation.isEmpty();
                entries.insert({context, source}, entry);
            }
        }
        if (xml.hasError())
            *error = xml.errorString();
        return entries;
    }

    static QString sourceDir() { return qEnvironmentVariable("TESMAR_SOURCE_DIR"); }

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        CSettings::instance(qApp);
        ScannedDevices::instance(qApp);
        CServerClient::instance(QStringLiteral("ws://"), qApp);
        CMessageParser::instance(qApp);
    }

    void everyTextHasFinishedEnglish()
    {
        QVERIFY2(!sourceDir().isEmpty(), "TESMAR_SOURCE_DIR is not set");
        const QString lupdate = QLibraryInfo::location(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
        QVERIFY2(QFile::exists(lupdate), qPrintable(lupdate + QStringLiteral(" is missing")));

        QTemporaryDir dir;
        const QString collected = dir.filePath(QStringLiteral("collected.ts"));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(lupdate, {QStringLiteral("-no-obsolete"), QStringLiteral("-locations"), QStringLiteral("none"),
                                sourceDir() + QStringLiteral("/src"), QStringLiteral("-ts"), collected});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());

        QString error;
        const QHash<Key, Entry> inCode = readTs(collected, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QHash<Key, Entry> english =
            readTs(sourceDir() + QStringLiteral("/src/Translations/tesmar_en.ts"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(inCode.size() > 50);  // lupdate really read the sources

        QStringList untranslated;
        for (auto it = inCode.constBegin(); it != inCode.constEnd(); ++it) {
            if (!english.value(it.key()).finished)
                untranslated << it.key().first + QStringLiteral(": \"") + it.key().second + QLatin1Char('"');
        }
        untranslated.sort();
        QVERIFY2(untranslated.isEmpty(),
                 qPrintable(QStringLiteral("no finished English for:\n") + untranslated.join(QLatin1Char('\n'))));
    }

    void embeddedFilesTranslate()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Translations/tesmar_en.qm")));
        QCOMPARE(english.translate("CTopPanel", "Язык: "), QStringLiteral("Language: "));
        QCOMPARE(english.translate("CAbstatractSettingsField", "Расположение"), QStringLiteral("Location"));
        QCOMPARE(english.translate("CIAboutDevice", "&Добавить"), QStringLiteral("&Add"));

        // The Russian file translates only the texts written in English.
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(":/Translations/tesmar_ru.qm")));
        QCOMPARE(russian.translate("CServerSettingsWidget", "example input -> 127.0.0.1:XXXXX"),
                 QStringLiteral("Пример ввода -> 127.0.0.1:XXXXX"));
        QCOMPARE(russian.translate("CIAboutDevice", "Repetition preset name"),
                 QStringLiteral("Имя такого пресета уже занято"));
        QCOMPARE(russian.translate("CIAboutDevice", "Success created!"), QStringLiteral("Успешно создано!"));
        QCOMPARE(russian.translate("CTopPanel", "Язык: "), QString());

        // A language value that names no file (the match is case-sensitive) loads nothing.
        QTranslator none;
        QVERIFY(!none.load(QStringLiteral(":/Translations/tesmar_EN")));
    }

    void englishPanelsUseTheirContext()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Translations/tesmar_en")));
        QVERIFY(qApp->installTranslator(&english));
        CLeftPanel left;
        CTopPanel top;
        qApp->removeTranslator(&english);

        QCOMPARE(left.logoPath(), QStringLiteral(":/icons/Zarvo_logo_en.png"));
        QCOMPARE(top.findChild<QPushButton*>(QStringLiteral("deleteButton"))->text(),
                 QStringLiteral("Delete added devices"));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
