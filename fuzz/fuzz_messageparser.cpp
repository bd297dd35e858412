// Server messages into the program: every line of the input is one text
// message for CMessageParser::processReceivedMessage, whose handlers run at
// once and reach every listener of the real window (client state machine,
// login widget, counters, workspace form and device table). As in the program,
// one window lives through all messages; each input starts with a fresh scan.
// The socket never connects, so whatever the handlers send is dropped.
//
// Surviving is not enough: after every message the window must still tell the
// truth (see checkInvariants), or the target aborts and libFuzzer reports it.

#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CServerSettingsWidget.h"
#include "CTopPanel.h"
#include "FuzzSupport.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>

namespace PK = ProtocolKeys;

namespace {

CMainWindow* window = nullptr;

// What the operator sees of the session and the counts, found once.
struct Shown
{
    const QLabel* loginStatus = nullptr;
    const QPushButton* addButton = nullptr;
    const QLabel* total = nullptr;
    const QLabel* added = nullptr;
};
Shown shown;
// What the answers so far allow: a login stands from an "auth_resp" whose
// "status" is true until a refused login or a confirmed logout. Kept across
// inputs, like the window.
bool loginGranted = false;

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

template<typename T>
const T* part(const QWidget* parent, const char* name)
{
    const T* widget = parent->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("fuzz_messageparser: the window has no %s", name);
    return widget;
}

void followLogin(const QString& message)
{
    const QJsonObject object = QJsonDocument::fromJson(message.toUtf8()).object();
    const QString cmd = object.value(PK::cmd).toString();
    const bool confirmed = object.value(PK::status) == QJsonValue(true);
    if (cmd == PK::authResp && object.contains(PK::status))
        loginGranted = confirmed;
    else if (cmd == PK::closeAuthResp && confirmed)
        loginGranted = false;
}

void check(bool holds, const char* invariant, const QString& message)
{
    if (!holds)
        qFatal("fuzz_messageparser: %s\n  after: %s", invariant, qPrintable(message.left(400)));
}

bool isCount(const QString& text)
{
    bool number = false;
    const qint64 value = text.toLongLong(&number);
    return number && value >= 0;
}

void checkInvariants(const QString& message)
{
    const bool online = shown.loginStatus->text() == QLatin1String("Online:");
    check(online == loginGranted, "the login status follows the login and logout answers", message);
    check(shown.addButton->isEnabled() == loginGranted, "Add is enabled exactly while logged in", message);
    check(!CServerClient::instance()->isReady() || loginGranted,
          "requests pass only within a login", message);

    const QString total = shown.total->text();
    check(total == QLatin1String("[all count]") || isCount(total), "the device total is a count", message);
    check(isCount(shown.added->text()), "the added count is a count", message);

    const QString scanned = scannedDevice().devEui;
    check(window->workspace()->deviceInfo().devEui.compare(scanned, Qt::CaseInsensitive) == 0,
          "the working record is the scanned device's", message);
    const CServerDataBox* box = window->workspace()->serverDataBox();
    check(box->valueText(CServerDataBox::Status) != QLatin1String("Зарегистрировано")
              || box->valueText(CServerDataBox::DevEui).compare(scanned, Qt::CaseInsensitive) == 0,
          "the server box shows the scanned device", message);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    ScannedDevices::instance(qApp)->addDevice(scannedDevice().devEui);
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
    // Kept for the whole process, like the application (see FuzzSupport).
    window = new CMainWindow;
    shown.loginStatus = part<QLabel>(window->leftPanel()->serverSettings(), "statusText");
    shown.addButton = part<QPushButton>(window->workspace(), "addButton");
    shown.total = part<QLabel>(window->topPanel(), "totalValue");
    shown.added = part<QLabel>(window->topPanel(), "addedValue");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    window->workspace()->scanDeviceInfo(scannedDevice());
    CMessageParser* parser = CMessageParser::instance();
    for (const QString& message : FuzzSupport::messages(FuzzSupport::bytes(data, size))) {
        parser->processReceivedMessage(message);
        followLogin(message);
        checkInvariants(message);
    }
    FuzzSupport::settle();
    return 0;
}
