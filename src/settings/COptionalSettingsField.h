#pragma once

#include "CAbstatractSettingsField.h"
#include "CDeviceSettingsField.h"
#include "CFreqPlanSettingsField.h"
#include "CSettingsClassCDeviceField.h"

struct OptionalSettings
{
    DeviceSettings device;
    ClassCSettings classC;
    FreqPlanSettings freqPlan;
};

// Container of the device, class C and frequency-plan groups, in this order.
// The class C group is shown while the device group's class is "Class C".
class COptionalSettingsField : public CAbstatractSettingsField
{
public:
    explicit COptionalSettingsField(QWidget* parent);

    OptionalSettings getSettings() const;
    // Applies the device and frequency-plan parts; the class C group keeps what it shows.
    void setSettings(const OptionalSettings& settings);

    CDeviceSettingsField* deviceGroup() const { return device; }
    CSettingsClassCDeviceField* classCGroup() const { return classC; }
    CFreqPlanSettingsField* freqPlanGroup() const { return freqPlan; }

private:
    CDeviceSettingsField* device = nullptr;
    CSettingsClassCDeviceField* classC = nullptr;
    CFreqPlanSettingsField* freqPlan = nullptr;
};
