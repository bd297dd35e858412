#include "CScanerSettings.h"

#include "Diagnostics.h"
#include "WidgetLayouts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaEnum>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString iconWaiting = QStringLiteral(":/icons/flatWarningIco.png");
const QString iconOpened = QStringLiteral(":/icons/flatOkIco.png");
const QString iconFailed = QStringLiteral(":/icons/flatCancelIco.png");

// A DevAddr is at most 7FFFFFFF; anything else, or text that is not a plain
// hexadecimal number, leaves it at 0.
qint32 devAddressFrom(const QString& value)
{
    static const QRegularExpression hex(QStringLiteral("^(0[xX])?[0-9A-Fa-f]+$"));
    const QString text = value.trimmed();
    if (!hex.match(text).hasMatch())
        return 0;
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok, 16);
    return (ok && number <= 0x7FFFFFFFu) ? qint32(number) : 0;
}

} // namespace

CScanerSettings::CScanerSettings(QWidget* parent)
    : QWidget(parent)
{
    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(3, 3, 3, 3);
    mainLayout->setSpacing(2);

    m_title = new QLabel(tr("Сканер"), this);
    m_title->setContentsMargins(0, 15, 0, 0);
    m_title->setAlignment(Qt::AlignCenter);
    mainLayout->addWidget(m_title);

    QHBoxLayout* portRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_portBox = new QComboBox(this);
    m_portBox->setObjectName(QStringLiteral("portBox"));
    m_portBox->setFixedWidth(160);
    m_portBox->setMaxVisibleItems(10);
    m_statusIcon = new QLabel(this);
    m_statusIcon->setObjectName(QStringLiteral("statusIcon"));
    setStatusIcon(iconWaiting);
    portRow->addWidget(m_portBox);
    portRow->addWidget(m_statusIcon);

    m_refreshButton = new QPushButton(tr("&Обновить"), this);
    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    m_refreshButton->setFixedWidth(75);
    mainLayout->addWidget(m_refreshButton);
    mainLayout->addStretch(5);

    m_quietGap = new QTimer(this);
    m_quietGap->setObjectName(QStringLiteral("scanQuietGap"));
    m_quietGap->setSingleShot(true);
    m_quietGap->setInterval(scanQuietGapMs);
    // A coarse timer may fire up to 5 % late, or on Windows a whole tick of
    // about 16 ms: every scan would wait that much longer.
    m_quietGap->setTimerType(Qt::PreciseTimer);
    connect(m_quietGap, &QTimer::timeout, this, &CScanerSettings::readCode);

    connect(m_refreshButton, &QPushButton::clicked, this, &CScanerSettings::refreshPorts);
    connect(m_portBox, QOverload<int>::of(&QComboBox::currentIndexChanged),
            this, &CScanerSettings::initPort);

    refreshPorts();
}

void CScanerSettings::refreshPorts()
{
    DIAG() << "Сработало обновление устройств на usb портах";
    // Each change of the current item reopens: clearing closes the old port,
    // the first item added opens the first port found.
    m_portBox->clear();
    ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : qAsConst(ports)) {
        const QString description =
            info.description().isEmpty() ? QStringLiteral("unidentified") : info.description();
        m_portBox->addItem(description + QStringLiteral(" - ") + info.portName());
    }
    DIAG() << "Обновил combobox";
}

void CScanerSettings::initPort()
{
    const int index = m_portBox->currentIndex();
    DIAG() << "Инициализирую порт сканера" << index;

    closePort();
    if (index == -1) {
        DIAG() << index;
        return;
    }

    const QSerialPortInfo info = index < ports.size() ? ports.at(index) : QSerialPortInfo();
    port = new QSerialPort(info, this);
    openCurrentPort();
}

void CScanerSettings::openPortByName(const QString& portName)
{
    DIAG() << portName;
    closePort();
    port = new QSerialPort(portName, this);
    openCurrentPort();
}

void CScanerSettings::closePort()
{
    // Half a scan from the previous port must not be completed by the next one.
    dropGathered();
    if (!port)
        return;
    // A receiver of newDeviceInfo may refresh while the port is still inside
    // its readyRead emission: silence it now, free it once control is back.
    disconnect(port, nullptr, this, nullptr);
    if (port->isOpen())
        port->close();
    port->deleteLater();
    port = nullptr;
}

