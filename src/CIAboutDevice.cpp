#include "CIAboutDevice.h"

#include "CDeviceTableFilter.h"
#include "CExpertSettingsField.h"
#include "CKeySheetImport.h"
#include "CMessageParser.h"
#include "COptionalSettingsField.h"
#include "CPresetFormat.h"
#include "CServerClient.h"
#include "CServerDataBox.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"
#include "WidgetLayouts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace PK = ProtocolKeys;

namespace {

const QString customEntry = QStringLiteral("custom");
const QString devEuiTemplate = QStringLiteral("%deveui");
const QString dateTemplate = QStringLiteral("%date");
const QString invalidScanText = QStringLiteral("Invalid QR/Barcode");
const QString scanErrorText = QStringLiteral("QR/Barcode reading error !!!");

constexpr int messageWidth = 414;
constexpr int deviceTableTab = 1;
constexpr int nameColumn = 0;
constexpr int devEuiColumn = 1;
constexpr int actionColumn = 2;
// Rows above and below the view that keep their Delete panel, at the least.
constexpr int minimumPanelMargin = 50;

// A comparison of one form value with its stored value, and the label
// written when they differ.
using Difference = std::pair<bool, const char*>;

// The label of the first comparison that differs, or none.
const char* firstDifference(const std::vector<Difference>& checks)
{
    for (const Difference& check : checks) {
        if (check.first)
            return check.second;
    }
    return nullptr;
}

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

    auto* tableTab = new QWidget(m_tabs);
    buildDeviceTable(tableTab);
    m_tabs->addTab(tableTab, tr("Таблица устройств"));

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

    connectPresets();
    iniPresets(storedPresets());
}

// ---------------------------------------------------------------- layout

bool CIAboutDevice::eventFilter(QObject* watched, QEvent* event)
{
    // A taller table shows more rows, and they need their Delete panels.
    if (m_deviceTable && watched == m_deviceTable->viewport() && event->type() == QEvent::Resize)
        updateActionPanels();

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

    m_messageLabel = new QLabel(tab);
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setTextFormat(Qt::PlainText);
    m_messageLabel->setWordWrap(true);
    QFont font = m_messageLabel->font();
    font.setPixelSize(16);
    m_messageLabel->setFont(font);
    m_messageLabel->hide();
    // The label keeps its place and size while hidden and whatever it says,
    // so the form under it stays put through every scan and verdict; a
    // moving form also made the whole window repaint each time.
    QSizePolicy keepPlace = m_messageLabel->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_messageLabel->setSizePolicy(keepPlace);
    m_messageLabel->setFixedSize(messageWidth, messageHeight(font));
    left->addWidget(m_messageLabel);

    left->addWidget(buildKeysBox(tab));

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
    m_serverData->setFixedWidth(414);
    m_serverDataScroll->setWidget(m_serverData);
    left->addWidget(m_serverDataScroll);

    tabLayout->addWidget(buildSettingsColumn(tab));
}

QWidget* CIAboutDevice::buildKeysBox(QWidget* parent)
{
    auto* box = new QGroupBox(tr("Основные данные"), parent);
    box->setFixedWidth(414);
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(1, 1, 1, 1);
    rows->setSpacing(2);

    // Captions are the keys' own names and stay untranslated.
    const std::array<QString, 6> captions = {
        QStringLiteral("DevEui:"), QStringLiteral("AppEui:"), QStringLiteral("AppKey:"),
        QStringLiteral("DevAddr:"), QStringLiteral("AppSKey:"), QStringLiteral("NwkSKEY:"),
    };
    const std::array<QString, 6> names = {
        QStringLiteral("devEuiEdit"), QStringLiteral("appEuiEdit"), QStringLiteral("appKeyEdit"),
        QStringLiteral("devAddrEdit"), QStringLiteral("appsKeyEdit"), QStringLiteral("nwksKeyEdit"),
    };
    std::array<QLineEdit*, 6> edits{};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        QHBoxLayout* row = WIDGET::prepareInnerHLayout(rows);
        m_keyCaptions[i] = new QLabel(captions[i], box);
        edits[i] = new QLineEdit(box);
        edits[i]->setObjectName(names[i]);
        row->addWidget(m_keyCaptions[i]);
        row->addWidget(edits[i]);
    }
    m_devEuiEdit = edits[0];
    m_appEuiEdit = edits[1];
    m_appKeyEdit = edits[2];
    m_devAddrEdit = edits[3];
    m_appsKeyEdit = edits[4];
    m_nwksKeyEdit = edits[5];
    return box;
}

