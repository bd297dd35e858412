#include "ProgramStartup.h"

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "ScannedDevices.h"
#include "TesmarVersion.h"

#include <QCoreApplication>
#include <QTranslator>

void ProgramStartup::start(QObject* owner, QTranslator& translator)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tesmar " TESMAR_VERSION));

    CSettings::instance(owner);
    ScannedDevices::instance(owner);

    DIAG() << CSettings::readValue(CSettings::language, QVariant()).toString();
    // A language that names no embedded file leaves the source texts.
    static_cast<void>(translator.load(QStringLiteral(":/Translations/tesmar_")
                                      + CSettings::readValue(CSettings::language, QVariant()).toString()));
    QCoreApplication::installTranslator(&translator);

    connectServerToParser(CServerClient::instance(QStringLiteral("ws://"), owner),
                          CMessageParser::instance(owner));

    CSettings::ensureDefaults();
}

void ProgramStartup::connectServerToParser(CServerClient* client, CMessageParser* parser)
{
    QObject::connect(client, &QWebSocket::textMessageReceived, parser, &CMessageParser::processReceivedMessage,
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
}
