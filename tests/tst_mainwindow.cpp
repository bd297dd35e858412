// The top panel in the main window: the counters, delete-added and the
// language switch with its restart.

#include "CMainWindow.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "ScannedDevices.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <climits>

namespace {
QString labelText(const QWidget* parent, const char* name) { return TestHelpers::child<QLabel>(parent, name)->text(); }
void storeLanguage(const QVariant& value)
{
    if (value.isNull())
        CSettings::instance()->remove(QStringLiteral("language"));
    else
        CSettings::writeValue(CSettings::language, value);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    void storedLanguageSelectsItem_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored") << QVariant() << QStringLiteral("Русский");
        QTest::newRow("en") << QVariant(QStringLiteral("en")) << QStringLiteral("English");
        QTest::newRow("letter case ignored") << QVariant(QStringLiteral("EN")) << QStringLiteral("English");
        QTest::newRow("unknown") << QVariant(QStringLiteral("de")) << QString();
    }

    void storedLanguageSelectsItem()
    {
        QFETCH(QVariant, stored);
        storeLanguage(stored);
        CTopPanel panel;
        QTEST(panel.findChild<QComboBox*>(QStringLiteral("languageBox"))->currentText(), "shown");
        // Selecting at construction is not a switch: nothing stored.
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
        storeLanguage(from);
        CMainWindow window;
        int restarts = 0;
        window.setRestartHandler([&restarts] { ++restarts; });
        auto* box = window.topPanel()->findChild<QComboBox*>(QStringLiteral("languageBox"));
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        box->setCurrentIndex(box->findData(to));
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()).toString(), to);
        QTEST(boxes.texts().value(0), "notice");
        QCOMPARE(restarts, 1);
    }

    // The server's counts reach the top panel through the parser; delete-added sends every added EUI.
    void loggedInWindowCountsAndDeletes()
    {
        storeLanguage(QVariant());
        CMainWindow window;
        FakeServer server;   // answers the login with 3 other and 5 own devices
        QVERIFY(server.loginClient(CServerClient::instance()));
        QTRY_COMPARE(labelText(window.topPanel(), "totalValue"), QStringLiteral("8"));
        server.send(FakeServer::serverInfoResp(true, INT_MAX, INT_MAX));
        QTRY_COMPARE(labelText(window.topPanel(), "totalValue"), QStringLiteral("4294967294"));

        const QStringList euis = {QStringLiteral("0011223344556677"), QStringLiteral("8899AABBCCDDEEFF")};
        for (const QString& eui : euis)
            ScannedDevices::instance()->addDevice(eui);
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("2"));
        window.topPanel()->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("0"));
        QCOMPARE(server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toArray(),
                 QJsonArray::fromStringList(euis));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
