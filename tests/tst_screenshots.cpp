#include "CIAboutDevice.h"
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
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
