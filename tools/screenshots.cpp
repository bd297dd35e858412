// Pictures of the window as an operator sees it, for scripts/screenshots:
// the program logs in to a running development server, takes one scan,
// registers it, shows the device table, then checks and imports a vendor's
// key sheet. The language is the one in "settings.cfg", as at start-up.
//   tesmar-screenshots <folder> <server address> [user] [password]

#include "CIAboutDevice.h"
#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CKeySheetImport.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "ProgramStartup.h"
#include "PseudoTerminal.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdio>

namespace {

constexpr int answerTimeoutMs = 10000;
const QString scannedDevEui = QStringLiteral("70B3D5000000A001");

// A sheet of 1,000 rows, 20 of them bad and one for the device registered by
// scan, with other keys.
QByteArray vendorSheet()
{
    QByteArray sheet = "DevEUI;JoinEUI;AppKey;name\n";
    for (int i = 1; i <= 1000; ++i) {
        QString devEui = QStringLiteral("70B3D5DE%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
        QString appKey = QStringLiteral("2B7E151628AED2A6ABF71588%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
        if (i % 50 == 7)
            (i % 100 == 7 ? devEui : appKey).chop(1);
        if (i == 500)
            devEui = scannedDevEui;
        sheet += QStringLiteral("%1;70B3D57ED0000001;%2;\"Floor %3, room %4\"\n")
                     .arg(devEui, appKey).arg((i - 1) / 50 + 1).arg((i - 1) % 50 + 1).toUtf8();
    }
    return sheet;
}

// Takes the pictures in order; the first step that fails ends the session.
class Photographer
{
public:
    Photographer(const QString& folder, const QString& prefix)
        : m_folder(folder), m_prefix(prefix) {}

    bool ok() const { return m_failure.isEmpty(); }
    QString failure() const { return m_failure; }

    bool check(bool condition, const QString& what)
    {
        if (!condition && ok())
            m_failure = what;
        return ok();
    }

    // Waits until the signal has come (it may have come already).
    bool awaited(QSignalSpy& spy, const QString& what, int timeoutMs = answerTimeoutMs)
    {
        return check(!spy.isEmpty() || spy.wait(timeoutMs), QStringLiteral("no ") + what);
    }

    void shoot(QWidget* widget, const QString& name)
    {
        if (!ok())
            return;
        QCoreApplication::processEvents();   // the layout and painting the last answer asked for
        const QString path = QDir(m_folder).filePath(m_prefix + name + QStringLiteral(".png"));
        if (check(widget->grab().save(path), QStringLiteral("cannot write ") + path))
            std::printf("saved %s\n", qPrintable(path));
    }

private:
    QString m_folder;
    QString m_prefix;
    QString m_failure;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: tesmar-screenshots <folder> <server address> [user] [password]\n");
        return 2;
    }
    const QString folder = arguments.at(1);
    QTranslator translator;
    ProgramStartup::start(&app, translator);
    const QString language = CSettings::readValue(CSettings::language, QVariant()).toString();
    Photographer camera(folder, (language.isEmpty() ? QStringLiteral("none") : language) + QLatin1Char('-'));
    camera.check(QDir().mkpath(folder), QStringLiteral("cannot make ") + folder);

    CMainWindow window;
    window.show();
    camera.check(QTest::qWaitForWindowExposed(&window), QStringLiteral("the window was never shown"));
    const auto child = [&window](const char* name) { return window.findChild<QWidget*>(QLatin1String(name)); };
    CMessageParser* parser = CMessageParser::instance();
    camera.shoot(&window, QStringLiteral("0-start"));

    qobject_cast<QLineEdit*>(child("addressEdit"))->setText(arguments.at(2));
    qobject_cast<QLineEdit*>(child("userEdit"))->setText(arguments.value(3, QStringLiteral("admin")));
    qobject_cast<QLineEdit*>(child("passwordEdit"))->setText(arguments.value(4, QStringLiteral("admin")));
    qobject_cast<QPushButton*>(child("connectButton"))->click();
    camera.check(QTest::qWaitFor([] { return CServerClient::instance()->isReady(); }, answerTimeoutMs),
                 QStringLiteral("no login at ") + arguments.at(2));

    PseudoTerminal scanner;   // stands in for the scanner's port
    camera.check(scanner.isOpen(), scanner.errorString());
    window.leftPanel()->scanerSettings()->openPortByName(scanner.slavePath());
    QSignalSpy lookups(parser, &CMessageParser::infoDevicesResp);
    if (camera.ok())
        scanner.write("DevEUI=70b3d5000000a001\nAppEUI=70B3D57ED0000001\nAppKey=000102030405060708090A0B0C0D0E0F\n");
    if (camera.awaited(lookups, QStringLiteral("lookup of the scan")))
        camera.shoot(&window, QStringLiteral("1-registration-scanned"));

    QSignalSpy counts(parser, &CMessageParser::serverInfoResp);   // asked for after "added"
    qobject_cast<QPushButton*>(child("addButton"))->click();
    if (camera.awaited(counts, QStringLiteral("counts after the registration")))
        camera.shoot(&window, QStringLiteral("2-registration-added"));

    QSignalSpy lists(parser, &CMessageParser::devicesList);
    qobject_cast<QTabWidget*>(child("tabs"))->setCurrentIndex(1);
    if (camera.awaited(lists, QStringLiteral("device list")))
        camera.shoot(&window, QStringLiteral("3-device-table"));
    qobject_cast<QTabWidget*>(child("tabs"))->setCurrentIndex(0);

    const QString sheetPath = QDir::current().filePath(QStringLiteral("vendor-sheet.csv"));
    QFile sheet(sheetPath);
    const QByteArray rows = vendorSheet();
    camera.check(sheet.open(QIODevice::WriteOnly) && sheet.write(rows) == rows.size(), sheet.errorString());
    sheet.close();
    if (camera.ok())
        window.workspace()->importSheet(sheetPath);
    auto* import = window.findChild<CKeySheetImport*>();
    if (camera.check(import && import->checkDialog(), QStringLiteral("no import check dialog"))) {
        camera.check(QTest::qWaitForWindowExposed(import->checkDialog()),
                     QStringLiteral("the check dialog was never shown"));
        camera.shoot(import->checkDialog(), QStringLiteral("4-import-check"));
        QSignalSpy done(import, &CKeySheetImport::finished);
        import->checkDialog()->sendButton()->click();
        if (camera.awaited(done, QStringLiteral("end of the import"), 6 * answerTimeoutMs))
            camera.shoot(import->progressDialog(), QStringLiteral("5-import-summary"));
    }

    if (!camera.ok()) {
        std::fprintf(stderr, "tesmar-screenshots: %s\n", qPrintable(camera.failure()));
        return 1;
    }
    return 0;
}
