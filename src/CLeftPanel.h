#pragma once

#include "LoraRecords.h"

#include <QString>
#include <QWidget>

class CScanerSettings;
class CServerSettingsWidget;
class QLabel;
class QPushButton;
class SendDataDialog;

// The column on the left: logo, server login and scanner, plus the buttons
// of the two file and data dialogs (created hidden in this version).
class CLeftPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CLeftPanel(QWidget* parent = nullptr);

    CServerSettingsWidget* serverSettings() const { return m_serverSettings; }
    CScanerSettings* scanerSettings() const { return m_scanerSettings; }
    SendDataDialog* sendDataDialog() const { return m_sendDataDialog; }
    QString logoPath() const { return m_logoPath; }

signals:
    void newDeviceInfo(CLoraDeviceInfo);
    void onlineState();

public slots:
    void changeProgramSettings();

private:
    void showSendDataDialog();

    QLabel* m_logo = nullptr;
    QString m_logoPath;
    CServerSettingsWidget* m_serverSettings = nullptr;
    CScanerSettings* m_scanerSettings = nullptr;
    QPushButton* m_settingsButton = nullptr;
    QPushButton* m_sendButton = nullptr;
    SendDataDialog* m_sendDataDialog = nullptr;  // created on first use, lives with the panel
};
