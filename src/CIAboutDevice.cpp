#include "CIAboutDevice.h"

#include "CDeviceKeysBox.h"
#include "CDeviceTable.h"
#include "CExpertSettingsField.h"
#include "CKeySheetImport.h"
#include "CMessageLabel.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CPresetBar.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "DeviceCompletion.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"
#include "StatusTexts.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString invalidScanText = QStringLiteral("Invalid QR/Barcode");

// The width of the message, the keys and the server's data, and the least
// width of the settings column.
constexpr int columnWidth = 414;
constexpr int deviceTableTab = 1;

} // namespace

CIAboutDevice::CIAboutDevice(QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(2);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->installEventFilter(this);
    outer->addWidget(m_tabs);

    auto* registrationTab = new QWidget(m_tabs);
    buildRegistrationTab(registrationTab);
    m_tabs->addTab(registrationTab, tr("Регистрация устройства"));

    m_deviceTable = new CDeviceTable(m_tabs);
    m_tabs->addTab(m_deviceTable, tr("Таблица устройств"));

    defaulSettingsWDs();

    CMessageParser* parser = CMessageParser::instance();
    connect(parser, &CMessageParser::authMsgResp, this, &CIAboutDevice::statusCon);
    connect(CServerClient::instance(), &CServerClient::hostError, this, &CIAboutDevice::statusCon);
    connect(parser, &CMessageParser::mngDevRespSignal, this, &CIAboutDevice::changePossibleStates);
    connect(parser, &CMessageParser::infoDevicesResp, this, &CIAboutDevice::changeDevInfo);
    connect(parser, &CMessageParser::serverInfoResp, this, &CIAboutDevice::prepareToFillTable);
    connect(parser, &CMessageParser::deviceMbRemoved, this, &CIAboutDevice::onDeviceRemoved);

    connect(m_tabs, &QTabWidget::currentChanged, this, &CIAboutDevice::onTabChanged);
    connect(m_addButton, &QPushButton::clicked, this, &CIAboutDevice::sendInfoToTheNextStage);
    connect(m_autoModeCheck, &QCheckBox::toggled, this, &CIAboutDevice::updateAddButton);
    connect(m_importButton, &QPushButton::clicked, this, &CIAboutDevice::openImport);

    m_presets->setForm(m_expert, m_optional);
}

// ---------------------------------------------------------------- layout

bool CIAboutDevice::eventFilter(QObject* watched, QEvent* event)
{
    // A tab widget repaints itself whole on every layout request, and one
    // arrives for each label that changes on either page: three full repaints
    // a registration. Its own layout depends only on the size hints, so the
    // request is passed on only when those changed.
    if (watched == m_tabs && event->type() == QEvent::LayoutRequest) {
        const TabHints hints{m_tabs->sizeHint(), m_tabs->minimumSizeHint(),
                             m_tabs->tabBar()->sizeHint()};
        if (hints == m_tabHints)
            return true;
        m_tabHints = hints;
    }
    return QWidget::eventFilter(watched, event);
}

void CIAboutDevice::buildRegistrationTab(QWidget* tab)
{
    auto* tabLayout = new QHBoxLayout(tab);
    tabLayout->setContentsMargins(1, 1, 1, 1);
    tabLayout->setSpacing(2);

    auto* left = new QVBoxLayout;
    left->setContentsMargins(1, 1, 1, 1);
    left->setSpacing(2);
    tabLayout->addLayout(left);

    m_messageLabel = new CMessageLabel(columnWidth, tab);
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    left->addWidget(m_messageLabel);

    m_keysBox = new CDeviceKeysBox(tab);
    m_keysBox->setFixedWidth(columnWidth);
    left->addWidget(m_keysBox);

    m_addButton = new QPushButton(tr("&Добавить"), tab);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addButton->setFixedWidth(75);
    m_addButton->setEnabled(false);
    left->addWidget(m_addButton);

    m_autoModeCheck = new QCheckBox(tr("Добавлять в автоматическом режиме"), tab);
    m_autoModeCheck->setObjectName(QStringLiteral("autoModeCheck"));
    left->addWidget(m_autoModeCheck);

    m_importButton = new QPushButton(tr("Импорт из файла…"), tab);
    m_importButton->setObjectName(QStringLiteral("importButton"));
    left->addWidget(m_importButton, 0, Qt::AlignLeft);

    m_serverDataScroll = new QScrollArea(tab);
    m_serverDataScroll->setObjectName(QStringLiteral("serverDataScroll"));
    m_serverDataScroll->setWidgetResizable(true);
    m_serverDataScroll->setMinimumWidth(430);
    // It scrolls rather than ask for its whole height: the window must fit a
    // 768-pixel screen, where all 27 rows do not.
    m_serverDataScroll->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_serverData = new CServerDataBox(m_serverDataScroll);
    m_serverData->setObjectName(QStringLiteral("serverDataBox"));
    m_serverData->setFixedWidth(columnWidth);
    m_serverDataScroll->setWidget(m_serverData);
    left->addWidget(m_serverDataScroll);

    tabLayout->addWidget(buildSettingsColumn(tab));
}

