#include "CLeftPanel.h"
#include "CTopPanel.h"
#include "TestHelpers.h"

#include <QXmlStreamReader>
#include <QtWidgets>

namespace {
// Every message of a .ts file by context and source text, with its translation if finished.
QHash<QPair<QString, QString>, QString> readTs(const QString& path, QString* error)
{
    QHash<QPair<QString, QString>, QString> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        *error = file.errorString();
    QXmlStreamReader xml(&file);
    QString context, source;
    while (file.isOpen() && !xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            messages.insert({context, source}, xml.attributes().value(QLatin1String("type")).isEmpty()
                                                   ? xml.readElementText() : QString());
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}
} // namespace

// The English interface is complete and the embedded files load.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    void everyTextHasFinishedEnglish()
    {
        const QString sources = qEnvironmentVariable("TESMAR_SOURCE_DIR") + QStringLiteral("/src");
        const QString lupdate = QStringLiteral(TESMAR_LUPDATE_PATH);
        QTemporaryDir dir;
        const QString collected = dir.filePath(QStringLiteral("collected.ts"));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(lupdate, {"-no-obsolete", "-locations", "none", sources, "-ts", collected});
        QVERIFY2(process.waitForFinished(60000) && process.exitCode() == 0, process.readAll().constData());

        QString error;
        const auto inCode = readTs(collected, &error).keys();
        const auto english = readTs(sources + QStringLiteral("/Translations/tesmar_en.ts"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(inCode.size() > 50);   // lupdate really read the sources
        QStringList untranslated;
        for (const auto& key : inCode) {
            if (english.value(key).isEmpty())
                untranslated << key.first + QStringLiteral(": \"") + key.second + QLatin1Char('"');
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable("no finished English for:\n" + untranslated.join('\n')));
    }

    void embeddedFilesTranslate()
    {
        // The Russian file translates only the texts written in English.
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(":/Translations/tesmar_ru.qm")));
        QCOMPARE(russian.translate("CIAboutDevice", "Repetition preset name"),
                 QStringLiteral("Имя такого пресета уже занято"));
        QCOMPARE(russian.translate("CTopPanel", "Язык: "), QString());
        QVERIFY(!QTranslator().load(QStringLiteral(":/Translations/tesmar_EN")));   // the name is case-sensitive

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Translations/tesmar_en")) && qApp->installTranslator(&english));
        CLeftPanel left;
        CTopPanel top;
        qApp->removeTranslator(&english);
        QCOMPARE(left.logoPath(), QStringLiteral(":/icons/Zarvo_logo_en.png"));
        QCOMPARE(TestHelpers::child<QPushButton>(&top, "deleteButton")->text(), QStringLiteral("Delete added devices"));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
