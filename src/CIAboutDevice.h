#pragma once

#include "LoraRecords.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class CDeviceTableFilter;
class CExpertSettingsField;
class COptionalSettingsField;
class CServerDataBox;
struct ExpertSettings;
struct OptionalSettings;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTableWidget;
struct ExpertSettings;
struct OptionalSettings;

// The registration workspace: shows each scanned device, looks it up on the
// server, registers it from the settings form (by click or in auto mode) and
// shows the verdict; a second tab lists the server's devices and deletes them;
// named presets fill the settings form.
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

    // Device table tab
    void prepareToFillTable(CloraInfoResp info);
    void fillDeviceTable(QJsonDocument doc);
    void deleteDevice(int row);

    // Presets
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
    void updateActionPanels();

private:
    void buildRegistrationTab(QWidget* tab);
    QWidget* buildKeysBox(QWidget* parent);
    QWidget* buildSettingsColumn(QWidget* parent);
    void buildDeviceTable(QWidget* tab);
    void connectPresets();
    void requestAllDevices();
    QWidget* createActionPanel(int row);
    QString devEuiInRow(int row) const;
    void confirmAndDelete(const QString& devEui);
    void selectCustomEntry();
    enum ComparisonOrder { ExpertFirst, OptionalFirst };
    void followPreset(ComparisonOrder order);
    // The diagnostic label of the first value that differs from the stored one, or none.
    static const char* expertDifference(const ExpertSettings& form, const ExpertSettings& saved);
    static const char* optionalDifference(const OptionalSettings& form, const OptionalSettings& saved);

    static const QHash<QString, QString>& operatorTexts();
    // Tall enough for the longest text the message label shows.
    static int messageHeight(const QFont& font);
    static QString storedPresets();
    static bool storePresets(const QJsonArray& presets);
    static void reportPresetNotStored();

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
    QLabel* m_messageLabel = nullptr;
    std::array<QLabel*, 6> m_keyCaptions{};
    QLineEdit* m_devEuiEdit = nullptr;
    QLineEdit* m_appEuiEdit = nullptr;
    QLineEdit* m_appKeyEdit = nullptr;
    QLineEdit* m_devAddrEdit = nullptr;
    QLineEdit* m_appsKeyEdit = nullptr;
    QLineEdit* m_nwksKeyEdit = nullptr;
    QPushButton* m_addButton = nullptr;
    QCheckBox* m_autoModeCheck = nullptr;
    QPushButton* m_importButton = nullptr;
    bool m_loggedIn = false;
    QScrollArea* m_serverDataScroll = nullptr;
    CServerDataBox* m_serverData = nullptr;

    CExpertSettingsField* m_expert = nullptr;
    COptionalSettingsField* m_optional = nullptr;

    QComboBox* presetCombo = nullptr;
    QLineEdit* presetNameEdit = nullptr;
    QPushButton* savePresetButton = nullptr;
    QString currentPresetName;
    int currentPresetIndex = 0;
    // Applying a preset fills the form field by field; comparing against a
    // half-filled form would wrongly leave the preset, so detection waits.
    bool m_applyingPreset = false;

    QTableWidget* m_deviceTable = nullptr;
    CDeviceTableFilter* m_tableFilter = nullptr;
    bool m_tableConnected = false;
    // The rows that hold a Delete panel, first to last.
    struct PanelRows {
        int first;
        int last;
    };
    PanelRows m_panelRows{0, -1};
};
