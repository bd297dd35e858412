#include "EndToEndRig.h"

#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CScanerSettings.h"
#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "CTopPanel.h"
#include "ScannedDevices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns each time the window's layout changes its
// minimum size, which every scan may do: thousands of lines saying nothing.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

EndToEndRig::EndToEndRig()
{
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(dropPlatformNoise);
    QCoreApplication* app = QCoreApplication::instance();
    qRegisterMetaType<CLoraDeviceInfo>();
    qRegisterMetaType<CloraAuthResp>();
    qRegisterMetaType<CloraInfoResp>();
    qRegisterMetaType<CServerClient::EClientStates>();

    // In the order of the program's main function.
    CSettings::instance(app);
    ScannedDevices::instance(app);
    CServerClient* serverClient = CServerClient::instance(QStringLiteral("ws://"), app);
    CMessageParser* messageParser = CMessageParser::instance(app);
    QObject::connect(serverClient, &QWebSocket::textMessageReceived, messageParser,
                     &CMessageParser::processReceivedMessage, Qt::QueuedConnection);
    CSettings::ensureDefaults();

    m_window = std::make_unique<CMainWindow>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("EndToEndRig: the main window was never exposed");

    if (m_scanner.isOpen())
        m_window->leftPanel()->scanerSettings()->openPortByName(m_scanner.slavePath());
}

EndToEndRig::~EndToEndRig() = default;

bool EndToEndRig::isScannerOpen() const
{
    const QSerialPort* port = m_window->leftPanel()->scanerSettings()->currentPort();
    return m_scanner.isOpen() && port && port->isOpen();
}

CServerClient* EndToEndRig::client() const
{
    return CServerClient::instance();
}

CMessageParser* EndToEndRig::parser() const
{
    return CMessageParser::instance();
}

template<typename T>
T* EndToEndRig::widget(const char* objectName) const
{
    return m_window->findChild<T*>(QString::fromLatin1(objectName));
}

bool EndToEndRig::logIn(const QString& address, const QString& user, const QString& password,
                        int timeoutMs)
{
    CServerSettingsWidget* login = m_window->leftPanel()->serverSettings();
    const std::pair<const char*, QString> fields[] = {
        {"addressEdit", address}, {"userEdit", user}, {"passwordEdit", password}};
    for (const auto& field : fields) {
        auto* edit = login->findChild<QLineEdit*>(QString::fromLatin1(field.first));
        if (!edit)
            return false;
        edit->clear();
        QTest::keyClicks(edit, field.second);
    }

    QSignalSpy states(client(), &CServerClient::clientStateChanged);
    QTest::mouseClick(login->findChild<QPushButton*>(QStringLiteral("connectButton")), Qt::LeftButton);
    while (!client()->isReady()) {
        if (!states.wait(timeoutMs))
            return false;
    }
    return true;
}

void EndToEndRig::setAutoMode(bool on)
{
    widget<QCheckBox>("autoModeCheck")->setChecked(on);
}

void EndToEndRig::clickAdd()
{
    QTest::mouseClick(widget<QPushButton>("addButton"), Qt::LeftButton);
}

void EndToEndRig::clickDeleteAddedDevices()
{
    QTest::mouseClick(m_window->topPanel()->findChild<QPushButton*>(QStringLiteral("deleteButton")),
                      Qt::LeftButton);
}

QByteArray EndToEndRig::scanCode(const QString& devEui, const QString& appEui, const QString& appKey)
{
    return QStringLiteral("DevEUI=%1\r\nAppEUI=%2\r\nAppKey=%3\r\n").arg(devEui, appEui, appKey).toLatin1();
}

bool EndToEndRig::scan(const QByteArray& code)
{
    return m_scanner.write(code);
}

QString EndToEndRig::scanAndWaitForVerdict(const QByteArray& code, int timeoutMs)
{
    QSignalSpy verdicts(parser(), &CMessageParser::mngDevRespSignal);
    if (!scan(code))
        return QString();
    if (verdicts.isEmpty() && !verdicts.wait(timeoutMs))
        return QString();
    return verdicts.first().at(0).toString();
}

QString EndToEndRig::verdictText() const
{
    return widget<QLabel>("messageLabel")->text();
}

QString EndToEndRig::addedCounterText() const
{
    return m_window->topPanel()->findChild<QLabel*>(QStringLiteral("addedValue"))->text();
}

QString EndToEndRig::totalCounterText() const
{
    return m_window->topPanel()->findChild<QLabel*>(QStringLiteral("totalValue"))->text();
}
