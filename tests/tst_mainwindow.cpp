// The main window: the language switch with its restart, its place on the
// screen, and the counts in its top panel.

#include "CMainWindow.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <climits>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // The stored language picks the list entry, and picking it is no switch; a
    // switch stores the other language and restarts after a notice.
    void languageSwitch_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored") << QVariant() << "Русский";
        QTest::newRow("unknown") << QVariant(QStringLiteral("de")) << "";
        QTest::newRow("en, any case") << QVariant(QStringLiteral("EN")) << "English";
    }

    void languageSwitch()
    {
        QFETCH(QVariant, stored);
        CSettings::instance()->remove(QStringLiteral("language"));
        if (!stored.isNull())
            QVERIFY(CSettings::writeValue(CSettings::language, stored));
        CMainWindow window;
        QStringList restartedIn;
        window.setRestartHandler([&](const QString&, const QString& directory) { restartedIn << directory; });
        auto* box = TestHelpers::child<QComboBox>(window.topPanel(), "languageBox");
        QTEST(box->currentText(), "shown");
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()), stored);
        const QString other = box->currentData().toString() == QLatin1String("en") ? "ru" : "en";
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        box->setCurrentIndex(box->findData(other));
        QCOMPARE(CSettings::readValue(CSettings::language, QVariant()).toString(), other);
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
        QTest::newRow("off the bottom-left") << QRect(0, 0, 1366, 728) << QSize(1094, 700) << QPoint(0, 28);
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

    // The server's counts reach the top panel through the parser: a negative one reads
    // as 0, and two near the largest int add up without overflow.
    void countsShown()
    {
        CMainWindow window;
        const QLabel* total = TestHelpers::child<QLabel>(window.topPanel(), "totalValue");
        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        server.send(FakeServer::serverInfoResp(true, -3, 5));
        QTRY_COMPARE(total->text(), QStringLiteral("5"));
        server.send(FakeServer::serverInfoResp(true, INT_MAX, INT_MAX));
        QTRY_COMPARE(total->text(), QStringLiteral("4294967294"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
