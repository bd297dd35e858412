#pragma once

#include "CAbstatractSettingsField.h"

#include <QString>

class QComboBox;
class QLineEdit;

struct DeviceSettings
{
    QString name;          // as typed: "%deveui" and "%date" are expanded at registration
    QString deviceClass;   // "CLASS_A", "CLASS_C", or empty when no class is selected
    bool enabled = false;  // group expanded
};

// Name under which the device is registered, and its LoRaWAN class.
// Controls (by object name): "nameEdit", "classList".
class CDeviceSettingsField : public CAbstatractSettingsField
{
public:
    explicit CDeviceSettingsField(QWidget* parent);

    DeviceSettings getSettings() const;
    void setSettings(const DeviceSettings& settings);

private:
    QLineEdit* nameEdit = nullptr;
    QComboBox* classList = nullptr;
};
