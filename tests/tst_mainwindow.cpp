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
    value.isNull() ? CSettings::instance()->remove(QStringLiteral("language")) : void(CSettings::writeValue(CSettings::language, value));
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // The stored language picks the list entry, and picking it is no switch; a
    // switch stores the other language and restarts after a notice in the one in use.
    void languageSwitch_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notice");
        const QString russian = QStringLiteral("Внимание, программа перезапустится, для корректного отображения перевода");
        QTest::newRow("nothing stored") << QVariant() << "Русский" << russian;
        QTest::newRow("unknown") << QVariant(QStringLiteral("de")) << "" << russian;
        QTest::newRow("en, any case") << QVariant(QStringLiteral("EN")) << "English"
                                      << "Attention, the program will restart to display the translation correctly";
    }

    void languageSwitch()
    {
        QFETCH(QVariant, stored);
        storeLanguage(stored);
        CMainWindow window;
        QStringList restartedIn;
        window.setRestartHandler([&restartedIn](const QString&, const QString& directory) { restartedIn << directory; });
        auto* box = window.topPanel()->findChild<QComboBox*>(QStringLiteral("languageBox"));
        QTEST(box->currentText(), "shown");
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()), stored);
        const QString other = box->currentData().toString() == QLatin1String("en") ? QStringLiteral("ru") : QStringLiteral("en");
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        box->setCurrentIndex(box->findData(other));
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()).toString(), other);
        QTEST(boxes.texts().value(0), "notice");
        // Where this copy runs, not beside the executable: the new copy reads the same settings.cfg.
        QCOMPARE(restartedIn, QStringList{QDir::currentPath()});
    }

    // Left of and above the centre, by its real size, and all of the frame on the screen.
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("fits") << QRect(0, 0, 1920, 1040) << QSize(800, 610) << QPoint(359, 244);
        QTest::newRow("would leave the bottom and the left") << QRect(0, 0, 1366, 728) << QSize(1094, 700) << QPoint(0, 28);
        QTest::newRow("second screen") << QRect(1920, 0, 1366, 728) << QSize(400, 300) << QPoint(2302, 228);
        QTest::newRow("larger than the area") << QRect(0, 40, 1366, 728) << QSize(1400, 800) << QPoint(0, 40);
    }

    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, frame);
        QTEST(CMainWindow::centeredTopLeft(available, frame), "topLeft");
    }

    // A 1366 by 768 screen, less a taskbar (40) and a title bar (30), has room for the whole window.
    void minimumSizeFitsALaptopScreen()
    {
        const CMainWindow window;
        QCOMPARE(window.minimumSizeHint().boundedTo(QSize(1366, 698)), window.minimumSizeHint());
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
        ScannedDevices::instance()->addDevice(euis[0]);
        ScannedDevices::instance()->addDevice(euis[1]);
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("2"));
        TestHelpers::child<QPushButton>(window.topPanel(), "deleteButton")->click();
        QCOMPARE(labelText(window.topPanel(), "addedValue"), QStringLiteral("0"));
        QCOMPARE(server.waitForMessage(PK::deleteDevicesReq).value(PK::devicesList).toVariant().toStringList(), euis);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
