#include "CLeftPanel.h"

#include "CScanerSettings.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "ProgramSettingsWidget.h"
#include "senddatadialog.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CLeftPanel::CLeftPanel(QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    // The path itself is translated: each language has a logo of its own.
    m_logoPath = tr(":/icons/Zarvo_logo_ru.png");
    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("logo"));
    m_logo->setPixmap(QPixmap(m_logoPath).scaledToHeight(50, Qt::SmoothTransformation));
    layout->addWidget(m_logo, 0, Qt::AlignCenter);

    m_serverSettings = new CServerSettingsWidget(this);
    layout->addWidget(m_serverSettings);
    m_scanerSettings = new CScanerSettings(this);
    layout->addWidget(m_scanerSettings);

    // Both dialogs stay unreachable in this version: their buttons are never shown.
    m_settingsButton = new QPushButton(tr("Настройки программы"), this);
    m_settingsButton->setObjectName(QStringLiteral("settingsButton"));
    m_settingsButton->hide();
    layout->addWidget(m_settingsButton);
    m_sendButton = new QPushButton(tr("Отправить данные"), this);
    m_sendButton->setObjectName(QStringLiteral("sendButton"));
    m_sendButton->hide();
    layout->addWidget(m_sendButton);
    connect(m_settingsButton, &QPushButton::clicked, this, &CLeftPanel::changeProgramSettings);
    connect(m_sendButton, &QPushButton::clicked, this, &CLeftPanel::showSendDataDialog, Qt::DirectConnection);

    connect(m_scanerSettings, &CScanerSettings::newDeviceInfo, this, &CLeftPanel::newDeviceInfo);
    connect(m_serverSettings, &CServerSettingsWidget::onlineState, this, &CLeftPanel::onlineState);

    // A key missing from the file (it could not be written at start-up) keeps
    // the name in use instead of leaving the program without a devices file.
    currentDevicesFileName = CSettings::readValue(CSettings::devicesFileName, currentDevicesFileName).toString();
    currentRequestsFileName = CSettings::readValue(CSettings::requestsFileName, currentRequestsFileName).toString();
    currentResponsesFileName =
        CSettings::readValue(CSettings::responsesFileName, currentResponsesFileName).toString();
}

void CLeftPanel::changeProgramSettings()
{
    ProgramSettingsWidget dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        dialog.writeSettings();
}

void CLeftPanel::showSendDataDialog()
{
    if (!m_sendDataDialog)
        m_sendDataDialog = new SendDataDialog(this);
    m_sendDataDialog->show();
}
