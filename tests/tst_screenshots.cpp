#include "CIAboutDevice.h"
#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CKeySheetImport.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "PseudoTerminal.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

#include <QtWidgets>

// Not a test: scripts/screenshots runs it against the development server to
// picture the window. Without TESMAR_SCREENSHOT_DIR it skips. Also read:
// TESMAR_SCREENSHOT_SERVER ("127.0.0.1:<port>"), TESMAR_SCREENSHOT_LOGIN and
// _PASSWORD (admin). The language comes from "settings.cfg", as at start-up.
class TestScreenshots : public QObject
{
    Q_OBJECT

    QString m_prefix;
    QTranslator m_translator;

    static QString env(const char* name, const QString& fallback = QString())
    {
        return qEnvironmentVariableIsEmpty(name) ? fallback : qEnvironmentVariable(name);
    }
    void save(QWidget& window, int seconds, const QString& name)
    {
        QTest::qWait(seconds * 1000);   // the server's answers
        const QString path = QDir(env("TESMAR_SCREENSHOT_DIR")).filePath(m_prefix + name + QStringLiteral(".png"));
        QVERIFY2(window.grab().save(path), qPrintable(path));
        qInfo().noquote() << "saved" << path;
    }
    template <typename T>
    static T* child(QWidget* parent, const char* name) { return parent->findChild<T*>(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        if (env("TESMAR_SCREENSHOT_DIR").isEmpty())
            QSKIP("pictures are taken by scripts/screenshots only");
        QVERIFY(QDir().mkpath(env("TESMAR_SCREENSHOT_DIR")));
        CSettings::instance(qApp);
        ScannedDevices::instance(qApp);
        const QString language = CSettings::readValue(CSettings::language, QVariant()).toString();
        m_prefix = (language.isEmpty() ? QStringLiteral("none") : language) + QLatin1Char('-');
        static_cast<void>(m_translator.load(QStringLiteral(":/Translations/tesmar_") + language));
        qApp->installTranslator(&m_translator);
        connect(CServerClient::instance(QStringLiteral("ws://"), qApp), &QWebSocket::textMessageReceived,
                CMessageParser::instance(qApp), &CMessageParser::processReceivedMessage, Qt::QueuedConnection);
        CSettings::ensureDefaults();
    }

    void registrationAndTable()
    {
        CMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        save(window, 0, QStringLiteral("0-start"));

        CServerSettingsWidget* login = window.leftPanel()->serverSettings();
        child<QLineEdit>(login, "addressEdit")->setText(env("TESMAR_SCREENSHOT_SERVER"));
        child<QLineEdit>(login, "userEdit")->setText(env("TESMAR_SCREENSHOT_LOGIN", "admin"));
        child<QLineEdit>(login, "passwordEdit")->setText(env("TESMAR_SCREENSHOT_PASSWORD", "admin"));
        child<QPushButton>(login, "connectButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(CServerClient::instance()->isReady(), 5000);

        PseudoTerminal scanner;   // stands in for the scanner's port
        QVERIFY2(scanner.isOpen(), qPrintable(scanner.errorString()));
        window.leftPanel()->scanerSettings()->openPortByName(scanner.slavePath());
        QVERIFY(scanner.write("DevEUI=70b3d5000000a001\nAppEUI=70B3D57ED0000001\n"
                              "AppKey=000102030405060708090A0B0C0D0E0F\n"));
        QTRY_COMPARE_WITH_TIMEOUT(window.workspace()->deviceInfo().devEui, QStringLiteral("70B3D5000000A001"), 5000);
        save(window, 1, QStringLiteral("1-registration-scanned"));
        child<QPushButton>(window.workspace(), "addButton")->click();
        save(window, 1, QStringLiteral("2-registration-added"));
        child<QTabWidget>(window.workspace(), "tabs")->setCurrentIndex(1);
        save(window, 1, QStringLiteral("3-device-table"));
    }

    // A vendor's sheet of 1,000 rows, 20 of them bad and one for the device
    // registered above with other keys: the check, then the summary.
    void sheetImport()
    {
        CMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(CServerClient::instance()->isReady());
        QByteArray sheet = "DevEUI;JoinEUI;AppKey;name\n";
        for (int i = 1; i <= 1000; ++i) {
            QString devEui = QStringLiteral("70B3D5DE%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
            QString appKey = QStringLiteral("2B7E151628AED2A6ABF71588%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
            if (i % 50 == 7)
                (i % 100 == 7 ? devEui : appKey).chop(1);
            if (i == 500)
                devEui = QStringLiteral("70B3D5000000A001");
            sheet += QStringLiteral("%1;70B3D57ED0000001;%2;\"Floor %3, room %4\"\n")
                         .arg(devEui, appKey).arg((i - 1) / 50 + 1).arg((i - 1) % 50 + 1).toUtf8();
        }
        const QString path = QDir::current().filePath(QStringLiteral("vendor-sheet.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheet) == sheet.size());
        file.close();

        window.workspace()->importSheet(path);
        auto* import = window.workspace()->findChild<CKeySheetImport*>();
        QVERIFY(import && import->checkDialog());
        QVERIFY(QTest::qWaitForWindowExposed(import->checkDialog()));
        save(*import->checkDialog(), 1, QStringLiteral("4-import-check"));
        QSignalSpy done(import, &CKeySheetImport::finished);
        import->checkDialog()->sendButton()->click();
        QVERIFY(done.wait(30000));
        save(*import->progressDialog(), 1, QStringLiteral("5-import-summary"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
