#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "FakeServer.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace PK = ProtocolKeys;

// The main window's wiring, the top panel's counters, delete-added and the
// language switch with its restart.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    // Waits for the next modal message box, keeps its text and presses OK,
    // as the operator would.
    static void pressOkOnNextBox(QString* text)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, text] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            *text = box->text();
            box->button(QMessageBox::Ok)->click();
            timer->deleteLater();
        });
        timer->start();
    }

    static QString labelText(const QWidget* parent, const char* name)
    {
        const auto* label = parent->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<missing>");
    }

    static void storeLanguage(const QVariant& value)
    {
        if (value.isNull())
            CSettings::instance()->remove(QStringLiteral("language"));
        else
            CSettings::writeValue(CSettings::language, value);
    }

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        CSettings::instance(qApp);
        ScannedDevices::instance(qApp);
        CServerClient::instance(QStringLiteral("ws://"), qApp);
        CMessageParser::instance(qApp);
        qRegisterMetaType<CLoraDeviceInfo>();
        qRegisterMetaType<CloraInfoResp>();
    }

    void init()
    {
        storeLanguage(QVariant());
        ScannedDevices::instance()->clearDevices();
    }

    void storedLanguageSelectsItem_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored") << QVariant() << QStringLiteral("Русский");
        QTest::newRow("en") << QVariant(QStringLiteral("en")) << QStringLiteral("English");
        QTest::newRow("ru") << QVariant(QStringLiteral("ru")) << QStringLiteral("Русский");
        QTest::newRow("letter case ignored") << QVariant(QStringLiteral("EN")) << QStringLiteral("English");
        QTest::newRow("unknown") << QVariant(QStringLiteral("de")) << QString();
    }

    void storedLanguageSelectsItem()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        storeLanguage(stored);
        CTopPanel panel;
        const auto* box = panel.findChild<QComboBox*>(QStringLiteral("languageBox"));
        QVERIFY(box);
        QCOMPARE(box->currentText(), shown);
        // Selecting at construction is not a switch: nothing stored, no notice.
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()), stored);
    }

    void languageSwitchStoresAndRestarts_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("notice");
        QTest::newRow("to English, notice in Russian")
            << "ru" << "en" << "Внимание, программа перезапустится, для корректного отображения перевода";
        QTest::newRow("to Russian, notice in English")
            << "en" << "ru" << "Attention, the program will restart to display the translation correctly";
    }

    void languageSwitchStoresAndRestarts()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, notice);
        storeLanguage(from);
        CMainWindow window;
        int restarts = 0;
        window.setRestartHandler([&restarts] { ++restarts; });
        auto* box = window.topPanel()->findChild<QComboBox*>(QStringLiteral("languageBox"));
        QVERIFY(box);

        QString shownNotice;
        pressOkOnNextBox(&shownNotice);
        box->setCurrentIndex(box->findData(to));

        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()).toString(), to);
        QCOMPARE(shownNotice, notice);
        QCOMPARE(restarts, 1);
    }

    // Runs before the client is logged in: nothing can go out.
    void deleteAddedKeepsRecordWhenNotSent()
    {
        QVERIFY(!CServerClient::instance()->isReady());
        CTopPanel panel;
        ScannedDevices::instance()->addDevice(QStringLiteral("0011223344556677"));
        panel.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
        QCOMPARE(ScannedDevices::instance()->count(), 1);
        QCOMPARE(labelText(&panel, "addedValue"), QStringLiteral("1"));
    }

    // Logs in against a fake server: the server's counts reach the top panel
    // through the parser, and delete-added sends every added EUI.
    void loggedInWindowCountsAndDeletes()
    {
        CMainWindow window;
        QCOMPARE(labelText(window.topPanel(), "totalValue"), QStringLiteral("[all count]"));
        FakeServer server;  // answers the login with 3 other and 5 own devices
        QVERIFY(server.loginClient(CServerClient::instance()));
        QTRY_COMPARE(labelText(window.topPanel(), "totalValue"), QStringLiteral("8"));

        const QStringList euis = {QStringLiteral("0011223344556677"), QStringLiteral("8899AABBCCDDEEFF")};
        for (const QString& eui : euis)
            ScannedDevices::instance()->addDevice(eui);
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("2"));

        window.topPanel()->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
        QCOMPARE(ScannedDevices::instance()->count(), 0);
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("0"));

        const QJsonObject request = server.waitForMessage(PK::deleteDevicesReq);
        QCOMPARE(request.value(PK::devicesList).toArray(), QJsonArray::fromStringList(euis));
    }

    void windowWiring()
    {
        CMainWindow window;
        QVERIFY(window.leftPanel() && window.topPanel() && window.workspace());
        QVERIFY(window.menuWidget() == nullptr);

        // A scan reaches the workspace through the left panel.
        QSignalSpy forwarded(window.leftPanel(), &CLeftPanel::newDeviceInfo);
        CLoraDeviceInfo scan;
        scan.devEui = QStringLiteral("0011223344556677");
        scan.appEui = QStringLiteral("70B3D57ED0000001");
        scan.appKey = QStringLiteral("000102030405060708090A0B0C0D0E0F");
        emit window.leftPanel()->scanerSettings()->newDeviceInfo(scan);
        QCOMPARE(forwarded.count(), 1);
        QCOMPARE(forwarded.at(0).at(0).value<CLoraDeviceInfo>().devEui, scan.devEui);
        QCOMPARE(window.workspace()->deviceInfo().devEui, scan.devEui);

        // The workspace's request to shrink fits the window to its minimum.
        window.resize(1600, 1200);
        emit window.workspace()->resizeWindow();
        QCOMPARE(window.size(), window.minimumSizeHint());

        window.resize(800, 610);
        window.moveToCenter();
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(window.pos(), CMainWindow::centeredTopLeft(screen->availableGeometry(), window.size()));
    }

    void leftPanelDefaults()
    {
        CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Bench.txt"));
        CLeftPanel panel;
        QCOMPARE(panel.logoPath(), QStringLiteral(":/icons/Zarvo_logo_ru.png"));
        QVERIFY(!panel.findChild<QLabel*>(QStringLiteral("logo"))->pixmap()->isNull());
        QVERIFY(panel.findChild<QPushButton*>(QStringLiteral("settingsButton"))->isHidden());
        QVERIFY(panel.findChild<QPushButton*>(QStringLiteral("sendButton"))->isHidden());
        QCOMPARE(currentDevicesFileName, QStringLiteral("Bench.txt"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