QWidget* CIAboutDevice::buildSettingsColumn(QWidget* parent)
{
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(columnWidth);

    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    m_presets = new CPresetBar(content);
    column->addWidget(m_presets);
    m_expert = new CExpertSettingsField(content);
    m_expert->setObjectName(QStringLiteral("expertSettings"));
    column->addWidget(m_expert);
    m_optional = new COptionalSettingsField(content);
    m_optional->setObjectName(QStringLiteral("optionalSettings"));
    column->addWidget(m_optional);
    column->addStretch(15);

    scroll->setWidget(content);
    return scroll;
}

void CIAboutDevice::defaulSettingsWDs()
{
    m_keysBox->resetEdits();
    m_serverData->hide();
    clearDevInfoFromServer();
}

// ---------------------------------------------------------------- registration

void CIAboutDevice::scanDeviceInfo(CLoraDeviceInfo info)
{
    m_deviceInfo = info;
    m_messageLabel->clear();

    if (!m_deviceInfo.isValid()) {
        DIAG() << "Ошибка чтения QR/Barcode";
        m_messageLabel->showScanError();
        m_keysBox->showInvalid(invalidScanText);
        clearDevInfoFromServer();
        m_serverData->show();
        m_serverData->showNotice(invalidScanText);
        emit resizeWindow();
        return;
    }

    m_messageLabel->hide();
    m_keysBox->showKeys(m_deviceInfo);

    DIAG() << "Проверяю статус подключения к вебсокету";

    // Until the login is complete the lookup would be dropped unanswered:
    // the operator is told there is no connection instead.
    if (CServerClient::instance()->isReady()) {
        // The requests leave first. The server box is reset after them, in
        // the same turn of the event loop, so the operator sees no difference;
        // a colour change re-polishes its label and would delay them.
        CMessageParser::instance()->getDevReq(m_deviceInfo);
        if (m_autoModeCheck->isChecked())
            sendInfoToTheNextStage();
        m_serverData->resetDevEuiValue();
        m_serverData->resetStatus();
        return;
    }

    m_serverData->resetDevEuiValue();

    if (!m_serverData->isHidden()) {
        DIAG() << "АХТУНГ закрыт вебсокет";
        clearDevInfoFromServer();
    }
    m_serverData->showStatus(tr("Нет подлючения к серверу"), true);
    m_serverData->show();
    emit resizeWindow();
}

void CIAboutDevice::sendInfoToTheNextStage()
{
    const OptionalSettings optional = m_optional->getSettings();
    const ExpertSettings expert = m_expert->getSettings();
    // Black again once the request is out, whichever way this ends.
    const auto blackDevEui = qScopeGuard([this] { m_serverData->setDevEuiValueBlack(); });

    DIAG() << "existABP" << m_deviceInfo.existABP();
    DIAG() << "existOTAA" << m_deviceInfo.existOTAA();
    DIAG() << "isValid" << m_deviceInfo.isValid();
    if (!m_deviceInfo.isValid())
        return;
    if (!CServerClient::instance()->isReady()) {
        DIAG() << "not registered: the server connection is not ready";
        m_serverData->showStatus(tr("Нет подлючения к серверу"), true);
        m_serverData->show();
        return;
    }

    const CLoraDeviceInfo device = completedRecord(m_deviceInfo, m_keysBox->shownDevEui(), optional, expert);
    m_deviceInfo = device;
    // The verdict on show was about an earlier request; a refusal word with no
    // text of its own would leave it standing, an earlier "added" looking like this
    // device's success. (An import reports its verdicts in its own dialog.)
    m_messageLabel->hide();
    registerDevice(device);
}

CLoraDeviceInfo CIAboutDevice::completedRecord(CLoraDeviceInfo device, const QString& shownDevEui,
                                               const OptionalSettings& optional, const ExpertSettings& expert)
{
    return DeviceCompletion::completed(device, shownDevEui, optional, expert);
}

bool CIAboutDevice::registerDevice(CLoraDeviceInfo device)
{
    // A request the client would drop must not be recorded as sent.
    if (!CServerClient::instance()->isReady()) {
        DIAG() << "not registered: the server connection is not ready";
        return false;
    }
    // Recorded before the request leaves, whatever the server answers. A box
    // about the devices file lets answers and scans in meanwhile: they may
    // change the working record, never this copy of it.
    ScannedDevices* scanned = ScannedDevices::instance();
    const bool written = scanned->writeDeviceToFile(device);
    scanned->registrationSent(device.devEui);

    CMessageParser::instance()->mngDevReq(device);
    return written;
}

void CIAboutDevice::changePossibleStates(QString lastStatus)
{
    DIAG() << "Обрабатываю результат ответа от сервера";
    m_messageLabel->showVerdict(lastStatus);
    DIAG() << "Вывел сообщение , которое вернул сервер";
}

