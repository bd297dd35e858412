#pragma once

#include "CAbstatractSettingsField.h"

class QComboBox;

struct RxSettings
{
    bool enabled = false;     // group expanded
    int rx1Delay = 0;         // seconds
    int rxWindow = 0;         // 1 or 2
    int rx2Dr = 0;            // data-rate index 0-5
    int joinAcceptDelay = 0;  // seconds
};

// The device's receive windows.
// Controls (by object name): "rxWindowList", "rx1DelayList", "rx2DrList",
// "joinAcceptDelayList".
class CRxSettingsField : public CAbstatractSettingsField
{
public:
    explicit CRxSettingsField(QWidget* parent);

    RxSettings getSettings() const;
    void setSettings(const RxSettings& settings);

private:
    QComboBox* rxWindowList = nullptr;
    QComboBox* rx1DelayList = nullptr;
    QComboBox* rx2DrList = nullptr;
    QComboBox* joinAcceptDelayList = nullptr;
};
