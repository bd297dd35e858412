#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "QtCompat.h"
#include "ScannedDevices.h"
#include "StartupProbe.h"
#include "TesmarVersion.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QtCompat::scaleForHighDpi();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmar " TESMAR_VERSION));

    CSettings::instance(&app);
    ScannedDevices::instance(&app);

    QTranslator translator;
    DIAG() << CSettings::readValue(CSettings::language, QVariant()).toString();
    // A language that names no embedded file leaves the source texts.
    static_cast<void>(translator.load(QStringLiteral(":/Translations/tesmar_")
                                      + CSettings::readValue(CSettings::language, QVariant()).toString()));
    app.installTranslator(&translator);

    CServerClient* client = CServerClient::instance(QStringLiteral("ws://"), &app);
    CMessageParser* parser = CMessageParser::instance(&app);
    // The only road by which server messages reach the protocol layer; queued,
    // so each message is parsed after the socket's own handling has returned.
    QObject::connect(client, &QWebSocket::textMessageReceived,
                     parser, &CMessageParser::processReceivedMessage, Qt::QueuedConnection);

    CSettings::ensureDefaults();

    CMainWindow window;
    window.show();
    StartupProbe::reportWhenShown();   // only when measuring start-up
    return app.exec();
}
