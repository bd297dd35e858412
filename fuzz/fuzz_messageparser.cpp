// Server messages into the program: every line of the input is one text
// message for CMessageParser::processReceivedMessage, whose handlers run at
// once and reach every listener of the real window (client state machine,
// login widget, counters, workspace form and device table). As in the program,
// one window lives through all messages; each input starts with a fresh scan.
// The socket never connects, so whatever the handlers send is dropped.

#include "CIAboutDevice.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "FuzzSupport.h"
#include "ScannedDevices.h"

#include <QApplication>

namespace {

CIAboutDevice* workspace = nullptr;

// The device the operator has just scanned; it was also added in this run and
// not yet sent data, so answers about it fill the form and an "rx" naming it
// takes the first-packet branch.
CLoraDeviceInfo scannedDevice()
{
    CLoraDeviceInfo info;
    info.devEui = QStringLiteral("70B3D5000000A001");
    info.appEui = QStringLiteral("70B3D50000000001");
    info.appKey = QStringLiteral("000102030405060708090A0B0C0D0E0F");
    return info;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    ScannedDevices::instance(qApp)->addDevice(scannedDevice().devEui);
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
    // Kept for the whole process, like the application (see FuzzSupport).
    auto* window = new CMainWindow;
    workspace = window->findChild<CIAboutDevice*>();
    if (!workspace)
        qFatal("fuzz_messageparser: the window has no workspace");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    workspace->scanDeviceInfo(scannedDevice());
    CMessageParser* parser = CMessageParser::instance();
    for (const QString& message : FuzzSupport::messages(FuzzSupport::bytes(data, size)))
        parser->processReceivedMessage(message);
    FuzzSupport::settle();
    return 0;
}
