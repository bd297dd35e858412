#pragma once

#include "LoraRecords.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>

class CDeviceKeysBox;
class CDeviceTable;
class CExpertSettingsField;
class CMessageLabel;
class COptionalSettingsField;
class CPresetBar;
class CServerDataBox;
struct ExpertSettings;
struct OptionalSettings;
class QCheckBox;
class QPushButton;
class QScrollArea;
class QTabWidget;

// The registration workspace: shows each scanned device, looks it up on the
// server, registers it from the settings form (by click or in auto mode) and
// shows the verdict. The parts do their own work: the message line
// (CMessageLabel), the keys box (CDeviceKeysBox), the server's data
// (CServerDataBox), the preset row above the form (CPresetBar) and the
// device table tab (CDeviceTable); DeviceCompletion fills a record from the
// form. The slots of the table and the presets are kept here for callers.
//
// Widgets reachable by object name (for the window and for tests):
// "tabs", "messageLabel", "devEuiEdit", "appEuiEdit", "appKeyEdit",
// "devAddrEdit", "appsKeyEdit", "nwksKeyEdit", "addButton", "autoModeCheck",
// "serverDataBox", "serverDataScroll", "expertSettings", "optionalSettings",
// "presetCombo", "presetNameEdit", "savePresetButton", "deviceTable",
// "importButton", "tableFilterEdit", "exportButton".
class CIAboutDevice : public QWidget
{
    Q_OBJECT

public:
    explicit CIAboutDevice(QWidget* parent = nullptr);

    // The working record: the last scan, or the server's view of that device.
    CLoraDeviceInfo deviceInfo() const { return m_deviceInfo; }

    // Writes the devices file, enters the added-devices record and sends the
    // registration request, all for this one record, whatever arrives while a
    // box about the devices file is open. False when the client is not ready
    // (then nothing is written or sent) or the devices file did not take the
    // device (the request has gone out all the same, as for a scan).
    bool registerDevice(CLoraDeviceInfo device);

    // The working record completed from the form: name templates (with the
    // DevEUI shown), class, channels and the expert values.
    static CLoraDeviceInfo completedRecord(CLoraDeviceInfo device, const QString& shownDevEui,
                                           const OptionalSettings& optional, const ExpertSettings& expert);

    CExpertSettingsField* expertSettings() const { return m_expert; }
    COptionalSettingsField* optionalSettings() const { return m_optional; }
    CServerDataBox* serverDataBox() const { return m_serverData; }

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Sheet import: rows are completed from the form as it stands when this
    // is called, the way Add completes a scan (a row's own name wins over the
    // name template), and registered by the step Add takes.
    std::function<CLoraDeviceInfo(const CLoraDeviceInfo&)> importCompleter() const;
    // The operator's text for a verdict word; empty for words without one.
    static QString operatorText(const QString& status);

signals:
    void resizeWindow();

public slots:
    // Registration tab
    void scanDeviceInfo(CLoraDeviceInfo info);
    void sendInfoToTheNextStage();
    void statusCon(CloraAuthResp authInfo);
    void changePossibleStates(QString lastStatus);
    void changeDevInfo(CLoraDeviceInfo devInfoResp);
    void clearDevInfoFromServer();
    void defaulSettingsWDs();

    // Device table tab, kept by CDeviceTable
    void prepareToFillTable(CloraInfoResp info);
    void fillDeviceTable(QJsonDocument doc);
    void deleteDevice(int row);

    // Presets, kept by CPresetBar
    void iniPresets(QString presets);
    void findPreset(QString presetName);
    void changePresets();
    void createPreset();
    QJsonObject prepareJsonObjPreset();
    void onPresetTextChanged(const QString& text);
    void onExpertEdited();
    void onOptionalEdited();

    // Import from a key sheet
    void openImport();
    void importSheet(const QString& path);

private slots:
    void onTabChanged(int index);
    void onDeviceRemoved(const QString& status);
    void updateAddButton();

private:
    void buildRegistrationTab(QWidget* tab);
    QWidget* buildSettingsColumn(QWidget* parent);
    void requestAllDevices();

    CLoraDeviceInfo m_deviceInfo;

    QTabWidget* m_tabs = nullptr;
    // The size hints the tab widget last laid itself out for.
    struct TabHints {
        QSize tabs, tabsMinimum, tabBar;
        bool operator==(const TabHints& other) const
        {
            return tabs == other.tabs && tabsMinimum == other.tabsMinimum && tabBar == other.tabBar;
        }
    };
    TabHints m_tabHints;
    CMessageLabel* m_messageLabel = nullptr;
    CDeviceKeysBox* m_keysBox = nullptr;
    QPushButton* m_addButton = nullptr;
    QCheckBox* m_autoModeCheck = nullptr;
    QPushButton* m_importButton = nullptr;
    bool m_loggedIn = false;
    QScrollArea* m_serverDataScroll = nullptr;
    CServerDataBox* m_serverData = nullptr;

    CPresetBar* m_presets = nullptr;
    CExpertSettingsField* m_expert = nullptr;
    COptionalSettingsField* m_optional = nullptr;

    CDeviceTable* m_deviceTable = nullptr;
};