QString CIAboutDevice::operatorText(const QString& status)
{
    return StatusTexts::operatorText(status);
}

void CIAboutDevice::changeDevInfo(CLoraDeviceInfo devInfoResp)
{
    if (devInfoResp.foundMarker == 1) {
        // Device lists also arrive for the table; only an answer about the
        // scanned device may replace what the operator is working on.
        if (m_deviceInfo.devEui.isEmpty()
            || devInfoResp.devEui.compare(m_deviceInfo.devEui, Qt::CaseInsensitive) != 0) {
            DIAG() << "not the scanned device:" << devInfoResp.devEui;
            return;
        }
        m_deviceInfo = devInfoResp;
        m_serverData->showStatus(tr("Зарегистрировано"), false);
        DIAG() << "+" << CServerDataBox::hexAddress(m_deviceInfo.devAddress);
        DIAG() << m_deviceInfo.serverAdrEnable;
        m_serverData->showDevice(m_deviceInfo);
        return;
    }

    // An empty list says nothing when no valid device has been scanned.
    if (!m_deviceInfo.isValid()) {
        DIAG() << "no scanned device to report on";
        return;
    }
    if (!m_serverData->isHidden())
        clearDevInfoFromServer();
    m_serverData->show();
    m_serverData->showNotice(tr("Данное устройство, еще не зарегистрировано на сервере"));
}

void CIAboutDevice::clearDevInfoFromServer()
{
    m_serverData->clearRows();
}

void CIAboutDevice::statusCon(CloraAuthResp authInfo)
{
    m_loggedIn = authInfo.status;
    updateAddButton();
}

void CIAboutDevice::updateAddButton()
{
    // Add needs a login, and is the auto mode's job while that is on.
    m_addButton->setEnabled(m_loggedIn && !m_autoModeCheck->isChecked());
}

// ---------------------------------------------------------------- import

std::function<CLoraDeviceInfo(const CLoraDeviceInfo&)> CIAboutDevice::importCompleter() const
{
    const OptionalSettings optional = m_optional->getSettings();
    const ExpertSettings expert = m_expert->getSettings();
    return [optional, expert](const CLoraDeviceInfo& row) {
        CLoraDeviceInfo record = completedRecord(row, row.devEui, optional, expert);
        if (!row.devName.isEmpty())
            record.devName = row.devName;
        return record;
    };
}

void CIAboutDevice::openImport()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Импорт из файла"), QString(),
                                                      tr("Таблицы ключей (*.csv *.tsv *.txt);;Все файлы (*)"));
    if (!path.isEmpty())
        importSheet(path);
}

void CIAboutDevice::importSheet(const QString& path)
{
    auto* import = new CKeySheetImport(this);
    import->start(path);
}

// ---------------------------------------------------------------- device table

void CIAboutDevice::onTabChanged(int index)
{
    clearDevInfoFromServer();
    if (index == deviceTableTab) {
        requestAllDevices();
        DIAG() << "resize table";
    }
}

void CIAboutDevice::onDeviceRemoved(const QString& status)
{
    if (status != ProtocolKeys::Status::deleted)
        return;
    CServerClient::instance()->sendMessage(CMessageParser::srvInfoReq());
    requestAllDevices();
}

void CIAboutDevice::requestAllDevices()
{
    CServerClient::instance()->sendMessage(CMessageParser::allDevicesReq());
}

void CIAboutDevice::prepareToFillTable(CloraInfoResp info)
{
    m_deviceTable->prepare(info);
    // Lists reach the table only once it has its columns.
    connect(CMessageParser::instance(), &CMessageParser::devicesList, m_deviceTable, &CDeviceTable::fill,
            Qt::UniqueConnection);
}

void CIAboutDevice::fillDeviceTable(QJsonDocument doc)
{
    m_deviceTable->fill(doc);
}

void CIAboutDevice::deleteDevice(int row)
{
    m_deviceTable->deleteDevice(row);
}

// ---------------------------------------------------------------- presets

void CIAboutDevice::iniPresets(QString presets)
{
    m_presets->iniPresets(presets);
}

void CIAboutDevice::findPreset(QString presetName)
{
    m_presets->findPreset(presetName);
}

void CIAboutDevice::changePresets()
{
    m_presets->changePresets();
}

void CIAboutDevice::createPreset()
{
    m_presets->createPreset();
}

QJsonObject CIAboutDevice::prepareJsonObjPreset()
{
    return m_presets->prepareJsonObjPreset();
}

void CIAboutDevice::onPresetTextChanged(const QString& text)
{
    m_presets->onPresetTextChanged(text);
}

void CIAboutDevice::onExpertEdited()
{
    m_presets->onExpertEdited();
}

void CIAboutDevice::onOptionalEdited()
{
    m_presets->onOptionalEdited();
}
