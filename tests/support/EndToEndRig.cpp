#include "EndToEndRig.h"

#include "CLeftPanel.h"
#include "CScanerSettings.h"
#include "ProgramStartup.h"
#include "TestHelpers.h"

#include <QPushButton>

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
    TestHelpers::registerRecordTypes();
    ProgramStartup::start(&m_owner, m_translator);

    m_window = std::make_unique<CMainWindow>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("EndToEndRig: the main window was never exposed");
    if (m_scanner.isOpen())
        m_window->leftPanel()->scanerSettings()->openPortByName(m_scanner.slavePath());
}

bool EndToEndRig::isScannerOpen() const
{
    const QSerialPort* port = m_window->leftPanel()->scanerSettings()->currentPort();
    return m_scanner.isOpen() && port && port->isOpen();
}

void EndToEndRig::connectTo(const QString& address, const QString& user, const QString& password)
{
    child<QLineEdit>("addressEdit")->setText(address);
    child<QLineEdit>("userEdit")->setText(user);
    child<QLineEdit>("passwordEdit")->setText(password);
    QTest::mouseClick(child<QPushButton>("connectButton"), Qt::LeftButton);
}

bool EndToEndRig::logIn(const QString& address, const QString& user, const QString& password, int timeoutMs)
{
    connectTo(address, user, password);
    return QTest::qWaitFor([this] { return client()->isReady(); }, timeoutMs);
}

QString EndToEndRig::loginError() const
{
    const auto* label = child<QLabel>("errorLabel");
    return label->isVisibleTo(label->parentWidget()) ? label->text() : QString();
}

QByteArray EndToEndRig::scanCode(const QString& devEui, const QString& appEui, const QString& appKey)
{
    return QStringLiteral("DevEUI=%1\r\nAppEUI=%2\r\nAppKey=%3\r\n").arg(devEui, appEui, appKey).toLatin1();
}

QString EndToEndRig::scanAndWaitForVerdict(const QByteArray& code, int timeoutMs)
{
    QSignalSpy verdicts(parser(), &CMessageParser::mngDevRespSignal);
    if (!scan(code) || (verdicts.isEmpty() && !verdicts.wait(timeoutMs)))
        return QString();
    return verdicts.first().at(0).toString();
}
