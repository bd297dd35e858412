#pragma once

#include "CAbstatractSettingsField.h"

class QCheckBox;
class QComboBox;

struct AdrSettings
{
    bool enabled = false;    // group expanded
    bool serverAdr = false;
    int preferDr = 0;        // data-rate index 0-5
    int preferPower = 0;     // dBm
};

// Server-side adaptive data rate, preferred data rate and transmit power.
// Controls (by object name): "serverAdrCheck", "preferDrList", "preferPowerList".
class CAdaptiveDrSettingsField : public CAbstatractSettingsField
{
public:
    explicit CAdaptiveDrSettingsField(QWidget* parent);

    AdrSettings getSettings() const;
    void setSettings(const AdrSettings& settings);

private:
    QCheckBox* serverAdrCheck = nullptr;
    QComboBox* preferDrList = nullptr;
    QComboBox* preferPowerList = nullptr;
};