QWidget* CIAboutDevice::buildSettingsColumn(QWidget* parent)
{
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(414);

    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    QHBoxLayout* presetRow = WIDGET::prepareInnerHLayout(column);
    presetCombo = new QComboBox(content);
    presetCombo->setObjectName(QStringLiteral("presetCombo"));
    presetCombo->addItem(tr("Список готовых настроек"));
    presetCombo->addItem(customEntry);
    presetNameEdit = new QLineEdit(content);
    presetNameEdit->setObjectName(QStringLiteral("presetNameEdit"));
    presetNameEdit->setPlaceholderText(tr("Имя пресета"));
    presetNameEdit->hide();
    savePresetButton = new QPushButton(tr("Сохранить"), content);
    savePresetButton->setObjectName(QStringLiteral("savePresetButton"));
    savePresetButton->hide();
    presetRow->addWidget(presetCombo);
    presetRow->addWidget(presetNameEdit);
    presetRow->addWidget(savePresetButton);

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

void CIAboutDevice::buildDeviceTable(QWidget* tab)
{
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    m_deviceTable = new QTableWidget(tab);
    m_deviceTable->setObjectName(QStringLiteral("deviceTable"));
    m_tableFilter = new CDeviceTableFilter(m_deviceTable, nameColumn, devEuiColumn, tab);
    connect(m_tableFilter, &CDeviceTableFilter::filtered, this, &CIAboutDevice::updateActionPanels);
    layout->addWidget(m_tableFilter);
    layout->addWidget(m_deviceTable);
    connect(m_deviceTable->verticalScrollBar(), &QScrollBar::valueChanged,
            this, &CIAboutDevice::updateActionPanels);
    m_deviceTable->viewport()->installEventFilter(this);
}

void CIAboutDevice::defaulSettingsWDs()
{
    for (QLineEdit* edit : {m_devEuiEdit, m_appEuiEdit, m_appKeyEdit, m_devAddrEdit,
                            m_appsKeyEdit, m_nwksKeyEdit}) {
        edit->setReadOnly(true);
        edit->setEchoMode(QLineEdit::Normal);
    }
    m_serverData->hide();
    clearDevInfoFromServer();
}

// ---------------------------------------------------------------- registration

void CIAboutDevice::scanDeviceInfo(CLoraDeviceInfo info)
{
    m_deviceInfo = info;

    m_messageLabel->clear();
    for (QLabel* caption : m_keyCaptions)
        CServerDataBox::setTextColour(caption, false);

    if (!m_deviceInfo.isValid()) {
        DIAG() << "Ошибка чтения QR/Barcode";
        m_messageLabel->setText(scanErrorText);
        m_messageLabel->show();
        for (QLineEdit* edit : {m_devEuiEdit, m_appEuiEdit, m_appKeyEdit, m_devAddrEdit,
                                m_appsKeyEdit, m_nwksKeyEdit})
            edit->setText(invalidScanText);
        clearDevInfoFromServer();
        m_serverData->show();
        m_serverData->showNotice(invalidScanText);
        emit resizeWindow();
        return;
    }

    m_messageLabel->hide();
    m_devEuiEdit->setText(m_deviceInfo.devEui);
    m_devAddrEdit->setText(m_deviceInfo.devAddress == 0
                               ? QStringLiteral("empty devaddr")
                               : CServerDataBox::hexAddress(m_deviceInfo.devAddress));
    m_appEuiEdit->setText(m_deviceInfo.appEui);
    m_appKeyEdit->setText(m_deviceInfo.appKey);
    m_appsKeyEdit->setText(m_deviceInfo.appsKey);
    m_nwksKeyEdit->setText(m_deviceInfo.nwksKey);

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

    const CLoraDeviceInfo device = completedRecord(m_deviceInfo, m_devEuiEdit->text(), optional, expert);
    m_deviceInfo = device;
    registerDevice(device);
}

CLoraDeviceInfo CIAboutDevice::completedRecord(CLoraDeviceInfo device, const QString& shownDevEui,
                                               const OptionalSettings& optional, const ExpertSettings& expert)
{
    // Name templates
    QString name = optional.device.name;
    if (name.contains(devEuiTemplate))
        name.replace(devEuiTemplate, shownDevEui);
    else
        DIAG() << "NO %deveui";
    if (name.contains(dateTemplate))
        name.replace(dateTemplate, QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    else
        DIAG() << "NO %date";
    device.devName = name;
    DIAG() << "devname: " << name;

    // Class and its class C options
    if (!optional.device.deviceClass.isEmpty())
        device.devClass = optional.device.deviceClass;
    if (optional.device.deviceClass == QLatin1String("CLASS_C") && optional.classC.enabled) {
        device.reactionTime = optional.classC.reactionTime;
        device.useDownlinkQueueClassC = optional.classC.useDownlinkQueue;
    } else {
        device.reactionTime = -1;
        device.foundMarker = -1;
    }

    // Channels and frequencies are taken whether or not their group is open.
    const FreqPlanSettings& plan = optional.freqPlan;
    bool* channels[] = {
        &device.channel1En, &device.channel2En, &device.channel3En, &device.channel4En,
        &device.channel5En, &device.channel6En, &device.channel7En, &device.channel8En,
        &device.channel9En, &device.channel10En, &device.channel11En, &device.channel12En,
        &device.channel13En, &device.channel14En, &device.channel15En, &device.channel16En,
    };
    for (int i = 0; i < 16; ++i)
        *channels[i] = i < 8 && plan.channelEnabled[i];
    device.freq4 = plan.freq4;
    device.freq5 = plan.freq5;
    device.freq6 = plan.freq6;
    device.freq7 = plan.freq7;
    device.freq8 = plan.freq8;
    device.freqRx2 = plan.freqRx2;

    // Expert values: a collapsed group means "not given" (-1) to the server.
    const bool adrOn = expert.anyEnabled && expert.adr.enabled;
    const bool rxOn = expert.anyEnabled && expert.rx.enabled;
    const bool locationOn = expert.anyEnabled && expert.location.enabled;
    if (adrOn)
        device.serverAdrEnable = expert.adr.serverAdr;
    device.preferDr = adrOn ? expert.adr.preferDr : -1;
    device.preferPower = adrOn ? expert.adr.preferPower : -1;
    device.rxWindow = rxOn ? expert.rx.rxWindow : -1;
    device.delayRx1 = rxOn ? expert.rx.rx1Delay : -1;
    device.drRx2 = rxOn ? expert.rx.rx2Dr : -1;
    device.delayJoin1 = rxOn ? expert.rx.joinAcceptDelay : -1;
    // Stored presets may hold coordinates from before the whole globe could be typed.
    device.longitude = locationOn ? qBound(-180.0, expert.location.longitude, 180.0) : -1.0;
    device.latitude = locationOn ? qBound(-90.0, expert.location.latitude, 90.0) : -1.0;
    device.altitude = locationOn ? expert.location.altitude : -1;
    return device;
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

QString CIAboutDevice::operatorText(const QString& status)
{
    return operatorTexts().value(status);
}

int CIAboutDevice::messageHeight(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QRect room(0, 0, messageWidth, 1000);
    int height = metrics.boundingRect(room, Qt::TextWordWrap, scanErrorText).height();
    for (const QString& text : operatorTexts())
        height = qMax(height, metrics.boundingRect(room, Qt::TextWordWrap, text).height());
    return height;
}

const QHash<QString, QString>& CIAboutDevice::operatorTexts()
{
    namespace S = PK::Status;
    static const QHash<QString, QString> texts = {
        {S::repetitionDevAddr, QStringLiteral("Device is already registered on server")},
        {S::invalidDevEui, QStringLiteral("Invalid size of device EUI")},
        {S::invalidAbpParamList,
         QStringLiteral("Invalid mandatory parameters list for “ABP” section")},
        {S::invalidDevAddrValue, QStringLiteral("Invalid “devAddress” value")},
        {S::invalidSessionKeyValue,
         QStringLiteral("Invaliud size of “appsKey” or/and “nwksKey”")},
        {S::invalidOtaaParamList,
         QStringLiteral("Invalid mandatory parameters list for “OTAA” section")},
        {S::invalidAppKeyValue, QStringLiteral("Invalid size of “appKey”")},
        {S::noRegisterKeys,
         QStringLiteral("Device is not exist yet and packet doesn’t contain registration information")},
        {S::abpReginfoAlreadyExist,
         QStringLiteral("ABP activation information for corresponding device is already existed on server")},
        {S::reginfoAlreadyExist,
         QStringLiteral("Registration information for corresponding device is already existed on server")},
        {S::maxDevCountReached, QStringLiteral("Maximum device count limitation has reached")},
        {S::added,
         QStringLiteral("Device is not existed on server before and is registered with corresponding registration information")},
        {S::updated, QStringLiteral("Some parameters are updated for corresponding device")},
        {S::nothingToUpdate, QStringLiteral("Changes from existing device parameters is not detected")},
        {S::updateViaMacBuffer,
         QStringLiteral("Received parameters should be updated via MAC commands and ones couldn’t be applied")},
        {S::emptyDataForUpdate, QStringLiteral("Не было описания ошибки emptyDataForUpdate")},
        {S::invalidPower, QStringLiteral("Invalid value for “preferPower” parameter")},
        {S::invalidChannelMaskParamList,
         QStringLiteral("Invalid mandatory parameters list in section “channelMask”")},
    };
    return texts;
}

void CIAboutDevice::changePossibleStates(QString lastStatus)
{
    DIAG() << "Обрабатываю результат ответа от сервера";
    const QString text = operatorText(lastStatus);
    if (!text.isEmpty()) {
        m_messageLabel->show();
        m_messageLabel->setText(text);
    }
    DIAG() << "Вывел сообщение , которое вернул сервер";
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
    if (status != PK::Status::deleted)
        return;
    CServerClient::instance()->sendMessage(CMessageParser::srvInfoReq());
    requestAllDevices();
}

void CIAboutDevice::requestAllDevices()
{
    CServerClient::instance()->sendMessage(CMessageParser::allDevicesReq());
}

// ---------------------------------------------------------------- device table

void CIAboutDevice::prepareToFillTable(CloraInfoResp info)
{
    DIAG() << qint64(info.deviceCountOther) + info.deviceCountZarvo;
    if (m_deviceTable->rowCount() > 0)
        m_deviceTable->setRowCount(0);
    m_deviceTable->setColumnCount(3);
    m_deviceTable->setHorizontalHeaderLabels(
        {tr("Имя устройства"), QStringLiteral("DevEUI"), tr("Действие")});

    m_deviceTable->setColumnWidth(nameColumn, static_cast<int>((m_deviceTable->width() / 3) * 1.1));
    m_deviceTable->setColumnWidth(devEuiColumn, 180);
    m_deviceTable->setColumnWidth(actionColumn, 100);
    m_deviceTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_deviceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_deviceTable->horizontalHeaderItem(nameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_deviceTable->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    m_deviceTable->setFrameShape(QFrame::NoFrame);

    if (!m_tableConnected) {
        connect(CMessageParser::instance(), &CMessageParser::devicesList,
                this, &CIAboutDevice::fillDeviceTable);
        m_tableConnected = true;
    }
    m_deviceTable->setShowGrid(true);
}

void CIAboutDevice::fillDeviceTable(QJsonDocument doc)
{
    DIAG() << "fill table";
    const QJsonArray devices = doc.object().value(PK::devicesList).toArray();
    if (devices.isEmpty())
        return;

    // Dropping the old rows first, so no name of an earlier list survives
    // in a row whose new device has none.
    m_deviceTable->setRowCount(0);
    m_deviceTable->setRowCount(devices.size());
    const auto cell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return item;
    };

    for (int row = 0; row < devices.size(); ++row) {
        const QJsonObject device = devices.at(row).toObject();
        if (device.contains(PK::devEui)) {
            QTableWidgetItem* item = cell(device.value(PK::devEui).toString());
            item->setData(CDeviceTableFilter::deviceClassRole, device.value(PK::devClass).toString());
            m_deviceTable->setItem(row, devEuiColumn, item);
        }
        if (device.contains(PK::devName)) {
            const QString name = device.value(PK::devName).toString();
            m_deviceTable->setItem(row, nameColumn,
                                   cell(name.isEmpty() ? tr("Имя не установлено") : name));
        }

    }
    m_panelRows = {0, -1};
    m_tableFilter->apply();
    updateActionPanels();
}

void CIAboutDevice::updateActionPanels()
{
    // Each Delete panel is a widget of its own, and Qt's cost of moving or
    // painting one grows with the number of its siblings: 10,000 of them took
    // half a minute to show. Panels are therefore kept for the rows in view and
    // a margin around them, and follow the scrolling.
    const int rows = m_deviceTable->rowCount();
    if (rows == 0) {
        m_panelRows = {0, -1};   // emptying the table took the panels with it
        return;
    }
    const int firstShown = qMax(0, m_deviceTable->rowAt(0));
    int lastShown = m_deviceTable->rowAt(m_deviceTable->viewport()->height() - 1);
    if (lastShown < 0)
        lastShown = rows - 1;
    const int margin = qMax(lastShown - firstShown + 1, minimumPanelMargin);
    const PanelRows wanted{qMax(0, firstShown - margin), qMin(rows - 1, lastShown + margin)};

    for (int row = m_panelRows.first; row <= qMin(m_panelRows.last, rows - 1); ++row) {
        if (row < wanted.first || row > wanted.last)
            m_deviceTable->removeCellWidget(row, actionColumn);
    }
    for (int row = wanted.first; row <= wanted.last; ++row) {
        // Rows the filter hides need none, however far the shown ones are apart.
        if (!m_deviceTable->cellWidget(row, actionColumn) && !m_deviceTable->isRowHidden(row))
            m_deviceTable->setCellWidget(row, actionColumn, createActionPanel(row));
    }
    m_panelRows = wanted;
}

QWidget* CIAboutDevice::createActionPanel(int row)
{
    auto* panel = new QWidget(m_deviceTable);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(5, 5, 5, 5);
    auto* deleteButton = new QPushButton(tr("Удалить"), panel);
    deleteButton->setFixedHeight(20);
    panelLayout->addWidget(deleteButton);
    connect(deleteButton, &QPushButton::clicked, this, [this, row] {
        // The device is the one the row shows now: a list answer handled
        // before the question is asked may put another device in this row.
        const QString devEui = devEuiInRow(row);
        // Queued: the confirmation runs its own event loop, during which a
        // refill may delete this very button.
        QMetaObject::invokeMethod(this, [this, devEui] { confirmAndDelete(devEui); },
                                  Qt::QueuedConnection);
    });
    return panel;
}

QString CIAboutDevice::devEuiInRow(int row) const
{
    const QTableWidgetItem* item = m_deviceTable->item(row, devEuiColumn);
    return item ? item->text() : QString();
}

void CIAboutDevice::deleteDevice(int row)
{
    confirmAndDelete(devEuiInRow(row));
}

void CIAboutDevice::confirmAndDelete(const QString& devEui)
{
    if (devEui.isEmpty()) {
        DIAG() << "no DevEUI to delete";
        return;
    }

    QMessageBox box(QMessageBox::Warning, tr("Предупреждение"),
                    tr("Вы уверены что хотите удалить устройство %1?").arg(devEui),
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok)
        return;

    DIAG() << "delete this -> " << devEui;
    CServerClient::instance()->sendMessage(CMessageParser::deleteDevicesReq({devEui}));
}

// ---------------------------------------------------------------- presets

void CIAboutDevice::connectPresets()
{
    connect(presetCombo, &QComboBox::currentTextChanged, m_expert, &CAbstatractSettingsField::expandAll);
    connect(presetCombo, &QComboBox::currentTextChanged, m_optional, &CAbstatractSettingsField::expandAll);
    connect(presetCombo, &QComboBox::currentTextChanged, this, &CIAboutDevice::onPresetTextChanged);
    connect(presetCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
            this, &CIAboutDevice::changePresets);
    connect(savePresetButton, &QPushButton::clicked, this, &CIAboutDevice::createPreset);
    connect(m_expert, &CAbstatractSettingsField::edited, this, &CIAboutDevice::onExpertEdited);
    connect(m_optional, &CAbstatractSettingsField::edited, this, &CIAboutDevice::onOptionalEdited);
}

QString CIAboutDevice::storedPresets()
{
    return CSettings::readValue(CSettings::loraPresets, QVariant()).toString();
}

bool CIAboutDevice::storePresets(const QJsonArray& presets)
{
    return CSettings::writeValue(CSettings::loraPresets, QJsonDocument(presets).toJson(QJsonDocument::Compact));
}

void CIAboutDevice::reportPresetNotStored()
{
    QMessageBox box(QMessageBox::Warning, tr("Предупреждение"),
                    tr("Пресет не сохранён: файл настроек недоступен для записи"), QMessageBox::Ok);
    box.exec();
}

void CIAboutDevice::onPresetTextChanged(const QString& text)
{
    const bool custom = text == customEntry;
    presetNameEdit->setVisible(custom);
    savePresetButton->setVisible(custom);
}

void CIAboutDevice::selectCustomEntry()
{
    presetCombo->setCurrentIndex(presetCombo->findText(customEntry));
}

void CIAboutDevice::iniPresets(QString presets)
{
    const bool customShown = presetCombo->currentText() == customEntry;
    const QJsonDocument doc = QJsonDocument::fromJson(presets.toUtf8());
    if (doc.isNull())
        return;
    DIAG() << (doc.isArray() ? "jsonDoc.isArray()" : "jsonDoc.isObject()");
    DIAG() << customShown;

    // Rebuilding only adds entries: no selection change may reach
    // changePresets and overwrite the form with some other preset.
    const QSignalBlocker blocker(presetCombo);
    presetCombo->removeItem(presetCombo->findText(customEntry));
    // The box's own search is linear: asked once per stored preset, a large
    // stored list would take minutes to load.
    QSet<QString> listed;
    for (int i = 0; i < presetCombo->count(); ++i)
        listed.insert(presetCombo->itemText(i));
    QStringList names;
    for (const QJsonValue& element : doc.array()) {
        const QString name = CPresetFormat::name(element.toObject());
        if (!name.isEmpty() && name != customEntry && !listed.contains(name)) {
            listed.insert(name);
            names.append(name);
        }
    }
    presetCombo->addItems(names);
    presetCombo->addItem(customEntry);
    if (customShown)
        presetCombo->setCurrentIndex(presetCombo->count() - 1);
}

void CIAboutDevice::changePresets()
{
    const QString text = presetCombo->currentText();
    DIAG() << text;
    if (presetCombo->currentIndex() <= 0 || text == customEntry
        || text == QLatin1String("Список готовых настроек")
        || text == QLatin1String("List of presets")) {
        savePresetButton->show();
        presetNameEdit->show();
        return;
    }

    currentPresetName = text;
    currentPresetIndex = presetCombo->currentIndex();
    if (!presetNameEdit->isHidden() && !savePresetButton->isHidden()) {
        presetNameEdit->hide();
        savePresetButton->hide();
    }
    findPreset(text);
}

void CIAboutDevice::findPreset(QString presetName)
{
    DIAG() << "IN";
    const QJsonDocument doc = QJsonDocument::fromJson(storedPresets().toUtf8());
    if (!doc.isNull()) {
        DIAG() << (doc.isArray() ? "jsonDoc.isArray()" : "jsonDoc.isObject()");
        // The groups signal edits while being filled; the form only matches
        // the preset once all of it is applied.
        const QScopedValueRollback<bool> applying(m_applyingPreset, true);
        for (const QJsonValue& element : doc.array()) {
            const QJsonObject preset = element.toObject();
            const QString storedName = CPresetFormat::name(preset);
            if (storedName != presetName)
                continue;
            DIAG() << presetName + QStringLiteral(" - ") + storedName;
            m_expert->setSettings(CPresetFormat::expertSettings(preset));
            m_optional->setSettings(CPresetFormat::optionalSettings(preset));
        }
    }
    DIAG() << "OUT";
}

QJsonObject CIAboutDevice::prepareJsonObjPreset()
{
    return CPresetFormat::toJson(presetNameEdit->text(), m_expert->getSettings(),
                                 m_optional->getSettings());
}

void CIAboutDevice::createPreset()
{
    const QString name = presetNameEdit->text();
    if (name.isEmpty()) {
        QMessageBox box;
        box.setText(QStringLiteral("Empty preset name"));
        box.exec();
        return;
    }
    // The list's own "custom" entry hides a preset of that name: it could never be chosen.
    if (name == customEntry) {
        QMessageBox box;
        box.setText(tr("Имя \"%1\" занято списком, выберите другое").arg(customEntry));
        box.exec();
        return;
    }

    const QString stored = storedPresets();
    const bool presetsExisted = !stored.isEmpty();
    if (!presetsExisted) {
        DIAG() << "Пресетов нет";
        if (!storePresets(QJsonArray{prepareJsonObjPreset()})) {
            reportPresetNotStored();
            return;
        }
        iniPresets(storedPresets());
    } else {
        DIAG() << "Пресеты есть";
        QJsonArray presets = CPresetFormat::parse(stored);
        int existing = -1;
        for (int i = 0; i < presets.size(); ++i) {
            if (CPresetFormat::name(presets.at(i).toObject()) == name)
                existing = i;
        }

        if (existing >= 0) {
            const auto answer = QMessageBox::warning(
                nullptr, tr("Repetition preset name"),
                name + QStringLiteral(" already exist!\nDo you want to rewrite your changes for preset ")
                    + name + QStringLiteral(" ?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer == QMessageBox::Yes) {
                presets.removeAt(existing);
                presets.append(prepareJsonObjPreset());
                if (!storePresets(presets)) {
                    reportPresetNotStored();
                    return;
                }
                iniPresets(storedPresets());
                DIAG() << QJsonDocument(presets).toJson(QJsonDocument::Compact);
            }
            DIAG() << "false";
            return;
        }

        presets.append(prepareJsonObjPreset());
        if (!storePresets(presets)) {
            reportPresetNotStored();
            return;
        }
        iniPresets(storedPresets());
    }

    QMessageBox success(QMessageBox::Information, tr("Success created!"),
                        QStringLiteral("Do you want to change this preset?"),
                        QMessageBox::Yes | QMessageBox::No);
    if (success.exec() == QMessageBox::Yes)
        presetCombo->setCurrentIndex(presetCombo->findText(name));
    if (presetsExisted)
        DIAG() << "true";
}

void CIAboutDevice::onExpertEdited()
{
    if (m_applyingPreset || currentPresetName.isEmpty() || presetCombo->currentIndex() == 0)
        return;
    DIAG() << "что-то изменилось в экспертных настрйоках";
    DIAG() << currentPresetName;
    followPreset(ExpertFirst);
}

void CIAboutDevice::onOptionalEdited()
{
    if (m_applyingPreset || currentPresetName.isEmpty() || presetCombo->currentIndex() == 0)
        return;
    DIAG() << "что-то изменилось в опциональных настройках";
    DIAG() << currentPresetName;
    followPreset(OptionalFirst);
}

void CIAboutDevice::followPreset(ComparisonOrder order)
{
    const QJsonObject preset =
        CPresetFormat::lastNamed(CPresetFormat::parse(storedPresets()), currentPresetName);
    const ExpertSettings expert = m_expert->getSettings();
    const ExpertSettings savedExpert = CPresetFormat::expertSettings(preset);
    const char* expertLabel = expertDifference(expert, savedExpert);
    const char* optionalLabel =
        optionalDifference(m_optional->getSettings(), CPresetFormat::optionalSettings(preset));

    // Both containers count: choosing the preset again sets both, and would
    // silently undo an edit of the one that was not touched now.
    const char* difference = order == ExpertFirst ? (expertLabel ? expertLabel : optionalLabel)
                                                  : (optionalLabel ? optionalLabel : expertLabel);
    if (difference) {
        DIAG() << difference;
        if (difference == expertLabel && qstrcmp(difference, "preferPower") == 0) {
            DIAG() << "current:" << expert.adr.preferPower;
            DIAG() << "saved:" << savedExpert.adr.preferPower;
        }
        selectCustomEntry();
        return;
    }
    DIAG() << "все ок, вернул пресет";
    presetCombo->setCurrentIndex(currentPresetIndex);
}

const char* CIAboutDevice::expertDifference(const ExpertSettings& form, const ExpertSettings& saved)
{
    const std::vector<Difference> checks = {
        {form.adr.serverAdr != saved.adr.serverAdr, "srvEnableADR"},
        {form.adr.preferDr != saved.adr.preferDr, "preferDr"},
        {form.adr.preferPower != saved.adr.preferPower, "preferPower"},
        {form.rx.joinAcceptDelay != saved.rx.joinAcceptDelay, "acceptDelay"},
        {form.rx.rx1Delay != saved.rx.rx1Delay, "rx1Delay"},
        {form.rx.rx2Dr != saved.rx.rx2Dr, "rx2Dr"},
        {form.rx.rxWindow != saved.rx.rxWindow, "rxWindow"},
        {form.location.altitude != saved.location.altitude, "altitude"},
        {form.location.longitude != saved.location.longitude, "longtitude"},
        {form.location.latitude != saved.location.latitude, "latitude"},
    };
    return firstDifference(checks);
}

const char* CIAboutDevice::optionalDifference(const OptionalSettings& form, const OptionalSettings& saved)
{
    const FreqPlanSettings& plan = form.freqPlan;
    const FreqPlanSettings& savedPlan = saved.freqPlan;
    const std::vector<Difference> checks = {
        {form.device.deviceClass != saved.device.deviceClass, "devClass  edited"},
        {form.device.name != saved.device.name, "devName edited"},
        {plan.freq4 != savedPlan.freq4, "freq1 edited"},
        {plan.freq5 != savedPlan.freq5, "freq2 edited"},
        {plan.freq6 != savedPlan.freq6, "freq3 edited"},
        {plan.freq7 != savedPlan.freq7, "freq4 edited"},
        {plan.freq8 != savedPlan.freq8, "freq5 edited"},
        {plan.freqRx2 != savedPlan.freqRx2, "freqRx2 edited"},
        {plan.channelEnabled[0] != savedPlan.channelEnabled[0], "mask1 edited"},
        {plan.channelEnabled[1] != savedPlan.channelEnabled[1], "mask2 edited"},
        {plan.channelEnabled[2] != savedPlan.channelEnabled[2], "mask3 edited"},
        {plan.channelEnabled[3] != savedPlan.channelEnabled[3], "mask4 edited"},
        {plan.channelEnabled[4] != savedPlan.channelEnabled[4], "mask5 edited"},
        {plan.channelEnabled[5] != savedPlan.channelEnabled[5], "mask6 edited"},
        {plan.channelEnabled[6] != savedPlan.channelEnabled[6], "mask7 edited"},
        {plan.channelEnabled[7] != savedPlan.channelEnabled[7], "mask8 edited"},
        {plan.plan != savedPlan.plan, "freq pan edited"},
    };
    return firstDifference(checks);
}