void CScanerSettings::openCurrentPort()
{
    connect(port, &QSerialPort::errorOccurred, this, &CScanerSettings::onPortError);
    connect(port, &QSerialPort::readyRead, this, &CScanerSettings::gatherBytes);

    DIAG() << "FlowControl: " << port->flowControl()
           << "\nStatus: " << port->openMode()
           << "\nBaudRate: " << port->baudRate()
           << "\nDataBits: " << port->dataBits()
           << "\nPort name: " << port->portName();

    // The scanner talks at the library's defaults: 9600 8N1, no flow control.
    if (port->open(QIODevice::ReadOnly)) {
        setStatusIcon(iconOpened);
    } else {
        setStatusIcon(iconFailed);
        DIAG() << QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(port->error());
    }
}

void CScanerSettings::onPortError(QSerialPort::SerialPortError error)
{
    const QString text = port ? port->errorString() : QString();
    DIAG() << QStringLiteral("Serial port errorOccurred: code[%1] - %2").arg(int(error)).arg(text);
    if (error != QSerialPort::NoError)
        dropGathered();   // whatever was cut off there is no whole scan

    // A line that was hung up (scanner unplugged) stays readable with nothing
    // to read, and would report ReadError in a tight loop: close it and show
    // it as failed. Closing waits until the port has left its notification.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    QMetaObject::invokeMethod(this, [this, failed = QPointer<QSerialPort>(port)] {
        if (!failed || failed != port || !port->isOpen())
            return;
        port->close();
        setStatusIcon(iconFailed);
        DIAG() << "closed" << port->portName();
    }, Qt::QueuedConnection);
}

void CScanerSettings::gatherBytes()
{
    if (!port)
        return;
    m_gathered += port->readAll();
    m_quietGap->start();
}

void CScanerSettings::dropGathered()
{
    m_quietGap->stop();
    m_gathered.clear();
}

void CScanerSettings::readCode()
{
    DIAG() << "Сканер считывает данные";
    if (!port)
        return;

    m_quietGap->stop();
    m_gathered += port->readAll();
    const CLoraDeviceInfo devInfo = parseCode(std::exchange(m_gathered, QByteArray()));
    DIAG() << "devInfo.isValid()" << devInfo.isValid();
    emit newDeviceInfo(devInfo);

    DIAG() << "DevEUI: " << devInfo.devEui << "\n"
           << "AppEui: " << devInfo.appEui << "\n"
           << "AppKey: " << devInfo.appKey << "\n"
           << "DevAddress: " << QString::number(devInfo.devAddress, 16).toUpper() << "\n"
           << "AppSKey: " << devInfo.appsKey << "\n"
           << "NwkSKey: " << devInfo.nwksKey;
    DIAG() << "Считал";
}

CLoraDeviceInfo CScanerSettings::parseCode(const QByteArray& data)
{
    // Key texts are matched lower-cased; "devadd" covers DevAddr and DevAddress.
    enum Field { DevEui, AppEui, AppKey, DevAddr, AppSKey, NwkSKey };
    static const QList<QPair<QString, Field>> keys = {
        {QStringLiteral("deveui"), DevEui},   {QStringLiteral("appeui"), AppEui},
        {QStringLiteral("appkey"), AppKey},   {QStringLiteral("devadd"), DevAddr},
        {QStringLiteral("appskey"), AppSKey}, {QStringLiteral("nwkskey"), NwkSKey},
    };

    CLoraDeviceInfo devInfo;
    devInfo.devAddress = 0;

    // Text ends at the first zero byte, as the scanner's C string would.
    const int end = data.indexOf('\0');
    const QString text = QString::fromUtf8(end < 0 ? data : data.left(end));
    DIAG() << text;

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        DIAG() << line;
        const int equals = line.indexOf(QLatin1Char('='));
        if (line.isEmpty() || equals < 0)
            continue;

        // Only the key part names a field, so a value can never be taken for a key.
        const QString keyPart = line.left(equals).toLower();
        // Scanners end lines with CR LF as often as with LF; blanks are never part of a key.
        const QString value = line.section(QLatin1Char('='), 1, 1).trimmed();

        for (const auto& key : keys) {
            if (!keyPart.contains(key.first))
                continue;
            switch (key.second) {
            case DevEui: devInfo.devEui = value.toUpper(); break;
            case AppEui: devInfo.appEui = value.toUpper(); break;
            case AppKey: devInfo.appKey = value.toUpper(); break;
            case DevAddr: devInfo.devAddress = devAddressFrom(value); break;
            case AppSKey: devInfo.appsKey = value.toUpper(); break;
            case NwkSKey: devInfo.nwksKey = value.toUpper(); break;
            }
        }
    }
    return devInfo;
}

void CScanerSettings::setStatusIcon(const QString& path)
{
    m_iconPath = path;
    m_statusIcon->setPixmap(
        QPixmap(path).scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
