// The development server's protocol handling, without a socket: every line of
// the input is one text message, sent on a session that has logged in and on
// one that has not. Each input starts from an empty store.

#include "FuzzSupport.h"
#include "ProtocolKeys.h"
#include "RequestHandler.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

namespace {

// Every answer the server sends is one JSON object with "cmd".
void checkAnswers(const QStringList& answers)
{
    for (const QString& answer : answers) {
        const QJsonDocument document = QJsonDocument::fromJson(answer.toUtf8());
        if (!document.isObject() || !document.object().value(ProtocolKeys::cmd).isString())
            __builtin_trap();
    }
}

// No two stored devices may share a DevAddr: the network could not tell them apart.
void checkStore(const DevServer::DeviceStore& store, int maxDevices)
{
    const QJsonArray devices = store.devices();
    if (store.makerCount() < 0 || store.otherCount() < 0 || store.size() > maxDevices
        || devices.size() != store.size())
        __builtin_trap();
    QSet<int> addresses;
    for (const QJsonValue& device : devices) {
        const QJsonObject abp = device.toObject().value(ProtocolKeys::abp).toObject();
        if (!abp.contains(ProtocolKeys::devAddress))
            continue;
        const int address = abp.value(ProtocolKeys::devAddress).toInt();
        if (addresses.contains(address))
            __builtin_trap();
        addresses.insert(address);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DevServer::ServerConfig config;
    config.maxDevices = 8; // small enough that inputs reach the limit
    DevServer::DeviceStore store(config.makerPrefix);
    DevServer::RequestHandler handler(store, config);

    DevServer::ServerSession loggedIn;
    loggedIn.logIn(config.login, QStringLiteral("0123456789abcdef"));
    DevServer::ServerSession stranger;

    for (const QString& message : FuzzSupport::messages(FuzzSupport::bytes(data, size))) {
        checkAnswers(handler.handleTextMessage(loggedIn, message));
        checkAnswers(handler.handleTextMessage(stranger, message));
    }
    checkStore(store, config.maxDevices);
    return 0;
}
