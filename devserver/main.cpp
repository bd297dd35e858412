#include "DeviceRules.h"
#include "ServerConfig.h"
#include "ServerEndpoint.h"
#include "TesmarVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <unistd.h>
#endif

namespace {

bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, qint64 min, qint64 max,
                qint64* value, QString* error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const qint64 number = parser.value(option).toLongLong(&ok);
    if (!ok || number < min || number > max) {
        *error = QStringLiteral("--%1 takes a number from %2 to %3")
                     .arg(option.names().constFirst())
                     .arg(min)
                     .arg(max);
        return false;
    }
    *value = number;
    return true;
}

bool readConfig(const QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                DevServer::ServerConfig* config, QString* error)
{
    enum { host, port, login, password, maxDevices, maxClients, maxMessage, makerPrefix, uplinkAfter };
    if (parser.isSet(options[host]))
        config->host = parser.value(options[host]);
    if (parser.isSet(options[login]))
        config->login = parser.value(options[login]);
    if (parser.isSet(options[password]))
        config->password = parser.value(options[password]);
    if (parser.isSet(options[makerPrefix])) {
        const QString prefix = parser.value(options[makerPrefix]);
        if (prefix.size() > 16 || !DevServer::DeviceRules::isHexText(prefix, prefix.size())) {
            *error = QStringLiteral("--maker-prefix takes up to 16 hexadecimal digits");
            return false;
        }
        config->makerPrefix = prefix.toUpper();
    }
    qint64 number = config->port;
    if (!readNumber(parser, options[port], 0, 65535, &number, error))
        return false;
    config->port = quint16(number);
    number = config->maxDevices;
    if (!readNumber(parser, options[maxDevices], 0, 10000000, &number, error))
        return false;
    config->maxDevices = int(number);
    number = config->maxClients;
    if (!readNumber(parser, options[maxClients], 1, 100000, &number, error))
        return false;
    config->maxClients = int(number);
    number = config->maxMessageBytes;
    if (!readNumber(parser, options[maxMessage], 1024, qint64(256) * 1024 * 1024, &number, error))
        return false;
    config->maxMessageBytes = number;
    number = config->uplinkAfterMs;
    if (!readNumber(parser, options[uplinkAfter], 0, 24 * 3600 * 1000, &number, error))
        return false;
    config->uplinkAfterMs = int(number);
    config->verbose = parser.isSet(QStringLiteral("verbose"));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tesmar-devserver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESMAR_VERSION));

    const DevServer::ServerConfig defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Development network server for Tesmar: keeps devices in memory and answers "
                       "the program's WebSocket JSON protocol."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QList<QCommandLineOption> options = {
        {QStringLiteral("host"), QStringLiteral("Address to listen on (default %1).").arg(defaults.host),
         QStringLiteral("address")},
        {QStringLiteral("port"), QStringLiteral("Port (default %1; 0 picks a free one).").arg(defaults.port),
         QStringLiteral("port")},
        {QStringLiteral("login"), QStringLiteral("Accepted user name (default %1).").arg(defaults.login),
         QStringLiteral("name")},
        {QStringLiteral("password"), QStringLiteral("Accepted password (default %1).").arg(defaults.password),
         QStringLiteral("password")},
        {QStringLiteral("max-devices"),
         QStringLiteral("Devices the server holds at most (default %1).").arg(defaults.maxDevices),
         QStringLiteral("count")},
        {QStringLiteral("max-clients"),
         QStringLiteral("Connections served at once (default %1).").arg(defaults.maxClients),
         QStringLiteral("count")},
        {QStringLiteral("max-message-size"),
         QStringLiteral("Largest accepted message in bytes (default %1).").arg(defaults.maxMessageBytes),
         QStringLiteral("bytes")},
        {QStringLiteral("maker-prefix"),
         QStringLiteral("DevEUI prefix of the maker's own devices (default %1).").arg(defaults.makerPrefix),
         QStringLiteral("hex")},
        {QStringLiteral("uplink-after-ms"),
         QStringLiteral("Send each newly added device's first uplink (\"rx\") after this many ms."),
         QStringLiteral("ms")},
    };
    parser.addOptions(options);
    parser.addOption({QStringLiteral("verbose"), QStringLiteral("Print every message in and out.")});
#ifdef Q_OS_UNIX
    parser.addOption({QStringLiteral("exit-with-parent"),
                      QStringLiteral("Stop when standard input closes: the process that started "
                                     "this one and holds its input has ended.")});
#endif

    QTextStream err(stderr);
    if (!parser.parse(QCoreApplication::arguments())) {
        err << "tesmar-devserver: " << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    // A test that crashes must not leave its server behind: an orphan keeps
    // the test's output open, and the test runner waits on it until its
    // timeout. The starting process holds our standard input; when it ends,
    // however it ends, the input closes. A socket notifier cannot watch
    // standard input on Windows, so the option exists only elsewhere.
#ifdef Q_OS_UNIX
    if (parser.isSet(QStringLiteral("exit-with-parent"))) {
        auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(input, &QSocketNotifier::activated, &app, [input] {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                input->setEnabled(false);
                QCoreApplication::exit(0);
            }
        });
    }
#endif

    DevServer::ServerConfig config;
    QString error;
    if (!readConfig(parser, options, &config, &error)) {
        err << "tesmar-devserver: " << error << Qt::endl;
        return 2;
    }

    DevServer::ServerEndpoint server(config);
    if (!server.listen(&error)) {
        err << "tesmar-devserver: cannot listen on " << config.host << ':' << config.port << ": " << error
            << Qt::endl;
        return 1;
    }
    // Scripts and tests read the chosen port from this line.
    QTextStream(stdout) << "listening on " << server.address().toString() << ':' << server.port() << Qt::endl;
    return app.exec();
}
