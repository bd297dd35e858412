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

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

// Not a test of its own: scripts/screenshots runs it under a virtual X server
// against the development server to picture the window as an operator sees it.
// Without TESMAR_SCREENSHOT_DIR it skips.
//   TESMAR_SCREENSHOT_DIR     folder for the PNG files
//   TESMAR_SCREENSHOT_SERVER  server address, "127.0.0.1:<port>"
//   TESMAR_SCREENSHOT_LOGIN / TESMAR_SCREENSHOT_PASSWORD (default admin/admin)
// The language comes from "settings.cfg" in the working directory, as at start-up.
class TestScreenshots : public QObject
{
    Q_OBJECT

private:
    QString m_folder;
    QString m_prefix;
    QTranslator m_translator;

    static QString env(const char* name, const QString& fallback = QString())
    {
        const QString value = qEnvironmentVariable(name);
        return value.isEmpty() ? fallback : value;
    }

    void save(QWidget& window, const QString& name)
    {
        QApplication::processEvents();
        const QString path = QDir(m_folder).filePath(m_prefix + name + QStringLiteral(".png"));
        QVERIFY2(window.grab().save(path), qPrintable(path));
        qInfo().noquote() << "saved" << path;
    }

private slots:
    void initTestCase()
    {
        m_folder = env("TESMAR_SCREENSHOT_DIR");
        if (m_folder.isEmpty())
            QSKIP("pictures are taken by scripts/screenshots only");
        QVERIFY(QDir().mkpath(m_folder));

        // Start-up as the program does it, the stored language included.
        CSettings::instance(qApp);
        ScannedDevices::instance(qApp);
        const QString language = CSettings::readValue(CSettings::language, QVariant()).toString();
        m_prefix = (language.isEmpty() ? QStringLiteral("none") : language) + QLatin1Char('-');
        m_translator.load(QStringLiteral(":/Translations/tesmar_") + language);
        qApp->installTranslator(&m_translator);
        CServerClient* client = CServerClient::instance(QStringLiteral("ws://"), qApp);
        CMessageParser* parser = CMessageParser::instance(qApp);
        connect(client, &QWebSocket::textMessageReceived, parser, &CMessageParser::processReceivedMessage,
                Qt::QueuedConnection);
        CSettings::ensureDefaults();
    }

    void registrationAndTable()
    {
        CMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        save(window, QStringLiteral("0-start"));

        CServerSettingsWidget* login = window.leftPanel()->serverSettings();
        login->findChild<QLineEdit*>(QStringLiteral("addressEdit"))->setText(env("TESMAR_SCREENSHOT_SERVER"));
        login->findChild<QLineEdit*>(QStringLiteral("userEdit"))->setText(env("TESMAR_SCREENSHOT_LOGIN", "admin"));
        login->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))
            ->setText(env("TESMAR_SCREENSHOT_PASSWORD", "admin"));
        login->findChild<QPushButton*>(QStringLiteral("connectButton"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(CServerClient::instance()->isReady(), 5000);

        // One scan through a pseudo-terminal standing in for the scanner's port.
        PseudoTerminal scanner;
        QVERIFY2(scanner.isOpen(), qPrintable(scanner.errorString()));
        window.leftPanel()->scanerSettings()->openPortByName(scanner.slavePath());
        const QString devEui = QStringLiteral("70B3D5000000A001");
        QVERIFY(scanner.write("DevEUI=70b3d5000000a001\nAppEUI=70B3D57ED0000001\n"
                              "AppKey=000102030405060708090A0B0C0D0E0F\n"));
        QTRY_COMPARE_WITH_TIMEOUT(window.workspace()->deviceInfo().devEui, devEui, 5000);
        QTest::qWait(500);  // the server's lookup answer
        save(window, QStringLiteral("1-registration-scanned"));

        window.workspace()->findChild<QPushButton*>(QStringLiteral("addButton"))->click();
        QTest::qWait(1000);  // verdict, lookup and new counts
        save(window, QStringLiteral("2-registration-added"));

        window.workspace()->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
        QTest::qWait(1000);  // the full device list
        save(window, QStringLiteral("3-device-table"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
